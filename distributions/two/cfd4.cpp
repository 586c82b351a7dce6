// CFD4 in two dimensions: first derivatives by five-point central differences
// inside each section, five-point one-sided rows at the two first and two last
// nodes, second derivatives by five-point rows (one-sided next to the section
// ends), integrals by the five-point rule over elements of four intervals.
//
// At a joint the rows depend on whether second derivatives are used. When they
// are, each section keeps its own one-sided rows and the joint node carries a
// second first-derivative row, forward over the new section, so the two
// one-sided derivatives are made equal. When only first derivatives are used,
// the three nodes around a joint take the central rows across it if the two
// sections' spacings are the same number, and second-order rows (the one at the
// joint over the two unequal intervals) if they are not.
#include "distributions/two/walk.h"

namespace zr_distribution2d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    // --- x -------------------------------------------------------------------
    {77, "(24 * (DDX(i,j) * h)) + ((6 * VALUE(i+4,j)) - ((((-50 * VALUE(i,j)) + (96 * VALUE(i+1,j))) - (72 * VALUE(i+2,j))) + (32 * VALUE(i+3,j))))"},
    {78, "(24 * (DDX(i,j) * h)) - (((((-6 * VALUE(i-1,j)) - (20 * VALUE(i,j))) + (36 * VALUE(i+1,j))) - (12 * VALUE(i+2,j))) + (2 * VALUE(i+3,j)))"},
    {79, "(2 * (DDX(i,j) * h)) + (VALUE(i-1,j) - VALUE(i+1,j))"},
    {80, "(24 * (DDX(i,j) * h)) + ((2 * VALUE(i+2,j)) - (((2 * VALUE(i-2,j)) - (16 * VALUE(i-1,j))) + (16 * VALUE(i+1,j))))"},
    {81, "(24 * (DDX(i,j) * h)) + ((2 * VALUE(i+2,j)) - (((2 * VALUE(i-2,j)) - (16 * VALUE(i-1,j))) + (16 * VALUE(i+1,j))))"},
    {82, "(24 * (DDX(i,j) * h)) - (((((-2 * VALUE(i-3,j)) + (12 * VALUE(i-2,j))) - (36 * VALUE(i-1,j))) + (20 * VALUE(i,j))) + (6 * VALUE(i+1,j)))"},
    {83, "(24 * (DDX(i,j) * h)) - (((((6 * VALUE(i-4,j)) - (32 * VALUE(i-3,j))) + (72 * VALUE(i-2,j))) - (96 * VALUE(i-1,j))) + (50 * VALUE(i,j)))"},
    {84, "(DDX(i,j) * (h(s+1) + h)) + (VALUE(i-1,j) - VALUE(i+1,j))"},
    {85, "(2 * (DDX(i,j) * h)) + (VALUE(i-1,j) - VALUE(i+1,j))"},
    {86, "(24 * (DDX(i,j) * h)) + ((2 * VALUE(i+2,j)) - (((2 * VALUE(i-2,j)) - (16 * VALUE(i-1,j))) + (16 * VALUE(i+1,j))))"},
    {87, "(12 * (D2DX2(i,j) * square(h))) + (VALUE(i+3,j) - ((((11 * VALUE(i-1,j)) - (20 * VALUE(i,j))) + (6 * VALUE(i+1,j))) + (4 * VALUE(i+2,j))))"},
    {88, "(12 * (D2DX2(i,j) * square(h))) + (VALUE(i+2,j) - ((((16 * VALUE(i-1,j)) - VALUE(i-2,j)) - (30 * VALUE(i,j))) + (16 * VALUE(i+1,j))))"},
    {89, "(12 * (D2DX2(i,j) * square(h))) - (((((4 * VALUE(i-2,j)) - VALUE(i-3,j)) + (6 * VALUE(i-1,j))) - (20 * VALUE(i,j))) + (11 * VALUE(i+1,j)))"},
    {90, "(24 * (DDX(i,j) * h)) + ((6 * VALUE(i+4,j)) - ((((-50 * VALUE(i,j)) + (96 * VALUE(i+1,j))) - (72 * VALUE(i+2,j))) + (32 * VALUE(i+3,j))))"},
    {91, "IDX(n+1,j) - (0.001388888888888889 * (h * (((((251 * VALUE(n,j)) + (646 * VALUE(n+1,j))) - (264 * VALUE(n+2,j))) + (106 * VALUE(n+3,j))) - (19 * VALUE(n+4,j)))))"},
    {92, "IDX(n+2,j) - (0.001388888888888889 * (h * (((((-19 * VALUE(n,j)) + (346 * VALUE(n+1,j))) + (456 * VALUE(n+2,j))) - (74 * VALUE(n+3,j))) + (11 * VALUE(n+4,j)))))"},
    {93, "IDX(n+3,j) - (0.001388888888888889 * (h * (((((11 * VALUE(n,j)) - (74 * VALUE(n+1,j))) + (456 * VALUE(n+2,j))) + (346 * VALUE(n+3,j))) - (19 * VALUE(n+4,j)))))"},
    {94, "IDX(n+4,j) - (0.001388888888888889 * (h * (((((-19 * VALUE(n,j)) + (106 * VALUE(n+1,j))) - (264 * VALUE(n+2,j))) + (646 * VALUE(n+3,j))) + (251 * VALUE(n+4,j)))))"},
    // --- y -------------------------------------------------------------------
    {95, "(24 * (DDY(i,j) * h)) + ((6 * VALUE(i,j+4)) - ((((-50 * VALUE(i,j)) + (96 * VALUE(i,j+1))) - (72 * VALUE(i,j+2))) + (32 * VALUE(i,j+3))))"},
    {96, "(24 * (DDY(i,j) * h)) - (((((-6 * VALUE(i,j-1)) - (20 * VALUE(i,j))) + (36 * VALUE(i,j+1))) - (12 * VALUE(i,j+2))) + (2 * VALUE(i,j+3)))"},
    {97, "(2 * (DDY(i,j) * h)) + (VALUE(i,j-1) - VALUE(i,j+1))"},
    {98, "(24 * (DDY(i,j) * h)) + ((2 * VALUE(i,j+2)) - (((2 * VALUE(i,j-2)) - (16 * VALUE(i,j-1))) + (16 * VALUE(i,j+1))))"},
    {99, "(24 * (DDY(i,j) * h)) + ((2 * VALUE(i,j+2)) - (((2 * VALUE(i,j-2)) - (16 * VALUE(i,j-1))) + (16 * VALUE(i,j+1))))"},
    {100, "(24 * (DDY(i,j) * h)) - (((((-2 * VALUE(i,j-3)) + (12 * VALUE(i,j-2))) - (36 * VALUE(i,j-1))) + (20 * VALUE(i,j))) + (6 * VALUE(i,j+1)))"},
    {101, "(24 * (DDY(i,j) * h)) - (((((6 * VALUE(i,j-4)) - (32 * VALUE(i,j-3))) + (72 * VALUE(i,j-2))) - (96 * VALUE(i,j-1))) + (50 * VALUE(i,j)))"},
    {102, "(DDY(i,j) * (h(s+1) + h)) + (VALUE(i,j-1) - VALUE(i,j+1))"},
    {103, "(2 * (DDY(i,j) * h)) + (VALUE(i,j-1) - VALUE(i,j+1))"},
    {104, "(24 * (DDY(i,j) * h)) + ((2 * VALUE(i,j+2)) - (((2 * VALUE(i,j-2)) - (16 * VALUE(i,j-1))) + (16 * VALUE(i,j+1))))"},
    {105, "(12 * (D2DY2(i,j) * square(h))) + (VALUE(i,j+3) - ((((11 * VALUE(i,j-1)) - (20 * VALUE(i,j))) + (6 * VALUE(i,j+1))) + (4 * VALUE(i,j+2))))"},
    {106, "(12 * (D2DY2(i,j) * square(h))) + (VALUE(i,j+2) - ((((16 * VALUE(i,j-1)) - VALUE(i,j-2)) - (30 * VALUE(i,j))) + (16 * VALUE(i,j+1))))"},
    {107, "(12 * (D2DY2(i,j) * square(h))) - (((((4 * VALUE(i,j-2)) - VALUE(i,j-3)) + (6 * VALUE(i,j-1))) - (20 * VALUE(i,j))) + (11 * VALUE(i,j+1)))"},
    {108, "(24 * (DDY(i,j) * h)) + ((6 * VALUE(i,j+4)) - ((((-50 * VALUE(i,j)) + (96 * VALUE(i,j+1))) - (72 * VALUE(i,j+2))) + (32 * VALUE(i,j+3))))"},
    {109, "IDY(i,n+1) - (0.001388888888888889 * (h * (((((251 * VALUE(i,n)) + (646 * VALUE(i,n+1))) - (264 * VALUE(i,n+2))) + (106 * VALUE(i,n+3))) - (19 * VALUE(i,n+4)))))"},
    {110, "IDY(i,n+2) - (0.001388888888888889 * (h * (((((-19 * VALUE(i,n)) + (346 * VALUE(i,n+1))) + (456 * VALUE(i,n+2))) - (74 * VALUE(i,n+3))) + (11 * VALUE(i,n+4)))))"},
    {111, "IDY(i,n+3) - (0.001388888888888889 * (h * (((((11 * VALUE(i,n)) - (74 * VALUE(i,n+1))) + (456 * VALUE(i,n+2))) + (346 * VALUE(i,n+3))) - (19 * VALUE(i,n+4)))))"},
    {112, "IDY(i,n+4) - (0.001388888888888889 * (h * (((((-19 * VALUE(i,n)) + (106 * VALUE(i,n+1))) - (264 * VALUE(i,n+2))) + (646 * VALUE(i,n+3))) + (251 * VALUE(i,n+4)))))"},
    {113, "IDXDY(i,n+1) - (0.001388888888888889 * (h * (((((251 * IDX(i,n)) + (646 * IDX(i,n+1))) - (264 * IDX(i,n+2))) + (106 * IDX(i,n+3))) - (19 * IDX(i,n+4)))))"},
    {114, "IDXDY(i,n+2) - (0.001388888888888889 * (h * (((((-19 * IDX(i,n)) + (346 * IDX(i,n+1))) + (456 * IDX(i,n+2))) - (74 * IDX(i,n+3))) + (11 * IDX(i,n+4)))))"},
    {115, "IDXDY(i,n+3) - (0.001388888888888889 * (h * (((((11 * IDX(i,n)) - (74 * IDX(i,n+1))) + (456 * IDX(i,n+2))) + (346 * IDX(i,n+3))) - (19 * IDX(i,n+4)))))"},
    {116, "IDXDY(i,n+4) - (0.001388888888888889 * (h * (((((-19 * IDX(i,n)) + (106 * IDX(i,n+1))) - (264 * IDX(i,n+2))) + (646 * IDX(i,n+3))) + (251 * IDX(i,n+4)))))"},
);

}  // namespace

