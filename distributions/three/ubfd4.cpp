// UBFD4 in three dimensions: first derivatives by five-point rows biased
// upwind (three nodes back, one forward) from a section's fourth node on, with
// forward rows over a section's first five nodes and a backward row at its
// last; second derivatives by five-point rows of the same bias; integrals by
// the five-point rule over each element of four intervals. With second
// derivatives a later section's first node gets a forward row of its own
// besides the previous section's backward one.
#include "distributions/three/walk.h"

namespace zr_distribution3d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {211, "(24 * (DDX(b,j,k) * h)) + ((6 * VALUE(b+4,j,k)) - ((((-50 * VALUE(b,j,k)) + (96 * VALUE(b+1,j,k))) - (72 * VALUE(b+2,j,k))) + (32 * VALUE(b+3,j,k))))"},
    {212, "(24 * (DDX(b+1,j,k) * h)) - (((((-6 * VALUE(b,j,k)) - (20 * VALUE(b+1,j,k))) + (36 * VALUE(b+2,j,k))) - (12 * VALUE(b+3,j,k))) + (2 * VALUE(b+4,j,k)))"},
    {213, "(24 * (DDX(b+2,j,k) * h)) + ((2 * VALUE(b+4,j,k)) - (((2 * VALUE(b,j,k)) - (16 * VALUE(b+1,j,k))) + (16 * VALUE(b+3,j,k))))"},
    {214, "(24 * (DDX(i,j,k) * h)) - (((((-2 * VALUE(i-3,j,k)) + (12 * VALUE(i-2,j,k))) - (36 * VALUE(i-1,j,k))) + (20 * VALUE(i,j,k))) + (6 * VALUE(i+1,j,k)))"},
    {215, "(24 * (DDX(e,j,k) * h)) - (((((6 * VALUE(e-4,j,k)) - (32 * VALUE(e-3,j,k))) + (72 * VALUE(e-2,j,k))) - (96 * VALUE(e-1,j,k))) + (50 * VALUE(e,j,k)))"},
    {216, "(12 * (D2DX2(b+1,j,k) * square(h))) + (VALUE(b+4,j,k) - ((((11 * VALUE(b,j,k)) - (20 * VALUE(b+1,j,k))) + (6 * VALUE(b+2,j,k))) + (4 * VALUE(b+3,j,k))))"},
    {217, "(12 * (D2DX2(b+2,j,k) * square(h))) + (VALUE(b+4,j,k) - ((((16 * VALUE(b+1,j,k)) - VALUE(b,j,k)) - (30 * VALUE(b+2,j,k))) + (16 * VALUE(b+3,j,k))))"},
    {218, "(12 * (D2DX2(i,j,k) * square(h))) - (((((4 * VALUE(i-2,j,k)) - VALUE(i-3,j,k)) + (6 * VALUE(i-1,j,k))) - (20 * VALUE(i,j,k))) + (11 * VALUE(i+1,j,k)))"},
    {219, "(24 * (DDX(b,j,k) * h)) + ((6 * VALUE(b+4,j,k)) - ((((-50 * VALUE(b,j,k)) + (96 * VALUE(b+1,j,k))) - (72 * VALUE(b+2,j,k))) + (32 * VALUE(b+3,j,k))))"},
    {220, "IDX(n+1,j,k) - (0.001388888888888889 * (h * (((((251 * VALUE(n,j,k)) + (646 * VALUE(n+1,j,k))) - (264 * VALUE(n+2,j,k))) + (106 * VALUE(n+3,j,k))) - (19 * VALUE(n+4,j,k)))))"},
    {221, "IDX(n+2,j,k) - (0.001388888888888889 * (h * (((((-19 * VALUE(n,j,k)) + (346 * VALUE(n+1,j,k))) + (456 * VALUE(n+2,j,k))) - (74 * VALUE(n+3,j,k))) + (11 * VALUE(n+4,j,k)))))"},
    {222, "IDX(n+3,j,k) - (0.001388888888888889 * (h * (((((11 * VALUE(n,j,k)) - (74 * VALUE(n+1,j,k))) + (456 * VALUE(n+2,j,k))) + (346 * VALUE(n+3,j,k))) - (19 * VALUE(n+4,j,k)))))"},
    {223, "IDX(n+4,j,k) - (0.001388888888888889 * (h * (((((-19 * VALUE(n,j,k)) + (106 * VALUE(n+1,j,k))) - (264 * VALUE(n+2,j,k))) + (646 * VALUE(n+3,j,k))) + (251 * VALUE(n+4,j,k)))))"},
    {224, "(24 * (DDY(i,b,k) * h)) + ((6 * VALUE(i,b+4,k)) - ((((-50 * VALUE(i,b,k)) + (96 * VALUE(i,b+1,k))) - (72 * VALUE(i,b+2,k))) + (32 * VALUE(i,b+3,k))))"},
    {225, "(24 * (DDY(i,b+1,k) * h)) - (((((-6 * VALUE(i,b,k)) - (20 * VALUE(i,b+1,k))) + (36 * VALUE(i,b+2,k))) - (12 * VALUE(i,b+3,k))) + (2 * VALUE(i,b+4,k)))"},
    {226, "(24 * (DDY(i,b+2,k) * h)) + ((2 * VALUE(i,b+4,k)) - (((2 * VALUE(i,b,k)) - (16 * VALUE(i,b+1,k))) + (16 * VALUE(i,b+3,k))))"},
    {227, "(24 * (DDY(i,j,k) * h)) - (((((-2 * VALUE(i,j-3,k)) + (12 * VALUE(i,j-2,k))) - (36 * VALUE(i,j-1,k))) + (20 * VALUE(i,j,k))) + (6 * VALUE(i,j+1,k)))"},
    {228, "(24 * (DDY(i,e,k) * h)) - (((((6 * VALUE(i,e-4,k)) - (32 * VALUE(i,e-3,k))) + (72 * VALUE(i,e-2,k))) - (96 * VALUE(i,e-1,k))) + (50 * VALUE(i,e,k)))"},
    {229, "(12 * (D2DY2(i,b+1,k) * square(h))) + (VALUE(i,b+4,k) - ((((11 * VALUE(i,b,k)) - (20 * VALUE(i,b+1,k))) + (6 * VALUE(i,b+2,k))) + (4 * VALUE(i,b+3,k))))"},
    {230, "(12 * (D2DY2(i,b+2,k) * square(h))) + (VALUE(i,b+4,k) - ((((16 * VALUE(i,b+1,k)) - VALUE(i,b,k)) - (30 * VALUE(i,b+2,k))) + (16 * VALUE(i,b+3,k))))"},
    {231, "(12 * (D2DY2(i,j,k) * square(h))) - (((((4 * VALUE(i,j-2,k)) - VALUE(i,j-3,k)) + (6 * VALUE(i,j-1,k))) - (20 * VALUE(i,j,k))) + (11 * VALUE(i,j+1,k)))"},
    {232, "(24 * (DDY(i,b,k) * h)) + ((6 * VALUE(i,b+4,k)) - ((((-50 * VALUE(i,b,k)) + (96 * VALUE(i,b+1,k))) - (72 * VALUE(i,b+2,k))) + (32 * VALUE(i,b+3,k))))"},
    {233, "IDY(i,n+1,k) - (0.001388888888888889 * (h * (((((251 * VALUE(i,n,k)) + (646 * VALUE(i,n+1,k))) - (264 * VALUE(i,n+2,k))) + (106 * VALUE(i,n+3,k))) - (19 * VALUE(i,n+4,k)))))"},
    {234, "IDY(i,n+2,k) - (0.001388888888888889 * (h * (((((-19 * VALUE(i,n,k)) + (346 * VALUE(i,n+1,k))) + (456 * VALUE(i,n+2,k))) - (74 * VALUE(i,n+3,k))) + (11 * VALUE(i,n+4,k)))))"},
    {235, "IDY(i,n+3,k) - (0.001388888888888889 * (h * (((((11 * VALUE(i,n,k)) - (74 * VALUE(i,n+1,k))) + (456 * VALUE(i,n+2,k))) + (346 * VALUE(i,n+3,k))) - (19 * VALUE(i,n+4,k)))))"},
    {236, "IDY(i,n+4,k) - (0.001388888888888889 * (h * (((((-19 * VALUE(i,n,k)) + (106 * VALUE(i,n+1,k))) - (264 * VALUE(i,n+2,k))) + (646 * VALUE(i,n+3,k))) + (251 * VALUE(i,n+4,k)))))"},
    {237, "IDXDY(i,n+1,k) - (0.001388888888888889 * (h * (((((251 * IDX(i,n,k)) + (646 * IDX(i,n+1,k))) - (264 * IDX(i,n+2,k))) + (106 * IDX(i,n+3,k))) - (19 * IDX(i,n+4,k)))))"},
    {238, "IDXDY(i,n+2,k) - (0.001388888888888889 * (h * (((((-19 * IDX(i,n,k)) + (346 * IDX(i,n+1,k))) + (456 * IDX(i,n+2,k))) - (74 * IDX(i,n+3,k))) + (11 * IDX(i,n+4,k)))))"},
    {239, "IDXDY(i,n+3,k) - (0.001388888888888889 * (h * (((((11 * IDX(i,n,k)) - (74 * IDX(i,n+1,k))) + (456 * IDX(i,n+2,k))) + (346 * IDX(i,n+3,k))) - (19 * IDX(i,n+4,k)))))"},
    {240, "IDXDY(i,n+4,k) - (0.001388888888888889 * (h * (((((-19 * IDX(i,n,k)) + (106 * IDX(i,n+1,k))) - (264 * IDX(i,n+2,k))) + (646 * IDX(i,n+3,k))) + (251 * IDX(i,n+4,k)))))"},
    {241, "(24 * (DDZ(i,j,b) * h)) + ((6 * VALUE(i,j,b+4)) - ((((-50 * VALUE(i,j,b)) + (96 * VALUE(i,j,b+1))) - (72 * VALUE(i,j,b+2))) + (32 * VALUE(i,j,b+3))))"},
    {242, "(24 * (DDZ(i,j,b+1) * h)) - (((((-6 * VALUE(i,j,b)) - (20 * VALUE(i,j,b+1))) + (36 * VALUE(i,j,b+2))) - (12 * VALUE(i,j,b+3))) + (2 * VALUE(i,j,b+4)))"},
    {243, "(24 * (DDZ(i,j,b+2) * h)) + ((2 * VALUE(i,j,b+4)) - (((2 * VALUE(i,j,b)) - (16 * VALUE(i,j,b+1))) + (16 * VALUE(i,j,b+3))))"},
    {244, "(24 * (DDZ(i,j,k) * h)) - (((((-2 * VALUE(i,j,k-3)) + (12 * VALUE(i,j,k-2))) - (36 * VALUE(i,j,k-1))) + (20 * VALUE(i,j,k))) + (6 * VALUE(i,j,k+1)))"},
    {245, "(24 * (DDZ(i,j,e) * h)) - (((((6 * VALUE(i,j,e-4)) - (32 * VALUE(i,j,e-3))) + (72 * VALUE(i,j,e-2))) - (96 * VALUE(i,j,e-1))) + (50 * VALUE(i,j,e)))"},
    {246, "(12 * (D2DZ2(i,j,b+1) * square(h))) + (VALUE(i,j,b+4) - ((((11 * VALUE(i,j,b)) - (20 * VALUE(i,j,b+1))) + (6 * VALUE(i,j,b+2))) + (4 * VALUE(i,j,b+3))))"},
    {247, "(12 * (D2DZ2(i,j,b+2) * square(h))) + (VALUE(i,j,b+4) - ((((16 * VALUE(i,j,b+1)) - VALUE(i,j,b)) - (30 * VALUE(i,j,b+2))) + (16 * VALUE(i,j,b+3))))"},
    {248, "(12 * (D2DZ2(i,j,k) * square(h))) - (((((4 * VALUE(i,j,k-2)) - VALUE(i,j,k-3)) + (6 * VALUE(i,j,k-1))) - (20 * VALUE(i,j,k))) + (11 * VALUE(i,j,k+1)))"},
    {249, "(24 * (DDZ(i,j,b) * h)) + ((6 * VALUE(i,j,b+4)) - ((((-50 * VALUE(i,j,b)) + (96 * VALUE(i,j,b+1))) - (72 * VALUE(i,j,b+2))) + (32 * VALUE(i,j,b+3))))"},
    {250, "IDZ(i,j,n+1) - (0.001388888888888889 * (h * (((((251 * VALUE(i,j,n)) + (646 * VALUE(i,j,n+1))) - (264 * VALUE(i,j,n+2))) + (106 * VALUE(i,j,n+3))) - (19 * VALUE(i,j,n+4)))))"},
    {251, "IDZ(i,j,n+2) - (0.001388888888888889 * (h * (((((-19 * VALUE(i,j,n)) + (346 * VALUE(i,j,n+1))) + (456 * VALUE(i,j,n+2))) - (74 * VALUE(i,j,n+3))) + (11 * VALUE(i,j,n+4)))))"},
    {252, "IDZ(i,j,n+3) - (0.001388888888888889 * (h * (((((11 * VALUE(i,j,n)) - (74 * VALUE(i,j,n+1))) + (456 * VALUE(i,j,n+2))) + (346 * VALUE(i,j,n+3))) - (19 * VALUE(i,j,n+4)))))"},
    {253, "IDZ(i,j,n+4) - (0.001388888888888889 * (h * (((((-19 * VALUE(i,j,n)) + (106 * VALUE(i,j,n+1))) - (264 * VALUE(i,j,n+2))) + (646 * VALUE(i,j,n+3))) + (251 * VALUE(i,j,n+4)))))"},
    {254, "IDXDZ(i,j,n+1) - (0.001388888888888889 * (h * (((((251 * IDX(i,j,n)) + (646 * IDX(i,j,n+1))) - (264 * IDX(i,j,n+2))) + (106 * IDX(i,j,n+3))) - (19 * IDX(i,j,n+4)))))"},
    {255, "IDXDZ(i,j,n+2) - (0.001388888888888889 * (h * (((((-19 * IDX(i,j,n)) + (346 * IDX(i,j,n+1))) + (456 * IDX(i,j,n+2))) - (74 * IDX(i,j,n+3))) + (11 * IDX(i,j,n+4)))))"},
    {256, "IDXDZ(i,j,n+3) - (0.001388888888888889 * (h * (((((11 * IDX(i,j,n)) - (74 * IDX(i,j,n+1))) + (456 * IDX(i,j,n+2))) + (346 * IDX(i,j,n+3))) - (19 * IDX(i,j,n+4)))))"},
    {257, "IDXDZ(i,j,n+4) - (0.001388888888888889 * (h * (((((-19 * IDX(i,j,n)) + (106 * IDX(i,j,n+1))) - (264 * IDX(i,j,n+2))) + (646 * IDX(i,j,n+3))) + (251 * IDX(i,j,n+4)))))"},
    {258, "IDYDZ(i,j,n+1) - (0.001388888888888889 * (h * (((((251 * IDY(i,j,n)) + (646 * IDY(i,j,n+1))) - (264 * IDY(i,j,n+2))) + (106 * IDY(i,j,n+3))) - (19 * IDY(i,j,n+4)))))"},
    {259, "IDYDZ(i,j,n+2) - (0.001388888888888889 * (h * (((((-19 * IDY(i,j,n)) + (346 * IDY(i,j,n+1))) + (456 * IDY(i,j,n+2))) - (74 * IDY(i,j,n+3))) + (11 * IDY(i,j,n+4)))))"},
    {260, "IDYDZ(i,j,n+3) - (0.001388888888888889 * (h * (((((11 * IDY(i,j,n)) - (74 * IDY(i,j,n+1))) + (456 * IDY(i,j,n+2))) + (346 * IDY(i,j,n+3))) - (19 * IDY(i,j,n+4)))))"},
    {261, "IDYDZ(i,j,n+4) - (0.001388888888888889 * (h * (((((-19 * IDY(i,j,n)) + (106 * IDY(i,j,n+1))) - (264 * IDY(i,j,n+2))) + (646 * IDY(i,j,n+3))) + (251 * IDY(i,j,n+4)))))"},
    {262, "IDXDYDZ(i,j,n+1) - (0.001388888888888889 * (h * (((((251 * IDXDY(i,j,n)) + (646 * IDXDY(i,j,n+1))) - (264 * IDXDY(i,j,n+2))) + (106 * IDXDY(i,j,n+3))) - (19 * IDXDY(i,j,n+4)))))"},
    {263, "IDXDYDZ(i,j,n+2) - (0.001388888888888889 * (h * (((((-19 * IDXDY(i,j,n)) + (346 * IDXDY(i,j,n+1))) + (456 * IDXDY(i,j,n+2))) - (74 * IDXDY(i,j,n+3))) + (11 * IDXDY(i,j,n+4)))))"},
    {264, "IDXDYDZ(i,j,n+3) - (0.001388888888888889 * (h * (((((11 * IDXDY(i,j,n)) - (74 * IDXDY(i,j,n+1))) + (456 * IDXDY(i,j,n+2))) + (346 * IDXDY(i,j,n+3))) - (19 * IDXDY(i,j,n+4)))))"},
    {265, "IDXDYDZ(i,j,n+4) - (0.001388888888888889 * (h * (((((-19 * IDXDY(i,j,n)) + (106 * IDXDY(i,j,n+1))) - (264 * IDXDY(i,j,n+2))) + (646 * IDXDY(i,j,n+3))) + (251 * IDXDY(i,j,n+4)))))"},
);

}  // namespace

