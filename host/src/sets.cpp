#include "qtvexp/sets.h"
#include "trace_hook.h"
#include "qtvexp/recorder.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <stdexcept>

ZR_IntStore::ZR_IntStore() : m_data(m_inPlace), m_size(0), m_capacity(kInPlace), m_inPlace{} {}

// Iterators copy the set they walk, mostly one of a single element: that copy
// stays in place without a call.
ZR_IntStore::ZR_IntStore(const ZR_IntStore& other) : ZR_IntStore() {
    if (other.m_size > kInPlace) {
        assign(other.begin(), other.end());
        return;
    }
    for (std::uint32_t i = 0; i < other.m_size; ++i) m_inPlace[i] = other.m_data[i];
    m_size = other.m_size;
}

ZR_IntStore& ZR_IntStore::operator=(const ZR_IntStore& other) {
    if (&other != this) assign(other.begin(), other.end());
    return *this;
}

ZR_IntStore::~ZR_IntStore() {
    if (m_data != m_inPlace) delete[] m_data;
}

void ZR_IntStore::clear() { m_size = 0; }

// To at least `count` integers, at least doubling, so that a set built one
// integer at a time is copied a bounded number of times.
void ZR_IntStore::Grow(std::size_t count) {
    if (count <= m_capacity) return;
    if (count > UINT32_MAX) throw std::length_error("a set of more integers than the host can hold");
    const std::size_t capacity = std::min<std::size_t>(UINT32_MAX, std::max<std::size_t>(count, 2u * m_capacity));
    int* block = new int[capacity];
    std::copy(begin(), end(), block);
    if (m_data != m_inPlace) delete[] m_data;
    m_data = block;
    m_capacity = static_cast<std::uint32_t>(capacity);
}

void ZR_IntStore::reserve(std::size_t count) { Grow(count); }

void ZR_IntStore::insert(std::size_t pos, int value) {
    Grow(std::size_t{m_size} + 1);
    std::copy_backward(m_data + pos, m_data + m_size, m_data + m_size + 1);
    m_data[pos] = value;
    ++m_size;
}

void ZR_IntStore::push_back(int value) { insert(m_size, value); }

void ZR_IntStore::append(const int* first, const int* last) {
    const std::size_t count = static_cast<std::size_t>(last - first);
    Grow(std::size_t{m_size} + count);
    std::copy(first, last, m_data + m_size);
    m_size += static_cast<std::uint32_t>(count);
}

void ZR_IntStore::append_range(int lo, int hi) {
    if (hi < lo) return;
    const std::size_t count = static_cast<std::size_t>(static_cast<long long>(hi) - lo + 1);
    Grow(std::size_t{m_size} + count);
    int* out = m_data + m_size;
    for (long long i = lo; i <= hi; ++i) *out++ = static_cast<int>(i);
    m_size += static_cast<std::uint32_t>(count);
}

void ZR_IntStore::assign(const int* first, const int* last) {
    clear();
    append(first, last);
}

bool ZR_IntStore::operator==(const ZR_IntStore& other) const {
    return m_size == other.m_size && std::equal(begin(), end(), other.begin());
}

SUValue::SUValue() : m_type(ZR_SET_INTEGER) {}
SUValue::SUValue(const SUValue& other) : m_type(other.m_type), m_ints(other.m_ints) {
    if (!other.m_strs.empty()) m_strs = other.m_strs;
}
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
    QTV_TRACED_CALL(SUValue::SetSize(), qtvhost::HostCall::Size, this);
    return static_cast<int>(m_type == ZR_SET_STRING ? m_strs.size() : m_ints.size());
}

