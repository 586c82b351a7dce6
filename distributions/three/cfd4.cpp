// CFD4 in three dimensions: first and second derivatives by five-point
// differences (central inside a section, one-sided over a section's first or
// last five nodes), integrals by the five-point rule over each element of four
// intervals. At a section joint with first derivatives only, equal spacings on
// both sides let the central row run on across the joint; unequal ones (any
// difference, or a NaN) would make that row wrong, so three-point rows take
// its place, the one at the joint spanning both sections. With second
// derivatives each section keeps its own one-sided rows and the joint has a
// backward and a forward row.
#include "distributions/three/walk.h"

namespace zr_distribution3d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {141, "(24 * (DDX(b,j,k) * h)) + ((6 * VALUE(b+4,j,k)) - ((((-50 * VALUE(b,j,k)) + (96 * VALUE(b+1,j,k))) - (72 * VALUE(b+2,j,k))) + (32 * VALUE(b+3,j,k))))"},
    {142, "(24 * (DDX(b+1,j,k) * h)) - (((((-6 * VALUE(b,j,k)) - (20 * VALUE(b+1,j,k))) + (36 * VALUE(b+2,j,k))) - (12 * VALUE(b+3,j,k))) + (2 * VALUE(b+4,j,k)))"},
    {143, "(2 * (DDX(b+1,j,k) * h)) + (VALUE(b,j,k) - VALUE(b+2,j,k))"},
    {144, "(24 * (DDX(b+1,j,k) * h)) + ((2 * VALUE(b+3,j,k)) - (((2 * VALUE(b-1,j,k)) - (16 * VALUE(b,j,k))) + (16 * VALUE(b+2,j,k))))"},
    {145, "(24 * (DDX(i,j,k) * h)) + ((2 * VALUE(i+2,j,k)) - (((2 * VALUE(i-2,j,k)) - (16 * VALUE(i-1,j,k))) + (16 * VALUE(i+1,j,k))))"},
    {146, "(24 * (DDX(e-1,j,k) * h)) - (((((-2 * VALUE(e-4,j,k)) + (12 * VALUE(e-3,j,k))) - (36 * VALUE(e-2,j,k))) + (20 * VALUE(e-1,j,k))) + (6 * VALUE(e,j,k)))"},
    {147, "(24 * (DDX(e,j,k) * h)) - (((((6 * VALUE(e-4,j,k)) - (32 * VALUE(e-3,j,k))) + (72 * VALUE(e-2,j,k))) - (96 * VALUE(e-1,j,k))) + (50 * VALUE(e,j,k)))"},
    {148, "(DDX(e,j,k) * (h(s+1) + h)) + (VALUE(e-1,j,k) - VALUE(e+1,j,k))"},
    {149, "(2 * (DDX(e-1,j,k) * h)) + (VALUE(e-2,j,k) - VALUE(e,j,k))"},
    {150, "(24 * (DDX(i,j,k) * h)) + ((2 * VALUE(i+2,j,k)) - (((2 * VALUE(i-2,j,k)) - (16 * VALUE(i-1,j,k))) + (16 * VALUE(i+1,j,k))))"},
    {151, "(12 * (D2DX2(b+1,j,k) * square(h))) + (VALUE(b+4,j,k) - ((((11 * VALUE(b,j,k)) - (20 * VALUE(b+1,j,k))) + (6 * VALUE(b+2,j,k))) + (4 * VALUE(b+3,j,k))))"},
    {152, "(12 * (D2DX2(i,j,k) * square(h))) + (VALUE(i+2,j,k) - ((((16 * VALUE(i-1,j,k)) - VALUE(i-2,j,k)) - (30 * VALUE(i,j,k))) + (16 * VALUE(i+1,j,k))))"},
    {153, "(12 * (D2DX2(e-1,j,k) * square(h))) - (((((4 * VALUE(e-3,j,k)) - VALUE(e-4,j,k)) + (6 * VALUE(e-2,j,k))) - (20 * VALUE(e-1,j,k))) + (11 * VALUE(e,j,k)))"},
    {154, "(24 * (DDX(b,j,k) * h)) + ((6 * VALUE(b+4,j,k)) - ((((-50 * VALUE(b,j,k)) + (96 * VALUE(b+1,j,k))) - (72 * VALUE(b+2,j,k))) + (32 * VALUE(b+3,j,k))))"},
    {155, "IDX(n+1,j,k) - (0.001388888888888889 * (h * (((((251 * VALUE(n,j,k)) + (646 * VALUE(n+1,j,k))) - (264 * VALUE(n+2,j,k))) + (106 * VALUE(n+3,j,k))) - (19 * VALUE(n+4,j,k)))))"},
    {156, "IDX(n+2,j,k) - (0.001388888888888889 * (h * (((((-19 * VALUE(n,j,k)) + (346 * VALUE(n+1,j,k))) + (456 * VALUE(n+2,j,k))) - (74 * VALUE(n+3,j,k))) + (11 * VALUE(n+4,j,k)))))"},
    {157, "IDX(n+3,j,k) - (0.001388888888888889 * (h * (((((11 * VALUE(n,j,k)) - (74 * VALUE(n+1,j,k))) + (456 * VALUE(n+2,j,k))) + (346 * VALUE(n+3,j,k))) - (19 * VALUE(n+4,j,k)))))"},
    {158, "IDX(n+4,j,k) - (0.001388888888888889 * (h * (((((-19 * VALUE(n,j,k)) + (106 * VALUE(n+1,j,k))) - (264 * VALUE(n+2,j,k))) + (646 * VALUE(n+3,j,k))) + (251 * VALUE(n+4,j,k)))))"},
    {159, "(24 * (DDY(i,b,k) * h)) + ((6 * VALUE(i,b+4,k)) - ((((-50 * VALUE(i,b,k)) + (96 * VALUE(i,b+1,k))) - (72 * VALUE(i,b+2,k))) + (32 * VALUE(i,b+3,k))))"},
    {160, "(24 * (DDY(i,b+1,k) * h)) - (((((-6 * VALUE(i,b,k)) - (20 * VALUE(i,b+1,k))) + (36 * VALUE(i,b+2,k))) - (12 * VALUE(i,b+3,k))) + (2 * VALUE(i,b+4,k)))"},
    {161, "(2 * (DDY(i,b+1,k) * h)) + (VALUE(i,b,k) - VALUE(i,b+2,k))"},
    {162, "(24 * (DDY(i,b+1,k) * h)) + ((2 * VALUE(i,b+3,k)) - (((2 * VALUE(i,b-1,k)) - (16 * VALUE(i,b,k))) + (16 * VALUE(i,b+2,k))))"},
    {163, "(24 * (DDY(i,j,k) * h)) + ((2 * VALUE(i,j+2,k)) - (((2 * VALUE(i,j-2,k)) - (16 * VALUE(i,j-1,k))) + (16 * VALUE(i,j+1,k))))"},
    {164, "(24 * (DDY(i,e-1,k) * h)) - (((((-2 * VALUE(i,e-4,k)) + (12 * VALUE(i,e-3,k))) - (36 * VALUE(i,e-2,k))) + (20 * VALUE(i,e-1,k))) + (6 * VALUE(i,e,k)))"},
    {165, "(24 * (DDY(i,e,k) * h)) - (((((6 * VALUE(i,e-4,k)) - (32 * VALUE(i,e-3,k))) + (72 * VALUE(i,e-2,k))) - (96 * VALUE(i,e-1,k))) + (50 * VALUE(i,e,k)))"},
    {166, "(DDY(i,e,k) * (h(s+1) + h)) + (VALUE(i,e-1,k) - VALUE(i,e+1,k))"},
    {167, "(2 * (DDY(i,e-1,k) * h)) + (VALUE(i,e-2,k) - VALUE(i,e,k))"},
    {168, "(24 * (DDY(i,j,k) * h)) + ((2 * VALUE(i,j+2,k)) - (((2 * VALUE(i,j-2,k)) - (16 * VALUE(i,j-1,k))) + (16 * VALUE(i,j+1,k))))"},
    {169, "(12 * (D2DY2(i,b+1,k) * square(h))) + (VALUE(i,b+4,k) - ((((11 * VALUE(i,b,k)) - (20 * VALUE(i,b+1,k))) + (6 * VALUE(i,b+2,k))) + (4 * VALUE(i,b+3,k))))"},
    {170, "(12 * (D2DY2(i,j,k) * square(h))) + (VALUE(i,j+2,k) - ((((16 * VALUE(i,j-1,k)) - VALUE(i,j-2,k)) - (30 * VALUE(i,j,k))) + (16 * VALUE(i,j+1,k))))"},
    {171, "(12 * (D2DY2(i,e-1,k) * square(h))) - (((((4 * VALUE(i,e-3,k)) - VALUE(i,e-4,k)) + (6 * VALUE(i,e-2,k))) - (20 * VALUE(i,e-1,k))) + (11 * VALUE(i,e,k)))"},
    {172, "(24 * (DDY(i,b,k) * h)) + ((6 * VALUE(i,b+4,k)) - ((((-50 * VALUE(i,b,k)) + (96 * VALUE(i,b+1,k))) - (72 * VALUE(i,b+2,k))) + (32 * VALUE(i,b+3,k))))"},
    {173, "IDY(i,n+1,k) - (0.001388888888888889 * (h * (((((251 * VALUE(i,n,k)) + (646 * VALUE(i,n+1,k))) - (264 * VALUE(i,n+2,k))) + (106 * VALUE(i,n+3,k))) - (19 * VALUE(i,n+4,k)))))"},
    {174, "IDY(i,n+2,k) - (0.001388888888888889 * (h * (((((-19 * VALUE(i,n,k)) + (346 * VALUE(i,n+1,k))) + (456 * VALUE(i,n+2,k))) - (74 * VALUE(i,n+3,k))) + (11 * VALUE(i,n+4,k)))))"},
    {175, "IDY(i,n+3,k) - (0.001388888888888889 * (h * (((((11 * VALUE(i,n,k)) - (74 * VALUE(i,n+1,k))) + (456 * VALUE(i,n+2,k))) + (346 * VALUE(i,n+3,k))) - (19 * VALUE(i,n+4,k)))))"},
    {176, "IDY(i,n+4,k) - (0.001388888888888889 * (h * (((((-19 * VALUE(i,n,k)) + (106 * VALUE(i,n+1,k))) - (264 * VALUE(i,n+2,k))) + (646 * VALUE(i,n+3,k))) + (251 * VALUE(i,n+4,k)))))"},
    {177, "IDXDY(i,n+1,k) - (0.001388888888888889 * (h * (((((251 * IDX(i,n,k)) + (646 * IDX(i,n+1,k))) - (264 * IDX(i,n+2,k))) + (106 * IDX(i,n+3,k))) - (19 * IDX(i,n+4,k)))))"},
    {178, "IDXDY(i,n+2,k) - (0.001388888888888889 * (h * (((((-19 * IDX(i,n,k)) + (346 * IDX(i,n+1,k))) + (456 * IDX(i,n+2,k))) - (74 * IDX(i,n+3,k))) + (11 * IDX(i,n+4,k)))))"},
    {179, "IDXDY(i,n+3,k) - (0.001388888888888889 * (h * (((((11 * IDX(i,n,k)) - (74 * IDX(i,n+1,k))) + (456 * IDX(i,n+2,k))) + (346 * IDX(i,n+3,k))) - (19 * IDX(i,n+4,k)))))"},
    {180, "IDXDY(i,n+4,k) - (0.001388888888888889 * (h * (((((-19 * IDX(i,n,k)) + (106 * IDX(i,n+1,k))) - (264 * IDX(i,n+2,k))) + (646 * IDX(i,n+3,k))) + (251 * IDX(i,n+4,k)))))"},
    {181, "(24 * (DDZ(i,j,b) * h)) + ((6 * VALUE(i,j,b+4)) - ((((-50 * VALUE(i,j,b)) + (96 * VALUE(i,j,b+1))) - (72 * VALUE(i,j,b+2))) + (32 * VALUE(i,j,b+3))))"},
    {182, "(24 * (DDZ(i,j,b+1) * h)) - (((((-6 * VALUE(i,j,b)) - (20 * VALUE(i,j,b+1))) + (36 * VALUE(i,j,b+2))) - (12 * VALUE(i,j,b+3))) + (2 * VALUE(i,j,b+4)))"},
    {183, "(2 * (DDZ(i,j,b+1) * h)) + (VALUE(i,j,b) - VALUE(i,j,b+2))"},
    {184, "(24 * (DDZ(i,j,b+1) * h)) + ((2 * VALUE(i,j,b+3)) - (((2 * VALUE(i,j,b-1)) - (16 * VALUE(i,j,b))) + (16 * VALUE(i,j,b+2))))"},
    {185, "(24 * (DDZ(i,j,k) * h)) + ((2 * VALUE(i,j,k+2)) - (((2 * VALUE(i,j,k-2)) - (16 * VALUE(i,j,k-1))) + (16 * VALUE(i,j,k+1))))"},
    {186, "(24 * (DDZ(i,j,e-1) * h)) - (((((-2 * VALUE(i,j,e-4)) + (12 * VALUE(i,j,e-3))) - (36 * VALUE(i,j,e-2))) + (20 * VALUE(i,j,e-1))) + (6 * VALUE(i,j,e)))"},
    {187, "(24 * (DDZ(i,j,e) * h)) - (((((6 * VALUE(i,j,e-4)) - (32 * VALUE(i,j,e-3))) + (72 * VALUE(i,j,e-2))) - (96 * VALUE(i,j,e-1))) + (50 * VALUE(i,j,e)))"},
    {188, "(DDZ(i,j,e) * (h(s+1) + h)) + (VALUE(i,j,e-1) - VALUE(i,j,e+1))"},
    {189, "(2 * (DDZ(i,j,e-1) * h)) + (VALUE(i,j,e-2) - VALUE(i,j,e))"},
    {190, "(24 * (DDZ(i,j,k) * h)) + ((2 * VALUE(i,j,k+2)) - (((2 * VALUE(i,j,k-2)) - (16 * VALUE(i,j,k-1))) + (16 * VALUE(i,j,k+1))))"},
    {191, "(12 * (D2DZ2(i,j,b+1) * square(h))) + (VALUE(i,j,b+4) - ((((11 * VALUE(i,j,b)) - (20 * VALUE(i,j,b+1))) + (6 * VALUE(i,j,b+2))) + (4 * VALUE(i,j,b+3))))"},
    {192, "(12 * (D2DZ2(i,j,k) * square(h))) + (VALUE(i,j,k+2) - ((((16 * VALUE(i,j,k-1)) - VALUE(i,j,k-2)) - (30 * VALUE(i,j,k))) + (16 * VALUE(i,j,k+1))))"},
    {193, "(12 * (D2DZ2(i,j,e-1) * square(h))) - (((((4 * VALUE(i,j,e-3)) - VALUE(i,j,e-4)) + (6 * VALUE(i,j,e-2))) - (20 * VALUE(i,j,e-1))) + (11 * VALUE(i,j,e)))"},
    {194, "(24 * (DDZ(i,j,b) * h)) + ((6 * VALUE(i,j,b+4)) - ((((-50 * VALUE(i,j,b)) + (96 * VALUE(i,j,b+1))) - (72 * VALUE(i,j,b+2))) + (32 * VALUE(i,j,b+3))))"},
    {195, "IDZ(i,j,n+1) - (0.001388888888888889 * (h * (((((251 * VALUE(i,j,n)) + (646 * VALUE(i,j,n+1))) - (264 * VALUE(i,j,n+2))) + (106 * VALUE(i,j,n+3))) - (19 * VALUE(i,j,n+4)))))"},
    {196, "IDZ(i,j,n+2) - (0.001388888888888889 * (h * (((((-19 * VALUE(i,j,n)) + (346 * VALUE(i,j,n+1))) + (456 * VALUE(i,j,n+2))) - (74 * VALUE(i,j,n+3))) + (11 * VALUE(i,j,n+4)))))"},
    {197, "IDZ(i,j,n+3) - (0.001388888888888889 * (h * (((((11 * VALUE(i,j,n)) - (74 * VALUE(i,j,n+1))) + (456 * VALUE(i,j,n+2))) + (346 * VALUE(i,j,n+3))) - (19 * VALUE(i,j,n+4)))))"},
    {198, "IDZ(i,j,n+4) - (0.001388888888888889 * (h * (((((-19 * VALUE(i,j,n)) + (106 * VALUE(i,j,n+1))) - (264 * VALUE(i,j,n+2))) + (646 * VALUE(i,j,n+3))) + (251 * VALUE(i,j,n+4)))))"},
    {199, "IDXDZ(i,j,n+1) - (0.001388888888888889 * (h * (((((251 * IDX(i,j,n)) + (646 * IDX(i,j,n+1))) - (264 * IDX(i,j,n+2))) + (106 * IDX(i,j,n+3))) - (19 * IDX(i,j,n+4)))))"},
    {200, "IDXDZ(i,j,n+2) - (0.001388888888888889 * (h * (((((-19 * IDX(i,j,n)) + (346 * IDX(i,j,n+1))) + (456 * IDX(i,j,n+2))) - (74 * IDX(i,j,n+3))) + (11 * IDX(i,j,n+4)))))"},
    {201, "IDXDZ(i,j,n+3) - (0.001388888888888889 * (h * (((((11 * IDX(i,j,n)) - (74 * IDX(i,j,n+1))) + (456 * IDX(i,j,n+2))) + (346 * IDX(i,j,n+3))) - (19 * IDX(i,j,n+4)))))"},
    {202, "IDXDZ(i,j,n+4) - (0.001388888888888889 * (h * (((((-19 * IDX(i,j,n)) + (106 * IDX(i,j,n+1))) - (264 * IDX(i,j,n+2))) + (646 * IDX(i,j,n+3))) + (251 * IDX(i,j,n+4)))))"},
    {203, "IDYDZ(i,j,n+1) - (0.001388888888888889 * (h * (((((251 * IDY(i,j,n)) + (646 * IDY(i,j,n+1))) - (264 * IDY(i,j,n+2))) + (106 * IDY(i,j,n+3))) - (19 * IDY(i,j,n+4)))))"},
    {204, "IDYDZ(i,j,n+2) - (0.001388888888888889 * (h * (((((-19 * IDY(i,j,n)) + (346 * IDY(i,j,n+1))) + (456 * IDY(i,j,n+2))) - (74 * IDY(i,j,n+3))) + (11 * IDY(i,j,n+4)))))"},
    {205, "IDYDZ(i,j,n+3) - (0.001388888888888889 * (h * (((((11 * IDY(i,j,n)) - (74 * IDY(i,j,n+1))) + (456 * IDY(i,j,n+2))) + (346 * IDY(i,j,n+3))) - (19 * IDY(i,j,n+4)))))"},
    {206, "IDYDZ(i,j,n+4) - (0.001388888888888889 * (h * (((((-19 * IDY(i,j,n)) + (106 * IDY(i,j,n+1))) - (264 * IDY(i,j,n+2))) + (646 * IDY(i,j,n+3))) + (251 * IDY(i,j,n+4)))))"},
    {207, "IDXDYDZ(i,j,n+1) - (0.001388888888888889 * (h * (((((251 * IDXDY(i,j,n)) + (646 * IDXDY(i,j,n+1))) - (264 * IDXDY(i,j,n+2))) + (106 * IDXDY(i,j,n+3))) - (19 * IDXDY(i,j,n+4)))))"},
    {208, "IDXDYDZ(i,j,n+2) - (0.001388888888888889 * (h * (((((-19 * IDXDY(i,j,n)) + (346 * IDXDY(i,j,n+1))) + (456 * IDXDY(i,j,n+2))) - (74 * IDXDY(i,j,n+3))) + (11 * IDXDY(i,j,n+4)))))"},
    {209, "IDXDYDZ(i,j,n+3) - (0.001388888888888889 * (h * (((((11 * IDXDY(i,j,n)) - (74 * IDXDY(i,j,n+1))) + (456 * IDXDY(i,j,n+2))) + (346 * IDXDY(i,j,n+3))) - (19 * IDXDY(i,j,n+4)))))"},
    {210, "IDXDYDZ(i,j,n+4) - (0.001388888888888889 * (h * (((((-19 * IDXDY(i,j,n)) + (106 * IDXDY(i,j,n+1))) - (264 * IDXDY(i,j,n+2))) + (646 * IDXDY(i,j,n+3))) + (251 * IDXDY(i,j,n+4)))))"},
);

