#include "connectivity/connections.h"

ZR_GENERICCONNECTION::ZR_GENERICCONNECTION(bool construct, ZR_Container* owner)
    : ZR_Frame(owner), USERNOTES(true), SOURCE(true, nullptr), DEST(true, nullptr) {
    Finish(construct, owner);
}
ZR_GENERICCONNECTION::~ZR_GENERICCONNECTION() = default;
const char* ZR_GENERICCONNECTION::ZR_ContainerId() { return "Model GENERICCONNECTION\tV9"; }

// Both ends, the output end too, are of host port type 4.
void ZR_GENERICCONNECTION::RegisterMembers(ZR_Registrar& registrar) {
    registrar.Add(USERNOTES, "USERNOTES");
    registrar.AddConnectionEnd(SOURCE, "SOURCE", ZR_DIR_INPUT);
    registrar.AddConnectionEnd(DEST, "DEST", ZR_DIR_OUTPUT);
}

ZR_CONNECTION::ZR_CONNECTION(bool construct, ZR_Container* owner) : ZR_Frame(owner) { Finish(construct, owner); }
ZR_CONNECTION::~ZR_CONNECTION() = default;
const char* ZR_CONNECTION::ZR_ContainerId() { return "Model CONNECTION\tV9"; }

ZR_GENERICCONTROLSIGNAL::ZR_GENERICCONTROLSIGNAL(bool construct, ZR_Container* owner)
    : ZR_Frame(owner), USERNOTES(true), SOURCE(true, nullptr), DEST(true, nullptr) {
    Finish(construct, owner);
}
ZR_GENERICCONTROLSIGNAL::~ZR_GENERICCONTROLSIGNAL() = default;
const char* ZR_GENERICCONTROLSIGNAL::ZR_ContainerId() { return "Model GENERICCONTROLSIGNAL\tV9"; }

void ZR_GENERICCONTROLSIGNAL::RegisterMembers(ZR_Registrar& registrar) {
    registrar.Add(USERNOTES, "USERNOTES");
    registrar.AddSignalPort(SOURCE, "SOURCE", ZR_DIR_INPUT);
    registrar.AddSignalPort(DEST, "DEST", ZR_DIR_OUTPUT);
}

ZR_CONTROLSIGNAL::ZR_CONTROLSIGNAL(bool construct, ZR_Container* owner) : ZR_Frame(owner) {
    Finish(construct, owner);
}
ZR_CONTROLSIGNAL::~ZR_CONTROLSIGNAL() = default;
const char* ZR_CONTROLSIGNAL::ZR_ContainerId() { return "Model CONTROLSIGNAL\tV9"; }

ORVANE_ENTRY_POINTS(GENERICCONNECTION);
ORVANE_ENTRY_POINTS(CONNECTION);
ORVANE_ENTRY_POINTS(GENERICCONTROLSIGNAL);
ORVANE_ENTRY_POINTS(CONTROLSIGNAL);
