// Set values of the host: ordered sets of integers or of texts.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "qtvexp/api.h"

// Member type codes of a set value.
enum { ZR_SET_INTEGER = 10, ZR_SET_STRING = 13 };

// The integers of a set value, in ascending order. One or two are held in place:
// sets of one element are built and copied for every element of a grid, and
// they cost no block of the heap. Reading never allocates; everything that may
// allocate lives in the host.
class QTVEXP_API ZR_IntStore {
public:
    ZR_IntStore();
    ZR_IntStore(const ZR_IntStore& other);
    ZR_IntStore& operator=(const ZR_IntStore& other);
    ~ZR_IntStore();

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const int* begin() const { return m_data; }
    const int* end() const { return m_data + m_size; }
    int operator[](std::size_t i) const { return m_data[i]; }
    int front() const { return m_data[0]; }
    int back() const { return m_data[m_size - 1]; }

    void clear();
    void reserve(std::size_t count);
    void insert(std::size_t pos, int value);
    void push_back(int value);
    void append(const int* first, const int* last);
    void append_range(int lo, int hi);  // lo..hi ascending
    void assign(const int* first, const int* last);
    bool operator==(const ZR_IntStore& other) const;

private:
    static constexpr std::uint32_t kInPlace = 2;
    void Grow(std::size_t count);
    int* m_data;
    std::uint32_t m_size;
    std::uint32_t m_capacity;
    int m_inPlace[kInPlace];
};

// A set value. Integer sets are kept in ascending order, text sets in byte order
// of their texts, so a position found by SetContains is stable until the next
// insertion. Every operation lives in the host library: model libraries embed set
// values by value and must never free what the host allocated for them.
class QTVEXP_API SUValue {
public:
    SUValue();
    SUValue(const SUValue& other);
    SUValue& operator=(const SUValue& other);
    virtual ~SUValue();

    void ResetType(int code);  // empties the set and fixes its member type
    void Clear(int keepType);  // empties the set; its member type stays
    int Type() const;
    int SetSize() const;

    // Nonzero when present; pos receives the value's place, or the place where it
    // belongs when absent.
    int SetContains(int value, int& pos) const;
    int SetContains(const char* value, int& pos) const;
    void SetAddAtOffset(int value, int pos);
    void SetAddAtOffset(const char* value, int pos);

    SUValue& operator+=(int value);
    SUValue& operator+=(const char* value);
    SUValue& operator+=(const SUValue& other);  // union
    SUValue& operator*=(const SUValue& other);  // intersection
    int operator>=(const char* text) const;     // membership of a text
    int operator>=(int value) const;            // membership of an integer
    bool operator==(const SUValue& other) const;
    bool operator!=(const SUValue& other) const { return !(*this == other); }

    // 0 when the two texts are equal without regard to case; a null text equals
    // only another null text.
    static int CompareCI(const char* a, const char* b);

    // Members by position (0-based); out-of-range positions give 0 or "".
    int IntegerAt(int pos) const;
    const char* StringAt(int pos) const;
    std::string ToText() const;  // "{1, 2, 3}" or "{"a", "b"}"

protected:
    friend class ZR_BASE_I;  // its lookup reads the values in place
    int m_type;
    ZR_IntStore m_ints;
    std::vector<std::string> m_strs;
};

class QTVEXP_API ZR_SetValue : public SUValue {
public:
    ZR_SetValue();
    // A set of the given member type code; codes other than the text code hold
    // integers.
    explicit ZR_SetValue(unsigned short typeCode);
    ZR_SetValue(const SUValue& other);
    ~ZR_SetValue() override;
    int Integer(int pos) const;
    const char* String(int pos) const;
};

class QTVEXP_API ZR_IntSetValue : public ZR_SetValue {
public:
    // lo..hi ascending, empty when hi < lo; hi == INT_MIN gives the set {lo}.
    ZR_IntSetValue(int lo, int hi);
    // From a null text: the empty integer set.
    explicit ZR_IntSetValue(const char* text);
    ZR_IntSetValue(const ZR_SetValue& other);
    ~ZR_IntSetValue() override;
};

class QTVEXP_API ZR_StrSetValue : public ZR_SetValue {
public:
    // From a text in which every member is followed by a double quote:
    // "A\"B\"" is the set {A, B}.
    explicit ZR_StrSetValue(const char* quoteTerminated);
    // A copy of a text set; any other set gives the empty text set.
    explicit ZR_StrSetValue(const ZR_SetValue& other);
    ~ZR_StrSetValue() override;
};

// Iteration over a copy of a set value; the value may be destroyed at once.
class QTVEXP_API ZR_SetIter {
public:
    explicit ZR_SetIter(const SUValue& value);
    ZR_SetIter(const ZR_SetIter& other);
    ZR_SetIter& operator=(const ZR_SetIter& other);
    virtual ~ZR_SetIter();
    bool Next();  // false when no member is left
    int Integer() const;         // the current member; 0 when it is not an integer
    const char* String() const;  // the current member; "" when it is not a text

protected:
    SUValue m_value;
    int m_pos;
};

class QTVEXP_API ZR_IntegerSetIter : public ZR_SetIter {
public:
    explicit ZR_IntegerSetIter(const ZR_IntSetValue& value);
    explicit ZR_IntegerSetIter(const SUValue& value);
    ~ZR_IntegerSetIter() override;
    int v();
    int fv() const;
};

class QTVEXP_API ZR_StringSetIter : public ZR_SetIter {
public:
    explicit ZR_StringSetIter(const SUValue& value);
    ~ZR_StringSetIter() override;
    const char* v();
    const char* fv() const;
};