// Whether section `other`'s spacing equals section s's own, exactly: lengths
// that differ in the last bit, or a NaN, are different. The neighbour's length
// is read first.
template <class Axis>
bool SameSpacing(const Axis& axis, long long other, long long s) {
    const double neighbour = axis.Spacing(other);
    const double own = axis.Spacing(s);
    return neighbour == own;
}

}  // namespace

extern const int kReachCfd4 = kRows.Reach();

// The row at a later section's second node after an equal-spacing joint
// (144, 162, 184) is declared once per line, all its terms on that line, as the
// rows around it are: it is the central row that crosses the joint.
template <class Sink>
void Walk<Sink>::Cfd4X() {
    if (UsedX() > 0) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kJ, 0, m_y.EndNode(), [&] {
                EachSection(m_x, [&](int s) {
                    if (s == 1 || UsedX() > 1) {
                        if (s == 1) Emit(kRows, 141);
                        Emit(kRows, 142);
                    } else if (!SameSpacing(m_x, s - 1, s)) {
                        Emit(kRows, 143);
                    } else {
                        Emit(kRows, 144);
                    }
                    Each(kI, B() + 2, E() - 2, [&] { Emit(kRows, 145); });
                    if (s == m_x.Sections() || UsedX() > 1) {
                        Emit(kRows, 146);
                        Emit(kRows, 147);
                    } else if (!SameSpacing(m_x, s + 1, s)) {
                        Emit(kRows, 148);
                        Emit(kRows, 149);
                    } else {
                        Each(kI, E() - 1, E(), [&] { Emit(kRows, 150); });
                    }
                });
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int s) {
            EachIn(kJ, m_y.Lines(), [&] {
                EachIn(kK, m_z.Lines(), [&] {
                    Emit(kRows, 151);
                    Each(kI, B() + 2, E() - 2, [&] { Emit(kRows, 152); });
                    Emit(kRows, 153);
                });
            });
            if (s != 1) {
                Each(kJ, 0, m_y.EndNode(), [&] { Each(kK, 0, m_z.EndNode(), [&] { Emit(kRows, 154); }); });
            }
        });
    }
    if (Has("idx") || Has("idxdy") || Has("idxdz") || Has("idxdydz")) {
        ElementRows(kRows, 155, 4, m_x, {kK, 0, m_z}, {kJ, 0, m_y});
    }
}

