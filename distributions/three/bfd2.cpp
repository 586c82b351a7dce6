// BFD2 in three dimensions: first derivatives by three-point differences
// (forward at the domain's first node, central at each section's second node,
// backward from its third node on), second derivatives by the three-point
// central difference, integrals of the quadratic through each two-interval
// element. When second derivatives are used, a second first-derivative row at
// each section joint, forward over the new section, ties the two sections'
// differences together.
//
// Each block keeps its own loop nests: the second-derivative and joint rows run
// the other directions in x, y, z order, the first-derivative and integral rows
// with the later direction outermost, and a joint row runs a direction that
// comes before its own over the lines that carry second derivatives.
#include "distributions/three/walk.h"

namespace zr_distribution3d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {32, "(2 * (DDX(i,j,k) * h)) + (VALUE(i+2,j,k) - ((-3 * VALUE(i,j,k)) + (4 * VALUE(i+1,j,k))))"},
    {33, "(2 * (DDX(i,j,k) * h)) + (VALUE(i-1,j,k) - VALUE(i+1,j,k))"},
    {34, "(2 * (DDX(i,j,k) * h)) - ((VALUE(i-2,j,k) - (4 * VALUE(i-1,j,k))) + (3 * VALUE(i,j,k)))"},
    {35, "(D2DX2(i,j,k) * square(h)) - ((VALUE(i-1,j,k) - (2 * VALUE(i,j,k))) + VALUE(i+1,j,k))"},
    {36, "(2 * (DDX(i,j,k) * h)) + (VALUE(i+2,j,k) - ((-3 * VALUE(i,j,k)) + (4 * VALUE(i+1,j,k))))"},
    {37, "(IDX(n+1,j,k) / (0.08333333333333333 * h)) + (VALUE(n+2,j,k) - ((5 * VALUE(n,j,k)) + (8 * VALUE(n+1,j,k))))"},
    {38, "(IDX(n+2,j,k) / (0.08333333333333333 * h)) - (((8 * VALUE(n+1,j,k)) - VALUE(n,j,k)) + (5 * VALUE(n+2,j,k)))"},
    {39, "(2 * (DDY(i,j,k) * h)) + (VALUE(i,j+2,k) - ((-3 * VALUE(i,j,k)) + (4 * VALUE(i,j+1,k))))"},
    {40, "(2 * (DDY(i,j,k) * h)) + (VALUE(i,j-1,k) - VALUE(i,j+1,k))"},
    {41, "(2 * (DDY(i,j,k) * h)) - ((VALUE(i,j-2,k) - (4 * VALUE(i,j-1,k))) + (3 * VALUE(i,j,k)))"},
    {42, "(D2DY2(i,j,k) * square(h)) - ((VALUE(i,j-1,k) - (2 * VALUE(i,j,k))) + VALUE(i,j+1,k))"},
    {43, "(2 * (DDY(i,j,k) * h)) + (VALUE(i,j+2,k) - ((-3 * VALUE(i,j,k)) + (4 * VALUE(i,j+1,k))))"},
    {44, "(IDY(i,n+1,k) / (0.08333333333333333 * h)) + (VALUE(i,n+2,k) - ((5 * VALUE(i,n,k)) + (8 * VALUE(i,n+1,k))))"},
    {45, "(IDY(i,n+2,k) / (0.08333333333333333 * h)) - (((8 * VALUE(i,n+1,k)) - VALUE(i,n,k)) + (5 * VALUE(i,n+2,k)))"},
    {46, "(IDXDY(i,n+1,k) / (0.08333333333333333 * h)) + (IDX(i,n+2,k) - ((5 * IDX(i,n,k)) + (8 * IDX(i,n+1,k))))"},
    {47, "(IDXDY(i,n+2,k) / (0.08333333333333333 * h)) - (((8 * IDX(i,n+1,k)) - IDX(i,n,k)) + (5 * IDX(i,n+2,k)))"},
    {48, "(2 * (DDZ(i,j,k) * h)) + (VALUE(i,j,k+2) - ((-3 * VALUE(i,j,k)) + (4 * VALUE(i,j,k+1))))"},
    {49, "(2 * (DDZ(i,j,k) * h)) + (VALUE(i,j,k-1) - VALUE(i,j,k+1))"},
    {50, "(2 * (DDZ(i,j,k) * h)) - ((VALUE(i,j,k-2) - (4 * VALUE(i,j,k-1))) + (3 * VALUE(i,j,k)))"},
    {51, "(D2DZ2(i,j,k) * square(h)) - ((VALUE(i,j,k-1) - (2 * VALUE(i,j,k))) + VALUE(i,j,k+1))"},
    {52, "(2 * (DDZ(i,j,k) * h)) + (VALUE(i,j,k+2) - ((-3 * VALUE(i,j,k)) + (4 * VALUE(i,j,k+1))))"},
    {53, "(IDZ(i,j,n+1) / (0.08333333333333333 * h)) + (VALUE(i,j,n+2) - ((5 * VALUE(i,j,n)) + (8 * VALUE(i,j,n+1))))"},
    {54, "(IDZ(i,j,n+2) / (0.08333333333333333 * h)) - (((8 * VALUE(i,j,n+1)) - VALUE(i,j,n)) + (5 * VALUE(i,j,n+2)))"},
    {55, "(IDXDZ(i,j,n+1) / (0.08333333333333333 * h)) + (IDX(i,j,n+2) - ((5 * IDX(i,j,n)) + (8 * IDX(i,j,n+1))))"},
    {56, "(IDXDZ(i,j,n+2) / (0.08333333333333333 * h)) - (((8 * IDX(i,j,n+1)) - IDX(i,j,n)) + (5 * IDX(i,j,n+2)))"},
    {57, "(IDYDZ(i,j,n+1) / (0.08333333333333333 * h)) + (IDY(i,j,n+2) - ((5 * IDY(i,j,n)) + (8 * IDY(i,j,n+1))))"},
    {58, "(IDYDZ(i,j,n+2) / (0.08333333333333333 * h)) - (((8 * IDY(i,j,n+1)) - IDY(i,j,n)) + (5 * IDY(i,j,n+2)))"},
    {59, "(IDXDYDZ(i,j,n+1) / (0.08333333333333333 * h)) + (IDXDY(i,j,n+2) - ((5 * IDXDY(i,j,n)) + (8 * IDXDY(i,j,n+1))))"},
    {60, "(IDXDYDZ(i,j,n+2) / (0.08333333333333333 * h)) - (((8 * IDXDY(i,j,n+1)) - IDXDY(i,j,n)) + (5 * IDXDY(i,j,n+2)))"},
);

}  // namespace

