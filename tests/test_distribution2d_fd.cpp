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
#include <random>
#include <set>
#include <sstream>
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

// What the closed forms are written in: NX, NY the end nodes, S, T the section
// counts, EX, EY the element counts, |J2|, |I2| the line sets, and the choices.
struct Sizes {
    long long nx, ny, s, t, ex, ey, j2, i2;
    int ux, uy;
    bool idx, idy, idxdy;  // idx: "idx" or "idxdy", which both need IDX
    long long D1X(long long n) const { return ux > 0 ? n : 0; }
    long long D2X(long long n) const { return ux > 1 ? n : 0; }
    long long D1Y(long long n) const { return uy > 0 ? n : 0; }
    long long D2Y(long long n) const { return uy > 1 ? n : 0; }
    long long IX(long long n) const { return idx ? n : 0; }
    long long IY(long long n) const { return idy ? n : 0; }
    long long IXY(long long n) const { return idxdy ? n : 0; }
};

// Rows of these sites, and how many.
using Tally = std::vector<std::pair<std::vector<int>, long long>>;

struct FdMethod {
    const char* name;
    int xBlock;  // the x block's group offset; the y block's is the next
    std::vector<Family> families;
    Tally (*xCounts)(const Sizes&);
    Tally (*yCounts)(const Sizes&);
    // x in two sections of two intervals, y in one section of two, second x
    // derivatives only: the rows (site, x node) of one y line, then those that
    // run over every line. Empty: no example.
    std::vector<std::pair<int, int>> perLine, overLines;
};

