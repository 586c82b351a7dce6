// Orthogonal collocation in two and three dimensions, each direction's block on
// its own. With the nodes at the exact shifted Gauss-Legendre points every row
// is a derivative or an interval integral of the element's interpolating
// polynomial, up to the five decimals of its stored weights; the rows cover the
// elements that the boundary condition and the line sets of the other
// directions give them, in the numbers of the closed forms and in their loops'
// order; and on every line (plane) they give what the distribution of fewer
// dimensions gives there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <random>
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
using grid::kZ;
using grid::Row;

namespace {

struct Method {
    const char* name;
    int points;                 // collocation points per element
    std::vector<double> inner;  // where they lie, as fractions of the element
    int first2, first3;         // the x block's first site in two and three dimensions
    bool xSecondFirst;          // 2D: whether the x block puts an element's collocation rows before its joint rows
    int lineFirst;              // the one-dimensional distribution's first site of the method
    // 2D: one element, first derivatives only, along this direction with this
    // boundary text: the rows (site, node along it) of each line.
    int exampleAxis;
    const char* exampleBoundary;
    std::vector<std::pair<int, int>> example;
};

const std::vector<Method>& Methods() {
    static const double r3 = std::sqrt(3.0), r15 = std::sqrt(15.0);
    static const std::vector<Method> methods = {
        {"OCFE2", 1, {0.5}, 147, 266, true, 64, kX, "Forward", {{148, 2}, {149, 1}, {151, 0}}},
        {"OCFE3", 2, {(3 - r3) / 6, (3 + r3) / 6}, 169, 304, false, 74, kY, "Backward",
         {{182, 0}, {184, 1}, {185, 2}, {186, 3}}},
        {"OCFE4", 3, {(5 - r15) / 10, 0.5, (5 + r15) / 10}, 198, 355, false, 87, kX, "backward",
         {{198, 0}, {200, 1}, {201, 2}, {202, 3}, {203, 4}}},
    };
    return methods;
}

void PrintTo(const Method& m, std::ostream* os) { *os << m.name; }

// The weights are stored to five decimals: a row whose terms nearly cancel,
// where the field changes sign within the element, keeps a few parts in ten
// thousand of their magnitude; one degree above, rows miss by tenths of a
// percent in 2D, by percents in 3D.
constexpr double kExact = 3e-4;
double Clear(int dims) { return dims == 2 ? 2e-3 : 2e-2; }

const Method* Collocation(const std::string& name) {
    for (const Method& m : Methods())
        if (name == m.name) return &m;
    return nullptr;
}

const std::vector<std::vector<std::string>> kIntegralsOf = {
    {"IDX"}, {"IDY", "IDXDY"}, {"IDZ", "IDXDZ", "IDYDZ", "IDXDYDZ"}};

// Every block keeps its sites in one order: the rows at the domain's first and
// last node, the P collocation rows, the rows at an element's last and first
// node, the P second-derivative rows and the two element-joint rows (in the 2D
// blocks that declare the joint rows first, those first), then P + 1 interval
// rows for each integral it builds; the y block after the x block, the z block
// after the y.
struct Block {
    int first, second, joints, integrals, last;
    bool secondFirst;
    bool Joint(int site) const { return site == joints || site == joints + 1; }
    // The first-derivative rows, the second step, the integrals.
    int Part(int site) const { return site < std::min(second, joints) ? 0 : site < integrals ? 1 : 2; }
};

Block Layout(const Method& m, int dims, int axis) {
    const int p = m.points;
    const bool secondFirst = dims == 3 || (axis == kX) == m.xSecondFirst;
    int f = dims == 2 ? m.first2 : m.first3;
    for (int a = 0; a < axis; ++a) f += 6 + 2 * p + (1 << a) * (p + 1);
    const int step = f + 4 + p, integrals = f + 6 + 2 * p;
    return {f,         secondFirst ? step : step + 2, secondFirst ? step + p : step, integrals,
            integrals + (1 << axis) * (p + 1) - 1, secondFirst};
}

// Three blocks (two in 2D) for each method in the walk's order, seven
// finite-difference methods first, after the host's last (100) and the start
// groups.
int Group(int dims, const Method& m, int axis) {
    return 100 + (1 << dims) + dims * (7 + static_cast<int>(Collocation(m.name) - Methods().data())) + axis;
}

std::string Letter(int axis) { return std::string(1, "XYZ"[axis]); }

// The array a site of the block defines.
std::string SubjectOf(const Method& m, int dims, int axis, int site) {
    const Block b = Layout(m, dims, axis);
    if (b.Part(site) == 0 || b.Joint(site)) return "DD" + Letter(axis);
    if (site < b.integrals) return "D2D" + Letter(axis) + "2";
    return kIntegralsOf[axis][(site - b.integrals) / (m.points + 1)];
}

// All rows of a block come from the polynomial through the element's P + 2
// nodes along the block's direction; the start rows hold for any field.
std::vector<Family> Families(const Method& m, int dims, const std::vector<int>& axes) {
    std::vector<Family> families = {{"integral starts", index_sets::Range(1, dims == 2 ? 4 : 12), grid::kAnyDegree}};
    for (int a : axes) {
        const Block b = Layout(m, dims, a);
        families.push_back({"the block", index_sets::Range(b.first, b.last), m.points + 1, a});
    }
    return families;
}

// One direction as the user sets it, the boundary text in any case or neither
// word. Per section, equally long: collocation its elements, finite
// differences their node intervals.
grid::AxisSetup Axis(const char* method, const std::vector<int>& counts, int highest, int used, const char* boundary) {
    const Method* m = Collocation(method);
    std::vector<double> spacings;
    for (int count : counts) spacings.push_back(1.0 / counts.size() / (count * (m ? m->points + 1 : 1)));
    return {method, spacings, highest, used, boundary};
}
void SetAxis(grid::Grid& g, int axis, const char* method, const std::vector<int>& counts, int highest, int used,
             const char* boundary) {
    grid::Configure(g, axis, Axis(method, counts, highest, used, boundary));
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

class Ocfe : public LinkedTest, public ::testing::WithParamInterface<Method> {};

}  // namespace

// Two sections of different element lengths in every direction (one and two
// elements, or two and one), second derivatives with the joint rows, every
// integral, the boundary conditions crossed: every row vanishes up to the
// element's degree along its own direction, and some row of each block misses
// one above. So too when one direction collocates and the others difference
// (their derivatives not used, their own line sets and spacings).
TEST_P(Ocfe, RowsAreExactUpToTheElementsDegreeAndFailOneAbove) {
    const Method& m = GetParam();
    const char* const boundaries[] = {"Backward", "Forward"};
    for (int dims : {2, 3}) {
        for (int b : {0, 1}) {
            SCOPED_TRACE(std::to_string(dims) + "D, x " + boundaries[b]);
            host.Reset();
            const std::unique_ptr<grid::Grid> g = grid::Make(dims);
            std::vector<int> all;
            for (int a = kX; a < dims; ++a) {
                SetAxis(*g, a, m.name, a == kY ? std::vector<int>{2, 1} : std::vector<int>{1, 2}, 2, 2,
                        boundaries[(b + a) % 2]);
                all.push_back(a);
            }
            g->Integrals(index_sets::IntegralNames(dims)).Settle().Declare();
            fieldcheck::ExpectExactness(*g, Nodes(*g), Families(m, dims, all), kExact, Clear(dims));
        }
        for (int axis = kX; axis < dims; ++axis) {
            const char* boundary = axis == kY ? "Forward" : "Backward";
            SCOPED_TRACE(std::to_string(dims) + "D, beside finite differences, along " + Letter(axis) + ", " + boundary);
            host.Reset();
            const std::unique_ptr<grid::Grid> g = grid::Make(dims);
            SetAxis(*g, axis, m.name, {2, 1}, 2, 2, boundary);
            SetAxis(*g, (axis + 1) % dims, "CFD4", {4}, 2, 0, "Backward");
            if (dims == 3) SetAxis(*g, (axis + 2) % 3, "BFD2", {2, 3}, 1, 0, "Backward");
            g->Integrals({index_sets::IntegralNames(dims)[axis]}).Settle().Declare();
            fieldcheck::ExpectExactness(*g, Nodes(*g), Families(m, dims, {axis}), kExact, Clear(dims));
        }
    }
}

// --- census -----------------------------------------------------------------------

namespace {

// What a direction's block should declare, worked out from the domain as it
// settled: which nodes begin or end elements and sections, and the line sets.
struct Expected {
    int axis, used, highest;
    std::vector<int> end;
    std::vector<std::set<int>> lines;  // {0} ∪ INTERIOR ∪ {ENDNODE} of each direction
    std::set<int> starts, ends, sectionEnds;
    bool backward, forward;

