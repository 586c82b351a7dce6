// OCFE4 in two dimensions: orthogonal collocation with three points per
// element, the element's quartic through its two ends and the three shifted
// Gauss points. Every node has one first-derivative row, an element end taking
// it from the element the domain's element-boundary condition names; with
// second derivatives and a domain of highest order 2 the element on the other
// side gives an end a second row, so the slopes of neighbouring elements agree.
// Each of an element's four intervals is integrated by the same quartic.
//
// The y rows are the x rows with the two directions exchanged: the x row's
// node along x becomes the node along y, and the x node is the y block's i.
#include "distributions/two/walk.h"

namespace zr_distribution2d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {198, "(DDX(i,j) * h) + (VALUE(i+4,j) - ((((-13.0 * VALUE(i,j)) + (14.78831 * VALUE(i+1,j))) - (2.66667 * VALUE(i+2,j))) + (1.87836 * VALUE(i+3,j))))"},
    {199, "(DDX(i,j) * h) - ((((VALUE(i-4,j) - (1.87836 * VALUE(i-3,j))) + (2.66667 * VALUE(i-2,j))) - (14.78831 * VALUE(i-1,j))) + (13.0 * VALUE(i,j)))"},
    {200, "(DDX(n+1,j) * h) - (((((-5.32379 * VALUE(n,j)) + (3.87298 * VALUE(n+1,j))) + (2.06559 * VALUE(n+2,j))) - (1.29099 * VALUE(n+3,j))) + (0.67621 * VALUE(n+4,j)))"},
    {201, "(DDX(n+2,j) * h) + ((1.5 * VALUE(n+4,j)) - (((1.5 * VALUE(n,j)) - (3.22749 * VALUE(n+1,j))) + (3.22749 * VALUE(n+3,j))))"},
    {202, "(DDX(n+3,j) * h) - (((((-0.67621 * VALUE(n,j)) + (1.29099 * VALUE(n+1,j))) - (2.06559 * VALUE(n+2,j))) - (3.87298 * VALUE(n+3,j))) + (5.32379 * VALUE(n+4,j)))"},
    {203, "(DDX(n+4,j) * h) - ((((VALUE(n,j) - (1.87836 * VALUE(n+1,j))) + (2.66667 * VALUE(n+2,j))) - (14.78831 * VALUE(n+3,j))) + (13.0 * VALUE(n+4,j)))"},
    {204, "(DDX(n,j) * h) + ((13.0 * VALUE(n,j)) - ((((1.87836 * VALUE(n+3,j)) - VALUE(n+4,j)) - (2.66667 * VALUE(n+2,j))) + (14.78831 * VALUE(n+1,j))))"},
    {205, "(DDX(n,j) * h) + (VALUE(n+4,j) - ((((-13.0 * VALUE(n,j)) + (14.78831 * VALUE(n+1,j))) - (2.66667 * VALUE(n+2,j))) + (1.87836 * VALUE(n+3,j))))"},
    {206, "(DDX(n+4,j) * h) - (((((13.0 * VALUE(n+4,j)) - (14.78831 * VALUE(n+3,j))) + (2.66667 * VALUE(n+2,j))) - (1.87836 * VALUE(n+1,j))) + VALUE(n,j))"},
    {207, "(D2DX2(n+1,j) * square(h)) - (((((53.2379 * VALUE(n,j)) - (73.33333 * VALUE(n+1,j))) + (26.66666 * VALUE(n+2,j))) - (13.33333 * VALUE(n+3,j))) + (6.7621 * VALUE(n+4,j)))"},
    {208, "(D2DX2(n+2,j) * square(h)) + ((6.0 * VALUE(n+4,j)) - ((((-6.0 * VALUE(n,j)) + (16.66667 * VALUE(n+1,j))) - (21.33334 * VALUE(n+2,j))) + (16.66667 * VALUE(n+3,j))))"},
    {209, "(D2DX2(n+3,j) * square(h)) - (((((6.7621 * VALUE(n,j)) - (13.33333 * VALUE(n+1,j))) + (26.66666 * VALUE(n+2,j))) - (73.33333 * VALUE(n+3,j))) + (53.2379 * VALUE(n+4,j)))"},
    {210, "IDX(n+1,j) - (h * (((((0.04824 * VALUE(n,j)) + (0.06788 * VALUE(n+1,j))) - (0.00499 * VALUE(n+2,j))) + (0.00333 * VALUE(n+3,j))) - (0.00176 * VALUE(n+4,j))))"},
    {211, "IDX(n+2,j) - (h * (((((-0.07949 * VALUE(n,j)) + (0.27272 * VALUE(n+1,j))) + (0.22722 * VALUE(n+2,j))) - (0.06616 * VALUE(n+3,j))) + (0.03301 * VALUE(n+4,j))))"},
    {212, "IDX(n+3,j) - (h * (((((0.03301 * VALUE(n,j)) - (0.06616 * VALUE(n+1,j))) + (0.22722 * VALUE(n+2,j))) + (0.27272 * VALUE(n+3,j))) - (0.07949 * VALUE(n+4,j))))"},
    {213, "IDX(n+4,j) - (h * (((((-0.00176 * VALUE(n,j)) + (0.00333 * VALUE(n+1,j))) - (0.00499 * VALUE(n+2,j))) + (0.06788 * VALUE(n+3,j))) + (0.04824 * VALUE(n+4,j))))"},
    {214, "(DDY(i,j) * h) + (VALUE(i,j+4) - ((((-13.0 * VALUE(i,j)) + (14.78831 * VALUE(i,j+1))) - (2.66667 * VALUE(i,j+2))) + (1.87836 * VALUE(i,j+3))))"},
    {215, "(DDY(i,j) * h) - ((((VALUE(i,j-4) - (1.87836 * VALUE(i,j-3))) + (2.66667 * VALUE(i,j-2))) - (14.78831 * VALUE(i,j-1))) + (13.0 * VALUE(i,j)))"},
    {216, "(DDY(i,n+1) * h) - (((((-5.32379 * VALUE(i,n)) + (3.87298 * VALUE(i,n+1))) + (2.06559 * VALUE(i,n+2))) - (1.29099 * VALUE(i,n+3))) + (0.67621 * VALUE(i,n+4)))"},
    {217, "(DDY(i,n+2) * h) + ((1.5 * VALUE(i,n+4)) - (((1.5 * VALUE(i,n)) - (3.22749 * VALUE(i,n+1))) + (3.22749 * VALUE(i,n+3))))"},
    {218, "(DDY(i,n+3) * h) - (((((-0.67621 * VALUE(i,n)) + (1.29099 * VALUE(i,n+1))) - (2.06559 * VALUE(i,n+2))) - (3.87298 * VALUE(i,n+3))) + (5.32379 * VALUE(i,n+4)))"},
    {219, "(DDY(i,n+4) * h) - ((((VALUE(i,n) - (1.87836 * VALUE(i,n+1))) + (2.66667 * VALUE(i,n+2))) - (14.78831 * VALUE(i,n+3))) + (13.0 * VALUE(i,n+4)))"},
    {220, "(DDY(i,n) * h) + ((13.0 * VALUE(i,n)) - ((((1.87836 * VALUE(i,n+3)) - VALUE(i,n+4)) - (2.66667 * VALUE(i,n+2))) + (14.78831 * VALUE(i,n+1))))"},
    {221, "(D2DY2(i,n+1) * square(h)) - (((((53.2379 * VALUE(i,n)) - (73.33333 * VALUE(i,n+1))) + (26.66666 * VALUE(i,n+2))) - (13.33333 * VALUE(i,n+3))) + (6.7621 * VALUE(i,n+4)))"},
    {222, "(D2DY2(i,n+2) * square(h)) + ((6.0 * VALUE(i,n+4)) - ((((-6.0 * VALUE(i,n)) + (16.66667 * VALUE(i,n+1))) - (21.33334 * VALUE(i,n+2))) + (16.66667 * VALUE(i,n+3))))"},
    {223, "(D2DY2(i,n+3) * square(h)) - (((((6.7621 * VALUE(i,n)) - (13.33333 * VALUE(i,n+1))) + (26.66666 * VALUE(i,n+2))) - (73.33333 * VALUE(i,n+3))) + (53.2379 * VALUE(i,n+4)))"},
    {224, "(DDY(i,n) * h) + (VALUE(i,n+4) - ((((-13.0 * VALUE(i,n)) + (14.78831 * VALUE(i,n+1))) - (2.66667 * VALUE(i,n+2))) + (1.87836 * VALUE(i,n+3))))"},
    {225, "(DDY(i,n+4) * h) - (((((13.0 * VALUE(i,n+4)) - (14.78831 * VALUE(i,n+3))) + (2.66667 * VALUE(i,n+2))) - (1.87836 * VALUE(i,n+1))) + VALUE(i,n))"},
    {226, "IDY(i,n+1) - (h * (((((0.04824 * VALUE(i,n)) + (0.06788 * VALUE(i,n+1))) - (0.00499 * VALUE(i,n+2))) + (0.00333 * VALUE(i,n+3))) - (0.00176 * VALUE(i,n+4))))"},
    {227, "IDY(i,n+2) - (h * (((((-0.07949 * VALUE(i,n)) + (0.27272 * VALUE(i,n+1))) + (0.22722 * VALUE(i,n+2))) - (0.06616 * VALUE(i,n+3))) + (0.03301 * VALUE(i,n+4))))"},
    {228, "IDY(i,n+3) - (h * (((((0.03301 * VALUE(i,n)) - (0.06616 * VALUE(i,n+1))) + (0.22722 * VALUE(i,n+2))) + (0.27272 * VALUE(i,n+3))) - (0.07949 * VALUE(i,n+4))))"},
    {229, "IDY(i,n+4) - (h * (((((-0.00176 * VALUE(i,n)) + (0.00333 * VALUE(i,n+1))) - (0.00499 * VALUE(i,n+2))) + (0.06788 * VALUE(i,n+3))) + (0.04824 * VALUE(i,n+4))))"},
    {230, "IDXDY(i,n+1) - (h * (((((0.04824 * IDX(i,n)) + (0.06788 * IDX(i,n+1))) - (0.00499 * IDX(i,n+2))) + (0.00333 * IDX(i,n+3))) - (0.00176 * IDX(i,n+4))))"},
    {231, "IDXDY(i,n+2) - (h * (((((-0.07949 * IDX(i,n)) + (0.27272 * IDX(i,n+1))) + (0.22722 * IDX(i,n+2))) - (0.06616 * IDX(i,n+3))) + (0.03301 * IDX(i,n+4))))"},
    {232, "IDXDY(i,n+3) - (h * (((((0.03301 * IDX(i,n)) - (0.06616 * IDX(i,n+1))) + (0.22722 * IDX(i,n+2))) + (0.27272 * IDX(i,n+3))) - (0.07949 * IDX(i,n+4))))"},
    {233, "IDXDY(i,n+4) - (h * (((((-0.00176 * IDX(i,n)) + (0.00333 * IDX(i,n+1))) - (0.00499 * IDX(i,n+2))) + (0.06788 * IDX(i,n+3))) + (0.04824 * IDX(i,n+4))))"},
);

}  // namespace

