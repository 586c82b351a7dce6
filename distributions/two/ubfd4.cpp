// UBFD4 in two dimensions: first derivatives by five-point differences biased
// toward lower node indices (three nodes behind, one ahead) from the fourth node
// of each section up to the one before its last, with the forward five-point
// row at the domain's first node, a forward-leaning row at each section's
// second node, the central row at its third and the backward five-point row at
// its last. Second derivatives follow the same layout, integrals the five-point
// rule over elements of four intervals. No stencil leaves its own section; when
// second derivatives are used, each joint node carries a second first-derivative
// row, forward over the new section, so the two one-sided derivatives there are
// made equal.
#include "distributions/two/walk.h"

namespace zr_distribution2d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    // --- x -------------------------------------------------------------------
    {117, "(24 * (DDX(i,j) * h)) + ((6 * VALUE(i+4,j)) - ((((-50 * VALUE(i,j)) + (96 * VALUE(i+1,j))) - (72 * VALUE(i+2,j))) + (32 * VALUE(i+3,j))))"},
    {118, "(24 * (DDX(i,j) * h)) - (((((-6 * VALUE(i-1,j)) - (20 * VALUE(i,j))) + (36 * VALUE(i+1,j))) - (12 * VALUE(i+2,j))) + (2 * VALUE(i+3,j)))"},
    {119, "(24 * (DDX(i,j) * h)) + ((2 * VALUE(i+2,j)) - (((2 * VALUE(i-2,j)) - (16 * VALUE(i-1,j))) + (16 * VALUE(i+1,j))))"},
    {120, "(24 * (DDX(i,j) * h)) - (((((-2 * VALUE(i-3,j)) + (12 * VALUE(i-2,j))) - (36 * VALUE(i-1,j))) + (20 * VALUE(i,j))) + (6 * VALUE(i+1,j)))"},
    {121, "(24 * (DDX(i,j) * h)) - (((((6 * VALUE(i-4,j)) - (32 * VALUE(i-3,j))) + (72 * VALUE(i-2,j))) - (96 * VALUE(i-1,j))) + (50 * VALUE(i,j)))"},
    {122, "(12 * (D2DX2(i,j) * square(h))) + (VALUE(i+3,j) - ((((11 * VALUE(i-1,j)) - (20 * VALUE(i,j))) + (6 * VALUE(i+1,j))) + (4 * VALUE(i+2,j))))"},
    {123, "(12 * (D2DX2(i,j) * square(h))) + (VALUE(i+2,j) - ((((16 * VALUE(i-1,j)) - VALUE(i-2,j)) - (30 * VALUE(i,j))) + (16 * VALUE(i+1,j))))"},
    {124, "(12 * (D2DX2(i,j) * square(h))) - (((((4 * VALUE(i-2,j)) - VALUE(i-3,j)) + (6 * VALUE(i-1,j))) - (20 * VALUE(i,j))) + (11 * VALUE(i+1,j)))"},
    {125, "(24 * (DDX(i,j) * h)) + ((6 * VALUE(i+4,j)) - ((((-50 * VALUE(i,j)) + (96 * VALUE(i+1,j))) - (72 * VALUE(i+2,j))) + (32 * VALUE(i+3,j))))"},
    {126, "IDX(n+1,j) - (0.001388888888888889 * (h * (((((251 * VALUE(n,j)) + (646 * VALUE(n+1,j))) - (264 * VALUE(n+2,j))) + (106 * VALUE(n+3,j))) - (19 * VALUE(n+4,j)))))"},
    {127, "IDX(n+2,j) - (0.001388888888888889 * (h * (((((-19 * VALUE(n,j)) + (346 * VALUE(n+1,j))) + (456 * VALUE(n+2,j))) - (74 * VALUE(n+3,j))) + (11 * VALUE(n+4,j)))))"},
    {128, "IDX(n+3,j) - (0.001388888888888889 * (h * (((((11 * VALUE(n,j)) - (74 * VALUE(n+1,j))) + (456 * VALUE(n+2,j))) + (346 * VALUE(n+3,j))) - (19 * VALUE(n+4,j)))))"},
    {129, "IDX(n+4,j) - (0.001388888888888889 * (h * (((((-19 * VALUE(n,j)) + (106 * VALUE(n+1,j))) - (264 * VALUE(n+2,j))) + (646 * VALUE(n+3,j))) + (251 * VALUE(n+4,j)))))"},
    // --- y -------------------------------------------------------------------
    {130, "(24 * (DDY(i,j) * h)) + ((6 * VALUE(i,j+4)) - ((((-50 * VALUE(i,j)) + (96 * VALUE(i,j+1))) - (72 * VALUE(i,j+2))) + (32 * VALUE(i,j+3))))"},
    {131, "(24 * (DDY(i,j) * h)) - (((((-6 * VALUE(i,j-1)) - (20 * VALUE(i,j))) + (36 * VALUE(i,j+1))) - (12 * VALUE(i,j+2))) + (2 * VALUE(i,j+3)))"},
    {132, "(24 * (DDY(i,j) * h)) + ((2 * VALUE(i,j+2)) - (((2 * VALUE(i,j-2)) - (16 * VALUE(i,j-1))) + (16 * VALUE(i,j+1))))"},
    {133, "(24 * (DDY(i,j) * h)) - (((((-2 * VALUE(i,j-3)) + (12 * VALUE(i,j-2))) - (36 * VALUE(i,j-1))) + (20 * VALUE(i,j))) + (6 * VALUE(i,j+1)))"},
    {134, "(24 * (DDY(i,j) * h)) - (((((6 * VALUE(i,j-4)) - (32 * VALUE(i,j-3))) + (72 * VALUE(i,j-2))) - (96 * VALUE(i,j-1))) + (50 * VALUE(i,j)))"},
    {135, "(12 * (D2DY2(i,j) * square(h))) + (VALUE(i,j+3) - ((((11 * VALUE(i,j-1)) - (20 * VALUE(i,j))) + (6 * VALUE(i,j+1))) + (4 * VALUE(i,j+2))))"},
    {136, "(12 * (D2DY2(i,j) * square(h))) + (VALUE(i,j+2) - ((((16 * VALUE(i,j-1)) - VALUE(i,j-2)) - (30 * VALUE(i,j))) + (16 * VALUE(i,j+1))))"},
    {137, "(12 * (D2DY2(i,j) * square(h))) - (((((4 * VALUE(i,j-2)) - VALUE(i,j-3)) + (6 * VALUE(i,j-1))) - (20 * VALUE(i,j))) + (11 * VALUE(i,j+1)))"},
    {138, "(24 * (DDY(i,j) * h)) + ((6 * VALUE(i,j+4)) - ((((-50 * VALUE(i,j)) + (96 * VALUE(i,j+1))) - (72 * VALUE(i,j+2))) + (32 * VALUE(i,j+3))))"},
    {139, "IDY(i,n+1) - (0.001388888888888889 * (h * (((((251 * VALUE(i,n)) + (646 * VALUE(i,n+1))) - (264 * VALUE(i,n+2))) + (106 * VALUE(i,n+3))) - (19 * VALUE(i,n+4)))))"},
    {140, "IDY(i,n+2) - (0.001388888888888889 * (h * (((((-19 * VALUE(i,n)) + (346 * VALUE(i,n+1))) + (456 * VALUE(i,n+2))) - (74 * VALUE(i,n+3))) + (11 * VALUE(i,n+4)))))"},
    {141, "IDY(i,n+3) - (0.001388888888888889 * (h * (((((11 * VALUE(i,n)) - (74 * VALUE(i,n+1))) + (456 * VALUE(i,n+2))) + (346 * VALUE(i,n+3))) - (19 * VALUE(i,n+4)))))"},
    {142, "IDY(i,n+4) - (0.001388888888888889 * (h * (((((-19 * VALUE(i,n)) + (106 * VALUE(i,n+1))) - (264 * VALUE(i,n+2))) + (646 * VALUE(i,n+3))) + (251 * VALUE(i,n+4)))))"},
    {143, "IDXDY(i,n+1) - (0.001388888888888889 * (h * (((((251 * IDX(i,n)) + (646 * IDX(i,n+1))) - (264 * IDX(i,n+2))) + (106 * IDX(i,n+3))) - (19 * IDX(i,n+4)))))"},
    {144, "IDXDY(i,n+2) - (0.001388888888888889 * (h * (((((-19 * IDX(i,n)) + (346 * IDX(i,n+1))) + (456 * IDX(i,n+2))) - (74 * IDX(i,n+3))) + (11 * IDX(i,n+4)))))"},
    {145, "IDXDY(i,n+3) - (0.001388888888888889 * (h * (((((11 * IDX(i,n)) - (74 * IDX(i,n+1))) + (456 * IDX(i,n+2))) + (346 * IDX(i,n+3))) - (19 * IDX(i,n+4)))))"},
    {146, "IDXDY(i,n+4) - (0.001388888888888889 * (h * (((((-19 * IDX(i,n)) + (106 * IDX(i,n+1))) - (264 * IDX(i,n+2))) + (646 * IDX(i,n+3))) + (251 * IDX(i,n+4)))))"},
);

}  // namespace

