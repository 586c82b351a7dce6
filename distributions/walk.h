// What the equation walks of the one-, two- and three-dimensional distributions
// share: the loop letters, the loops over host sets, the current block and the
// axis whose spacing a row's h names, and the declaration of one row through
// either sink. A dimension derives its walk from ZR_Walk and adds its own term
// resolver (Term), its rows and its block programs.
//
// Letters: every vocabulary begins with the section letters s (the section of
// the block's own direction), b and e (its first and last node) and n (the
// first node of the element being visited); the node letters of the dimension
// (i; i and j; i, j and k) follow.
#pragma once
#include "distributions/axis.h"
#include "frame/formula.h"

enum ZR_WalkSlot : std::uint8_t { kFixed, kS, kB, kE, kN, kFirstNodeSlot };

// Whether a vocabulary's letters are the section letters in the order of the
// slots, then the node letters given: a letter's slot is its place plus one.
constexpr bool ZR_LettersFollowTheSlots(const ZR_Vocabulary& words, const char* nodeLetters) {
    const char sections[] = "sben";
    int n = 0;
    for (; sections[n] != '\0'; ++n)
        if (words.letters[n] != sections[n]) return false;
    for (int k = 0; nodeLetters[k] != '\0'; ++k, ++n)
        if (words.letters[n] != nodeLetters[k]) return false;
    return words.letters[n] == '\0';
}

template <class Derived, class Sink>
class ZR_Walk {
public:
    using Axis = ZR_Axis<Sink>;

    // Whether every row the walk met could be declared: false once a term the
    // host could not give stopped it.
    bool Complete() const { return !m_failed; }

protected:
    explicit ZR_Walk(Sink& sink) : m_sink(sink) {}

    // --- the block and the letters -------------------------------------------
    // The rows that follow belong to group offset `block`, and their h is the
    // spacing of `axis`.
    void Enter(int block, const Axis& axis) {
        m_block = block;
        m_axis = &axis;
    }
    long long& Letter(std::uint8_t slot) { return m_at[slot]; }
    long long B() const { return m_at[kB]; }
    long long E() const { return m_at[kE]; }
    long long N() const { return m_at[kN]; }

    // --- declaring --------------------------------------------------------------
    template <class Rows>
    void Emit(const Rows& rows, int site) {
        if (m_failed) return;
        if (!ZR_EmitRow(m_sink, rows.Site(site), m_block,
                        [this](const ZR_TermRef& t) { return static_cast<Derived*>(this)->Term(t); }))
            m_failed = true;
    }
    template <class Rows>
    void At(const Rows& rows, int site, std::uint8_t slot, long long node) {
        m_at[slot] = node;
        Emit(rows, site);
    }

    // h, or h(s+1): the spacing of the block's axis at the walk's section or at
    // the section the argument names.
    // Nothing changes a section's records while the host is inside the walk, so
    // the spacing found for one section serves every row of that section.
    ZR_VarParam* Spacing(const ZR_TermRef& t) {
        const long long s = t.argc ? m_at[t.slot[0]] + t.offset[0] : m_at[kS];
        if (m_axis != m_spacingAxis || s != m_spacingSection) {
            m_spacing = &m_axis->H(s);
            m_spacingAxis = m_axis;
            m_spacingSection = s;
        }
        return m_spacing;
    }
    // An argument of a term: its letter's value plus its constant.
    int Index(const ZR_TermRef& t, int a) const { return ZR_Node(m_at[t.slot[a]] + t.offset[a]); }

