// FFD1 in three dimensions: first derivatives by the two-point forward
// difference (backward at the domain's last node), second derivatives by the
// three-point central difference, integrals by the trapezoid rule over each
// interval. When second derivatives are used, a second first-derivative row at
// each section joint, backward over the section that ends there, ties the two
// sections' differences together.
//
// The blocks are not one program with the direction exchanged: the order of the
// loops over the two other directions, and whether they run over whole ranges or
// over the lines that carry second derivatives, differ from block to block and
// from part to part, and the equation set depends on both.
#include "distributions/three/walk.h"

namespace zr_distribution3d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {61, "(DDX(i,j,k) * h) + (VALUE(i,j,k) - VALUE(i+1,j,k))"},
    {62, "(DDX(i,j,k) * h) + (VALUE(i-1,j,k) - VALUE(i,j,k))"},
    {63, "(D2DX2(i,j,k) * square(h)) - ((VALUE(i-1,j,k) - (2 * VALUE(i,j,k))) + VALUE(i+1,j,k))"},
    {64, "(DDX(i,j,k) * h) + (VALUE(i-1,j,k) - VALUE(i,j,k))"},
    {65, "IDX(i+1,j,k) - (h * ((0.5 * VALUE(i,j,k)) + (0.5 * VALUE(i+1,j,k))))"},
    {66, "(DDY(i,j,k) * h) + (VALUE(i,j,k) - VALUE(i,j+1,k))"},
    {67, "(DDY(i,j,k) * h) + (VALUE(i,j-1,k) - VALUE(i,j,k))"},
    {68, "(D2DY2(i,j,k) * square(h)) - ((VALUE(i,j-1,k) - (2 * VALUE(i,j,k))) + VALUE(i,j+1,k))"},
    {69, "(DDY(i,j,k) * h) + (VALUE(i,j-1,k) - VALUE(i,j,k))"},
    {70, "IDY(i,j+1,k) - (h * ((0.5 * VALUE(i,j,k)) + (0.5 * VALUE(i,j+1,k))))"},
    {71, "IDXDY(i,j+1,k) - (h * ((0.5 * IDX(i,j,k)) + (0.5 * IDX(i,j+1,k))))"},
    {72, "(DDZ(i,j,k) * h) + (VALUE(i,j,k) - VALUE(i,j,k+1))"},
    {73, "(DDZ(i,j,k) * h) + (VALUE(i,j,k-1) - VALUE(i,j,k))"},
    {74, "(D2DZ2(i,j,k) * square(h)) - ((VALUE(i,j,k-1) - (2 * VALUE(i,j,k))) + VALUE(i,j,k+1))"},
    {75, "(DDZ(i,j,k) * h) + (VALUE(i,j,k-1) - VALUE(i,j,k))"},
    {76, "IDZ(i,j,k+1) - (h * ((0.5 * VALUE(i,j,k)) + (0.5 * VALUE(i,j,k+1))))"},
    {77, "IDXDZ(i,j,k+1) - (h * ((0.5 * IDX(i,j,k)) + (0.5 * IDX(i,j,k+1))))"},
    {78, "IDYDZ(i,j,k+1) - (h * ((0.5 * IDY(i,j,k)) + (0.5 * IDY(i,j,k+1))))"},
    {79, "IDXDYDZ(i,j,k+1) - (h * ((0.5 * IDXDY(i,j,k)) + (0.5 * IDXDY(i,j,k+1))))"},
);

}  // namespace

extern const int kReachFfd1 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Ffd1X() {
    if (UsedX() > 0) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kJ, 0, m_y.EndNode(), [&] {
                EachSection(m_x, [&](int s) {
                    Each(kI, B(), E() - 1, [&] { Emit(kRows, 61); });
                    if (s == m_x.Sections()) At(kRows, 62, kI, E());
                });
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int s) {
            EachIn(kK, m_z.Lines(), [&] {
                EachIn(kJ, m_y.Lines(), [&] { Each(kI, B() + 1, E() - 1, [&] { Emit(kRows, 63); }); });
            });
            if (s != m_x.Sections()) {
                Each(kK, 0, m_z.EndNode(), [&] { Each(kJ, 0, m_y.EndNode(), [&] { At(kRows, 64, kI, E()); }); });
            }
        });
    }
    if (Has("idx") || Has("idxdy") || Has("idxdz") || Has("idxdydz")) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kJ, 0, m_y.EndNode(), [&] {
                EachSection(m_x, [&](int) { Each(kI, B(), E() - 1, [&] { Emit(kRows, 65); }); });
            });
        });
    }
}

template <class Sink>
void Walk<Sink>::Ffd1Y() {
    if (UsedY() > 0) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kI, 0, m_x.EndNode(), [&] {
                EachSection(m_y, [&](int s) {
                    Each(kJ, B(), E() - 1, [&] { Emit(kRows, 66); });
                    if (s == m_y.Sections()) At(kRows, 67, kJ, E());
                });
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                EachIn(kK, m_z.Lines(), [&] { Each(kJ, B() + 1, E() - 1, [&] { Emit(kRows, 68); }); });
            });
            if (s != m_y.Sections()) {
                EachIn(kI, m_x.Lines(), [&] { Each(kK, 0, m_z.EndNode(), [&] { At(kRows, 69, kJ, E()); }); });
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
    if (Has("idy") || Has("idydz")) along(70, 0);
    if (Has("idxdy") || Has("idxdydz")) along(71, 1);
}

template <class Sink>
void Walk<Sink>::Ffd1Z() {
    if (UsedZ() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            Each(kI, 0, m_x.EndNode(), [&] {
                EachSection(m_z, [&](int s) {
                    Each(kK, B(), E() - 1, [&] { Emit(kRows, 72); });
                    if (s == m_z.Sections()) At(kRows, 73, kK, E());
                });
            });
        });
    }
    if (UsedZ() > 1) {
        EachSection(m_z, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                EachIn(kJ, m_y.Lines(), [&] { Each(kK, B() + 1, E() - 1, [&] { Emit(kRows, 74); }); });
            });
            if (s != m_z.Sections()) {
                EachIn(kI, m_x.Lines(), [&] { EachIn(kJ, m_y.Lines(), [&] { At(kRows, 75, kK, E()); }); });
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
    if (Has("idz")) along(76, 0, 0);
    if (Has("idxdz")) along(77, 1, 0);
    if (Has("idydz")) along(78, 0, 1);
    if (Has("idxdydz")) along(79, 1, 1);
}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Ffd1)