// Index sets are ranges, or spread evenly (the collocation points of a grid), so
// the place of a value is first guessed from the values at the two ends; the
// search then widens from the guess. A lookup costs the same on any size of grid.
int SUValue::SetContains(int value, int& pos) const {
    QTV_TRACED_CALL(SUValue::SetContains(value, pos), qtvhost::HostCall::Contains, this, value);
    const std::size_t n = m_ints.size();
    if (m_type != ZR_SET_INTEGER || n == 0) {
        pos = 0;
        return 0;
    }
    const int* a = m_ints.begin();
    if (value <= a[0]) {
        pos = 0;
        return value == a[0];
    }
    if (value >= a[n - 1]) {
        pos = static_cast<int>(value == a[n - 1] ? n - 1 : n);
        return value == a[n - 1];
    }
    // a[0] < value < a[n - 1], so n >= 2.
    const long long span = static_cast<long long>(a[n - 1]) - a[0];
    const long long offset = static_cast<long long>(value) - a[0];
    if (span == static_cast<long long>(n) - 1) {  // a range: every value in between is there
        pos = static_cast<int>(offset);
        return 1;
    }
    const double ratio = static_cast<double>(offset) / static_cast<double>(span);
    const std::size_t guess = std::min(n - 2, static_cast<std::size_t>(ratio * static_cast<double>(n - 1)));
    std::size_t lo, hi;  // the place lies in [lo, hi]
    std::size_t step = 1;
    if (a[guess] < value) {
        std::size_t below = guess;  // a[below] < value
        while (below + step < n && a[below + step] < value) {
            below += step;
            step *= 2;
        }
        lo = below + 1;
        hi = std::min(below + step, n - 1);  // a[hi] >= value, as a[n - 1] > value
    } else {
        hi = guess;  // a[hi] >= value
        while (hi >= step && a[hi - step] >= value) {
            hi -= step;
            step *= 2;
        }
        lo = hi >= step ? hi - step + 1 : 0;
    }
    const int* it = std::lower_bound(a + lo, a + hi, value);
    pos = static_cast<int>(it - a);
    return *it == value;
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
    m_ints.insert(static_cast<std::size_t>(pos), value);
}

void SUValue::SetAddAtOffset(const char* value, int pos) {
    if (m_type != ZR_SET_STRING || value == nullptr || pos < 0 || pos > SetSize()) return;
    if (pos > 0 && std::strcmp(m_strs[pos - 1].c_str(), value) >= 0) return;
    if (pos < SetSize() && std::strcmp(m_strs[pos].c_str(), value) <= 0) return;
    m_strs.insert(m_strs.begin() + pos, value);
}

SUValue& SUValue::operator+=(int value) {
    QTV_TRACED_CALL(SUValue::operator+=(value), qtvhost::HostCall::SetAdd, this, value);
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
    QTV_TRACED_CALL(SUValue::operator+=(other), qtvhost::HostCall::Union, this, 0, static_cast<const void*>(&other));
    if (&other == this) return *this;
    if (m_type == ZR_SET_INTEGER && other.m_type == ZR_SET_INTEGER) {
        // Unions are often folded from parts that lie beyond each other, as the
        // sets of a domain's elements do: those are appended, not merged anew.
        if (other.m_ints.empty()) return *this;
        if (m_ints.empty() || m_ints.back() < other.m_ints.front()) {
            m_ints.append(other.m_ints.begin(), other.m_ints.end());
            return *this;
        }
        std::vector<int> merged;
        merged.reserve(m_ints.size() + other.m_ints.size());
        std::set_union(m_ints.begin(), m_ints.end(), other.m_ints.begin(), other.m_ints.end(),
                       std::back_inserter(merged));
        m_ints.assign(merged.data(), merged.data() + merged.size());
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
        m_ints.assign(common.data(), common.data() + common.size());
    } else {
        std::vector<std::string> common;
        std::set_intersection(m_strs.begin(), m_strs.end(), other.m_strs.begin(), other.m_strs.end(),
                              std::back_inserter(common));
        m_strs.swap(common);
    }
    return *this;
}

