// CFD2 in three dimensions: first derivatives by the three-point central
// difference inside a section and three-point one-sided rows at its ends,
// second derivatives by the three-point central difference, integrals by the
// three-point rule over each element of two intervals. At a section joint with
// first derivatives only, one central row spans both sections with the sum of
// their spacings; with second derivatives each section keeps its own one-sided
// rows, so the joint has a backward and a forward row.
#include "distributions/three/walk.h"

namespace zr_distribution3d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {109, "(2 * (DDX(b,j,k) * h)) + (VALUE(b+2,j,k) - ((-3 * VALUE(b,j,k)) + (4 * VALUE(b+1,j,k))))"},
    {110, "(2 * (DDX(i,j,k) * h)) + (VALUE(i-1,j,k) - VALUE(i+1,j,k))"},
    {111, "(2 * (DDX(e,j,k) * h)) - ((VALUE(e-2,j,k) - (4 * VALUE(e-1,j,k))) + (3 * VALUE(e,j,k)))"},
    {112, "(DDX(e,j,k) * (h(s+1) + h)) + (VALUE(e-1,j,k) - VALUE(e+1,j,k))"},
    {113, "(D2DX2(i,j,k) * square(h)) - ((VALUE(i-1,j,k) - (2 * VALUE(i,j,k))) + VALUE(i+1,j,k))"},
    {114, "(2 * (DDX(b,j,k) * h)) + (VALUE(b+2,j,k) - ((-3 * VALUE(b,j,k)) + (4 * VALUE(b+1,j,k))))"},
    {115, "(IDX(n+1,j,k) / (0.08333333333333333 * h)) + (VALUE(n+2,j,k) - ((5 * VALUE(n,j,k)) + (8 * VALUE(n+1,j,k))))"},
    {116, "(IDX(n+2,j,k) / (0.08333333333333333 * h)) - (((8 * VALUE(n+1,j,k)) - VALUE(n,j,k)) + (5 * VALUE(n+2,j,k)))"},
    {117, "(2 * (DDY(i,b,k) * h)) + (VALUE(i,b+2,k) - ((-3 * VALUE(i,b,k)) + (4 * VALUE(i,b+1,k))))"},
    {118, "(2 * (DDY(i,j,k) * h)) + (VALUE(i,j-1,k) - VALUE(i,j+1,k))"},
    {119, "(2 * (DDY(i,e,k) * h)) - ((VALUE(i,e-2,k) - (4 * VALUE(i,e-1,k))) + (3 * VALUE(i,e,k)))"},
    {120, "(DDY(i,e,k) * (h(s+1) + h)) + (VALUE(i,e-1,k) - VALUE(i,e+1,k))"},
    {121, "(D2DY2(i,j,k) * square(h)) - ((VALUE(i,j-1,k) - (2 * VALUE(i,j,k))) + VALUE(i,j+1,k))"},
    {122, "(2 * (DDY(i,b,k) * h)) + (VALUE(i,b+2,k) - ((-3 * VALUE(i,b,k)) + (4 * VALUE(i,b+1,k))))"},
    {123, "(IDY(i,n+1,k) / (0.08333333333333333 * h)) + (VALUE(i,n+2,k) - ((5 * VALUE(i,n,k)) + (8 * VALUE(i,n+1,k))))"},
    {124, "(IDY(i,n+2,k) / (0.08333333333333333 * h)) - (((8 * VALUE(i,n+1,k)) - VALUE(i,n,k)) + (5 * VALUE(i,n+2,k)))"},
    {125, "(IDXDY(i,n+1,k) / (0.08333333333333333 * h)) + (IDX(i,n+2,k) - ((5 * IDX(i,n,k)) + (8 * IDX(i,n+1,k))))"},
    {126, "(IDXDY(i,n+2,k) / (0.08333333333333333 * h)) - (((8 * IDX(i,n+1,k)) - IDX(i,n,k)) + (5 * IDX(i,n+2,k)))"},
    {127, "(2 * (DDZ(i,j,b) * h)) + (VALUE(i,j,b+2) - ((-3 * VALUE(i,j,b)) + (4 * VALUE(i,j,b+1))))"},
    {128, "(2 * (DDZ(i,j,k) * h)) + (VALUE(i,j,k-1) - VALUE(i,j,k+1))"},
    {129, "(2 * (DDZ(i,j,e) * h)) - ((VALUE(i,j,e-2) - (4 * VALUE(i,j,e-1))) + (3 * VALUE(i,j,e)))"},
    {130, "(DDZ(i,j,e) * (h(s+1) + h)) + (VALUE(i,j,e-1) - VALUE(i,j,e+1))"},
    {131, "(D2DZ2(i,j,k) * square(h)) - ((VALUE(i,j,k-1) - (2 * VALUE(i,j,k))) + VALUE(i,j,k+1))"},
    {132, "(2 * (DDZ(i,j,b) * h)) + (VALUE(i,j,b+2) - ((-3 * VALUE(i,j,b)) + (4 * VALUE(i,j,b+1))))"},
    {133, "(IDZ(i,j,n+1) / (0.08333333333333333 * h)) + (VALUE(i,j,n+2) - ((5 * VALUE(i,j,n)) + (8 * VALUE(i,j,n+1))))"},
    {134, "(IDZ(i,j,n+2) / (0.08333333333333333 * h)) - (((8 * VALUE(i,j,n+1)) - VALUE(i,j,n)) + (5 * VALUE(i,j,n+2)))"},
    {135, "(IDXDZ(i,j,n+1) / (0.08333333333333333 * h)) + (IDX(i,j,n+2) - ((5 * IDX(i,j,n)) + (8 * IDX(i,j,n+1))))"},
    {136, "(IDXDZ(i,j,n+2) / (0.08333333333333333 * h)) - (((8 * IDX(i,j,n+1)) - IDX(i,j,n)) + (5 * IDX(i,j,n+2)))"},
    {137, "(IDYDZ(i,j,n+1) / (0.08333333333333333 * h)) + (IDY(i,j,n+2) - ((5 * IDY(i,j,n)) + (8 * IDY(i,j,n+1))))"},
    {138, "(IDYDZ(i,j,n+2) / (0.08333333333333333 * h)) - (((8 * IDY(i,j,n+1)) - IDY(i,j,n)) + (5 * IDY(i,j,n+2)))"},
    {139, "(IDXDYDZ(i,j,n+1) / (0.08333333333333333 * h)) + (IDXDY(i,j,n+2) - ((5 * IDXDY(i,j,n)) + (8 * IDXDY(i,j,n+1))))"},
    {140, "(IDXDYDZ(i,j,n+2) / (0.08333333333333333 * h)) - (((8 * IDXDY(i,j,n+1)) - IDXDY(i,j,n)) + (5 * IDXDY(i,j,n+2)))"},
);

}  // namespace

