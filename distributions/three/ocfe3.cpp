// OCFE3 in three dimensions: orthogonal collocation on elements of four nodes
// (two ends and two collocation points), each carrying the cubic through its
// nodes. Every node gets one first-derivative row from one element: with
// "Backward" the element that ends there (and the domain's first node from the
// first element), otherwise the element that begins there (and, with "Forward",
// the domain's last node from the last element). When second derivatives are
// used and the highest order is exactly 2, the element on the other side of an
// inner element end adds a second first-derivative row there, so that the two
// cubics meeting at the node agree in slope; with "Forward" a section's last
// node gets none. Integrals are per node interval, from the element's cubic.
//
// Each block has loop orders and line sets of its own over the two other
// directions, and a few rows list their nodes in an order of their own (the
// y block's forward joint row, the z block's row at an element's first node).
// The x block's forward joint row is declared once for each node it ties, at
// that node's own y and z; the y block's row at the domain's last node weighs
// the row's own node, as its x and z twins do.
#include "distributions/three/walk.h"

namespace zr_distribution3d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {304, "(DDX(b,j,k) * h) - ((((-7.0 * VALUE(b,j,k)) + (8.19615 * VALUE(b+1,j,k))) - (2.19615 * VALUE(b+2,j,k))) + VALUE(b+3,j,k))"},
    {305, "(DDX(e,j,k) * h) + (VALUE(e-3,j,k) - (((7.0 * VALUE(e,j,k)) - (8.19615 * VALUE(e-1,j,k))) + (2.19615 * VALUE(e-2,j,k))))"},
    {306, "(DDX(n+1,j,k) * h) + ((0.73205 * VALUE(n+3,j,k)) - (((-2.73205 * VALUE(n,j,k)) + (1.73205 * VALUE(n+1,j,k))) + (1.73205 * VALUE(n+2,j,k))))"},
    {307, "(DDX(n+2,j,k) * h) - ((((0.73205 * VALUE(n,j,k)) - (1.73205 * VALUE(n+1,j,k))) - (1.73205 * VALUE(n+2,j,k))) + (2.73205 * VALUE(n+3,j,k)))"},
    {308, "(DDX(n+3,j,k) * h) - ((((2.19615 * VALUE(n+1,j,k)) - VALUE(n,j,k)) - (8.19615 * VALUE(n+2,j,k))) + (7.0 * VALUE(n+3,j,k)))"},
    {309, "(DDX(n,j,k) * h) + ((7.0 * VALUE(n,j,k)) - ((VALUE(n+3,j,k) - (2.19615 * VALUE(n+2,j,k))) + (8.19615 * VALUE(n+1,j,k))))"},
    {310, "(D2DX2(n+1,j,k) * square(h)) + ((4.3923 * VALUE(n+3,j,k)) - (((16.3923 * VALUE(n,j,k)) - (24.0 * VALUE(n+1,j,k))) + (12.0 * VALUE(n+2,j,k))))"},
    {311, "(D2DX2(n+2,j,k) * square(h)) - ((((-4.3923 * VALUE(n,j,k)) + (12.0 * VALUE(n+1,j,k))) - (24.0 * VALUE(n+2,j,k))) + (16.3923 * VALUE(n+3,j,k)))"},
    {312, "(DDX(n,j,k) * h) - ((((-7.0 * VALUE(n,j,k)) + (8.19615 * VALUE(n+1,j,k))) - (2.19615 * VALUE(n+2,j,k))) + VALUE(n+3,j,k))"},
    {313, "(DDX(n+3,j,k) * h) - ((((2.19615 * VALUE(n+1,j,k)) - VALUE(n,j,k)) - (8.19615 * VALUE(n+2,j,k))) + (7.0 * VALUE(n+3,j,k)))"},
    {314, "IDX(n+1,j,k) - (h * ((((0.08978 * VALUE(n,j,k)) + (0.12972 * VALUE(n+1,j,k))) - (0.01462 * VALUE(n+2,j,k))) + (0.00645 * VALUE(n+3,j,k))))"},
    {315, "IDX(n+2,j,k) - (h * ((((-0.09623 * VALUE(n,j,k)) + (0.3849 * VALUE(n+1,j,k))) + (0.3849 * VALUE(n+2,j,k))) - (0.09623 * VALUE(n+3,j,k))))"},
    {316, "IDX(n+3,j,k) - (h * ((((0.00645 * VALUE(n,j,k)) - (0.01462 * VALUE(n+1,j,k))) + (0.12972 * VALUE(n+2,j,k))) + (0.08978 * VALUE(n+3,j,k))))"},
    {317, "(DDY(i,b,k) * h) - ((((-7.0 * VALUE(i,b,k)) + (8.19615 * VALUE(i,b+1,k))) - (2.19615 * VALUE(i,b+2,k))) + VALUE(i,b+3,k))"},
    {318, "(DDY(i,e,k) * h) + (VALUE(i,e-3,k) - (((7.0 * VALUE(i,e,k)) - (8.19615 * VALUE(i,e-1,k))) + (2.19615 * VALUE(i,e-2,k))))"},
    {319, "(DDY(i,n+1,k) * h) + ((0.73205 * VALUE(i,n+3,k)) - (((-2.73205 * VALUE(i,n,k)) + (1.73205 * VALUE(i,n+1,k))) + (1.73205 * VALUE(i,n+2,k))))"},
    {320, "(DDY(i,n+2,k) * h) - ((((0.73205 * VALUE(i,n,k)) - (1.73205 * VALUE(i,n+1,k))) - (1.73205 * VALUE(i,n+2,k))) + (2.73205 * VALUE(i,n+3,k)))"},
    {321, "(DDY(i,n+3,k) * h) - ((((2.19615 * VALUE(i,n+1,k)) - VALUE(i,n,k)) - (8.19615 * VALUE(i,n+2,k))) + (7.0 * VALUE(i,n+3,k)))"},
    {322, "(DDY(i,n,k) * h) + ((7.0 * VALUE(i,n,k)) - ((VALUE(i,n+3,k) - (2.19615 * VALUE(i,n+2,k))) + (8.19615 * VALUE(i,n+1,k))))"},
    {323, "(D2DY2(i,n+1,k) * square(h)) + ((4.3923 * VALUE(i,n+3,k)) - (((16.3923 * VALUE(i,n,k)) - (24.0 * VALUE(i,n+1,k))) + (12.0 * VALUE(i,n+2,k))))"},
    {324, "(D2DY2(i,n+2,k) * square(h)) - ((((-4.3923 * VALUE(i,n,k)) + (12.0 * VALUE(i,n+1,k))) - (24.0 * VALUE(i,n+2,k))) + (16.3923 * VALUE(i,n+3,k)))"},
    {325, "(DDY(i,n,k) * h) - ((((-7.0 * VALUE(i,n,k)) + (8.19615 * VALUE(i,n+1,k))) - (2.19615 * VALUE(i,n+2,k))) + VALUE(i,n+3,k))"},
    {326, "(DDY(i,n+3,k) * h) + (VALUE(i,n,k) - (((7.0 * VALUE(i,n+3,k)) - (8.19615 * VALUE(i,n+2,k))) + (2.19615 * VALUE(i,n+1,k))))"},
    {327, "IDY(i,n+1,k) - (h * ((((0.08978 * VALUE(i,n,k)) + (0.12972 * VALUE(i,n+1,k))) - (0.01462 * VALUE(i,n+2,k))) + (0.00645 * VALUE(i,n+3,k))))"},
    {328, "IDY(i,n+2,k) - (h * ((((-0.09623 * VALUE(i,n,k)) + (0.3849 * VALUE(i,n+1,k))) + (0.3849 * VALUE(i,n+2,k))) - (0.09623 * VALUE(i,n+3,k))))"},
    {329, "IDY(i,n+3,k) - (h * ((((0.00645 * VALUE(i,n,k)) - (0.01462 * VALUE(i,n+1,k))) + (0.12972 * VALUE(i,n+2,k))) + (0.08978 * VALUE(i,n+3,k))))"},
    {330, "IDXDY(i,n+1,k) - (h * ((((0.08978 * IDX(i,n,k)) + (0.12972 * IDX(i,n+1,k))) - (0.01462 * IDX(i,n+2,k))) + (0.00645 * IDX(i,n+3,k))))"},
    {331, "IDXDY(i,n+2,k) - (h * ((((-0.09623 * IDX(i,n,k)) + (0.3849 * IDX(i,n+1,k))) + (0.3849 * IDX(i,n+2,k))) - (0.09623 * IDX(i,n+3,k))))"},
    {332, "IDXDY(i,n+3,k) - (h * ((((0.00645 * IDX(i,n,k)) - (0.01462 * IDX(i,n+1,k))) + (0.12972 * IDX(i,n+2,k))) + (0.08978 * IDX(i,n+3,k))))"},
    {333, "(DDZ(i,j,b) * h) - ((((-7.0 * VALUE(i,j,b)) + (8.19615 * VALUE(i,j,b+1))) - (2.19615 * VALUE(i,j,b+2))) + VALUE(i,j,b+3))"},
    {334, "(DDZ(i,j,e) * h) + (VALUE(i,j,e-3) - (((7.0 * VALUE(i,j,e)) - (8.19615 * VALUE(i,j,e-1))) + (2.19615 * VALUE(i,j,e-2))))"},
    {335, "(DDZ(i,j,n+1) * h) + ((0.73205 * VALUE(i,j,n+3)) - (((-2.73205 * VALUE(i,j,n)) + (1.73205 * VALUE(i,j,n+1))) + (1.73205 * VALUE(i,j,n+2))))"},
    {336, "(DDZ(i,j,n+2) * h) - ((((0.73205 * VALUE(i,j,n)) - (1.73205 * VALUE(i,j,n+1))) - (1.73205 * VALUE(i,j,n+2))) + (2.73205 * VALUE(i,j,n+3)))"},
    {337, "(DDZ(i,j,n+3) * h) - ((((2.19615 * VALUE(i,j,n+1)) - VALUE(i,j,n)) - (8.19615 * VALUE(i,j,n+2))) + (7.0 * VALUE(i,j,n+3)))"},
    {338, "(DDZ(i,j,n) * h) - ((((-7.0 * VALUE(i,j,n)) + (8.19615 * VALUE(i,j,n+1))) - (2.19615 * VALUE(i,j,n+2))) + VALUE(i,j,n+3))"},
    {339, "(D2DZ2(i,j,n+1) * square(h)) + ((4.3923 * VALUE(i,j,n+3)) - (((16.3923 * VALUE(i,j,n)) - (24.0 * VALUE(i,j,n+1))) + (12.0 * VALUE(i,j,n+2))))"},
    {340, "(D2DZ2(i,j,n+2) * square(h)) - ((((-4.3923 * VALUE(i,j,n)) + (12.0 * VALUE(i,j,n+1))) - (24.0 * VALUE(i,j,n+2))) + (16.3923 * VALUE(i,j,n+3)))"},
    {341, "(DDZ(i,j,n) * h) - ((((-7.0 * VALUE(i,j,n)) + (8.19615 * VALUE(i,j,n+1))) - (2.19615 * VALUE(i,j,n+2))) + VALUE(i,j,n+3))"},
    {342, "(DDZ(i,j,n+3) * h) - ((((2.19615 * VALUE(i,j,n+1)) - VALUE(i,j,n)) - (8.19615 * VALUE(i,j,n+2))) + (7.0 * VALUE(i,j,n+3)))"},
    {343, "IDZ(i,j,n+1) - (h * ((((0.08978 * VALUE(i,j,n)) + (0.12972 * VALUE(i,j,n+1))) - (0.01462 * VALUE(i,j,n+2))) + (0.00645 * VALUE(i,j,n+3))))"},
    {344, "IDZ(i,j,n+2) - (h * ((((-0.09623 * VALUE(i,j,n)) + (0.3849 * VALUE(i,j,n+1))) + (0.3849 * VALUE(i,j,n+2))) - (0.09623 * VALUE(i,j,n+3))))"},
    {345, "IDZ(i,j,n+3) - (h * ((((0.00645 * VALUE(i,j,n)) - (0.01462 * VALUE(i,j,n+1))) + (0.12972 * VALUE(i,j,n+2))) + (0.08978 * VALUE(i,j,n+3))))"},
    {346, "IDXDZ(i,j,n+1) - (h * ((((0.08978 * IDX(i,j,n)) + (0.12972 * IDX(i,j,n+1))) - (0.01462 * IDX(i,j,n+2))) + (0.00645 * IDX(i,j,n+3))))"},
    {347, "IDXDZ(i,j,n+2) - (h * ((((-0.09623 * IDX(i,j,n)) + (0.3849 * IDX(i,j,n+1))) + (0.3849 * IDX(i,j,n+2))) - (0.09623 * IDX(i,j,n+3))))"},
    {348, "IDXDZ(i,j,n+3) - (h * ((((0.00645 * IDX(i,j,n)) - (0.01462 * IDX(i,j,n+1))) + (0.12972 * IDX(i,j,n+2))) + (0.08978 * IDX(i,j,n+3))))"},
    {349, "IDYDZ(i,j,n+1) - (h * ((((0.08978 * IDY(i,j,n)) + (0.12972 * IDY(i,j,n+1))) - (0.01462 * IDY(i,j,n+2))) + (0.00645 * IDY(i,j,n+3))))"},
    {350, "IDYDZ(i,j,n+2) - (h * ((((-0.09623 * IDY(i,j,n)) + (0.3849 * IDY(i,j,n+1))) + (0.3849 * IDY(i,j,n+2))) - (0.09623 * IDY(i,j,n+3))))"},
    {351, "IDYDZ(i,j,n+3) - (h * ((((0.00645 * IDY(i,j,n)) - (0.01462 * IDY(i,j,n+1))) + (0.12972 * IDY(i,j,n+2))) + (0.08978 * IDY(i,j,n+3))))"},
    {352, "IDXDYDZ(i,j,n+1) - (h * ((((0.08978 * IDXDY(i,j,n)) + (0.12972 * IDXDY(i,j,n+1))) - (0.01462 * IDXDY(i,j,n+2))) + (0.00645 * IDXDY(i,j,n+3))))"},
    {353, "IDXDYDZ(i,j,n+2) - (h * ((((-0.09623 * IDXDY(i,j,n)) + (0.3849 * IDXDY(i,j,n+1))) + (0.3849 * IDXDY(i,j,n+2))) - (0.09623 * IDXDY(i,j,n+3))))"},
    {354, "IDXDYDZ(i,j,n+3) - (h * ((((0.00645 * IDXDY(i,j,n)) - (0.01462 * IDXDY(i,j,n+1))) + (0.12972 * IDXDY(i,j,n+2))) + (0.08978 * IDXDY(i,j,n+3))))"},
);

}  // namespace

