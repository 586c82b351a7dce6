// The seven finite-difference methods: every row vanishes on the polynomials its
// stencil is exact for, the rows cover each array's nodes as the methods intend,
// each joint row carries its own section's spacing, and CFD4's joints compare
// the spacings exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ostream>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "field_check.h"
#include "grid.h"
#include "linked_fixture.h"

using fieldcheck::Family;
using Grid = grid::Grid1;
using grid::Row;
using grid::Join;
using grid::Span;
using grid::Sequence;

namespace {

const char* const kMethods[] = {"BFD1", "BFD2", "FFD1", "FFD2", "CFD2", "CFD4", "UBFD4"};

// Degrees from the stencils: two-point differences and the trapezoid are exact
// for lines, three-point first differences and the quadratic element integrals
// for parabolas, the three-point second difference (symmetric) for cubics, the
// five-point rows for quartics, the symmetric five-point second difference for
// quintics. A joint row over two spacings h(s+1) + h is a central difference
// only when the spacings are equal.
std::vector<Family> Families(bool equalSpacings) {
    return {
        {"integral start", {1}, grid::kAnyDegree},
        {"two-point first differences", {2, 3, 5, 14, 15, 17}, 1},
        {"trapezoid integrals", {6, 18}, 1},
        {"three-point first differences", {7, 8, 9, 11, 19, 20, 21, 23, 26, 27, 28, 31, 36, 42}, 2},
        {"three-point second differences", {4, 10, 16, 22, 30}, 3},
        {"quadratic element integrals", {12, 13, 24, 25, 32, 33}, 2},
        {"five-point first differences", {34, 35, 37, 38, 39, 40, 43, 51, 52, 53, 54, 55, 59}, 4},
        {"five-point one-sided second differences", {44, 46, 56, 58}, 4},
        {"five-point central second differences", {45, 57}, 5},
        {"quartic element integrals", {47, 48, 49, 50, 60, 61, 62, 63}, 4},
        {"differences across a joint", {29, 41}, equalSpacings ? 2 : 1},
    };
}

int Count(const std::vector<Row>& rows, int site) {
    int n = 0;
    for (const Row& r : rows) n += r.site == site;
    return n;
}

class FiniteDifferences : public LinkedTest {};
class FiniteDifferenceMethod : public LinkedTest, public ::testing::WithParamInterface<const char*> {};

// Three sections of different spacing (4, 8 and 12 nodes, so every method's
// elements fit), and two of equal spacing for the rows that reach across.
TEST_P(FiniteDifferenceMethod, EveryRowIsExactForItsDegreeAndNoMore) {
    const char* method = GetParam();
    for (int used : {1, 2}) {
        for (bool equal : {false, true}) {
            SCOPED_TRACE(std::string(method) + " used " + std::to_string(used) +
                         (equal ? ", equal spacings" : ", unequal spacings"));
            Grid g;
            g.Method(method).Highest(used).Used(used).Integrals({"idx"});
            if (equal) {
                g.Sections(2);
            } else {
                g.SectionSpacings({1.0 / 12, 1.0 / 24, 1.0 / 36});
            }
            g.Settle().Declare();
            if (!equal) {
                ASSERT_NE(g.Section(1).ELEMENTLENGTH.v(), g.Section(2).ELEMENTLENGTH.v());
                ASSERT_NE(g.Section(2).ELEMENTLENGTH.v(), g.Section(3).ELEMENTLENGTH.v());
            }
            fieldcheck::ExpectExactness(g, fieldcheck::UniformNodes(g), Families(equal), 1e-12, 1e-7);
        }
    }
}

// With first derivatives only every node has one DDX row; with second
// derivatives each joint has a second one, from the section on its other side,
// and every interior node its D2DX2 row; with "idx" every node but 0 has its
// integral row and node 0 the start row. No row reaches outside an index set.
TEST_P(FiniteDifferenceMethod, RowsCoverEveryNodeOnceAndJointsTwice) {
    const char* method = GetParam();
    for (int used : {1, 2}) {
        SCOPED_TRACE(std::string(method) + " used " + std::to_string(used));
        Grid g;
        g.Method(method).Highest(used).Used(used).Integrals({"idx"}).SectionSpacings({1.0 / 12, 1.0 / 24, 1.0 / 36});
        g.Settle().Declare();
        const std::vector<Row> rows = g.Rows();
        const grid::Census census(rows);
        const int e = g.EndNode();
        std::set<int> joints;
        for (int s = 2; s <= g.SectionCount(); ++s) joints.insert(g.Section(s).BASE.v());
        for (int n = 0; n <= e; ++n) {
            SCOPED_TRACE("node " + std::to_string(n));
            const bool joint = joints.count(n) != 0;
            EXPECT_EQ(census.Count("DDX", {n}), used == 2 && joint ? 2 : 1);
            const bool interior = g.dist.ZR_D2DX2_SET1.v() >= n;
            EXPECT_EQ(census.Count("D2DX2", {n}), interior ? 1 : 0);
            if (used == 2) {
                EXPECT_EQ(interior, n != 0 && n != e && !joint);
            }
            EXPECT_EQ(census.Count("IDX", {n}), 1);
        }
        EXPECT_EQ(rows.front().site, 1);
        grid::ExpectInsideIndexSets(g, rows);  // and so no row past the nodes counted
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, FiniteDifferenceMethod, ::testing::ValuesIn(kMethods),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

// Three sections of different spacing: the joint rows of each method, each with
// the spacing of the section whose loop declares it.
struct OneSided {
    const char* method;
    int block;
    std::vector<int> firstOnly, lastOnly, everySection, atJointFromRight, atJointFromLeft;
};

void PrintTo(const OneSided& c, std::ostream* os) { *os << c.method; }

class OneSidedJoints : public LinkedTest, public ::testing::WithParamInterface<OneSided> {};

TEST_P(OneSidedJoints, JointRowsCarryTheSpacingOfTheirSection) {
    const OneSided& c = GetParam();
    Grid g;
    g.Method(c.method).Highest(2).Used(2).SectionSpacings({1.0 / 12, 1.0 / 24, 1.0 / 36}).Settle().Declare(0);
    const std::vector<Row> rows = g.Rows();
    for (int site : c.firstOnly) EXPECT_EQ(Count(rows, site), 1);
    for (int site : c.lastOnly) EXPECT_EQ(Count(rows, site), 1);
    for (int site : c.everySection) EXPECT_EQ(Count(rows, site), 3);
    for (const Row& r : rows) {
        EXPECT_EQ(r.group, c.block);
        // The section a row's spacing belongs to, and where that section lies.
        const grid::Term& h = r.terms.at(1);
        ASSERT_TRUE(h.parameter && h.array == "ELEMENTLENGTH" && h.axis == grid::kX) << h.text;
        const int s = h.section;
        ASSERT_EQ(h.index, std::vector<int>{s}) << h.text;
        const int b = g.Section(s).BASE.v();
        const int e = b + g.Section(s).NODECOUNT.v();
        EXPECT_TRUE(r.Node() >= b && r.Node() <= e) << "ZR_Eqn" << r.site << " at " << r.Node() << " with " << h.text;
        for (int site : c.firstOnly) EXPECT_TRUE(r.site != site || (s == 1 && r.Node() == 0));
        for (int site : c.lastOnly) EXPECT_TRUE(r.site != site || (s == 3 && r.Node() == g.EndNode()));
        for (int site : c.atJointFromRight) EXPECT_TRUE(r.site != site || (s > 1 && r.Node() == b));
        for (int site : c.atJointFromLeft) EXPECT_TRUE(r.site != site || (s < 3 && r.Node() == e));
    }
    for (int site : c.atJointFromRight) EXPECT_EQ(Count(rows, site), 2);
    for (int site : c.atJointFromLeft) EXPECT_EQ(Count(rows, site), 2);
}

INSTANTIATE_TEST_SUITE_P(Methods, OneSidedJoints,
                         ::testing::Values(OneSided{"BFD1", 2, {2}, {}, {}, {5}, {}},
                                           OneSided{"BFD2", 3, {7}, {}, {8}, {11}, {}},
                                           OneSided{"FFD1", 4, {}, {15}, {}, {}, {17}},
                                           OneSided{"FFD2", 5, {}, {21}, {20}, {}, {23}}),
                         [](const ::testing::TestParamInfo<OneSided>& info) { return std::string(info.param.method); });

// The joint rows of CFD4 hang on an exact comparison of the two sections'
// spacings: equal spacings give the five-point rows across the joint, spacings
// one unit in the last place apart or not a number the rows for unequal ones.
TEST_F(FiniteDifferences, Cfd4JointsCompareSpacingsExactly) {
    const std::vector<std::string> equal =
        Join({{"34@0", "35@1"}, Span(38, 2, 6), {"43@7", "43@8", "37@9"}, Span(38, 10, 14), {"39@16", "40@15"}});
    const std::vector<std::string> unequal =
        Join({{"34@0", "35@1"}, Span(38, 2, 6), {"41@8", "42@7", "36@9"}, Span(38, 10, 14), {"39@16", "40@15"}});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* label;
        double h1, h2;  // 0: as the domain placed it
        const std::vector<std::string>& expected;
    };
    const double h = 0.0625;
    const std::vector<Case> cases = {
        {"equal", 0, 0, equal},
        {"one ulp apart", 0, std::nextafter(h, 1.0), unequal},
        {"one ulp apart, below", std::nextafter(h, 0.0), 0, unequal},
        {"the first not a number", nan, 0, unequal},
        {"both not a number", nan, nan, unequal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Grid g;
        g.Method("CFD4").Sections(2).Used(1).Settle();
        ASSERT_EQ(g.Section(1).ELEMENTLENGTH.v(), h);
        ASSERT_EQ(g.Section(2).ELEMENTLENGTH.v(), h);
        for (int s : {1, 2}) {
            const double value = s == 1 ? c.h1 : c.h2;
            if (value != 0 || std::isnan(value)) {
                ASSERT_EQ(g.Section(s).ELEMENTLENGTH.SetUserValue(ZR_Value(value, 0)), 0);
            }
        }
        g.Declare();
        const std::vector<Row> rows = g.Rows();
        EXPECT_EQ(Sequence(rows), c.expected);
        for (const Row& r : rows) {
            if (r.site == 43 && r.Node() == 8) {
                EXPECT_EQ(r.Names(), (std::vector<std::string>{"DDX(8)", "XDOMAIN.SECTION(1).ELEMENTLENGTH", "VALUE(10)",
                                                               "VALUE(6)", "VALUE(7)", "VALUE(9)"}));
            }
            if (r.site == 37) {
                EXPECT_EQ(r.Names(), (std::vector<std::string>{"DDX(9)", "XDOMAIN.SECTION(2).ELEMENTLENGTH", "VALUE(11)",
                                                               "VALUE(7)", "VALUE(8)", "VALUE(10)"}));
            }
        }
    }
}

}  // namespace
