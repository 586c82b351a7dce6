#include "qtvexp/connectivity.h"

#include <cstring>

#include "qtvexp/recorder.h"

using qtvhost::Host;

// --- ZR_MULTIPORT_BaseType ---------------------------------------------------

ZR_MULTIPORT_BaseType::ZR_MULTIPORT_BaseType() : m_names(true) {}
ZR_MULTIPORT_BaseType::ZR_MULTIPORT_BaseType(const ZR_MULTIPORT_BaseType& other)
    : ZR_PortType(other), m_names(other.m_names) {}
ZR_MULTIPORT_BaseType& ZR_MULTIPORT_BaseType::operator=(const ZR_MULTIPORT_BaseType& other) {
    ZR_PortType::operator=(other);
    m_names = other.m_names;
    return *this;
}
ZR_MULTIPORT_BaseType::~ZR_MULTIPORT_BaseType() = default;

const char* ZR_MULTIPORT_BaseType::ZR_ContainerId() { return "Multiport"; }
const char* ZR_MULTIPORT_BaseType::ZR_DefaultDESCRIPTION() const { return ZR_ContainerId(); }
bool ZR_MULTIPORT_BaseType::ContainerDerivesFrom(const char* name) {
    return SUValue::CompareCI(ZR_ContainerId(), name) == 0;
}
bool ZR_MULTIPORT_BaseType::IsAMultiport() const { return true; }
const char* ZR_MULTIPORT_BaseType::ZR_KindName() const { return "multiport"; }
ZR_STRINGSET& ZR_MULTIPORT_BaseType::ConnectionNames() { return m_names; }
const ZR_STRINGSET& ZR_MULTIPORT_BaseType::ConnectionNames() const { return m_names; }

ZR_PortType* ZR_MULTIPORT_BaseType::Connect(const char* name, unsigned flags) {
    if (name == nullptr || *name == '\0') {
        Host::Get().Error(FullName() + ": a connection needs a name");
        return nullptr;
    }
    if (m_names.fv() >= name) return FindConnectionPort(name);
    return CreateConnectionPort(name, flags);
}

bool ZR_MULTIPORT_BaseType::Disconnect(const char* name) {
    const ZR_SetValue& names = m_names.fv();
    if (name == nullptr || !(names >= name)) return false;
    ZR_SetValue kept;
    kept.ResetType(ZR_SET_STRING);
    for (int i = 0; i < names.SetSize(); ++i)
        if (std::strcmp(names.String(i), name) != 0) kept += names.String(i);
    ZR_Value value(kept, 0);
    m_names.Assign(&value);
    return true;
}

// --- ZR_GlobalStructureRefBase -----------------------------------------------

ZR_GlobalStructureRefBase::ZR_GlobalStructureRefBase(ZR_ModelType* model) : ZR_STRINGPARAMETER(true), m_model(nullptr) {
    Hold(model);
}
ZR_GlobalStructureRefBase::ZR_GlobalStructureRefBase(const ZR_GlobalStructureRefBase& other)
    : ZR_STRINGPARAMETER(other), m_model(nullptr) {
    Hold(other.m_model);
}
ZR_GlobalStructureRefBase& ZR_GlobalStructureRefBase::operator=(const ZR_GlobalStructureRefBase& other) {
    ZR_STRINGPARAMETER::operator=(other);
    Hold(other.m_model);
    return *this;
}
ZR_GlobalStructureRefBase::~ZR_GlobalStructureRefBase() { Hold(nullptr); }

// Takes the new reference before giving up the old one, so that holding the same
// instance again never destroys it.
void ZR_GlobalStructureRefBase::Hold(ZR_ModelType* model) {
    if (model) model->AddRef();
    if (m_model) m_model->Release();
    m_model = model;
}

ZR_ModelType* ZR_GlobalStructureRefBase::Dereference() {
    const char* name = *this;
    if (ZR_ModelType* global = Host::Get().FindGlobalStructure(name)) {
        if (CheckCompatibleStructureType(global)) return global;
        Host::Get().Error(FullName() + ": the global structure \"" + name + "\" is not of the referenced type");
    }
    if (m_model == nullptr) Hold(CreateDummyInstance());
    return m_model;
}

ZR_ModelType* ZR_GlobalStructureRefBase::CreateDummyInstance() { return nullptr; }
bool ZR_GlobalStructureRefBase::CheckCompatibleStructureType(ZR_ModelType* model) { return model != nullptr; }
const char* ZR_GlobalStructureRefBase::ZR_KindName() const { return "structure reference"; }
