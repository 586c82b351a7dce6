// CFD2 in two dimensions: first derivatives by the three-point central
// difference, one-sided three-point rows at the domain's ends; second
// derivatives by the three-point central difference; integrals by the parabola
// through each element's three nodes, one row per interval. At a section joint
// the first derivative alone is the central difference across both spacings;
// with second derivatives in use the joint instead carries the backward row of
// the section on its left and the forward row of the section on its right.
#include "distributions/two/walk.h"

namespace zr_distribution2d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {59, "(2 * (DDX(i,j) * h)) + (VALUE(i+2,j) - ((-3 * VALUE(i,j)) + (4 * VALUE(i+1,j))))"},
    {60, "(2 * (DDX(i,j) * h)) + (VALUE(i-1,j) - VALUE(i+1,j))"},
    {61, "(2 * (DDX(i,j) * h)) - ((VALUE(i-2,j) - (4 * VALUE(i-1,j))) + (3 * VALUE(i,j)))"},
    {62, "(DDX(i,j) * (h(s+1) + h)) + (VALUE(i-1,j) - VALUE(i+1,j))"},
    {63, "(D2DX2(i,j) * square(h)) - ((VALUE(i-1,j) - (2 * VALUE(i,j))) + VALUE(i+1,j))"},
    {64, "(2 * (DDX(i,j) * h)) + (VALUE(i+2,j) - ((-3 * VALUE(i,j)) + (4 * VALUE(i+1,j))))"},
    {65, "(IDX(n+1,j) / (0.08333333333333333 * h)) + (VALUE(n+2,j) - ((5 * VALUE(n,j)) + (8 * VALUE(n+1,j))))"},
    {66, "(IDX(n+2,j) / (0.08333333333333333 * h)) - (((8 * VALUE(n+1,j)) - VALUE(n,j)) + (5 * VALUE(n+2,j)))"},
    {67, "(2 * (DDY(i,j) * h)) + (VALUE(i,j+2) - ((-3 * VALUE(i,j)) + (4 * VALUE(i,j+1))))"},
    {68, "(2 * (DDY(i,j) * h)) + (VALUE(i,j-1) - VALUE(i,j+1))"},
    {69, "(2 * (DDY(i,j) * h)) - ((VALUE(i,j-2) - (4 * VALUE(i,j-1))) + (3 * VALUE(i,j)))"},
    {70, "(DDY(i,j) * (h(s+1) + h)) + (VALUE(i,j-1) - VALUE(i,j+1))"},
    {71, "(D2DY2(i,j) * square(h)) - ((VALUE(i,j-1) - (2 * VALUE(i,j))) + VALUE(i,j+1))"},
    {72, "(2 * (DDY(i,j) * h)) + (VALUE(i,j+2) - ((-3 * VALUE(i,j)) + (4 * VALUE(i,j+1))))"},
    {73, "(IDY(i,n+1) / (0.08333333333333333 * h)) + (VALUE(i,n+2) - ((5 * VALUE(i,n)) + (8 * VALUE(i,n+1))))"},
    {74, "(IDY(i,n+2) / (0.08333333333333333 * h)) - (((8 * VALUE(i,n+1)) - VALUE(i,n)) + (5 * VALUE(i,n+2)))"},
    {75, "(IDXDY(i,n+1) / (0.08333333333333333 * h)) + (IDX(i,n+2) - ((5 * IDX(i,n)) + (8 * IDX(i,n+1))))"},
    {76, "(IDXDY(i,n+2) / (0.08333333333333333 * h)) - (((8 * IDX(i,n+1)) - IDX(i,n)) + (5 * IDX(i,n+2)))"},
);

}  // namespace

extern const int kReachCfd2 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Cfd2X() {
    if (UsedX() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            EachSection(m_x, [&](int s) {
                if (s == 1) At(kRows, 59, kI, B());
                Each(kI, B() + 1, E() - 1, [&] { Emit(kRows, 60); });
                At(kRows, s == m_x.Sections() || UsedX() > 1 ? 61 : 62, kI, E());
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int s) {
            EachIn(kJ, m_y.Lines(), [&] { Each(kI, B() + 1, E() - 1, [&] { Emit(kRows, 63); }); });
            Each(kJ, 0, m_y.EndNode(), [&] {
                if (s != 1) At(kRows, 64, kI, B());
            });
        });
    }
    if (Has("idx") || Has("idxdy")) {
        ElementRows(kRows, 65, 2, m_x, {kJ, 0, m_y});
    }
}

template <class Sink>
void Walk<Sink>::Cfd2Y() {
    if (UsedY() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            EachSection(m_y, [&](int s) {
                if (s == 1) At(kRows, 67, kJ, B());
                Each(kJ, B() + 1, E() - 1, [&] { Emit(kRows, 68); });
                At(kRows, s == m_y.Sections() || UsedY() > 1 ? 69 : 70, kJ, E());
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] { Each(kJ, B() + 1, E() - 1, [&] { Emit(kRows, 71); }); });
            if (s != 1) EachIn(kI, m_x.Lines(), [&] { At(kRows, 72, kJ, B()); });
        });
    }
    if (Has("idy")) {
        ElementRows(kRows, 73, 2, m_y, {kI, 0, m_x});
    }
    if (Has("idxdy")) {
        ElementRows(kRows, 75, 2, m_y, {kI, 1, m_x});
    }
}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Cfd2)
