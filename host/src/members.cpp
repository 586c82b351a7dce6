#include "qtvexp/members.h"
#include "trace_hook.h"

#include <cmath>

#include "qtvexp/recorder.h"

// --- ZR_ParameterBase --------------------------------------------------------

ZR_ParameterBase::ZR_ParameterBase() : m_hasLower(false), m_hasUpper(false), m_initialisations(0) {}
ZR_ParameterBase::ZR_ParameterBase(const ZR_ParameterBase& other) = default;
ZR_ParameterBase& ZR_ParameterBase::operator=(const ZR_ParameterBase& other) {
    ZR_VarParam::operator=(other);
    return *this;
}
ZR_ParameterBase::~ZR_ParameterBase() = default;

const ZR_Value* ZR_ParameterBase::ZR_DefaultVALUE() const { return nullptr; }
const ZR_Value* ZR_ParameterBase::ZR_DefaultLOWER() const { return nullptr; }
const ZR_Value* ZR_ParameterBase::ZR_DefaultUPPER() const { return nullptr; }
bool ZR_ParameterBase::SystemAttributesInitialised() const { return m_initialisations > 0; }
int ZR_ParameterBase::SystemAttributesInitialisations() const { return m_initialisations; }
const ZR_Value* ZR_ParameterBase::Lower() const { return m_hasLower ? &m_lower : nullptr; }
const ZR_Value* ZR_ParameterBase::Upper() const { return m_hasUpper ? &m_upper : nullptr; }
const char* ZR_ParameterBase::ZR_KindName() const { return "parameter"; }

void ZR_ParameterBase::InitializeCommonAttributes() {
    ++m_initialisations;
    if (const ZR_Value* v = ZR_DefaultVALUE()) SetDefaultValue(*v);
    m_hasLower = false;
    m_hasUpper = false;
    if (const ZR_Value* v = ZR_DefaultLOWER()) {
        m_lower = *v;
        m_hasLower = true;
    }
    if (const ZR_Value* v = ZR_DefaultUPPER()) {
        m_upper = *v;
        m_hasUpper = true;
    }
}

std::string ZR_ParameterBase::Accept(ZR_Value& value) const {
    const ZR_Value::Kind want = ValueKind();
    const ZR_Value::Kind got = value.GetKind();
    if (want == ZR_Value::Real) {
        if (got != ZR_Value::Real && got != ZR_Value::Integer) return "a real value was expected";
        value = ZR_Value(value.RealValue(), value.Arg(), value.Level(), value.Statement());
    } else if (want == ZR_Value::Integer) {
        if (got == ZR_Value::Real) {
            double r = value.RealValue();
            if (!std::isfinite(r) || r != std::floor(r) || r > 2147483647.0 || r < -2147483648.0)
                return "an integer value was expected, not " + value.ToText();
        } else if (got != ZR_Value::Integer) {
            return "an integer value was expected";
        }
        value = ZR_Value(value.IntValue(), value.Arg(), value.Level(), value.Statement());
    } else if (want == ZR_Value::Text) {
        if (got != ZR_Value::Text) return "a text value was expected";
    }
    if (want == ZR_Value::Real || want == ZR_Value::Integer) {
        const double x = value.RealValue();
        if (m_hasLower && x < m_lower.RealValue())
            return value.ToText() + " is below the lower bound " + m_lower.ToText();
        if (m_hasUpper && x > m_upper.RealValue())
            return value.ToText() + " is above the upper bound " + m_upper.ToText();
    }
    return "";
}

// --- ZR_REALPARAMETER --------------------------------------------------------

ZR_REALPARAMETER::ZR_REALPARAMETER(bool construct) : m_pqCol(0), m_pqRow(0) {
    SetDefaultValue(ZR_Value(0.0, 0));
    if (construct) InitializeSystemAttributes();
}
ZR_REALPARAMETER::ZR_REALPARAMETER(const ZR_REALPARAMETER& other) = default;
ZR_REALPARAMETER& ZR_REALPARAMETER::operator=(const ZR_REALPARAMETER& other) {
    ZR_ParameterBase::operator=(other);
    return *this;
}
ZR_REALPARAMETER::~ZR_REALPARAMETER() = default;

const char* ZR_REALPARAMETER::ZR_ContainerId() { return "RealParameter"; }

