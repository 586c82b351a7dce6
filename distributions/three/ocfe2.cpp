// OCFE2 in three dimensions: orthogonal collocation on elements of three nodes
// (two ends, one collocation point in the middle), each carrying the quadratic
// through its nodes. Every node gets one first-derivative row from one element:
// with "Backward" the element that ends there (and the domain's first node from
// the first element), otherwise the element that begins there (and, with
// "Forward", the domain's last node from the last element). When second
// derivatives are used and the highest order is exactly 2, the element on the
// other side of an inner element end adds a second first-derivative row there,
// so that the two quadratics meeting at the node agree in slope; with "Forward"
// a section's last node gets none. Integrals are per node interval, from the
// element's quadratic.
//
// Each block has loop orders and line sets of its own over the two other
// directions; the z block's forward joint row lists its nodes from the far end.
#include "distributions/three/walk.h"

namespace zr_distribution3d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {266, "(DDX(b,j,k) * h) + (VALUE(b+2,j,k) - ((-3.0 * VALUE(b,j,k)) + (4.0 * VALUE(b+1,j,k))))"},
    {267, "(DDX(e,j,k) * h) - (((3.0 * VALUE(e,j,k)) - (4.0 * VALUE(e-1,j,k))) + VALUE(e-2,j,k))"},
    {268, "(DDX(n+1,j,k) * h) + (VALUE(n,j,k) - VALUE(n+2,j,k))"},
    {269, "(DDX(n+2,j,k) * h) - ((VALUE(n,j,k) - (4.0 * VALUE(n+1,j,k))) + (3.0 * VALUE(n+2,j,k)))"},
    {270, "(DDX(n,j,k) * h) + ((3.0 * VALUE(n,j,k)) + (VALUE(n+2,j,k) - (4.0 * VALUE(n+1,j,k))))"},
    {271, "(D2DX2(n+1,j,k) * square(h)) - (((4.0 * VALUE(n,j,k)) - (8.0 * VALUE(n+1,j,k))) + (4.0 * VALUE(n+2,j,k)))"},
    {272, "(DDX(n,j,k) * h) + (VALUE(n+2,j,k) - ((-3.0 * VALUE(n,j,k)) + (4.0 * VALUE(n+1,j,k))))"},
    {273, "(DDX(n+2,j,k) * h) - ((VALUE(n,j,k) - (4.0 * VALUE(n+1,j,k))) + (3.0 * VALUE(n+2,j,k)))"},
    {274, "IDX(n+1,j,k) - (h * (((0.20833 * VALUE(n,j,k)) + (0.33333 * VALUE(n+1,j,k))) - (0.04166 * VALUE(n+2,j,k))))"},
    {275, "IDX(n+2,j,k) - (h * (((-0.04166 * VALUE(n,j,k)) + (0.33333 * VALUE(n+1,j,k))) + (0.20833 * VALUE(n+2,j,k))))"},
    {276, "(DDY(i,b,k) * h) + (VALUE(i,b+2,k) - ((-3.0 * VALUE(i,b,k)) + (4.0 * VALUE(i,b+1,k))))"},
    {277, "(DDY(i,e,k) * h) - (((3.0 * VALUE(i,e,k)) - (4.0 * VALUE(i,e-1,k))) + VALUE(i,e-2,k))"},
    {278, "(DDY(i,n+1,k) * h) + (VALUE(i,n,k) - VALUE(i,n+2,k))"},
    {279, "(DDY(i,n+2,k) * h) - ((VALUE(i,n,k) - (4.0 * VALUE(i,n+1,k))) + (3.0 * VALUE(i,n+2,k)))"},
    {280, "(DDY(i,n,k) * h) + ((3.0 * VALUE(i,n,k)) + (VALUE(i,n+2,k) - (4.0 * VALUE(i,n+1,k))))"},
    {281, "(D2DY2(i,n+1,k) * square(h)) - (((4.0 * VALUE(i,n,k)) - (8.0 * VALUE(i,n+1,k))) + (4.0 * VALUE(i,n+2,k)))"},
    {282, "(DDY(i,n,k) * h) + (VALUE(i,n+2,k) - ((-3.0 * VALUE(i,n,k)) + (4.0 * VALUE(i,n+1,k))))"},
    {283, "(DDY(i,n+2,k) * h) - ((VALUE(i,n,k) - (4.0 * VALUE(i,n+1,k))) + (3.0 * VALUE(i,n+2,k)))"},
    {284, "IDY(i,n+1,k) - (h * (((0.20833 * VALUE(i,n,k)) + (0.33333 * VALUE(i,n+1,k))) - (0.04166 * VALUE(i,n+2,k))))"},
    {285, "IDY(i,n+2,k) - (h * (((-0.04166 * VALUE(i,n,k)) + (0.33333 * VALUE(i,n+1,k))) + (0.20833 * VALUE(i,n+2,k))))"},
    {286, "IDXDY(i,n+1,k) - (h * (((0.20833 * IDX(i,n,k)) + (0.33333 * IDX(i,n+1,k))) - (0.04166 * IDX(i,n+2,k))))"},
    {287, "IDXDY(i,n+2,k) - (h * (((-0.04166 * IDX(i,n,k)) + (0.33333 * IDX(i,n+1,k))) + (0.20833 * IDX(i,n+2,k))))"},
    {288, "(DDZ(i,j,b) * h) + (VALUE(i,j,b+2) - ((-3.0 * VALUE(i,j,b)) + (4.0 * VALUE(i,j,b+1))))"},
    {289, "(DDZ(i,j,e) * h) - (((3.0 * VALUE(i,j,e)) - (4.0 * VALUE(i,j,e-1))) + VALUE(i,j,e-2))"},
    {290, "(DDZ(i,j,n+1) * h) + (VALUE(i,j,n) - VALUE(i,j,n+2))"},
    {291, "(DDZ(i,j,n+2) * h) - ((VALUE(i,j,n) - (4.0 * VALUE(i,j,n+1))) + (3.0 * VALUE(i,j,n+2)))"},
    {292, "(DDZ(i,j,n) * h) + ((3.0 * VALUE(i,j,n)) + (VALUE(i,j,n+2) - (4.0 * VALUE(i,j,n+1))))"},
    {293, "(D2DZ2(i,j,n+1) * square(h)) - (((4.0 * VALUE(i,j,n)) - (8.0 * VALUE(i,j,n+1))) + (4.0 * VALUE(i,j,n+2)))"},
    {294, "(DDZ(i,j,n) * h) + (VALUE(i,j,n+2) - ((-3.0 * VALUE(i,j,n)) + (4.0 * VALUE(i,j,n+1))))"},
    {295, "(DDZ(i,j,n+2) * h) - (((3.0 * VALUE(i,j,n+2)) - (4.0 * VALUE(i,j,n+1))) + VALUE(i,j,n))"},
    {296, "IDZ(i,j,n+1) - (h * (((0.20833 * VALUE(i,j,n)) + (0.33333 * VALUE(i,j,n+1))) - (0.04166 * VALUE(i,j,n+2))))"},
    {297, "IDZ(i,j,n+2) - (h * (((-0.04166 * VALUE(i,j,n)) + (0.33333 * VALUE(i,j,n+1))) + (0.20833 * VALUE(i,j,n+2))))"},
    {298, "IDXDZ(i,j,n+1) - (h * (((0.20833 * IDX(i,j,n)) + (0.33333 * IDX(i,j,n+1))) - (0.04166 * IDX(i,j,n+2))))"},
    {299, "IDXDZ(i,j,n+2) - (h * (((-0.04166 * IDX(i,j,n)) + (0.33333 * IDX(i,j,n+1))) + (0.20833 * IDX(i,j,n+2))))"},
    {300, "IDYDZ(i,j,n+1) - (h * (((0.20833 * IDY(i,j,n)) + (0.33333 * IDY(i,j,n+1))) - (0.04166 * IDY(i,j,n+2))))"},
    {301, "IDYDZ(i,j,n+2) - (h * (((-0.04166 * IDY(i,j,n)) + (0.33333 * IDY(i,j,n+1))) + (0.20833 * IDY(i,j,n+2))))"},
    {302, "IDXDYDZ(i,j,n+1) - (h * (((0.20833 * IDXDY(i,j,n)) + (0.33333 * IDXDY(i,j,n+1))) - (0.04166 * IDXDY(i,j,n+2))))"},
    {303, "IDXDYDZ(i,j,n+2) - (h * (((-0.04166 * IDXDY(i,j,n)) + (0.33333 * IDXDY(i,j,n+1))) + (0.20833 * IDXDY(i,j,n+2))))"},
);

}  // namespace

