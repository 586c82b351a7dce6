// Orthogonal collocation in three dimensions, each direction's block on its own.
// With the nodes at the exact shifted Gauss-Legendre points every row is a
// derivative or an interval integral of the element's interpolating polynomial,
// up to the five decimals of its stored weights; the rows cover the elements
// that the boundary condition and the line sets of the other directions give
// them; and on every line (plane) they give the values that the one- (two-)
// dimensional distribution gives there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "field_check.h"
#include "grid.h"
#include "index_sets.h"
#include "linked_fixture.h"

using fieldcheck::Family;
using fieldcheck::Polynomial;
using grid::kX;
using grid::kY;
using grid::kZ;
using grid::Row;

namespace {

struct Method {
    const char* name;
    int points;                 // collocation points per element
    std::vector<double> inner;  // where they lie, as fractions of the element
    int first[3];               // the first site of the x, y and z blocks
};

const std::vector<Method>& Methods() {
    static const double r3 = std::sqrt(3.0), r15 = std::sqrt(15.0);
    static const std::vector<Method> methods = {
        {"OCFE2", 1, {0.5}, {266, 276, 288}},
        {"OCFE3", 2, {(3 - r3) / 6, (3 + r3) / 6}, {304, 317, 333}},
        {"OCFE4", 3, {(5 - r15) / 10, 0.5, (5 + r15) / 10}, {355, 371, 391}},
    };
    return methods;
}

void PrintTo(const Method& m, std::ostream* os) { *os << m.name; }

// The weights are stored to five decimals: a row whose terms nearly cancel,
// where the field changes sign within the element, keeps a few parts in ten
// thousand of their magnitude; one degree above, rows miss by percents.
constexpr double kExact = 3e-4;
constexpr double kClear = 2e-2;

const Method* Collocation(const std::string& name) {
    for (const Method& m : Methods())
        if (name == m.name) return &m;
    return nullptr;
}

// Every block keeps its sites in one order: the rows at the domain's first and
// last node, the P collocation rows, the rows at an element's last and first
// node, the P second-derivative rows, the two element-joint rows, then P + 1
// interval rows for each integral it builds.
const std::vector<std::vector<std::string>> kIntegralsOf = {
    {"IDX"}, {"IDY", "IDXDY"}, {"IDZ", "IDXDZ", "IDYDZ", "IDXDYDZ"}};

struct Block {
    int first, second, joints, integrals, last;
};

Block Layout(const Method& m, int axis) {
    const int f = m.first[axis], p = m.points;
    const int integrals = f + 6 + 2 * p;
    return {f, f + 4 + p, f + 4 + 2 * p, integrals,
            integrals + static_cast<int>(kIntegralsOf[axis].size()) * (p + 1) - 1};
}

std::string Letter(int axis) { return std::string(1, "XYZ"[axis]); }
std::string Derivative(int axis) { return "DD" + Letter(axis); }
std::string Second(int axis) { return "D2D" + Letter(axis) + "2"; }

// The array a site of the block defines.
std::string SubjectOf(const Method& m, int axis, int site) {
    const Block b = Layout(m, axis);
    if (site < b.second || (site >= b.joints && site < b.integrals)) return Derivative(axis);
    if (site < b.joints) return Second(axis);
    return kIntegralsOf[axis][(site - b.integrals) / (m.points + 1)];
}

// All rows of a block come from the polynomial through the element's P + 2
// nodes along the block's direction; the start rows hold for any field.
std::vector<Family> Families(const Method& m, const std::vector<int>& axes) {
    std::vector<Family> families = {{"integral starts", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, grid::kAnyDegree}};
    static const char* const kLabels[] = {"x block", "y block", "z block"};
    for (int a : axes) {
        std::vector<int> sites;
        for (int s = Layout(m, a).first; s <= Layout(m, a).last; ++s) sites.push_back(s);
        families.push_back({kLabels[a], sites, m.points + 1, a});
    }
    return families;
}

// --- configurations --------------------------------------------------------------

// One direction as the user sets it. Collocation: elements per section;
// finite differences: node intervals per section. Sections are equally long.
struct AxisSetup {
    const char* method;
    std::vector<int> counts;
    int highest;
    int used;
    const char* boundary;
};

int Width(const char* method) {
    const Method* m = Collocation(method);
    return m ? m->points + 1 : 1;
}

void SetAxis(grid::Grid& g, int axis, const AxisSetup& a) {
    std::vector<double> spacings;
    for (int count : a.counts) spacings.push_back(1.0 / a.counts.size() / (count * Width(a.method)));
    g.Method(axis, a.method).SectionSpacings(axis, spacings).Highest(axis, a.highest).Used(axis, a.used);
    g.BoundaryUnchecked(axis, a.boundary);  // any case, or neither word
}

// Gauss-Legendre nodes along collocation directions, even ones elsewhere.
fieldcheck::Coordinates Nodes(grid::Grid& g) {
    fieldcheck::Coordinates x;
    for (int a = 0; a < g.Dimensions(); ++a) {
        const Method* m = Collocation(static_cast<const char*>(g.Domain(a).DISCRETIZATIONMETHOD.v()));
        x.push_back(m ? fieldcheck::ElementNodes(g.Domain(a), m->inner) : fieldcheck::UniformNodes(g.Domain(a)));
    }
    return x;
}

const std::vector<std::string> kAllIntegrals = index_sets::IntegralNames(3);

class CollocationBlocks : public LinkedTest, public ::testing::WithParamInterface<Method> {};
class Collocation3D : public LinkedTest {};

}  // namespace

