// Rows written as formulas become the prefix streams the host receives.
#include <gtest/gtest.h>

#include <string>

#include "frame/formula.h"

namespace {

std::string Stream(const ZR_Formula& f) {
    std::string out;
    for (const ZR_RowToken& t : f) {
        if (!out.empty()) out += ' ';
        switch (t.kind) {
        case ZR_RowTokenKind::Op: out += "[" + std::to_string(t.value) + "]"; break;
        case ZR_RowTokenKind::Int: out += std::to_string(t.value); break;
        case ZR_RowTokenKind::Real: out += "r" + std::to_string(t.real); break;
        case ZR_RowTokenKind::Term:
            out += t.name;
            if (t.argc) {
                out += '(';
                for (int a = 0; a < t.argc; ++a) {
                    if (a) out += ',';
                    out += t.letter[a];
                    if (t.offset[a] > 0) out += "+" + std::to_string(t.offset[a]);
                    if (t.offset[a] < 0) out += std::to_string(t.offset[a]);
                }
                out += ')';
            }
            break;
        }
    }
    return out;
}

}  // namespace

TEST(Formula, PrefixOrderFollowsThePreOrderOfTheTree) {
    constexpr ZR_Formula eqn3 = ZR_ParseFormula("(DDX(i) * h) + (VALUE(i-1) - VALUE(i))");
    EXPECT_EQ(Stream(eqn3), "[19] [21] DDX(i) h [20] VALUE(i-1) VALUE(i)");
    constexpr ZR_Formula eqn4 =
        ZR_ParseFormula("(D2DX2(i) * square(h)) - ((VALUE(i-1) - (2 * VALUE(i))) + VALUE(i+1))");
    EXPECT_EQ(Stream(eqn4), "[20] [21] D2DX2(i) [40] h [19] [20] VALUE(i-1) [21] 2 VALUE(i) VALUE(i+1)");
    constexpr ZR_Formula eqn7 =
        ZR_ParseFormula("(2 * (DDX(b) * h)) + (VALUE(b+2) - ((-3 * VALUE(b)) + (4 * VALUE(b+1))))");
    EXPECT_EQ(Stream(eqn7), "[19] [21] 2 [21] DDX(b) h [20] VALUE(b+2) [19] [21] -3 VALUE(b) [21] 4 VALUE(b+1)");
    constexpr ZR_Formula eqn1 = ZR_ParseFormula("start(IDX(0))");
    EXPECT_EQ(eqn1.Size(), 2);
    EXPECT_EQ(eqn1[0].value, 1);
    constexpr ZR_Formula twoD = ZR_ParseFormula("DDX(i, j+1) * h(s+1)");
    EXPECT_EQ(Stream(twoD), "[21] DDX(i,j+1) h(s+1)");
}

TEST(Formula, RealConstantsAreTheNearestDoubles) {
    constexpr ZR_Formula f = ZR_ParseFormula("(0.08333333333333333 * 0.001388888888888889) + (0.5 - 21.33334)");
    EXPECT_EQ(f[1].kind, ZR_RowTokenKind::Op);
    EXPECT_EQ(f[2].real, 0.08333333333333333);
    EXPECT_EQ(f[3].real, 0.001388888888888889);
    EXPECT_EQ(f[5].real, 0.5);
    EXPECT_EQ(f[6].real, 21.33334);
    EXPECT_EQ(ZR_ParseFormula("-0.04166")[0].real, -0.04166);
    EXPECT_EQ(ZR_ParseFormula("1.0")[0].kind, ZR_RowTokenKind::Real);
    EXPECT_EQ(ZR_ParseFormula("-19")[0].kind, ZR_RowTokenKind::Int);
}

TEST(Formula, TheTermsAloneAreThoseOfTheStreamInOrder) {
    constexpr ZR_Formula eqn7 =
        ZR_ParseFormula("(2 * (DDX(b) * h)) + (VALUE(b+2) - ((-3 * VALUE(b)) + (4 * VALUE(b+1))))");
    std::string terms;
    for (int i = 0; i < eqn7.TermCount(); ++i) {
        const ZR_RowToken& t = eqn7.Term(i);
        terms += std::string(terms.empty() ? "" : " ") + t.name + (t.argc ? std::to_string(t.offset[0]) : "");
    }
    EXPECT_EQ(terms, "DDX0 h VALUE2 VALUE0 VALUE1");
    EXPECT_EQ(ZR_ParseFormula("2 * 0.5").TermCount(), 0);
}