template <class Sink>
void Walk<Sink>::Cfd4Y() {
    if (UsedY() > 0) {
        Each(kK, 0, m_z.EndNode(), [&] {
            Each(kI, 0, m_x.EndNode(), [&] {
                EachSection(m_y, [&](int s) {
                    if (s == 1 || UsedY() > 1) {
                        if (s == 1) Emit(kRows, 159);
                        Emit(kRows, 160);
                    } else if (!SameSpacing(m_y, s - 1, s)) {
                        Emit(kRows, 161);
                    } else {
                        Emit(kRows, 162);
                    }
                    Each(kJ, B() + 2, E() - 2, [&] { Emit(kRows, 163); });
                    if (s == m_y.Sections() || UsedY() > 1) {
                        Emit(kRows, 164);
                        Emit(kRows, 165);
                    } else if (!SameSpacing(m_y, s + 1, s)) {
                        Emit(kRows, 166);
                        Emit(kRows, 167);
                    } else {
                        Each(kJ, E() - 1, E(), [&] { Emit(kRows, 168); });
                    }
                });
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                EachIn(kK, m_z.Lines(), [&] {
                    Emit(kRows, 169);
                    Each(kJ, B() + 2, E() - 2, [&] { Emit(kRows, 170); });
                    Emit(kRows, 171);
                });
            });
            if (s != 1) {
                EachIn(kI, m_x.Lines(), [&] { Each(kK, 0, m_z.EndNode(), [&] { Emit(kRows, 172); }); });
            }
        });
    }
    // IDXDY integrates IDX, whose plane i = 0 the start rows pin.
    auto integrate = [&](long long firstI, int site) {
        ElementRows(kRows, site, 4, m_y, {kK, 0, m_z}, {kI, firstI, m_x});
    };
    if (Has("idy") || Has("idydz")) integrate(0, 173);
    if (Has("idxdy") || Has("idxdydz")) integrate(1, 177);
}