extern const int kReachOcfe3 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Ocfe3X() {
    if (UsedX() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            Each(kK, 0, m_z.EndNode(), [&] {
                EachSection(m_x, [&](int s) {
                    if (s == 1 && m_x.Boundary("Backward")) {
                        Emit(kRows, 304);
                    } else if (s == m_x.Sections() && m_x.Boundary("Forward")) {
                        Emit(kRows, 305);
                    }
                    EachElement(m_x, [&] {
                        Emit(kRows, 306);
                        Emit(kRows, 307);
                        Emit(kRows, m_x.Boundary("Backward") ? 308 : 309);
                    });
                });
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int) {
            EachElement(m_x, [&] {
                EachIn(kJ, m_y.Lines(), [&] {
                    EachIn(kK, m_z.Lines(), [&] {
                        Emit(kRows, 310);
                        Emit(kRows, 311);
                    });
                });
                if (HighestX() != 2) return;
                Each(kJ, 0, m_y.EndNode(), [&] {
                    Each(kK, 0, m_z.EndNode(), [&] {
                        if (N() != 0 && m_x.Boundary("Backward")) {
                            Emit(kRows, 312);
                        } else if (N() + 3 != E() && m_x.Boundary("Forward")) {
                            Emit(kRows, 313);
                        }
                    });
                });
            });
        });
    }
    if (Has("idx") || Has("idxdy") || Has("idxdz") || Has("idxdydz")) {
        ElementRows(kRows, 314, 3, m_x, {kK, 0, m_z}, {kJ, 0, m_y});
    }
}

