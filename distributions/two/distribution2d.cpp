#include "distributions/two/distribution2d.h"

#include "distributions/axis.h"
#include "distributions/node_numbers.h"

ZR_DISTRIBUTION2D::ZR_DISTRIBUTION2D(bool construct, ZR_Container* owner)
    : ZR_Frame(owner), USERNOTES(true), INPUTSIGNAL(true, nullptr), OUTPUTSIGNAL(true, nullptr),
      HIGHESTORDERXDERIVATIVE(true), HIGHESTORDERYDERIVATIVE(true), HIGHESTORDERXDERIVATIVEUSED(true),
      HIGHESTORDERYDERIVATIVEUSED(true), INTEGRALS(true) {
    Finish(construct, owner);
}

ORVANE_TYPE_DEFINITIONS(ZR_DISTRIBUTION2D, "Model DISTRIBUTION2D\tV9")

void ZR_DISTRIBUTION2D::RegisterMembers(ZR_Registrar& registrar) {
    registrar.Add(XDOMAIN, "XDOMAIN");
    registrar.Add(YDOMAIN, "YDOMAIN");
    registrar.Add(ZR_VALUE_SET1, "ZR_VALUE_SET1");
    registrar.Add(ZR_VALUE_SET2, "ZR_VALUE_SET2");
    registrar.Add(VALUE, "VALUE", "Variable value at a node point");
    registrar.Add(USERNOTES, "USERNOTES");
    registrar.AddSignalPort(INPUTSIGNAL, "INPUTSIGNAL", ZR_DIR_INPUT);
    registrar.AddSignalPort(OUTPUTSIGNAL, "OUTPUTSIGNAL", ZR_DIR_OUTPUT);
    registrar.Add(HIGHESTORDERXDERIVATIVE, "HIGHESTORDERXDERIVATIVE");
    registrar.Add(HIGHESTORDERYDERIVATIVE, "HIGHESTORDERYDERIVATIVE");
    registrar.Add(HIGHESTORDERXDERIVATIVEUSED, "HIGHESTORDERXDERIVATIVEUSED");
    registrar.Add(HIGHESTORDERYDERIVATIVEUSED, "HIGHESTORDERYDERIVATIVEUSED");
    registrar.Add(INTEGRALS, "INTEGRALS", "Integrals to be calculated. Valid values: idx, idy, idxdy");
    registrar.Add(ZR_DDX_SET1, "ZR_DDX_SET1");
    registrar.Add(ZR_DDX_SET2, "ZR_DDX_SET2");
    registrar.Add(DDX, "DDX", "1st-order partial deriv wrt x");
    registrar.Add(ZR_DDY_SET1, "ZR_DDY_SET1");
    registrar.Add(ZR_DDY_SET2, "ZR_DDY_SET2");
    registrar.Add(DDY, "DDY", "1st-order partial deriv wrt y");
    registrar.Add(ZR_D2DX2_SET1, "ZR_D2DX2_SET1");
    registrar.Add(ZR_D2DX2_SET2, "ZR_D2DX2_SET2");
    registrar.Add(D2DX2, "D2DX2", "2nd-order partial deriv wrt x");
    registrar.Add(ZR_D2DY2_SET1, "ZR_D2DY2_SET1");
    registrar.Add(D2DY2, "D2DY2", "2nd-order partial deriv wrt y");
    registrar.Add(ZR_IDX_SET1, "ZR_IDX_SET1");
    registrar.Add(ZR_IDX_SET2, "ZR_IDX_SET2");
    registrar.Add(IDX, "IDX", "integral of distributed variable wrt x");
    registrar.Add(ZR_IDY_SET1, "ZR_IDY_SET1");
    registrar.Add(ZR_IDY_SET2, "ZR_IDY_SET2");
    registrar.Add(IDY, "IDY", "integral of distributed variable wrt y");
    registrar.Add(ZR_IDXDY_SET1, "ZR_IDXDY_SET1");
    registrar.Add(ZR_IDXDY_SET2, "ZR_IDXDY_SET2");
    registrar.Add(IDXDY, "IDXDY", "integral of distributed variable wrt x and y");
}

void ZR_DISTRIBUTION2D::BindArrays() {
    (*VALUE).SetDim(ZR_VALUE_SET1, ZR_VALUE_SET2);
    DDX.SetDim(ZR_DDX_SET1, ZR_DDX_SET2);
    DDY.SetDim(ZR_DDY_SET1, ZR_DDY_SET2);
    D2DX2.SetDim(ZR_D2DX2_SET1, ZR_D2DX2_SET2);
    // Without a y domain D2DY2 is bound to nothing, not to a set it had before.
    if (YDOMAIN.Linked() != nullptr) {
        D2DY2.SetDim(ZR_D2DY2_SET1, *(*YDOMAIN).INTERIOR);
    } else {
        D2DY2.CancelDependenceOnDeclaredSets();
    }
    IDX.SetDim(ZR_IDX_SET1, ZR_IDX_SET2);
    IDY.SetDim(ZR_IDY_SET1, ZR_IDY_SET2);
    IDXDY.SetDim(ZR_IDXDY_SET1, ZR_IDXDY_SET2);
}