template <class Sink>
void Walk<Sink>::Cfd4Z() {
    if (UsedZ() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            Each(kI, 0, m_x.EndNode(), [&] {
                EachSection(m_z, [&](int s) {
                    if (s == 1 || UsedZ() > 1) {
                        if (s == 1) Emit(kRows, 181);
                        Emit(kRows, 182);
                    } else if (!SameSpacing(m_z, s - 1, s)) {
                        Emit(kRows, 183);
                    } else {
                        Emit(kRows, 184);
                    }
                    Each(kK, B() + 2, E() - 2, [&] { Emit(kRows, 185); });
                    if (s == m_z.Sections() || UsedZ() > 1) {
                        Emit(kRows, 186);
                        Emit(kRows, 187);
                    } else if (!SameSpacing(m_z, s + 1, s)) {
                        Emit(kRows, 188);
                        Emit(kRows, 189);
                    } else {
                        Each(kK, E() - 1, E(), [&] { Emit(kRows, 190); });
                    }
                });
            });
        });
    }
    if (UsedZ() > 1) {
        EachSection(m_z, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                EachIn(kJ, m_y.Lines(), [&] {
                    Emit(kRows, 191);
                    Each(kK, B() + 2, E() - 2, [&] { Emit(kRows, 192); });
                    Emit(kRows, 193);
                });
            });
            if (s != 1) {
                EachIn(kI, m_x.Lines(), [&] { EachIn(kJ, m_y.Lines(), [&] { Emit(kRows, 194); }); });
            }
        });
    }
    // An integral built on IDX, IDY or IDXDY leaves out the planes i = 0 and
    // j = 0 that the start rows pin.
    auto integrate = [&](long long firstJ, long long firstI, int site) {
        ElementRows(kRows, site, 4, m_z, {kJ, firstJ, m_y}, {kI, firstI, m_x});
    };
    if (Has("idz")) integrate(0, 0, 195);
    if (Has("idxdz")) integrate(0, 1, 199);
    if (Has("idydz")) integrate(1, 0, 203);
    if (Has("idxdydz")) integrate(1, 1, 207);
}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Cfd4)