// Degrees from the stencils: two-point differences and the trapezoid are exact
// for lines, three-point first differences and the parabolic element integrals
// for parabolas, the symmetric three-point second difference for cubics; the
// central difference over two unequal spacings only for lines.
const std::vector<FdMethod> kMethods = {
    {"BFD1", 4,
     {{"x two-point first differences", {5, 6, 8}, 1, kX},
      {"x three-point second differences", {7}, 3, kX},
      {"x trapezoids", {9}, 1, kX},
      {"y two-point first differences", {10, 11, 13}, 1, kY},
      {"y three-point second differences", {12}, 3, kY},
      {"y trapezoids", {14, 15}, 1, kY}},
     [](const Sizes& z) -> Tally {
         return {{{5}, z.D1X(z.ny + 1)}, {{6}, z.D1X(z.nx * (z.ny + 1))}, {{7}, z.D2X((z.nx - z.s) * z.j2)},
                 {{8}, z.D2X((z.s - 1) * (z.ny + 1))}, {{9}, z.IX(z.nx * (z.ny + 1))}};
     },
     [](const Sizes& z) -> Tally {
         return {{{10}, z.D1Y(z.nx + 1)}, {{11}, z.D1Y(z.ny * (z.nx + 1))}, {{12}, z.D2Y((z.ny - z.t) * z.i2)},
                 {{13}, z.D2Y((z.t - 1) * z.i2)}, {{14}, z.IY(z.ny * (z.nx + 1))}, {{15}, z.IXY(z.nx * z.ny)}};
     },
     {{5, 0}, {6, 1}, {6, 2}, {6, 3}, {6, 4}},
     {{7, 1}, {7, 3}, {8, 2}}},
    {"BFD2", 6,
     {{"x three-point first differences", {16, 17, 18, 20}, 2, kX},
      {"x three-point second differences", {19}, 3, kX},
      {"x parabolic element integrals", {21, 22}, 2, kX},
      {"y three-point first differences", {23, 24, 25, 27}, 2, kY},
      {"y three-point second differences", {26}, 3, kY},
      {"y parabolic element integrals", {28, 29, 30, 31}, 2, kY}},
     [](const Sizes& z) -> Tally {
         return {{{16}, z.D1X(z.ny + 1)}, {{17}, z.D1X(z.s * (z.ny + 1))}, {{18}, z.D1X((z.nx - z.s) * (z.ny + 1))},
                 {{19}, z.D2X((z.nx - z.s) * z.j2)}, {{20}, z.D2X((z.s - 1) * (z.ny + 1))},
                 {{21}, z.IX(z.ex * (z.ny + 1))}, {{22}, z.IX(z.ex * (z.ny + 1))}};
     },
     [](const Sizes& z) -> Tally {
         return {{{23}, z.D1Y(z.nx + 1)}, {{24}, z.D1Y(z.t * (z.nx + 1))}, {{25}, z.D1Y((z.ny - z.t) * (z.nx + 1))},
                 {{26}, z.D2Y((z.ny - z.t) * z.i2)}, {{27}, z.D2Y((z.t - 1) * z.i2)},
                 {{28}, z.IY(z.ey * (z.nx + 1))}, {{29}, z.IY(z.ey * (z.nx + 1))},
                 {{30}, z.IXY(z.ey * z.nx)}, {{31}, z.IXY(z.ey * z.nx)}};
     },
     {{16, 0}, {17, 1}, {18, 2}, {17, 3}, {18, 4}},
     {{19, 1}, {19, 3}, {20, 2}}},
    {"FFD1", 8,
     {{"x two-point first differences", {32, 33, 35}, 1, kX},
      {"x three-point second differences", {34}, 3, kX},
      {"x trapezoids", {36}, 1, kX},
      {"y two-point first differences", {37, 38, 40}, 1, kY},
      {"y three-point second differences", {39}, 3, kY},
      {"y trapezoids", {41, 42}, 1, kY}},
     [](const Sizes& z) -> Tally {
         return {{{32}, z.D1X(z.nx * (z.ny + 1))}, {{33}, z.D1X(z.ny + 1)}, {{34}, z.D2X((z.nx - z.s) * z.j2)},
                 {{35}, z.D2X((z.s - 1) * (z.ny + 1))}, {{36}, z.IX(z.nx * (z.ny + 1))}};
     },
     [](const Sizes& z) -> Tally {
         return {{{37}, z.D1Y(z.ny * (z.nx + 1))}, {{38}, z.D1Y(z.nx + 1)}, {{39}, z.D2Y((z.ny - z.t) * z.i2)},
                 {{40}, z.D2Y((z.t - 1) * z.i2)}, {{41}, z.IY(z.ny * (z.nx + 1))}, {{42}, z.IXY(z.nx * z.ny)}};
     },
     {{32, 0}, {32, 1}, {32, 2}, {32, 3}, {33, 4}},
     {{34, 1}, {35, 2}, {34, 3}}},
    {"FFD2", 10,
     {{"x three-point first differences", {43, 44, 45, 47}, 2, kX},
      {"x three-point second differences", {46}, 3, kX},
      {"x parabolic element integrals", {48, 49}, 2, kX},
      {"y three-point first differences", {50, 51, 52, 54}, 2, kY},
      {"y three-point second differences", {53}, 3, kY},
      {"y parabolic element integrals", {55, 56, 57, 58}, 2, kY}},
     [](const Sizes& z) -> Tally {
         return {{{43}, z.D1X((z.nx - z.s) * (z.ny + 1))}, {{44}, z.D1X(z.s * (z.ny + 1))}, {{45}, z.D1X(z.ny + 1)},
                 {{46}, z.D2X((z.nx - z.s) * z.j2)}, {{47}, z.D2X((z.s - 1) * (z.ny + 1))},
                 {{48}, z.IX(z.ex * (z.ny + 1))}, {{49}, z.IX(z.ex * (z.ny + 1))}};
     },
     [](const Sizes& z) -> Tally {
         return {{{50}, z.D1Y((z.ny - z.t) * (z.nx + 1))}, {{51}, z.D1Y(z.t * (z.nx + 1))}, {{52}, z.D1Y(z.nx + 1)},
                 {{53}, z.D2Y((z.ny - z.t) * z.i2)}, {{54}, z.D2Y((z.t - 1) * z.i2)},
                 {{55}, z.IY(z.ey * (z.nx + 1))}, {{56}, z.IY(z.ey * (z.nx + 1))},
                 {{57}, z.IXY(z.ey * z.nx)}, {{58}, z.IXY(z.ey * z.nx)}};
     },
     {{43, 0}, {44, 1}, {43, 2}, {44, 3}, {45, 4}},
     {{46, 1}, {47, 2}, {46, 3}}},
    {"CFD2", 12,
     {{"x three-point first differences", {59, 60, 61, 64}, 2, kX},
      {"x central differences across a joint", {62}, 1, kX},
      {"x three-point second differences", {63}, 3, kX},
      {"x parabolic element integrals", {65, 66}, 2, kX},
      {"y three-point first differences", {67, 68, 69, 72}, 2, kY},
      {"y central differences across a joint", {70}, 1, kY},
      {"y three-point second differences", {71}, 3, kY},
      {"y parabolic element integrals", {73, 74, 75, 76}, 2, kY}},
     [](const Sizes& z) -> Tally {
         return {{{59}, z.D1X(z.ny + 1)}, {{60}, z.D1X((z.nx - z.s) * (z.ny + 1))},
                 {{61}, z.D1X((z.ux > 1 ? z.s : 1) * (z.ny + 1))}, {{62}, z.D1X((z.ux > 1 ? 0 : z.s - 1) * (z.ny + 1))},
                 {{63}, z.D2X((z.nx - z.s) * z.j2)}, {{64}, z.D2X((z.s - 1) * (z.ny + 1))},
                 {{65}, z.IX(z.ex * (z.ny + 1))}, {{66}, z.IX(z.ex * (z.ny + 1))}};
     },
     [](const Sizes& z) -> Tally {
         return {{{67}, z.D1Y(z.nx + 1)}, {{68}, z.D1Y((z.ny - z.t) * (z.nx + 1))},
                 {{69}, z.D1Y((z.uy > 1 ? z.t : 1) * (z.nx + 1))}, {{70}, z.D1Y((z.uy > 1 ? 0 : z.t - 1) * (z.nx + 1))},
                 {{71}, z.D2Y((z.ny - z.t) * z.i2)}, {{72}, z.D2Y((z.t - 1) * z.i2)},
                 {{73}, z.IY(z.ey * (z.nx + 1))}, {{74}, z.IY(z.ey * (z.nx + 1))},
                 {{75}, z.IXY(z.ey * z.nx)}, {{76}, z.IXY(z.ey * z.nx)}};
     },
     {{59, 0}, {60, 1}, {61, 2}, {60, 3}, {61, 4}},
     {{63, 1}, {63, 3}, {64, 2}}},
    // Five-point rows are exact for quartics, the symmetric second difference
    // for quintics; CFD4's three-point rows next to a joint of unequal spacings
    // for parabolas, its row at such a joint, over the two spacings, for lines.
    {"CFD4", 14,
     {{"x five-point first differences", {77, 78, 80, 81, 82, 83, 86, 90}, 4, kX},
      {"x three-point first differences beside a joint", {79, 85}, 2, kX},
      {"x central differences across a joint", {84}, 1, kX},
      {"x five-point one-sided second differences", {87, 89}, 4, kX},
      {"x five-point central second differences", {88}, 5, kX},
      {"x quartic element integrals", {91, 92, 93, 94}, 4, kX},
      {"y five-point first differences", {95, 96, 98, 99, 100, 101, 104, 108}, 4, kY},
      {"y three-point first differences beside a joint", {97, 103}, 2, kY},
      {"y central differences across a joint", {102}, 1, kY},
      {"y five-point one-sided second differences", {105, 107}, 4, kY},
      {"y five-point central second differences", {106}, 5, kY},
      {"y quartic element integrals", {109, 110, 111, 112, 113, 114, 115, 116}, 4, kY}},
     // Around each joint, with first derivatives only, three rows whatever the
     // spacings: 80 or 79 after it, 86 twice or 84 and 85 before and at it.
     [](const Sizes& z) -> Tally {
         const long long ends = z.ux > 1 ? z.s : 1, across = z.ux > 1 ? 0 : z.s - 1;
         return {{{77}, z.D1X(z.ny + 1)}, {{78}, z.D1X(ends * (z.ny + 1))}, {{79, 80}, z.D1X(across * (z.ny + 1))},
                 {{81}, z.D1X((z.nx - 3 * z.s) * (z.ny + 1))}, {{82}, z.D1X(ends * (z.ny + 1))},
                 {{83}, z.D1X(ends * (z.ny + 1))}, {{84, 85, 86}, z.D1X(2 * across * (z.ny + 1))},
                 {{87}, z.D2X(z.s * z.j2)}, {{88}, z.D2X((z.nx - 3 * z.s) * z.j2)}, {{89}, z.D2X(z.s * z.j2)},
                 {{90}, z.D2X((z.s - 1) * (z.ny + 1))}, {{91}, z.IX(z.ex * (z.ny + 1))},
                 {{92}, z.IX(z.ex * (z.ny + 1))}, {{93}, z.IX(z.ex * (z.ny + 1))}, {{94}, z.IX(z.ex * (z.ny + 1))}};
     },
     [](const Sizes& z) -> Tally {
         const long long ends = z.uy > 1 ? z.t : 1, across = z.uy > 1 ? 0 : z.t - 1;
         return {{{95}, z.D1Y(z.nx + 1)}, {{96}, z.D1Y(ends * (z.nx + 1))}, {{97, 98}, z.D1Y(across * (z.nx + 1))},
                 {{99}, z.D1Y((z.ny - 3 * z.t) * (z.nx + 1))}, {{100}, z.D1Y(ends * (z.nx + 1))},
                 {{101}, z.D1Y(ends * (z.nx + 1))}, {{102, 103, 104}, z.D1Y(2 * across * (z.nx + 1))},
                 {{105}, z.D2Y(z.t * z.i2)}, {{106}, z.D2Y((z.ny - 3 * z.t) * z.i2)}, {{107}, z.D2Y(z.t * z.i2)},
                 {{108}, z.D2Y((z.t - 1) * z.i2)}, {{109}, z.IY(z.ey * (z.nx + 1))},
                 {{110}, z.IY(z.ey * (z.nx + 1))}, {{111}, z.IY(z.ey * (z.nx + 1))}, {{112}, z.IY(z.ey * (z.nx + 1))},
                 {{113}, z.IXY(z.ey * z.nx)}, {{114}, z.IXY(z.ey * z.nx)}, {{115}, z.IXY(z.ey * z.nx)},
                 {{116}, z.IXY(z.ey * z.nx)}};
     },
     {},
     {}},
    {"UBFD4", 16,
     {{"x five-point first differences", {117, 118, 119, 120, 121, 125}, 4, kX},
      {"x five-point one-sided second differences", {122, 124}, 4, kX},
      {"x five-point central second differences", {123}, 5, kX},
      {"x quartic element integrals", {126, 127, 128, 129}, 4, kX},
      {"y five-point first differences", {130, 131, 132, 133, 134, 138}, 4, kY},
      {"y five-point one-sided second differences", {135, 137}, 4, kY},
      {"y five-point central second differences", {136}, 5, kY},
      {"y quartic element integrals", {139, 140, 141, 142, 143, 144, 145, 146}, 4, kY}},
     [](const Sizes& z) -> Tally {
         return {{{117}, z.D1X(z.ny + 1)}, {{118}, z.D1X(z.s * (z.ny + 1))}, {{119}, z.D1X(z.s * (z.ny + 1))},
                 {{120}, z.D1X((z.nx - 3 * z.s) * (z.ny + 1))}, {{121}, z.D1X(z.s * (z.ny + 1))},
                 {{122}, z.D2X(z.s * z.j2)}, {{123}, z.D2X(z.s * z.j2)}, {{124}, z.D2X((z.nx - 3 * z.s) * z.j2)},
                 {{125}, z.D2X((z.s - 1) * (z.ny + 1))}, {{126}, z.IX(z.ex * (z.ny + 1))},
                 {{127}, z.IX(z.ex * (z.ny + 1))}, {{128}, z.IX(z.ex * (z.ny + 1))}, {{129}, z.IX(z.ex * (z.ny + 1))}};
     },
     [](const Sizes& z) -> Tally {
         return {{{130}, z.D1Y(z.nx + 1)}, {{131}, z.D1Y(z.t * (z.nx + 1))}, {{132}, z.D1Y(z.t * (z.nx + 1))},
                 {{133}, z.D1Y((z.ny - 3 * z.t) * (z.nx + 1))}, {{134}, z.D1Y(z.t * (z.nx + 1))},
                 {{135}, z.D2Y(z.t * z.i2)}, {{136}, z.D2Y(z.t * z.i2)}, {{137}, z.D2Y((z.ny - 3 * z.t) * z.i2)},
                 {{138}, z.D2Y((z.t - 1) * z.i2)}, {{139}, z.IY(z.ey * (z.nx + 1))},
                 {{140}, z.IY(z.ey * (z.nx + 1))}, {{141}, z.IY(z.ey * (z.nx + 1))}, {{142}, z.IY(z.ey * (z.nx + 1))},
                 {{143}, z.IXY(z.ey * z.nx)}, {{144}, z.IXY(z.ey * z.nx)}, {{145}, z.IXY(z.ey * z.nx)},
                 {{146}, z.IXY(z.ey * z.nx)}};
     },
     {},
     {}},
};

