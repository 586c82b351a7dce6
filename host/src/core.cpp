#include "qtvexp/core.h"
#include "trace_hook.h"

#include <algorithm>
#include <climits>

#include "qtvexp/procedures.h"
#include "qtvexp/arrays.h"
#include "qtvexp/recorder.h"

using qtvhost::BaseCall;
using qtvhost::Host;

// --- ZR_Containable ----------------------------------------------------------

ZR_Containable::ZR_Containable() : m_refs(0), m_registeredIn(nullptr) {}
ZR_Containable::ZR_Containable(const ZR_Containable&) : m_refs(0), m_registeredIn(nullptr) {}
ZR_Containable& ZR_Containable::operator=(const ZR_Containable&) { return *this; }

ZR_Containable::~ZR_Containable() {
    if (m_registeredIn) m_registeredIn->ForgetProperty(this);
}

long ZR_Containable::QueryInterface(const char*, void** out) {
    if (out) *out = nullptr;
    return -1;
}

unsigned long ZR_Containable::AddRef() { return ++m_refs; }

unsigned long ZR_Containable::Release() {
    if (m_refs == 0) {
        Host::Get().Error("Release on an object that holds no reference");
        return 0;
    }
    if (--m_refs == 0) {
        delete this;
        return 0;
    }
    return m_refs;
}

unsigned long ZR_Containable::RefCount() const { return m_refs; }
const char* ZR_Containable::ZR_KindName() const { return "object"; }
ZR_Container* ZR_Containable::RegisteredIn() const { return m_registeredIn; }

void* ZR_Containable::operator new(std::size_t bytes) noexcept { return MyAllocate(bytes); }
void* ZR_Containable::operator new[](std::size_t bytes) noexcept { return MyAllocate(bytes); }
void ZR_Containable::operator delete(void* block) noexcept { MyFree(block); }
void ZR_Containable::operator delete[](void* block) noexcept { MyFree(block); }

// --- ZR_Type -----------------------------------------------------------------

ZR_Type::ZR_Type()
    : m_hasDescription(false), m_direction(0), m_flag(false), m_export(true), m_hostPortType(0),
      m_elementOf(nullptr) {}

ZR_Type::ZR_Type(const ZR_Type&) : ZR_Type() {}
ZR_Type& ZR_Type::operator=(const ZR_Type& other) {
    ZR_Containable::operator=(other);
    return *this;
}
ZR_Type::~ZR_Type() = default;

ZR_Type* ZR_Type::AddProperty(ZR_Container* owner, const char* name, const char* description,
                              int direction, bool flag) {
    return RegisterProperty(owner, name, description, direction, flag, 0);
}

ZR_Type* ZR_Type::RegisterProperty(ZR_Container* owner, const char* name, const char* description,
                                   int direction, bool flag, int via) {
    if (owner == nullptr || name == nullptr) {
        Host::Get().Error("AddProperty without an owner or a name");
        return this;
    }
    m_name = name;
    m_hasDescription = description != nullptr;
    m_description = description ? description : "";
    m_direction = direction;
    m_flag = flag;
    owner->AddRegisteredProperty(
        this, ZR_Container::Property{this, m_name, m_description, m_hasDescription, direction, flag, via});
    return this;
}

void ZR_Type::UnsetIsToBeExported() { m_export = false; }
void ZR_Type::HostPortType(int kind) { m_hostPortType = kind; }
void ZR_Type::SetDirection(int direction) { m_direction = direction; }
const char* ZR_Type::PropertyName() const { return m_name.c_str(); }
const char* ZR_Type::Description() const { return m_hasDescription ? m_description.c_str() : nullptr; }
ZR_Container* ZR_Type::PropertyOwner() const { return RegisteredIn(); }
int ZR_Type::Direction() const { return m_direction; }
bool ZR_Type::RegistrationFlag() const { return m_flag; }
bool ZR_Type::IsToBeExported() const { return m_export; }
int ZR_Type::GetHostPortType() const { return m_hostPortType; }
bool ZR_Type::IsRegistered() const { return RegisteredIn() != nullptr; }