extern const int kReachUbfd4 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Ubfd4X() {
    if (UsedX() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            Each(kK, 0, m_z.EndNode(), [&] {
                EachSection(m_x, [&](int s) {
                    if (s == 1) Emit(kRows, 211);
                    Emit(kRows, 212);
                    Emit(kRows, 213);
                    Each(kI, B() + 3, E() - 1, [&] { Emit(kRows, 214); });
                    Emit(kRows, 215);
                });
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int s) {
            EachIn(kJ, m_y.Lines(), [&] {
                EachIn(kK, m_z.Lines(), [&] {
                    Emit(kRows, 216);
                    Emit(kRows, 217);
                    Each(kI, B() + 3, E() - 1, [&] { Emit(kRows, 218); });
                });
            });
            if (s != 1) {
                Each(kJ, 0, m_y.EndNode(), [&] { Each(kK, 0, m_z.EndNode(), [&] { Emit(kRows, 219); }); });
            }
        });
    }
    if (Has("idx") || Has("idxdy") || Has("idxdz") || Has("idxdydz")) {
        ElementRows(kRows, 220, 4, m_x, {kK, 0, m_z}, {kJ, 0, m_y});
    }
}

template <class Sink>
void Walk<Sink>::Ubfd4Y() {
    if (UsedY() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            Each(kK, 0, m_z.EndNode(), [&] {
                EachSection(m_y, [&](int s) {
                    if (s == 1) Emit(kRows, 224);
                    Emit(kRows, 225);
                    Emit(kRows, 226);
                    Each(kJ, B() + 3, E() - 1, [&] { Emit(kRows, 227); });
                    Emit(kRows, 228);
                });
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                EachIn(kK, m_z.Lines(), [&] {
                    Emit(kRows, 229);
                    Emit(kRows, 230);
                    Each(kJ, B() + 3, E() - 1, [&] { Emit(kRows, 231); });
                });
            });
            if (s != 1) {
                EachIn(kI, m_x.Lines(), [&] { Each(kK, 0, m_z.EndNode(), [&] { Emit(kRows, 232); }); });
            }
        });
    }
    // IDXDY integrates IDX, whose plane i = 0 the start rows pin.
    auto integrate = [&](long long firstI, int site) {
        ElementRows(kRows, site, 4, m_y, {kK, 0, m_z}, {kI, firstI, m_x});
    };
    if (Has("idy") || Has("idydz")) integrate(0, 233);
    if (Has("idxdy") || Has("idxdydz")) integrate(1, 237);
}

