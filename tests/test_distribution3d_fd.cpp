// The finite-difference methods of the three-dimensional distribution, one
// table entry per method: every row vanishes on the product fields its stencil
// is exact for in its own direction; over random configurations the rows define
// every element as the methods intend and keep their blocks' loop orders; each
// line and plane carries the rows, values and order of the one- and
// two-dimensional distributions over the same domains.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
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
using grid::kX;
using grid::kY;
using grid::kZ;
using grid::Row;

namespace {

const std::vector<std::string> kAllIntegrals = index_sets::IntegralNames(3);

// Sites that share a stencil, by their offset from their block's first site.
struct Stencil {
    const char* label;
    std::vector<int> offsets;
    int degree;
};

struct Method {
    const char* name;
    int width;  // the intervals of the smallest section the method takes; sections are multiples of it
    // The x block's first site and its derivative rows' sites; each block
    // follows with as many sites again and then `integrals` per integral it
    // builds (x: IDX; y: IDY, IDXDY; z: IDZ, IDXDZ, IDYDZ, IDXDYDZ), the y
    // block after the x block, the z block after the y.
    int first, derivatives;
    std::vector<Stencil> stencils;
    Stencil integral;  // its offsets: how many sites per integral
    // The x block's second-derivative and joint rows run this cross direction
    // outermost; the y and z blocks run theirs in x, y, z order.
    int xSecondOuter;
    // The worked example: the x block on the line j = 1, k = 0, with two x
    // sections of these spacings, second derivatives in x and "idx", each row
    // as "site@i:the section of its h".
    std::vector<double> exampleSpacings;
    std::vector<std::string> example;
    // The cross direction that the x, y and z blocks' first-derivative rows run
    // outermost; their integral rows run the later one outermost.
    std::vector<int> firstOuter = {kZ, kZ, kY};
    // Rows that only first derivatives give beside a joint, by whether the two
    // sections' spacings differ or are equal.
    std::vector<Stencil> unequalJoints = {}, equalJoints = {};