void ZR_Type::SetElementOf(const ZR_Type* array, const std::string& indexText) {
    m_elementOf = array;
    m_indexText = indexText;
}
const ZR_Type* ZR_Type::ElementOf() const { return m_elementOf; }
const std::string& ZR_Type::IndexText() const { return m_indexText; }

std::string ZR_Type::FullName() const {
    if (m_elementOf) {
        if (m_indexText.empty()) return m_elementOf->FullName();
        return m_elementOf->FullName() + "(" + m_indexText + ")";
    }
    const ZR_Container* owner = RegisteredIn();
    if (owner && (owner->IsRegistered() || owner->ElementOf())) return owner->FullName() + "." + m_name;
    return m_name;
}

// --- ZR_VarParamProp ---------------------------------------------------------

ZR_VarParamProp::ZR_VarParamProp()
    : m_hasUser(false), m_hasAssigned(false), m_assignedRun(0), m_assignedBy(nullptr), m_registrySlot(-1) {}

ZR_VarParamProp::ZR_VarParamProp(const ZR_VarParamProp& other)
    : ZR_Type(other), m_default(other.m_default), m_user(other.m_user), m_assigned(other.m_assigned),
      m_hasUser(other.m_hasUser), m_hasAssigned(other.m_hasAssigned), m_assignedRun(0), m_assignedBy(nullptr),
      m_registrySlot(-1) {}

ZR_VarParamProp& ZR_VarParamProp::operator=(const ZR_VarParamProp& other) {
    ZR_Type::operator=(other);
    m_default = other.m_default;
    m_user = other.m_user;
    m_assigned = other.m_assigned;
    m_hasUser = other.m_hasUser;
    m_hasAssigned = other.m_hasAssigned;
    ValueChanged();
    return *this;
}

// An array that this set dimensions must not keep the set once it is gone.
ZR_VarParamProp::~ZR_VarParamProp() {
    Host::Get().ForgetAssignedValue(this);
    for (ZR_Containable* dependent : m_dependents)
        if (auto* array = dynamic_cast<ZR_Matrix*>(dependent)) array->ForgetDeclaredSet(this);
}

void ZR_VarParamProp::ValueChanged() {
    if (m_dependents.empty()) return;
    // A copy: an array that follows the value may build or drop elements.
    const std::vector<ZR_Containable*> dependents(m_dependents);
    for (ZR_Containable* dependent : dependents)
        if (auto* array = dynamic_cast<ZR_Matrix*>(dependent)) array->DeclaredSetChanged(this);
}

std::string ZR_VarParamProp::Accept(ZR_Value&) const { return ""; }

long ZR_VarParamProp::Refuse(const std::string& why) {
    m_error = FullName() + ": " + why;
    Host::Get().Error(m_error);
    return -1;
}

long ZR_VarParamProp::Assign(ZR_Value* value) {
    long status = 0;
    if (value == nullptr) {
        status = Refuse("assigned no value");
    } else {
        ZR_Value candidate(*value);
        std::string why = Accept(candidate);
        if (why.empty()) {
            Host& host = Host::Get();
            if (host.InAssignmentRun()) {
                host.NoteAssignedValue(this);
                m_assignedRun = host.AssignmentRun();
            }
            m_assigned = candidate;
            m_hasAssigned = true;
        } else {
            status = Refuse(why);
        }
    }
    Host& host = Host::Get();
    if (host.recordAssignments)
        host.assignments.push_back({this, FullName(), value ? *value : ZR_Value(), -1, status});
    if (status == 0) ValueChanged();
    return status;
}

long ZR_VarParamProp::SetInternalValue(const ZR_Value& value) {
    ZR_Value candidate(value);
    std::string why = Accept(candidate);
    if (!why.empty()) return Refuse(why);
    Host& host = Host::Get();
    if (host.InAssignmentRun()) host.NoteIndexSet(this);
    m_assigned = candidate;
    m_hasAssigned = true;
    ValueChanged();
    return 0;
}

long ZR_VarParamProp::SetUserValue(const ZR_Value& value) {
    ZR_Value candidate(value);
    std::string why = Accept(candidate);
    if (!why.empty()) return Refuse(why);
    m_user = candidate;
    m_hasUser = true;
    ValueChanged();
    return 0;
}

