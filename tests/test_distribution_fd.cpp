// The finite-difference methods of the two- and three-dimensional distributions,
// one table entry per method: every row vanishes on the product fields its
// stencil is exact for in its own direction, and misses one degree above; over
// random configurations the rows define every element as the methods intend,
// in the numbers of the closed forms (2D) and in their blocks' loop orders
// (3D); each line and plane carries the rows and values of the distributions
// of fewer dimensions over the same domains; worked examples pin site numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <ostream>
#include <random>
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
using grid::kZ;
using grid::Row;

namespace {

// What a 2D block's closed forms are written in, read along its own axis: N the
// end node, S the sections, E the elements; the lines it runs over (the other
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

// Sites that share a stencil, by their offset from their block's first site.
struct Stencil {
    const char* label;
    std::vector<int> offsets;
    int degree;
};

// Each block's sites: `derivatives` rows, then `integral.offsets.size()` per
// integral it builds (x: IDX; y: IDY, IDXDY; z: IDZ, IDXDZ, IDYDZ, IDXDYDZ),
// the y block after the x block, the z block after the y; alike in 2D and 3D.
struct Method {
    const char* name;
    int width;  // the intervals of the smallest section the method takes
    int first2, first3;  // the x block's first site in two and three dimensions
    int derivatives;
    std::vector<Stencil> stencils;
    Stencil integral;
    // The 3D x block's second-derivative and joint rows run this cross
    // direction outermost; the y and z blocks run theirs in x, y, z order.
    int xSecondOuter;
    // 3D: the x block on the line j = 1, k = 0, two x sections of these
    // spacings, second derivatives in x and "idx": "site@i:the section of its h".
    std::vector<double> exampleSpacings;
    std::vector<std::string> example;
    Tally (*counts)(const Block&);  // 2D: the x block's
    // 2D: x in two sections of `spacing`, y in one section of two intervals,
    // second x derivatives only. Empty: the joints test stands for it.
    double spacing2;
    Walk example2;
    // The cross direction that the x, y and z blocks' first-derivative rows run
    // outermost in 3D; their integral rows run the later one outermost.
    std::vector<int> firstOuter = {kZ, kZ, kY};
    // Rows that only first derivatives give beside a joint, by whether the two
    // sections' spacings differ or are equal.
    std::vector<Stencil> unequalJoints = {}, equalJoints = {};