template <class Sink>
void Walk<Sink>::Ubfd4Z() {
    if (UsedZ() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            Each(kI, 0, m_x.EndNode(), [&] {
                EachSection(m_z, [&](int s) {
                    if (s == 1) Emit(kRows, 241);
                    Emit(kRows, 242);
                    Emit(kRows, 243);
                    Each(kK, B() + 3, E() - 1, [&] { Emit(kRows, 244); });
                    Emit(kRows, 245);
                });
            });
        });
    }
    if (UsedZ() > 1) {
        EachSection(m_z, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                EachIn(kJ, m_y.Lines(), [&] {
                    Emit(kRows, 246);
                    Emit(kRows, 247);
                    Each(kK, B() + 3, E() - 1, [&] { Emit(kRows, 248); });
                });
            });
            if (s != 1) {
                EachIn(kI, m_x.Lines(), [&] { EachIn(kJ, m_y.Lines(), [&] { Emit(kRows, 249); }); });
            }
        });
    }
    // An integral built on IDX, IDY or IDXDY leaves out the planes i = 0 and
    // j = 0 that the start rows pin.
    auto integrate = [&](long long firstJ, long long firstI, int site) {
        ElementRows(kRows, site, 4, m_z, {kJ, firstJ, m_y}, {kI, firstI, m_x});
    };
    if (Has("idz")) integrate(0, 0, 250);
    if (Has("idxdz")) integrate(0, 1, 254);
    if (Has("idydz")) integrate(1, 0, 258);
    if (Has("idxdydz")) integrate(1, 1, 262);
}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Ubfd4)
