#include "connectivity/connections.h"

ZR_GENERICCONNECTION::ZR_GENERICCONNECTION(bool construct, ZR_Container* owner)
    : ZR_Frame(owner), USERNOTES(true), SOURCE(true, nullptr), DEST(true, nullptr) {
    Finish(construct, owner);
}
ORVANE_TYPE_DEFINITIONS(ZR_GENERICCONNECTION, "Model GENERICCONNECTION\tV9")

// Both ends, the output end too, are of host port type 4.
void ZR_GENERICCONNECTION::RegisterMembers(ZR_Registrar& registrar) {
    registrar.Add(USERNOTES, "USERNOTES");
    registrar.AddConnectionEnd(SOURCE, "SOURCE", ZR_DIR_INPUT);
    registrar.AddConnectionEnd(DEST, "DEST", ZR_DIR_OUTPUT);
}

ORVANE_DERIVED_TYPE_DEFINITIONS(ZR_CONNECTION, "Model CONNECTION\tV9")

ZR_GENERICCONTROLSIGNAL::ZR_GENERICCONTROLSIGNAL(bool construct, ZR_Container* owner)
    : ZR_Frame(owner), USERNOTES(true), SOURCE(true, nullptr), DEST(true, nullptr) {
    Finish(construct, owner);
}
ORVANE_TYPE_DEFINITIONS(ZR_GENERICCONTROLSIGNAL, "Model GENERICCONTROLSIGNAL\tV9")

void ZR_GENERICCONTROLSIGNAL::RegisterMembers(ZR_Registrar& registrar) {
    registrar.Add(USERNOTES, "USERNOTES");
    registrar.AddSignalPort(SOURCE, "SOURCE", ZR_DIR_INPUT);
    registrar.AddSignalPort(DEST, "DEST", ZR_DIR_OUTPUT);
}

ORVANE_DERIVED_TYPE_DEFINITIONS(ZR_CONTROLSIGNAL, "Model CONTROLSIGNAL\tV9")

ORVANE_ENTRY_POINTS(GENERICCONNECTION);
ORVANE_ENTRY_POINTS(CONNECTION);
ORVANE_ENTRY_POINTS(GENERICCONTROLSIGNAL);
ORVANE_ENTRY_POINTS(CONTROLSIGNAL);
