// Orthogonal collocation on finite elements: with the nodes at the exact shifted
// Gauss-Legendre points every row is the derivative or integral of the element's
// interpolating polynomial, up to the five decimals of its stored coefficients;
// the element-boundary rows follow the domain's boundary condition.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "field_check.h"
#include "grid.h"
#include "linked_fixture.h"

using fieldcheck::Family;
using Grid = grid::Grid1;
using grid::Row;
using grid::Sequence;

namespace {

struct Method {
    const char* name;
    int block;
    int points;                 // collocation points per element
    std::vector<double> inner;  // where they lie, as fractions of the element
    std::set<int> continuity;   // the rows that state DDX a second time at an element boundary
};

const std::vector<Method>& Methods() {
    static const double r3 = std::sqrt(3.0), r15 = std::sqrt(15.0);
    static const std::vector<Method> methods = {
        {"OCFE2", 9, 1, {0.5}, {69, 70}},
        {"OCFE3", 10, 2, {(3 - r3) / 6, (3 + r3) / 6}, {80, 81}},
        {"OCFE4", 11, 3, {(5 - r15) / 10, 0.5, (5 + r15) / 10}, {94, 95}},
    };
    return methods;
}

// All rows of a block come from the polynomial through the element's P + 2 nodes.
std::vector<Family> Families(const Method& m) {
    std::vector<int> sites;
    const int first = m.block == 9 ? 64 : (m.block == 10 ? 74 : 87);
    const int last = m.block == 9 ? 73 : (m.block == 10 ? 86 : 102);
    for (int s = first; s <= last; ++s) sites.push_back(s);
    return {{"integral start", {1}, grid::kAnyDegree}, {m.name, sites, m.points + 1}};
}

bool IsIntegral(int site) {
    return (site >= 72 && site <= 73) || (site >= 84 && site <= 86) || (site >= 99 && site <= 102);
}

class Collocation : public LinkedTest {};
class CollocationMethod : public LinkedTest, public ::testing::WithParamInterface<Method> {};

}  // namespace

// Two sections of different element lengths (one and two elements), second
// derivatives with continuity rows, integrals, both boundary conditions.
TEST_P(CollocationMethod, RowsAreExactUpToTheElementsDegreeAndFailOneAbove) {
    const Method& m = GetParam();
    for (const char* boundary : {"Backward", "Forward"}) {
        SCOPED_TRACE(std::string(m.name) + " " + boundary);
        Grid g;
        g.Method(m.name).Highest(2).Used(2).Integrals({"idx"}).Boundary(boundary);
        g.SectionSpacings({0.5 / (m.points + 1), 0.25 / (m.points + 1)});
        g.Settle().Declare();
        ASSERT_EQ(g.Section(1).NUMELEMENTS.v(), 1);
        ASSERT_EQ(g.Section(2).NUMELEMENTS.v(), 2);
        fieldcheck::ExpectExactness(g, {fieldcheck::ElementNodes(g.Domain(), m.inner)}, Families(m), 2e-4, 2e-3);
    }
}

// A constant field: derivative rows vanish to rounding, the coefficients adding
// up to zero exactly; integral rows give their interval's share of the element
// to within the rounding of their five-decimal weights.
TEST_P(CollocationMethod, ConstantsGiveZeroDerivativesAndTheIntervalsShare) {
    const Method& m = GetParam();
    SCOPED_TRACE(m.name);
    Grid g;
    g.Method(m.name).Highest(2).Used(2).Integrals({"idx"}).Spacing(0.5 / (m.points + 1)).Settle().Declare();
    const std::vector<double> x = fieldcheck::ElementNodes(g.Domain(), m.inner);
    fieldcheck::Fill(g, {x}, {fieldcheck::Polynomial({1.0})});
    const std::vector<Row> rows = g.Rows();
    const std::vector<fieldcheck::RowValue> values = fieldcheck::EvaluateRows(host, g.firstExpression);
    ASSERT_EQ(values.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(values[i].name + " at " + std::to_string(rows[i].Node()));
        if (IsIntegral(rows[i].site)) {
            const double h = g.Section(1).ELEMENTLENGTH.v();
            EXPECT_LE(std::fabs(values[i].residual), 4 * 0.5e-5 * h);
        } else {
            EXPECT_LE(std::fabs(values[i].residual), 1e-14 * values[i].magnitude);
        }
    }
}

