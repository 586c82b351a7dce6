// FFD1 in two dimensions: first derivatives by the two-point forward difference
// (backward at the domain's last node), second derivatives by the three-point
// central difference, integrals by the trapezoid rule over each interval. At a
// section joint a second first-derivative row, backward over the section that
// ends there, ties the two sections' differences together when second
// derivatives are used.
#include "distributions/two/walk.h"

namespace zr_distribution2d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {32, "(DDX(i,j) * h) + (VALUE(i,j) - VALUE(i+1,j))"},
    {33, "(DDX(i,j) * h) + (VALUE(i-1,j) - VALUE(i,j))"},
    {34, "(D2DX2(i,j) * square(h)) - ((VALUE(i-1,j) - (2 * VALUE(i,j))) + VALUE(i+1,j))"},
    {35, "(DDX(i,j) * h) + (VALUE(i-1,j) - VALUE(i,j))"},
    {36, "IDX(i+1,j) - (h * ((0.5 * VALUE(i,j)) + (0.5 * VALUE(i+1,j))))"},
    {37, "(DDY(i,j) * h) + (VALUE(i,j) - VALUE(i,j+1))"},
    {38, "(DDY(i,j) * h) + (VALUE(i,j-1) - VALUE(i,j))"},
    {39, "(D2DY2(i,j) * square(h)) - ((VALUE(i,j-1) - (2 * VALUE(i,j))) + VALUE(i,j+1))"},
    {40, "(DDY(i,j) * h) + (VALUE(i,j-1) - VALUE(i,j))"},
    {41, "IDY(i,j+1) - (h * ((0.5 * VALUE(i,j)) + (0.5 * VALUE(i,j+1))))"},
    {42, "IDXDY(i,j+1) - (h * ((0.5 * IDX(i,j)) + (0.5 * IDX(i,j+1))))"},
);

}  // namespace

extern const int kReachFfd1 = kRows.Reach();

template <class Sink>
void Walk<Sink>::Ffd1X() {
    if (UsedX() > 0) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            EachSection(m_x, [&](int s) {
                Each(kI, B(), E() - 1, [&] { Emit(kRows, 32); });
                if (s == m_x.Sections()) At(kRows, 33, kI, E());
            });
        });
    }
    if (UsedX() > 1) {
        EachSection(m_x, [&](int s) {
            EachIn(kJ, m_y.Lines(), [&] { Each(kI, B() + 1, E() - 1, [&] { Emit(kRows, 34); }); });
            Each(kJ, 0, m_y.EndNode(), [&] {
                if (s != m_x.Sections()) At(kRows, 35, kI, E());
            });
        });
    }
    if (Has("idx") || Has("idxdy")) {
        Each(kJ, 0, m_y.EndNode(), [&] {
            EachSection(m_x, [&](int) { Each(kI, B(), E() - 1, [&] { Emit(kRows, 36); }); });
        });
    }
}

template <class Sink>
void Walk<Sink>::Ffd1Y() {
    if (UsedY() > 0) {
        Each(kI, 0, m_x.EndNode(), [&] {
            EachSection(m_y, [&](int s) {
                Each(kJ, B(), E() - 1, [&] { Emit(kRows, 37); });
                if (s == m_y.Sections()) At(kRows, 38, kJ, E());
            });
        });
    }
    if (UsedY() > 1) {
        EachSection(m_y, [&](int s) {
            EachIn(kI, m_x.Lines(), [&] { Each(kJ, B() + 1, E() - 1, [&] { Emit(kRows, 39); }); });
            if (s != m_y.Sections()) EachIn(kI, m_x.Lines(), [&] { At(kRows, 40, kJ, E()); });
        });
    }
    if (Has("idy")) {
        Each(kI, 0, m_x.EndNode(), [&] {
            EachSection(m_y, [&](int) { Each(kJ, B(), E() - 1, [&] { Emit(kRows, 41); }); });
        });
    }
    if (Has("idxdy")) {
        Each(kI, 1, m_x.EndNode(), [&] {
            EachSection(m_y, [&](int) { Each(kJ, B(), E() - 1, [&] { Emit(kRows, 42); }); });
        });
    }
}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Ffd1)
