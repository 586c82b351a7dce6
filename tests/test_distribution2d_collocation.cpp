// Orthogonal collocation in two dimensions, both directions: with the nodes at
// the exact shifted Gauss-Legendre points every row is the derivative or
// integral of its element's polynomial up to the five decimals of its stored
// coefficients, beside collocation or a finite difference in the other
// direction; each block reads its own domain's boundary condition and highest
// order, keeps its rows to the lines the other direction's interior allows, and
// gives on every line what the one-dimensional distribution gives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "field_check.h"
#include "grid.h"
#include "index_sets.h"
#include "linked_fixture.h"

using fieldcheck::Family;
using fieldcheck::Polynomial;
using grid::kX;
using grid::kY;
using grid::Row;
using Grid = grid::Grid2;

namespace {

struct Method {
    const char* name;
    int points;                 // collocation points per element
    std::vector<double> inner;  // where they lie, as fractions of the element
    int block;                  // the x block's group offset; the y block's is one more
    int xFirst, yFirst, yLast;  // the x block's sites run to yFirst - 1
    std::set<int> continuity;   // the second one-sided rows at element ends, both blocks
    bool xSecondFirst;          // whether the x block puts the collocation rows before those
    int lineFirst;              // the one-dimensional distribution's first site of the method
    // The worked example: its direction and boundary text, and the rows (site,
    // node along that direction) of each line.
    int exampleAxis;
    const char* exampleBoundary;
    std::vector<std::pair<int, int>> example;
    int Width() const { return points + 1; }
};

const std::vector<Method>& Methods() {
    static const double r3 = std::sqrt(3.0), r15 = std::sqrt(15.0);
    static const std::vector<Method> methods = {
        {"OCFE2", 1, {0.5}, 18, 147, 157, 168, {153, 154, 162, 163}, true, 64, kX, "Forward",
         {{148, 2}, {149, 1}, {151, 0}}},
        {"OCFE3", 2, {(3 - r3) / 6, (3 + r3) / 6}, 20, 169, 182, 197, {175, 176, 190, 191}, false, 74, kY,
         "Backward", {{182, 0}, {184, 1}, {185, 2}, {186, 3}}},
        {"OCFE4", 3, {(5 - r15) / 10, 0.5, (5 + r15) / 10}, 22, 198, 214, 233, {205, 206, 224, 225}, false, 87, kX,
         "backward", {{198, 0}, {200, 1}, {201, 2}, {202, 3}, {203, 4}}},
    };
    return methods;
}

// Spacing preferences that give each section of a unit domain the elements asked.
std::vector<double> Layout(const Method& m, const std::vector<int>& elements) {
    std::vector<double> spacings;
    for (int e : elements) spacings.push_back(1.0 / static_cast<double>(elements.size()) / (e * m.Width()));
    return spacings;
}

void PrintTo(const Method& m, std::ostream* os) { *os << m.name; }

// Relative to the magnitude of a row's terms: the five-decimal weights of the
// shortest intervals' integrals miss by up to about 2.5e-4 on cubic fields.
constexpr double kExact = 3e-4;
constexpr double kClear = 2e-3;

const Family kStarts{"integral starts", {1, 2, 3, 4}, grid::kAnyDegree};

class Collocation2DMethod : public LinkedTest, public ::testing::WithParamInterface<Method> {};

}  // namespace

