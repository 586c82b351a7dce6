// FFD2 in two dimensions: first derivatives by the three-point forward
// difference, with a central row at the second-last node of every section,
// where the forward stencil would reach into the next section, and a backward
// row at the domain's last node; second derivatives by the three-point central
// difference; integrals by the parabola through each element's three nodes, one
// row per interval. With second derivatives in use each section joint also gets
// the backward difference of the section on its left, so that the two
// sections' slopes are tied there.
#include "distributions/two/walk.h"

namespace zr_distribution2d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {43, "(2 * (DDX(i,j) * h)) + (VALUE(i+2,j) - ((-3 * VALUE(i,j)) + (4 * VALUE(i+1,j))))"},
    {44, "(2 * (DDX(i,j) * h)) + (VALUE(i-1,j) - VALUE(i+1,j))"},
    {45, "(2 * (DDX(i,j) * h)) - ((VALUE(i-2,j) - (4 * VALUE(i-1,j))) + (3 * VALUE(i,j)))"},
    {46, "(D2DX2(i,j) * square(h)) - ((VALUE(i-1,j) - (2 * VALUE(i,j))) + VALUE(i+1,j))"},
    {47, "(2 * (DDX(i,j) * h)) - ((VALUE(i-2,j) - (4 * VALUE(i-1,j))) + (3 * VALUE(i,j)))"},
    {48, "(IDX(n+1,j) / (0.08333333333333333 * h)) + (VALUE(n+2,j) - ((5 * VALUE(n,j)) + (8 * VALUE(n+1,j))))"},
    {49, "(IDX(n+2,j) / (0.08333333333333333 * h)) - (((8 * VALUE(n+1,j)) - VALUE(n,j)) + (5 * VALUE(n+2,j)))"},
    {50, "(2 * (DDY(i,j) * h)) + (VALUE(i,j+2) - ((-3 * VALUE(i,j)) + (4 * VALUE(i,j+1))))"},
    {51, "(2 * (DDY(i,j) * h)) + (VALUE(i,j-1) - VALUE(i,j+1))"},
    {52, "(2 * (DDY(i,j) * h)) - ((VALUE(i,j-2) - (4 * VALUE(i,j-1))) + (3 * VALUE(i,j)))"},
    {53, "(D2DY2(i,j) * square(h)) - ((VALUE(i,j-1) - (2 * VALUE(i,j))) + VALUE(i,j+1))"},
    {54, "(2 * (DDY(i,j) * h)) - ((VALUE(i,j-2) - (4 * VALUE(i,j-1))) + (3 * VALUE(i,j)))"},
    {55, "(IDY(i,n+1) / (0.08333333333333333 * h)) + (VALUE(i,n+2) - ((5 * VALUE(i,n)) + (8 * VALUE(i,n+1))))"},
    {56, "(IDY(i,n+2) / (0.08333333333333333 * h)) - (((8 * VALUE(i,n+1)) - VALUE(i,n)) + (5 * VALUE(i,n+2)))"},
    {57, "(IDXDY(i,n+1) / (0.08333333333333333 * h)) + (IDX(i,n+2) - ((5 * IDX(i,n)) + (8 * IDX(i,n+1))))"},
    {58, "(IDXDY(i,n+2) / (0.08333333333333333 * h)) - (((8 * IDX(i,n+1)) - IDX(i,n)) + (5 * IDX(i,n+2)))"},
);

}  // namespace

extern const int kReachFfd2 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Ffd2X() {
    if (UsedX() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            EachSection(m_x, [&](int s) {
                Each(kI, B(), E() - 2, [&] { Emit(kRows, 43); });
                At(kRows, 44, kI, E() - 1);
                if (s == m_x.Sections()) At(kRows, 45, kI, E());
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int s) {
            EachIn(kJ, m_y.Lines(), [&] { Each(kI, B() + 1, E() - 1, [&] { Emit(kRows, 46); }); });
            Each(kJ, 0, m_y.EndNode(), [&] {
                if (s != m_x.Sections()) At(kRows, 47, kI, E());
            });
        });
    }
    if (Has("idx") || Has("idxdy")) {
        ElementRows(kRows, 48, 2, m_x, {kJ, 0, m_y});
    }
}

template <class Sink>
void Walk<Sink>::Ffd2Y() {
    if (UsedY() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            EachSection(m_y, [&](int s) {
                Each(kJ, B(), E() - 2, [&] { Emit(kRows, 50); });
                At(kRows, 51, kJ, E() - 1);
                if (s == m_y.Sections()) At(kRows, 52, kJ, E());
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] { Each(kJ, B() + 1, E() - 1, [&] { Emit(kRows, 53); }); });
            if (s != m_y.Sections()) EachIn(kI, m_x.Lines(), [&] { At(kRows, 54, kJ, E()); });
        });
    }
    if (Has("idy")) {
        ElementRows(kRows, 55, 2, m_y, {kI, 0, m_x});
    }
    if (Has("idxdy")) {
        ElementRows(kRows, 57, 2, m_y, {kI, 1, m_x});
    }
}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Ffd2)