void ZR_REALPARAMETER::InitializeSystemAttributes() {
    InitializeCommonAttributes();
    m_pqCol = ZR_PQCol();
    m_pqRow = ZR_PQRow();
    const ZR_Value* q = ZR_DefaultPHYSICALQUANTITY();
    m_quantity = q ? q->TextValue() : "";
    const ZR_Value* u = ZR_DefaultBASEUOMNAME();
    m_unit = u ? u->TextValue() : "";
}

int ZR_REALPARAMETER::ZR_PQCol() const { return 0; }
int ZR_REALPARAMETER::ZR_PQRow() const { return 0; }
const ZR_Value* ZR_REALPARAMETER::ZR_DefaultPHYSICALQUANTITY() const { return nullptr; }
const ZR_Value* ZR_REALPARAMETER::ZR_DefaultBASEUOMNAME() const { return nullptr; }
double ZR_REALPARAMETER::v() {
    QTV_TRACED_CALL(ZR_REALPARAMETER::v(), qtvhost::HostCall::RealV, this);
    return EffectiveValue().RealValue();
}
double ZR_REALPARAMETER::fv() const {
    QTV_TRACED_CALL(ZR_REALPARAMETER::fv(), qtvhost::HostCall::RealFv, this);
    return EffectiveValue().RealValue();
}
double ZR_REALPARAMETER::TermValue() const { return fv(); }
const std::string& ZR_REALPARAMETER::PhysicalQuantity() const { return m_quantity; }
const std::string& ZR_REALPARAMETER::BaseUnit() const { return m_unit; }
int ZR_REALPARAMETER::PQCol() const { return m_pqCol; }
int ZR_REALPARAMETER::PQRow() const { return m_pqRow; }
ZR_Value::Kind ZR_REALPARAMETER::ValueKind() const { return ZR_Value::Real; }

// --- ZR_INTEGERPARAMETER -----------------------------------------------------

ZR_INTEGERPARAMETER::ZR_INTEGERPARAMETER(bool construct) {
    SetDefaultValue(ZR_Value(0, 0));
    if (construct) InitializeSystemAttributes();
}
ZR_INTEGERPARAMETER::ZR_INTEGERPARAMETER(const ZR_INTEGERPARAMETER& other) = default;
ZR_INTEGERPARAMETER& ZR_INTEGERPARAMETER::operator=(const ZR_INTEGERPARAMETER& other) {
    ZR_ParameterBase::operator=(other);
    return *this;
}
ZR_INTEGERPARAMETER::~ZR_INTEGERPARAMETER() = default;
const char* ZR_INTEGERPARAMETER::ZR_ContainerId() { return "IntegerParameter"; }
void ZR_INTEGERPARAMETER::InitializeSystemAttributes() { InitializeCommonAttributes(); }
int ZR_INTEGERPARAMETER::v() {
    QTV_TRACED_CALL(ZR_INTEGERPARAMETER::v(), qtvhost::HostCall::IntV, this);
    return EffectiveValue().IntValue();
}
int ZR_INTEGERPARAMETER::fv() const {
    QTV_TRACED_CALL(ZR_INTEGERPARAMETER::fv(), qtvhost::HostCall::IntFv, this);
    return EffectiveValue().IntValue();
}
double ZR_INTEGERPARAMETER::TermValue() const { return fv(); }
ZR_Value::Kind ZR_INTEGERPARAMETER::ValueKind() const { return ZR_Value::Integer; }

// --- ZR_STRINGPARAMETER ------------------------------------------------------

ZR_STRINGPARAMETER::ZR_STRINGPARAMETER(bool construct) : m_hasValid(false) {
    SetDefaultValue(ZR_Value("", 0));
    if (construct) InitializeSystemAttributes();
}
ZR_STRINGPARAMETER::ZR_STRINGPARAMETER(const ZR_STRINGPARAMETER& other) = default;
ZR_STRINGPARAMETER& ZR_STRINGPARAMETER::operator=(const ZR_STRINGPARAMETER& other) {
    ZR_ParameterBase::operator=(other);
    m_valid = other.m_valid;
    m_hasValid = other.m_hasValid;
    return *this;
}
ZR_STRINGPARAMETER::~ZR_STRINGPARAMETER() = default;
const char* ZR_STRINGPARAMETER::ZR_ContainerId() { return "StringParameter"; }