extern const int kReachOcfe2 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Ocfe2X() {
    if (UsedX() > 0) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kJ, 0, m_y.EndNode(), [&] {
                EachSection(m_x, [&](int s) {
                    if (s == 1 && m_x.Boundary("Backward")) {
                        Emit(kRows, 266);
                    } else if (s == m_x.Sections() && m_x.Boundary("Forward")) {
                        Emit(kRows, 267);
                    }
                    EachElement(m_x, [&] {
                        Emit(kRows, 268);
                        Emit(kRows, m_x.Boundary("Backward") ? 269 : 270);
                    });
                });
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int) {
            EachElement(m_x, [&] {
                EachIn(kJ, m_y.Lines(), [&] { EachIn(kK, m_z.Lines(), [&] { Emit(kRows, 271); }); });
                if (HighestX() != 2) return;
                Each(kJ, 0, m_y.EndNode(), [&] {
                    Each(kK, 0, m_z.EndNode(), [&] {
                        if (N() != 0 && m_x.Boundary("Backward")) {
                            Emit(kRows, 272);
                        } else if (m_x.Boundary("Forward") && N() + 2 != E()) {
                            Emit(kRows, 273);
                        }
                    });
                });
            });
        });
    }
    if (Has("idx") || Has("idxdy") || Has("idxdz") || Has("idxdydz")) {
        ElementRows(kRows, 274, 2, m_x, {kK, 0, m_z}, {kJ, 0, m_y});
    }
}

