#include "distributions/three/distribution3d.h"

#include <initializer_list>

#include "distributions/axis.h"
#include "distributions/node_numbers.h"

ZR_DISTRIBUTION3D::ZR_DISTRIBUTION3D(bool construct, ZR_Container* owner)
    : ZR_Frame(owner), USERNOTES(true), INPUTSIGNAL(true, nullptr), OUTPUTSIGNAL(true, nullptr),
      HIGHESTORDERXDERIVATIVE(true), HIGHESTORDERYDERIVATIVE(true), HIGHESTORDERZDERIVATIVE(true),
      HIGHESTORDERXDERIVATIVEUSED(true), HIGHESTORDERYDERIVATIVEUSED(true), HIGHESTORDERZDERIVATIVEUSED(true),
      INTEGRALS(true) {
    Finish(construct, owner);
}

ORVANE_TYPE_DEFINITIONS(ZR_DISTRIBUTION3D, "Model DISTRIBUTION3D\tV9")

void ZR_DISTRIBUTION3D::RegisterMembers(ZR_Registrar& registrar) {
    registrar.Add(XDOMAIN, "XDOMAIN");
    registrar.Add(YDOMAIN, "YDOMAIN");
    registrar.Add(ZDOMAIN, "ZDOMAIN");
    registrar.Add(ZR_VALUE_SET1, "ZR_VALUE_SET1");
    registrar.Add(ZR_VALUE_SET2, "ZR_VALUE_SET2");
    registrar.Add(ZR_VALUE_SET3, "ZR_VALUE_SET3");
    registrar.Add(VALUE, "VALUE", "Variable value at a node point");
    registrar.Add(USERNOTES, "USERNOTES");
    registrar.AddSignalPort(INPUTSIGNAL, "INPUTSIGNAL", ZR_DIR_INPUT);
    registrar.AddSignalPort(OUTPUTSIGNAL, "OUTPUTSIGNAL", ZR_DIR_OUTPUT);
    registrar.Add(HIGHESTORDERXDERIVATIVE, "HIGHESTORDERXDERIVATIVE");
    registrar.Add(HIGHESTORDERYDERIVATIVE, "HIGHESTORDERYDERIVATIVE");
    registrar.Add(HIGHESTORDERZDERIVATIVE, "HIGHESTORDERZDERIVATIVE");
    registrar.Add(HIGHESTORDERXDERIVATIVEUSED, "HIGHESTORDERXDERIVATIVEUSED");
    registrar.Add(HIGHESTORDERYDERIVATIVEUSED, "HIGHESTORDERYDERIVATIVEUSED");
    registrar.Add(HIGHESTORDERZDERIVATIVEUSED, "HIGHESTORDERZDERIVATIVEUSED");
    registrar.Add(INTEGRALS, "INTEGRALS",
                  "Integrals to be calculated. Valid values: idx, idy, idz, idxdy, idxdz, idydz, idxdydz");
    registrar.Add(ZR_DDX_SET1, "ZR_DDX_SET1");
    registrar.Add(ZR_DDX_SET2, "ZR_DDX_SET2");
    registrar.Add(ZR_DDX_SET3, "ZR_DDX_SET3");
    registrar.Add(DDX, "DDX", "1st-order partial deriv wrt x");
    registrar.Add(ZR_DDY_SET1, "ZR_DDY_SET1");
    registrar.Add(ZR_DDY_SET2, "ZR_DDY_SET2");
    registrar.Add(ZR_DDY_SET3, "ZR_DDY_SET3");
    registrar.Add(DDY, "DDY", "1st-order partial deriv wrt y");
    registrar.Add(ZR_DDZ_SET1, "ZR_DDZ_SET1");
    registrar.Add(ZR_DDZ_SET2, "ZR_DDZ_SET2");
    registrar.Add(ZR_DDZ_SET3, "ZR_DDZ_SET3");
    registrar.Add(DDZ, "DDZ", "1st-order partial deriv wrt z");
    registrar.Add(ZR_D2DX2_SET1, "ZR_D2DX2_SET1");
    registrar.Add(ZR_D2DX2_SET2, "ZR_D2DX2_SET2");
    registrar.Add(ZR_D2DX2_SET3, "ZR_D2DX2_SET3");
    registrar.Add(D2DX2, "D2DX2", "2nd-order partial deriv wrt x");
    registrar.Add(ZR_D2DY2_SET1, "ZR_D2DY2_SET1");
    registrar.Add(ZR_D2DY2_SET3, "ZR_D2DY2_SET3");
    registrar.Add(D2DY2, "D2DY2", "2nd-order partial deriv wrt y");
    registrar.Add(ZR_D2DZ2_SET1, "ZR_D2DZ2_SET1");
    registrar.Add(ZR_D2DZ2_SET2, "ZR_D2DZ2_SET2");
    registrar.Add(D2DZ2, "D2DZ2", "2nd-order partial deriv wrt z");
    registrar.Add(ZR_IDX_SET1, "ZR_IDX_SET1");
    registrar.Add(ZR_IDX_SET2, "ZR_IDX_SET2");
    registrar.Add(ZR_IDX_SET3, "ZR_IDX_SET3");
    registrar.Add(IDX, "IDX", "integral of distributed variable wrt x");
    registrar.Add(ZR_IDY_SET1, "ZR_IDY_SET1");
    registrar.Add(ZR_IDY_SET2, "ZR_IDY_SET2");
    registrar.Add(ZR_IDY_SET3, "ZR_IDY_SET3");
    registrar.Add(IDY, "IDY", "integral of distributed variable wrt y");
    registrar.Add(ZR_IDZ_SET1, "ZR_IDZ_SET1");
    registrar.Add(ZR_IDZ_SET2, "ZR_IDZ_SET2");
    registrar.Add(ZR_IDZ_SET3, "ZR_IDZ_SET3");
    registrar.Add(IDZ, "IDZ", "integral of distributed variable wrt z");
    registrar.Add(ZR_IDXDY_SET1, "ZR_IDXDY_SET1");
    registrar.Add(ZR_IDXDY_SET2, "ZR_IDXDY_SET2");
    registrar.Add(ZR_IDXDY_SET3, "ZR_IDXDY_SET3");
    registrar.Add(IDXDY, "IDXDY", "integral of distributed variable wrt x and y");
    registrar.Add(ZR_IDXDZ_SET1, "ZR_IDXDZ_SET1");
    registrar.Add(ZR_IDXDZ_SET2, "ZR_IDXDZ_SET2");
    registrar.Add(ZR_IDXDZ_SET3, "ZR_IDXDZ_SET3");
    registrar.Add(IDXDZ, "IDXDZ", "integral of distributed variable wrt x and z");
    registrar.Add(ZR_IDYDZ_SET1, "ZR_IDYDZ_SET1");
    registrar.Add(ZR_IDYDZ_SET2, "ZR_IDYDZ_SET2");
    registrar.Add(ZR_IDYDZ_SET3, "ZR_IDYDZ_SET3");
    registrar.Add(IDYDZ, "IDYDZ", "integral of distributed variable wrt y and z");
    registrar.Add(ZR_IDXDYDZ_SET1, "ZR_IDXDYDZ_SET1");
    registrar.Add(ZR_IDXDYDZ_SET2, "ZR_IDXDYDZ_SET2");
    registrar.Add(ZR_IDXDYDZ_SET3, "ZR_IDXDYDZ_SET3");
    registrar.Add(IDXDYDZ, "IDXDYDZ", "integral of distributed variable wrt x, y and z");
}

