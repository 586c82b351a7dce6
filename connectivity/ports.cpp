#include "connectivity/ports.h"

ZR_CONTROLPORT::ZR_CONTROLPORT(bool construct, ZR_Container* owner) : ZR_Frame(owner) { Finish(construct, owner); }
ZR_CONTROLPORT::~ZR_CONTROLPORT() = default;
const char* ZR_CONTROLPORT::ZR_ContainerId() { return "Port CONTROLPORT\tV9"; }

ZR_CONNECTIONPORT::ZR_CONNECTIONPORT(bool construct, ZR_Container* owner) : ZR_Frame(owner) {
    Finish(construct, owner);
}
ZR_CONNECTIONPORT::~ZR_CONNECTIONPORT() = default;
const char* ZR_CONNECTIONPORT::ZR_ContainerId() { return "Port CONNECTIONPORT\tV9"; }

ZR_GENERICPORT::ZR_GENERICPORT(bool construct, ZR_Container* owner)
    : ZR_Frame(owner), ISCONNECTED(true), ISLINKED(true) {
    Finish(construct, owner);
}
ZR_GENERICPORT::~ZR_GENERICPORT() = default;
const char* ZR_GENERICPORT::ZR_ContainerId() { return "Port GENERICPORT\tV9"; }
ZR_VarParamProp* ZR_GENERICPORT::IsConnected() { return &ISCONNECTED; }

void ZR_GENERICPORT::RegisterMembers(ZR_Registrar& registrar) {
    registrar.Add(ISCONNECTED, "ISCONNECTED");
    registrar.Add(ISLINKED, "ISLINKED");
    registrar.Add(COMPONENTLIST, "COMPONENTLIST");
}
