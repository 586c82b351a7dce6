// BFD1 in three dimensions: first derivatives by the two-point backward
// difference (forward at the domain's first node), second derivatives by the
// three-point central difference, integrals by the trapezoid rule over each
// interval. When second derivatives are used, a second first-derivative row at
// each section joint, forward over the new section, ties the two sections'
// differences together.
//
// The blocks are not one program with the direction exchanged: the order of the
// loops over the two other directions, and whether they run over whole ranges or
// over the lines that carry second derivatives, differ from block to block and
// from part to part, and the equation set depends on both.
#include "distributions/three/walk.h"

namespace zr_distribution3d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {13, "(DDX(i,j,k) * h) + (VALUE(i,j,k) - VALUE(i+1,j,k))"},
    {14, "(DDX(i,j,k) * h) + (VALUE(i-1,j,k) - VALUE(i,j,k))"},
    {15, "(D2DX2(i,j,k) * square(h)) - ((VALUE(i-1,j,k) - (2 * VALUE(i,j,k))) + VALUE(i+1,j,k))"},
    {16, "(DDX(i,j,k) * h) + (VALUE(i,j,k) - VALUE(i+1,j,k))"},
    {17, "IDX(i+1,j,k) - (h * ((0.5 * VALUE(i,j,k)) + (0.5 * VALUE(i+1,j,k))))"},
    {18, "(DDY(i,j,k) * h) + (VALUE(i,j,k) - VALUE(i,j+1,k))"},
    {19, "(DDY(i,j,k) * h) + (VALUE(i,j-1,k) - VALUE(i,j,k))"},
    {20, "(D2DY2(i,j,k) * square(h)) - ((VALUE(i,j-1,k) - (2 * VALUE(i,j,k))) + VALUE(i,j+1,k))"},
    {21, "(DDY(i,j,k) * h) + (VALUE(i,j,k) - VALUE(i,j+1,k))"},
    {22, "IDY(i,j+1,k) - (h * ((0.5 * VALUE(i,j,k)) + (0.5 * VALUE(i,j+1,k))))"},
    {23, "IDXDY(i,j+1,k) - (h * ((0.5 * IDX(i,j,k)) + (0.5 * IDX(i,j+1,k))))"},
    {24, "(DDZ(i,j,k) * h) + (VALUE(i,j,k) - VALUE(i,j,k+1))"},
    {25, "(DDZ(i,j,k) * h) + (VALUE(i,j,k-1) - VALUE(i,j,k))"},
    {26, "(D2DZ2(i,j,k) * square(h)) - ((VALUE(i,j,k-1) - (2 * VALUE(i,j,k))) + VALUE(i,j,k+1))"},
    {27, "(DDZ(i,j,k) * h) + (VALUE(i,j,k) - VALUE(i,j,k+1))"},
    {28, "IDZ(i,j,k+1) - (h * ((0.5 * VALUE(i,j,k)) + (0.5 * VALUE(i,j,k+1))))"},
    {29, "IDXDZ(i,j,k+1) - (h * ((0.5 * IDX(i,j,k)) + (0.5 * IDX(i,j,k+1))))"},
    {30, "IDYDZ(i,j,k+1) - (h * ((0.5 * IDY(i,j,k)) + (0.5 * IDY(i,j,k+1))))"},
    {31, "IDXDYDZ(i,j,k+1) - (h * ((0.5 * IDXDY(i,j,k)) + (0.5 * IDXDY(i,j,k+1))))"},
);

}  // namespace

extern const int kReachBfd1 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Bfd1X() {
    if (UsedX() > 0) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kJ, 0, m_y.EndNode(), [&] {
                EachSection(m_x, [&](int s) {
                    if (s == 1) At(kRows, 13, kI, B());
                    Each(kI, B() + 1, E(), [&] { Emit(kRows, 14); });
                });
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int s) {
            EachIn(kK, m_z.Lines(), [&] {
                EachIn(kJ, m_y.Lines(), [&] { Each(kI, B() + 1, E() - 1, [&] { Emit(kRows, 15); }); });
            });
            if (s != 1) {
                Each(kK, 0, m_z.EndNode(), [&] { Each(kJ, 0, m_y.EndNode(), [&] { At(kRows, 16, kI, B()); }); });
            }
        });
    }
    if (Has("idx") || Has("idxdy") || Has("idxdz") || Has("idxdydz")) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kJ, 0, m_y.EndNode(), [&] {
                EachSection(m_x, [&](int) { Each(kI, B(), E() - 1, [&] { Emit(kRows, 17); }); });
            });
        });
    }
}

template <class Sink>
void Walk<Sink>::Bfd1Y() {
    if (UsedY() > 0) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kI, 0, m_x.EndNode(), [&] {
                EachSection(m_y, [&](int s) {
                    if (s == 1) At(kRows, 18, kJ, B());
                    Each(kJ, B() + 1, E(), [&] { Emit(kRows, 19); });
                });
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                EachIn(kK, m_z.Lines(), [&] { Each(kJ, B() + 1, E() - 1, [&] { Emit(kRows, 20); }); });
            });
            if (s != 1) {
                EachIn(kI, m_x.Lines(), [&] { Each(kK, 0, m_z.EndNode(), [&] { At(kRows, 21, kJ, B()); }); });
            }
        });
    }
    // IDY from VALUE and IDXDY from IDX; IDX's face i = 0 is a start row.
    auto along = [&](int site, long long iFrom) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kI, iFrom, m_x.EndNode(), [&] {
                EachSection(m_y, [&](int) { Each(kJ, B(), E() - 1, [&] { Emit(kRows, site); }); });
            });
        });
    };
    if (Has("idy") || Has("idydz")) along(22, 0);
    if (Has("idxdy") || Has("idxdydz")) along(23, 1);
}

template <class Sink>
void Walk<Sink>::Bfd1Z() {
    if (UsedZ() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            Each(kI, 0, m_x.EndNode(), [&] {
                EachSection(m_z, [&](int s) {
                    if (s == 1) At(kRows, 24, kK, B());
                    Each(kK, B() + 1, E(), [&] { Emit(kRows, 25); });
                });
            });
        });
    }
    if (UsedZ() > 1) {
        EachSection(m_z, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                EachIn(kJ, m_y.Lines(), [&] { Each(kK, B() + 1, E() - 1, [&] { Emit(kRows, 26); }); });
            });
            if (s != 1) {
                EachIn(kI, m_x.Lines(), [&] { EachIn(kJ, m_y.Lines(), [&] { At(kRows, 27, kK, B()); }); });
            }
        });
    }
    // The integrals along z, each with its own integrand; a direction already
    // integrated starts at 1, its face 0 being a start row.
    auto along = [&](int site, long long iFrom, long long jFrom) {
        Each(kJ, jFrom, m_y.EndNode(), [&] {
            Each(kI, iFrom, m_x.EndNode(), [&] {
                EachSection(m_z, [&](int) { Each(kK, B(), E() - 1, [&] { Emit(kRows, site); }); });
            });
        });
    };
    if (Has("idz")) along(28, 0, 0);
    if (Has("idxdz")) along(29, 1, 0);
    if (Has("idydz")) along(30, 0, 1);
    if (Has("idxdydz")) along(31, 1, 1);
}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Bfd1)
