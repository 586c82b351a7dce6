#include "connectivity/ports.h"

ORVANE_DERIVED_TYPE_DEFINITIONS(ZR_CONTROLPORT, "Port CONTROLPORT\tV9")

ORVANE_DERIVED_TYPE_DEFINITIONS(ZR_CONNECTIONPORT, "Port CONNECTIONPORT\tV9")

ZR_GENERICPORT::ZR_GENERICPORT(bool construct, ZR_Container* owner)
    : ZR_Frame(owner), ISCONNECTED(true), ISLINKED(true) {
    Finish(construct, owner);
}
ORVANE_TYPE_DEFINITIONS(ZR_GENERICPORT, "Port GENERICPORT\tV9")
ZR_VarParamProp* ZR_GENERICPORT::IsConnected() { return &ISCONNECTED; }

void ZR_GENERICPORT::RegisterMembers(ZR_Registrar& registrar) {
    registrar.Add(ISCONNECTED, "ISCONNECTED");
    registrar.Add(ISLINKED, "ISLINKED");
    registrar.Add(COMPONENTLIST, "COMPONENTLIST");
}