    // The families of these stencils in every block, with the start rows and
    // the integrals.
    std::vector<Family> Families(const std::vector<Stencil>& joints = {}) const {
        std::vector<Family> out = {{"integral start", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, grid::kAnyDegree}};
        for (int axis = kX, site = first; axis <= kZ; ++axis) {
            for (const std::vector<Stencil>& list : {stencils, joints}) {
                for (const Stencil& stencil : list) {
                    out.push_back({stencil.label, {}, stencil.degree, axis});
                    for (int o : stencil.offsets) out.back().sites.push_back(site + o);
                }
            }
            site += derivatives;
            out.push_back({integral.label, {}, integral.degree, axis});
            for (std::size_t i = 0; i < (1u << axis) * integral.offsets.size(); ++i) out.back().sites.push_back(site++);
        }
        return out;
    }
};

// Degrees in the block's own direction: two-point differences and the
// trapezoid are exact for lines, three-point first differences and the
// integral of the quadratic through an element's three nodes for parabolas,
// the symmetric three-point second difference for cubics, five-point rows and
// the integrals of the quartic through an element's five nodes for quartics,
// the symmetric five-point second difference for quintics. A row over two
// spacings, h(s+1) + h, is a central difference only when they are equal. An
// integral of an integral stands beside its direction's own.
const std::vector<Method>& Methods() {
    const Stencil trapezoid = {"trapezoid integrals", {0}, 1}, quadratic = {"quadratic element integrals", {0, 1}, 2},
                  quartic = {"quartic element integrals", {0, 1, 2, 3}, 4};
    static const std::vector<Method> methods = {
        {"BFD1", 2, 13, 4,
         {{"two-point first differences", {0, 1, 3}, 1}, {"three-point second differences", {2}, 3}},
         trapezoid, kZ, {1.0 / 6, 1.0 / 4},
         {"13@0:1", "14@1:1", "14@2:1", "14@3:1", "14@4:2", "14@5:2", "15@1:1", "15@2:1", "15@4:2", "16@3:2",
          "17@1:1", "17@2:1", "17@3:1", "17@4:2", "17@5:2"}},
        {"BFD2", 2, 32, 5,
         {{"three-point first differences", {0, 1, 2, 4}, 2}, {"three-point second differences", {3}, 3}},
         quadratic, kY, {1.0 / 4, 1.0 / 8},
         {"32@0:1", "33@1:1", "34@2:1", "33@3:2", "34@4:2", "34@5:2", "34@6:2", "35@1:1", "35@3:2", "35@4:2",
          "35@5:2", "36@2:2", "37@1:1", "38@2:1", "37@3:2", "38@4:2", "37@5:2", "38@6:2"}},
        {"FFD1", 2, 61, 4,
         {{"two-point first differences", {0, 1, 3}, 1}, {"three-point second differences", {2}, 3}},
         trapezoid, kZ, {1.0 / 6, 1.0 / 4},
         {"61@0:1", "61@1:1", "61@2:1", "61@3:2", "61@4:2", "62@5:2", "63@1:1", "63@2:1", "64@3:1", "63@4:2",
          "65@1:1", "65@2:1", "65@3:1", "65@4:2", "65@5:2"}},
        {"FFD2", 2, 80, 5,
         {{"three-point first differences", {0, 1, 2, 4}, 2}, {"three-point second differences", {3}, 3}},
         quadratic, kY, {1.0 / 4, 1.0 / 8},
         {"80@0:1", "81@1:1", "80@2:2", "80@3:2", "80@4:2", "81@5:2", "82@6:2", "83@1:1", "84@2:1", "83@3:2",
          "83@4:2", "83@5:2", "85@1:1", "86@2:1", "85@3:2", "86@4:2", "85@5:2", "86@6:2"}},
        {"CFD2", 2, 109, 6,
         {{"three-point first differences", {0, 1, 2, 5}, 2}, {"three-point second differences", {4}, 3}},
         quadratic, kY, {1.0 / 4, 1.0 / 8},
         {"109@0:1", "110@1:1", "111@2:1", "110@3:2", "110@4:2", "110@5:2", "111@6:2", "113@1:1", "113@3:2",
          "113@4:2", "113@5:2", "114@2:2", "115@1:1", "116@2:1", "115@3:2", "116@4:2", "115@5:2", "116@6:2"},
         {kZ, kZ, kY}, {{"differences across a joint", {3}, 1}}, {{"differences across a joint", {3}, 2}}},
        {"CFD4", 4, 141, 14,
         {{"five-point first differences", {0, 1, 4, 5, 6, 13}, 4},
          {"five-point one-sided second differences", {10, 12}, 4},
          {"five-point central second differences", {11}, 5}},
         quartic, kY, {1.0 / 8, 1.0 / 16},
         {"141@0:1", "142@1:1", "145@2:1", "146@3:1", "147@4:1", "142@5:2", "145@6:2", "145@7:2", "145@8:2",
          "145@9:2", "145@10:2", "146@11:2", "147@12:2", "151@1:1", "152@2:1", "153@3:1", "151@5:2", "152@6:2",
          "152@7:2", "152@8:2", "152@9:2", "152@10:2", "153@11:2", "154@4:2", "155@1:1", "156@2:1", "157@3:1",
          "158@4:1", "155@5:2", "156@6:2", "157@7:2", "158@8:2", "155@9:2", "156@10:2", "157@11:2", "158@12:2"},
         {kZ, kZ, kY},
         {{"three-point first differences beside a joint", {2, 8}, 2}, {"differences across a joint", {7}, 1}},
         {{"five-point first differences across a joint", {3, 9}, 4}}},
        {"UBFD4", 4, 211, 9,
         {{"five-point first differences", {0, 1, 2, 3, 4, 8}, 4},
          {"five-point one-sided second differences", {5, 7}, 4},
          {"five-point central second differences", {6}, 5}},
         quartic, kY, {1.0 / 8, 1.0 / 16},
         {"211@0:1", "212@1:1", "213@2:1", "214@3:1", "215@4:1", "212@5:2", "213@6:2", "214@7:2", "214@8:2",
          "214@9:2", "214@10:2", "214@11:2", "215@12:2", "216@1:1", "217@2:1", "218@3:1", "216@5:2", "217@6:2",
          "218@7:2", "218@8:2", "218@9:2", "218@10:2", "218@11:2", "219@4:2", "220@1:1", "221@2:1", "222@3:1",
          "223@4:1", "220@5:2", "221@6:2", "222@7:2", "223@8:2", "220@9:2", "221@10:2", "222@11:2", "223@12:2"},
         {kY, kX, kY}},
    };
    return methods;
}

void PrintTo(const Method& m, std::ostream* os) { *os << m.name; }
std::string NameOf(const ::testing::TestParamInfo<Method>& info) { return info.param.name; }

// A spacing preference that gives a section of 1/sections `intervals` intervals.
double Spacing(int sections, int intervals) { return 1.0 / (sections * intervals); }

// The direction an array differentiates or integrates last along, the block
// that defines it; -1 for VALUE.
int DirectionOf(const std::string& array) {
    for (auto c = array.rbegin(); c != array.rend(); ++c)
        if (*c >= 'X' && *c <= 'Z') return *c - 'X';
    return -1;
}
bool IsSecondDerivative(const std::string& array) { return array.rfind("D2D", 0) == 0; }

// One direction of a settled grid: its sections' first nodes, its end node and
// its lines {0} ∪ INTERIOR ∪ {ENDNODE}.
struct Direction {
    int end = 0;
    std::vector<int> bases;
    std::set<int> lines;

