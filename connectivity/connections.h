// Connections and control signals: models that join two ports of a flowsheet.
// They hold no variables or equations; the host matches the ends' variables.
#pragma once
#include "connectivity/ports.h"

class ORVANE_API ZR_GENERICCONNECTION : public ZR_TypeFrame<ZR_GENERICCONNECTION, ZR_ModelTypeEx2> {
    ORVANE_TYPE_CLASS(ZR_GENERICCONNECTION, ZR_ModelTypeEx2);

    ZR_STRINGPARAMETER USERNOTES;
    ZR_CONNECTIONPORT SOURCE;
    ZR_CONNECTIONPORT DEST;
    ZR_Bookkeeping Book;

protected:
    void RegisterMembers(ZR_Registrar& registrar);
};

class ORVANE_API ZR_CONNECTION : public ZR_TypeFrame<ZR_CONNECTION, ZR_GENERICCONNECTION> {
    ORVANE_TYPE_CLASS(ZR_CONNECTION, ZR_GENERICCONNECTION);

    ZR_Bookkeeping Book;
};

class ORVANE_API ZR_GENERICCONTROLSIGNAL : public ZR_TypeFrame<ZR_GENERICCONTROLSIGNAL, ZR_ModelTypeEx2> {
    ORVANE_TYPE_CLASS(ZR_GENERICCONTROLSIGNAL, ZR_ModelTypeEx2);

    ZR_STRINGPARAMETER USERNOTES;
    ZR_CONTROLPORT SOURCE;
    ZR_CONTROLPORT DEST;
    ZR_Bookkeeping Book;

protected:
    void RegisterMembers(ZR_Registrar& registrar);
};

class ORVANE_API ZR_CONTROLSIGNAL : public ZR_TypeFrame<ZR_CONTROLSIGNAL, ZR_GENERICCONTROLSIGNAL> {
    ORVANE_TYPE_CLASS(ZR_CONTROLSIGNAL, ZR_GENERICCONTROLSIGNAL);

    ZR_Bookkeeping Book;
};
