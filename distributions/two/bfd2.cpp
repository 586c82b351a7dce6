// BFD2 in two dimensions: first derivatives by the three-point backward
// difference, with a forward row at the domain's first node and a central row
// at the second node of every section, where the backward stencil would reach
// into the section before; second derivatives by the three-point central
// difference; integrals by the parabola through each element's three nodes,
// one row per interval. With second derivatives in use each section joint also
// gets the forward difference of the section on its right, so that the two
// sections' slopes are tied there.
#include "distributions/two/walk.h"

namespace zr_distribution2d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {16, "(2 * (DDX(i,j) * h)) + (VALUE(i+2,j) - ((-3 * VALUE(i,j)) + (4 * VALUE(i+1,j))))"},
    {17, "(2 * (DDX(i,j) * h)) + (VALUE(i-1,j) - VALUE(i+1,j))"},
    {18, "(2 * (DDX(i,j) * h)) - ((VALUE(i-2,j) - (4 * VALUE(i-1,j))) + (3 * VALUE(i,j)))"},
    {19, "(D2DX2(i,j) * square(h)) - ((VALUE(i-1,j) - (2 * VALUE(i,j))) + VALUE(i+1,j))"},
    {20, "(2 * (DDX(i,j) * h)) + (VALUE(i+2,j) - ((-3 * VALUE(i,j)) + (4 * VALUE(i+1,j))))"},
    {21, "(IDX(n+1,j) / (0.08333333333333333 * h)) + (VALUE(n+2,j) - ((5 * VALUE(n,j)) + (8 * VALUE(n+1,j))))"},
    {22, "(IDX(n+2,j) / (0.08333333333333333 * h)) - (((8 * VALUE(n+1,j)) - VALUE(n,j)) + (5 * VALUE(n+2,j)))"},
    {23, "(2 * (DDY(i,j) * h)) + (VALUE(i,j+2) - ((-3 * VALUE(i,j)) + (4 * VALUE(i,j+1))))"},
    {24, "(2 * (DDY(i,j) * h)) + (VALUE(i,j-1) - VALUE(i,j+1))"},
    {25, "(2 * (DDY(i,j) * h)) - ((VALUE(i,j-2) - (4 * VALUE(i,j-1))) + (3 * VALUE(i,j)))"},
    {26, "(D2DY2(i,j) * square(h)) - ((VALUE(i,j-1) - (2 * VALUE(i,j))) + VALUE(i,j+1))"},
    {27, "(2 * (DDY(i,j) * h)) + (VALUE(i,j+2) - ((-3 * VALUE(i,j)) + (4 * VALUE(i,j+1))))"},
    {28, "(IDY(i,n+1) / (0.08333333333333333 * h)) + (VALUE(i,n+2) - ((5 * VALUE(i,n)) + (8 * VALUE(i,n+1))))"},
    {29, "(IDY(i,n+2) / (0.08333333333333333 * h)) - (((8 * VALUE(i,n+1)) - VALUE(i,n)) + (5 * VALUE(i,n+2)))"},
    {30, "(IDXDY(i,n+1) / (0.08333333333333333 * h)) + (IDX(i,n+2) - ((5 * IDX(i,n)) + (8 * IDX(i,n+1))))"},
    {31, "(IDXDY(i,n+2) / (0.08333333333333333 * h)) - (((8 * IDX(i,n+1)) - IDX(i,n)) + (5 * IDX(i,n+2)))"},
);

}  // namespace

extern const int kReachBfd2 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Bfd2X() {
    if (UsedX() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            EachSection(m_x, [&](int s) {
                if (s == 1) At(kRows, 16, kI, B());
                At(kRows, 17, kI, B() + 1);
                Each(kI, B() + 2, E(), [&] { Emit(kRows, 18); });
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int s) {
            EachIn(kJ, m_y.Lines(), [&] { Each(kI, B() + 1, E() - 1, [&] { Emit(kRows, 19); }); });
            Each(kJ, 0, m_y.EndNode(), [&] {
                if (s != 1) At(kRows, 20, kI, B());
            });
        });
    }
    if (Has("idx") || Has("idxdy")) {
        ElementRows(kRows, 21, 2, m_x, {kJ, 0, m_y});
    }
}

template <class Sink>
void Walk<Sink>::Bfd2Y() {
    if (UsedY() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            EachSection(m_y, [&](int s) {
                if (s == 1) At(kRows, 23, kJ, B());
                At(kRows, 24, kJ, B() + 1);
                Each(kJ, B() + 2, E(), [&] { Emit(kRows, 25); });
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] { Each(kJ, B() + 1, E() - 1, [&] { Emit(kRows, 26); }); });
            if (s != 1) EachIn(kI, m_x.Lines(), [&] { At(kRows, 27, kJ, B()); });
        });
    }
    if (Has("idy")) {
        ElementRows(kRows, 28, 2, m_y, {kI, 0, m_x});
    }
    if (Has("idxdy")) {
        ElementRows(kRows, 30, 2, m_y, {kI, 1, m_x});
    }
}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Bfd2)