TEST_F(Collocation, WorkedExamplesOfOneSectionOfTwoElements) {
    for (const char* boundary : {"Backward", "backward"}) {
        Grid g;
        g.Method("OCFE2").Spacing(0.25).Used(1).Boundary(boundary).Settle().Declare(3);
        const std::vector<Row> rows = g.Rows();
        EXPECT_EQ(Sequence(rows), (std::vector<std::string>{"64@0", "66@1", "67@2", "66@3", "67@4"}));
        for (const Row& r : rows) EXPECT_EQ(r.group, 12);
    }
    Grid g;
    g.Method("OCFE2").Spacing(0.25).Used(1).Boundary("Forward").Settle().Declare();
    EXPECT_EQ(Sequence(g.Rows()), (std::vector<std::string>{"65@4", "66@1", "68@0", "66@3", "68@2"}));
}

// Two sections of one element each: with "Backward" the joint gets its second
// row from section 2's element, with "Forward" no continuity row at all.
TEST_F(Collocation, WorkedExamplesOfTwoSectionsOfOneElement) {
    Grid b;
    b.Method("OCFE2").Sections(2).Spacing(0.25).Highest(2).Used(2).Boundary("Backward").Settle().Declare();
    EXPECT_EQ(Sequence(b.Rows()),
              (std::vector<std::string>{"64@0", "66@1", "67@2", "71@1", "66@3", "67@4", "69@2", "71@3"}));
    Grid f;
    f.Method("OCFE2").Sections(2).Spacing(0.25).Highest(2).Used(2).Boundary("Forward").Settle().Declare();
    EXPECT_EQ(Sequence(f.Rows()), (std::vector<std::string>{"66@1", "68@0", "71@1", "65@4", "66@3", "68@2", "71@3"}));
}

TEST_F(Collocation, ForwardContinuityStopsAtTheSectionsLastElement) {
    Grid g;
    g.Method("OCFE2").Spacing(1.0 / 6).Highest(2).Used(2).Boundary("Forward").Settle().Declare();
    ASSERT_EQ(g.EndNode(), 6);
    std::vector<int> at;
    for (const Row& r : g.Rows())
        if (r.site == 70) at.push_back(r.Node());
    EXPECT_EQ(at, (std::vector<int>{2, 4}));
}

TEST_P(CollocationMethod, WithoutSecondOrderInTheDomainOnlyTheSecondDerivativeRows) {
    const Method& m = GetParam();
    SCOPED_TRACE(m.name);
    Grid g;
    g.Method(m.name).Sections(2).Highest(1).Used(2).Settle().Declare();
    ASSERT_EQ(g.dist.HIGHESTORDERXDERIVATIVE.v(), 1);
    int second = 0;
    for (const Row& r : g.Rows()) {
        EXPECT_EQ(m.continuity.count(r.site), 0u) << r.site;
        second += r.subject.array == "D2DX2";
    }
    EXPECT_GT(second, 0);
}

TEST_F(Collocation, IntegralsAlone) {
    Grid g;
    g.Method("OCFE3").Spacing(1.0 / 3).Used(0).Integrals({"idx"}).Settle().Declare(0);
    const std::vector<Row> rows = g.Rows();
    EXPECT_EQ(Sequence(rows), (std::vector<std::string>{"1@0", "84@1", "85@2", "86@3"}));
    for (const Row& r : rows) EXPECT_EQ(r.group, r.site == 1 ? 1 : 10);
}

// A boundary text that is neither: no row at either end of the domain from the
// end rows, the first-node row in every element, no continuity rows.
TEST_P(CollocationMethod, ABoundaryTextThatIsNeither) {
    const Method& m = GetParam();
    SCOPED_TRACE(m.name);
    Grid g;
    g.Method(m.name).Sections(2).Highest(2).Used(2).Integrals({"idx"}).BoundaryUnchecked("Upwind");
    g.Settle().Declare();
    const std::vector<Row> rows = g.Rows();
    const grid::Census census(rows);
    const int e = g.EndNode();
    const int width = m.points + 1;
    for (int n = 0; n <= e; ++n) {
        // Element boundaries but the last get the first-node row; inner nodes their own.
        EXPECT_EQ(census.Count("DDX", {n}), n == e ? 0 : 1) << "node " << n;
    }
    for (const Row& r : rows) {
        EXPECT_EQ(m.continuity.count(r.site), 0u);
        if (r.subject.array == "DDX" && r.Node() % width == 0) {
            const int firstNodeRow = m.block == 9 ? 68 : (m.block == 10 ? 79 : 93);
            EXPECT_EQ(r.site, firstNodeRow) << "node " << r.Node();
        }
    }
}

