// The finite-difference methods of the two-dimensional distribution, one table
// entry per method: each row is exact on product polynomials up to its
// stencil's degree along its own direction, the rows define every element once
// (joints twice when second derivatives are used, second derivatives only on the
// lines of their sets) in the numbers the closed forms give, each line's rows
// are those of the one-dimensional distribution over the same domain, and the x
// block walks a small grid in the order its program sets out.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "field_check.h"
#include "grid.h"
#include "index_sets.h"
#include "linked_fixture.h"

using fieldcheck::Family;
using grid::kX;
using grid::kY;

namespace {

// What a block's closed forms are written in, read along its own axis: N the end
// node, S the sections, E the elements; the lines it runs over (the other
// axis's end node + 1), those of its second derivatives (J2 for x, I2 for y)
// and those of its second rows at joints (every line for x, I2 for y); the
// order in use and whether its integral is asked.
struct Block {
    long long n, s, e, all, set, joint;
    int u;
    bool integral;
    long long D1(long long k) const { return u > 0 ? k : 0; }
    long long D2(long long k) const { return u > 1 ? k : 0; }
    long long I(long long k) const { return integral ? k : 0; }
};

// Rows of these sites, and how many.
using Tally = std::vector<std::pair<std::vector<int>, long long>>;
// Rows (site, node along x) walked line by line, one group after the other.
using Walk = std::vector<std::vector<std::pair<int, int>>>;

// The y block's sites are the x block's shifted by yFirst - xFirst, then one
// IDXDY site for each of the x block's last `integrals` sites, its IDX rows.
struct FdMethod {
    const char* name;
    int xBlock;  // the x block's group offset; the y block's is the next
    int xFirst, yFirst, integrals;
    std::vector<Family> families;  // the x block's
    Tally (*counts)(const Block&);  // the x block's
    // x in two sections of `spacing`, y in one section of two intervals,
    // second x derivatives only. Empty: the method's example stands apart.
    double spacing;
    Walk example;
};

// Degrees from the stencils: two-point differences and the trapezoid are exact
// for lines, three-point first differences and the parabolic element integrals
// for parabolas, the symmetric three-point second difference for cubics; the
// central difference over two unequal spacings only for lines. Five-point rows
// are exact for quartics, the symmetric second difference for quintics; CFD4's
// three-point rows next to a joint of unequal spacings for parabolas.
const std::vector<FdMethod> kMethods = {
    {"BFD1", 4, 5, 10, 1,
     {{"two-point first differences", {5, 6, 8}, 1}, {"three-point second differences", {7}, 3},
      {"trapezoids", {9}, 1}},
     [](const Block& b) -> Tally {
         return {{{5}, b.D1(b.all)}, {{6}, b.D1(b.n * b.all)}, {{7}, b.D2((b.n - b.s) * b.set)},
                 {{8}, b.D2((b.s - 1) * b.joint)}, {{9}, b.I(b.n * b.all)}};
     },
     0.25, {{{5, 0}, {6, 1}, {6, 2}, {6, 3}, {6, 4}}, {{7, 1}}, {{7, 3}}, {{8, 2}}}},
    {"BFD2", 6, 16, 23, 2,
     {{"three-point first differences", {16, 17, 18, 20}, 2}, {"three-point second differences", {19}, 3},
      {"parabolic element integrals", {21, 22}, 2}},
     [](const Block& b) -> Tally {
         return {{{16}, b.D1(b.all)}, {{17}, b.D1(b.s * b.all)}, {{18}, b.D1((b.n - b.s) * b.all)},
                 {{19}, b.D2((b.n - b.s) * b.set)}, {{20}, b.D2((b.s - 1) * b.joint)},
                 {{21}, b.I(b.e * b.all)}, {{22}, b.I(b.e * b.all)}};
     },
     0.25, {{{16, 0}, {17, 1}, {18, 2}, {17, 3}, {18, 4}}, {{19, 1}}, {{19, 3}}, {{20, 2}}}},
    {"FFD1", 8, 32, 37, 1,
     {{"two-point first differences", {32, 33, 35}, 1}, {"three-point second differences", {34}, 3},
      {"trapezoids", {36}, 1}},
     [](const Block& b) -> Tally {
         return {{{32}, b.D1(b.n * b.all)}, {{33}, b.D1(b.all)}, {{34}, b.D2((b.n - b.s) * b.set)},
                 {{35}, b.D2((b.s - 1) * b.joint)}, {{36}, b.I(b.n * b.all)}};
     },
     0.25, {{{32, 0}, {32, 1}, {32, 2}, {32, 3}, {33, 4}}, {{34, 1}}, {{35, 2}}, {{34, 3}}}},
    {"FFD2", 10, 43, 50, 2,
     {{"three-point first differences", {43, 44, 45, 47}, 2}, {"three-point second differences", {46}, 3},
      {"parabolic element integrals", {48, 49}, 2}},
     [](const Block& b) -> Tally {
         return {{{43}, b.D1((b.n - b.s) * b.all)}, {{44}, b.D1(b.s * b.all)}, {{45}, b.D1(b.all)},
                 {{46}, b.D2((b.n - b.s) * b.set)}, {{47}, b.D2((b.s - 1) * b.joint)},
                 {{48}, b.I(b.e * b.all)}, {{49}, b.I(b.e * b.all)}};
     },
     0.25, {{{43, 0}, {44, 1}, {43, 2}, {44, 3}, {45, 4}}, {{46, 1}}, {{47, 2}}, {{46, 3}}}},
    {"CFD2", 12, 59, 67, 2,
     {{"three-point first differences", {59, 60, 61, 64}, 2}, {"central differences across a joint", {62}, 1},
      {"three-point second differences", {63}, 3}, {"parabolic element integrals", {65, 66}, 2}},
     [](const Block& b) -> Tally {
         return {{{59}, b.D1(b.all)}, {{60}, b.D1((b.n - b.s) * b.all)},
                 {{61}, b.D1((b.u > 1 ? b.s : 1) * b.all)}, {{62}, b.D1((b.u > 1 ? 0 : b.s - 1) * b.all)},
                 {{63}, b.D2((b.n - b.s) * b.set)}, {{64}, b.D2((b.s - 1) * b.joint)},
                 {{65}, b.I(b.e * b.all)}, {{66}, b.I(b.e * b.all)}};
     },
     0.25, {{{59, 0}, {60, 1}, {61, 2}, {60, 3}, {61, 4}}, {{63, 1}}, {{63, 3}}, {{64, 2}}}},
    // Around each joint, with first derivatives only, three rows whatever the
    // spacings: 80 or 79 after it, 86 twice or 84 and 85 before and at it.
    {"CFD4", 14, 77, 95, 4,
     {{"five-point first differences", {77, 78, 80, 81, 82, 83, 86, 90}, 4},
      {"three-point first differences beside a joint", {79, 85}, 2},
      {"central differences across a joint", {84}, 1},
      {"five-point one-sided second differences", {87, 89}, 4},
      {"five-point central second differences", {88}, 5},
      {"quartic element integrals", {91, 92, 93, 94}, 4}},
     [](const Block& b) -> Tally {
         const long long ends = b.u > 1 ? b.s : 1, across = b.u > 1 ? 0 : b.s - 1;
         return {{{77}, b.D1(b.all)}, {{78}, b.D1(ends * b.all)}, {{79, 80}, b.D1(across * b.all)},
                 {{81}, b.D1((b.n - 3 * b.s) * b.all)}, {{82}, b.D1(ends * b.all)}, {{83}, b.D1(ends * b.all)},
                 {{84, 85, 86}, b.D1(2 * across * b.all)}, {{87}, b.D2(b.s * b.set)},
                 {{88}, b.D2((b.n - 3 * b.s) * b.set)}, {{89}, b.D2(b.s * b.set)}, {{90}, b.D2((b.s - 1) * b.joint)},
                 {{91}, b.I(b.e * b.all)}, {{92}, b.I(b.e * b.all)}, {{93}, b.I(b.e * b.all)},
                 {{94}, b.I(b.e * b.all)}};
     },
     0, {}},
    // x in two sections of four intervals: each line's first-derivative rows
    // section after section, 121 at the joint from the left; then each
    // section's second-derivative rows on the lines of J2, the second
    // section's joint row 125 on every line after its own.
    {"UBFD4", 16, 117, 130, 4,
     {{"five-point first differences", {117, 118, 119, 120, 121, 125}, 4},
      {"five-point one-sided second differences", {122, 124}, 4},
      {"five-point central second differences", {123}, 5},
      {"quartic element integrals", {126, 127, 128, 129}, 4}},
     [](const Block& b) -> Tally {
         return {{{117}, b.D1(b.all)}, {{118}, b.D1(b.s * b.all)}, {{119}, b.D1(b.s * b.all)},
                 {{120}, b.D1((b.n - 3 * b.s) * b.all)}, {{121}, b.D1(b.s * b.all)}, {{122}, b.D2(b.s * b.set)},
                 {{123}, b.D2(b.s * b.set)}, {{124}, b.D2((b.n - 3 * b.s) * b.set)},
                 {{125}, b.D2((b.s - 1) * b.joint)}, {{126}, b.I(b.e * b.all)}, {{127}, b.I(b.e * b.all)},
                 {{128}, b.I(b.e * b.all)}, {{129}, b.I(b.e * b.all)}};
     },
     0.125,
     {{{117, 0}, {118, 1}, {119, 2}, {120, 3}, {121, 4}, {118, 5}, {119, 6}, {120, 7}, {121, 8}},
      {{122, 1}, {123, 2}, {124, 3}},
      {{122, 5}, {123, 6}, {124, 7}},
      {{125, 4}}}},
};

void PrintTo(const FdMethod& m, std::ostream* os) { *os << m.name; }

const FdMethod& Named(const char* name) {
    for (const FdMethod& m : kMethods)
        if (std::strcmp(m.name, name) == 0) return m;
    throw std::invalid_argument(name);
}

// Both blocks' families: the y block's are the x block's shifted, its
// integrals with the IDXDY rows beside its IDY rows.
std::vector<Family> Families(const FdMethod& m) {
    std::vector<Family> out = m.families;
    const int shift = m.yFirst - m.xFirst;
    for (const Family& f : m.families) {
        Family y{f.label, {}, f.degree, kY};
        for (int s : f.sites) {
            y.sites.push_back(s + shift);
            if (s >= m.yFirst - m.integrals) y.sites.push_back(s + shift + m.integrals);
        }
        out.push_back(y);
    }
    out.push_back({"integral starts", {1, 2, 3, 4}, grid::kAnyDegree, kX});
    return out;
}

// --- what a grid holds -------------------------------------------------------------------

std::set<int> Joints(grid::Grid& g, int axis) {
    std::set<int> out;
    for (int s = 2; s <= g.SectionCount(axis); ++s) out.insert(g.Section(axis, s).BASE.v());
    return out;
}

// The nodes strictly inside a section.
std::set<int> Inner(grid::Grid& g, int axis) {
    std::set<int> out;
    for (int s = 1; s <= g.SectionCount(axis); ++s) {
        const int b = g.Section(axis, s).BASE.v();
        for (int n = b + 1; n < b + g.Section(axis, s).NODECOUNT.v(); ++n) out.insert(n);
    }
    return out;
}

// {0} ∪ INTERIOR ∪ {ENDNODE}: J2 of the y domain, I2 of the x domain.
std::set<int> Lines(grid::Grid& g, int axis) {
    const index_sets::Ints n = index_sets::NodesWithEnds(g.Domain(axis));
    return std::set<int>(n.begin(), n.end());
}

Block Measure(grid::Grid2& g, int axis, const grid::Setup& c) {
    Block b{};
    b.n = g.EndNode(axis);
    b.s = g.SectionCount(axis);
    for (int s = 1; s <= b.s; ++s) b.e += g.Section(axis, s).NUMELEMENTS.v();
    b.all = g.EndNode(1 - axis) + 1;
    b.set = static_cast<long long>(Lines(g, 1 - axis).size());
    b.joint = axis == kX ? b.all : b.set;
    b.u = axis == kX ? g.dist.HIGHESTORDERXDERIVATIVEUSED.v() : g.dist.HIGHESTORDERYDERIVATIVEUSED.v();
    b.integral = axis == kX ? c.Has("idx") || c.Has("idxdy") : c.Has("idy");
    return b;
}

// The method on x, on y or on both (by the seed), the other axis any method.
grid::Setup Draw(std::uint32_t seed, const char* method) {
    grid::Setup c = grid::DrawSetup(seed, 2);
    for (int a : {kX, kY})
        if (seed % 3 == 2 || seed % 3 == static_cast<std::uint32_t>(a)) c.axes[a].method = method;
    return c;
}

// Row counts per element, keyed (i, j): `count(n, k)` rows at node n of the
// axis on line k of the other, none where it is 0.
template <class F>
std::map<std::vector<int>, int> Expected(grid::Grid& g, int axis, F&& count) {
    std::map<std::vector<int>, int> out;
    for (int i = 0; i <= g.EndNode(kX); ++i)
        for (int j = 0; j <= g.EndNode(kY); ++j)
            if (const int n = axis == kX ? count(i, j) : count(j, i)) out[{i, j}] = n;
    return out;
}

void ExpectTally(const std::vector<grid::Row>& rows, int group, const Tally& tally) {
    long long all = 0;
    for (const auto& [sites, expected] : tally) {
        long long n = 0;
        for (const grid::Row& r : rows)
            for (int site : sites) n += r.site == site;
        EXPECT_EQ(n, expected) << "rows of ZR_Eqn" << sites.front();
        all += expected;
    }
    long long inGroup = 0;
    for (const grid::Row& r : rows) inGroup += r.group == group;
    EXPECT_EQ(inGroup, all) << "rows of group " << group;
}

class Fd2Method : public LinkedTest, public ::testing::WithParamInterface<FdMethod> {};
class Fd2Example : public Fd2Method {};

// Sections of different spacings in both directions, so that a row with the
// wrong section's h, or a value one node off across its direction, shows.
TEST_P(Fd2Method, EveryRowIsExactForItsDegreeAndNoMore) {
    const FdMethod& m = GetParam();
    for (int used : {1, 2}) {
        SCOPED_TRACE(std::string(m.name) + " used " + std::to_string(used));
        grid::Grid2 g;
        g.Method(m.name).Highest(used).Used(used).Integrals({"idx", "idy", "idxdy"});
        g.SectionSpacings(kX, {1.0 / 12, 1.0 / 24, 1.0 / 36}).SectionSpacings(kY, {1.0 / 8, 1.0 / 16});
        g.Settle().Declare();
        for (int a : {kX, kY})
            for (int s = 2; s <= g.SectionCount(a); ++s)
                ASSERT_NE(g.Section(a, s - 1).ELEMENTLENGTH.v(), g.Section(a, s).ELEMENTLENGTH.v());
        fieldcheck::ExpectExactness(g, fieldcheck::UniformNodes(g), Families(m), 1e-12, 1e-7);
    }
}

// Over random configurations, with the method on either axis or both: every
// element of a used derivative has one first-derivative row, two at a section
// joint of its direction when second derivatives are used (a y joint only on
// the x lines of I2); second derivatives stand at the sections' inner nodes on
// the lines of J2 (x) or I2 (y); every integral element has one row; nothing
// lies outside its index sets; each site has as many rows as its closed form.
TEST_P(Fd2Method, RowsDefineEveryElementInTheNumbersOfTheClosedForms) {
    const FdMethod& m = GetParam();
    int checked = 0;
    for (std::uint32_t seed = 1; checked < 40 && seed < 400; ++seed) {
        const grid::Setup c = Draw(7000 + seed, m.name);
        SCOPED_TRACE(c.Describe());
        host.Reset();
        grid::Grid2 g;
        if (!grid::Configure(g, c)) continue;
        g.Declare(100);
        ++checked;
        const std::vector<grid::Row> rows = g.Rows();
        const grid::Census census(rows);
        grid::ExpectInsideIndexSets(g, rows);
        for (int a : {kX, kY}) {
            if (std::strcmp(c.axes[a].method, m.name) != 0) continue;
            const Block b = Measure(g, a, c);
            const std::set<int> joints = Joints(g, a), inner = Inner(g, a), lines = Lines(g, 1 - a);
            const std::string l(1, "XY"[a]);
            EXPECT_EQ(census.Of("DD" + l), Expected(g, a, [&](int n, int k) {
                          return b.u > 0 ? 1 + (b.u > 1 && joints.count(n) && (a == kX || lines.count(k))) : 0;
                      }));
            EXPECT_EQ(census.Of("D2D" + l + "2"), Expected(g, a, [&](int n, int k) {
                          return b.u > 1 && inner.count(n) && lines.count(k) ? 1 : 0;
                      }));
            EXPECT_EQ(census.Of("ID" + l), Expected(g, a, [&](int, int) { return b.integral ? 1 : 0; }));
            Tally tally = m.counts(b);
            if (a == kY) {
                // The IDXDY rows: the IDY rules over the lines but x's first.
                Block idxdy = b;
                idxdy.all -= 1;
                idxdy.integral = c.Has("idxdy");
                const Tally extra = m.counts(idxdy);
                tally.insert(tally.end(), extra.end() - m.integrals, extra.end());
                for (std::size_t t = 0; t < tally.size(); ++t)
                    for (int& site : tally[t].first)
                        site += m.yFirst - m.xFirst + (t + m.integrals >= tally.size() ? m.integrals : 0);
                EXPECT_EQ(census.Of("IDXDY"), Expected(g, a, [&](int, int) { return c.Has("idxdy") ? 1 : 0; }));
            }
            ExpectTally(rows, 100 + m.xBlock + a, tally);
        }
        if (HasFailure()) break;  // the first configuration that fails is the one to read
    }
    EXPECT_EQ(checked, 40) << "too few configurations within the node limit";
}

// Along each axis that uses the method, the rows of every line are those of the
// one-dimensional distribution over a domain set up alike, on the same field:
// the same residuals, scaled by what the other axis gives the line.
TEST_P(Fd2Method, EachLineAgreesWithOneDimension) {
    const FdMethod& m = GetParam();
    const fieldcheck::Polynomial along({0.3, -1.1, 0.7, 2.0, -0.4, 1.3, -0.9, 0.5}, 0.37);
    const fieldcheck::Polynomial across({1.0, 0.5, 0.25}, 0.4);
    for (std::uint32_t seed = 1; seed <= 24; ++seed) {
        grid::Setup c = Draw(9000 + seed, m.name);
        auto uses = [&](int a) { return std::strcmp(c.axes[a].method, m.name) == 0; };
        const int axis = uses(kX) && (seed % 2 || !uses(kY)) ? kX : kY;
        grid::AxisSetup& own = c.axes[axis];
        own.used = static_cast<int>(seed % 3);
        SCOPED_TRACE(c.Describe() + " along " + "XY"[axis]);
        host.Reset();
        grid::Grid2 g;
        if (!grid::Configure(g, c)) continue;
        g.Declare(100);
        grid::Grid1 line;
        grid::Configure(line, kX, own);
        if (axis == kX ? c.Has("idx") || c.Has("idxdy") : c.Has("idy") || c.Has("idxdy")) line.Integrals({"idx"});
        line.Settle().Declare();
        const std::set<int> lines = Lines(g, 1 - axis);
        const fieldcheck::WholeLine whole = [&](const std::string& array, const std::vector<int>& l) {
            const bool onLineSet = lines.count(l.at(0)) != 0;
            return axis == kX ? array != "D2DX2" || onLineSet : (array != "D2DY2" && array != "DDY") || onLineSet;
        };
        std::vector<fieldcheck::Polynomial> factors{across, across};
        factors[static_cast<std::size_t>(axis)] = along;
        const int matched =
            fieldcheck::ExpectAgreesAlongAxis(g, axis, line, fieldcheck::UniformNodes(g), factors, whole);
        if (own.used > 0) {
            EXPECT_GT(matched, 0);
        }
        if (HasFailure()) break;
    }
}

// y BFD1 in one section of two intervals with nothing of its own: the x block's rows
// group by group, each group line by line.
TEST_P(Fd2Example, WorkedExampleOfTheXBlock) {
    const FdMethod& m = GetParam();
    grid::Grid2 g;
    g.Method(kX, m.name).Sections(kX, 2).Spacing(kX, m.spacing).Highest(kX, 2).Used(kX, 2);
    g.Method(kY, "BFD1").Spacing(kY, 0.5).Highest(kY, 1).Used(kY, 0).Settle().Declare(100);
    ASSERT_EQ(g.EndNode(kY), 2);
    std::vector<std::string> expected;
    for (const auto& group : m.example)
        for (int j = 0; j <= 2; ++j)
            for (const auto& [site, i] : group)
                expected.push_back(std::to_string(site) + "@" + std::to_string(i) + "," + std::to_string(j));
    const std::vector<grid::Row> rows = g.Rows();
    EXPECT_EQ(grid::Sequence(rows), expected);
    for (const grid::Row& r : rows) EXPECT_EQ(r.group, 100 + m.xBlock) << "ZR_Eqn" << r.site;
}

std::vector<FdMethod> WithExamples() {
    std::vector<FdMethod> out;
    for (const FdMethod& m : kMethods)
        if (!m.example.empty()) out.push_back(m);
    return out;
}

auto Name(const ::testing::TestParamInfo<FdMethod>& info) { return std::string(info.param.name); }
INSTANTIATE_TEST_SUITE_P(Methods, Fd2Method, ::testing::ValuesIn(kMethods), Name);
INSTANTIATE_TEST_SUITE_P(Methods, Fd2Example, ::testing::ValuesIn(WithExamples()), Name);

class Fd2Joints : public LinkedTest {};

// CFD4's example: first derivatives only, in either direction, where the rows
// around a joint hang on an exact comparison of the two sections' spacings.
// Equal ones give the five-point rows across the joint (86 before and at it,
// declared by the left section with its spacing, 80 after it by the right one),
// exact for quartics; spacings one unit in the last place apart, or not a
// number, give the second-order rows, the one at the joint naming the right
// section's spacing first. Each line's rows in the order of the block's program.
TEST_F(Fd2Joints, Cfd4JointsCompareSpacingsExactlyInEitherDirection) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), h = 0.0625;
    struct Case {
        const char* label;
        double h1, h2;  // 0: as the domain placed it
        bool equal;
    };
    const Case cases[] = {{"equal", 0, 0, true},
                          {"one ulp apart", 0, std::nextafter(h, 1.0), false},
                          {"the first not a number", nan, 0, false}};
    const FdMethod& cfd4 = Named("CFD4");
    for (int axis : {kX, kY}) {
        const int other = 1 - axis, shift = axis == kX ? 0 : cfd4.yFirst - cfd4.xFirst;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(axis == kX ? "x: " : "y: ") + c.label);
            host.Reset();
            grid::Grid2 g;
            g.Method(axis, "CFD4").Sections(axis, 2).Spacing(axis, h).Highest(axis, 1).Used(axis, 1);
            g.Method(other, "BFD1").Spacing(other, 0.5).Highest(other, 1).Used(other, 0).Settle();
            ASSERT_EQ(g.EndNode(axis), 16);
            ASSERT_EQ(g.EndNode(other), 2);
            for (int s : {1, 2}) {
                ASSERT_EQ(g.Section(axis, s).ELEMENTLENGTH.v(), h);
                const double value = s == 1 ? c.h1 : c.h2;
                if (value != 0 || std::isnan(value)) {
                    ASSERT_EQ(g.Section(axis, s).ELEMENTLENGTH.SetUserValue(ZR_Value(value, 0)), 0);
                }
            }
            g.Declare(100);
            std::vector<std::pair<int, int>> line = {{77, 0}, {78, 1}};
            for (int n = 2; n <= 6; ++n) line.push_back({81, n});
            if (c.equal) {
                line.insert(line.end(), {{86, 7}, {86, 8}, {80, 9}});
            } else {
                line.insert(line.end(), {{84, 8}, {85, 7}, {79, 9}});
            }
            for (int n = 10; n <= 14; ++n) line.push_back({81, n});
            line.insert(line.end(), {{82, 15}, {83, 16}});
            std::vector<std::string> expected;
            for (int l = 0; l <= 2; ++l)
                for (const auto& [site, n] : line)
                    expected.push_back(std::to_string(site + shift) + "@" + std::to_string(axis == kX ? n : l) + "," +
                                       std::to_string(axis == kX ? l : n));
            const std::vector<grid::Row> rows = g.Rows();
            EXPECT_EQ(grid::Sequence(rows), expected);
            for (const grid::Row& r : rows) {
                EXPECT_EQ(r.group, 100 + cfd4.xBlock + axis) << "ZR_Eqn" << r.site;
                const int site = r.site - shift, section = r.terms.at(1).section;
                if (site == 86 || site == 80) {
                    EXPECT_EQ(section, site == 86 ? 1 : 2) << "ZR_Eqn" << r.site << " at " << r.subject.Name();
                }
                if (site == 84) {
                    EXPECT_EQ(std::make_pair(section, r.terms.at(2).section), std::make_pair(2, 1));
                }
            }
            if (c.equal) {
                fieldcheck::ExpectExactness(g, fieldcheck::UniformNodes(g), Families(cfd4), 1e-12, 1e-7);
            }
            for (const std::string& e : host.errors) ADD_FAILURE() << "host error: " << e;
            host.errors.clear();
        }
    }
}

}  // namespace
