#include "connectivity/ports.h"

ZR_CONTROLPORT::ZR_CONTROLPORT(bool construct, ZR_Container* owner) : ZR_Frame(owner) { Finish(construct, owner); }
ZR_CONTROLPORT::~ZR_CONTROLPORT() = default;
const char* ZR_CONTROLPORT::ZR_ContainerId() { return "Port CONTROLPORT\tV9"; }

ZR_CONNECTIONPORT::ZR_CONNECTIONPORT(bool construct, ZR_Container* owner) : ZR_Frame(owner) {
    Finish(construct, owner);
}
ZR_CONNECTIONPORT::~ZR_CONNECTIONPORT() = default;
const char* ZR_CONNECTIONPORT::ZR_ContainerId() { return "Port CONNECTIONPORT\tV9"; }