bool Is(const char* method, const char* name) { return std::strcmp(method, name) == 0; }

void PrintTo(const FdMethod& m, std::ostream* os) { *os << m.name; }

const char* const kAnyMethod[] = {"BFD1", "BFD2", "FFD1", "FFD2", "CFD2", "CFD4", "UBFD4", "OCFE2", "OCFE3", "OCFE4"};

// --- random configurations -----------------------------------------------------------

struct AxisSetup {
    const char* method;
    std::vector<double> spacings;  // one per section
    int highest;                   // the domain's HIGHESTORDERDERIVATIVE
    int used;                      // the distribution's order; -1: its default
};

struct Config {
    std::uint32_t seed;
    AxisSetup axes[2];
    std::vector<std::string> integrals;  // empty: the default
    bool Has(const std::string& name) const {
        for (const std::string& n : integrals)
            if (n == name) return true;
        return false;
    }
    std::string Describe() const {
        std::ostringstream s;
        s << "seed " << seed << ":";
        for (int a = 0; a < 2; ++a) {
            s << " " << "XY"[a] << " " << axes[a].method << " {";
            for (double h : axes[a].spacings) s << " " << h;
            s << " } highest " << axes[a].highest << " used " << axes[a].used << ";";
        }
        for (const std::string& n : integrals) s << " " << n;
        return s.str();
    }
};