    int First(int dims, int axis) const {
        int site = dims == 2 ? first2 : first3;
        for (int a = 0; a < axis; ++a) site += derivatives + (1 << a) * static_cast<int>(integral.offsets.size());
        return site;
    }
    // Every block's families, with the start rows and the integrals.
    std::vector<Family> Families(int dims, const std::vector<Stencil>& joints = {}) const {
        std::vector<Family> out = {{"integral starts", index_sets::Range(1, dims == 2 ? 4 : 12), grid::kAnyDegree}};
        for (int axis = kX; axis < dims; ++axis) {
            int site = First(dims, axis);
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
// the quartic element integrals for quartics, the symmetric five-point second
// difference for quintics. A row over two spacings, h(s+1) + h, is a central
// difference only when they are equal. In CFD4, around each joint with first
// derivatives only, three rows whatever the spacings: 80 or 79 after it, 86
// twice or 84 and 85 before and at it (2D numbering).
const std::vector<Method>& Methods() {
    const Stencil trapezoid = {"trapezoid integrals", {0}, 1}, quadratic = {"quadratic element integrals", {0, 1}, 2},
                  quartic = {"quartic element integrals", {0, 1, 2, 3}, 4};
    static const std::vector<Method> methods = {
        {"BFD1", 2, 5, 13, 4,
         {{"two-point first differences", {0, 1, 3}, 1}, {"three-point second differences", {2}, 3}},
         trapezoid, kZ, {1.0 / 6, 1.0 / 4},
         {"13@0:1", "14@1:1", "14@2:1", "14@3:1", "14@4:2", "14@5:2", "15@1:1", "15@2:1", "15@4:2", "16@3:2",
          "17@1:1", "17@2:1", "17@3:1", "17@4:2", "17@5:2"},
         [](const Block& b) -> Tally {
             return {{{5}, b.D1(b.all)}, {{6}, b.D1(b.n * b.all)}, {{7}, b.D2((b.n - b.s) * b.set)},
                     {{8}, b.D2((b.s - 1) * b.joint)}, {{9}, b.I(b.n * b.all)}};
         },
         0.25, {{{5, 0}, {6, 1}, {6, 2}, {6, 3}, {6, 4}}, {{7, 1}}, {{7, 3}}, {{8, 2}}}},
        {"BFD2", 2, 16, 32, 5,
         {{"three-point first differences", {0, 1, 2, 4}, 2}, {"three-point second differences", {3}, 3}},
         quadratic, kY, {1.0 / 4, 1.0 / 8},
         {"32@0:1", "33@1:1", "34@2:1", "33@3:2", "34@4:2", "34@5:2", "34@6:2", "35@1:1", "35@3:2", "35@4:2",
          "35@5:2", "36@2:2", "37@1:1", "38@2:1", "37@3:2", "38@4:2", "37@5:2", "38@6:2"},
         [](const Block& b) -> Tally {
             return {{{16}, b.D1(b.all)}, {{17}, b.D1(b.s * b.all)}, {{18}, b.D1((b.n - b.s) * b.all)},
                     {{19}, b.D2((b.n - b.s) * b.set)}, {{20}, b.D2((b.s - 1) * b.joint)},
                     {{21}, b.I(b.e * b.all)}, {{22}, b.I(b.e * b.all)}};
         },
         0.25, {{{16, 0}, {17, 1}, {18, 2}, {17, 3}, {18, 4}}, {{19, 1}}, {{19, 3}}, {{20, 2}}}},
        {"FFD1", 2, 32, 61, 4,
         {{"two-point first differences", {0, 1, 3}, 1}, {"three-point second differences", {2}, 3}},
         trapezoid, kZ, {1.0 / 6, 1.0 / 4},
         {"61@0:1", "61@1:1", "61@2:1", "61@3:2", "61@4:2", "62@5:2", "63@1:1", "63@2:1", "64@3:1", "63@4:2",
          "65@1:1", "65@2:1", "65@3:1", "65@4:2", "65@5:2"},
         [](const Block& b) -> Tally {
             return {{{32}, b.D1(b.n * b.all)}, {{33}, b.D1(b.all)}, {{34}, b.D2((b.n - b.s) * b.set)},
                     {{35}, b.D2((b.s - 1) * b.joint)}, {{36}, b.I(b.n * b.all)}};
         },
         0.25, {{{32, 0}, {32, 1}, {32, 2}, {32, 3}, {33, 4}}, {{34, 1}}, {{35, 2}}, {{34, 3}}}},
        {"FFD2", 2, 43, 80, 5,
         {{"three-point first differences", {0, 1, 2, 4}, 2}, {"three-point second differences", {3}, 3}},
         quadratic, kY, {1.0 / 4, 1.0 / 8},
         {"80@0:1", "81@1:1", "80@2:2", "80@3:2", "80@4:2", "81@5:2", "82@6:2", "83@1:1", "84@2:1", "83@3:2",
          "83@4:2", "83@5:2", "85@1:1", "86@2:1", "85@3:2", "86@4:2", "85@5:2", "86@6:2"},
         [](const Block& b) -> Tally {
             return {{{43}, b.D1((b.n - b.s) * b.all)}, {{44}, b.D1(b.s * b.all)}, {{45}, b.D1(b.all)},
                     {{46}, b.D2((b.n - b.s) * b.set)}, {{47}, b.D2((b.s - 1) * b.joint)},
                     {{48}, b.I(b.e * b.all)}, {{49}, b.I(b.e * b.all)}};
         },
         0.25, {{{43, 0}, {44, 1}, {43, 2}, {44, 3}, {45, 4}}, {{46, 1}}, {{47, 2}}, {{46, 3}}}},
        {"CFD2", 2, 59, 109, 6,
         {{"three-point first differences", {0, 1, 2, 5}, 2}, {"three-point second differences", {4}, 3}},
         quadratic, kY, {1.0 / 4, 1.0 / 8},
         {"109@0:1", "110@1:1", "111@2:1", "110@3:2", "110@4:2", "110@5:2", "111@6:2", "113@1:1", "113@3:2",
          "113@4:2", "113@5:2", "114@2:2", "115@1:1", "116@2:1", "115@3:2", "116@4:2", "115@5:2", "116@6:2"},
         [](const Block& b) -> Tally {
             return {{{59}, b.D1(b.all)}, {{60}, b.D1((b.n - b.s) * b.all)},
                     {{61}, b.D1((b.u > 1 ? b.s : 1) * b.all)}, {{62}, b.D1((b.u > 1 ? 0 : b.s - 1) * b.all)},
                     {{63}, b.D2((b.n - b.s) * b.set)}, {{64}, b.D2((b.s - 1) * b.joint)},
                     {{65}, b.I(b.e * b.all)}, {{66}, b.I(b.e * b.all)}};
         },
         0.25, {{{59, 0}, {60, 1}, {61, 2}, {60, 3}, {61, 4}}, {{63, 1}}, {{63, 3}}, {{64, 2}}},
         {kZ, kZ, kY}, {{"differences across a joint", {3}, 1}}, {{"differences across a joint", {3}, 2}}},
        {"CFD4", 4, 77, 141, 14,
         {{"five-point first differences", {0, 1, 4, 5, 6, 13}, 4},
          {"five-point one-sided second differences", {10, 12}, 4},
          {"five-point central second differences", {11}, 5}},
         quartic, kY, {1.0 / 8, 1.0 / 16},
         {"141@0:1", "142@1:1", "145@2:1", "146@3:1", "147@4:1", "142@5:2", "145@6:2", "145@7:2", "145@8:2",
          "145@9:2", "145@10:2", "146@11:2", "147@12:2", "151@1:1", "152@2:1", "153@3:1", "151@5:2", "152@6:2",
          "152@7:2", "152@8:2", "152@9:2", "152@10:2", "153@11:2", "154@4:2", "155@1:1", "156@2:1", "157@3:1",
          "158@4:1", "155@5:2", "156@6:2", "157@7:2", "158@8:2", "155@9:2", "156@10:2", "157@11:2", "158@12:2"},
         [](const Block& b) -> Tally {
             const long long ends = b.u > 1 ? b.s : 1, across = b.u > 1 ? 0 : b.s - 1;
             return {{{77}, b.D1(b.all)}, {{78}, b.D1(ends * b.all)}, {{79, 80}, b.D1(across * b.all)},
                     {{81}, b.D1((b.n - 3 * b.s) * b.all)}, {{82}, b.D1(ends * b.all)}, {{83}, b.D1(ends * b.all)},
                     {{84, 85, 86}, b.D1(2 * across * b.all)}, {{87}, b.D2(b.s * b.set)},
                     {{88}, b.D2((b.n - 3 * b.s) * b.set)}, {{89}, b.D2(b.s * b.set)},
                     {{90}, b.D2((b.s - 1) * b.joint)}, {{91}, b.I(b.e * b.all)}, {{92}, b.I(b.e * b.all)},
                     {{93}, b.I(b.e * b.all)}, {{94}, b.I(b.e * b.all)}};
         },
         0, {}, {kZ, kZ, kY},
         {{"three-point first differences beside a joint", {2, 8}, 2}, {"differences across a joint", {7}, 1}},
         {{"five-point first differences across a joint", {3, 9}, 4}}},
        // 2D: x in two sections of four intervals: each line's first-derivative
        // rows section after section, 121 at the joint from the left; then each
        // section's second-derivative rows on the lines of J2, the second
        // section's joint row 125 on every line after its own.
        {"UBFD4", 4, 117, 211, 9,
         {{"five-point first differences", {0, 1, 2, 3, 4, 8}, 4},
          {"five-point one-sided second differences", {5, 7}, 4},
          {"five-point central second differences", {6}, 5}},
         quartic, kY, {1.0 / 8, 1.0 / 16},
         {"211@0:1", "212@1:1", "213@2:1", "214@3:1", "215@4:1", "212@5:2", "213@6:2", "214@7:2", "214@8:2",
          "214@9:2", "214@10:2", "214@11:2", "215@12:2", "216@1:1", "217@2:1", "218@3:1", "216@5:2", "217@6:2",
          "218@7:2", "218@8:2", "218@9:2", "218@10:2", "218@11:2", "219@4:2", "220@1:1", "221@2:1", "222@3:1",
          "223@4:1", "220@5:2", "221@6:2", "222@7:2", "223@8:2", "220@9:2", "221@10:2", "222@11:2", "223@12:2"},
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
          {{125, 4}}},
         {kY, kX, kY}},
    };
    return methods;
}

void PrintTo(const Method& m, std::ostream* os) { *os << m.name; }
std::string NameOf(const ::testing::TestParamInfo<Method>& info) { return info.param.name; }

const Method& Named(const char* name) {
    for (const Method& m : Methods())
        if (std::strcmp(m.name, name) == 0) return m;
    throw std::invalid_argument(name);
}

// The methods' groups in the walk's order after the host's last (100) and the
// start groups, one block each per dimension.
int Group(int dims, const Method& m, int axis) {
    return 100 + (1 << dims) + dims * static_cast<int>(&Named(m.name) - Methods().data()) + axis;
}

// A spacing preference that gives a section of 1/sections `intervals` intervals.
double Spacing(int sections, int intervals) { return 1.0 / (sections * intervals); }

using grid::DirectionOf;
bool IsSecondDerivative(const std::string& array) { return array.rfind("D2D", 0) == 0; }

// One direction of a settled grid: its sections' first nodes, its end node and
// its lines {0} ∪ INTERIOR ∪ {ENDNODE}.
struct Direction {
    int end = 0;
    std::vector<int> bases;
    std::set<int> lines;

    Direction(grid::Grid& g, int axis) : end(g.EndNode(axis)) {
        for (int s = 1; s <= g.SectionCount(axis); ++s) bases.push_back(g.Section(axis, s).BASE.v());
        const index_sets::Ints n = index_sets::NodesWithEnds(g.Domain(axis));
        lines.insert(n.begin(), n.end());
    }
    bool Joint(int n) const { return n != 0 && std::count(bases.begin(), bases.end(), n) != 0; }
    bool Line(int n) const { return lines.count(n) != 0; }
    // The section a node lies strictly inside; 0 for the ends of sections.
    int SectionInside(int n) const {
        if (n <= 0 || n >= end || Joint(n)) return 0;
        return static_cast<int>(std::upper_bound(bases.begin(), bases.end(), n) - bases.begin());
    }
};

std::vector<Direction> Directions(grid::Grid& g) {
    std::vector<Direction> out;
    for (int a = 0; a < g.Dimensions(); ++a) out.emplace_back(g, a);
    return out;
}

// On the finite-difference axes given with their orders in use: a used first
// derivative has one row at every node, and a second at a section joint when
// second derivatives are used, on the lines of the cross directions before
// its own; a second derivative one at every node strictly inside a section, on
// the lines of every cross direction. Every integral asked has one row at
// every element, start faces included.
void ExpectElementRows(grid::Grid& g, const std::vector<Row>& rows, const std::map<int, int>& used,
                       const std::vector<std::string>& integrals) {
    const int dims = g.Dimensions();
    const std::vector<Direction> dirs = Directions(g);
    const grid::Census census(rows);
    int shown = 0;  // only the first few differences
    auto expect = [&](const std::string& array, const std::vector<int>& n, int want) {
        const int got = census.Count(array, n);
        if (got != want && ++shown <= 5) {
            std::string at;
            for (int i : n) at += (at.empty() ? "" : ",") + std::to_string(i);
            ADD_FAILURE() << array << "(" << at << "): " << got << " rows, not " << want;
        }
    };
    std::vector<int> end;
    for (const Direction& d : dirs) end.push_back(d.end);
    grid::EachNode(end, [&](const std::vector<int>& n) {
        for (const auto& [d, u] : used) {
            bool before = true, both = true;  // the cross indices on their lines
            for (int a = 0; a < dims; ++a) {
                if (a == d) continue;
                both = both && dirs[a].Line(n[a]);
                if (a < d) before = before && dirs[a].Line(n[a]);
            }
            const std::string l(1, "XYZ"[d]);
            expect("DD" + l, n, (u >= 1) + (u >= 2 && dirs[d].Joint(n[d]) && before));
            expect("D2D" + l + "2", n, u >= 2 && dirs[d].SectionInside(n[d]) && both);
        }
        for (std::string array : index_sets::IntegralNames(dims)) {
            for (char& ch : array) ch = static_cast<char>(std::toupper(ch));
            expect(array, n, index_sets::Built(array, integrals));
        }
    });
}

class FdBlocks : public LinkedTest, public ::testing::WithParamInterface<Method> {};

// In each dimension, in turn each direction has two sections and the others
// one section each, every spacing of the grid its own unless the two sections'
// are to be equal: a row that takes a wrong h, or a neighbour on a wrong
// index, misses. With first derivatives alone the central methods give each
// joint rows of its own, chosen by whether the two sections' spacings are equal.
TEST_P(FdBlocks, EveryRowIsExactForItsDegreeInItsDirectionAndNoMore) {
    const Method& m = GetParam();
    const struct {
        const char* label;
        int order;
        bool equal;
        std::vector<Stencil> joints;
    } cases[] = {{"second derivatives", 2, false, {}},
                 {"first derivatives, unequal spacings", 1, false, m.unequalJoints},
                 {"first derivatives, equal spacings", 1, true, m.equalJoints}};
    for (int dims : {2, 3}) {
        for (const auto& c : cases) {
            for (int longAxis = kX; longAxis < dims; ++longAxis) {
                SCOPED_TRACE(std::to_string(dims) + "D, " + c.label + ", two sections along " + "xyz"[longAxis]);
                host.Reset();
                const std::unique_ptr<grid::Grid> g = grid::Make(dims);
                g->Method(m.name).Highest(c.order).Used(c.order).Integrals(index_sets::IntegralNames(dims));
                int shortIntervals = m.width;
                for (int a = kX; a < dims; ++a) {
                    if (a == longAxis) {
                        g->SectionSpacings(a, {Spacing(2, m.width), Spacing(2, (c.equal ? 1 : 2) * m.width)});
                    } else {
                        g->SectionSpacings(a, {Spacing(1, shortIntervals)});
                        shortIntervals = 3 * m.width;
                    }
                }
                g->Settle().Declare();
                std::set<double> spacings;
                for (int a = kX; a < dims; ++a)
                    for (int s = 1; s <= g->SectionCount(a); ++s) spacings.insert(g->Section(a, s).ELEMENTLENGTH.v());
                ASSERT_EQ(spacings.size(), (c.equal ? 1u : 2u) + static_cast<std::size_t>(dims - 1));
                fieldcheck::ExpectExactness(*g, fieldcheck::UniformNodes(*g), m.Families(dims, c.joints), 1e-12, 1e-7);
                // A row over both sections' spacings names the next section's
                // first, which the sum cannot show.
                for (const Row& r : g->Rows()) {
                    if (r.terms.size() > 2 && r.terms[1].parameter && r.terms[2].parameter) {
                        EXPECT_EQ(std::make_pair(r.terms[1].section, r.terms[2].section), std::make_pair(2, 1))
                            << "ZR_Eqn" << r.site << " at " << r.subject.Name();
                    }
                }
            }
        }
    }
}

// 3D, the x block on one line: each row at its node with the spacing of the
// section whose loop declares it, the joint rows after their section's second
// derivatives, the integrals last.
TEST_P(FdBlocks, WorkedExampleOnOneLine3D) {
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

class FdExample2D : public FdBlocks {};

// 2D, y BFD1 in one section of two intervals with nothing of its own: the x
// block's rows group by group, each group line by line.
TEST_P(FdExample2D, WorkedExampleOfTheXBlock) {
    const Method& m = GetParam();
    grid::Grid2 g;
    g.Method(kX, m.name).Sections(kX, 2).Spacing(kX, m.spacing2).Highest(kX, 2).Used(kX, 2);
    g.Method(kY, "BFD1").Spacing(kY, 0.5).Highest(kY, 1).Used(kY, 0).Settle().Declare(100);
    ASSERT_EQ(g.EndNode(kY), 2);
    std::vector<std::string> expected;
    for (const auto& group : m.example2)
        for (int j = 0; j <= 2; ++j)
            for (const auto& [site, i] : group)
                expected.push_back(std::to_string(site) + "@" + std::to_string(i) + "," + std::to_string(j));
    const std::vector<Row> rows = g.Rows();
    EXPECT_EQ(grid::Sequence(rows), expected);
    for (const Row& r : rows) EXPECT_EQ(r.group, Group(2, m, kX)) << "ZR_Eqn" << r.site;
}

std::vector<Method> WithExamples2D() {
    std::vector<Method> out;
    for (const Method& m : Methods())
        if (!m.example2.empty()) out.push_back(m);
    return out;
}

// --- CFD4's joints ------------------------------------------------------------------

class FdJoints : public LinkedTest {};

// CFD4 with first derivatives alone, in each direction of either dimension:
// the rows around a joint hang on an exact comparison of the two sections'
// spacings. Equal ones give the five-point rows across the joint (86 before
// and at it with the left section's spacing, 80 after it with the right one's;
// 2D numbering), spacings one unit in the last place apart or not a number the
// second-order rows. Each row is declared once per line, in the block's line
// order, and names nothing off its line; so every node has one row.
TEST_F(FdJoints, Cfd4JointsCompareSpacingsExactlyInEveryDirection) {
    const double h = 0.125;
    const Method& cfd4 = Named("CFD4");
    // Offsets from the block's first site @ nodes: two sections of four intervals.
    const std::vector<std::pair<int, int>> unequal = {{0, 0}, {1, 1}, {4, 2}, {7, 4}, {8, 3},
                                                      {2, 5}, {4, 6}, {5, 7}, {6, 8}};
    const struct {
        const char* label;
        double h1, h2;  // 0: as the domain placed it
        std::vector<std::pair<int, int>> line;
    } cases[] = {{"equal", 0, 0, {{0, 0}, {1, 1}, {4, 2}, {9, 3}, {9, 4}, {3, 5}, {4, 6}, {5, 7}, {6, 8}}},
                 {"one ulp apart", 0, std::nextafter(h, 1.0), unequal},
                 {"the first not a number", std::numeric_limits<double>::quiet_NaN(), 0, unequal}};
    for (int dims : {2, 3}) {
        for (int d = kX; d < dims; ++d) {
            const int first = cfd4.First(dims, d);
            for (const auto& c : cases) {
                SCOPED_TRACE(std::to_string(dims) + "D, " + "xyz"[d] + ": " + c.label);
                host.Reset();
                const std::unique_ptr<grid::Grid> g = grid::Make(dims);
                // The other directions three nodes each, with no rows of their own.
                for (int a = kX; a < dims; ++a) {
                    if (a == d) {
                        g->Method(a, "CFD4").Sections(a, 2).Spacing(a, h).Highest(a, 1).Used(a, 1);
                    } else {
                        g->Method(a, "BFD1").Spacing(a, 0.5).Used(a, 0);
                    }
                }
                g->Settle();
                ASSERT_EQ(g->EndNode(d), 8);
                for (int s : {1, 2}) {
                    ASSERT_EQ(g->Section(d, s).ELEMENTLENGTH.v(), h);
                    const double value = s == 1 ? c.h1 : c.h2;
                    if (value != 0 || std::isnan(value)) {
                        ASSERT_EQ(g->Section(d, s).ELEMENTLENGTH.SetUserValue(ZR_Value(value, 0)), 0);
                    }
                }
                g->Declare(100);
                // Lines in the block's order: the outer cross direction slowest.
                const int outer = dims == 2 ? 1 - d : cfd4.firstOuter[static_cast<std::size_t>(d)];
                const int inner = kX + kY + kZ - d - outer;
                std::vector<std::string> expected;
                for (int lo = 0; lo <= 2; ++lo) {
                    for (int li = 0; li <= (dims == 3 ? 2 : 0); ++li) {
                        for (const auto& [offset, node] : c.line) {
                            std::vector<int> at(static_cast<std::size_t>(dims));
                            at[d] = node;
                            at[outer] = lo;
                            if (dims == 3) at[inner] = li;
                            std::string s = std::to_string(first + offset) + "@";
                            for (int a = 0; a < dims; ++a) s += (a ? "," : "") + std::to_string(at[a]);
                            expected.push_back(s);
                        }
                    }
                }
                const std::vector<Row> rows = g->Rows();
                EXPECT_EQ(grid::Sequence(rows), expected);
                for (const Row& r : rows) {
                    EXPECT_EQ(r.group, Group(dims, cfd4, d)) << "ZR_Eqn" << r.site;
                    if (r.site == first + 9 || r.site == first + 3) {
                        EXPECT_EQ(r.terms.at(1).section, r.site == first + 9 ? 1 : 2)
                            << "ZR_Eqn" << r.site << " at " << r.subject.Name();
                    }
                    for (const grid::Term& t : r.terms)
                        for (int a = 0; a < dims; ++a)
                            if (!t.parameter && a != d && t.index[a] != r.subject.index[a])
                                ADD_FAILURE() << "ZR_Eqn" << r.site << " at " << r.subject.Name() << " names " << t.Name();
                }
                const std::string dd = std::string("DD") + "XYZ"[d];
                const grid::Census census(rows);
                EXPECT_EQ(census.Of(dd).size(), dims == 2 ? 9u * 3u : 9u * 9u);
                for (const auto& [index, n] : census.Of(dd)) EXPECT_EQ(n, 1);
            }
        }
    }
}

// With first derivatives alone in every direction and every integral, each
// node has ten rows, one per element, when every direction's joints are of
// equal spacing and so carry the rows that reach across them.
TEST_F(FdJoints, TenRowsAtEveryNodeAcrossEqualSpacingJoints3D) {
    grid::Grid3 g;
    g.Method("CFD4").Highest(1).Used(1).Integrals(index_sets::IntegralNames(3));
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

Block Measure(grid::Grid2& g, int axis, const grid::Setup& c) {
    Block b{};
    b.n = g.EndNode(axis);
    b.s = g.SectionCount(axis);
    for (int s = 1; s <= b.s; ++s) b.e += g.Section(axis, s).NUMELEMENTS.v();
    b.all = g.EndNode(1 - axis) + 1;
    b.set = static_cast<long long>(Direction(g, 1 - axis).lines.size());
    b.joint = axis == kX ? b.all : b.set;
    b.u = axis == kX ? g.dist.HIGHESTORDERXDERIVATIVEUSED.v() : g.dist.HIGHESTORDERYDERIVATIVEUSED.v();
    b.integral = axis == kX ? c.Has("idx") || c.Has("idxdy") : c.Has("idy");
    return b;
}

void ExpectTally(const std::vector<Row>& rows, int group, const Tally& tally) {
    long long all = 0;
    for (const auto& [sites, expected] : tally) {
        long long n = 0;
        for (const Row& r : rows)
            for (int site : sites) n += r.site == site;
        EXPECT_EQ(n, expected) << "rows of ZR_Eqn" << sites.front();
        all += expected;
    }
    long long inGroup = 0;
    for (const Row& r : rows) inGroup += r.group == group;
    EXPECT_EQ(inGroup, all) << "rows of group " << group;
}

// 2D, over random configurations with the method on x, on y or on both (by
// the seed), the other axis any method: the rows of every element, nothing
// outside the index sets, and each site as many rows as its closed form.
TEST_P(FdBlocks, Census2DInTheNumbersOfTheClosedForms) {
    const Method& m = GetParam();
    int checked = 0;
    for (std::uint32_t seed = 1; checked < 40 && seed < 400; ++seed) {
        grid::Setup c = grid::DrawSetup(7000 + seed, 2);
        for (int a : {kX, kY})
            if (seed % 3 == 2 || seed % 3 == static_cast<std::uint32_t>(a)) c.axes[a].method = m.name;
        SCOPED_TRACE(c.Describe());
        host.Reset();
        grid::Grid2 g;
        if (!grid::Configure(g, c)) continue;
        g.Declare(100);
        ++checked;
        const std::vector<Row> rows = g.Rows();
        grid::ExpectInsideIndexSets(g, rows);
        std::map<int, int> used;
        for (int a : {kX, kY})
            if (std::strcmp(c.axes[a].method, m.name) == 0) used[a] = Measure(g, a, c).u;
        ExpectElementRows(g, rows, used, c.integrals);
        for (const auto& [a, u] : used) {
            const Block b = Measure(g, a, c);
            Tally tally = m.counts(b);
            if (a == kY) {
                // The IDXDY rows: the IDY rules over the lines but x's first.
                const int n = static_cast<int>(m.integral.offsets.size());
                Block idxdy = b;
                idxdy.all -= 1;
                idxdy.integral = c.Has("idxdy");
                const Tally extra = m.counts(idxdy);
                tally.insert(tally.end(), extra.end() - n, extra.end());
                for (std::size_t t = 0; t < tally.size(); ++t)
                    for (int& site : tally[t].first)
                        site += m.First(2, kY) - m.First(2, kX) + (t + n >= tally.size() ? n : 0);
            }
            ExpectTally(rows, Group(2, m, a), tally);
        }
        if (HasFailure()) break;  // the first configuration that fails is the one to read
    }
    EXPECT_EQ(checked, 40) << "too few configurations within the node limit";
}

// Draws from the engine's own output, which the standard fixes. Most
// directions have joints, leave them off their lines (highest order 2) and use
// second derivatives, so that the rows that hang on other directions' lines
// meet both kinds; one configuration in four uses first derivatives alone in
// every direction and every integral.
grid::Setup Draw(std::uint32_t seed) {
    std::mt19937 engine(seed);
    auto below = [&](int n) { return static_cast<int>(engine() % static_cast<std::uint32_t>(n)); };
    grid::Setup c{seed, {}, {}};
    const bool ten = below(4) == 0;
    for (int a = 0; a < 3; ++a) {
        const Method& m = Methods()[static_cast<std::size_t>(below(static_cast<int>(Methods().size())))];
        const int sections = below(4) == 0 ? 1 : 2 + below(2);
        std::vector<double> spacings;
        for (int s = 0; s < sections; ++s) spacings.push_back(Spacing(sections, m.width * (below(3) == 0 ? 2 : 1)));
        const int highest = below(3) == 0 ? 1 : 2;
        c.axes.push_back({m.name, spacings, highest, ten ? 1 : (below(4) == 0 ? below(2) : 2), "Backward"});
    }
    for (const std::string& name : index_sets::IntegralNames(3))
        if (ten || below(2) == 1) c.integrals.push_back(name);
    return c;
}

// Each 3D block keeps its loop nests across the lines: the first-derivative
// rows run the method's cross direction outermost, each integral's rows the
// later one; the second-derivative rows section by section, then in the
// method's cross order; the joint rows of one node in that order too. (The
// order along a line is that of the one-dimensional walk, which the agreement
// below checks.)
void ExpectLoopOrders(const std::vector<Row>& rows, const grid::Setup& c, const std::vector<Direction>& dirs) {
    for (int d = 0; d < 3; ++d) {
        const int later[3][2] = {{kZ, kY}, {kZ, kX}, {kY, kX}};
        const int xSecond = Named(c.axes[0].method).xSecondOuter;
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
                const int outer = Named(c.axes[d].method).firstOuter[static_cast<std::size_t>(d)];
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

class FdCensus3D : public LinkedTest {};

// 3D, any method in each direction: the rows of every element; with first
// derivatives alone and every integral every node has ten rows, whatever
// methods the directions use. Every row keeps its block's group and loop order
// and names elements of arrays rows define, inside their index sets.
TEST_F(FdCensus3D, RowsDefineEveryElementAsTheMethodsIntend) {
    int checked = 0, ten = 0;
    for (std::uint32_t seed = 1; checked < 60 && seed <= 300 && !HasFailure(); ++seed) {
        const grid::Setup c = Draw(seed);
        SCOPED_TRACE(c.Describe());
        host.Reset();
        grid::Grid3 g;
        if (!grid::Configure(g, c)) continue;
        ++checked;
        const std::vector<Direction> dirs = Directions(g);
        const long long nodes = (dirs[0].end + 1LL) * (dirs[1].end + 1LL) * (dirs[2].end + 1LL);
        const std::vector<Row> rows = g.Declare(100).Rows();
        ExpectElementRows(g, rows, {{kX, c.axes[0].used}, {kY, c.axes[1].used}, {kZ, c.axes[2].used}}, c.integrals);
        const grid::Census census(rows);
        for (const auto& [site, array] : census.Pairs())
            EXPECT_TRUE(array[0] == 'I' || array.rfind("DD", 0) == 0 || IsSecondDerivative(array))
                << "ZR_Eqn" << site << " defines elements of " << array;
        if (c.axes[0].used == 1 && c.axes[1].used == 1 && c.axes[2].used == 1 && c.integrals.size() == 7) {
            EXPECT_EQ(rows.size(), static_cast<std::size_t>(10 * nodes));
            ++ten;
        }
        for (const Row& r : rows) {
            if (r.site <= 12) continue;
            const int d = DirectionOf(r.subject.array);
            EXPECT_EQ(r.group, Group(3, Named(c.axes[d].method), d)) << "ZR_Eqn" << r.site;
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

// Every line of every direction carries the 1D rows over that direction's
// domain, every plane of a 3D grid the 2D rows over its two domains: on a
// product field each residual is the lower one times the field's other factors
// at the fixed nodes (the planes also name the same terms, in the lower walk's
// order). Where a fixed index lies off its direction's lines the rows that hang
// on it may be missing: second derivatives, and the joint rows of a block that
// runs that direction over its lines. First derivatives alone give the central
// methods' joint rows.
TEST_P(FdBlocks, EveryLineAndPlaneCarriesTheLowerDimensionsRows) {
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
    const std::vector<std::vector<int>> compared[2] = {{{kX}, {kY}}, {{kX}, {kY}, {kZ}, {kX, kY}, {kX, kZ}, {kY, kZ}}};
    for (int dims : {2, 3}) {
        for (int used : {1, 2}) {
            auto configure = [&](grid::Grid& g, const std::vector<int>& axes) -> grid::Grid& {
                for (std::size_t p = 0; p < axes.size(); ++p) {
                    const int q = static_cast<int>(p);
                    g.Method(q, m.name).SectionSpacings(q, spacings[axes[p]]).Highest(q, highest[axes[p]]).Used(q, used);
                }
                return g.Integrals(axes.size() == 1 ? std::vector<std::string>{"idx"} : index_sets::IntegralNames(2));
            };
            // Each comparison on a host of its own: the lower rows, then the higher.
            for (const std::vector<int>& kept : compared[dims - 2]) {
                std::vector<int> others, all;
                std::string label = std::to_string(dims) + "D, used " + std::to_string(used) + ", along";
                for (int a = kX; a < dims; ++a) {
                    all.push_back(a);
                    if (std::count(kept.begin(), kept.end(), a)) label += std::string(" ") + "xyz"[a];
                    if (!std::count(kept.begin(), kept.end(), a)) others.push_back(a);
                }
                SCOPED_TRACE(label);
                host.Reset();
                const std::unique_ptr<grid::Grid> lower = grid::Make(static_cast<int>(kept.size()));
                configure(*lower, kept).Settle().Declare();
                const std::unique_ptr<grid::Grid> high = grid::Make(dims);
                configure(*high, all).Integrals(index_sets::IntegralNames(dims)).Settle().Declare();
                const std::vector<Direction> dirs = Directions(*high);
                // Whether an array's rows are all there at these nodes of the
                // directions not kept.
                const fieldcheck::WholeLine whole = [&dirs, others](const std::string& array,
                                                                    const std::vector<int>& nodes) {
                    const int d = DirectionOf(array);
                    for (std::size_t p = 0; p < others.size(); ++p) {
                        const bool hangs = IsSecondDerivative(array) || (array.rfind("DD", 0) == 0 && others[p] < d);
                        if (hangs && !dirs[others[p]].Line(nodes[p])) return false;
                    }
                    return true;
                };
                const fieldcheck::Coordinates x = fieldcheck::UniformNodes(*high);
                const std::vector<fieldcheck::Polynomial> f(factors.begin(), factors.begin() + dims);
                EXPECT_GT(kept.size() == 1 ? fieldcheck::ExpectAgreesAlongAxis(*high, kept[0], *lower, x, f, whole, 1e-10)
                                           : fieldcheck::ExpectAgreesOnSubgrids(*high, kept, *lower, x, f, whole),
                          0);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, FdBlocks, ::testing::ValuesIn(Methods()), NameOf);
INSTANTIATE_TEST_SUITE_P(Methods, FdExample2D, ::testing::ValuesIn(WithExamples2D()), NameOf);

}  // namespace