extern const int kReachCfd2 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Cfd2X() {
    if (UsedX() > 0) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kJ, 0, m_y.EndNode(), [&] {
                EachSection(m_x, [&](int s) {
                    if (s == 1) Emit(kRows, 109);
                    Each(kI, B() + 1, E() - 1, [&] { Emit(kRows, 110); });
                    if (s == m_x.Sections() || UsedX() > 1) {
                        Emit(kRows, 111);
                    } else {
                        Emit(kRows, 112);
                    }
                });
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int s) {
            EachIn(kJ, m_y.Lines(), [&] {
                EachIn(kK, m_z.Lines(), [&] { Each(kI, B() + 1, E() - 1, [&] { Emit(kRows, 113); }); });
            });
            if (s != 1) {
                Each(kJ, 0, m_y.EndNode(), [&] { Each(kK, 0, m_z.EndNode(), [&] { Emit(kRows, 114); }); });
            }
        });
    }
    if (Has("idx") || Has("idxdy") || Has("idxdz") || Has("idxdydz")) {
        ElementRows(kRows, 115, 2, m_x, {kK, 0, m_z}, {kJ, 0, m_y});
    }
}

template <class Sink>
void Walk<Sink>::Cfd2Y() {
    if (UsedY() > 0) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kI, 0, m_x.EndNode(), [&] {
                EachSection(m_y, [&](int s) {
                    if (s == 1) Emit(kRows, 117);
                    Each(kJ, B() + 1, E() - 1, [&] { Emit(kRows, 118); });
                    if (s == m_y.Sections() || UsedY() > 1) {
                        Emit(kRows, 119);
                    } else {
                        Emit(kRows, 120);
                    }
                });
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                EachIn(kK, m_z.Lines(), [&] { Each(kJ, B() + 1, E() - 1, [&] { Emit(kRows, 121); }); });
            });
            if (s != 1) {
                EachIn(kI, m_x.Lines(), [&] { Each(kK, 0, m_z.EndNode(), [&] { Emit(kRows, 122); }); });
            }
        });
    }
    // IDXDY integrates IDX, whose plane i = 0 the start rows pin.
    auto integrate = [&](long long firstI, int site) {
        ElementRows(kRows, site, 2, m_y, {kK, 0, m_z}, {kI, firstI, m_x});
    };
    if (Has("idy") || Has("idydz")) integrate(0, 123);
    if (Has("idxdy") || Has("idxdydz")) integrate(1, 125);
}

template <class Sink>
void Walk<Sink>::Cfd2Z() {
    if (UsedZ() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            Each(kI, 0, m_x.EndNode(), [&] {
                EachSection(m_z, [&](int s) {
                    if (s == 1) Emit(kRows, 127);
                    Each(kK, B() + 1, E() - 1, [&] { Emit(kRows, 128); });
                    if (s == m_z.Sections() || UsedZ() > 1) {
                        Emit(kRows, 129);
                    } else {
                        Emit(kRows, 130);
                    }
                });
            });
        });
    }
    if (UsedZ() > 1) {
        EachSection(m_z, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                EachIn(kJ, m_y.Lines(), [&] { Each(kK, B() + 1, E() - 1, [&] { Emit(kRows, 131); }); });
            });
            if (s != 1) {
                EachIn(kI, m_x.Lines(), [&] { EachIn(kJ, m_y.Lines(), [&] { Emit(kRows, 132); }); });
            }
        });
    }
    // An integral built on IDX, IDY or IDXDY leaves out the planes i = 0 and
    // j = 0 that the start rows pin.
    auto integrate = [&](long long firstJ, long long firstI, int site) {
        ElementRows(kRows, site, 2, m_z, {kJ, firstJ, m_y}, {kI, firstI, m_x});
    };
    if (Has("idz")) integrate(0, 0, 133);
    if (Has("idxdz")) integrate(0, 1, 135);
    if (Has("idydz")) integrate(1, 0, 137);
    if (Has("idxdydz")) integrate(1, 1, 139);
}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Cfd2)