// Coverage and the row counts: N elements of P points over S sections,
// ENDNODE = N (P + 1): ENDNODE + 1 first-derivative rows, N P second-derivative
// rows, N - 1 ("Backward") or N - S ("Forward") continuity rows, ENDNODE
// integral rows; each array's nodes covered as the boundary condition intends.
TEST_P(CollocationMethod, RowCountsAndCoverage) {
    const std::vector<std::vector<double>> layouts = {{1.0}, {0.5, 0.25}, {0.5, 0.5, 0.125}};  // elements per unit
    const Method& m = GetParam();
    for (const auto& layout : layouts) {
        for (const char* boundary : {"Backward", "Forward"}) {
            for (int highest : {1, 2}) {
                SCOPED_TRACE(std::string(m.name) + " " + boundary + " " + std::to_string(layout.size()) +
                             " sections, highest " + std::to_string(highest));
                Grid g;
                std::vector<double> spacing;
                for (double perUnit : layout) spacing.push_back(perUnit / (m.points + 1));
                g.Method(m.name).Highest(highest).Used(2).Integrals({"idx"}).Boundary(boundary);
                g.SectionSpacings(spacing).Settle().Declare();
                const int sections = g.SectionCount();
                int elements = 0;
                std::set<int> joints, inner;  // section joints; element boundaries inside a section
                for (int s = 1; s <= sections; ++s) {
                    const int b = g.Section(s).BASE.v();
                    elements += g.Section(s).NUMELEMENTS.v();
                    if (s > 1) joints.insert(b);
                    for (int j = 1; j < g.Section(s).NUMELEMENTS.v(); ++j) inner.insert(b + j * (m.points + 1));
                }
                const int e = g.EndNode();
                ASSERT_EQ(e, elements * (m.points + 1));
                const std::vector<Row> rows = g.Rows();
                int first = 0, continuity = 0, second = 0, integral = 0;
                std::map<int, int> continuityAt;
                for (const Row& r : rows) {
                    if (m.continuity.count(r.site)) {
                        ++continuity;
                        ++continuityAt[r.Node()];
                    } else if (r.subject.array == "DDX") {
                        ++first;
                    }
                    second += r.subject.array == "D2DX2";
                    integral += r.subject.array == "IDX" && r.site != 1;
                }
                const bool backward = std::string(boundary) == "Backward";
                EXPECT_EQ(first, e + 1);
                EXPECT_EQ(second, elements * m.points);
                EXPECT_EQ(continuity, highest != 2 ? 0 : (backward ? elements - 1 : elements - sections));
                EXPECT_EQ(integral, e);
                const grid::Census census(rows);
                for (int n = 0; n <= e; ++n) {
                    SCOPED_TRACE("node " + std::to_string(n));
                    const bool boundaryNode = n % (m.points + 1) == 0;
                    int twice = 0;
                    if (highest == 2) twice = backward ? (inner.count(n) || joints.count(n)) : inner.count(n) != 0;
                    EXPECT_EQ(continuityAt[n], twice);
                    EXPECT_EQ(census.Count("DDX", {n}), 1 + twice);
                    EXPECT_EQ(census.Count("D2DX2", {n}), boundaryNode ? 0 : 1);
                    EXPECT_EQ(census.Count("IDX", {n}), 1);  // node 0: the start row
                    if (highest == 2) {
                        EXPECT_EQ(g.dist.ZR_D2DX2_SET1.v() >= n, !boundaryNode);
                    }
                }
                grid::ExpectInsideIndexSets(g, rows);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, CollocationMethod, ::testing::ValuesIn(Methods()),
                         [](const ::testing::TestParamInfo<Method>& info) { return std::string(info.param.name); });
