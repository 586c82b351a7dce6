// OCFE3 in two dimensions: orthogonal collocation with two points per element,
// the element's cubic through its two ends and the two shifted Gauss points.
// Every node has one first-derivative row, an element end taking it from the
// element the domain's element-boundary condition names; with second
// derivatives and a domain of highest order 2 the element on the other side
// gives an end a second row, so the slopes of neighbouring elements agree.
// Each of an element's three intervals is integrated by the same cubic.
#include "distributions/two/walk.h"

namespace zr_distribution2d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {169, "(DDX(i,j) * h) - ((((-7.0 * VALUE(i,j)) + (8.19615 * VALUE(i+1,j))) - (2.19615 * VALUE(i+2,j))) + VALUE(i+3,j))"},
    {170, "(DDX(i,j) * h) + (VALUE(i-3,j) - (((7.0 * VALUE(i,j)) - (8.19615 * VALUE(i-1,j))) + (2.19615 * VALUE(i-2,j))))"},
    {171, "(DDX(n+1,j) * h) + ((0.73205 * VALUE(n+3,j)) - (((-2.73205 * VALUE(n,j)) + (1.73205 * VALUE(n+1,j))) + (1.73205 * VALUE(n+2,j))))"},
    {172, "(DDX(n+2,j) * h) - ((((0.73205 * VALUE(n,j)) - (1.73205 * VALUE(n+1,j))) - (1.73205 * VALUE(n+2,j))) + (2.73205 * VALUE(n+3,j)))"},
    {173, "(DDX(n+3,j) * h) - ((((2.19615 * VALUE(n+1,j)) - VALUE(n,j)) - (8.19615 * VALUE(n+2,j))) + (7.0 * VALUE(n+3,j)))"},
    {174, "(DDX(n,j) * h) + ((7.0 * VALUE(n,j)) - ((VALUE(n+3,j) - (2.19615 * VALUE(n+2,j))) + (8.19615 * VALUE(n+1,j))))"},
    {175, "(DDX(n,j) * h) - ((((-7.0 * VALUE(n,j)) + (8.19615 * VALUE(n+1,j))) - (2.19615 * VALUE(n+2,j))) + VALUE(n+3,j))"},
    {176, "(DDX(n+3,j) * h) + (VALUE(n,j) - (((7.0 * VALUE(n+3,j)) - (8.19615 * VALUE(n+2,j))) + (2.19615 * VALUE(n+1,j))))"},
    {177, "(D2DX2(n+1,j) * square(h)) + ((4.3923 * VALUE(n+3,j)) - (((16.3923 * VALUE(n,j)) - (24.0 * VALUE(n+1,j))) + (12.0 * VALUE(n+2,j))))"},
    {178, "(D2DX2(n+2,j) * square(h)) - ((((-4.3923 * VALUE(n,j)) + (12.0 * VALUE(n+1,j))) - (24.0 * VALUE(n+2,j))) + (16.3923 * VALUE(n+3,j)))"},
    {179, "IDX(n+1,j) - (h * ((((0.08978 * VALUE(n,j)) + (0.12972 * VALUE(n+1,j))) - (0.01462 * VALUE(n+2,j))) + (0.00645 * VALUE(n+3,j))))"},
    {180, "IDX(n+2,j) - (h * ((((-0.09623 * VALUE(n,j)) + (0.3849 * VALUE(n+1,j))) + (0.3849 * VALUE(n+2,j))) - (0.09623 * VALUE(n+3,j))))"},
    {181, "IDX(n+3,j) - (h * ((((0.00645 * VALUE(n,j)) - (0.01462 * VALUE(n+1,j))) + (0.12972 * VALUE(n+2,j))) + (0.08978 * VALUE(n+3,j))))"},
    {182, "(DDY(i,j) * h) - ((((-7.0 * VALUE(i,j)) + (8.19615 * VALUE(i,j+1))) - (2.19615 * VALUE(i,j+2))) + VALUE(i,j+3))"},
    {183, "(DDY(i,j) * h) + (VALUE(i,j-3) - (((7.0 * VALUE(i,j)) - (8.19615 * VALUE(i,j-1))) + (2.19615 * VALUE(i,j-2))))"},
    {184, "(DDY(i,n+1) * h) + ((0.73205 * VALUE(i,n+3)) - (((-2.73205 * VALUE(i,n)) + (1.73205 * VALUE(i,n+1))) + (1.73205 * VALUE(i,n+2))))"},
    {185, "(DDY(i,n+2) * h) - ((((0.73205 * VALUE(i,n)) - (1.73205 * VALUE(i,n+1))) - (1.73205 * VALUE(i,n+2))) + (2.73205 * VALUE(i,n+3)))"},
    {186, "(DDY(i,n+3) * h) - ((((2.19615 * VALUE(i,n+1)) - VALUE(i,n)) - (8.19615 * VALUE(i,n+2))) + (7.0 * VALUE(i,n+3)))"},
    {187, "(DDY(i,n) * h) + ((7.0 * VALUE(i,n)) - ((VALUE(i,n+3) - (2.19615 * VALUE(i,n+2))) + (8.19615 * VALUE(i,n+1))))"},
    {188, "(D2DY2(i,n+1) * square(h)) + ((4.3923 * VALUE(i,n+3)) - (((16.3923 * VALUE(i,n)) - (24.0 * VALUE(i,n+1))) + (12.0 * VALUE(i,n+2))))"},
    {189, "(D2DY2(i,n+2) * square(h)) - ((((-4.3923 * VALUE(i,n)) + (12.0 * VALUE(i,n+1))) - (24.0 * VALUE(i,n+2))) + (16.3923 * VALUE(i,n+3)))"},
    {190, "(DDY(i,n) * h) - ((((-7.0 * VALUE(i,n)) + (8.19615 * VALUE(i,n+1))) - (2.19615 * VALUE(i,n+2))) + VALUE(i,n+3))"},
    {191, "(DDY(i,n+3) * h) + (VALUE(i,n) - (((7.0 * VALUE(i,n+3)) - (8.19615 * VALUE(i,n+2))) + (2.19615 * VALUE(i,n+1))))"},
    {192, "IDY(i,n+1) - (h * ((((0.08978 * VALUE(i,n)) + (0.12972 * VALUE(i,n+1))) - (0.01462 * VALUE(i,n+2))) + (0.00645 * VALUE(i,n+3))))"},
    {193, "IDY(i,n+2) - (h * ((((-0.09623 * VALUE(i,n)) + (0.3849 * VALUE(i,n+1))) + (0.3849 * VALUE(i,n+2))) - (0.09623 * VALUE(i,n+3))))"},
    {194, "IDY(i,n+3) - (h * ((((0.00645 * VALUE(i,n)) - (0.01462 * VALUE(i,n+1))) + (0.12972 * VALUE(i,n+2))) + (0.08978 * VALUE(i,n+3))))"},
    {195, "IDXDY(i,n+1) - (h * ((((0.08978 * IDX(i,n)) + (0.12972 * IDX(i,n+1))) - (0.01462 * IDX(i,n+2))) + (0.00645 * IDX(i,n+3))))"},
    {196, "IDXDY(i,n+2) - (h * ((((-0.09623 * IDX(i,n)) + (0.3849 * IDX(i,n+1))) + (0.3849 * IDX(i,n+2))) - (0.09623 * IDX(i,n+3))))"},
    {197, "IDXDY(i,n+3) - (h * ((((0.00645 * IDX(i,n)) - (0.01462 * IDX(i,n+1))) + (0.12972 * IDX(i,n+2))) + (0.08978 * IDX(i,n+3))))"},
);

}  // namespace