// Collocation in both directions, boundary conditions crossed, and beside BFD1
// (exact for straight lines) in either direction. Sections of one and two
// elements in x, of two and one in y, so a row with the other direction's h or
// node shows.
TEST_P(Collocation2DMethod, RowsAreExactUpToTheElementsDegreeAndFailOneAbove) {
    const Method& m = GetParam();
    const Family own[2] = {{"x collocation", index_sets::Range(m.xFirst, m.yFirst - 1), m.Width(), kX},
                           {"y collocation", index_sets::Range(m.yFirst, m.yLast), m.Width(), kY}};
    const Family bfd1[2] = {{"x BFD1", index_sets::Range(5, 9), 1, kX}, {"y BFD1", index_sets::Range(10, 15), 1, kY}};
    const std::vector<int> elements[2] = {{1, 2}, {2, 1}};
    struct Case {
        bool collocation[2];
        const char* boundary[2];
    };
    for (const Case& c : {Case{{true, true}, {"Backward", "Forward"}}, Case{{true, true}, {"Forward", "Backward"}},
                          Case{{true, false}, {"Backward", "Forward"}}, Case{{false, true}, {"Forward", "Backward"}}}) {
        host.Reset();
        Grid g;
        g.Highest(2).Used(2).Integrals({"idx", "idy", "idxdy"});
        for (int a : {kX, kY}) {
            g.Method(a, c.collocation[a] ? m.name : "BFD1").Boundary(a, c.boundary[a]);
            g.SectionSpacings(a, c.collocation[a] ? Layout(m, elements[a]) : std::vector<double>{1.0 / 6, 1.0 / 8});
        }
        SCOPED_TRACE(std::string("x ") + (c.collocation[kX] ? m.name : "BFD1") + " " + c.boundary[kX] + ", y " +
                     (c.collocation[kY] ? m.name : "BFD1") + " " + c.boundary[kY]);
        g.Settle().Declare();
        fieldcheck::Coordinates x;
        std::vector<Family> families = {kStarts};
        for (int a : {kX, kY}) {
            x.push_back(c.collocation[a] ? fieldcheck::ElementNodes(g.Domain(a), m.inner)
                                         : fieldcheck::UniformNodes(g.Domain(a)));
            families.push_back(c.collocation[a] ? own[a] : bfd1[a]);
        }
        fieldcheck::ExpectExactness(g, x, families, kExact, kClear);
    }
}

// The rows of each block on every line against the one-dimensional
// distribution over the same domain: two sections of different element lengths,
// second derivatives with their element-end rows, integrals, each boundary text.
// The other direction's domain has a highest order of 1, so its interior holds
// every inner node and every line carries all the rows.
TEST_P(Collocation2DMethod, EveryLineGivesWhatOneDimensionGives) {
    const Method& m = GetParam();
    const std::vector<Polynomial> factors = {Polynomial({0.5, -1.0, 2.0, 0.0, 1.0, -3.0, 0.0, 2.0}, 0.2),
                                             Polynomial({1.0, 0.5, -2.0, 1.0, 0.0, 2.5, 1.0}, 0.4)};
    for (const int axis : {kX, kY}) {
        for (const char* boundary : {"Backward", "Forward", "Upwind"}) {
            SCOPED_TRACE(std::string(m.name) + (axis == kX ? " x " : " y ") + boundary);
            host.Reset();
            const int other = 1 - axis;
            Grid g;
            g.Method(m.name).Used(2).Integrals({"idx", "idy", "idxdy"}).BoundaryUnchecked(boundary);
            g.SectionSpacings(axis, Layout(m, {1, 2})).Highest(axis, 2);
            g.SectionSpacings(other, Layout(m, {2})).Highest(other, 1);
            g.Settle().Declare();
            grid::Grid1 line;
            line.Method(m.name).Used(2).Integrals({"idx"}).BoundaryUnchecked(boundary);
            line.SectionSpacings(Layout(m, {1, 2})).Highest(2).Settle().Declare();
            ASSERT_EQ(line.EndNode(), g.EndNode(axis));
            const fieldcheck::Coordinates x = {fieldcheck::ElementNodes(g.Domain(kX), m.inner),
                                               fieldcheck::ElementNodes(g.Domain(kY), m.inner)};
            EXPECT_GT(fieldcheck::ExpectAgreesAlongAxis(g, axis, line, x, factors, {}, 1e-12), 0);

            // On every line each array's rows, the second rows at element ends
            // aside, stand at the nodes in the order one dimension gives them.
            const std::map<std::string, std::string> lower =
                axis == kX ? std::map<std::string, std::string>{{"DDX", "DDX"}, {"D2DX2", "D2DX2"}, {"IDX", "IDX"}}
                           : std::map<std::string, std::string>{
                                 {"DDY", "DDX"}, {"D2DY2", "D2DX2"}, {"IDY", "IDX"}, {"IDXDY", "IDX"}};
            std::map<std::string, std::vector<int>> expected;
            for (const Row& r : line.Rows())
                if (r.site != m.lineFirst + m.points + 4 && r.site != m.lineFirst + m.points + 5)
                    expected[r.subject.array].push_back(r.Node());
            std::map<std::pair<std::string, int>, std::vector<int>> lines;  // by array and line
            for (const Row& r : g.Rows())
                if (r.record < line.firstExpression && lower.count(r.subject.array) && !m.continuity.count(r.site))
                    lines[{r.subject.array, r.Node(other)}].push_back(r.Node(axis));
            EXPECT_EQ(lines.size(), lower.size() * static_cast<std::size_t>(g.EndNode(other) + 1));
            for (const auto& [at, nodes] : lines)
                EXPECT_EQ(nodes, expected[lower.at(at.first)]) << at.first << " on line " << at.second;
        }
    }
}

