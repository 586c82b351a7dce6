// Connections and control signals: models that join two ports of a flowsheet.
// They hold no variables or equations; the host matches the ends' variables.
#pragma once
#include "connectivity/ports.h"

class ORVANE_API ZR_GENERICCONNECTION : public ZR_TypeFrame<ZR_GENERICCONNECTION, ZR_ModelTypeEx2> {
    using ZR_Frame = ZR_TypeFrame<ZR_GENERICCONNECTION, ZR_ModelTypeEx2>;
    friend ZR_Frame;

public:
    explicit ZR_GENERICCONNECTION(bool construct = true, ZR_Container* owner = nullptr);
    ~ZR_GENERICCONNECTION() override;
    ZR_GENERICCONNECTION& operator=(const ZR_GENERICCONNECTION& other) = default;
    static const char* ZR_ContainerId();

    ZR_STRINGPARAMETER USERNOTES;
    ZR_CONNECTIONPORT SOURCE;
    ZR_CONNECTIONPORT DEST;
    ZR_Bookkeeping Book;

protected:
    void RegisterMembers(ZR_Registrar& registrar);
};

class ORVANE_API ZR_CONNECTION : public ZR_TypeFrame<ZR_CONNECTION, ZR_GENERICCONNECTION> {
    using ZR_Frame = ZR_TypeFrame<ZR_CONNECTION, ZR_GENERICCONNECTION>;
    friend ZR_Frame;

public:
    explicit ZR_CONNECTION(bool construct = true, ZR_Container* owner = nullptr);
    ~ZR_CONNECTION() override;
    ZR_CONNECTION& operator=(const ZR_CONNECTION& other) = default;
    static const char* ZR_ContainerId();

    ZR_Bookkeeping Book;
};

class ORVANE_API ZR_GENERICCONTROLSIGNAL : public ZR_TypeFrame<ZR_GENERICCONTROLSIGNAL, ZR_ModelTypeEx2> {
    using ZR_Frame = ZR_TypeFrame<ZR_GENERICCONTROLSIGNAL, ZR_ModelTypeEx2>;
    friend ZR_Frame;

public:
    explicit ZR_GENERICCONTROLSIGNAL(bool construct = true, ZR_Container* owner = nullptr);
    ~ZR_GENERICCONTROLSIGNAL() override;
    ZR_GENERICCONTROLSIGNAL& operator=(const ZR_GENERICCONTROLSIGNAL& other) = default;
    static const char* ZR_ContainerId();

    ZR_STRINGPARAMETER USERNOTES;
    ZR_CONTROLPORT SOURCE;
    ZR_CONTROLPORT DEST;
    ZR_Bookkeeping Book;

protected:
    void RegisterMembers(ZR_Registrar& registrar);
};

class ORVANE_API ZR_CONTROLSIGNAL : public ZR_TypeFrame<ZR_CONTROLSIGNAL, ZR_GENERICCONTROLSIGNAL> {
    using ZR_Frame = ZR_TypeFrame<ZR_CONTROLSIGNAL, ZR_GENERICCONTROLSIGNAL>;
    friend ZR_Frame;

public:
    explicit ZR_CONTROLSIGNAL(bool construct = true, ZR_Container* owner = nullptr);
    ~ZR_CONTROLSIGNAL() override;
    ZR_CONTROLSIGNAL& operator=(const ZR_CONTROLSIGNAL& other) = default;
    static const char* ZR_ContainerId();

    ZR_Bookkeeping Book;
};
