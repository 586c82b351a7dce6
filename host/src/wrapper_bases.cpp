#include "qtvexp/wrapper_bases.h"
#include "trace_hook.h"

#include "handback.h"
#include "qtvexp/arrays.h"
#include "qtvexp/recorder.h"

using qtvhost::Host;

namespace {

template <class T>
bool Is(const ZR_Containable& object) {
    return dynamic_cast<const T*>(&object) != nullptr;
}

// Whether an instance answers to a type id: a type of a model library by its own
// chain of ids, an object of the host's own classes by its class.
bool AnswersTo(ZR_Containable& object, const char* typeId) {
    if (auto* container = dynamic_cast<ZR_Container*>(&object)) return container->ContainerDerivesFrom(typeId);
    struct HostClass {
        const char* (*id)();
        bool (*is)(const ZR_Containable&);
    };
    static const HostClass kHostClasses[] = {
        {ZR_REALPARAMETER::ZR_ContainerId, Is<ZR_REALPARAMETER>},
        {ZR_INTEGERPARAMETER::ZR_ContainerId, Is<ZR_INTEGERPARAMETER>},
        {ZR_STRINGPARAMETER::ZR_ContainerId, Is<ZR_STRINGPARAMETER>},
        {ZR_REALVARIABLE::ZR_ContainerId, Is<ZR_REALVARIABLE>},
        {ZR_PARTIALDERIVATIVE::ZR_ContainerId, Is<ZR_PARTIALDERIVATIVE>},
        {ZR_Matrix::ZR_ContainerId, Is<ZR_Matrix>},
    };
    for (const HostClass& c : kHostClasses)
        if (SUValue::CompareCI(c.id(), typeId) == 0) return c.is(object);
    return false;
}

}  // namespace

// --- ZR_ExternalBase ---------------------------------------------------------

ZR_ExternalBase::ZR_ExternalBase(ZR_Containable* linked) : m_linked(linked) {}
ZR_ExternalBase::ZR_ExternalBase(const ZR_ExternalBase& other) : ZR_Containable(other), m_linked(other.m_linked) {}

ZR_ExternalBase& ZR_ExternalBase::operator=(const ZR_ExternalBase& other) {
    ZR_Containable::operator=(other);
    m_linked = other.m_linked;
    return *this;
}

ZR_ExternalBase::~ZR_ExternalBase() = default;

ZR_ExternalBase* ZR_ExternalBase::AddProperty(ZR_Container* owner, const char* name, const char* description,
                                              int direction, bool flag) {
    if (owner == nullptr || name == nullptr) {
        Host::Get().Error("AddProperty of a reference without an owner or a name");
        return this;
    }
    m_name = name;
    owner->AddRegisteredProperty(this, ZR_Container::Property{this, name, description ? description : "",
                                                              description != nullptr, direction, flag, 1});
    return this;
}

ZR_Containable* ZR_ExternalBase::ExternalLink() {
    QTV_TRACED_CALL(ZR_ExternalBase::ExternalLink(), qtvhost::HostCall::ExternalLink, this);
    if (m_linked == nullptr) NotLinked();
    return m_linked;
}

// Out of line, so that the lookup itself stays a few instructions.
void ZR_ExternalBase::NotLinked() const { Host::Get().Error("reference " + m_name + " is used before it is linked"); }

bool ZR_ExternalBase::Link(ZR_Containable* target) {
    if (target != nullptr && !AnswersTo(*target, ExternalTypeName())) {
        Host::Get().Error("reference " + m_name + " cannot refer to an instance that is not of type " +
                          ExternalTypeName());
        return false;
    }
    m_linked = target;
    return true;
}

ZR_Containable* ZR_ExternalBase::Linked() const {
    QTV_TRACED_CALL(ZR_ExternalBase::Linked(), qtvhost::HostCall::Linked, this);
    return m_linked;
}
const char* ZR_ExternalBase::ZR_KindName() const { return "reference"; }

// --- ZR_VirtualBase ----------------------------------------------------------

ZR_VirtualBase::ZR_VirtualBase(ZR_Type* chosen) : ZR_STRINGPARAMETER(false), m_chosen(chosen), m_built(false) {}

ZR_VirtualBase& ZR_VirtualBase::operator=(const ZR_VirtualBase& other) {
    ZR_STRINGPARAMETER::operator=(other);
    return *this;
}

ZR_VirtualBase::~ZR_VirtualBase() {
    if (m_built) qtvhost::GiveBack(m_chosen);
}

ZR_Type* ZR_VirtualBase::AddProperty(ZR_Container* owner, const char* name, const char* description, int direction,
                                     bool flag) {
    return RegisterProperty(owner, name, description, direction, flag, 2);
}

ZR_Type* ZR_VirtualBase::VirtualLink() {
    QTV_TRACED_CALL(ZR_VirtualBase::VirtualLink(), qtvhost::HostCall::VirtualLink, this);
    return m_chosen ? m_chosen : BuildDefault();
}

ZR_Type* ZR_VirtualBase::BuildDefault() {
    ZR_Type* built = NewDefaultVirtual();
    if (built == nullptr) {
        Host::Get().Error(FullName() + ": no default instance of " + VirtualBaseType() + " could be built");
        return nullptr;
    }
    built->AddRef();
    built->SetElementOf(this, "");
    m_chosen = built;
    m_built = true;
    return m_chosen;
}

ZR_Type* ZR_VirtualBase::Chosen() const { return m_chosen; }
