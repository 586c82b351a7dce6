// FFD2 in three dimensions: first derivatives by three-point differences
// (forward from each section's first node to its third-to-last, central at its
// second-to-last node, backward at the domain's last node), second derivatives
// by the three-point central difference, integrals of the quadratic through
// each two-interval element. When second derivatives are used, a second
// first-derivative row at each section joint, backward over the section that
// ends there, ties the two sections' differences together.
//
// Each block keeps its own loop nests: the second-derivative and joint rows run
// the other directions in x, y, z order, the first-derivative and integral rows
// with the later direction outermost, and a joint row runs a direction that
// comes before its own over the lines that carry second derivatives.
#include "distributions/three/walk.h"

namespace zr_distribution3d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {80, "(2 * (DDX(i,j,k) * h)) + (VALUE(i+2,j,k) - ((-3 * VALUE(i,j,k)) + (4 * VALUE(i+1,j,k))))"},
    {81, "(2 * (DDX(i,j,k) * h)) + (VALUE(i-1,j,k) - VALUE(i+1,j,k))"},
    {82, "(2 * (DDX(i,j,k) * h)) - ((VALUE(i-2,j,k) - (4 * VALUE(i-1,j,k))) + (3 * VALUE(i,j,k)))"},
    {83, "(D2DX2(i,j,k) * square(h)) - ((VALUE(i-1,j,k) - (2 * VALUE(i,j,k))) + VALUE(i+1,j,k))"},
    {84, "(2 * (DDX(i,j,k) * h)) - ((VALUE(i-2,j,k) - (4 * VALUE(i-1,j,k))) + (3 * VALUE(i,j,k)))"},
    {85, "(IDX(n+1,j,k) / (0.08333333333333333 * h)) + (VALUE(n+2,j,k) - ((5 * VALUE(n,j,k)) + (8 * VALUE(n+1,j,k))))"},
    {86, "(IDX(n+2,j,k) / (0.08333333333333333 * h)) - (((8 * VALUE(n+1,j,k)) - VALUE(n,j,k)) + (5 * VALUE(n+2,j,k)))"},
    {87, "(2 * (DDY(i,j,k) * h)) + (VALUE(i,j+2,k) - ((-3 * VALUE(i,j,k)) + (4 * VALUE(i,j+1,k))))"},
    {88, "(2 * (DDY(i,j,k) * h)) + (VALUE(i,j-1,k) - VALUE(i,j+1,k))"},
    {89, "(2 * (DDY(i,j,k) * h)) - ((VALUE(i,j-2,k) - (4 * VALUE(i,j-1,k))) + (3 * VALUE(i,j,k)))"},
    {90, "(D2DY2(i,j,k) * square(h)) - ((VALUE(i,j-1,k) - (2 * VALUE(i,j,k))) + VALUE(i,j+1,k))"},
    {91, "(2 * (DDY(i,j,k) * h)) - ((VALUE(i,j-2,k) - (4 * VALUE(i,j-1,k))) + (3 * VALUE(i,j,k)))"},
    {92, "(IDY(i,n+1,k) / (0.08333333333333333 * h)) + (VALUE(i,n+2,k) - ((5 * VALUE(i,n,k)) + (8 * VALUE(i,n+1,k))))"},
    {93, "(IDY(i,n+2,k) / (0.08333333333333333 * h)) - (((8 * VALUE(i,n+1,k)) - VALUE(i,n,k)) + (5 * VALUE(i,n+2,k)))"},
    {94, "(IDXDY(i,n+1,k) / (0.08333333333333333 * h)) + (IDX(i,n+2,k) - ((5 * IDX(i,n,k)) + (8 * IDX(i,n+1,k))))"},
    {95, "(IDXDY(i,n+2,k) / (0.08333333333333333 * h)) - (((8 * IDX(i,n+1,k)) - IDX(i,n,k)) + (5 * IDX(i,n+2,k)))"},
    {96, "(2 * (DDZ(i,j,k) * h)) + (VALUE(i,j,k+2) - ((-3 * VALUE(i,j,k)) + (4 * VALUE(i,j,k+1))))"},
    {97, "(2 * (DDZ(i,j,k) * h)) + (VALUE(i,j,k-1) - VALUE(i,j,k+1))"},
    {98, "(2 * (DDZ(i,j,k) * h)) - ((VALUE(i,j,k-2) - (4 * VALUE(i,j,k-1))) + (3 * VALUE(i,j,k)))"},
    {99, "(D2DZ2(i,j,k) * square(h)) - ((VALUE(i,j,k-1) - (2 * VALUE(i,j,k))) + VALUE(i,j,k+1))"},
    {100, "(2 * (DDZ(i,j,k) * h)) - ((VALUE(i,j,k-2) - (4 * VALUE(i,j,k-1))) + (3 * VALUE(i,j,k)))"},
    {101, "(IDZ(i,j,n+1) / (0.08333333333333333 * h)) + (VALUE(i,j,n+2) - ((5 * VALUE(i,j,n)) + (8 * VALUE(i,j,n+1))))"},
    {102, "(IDZ(i,j,n+2) / (0.08333333333333333 * h)) - (((8 * VALUE(i,j,n+1)) - VALUE(i,j,n)) + (5 * VALUE(i,j,n+2)))"},
    {103, "(IDXDZ(i,j,n+1) / (0.08333333333333333 * h)) + (IDX(i,j,n+2) - ((5 * IDX(i,j,n)) + (8 * IDX(i,j,n+1))))"},
    {104, "(IDXDZ(i,j,n+2) / (0.08333333333333333 * h)) - (((8 * IDX(i,j,n+1)) - IDX(i,j,n)) + (5 * IDX(i,j,n+2)))"},
    {105, "(IDYDZ(i,j,n+1) / (0.08333333333333333 * h)) + (IDY(i,j,n+2) - ((5 * IDY(i,j,n)) + (8 * IDY(i,j,n+1))))"},
    {106, "(IDYDZ(i,j,n+2) / (0.08333333333333333 * h)) - (((8 * IDY(i,j,n+1)) - IDY(i,j,n)) + (5 * IDY(i,j,n+2)))"},
    {107, "(IDXDYDZ(i,j,n+1) / (0.08333333333333333 * h)) + (IDXDY(i,j,n+2) - ((5 * IDXDY(i,j,n)) + (8 * IDXDY(i,j,n+1))))"},
    {108, "(IDXDYDZ(i,j,n+2) / (0.08333333333333333 * h)) - (((8 * IDXDY(i,j,n+1)) - IDXDY(i,j,n)) + (5 * IDXDY(i,j,n+2)))"},
);

}  // namespace

