// Multiports: a port that stands for any number of named connections of one port
// type, holding one element port per connection name. The host's multiport base
// keeps the names and drives the multiport (its id, Connect, Disconnect); the
// library supplies the element ports and the walk over them.
#pragma once
#include "connectivity/ports.h"
#include "frame/wrappers.h"

// The port arrays are instantiated with the other wrapper instances; declared
// here, before CONNECTION uses them, so that their export reaches them.
extern template class ORVANE_INSTANCE_API ZR_ARRAY_S<ZR_GENERICPORT, ZR_GENERICPORT>;
extern template class ORVANE_INSTANCE_API ZR_ARRAY_S<ZR_CONTROLPORT, ZR_CONTROLPORT>;
extern template class ORVANE_INSTANCE_API ZR_ARRAY_S<ZR_CONNECTIONPORT, ZR_CONNECTIONPORT>;

// No library type embeds a multiport: the host and other model libraries build
// the variants below. A multiport is no generated type: it has no id, owner,
// Construct or bookkeeping of its own.
template <class T>
class ORVANE_TEMPLATE_API ZR_MULTIPORT : public ZR_MULTIPORT_BaseType {
public:
    // Registers CONNECTION with the multiport and binds it to the names, so
    // that every name has its element port.
    ZR_MULTIPORT();
    ZR_MULTIPORT(const ZR_MULTIPORT&) = delete;
    ~ZR_MULTIPORT() override;
    ZR_MULTIPORT& operator=(const ZR_MULTIPORT& other);
    ZR_MULTIPORT& operator*();

    void DumpStructure() override;
    // The multiport itself and its element ports.
    int PortCount(bool flag) const override;
    // Index 0 (or below) names the multiport itself, index k the k-th element
    // port; the caller's index is lowered past every port passed.
    ZR_Type* GetPort(int& index, bool flag) override;
    // Adds the name and answers its element port, which takes the multiport's
    // direction and export state as they are now. The flags word goes with the
    // new names to the host untouched.
    ZR_PortType* CreateConnectionPort(const char* name, unsigned flags) override;
    // The element port of that name; the names do not change.
    ZR_PortType* FindConnectionPort(const char* name) override;

    ZR_ARRAY_S<T, T> CONNECTION;

private:
    // The element of that name as a port; null stays null.
    ZR_PortType* Element(const char* name);
};

extern template class ORVANE_INSTANCE_API ZR_MULTIPORT<ZR_GENERICPORT>;
extern template class ORVANE_INSTANCE_API ZR_MULTIPORT<ZR_CONTROLPORT>;
extern template class ORVANE_INSTANCE_API ZR_MULTIPORT<ZR_CONNECTIONPORT>;

// The variants (input, output, input-output), as (prefix, port type name). They
// add nothing but their class identity: every operation is the multiport's.
#define ORVANE_MULTIPORT_VARIANTS(X) \
    X(MI, GENERICPORT)               \
    X(MO, GENERICPORT)               \
    X(MIO, GENERICPORT)              \
    X(MI, CONNECTIONPORT)            \
    X(MO, CONNECTIONPORT)            \
    X(MIO, CONNECTIONPORT)           \
    X(MI, CONTROLPORT)               \
    X(MO, CONTROLPORT)               \
    X(MIO, CONTROLPORT)

#define ORVANE_DECLARE_MULTIPORT_VARIANT(Prefix, Port)                                   \
    class ORVANE_API ZR_ZR_##Prefix##Port : public ZR_MULTIPORT<ZR_##Port> {            \
    public:                                                                             \
        ZR_ZR_##Prefix##Port();                                                         \
        ~ZR_ZR_##Prefix##Port() override;                                               \
        ZR_ZR_##Prefix##Port& operator=(const ZR_ZR_##Prefix##Port& other);             \
        ZR_ZR_##Prefix##Port& operator*();                                              \
    };

ORVANE_MULTIPORT_VARIANTS(ORVANE_DECLARE_MULTIPORT_VARIANT)
#undef ORVANE_DECLARE_MULTIPORT_VARIANT
