// Rows written as formulas become the prefix streams the host receives.
#include <gtest/gtest.h>

#include <string>

#include "frame/formula.h"

namespace {

constexpr const char* kNames[] = {"VALUE", "IDX", "DDX", "D2DX2", "h"};
constexpr ZR_Vocabulary kWords(kNames, "ibeksj");

constexpr ZR_Formula Parse(const char* text) { return ZR_ParseFormula(text, kWords); }

// A term written back from what it carries: the name and letters it resolves to.
std::string Text(const ZR_TermRef& t) {
    std::string out = kWords.names[t.name];
    if (t.argc == 0) return out;
    out += '(';
    for (int a = 0; a < t.argc; ++a) {
        if (a) out += ',';
        if (t.slot[a] != 0) out += kWords.letters[t.slot[a] - 1];
        if (t.offset[a] > 0 && t.slot[a] != 0) out += '+';
        if (t.offset[a] != 0 || t.slot[a] == 0) out += std::to_string(t.offset[a]);
    }
    return out + ')';
}

std::string Stream(const ZR_Formula& f) {
    std::string out;
    for (const ZR_RowToken& t : f) {
        if (!out.empty()) out += ' ';
        switch (t.kind) {
        case ZR_RowTokenKind::Op: out += "[" + std::to_string(t.value) + "]"; break;
        case ZR_RowTokenKind::Int: out += std::to_string(t.value); break;
        case ZR_RowTokenKind::Real: out += "r" + std::to_string(t.real); break;
        case ZR_RowTokenKind::Term: out += Text(f.Term(t.value)); break;
        }
    }
    return out;
}

}  // namespace

TEST(Formula, PrefixOrderFollowsThePreOrderOfTheTree) {
    constexpr ZR_Formula eqn3 = Parse("(DDX(i) * h) + (VALUE(i-1) - VALUE(i))");
    EXPECT_EQ(Stream(eqn3), "[19] [21] DDX(i) h [20] VALUE(i-1) VALUE(i)");
    constexpr ZR_Formula eqn4 =
        Parse("(D2DX2(i) * square(h)) - ((VALUE(i-1) - (2 * VALUE(i))) + VALUE(i+1))");
    EXPECT_EQ(Stream(eqn4), "[20] [21] D2DX2(i) [40] h [19] [20] VALUE(i-1) [21] 2 VALUE(i) VALUE(i+1)");
    constexpr ZR_Formula eqn7 =
        Parse("(2 * (DDX(b) * h)) + (VALUE(b+2) - ((-3 * VALUE(b)) + (4 * VALUE(b+1))))");
    EXPECT_EQ(Stream(eqn7), "[19] [21] 2 [21] DDX(b) h [20] VALUE(b+2) [19] [21] -3 VALUE(b) [21] 4 VALUE(b+1)");
    constexpr ZR_Formula eqn1 = Parse("start(IDX(0))");
    EXPECT_EQ(eqn1.Size(), 2);
    EXPECT_EQ(eqn1[0].value, 1);
    constexpr ZR_Formula twoD = Parse("DDX(i, j+1) * h(s+1)");
    EXPECT_EQ(Stream(twoD), "[21] DDX(i,j+1) h(s+1)");
}

TEST(Formula, RealConstantsAreTheNearestDoubles) {
    constexpr ZR_Formula f = Parse("(0.08333333333333333 * 0.001388888888888889) + (0.5 - 21.33334)");
    EXPECT_EQ(f[1].kind, ZR_RowTokenKind::Op);
    EXPECT_EQ(f[2].real, 0.08333333333333333);
    EXPECT_EQ(f[3].real, 0.001388888888888889);
    EXPECT_EQ(f[5].real, 0.5);
    EXPECT_EQ(f[6].real, 21.33334);
    EXPECT_EQ(Parse("-0.04166")[0].real, -0.04166);
    EXPECT_EQ(Parse("1.0")[0].kind, ZR_RowTokenKind::Real);
    EXPECT_EQ(Parse("-19")[0].kind, ZR_RowTokenKind::Int);
}

TEST(Formula, TheTermsAloneAreThoseOfTheStreamInOrder) {
    constexpr ZR_Formula eqn7 =
        Parse("(2 * (DDX(b) * h)) + (VALUE(b+2) - ((-3 * VALUE(b)) + (4 * VALUE(b+1))))");
    std::string terms;
    for (int i = 0; i < eqn7.TermCount(); ++i) terms += (terms.empty() ? "" : " ") + Text(eqn7.Term(i));
    EXPECT_EQ(terms, "DDX(b) h VALUE(b+2) VALUE(b) VALUE(b+1)");
    EXPECT_EQ(Parse("2 * 0.5").TermCount(), 0);
}

// At compile time these are errors; the same parser called at run time says why.
TEST(Formula, NamesAndLettersOutsideTheVocabularyAreRefused) {
    EXPECT_THROW(ZR_ParseFormula("VALU(i)", kWords), const char*);
    EXPECT_THROW(ZR_ParseFormula("VALUE(i) * value(i)", kWords), const char*);
    EXPECT_THROW(ZR_ParseFormula("VALUE(n+1)", kWords), const char*);
    EXPECT_EQ(Stream(ZR_ParseFormula("IDX(0) + VALUE(k-3)", kWords)), "[19] IDX(0) VALUE(k-3)");
}

// Offsets of several digits are read whole, and a table keeps each row's
// tokens and terms apart: its names follow its site numbers, its reach is the
// largest offset from a letter (a fixed index reaches nowhere).
TEST(Formula, ATableHoldsEachRowWholeUnderItsOwnName) {
    constexpr ZR_Formula wide = Parse("VALUE(i+12) - IDX(k-105)");
    EXPECT_EQ(Stream(wide), "[20] VALUE(i+12) IDX(k-105)");
    EXPECT_EQ(wide.Term(0).offset[0], 12);
    EXPECT_EQ(wide.Term(1).offset[0], -105);

    static constexpr ZR_SiteText texts[] = {
        {98, "start(IDX(700))"},
        {99, "(DDX(i) * h) + (VALUE(i-1) - VALUE(i+3))"},
        {100, "2 * 0.5"},
    };
    constexpr ZR_RowPoolSize size = ZR_MeasureRows(texts, kWords);
    static_assert(size.tokens == 2 + 7 + 3 && size.terms == 1 + 4, "pools hold what the rows hold");
    static constexpr ZR_RowPool<3, size.tokens, size.terms> pool(texts, kWords);
    static_assert(pool.Reach() == 3 && pool.MostTerms() == 4, "reach and width from the rows");
    EXPECT_STREQ(pool.Site(98).name, "ZR_Eqn98");
    EXPECT_STREQ(pool.Site(100).name, "ZR_Eqn100");
    const ZR_RowView row = pool.Site(99);
    ASSERT_EQ(row.tokenCount, 7);
    ASSERT_EQ(row.termCount, 4);
    EXPECT_EQ(row.tokens[0].value, 19);
    EXPECT_EQ(row.terms[3].offset[0], 3);
    EXPECT_EQ(pool.Site(100).termCount, 0);
    EXPECT_EQ(pool.Site(100).tokens[2].real, 0.5);

    const ZR_SiteText gap[] = {{1, "h"}, {3, "h"}};
    EXPECT_THROW(ZR_MeasureRows(gap, kWords), const char*);
}
