// OCFE2 in two dimensions: orthogonal collocation with one point per element,
// the element's quadratic through its first node, its midpoint and its last
// node. The first derivative stands at the collocation point and at one end of
// each element, the end the domain's element-boundary condition names; with
// second derivatives and a domain of highest order 2 the other end gets a
// second one-sided row, so neighbouring elements agree on the slope there.
// Each half element is integrated by the same quadratic.
#include "distributions/two/walk.h"

namespace zr_distribution2d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {147, "(DDX(i,j) * h) + (VALUE(i+2,j) - ((-3.0 * VALUE(i,j)) + (4.0 * VALUE(i+1,j))))"},
    {148, "(DDX(i,j) * h) - (((3.0 * VALUE(i,j)) - (4.0 * VALUE(i-1,j))) + VALUE(i-2,j))"},
    {149, "(DDX(n+1,j) * h) + (VALUE(n,j) - VALUE(n+2,j))"},
    {150, "(DDX(n+2,j) * h) - ((VALUE(n,j) - (4.0 * VALUE(n+1,j))) + (3.0 * VALUE(n+2,j)))"},
    {151, "(DDX(n,j) * h) + ((3.0 * VALUE(n,j)) + (VALUE(n+2,j) - (4.0 * VALUE(n+1,j))))"},
    {152, "(D2DX2(n+1,j) * square(h)) - (((4.0 * VALUE(n,j)) - (8.0 * VALUE(n+1,j))) + (4.0 * VALUE(n+2,j)))"},
    {153, "(DDX(n,j) * h) + (VALUE(n+2,j) - ((-3.0 * VALUE(n,j)) + (4.0 * VALUE(n+1,j))))"},
    {154, "(DDX(n+2,j) * h) - (((3.0 * VALUE(n+2,j)) - (4.0 * VALUE(n+1,j))) + VALUE(n,j))"},
    {155, "IDX(n+1,j) - (h * (((0.20833 * VALUE(n,j)) + (0.33333 * VALUE(n+1,j))) - (0.04166 * VALUE(n+2,j))))"},
    {156, "IDX(n+2,j) - (h * (((-0.04166 * VALUE(n,j)) + (0.33333 * VALUE(n+1,j))) + (0.20833 * VALUE(n+2,j))))"},
    {157, "(DDY(i,j) * h) + (VALUE(i,j+2) - ((-3.0 * VALUE(i,j)) + (4.0 * VALUE(i,j+1))))"},
    {158, "(DDY(i,j) * h) - (((3.0 * VALUE(i,j)) - (4.0 * VALUE(i,j-1))) + VALUE(i,j-2))"},
    {159, "(DDY(i,n+1) * h) + (VALUE(i,n) - VALUE(i,n+2))"},
    {160, "(DDY(i,n+2) * h) - ((VALUE(i,n) - (4.0 * VALUE(i,n+1))) + (3.0 * VALUE(i,n+2)))"},
    {161, "(DDY(i,n) * h) + ((3.0 * VALUE(i,n)) + (VALUE(i,n+2) - (4.0 * VALUE(i,n+1))))"},
    {162, "(DDY(i,n) * h) + (VALUE(i,n+2) - ((-3.0 * VALUE(i,n)) + (4.0 * VALUE(i,n+1))))"},
    {163, "(DDY(i,n+2) * h) - (((3.0 * VALUE(i,n+2)) - (4.0 * VALUE(i,n+1))) + VALUE(i,n))"},
    {164, "(D2DY2(i,n+1) * square(h)) - (((4.0 * VALUE(i,n)) - (8.0 * VALUE(i,n+1))) + (4.0 * VALUE(i,n+2)))"},
    {165, "IDY(i,n+1) - (h * (((0.20833 * VALUE(i,n)) + (0.33333 * VALUE(i,n+1))) - (0.04166 * VALUE(i,n+2))))"},
    {166, "IDY(i,n+2) - (h * (((-0.04166 * VALUE(i,n)) + (0.33333 * VALUE(i,n+1))) + (0.20833 * VALUE(i,n+2))))"},
    {167, "IDXDY(i,n+1) - (h * (((0.20833 * IDX(i,n)) + (0.33333 * IDX(i,n+1))) - (0.04166 * IDX(i,n+2))))"},
    {168, "IDXDY(i,n+2) - (h * (((-0.04166 * IDX(i,n)) + (0.33333 * IDX(i,n+1))) + (0.20833 * IDX(i,n+2))))"},
);

}  // namespace

extern const int kReachOcfe2 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Ocfe2X() {
    if (UsedX() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            EachSection(m_x, [&](int s) {
                if (s == 1 && m_x.Boundary("Backward")) {
                    At(kRows, 147, kI, B());
                } else if (s == m_x.Sections() && m_x.Boundary("Forward")) {
                    At(kRows, 148, kI, E());
                }
                EachElement(m_x, [&] {
                    Emit(kRows, 149);
                    Emit(kRows, m_x.Boundary("Backward") ? 150 : 151);
                });
            });
        });
    }
    // Here the collocation row comes before the second one-sided row, and only
    // the collocation row keeps to the lines of the y interior.
    if (UsedX() > 1) {
        EachSection(m_x, [&](int) {
            EachElement(m_x, [&] {
                EachIn(kJ, m_y.Lines(), [&] { Emit(kRows, 152); });
                Each(kJ, 0, m_y.EndNode(), [&] {
                    if (HighestX() != 2) return;
                    if (m_x.Boundary("Backward")) {
                        if (N() != 0) Emit(kRows, 153);
                    } else if (m_x.Boundary("Forward")) {
                        if (N() + 2 != E()) Emit(kRows, 154);
                    }
                });
            });
        });
    }
    if (Has("idx") || Has("idxdy")) {
        ElementRows(kRows, 155, 2, m_x, {kJ, 0, m_y});
    }
}

template <class Sink>
void Walk<Sink>::Ocfe2Y() {
    if (UsedY() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            EachSection(m_y, [&](int s) {
                if (s == 1 && m_y.Boundary("Backward")) {
                    At(kRows, 157, kJ, B());
                } else if (s == m_y.Sections() && m_y.Boundary("Forward")) {
                    At(kRows, 158, kJ, E());
                }
                EachElement(m_y, [&] {
                    Emit(kRows, 159);
                    Emit(kRows, m_y.Boundary("Backward") ? 160 : 161);
                });
            });
        });
    }
    // The y block puts the second one-sided row first, and keeps both kinds of
    // row to the lines of the x interior.
    if (UsedY() > 1) {
        EachSection(m_y, [&](int) {
            EachElement(m_y, [&] {
                EachIn(kI, m_x.Lines(), [&] {
                    if (HighestY() != 2) return;
                    if (m_y.Boundary("Backward")) {
                        if (N() != 0) Emit(kRows, 162);
                    } else if (m_y.Boundary("Forward")) {
                        if (N() + 2 != E()) Emit(kRows, 163);
                    }
                });
                EachIn(kI, m_x.Lines(), [&] { Emit(kRows, 164); });
            });
        });
    }
    if (Has("idy")) {
        ElementRows(kRows, 165, 2, m_y, {kI, 0, m_x});
    }
    if (Has("idxdy")) {
        ElementRows(kRows, 167, 2, m_y, {kI, 1, m_x});
    }
}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Ocfe2)