// Two sections of different element lengths in every direction (one and two
// elements, or two and one), second derivatives with the joint rows, every
// integral, both boundary conditions: every row vanishes up to the element's
// degree along its own direction, and some row of each block misses one above.
// So too when one direction collocates and the two others difference (their
// derivatives not used, their own line sets and spacings).
TEST_P(CollocationBlocks, RowsAreExactUpToTheElementsDegreeAndFailOneAbove) {
    const Method& m = GetParam();
    for (const char* boundary : {"Backward", "Forward"}) {
        SCOPED_TRACE(boundary);
        grid::Grid3 g;
        SetAxis(g, kX, {m.name, {1, 2}, 2, 2, boundary});
        SetAxis(g, kY, {m.name, {2, 1}, 2, 2, boundary});
        SetAxis(g, kZ, {m.name, {1, 2}, 2, 2, boundary});
        g.Integrals(kAllIntegrals).Settle().Declare();
        fieldcheck::ExpectExactness(g, Nodes(g), Families(m, {kX, kY, kZ}), kExact, kClear);
    }
    for (int axis : {kX, kY, kZ}) {
        const char* boundary = axis == kY ? "Forward" : "Backward";
        SCOPED_TRACE("beside finite differences, along " + Letter(axis) + ", " + boundary);
        grid::Grid3 g;
        SetAxis(g, axis, {m.name, {2, 1}, 2, 2, boundary});
        SetAxis(g, (axis + 1) % 3, {"CFD4", {4}, 2, 0, "Backward"});
        SetAxis(g, (axis + 2) % 3, {"BFD2", {2, 3}, 1, 0, "Backward"});
        g.Integrals({kAllIntegrals[axis]}).Settle().Declare();
        fieldcheck::ExpectExactness(g, Nodes(g), Families(m, {axis}), kExact, kClear);
    }
}

// --- census -----------------------------------------------------------------------

namespace {

// What a direction's block should declare, worked out from the domain as it
// settled: which nodes begin or end elements and sections, and the line sets.
struct Expected {
    int axis;
    int end[3];
    std::set<int> lines[3];  // {0} ∪ INTERIOR ∪ {ENDNODE} of each direction
    std::set<int> starts, ends, sectionEnds;
    bool backward, forward;
    int used, highest;

