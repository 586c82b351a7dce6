#include "distributions/one/distribution1d.h"

#include <climits>

namespace {
// -ENDNODE overflows for the most negative ENDNODE a user could fix.
int Saturate(long long x) { return x > INT_MAX ? INT_MAX : (x < INT_MIN ? INT_MIN : static_cast<int>(x)); }
}  // namespace

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

// The walk forms node numbers in int from each section's BASE and NODECOUNT and
// from its elements' first nodes, BASE + (j - 1)(NUMPOLYPOINTS + 1), and steps at
// most four nodes beyond them. Values fixed by a user can put those numbers out
// of reach; such a domain is not read at all, rather than read wrongly.
bool ZR_DISTRIBUTION1D::ReadyToDeclare() {
    if (!ReadyToDrive()) return false;
    constexpr long long kReach = 8;
    auto fits = [](long long n) { return n >= INT_MIN + kReach && n <= INT_MAX - kReach; };
    ZR_DOMAIN& domain = *XDOMAIN;
    const long long width = (*domain.NUMPOLYPOINTS).v() + 1LL;
    if (!fits(width)) return false;
    ZR_IntegerSetIter s(ZR_IntSetValue(1, (*domain.NUMSECTIONS).v()));
    while (s.Next()) {
        ZR_SECTIONDATAMODEL& section = (*domain.SECTION)(s.v());
        const long long base = section.BASE.v();
        const long long elements = section.NUMELEMENTS.v();
        if (!fits(base) || !fits(base + section.NODECOUNT.v())) return false;
        if (elements > 1 && (!fits((elements - 1) * width) || !fits(base + (elements - 1) * width))) return false;
    }
    return true;
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
    InitialiseSet(ZR_IDX_SET1, ZR_IntSetValue(0, Saturate((2LL * m - 1) * e)), arg, level, 4, pass);
}

void ZR_DISTRIBUTION1D::Assignments(int level, int arg) {
    AssignStatement(*HIGHESTORDERXDERIVATIVE, (*(*XDOMAIN).HIGHESTORDERDERIVATIVE).v(), arg, level, 5);
    AssignStatement(*HIGHESTORDERXDERIVATIVEUSED, (*HIGHESTORDERXDERIVATIVE).v(), arg, level, 6);
    AssignStatement(*INTEGRALS, "None", arg, level, 7);
}

ORVANE_ENTRY_POINTS(DISTRIBUTION1D);