int SUValue::operator>=(const char* text) const {
    QTV_TRACED_CALL(SUValue::operator>=(text), qtvhost::HostCall::Holds, this, 0, static_cast<const void*>(text));
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

namespace {
// Letter case as the host's texts know it: ASCII only, whatever the locale.
int Lower(char c) {
    const int u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u;
}
}  // namespace

int SUValue::CompareCI(const char* a, const char* b) {
    QTV_TRACED_CALL(SUValue::CompareCI(a, b), qtvhost::HostCall::CompareCI, a, 0, static_cast<const void*>(b));
    if (a == nullptr || b == nullptr) return a == b ? 0 : (a == nullptr ? -1 : 1);
    for (;; ++a, ++b) {
        if (*a == *b) {  // texts compared are mostly written alike
            if (*a == '\0') return 0;
            continue;
        }
        const int ca = Lower(*a);
        const int cb = Lower(*b);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
}

int SUValue::IntegerAt(int pos) const {
    return (m_type == ZR_SET_INTEGER && pos >= 0 && pos < SetSize()) ? m_ints[static_cast<std::size_t>(pos)] : 0;
}

const char* SUValue::StringAt(int pos) const {
    return (m_type == ZR_SET_STRING && pos >= 0 && pos < SetSize()) ? m_strs[pos].c_str() : "";
}

std::string SUValue::ToText() const {
    std::string out = "{";
    for (int i = 0; i < SetSize(); ++i) {
        if (i) out += ", ";
        if (m_type == ZR_SET_INTEGER) {
            out += std::to_string(m_ints[static_cast<std::size_t>(i)]);
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
    QTV_TRACED(qtvhost::HostCall::Range, this, 0, lo, hi);
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
    m_ints.append_range(lo, hi);
}

ZR_IntSetValue::ZR_IntSetValue(const char* text) {
    QTV_TRACED(qtvhost::HostCall::NoSet, this, 0, static_cast<const void*>(text));
}
ZR_IntSetValue::ZR_IntSetValue(const ZR_SetValue& other) : ZR_SetValue(other) {
    QTV_TRACED(qtvhost::HostCall::SetCopy, this, 0, static_cast<const void*>(&other));
}
ZR_IntSetValue::~ZR_IntSetValue() { QTV_TRACED(qtvhost::HostCall::SetEnd, this); }

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
    QTV_TRACED_CALL(ZR_SetIter::Next(), qtvhost::HostCall::Next, this);
    if (m_pos < m_value.SetSize()) ++m_pos;
    return m_pos < m_value.SetSize();
}

ZR_IntegerSetIter::ZR_IntegerSetIter(const ZR_IntSetValue& value) : ZR_SetIter(value) {
    QTV_TRACED(qtvhost::HostCall::Iter, this, 0, static_cast<const void*>(&value));
}
ZR_IntegerSetIter::ZR_IntegerSetIter(const SUValue& value) : ZR_SetIter(value) {}
ZR_IntegerSetIter::~ZR_IntegerSetIter() { QTV_TRACED(qtvhost::HostCall::IterEnd, this); }
int ZR_IntegerSetIter::v() {
    QTV_TRACED_CALL(ZR_IntegerSetIter::v(), qtvhost::HostCall::IterV, this);
    return m_value.IntegerAt(m_pos);
}
int ZR_IntegerSetIter::fv() const {
    QTV_TRACED_CALL(ZR_IntegerSetIter::fv(), qtvhost::HostCall::IterFv, this);
    return m_value.IntegerAt(m_pos);
}
int ZR_SetIter::Integer() const { return m_value.IntegerAt(m_pos); }
const char* ZR_SetIter::String() const { return m_value.StringAt(m_pos); }

ZR_StringSetIter::ZR_StringSetIter(const SUValue& value) : ZR_SetIter(value) {}
ZR_StringSetIter::~ZR_StringSetIter() = default;
const char* ZR_StringSetIter::v() { return m_value.StringAt(m_pos); }
const char* ZR_StringSetIter::fv() const { return m_value.StringAt(m_pos); }