void ZR_VarParamProp::ClearUserValue() {
    m_hasUser = false;
    ValueChanged();
}
bool ZR_VarParamProp::HasUserValue() const { return m_hasUser; }
bool ZR_VarParamProp::HasAssignedValue() const { return m_hasAssigned; }
void ZR_VarParamProp::ClearAssignedValue() {
    Host::Get().ForgetAssignedValue(this);
    m_hasAssigned = false;
    ValueChanged();
}
int ZR_VarParamProp::AssignedRun() const { return m_hasAssigned ? m_assignedRun : 0; }
int ZR_VarParamProp::AssignedStatement() const { return m_hasAssigned ? m_assigned.Statement() : 0; }

const ZR_Value& ZR_VarParamProp::EffectiveValue() const {
    if (m_hasUser) return m_user;
    if (m_hasAssigned) return m_assigned;
    return m_default;
}

const ZR_Value& ZR_VarParamProp::DefaultValue() const { return m_default; }
void ZR_VarParamProp::SetDefaultValue(const ZR_Value& value) { m_default = value; }

void ZR_VarParamProp::AddDependent(ZR_Containable* dependent) {
    if (std::find(m_dependents.begin(), m_dependents.end(), dependent) == m_dependents.end())
        m_dependents.push_back(dependent);
}

void ZR_VarParamProp::RemoveDependent(ZR_Containable* dependent) {
    m_dependents.erase(std::remove(m_dependents.begin(), m_dependents.end(), dependent), m_dependents.end());
}

int ZR_VarParamProp::Integer() const { return EffectiveValue().IntValue(); }
double ZR_VarParamProp::Real() const { return EffectiveValue().RealValue(); }
const char* ZR_VarParamProp::String() const { return EffectiveValue().TextValue(); }

int ZR_VarParamProp::DependentCount() const { return static_cast<int>(m_dependents.size()); }
const std::string& ZR_VarParamProp::LastError() const { return m_error; }

// --- ZR_VarParam -------------------------------------------------------------

ZR_VarParam::ZR_VarParam() : m_column(-1), m_solver(false) {}
ZR_VarParam::ZR_VarParam(const ZR_VarParam& other)
    : ZR_VarParamProp(other), m_column(-1), m_solver(other.m_solver) {}
ZR_VarParam& ZR_VarParam::operator=(const ZR_VarParam& other) {
    ZR_VarParamProp::operator=(other);
    m_solver = other.m_solver;
    return *this;
}
ZR_VarParam::~ZR_VarParam() = default;
double ZR_VarParam::TermValue() const { return EffectiveValue().RealValue(); }
double ZR_VarParam::Real() const { return TermValue(); }
bool ZR_VarParam::IsSolverVariable() const { return m_solver; }
void ZR_VarParam::SetSolverVariable(bool solver) { m_solver = solver; }

int ZR_VarParam::ColumnIndex() const {
    if (m_column < 0) m_column = Host::Get().NextColumn();
    return m_column;
}

// --- ZR_Container ------------------------------------------------------------

ZR_Container::ZR_Container() = default;
ZR_Container::ZR_Container(const ZR_Container& other) : ZR_Type(other) {}
ZR_Container& ZR_Container::operator=(const ZR_Container& other) {
    ZR_Type::operator=(other);
    return *this;
}

ZR_Container::~ZR_Container() {
    for (Property& p : m_properties)
        if (p.member && p.member->m_registeredIn == this) p.member->m_registeredIn = nullptr;
}

ZR_COMPONENTLISTNAME* ZR_Container::ComponentList() { return nullptr; }

void ZR_Container::SetDims() {
    Host::Get().baseCalls.push_back({BaseCall::SetDims, this, 0, 0});
}

const char* ZR_Container::ZR_DefaultDESCRIPTION() const { return ""; }
bool ZR_Container::ContainerDerivesFrom(const char*) { return false; }

long ZR_Container::ExecuteAssignments(int level, int arg) {
    Host& host = Host::Get();
    host.baseCalls.push_back({BaseCall::ExecuteAssignments, this, level, arg});
    return host.config.executeAssignmentsStatus;
}