void ZR_DISTRIBUTION3D::BindArrays() {
    (*VALUE).SetDim(ZR_VALUE_SET1, ZR_VALUE_SET2, ZR_VALUE_SET3);
    DDX.SetDim(ZR_DDX_SET1, ZR_DDX_SET2, ZR_DDX_SET3);
    DDY.SetDim(ZR_DDY_SET1, ZR_DDY_SET2, ZR_DDY_SET3);
    DDZ.SetDim(ZR_DDZ_SET1, ZR_DDZ_SET2, ZR_DDZ_SET3);
    D2DX2.SetDim(ZR_D2DX2_SET1, ZR_D2DX2_SET2, ZR_D2DX2_SET3);
    // Without its domain an array is bound to nothing, not to sets it had before.
    if (YDOMAIN.Linked() != nullptr) {
        D2DY2.SetDim(ZR_D2DY2_SET1, *(*YDOMAIN).INTERIOR, ZR_D2DY2_SET3);
    } else {
        D2DY2.CancelDependenceOnDeclaredSets();
    }
    if (ZDOMAIN.Linked() != nullptr) {
        D2DZ2.SetDim(ZR_D2DZ2_SET1, ZR_D2DZ2_SET2, *(*ZDOMAIN).INTERIOR);
    } else {
        D2DZ2.CancelDependenceOnDeclaredSets();
    }
    IDX.SetDim(ZR_IDX_SET1, ZR_IDX_SET2, ZR_IDX_SET3);
    IDY.SetDim(ZR_IDY_SET1, ZR_IDY_SET2, ZR_IDY_SET3);
    IDZ.SetDim(ZR_IDZ_SET1, ZR_IDZ_SET2, ZR_IDZ_SET3);
    IDXDY.SetDim(ZR_IDXDY_SET1, ZR_IDXDY_SET2, ZR_IDXDY_SET3);
    IDXDZ.SetDim(ZR_IDXDZ_SET1, ZR_IDXDZ_SET2, ZR_IDXDZ_SET3);
    IDYDZ.SetDim(ZR_IDYDZ_SET1, ZR_IDYDZ_SET2, ZR_IDYDZ_SET3);
    IDXDYDZ.SetDim(ZR_IDXDYDZ_SET1, ZR_IDXDYDZ_SET2, ZR_IDXDYDZ_SET3);
}

