#include "domains/domain.h"

#include <climits>
#include <cmath>

namespace {

// Reals become ints by saturation: a length or spacing that is zero, infinite or
// not a number must give some count, never undefined behaviour.
int Saturate(double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return INT_MAX;
    if (x <= -2147483648.0) return INT_MIN;
    return static_cast<int>(x);
}

int Saturate(long long x) {
    if (x > INT_MAX) return INT_MAX;
    if (x < INT_MIN) return INT_MIN;
    return static_cast<int>(x);
}

// Halves go away from zero: 2.5 gives 3, -2.5 gives -3.
int RoundHalfAway(double x) { return x >= 0.0 ? Saturate(std::trunc(x + 0.5)) : Saturate(std::trunc(x - 0.5)); }

int TruncToInt(double x) { return Saturate(std::trunc(x)); }

// Node numbers are sums and products of counts the user may have set to anything:
// they are formed wide and saturated.
int Node(long long x) { return Saturate(x); }

}  // namespace

ZR_DOMAIN::ZR_DOMAIN(bool construct, ZR_Container* owner)
    : ZR_Frame(owner), USERNOTES(true), INPUTSIGNAL(true, nullptr), OUTPUTSIGNAL(true, nullptr),
      DISCRETIZATIONMETHOD(true), NUMSECTIONS(true), MINNODECOUNT(true), NUMPOLYPOINTS(true),
      HIGHESTORDERDERIVATIVE(true), ELEMENTBOUNDARYCONDITION(true), ENDNODE(true) {
    Finish(construct, owner);
}

ZR_DOMAIN::~ZR_DOMAIN() = default;
const char* ZR_DOMAIN::ZR_ContainerId() { return "Model DOMAIN\tV9"; }

void ZR_DOMAIN::RegisterMembers(ZR_Registrar& registrar) {
    registrar.Add(ZR_SECTION_SET1, "ZR_SECTION_SET1");
    registrar.Add(SECTION, "SECTION");
    registrar.Add(LENGTH, "LENGTH", "Domain length");
    registrar.Add(SPACINGPREFERENCE, "SPACINGPREFERENCE", "Preferred node spacing for domain");
    registrar.Add(ZR_VALUE_SET1, "ZR_VALUE_SET1");
    registrar.Add(VALUE, "VALUE", "DO NOT EDIT - Location of each node in domain");
    registrar.Add(USERNOTES, "USERNOTES");
    registrar.AddSignalPort(INPUTSIGNAL, "INPUTSIGNAL", ZR_DIR_INPUT);
    registrar.AddSignalPort(OUTPUTSIGNAL, "OUTPUTSIGNAL", ZR_DIR_OUTPUT);
    registrar.Add(DISCRETIZATIONMETHOD, "DISCRETIZATIONMETHOD", "Method used to calculate partial derivatives");
    registrar.Add(NUMSECTIONS, "NUMSECTIONS", "Number of sections in the domain");
    registrar.Add(MINNODECOUNT, "MINNODECOUNT");
    registrar.Add(NUMPOLYPOINTS, "NUMPOLYPOINTS");
    registrar.Add(ZR_POLYPOINT_SET1, "ZR_POLYPOINT_SET1");
    registrar.Add(POLYPOINT, "POLYPOINT");
    registrar.Add(HIGHESTORDERDERIVATIVE, "HIGHESTORDERDERIVATIVE");
    registrar.Add(ELEMENTBOUNDARYCONDITION, "ELEMENTBOUNDARYCONDITION",
                  "Direction of derivative used as boundary condition for OCFE models");
    registrar.Add(INTERIOR, "INTERIOR");
    registrar.Add(ENDNODE, "ENDNODE", "DO NOT EDIT - Index of the rightmost element in domain");
}

void ZR_DOMAIN::BindArrays() {
    (*SECTION).SetDim(ZR_SECTION_SET1);
    (*VALUE).SetDim(ZR_VALUE_SET1);
    POLYPOINT.SetDim(ZR_POLYPOINT_SET1);
}