    bool Line(int a, int node) const { return lines[a].count(node) != 0; }
    bool Collocation(int node) const { return !starts.count(node) && !ends.count(node); }

    int FirstDerivativeRows(const int* t) const {
        const int n = t[axis];
        if (used < 1) return 0;
        int rows = (!backward && !forward && n == end[axis]) ? 0 : 1;
        if (used > 1 && highest == 2) {
            const bool node = backward ? (starts.count(n) && n != 0) : (forward && ends.count(n) && !sectionEnds.count(n));
            // x: the other directions' full ranges; y: x's lines; z: x's and y's lines.
            const bool lines = axis == kX || (Line(kX, t[kX]) && (axis == kY || Line(kY, t[kY])));
            rows += node && lines;
        }
        return rows;
    }
    int SecondDerivativeRows(const int* t) const {
        if (used < 2 || !Collocation(t[axis])) return 0;
        for (int a = 0; a < 3; ++a)
            if (a != axis && !Line(a, t[a])) return 0;
        return 1;
    }
};

Expected Expect(grid::Grid3& g, const Method& m, int axis, const AxisSetup& setup) {
    Expected x;
    x.axis = axis;
    for (int a = 0; a < 3; ++a) {
        x.end[a] = g.EndNode(a);
        const index_sets::Ints lines = index_sets::NodesWithEnds(g.Domain(a));
        x.lines[a].insert(lines.begin(), lines.end());
    }
    const int width = m.points + 1;
    for (int s = 1; s <= g.SectionCount(axis); ++s) {
        ZR_SECTIONDATAMODEL& sec = g.Section(axis, s);
        for (int e = 0; e < sec.NUMELEMENTS.v(); ++e) {
            x.starts.insert(sec.BASE.v() + e * width);
            x.ends.insert(sec.BASE.v() + (e + 1) * width);
        }
        x.sectionEnds.insert(sec.BASE.v() + sec.NODECOUNT.v());
    }
    x.backward = SUValue::CompareCI("Backward", setup.boundary) == 0;
    x.forward = SUValue::CompareCI("Forward", setup.boundary) == 0;
    x.used = setup.used;
    x.highest = setup.highest;
    return x;
}

// The block's rows come in the order of its loops: the first-derivative rows
// line by line, the outer of the two other directions slowest (x block: z then
// y in OCFE2, y then z otherwise; y block: x then z; z block: x then y); then
// element by element its second-derivative rows on every line and after them
// its joint rows; then each integral in turn, line by line (x block: z then y;
// y block: z then x; z block: y then x).
void ExpectLoopOrder(const Method& m, int axis, const Expected& x, const std::vector<Row>& rows) {
    const Block b = Layout(m, axis);
    static const int kLines[3][3][2] = {{{kY, kZ}, {kY, kZ}, {kZ, kY}},
                                        {{kX, kZ}, {kX, kZ}, {kZ, kX}},
                                        {{kX, kY}, {kX, kY}, {kY, kX}}};
    std::vector<int> last;
    for (const Row& r : rows) {
        if (r.site < b.first || r.site > b.last) continue;
        const int part = r.site < b.second ? 0 : r.site < b.integrals ? 1 : 2;
        const int* lines = kLines[axis][part];
        if (axis == kX && part == 0 && m.points == 1) lines = kLines[axis][2];
        std::vector<int> key = {part};
        const int node = r.subject.index[axis];
        if (part == 1) {
            const int element = r.site == b.joints + 1 ? node - (m.points + 1) : *--x.starts.upper_bound(node);
            key.push_back(element);
            key.push_back(r.site >= b.joints);
        } else if (part == 2) {
            key.push_back((r.site - b.integrals) / (m.points + 1));
        }
        key.push_back(r.subject.index[(lines[0])]);
        key.push_back(r.subject.index[(lines[1])]);
        if (key < last) {
            ADD_FAILURE() << "ZR_Eqn" << r.site << " at " << r.subject.Name() << " out of its loops' order";
            return;
        }
        last = key;
    }
}

// Each collocation direction's arrays, element by element over the whole box:
// one first-derivative row per node and the joint rows where they belong, one
// second-derivative row per collocation node on the lines of the other
// directions, and exactly one row (a start row at index 0) per element of every
// integral the direction builds, none for one not asked for; each site defines
// its own array.
void ExpectCensus(grid::Grid3& g, const Method& m, const std::vector<AxisSetup>& axes,
                  const std::vector<std::string>& integrals) {
    const std::vector<Row> rows = g.Rows();
    const grid::Census census(rows);
    for (int axis = 0; axis < 3; ++axis) {
        if (SUValue::CompareCI(m.name, static_cast<const char*>(g.Domain(axis).DISCRETIZATIONMETHOD.v())) != 0)
            continue;
        SCOPED_TRACE("direction " + Letter(axis));
        const Expected x = Expect(g, m, axis, axes[axis]);
        const std::vector<std::string>& built = kIntegralsOf[axis];
        int t[3];
        for (t[0] = 0; t[0] <= x.end[0]; ++t[0]) {
            for (t[1] = 0; t[1] <= x.end[1]; ++t[1]) {
                for (t[2] = 0; t[2] <= x.end[2]; ++t[2]) {
                    const std::vector<int> at(t, t + 3);
                    const std::string where = "(" + std::to_string(t[0]) + "," + std::to_string(t[1]) + "," +
                                              std::to_string(t[2]) + ")";
                    EXPECT_EQ(census.Count(Derivative(axis), at), x.FirstDerivativeRows(t)) << Derivative(axis) << where;
                    EXPECT_EQ(census.Count(Second(axis), at), x.SecondDerivativeRows(t)) << Second(axis) << where;
                    for (const std::string& array : built)
                        EXPECT_EQ(census.Count(array, at), index_sets::Built(array, integrals) ? 1 : 0) << array << where;
                }
            }
        }
        // The groups: three blocks for each method in the walk's order, seven
        // finite-difference methods first, after the host's last (100) and the
        // seven start groups.
        const Block b = Layout(m, axis);
        const int group = 108 + 3 * (7 + static_cast<int>(Collocation(m.name) - Methods().data())) + axis;
        for (const Row& r : rows) {
            if (r.site >= b.first && r.site <= b.last) {
                EXPECT_EQ(r.subject.array, SubjectOf(m, axis, r.site)) << "ZR_Eqn" << r.site;
                EXPECT_EQ(r.group, group) << "ZR_Eqn" << r.site;
            }
        }
        ExpectLoopOrder(m, axis, x, rows);
    }
    grid::ExpectInsideIndexSets(g, rows);
}

}  // namespace

