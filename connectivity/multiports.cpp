#include "connectivity/multiports.h"

#include <climits>

template <class T>
ZR_MULTIPORT<T>::ZR_MULTIPORT() {
    CONNECTION.AddProperty(this, "CONNECTION", "Active Multiport connections", ZR_DIR_NONE, false);
    CONNECTION.SetDim(ConnectionNames());
}

template <class T>
ZR_MULTIPORT<T>::~ZR_MULTIPORT() {}

template <class T>
ZR_MULTIPORT<T>& ZR_MULTIPORT<T>::operator=(const ZR_MULTIPORT& other) {
    ZR_MULTIPORT_BaseType::operator=(other);
    CONNECTION = other.CONNECTION;
    return *this;
}

template <class T>
ZR_MULTIPORT<T>& ZR_MULTIPORT<T>::operator*() {
    return *this;
}

template <class T>
void ZR_MULTIPORT<T>::DumpStructure() {
    ZR_PortType::DumpStructure();
}

template <class T>
int ZR_MULTIPORT<T>::PortCount(bool) const {
    return CONNECTION.PortCount(false) + 1;
}

template <class T>
ZR_Type* ZR_MULTIPORT<T>::GetPort(int& index, bool) {
    // The lowest index stays where it is: below it there is nothing to lower to.
    if (index > INT_MIN) --index;
    if (index < 0) return this;
    return CONNECTION.GetPort(index, false);
}

template <class T>
ZR_PortType* ZR_MULTIPORT<T>::CreateConnectionPort(const char* name, unsigned flags) {
    // The array carries the multiport's state before the name makes the element.
    CONNECTION.SetDirection(Direction());
    if (IsToBeExported()) {
        CONNECTION.HostPortType(HostPortType());
    } else {
        CONNECTION.UnsetIsToBeExported();
    }
    ZR_StrSetValue names(ConnectionNames().v());
    names += name;
    {
        ZR_Value value(names, static_cast<int>(flags));
        ConnectionNames().Assign(&value);
    }
    return Element(name);
}

template <class T>
ZR_PortType* ZR_MULTIPORT<T>::FindConnectionPort(const char* name) {
    return Element(name);
}

// CONNECTION's lookup, without making a reference of what may be null: the
// heap may have refused the element, or the name may not be a connection.
template <class T>
ZR_PortType* ZR_MULTIPORT<T>::Element(const char* name) {
    return static_cast<T*>(CONNECTION.Find(name));
}

// Exported as declared in the header.
template class ZR_MULTIPORT<ZR_GENERICPORT>;
template class ZR_MULTIPORT<ZR_CONTROLPORT>;
template class ZR_MULTIPORT<ZR_CONNECTIONPORT>;

#define ORVANE_DEFINE_MULTIPORT_VARIANT(Prefix, Port)                                                  \
    ZR_ZR_##Prefix##Port::ZR_ZR_##Prefix##Port() {}                                                   \
    ZR_ZR_##Prefix##Port::~ZR_ZR_##Prefix##Port() {}                                                  \
    ZR_ZR_##Prefix##Port& ZR_ZR_##Prefix##Port::operator=(const ZR_ZR_##Prefix##Port& other) {        \
        ZR_MULTIPORT<ZR_##Port>::operator=(other);                                                    \
        return *this;                                                                                 \
    }                                                                                                 \
    ZR_ZR_##Prefix##Port& ZR_ZR_##Prefix##Port::operator*() { return *this; }

ORVANE_MULTIPORT_VARIANTS(ORVANE_DEFINE_MULTIPORT_VARIANT)