template <class Sink>
void Walk<Sink>::Ocfe3Y() {
    if (UsedY() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            Each(kK, 0, m_z.EndNode(), [&] {
                EachSection(m_y, [&](int s) {
                    if (s == 1 && m_y.Boundary("Backward")) {
                        Emit(kRows, 317);
                    } else if (s == m_y.Sections() && m_y.Boundary("Forward")) {
                        Emit(kRows, 318);
                    }
                    EachElement(m_y, [&] {
                        Emit(kRows, 319);
                        Emit(kRows, 320);
                        Emit(kRows, m_y.Boundary("Backward") ? 321 : 322);
                    });
                });
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int) {
            EachElement(m_y, [&] {
                EachIn(kI, m_x.Lines(), [&] {
                    EachIn(kK, m_z.Lines(), [&] {
                        Emit(kRows, 323);
                        Emit(kRows, 324);
                    });
                });
                if (HighestY() != 2) return;
                EachIn(kI, m_x.Lines(), [&] {
                    Each(kK, 0, m_z.EndNode(), [&] {
                        if (N() != 0 && m_y.Boundary("Backward")) {
                            Emit(kRows, 325);
                        } else if (N() + 3 != E() && m_y.Boundary("Forward")) {
                            Emit(kRows, 326);
                        }
                    });
                });
            });
        });
    }
    // IDY, then IDXDY from IDX; x node 0 of IDXDY is a start row.
    auto integral = [&](long long iFrom, int first) {
        ElementRows(kRows, first, 3, m_y, {kK, 0, m_z}, {kI, iFrom, m_x});
    };
    if (Has("idy") || Has("idydz")) integral(0, 327);
    if (Has("idxdy") || Has("idxdydz")) integral(1, 330);
}