    Direction(grid::Grid& g, int axis) : end(g.EndNode(axis)) {
        for (int s = 1; s <= g.SectionCount(axis); ++s) bases.push_back(g.Section(axis, s).BASE.v());
        for (int n = 0; n <= end; ++n)
            if (n == 0 || n == end || g.Domain(axis).INTERIOR.v() >= n) lines.insert(n);
    }
    bool Joint(int n) const { return n != 0 && std::count(bases.begin(), bases.end(), n) != 0; }
    bool Line(int n) const { return lines.count(n) != 0; }
    // The section a node lies strictly inside; 0 for the ends of sections.
    int SectionInside(int n) const {
        if (n <= 0 || n >= end || Joint(n)) return 0;
        return static_cast<int>(std::upper_bound(bases.begin(), bases.end(), n) - bases.begin());
    }
};

class FiniteDifferences3D : public LinkedTest, public ::testing::WithParamInterface<Method> {};

// In turn each direction has two sections and the other two one section each,
// every spacing of the grid its own unless the two sections' are to be equal:
// a row that takes a wrong h, or a neighbour on a wrong index, misses. With
// first derivatives alone the central methods give each joint rows of its own,
// chosen by whether the two sections' spacings are equal.
TEST_P(FiniteDifferences3D, EveryRowIsExactForItsDegreeInItsDirectionAndNoMore) {
    const Method& m = GetParam();
    const struct {
        const char* label;
        int order;
        bool equal;
        std::vector<Stencil> joints;
    } cases[] = {{"second derivatives", 2, false, {}},
                 {"first derivatives, unequal spacings", 1, false, m.unequalJoints},
                 {"first derivatives, equal spacings", 1, true, m.equalJoints}};
    for (const auto& c : cases) {
        for (int longAxis : {kX, kY, kZ}) {
            SCOPED_TRACE(std::string(c.label) + ", two sections along " + "xyz"[longAxis]);
            host.Reset();
            grid::Grid3 g;
            g.Method(m.name).Highest(c.order).Used(c.order).Integrals(kAllIntegrals);
            int shortIntervals = m.width;
            for (int a : {kX, kY, kZ}) {
                if (a == longAxis) {
                    g.SectionSpacings(a, {Spacing(2, m.width), Spacing(2, (c.equal ? 1 : 2) * m.width)});
                } else {
                    g.SectionSpacings(a, {Spacing(1, shortIntervals)});
                    shortIntervals = 3 * m.width;
                }
            }
            g.Settle().Declare();
            std::set<double> spacings;
            for (int a : {kX, kY, kZ})
                for (int s = 1; s <= g.SectionCount(a); ++s) spacings.insert(g.Section(a, s).ELEMENTLENGTH.v());
            ASSERT_EQ(spacings.size(), c.equal ? 3u : 4u);
            fieldcheck::ExpectExactness(g, fieldcheck::UniformNodes(g), m.Families(c.joints), 1e-12, 1e-7);
            // A row over both sections' spacings names the next section's first,
            // which the sum cannot show.
            for (const Row& r : g.Rows()) {
                if (r.terms.size() > 2 && r.terms[1].parameter && r.terms[2].parameter) {
                    EXPECT_EQ(std::make_pair(r.terms[1].section, r.terms[2].section), std::make_pair(2, 1))
                        << "ZR_Eqn" << r.site << " at " << r.subject.Name();
                }
            }
        }
    }
}

// The x block on one line: each row at its node with the spacing of the
// section whose loop declares it, the joint rows after their section's second
// derivatives, the integrals last.
TEST_P(FiniteDifferences3D, WorkedExampleOnOneLine) {
    const Method& m = GetParam();
    grid::Grid3 g;
    g.Method(m.name).SectionSpacings(kY, {Spacing(1, m.width)}).SectionSpacings(kZ, {Spacing(1, m.width)});
    g.SectionSpacings(kX, m.exampleSpacings).Highest(kX, 2).Used(kX, 2).Used(kY, 0).Used(kZ, 0).Integrals({"idx"});
    g.Settle().Declare();
    std::vector<std::string> line;
    for (const Row& r : g.Rows()) {
        if (r.site <= 12 || r.Node(kY) != 1 || r.Node(kZ) != 0) continue;
        int section = 0;
        for (const grid::Term& t : r.terms)
            if (t.parameter) section = t.section;
        line.push_back(std::to_string(r.site) + "@" + std::to_string(r.Node(kX)) + ":" + std::to_string(section));
    }
    EXPECT_EQ(line, m.example);
}

// CFD4 with first derivatives alone, in each direction: the rows around a
// joint hang on an exact comparison of the two sections' spacings. Equal ones
// give the five-point rows across the joint, spacings one unit in the last
// place apart or not a number the second-order rows. The row after an
// equal-spacing joint is declared once per line, like every other row, and
// names nothing off its line; so every node has one first-derivative row.
class Cfd4Joints3D : public LinkedTest {};

TEST_F(Cfd4Joints3D, CompareSpacingsExactlyInEveryDirection) {
    const double h = 0.125;
    const char* const unequal = "141@0 142@1 145@2 148@4 149@3 143@5 145@6 146@7 147@8";
    const struct {
        const char* label;
        double h1, h2;     // 0: as the domain placed it
        const char* line;  // the rows along a line in x block numbering: two sections of four intervals
    } cases[] = {{"equal", 0, 0, "141@0 142@1 145@2 150@3 150@4 144@5 145@6 146@7 147@8"},
                 {"one ulp apart", 0, std::nextafter(h, 1.0), unequal},
                 {"the first not a number", std::numeric_limits<double>::quiet_NaN(), 0, unequal}};
    for (int d : {kX, kY, kZ}) {
        const int shift = d == kX ? 0 : (d == kY ? 18 : 40);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(1, "xyz"[d]) + ": " + c.label);
            host.Reset();
            grid::Grid3 g;
            // The other directions three nodes each, with no rows of their own.
            for (int a : {kX, kY, kZ}) {
                if (a == d) {
                    g.Method(a, "CFD4").Sections(a, 2).Spacing(a, h).Highest(a, 1).Used(a, 1);
                } else {
                    g.Method(a, "BFD1").Spacing(a, 0.5).Used(a, 0);
                }
            }
            g.Settle();
            ASSERT_EQ(g.EndNode(d), 8);
            for (int s : {1, 2}) {
                ASSERT_EQ(g.Section(d, s).ELEMENTLENGTH.v(), h);
                const double value = s == 1 ? c.h1 : c.h2;
                if (value != 0 || std::isnan(value)) {
                    ASSERT_EQ(g.Section(d, s).ELEMENTLENGTH.SetUserValue(ZR_Value(value, 0)), 0);
                }
            }
            g.Declare(100);
            std::string lines, expected;
            for (const Row& row : g.Rows()) {
                lines += (lines.empty() ? "" : " ") + std::to_string(row.site - shift) + "@" + std::to_string(row.Node(d));
                EXPECT_EQ(row.group, 123 + d);
                for (const grid::Term& t : row.terms) {
                    for (int a = 0; a < 3; ++a) {
                        if (!t.parameter && a != d && t.index[a] != row.subject.index[a])
                            ADD_FAILURE() << "ZR_Eqn" << row.site << " at " << row.subject.Name() << " names " << t.Name();
                    }
                }
            }
            for (int line = 0; line < 9; ++line) expected += (line ? " " : "") + std::string(c.line);
            EXPECT_EQ(lines, expected);
            const grid::Census census(g.Rows());
            EXPECT_EQ(census.Of(std::string("DD") + "XYZ"[d]).size(), 9u * 9u);
            for (const auto& [index, n] : census.Of(std::string("DD") + "XYZ"[d])) EXPECT_EQ(n, 1);
        }
    }
}

