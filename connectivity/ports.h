// Ports: the signal ports of models and streams and the ends of connections.
#pragma once
#include "frame/frame.h"

// Signal port of models and streams, and end of the control-signal models.
class ORVANE_API ZR_CONTROLPORT : public ZR_TypeFrame<ZR_CONTROLPORT, ZR_PortTypeEx> {
    ORVANE_TYPE_CLASS(ZR_CONTROLPORT, ZR_PortTypeEx);

    ZR_Bookkeeping Book;
};

// End of the connection models.
class ORVANE_API ZR_CONNECTIONPORT : public ZR_TypeFrame<ZR_CONNECTIONPORT, ZR_PortTypeEx> {
    ORVANE_TYPE_CLASS(ZR_CONNECTIONPORT, ZR_PortTypeEx);

    ZR_Bookkeeping Book;
};

// A port with a connection state and a component list, for other model libraries
// and the host to build and derive from.
class ORVANE_API ZR_GENERICPORT : public ZR_TypeFrame<ZR_GENERICPORT, ZR_PortTypeEx> {
    ORVANE_TYPE_CLASS(ZR_GENERICPORT, ZR_PortTypeEx);
    ZR_VarParamProp* IsConnected() override;

    ZR_FalseLOGICALPARAMETER ISCONNECTED;
    ZR_FalseLOGICALPARAMETER ISLINKED;
    ZR_COMPONENTLISTNAME COMPONENTLIST;
    ZR_Bookkeeping Book;

protected:
    void RegisterMembers(ZR_Registrar& registrar);
};
