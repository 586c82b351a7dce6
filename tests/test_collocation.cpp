// Orthogonal collocation on finite elements: with the nodes at the exact shifted
// Gauss-Legendre points every row is the derivative or integral of the element's
// interpolating polynomial, up to the five decimals of its stored coefficients;
// the element-boundary rows follow the domain's boundary condition.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "field_check.h"
#include "grid.h"
#include "index_sets.h"
#include "linked_fixture.h"

using fieldcheck::Family;
using Grid = grid::Grid1;
using grid::Row;

namespace {

struct Method {
    const char* name;
    int block;
    int points;                 // collocation points per element
    std::vector<double> inner;  // where they lie, as fractions of the element
    int first, last;            // the block's sites
    std::set<int> continuity;   // the rows that state DDX a second time at an element boundary
    int firstNode;              // the row at an element's first node, with a boundary text that is neither
    int firstIntegral;          // the sites from here to the last are integral rows
};

const std::vector<Method>& Methods() {
    static const double r3 = std::sqrt(3.0), r15 = std::sqrt(15.0);
    static const std::vector<Method> methods = {
        {"OCFE2", 9, 1, {0.5}, 64, 73, {69, 70}, 68, 72},
        {"OCFE3", 10, 2, {(3 - r3) / 6, (3 + r3) / 6}, 74, 86, {80, 81}, 79, 84},
        {"OCFE4", 11, 3, {(5 - r15) / 10, 0.5, (5 + r15) / 10}, 87, 102, {94, 95}, 93, 99},
    };
    return methods;
}

void PrintTo(const Method& m, std::ostream* os) { *os << m.name; }

class CollocationMethod : public LinkedTest, public ::testing::WithParamInterface<Method> {};

}  // namespace

// Two sections of different element lengths (one and two elements), second
// derivatives with continuity rows, integrals, both boundary conditions. All
// rows of a block come from the polynomial through the element's P + 2 nodes.
// On a constant field derivative rows vanish to rounding, the coefficients
// adding up to zero exactly, and integral rows give their interval's share of
// the element to within the rounding of their five-decimal weights.
TEST_P(CollocationMethod, RowsAreExactUpToTheElementsDegreeAndFailOneAbove) {
    const Method& m = GetParam();
    const std::vector<Family> families = {{"integral start", {1}, grid::kAnyDegree},
                                          {m.name, index_sets::Range(m.first, m.last), m.points + 1}};
    for (const char* boundary : {"Backward", "Forward"}) {
        SCOPED_TRACE(std::string(m.name) + " " + boundary);
        Grid g;
        g.Method(m.name).Highest(2).Used(2).Integrals({"idx"}).Boundary(boundary);
        g.SectionSpacings({0.5 / (m.points + 1), 0.25 / (m.points + 1)});
        g.Settle().Declare();
        ASSERT_EQ(g.Section(1).NUMELEMENTS.v(), 1);
        ASSERT_EQ(g.Section(2).NUMELEMENTS.v(), 2);
        const std::vector<double> x = fieldcheck::ElementNodes(g.Domain(), m.inner);
        fieldcheck::ExpectExactness(g, {x}, families, 2e-4, 2e-3);

        fieldcheck::Fill(g, {x}, {fieldcheck::Polynomial({1.0})});
        const std::vector<Row> rows = g.Rows();
        const std::vector<fieldcheck::RowValue> values = fieldcheck::EvaluateRows(host, g.firstExpression);
        ASSERT_EQ(values.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(values[i].name + " at " + std::to_string(rows[i].Node()));
            if (rows[i].site >= m.firstIntegral) {
                const double h = g.Section(rows[i].terms.at(1).section).ELEMENTLENGTH.v();
                EXPECT_LE(std::fabs(values[i].residual), 4 * 0.5e-5 * h);
            } else {
                EXPECT_LE(std::fabs(values[i].residual), 1e-14 * values[i].magnitude);
            }
        }
    }
}

// Coverage and the row counts: N elements of P points over S sections,
// ENDNODE = N (P + 1): ENDNODE + 1 first-derivative rows, N P second-derivative
// rows, N - 1 ("Backward") or N - S ("Forward") continuity rows, ENDNODE
// integral rows; each array's nodes covered as the boundary condition intends.
// A boundary text that is neither gives no end row at either end of the
// domain, the first-node row in every element and no continuity rows.
TEST_P(CollocationMethod, RowCountsAndCoverage) {
    const std::vector<std::vector<double>> layouts = {{1.0}, {0.5, 0.25}, {0.5, 0.5, 0.125}};  // elements per unit
    const Method& m = GetParam();
    const int width = m.points + 1;
    for (const auto& layout : layouts) {
        for (const char* boundary : {"Backward", "Forward", "Upwind"}) {
            for (int highest : {1, 2}) {
                SCOPED_TRACE(std::string(m.name) + " " + boundary + " " + std::to_string(layout.size()) +
                             " sections, highest " + std::to_string(highest));
                Grid g;
                std::vector<double> spacing;
                for (double perUnit : layout) spacing.push_back(perUnit / width);
                g.Method(m.name).Highest(highest).Used(2).Integrals({"idx"}).BoundaryUnchecked(boundary);
                g.SectionSpacings(spacing).Settle().Declare();
                const int sections = g.SectionCount();
                int elements = 0;
                std::set<int> joints, inner;  // section joints; element boundaries inside a section
                for (int s = 1; s <= sections; ++s) {
                    const int b = g.Section(s).BASE.v();
                    elements += g.Section(s).NUMELEMENTS.v();
                    if (s > 1) joints.insert(b);
                    for (int j = 1; j < g.Section(s).NUMELEMENTS.v(); ++j) inner.insert(b + j * width);
                }
                const int e = g.EndNode();
                ASSERT_EQ(e, elements * width);
                const std::string text = boundary;
                const bool backward = text == "Backward", neither = text == "Upwind";
                const std::vector<Row> rows = g.Rows();
                int first = 0, continuity = 0, second = 0, integral = 0;
                std::map<int, int> continuityAt;
                for (const Row& r : rows) {
                    if (m.continuity.count(r.site)) {
                        ++continuity;
                        ++continuityAt[r.Node()];
                    } else if (r.subject.array == "DDX") {
                        ++first;
                        if (neither && r.Node() % width == 0) {
                            EXPECT_EQ(r.site, m.firstNode) << "node " << r.Node();
                        }
                    }
                    second += r.subject.array == "D2DX2";
                    integral += r.subject.array == "IDX" && r.site != 1;
                }
                EXPECT_EQ(first, neither ? e : e + 1);
                EXPECT_EQ(second, elements * m.points);
                EXPECT_EQ(continuity, highest != 2 || neither ? 0 : (backward ? elements - 1 : elements - sections));
                EXPECT_EQ(integral, e);
                const grid::Census census(rows);
                for (int n = 0; n <= e; ++n) {
                    SCOPED_TRACE("node " + std::to_string(n));
                    const bool boundaryNode = n % width == 0;
                    int twice = 0;
                    if (highest == 2 && !neither) twice = inner.count(n) || (backward && joints.count(n));
                    EXPECT_EQ(continuityAt[n], twice);
                    EXPECT_EQ(census.Count("DDX", {n}), neither && n == e ? 0 : 1 + twice);
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