    Expected(grid::Grid& g, const Method& m, int axis, int used, const char* boundary)
        : axis(axis), used(used), highest(g.Domain(axis).HIGHESTORDERDERIVATIVE.v()) {
        for (int a = 0; a < g.Dimensions(); ++a) {
            end.push_back(g.EndNode(a));
            const index_sets::Ints l = index_sets::NodesWithEnds(g.Domain(a));
            lines.emplace_back(l.begin(), l.end());
        }
        for (int s = 1; s <= g.SectionCount(axis); ++s) {
            ZR_SECTIONDATAMODEL& sec = g.Section(axis, s);
            for (int e = 0; e < sec.NUMELEMENTS.v(); ++e) {
                starts.insert(sec.BASE.v() + e * (m.points + 1));
                ends.insert(sec.BASE.v() + (e + 1) * (m.points + 1));
            }
            sectionEnds.insert(sec.BASE.v() + sec.NODECOUNT.v());
        }
        backward = SUValue::CompareCI("Backward", boundary) == 0;
        forward = SUValue::CompareCI("Forward", boundary) == 0;
    }
    bool Line(int a, int node) const { return lines[a].count(node) != 0; }
    bool Collocation(int node) const { return !starts.count(node) && !ends.count(node); }
    bool Continuity() const { return used > 1 && highest == 2 && (backward || forward); }
    // Lines of the cross directions: all of them, those before the block's own,
    // every node of them.
    long long Lines(bool before, bool after) const {
        long long n = 1;
        for (int a = 0; a < static_cast<int>(end.size()); ++a)
            if (a != axis) n *= (a < axis ? before : after) ? static_cast<long long>(lines[a].size()) : end[a] + 1;
        return n;
    }

