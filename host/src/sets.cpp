#include "qtvexp/sets.h"
#include "qtvexp/recorder.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>

SUValue::SUValue() : m_type(ZR_SET_INTEGER) {}
SUValue::SUValue(const SUValue& other) = default;
SUValue& SUValue::operator=(const SUValue& other) = default;
SUValue::~SUValue() = default;

void SUValue::ResetType(int code) {
    m_type = code == ZR_SET_STRING ? ZR_SET_STRING : ZR_SET_INTEGER;
    m_ints.clear();
    m_strs.clear();
}

void SUValue::Clear(int) {
    m_ints.clear();
    m_strs.clear();
}

int SUValue::Type() const { return m_type; }

int SUValue::SetSize() const {
    return static_cast<int>(m_type == ZR_SET_STRING ? m_strs.size() : m_ints.size());
}

int SUValue::SetContains(int value, int& pos) const {
    if (m_type != ZR_SET_INTEGER) {
        pos = 0;
        return 0;
    }
    auto it = std::lower_bound(m_ints.begin(), m_ints.end(), value);
    pos = static_cast<int>(it - m_ints.begin());
    return it != m_ints.end() && *it == value;
}

int SUValue::SetContains(const char* value, int& pos) const {
    if (m_type != ZR_SET_STRING || value == nullptr) {
        pos = 0;
        return 0;
    }
    auto it = std::lower_bound(m_strs.begin(), m_strs.end(), value,
                               [](const std::string& a, const char* b) { return std::strcmp(a.c_str(), b) < 0; });
    pos = static_cast<int>(it - m_strs.begin());
    return it != m_strs.end() && *it == value;
}

// An insertion at a position that would break the order is refused: the order is
// what makes positions meaningful to the arrays that index by them.
void SUValue::SetAddAtOffset(int value, int pos) {
    if (m_type != ZR_SET_INTEGER || pos < 0 || pos > SetSize()) return;
    if (pos > 0 && m_ints[pos - 1] >= value) return;
    if (pos < SetSize() && m_ints[pos] <= value) return;
    m_ints.insert(m_ints.begin() + pos, value);
}

void SUValue::SetAddAtOffset(const char* value, int pos) {
    if (m_type != ZR_SET_STRING || value == nullptr || pos < 0 || pos > SetSize()) return;
    if (pos > 0 && std::strcmp(m_strs[pos - 1].c_str(), value) >= 0) return;
    if (pos < SetSize() && std::strcmp(m_strs[pos].c_str(), value) <= 0) return;
    m_strs.insert(m_strs.begin() + pos, value);
}

SUValue& SUValue::operator+=(int value) {
    int pos;
    if (!SetContains(value, pos)) SetAddAtOffset(value, pos);
    return *this;
}

SUValue& SUValue::operator+=(const char* value) {
    int pos;
    if (!SetContains(value, pos)) SetAddAtOffset(value, pos);
    return *this;
}

SUValue& SUValue::operator+=(const SUValue& other) {
    if (&other == this) return *this;
    if (m_type == ZR_SET_INTEGER && other.m_type == ZR_SET_INTEGER) {
        std::vector<int> merged;
        merged.reserve(m_ints.size() + other.m_ints.size());
        std::set_union(m_ints.begin(), m_ints.end(), other.m_ints.begin(), other.m_ints.end(),
                       std::back_inserter(merged));
        m_ints.swap(merged);
    } else if (m_type == ZR_SET_STRING && other.m_type == ZR_SET_STRING) {
        std::vector<std::string> merged;
        std::set_union(m_strs.begin(), m_strs.end(), other.m_strs.begin(), other.m_strs.end(),
                       std::back_inserter(merged));
        m_strs.swap(merged);
    }
    return *this;
}

SUValue& SUValue::operator*=(const SUValue& other) {
    if (&other == this) return *this;
    if (m_type != other.m_type) {
        m_ints.clear();
        m_strs.clear();
    } else if (m_type == ZR_SET_INTEGER) {
        std::vector<int> common;
        std::set_intersection(m_ints.begin(), m_ints.end(), other.m_ints.begin(), other.m_ints.end(),
                              std::back_inserter(common));
        m_ints.swap(common);
    } else {
        std::vector<std::string> common;
        std::set_intersection(m_strs.begin(), m_strs.end(), other.m_strs.begin(), other.m_strs.end(),
                              std::back_inserter(common));
        m_strs.swap(common);
    }
    return *this;
}

int SUValue::operator>=(const char* text) const {
    int pos;
    return SetContains(text, pos);
}

int SUValue::operator>=(int value) const {
    int pos;
    return SetContains(value, pos);
}

bool SUValue::operator==(const SUValue& other) const {
    return m_type == other.m_type && m_ints == other.m_ints && m_strs == other.m_strs;
}

