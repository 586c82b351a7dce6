// BFD1 in two dimensions: first derivatives by the two-point backward
// difference (forward at the domain's first node), second derivatives by the
// three-point central difference, integrals by the trapezoid rule over each
// interval. At a section joint a second first-derivative row, forward over the
// new section, ties the two sections' differences together when second
// derivatives are used.
#include "distributions/two/walk.h"

namespace zr_distribution2d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {5, "(DDX(i,j) * h) + (VALUE(i,j) - VALUE(i+1,j))"},
    {6, "(DDX(i,j) * h) + (VALUE(i-1,j) - VALUE(i,j))"},
    {7, "(D2DX2(i,j) * square(h)) - ((VALUE(i-1,j) - (2 * VALUE(i,j))) + VALUE(i+1,j))"},
    {8, "(DDX(i,j) * h) + (VALUE(i,j) - VALUE(i+1,j))"},
    {9, "IDX(i+1,j) - (h * ((0.5 * VALUE(i,j)) + (0.5 * VALUE(i+1,j))))"},
    {10, "(DDY(i,j) * h) + (VALUE(i,j) - VALUE(i,j+1))"},
    {11, "(DDY(i,j) * h) + (VALUE(i,j-1) - VALUE(i,j))"},
    {12, "(D2DY2(i,j) * square(h)) - ((VALUE(i,j-1) - (2 * VALUE(i,j))) + VALUE(i,j+1))"},
    {13, "(DDY(i,j) * h) + (VALUE(i,j) - VALUE(i,j+1))"},
    {14, "IDY(i,j+1) - (h * ((0.5 * VALUE(i,j)) + (0.5 * VALUE(i,j+1))))"},
    {15, "IDXDY(i,j+1) - (h * ((0.5 * IDX(i,j)) + (0.5 * IDX(i,j+1))))"},
);

}  // namespace

extern const int kReachBfd1 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Bfd1X() {
    if (UsedX() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            EachSection(m_x, [&](int s) {
                if (s == 1) At(kRows, 5, kI, B());
                Each(kI, B() + 1, E(), [&] { Emit(kRows, 6); });
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int s) {
            EachIn(kJ, m_y.Lines(), [&] { Each(kI, B() + 1, E() - 1, [&] { Emit(kRows, 7); }); });
            if (s != 1) Each(kJ, 0, m_y.EndNode(), [&] { At(kRows, 8, kI, B()); });
        });
    }
    if (Has("idx") || Has("idxdy")) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            EachSection(m_x, [&](int) { Each(kI, B(), E() - 1, [&] { Emit(kRows, 9); }); });
        });
    }
}

template <class Sink>
void Walk<Sink>::Bfd1Y() {
    if (UsedY() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            EachSection(m_y, [&](int s) {
                if (s == 1) At(kRows, 10, kJ, B());
                Each(kJ, B() + 1, E(), [&] { Emit(kRows, 11); });
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] { Each(kJ, B() + 1, E() - 1, [&] { Emit(kRows, 12); }); });
            if (s != 1) EachIn(kI, m_x.Lines(), [&] { At(kRows, 13, kJ, B()); });
        });
    }
    if (Has("idy")) {
        Each(kI, 0, m_x.EndNode(), [&] {
            EachSection(m_y, [&](int) { Each(kJ, B(), E() - 1, [&] { Emit(kRows, 14); }); });
        });
    }
    if (Has("idxdy")) {
        Each(kI, 1, m_x.EndNode(), [&] {
            EachSection(m_y, [&](int) { Each(kJ, B(), E() - 1, [&] { Emit(kRows, 15); }); });
        });
    }
}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Bfd1)