void ZR_STRINGPARAMETER::InitializeSystemAttributes() {
    InitializeCommonAttributes();
    m_hasValid = false;
    if (const ZR_Value* valid = ZR_DefaultVALID()) {
        m_valid = ZR_SetValue(valid->SetValue());
        m_hasValid = true;
    }
}

const ZR_Value* ZR_STRINGPARAMETER::ZR_DefaultTAG() const { return nullptr; }
const ZR_Value* ZR_STRINGPARAMETER::ZR_DefaultVALID() const { return nullptr; }
const ZR_SetValue* ZR_STRINGPARAMETER::ZR_VALIDValue() const { return m_hasValid ? &m_valid : nullptr; }
ZR_STRINGPARAMETER::operator const char*() const {
    QTV_TRACED_CALL(ZR_STRINGPARAMETER::operator const char*(), qtvhost::HostCall::Text, this);
    return EffectiveValue().TextValue();
}
ZR_Value::Kind ZR_STRINGPARAMETER::ValueKind() const { return ZR_Value::Text; }

std::string ZR_STRINGPARAMETER::Accept(ZR_Value& value) const {
    std::string why = ZR_ParameterBase::Accept(value);
    if (!why.empty()) return why;
    if (!m_hasValid) return "";
    // Users type names in any letter case; the text is kept as typed, and model
    // code compares it without regard to case.
    for (int i = 0; i < m_valid.SetSize(); ++i)
        if (SUValue::CompareCI(m_valid.String(i), value.TextValue()) == 0) return "";
    return value.ToText() + " is not one of the valid values " + m_valid.ToText();
}

// --- ZR_FalseLOGICALPARAMETER ------------------------------------------------

ZR_FalseLOGICALPARAMETER::ZR_FalseLOGICALPARAMETER(bool construct) {
    SetDefaultValue(ZR_Value(0, 0));
    if (construct) InitializeSystemAttributes();
}
ZR_FalseLOGICALPARAMETER::ZR_FalseLOGICALPARAMETER(const ZR_FalseLOGICALPARAMETER& other) = default;
ZR_FalseLOGICALPARAMETER& ZR_FalseLOGICALPARAMETER::operator=(const ZR_FalseLOGICALPARAMETER& other) {
    ZR_ParameterBase::operator=(other);
    return *this;
}
ZR_FalseLOGICALPARAMETER::~ZR_FalseLOGICALPARAMETER() = default;
void ZR_FalseLOGICALPARAMETER::InitializeSystemAttributes() { InitializeCommonAttributes(); }
bool ZR_FalseLOGICALPARAMETER::v() { return EffectiveValue().IntValue() != 0; }
bool ZR_FalseLOGICALPARAMETER::fv() const { return EffectiveValue().IntValue() != 0; }
ZR_Value::Kind ZR_FalseLOGICALPARAMETER::ValueKind() const { return ZR_Value::Integer; }

// --- variables ---------------------------------------------------------------

ZR_REALVARIABLE::ZR_REALVARIABLE(bool) : m_value(0.0) { SetSolverVariable(true); }
ZR_REALVARIABLE::ZR_REALVARIABLE(const ZR_REALVARIABLE& other) = default;
ZR_REALVARIABLE& ZR_REALVARIABLE::operator=(const ZR_REALVARIABLE& other) {
    ZR_VarParam::operator=(other);
    m_value = other.m_value;
    return *this;
}
ZR_REALVARIABLE::~ZR_REALVARIABLE() = default;
const char* ZR_REALVARIABLE::ZR_ContainerId() { return "RealVariable"; }
double ZR_REALVARIABLE::v() { return m_value; }
double ZR_REALVARIABLE::fv() const { return m_value; }
void ZR_REALVARIABLE::SetValue(double value) { m_value = value; }
double ZR_REALVARIABLE::TermValue() const { return m_value; }
const char* ZR_REALVARIABLE::ZR_KindName() const { return "variable"; }

ZR_PARTIALDERIVATIVE::ZR_PARTIALDERIVATIVE(bool construct) : ZR_REALVARIABLE(construct) {}
ZR_PARTIALDERIVATIVE::ZR_PARTIALDERIVATIVE(const ZR_PARTIALDERIVATIVE& other) = default;
ZR_PARTIALDERIVATIVE& ZR_PARTIALDERIVATIVE::operator=(const ZR_PARTIALDERIVATIVE& other) {
    ZR_REALVARIABLE::operator=(other);
    return *this;
}
ZR_PARTIALDERIVATIVE::~ZR_PARTIALDERIVATIVE() = default;
const char* ZR_PARTIALDERIVATIVE::ZR_ContainerId() { return "PartialDerivative"; }