// The method on x, on y or on both (by the seed), the other axis any method;
// sections of their own spacings. The engine's output is fixed by the standard.
Config Draw(std::uint32_t seed, const char* method) {
    std::mt19937 engine(seed);
    auto below = [&](int n) { return static_cast<int>(engine() % static_cast<std::uint32_t>(n)); };
    Config c;
    c.seed = seed;
    const int on = static_cast<int>(seed % 3);  // 0: x, 1: y, 2: both
    for (int a = 0; a < 2; ++a) {
        AxisSetup& x = c.axes[a];
        x.method = on == 2 || on == a ? method : kAnyMethod[below(10)];
        const int sections = 1 + below(3);
        for (int s = 0; s < sections; ++s) x.spacings.push_back(1.0 / sections / (2 + below(5) + 0.25 * s));
        x.highest = 1 + below(2);
        x.used = below(4) - 1;
    }
    for (const char* name : {"idx", "idy", "idxdy"})
        if (below(2)) c.integrals.push_back(name);
    return c;
}

void Apply(grid::Grid& g, int axis, const AxisSetup& x) {
    g.Method(axis, x.method).SectionSpacings(axis, x.spacings).Highest(axis, x.highest);
    if (x.used >= 0) g.Used(axis, x.used);
}

// Settled and declared; false when it has more nodes than the tests allow.
bool Build(grid::Grid2& g, const Config& c) {
    for (int a = 0; a < 2; ++a) Apply(g, a, c.axes[a]);
    if (!c.integrals.empty()) g.Integrals(c.integrals);
    g.Settle();
    if ((g.EndNode(kX) + 1LL) * (g.EndNode(kY) + 1LL) > 400) return false;
    g.Declare(100);
    return true;
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

Sizes Measure(grid::Grid2& g, const Config& c) {
    Sizes z{};
    z.nx = g.EndNode(kX);
    z.ny = g.EndNode(kY);
    z.s = g.SectionCount(kX);
    z.t = g.SectionCount(kY);
    for (int s = 1; s <= z.s; ++s) z.ex += g.Section(kX, s).NUMELEMENTS.v();
    for (int s = 1; s <= z.t; ++s) z.ey += g.Section(kY, s).NUMELEMENTS.v();
    z.j2 = static_cast<long long>(Lines(g, kY).size());
    z.i2 = static_cast<long long>(Lines(g, kX).size());
    z.ux = g.dist.HIGHESTORDERXDERIVATIVEUSED.v();
    z.uy = g.dist.HIGHESTORDERYDERIVATIVEUSED.v();
    z.idx = c.Has("idx") || c.Has("idxdy");
    z.idy = c.Has("idy");
    z.idxdy = c.Has("idxdy");
    return z;
}

// Row counts per element: `count(i, j)` rows at every node, none where it is 0.
template <class F>
std::map<std::vector<int>, int> Expected(grid::Grid& g, F&& count) {
    std::map<std::vector<int>, int> out;
    for (int i = 0; i <= g.EndNode(kX); ++i)
        for (int j = 0; j <= g.EndNode(kY); ++j)
            if (const int n = count(i, j)) out[{i, j}] = n;
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

// Sections of different spacings in both directions, so that a row with the
// wrong section's h, or a value one node off across its direction, shows.
TEST_P(Fd2Method, EveryRowIsExactForItsDegreeAndNoMore) {
    const FdMethod& m = GetParam();
    std::vector<Family> families = m.families;
    families.push_back({"integral starts", {1, 2, 3, 4}, grid::kAnyDegree, kX});
    for (int used : {1, 2}) {
        SCOPED_TRACE(std::string(m.name) + " used " + std::to_string(used));
        grid::Grid2 g;
        g.Method(m.name).Highest(used).Used(used).Integrals({"idx", "idy", "idxdy"});
        g.SectionSpacings(kX, {1.0 / 12, 1.0 / 24, 1.0 / 36}).SectionSpacings(kY, {1.0 / 8, 1.0 / 16});
        g.Settle().Declare();
        for (int a : {kX, kY})
            for (int s = 2; s <= g.SectionCount(a); ++s)
                ASSERT_NE(g.Section(a, s - 1).ELEMENTLENGTH.v(), g.Section(a, s).ELEMENTLENGTH.v());
        fieldcheck::ExpectExactness(g, fieldcheck::UniformNodes(g), families, 1e-12, 1e-7);
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
        const Config c = Draw(7000 + seed, m.name);
        SCOPED_TRACE(c.Describe());
        host.Reset();
        grid::Grid2 g;
        if (!Build(g, c)) continue;
        ++checked;
        const std::vector<grid::Row> rows = g.Rows();
        const grid::Census census(rows);
        grid::ExpectInsideIndexSets(g, rows);
        const Sizes z = Measure(g, c);
        const std::set<int> jx = Joints(g, kX), jy = Joints(g, kY), inX = Inner(g, kX), inY = Inner(g, kY);
        const std::set<int> i2 = Lines(g, kX), j2 = Lines(g, kY);
        auto every = [](bool on) { return [on](int, int) { return on ? 1 : 0; }; };
        if (Is(c.axes[kX].method, m.name)) {
            EXPECT_EQ(census.Of("DDX"), Expected(g, [&](int i, int) {
                          return z.ux > 0 ? 1 + (z.ux > 1 && jx.count(i)) : 0;
                      }));
            EXPECT_EQ(census.Of("D2DX2"), Expected(g, [&](int i, int j) {
                          return z.ux > 1 && inX.count(i) && j2.count(j) ? 1 : 0;
                      }));
            EXPECT_EQ(census.Of("IDX"), Expected(g, every(z.idx)));
            ExpectTally(rows, 100 + m.xBlock, m.xCounts(z));
        }
        if (Is(c.axes[kY].method, m.name)) {
            EXPECT_EQ(census.Of("DDY"), Expected(g, [&](int i, int j) {
                          return z.uy > 0 ? 1 + (z.uy > 1 && jy.count(j) && i2.count(i)) : 0;
                      }));
            EXPECT_EQ(census.Of("D2DY2"), Expected(g, [&](int i, int j) {
                          return z.uy > 1 && i2.count(i) && inY.count(j) ? 1 : 0;
                      }));
            EXPECT_EQ(census.Of("IDY"), Expected(g, every(z.idy)));
            EXPECT_EQ(census.Of("IDXDY"), Expected(g, every(z.idxdy)));
            ExpectTally(rows, 100 + m.xBlock + 1, m.yCounts(z));
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
        Config c = Draw(9000 + seed, m.name);
        const int axis = Is(c.axes[kX].method, m.name) && (seed % 2 || !Is(c.axes[kY].method, m.name)) ? kX : kY;
        AxisSetup& own = c.axes[axis];
        own.used = static_cast<int>(seed % 3);
        SCOPED_TRACE(c.Describe() + " along " + "XY"[axis]);
        host.Reset();
        grid::Grid2 g;
        if (!Build(g, c)) continue;
        grid::Grid1 line;
        Apply(line, kX, own);
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

// x in two sections of two intervals, y in one of two; second x derivatives,
// nothing in y: the x block's rows line by line, then its second-derivative
// rows section by section, each section's joint rows after its own.
TEST_P(Fd2Method, WorkedExampleOfTheXBlock) {
    const FdMethod& m = GetParam();
    if (m.perLine.empty()) GTEST_SKIP() << "no example";
    grid::Grid2 g;
    g.Method(m.name).Sections(kX, 2).Spacing(kX, 0.25).Highest(kX, 2).Used(kX, 2);
    g.Spacing(kY, 0.5).Highest(kY, 1).Used(kY, 0).Settle().Declare(100);
    ASSERT_EQ(g.EndNode(kX), 4);
    ASSERT_EQ(g.EndNode(kY), 2);
    std::vector<std::string> expected;
    auto at = [](int site, int i, int j) {
        return std::to_string(site) + "@" + std::to_string(i) + "," + std::to_string(j);
    };
    for (int j = 0; j <= 2; ++j)
        for (const auto& [site, i] : m.perLine) expected.push_back(at(site, i, j));
    for (const auto& [site, i] : m.overLines)
        for (int j = 0; j <= 2; ++j) expected.push_back(at(site, i, j));
    const std::vector<grid::Row> rows = g.Rows();
    EXPECT_EQ(grid::Sequence(rows), expected);
    for (const grid::Row& r : rows) {
        EXPECT_EQ(r.group, 100 + m.xBlock) << "ZR_Eqn" << r.site;
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, Fd2Method, ::testing::ValuesIn(kMethods),
                         [](const ::testing::TestParamInfo<FdMethod>& info) { return std::string(info.param.name); });

class Fd2Joints : public LinkedTest {};

// CFD4 with first derivatives only, in either direction: the rows around a
// joint hang on an exact comparison of the two sections' spacings. Equal ones
// give the five-point rows across the joint (86 before and at it, declared by
// the left section with its spacing, 80 after it by the right one), exact for
// quartics; spacings one unit in the last place apart, or not a number, give
// the second-order rows, the one at the joint naming the right section's
// spacing first. Each line's rows in the order of the block's program.
TEST_F(Fd2Joints, Cfd4JointsCompareSpacingsExactlyInEitherDirection) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double h = 0.0625;
    struct Case {
        const char* label;
        double h1, h2;  // 0: as the domain placed it
        bool equal;
    };
    const Case cases[] = {{"equal", 0, 0, true},
                          {"one ulp apart", 0, std::nextafter(h, 1.0), false},
                          {"the first not a number", nan, 0, false}};
    const FdMethod* cfd4 = nullptr;
    for (const FdMethod& m : kMethods)
        if (Is(m.name, "CFD4")) cfd4 = &m;
    ASSERT_NE(cfd4, nullptr);
    for (int axis : {kX, kY}) {
        const int other = 1 - axis, shift = axis == kX ? 0 : 18;
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
            for (int l = 0; l <= 2; ++l) {
                for (const auto& [site, n] : line) {
                    const int i = axis == kX ? n : l, j = axis == kX ? l : n;
                    expected.push_back(std::to_string(site + shift) + "@" + std::to_string(i) + "," +
                                       std::to_string(j));
                }
            }
            const std::vector<grid::Row> rows = g.Rows();
            EXPECT_EQ(grid::Sequence(rows), expected);
            for (const grid::Row& r : rows) {
                EXPECT_EQ(r.group, 100 + cfd4->xBlock + axis) << "ZR_Eqn" << r.site;
                const int site = r.site - shift;
                const int section = r.terms.at(1).section;
                if (site == 86 || site == 80) {
                    EXPECT_EQ(section, site == 86 ? 1 : 2) << "ZR_Eqn" << r.site << " at " << r.subject.Name();
                }
                if (site == 84) {
                    EXPECT_EQ(std::make_pair(section, r.terms.at(2).section), std::make_pair(2, 1));
                }
            }
            if (c.equal) {
                fieldcheck::ExpectExactness(g, fieldcheck::UniformNodes(g), cfd4->families, 1e-12, 1e-7);
            }
            for (const std::string& e : host.errors) ADD_FAILURE() << "host error: " << e;
            host.errors.clear();
        }
    }
}

// UBFD4, x in two sections of four intervals with second derivatives, nothing
// in y: each line's first-derivative rows section after section, 121 at the
// joint from the left; then each section's second-derivative rows on the lines
// of J2, the second section's joint row 125 on every line after its own.
TEST_F(Fd2Joints, Ubfd4WorkedExampleOfTheXBlock) {
    {
        grid::Grid2 g;
        g.Method(kX, "UBFD4").Sections(kX, 2).Spacing(kX, 0.125).Highest(kX, 2).Used(kX, 2);
        g.Method(kY, "BFD1").Spacing(kY, 0.5).Highest(kY, 1).Used(kY, 0).Settle().Declare(100);
        ASSERT_EQ(g.EndNode(kX), 8);
        ASSERT_EQ(g.EndNode(kY), 2);
        auto at = [](int site, int i, int j) {
            return std::to_string(site) + "@" + std::to_string(i) + "," + std::to_string(j);
        };
        std::vector<std::string> expected;
        for (int j = 0; j <= 2; ++j) {
            expected.push_back(at(117, 0, j));
            for (int b : {0, 4}) {
                for (int k = 1; k <= 4; ++k) expected.push_back(at(117 + k, b + k, j));
            }
        }
        for (int b : {0, 4}) {
            for (int j = 0; j <= 2; ++j) {
                for (int k = 1; k <= 3; ++k) expected.push_back(at(121 + k, b + k, j));
            }
        }
        for (int j = 0; j <= 2; ++j) expected.push_back(at(125, 4, j));
        const std::vector<grid::Row> rows = g.Rows();
        EXPECT_EQ(grid::Sequence(rows), expected);
        for (const grid::Row& r : rows) EXPECT_EQ(r.group, 116) << "ZR_Eqn" << r.site;
    }
}

}  // namespace