    // --- loops over host sets, bounds fixed when the loop starts ---------------
    template <class F>
    void ForSet(const ZR_IntSetValue& set, F&& body) {
        ZR_IntegerSetIter it(set);
        while (!m_failed && it.Next()) body(static_cast<int>(Sink::Read(it)));
    }
    template <class F>
    void ForRange(long long lo, long long hi, F&& body) {
        ForSet(ZR_IntSetValue(ZR_Node(lo), ZR_Node(hi)), body);
    }
    // The letter in `slot` runs over [lo : hi], or over a set.
    template <class F>
    void Each(std::uint8_t slot, long long lo, long long hi, F&& body) {
        ForRange(lo, hi, [&](int v) {
            m_at[slot] = v;
            body();
        });
    }
    template <class F>
    void EachIn(std::uint8_t slot, const ZR_IntSetValue& set, F&& body) {
        ForSet(set, [&](int v) {
            m_at[slot] = v;
            body();
        });
    }
    // Sections 1 to NUMSECTIONS of an axis, with s, b and e set.
    template <class F>
    void EachSection(const Axis& axis, F&& body) {
        ForRange(1, axis.Sections(), [&](int s) {
            m_at[kS] = s;
            m_at[kB] = axis.First(s);
            m_at[kE] = axis.Last(s);
            body(s);
        });
    }
    // The elements of the walk's section, each visited through the one-element
    // set of its first node n.
    template <class F>
    void EachElement(const Axis& axis, F&& body) {
        const long long s = m_at[kS];
        // The first node and the width of the section's elements, read once for
        // the loop: nothing changes them while the walk runs.
        const long long first = axis.ElementStart(s, 1);
        const long long width = axis.ElementStart(s, 2) - first;
        ForRange(1, axis.Elements(s), [&](int e) {
            ForSet(ZR_OnlyNode(first + (e - 1LL) * width), [&](int n) {
                m_at[kN] = n;
                body();
            });
        });
    }

    // One loop over the lines of another direction: its letter, its first node
    // (1 where that direction is already integrated) and its axis.
    struct Lines {
        std::uint8_t letter;
        long long from;
        const Axis& axis;
    };
    // Rows first .. first + count - 1 at every element of every section along
    // `along`, on the lines of the other directions, the outer loop first.
    template <class Rows>
    void ElementRows(const Rows& rows, int first, int count, const Axis& along, Lines lines) {
        Each(lines.letter, lines.from, lines.axis.EndNode(), [&] {
            EachSection(along, [&](int) {
                EachElement(along, [&] {
                    for (int site = first; site < first + count; ++site) Emit(rows, site);
                });
            });
        });
    }
    template <class Rows>
    void ElementRows(const Rows& rows, int first, int count, const Axis& along, Lines outer, Lines inner) {
        Each(outer.letter, outer.from, outer.axis.EndNode(),
             [&] { ElementRows(rows, first, count, along, inner); });
    }

    Sink& m_sink;

private:
    long long m_at[kFirstNodeSlot + 3] = {};  // slot 0, a fixed index, stays 0
    int m_block = 0;
    const Axis* m_axis = nullptr;
    const Axis* m_spacingAxis = nullptr;
    long long m_spacingSection = 0;
    ZR_VarParam* m_spacing = nullptr;
    bool m_failed = false;
};

// What a dimension's walk, a class template over Sink, takes from ZR_Walk: its
// letters, loops and declarations by their plain names in the block programs.
#define ORVANE_WALK_BASE(Derived)                \
    using Base = ZR_Walk<Derived<Sink>, Sink>;   \
    using Axis = typename Base::Axis;            \
    using Base::At;                              \
    using Base::B;                               \
    using Base::E;                               \
    using Base::Each;                            \
    using Base::EachElement;                     \
    using Base::EachIn;                          \
    using Base::EachSection;                     \
    using Base::ElementRows;                     \
    using Lines = typename Base::Lines;          \
    using Base::Emit;                            \
    using Base::Enter;                           \
    using Base::ForRange;                        \
    using Base::ForSet;                          \
    using Base::Letter;                          \
    using Base::N;                               \
    friend Base

// A dimension's vocabulary from one list of (enumerator, text): the enum Name
// that its resolver switches on and the names its formulas are parsed against.
#define ORVANE_TERM_ENUMERATOR_(e, text) e,
#define ORVANE_TERM_TEXT_(e, text) text,
#define ORVANE_VOCABULARY(LIST)                                    \
    enum Name : std::uint8_t { LIST(ORVANE_TERM_ENUMERATOR_) };    \
    inline constexpr const char* kNames[] = {LIST(ORVANE_TERM_TEXT_)}
