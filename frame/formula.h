// Equation rows written as the formulas they stand for, fully parenthesised, and
// turned at compile time into the prefix token stream that the host receives:
//
//   "(DDX(i) * h) + (VALUE(i-1) - VALUE(i))"  ->  + * DDX(i) h - VALUE(i-1) VALUE(i)
//
// Operators: + - * / between two operands, square(x) and start(x) on one (codes 19,
// 20, 21, 22, 40, 1). Numbers with a point are real constants, without one integer
// constants; a leading minus belongs to the number (-3 is one integer term). A term
// is a name with optional arguments, each a loop letter plus or minus a constant
// ("VALUE(i-1)", "h(s+1)", "h"). A formula that does not parse does not compile.
//
// A formula is parsed against the vocabulary of the type that declares it: its
// term names and its loop letters. Each term then carries the place of its name
// and the slot of each argument's letter, so that a walk resolves it with a
// table read and an add; a name or a letter outside the vocabulary does not
// compile either.
#pragma once
#include <cstdint>

#include "qtvexp/core.h"

enum class ZR_RowTokenKind : std::uint8_t { Op, Int, Real, Term };

// The names and loop letters that a type's formulas may use.
struct ZR_Vocabulary {
    template <int N>
    constexpr ZR_Vocabulary(const char* const (&termNames)[N], const char* loopLetters)
        : names(termNames), nameCount(N), letters(loopLetters) {}

    const char* const* names;
    int nameCount;
    const char* letters;  // one character each; letter n has slot n + 1
};

// One term as a walk resolves it: which name, and for each argument the slot of
// its loop letter (0 for a fixed index, so a walk keeps 0 there) and the
// constant added to it.
struct ZR_TermRef {
    std::uint8_t name = 0;  // place in the vocabulary's names
    std::uint8_t argc = 0;
    std::uint8_t slot[3] = {};
    int offset[3] = {};
};

struct ZR_RowToken {
    ZR_RowTokenKind kind = ZR_RowTokenKind::Int;
    int value = 0;  // operator code, integer constant, or the term's place among the formula's terms
    double real = 0.0;
};

class ZR_Formula {
public:
    static constexpr int kCapacity = 64;

    constexpr ZR_Formula() = default;
    constexpr int Size() const { return m_size; }
    constexpr const ZR_RowToken& operator[](int i) const { return m_tokens[i]; }
    constexpr const ZR_RowToken* begin() const { return m_tokens; }
    constexpr const ZR_RowToken* end() const { return m_tokens + m_size; }
    // The variable-or-parameter terms alone, in the order they stand.
    constexpr int TermCount() const { return m_termCount; }
    constexpr const ZR_TermRef& Term(int i) const { return m_terms[i]; }
    constexpr const ZR_TermRef* Terms() const { return m_terms; }

    constexpr void Push(const ZR_RowToken& t) {
        if (m_size >= kCapacity) throw "formula too long";
        m_tokens[m_size++] = t;
    }
    constexpr void Push(const ZR_TermRef& term) {
        ZR_RowToken t;
        t.kind = ZR_RowTokenKind::Term;
        t.value = m_termCount;
        Push(t);
        m_terms[m_termCount++] = term;
    }
    constexpr void Append(const ZR_Formula& other) {
        for (const ZR_RowToken& t : other) {
            if (t.kind == ZR_RowTokenKind::Term) {
                Push(other.m_terms[t.value]);
            } else {
                Push(t);
            }
        }
    }

private:
    ZR_RowToken m_tokens[kCapacity] = {};
    int m_size = 0;
    ZR_TermRef m_terms[kCapacity] = {};
    int m_termCount = 0;
};

namespace zr_formula_detail {

class Parser {
public:
    constexpr Parser(const char* text, const ZR_Vocabulary& words) : m_p(text), m_words(words) {}

    constexpr ZR_Formula Whole() {
        ZR_Formula f = Expression();
        Skip();
        if (*m_p != '\0') throw "unexpected text after the formula";
        return f;
    }

private:
    constexpr void Skip() {
        while (*m_p == ' ') ++m_p;
    }
    static constexpr bool Digit(char c) { return c >= '0' && c <= '9'; }
    static constexpr bool Letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
    static constexpr bool NameChar(char c) { return Letter(c) || Digit(c); }

    // operand [op operand]: the formulas are fully parenthesised, so one operator
    // at most stands at each level.
    constexpr ZR_Formula Expression() {
        ZR_Formula left = Operand();
        Skip();
        int code = 0;
        switch (*m_p) {
        case '+': code = EOP_PLUS; break;
        case '-': code = EOP_MINUS; break;
        case '*': code = EOP_TIMES; break;
        case '/': code = EOP_DIVIDE; break;
        default: return left;
        }
        ++m_p;
        ZR_Formula right = Operand();
        ZR_Formula out;
        ZR_RowToken op;
        op.kind = ZR_RowTokenKind::Op;
        op.value = code;
        out.Push(op);
        out.Append(left);
        out.Append(right);
        return out;
    }

    constexpr ZR_Formula Operand() {
        Skip();
        if (*m_p == '(') {
            ++m_p;
            ZR_Formula inner = Expression();
            Expect(')');
            return inner;
        }
        if (*m_p == '-' || Digit(*m_p)) return Number();
        if (Letter(*m_p)) return NameOrFunction();
        throw "an operand was expected";
    }

    constexpr void Expect(char c) {
        Skip();
        if (*m_p != c) throw "unexpected character";
        ++m_p;
    }