// Random configurations: the method or a finite-difference method in each
// direction, one or two sections of one or two elements, the domain's highest
// order, the derivative used and the integrals drawn, the boundary text (in
// any case, or neither) taken in turn; seeds fixed, so a failure names its
// configuration.
TEST_P(CollocationBlocks, CensusOverRandomConfigurations) {
    const Method& m = GetParam();
    const char* const kFiniteDifferences[] = {"BFD1", "CFD2", "FFD2"};
    const char* const kBoundaries[] = {"Backward", "Forward", "forward", "BACKWARD", "Upwind"};
    int checked = 0;
    for (std::uint32_t seed = 1; checked < 24 && seed <= 200; ++seed) {
        std::mt19937 engine(seed * 31u + static_cast<std::uint32_t>(m.points));
        auto below = [&](int n) { return static_cast<int>(engine() % static_cast<std::uint32_t>(n)); };
        std::vector<AxisSetup> axes;
        std::string describe = "seed " + std::to_string(seed) + ":";
        for (int a = 0; a < 3; ++a) {
            const bool collocation = a == static_cast<int>(seed % 3) || below(3) != 0;
            // Mostly what makes the most rows: second derivatives, joint rows.
            axes.push_back({collocation ? m.name : kFiniteDifferences[below(3)], {}, below(3) ? 2 : 1,
                            below(3) ? 2 : below(2), kBoundaries[(seed + a) % 5]});
            for (int s = 1 + below(2); s > 0; --s) axes.back().counts.push_back(collocation ? 1 + below(2) : 2 + below(2));
            describe += std::string(" ") + axes.back().method + " " + std::to_string(axes.back().counts.size()) +
                        " sections, highest " + std::to_string(axes.back().highest) + ", used " +
                        std::to_string(axes.back().used) + ", " + axes.back().boundary + ";";
        }
        std::vector<std::string> integrals;
        for (const std::string& name : kAllIntegrals)
            if (below(3) == 0) integrals.push_back(name);
        SCOPED_TRACE(describe + " " + std::to_string(integrals.size()) + " integrals");
        host.Reset();
        grid::Grid3 g;
        for (int a = 0; a < 3; ++a) SetAxis(g, a, axes[a]);
        if (!integrals.empty()) g.Integrals(integrals);
        g.Settle();
        if ((g.EndNode(kX) + 1) * (g.EndNode(kY) + 1) * (g.EndNode(kZ) + 1) > 1500) continue;
        ++checked;
        g.Declare();
        ExpectCensus(g, m, axes, integrals);
        grid::ExpectWalksAgree(g);
        for (const std::string& e : host.errors) ADD_FAILURE() << "host error: " << e;
        host.errors.clear();
        if (HasFailure()) break;  // the first configuration that fails is the one to read
    }
    EXPECT_EQ(checked, 24) << "too few configurations within the node limit";
}