extern const int kReachBfd2 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Bfd2X() {
    if (UsedX() > 0) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kJ, 0, m_y.EndNode(), [&] {
                EachSection(m_x, [&](int s) {
                    if (s == 1) At(kRows, 32, kI, B());
                    At(kRows, 33, kI, B() + 1);
                    Each(kI, B() + 2, E(), [&] { Emit(kRows, 34); });
                });
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int s) {
            EachIn(kJ, m_y.Lines(), [&] {
                EachIn(kK, m_z.Lines(), [&] { Each(kI, B() + 1, E() - 1, [&] { Emit(kRows, 35); }); });
            });
            if (s != 1) {
                Each(kJ, 0, m_y.EndNode(), [&] { Each(kK, 0, m_z.EndNode(), [&] { At(kRows, 36, kI, B()); }); });
            }
        });
    }
    if (Has("idx") || Has("idxdy") || Has("idxdz") || Has("idxdydz")) {
        ElementRows(kRows, 37, 2, m_x, {kK, 0, m_z}, {kJ, 0, m_y});
    }
}

template <class Sink>
void Walk<Sink>::Bfd2Y() {
    if (UsedY() > 0) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kI, 0, m_x.EndNode(), [&] {
                EachSection(m_y, [&](int s) {
                    if (s == 1) At(kRows, 39, kJ, B());
                    At(kRows, 40, kJ, B() + 1);
                    Each(kJ, B() + 2, E(), [&] { Emit(kRows, 41); });
                });
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                EachIn(kK, m_z.Lines(), [&] { Each(kJ, B() + 1, E() - 1, [&] { Emit(kRows, 42); }); });
            });
            if (s != 1) {
                EachIn(kI, m_x.Lines(), [&] { Each(kK, 0, m_z.EndNode(), [&] { At(kRows, 43, kJ, B()); }); });
            }
        });
    }
    // IDY from VALUE and IDXDY from IDX; IDX's face i = 0 is a start row.
    auto along = [&](int first, long long iFrom) {
        ElementRows(kRows, first, 2, m_y, {kK, 0, m_z}, {kI, iFrom, m_x});
    };
    if (Has("idy") || Has("idydz")) along(44, 0);
    if (Has("idxdy") || Has("idxdydz")) along(46, 1);
}

template <class Sink>
void Walk<Sink>::Bfd2Z() {
    if (UsedZ() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            Each(kI, 0, m_x.EndNode(), [&] {
                EachSection(m_z, [&](int s) {
                    if (s == 1) At(kRows, 48, kK, B());
                    At(kRows, 49, kK, B() + 1);
                    Each(kK, B() + 2, E(), [&] { Emit(kRows, 50); });
                });
            });
        });
    }
    if (UsedZ() > 1) {
        EachSection(m_z, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                EachIn(kJ, m_y.Lines(), [&] { Each(kK, B() + 1, E() - 1, [&] { Emit(kRows, 51); }); });
            });
            if (s != 1) {
                EachIn(kI, m_x.Lines(), [&] { EachIn(kJ, m_y.Lines(), [&] { At(kRows, 52, kK, B()); }); });
            }
        });
    }
    // The integrals along z, each with its own integrand; a direction already
    // integrated starts at 1, its face 0 being a start row.
    auto along = [&](int first, long long iFrom, long long jFrom) {
        ElementRows(kRows, first, 2, m_z, {kJ, jFrom, m_y}, {kI, iFrom, m_x});
    };
    if (Has("idz")) along(53, 0, 0);
    if (Has("idxdz")) along(55, 1, 0);
    if (Has("idydz")) along(57, 0, 1);
    if (Has("idxdydz")) along(59, 1, 1);
}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Bfd2)