// With first derivatives alone in every direction and every integral, each
// node has ten rows, one per element, when every direction's joints are of
// equal spacing and so carry the rows that reach across them.
TEST_F(Cfd4Joints3D, TenRowsAtEveryNodeAcrossEqualSpacingJoints) {
    grid::Grid3 g;
    g.Method("CFD4").Highest(1).Used(1).Integrals(kAllIntegrals);
    g.Sections(kX, 2).Sections(kY, 2).Spacing(kX, 0.125).Spacing(kY, 0.125).Spacing(kZ, 0.25);
    g.Settle().Declare();
    const std::vector<Row> rows = g.Rows();
    const grid::Census census(rows);
    for (int site : {144, 162}) EXPECT_EQ(census.Rows(site), 9 * 5) << "ZR_Eqn" << site;
    const long long nodes = (g.EndNode(kX) + 1LL) * (g.EndNode(kY) + 1LL) * (g.EndNode(kZ) + 1LL);
    ASSERT_EQ(nodes, 9 * 9 * 5);
    EXPECT_EQ(rows.size(), static_cast<std::size_t>(10 * nodes));
    for (const char* array : {"DDX", "DDY", "DDZ", "IDX", "IDY", "IDZ", "IDXDY", "IDXDZ", "IDYDZ", "IDXDYDZ"}) {
        EXPECT_EQ(census.Of(array).size(), static_cast<std::size_t>(nodes)) << array;
        for (const auto& [index, n] : census.Of(array)) EXPECT_EQ(n, 1) << array;
    }
}