extern const int kReachOcfe4 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Ocfe4X() {
    if (UsedX() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            EachSection(m_x, [&](int s) {
                if (s == 1 && m_x.Boundary("Backward")) {
                    At(kRows, 198, kI, B());
                } else if (s == m_x.Sections() && m_x.Boundary("Forward")) {
                    At(kRows, 199, kI, E());
                }
                EachElement(m_x, [&] {
                    Emit(kRows, 200);
                    Emit(kRows, 201);
                    Emit(kRows, 202);
                    Emit(kRows, m_x.Boundary("Backward") ? 203 : 204);
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
                        Emit(kRows, 205);
                    } else if (N() + 4 != E() && m_x.Boundary("Forward")) {
                        Emit(kRows, 206);
                    }
                });
                EachIn(kJ, m_y.Lines(), [&] {
                    Emit(kRows, 207);
                    Emit(kRows, 208);
                    Emit(kRows, 209);
                });
            });
        });
    }
    if (Has("idx") || Has("idxdy")) {
        ElementRows(kRows, 210, 4, m_x, {kJ, 0, m_y});
    }
}

template <class Sink>
void Walk<Sink>::Ocfe4Y() {
    if (UsedY() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            EachSection(m_y, [&](int s) {
                if (s == 1 && m_y.Boundary("Backward")) {
                    At(kRows, 214, kJ, B());
                } else if (s == m_y.Sections() && m_y.Boundary("Forward")) {
                    At(kRows, 215, kJ, E());
                }
                EachElement(m_y, [&] {
                    Emit(kRows, 216);
                    Emit(kRows, 217);
                    Emit(kRows, 218);
                    Emit(kRows, m_y.Boundary("Backward") ? 219 : 220);
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
                    Emit(kRows, 221);
                    Emit(kRows, 222);
                    Emit(kRows, 223);
                });
                EachIn(kI, m_x.Lines(), [&] {
                    if (HighestY() != 2) return;
                    if (N() != 0 && m_y.Boundary("Backward")) {
                        Emit(kRows, 224);
                    } else if (N() + 4 != E() && m_y.Boundary("Forward")) {
                        Emit(kRows, 225);
                    }
                });
            });
        });
    }
    if (Has("idy")) {
        ElementRows(kRows, 226, 4, m_y, {kI, 0, m_x});
    }
    if (Has("idxdy")) {
        ElementRows(kRows, 230, 4, m_y, {kI, 1, m_x});
    }
}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Ocfe4)