extern const int kReachUbfd4 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Ubfd4X() {
    if (UsedX() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            EachSection(m_x, [&](int s) {
                if (s == 1) At(kRows, 117, kI, B());
                At(kRows, 118, kI, B() + 1);
                At(kRows, 119, kI, B() + 2);
                Each(kI, B() + 3, E() - 1, [&] { Emit(kRows, 120); });
                At(kRows, 121, kI, E());
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int s) {
            EachIn(kJ, m_y.Lines(), [&] {
                At(kRows, 122, kI, B() + 1);
                At(kRows, 123, kI, B() + 2);
                Each(kI, B() + 3, E() - 1, [&] { Emit(kRows, 124); });
            });
            if (s != 1) Each(kJ, 0, m_y.EndNode(), [&] { At(kRows, 125, kI, B()); });
        });
    }
    if (Has("idx") || Has("idxdy")) {
        ElementRows(kRows, 126, 4, m_x, {kJ, 0, m_y});
    }
}

// The joint row of the second-derivative part stands only on the x lines of
// I2, like the second-derivative rows beside it: where both directions have a
// joint, the x block's row is the node's one extra row.
template <class Sink>
void Walk<Sink>::Ubfd4Y() {
    if (UsedY() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            EachSection(m_y, [&](int s) {
                if (s == 1) At(kRows, 130, kJ, B());
                At(kRows, 131, kJ, B() + 1);
                At(kRows, 132, kJ, B() + 2);
                Each(kJ, B() + 3, E() - 1, [&] { Emit(kRows, 133); });
                At(kRows, 134, kJ, E());
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] {
                At(kRows, 135, kJ, B() + 1);
                At(kRows, 136, kJ, B() + 2);
                Each(kJ, B() + 3, E() - 1, [&] { Emit(kRows, 137); });
            });
            if (s != 1) EachIn(kI, m_x.Lines(), [&] { At(kRows, 138, kJ, B()); });
        });
    }
    if (Has("idy")) {
        ElementRows(kRows, 139, 4, m_y, {kI, 0, m_x});
    }
    if (Has("idxdy")) {
        ElementRows(kRows, 143, 4, m_y, {kI, 1, m_x});
    }
}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Ubfd4)