// --- which rows define which elements, over random configurations ----------------

struct Config {
    std::uint32_t seed;
    const Method* method[3];
    std::vector<int> intervals[3];  // per section
    int highest[3], used[3];
    std::vector<std::string> integrals;
    std::string Describe() const {
        std::string s = "seed " + std::to_string(seed) + ":";
        for (int a = 0; a < 3; ++a) {
            s += std::string(" ") + "XYZ"[a] + " " + method[a]->name + " {";
            for (int i : intervals[a]) s += " " + std::to_string(i);
            s += " } highest " + std::to_string(highest[a]) + " used " + std::to_string(used[a]) + ";";
        }
        for (const std::string& i : integrals) s += " " + i;
        return s;
    }
};

// Draws from the engine's own output, which the standard fixes. Most
// directions have joints, leave them off their lines (highest order 2) and use
// second derivatives, so that the rows that hang on other directions' lines
// meet both kinds; one configuration in four uses first derivatives alone in
// every direction and every integral.
Config Draw(std::uint32_t seed) {
    std::mt19937 engine(seed);
    auto below = [&](int n) { return static_cast<int>(engine() % static_cast<std::uint32_t>(n)); };
    Config c;
    c.seed = seed;
    const bool ten = below(4) == 0;
    for (int a = 0; a < 3; ++a) {
        c.method[a] = &Methods()[static_cast<std::size_t>(below(static_cast<int>(Methods().size())))];
        const int sections = below(4) == 0 ? 1 : 2 + below(2);
        for (int s = 0; s < sections; ++s) c.intervals[a].push_back(c.method[a]->width * (below(3) == 0 ? 2 : 1));
        c.highest[a] = below(3) == 0 ? 1 : 2;
        c.used[a] = ten ? 1 : (below(4) == 0 ? below(2) : 2);
    }
    for (const std::string& name : kAllIntegrals)
        if (ten || below(2) == 1) c.integrals.push_back(name);
    return c;
}