extern const int kReachOcfe3 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Ocfe3X() {
    if (UsedX() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            EachSection(m_x, [&](int s) {
                if (s == 1 && m_x.Boundary("Backward")) {
                    At(kRows, 169, kI, B());
                } else if (s == m_x.Sections() && m_x.Boundary("Forward")) {
                    At(kRows, 170, kI, E());
                }
                EachElement(m_x, [&] {
                    Emit(kRows, 171);
                    Emit(kRows, 172);
                    Emit(kRows, m_x.Boundary("Backward") ? 173 : 174);
                });
            });
        });
    }
    // The second one-sided rows first, on every y line; then the collocation
    // rows, on the lines of the y interior only.
    if (UsedX() > 1) {
        EachSection(m_x, [&](int) {
            EachElement(m_x, [&] {
                Each(kJ, 0, m_y.EndNode(), [&] {
                    if (HighestX() != 2) return;
                    if (N() != 0 && m_x.Boundary("Backward")) {
                        Emit(kRows, 175);
                    } else if (N() + 3 != E() && m_x.Boundary("Forward")) {
                        Emit(kRows, 176);
                    }
                });
                EachIn(kJ, m_y.Lines(), [&] {
                    Emit(kRows, 177);
                    Emit(kRows, 178);
                });
            });
        });
    }
    if (Has("idx") || Has("idxdy")) {
        ElementRows(kRows, 179, 3, m_x, {kJ, 0, m_y});
    }
}

template <class Sink>
void Walk<Sink>::Ocfe3Y() {
    if (UsedY() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            EachSection(m_y, [&](int s) {
                if (s == 1 && m_y.Boundary("Backward")) {
                    At(kRows, 182, kJ, B());
                } else if (s == m_y.Sections() && m_y.Boundary("Forward")) {
                    At(kRows, 183, kJ, E());
                }
                EachElement(m_y, [&] {
                    Emit(kRows, 184);
                    Emit(kRows, 185);
                    Emit(kRows, m_y.Boundary("Backward") ? 186 : 187);
                });
            });
        });
    }
    // The collocation rows first, then the second one-sided rows, both on the
    // lines of the x interior only.
    if (UsedY() > 1) {
        EachSection(m_y, [&](int) {
            EachElement(m_y, [&] {
                EachIn(kI, m_x.Lines(), [&] {
                    Emit(kRows, 188);
                    Emit(kRows, 189);
                });
                EachIn(kI, m_x.Lines(), [&] {
                    if (HighestY() != 2) return;
                    if (N() != 0 && m_y.Boundary("Backward")) {
                        Emit(kRows, 190);
                    } else if (N() + 3 != E() && m_y.Boundary("Forward")) {
                        Emit(kRows, 191);
                    }
                });
            });
        });
    }
    if (Has("idy")) {
        ElementRows(kRows, 192, 3, m_y, {kI, 0, m_x});
    }
    if (Has("idxdy")) {
        ElementRows(kRows, 195, 3, m_y, {kI, 1, m_x});
    }
}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Ocfe3)
