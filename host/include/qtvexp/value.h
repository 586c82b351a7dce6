// One value handed to the host: an assigned value with its origin, or a default.
#pragma once
#include <string>

#include "qtvexp/sets.h"

// The shortest decimal text that reads back as the same double.
QTVEXP_API std::string ZR_RealText(double value);

class QTVEXP_API ZR_Value {
public:
    enum Kind { Empty, Integer, Real, Text, Set };

    ZR_Value();
    // An assigned value: (value, arg, level, statement number).
    ZR_Value(int value, int arg, int level, int statement);
    ZR_Value(double value, int arg, int level, int statement);
    ZR_Value(const char* value, int arg, int level, int statement);
    ZR_Value(const SUValue& value, int arg, int level, int statement);
    // A default: (value, flags).
    ZR_Value(int value, int flags);
    ZR_Value(double value, int flags);
    ZR_Value(const char* value, int flags);
    ZR_Value(const SUValue& value, int flags);
    ZR_Value(const ZR_Value& other);
    ZR_Value& operator=(const ZR_Value& other);
    virtual ~ZR_Value();

    Kind GetKind() const;
    int IntValue() const;         // integer, or a real truncated toward zero (saturating)
    double RealValue() const;     // real, or an integer widened
    const char* TextValue() const;  // "" unless a text
    const ZR_SetValue& SetValue() const;
    int Arg() const;
    int Level() const;
    int Statement() const;        // 0 for a default
    int Flags() const;
    std::string ToText() const;
    bool SameValue(const ZR_Value& other) const;  // same kind and value, origin ignored

private:
    Kind m_kind;
    int m_int;
    double m_real;
    std::string m_text;
    ZR_SetValue m_set;
    int m_arg;
    int m_level;
    int m_statement;
    int m_flags;
};
