// OCFE4 in three dimensions: orthogonal collocation on elements of five nodes
// (two ends and three collocation points), each carrying the polynomial of
// degree four through its nodes. Every node gets one first-derivative row from
// one element: with "Backward" the element that ends there (and the domain's
// first node from the first element), otherwise the element that begins there
// (and, with "Forward", the domain's last node from the last element). When
// second derivatives are used and the highest order is exactly 2, the element
// on the other side of an inner element end adds a second first-derivative row
// there, so that the two polynomials meeting at the node agree in slope; with
// "Forward" a section's last node gets none. Integrals are per node interval,
// from the element's polynomial.
//
// The three blocks share their rows term for term; they differ in the loop
// orders and line sets over the two other directions and in their integrals.
#include "distributions/three/walk.h"

namespace zr_distribution3d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {355, "(DDX(b,j,k) * h) + (VALUE(b+4,j,k) - ((((-13.0 * VALUE(b,j,k)) + (14.78831 * VALUE(b+1,j,k))) - (2.66667 * VALUE(b+2,j,k))) + (1.87836 * VALUE(b+3,j,k))))"},
    {356, "(DDX(e,j,k) * h) - (((((13.0 * VALUE(e,j,k)) - (14.78831 * VALUE(e-1,j,k))) + (2.66667 * VALUE(e-2,j,k))) - (1.87836 * VALUE(e-3,j,k))) + VALUE(e-4,j,k))"},
    {357, "(DDX(n+1,j,k) * h) - (((((-5.32379 * VALUE(n,j,k)) + (3.87298 * VALUE(n+1,j,k))) + (2.06559 * VALUE(n+2,j,k))) - (1.29099 * VALUE(n+3,j,k))) + (0.67621 * VALUE(n+4,j,k)))"},
    {358, "(DDX(n+2,j,k) * h) + ((1.5 * VALUE(n+4,j,k)) - (((1.5 * VALUE(n,j,k)) - (3.22749 * VALUE(n+1,j,k))) + (3.22749 * VALUE(n+3,j,k))))"},
    {359, "(DDX(n+3,j,k) * h) - (((((-0.67621 * VALUE(n,j,k)) + (1.29099 * VALUE(n+1,j,k))) - (2.06559 * VALUE(n+2,j,k))) - (3.87298 * VALUE(n+3,j,k))) + (5.32379 * VALUE(n+4,j,k)))"},
    {360, "(DDX(n+4,j,k) * h) - ((((VALUE(n,j,k) - (1.87836 * VALUE(n+1,j,k))) + (2.66667 * VALUE(n+2,j,k))) - (14.78831 * VALUE(n+3,j,k))) + (13.0 * VALUE(n+4,j,k)))"},
    {361, "(DDX(n,j,k) * h) + (VALUE(n+4,j,k) - ((((-13.0 * VALUE(n,j,k)) + (14.78831 * VALUE(n+1,j,k))) - (2.66667 * VALUE(n+2,j,k))) + (1.87836 * VALUE(n+3,j,k))))"},
    {362, "(D2DX2(n+1,j,k) * square(h)) - (((((53.2379 * VALUE(n,j,k)) - (73.33333 * VALUE(n+1,j,k))) + (26.66666 * VALUE(n+2,j,k))) - (13.33333 * VALUE(n+3,j,k))) + (6.7621 * VALUE(n+4,j,k)))"},
    {363, "(D2DX2(n+2,j,k) * square(h)) + ((6.0 * VALUE(n+4,j,k)) - ((((-6.0 * VALUE(n,j,k)) + (16.66667 * VALUE(n+1,j,k))) - (21.33334 * VALUE(n+2,j,k))) + (16.66667 * VALUE(n+3,j,k))))"},
    {364, "(D2DX2(n+3,j,k) * square(h)) - (((((6.7621 * VALUE(n,j,k)) - (13.33333 * VALUE(n+1,j,k))) + (26.66666 * VALUE(n+2,j,k))) - (73.33333 * VALUE(n+3,j,k))) + (53.2379 * VALUE(n+4,j,k)))"},
    {365, "(DDX(n,j,k) * h) + (VALUE(n+4,j,k) - ((((-13.0 * VALUE(n,j,k)) + (14.78831 * VALUE(n+1,j,k))) - (2.66667 * VALUE(n+2,j,k))) + (1.87836 * VALUE(n+3,j,k))))"},
    {366, "(DDX(n+4,j,k) * h) - ((((VALUE(n,j,k) - (1.87836 * VALUE(n+1,j,k))) + (2.66667 * VALUE(n+2,j,k))) - (14.78831 * VALUE(n+3,j,k))) + (13.0 * VALUE(n+4,j,k)))"},
    {367, "IDX(n+1,j,k) - (h * (((((0.04824 * VALUE(n,j,k)) + (0.06788 * VALUE(n+1,j,k))) - (0.00499 * VALUE(n+2,j,k))) + (0.00333 * VALUE(n+3,j,k))) - (0.00176 * VALUE(n+4,j,k))))"},
    {368, "IDX(n+2,j,k) - (h * (((((-0.07949 * VALUE(n,j,k)) + (0.27272 * VALUE(n+1,j,k))) + (0.22722 * VALUE(n+2,j,k))) - (0.06616 * VALUE(n+3,j,k))) + (0.03301 * VALUE(n+4,j,k))))"},
    {369, "IDX(n+3,j,k) - (h * (((((0.03301 * VALUE(n,j,k)) - (0.06616 * VALUE(n+1,j,k))) + (0.22722 * VALUE(n+2,j,k))) + (0.27272 * VALUE(n+3,j,k))) - (0.07949 * VALUE(n+4,j,k))))"},
    {370, "IDX(n+4,j,k) - (h * (((((-0.00176 * VALUE(n,j,k)) + (0.00333 * VALUE(n+1,j,k))) - (0.00499 * VALUE(n+2,j,k))) + (0.06788 * VALUE(n+3,j,k))) + (0.04824 * VALUE(n+4,j,k))))"},
    {371, "(DDY(i,b,k) * h) + (VALUE(i,b+4,k) - ((((-13.0 * VALUE(i,b,k)) + (14.78831 * VALUE(i,b+1,k))) - (2.66667 * VALUE(i,b+2,k))) + (1.87836 * VALUE(i,b+3,k))))"},
    {372, "(DDY(i,e,k) * h) - (((((13.0 * VALUE(i,e,k)) - (14.78831 * VALUE(i,e-1,k))) + (2.66667 * VALUE(i,e-2,k))) - (1.87836 * VALUE(i,e-3,k))) + VALUE(i,e-4,k))"},
    {373, "(DDY(i,n+1,k) * h) - (((((-5.32379 * VALUE(i,n,k)) + (3.87298 * VALUE(i,n+1,k))) + (2.06559 * VALUE(i,n+2,k))) - (1.29099 * VALUE(i,n+3,k))) + (0.67621 * VALUE(i,n+4,k)))"},
    {374, "(DDY(i,n+2,k) * h) + ((1.5 * VALUE(i,n+4,k)) - (((1.5 * VALUE(i,n,k)) - (3.22749 * VALUE(i,n+1,k))) + (3.22749 * VALUE(i,n+3,k))))"},
    {375, "(DDY(i,n+3,k) * h) - (((((-0.67621 * VALUE(i,n,k)) + (1.29099 * VALUE(i,n+1,k))) - (2.06559 * VALUE(i,n+2,k))) - (3.87298 * VALUE(i,n+3,k))) + (5.32379 * VALUE(i,n+4,k)))"},
    {376, "(DDY(i,n+4,k) * h) - ((((VALUE(i,n,k) - (1.87836 * VALUE(i,n+1,k))) + (2.66667 * VALUE(i,n+2,k))) - (14.78831 * VALUE(i,n+3,k))) + (13.0 * VALUE(i,n+4,k)))"},
    {377, "(DDY(i,n,k) * h) + (VALUE(i,n+4,k) - ((((-13.0 * VALUE(i,n,k)) + (14.78831 * VALUE(i,n+1,k))) - (2.66667 * VALUE(i,n+2,k))) + (1.87836 * VALUE(i,n+3,k))))"},
    {378, "(D2DY2(i,n+1,k) * square(h)) - (((((53.2379 * VALUE(i,n,k)) - (73.33333 * VALUE(i,n+1,k))) + (26.66666 * VALUE(i,n+2,k))) - (13.33333 * VALUE(i,n+3,k))) + (6.7621 * VALUE(i,n+4,k)))"},
    {379, "(D2DY2(i,n+2,k) * square(h)) + ((6.0 * VALUE(i,n+4,k)) - ((((-6.0 * VALUE(i,n,k)) + (16.66667 * VALUE(i,n+1,k))) - (21.33334 * VALUE(i,n+2,k))) + (16.66667 * VALUE(i,n+3,k))))"},
    {380, "(D2DY2(i,n+3,k) * square(h)) - (((((6.7621 * VALUE(i,n,k)) - (13.33333 * VALUE(i,n+1,k))) + (26.66666 * VALUE(i,n+2,k))) - (73.33333 * VALUE(i,n+3,k))) + (53.2379 * VALUE(i,n+4,k)))"},
    {381, "(DDY(i,n,k) * h) + (VALUE(i,n+4,k) - ((((-13.0 * VALUE(i,n,k)) + (14.78831 * VALUE(i,n+1,k))) - (2.66667 * VALUE(i,n+2,k))) + (1.87836 * VALUE(i,n+3,k))))"},
    {382, "(DDY(i,n+4,k) * h) - ((((VALUE(i,n,k) - (1.87836 * VALUE(i,n+1,k))) + (2.66667 * VALUE(i,n+2,k))) - (14.78831 * VALUE(i,n+3,k))) + (13.0 * VALUE(i,n+4,k)))"},
    {383, "IDY(i,n+1,k) - (h * (((((0.04824 * VALUE(i,n,k)) + (0.06788 * VALUE(i,n+1,k))) - (0.00499 * VALUE(i,n+2,k))) + (0.00333 * VALUE(i,n+3,k))) - (0.00176 * VALUE(i,n+4,k))))"},
    {384, "IDY(i,n+2,k) - (h * (((((-0.07949 * VALUE(i,n,k)) + (0.27272 * VALUE(i,n+1,k))) + (0.22722 * VALUE(i,n+2,k))) - (0.06616 * VALUE(i,n+3,k))) + (0.03301 * VALUE(i,n+4,k))))"},
    {385, "IDY(i,n+3,k) - (h * (((((0.03301 * VALUE(i,n,k)) - (0.06616 * VALUE(i,n+1,k))) + (0.22722 * VALUE(i,n+2,k))) + (0.27272 * VALUE(i,n+3,k))) - (0.07949 * VALUE(i,n+4,k))))"},
    {386, "IDY(i,n+4,k) - (h * (((((-0.00176 * VALUE(i,n,k)) + (0.00333 * VALUE(i,n+1,k))) - (0.00499 * VALUE(i,n+2,k))) + (0.06788 * VALUE(i,n+3,k))) + (0.04824 * VALUE(i,n+4,k))))"},
    {387, "IDXDY(i,n+1,k) - (h * (((((0.04824 * IDX(i,n,k)) + (0.06788 * IDX(i,n+1,k))) - (0.00499 * IDX(i,n+2,k))) + (0.00333 * IDX(i,n+3,k))) - (0.00176 * IDX(i,n+4,k))))"},
    {388, "IDXDY(i,n+2,k) - (h * (((((-0.07949 * IDX(i,n,k)) + (0.27272 * IDX(i,n+1,k))) + (0.22722 * IDX(i,n+2,k))) - (0.06616 * IDX(i,n+3,k))) + (0.03301 * IDX(i,n+4,k))))"},
    {389, "IDXDY(i,n+3,k) - (h * (((((0.03301 * IDX(i,n,k)) - (0.06616 * IDX(i,n+1,k))) + (0.22722 * IDX(i,n+2,k))) + (0.27272 * IDX(i,n+3,k))) - (0.07949 * IDX(i,n+4,k))))"},
    {390, "IDXDY(i,n+4,k) - (h * (((((-0.00176 * IDX(i,n,k)) + (0.00333 * IDX(i,n+1,k))) - (0.00499 * IDX(i,n+2,k))) + (0.06788 * IDX(i,n+3,k))) + (0.04824 * IDX(i,n+4,k))))"},
    {391, "(DDZ(i,j,b) * h) + (VALUE(i,j,b+4) - ((((-13.0 * VALUE(i,j,b)) + (14.78831 * VALUE(i,j,b+1))) - (2.66667 * VALUE(i,j,b+2))) + (1.87836 * VALUE(i,j,b+3))))"},
    {392, "(DDZ(i,j,e) * h) - (((((13.0 * VALUE(i,j,e)) - (14.78831 * VALUE(i,j,e-1))) + (2.66667 * VALUE(i,j,e-2))) - (1.87836 * VALUE(i,j,e-3))) + VALUE(i,j,e-4))"},
    {393, "(DDZ(i,j,n+1) * h) - (((((-5.32379 * VALUE(i,j,n)) + (3.87298 * VALUE(i,j,n+1))) + (2.06559 * VALUE(i,j,n+2))) - (1.29099 * VALUE(i,j,n+3))) + (0.67621 * VALUE(i,j,n+4)))"},
    {394, "(DDZ(i,j,n+2) * h) + ((1.5 * VALUE(i,j,n+4)) - (((1.5 * VALUE(i,j,n)) - (3.22749 * VALUE(i,j,n+1))) + (3.22749 * VALUE(i,j,n+3))))"},
    {395, "(DDZ(i,j,n+3) * h) - (((((-0.67621 * VALUE(i,j,n)) + (1.29099 * VALUE(i,j,n+1))) - (2.06559 * VALUE(i,j,n+2))) - (3.87298 * VALUE(i,j,n+3))) + (5.32379 * VALUE(i,j,n+4)))"},
    {396, "(DDZ(i,j,n+4) * h) - ((((VALUE(i,j,n) - (1.87836 * VALUE(i,j,n+1))) + (2.66667 * VALUE(i,j,n+2))) - (14.78831 * VALUE(i,j,n+3))) + (13.0 * VALUE(i,j,n+4)))"},
    {397, "(DDZ(i,j,n) * h) + (VALUE(i,j,n+4) - ((((-13.0 * VALUE(i,j,n)) + (14.78831 * VALUE(i,j,n+1))) - (2.66667 * VALUE(i,j,n+2))) + (1.87836 * VALUE(i,j,n+3))))"},
    {398, "(D2DZ2(i,j,n+1) * square(h)) - (((((53.2379 * VALUE(i,j,n)) - (73.33333 * VALUE(i,j,n+1))) + (26.66666 * VALUE(i,j,n+2))) - (13.33333 * VALUE(i,j,n+3))) + (6.7621 * VALUE(i,j,n+4)))"},
    {399, "(D2DZ2(i,j,n+2) * square(h)) + ((6.0 * VALUE(i,j,n+4)) - ((((-6.0 * VALUE(i,j,n)) + (16.66667 * VALUE(i,j,n+1))) - (21.33334 * VALUE(i,j,n+2))) + (16.66667 * VALUE(i,j,n+3))))"},
    {400, "(D2DZ2(i,j,n+3) * square(h)) - (((((6.7621 * VALUE(i,j,n)) - (13.33333 * VALUE(i,j,n+1))) + (26.66666 * VALUE(i,j,n+2))) - (73.33333 * VALUE(i,j,n+3))) + (53.2379 * VALUE(i,j,n+4)))"},
    {401, "(DDZ(i,j,n) * h) + (VALUE(i,j,n+4) - ((((-13.0 * VALUE(i,j,n)) + (14.78831 * VALUE(i,j,n+1))) - (2.66667 * VALUE(i,j,n+2))) + (1.87836 * VALUE(i,j,n+3))))"},
    {402, "(DDZ(i,j,n+4) * h) - ((((VALUE(i,j,n) - (1.87836 * VALUE(i,j,n+1))) + (2.66667 * VALUE(i,j,n+2))) - (14.78831 * VALUE(i,j,n+3))) + (13.0 * VALUE(i,j,n+4)))"},
    {403, "IDZ(i,j,n+1) - (h * (((((0.04824 * VALUE(i,j,n)) + (0.06788 * VALUE(i,j,n+1))) - (0.00499 * VALUE(i,j,n+2))) + (0.00333 * VALUE(i,j,n+3))) - (0.00176 * VALUE(i,j,n+4))))"},
    {404, "IDZ(i,j,n+2) - (h * (((((-0.07949 * VALUE(i,j,n)) + (0.27272 * VALUE(i,j,n+1))) + (0.22722 * VALUE(i,j,n+2))) - (0.06616 * VALUE(i,j,n+3))) + (0.03301 * VALUE(i,j,n+4))))"},
    {405, "IDZ(i,j,n+3) - (h * (((((0.03301 * VALUE(i,j,n)) - (0.06616 * VALUE(i,j,n+1))) + (0.22722 * VALUE(i,j,n+2))) + (0.27272 * VALUE(i,j,n+3))) - (0.07949 * VALUE(i,j,n+4))))"},
    {406, "IDZ(i,j,n+4) - (h * (((((-0.00176 * VALUE(i,j,n)) + (0.00333 * VALUE(i,j,n+1))) - (0.00499 * VALUE(i,j,n+2))) + (0.06788 * VALUE(i,j,n+3))) + (0.04824 * VALUE(i,j,n+4))))"},
    {407, "IDXDZ(i,j,n+1) - (h * (((((0.04824 * IDX(i,j,n)) + (0.06788 * IDX(i,j,n+1))) - (0.00499 * IDX(i,j,n+2))) + (0.00333 * IDX(i,j,n+3))) - (0.00176 * IDX(i,j,n+4))))"},
    {408, "IDXDZ(i,j,n+2) - (h * (((((-0.07949 * IDX(i,j,n)) + (0.27272 * IDX(i,j,n+1))) + (0.22722 * IDX(i,j,n+2))) - (0.06616 * IDX(i,j,n+3))) + (0.03301 * IDX(i,j,n+4))))"},
    {409, "IDXDZ(i,j,n+3) - (h * (((((0.03301 * IDX(i,j,n)) - (0.06616 * IDX(i,j,n+1))) + (0.22722 * IDX(i,j,n+2))) + (0.27272 * IDX(i,j,n+3))) - (0.07949 * IDX(i,j,n+4))))"},
    {410, "IDXDZ(i,j,n+4) - (h * (((((-0.00176 * IDX(i,j,n)) + (0.00333 * IDX(i,j,n+1))) - (0.00499 * IDX(i,j,n+2))) + (0.06788 * IDX(i,j,n+3))) + (0.04824 * IDX(i,j,n+4))))"},
    {411, "IDYDZ(i,j,n+1) - (h * (((((0.04824 * IDY(i,j,n)) + (0.06788 * IDY(i,j,n+1))) - (0.00499 * IDY(i,j,n+2))) + (0.00333 * IDY(i,j,n+3))) - (0.00176 * IDY(i,j,n+4))))"},
    {412, "IDYDZ(i,j,n+2) - (h * (((((-0.07949 * IDY(i,j,n)) + (0.27272 * IDY(i,j,n+1))) + (0.22722 * IDY(i,j,n+2))) - (0.06616 * IDY(i,j,n+3))) + (0.03301 * IDY(i,j,n+4))))"},
    {413, "IDYDZ(i,j,n+3) - (h * (((((0.03301 * IDY(i,j,n)) - (0.06616 * IDY(i,j,n+1))) + (0.22722 * IDY(i,j,n+2))) + (0.27272 * IDY(i,j,n+3))) - (0.07949 * IDY(i,j,n+4))))"},
    {414, "IDYDZ(i,j,n+4) - (h * (((((-0.00176 * IDY(i,j,n)) + (0.00333 * IDY(i,j,n+1))) - (0.00499 * IDY(i,j,n+2))) + (0.06788 * IDY(i,j,n+3))) + (0.04824 * IDY(i,j,n+4))))"},
    {415, "IDXDYDZ(i,j,n+1) - (h * (((((0.04824 * IDXDY(i,j,n)) + (0.06788 * IDXDY(i,j,n+1))) - (0.00499 * IDXDY(i,j,n+2))) + (0.00333 * IDXDY(i,j,n+3))) - (0.00176 * IDXDY(i,j,n+4))))"},
    {416, "IDXDYDZ(i,j,n+2) - (h * (((((-0.07949 * IDXDY(i,j,n)) + (0.27272 * IDXDY(i,j,n+1))) + (0.22722 * IDXDY(i,j,n+2))) - (0.06616 * IDXDY(i,j,n+3))) + (0.03301 * IDXDY(i,j,n+4))))"},
    {417, "IDXDYDZ(i,j,n+3) - (h * (((((0.03301 * IDXDY(i,j,n)) - (0.06616 * IDXDY(i,j,n+1))) + (0.22722 * IDXDY(i,j,n+2))) + (0.27272 * IDXDY(i,j,n+3))) - (0.07949 * IDXDY(i,j,n+4))))"},
    {418, "IDXDYDZ(i,j,n+4) - (h * (((((-0.00176 * IDXDY(i,j,n)) + (0.00333 * IDXDY(i,j,n+1))) - (0.00499 * IDXDY(i,j,n+2))) + (0.06788 * IDXDY(i,j,n+3))) + (0.04824 * IDXDY(i,j,n+4))))"},
);

}  // namespace

