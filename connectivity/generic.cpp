#include "connectivity/generic.h"

ZR_GENERICMODEL::ZR_GENERICMODEL(bool construct, ZR_Container* owner)
    : ZR_Frame(owner), USERNOTES(true), INPUTSIGNAL(true, nullptr), OUTPUTSIGNAL(true, nullptr) {
    Finish(construct, owner);
}
ORVANE_TYPE_DEFINITIONS(ZR_GENERICMODEL, "Model GENERICMODEL\tV9")

void ZR_GENERICMODEL::RegisterMembers(ZR_Registrar& registrar) {
    registrar.Add(USERNOTES, "USERNOTES");
    registrar.Add(COMPONENTLIST, "COMPONENTLIST");
    registrar.AddSignalPort(INPUTSIGNAL, "INPUTSIGNAL", ZR_DIR_INPUT);
    registrar.AddSignalPort(OUTPUTSIGNAL, "OUTPUTSIGNAL", ZR_DIR_OUTPUT);
}

ZR_GENERICSTREAM::ZR_GENERICSTREAM(bool construct, ZR_Container* owner)
    : ZR_Frame(owner), USERNOTES(true), ZR_UNCONNECTABLEINPUT(true, nullptr), ZR_UNCONNECTABLEOUTPUT(true, nullptr),
      INPUTSIGNAL(true, nullptr), OUTPUTSIGNAL(true, nullptr) {
    Finish(construct, owner);
}
ORVANE_TYPE_DEFINITIONS(ZR_GENERICSTREAM, "Stream GENERICSTREAM\tV9")

void ZR_GENERICSTREAM::RegisterMembers(ZR_Registrar& registrar) {
    registrar.Add(USERNOTES, "USERNOTES");
    registrar.Add(COMPONENTLIST, "COMPONENTLIST");
    registrar.AddSignalPort(ZR_UNCONNECTABLEINPUT, "ZR_UNCONNECTABLEINPUT", ZR_DIR_INPUT);
    registrar.AddSignalPort(ZR_UNCONNECTABLEOUTPUT, "ZR_UNCONNECTABLEOUTPUT", ZR_DIR_OUTPUT);
    registrar.AddSignalPort(INPUTSIGNAL, "INPUTSIGNAL", ZR_DIR_INPUT);
    registrar.AddSignalPort(OUTPUTSIGNAL, "OUTPUTSIGNAL", ZR_DIR_OUTPUT);
}

ZR_GENERICSTRUCTURE::ZR_GENERICSTRUCTURE(bool construct, ZR_Container* owner) : ZR_Frame(owner), USERNOTES(true) {
    Finish(construct, owner);
}
ORVANE_TYPE_DEFINITIONS(ZR_GENERICSTRUCTURE, "Structure GENERICSTRUCTURE\tV9")

void ZR_GENERICSTRUCTURE::RegisterMembers(ZR_Registrar& registrar) {
    registrar.Add(USERNOTES, "USERNOTES");
    registrar.Add(COMPONENTLIST, "COMPONENTLIST");
}

// --- the reference to a global structure --------------------------------------

template <class T>
ZR_GLOBALSTRUCTUREREFNAME<T>::ZR_GLOBALSTRUCTUREREFNAME() : ZR_GlobalStructureRefBase(nullptr) {}
template <class T>
ZR_GLOBALSTRUCTUREREFNAME<T>::~ZR_GLOBALSTRUCTUREREFNAME() = default;
template <class T>
ZR_GLOBALSTRUCTUREREFNAME<T>& ZR_GLOBALSTRUCTUREREFNAME<T>::operator=(const ZR_GLOBALSTRUCTUREREFNAME& other) {
    ZR_GlobalStructureRefBase::operator=(other);
    return *this;
}

// Unchecked, as every dereference of a member is: the host answers an instance
// that CheckCompatibleStructureType accepted, or the dummy.
template <class T>
ZR_GLOBALSTRUCTUREREFNAME<T>::operator T&() {
    return *static_cast<T*>(Dereference());
}
template <class T>
T& ZR_GLOBALSTRUCTUREREFNAME<T>::operator*() {
    return *static_cast<T*>(Dereference());
}

template <class T>
ZR_ModelType* ZR_GLOBALSTRUCTUREREFNAME<T>::CreateDummyInstance() {
    return new T(true, nullptr);
}

// The host may hand over no model at all (no structure of that name yet): that is
// simply not a compatible one.
template <class T>
bool ZR_GLOBALSTRUCTUREREFNAME<T>::CheckCompatibleStructureType(ZR_ModelType* model) {
    return model != nullptr && model->ContainerDerivesFrom(T::ZR_ContainerId());
}

template class ZR_GLOBALSTRUCTUREREFNAME<ZR_GENERICSTRUCTURE>;

ORVANE_ENTRY_POINTS(GENERICSTRUCTURE);
ORVANE_ENTRY_POINTS(GENERICSTREAM);
ORVANE_ENTRY_POINTS(GENERICMODEL);