    constexpr ZR_Formula Number() {
        bool negative = false;
        if (*m_p == '-') {
            negative = true;
            ++m_p;
        }
        if (!Digit(*m_p)) throw "a digit was expected";
        std::uint64_t mantissa = 0;
        int digits = 0;
        int decimals = 0;
        bool point = false;
        for (;; ++m_p) {
            if (Digit(*m_p)) {
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(*m_p - '0');
                if (mantissa != 0 && ++digits > 17) throw "too many significant digits";
                if (point) ++decimals;
            } else if (*m_p == '.' && !point) {
                point = true;
            } else {
                break;
            }
        }
        ZR_RowToken t;
        if (point) {
            // mantissa and the power of ten are both exact doubles, so one
            // correctly rounded division gives the double nearest the decimal.
            double scale = 1.0;
            for (int i = 0; i < decimals; ++i) scale *= 10.0;
            t.kind = ZR_RowTokenKind::Real;
            t.real = static_cast<double>(mantissa) / scale;
            if (negative) t.real = -t.real;
        } else {
            if (mantissa > 2147483647u) throw "integer constant out of range";
            t.kind = ZR_RowTokenKind::Int;
            t.value = negative ? -static_cast<int>(mantissa) : static_cast<int>(mantissa);
        }
        ZR_Formula f;
        f.Push(t);
        return f;
    }

    constexpr ZR_Formula NameOrFunction() {
        char name[16] = {};
        int n = 0;
        while (NameChar(*m_p)) {
            if (n >= 15) throw "name too long";
            name[n++] = *m_p++;
        }
        if (Same(name, "square") || Same(name, "start")) {
            Expect('(');
            ZR_Formula inner = Expression();
            Expect(')');
            ZR_RowToken op;
            op.kind = ZR_RowTokenKind::Op;
            op.value = Same(name, "square") ? EOP_SQUARE : EOP_ZERO_TEST;
            ZR_Formula out;
            out.Push(op);
            out.Append(inner);
            return out;
        }
        ZR_TermRef t;
        t.name = static_cast<std::uint8_t>(Place(name));
        Skip();
        if (*m_p == '(') {
            ++m_p;
            for (;;) {
                if (t.argc >= 3) throw "too many arguments";
                Argument(t.slot[t.argc], t.offset[t.argc]);
                ++t.argc;
                Skip();
                if (*m_p != ',') break;
                ++m_p;
            }
            Expect(')');
        }
        ZR_Formula f;
        f.Push(t);
        return f;
    }

    constexpr int Place(const char* name) const {
        for (int i = 0; i < m_words.nameCount && i < 256; ++i)
            if (Same(m_words.names[i], name)) return i;
        throw "a term name outside the vocabulary";
    }

    // One argument: a fixed index ("0"), or a loop letter with an optional
    // constant added or taken away ("i", "k+2", "s-1").
    constexpr void Argument(std::uint8_t& slot, int& offset) {
        Skip();
        slot = 0;
        offset = 0;
        bool minus = false;
        if (Letter(*m_p)) {
            slot = Slot(*m_p++);
            Skip();
            if (*m_p != '+' && *m_p != '-') return;
            minus = *m_p++ == '-';
            Skip();
        }
        if (!Digit(*m_p)) throw "a loop letter, an index or an offset was expected";
        while (Digit(*m_p)) offset = offset * 10 + (*m_p++ - '0');
        if (minus) offset = -offset;
    }

    constexpr std::uint8_t Slot(char letter) const {
        for (int i = 0; m_words.letters[i] != '\0' && i < 255; ++i)
            if (m_words.letters[i] == letter) return static_cast<std::uint8_t>(i + 1);
        throw "a loop letter outside the vocabulary";
    }

    static constexpr bool Same(const char* a, const char* b) {
        while (*a && *a == *b) {
            ++a;
            ++b;
        }
        return *a == *b;
    }

    const char* m_p;
    const ZR_Vocabulary& m_words;
};

}  // namespace zr_formula_detail

constexpr ZR_Formula ZR_ParseFormula(const char* text, const ZR_Vocabulary& words) {
    return zr_formula_detail::Parser(text, words).Whole();
}

// One equation site: its name and the formula it declares (sites that state the
// same tree share one formula).
struct ZR_Row {
    const char* name;
    const ZR_Formula* formula;
};

// Declares one instance of a row: its equation, then its tokens in prefix order,
// each term resolved to the host object it names. A sink that takes terms only
// (the incidence) is given just those, in the same order. The resolver is taken
// by value: a copy that no one else can reach stays in registers across the
// host's calls.
template <class Sink, class Resolve>
inline void ZR_EmitRow(Sink& sink, const ZR_Row& row, int block, Resolve resolve) {
    sink.Equation(row.name, block);
    const ZR_Formula& formula = *row.formula;
    const ZR_TermRef* const terms = formula.Terms();
    if constexpr (Sink::kTermsOnly) {
        for (const ZR_TermRef *t = terms, *end = terms + formula.TermCount(); t != end; ++t) sink.Term(resolve(*t));
        return;
    }
    for (const ZR_RowToken& t : formula) {
        switch (t.kind) {
        case ZR_RowTokenKind::Op: sink.Op(static_cast<EOp>(t.value)); break;
        case ZR_RowTokenKind::Int: sink.Int(t.value); break;
        case ZR_RowTokenKind::Real: sink.Real(t.real); break;
        case ZR_RowTokenKind::Term: sink.Term(resolve(terms[t.value])); break;
        }
    }
}
