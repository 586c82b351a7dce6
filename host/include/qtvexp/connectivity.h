// The host's side of multiports and of references to global structures.
#pragma once
#include "qtvexp/members.h"

// A port that stands for any number of named connections. The host keeps the
// connection names in a string set; a model library's multiport keeps one
// element port per name and supplies the connection operations.
class QTVEXP_API ZR_MULTIPORT_BaseType : public ZR_PortType {
public:
    ZR_MULTIPORT_BaseType();
    ZR_MULTIPORT_BaseType(const ZR_MULTIPORT_BaseType& other);
    ZR_MULTIPORT_BaseType& operator=(const ZR_MULTIPORT_BaseType& other);  // copies the names
    ~ZR_MULTIPORT_BaseType() override;

    static const char* ZR_ContainerId();
    const char* ZR_DefaultDESCRIPTION() const override;
    bool ContainerDerivesFrom(const char* name) override;
    bool IsAMultiport() const override;
    const char* ZR_KindName() const override;

    // The port of the connection of that name, made through CreateConnectionPort
    // when the name is new. Null, with an error, for an empty name.
    ZR_PortType* Connect(const char* name, unsigned flags = 0);
    // Forgets the name; false when the multiport held no such connection.
    bool Disconnect(const char* name);

    // The names of the connections, in the set's order.
    ZR_STRINGSET& ConnectionNames();
    const ZR_STRINGSET& ConnectionNames() const;

private:
    ZR_STRINGSET m_names;
};

// A string parameter naming a global structure instance. Dereference answers
// that instance when one of the name exists and the referring library accepts
// its type, and otherwise a stand-in that the referring library builds once
// (CreateDummyInstance) and the reference keeps.
class QTVEXP_API ZR_GlobalStructureRefBase : public ZR_STRINGPARAMETER {
public:
    // model: the instance answered while no global structure is named; may be null.
    explicit ZR_GlobalStructureRefBase(ZR_ModelType* model);
    ZR_GlobalStructureRefBase(const ZR_GlobalStructureRefBase& other);
    ZR_GlobalStructureRefBase& operator=(const ZR_GlobalStructureRefBase& other);
    ~ZR_GlobalStructureRefBase() override;

    ZR_ModelType* Dereference();

    virtual ZR_ModelType* CreateDummyInstance();
    virtual bool CheckCompatibleStructureType(ZR_ModelType* model);

    const char* ZR_KindName() const override;

private:
    void Hold(ZR_ModelType* model);
    ZR_ModelType* m_model;  // holds one reference
};