bool ZR_DOMAIN::MethodIs(const char* name) {
    return SUValue::CompareCI(name, static_cast<const char*>((*DISCRETIZATIONMETHOD).v())) == 0;
}

bool ZR_DOMAIN::MethodIsOneOf(std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (MethodIs(name)) return true;
    return false;
}

ZR_SECTIONDATAMODEL& ZR_DOMAIN::Section(int i) { return (*SECTION)(i); }

double ZR_DOMAIN::Sigma91646208(ZR_IntegerSetIter& i) {
    double total = 0.0;
    ZR_IntegerSetIter k(ZR_IntSetValue(1, i.v() - 1));
    while (k.Next()) total += static_cast<double>(Section(k.v()).NODECOUNT.v());
    return total;
}

double ZR_DOMAIN::Sigma91668480() {
    double total = 0.0;
    ZR_IntegerSetIter k(ZR_IntSetValue(1, (*NUMSECTIONS).v()));
    while (k.Next()) total += static_cast<double>(Section(k.v()).NODECOUNT.v());
    return total;
}

double ZR_DOMAIN::Sigma91669560() {
    double total = 0.0;
    ZR_IntegerSetIter k(ZR_IntSetValue(1, (*NUMSECTIONS).v()));
    while (k.Next()) total += static_cast<double>(Section(k.v()).NODECOUNT.v());
    return total;
}

const ZR_SetValue& ZR_DOMAIN::UnionFn91667760() {
    static ZR_SetValue result(8);
    result.Clear(0);
    bool first = true;
    ZR_IntegerSetIter s(ZR_IntSetValue(1, (*NUMSECTIONS).v()));
    while (s.Next()) {
        ZR_SetValue term(Section(s.v()).INTERIOR.v());
        if (first) {
            result = term;
            first = false;
        } else {
            result += term;
        }
    }
    return result;
}

const ZR_SetValue& ZR_DOMAIN::UnionFn91675040(ZR_IntegerSetIter& i) {
    static ZR_SetValue result(8);
    result.Clear(0);
    bool first = true;
    ZR_IntegerSetIter e(ZR_IntSetValue(1, Section(i.v()).NUMELEMENTS.v()));
    while (e.Next()) {
        ZR_IntSetValue only(static_cast<const char*>(nullptr));
        const int npp = (*NUMPOLYPOINTS).v();
        only += Node(Section(i.v()).BASE.v() + static_cast<long long>(e.v() - 1LL) * (npp + 1LL));
        ZR_IntegerSetIter b(only);
        while (b.Next()) {
            ZR_IntSetValue term(Node(b.v() + 1LL), Node(static_cast<long long>(b.v()) + (*NUMPOLYPOINTS).v()));
            if (first) {
                result = term;
                first = false;
            } else {
                result += term;
            }
        }
    }
    return result;
}

void ZR_DOMAIN::InitialiseIndexSets(int level, int arg, int pass) {
    InitialiseSet(ZR_SECTION_SET1, ZR_IntSetValue(1, (*NUMSECTIONS).v()), arg, level, 1, pass);
    InitialiseSet(ZR_VALUE_SET1, ZR_IntSetValue(0, ENDNODE.v()), arg, level, 2, pass);
    InitialiseSet(ZR_POLYPOINT_SET1, ZR_IntSetValue(1, (*NUMPOLYPOINTS).v()), arg, level, 3, pass);
}