// Each block keeps its loop nests across the lines: the first-derivative rows
// run the method's cross direction outermost, each integral's rows the later
// one; the second-derivative rows section by section, then in the method's
// cross order; the joint rows of one node in that order too. (The order along
// a line is that of the one-dimensional walk, which the agreement below
// checks.)
void ExpectLoopOrders(const std::vector<Row>& rows, const Config& c, const Direction* dirs) {
    for (int d = 0; d < 3; ++d) {
        const int later[3][2] = {{kZ, kY}, {kZ, kX}, {kY, kX}};
        const int xSecond = c.method[0]->xSecondOuter;
        const int cross[3][2] = {{xSecond, kY + kZ - xSecond}, {kX, kZ}, {kX, kY}};
        std::map<std::string, std::vector<int>> last;  // per kind of row
        bool secondPart = false;
        int failures = 0;
        for (const Row& r : rows) {
            if (r.site <= 12 || DirectionOf(r.subject.array) != d) continue;
            const std::vector<int>& n = r.subject.index;
            std::string kind = r.subject.array;
            std::vector<int> key = {n[later[d][0]], n[later[d][1]]};
            if (kind.rfind("DD", 0) == 0) {
                const int outer = c.method[d]->firstOuter[static_cast<std::size_t>(d)];
                key = {n[outer], n[kX + kY + kZ - d - outer]};
            }
            if (IsSecondDerivative(kind)) {
                secondPart = true;
                key = {dirs[d].SectionInside(n[d]), n[cross[d][0]], n[cross[d][1]]};
            } else if (secondPart && kind.rfind("DD", 0) == 0) {  // a joint row
                kind += " joint at " + std::to_string(n[d]);
                key = {n[cross[d][0]], n[cross[d][1]]};
            }
            if (key < last[kind] && ++failures <= 3)
                ADD_FAILURE() << "block " << "XYZ"[d] << ": ZR_Eqn" << r.site << " at " << r.subject.Name()
                              << " comes after a later row of its kind";
            last[kind] = key;
        }
    }
}

// A used first derivative has one row at every node, and a second one at the
// section joints when second derivatives are used, on the lines of the cross
// directions before the block's own; a second derivative one row at every node
// strictly inside a section, on the lines of both cross directions; an
// integral that a request needs one row at every element, start faces
// included. With first derivatives alone and every integral every node has ten
// rows, whatever methods the directions use. Every row keeps its block's group
// and loop order and names elements inside their index sets.
class Census3D : public LinkedTest {};