extern const int kReachFfd2 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Ffd2X() {
    if (UsedX() > 0) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kJ, 0, m_y.EndNode(), [&] {
                EachSection(m_x, [&](int s) {
                    Each(kI, B(), E() - 2, [&] { Emit(kRows, 80); });
                    At(kRows, 81, kI, E() - 1);
                    if (s == m_x.Sections()) At(kRows, 82, kI, E());
                });
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int s) {
            EachIn(kJ, m_y.Lines(), [&] {
                EachIn(kK, m_z.Lines(), [&] { Each(kI, B() + 1, E() - 1, [&] { Emit(kRows, 83); }); });
            });
            if (s != m_x.Sections()) {
                Each(kJ, 0, m_y.EndNode(), [&] { Each(kK, 0, m_z.EndNode(), [&] { At(kRows, 84, kI, E()); }); });
            }
        });
    }
    if (Has("idx") || Has("idxdy") || Has("idxdz") || Has("idxdydz")) {
        ElementRows(kRows, 85, 2, m_x, {kK, 0, m_z}, {kJ, 0, m_y});
    }
}

template <class Sink>
void Walk<Sink>::Ffd2Y() {
    if (UsedY() > 0) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kI, 0, m_x.EndNode(), [&] {
                EachSection(m_y, [&](int s) {
                    Each(kJ, B(), E() - 2, [&] { Emit(kRows, 87); });
                    At(kRows, 88, kJ, E() - 1);
                    if (s == m_y.Sections()) At(kRows, 89, kJ, E());
                });
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                EachIn(kK, m_z.Lines(), [&] { Each(kJ, B() + 1, E() - 1, [&] { Emit(kRows, 90); }); });
            });
            if (s != m_y.Sections()) {
                EachIn(kI, m_x.Lines(), [&] { Each(kK, 0, m_z.EndNode(), [&] { At(kRows, 91, kJ, E()); }); });
            }
        });
    }
    // IDY from VALUE and IDXDY from IDX; IDX's face i = 0 is a start row.
    auto along = [&](int first, long long iFrom) {
        ElementRows(kRows, first, 2, m_y, {kK, 0, m_z}, {kI, iFrom, m_x});
    };
    if (Has("idy") || Has("idydz")) along(92, 0);
    if (Has("idxdy") || Has("idxdydz")) along(94, 1);
}

template <class Sink>
void Walk<Sink>::Ffd2Z() {
    if (UsedZ() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            Each(kI, 0, m_x.EndNode(), [&] {
                EachSection(m_z, [&](int s) {
                    Each(kK, B(), E() - 2, [&] { Emit(kRows, 96); });
                    At(kRows, 97, kK, E() - 1);
                    if (s == m_z.Sections()) At(kRows, 98, kK, E());
                });
            });
        });
    }
    if (UsedZ() > 1) {
        EachSection(m_z, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                EachIn(kJ, m_y.Lines(), [&] { Each(kK, B() + 1, E() - 1, [&] { Emit(kRows, 99); }); });
            });
            if (s != m_z.Sections()) {
                EachIn(kI, m_x.Lines(), [&] { EachIn(kJ, m_y.Lines(), [&] { At(kRows, 100, kK, E()); }); });
            }
        });
    }
    // The integrals along z, each with its own integrand; a direction already
    // integrated starts at 1, its face 0 being a start row.
    auto along = [&](int first, long long iFrom, long long jFrom) {
        ElementRows(kRows, first, 2, m_z, {kJ, jFrom, m_y}, {kI, iFrom, m_x});
    };
    if (Has("idz")) along(101, 0, 0);
    if (Has("idxdz")) along(103, 1, 0);
    if (Has("idydz")) along(105, 0, 1);
    if (Has("idxdydz")) along(107, 1, 1);
}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Ffd2)