extern const int kReachOcfe4 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Ocfe4X() {
    if (UsedX() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            Each(kK, 0, m_z.EndNode(), [&] {
                EachSection(m_x, [&](int s) {
                    if (s == 1 && m_x.Boundary("Backward")) {
                        Emit(kRows, 355);
                    } else if (s == m_x.Sections() && m_x.Boundary("Forward")) {
                        Emit(kRows, 356);
                    }
                    EachElement(m_x, [&] {
                        for (int site = 357; site <= 359; ++site) Emit(kRows, site);
                        Emit(kRows, m_x.Boundary("Backward") ? 360 : 361);
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
                        for (int site = 362; site <= 364; ++site) Emit(kRows, site);
                    });
                });
                if (HighestX() != 2) return;
                Each(kJ, 0, m_y.EndNode(), [&] {
                    Each(kK, 0, m_z.EndNode(), [&] {
                        if (N() != 0 && m_x.Boundary("Backward")) {
                            Emit(kRows, 365);
                        } else if (N() + 4 != E() && m_x.Boundary("Forward")) {
                            Emit(kRows, 366);
                        }
                    });
                });
            });
        });
    }
    if (Has("idx") || Has("idxdy") || Has("idxdz") || Has("idxdydz")) {
        ElementRows(kRows, 367, 4, m_x, {kK, 0, m_z}, {kJ, 0, m_y});
    }
}

