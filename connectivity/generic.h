// The generic model, stream and structure: plain building blocks of a flowsheet
// with user notes, a component list and, for the model and the stream, signal
// ports. None has variables, assignments or equations.
#pragma once
#include "connectivity/ports.h"

class ORVANE_API ZR_GENERICMODEL : public ZR_TypeFrame<ZR_GENERICMODEL, ZR_ModelTypeEx2> {
    ORVANE_TYPE_CLASS(ZR_GENERICMODEL, ZR_ModelTypeEx2);

    ZR_STRINGPARAMETER USERNOTES;
    ZR_COMPONENTLISTNAME COMPONENTLIST;
    ZR_CONTROLPORT INPUTSIGNAL;
    ZR_CONTROLPORT OUTPUTSIGNAL;
    ZR_Bookkeeping Book;

protected:
    void RegisterMembers(ZR_Registrar& registrar);
};

class ORVANE_API ZR_GENERICSTREAM : public ZR_TypeFrame<ZR_GENERICSTREAM, ZR_ModelTypeEx2> {
    ORVANE_TYPE_CLASS(ZR_GENERICSTREAM, ZR_ModelTypeEx2);

    ZR_STRINGPARAMETER USERNOTES;
    ZR_COMPONENTLISTNAME COMPONENTLIST;
    ZR_CONTROLPORT ZR_UNCONNECTABLEINPUT;
    ZR_CONTROLPORT ZR_UNCONNECTABLEOUTPUT;
    ZR_CONTROLPORT INPUTSIGNAL;
    ZR_CONTROLPORT OUTPUTSIGNAL;
    ZR_Bookkeeping Book;

protected:
    void RegisterMembers(ZR_Registrar& registrar);
};

class ORVANE_API ZR_GENERICSTRUCTURE : public ZR_TypeFrame<ZR_GENERICSTRUCTURE, ZR_StructureTypeEx> {
    ORVANE_TYPE_CLASS(ZR_GENERICSTRUCTURE, ZR_StructureTypeEx);

    ZR_STRINGPARAMETER USERNOTES;
    ZR_COMPONENTLISTNAME COMPONENTLIST;
    ZR_Bookkeeping Book;

protected:
    void RegisterMembers(ZR_Registrar& registrar);
};

// A string parameter naming a global instance of the structure type T; reading
// through it gives that instance (the host's Dereference).
template <class T>
class ZR_GLOBALSTRUCTUREREFNAME : public ZR_GlobalStructureRefBase {
public:
    ZR_GLOBALSTRUCTUREREFNAME();
    ~ZR_GLOBALSTRUCTUREREFNAME() override;
    ZR_GLOBALSTRUCTUREREFNAME& operator=(const ZR_GLOBALSTRUCTUREREFNAME& other);

    operator T&();
    T& operator*();

    // A new T built with its members registered; null when the heap yields nothing.
    ZR_ModelType* CreateDummyInstance() override;
    // Whether the model accepts T's id; false for no model at all.
    bool CheckCompatibleStructureType(ZR_ModelType* model) override;
};

extern template class ORVANE_API ZR_GLOBALSTRUCTUREREFNAME<ZR_GENERICSTRUCTURE>;