bool ZR_DISTRIBUTION3D::ReadyToDrive() {
    return XDOMAIN.Linked() != nullptr && YDOMAIN.Linked() != nullptr && ZDOMAIN.Linked() != nullptr;
}

void ZR_DISTRIBUTION3D::InitialiseIndexSets(int level, int arg, int pass) {
    ZR_DOMAIN& x = *XDOMAIN;
    ZR_DOMAIN& y = *YDOMAIN;
    ZR_DOMAIN& z = *ZDOMAIN;
    const int xe = (*x.ENDNODE).v();
    const int ye = (*y.ENDNODE).v();
    const int ze = (*z.ENDNODE).v();
    const int xUsed = (*HIGHESTORDERXDERIVATIVEUSED).v();
    const int yUsed = (*HIGHESTORDERYDERIVATIVEUSED).v();
    const int zUsed = (*HIGHESTORDERZDERIVATIVEUSED).v();
    int statement = 0;
    auto set = [&](ZR_INTEGERSET& member, const SUValue& value) {
        InitialiseSet(member, value, arg, level, ++statement, pass);
    };
    // An array's y and z dimensions are always whole.
    auto whole = [&](ZR_INTEGERSET& second, ZR_INTEGERSET& third) {
        set(second, ZR_IntSetValue(0, ye));
        set(third, ZR_IntSetValue(0, ze));
    };

    set(ZR_VALUE_SET1, ZR_IntSetValue(0, xe));
    whole(ZR_VALUE_SET2, ZR_VALUE_SET3);
    set(ZR_DDX_SET1, ZR_IntSetValue(0, xe * (xUsed > 0 ? 1 : 0)));
    whole(ZR_DDX_SET2, ZR_DDX_SET3);
    set(ZR_DDY_SET1, ZR_IntSetValue(0, xe * (yUsed > 0 ? 1 : 0)));
    whole(ZR_DDY_SET2, ZR_DDY_SET3);
    set(ZR_DDZ_SET1, ZR_IntSetValue(0, xe * (zUsed > 0 ? 1 : 0)));
    whole(ZR_DDZ_SET2, ZR_DDZ_SET3);

    ZR_IntSetValue d2dx2x(1, xe * (xUsed > 1 ? 1 : 0));
    d2dx2x *= ZR_IntSetValue((*x.INTERIOR).v());
    set(ZR_D2DX2_SET1, d2dx2x);
    set(ZR_D2DX2_SET2, ZR_NodesWithEnds((*y.INTERIOR).v(), ye));
    set(ZR_D2DX2_SET3, ZR_NodesWithEnds((*z.INTERIOR).v(), ze));
    ZR_IntSetValue d2dy2x(0, xe * (yUsed > 1 ? 1 : 0));
    d2dy2x *= ZR_NodesWithEnds((*x.INTERIOR).v(), xe);
    set(ZR_D2DY2_SET1, d2dy2x);
    set(ZR_D2DY2_SET3, ZR_NodesWithEnds((*z.INTERIOR).v(), ze));
    ZR_IntSetValue d2dz2x(0, xe * (zUsed > 1 ? 1 : 0));
    d2dz2x *= ZR_NodesWithEnds((*x.INTERIOR).v(), xe);
    set(ZR_D2DZ2_SET1, d2dz2x);
    set(ZR_D2DZ2_SET2, ZR_NodesWithEnds((*y.INTERIOR).v(), ye));

    // An integral's x range is [0 : XE] when any of its names is chosen (tried
    // left to right) and [0 : -XE] when none is, the bound formed wide: -XE
    // overflows for the most negative XE a user could fix.
    auto integral = [&](std::initializer_list<const char*> names, ZR_INTEGERSET& first, ZR_INTEGERSET& second,
                        ZR_INTEGERSET& third) {
        int m = 0;
        for (const char* name : names) {
            m = SetContainsString(name, (*INTEGRALS).v());
            if (m != 0) break;
        }
        set(first, ZR_IntSetValue(0, ZR_Node((2LL * m - 1) * xe)));
        whole(second, third);
    };
    integral({"idx", "idxdy", "idxdz", "idxdydz"}, ZR_IDX_SET1, ZR_IDX_SET2, ZR_IDX_SET3);
    integral({"idy", "idydz"}, ZR_IDY_SET1, ZR_IDY_SET2, ZR_IDY_SET3);
    integral({"idz"}, ZR_IDZ_SET1, ZR_IDZ_SET2, ZR_IDZ_SET3);
    integral({"idxdy", "idxdydz"}, ZR_IDXDY_SET1, ZR_IDXDY_SET2, ZR_IDXDY_SET3);
    integral({"idxdz"}, ZR_IDXDZ_SET1, ZR_IDXDZ_SET2, ZR_IDXDZ_SET3);
    integral({"idydz"}, ZR_IDYDZ_SET1, ZR_IDYDZ_SET2, ZR_IDYDZ_SET3);
    integral({"idxdydz"}, ZR_IDXDYDZ_SET1, ZR_IDXDYDZ_SET2, ZR_IDXDYDZ_SET3);
}

void ZR_DISTRIBUTION3D::Assignments(int level, int arg) {
    AssignStatement(*HIGHESTORDERXDERIVATIVE, (*(*XDOMAIN).HIGHESTORDERDERIVATIVE).v(), arg, level, 41);
    AssignStatement(*HIGHESTORDERYDERIVATIVE, (*(*YDOMAIN).HIGHESTORDERDERIVATIVE).v(), arg, level, 42);
    AssignStatement(*HIGHESTORDERZDERIVATIVE, (*(*ZDOMAIN).HIGHESTORDERDERIVATIVE).v(), arg, level, 43);
    AssignStatement(*HIGHESTORDERXDERIVATIVEUSED, (*HIGHESTORDERXDERIVATIVE).v(), arg, level, 44);
    AssignStatement(*HIGHESTORDERYDERIVATIVEUSED, (*HIGHESTORDERYDERIVATIVE).v(), arg, level, 45);
    AssignStatement(*HIGHESTORDERZDERIVATIVEUSED, (*HIGHESTORDERZDERIVATIVE).v(), arg, level, 46);
    AssignStatement(*INTEGRALS, "None", arg, level, 47);
}

ORVANE_ENTRY_POINTS(DISTRIBUTION3D);