extern const int kReachCfd4 = kRows.Reach();

// Spacings are compared as the exact numbers they are: no tolerance, and a NaN
// equals nothing, so it takes the rows for unequal spacings.
template <class Sink>
void Walk<Sink>::Cfd4X() {
    if (UsedX() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            EachSection(m_x, [&](int s) {
                if (s == 1 || UsedX() > 1) {
                    if (s == 1) At(kRows, 77, kI, B());
                    At(kRows, 78, kI, B() + 1);
                } else if (m_x.Spacing(s - 1) == m_x.Spacing(s)) {
                    At(kRows, 80, kI, B() + 1);
                } else {
                    At(kRows, 79, kI, B() + 1);
                }
                Each(kI, B() + 2, E() - 2, [&] { Emit(kRows, 81); });
                if (s == m_x.Sections() || UsedX() > 1) {
                    At(kRows, 82, kI, E() - 1);
                    At(kRows, 83, kI, E());
                } else if (m_x.Spacing(s + 1) == m_x.Spacing(s)) {
                    Each(kI, E() - 1, E(), [&] { Emit(kRows, 86); });
                } else {
                    At(kRows, 84, kI, E());
                    At(kRows, 85, kI, E() - 1);
                }
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int s) {
            EachIn(kJ, m_y.Lines(), [&] {
                At(kRows, 87, kI, B() + 1);
                Each(kI, B() + 2, E() - 2, [&] { Emit(kRows, 88); });
                At(kRows, 89, kI, E() - 1);
            });
            if (s != 1) Each(kJ, 0, m_y.EndNode(), [&] { At(kRows, 90, kI, B()); });
        });
    }
    if (Has("idx") || Has("idxdy")) {
        ElementRows(kRows, 91, 4, m_x, {kJ, 0, m_y});
    }
}