template <class Sink>
void Walk<Sink>::Ocfe2Y() {
    if (UsedY() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            Each(kK, 0, m_z.EndNode(), [&] {
                EachSection(m_y, [&](int s) {
                    if (s == 1 && m_y.Boundary("Backward")) {
                        Emit(kRows, 276);
                    } else if (s == m_y.Sections() && m_y.Boundary("Forward")) {
                        Emit(kRows, 277);
                    }
                    EachElement(m_y, [&] {
                        Emit(kRows, 278);
                        Emit(kRows, m_y.Boundary("Backward") ? 279 : 280);
                    });
                });
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int) {
            EachElement(m_y, [&] {
                EachIn(kI, m_x.Lines(), [&] { EachIn(kK, m_z.Lines(), [&] { Emit(kRows, 281); }); });
                if (HighestY() != 2) return;
                EachIn(kI, m_x.Lines(), [&] {
                    Each(kK, 0, m_z.EndNode(), [&] {
                        if (N() != 0 && m_y.Boundary("Backward")) {
                            Emit(kRows, 282);
                        } else if (m_y.Boundary("Forward") && N() + 2 != E()) {
                            Emit(kRows, 283);
                        }
                    });
                });
            });
        });
    }
    // IDY, then IDXDY from IDX; x node 0 of IDXDY is a start row.
    auto integral = [&](long long iFrom, int first) {
        ElementRows(kRows, first, 2, m_y, {kK, 0, m_z}, {kI, iFrom, m_x});
    };
    if (Has("idy") || Has("idydz")) integral(0, 284);
    if (Has("idxdy") || Has("idxdydz")) integral(1, 286);
}

template <class Sink>
void Walk<Sink>::Ocfe2Z() {
    if (UsedZ() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            Each(kJ, 0, m_y.EndNode(), [&] {
                EachSection(m_z, [&](int s) {
                    if (s == 1 && m_z.Boundary("Backward")) {
                        Emit(kRows, 288);
                    } else if (s == m_z.Sections() && m_z.Boundary("Forward")) {
                        Emit(kRows, 289);
                    }
                    EachElement(m_z, [&] {
                        Emit(kRows, 290);
                        Emit(kRows, m_z.Boundary("Backward") ? 291 : 292);
                    });
                });
            });
        });
    }
    if (UsedZ() > 1) {
        EachSection(m_z, [&](int) {
            EachElement(m_z, [&] {
                EachIn(kI, m_x.Lines(), [&] { EachIn(kJ, m_y.Lines(), [&] { Emit(kRows, 293); }); });
                if (HighestZ() != 2) return;
                EachIn(kI, m_x.Lines(), [&] {
                    EachIn(kJ, m_y.Lines(), [&] {
                        if (N() != 0 && m_z.Boundary("Backward")) {
                            Emit(kRows, 294);
                        } else if (m_z.Boundary("Forward") && N() + 2 != E()) {
                            Emit(kRows, 295);
                        }
                    });
                });
            });
        });
    }
    // IDZ, IDXDZ from IDX, IDYDZ from IDY, IDXDYDZ from IDXDY; node 0 of an
    // integrated x or y direction is a start row.
    auto integral = [&](long long jFrom, long long iFrom, int first) {
        ElementRows(kRows, first, 2, m_z, {kJ, jFrom, m_y}, {kI, iFrom, m_x});
    };
    if (Has("idz")) integral(0, 0, 296);
    if (Has("idxdz")) integral(0, 1, 298);
    if (Has("idydz")) integral(1, 0, 300);
    if (Has("idxdydz")) integral(1, 1, 302);
}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Ocfe2)
