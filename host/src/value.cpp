#include "qtvexp/value.h"

#include <cmath>
#include <climits>
#include <cstdio>
#include <cstdlib>

std::string ZR_RealText(double value) {
    char buf[40];
    for (int precision = 15; precision <= 17; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, value);
        if (std::strtod(buf, nullptr) == value || std::isnan(value)) break;
    }
    return buf;
}

ZR_Value::ZR_Value()
    : m_kind(Empty), m_int(0), m_real(0), m_arg(0), m_level(0), m_statement(0), m_flags(0) {}

ZR_Value::ZR_Value(int value, int arg, int level, int statement) : ZR_Value() {
    m_kind = Integer;
    m_int = value;
    m_arg = arg;
    m_level = level;
    m_statement = statement;
}

ZR_Value::ZR_Value(double value, int arg, int level, int statement) : ZR_Value() {
    m_kind = Real;
    m_real = value;
    m_arg = arg;
    m_level = level;
    m_statement = statement;
}

ZR_Value::ZR_Value(const char* value, int arg, int level, int statement) : ZR_Value() {
    m_kind = Text;
    m_text = value ? value : "";
    m_arg = arg;
    m_level = level;
    m_statement = statement;
}

ZR_Value::ZR_Value(const SUValue& value, int arg, int level, int statement) : ZR_Value() {
    m_kind = Set;
    m_set = value;
    m_arg = arg;
    m_level = level;
    m_statement = statement;
}

ZR_Value::ZR_Value(int value, int flags) : ZR_Value() {
    m_kind = Integer;
    m_int = value;
    m_flags = flags;
}

ZR_Value::ZR_Value(double value, int flags) : ZR_Value() {
    m_kind = Real;
    m_real = value;
    m_flags = flags;
}

ZR_Value::ZR_Value(const char* value, int flags) : ZR_Value() {
    m_kind = Text;
    m_text = value ? value : "";
    m_flags = flags;
}

ZR_Value::ZR_Value(const SUValue& value, int flags) : ZR_Value() {
    m_kind = Set;
    m_set = value;
    m_flags = flags;
}

ZR_Value::ZR_Value(const ZR_Value& other) = default;
ZR_Value& ZR_Value::operator=(const ZR_Value& other) = default;
ZR_Value::~ZR_Value() = default;

ZR_Value::Kind ZR_Value::GetKind() const { return m_kind; }

int ZR_Value::IntValue() const {
    if (m_kind == Integer) return m_int;
    if (m_kind == Real) {
        // Saturate rather than overflow: a real out of range or NaN must not
        // become an arbitrary integer.
        if (std::isnan(m_real)) return 0;
        if (m_real >= 2147483647.0) return INT_MAX;
        if (m_real <= -2147483648.0) return INT_MIN;
        return static_cast<int>(m_real);
    }
    return 0;
}

double ZR_Value::RealValue() const {
    if (m_kind == Real) return m_real;
    if (m_kind == Integer) return m_int;
    return 0.0;
}

const char* ZR_Value::TextValue() const { return m_kind == Text ? m_text.c_str() : ""; }
const ZR_SetValue& ZR_Value::SetValue() const { return m_set; }
int ZR_Value::Arg() const { return m_arg; }
int ZR_Value::Level() const { return m_level; }
int ZR_Value::Statement() const { return m_statement; }
int ZR_Value::Flags() const { return m_flags; }

std::string ZR_Value::ToText() const {
    switch (m_kind) {
    case Integer: return std::to_string(m_int);
    case Real: return ZR_RealText(m_real);
    case Text: return "\"" + m_text + "\"";
    case Set: return m_set.ToText();
    case Empty: break;
    }
    return "(none)";
}

bool ZR_Value::SameValue(const ZR_Value& other) const {
    if (m_kind != other.m_kind) return false;
    switch (m_kind) {
    case Integer: return m_int == other.m_int;
    case Real: return m_real == other.m_real || (std::isnan(m_real) && std::isnan(other.m_real));
    case Text: return m_text == other.m_text;
    case Set: return m_set == other.m_set;
    case Empty: return true;
    }
    return false;
}