// The joint row of the second-derivative part stands only on the x lines of
// I2, like the second-derivative rows beside it: where both directions have a
// joint, the x block's row is the node's one extra row.
template <class Sink>
void Walk<Sink>::Cfd4Y() {
    if (UsedY() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            EachSection(m_y, [&](int s) {
                if (s == 1 || UsedY() > 1) {
                    if (s == 1) At(kRows, 95, kJ, B());
                    At(kRows, 96, kJ, B() + 1);
                } else if (m_y.Spacing(s - 1) == m_y.Spacing(s)) {
                    At(kRows, 98, kJ, B() + 1);
                } else {
                    At(kRows, 97, kJ, B() + 1);
                }
                Each(kJ, B() + 2, E() - 2, [&] { Emit(kRows, 99); });
                if (s == m_y.Sections() || UsedY() > 1) {
                    At(kRows, 100, kJ, E() - 1);
                    At(kRows, 101, kJ, E());
                } else if (m_y.Spacing(s + 1) == m_y.Spacing(s)) {
                    Each(kJ, E() - 1, E(), [&] { Emit(kRows, 104); });
                } else {
                    At(kRows, 102, kJ, E());
                    At(kRows, 103, kJ, E() - 1);
                }
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                At(kRows, 105, kJ, B() + 1);
                Each(kJ, B() + 2, E() - 2, [&] { Emit(kRows, 106); });
                At(kRows, 107, kJ, E() - 1);
            });
            if (s != 1) EachIn(kI, m_x.Lines(), [&] { At(kRows, 108, kJ, B()); });
        });
    }
    if (Has("idy")) {
        ElementRows(kRows, 109, 4, m_y, {kI, 0, m_x});
    }
    if (Has("idxdy")) {
        ElementRows(kRows, 113, 4, m_y, {kI, 1, m_x});
    }
}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Cfd4)