void ZR_Container::InitialiseInternalIndexSet(ZR_VarParamProp& set, const ZR_Value& value, int pass) {
    long status = set.SetInternalValue(value);
    Host& host = Host::Get();
    if (host.recordAssignments) host.assignments.push_back({&set, set.FullName(), value, pass, status});
}

int ZR_Container::PropertyCount() const { return static_cast<int>(m_properties.size()); }
const ZR_Container::Property& ZR_Container::PropertyAt(int index) const { return m_properties.at(index); }

const ZR_Container::Property* ZR_Container::FindProperty(const char* name) const {
    for (const Property& p : m_properties)
        if (SUValue::CompareCI(p.name.c_str(), name) == 0) return &p;
    return nullptr;
}

void ZR_Container::AddRegisteredProperty(ZR_Containable* member, const Property& property) {
    if (member->m_registeredIn && member->m_registeredIn != this) member->m_registeredIn->ForgetProperty(member);
    if (member->m_registeredIn == this) ForgetProperty(member);
    member->m_registeredIn = this;
    m_properties.push_back(property);
    Host::Get().registrations.push_back({this, member, property.name, property.description,
                                         property.hasDescription, property.direction, property.flag,
                                         property.via});
}

void ZR_Container::ForgetProperty(const ZR_Containable* member) {
    // Members usually go in reverse order of registration: search from the back.
    for (auto it = m_properties.rbegin(); it != m_properties.rend(); ++it) {
        if (it->member == member) {
            m_properties.erase(std::next(it).base());
            break;
        }
    }
    if (member->m_registeredIn == this) const_cast<ZR_Containable*>(member)->m_registeredIn = nullptr;
}

// --- ZR_ModelType ------------------------------------------------------------

int ZR_ModelType::m_stLastGroup = 0;

ZR_ModelType::ZR_ModelType() = default;
ZR_ModelType::ZR_ModelType(const ZR_ModelType& other) : ZR_Container(other) {}
ZR_ModelType& ZR_ModelType::operator=(const ZR_ModelType& other) {
    ZR_Container::operator=(other);
    return *this;
}
ZR_ModelType::~ZR_ModelType() = default;

int ZR_ModelType::JacPattern(int*& rows, int*& cols, ZR_EquationType** types) {
    QTV_TRACED_CALL(ZR_ModelType::JacPattern(rows, cols, types), qtvhost::HostCall::JacPattern, this, 0,
                    static_cast<const void*>(types));
    Host& host = Host::Get();
    host.baseCalls.push_back({BaseCall::JacPattern, this, 0, 0});
    return host.config.jacPatternResult;
}

int ZR_ModelType::Jacobian(double*, int, int) { return 0; }
int ZR_ModelType::Residuals(double*, int, int) { return Host::Get().config.residualsResult; }

int ZR_ModelType::SetUpEquations() {
    QTV_TRACED_CALL(ZR_ModelType::SetUpEquations(), qtvhost::HostCall::SetUpEquations, this);
    Host& host = Host::Get();
    host.baseCalls.push_back({BaseCall::SetUpEquations, this, 0, 0});
    return host.config.setUpEquationsResult;
}

int ZR_ModelType::SetLocalEqnCount(int count) {
    QTV_TRACED_CALL(ZR_ModelType::SetLocalEqnCount(count), qtvhost::HostCall::LocalEqnCount, this, count);
    Host& host = Host::Get();
    host.baseCalls.push_back({BaseCall::SetLocalEqnCount, this, count, 0});
    return count + host.config.localEqnCountOffset;
}

void ZR_ModelType::AddEquation(ZR_EquationType* record, int& count, int group) {
    Host& host = Host::Get();
    if (record == nullptr) {
        host.Error("AddEquation without an equation record");
        return;
    }
    host.AdoptEquation(record);
    const auto* procedural = dynamic_cast<const ZR_ProcedureEquationType*>(record);
    host.OpenExpression(procedural ? procedural->FullName() : "", count, group);
    ++count;
}