bool ZR_DISTRIBUTION2D::ReadyToDrive() { return XDOMAIN.Linked() != nullptr && YDOMAIN.Linked() != nullptr; }

void ZR_DISTRIBUTION2D::InitialiseIndexSets(int level, int arg, int pass) {
    ZR_DOMAIN& x = *XDOMAIN;
    ZR_DOMAIN& y = *YDOMAIN;
    const int xe = (*x.ENDNODE).v();
    const int ye = (*y.ENDNODE).v();
    const int xUsed = (*HIGHESTORDERXDERIVATIVEUSED).v();
    const int yUsed = (*HIGHESTORDERYDERIVATIVEUSED).v();
    const int fx1 = xUsed > 0 ? 1 : 0;
    const int fy1 = yUsed > 0 ? 1 : 0;
    const int fx2 = xUsed > 1 ? 1 : 0;
    const int fy2 = yUsed > 1 ? 1 : 0;

    InitialiseSet(ZR_VALUE_SET1, ZR_IntSetValue(0, xe), arg, level, 1, pass);
    InitialiseSet(ZR_VALUE_SET2, ZR_IntSetValue(0, ye), arg, level, 2, pass);
    InitialiseSet(ZR_DDX_SET1, ZR_IntSetValue(0, xe * fx1), arg, level, 3, pass);
    InitialiseSet(ZR_DDX_SET2, ZR_IntSetValue(0, ye), arg, level, 4, pass);
    InitialiseSet(ZR_DDY_SET1, ZR_IntSetValue(0, xe * fy1), arg, level, 5, pass);
    InitialiseSet(ZR_DDY_SET2, ZR_IntSetValue(0, ye), arg, level, 6, pass);

    ZR_IntSetValue d2dx2x(1, xe * fx2);
    d2dx2x *= ZR_IntSetValue((*x.INTERIOR).v());
    InitialiseSet(ZR_D2DX2_SET1, d2dx2x, arg, level, 7, pass);
    InitialiseSet(ZR_D2DX2_SET2, ZR_NodesWithEnds((*y.INTERIOR).v(), ye), arg, level, 8, pass);
    ZR_IntSetValue d2dy2x(0, xe * fy2);
    d2dy2x *= ZR_NodesWithEnds((*x.INTERIOR).v(), xe);
    InitialiseSet(ZR_D2DY2_SET1, d2dy2x, arg, level, 9, pass);

    // An integral's x range is [0 : XE] when chosen and [0 : -XE] when not, the
    // bound formed wide: -XE overflows for the most negative XE a user could fix.
    auto holds = [this](const char* name) { return SetContainsString(name, (*INTEGRALS).v()); };
    int mx = holds("idx");
    if (mx == 0) mx = holds("idxdy");
    const int my = holds("idy");
    const int mxy = holds("idxdy");
    InitialiseSet(ZR_IDX_SET1, ZR_IntSetValue(0, ZR_Node((2LL * mx - 1) * xe)), arg, level, 10, pass);
    InitialiseSet(ZR_IDX_SET2, ZR_IntSetValue(0, ye), arg, level, 11, pass);
    InitialiseSet(ZR_IDY_SET1, ZR_IntSetValue(0, ZR_Node((2LL * my - 1) * xe)), arg, level, 12, pass);
    InitialiseSet(ZR_IDY_SET2, ZR_IntSetValue(0, ye), arg, level, 13, pass);
    InitialiseSet(ZR_IDXDY_SET1, ZR_IntSetValue(0, ZR_Node((2LL * mxy - 1) * xe)), arg, level, 14, pass);
    InitialiseSet(ZR_IDXDY_SET2, ZR_IntSetValue(0, ye), arg, level, 15, pass);
}

void ZR_DISTRIBUTION2D::Assignments(int level, int arg) {
    AssignStatement(*HIGHESTORDERXDERIVATIVE, (*(*XDOMAIN).HIGHESTORDERDERIVATIVE).v(), arg, level, 16);
    AssignStatement(*HIGHESTORDERYDERIVATIVE, (*(*YDOMAIN).HIGHESTORDERDERIVATIVE).v(), arg, level, 17);
    AssignStatement(*HIGHESTORDERXDERIVATIVEUSED, (*HIGHESTORDERXDERIVATIVE).v(), arg, level, 18);
    AssignStatement(*HIGHESTORDERYDERIVATIVEUSED, (*HIGHESTORDERYDERIVATIVE).v(), arg, level, 19);
    AssignStatement(*INTEGRALS, "None", arg, level, 20);
}

ORVANE_ENTRY_POINTS(DISTRIBUTION2D);