template <class Sink>
void Walk<Sink>::Ocfe4Y() {
    if (UsedY() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            Each(kK, 0, m_z.EndNode(), [&] {
                EachSection(m_y, [&](int s) {
                    if (s == 1 && m_y.Boundary("Backward")) {
                        Emit(kRows, 371);
                    } else if (s == m_y.Sections() && m_y.Boundary("Forward")) {
                        Emit(kRows, 372);
                    }
                    EachElement(m_y, [&] {
                        for (int site = 373; site <= 375; ++site) Emit(kRows, site);
                        Emit(kRows, m_y.Boundary("Backward") ? 376 : 377);
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
                        for (int site = 378; site <= 380; ++site) Emit(kRows, site);
                    });
                });
                if (HighestY() != 2) return;
                EachIn(kI, m_x.Lines(), [&] {
                    Each(kK, 0, m_z.EndNode(), [&] {
                        if (N() != 0 && m_y.Boundary("Backward")) {
                            Emit(kRows, 381);
                        } else if (N() + 4 != E() && m_y.Boundary("Forward")) {
                            Emit(kRows, 382);
                        }
                    });
                });
            });
        });
    }
    // IDY, then IDXDY from IDX; x node 0 of IDXDY is a start row.
    auto integral = [&](long long iFrom, int first) {
        ElementRows(kRows, first, 4, m_y, {kK, 0, m_z}, {kI, iFrom, m_x});
    };
    if (Has("idy") || Has("idydz")) integral(0, 383);
    if (Has("idxdy") || Has("idxdydz")) integral(1, 387);
}

