#include "distributions/one/distribution1d.h"


ZR_DISTRIBUTION1D::ZR_DISTRIBUTION1D(bool construct, ZR_Container* owner)
    : ZR_Frame(owner), USERNOTES(true), INPUTSIGNAL(true, nullptr), OUTPUTSIGNAL(true, nullptr),
      HIGHESTORDERXDERIVATIVE(true), HIGHESTORDERXDERIVATIVEUSED(true), INTEGRALS(true) {
    Finish(construct, owner);
}

ORVANE_TYPE_DEFINITIONS(ZR_DISTRIBUTION1D, "Model DISTRIBUTION1D\tV9")

void ZR_DISTRIBUTION1D::RegisterMembers(ZR_Registrar& registrar) {
    registrar.Add(XDOMAIN, "XDOMAIN");
    registrar.Add(ZR_VALUE_SET1, "ZR_VALUE_SET1");
    registrar.Add(VALUE, "VALUE", "Variable value at a node point");
    registrar.Add(USERNOTES, "USERNOTES");
    registrar.AddSignalPort(INPUTSIGNAL, "INPUTSIGNAL", ZR_DIR_INPUT);
    registrar.AddSignalPort(OUTPUTSIGNAL, "OUTPUTSIGNAL", ZR_DIR_OUTPUT);
    registrar.Add(HIGHESTORDERXDERIVATIVE, "HIGHESTORDERXDERIVATIVE");
    registrar.Add(HIGHESTORDERXDERIVATIVEUSED, "HIGHESTORDERXDERIVATIVEUSED");
    registrar.Add(INTEGRALS, "INTEGRALS", "Integrals to be calculated. Valid value: idx");
    registrar.Add(ZR_DDX_SET1, "ZR_DDX_SET1");
    registrar.Add(DDX, "DDX", "1st-order partial deriv wrt x");
    registrar.Add(ZR_D2DX2_SET1, "ZR_D2DX2_SET1");
    registrar.Add(D2DX2, "D2DX2", "2nd-order partial deriv wrt x");
    registrar.Add(ZR_IDX_SET1, "ZR_IDX_SET1");
    registrar.Add(IDX, "IDX", "integral of distributed variable over X domain");
}

void ZR_DISTRIBUTION1D::BindArrays() {
    (*VALUE).SetDim(ZR_VALUE_SET1);
    DDX.SetDim(ZR_DDX_SET1);
    D2DX2.SetDim(ZR_D2DX2_SET1);
    IDX.SetDim(ZR_IDX_SET1);
}

bool ZR_DISTRIBUTION1D::ReadyToDrive() { return XDOMAIN.Linked() != nullptr; }

// The walk steps beyond a section's nodes by what its rows reach, and its loops
// by as much again.
bool ZR_DISTRIBUTION1D::ReadyToDeclare() {
    return ReadyToDrive() && ZR_NodesWithinReach(*XDOMAIN, 2LL * zr_distribution1d::kRows.Reach());
}

void ZR_DISTRIBUTION1D::InitialiseIndexSets(int level, int arg, int pass) {
    ZR_DOMAIN& domain = *XDOMAIN;
    const int e = (*domain.ENDNODE).v();
    InitialiseSet(ZR_VALUE_SET1, ZR_IntSetValue(0, e), arg, level, 1, pass);
    const int f1 = (*HIGHESTORDERXDERIVATIVEUSED).v() > 0 ? 1 : 0;
    InitialiseSet(ZR_DDX_SET1, ZR_IntSetValue(0, e * f1), arg, level, 2, pass);
    const int f2 = (*HIGHESTORDERXDERIVATIVEUSED).v() > 1 ? 1 : 0;
    ZR_IntSetValue interior(1, e * f2);
    interior *= (*domain.INTERIOR).v();
    InitialiseSet(ZR_D2DX2_SET1, interior, arg, level, 3, pass);
    const int m = SetContainsString("idx", (*INTEGRALS).v());
    // -ENDNODE overflows for the most negative ENDNODE a user could fix.
    InitialiseSet(ZR_IDX_SET1, ZR_IntSetValue(0, ZR_Node((2LL * m - 1) * e)), arg, level, 4, pass);
}

void ZR_DISTRIBUTION1D::Assignments(int level, int arg) {
    AssignStatement(*HIGHESTORDERXDERIVATIVE, (*(*XDOMAIN).HIGHESTORDERDERIVATIVE).v(), arg, level, 5);
    AssignStatement(*HIGHESTORDERXDERIVATIVEUSED, (*HIGHESTORDERXDERIVATIVE).v(), arg, level, 6);
    AssignStatement(*INTEGRALS, "None", arg, level, 7);
}

ORVANE_ENTRY_POINTS(DISTRIBUTION1D);