    // "Backward": a second row at every inner element end, section joints
    // included; "Forward": not at section joints; on the lines of the cross
    // directions before the block's own.
    int FirstDerivativeRows(const std::vector<int>& t) const {
        const int n = t[axis];
        if (used < 1) return 0;
        int rows = (!backward && !forward && n == end[axis]) ? 0 : 1;
        if (Continuity()) {
            const bool node = backward ? (starts.count(n) && n != 0) : (ends.count(n) && !sectionEnds.count(n));
            bool lines = true;
            for (int a = 0; a < axis; ++a) lines = lines && Line(a, t[a]);
            rows += node && lines;
        }
        return rows;
    }
    int SecondDerivativeRows(const std::vector<int>& t) const {
        if (used < 2 || !Collocation(t[axis])) return 0;
        for (int a = 0; a < static_cast<int>(end.size()); ++a)
            if (a != axis && !Line(a, t[a])) return 0;
        return 1;
    }
};

// The block's rows come in the order of its loops: the first-derivative rows
// line by line; then element by element its second-derivative rows and its
// joint rows (in 3D, and in the 2D blocks that put them so, the joint rows
// after; 3D on every line in turn); then each integral in turn, line by line.
// 3D lines, outer first: x block z then y in OCFE2, y then z otherwise; y
// block x then z; z block x then y; the integrals: x block z then y; y block z
// then x; z block y then x.
void ExpectLoopOrder(const Method& m, const Expected& x, const std::vector<Row>& rows) {
    const int dims = static_cast<int>(x.end.size()), axis = x.axis;
    const Block b = Layout(m, dims, axis);
    static const std::vector<int> kLines[3][3] = {{{kY, kZ}, {kY, kZ}, {kZ, kY}},
                                                  {{kX, kZ}, {kX, kZ}, {kZ, kX}},
                                                  {{kX, kY}, {kX, kY}, {kY, kX}}};
    std::vector<int> last;
    for (const Row& r : rows) {
        if (r.site < b.first || r.site > b.last) continue;
        const int part = b.Part(r.site);
        std::vector<int> lines = kLines[axis][part == 0 && axis == kX && m.points == 1 ? 2 : part];
        if (dims == 2) lines = part == 1 ? std::vector<int>{} : std::vector<int>{1 - axis};
        std::vector<int> key = {part};
        const int node = r.subject.index[axis];
        if (part == 1) {
            key.push_back(r.site == b.joints + 1 ? node - (m.points + 1) : *--x.starts.upper_bound(node));
            key.push_back(b.Joint(r.site) == b.secondFirst);
        } else if (part == 2) {
            key.push_back((r.site - b.integrals) / (m.points + 1));
        }
        for (int l : lines) key.push_back(r.subject.index[l]);
        if (key < last) {
            ADD_FAILURE() << "ZR_Eqn" << r.site << " at " << r.subject.Name() << " out of its loops' order";
            return;
        }
        last = key;
    }
}

// Each collocation direction's arrays over the whole grid: the rows of every
// element, each site defining its own array in its block's group, the loops'
// order, and as many rows of each kind as the closed forms give.
void ExpectCensus(grid::Grid& g, const Method& m, const grid::Setup& c) {
    const std::vector<std::string>& integrals = c.integrals;
    const int dims = g.Dimensions();
    const std::vector<Row> rows = g.Rows();
    const grid::Census census(rows);
    for (int axis = 0; axis < dims; ++axis) {
        if (SUValue::CompareCI(m.name, static_cast<const char*>(g.Domain(axis).DISCRETIZATIONMETHOD.v())) != 0)
            continue;
        SCOPED_TRACE("direction " + Letter(axis));
        const Expected x(g, m, axis, c.axes[axis].used, c.axes[axis].boundary);
        const std::string dd = "DD" + Letter(axis), d2 = "D2D" + Letter(axis) + "2";
        grid::EachNode(x.end, [&](const std::vector<int>& at) {
            std::string where;
            for (int i : at) where += (where.empty() ? "(" : ",") + std::to_string(i);
            where += ")";
            EXPECT_EQ(census.Count(dd, at), x.FirstDerivativeRows(at)) << dd << where;
            EXPECT_EQ(census.Count(d2, at), x.SecondDerivativeRows(at)) << d2 << where;
            for (const std::string& array : kIntegralsOf[axis])
                EXPECT_EQ(census.Count(array, at), index_sets::Built(array, integrals) ? 1 : 0) << array << where;
        });
        const Block b = Layout(m, dims, axis);
        long long count[4] = {};  // first-derivative, joint, second-derivative and integral rows
        for (const Row& r : rows) {
            if (r.site < b.first || r.site > b.last) continue;
            EXPECT_EQ(r.subject.array, SubjectOf(m, dims, axis, r.site)) << "ZR_Eqn" << r.site;
            EXPECT_EQ(r.group, Group(dims, m, axis)) << "ZR_Eqn" << r.site;
            ++count[b.Part(r.site) == 0 ? 0 : b.Joint(r.site) ? 1 : b.Part(r.site) == 1 ? 2 : 3];
        }
        const int w = m.points + 1, sections = g.SectionCount(axis);
        const int elements = static_cast<int>(x.starts.size());
        const long long all = x.Lines(false, false), someLines = x.Lines(true, true);
        EXPECT_EQ(count[0], x.used > 0 ? all * (w * elements + (x.backward || x.forward)) : 0);
        const int jointRows = x.backward ? elements - 1 : elements - sections;  // per line
        EXPECT_EQ(count[1], x.Continuity() ? x.Lines(true, false) * jointRows : 0);
        EXPECT_EQ(count[2], x.used > 1 ? someLines * m.points * elements : 0);
        long long integralRows = 0;  // the start faces of each integrated direction aside
        for (const std::string& array : kIntegralsOf[axis]) {
            long long n = index_sets::Built(array, integrals);
            for (int a = 0; a < dims; ++a) n *= x.end[a] + (array.find("XYZ"[a]) == std::string::npos);
            integralRows += n;
        }
        EXPECT_EQ(count[3], integralRows);
        ExpectLoopOrder(m, x, rows);
    }
}

}  // namespace

// Random configurations in either dimension: the method or a finite-difference
// method in each direction, one or two sections of one or two elements, the
// domain's highest order, the derivative used and the integrals drawn, the
// boundary text (in any case, or neither) taken in turn; seeds fixed, so a
// failure names its configuration.
TEST_P(Ocfe, CensusOverRandomConfigurations) {
    const Method& m = GetParam();
    const char* const kFiniteDifferences[] = {"BFD1", "CFD2", "FFD2"};
    const char* const kBoundaries[] = {"Backward", "Forward", "forward", "BACKWARD", "Upwind"};
    for (int dims : {2, 3}) {
        int checked = 0;
        for (std::uint32_t seed = 1; checked < 24 && seed <= 200; ++seed) {
            std::mt19937 engine(seed * 31u + static_cast<std::uint32_t>(m.points + 100 * dims));
            auto below = [&](int n) { return static_cast<int>(engine() % static_cast<std::uint32_t>(n)); };
            grid::Setup c{seed, {}, {}};
            for (int a = 0; a < dims; ++a) {
                const bool collocation = a == static_cast<int>(seed % dims) || below(3) != 0;
                // Mostly what makes the most rows: second derivatives, joint rows.
                const char* method = collocation ? m.name : kFiniteDifferences[below(3)];
                const int highest = below(3) ? 2 : 1, used = below(3) ? 2 : below(2);
                std::vector<int> counts;
                for (int s = 1 + below(2); s > 0; --s) counts.push_back(collocation ? 1 + below(2) : 2 + below(2));
                c.axes.push_back(Axis(method, counts, highest, used, kBoundaries[(seed + a) % 5]));
            }
            for (const std::string& name : index_sets::IntegralNames(dims))
                if (below(3) == 0) c.integrals.push_back(name);
            SCOPED_TRACE(std::to_string(dims) + "D, " + c.Describe());
            host.Reset();
            const std::unique_ptr<grid::Grid> g = grid::Make(dims);
            for (int a = 0; a < dims; ++a) grid::Configure(*g, a, c.axes[a]);
            if (!c.integrals.empty()) g->Integrals(c.integrals);
            g->Settle();
            long long nodes = 1;
            for (int a = 0; a < dims; ++a) nodes *= g->EndNode(a) + 1;
            if (nodes > 1500) continue;
            ++checked;
            g->Declare();
            ExpectCensus(*g, m, c);
            grid::ExpectInsideIndexSets(*g, g->Rows());
            grid::ExpectWalksAgree(*g);
            for (const std::string& e : host.errors) ADD_FAILURE() << "host error: " << e;
            host.errors.clear();
            if (HasFailure()) return;  // the first configuration that fails is the one to read
        }
        EXPECT_EQ(checked, 24) << dims << "D: too few configurations within the node limit";
    }
}

// --- agreement with the dimensions below ------------------------------------------------

// The compared directions have two sections, second derivatives with their
// joint rows, and integrals, each boundary text in turn; the others one
// element, no derivative and their whole node range as their lines, so that
// each line (plane) has all its rows. Factors above the elements' degree along
// every axis, so that no row vanishes, and nowhere zero on the domains.
TEST_P(Ocfe, AgreesWithTheLowerDimensionsOnLinesAndPlanes) {
    const Method& m = GetParam();
    const std::vector<Polynomial> factors = {Polynomial({0.5, -1.0, 2.0, 0.0, 1.0, -3.0, 0.0, 2.0}, 0.2),
                                             Polynomial({1.0, 0.5, -2.0, 1.0, 0.0, 2.5, 1.0}, 0.4),
                                             Polynomial({2.0, 0.3, 0.0, -1.5, 1.0, 0.0, 3.0, -1.0}, 0.3)};
    const char* const boundaries[] = {"Backward", "Forward", "Upwind"};
    const std::vector<std::vector<int>> compared[2] = {{{kX}, {kY}}, {{kX}, {kY}, {kZ}, {kX, kY}, {kX, kZ}, {kY, kZ}}};
    for (int dims : {2, 3}) {
        for (int bc = 0; bc < 3; ++bc) {
            for (const std::vector<int>& axes : compared[dims - 2]) {
                std::string label = std::to_string(dims) + "D " + boundaries[bc];
                for (int a : axes) label += " " + Letter(a);
                SCOPED_TRACE(label);
                host.Reset();
                const std::unique_ptr<grid::Grid> g = grid::Make(dims);
                const std::unique_ptr<grid::Grid> lower = grid::Make(static_cast<int>(axes.size()));
                for (int a = 0; a < dims; ++a) {
                    const auto place = std::find(axes.begin(), axes.end(), a);
                    if (place == axes.end()) {
                        SetAxis(*g, a, m.name, {1}, 1, 0, "Backward");
                        continue;
                    }
                    const int p = static_cast<int>(place - axes.begin());
                    const grid::AxisSetup setup = Axis(m.name, {1, 2}, 2, 2, boundaries[(bc + p) % 3]);
                    grid::Configure(*g, a, setup);
                    grid::Configure(*lower, p, setup);
                }
                g->Integrals(index_sets::IntegralNames(dims)).Settle().Declare();
                const std::vector<Polynomial> f(factors.begin(), factors.begin() + dims);
                if (axes.size() == 2) {
                    // The two dimensions order an element's second-derivative and
                    // joint rows in a way of their own: the rows agree, not their order.
                    lower->Integrals(index_sets::IntegralNames(2)).Settle().Declare();
                    EXPECT_GT(fieldcheck::ExpectAgreesOnSubgrids(*g, axes, *lower, Nodes(*g), f, {}, 1e-12, false), 0);
                    continue;
                }
                const int axis = axes[0];
                lower->Integrals({"idx"}).Settle().Declare();
                EXPECT_GT(fieldcheck::ExpectAgreesAlongAxis(*g, axis, *lower, Nodes(*g), f), 0);
                // On every line each array's rows, the joint rows aside, stand at
                // the nodes in the order one dimension gives them.
                std::map<std::string, std::vector<int>> expected;
                for (const Row& r : lower->Rows())
                    if (r.site != m.lineFirst + m.points + 4 && r.site != m.lineFirst + m.points + 5)
                        expected[r.subject.array].push_back(r.Node());
                const Block b = Layout(m, dims, axis);
                std::map<std::pair<std::string, std::vector<int>>, std::vector<int>> lines;  // by array and line
                for (const Row& r : g->Rows()) {
                    if (r.record >= lower->firstExpression || grid::DirectionOf(r.subject.array) != axis || b.Joint(r.site))
                        continue;
                    std::vector<int> line = r.subject.index;
                    line.erase(line.begin() + axis);
                    lines[{r.subject.array, line}].push_back(r.Node(axis));
                }
                std::size_t perArray = 1;
                for (int a = 0; a < dims; ++a)
                    if (a != axis) perArray *= static_cast<std::size_t>(g->EndNode(a) + 1);
                EXPECT_EQ(lines.size(), (2u + (1u << axis)) * perArray);
                for (const auto& [at, nodes] : lines) {
                    const std::string& array = at.first;  // in one dimension:
                    EXPECT_EQ(nodes, expected[array[0] == 'I' ? "IDX" : array[1] == '2' ? "D2DX2" : "DDX"]) << array;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, Ocfe, ::testing::ValuesIn(Methods()),
                         [](const ::testing::TestParamInfo<Method>& info) { return std::string(info.param.name); });

// --- worked examples, and the rows that stand apart -----------------------------------

// 2D, one element, first derivatives only, in the example's direction; the
// other direction BFD1 over three lines with no rows of its own. The end row of
// the last section comes before that section's element rows.
TEST_P(Ocfe, WorkedExampleOfOneElement2D) {
    const Method& m = GetParam();
    const int axis = m.exampleAxis, other = 1 - axis;
    grid::Grid2 g;
    SetAxis(g, axis, m.name, {1}, 1, 1, m.exampleBoundary);
    SetAxis(g, other, "BFD1", {2}, 1, 0, m.exampleBoundary);
    g.Settle().Declare();
    std::vector<std::string> expected;
    for (int l = 0; l <= 2; ++l)
        for (const auto& [site, n] : m.example)
            expected.push_back(std::to_string(site) + "@" + std::to_string(axis == kX ? n : l) + "," +
                               std::to_string(axis == kX ? l : n));
    const std::vector<Row> rows = g.Rows();
    EXPECT_EQ(grid::Sequence(rows), expected);
    for (const Row& r : rows) EXPECT_EQ(r.group, Group(2, m, axis)) << "ZR_Eqn" << r.site;
}

class Collocation3D : public LinkedTest {};

// OCFE3 along x, one section of two elements, "Forward": on each line the row
// at the domain's last node comes before the section's element rows, and the
// joint row stands at node 3 only (node 6 ends the section).
TEST_F(Collocation3D, Ocfe3ForwardOnOneLine) {
    grid::Grid3 g;
    SetAxis(g, kX, "OCFE3", {2}, 2, 2, "Forward");
    SetAxis(g, kY, "BFD1", {2}, 1, 0, "Backward");
    SetAxis(g, kZ, "BFD1", {2}, 1, 0, "Backward");
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
            grid::Configure(g, a, a == c.axis ? Axis(c.method, {2}, 2, 2, "Forward") : Axis("BFD1", {2}, 1, 0, "Backward"));
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