// --- expression builder and the other parts ----------------------------------

ZR_ModelExtensions::ZR_ModelExtensions() = default;
ZR_ModelExtensions::ZR_ModelExtensions(const ZR_ModelExtensions&) = default;
ZR_ModelExtensions& ZR_ModelExtensions::operator=(const ZR_ModelExtensions&) = default;
ZR_ModelExtensions::~ZR_ModelExtensions() = default;

void ZR_ModelExtensions::ResetExpressions() {
    QTV_TRACED_CALL(ZR_ModelExtensions::ResetExpressions(), qtvhost::HostCall::ResetExpressions, this);
    Host::Get().baseCalls.push_back({BaseCall::ResetExpressions, this, 0, 0});
}
void ZR_ModelExtensions::AddProcExpression(ZR_ProcedureType* procedure, int number, int equation, const char*) {
    Host::Get().RecordProcExpression(procedure, number, equation);
}

ZR_ModelDiscontinuity::ZR_ModelDiscontinuity() = default;
ZR_ModelDiscontinuity::~ZR_ModelDiscontinuity() = default;
int ZR_ModelDiscontinuity::DiscontinuityCount() { return 0; }

ZR_ModelExtensions2::ZR_ModelExtensions2() = default;
ZR_ModelExtensions2::~ZR_ModelExtensions2() = default;
int ZR_ModelExtensions2::ExtensionLevel() { return 2; }

#define QTVEXP_COPYABLE(Class, ...)                                   \
    Class::Class() = default;                                         \
    Class::Class(const Class& other) : __VA_ARGS__ {}                 \
    Class& Class::operator=(const Class&) = default;                  \
    Class::~Class() = default;

QTVEXP_COPYABLE(ZR_ModelTypeEx, ZR_ModelType(other), ZR_ModelExtensions(other))
QTVEXP_COPYABLE(ZR_ModelTypeEx2, ZR_ModelTypeEx(other), ZR_ModelDiscontinuity(), ZR_ModelExtensions2())
QTVEXP_COPYABLE(ZR_PortType, ZR_ModelType(other))
QTVEXP_COPYABLE(ZR_PortTypeEx, ZR_PortType(other), ZR_ModelExtensions(other))
QTVEXP_COPYABLE(ZR_StructureType, ZR_ModelType(other))
QTVEXP_COPYABLE(ZR_StructureTypeEx, ZR_StructureType(other), ZR_ModelExtensions(other), ZR_ModelDiscontinuity())

const char* ZR_ModelTypeEx::ZR_KindName() const { return "model"; }
const char* ZR_PortType::ZR_KindName() const { return "port"; }
const char* ZR_StructureType::ZR_KindName() const { return "structure"; }
ZR_VarParamProp* ZR_PortType::IsConnected() { return nullptr; }
void ZR_PortType::DumpStructure() { Host::Get().baseCalls.push_back({BaseCall::DumpStructure, this, 0, 0}); }
int ZR_PortType::PortCount(bool) const { return 1; }

ZR_Type* ZR_PortType::GetPort(int& index, bool) {
    if (index > INT_MIN) --index;  // nothing lies below the lowest index
    return index < 0 ? this : nullptr;
}

ZR_PortType* ZR_PortType::CreateConnectionPort(const char*, unsigned) { return nullptr; }
ZR_PortType* ZR_PortType::FindConnectionPort(const char*) { return nullptr; }
bool ZR_PortType::IsAMultiport() const { return false; }
int ZR_PortType::HostPortType() const { return GetHostPortType(); }
void ZR_ModelTypeEx::AddProcCall(ZR_ProcedureType* procedure, int group) {
    Host::Get().procedureCalls.push_back({this, procedure, group});
}
void ZR_StructureTypeEx::AddProcCall(ZR_ProcedureType* procedure, int group) {
    Host::Get().procedureCalls.push_back({this, procedure, group});
}

ZR_EquationType::~ZR_EquationType() = default;
void* ZR_EquationType::operator new(std::size_t bytes) noexcept { return MyAllocate(bytes); }
void ZR_EquationType::operator delete(void* block) noexcept { MyFree(block); }