int SUValue::CompareCI(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return a == b ? 0 : (a == nullptr ? -1 : 1);
    for (;; ++a, ++b) {
        int ca = std::tolower(static_cast<unsigned char>(*a));
        int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

int SUValue::IntegerAt(int pos) const {
    return (m_type == ZR_SET_INTEGER && pos >= 0 && pos < SetSize()) ? m_ints[pos] : 0;
}

const char* SUValue::StringAt(int pos) const {
    return (m_type == ZR_SET_STRING && pos >= 0 && pos < SetSize()) ? m_strs[pos].c_str() : "";
}

std::string SUValue::ToText() const {
    std::string out = "{";
    for (int i = 0; i < SetSize(); ++i) {
        if (i) out += ", ";
        if (m_type == ZR_SET_INTEGER) {
            out += std::to_string(m_ints[i]);
        } else {
            out += '"';
            out += m_strs[i];
            out += '"';
        }
    }
    return out + "}";
}

ZR_SetValue::ZR_SetValue() = default;
ZR_SetValue::ZR_SetValue(unsigned short typeCode) { ResetType(typeCode); }
ZR_SetValue::ZR_SetValue(const SUValue& other) : SUValue(other) {}
ZR_SetValue::~ZR_SetValue() = default;
int ZR_SetValue::Integer(int pos) const { return IntegerAt(pos); }
const char* ZR_SetValue::String(int pos) const { return StringAt(pos); }

ZR_IntSetValue::ZR_IntSetValue(int lo, int hi) {
    if (hi == INT_MIN) {
        m_ints.push_back(lo);
        return;
    }
    if (hi < lo) return;
    const long long count = static_cast<long long>(hi) - lo + 1;
    if (count > qtvhost::Host::Get().config.maxRangeMembers) {
        qtvhost::Host::Get().Error("integer range [" + std::to_string(lo) + " : " + std::to_string(hi) +
                                   "] is larger than the host can hold; taken as empty");
        return;
    }
    m_ints.reserve(static_cast<std::size_t>(static_cast<long long>(hi) - lo + 1));
    for (long long i = lo; i <= hi; ++i) m_ints.push_back(static_cast<int>(i));
}

ZR_IntSetValue::ZR_IntSetValue(const char*) {}
ZR_IntSetValue::ZR_IntSetValue(const ZR_SetValue& other) : ZR_SetValue(other) {}
ZR_IntSetValue::~ZR_IntSetValue() = default;

ZR_StrSetValue::ZR_StrSetValue(const char* text) {
    ResetType(ZR_SET_STRING);
    if (text == nullptr) return;
    std::string member;
    for (const char* p = text; *p; ++p) {
        if (*p == '"') {
            *this += member.c_str();
            member.clear();
        } else {
            member += *p;
        }
    }
    // A last member without its closing quote still counts.
    if (!member.empty()) *this += member.c_str();
}

ZR_StrSetValue::ZR_StrSetValue(const ZR_SetValue& other) {
    ResetType(ZR_SET_STRING);
    if (other.Type() == ZR_SET_STRING) *this += other;
}

ZR_StrSetValue::~ZR_StrSetValue() = default;

ZR_SetIter::ZR_SetIter(const SUValue& value) : m_value(value), m_pos(-1) {}
ZR_SetIter::ZR_SetIter(const ZR_SetIter& other) = default;
ZR_SetIter& ZR_SetIter::operator=(const ZR_SetIter& other) = default;
ZR_SetIter::~ZR_SetIter() = default;

bool ZR_SetIter::Next() {
    if (m_pos < m_value.SetSize()) ++m_pos;
    return m_pos < m_value.SetSize();
}

ZR_IntegerSetIter::ZR_IntegerSetIter(const ZR_IntSetValue& value) : ZR_SetIter(value) {}
ZR_IntegerSetIter::ZR_IntegerSetIter(const SUValue& value) : ZR_SetIter(value) {}
ZR_IntegerSetIter::~ZR_IntegerSetIter() = default;
int ZR_IntegerSetIter::v() { return m_value.IntegerAt(m_pos); }
int ZR_IntegerSetIter::fv() const { return m_value.IntegerAt(m_pos); }
int ZR_SetIter::Integer() const { return m_value.IntegerAt(m_pos); }
const char* ZR_SetIter::String() const { return m_value.StringAt(m_pos); }

ZR_StringSetIter::ZR_StringSetIter(const SUValue& value) : ZR_SetIter(value) {}
ZR_StringSetIter::~ZR_StringSetIter() = default;
const char* ZR_StringSetIter::v() { return m_value.StringAt(m_pos); }
const char* ZR_StringSetIter::fv() const { return m_value.StringAt(m_pos); }