void ZR_DOMAIN::Assignments(int level, int arg) {
    auto assign = [&](ZR_VarParamProp& target, auto value, int n) { AssignStatement(target, value, arg, level, n); };
    auto L = [&] { return (*LENGTH).v(); };
    auto NS = [&] { return (*NUMSECTIONS).v(); };
    auto NPP = [&] { return (*NUMPOLYPOINTS).v(); };
    auto PP = [&](int k) -> ZR_REALPARAMETER& { return *POLYPOINT(k); };
    auto S = [&](int i) -> ZR_SECTIONDATAMODEL& { return Section(i); };
    const auto fivePoint = {"FFD2", "CFD2", "BFD2", "CFD4", "UBFD4"};

    // Domain-wide defaults.
    assign(*LENGTH, 1.0, 4);
    assign(*SPACINGPREFERENCE, (L() * 0.125) / static_cast<double>(NS()), 5);
    if (MethodIsOneOf({"BFD1", "BFD2", "FFD1", "FFD2", "CFD2", "OCFE2"})) {
        assign(MINNODECOUNT, 2, 6);
    } else if (MethodIs("OCFE3")) {
        assign(MINNODECOUNT, 3, 7);
    } else if (MethodIsOneOf({"CFD4", "UBFD4", "OCFE4"})) {
        assign(MINNODECOUNT, 4, 8);
    }
    if (MethodIs("OCFE2")) {
        assign(*NUMPOLYPOINTS, 1, 9);
        assign(PP(1), 0.5, 10);
    } else if (MethodIsOneOf({"BFD2", "FFD2", "CFD2"})) {
        assign(*NUMPOLYPOINTS, 1, 11);
        assign(PP(1), 0.5, 12);
    } else if (MethodIs("OCFE3")) {
        assign(*NUMPOLYPOINTS, 2, 13);
        assign(PP(1), 0.21132, 14);
        assign(PP(2), 0.78868, 15);
    } else if (MethodIs("OCFE4")) {
        assign(*NUMPOLYPOINTS, 3, 16);
        assign(PP(1), 0.1127, 17);
        assign(PP(2), 0.5, 18);
        assign(PP(3), 0.8873, 19);
    } else if (MethodIsOneOf({"CFD4", "UBFD4"})) {
        assign(*NUMPOLYPOINTS, 3, 20);
        assign(PP(1), 0.25, 21);
        assign(PP(2), 0.5, 22);
        assign(PP(3), 0.75, 23);
    }
    assign(HIGHESTORDERDERIVATIVE, 1, 24);

    // Sections.
    assign(*S(1).LOCATION, 0.0, 25);
    ZR_IntegerSetIter i(ZR_IntSetValue(1, NS()));
    while (i.Next()) {
        ZR_SECTIONDATAMODEL& sec = S(i.v());
        if (i.v() > 1)
            assign(*sec.LOCATION,
                   (*S(1).LOCATION).v() + (static_cast<double>(i.v() - 1) * L()) / static_cast<double>(NS()), 26);
        assign(*sec.SPACINGPREFERENCE, (*SPACINGPREFERENCE).v(), 27);
        if (i.v() == NS()) {
            assign(sec.LENGTH, ((*S(1).LOCATION).v() + L()) - (*sec.LOCATION).v(), 28);
        } else {
            assign(sec.LENGTH, (*S(i.v() + 1).LOCATION).v() - (*sec.LOCATION).v(), 29);
        }
        ZR_IntSetValue rounded(static_cast<const char*>(nullptr));
        rounded += RoundHalfAway(sec.LENGTH.v() / (*sec.SPACINGPREFERENCE).v());
        ZR_IntegerSetIter nn(rounded);
        while (nn.Next()) {
            if (nn.v() < MINNODECOUNT.v()) {
                assign(sec.NODECOUNT, MINNODECOUNT.v(), 30);
            } else {
                const double groups = static_cast<double>(static_cast<long long>(nn.v()) + NPP()) /
                                      static_cast<double>(NPP() + 1LL);
                assign(sec.NODECOUNT, Node(TruncToInt(groups) * (NPP() + 1LL)), 31);
            }
        }
        if (i.v() > 1) {
            assign(sec.BASE, TruncToInt(Sigma91646208(i)), 32);
        } else {
            assign(sec.BASE, 0, 33);
        }
        assign(*sec.SPACINGUSED, sec.LENGTH.v() / static_cast<double>(sec.NODECOUNT.v()), 34);
        assign(sec.NUMELEMENTS,
               TruncToInt(static_cast<double>(sec.NODECOUNT.v()) / static_cast<double>(NPP() + 1LL)), 35);
        if (NPP() == 0 || MethodIsOneOf(fivePoint)) {
            assign(sec.ELEMENTLENGTH, (*sec.SPACINGUSED).v(), 36);
        } else {
            assign(sec.ELEMENTLENGTH, static_cast<double>(NPP() + 1LL) * (*sec.SPACINGUSED).v(), 37);
        }
        const ZR_IntSetValue inner(Node(sec.BASE.v() + 1LL), Node(sec.BASE.v() + static_cast<long long>(sec.NODECOUNT.v()) - 1));
        if (HIGHESTORDERDERIVATIVE.v() > 1) {
            if (NPP() == 0 || MethodIsOneOf(fivePoint)) {
                assign(sec.INTERIOR, static_cast<const SUValue&>(inner), 38);
            } else {
                assign(sec.INTERIOR, static_cast<const SUValue&>(UnionFn91675040(i)), 39);
            }
        } else {
            assign(sec.INTERIOR, static_cast<const SUValue&>(inner), 40);
        }
    }

    // Domain-wide results.
    assign(INTERIOR, static_cast<const SUValue&>(UnionFn91667760()), 41);
    if (HIGHESTORDERDERIVATIVE.v() < 2)
        assign(INTERIOR, static_cast<const SUValue&>(ZR_IntSetValue(1, Node(TruncToInt(Sigma91668480()) - 1LL))), 42);
    assign(ENDNODE, TruncToInt(Sigma91669560()), 43);
    assign((*VALUE)(0), (*S(1).LOCATION).v(), 44);

    // Node coordinates.
    ZR_IntegerSetIter s(ZR_IntSetValue(1, NS()));
    while (s.Next()) {
        ZR_IntegerSetIter e(ZR_IntSetValue(1, S(s.v()).NUMELEMENTS.v()));
        while (e.Next()) {
            ZR_SECTIONDATAMODEL& sec = S(s.v());
            const long long b = sec.BASE.v();
            const long long width = NPP() + 1LL;
            const double l = (*sec.LOCATION).v();
            const double h = sec.ELEMENTLENGTH.v();
            const double ed = static_cast<double>(e.v());
            const bool uniform = MethodIsOneOf(fivePoint);
            ZR_IntegerSetIter p(ZR_IntSetValue(1, NPP()));
            while (p.Next()) {
                const int node = Node(b + (e.v() - 1LL) * width + p.v());
                if (uniform) {
                    assign((*VALUE)(node), l + (((ed + PP(p.v()).v()) - 1.0) * h) * static_cast<double>(width), 45);
                } else {
                    assign((*VALUE)(node), l + ((ed + PP(p.v()).v()) - 1.0) * h, 47);
                }
            }
            const int last = Node(b + e.v() * width);
            if (uniform) {
                assign((*VALUE)(last), l + ((ed * h) * static_cast<double>(width)), 46);
            } else {
                assign((*VALUE)(last), l + ed * h, 48);
            }
        }
    }
}

ZR_LENGTHDOMAIN::ZR_LENGTHDOMAIN(bool construct, ZR_Container* owner) : ZR_Frame(owner) { Finish(construct, owner); }
ZR_LENGTHDOMAIN::~ZR_LENGTHDOMAIN() = default;
const char* ZR_LENGTHDOMAIN::ZR_ContainerId() { return "Model LENGTHDOMAIN\tV9"; }

ZR_ANGLEDOMAIN::ZR_ANGLEDOMAIN(bool construct, ZR_Container* owner) : ZR_Frame(owner) { Finish(construct, owner); }
ZR_ANGLEDOMAIN::~ZR_ANGLEDOMAIN() = default;
const char* ZR_ANGLEDOMAIN::ZR_ContainerId() { return "Model ANGLEDOMAIN\tV9"; }

ORVANE_ENTRY_POINTS(DOMAIN);
ORVANE_ENTRY_POINTS(LENGTHDOMAIN);
ORVANE_ENTRY_POINTS(ANGLEDOMAIN);