namespace {

// The rows of one block in a settled grid against what its own domain, its
// guards and the other direction's interior call for: node by node on every
// line, in number by the closed forms, in group, and in order.
void ExpectBlock(const Method& m, Grid& g, int axis, int used, const char* boundary, bool integral,
                 const std::vector<Row>& rows) {
    const int w = m.Width(), other = 1 - axis, end = g.EndNode(axis), sections = g.SectionCount(axis);
    const std::string l = axis == kX ? "X" : "Y";
    const int highest = axis == kX ? g.dist.HIGHESTORDERXDERIVATIVE.v() : g.dist.HIGHESTORDERYDERIVATIVE.v();
    const bool backward = SUValue::CompareCI("Backward", boundary) == 0;
    const bool forward = SUValue::CompareCI("Forward", boundary) == 0;
    const bool continuity = used > 1 && highest == 2 && (backward || forward);
    int elements = 0;
    std::set<int> joints;
    for (int s = 1; s <= sections; ++s) {
        elements += g.Section(axis, s).NUMELEMENTS.v();
        if (s > 1) joints.insert(g.Section(axis, s).BASE.v());
    }
    const index_sets::Ints ends = index_sets::NodesWithEnds(g.Domain(other));
    const std::set<int> lines(ends.begin(), ends.end());  // {0} ∪ the other domain's interior ∪ {its last node}

    const grid::Census census(rows);
    for (int line = 0; line <= g.EndNode(other); ++line) {
        for (int n = 0; n <= end; ++n) {
            const std::vector<int> at = axis == kX ? std::vector<int>{n, line} : std::vector<int>{line, n};
            const bool boundaryNode = n % w == 0;
            // "Backward": a second row at every inner element end; "Forward": not at section joints.
            const bool twice = continuity && boundaryNode && n > 0 && n < end && (backward || !joints.count(n)) &&
                               (axis == kX || lines.count(line));
            const bool first = used > 0 && (backward || forward || n != end);
            EXPECT_EQ(census.Count("DD" + l, at), first + twice) << l << " node " << n << " on line " << line;
            EXPECT_EQ(census.Count("D2D" + l + "2", at), used > 1 && !boundaryNode && lines.count(line))
                << l << " node " << n << " on line " << line;
            EXPECT_EQ(census.Count("ID" + l, at), integral ? 1 : 0) << l << " node " << n << " on line " << line;
        }
    }

    // In one pass over the block's rows: the counts by kind; the first
    // derivatives and the integrals line by line; the second step element by
    // element, with an element's collocation rows before its second rows in the
    // x block of OCFE2 and the y blocks of OCFE3 and OCFE4, after them otherwise.
    const int firstSite = axis == kX ? m.xFirst : m.yFirst, lastSite = axis == kX ? m.yFirst - 1 : m.yLast;
    const bool secondFirst = (axis == kX) == m.xSecondFirst;
    int count[5] = {}, lastLine[4] = {-1, -1, -1, -1};
    std::pair<int, int> lastElement{-1, 0};
    for (const Row& r : rows) {
        if (r.site < firstSite || r.site > lastSite) continue;
        EXPECT_EQ(r.group, 100 + m.block + axis) << "ZR_Eqn" << r.site;
        const std::string& array = r.subject.array;
        const int n = r.Node(axis);
        const int kind = m.continuity.count(r.site) ? 1
                         : array == "DD" + l       ? 0
                         : array == "D2D" + l + "2" ? 2
                         : array == "ID" + l       ? 3
                                                   : 4;  // IDXDY
        ++count[kind];
        if (kind == 0 || kind == 3) {
            EXPECT_LE(lastLine[kind], r.Node(other)) << "ZR_Eqn" << r.site << " at " << r.subject.Name();
            lastLine[kind] = r.Node(other);
        } else if (kind != 4) {
            const int start = kind == 1 ? (backward ? n : n - w) : n - n % w;  // the row's element
            const std::pair<int, int> element{start, (kind == 1) == secondFirst};
            EXPECT_LE(lastElement, element) << "ZR_Eqn" << r.site << " at " << r.subject.Name();
            lastElement = element;
        }
    }
    const int allLines = g.EndNode(other) + 1, someLines = static_cast<int>(lines.size());
    EXPECT_EQ(count[0], used > 0 ? allLines * (w * elements + (backward || forward)) : 0);
    const int secondRows = backward ? elements - 1 : elements - sections;  // per line
    EXPECT_EQ(count[1], continuity ? (axis == kX ? allLines : someLines) * secondRows : 0);
    EXPECT_EQ(count[2], used > 1 ? someLines * m.points * elements : 0);
    EXPECT_EQ(count[3], integral ? allLines * w * elements : 0);
}

}  // namespace