TEST_F(Census3D, RowsDefineEveryElementAsTheMethodsIntend) {
    const char* const kFirst[] = {"DDX", "DDY", "DDZ"};
    const char* const kSecond[] = {"D2DX2", "D2DY2", "D2DZ2"};
    int checked = 0, ten = 0;
    for (std::uint32_t seed = 1; checked < 60 && seed <= 300 && !HasFailure(); ++seed) {
        const Config c = Draw(seed);
        SCOPED_TRACE(c.Describe());
        host.Reset();
        grid::Grid3 g;
        for (int a = 0; a < 3; ++a) {
            std::vector<double> spacings;
            for (int i : c.intervals[a]) spacings.push_back(Spacing(static_cast<int>(c.intervals[a].size()), i));
            g.Method(a, c.method[a]->name).SectionSpacings(a, spacings).Highest(a, c.highest[a]).Used(a, c.used[a]);
        }
        if (!c.integrals.empty()) g.Integrals(c.integrals);
        g.Settle();
        const Direction dirs[3] = {Direction(g, kX), Direction(g, kY), Direction(g, kZ)};
        const long long nodes = (dirs[0].end + 1LL) * (dirs[1].end + 1LL) * (dirs[2].end + 1LL);
        if (nodes > 400) continue;
        ++checked;
        const std::vector<Row> rows = g.Declare(100).Rows();

        const grid::Census census(rows);
        std::set<std::string> arrays(std::begin(kFirst), std::end(kFirst));  // those rows may define
        arrays.insert(std::begin(kSecond), std::end(kSecond));
        for (std::string array : kAllIntegrals) {
            for (char& ch : array) ch = static_cast<char>(std::toupper(ch));
            arrays.insert(array);
        }
        int shown = 0;  // only the first few differences
        auto expect = [&](const std::string& array, const std::vector<int>& n, int want) {
            const int got = census.Count(array, n);
            if (got != want && ++shown <= 5)
                ADD_FAILURE() << array << "(" << n[0] << "," << n[1] << "," << n[2] << "): " << got << " rows, not " << want;
        };
        std::vector<int> n(3);
        for (n[0] = 0; n[0] <= dirs[0].end; ++n[0]) {
            for (n[1] = 0; n[1] <= dirs[1].end; ++n[1]) {
                for (n[2] = 0; n[2] <= dirs[2].end; ++n[2]) {
                    for (int d = 0; d < 3; ++d) {
                        bool before = true, both = true;  // the cross indices on their lines
                        for (int a = 0; a < 3; ++a) {
                            if (a == d) continue;
                            both = both && dirs[a].Line(n[a]);
                            if (a < d) before = before && dirs[a].Line(n[a]);
                        }
                        const int used = c.used[d];
                        expect(kFirst[d], n, (used >= 1) + (used >= 2 && dirs[d].Joint(n[d]) && before));
                        expect(kSecond[d], n, used >= 2 && dirs[d].SectionInside(n[d]) && both);
                    }
                    for (const std::string& array : arrays)
                        if (array[0] == 'I') expect(array, n, index_sets::Built(array, c.integrals));
                }
            }
        }
        for (const auto& [site, array] : census.Pairs())
            EXPECT_TRUE(arrays.count(array)) << "ZR_Eqn" << site << " defines elements of " << array;
        if (c.used[0] == 1 && c.used[1] == 1 && c.used[2] == 1 && c.integrals.size() == 7) {
            EXPECT_EQ(rows.size(), static_cast<std::size_t>(10 * nodes));
            ++ten;
        }
        for (const Row& r : rows) {
            if (r.site <= 12) continue;
            const int d = DirectionOf(r.subject.array);
            // The methods' groups in the walk's order, three blocks each.
            EXPECT_EQ(r.group, 108 + 3 * static_cast<int>(c.method[d] - Methods().data()) + d) << "ZR_Eqn" << r.site;
        }
        ExpectLoopOrders(rows, c, dirs);
        grid::ExpectInsideIndexSets(g, rows);
        for (const std::string& e : host.errors) ADD_FAILURE() << "host error: " << e;
        host.errors.clear();
    }
    EXPECT_EQ(checked, 60) << "too few configurations within the node limit";
    EXPECT_GT(ten, 0) << "no configuration of first derivatives alone and every integral";
}

// --- agreement with the distributions of fewer dimensions --------------------------

class Agreement3D : public LinkedTest, public ::testing::WithParamInterface<Method> {};