// --- sets --------------------------------------------------------------------

namespace {
ZR_SetValue EmptySetOf(int memberType) {
    ZR_SetValue s;
    s.ResetType(memberType);
    return s;
}
}  // namespace

ZR_Set::ZR_Set(int memberType) : m_memberType(memberType) {
    SetDefaultValue(ZR_Value(EmptySetOf(memberType), 0));
}
ZR_Set::ZR_Set(const ZR_Set& other) = default;
ZR_Set& ZR_Set::operator=(const ZR_Set& other) {
    ZR_VarParamProp::operator=(other);
    return *this;
}
ZR_Set::~ZR_Set() = default;
const ZR_SetValue& ZR_Set::v() {
    QTV_TRACED_CALL(ZR_Set::v(), qtvhost::HostCall::SetV, this);
    return EffectiveValue().SetValue();
}
const ZR_SetValue& ZR_Set::fv() const {
    QTV_TRACED_CALL(ZR_Set::fv(), qtvhost::HostCall::SetFv, this);
    return EffectiveValue().SetValue();
}
const char* ZR_Set::ZR_KindName() const { return "set"; }

// A single text or integer stands for the set that holds just it.
std::string ZR_Set::Accept(ZR_Value& value) const {
    ZR_SetValue s = EmptySetOf(m_memberType);
    switch (value.GetKind()) {
    case ZR_Value::Set:
        if (value.SetValue().Type() != m_memberType && value.SetValue().SetSize() > 0)
            return "a set of " + std::string(m_memberType == ZR_SET_STRING ? "texts" : "integers") +
                   " was expected";
        s += value.SetValue();
        break;
    case ZR_Value::Text:
        if (m_memberType != ZR_SET_STRING) return "an integer set cannot hold a text";
        s += value.TextValue();
        break;
    case ZR_Value::Integer:
        if (m_memberType != ZR_SET_INTEGER) return "a text set cannot hold an integer";
        s += value.IntValue();
        break;
    default:
        return "a set value was expected";
    }
    value = ZR_Value(s, value.Arg(), value.Level(), value.Statement());
    return "";
}

ZR_INTEGERSET::ZR_INTEGERSET() : ZR_Set(ZR_SET_INTEGER) {}
ZR_INTEGERSET::ZR_INTEGERSET(const ZR_INTEGERSET& other) = default;
ZR_INTEGERSET& ZR_INTEGERSET::operator=(const ZR_INTEGERSET& other) {
    ZR_Set::operator=(other);
    return *this;
}
ZR_INTEGERSET::~ZR_INTEGERSET() = default;

ZR_STRINGSET::ZR_STRINGSET(bool) : ZR_Set(ZR_SET_STRING) {}
ZR_STRINGSET::ZR_STRINGSET(const ZR_STRINGSET& other) = default;
ZR_STRINGSET& ZR_STRINGSET::operator=(const ZR_STRINGSET& other) {
    ZR_Set::operator=(other);
    return *this;
}
ZR_STRINGSET::~ZR_STRINGSET() = default;

// --- ZR_COMPONENTLISTNAME ----------------------------------------------------

ZR_COMPONENTLISTNAME::ZR_COMPONENTLISTNAME() : m_open(0) {}
ZR_COMPONENTLISTNAME::ZR_COMPONENTLISTNAME(const ZR_COMPONENTLISTNAME& other)
    : ZR_VarParamProp(other), m_open(0) {}
ZR_COMPONENTLISTNAME& ZR_COMPONENTLISTNAME::operator=(const ZR_COMPONENTLISTNAME& other) {
    ZR_VarParamProp::operator=(other);
    return *this;
}
ZR_COMPONENTLISTNAME::~ZR_COMPONENTLISTNAME() = default;
void ZR_COMPONENTLISTNAME::BeginPropertiesCall() { ++m_open; }
void ZR_COMPONENTLISTNAME::EndPropertiesCall() {
    if (m_open == 0) {
        qtvhost::Host::Get().Error("EndPropertiesCall without BeginPropertiesCall");
        return;
    }
    --m_open;
}
int ZR_COMPONENTLISTNAME::OpenPropertiesCalls() const { return m_open; }
const char* ZR_COMPONENTLISTNAME::ZR_KindName() const { return "component list"; }
