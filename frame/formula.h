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

// A row as a walk declares it: its name, its tokens and its terms.
struct ZR_RowView {
    const char* name;
    const ZR_RowToken* tokens;
    int tokenCount;
    const ZR_TermRef* terms;
    int termCount;
};

// The rows of one table, numbered from its first site on and parsed at compile
// time into pools sized by what they hold: a row costs the tokens and terms it
// has, not the capacity of the longest. The sites of a table are written with
// their numbers so that a table can be read against the equations it stands for;
// they must follow one another, and each row's name "ZR_EqnN" is made from N.
struct ZR_SiteText {
    int site;
    const char* text;
};

struct ZR_RowPoolSize {
    int tokens = 0;
    int terms = 0;
};

template <int N>
constexpr ZR_RowPoolSize ZR_MeasureRows(const ZR_SiteText (&rows)[N], const ZR_Vocabulary& words) {
    ZR_RowPoolSize size;
    for (int r = 0; r < N; ++r) {
        if (rows[r].site != rows[0].site + r) throw "the sites of a table must follow one another";
        const ZR_Formula f = ZR_ParseFormula(rows[r].text, words);
        size.tokens += f.Size();
        size.terms += f.TermCount();
    }
    return size;
}

template <int Rows, int Tokens, int Terms>
class ZR_RowPool {
public:
    static constexpr int kNameSize = 16;  // "ZR_Eqn" and the digits of an int

    constexpr ZR_RowPool(const ZR_SiteText (&rows)[Rows], const ZR_Vocabulary& words) : m_first(rows[0].site) {
        int token = 0;
        int term = 0;
        for (int r = 0; r < Rows; ++r) {
            const ZR_Formula f = ZR_ParseFormula(rows[r].text, words);
            m_rows[r] = {token, f.Size(), term, f.TermCount()};
            for (const ZR_RowToken& t : f) m_tokens[token++] = t;
            for (int t = 0; t < f.TermCount(); ++t) {
                const ZR_TermRef& ref = f.Term(t);
                for (int a = 0; a < ref.argc; ++a) {
                    const int reach = ref.offset[a] < 0 ? -ref.offset[a] : ref.offset[a];
                    if (ref.slot[a] != 0 && reach > m_reach) m_reach = reach;
                }
                if (ref.argc > m_mostArguments) m_mostArguments = ref.argc;
                m_terms[term++] = ref;
            }
            if (f.TermCount() > m_mostTerms) m_mostTerms = f.TermCount();
            WriteName(m_names[r], rows[r].site);
        }
    }

    constexpr int FirstSite() const { return m_first; }
    constexpr int LastSite() const { return m_first + Rows - 1; }
    // The row of site N ("ZR_EqnN"), which the table must hold.
    constexpr ZR_RowView Site(int site) const {
        const Entry& e = m_rows[site - m_first];
        return {m_names[site - m_first], m_tokens + e.token, e.tokens, m_terms + e.term, e.terms};
    }
    // How far beyond its loop letters any term of the table reaches.
    constexpr int Reach() const { return m_reach; }
    constexpr int MostTerms() const { return m_mostTerms; }
    constexpr int MostArguments() const { return m_mostArguments; }

private:
    struct Entry {
        int token, tokens, term, terms;
    };
    static constexpr void WriteName(char (&name)[kNameSize], int site) {
        const char prefix[] = "ZR_Eqn";
        int n = 0;
        for (; prefix[n] != '\0'; ++n) name[n] = prefix[n];
        char digits[12] = {};
        int d = 0;
        for (unsigned v = static_cast<unsigned>(site); d == 0 || v != 0; v /= 10) digits[d++] = static_cast<char>('0' + v % 10);
        while (d > 0) name[n++] = digits[--d];
        name[n] = '\0';
    }

    int m_first;
    int m_reach = 0;
    int m_mostTerms = 0;
    int m_mostArguments = 0;
    Entry m_rows[Rows] = {};
    char m_names[Rows][kNameSize] = {};
    ZR_RowToken m_tokens[Tokens] = {};
    ZR_TermRef m_terms[Terms] = {};
};

// The most terms of any row: a walk resolves a row's terms before it declares it.
inline constexpr int kZR_MostRowTerms = 16;

// A table of sites as a constexpr pool named NAME; the texts are kept in
// NAME##Texts, which only the compiler reads.
#define ORVANE_ROW_TABLE(NAME, WORDS, ...)                                                  \
    inline constexpr ZR_SiteText NAME##Texts[] = {__VA_ARGS__};                             \
    inline constexpr ZR_RowPoolSize NAME##Size = ZR_MeasureRows(NAME##Texts, WORDS);        \
    inline constexpr ZR_RowPool<static_cast<int>(sizeof(NAME##Texts) / sizeof(ZR_SiteText)), \
                                NAME##Size.tokens, NAME##Size.terms>                        \
        NAME(NAME##Texts, WORDS);                                                           \
    static_assert(NAME.MostTerms() <= kZR_MostRowTerms, "a walk resolves at most that many terms of a row")

// Declares one instance of a row: its equation, then its tokens in prefix order,
// each term resolved to the host object it names. A sink that takes terms only
// (the incidence) is given just those, in the same order. Every term is resolved
// before anything is declared: a term the host cannot give (null) declares
// nothing and is reported by false. The resolver is taken by value: a copy that
// no one else can reach stays in registers across the host's calls.
template <class Sink, class Resolve>
inline bool ZR_EmitRow(Sink& sink, const ZR_RowView& row, int block, Resolve resolve) {
    ZR_VarParam* terms[kZR_MostRowTerms];
    for (int t = 0; t < row.termCount; ++t) {
        terms[t] = resolve(row.terms[t]);
        if (terms[t] == nullptr) return false;
    }
    sink.Equation(row.name, block);
    if constexpr (Sink::kTermsOnly) {
        for (int t = 0; t < row.termCount; ++t) sink.Term(*terms[t]);
        return true;
    }
    for (const ZR_RowToken *t = row.tokens, *end = row.tokens + row.tokenCount; t != end; ++t) {
        switch (t->kind) {
        case ZR_RowTokenKind::Op: sink.Op(static_cast<EOp>(t->value)); break;
        case ZR_RowTokenKind::Int: sink.Int(t->value); break;
        case ZR_RowTokenKind::Real: sink.Real(t->real); break;
        case ZR_RowTokenKind::Term: sink.Term(*terms[t->value]); break;
        }
    }
    return true;
}
