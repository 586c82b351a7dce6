// The 102 equation sites of the one-dimensional distribution. Each distinct
// residual tree is written once, as the formula it stands for; sites that state
// the same tree at another place in the walk share it. Letters: i the node of an
// inner loop, b and e the first and last node of the section, k the first node of
// an element, h the section's ELEMENTLENGTH, h(s+1) that of the next section.
#pragma once
#include "frame/formula.h"

namespace zr_distribution1d {

// What the rows name, in the order of the vocabulary: the terms, and the loop
// letters from slot 1 on (slot 0, a fixed index, reads 0).
enum Name : std::uint8_t { kValue, kIdx, kDdx, kD2dx2, kH };
enum Slot : std::uint8_t { kFixed, kI, kB, kE, kK, kS };
inline constexpr const char* kNames[] = {"VALUE", "IDX", "DDX", "D2DX2", "h"};
inline constexpr ZR_Vocabulary kVocabulary(kNames, "ibeks");

constexpr ZR_Formula Row(const char* text) { return ZR_ParseFormula(text, kVocabulary); }

constexpr bool VocabularyMatchesTheEnums() {
    const ZR_Formula f = Row("((VALUE(i) + IDX(b)) + (DDX(e) + D2DX2(k))) + h(s)");
    const Name names[] = {kValue, kIdx, kDdx, kD2dx2, kH};
    const Slot slots[] = {kI, kB, kE, kK, kS};
    for (int i = 0; i < 5; ++i)
        if (f.Term(i).name != names[i] || f.Term(i).slot[0] != slots[i]) return false;
    return f.TermCount() == 5;
}
static_assert(VocabularyMatchesTheEnums(), "kNames and the letters must follow Name and Slot");

constexpr ZR_Formula kF1 = Row(
    "start(IDX(0))");
constexpr ZR_Formula kF2 = Row(
    "(DDX(b) * h) + (VALUE(b) - VALUE(b+1))");
constexpr ZR_Formula kF3 = Row(
    "(DDX(i) * h) + (VALUE(i-1) - VALUE(i))");
constexpr ZR_Formula kF4 = Row(
    "(D2DX2(i) * square(h)) - ((VALUE(i-1) - (2 * VALUE(i))) + VALUE(i+1))");
constexpr ZR_Formula kF6 = Row(
    "IDX(i+1) - (h * ((0.5 * VALUE(i)) + (0.5 * VALUE(i+1))))");
constexpr ZR_Formula kF7 = Row(
    "(2 * (DDX(b) * h)) + (VALUE(b+2) - ((-3 * VALUE(b)) + (4 * VALUE(b+1))))");
constexpr ZR_Formula kF8 = Row(
    "(2 * (DDX(b+1) * h)) + (VALUE(b) - VALUE(b+2))");
constexpr ZR_Formula kF9 = Row(
    "(2 * (DDX(i) * h)) - ((VALUE(i-2) - (4 * VALUE(i-1))) + (3 * VALUE(i)))");
constexpr ZR_Formula kF12 = Row(
    "(IDX(k+1) / (0.08333333333333333 * h)) + (VALUE(k+2) - ((5 * VALUE(k)) + (8 * VALUE(k+1))))");
constexpr ZR_Formula kF13 = Row(
    "(IDX(k+2) / (0.08333333333333333 * h)) - (((8 * VALUE(k+1)) - VALUE(k)) + (5 * VALUE(k+2)))");
constexpr ZR_Formula kF14 = Row(
    "(DDX(i) * h) + (VALUE(i) - VALUE(i+1))");
constexpr ZR_Formula kF15 = Row(
    "(DDX(e) * h) + (VALUE(e-1) - VALUE(e))");
constexpr ZR_Formula kF19 = Row(
    "(2 * (DDX(i) * h)) + (VALUE(i+2) - ((-3 * VALUE(i)) + (4 * VALUE(i+1))))");
constexpr ZR_Formula kF20 = Row(
    "(2 * (DDX(e-1) * h)) + (VALUE(e-2) - VALUE(e))");
constexpr ZR_Formula kF21 = Row(
    "(2 * (DDX(e) * h)) - ((VALUE(e-2) - (4 * VALUE(e-1))) + (3 * VALUE(e)))");
constexpr ZR_Formula kF27 = Row(
    "(2 * (DDX(i) * h)) + (VALUE(i-1) - VALUE(i+1))");
constexpr ZR_Formula kF29 = Row(
    "(DDX(e) * (h(s+1) + h)) + (VALUE(e-1) - VALUE(e+1))");
constexpr ZR_Formula kF34 = Row(
    "(24 * (DDX(b) * h)) + ((6 * VALUE(b+4)) - ((((-50 * VALUE(b)) + (96 * VALUE(b+1))) - (72 * VALUE(b+2))) + (32 * VALUE(b+3))))");
constexpr ZR_Formula kF35 = Row(
    "(24 * (DDX(b+1) * h)) - (((((-6 * VALUE(b)) - (20 * VALUE(b+1))) + (36 * VALUE(b+2))) - (12 * VALUE(b+3))) + (2 * VALUE(b+4)))");
constexpr ZR_Formula kF37 = Row(
    "(24 * (DDX(b+1) * h)) + ((2 * VALUE(b+3)) - (((2 * VALUE(b-1)) - (16 * VALUE(b))) + (16 * VALUE(b+2))))");
constexpr ZR_Formula kF38 = Row(
    "(24 * (DDX(i) * h)) + ((2 * VALUE(i+2)) - (((2 * VALUE(i-2)) - (16 * VALUE(i-1))) + (16 * VALUE(i+1))))");
constexpr ZR_Formula kF39 = Row(
    "(24 * (DDX(e) * h)) - (((((6 * VALUE(e-4)) - (32 * VALUE(e-3))) + (72 * VALUE(e-2))) - (96 * VALUE(e-1))) + (50 * VALUE(e)))");
constexpr ZR_Formula kF40 = Row(
    "(24 * (DDX(e-1) * h)) - (((((-2 * VALUE(e-4)) + (12 * VALUE(e-3))) - (36 * VALUE(e-2))) + (20 * VALUE(e-1))) + (6 * VALUE(e)))");
constexpr ZR_Formula kF44 = Row(
    "(12 * (D2DX2(b+1) * square(h))) + (VALUE(b+4) - ((((11 * VALUE(b)) - (20 * VALUE(b+1))) + (6 * VALUE(b+2))) + (4 * VALUE(b+3))))");
constexpr ZR_Formula kF45 = Row(
    "(12 * (D2DX2(i) * square(h))) + (VALUE(i+2) - ((((16 * VALUE(i-1)) - VALUE(i-2)) - (30 * VALUE(i))) + (16 * VALUE(i+1))))");
constexpr ZR_Formula kF46 = Row(
    "(12 * (D2DX2(e-1) * square(h))) - (((((4 * VALUE(e-3)) - VALUE(e-4)) + (6 * VALUE(e-2))) - (20 * VALUE(e-1))) + (11 * VALUE(e)))");
constexpr ZR_Formula kF47 = Row(
    "IDX(k+1) - (0.001388888888888889 * (h * (((((251 * VALUE(k)) + (646 * VALUE(k+1))) - (264 * VALUE(k+2))) + (106 * VALUE(k+3))) - (19 * VALUE(k+4)))))");
constexpr ZR_Formula kF48 = Row(
    "IDX(k+2) - (0.001388888888888889 * (h * (((((-19 * VALUE(k)) + (346 * VALUE(k+1))) + (456 * VALUE(k+2))) - (74 * VALUE(k+3))) + (11 * VALUE(k+4)))))");
constexpr ZR_Formula kF49 = Row(
    "IDX(k+3) - (0.001388888888888889 * (h * (((((11 * VALUE(k)) - (74 * VALUE(k+1))) + (456 * VALUE(k+2))) + (346 * VALUE(k+3))) - (19 * VALUE(k+4)))))");
constexpr ZR_Formula kF50 = Row(
    "IDX(k+4) - (0.001388888888888889 * (h * (((((-19 * VALUE(k)) + (106 * VALUE(k+1))) - (264 * VALUE(k+2))) + (646 * VALUE(k+3))) + (251 * VALUE(k+4)))))");
constexpr ZR_Formula kF53 = Row(
    "(24 * (DDX(b+2) * h)) + ((2 * VALUE(b+4)) - (((2 * VALUE(b)) - (16 * VALUE(b+1))) + (16 * VALUE(b+3))))");
constexpr ZR_Formula kF54 = Row(
    "(24 * (DDX(i) * h)) - (((((-2 * VALUE(i-3)) + (12 * VALUE(i-2))) - (36 * VALUE(i-1))) + (20 * VALUE(i))) + (6 * VALUE(i+1)))");
constexpr ZR_Formula kF57 = Row(
    "(12 * (D2DX2(b+2) * square(h))) + (VALUE(b+4) - ((((16 * VALUE(b+1)) - VALUE(b)) - (30 * VALUE(b+2))) + (16 * VALUE(b+3))))");
constexpr ZR_Formula kF58 = Row(
    "(12 * (D2DX2(i) * square(h))) - (((((4 * VALUE(i-2)) - VALUE(i-3)) + (6 * VALUE(i-1))) - (20 * VALUE(i))) + (11 * VALUE(i+1)))");
constexpr ZR_Formula kF64 = Row(
    "(DDX(b) * h) + (VALUE(b+2) - ((-3.0 * VALUE(b)) + (4.0 * VALUE(b+1))))");
constexpr ZR_Formula kF65 = Row(
    "(DDX(e) * h) - (((3.0 * VALUE(e)) - (4.0 * VALUE(e-1))) + VALUE(e-2))");
constexpr ZR_Formula kF66 = Row(
    "(DDX(k+1) * h) + (VALUE(k) - VALUE(k+2))");
constexpr ZR_Formula kF67 = Row(
    "(DDX(k+2) * h) - ((VALUE(k) - (4.0 * VALUE(k+1))) + (3.0 * VALUE(k+2)))");
constexpr ZR_Formula kF68 = Row(
    "(DDX(k) * h) + ((3.0 * VALUE(k)) + (VALUE(k+2) - (4.0 * VALUE(k+1))))");
constexpr ZR_Formula kF69 = Row(
    "(DDX(k) * h) + (VALUE(k+2) - ((-3.0 * VALUE(k)) + (4.0 * VALUE(k+1))))");
constexpr ZR_Formula kF70 = Row(
    "(DDX(k+2) * h) - (((3.0 * VALUE(k+2)) - (4.0 * VALUE(k+1))) + VALUE(k))");
constexpr ZR_Formula kF71 = Row(
    "(D2DX2(k+1) * square(h)) - (((4.0 * VALUE(k)) - (8.0 * VALUE(k+1))) + (4.0 * VALUE(k+2)))");
constexpr ZR_Formula kF72 = Row(
    "IDX(k+1) - (h * (((0.20833 * VALUE(k)) + (0.33333 * VALUE(k+1))) - (0.04166 * VALUE(k+2))))");
constexpr ZR_Formula kF73 = Row(
    "IDX(k+2) - (h * (((-0.04166 * VALUE(k)) + (0.33333 * VALUE(k+1))) + (0.20833 * VALUE(k+2))))");
constexpr ZR_Formula kF74 = Row(
    "(DDX(b) * h) - ((((-7.0 * VALUE(b)) + (8.19615 * VALUE(b+1))) - (2.19615 * VALUE(b+2))) + VALUE(b+3))");
constexpr ZR_Formula kF75 = Row(
    "(DDX(e) * h) + (VALUE(e-3) - (((7.0 * VALUE(e)) - (8.19615 * VALUE(e-1))) + (2.19615 * VALUE(e-2))))");
constexpr ZR_Formula kF76 = Row(
    "(DDX(k+1) * h) + ((0.73205 * VALUE(k+3)) - (((-2.73205 * VALUE(k)) + (1.73205 * VALUE(k+1))) + (1.73205 * VALUE(k+2))))");
constexpr ZR_Formula kF77 = Row(
    "(DDX(k+2) * h) - ((((0.73205 * VALUE(k)) - (1.73205 * VALUE(k+1))) - (1.73205 * VALUE(k+2))) + (2.73205 * VALUE(k+3)))");
constexpr ZR_Formula kF78 = Row(
    "(DDX(k+3) * h) - ((((2.19615 * VALUE(k+1)) - VALUE(k)) - (8.19615 * VALUE(k+2))) + (7.0 * VALUE(k+3)))");
constexpr ZR_Formula kF79 = Row(
    "(DDX(k) * h) + ((7.0 * VALUE(k)) - ((VALUE(k+3) - (2.19615 * VALUE(k+2))) + (8.19615 * VALUE(k+1))))");
constexpr ZR_Formula kF80 = Row(
    "(DDX(k) * h) - ((((-7.0 * VALUE(k)) + (8.19615 * VALUE(k+1))) - (2.19615 * VALUE(k+2))) + VALUE(k+3))");
constexpr ZR_Formula kF81 = Row(
    "(DDX(k+3) * h) + (VALUE(k) - (((7.0 * VALUE(k+3)) - (8.19615 * VALUE(k+2))) + (2.19615 * VALUE(k+1))))");
constexpr ZR_Formula kF82 = Row(
    "(D2DX2(k+1) * square(h)) + ((4.3923 * VALUE(k+3)) - (((16.3923 * VALUE(k)) - (24.0 * VALUE(k+1))) + (12.0 * VALUE(k+2))))");
constexpr ZR_Formula kF83 = Row(
    "(D2DX2(k+2) * square(h)) - ((((-4.3923 * VALUE(k)) + (12.0 * VALUE(k+1))) - (24.0 * VALUE(k+2))) + (16.3923 * VALUE(k+3)))");
constexpr ZR_Formula kF84 = Row(
    "IDX(k+1) - (h * ((((0.08978 * VALUE(k)) + (0.12972 * VALUE(k+1))) - (0.01462 * VALUE(k+2))) + (0.00645 * VALUE(k+3))))");
constexpr ZR_Formula kF85 = Row(
    "IDX(k+2) - (h * ((((-0.09623 * VALUE(k)) + (0.3849 * VALUE(k+1))) + (0.3849 * VALUE(k+2))) - (0.09623 * VALUE(k+3))))");
constexpr ZR_Formula kF86 = Row(
    "IDX(k+3) - (h * ((((0.00645 * VALUE(k)) - (0.01462 * VALUE(k+1))) + (0.12972 * VALUE(k+2))) + (0.08978 * VALUE(k+3))))");
constexpr ZR_Formula kF87 = Row(
    "(DDX(b) * h) + (VALUE(b+4) - ((((-13.0 * VALUE(b)) + (14.78831 * VALUE(b+1))) - (2.66667 * VALUE(b+2))) + (1.87836 * VALUE(b+3))))");
constexpr ZR_Formula kF88 = Row(
    "(DDX(e) * h) - ((((VALUE(e-4) - (1.87836 * VALUE(e-3))) + (2.66667 * VALUE(e-2))) - (14.78831 * VALUE(e-1))) + (13.0 * VALUE(e)))");
constexpr ZR_Formula kF89 = Row(
    "(DDX(k+1) * h) - (((((-5.32379 * VALUE(k)) + (3.87298 * VALUE(k+1))) + (2.06559 * VALUE(k+2))) - (1.29099 * VALUE(k+3))) + (0.67621 * VALUE(k+4)))");
constexpr ZR_Formula kF90 = Row(
    "(DDX(k+2) * h) + ((1.5 * VALUE(k+4)) - (((1.5 * VALUE(k)) - (3.22749 * VALUE(k+1))) + (3.22749 * VALUE(k+3))))");
constexpr ZR_Formula kF91 = Row(
    "(DDX(k+3) * h) - (((((-0.67621 * VALUE(k)) + (1.29099 * VALUE(k+1))) - (2.06559 * VALUE(k+2))) - (3.87298 * VALUE(k+3))) + (5.32379 * VALUE(k+4)))");
constexpr ZR_Formula kF92 = Row(
    "(DDX(k+4) * h) - ((((VALUE(k) - (1.87836 * VALUE(k+1))) + (2.66667 * VALUE(k+2))) - (14.78831 * VALUE(k+3))) + (13.0 * VALUE(k+4)))");
constexpr ZR_Formula kF93 = Row(
    "(DDX(k) * h) + ((13.0 * VALUE(k)) - ((((1.87836 * VALUE(k+3)) - VALUE(k+4)) - (2.66667 * VALUE(k+2))) + (14.78831 * VALUE(k+1))))");
constexpr ZR_Formula kF94 = Row(
    "(DDX(k) * h) + (VALUE(k+4) - ((((-13.0 * VALUE(k)) + (14.78831 * VALUE(k+1))) - (2.66667 * VALUE(k+2))) + (1.87836 * VALUE(k+3))))");
constexpr ZR_Formula kF95 = Row(
    "(DDX(k+4) * h) - (((((13.0 * VALUE(k+4)) - (14.78831 * VALUE(k+3))) + (2.66667 * VALUE(k+2))) - (1.87836 * VALUE(k+1))) + VALUE(k))");
constexpr ZR_Formula kF96 = Row(
    "(D2DX2(k+1) * square(h)) - (((((53.2379 * VALUE(k)) - (73.33333 * VALUE(k+1))) + (26.66666 * VALUE(k+2))) - (13.33333 * VALUE(k+3))) + (6.7621 * VALUE(k+4)))");
constexpr ZR_Formula kF97 = Row(
    "(D2DX2(k+2) * square(h)) + ((6.0 * VALUE(k+4)) - ((((-6.0 * VALUE(k)) + (16.66667 * VALUE(k+1))) - (21.33334 * VALUE(k+2))) + (16.66667 * VALUE(k+3))))");
constexpr ZR_Formula kF98 = Row(
    "(D2DX2(k+3) * square(h)) - (((((6.7621 * VALUE(k)) - (13.33333 * VALUE(k+1))) + (26.66666 * VALUE(k+2))) - (73.33333 * VALUE(k+3))) + (53.2379 * VALUE(k+4)))");
constexpr ZR_Formula kF99 = Row(
    "IDX(k+1) - (h * (((((0.04824 * VALUE(k)) + (0.06788 * VALUE(k+1))) - (0.00499 * VALUE(k+2))) + (0.00333 * VALUE(k+3))) - (0.00176 * VALUE(k+4))))");
constexpr ZR_Formula kF100 = Row(
    "IDX(k+2) - (h * (((((-0.07949 * VALUE(k)) + (0.27272 * VALUE(k+1))) + (0.22722 * VALUE(k+2))) - (0.06616 * VALUE(k+3))) + (0.03301 * VALUE(k+4))))");
constexpr ZR_Formula kF101 = Row(
    "IDX(k+3) - (h * (((((0.03301 * VALUE(k)) - (0.06616 * VALUE(k+1))) + (0.22722 * VALUE(k+2))) + (0.27272 * VALUE(k+3))) - (0.07949 * VALUE(k+4))))");
constexpr ZR_Formula kF102 = Row(
    "IDX(k+4) - (h * (((((-0.00176 * VALUE(k)) + (0.00333 * VALUE(k+1))) - (0.00499 * VALUE(k+2))) + (0.06788 * VALUE(k+3))) + (0.04824 * VALUE(k+4))))");

// Indexed by site number: kSites[N] declares "ZR_EqnN".
inline constexpr ZR_Row kSites[] = {
    {nullptr, nullptr},
    {"ZR_Eqn1", &kF1},
    {"ZR_Eqn2", &kF2},
    {"ZR_Eqn3", &kF3},
    {"ZR_Eqn4", &kF4},
    {"ZR_Eqn5", &kF2},
    {"ZR_Eqn6", &kF6},
    {"ZR_Eqn7", &kF7},
    {"ZR_Eqn8", &kF8},
    {"ZR_Eqn9", &kF9},
    {"ZR_Eqn10", &kF4},
    {"ZR_Eqn11", &kF7},
    {"ZR_Eqn12", &kF12},
    {"ZR_Eqn13", &kF13},
    {"ZR_Eqn14", &kF14},
    {"ZR_Eqn15", &kF15},
    {"ZR_Eqn16", &kF4},
    {"ZR_Eqn17", &kF15},
    {"ZR_Eqn18", &kF6},
    {"ZR_Eqn19", &kF19},
    {"ZR_Eqn20", &kF20},
    {"ZR_Eqn21", &kF21},
    {"ZR_Eqn22", &kF4},
    {"ZR_Eqn23", &kF21},
    {"ZR_Eqn24", &kF12},
    {"ZR_Eqn25", &kF13},
    {"ZR_Eqn26", &kF7},
    {"ZR_Eqn27", &kF27},
    {"ZR_Eqn28", &kF21},
    {"ZR_Eqn29", &kF29},
    {"ZR_Eqn30", &kF4},
    {"ZR_Eqn31", &kF7},
    {"ZR_Eqn32", &kF12},
    {"ZR_Eqn33", &kF13},
    {"ZR_Eqn34", &kF34},
    {"ZR_Eqn35", &kF35},
    {"ZR_Eqn36", &kF8},
    {"ZR_Eqn37", &kF37},
    {"ZR_Eqn38", &kF38},
    {"ZR_Eqn39", &kF39},
    {"ZR_Eqn40", &kF40},
    {"ZR_Eqn41", &kF29},
    {"ZR_Eqn42", &kF20},
    {"ZR_Eqn43", &kF38},
    {"ZR_Eqn44", &kF44},
    {"ZR_Eqn45", &kF45},
    {"ZR_Eqn46", &kF46},
    {"ZR_Eqn47", &kF47},
    {"ZR_Eqn48", &kF48},
    {"ZR_Eqn49", &kF49},
    {"ZR_Eqn50", &kF50},
    {"ZR_Eqn51", &kF34},
    {"ZR_Eqn52", &kF35},
    {"ZR_Eqn53", &kF53},
    {"ZR_Eqn54", &kF54},
    {"ZR_Eqn55", &kF39},
    {"ZR_Eqn56", &kF44},
    {"ZR_Eqn57", &kF57},
    {"ZR_Eqn58", &kF58},
    {"ZR_Eqn59", &kF34},
    {"ZR_Eqn60", &kF47},
    {"ZR_Eqn61", &kF48},
    {"ZR_Eqn62", &kF49},
    {"ZR_Eqn63", &kF50},
    {"ZR_Eqn64", &kF64},
    {"ZR_Eqn65", &kF65},
    {"ZR_Eqn66", &kF66},
    {"ZR_Eqn67", &kF67},
    {"ZR_Eqn68", &kF68},
    {"ZR_Eqn69", &kF69},
    {"ZR_Eqn70", &kF70},
    {"ZR_Eqn71", &kF71},
    {"ZR_Eqn72", &kF72},
    {"ZR_Eqn73", &kF73},
    {"ZR_Eqn74", &kF74},
    {"ZR_Eqn75", &kF75},
    {"ZR_Eqn76", &kF76},
    {"ZR_Eqn77", &kF77},
    {"ZR_Eqn78", &kF78},
    {"ZR_Eqn79", &kF79},
    {"ZR_Eqn80", &kF80},
    {"ZR_Eqn81", &kF81},
    {"ZR_Eqn82", &kF82},
    {"ZR_Eqn83", &kF83},
    {"ZR_Eqn84", &kF84},
    {"ZR_Eqn85", &kF85},
    {"ZR_Eqn86", &kF86},
    {"ZR_Eqn87", &kF87},
    {"ZR_Eqn88", &kF88},
    {"ZR_Eqn89", &kF89},
    {"ZR_Eqn90", &kF90},
    {"ZR_Eqn91", &kF91},
    {"ZR_Eqn92", &kF92},
    {"ZR_Eqn93", &kF93},
    {"ZR_Eqn94", &kF94},
    {"ZR_Eqn95", &kF95},
    {"ZR_Eqn96", &kF96},
    {"ZR_Eqn97", &kF97},
    {"ZR_Eqn98", &kF98},
    {"ZR_Eqn99", &kF99},
    {"ZR_Eqn100", &kF100},
    {"ZR_Eqn101", &kF101},
    {"ZR_Eqn102", &kF102},
};

}  // namespace zr_distribution1d