template <class Sink>
void Walk<Sink>::Ocfe4Z() {
    if (UsedZ() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            Each(kJ, 0, m_y.EndNode(), [&] {
                EachSection(m_z, [&](int s) {
                    if (s == 1 && m_z.Boundary("Backward")) {
                        Emit(kRows, 391);
                    } else if (s == m_z.Sections() && m_z.Boundary("Forward")) {
                        Emit(kRows, 392);
                    }
                    EachElement(m_z, [&] {
                        for (int site = 393; site <= 395; ++site) Emit(kRows, site);
                        Emit(kRows, m_z.Boundary("Backward") ? 396 : 397);
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
                        for (int site = 398; site <= 400; ++site) Emit(kRows, site);
                    });
                });
                if (HighestZ() != 2) return;
                EachIn(kI, m_x.Lines(), [&] {
                    EachIn(kJ, m_y.Lines(), [&] {
                        if (N() != 0 && m_z.Boundary("Backward")) {
                            Emit(kRows, 401);
                        } else if (N() + 4 != E() && m_z.Boundary("Forward")) {
                            Emit(kRows, 402);
                        }
                    });
                });
            });
        });
    }
    // IDZ, IDXDZ from IDX, IDYDZ from IDY, IDXDYDZ from IDXDY; node 0 of an
    // integrated x or y direction is a start row.
    auto integral = [&](long long jFrom, long long iFrom, int first) {
        ElementRows(kRows, first, 4, m_z, {kJ, jFrom, m_y}, {kI, iFrom, m_x});
    };
    if (Has("idz")) integral(0, 0, 403);
    if (Has("idxdz")) integral(0, 1, 407);
    if (Has("idydz")) integral(1, 0, 411);
    if (Has("idxdydz")) integral(1, 1, 415);
}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Ocfe4)