// --- agreement with the dimensions below ------------------------------------------------

namespace {

// Above the elements' degree along every axis, so that no row vanishes, and
// nowhere zero on the domains.
const std::vector<Polynomial> kFactors = {Polynomial({0.5, -1.0, 2.0, 0.0, 1.0, -3.0, 0.0, 2.0}, 0.2),
                                          Polynomial({1.0, 0.5, -2.0, 1.0, 0.0, 2.5, 1.0}, 0.4),
                                          Polynomial({2.0, 0.3, 0.0, -1.5, 1.0, 0.0, 3.0, -1.0}, 0.3)};

}  // namespace

// The compared directions have two sections, second derivatives with their
// joint rows, and integrals; the others one element, no derivative and their
// whole node range as their lines, so that each line (plane) has all its rows.
TEST_P(CollocationBlocks, AgreesWithTheLowerDimensionsOnLinesAndPlanes) {
    const Method& m = GetParam();
    for (const std::vector<int>& axes : std::vector<std::vector<int>>{{kX}, {kY}, {kZ}, {kX, kY}, {kX, kZ}, {kY, kZ}}) {
        std::string label = m.name;
        for (int a : axes) label += " " + Letter(a);
        SCOPED_TRACE(label);
        host.Reset();
        grid::Grid3 g;
        grid::Grid1 line;
        grid::Grid2 plane;
        grid::Grid& lower = axes.size() == 1 ? static_cast<grid::Grid&>(line) : plane;
        for (int a = 0; a < 3; ++a) {
            const auto place = std::find(axes.begin(), axes.end(), a);
            if (place == axes.end()) {
                SetAxis(g, a, {m.name, {1}, 1, 0, "Backward"});
                continue;
            }
            const AxisSetup setup{m.name, {1, 2}, 2, 2, place == axes.begin() ? "Backward" : "Forward"};
            SetAxis(g, a, setup);
            SetAxis(lower, static_cast<int>(place - axes.begin()), setup);
        }
        g.Integrals(kAllIntegrals).Settle().Declare();
        if (axes.size() == 1) {
            line.Integrals({"idx"}).Settle().Declare();
            EXPECT_GT(fieldcheck::ExpectAgreesAlongAxis(g, axes[0], line, Nodes(g), kFactors), 0);
        } else {
            // The two dimensions order an element's second-derivative and joint
            // rows in a way of their own: the rows agree, not their order.
            plane.Integrals({"idx", "idy", "idxdy"}).Settle().Declare();
            EXPECT_GT(fieldcheck::ExpectAgreesOnSubgrids(g, axes, plane, Nodes(g), kFactors, {}, 1e-12, false), 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, CollocationBlocks, ::testing::ValuesIn(Methods()),
                         [](const ::testing::TestParamInfo<Method>& info) { return std::string(info.param.name); });

// --- a worked example, and the rows that stand apart -----------------------------------

// OCFE3 along x, one section of two elements, "Forward": on each line the row
// at the domain's last node comes before the section's element rows, and the
// joint row stands at node 3 only (node 6 ends the section).
TEST_F(Collocation3D, Ocfe3ForwardOnOneLine) {
    grid::Grid3 g;
    SetAxis(g, kX, {"OCFE3", {2}, 2, 2, "Forward"});
    SetAxis(g, kY, {"BFD1", {2}, 1, 0, "Backward"});
    SetAxis(g, kZ, {"BFD1", {2}, 1, 0, "Backward"});
    g.Settle().Declare();
    ASSERT_EQ(g.EndNode(kX), 6);
    std::vector<Row> line;
    for (const Row& r : g.Rows())
        if (r.subject.index[1] == 1 && r.subject.index[2] == 2) line.push_back(r);
    EXPECT_EQ(grid::Sequence(line),
              (std::vector<std::string>{"305@6,1,2", "306@1,1,2", "307@2,1,2", "309@0,1,2", "306@4,1,2", "307@5,1,2",
                                        "309@3,1,2", "310@1,1,2", "311@2,1,2", "313@3,1,2", "310@4,1,2",
                                        "311@5,1,2"}));
}

// Rows whose terms stand in an order of their own, and the two rows that stand
// apart from their siblings: OCFE3's x-block forward joint row is declared once
// for each node and line it ties, every term on that line, and its y-block row
// at the domain's last node weighs that node itself, as its x and z twins do.
// Each on one section of two elements, "Forward", beside two directions of
// three lines each; the term nodes along the row's direction are given from its
// subject's node, the VALUE terms after h.
TEST_F(Collocation3D, RowsWithTermOrdersOfTheirOwn) {
    struct Case {
        const char* method;
        int axis, site, count;
        std::vector<int> values;
    };
    const Case cases[] = {
        {"OCFE2", kZ, 295, 9, {0, -1, -2}},      // from the far end
        {"OCFE3", kX, 313, 9, {-2, -3, -1, 0}},  // once per node and line
        {"OCFE3", kY, 318, 9, {-3, 0, -1, -2}},  // its own node second
        {"OCFE3", kY, 326, 9, {-3, 0, -1, -2}},
        {"OCFE3", kZ, 338, 18, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("ZR_Eqn" + std::to_string(c.site));
        host.Reset();
        grid::Grid3 g;
        for (int a = 0; a < 3; ++a)
            SetAxis(g, a, a == c.axis ? AxisSetup{c.method, {2}, 2, 2, "Forward"} : AxisSetup{"BFD1", {2}, 1, 0, "Backward"});
        g.Settle().Declare();
        int seen = 0;
        for (const Row& r : g.Rows()) {
            if (r.site != c.site) continue;
            ++seen;
            ASSERT_EQ(r.terms.size(), c.values.size() + 2);
            EXPECT_EQ(r.terms[1].array, "ELEMENTLENGTH");
            for (std::size_t t = 0; t < c.values.size(); ++t) {
                std::vector<int> at = r.subject.index;
                at[c.axis] += c.values[t];
                EXPECT_EQ(r.terms[t + 2].array, "VALUE");
                EXPECT_EQ(r.terms[t + 2].index, at) << r.subject.Name() << ", VALUE term " << t + 1;
            }
        }
        EXPECT_EQ(seen, c.count);
    }
}
