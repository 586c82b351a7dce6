// The host's halves of references and replaceable members; the model library's
// templates add the referenced or replaceable type.
#pragma once
#include <string>

#include "qtvexp/members.h"

// A member that refers to an instance living elsewhere in the model tree. The
// host links it. The reference neither owns nor counts the instance: the model
// tree governs its life, and a copy refers to the same instance.
class QTVEXP_API ZR_ExternalBase : public ZR_Containable {
public:
    explicit ZR_ExternalBase(ZR_Containable* linked);  // null: refers to nothing yet
    ZR_ExternalBase(const ZR_ExternalBase& other);
    ZR_ExternalBase& operator=(const ZR_ExternalBase& other);
    ~ZR_ExternalBase() override;

    // Enters the reference as a property of owner and returns it.
    ZR_ExternalBase* AddProperty(ZR_Container* owner, const char* name, const char* description, int direction,
                                 bool flag);
    // The linked instance; null, with an error, while nothing is linked.
    ZR_Containable* ExternalLink();
    // Links the reference; null unlinks it. An instance that is not of the
    // referenced type is refused with an error and the link stays as it was.
    bool Link(ZR_Containable* target);
    ZR_Containable* Linked() const;
    const char* ZR_KindName() const override;

    // The type id of the referenced type.
    virtual const char* ExternalTypeName() = 0;

private:
    void NotLinked() const;
    ZR_Containable* m_linked;
    std::string m_name;
};

// A member whose type is chosen later: a string parameter that stands for an
// instance of the chosen type. While none is chosen, the first VirtualLink builds
// the default through NewDefaultVirtual; the member holds what it built, names
// it after itself for listings, and gives it back when it goes.
class QTVEXP_API ZR_VirtualBase : public ZR_STRINGPARAMETER {
public:
    explicit ZR_VirtualBase(ZR_Type* chosen);  // chosen elsewhere and not held; null: none yet
    ZR_VirtualBase(const ZR_VirtualBase&) = delete;
    // The value only: each member keeps the instance it stands for.
    ZR_VirtualBase& operator=(const ZR_VirtualBase& other);
    ~ZR_VirtualBase() override;

    // Enters the member as a property of owner and returns it.
    ZR_Type* AddProperty(ZR_Container* owner, const char* name, const char* description, int direction, bool flag);
    // The chosen instance, the default built on first need; null, with an error,
    // when no default could be built.
    ZR_Type* VirtualLink();
    ZR_Type* Chosen() const;  // without building anything

    virtual ZR_Type* NewDefaultVirtual() = 0;
    virtual const char* VirtualBaseType() = 0;  // the type id of the base type

private:
    ZR_Type* BuildDefault();
    ZR_Type* m_chosen;
    bool m_built;
};