// Every line of every direction carries the 1D rows over that direction's
// domain, every plane the 2D rows over its two domains: on a product field each
// residual is the lower one times the field's other factors at the fixed nodes
// (the planes also name the same terms, in the lower walk's order). Where a
// fixed index lies off its direction's lines the rows that hang on it may be
// missing: second derivatives, and the joint rows of a block that runs that
// direction over its lines.
TEST_P(Agreement3D, EveryLineAndPlaneCarriesTheLowerDimensionsRows) {
    const Method& m = GetParam();
    const int w = m.width;
    // Joints in every direction, off the lines in x and z, on them in y.
    const std::vector<double> spacings[3] = {{Spacing(2, w), Spacing(2, 2 * w)}, {Spacing(2, 2 * w), Spacing(2, w)},
                                             {Spacing(2, w), Spacing(2, w)}};
    const int highest[3] = {2, 1, 2};
    // Degree 5, so that no row vanishes, and no zero on [0, 1].
    const std::vector<fieldcheck::Polynomial> factors = {fieldcheck::Polynomial({1.5, 0.3, -0.7, 0.9, 0.4, -0.6}),
                                                         fieldcheck::Polynomial({2.0, -0.4, 0.8, 0.5, -0.3, 0.7}),
                                                         fieldcheck::Polynomial({1.2, 0.6, 0.2, -0.8, 0.9, 0.35})};
    auto configure = [&](grid::Grid& g, const std::vector<int>& axes) -> grid::Grid& {
        for (std::size_t p = 0; p < axes.size(); ++p) {
            const int q = static_cast<int>(p);
            g.Method(q, m.name).SectionSpacings(q, spacings[axes[p]]).Highest(q, highest[axes[p]]).Used(q, 2);
        }
        return g.Integrals(axes.size() == 1 ? std::vector<std::string>{"idx"}
                                            : std::vector<std::string>{"idx", "idy", "idxdy"});
    };
    // Each comparison on a host of its own: the lower rows, then the 3D rows.
    for (const std::vector<int>& kept : std::vector<std::vector<int>>{{kX}, {kY}, {kZ}, {kX, kY}, {kX, kZ}, {kY, kZ}}) {
        std::vector<int> others;
        std::string label = kept.size() == 1 ? "the lines along" : "the planes of";
        for (int a : {kX, kY, kZ}) {
            if (std::count(kept.begin(), kept.end(), a)) label += std::string(" ") + "xyz"[a];
            if (!std::count(kept.begin(), kept.end(), a)) others.push_back(a);
        }
        SCOPED_TRACE(label);
        host.Reset();
        std::unique_ptr<grid::Grid> lower = grid::Make(static_cast<int>(kept.size()));
        configure(*lower, kept).Settle().Declare();
        grid::Grid3 g3;
        configure(g3, {kX, kY, kZ}).Integrals(kAllIntegrals).Settle().Declare();
        const Direction dirs[3] = {Direction(g3, kX), Direction(g3, kY), Direction(g3, kZ)};
        // Whether an array's rows are all there at these nodes of the directions
        // not kept.
        const fieldcheck::WholeLine whole = [&dirs, others](const std::string& array, const std::vector<int>& nodes) {
            const int d = DirectionOf(array);
            for (std::size_t p = 0; p < others.size(); ++p) {
                const bool hangs = IsSecondDerivative(array) || (array.rfind("DD", 0) == 0 && others[p] < d);
                if (hangs && !dirs[others[p]].Line(nodes[p])) return false;
            }
            return true;
        };
        const fieldcheck::Coordinates x = fieldcheck::UniformNodes(g3);
        EXPECT_GT(kept.size() == 1 ? fieldcheck::ExpectAgreesAlongAxis(g3, kept[0], *lower, x, factors, whole, 1e-10)
                                   : fieldcheck::ExpectAgreesOnSubgrids(g3, kept, *lower, x, factors, whole),
                  0);
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, FiniteDifferences3D, ::testing::ValuesIn(Methods()), NameOf);
INSTANTIATE_TEST_SUITE_P(Methods, Agreement3D, ::testing::ValuesIn(Methods()), NameOf);

}  // namespace
