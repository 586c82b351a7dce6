// Ports: the signal ports of models and streams and the ends of connections.
#pragma once
#include "frame/frame.h"

// Signal port of models and streams, and end of the control-signal models.
class ORVANE_API ZR_CONTROLPORT : public ZR_TypeFrame<ZR_CONTROLPORT, ZR_PortTypeEx> {
    using ZR_Frame = ZR_TypeFrame<ZR_CONTROLPORT, ZR_PortTypeEx>;
    friend ZR_Frame;

public:
    explicit ZR_CONTROLPORT(bool construct = true, ZR_Container* owner = nullptr);
    ~ZR_CONTROLPORT() override;
    ZR_CONTROLPORT& operator=(const ZR_CONTROLPORT& other) = default;
    static const char* ZR_ContainerId();

    ZR_Bookkeeping Book;
};

// End of the connection models.
class ORVANE_API ZR_CONNECTIONPORT : public ZR_TypeFrame<ZR_CONNECTIONPORT, ZR_PortTypeEx> {
    using ZR_Frame = ZR_TypeFrame<ZR_CONNECTIONPORT, ZR_PortTypeEx>;
    friend ZR_Frame;

public:
    explicit ZR_CONNECTIONPORT(bool construct = true, ZR_Container* owner = nullptr);
    ~ZR_CONNECTIONPORT() override;
    ZR_CONNECTIONPORT& operator=(const ZR_CONNECTIONPORT& other) = default;
    static const char* ZR_ContainerId();

    ZR_Bookkeeping Book;
};

// A port with a connection state and a component list, for other model libraries
// and the host to build and derive from.
class ORVANE_API ZR_GENERICPORT : public ZR_TypeFrame<ZR_GENERICPORT, ZR_PortTypeEx> {
    using ZR_Frame = ZR_TypeFrame<ZR_GENERICPORT, ZR_PortTypeEx>;
    friend ZR_Frame;

public:
    explicit ZR_GENERICPORT(bool construct = true, ZR_Container* owner = nullptr);
    ~ZR_GENERICPORT() override;
    ZR_GENERICPORT& operator=(const ZR_GENERICPORT& other) = default;
    static const char* ZR_ContainerId();
    ZR_VarParamProp* IsConnected() override;

    ZR_FalseLOGICALPARAMETER ISCONNECTED;
    ZR_FalseLOGICALPARAMETER ISLINKED;
    ZR_COMPONENTLISTNAME COMPONENTLIST;
    ZR_Bookkeeping Book;

protected:
    void RegisterMembers(ZR_Registrar& registrar);
};