// Random layouts, boundary texts (either valid value, another letter case, a
// text that is neither), domain orders and derivative orders in use, for each
// direction on its own: "Backward" gives every inner element end a second row,
// section joints included; "Forward" all but the section joints; the y block's
// second rows and the collocation rows of both stand on the other direction's
// interior lines only.
TEST_P(Collocation2DMethod, CensusOverRandomConfigurations) {
    const Method& m = GetParam();
    int checked = 0;
    for (std::uint32_t seed = 1; checked < 40 && seed < 400; ++seed) {
        grid::Setup c = grid::DrawSetup(5000u * static_cast<std::uint32_t>(m.points) + seed, 2);
        for (grid::AxisSetup& x : c.axes) x.method = m.name;
        SCOPED_TRACE(c.Describe());
        host.Reset();
        Grid g;
        if (!grid::Configure(g, c)) continue;
        ++checked;
        g.Declare();
        const std::vector<Row> rows = g.Rows();
        ExpectBlock(m, g, kX, g.dist.HIGHESTORDERXDERIVATIVEUSED.v(), c.axes[kX].boundary,
                    c.Has("idx") || c.Has("idxdy"), rows);
        ExpectBlock(m, g, kY, g.dist.HIGHESTORDERYDERIVATIVEUSED.v(), c.axes[kY].boundary, c.Has("idy"), rows);
        const grid::Census census(rows);
        for (int i = 0; i <= g.EndNode(kX); ++i)
            for (int j = 0; j <= g.EndNode(kY); ++j)
                EXPECT_EQ(census.Count("IDXDY", {i, j}), c.Has("idxdy") ? 1 : 0) << i << "," << j;
        grid::ExpectInsideIndexSets(g, rows);
        for (const std::string& e : host.errors) ADD_FAILURE() << "host error: " << e;
        host.errors.clear();
        if (HasFailure()) break;  // the first configuration that fails is the one to read
    }
    EXPECT_EQ(checked, 40) << "too few configurations within the node limit";
}

// One element, first derivatives only, in the example's direction; the other
// direction BFD1 over three lines with no rows of its own. The end row of the
// last section comes before that section's element rows.
TEST_P(Collocation2DMethod, WorkedExampleOfOneElement) {
    const Method& m = GetParam();
    const int axis = m.exampleAxis, other = 1 - axis;
    Grid g;
    g.Method(axis, m.name).SectionSpacings(axis, Layout(m, {1})).Used(axis, 1);
    g.Method(other, "BFD1").Spacing(other, 0.5).Used(other, 0).BoundaryUnchecked(m.exampleBoundary);
    g.Settle().Declare();
    std::vector<std::string> expected;
    for (int l = 0; l <= 2; ++l)
        for (const auto& [site, n] : m.example)
            expected.push_back(std::to_string(site) + "@" + std::to_string(axis == kX ? n : l) + "," +
                               std::to_string(axis == kX ? l : n));
    const std::vector<Row> rows = g.Rows();
    EXPECT_EQ(grid::Sequence(rows), expected);
    for (const Row& r : rows) EXPECT_EQ(r.group, 100 + m.block + axis) << "ZR_Eqn" << r.site;
}

INSTANTIATE_TEST_SUITE_P(Methods, Collocation2DMethod, ::testing::ValuesIn(Methods()),
                         [](const ::testing::TestParamInfo<Method>& info) { return std::string(info.param.name); });