template <class Sink>
void Walk<Sink>::Ocfe3Z() {
    if (UsedZ() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            Each(kJ, 0, m_y.EndNode(), [&] {
                EachSection(m_z, [&](int s) {
                    if (s == 1 && m_z.Boundary("Backward")) {
                        Emit(kRows, 333);
                    } else if (s == m_z.Sections() && m_z.Boundary("Forward")) {
                        Emit(kRows, 334);
                    }
                    EachElement(m_z, [&] {
                        Emit(kRows, 335);
                        Emit(kRows, 336);
                        Emit(kRows, m_z.Boundary("Backward") ? 337 : 338);
                    });
                });
            });
        });
    }
    if (UsedZ() > 1) {
        EachSection(m_z, [&](int) {
            EachElement(m_z, [&] {
                EachIn(kI, m_x.Lines(), [&] {
                    EachIn(kJ, m_y.Lines(), [&] {
                        Emit(kRows, 339);
                        Emit(kRows, 340);
                    });
                });
                if (HighestZ() != 2) return;
                EachIn(kI, m_x.Lines(), [&] {
                    EachIn(kJ, m_y.Lines(), [&] {
                        if (N() != 0 && m_z.Boundary("Backward")) {
                            Emit(kRows, 341);
                        } else if (N() + 3 != E() && m_z.Boundary("Forward")) {
                            Emit(kRows, 342);
                        }
                    });
                });
            });
        });
    }
    // IDZ, IDXDZ from IDX, IDYDZ from IDY, IDXDYDZ from IDXDY; node 0 of an
    // integrated x or y direction is a start row.
    auto integral = [&](long long jFrom, long long iFrom, int first) {
        ElementRows(kRows, first, 3, m_z, {kJ, jFrom, m_y}, {kI, iFrom, m_x});
    };
    if (Has("idz")) integral(0, 0, 343);
    if (Has("idxdz")) integral(0, 1, 346);
    if (Has("idydz")) integral(1, 0, 349);
    if (Has("idxdydz")) integral(1, 1, 352);
}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Ocfe3)
