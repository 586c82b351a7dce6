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

// The integer range [lo : hi], empty when hi < lo, from bounds formed wide: a
// bound beyond the int range must not turn into a range the host reads otherwise.
ZR_IntSetValue Range(long long lo, long long hi) {
    if (hi < lo || lo > INT_MAX || hi < INT_MIN) return ZR_IntSetValue(static_cast<const char*>(nullptr));
    return ZR_IntSetValue(Node(lo), Node(hi));
}

// The host may be unable to hold the instance of a replaceable member or an array
// element (it records why and gives none); the node placement then stops where
// it stands instead of using what does not exist.
template <class T>
T* Held(ZR_Virtual<T>& member) {
    return static_cast<T*>(member.VirtualLink());
}

ZR_REALPARAMETER* Element(ZR_ARRAY_I<ZR_REALPARAMETER, ZR_REALPARAMETER>& array, int k) {
    return static_cast<ZR_REALPARAMETER*>(array.Find(k));
}

}  // namespace

ZR_DOMAIN::ZR_DOMAIN(bool construct, ZR_Container* owner)
    : ZR_Frame(owner), USERNOTES(true), INPUTSIGNAL(true, nullptr), OUTPUTSIGNAL(true, nullptr),
      DISCRETIZATIONMETHOD(true), NUMSECTIONS(true), MINNODECOUNT(true), NUMPOLYPOINTS(true),
      HIGHESTORDERDERIVATIVE(true), ELEMENTBOUNDARYCONDITION(true), ENDNODE(true) {
    Finish(construct, owner);
}

ORVANE_TYPE_DEFINITIONS(ZR_DOMAIN, "Model DOMAIN\tV9")

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
    if (auto* sections = Held(SECTION)) sections->SetDim(ZR_SECTION_SET1);
    if (auto* values = Held(VALUE)) values->SetDim(ZR_VALUE_SET1);
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

ZR_SECTIONDATAMODEL* ZR_DOMAIN::Section(int i) {
    auto* sections = Held(SECTION);
    auto* section = sections ? static_cast<ZR_SECTIONDATAMODEL*>(sections->Find(i)) : nullptr;
    if (section == nullptr || !Held(section->LOCATION) || !Held(section->SPACINGPREFERENCE) ||
        !Held(section->SPACINGUSED))
        return nullptr;
    return section;
}

double ZR_DOMAIN::NodeCountSum(long long last) {
    double total = 0.0;
    ZR_IntegerSetIter k(Range(1, last));
    while (k.Next()) {
        ZR_SECTIONDATAMODEL* section = Section(k.v());
        if (section == nullptr) break;
        total += static_cast<double>(section->NODECOUNT.v());
    }
    return total;
}

double ZR_DOMAIN::Sigma91646208(ZR_IntegerSetIter& i) { return NodeCountSum(i.v() - 1LL); }
double ZR_DOMAIN::Sigma91668480() { return NodeCountSum((*NUMSECTIONS).v()); }
double ZR_DOMAIN::Sigma91669560() { return NodeCountSum((*NUMSECTIONS).v()); }

namespace {
// Both unions assign their first term and unite every later one into it.
void Gather(ZR_SetValue& result, const SUValue& term, bool& first) {
    if (first) {
        result = term;
        first = false;
    } else {
        result += term;
    }
}
}  // namespace

const ZR_SetValue& ZR_DOMAIN::UnionFn91667760() {
    static ZR_SetValue result(8);
    result.Clear(0);
    bool first = true;
    ZR_IntegerSetIter s(Range(1, (*NUMSECTIONS).v()));
    while (s.Next()) {
        ZR_SECTIONDATAMODEL* section = Section(s.v());
        if (section == nullptr) break;
        Gather(result, section->INTERIOR.v(), first);
    }
    return result;
}

const ZR_SetValue& ZR_DOMAIN::UnionFn91675040(ZR_IntegerSetIter& i) {
    static ZR_SetValue result(8);
    result.Clear(0);
    ZR_SECTIONDATAMODEL* section = Section(i.v());
    if (section == nullptr) return result;
    bool first = true;
    ZR_IntegerSetIter e(Range(1, section->NUMELEMENTS.v()));
    while (e.Next()) {
        ZR_IntSetValue only(static_cast<const char*>(nullptr));
        only += Node(section->BASE.v() + (e.v() - 1LL) * ((*NUMPOLYPOINTS).v() + 1LL));
        ZR_IntegerSetIter b(only);
        while (b.Next()) {
            Gather(result, Range(b.v() + 1LL, static_cast<long long>(b.v()) + (*NUMPOLYPOINTS).v()), first);
        }
    }
    return result;
}

void ZR_DOMAIN::InitialiseIndexSets(int level, int arg, int pass) {
    InitialiseSet(ZR_SECTION_SET1, Range(1, (*NUMSECTIONS).v()), arg, level, 1, pass);
    InitialiseSet(ZR_VALUE_SET1, Range(0, ENDNODE.v()), arg, level, 2, pass);
    InitialiseSet(ZR_POLYPOINT_SET1, Range(1, (*NUMPOLYPOINTS).v()), arg, level, 3, pass);
}

void ZR_DOMAIN::Assignments(int level, int arg) {
    if (!Held(LENGTH) || !Held(SPACINGPREFERENCE) || !Held(SECTION) || !Held(VALUE)) return;
    auto assign = [&](ZR_VarParamProp& target, auto value, int n) { AssignStatement(target, value, arg, level, n); };
    auto L = [&] { return (*LENGTH).v(); };
    auto NS = [&] { return (*NUMSECTIONS).v(); };
    auto NPP = [&] { return (*NUMPOLYPOINTS).v(); };
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
    // NUMPOLYPOINTS and the points, numbered on from the count's statement.
    auto points = [&](int count, std::initializer_list<double> values, int n) {
        assign(*NUMPOLYPOINTS, count, n);
        int k = 0;
        for (double value : values) {
            ZR_REALPARAMETER* point = Element(POLYPOINT, ++k);
            if (point == nullptr) return false;
            assign(*point, value, n + k);
        }
        return true;
    };
    bool held = true;
    if (MethodIs("OCFE2")) {
        held = points(1, {0.5}, 9);
    } else if (MethodIsOneOf({"BFD2", "FFD2", "CFD2"})) {
        held = points(1, {0.5}, 11);
    } else if (MethodIs("OCFE3")) {
        held = points(2, {0.21132, 0.78868}, 13);
    } else if (MethodIs("OCFE4")) {
        held = points(3, {0.1127, 0.5, 0.8873}, 16);
    } else if (MethodIsOneOf({"CFD4", "UBFD4"})) {
        held = points(3, {0.25, 0.5, 0.75}, 20);
    }
    if (!held) return;
    assign(HIGHESTORDERDERIVATIVE, 1, 24);

    // Sections.
    ZR_SECTIONDATAMODEL* first = Section(1);
    if (first == nullptr) return;
    assign(*first->LOCATION, 0.0, 25);
    ZR_IntegerSetIter i(Range(1, NS()));
    while (i.Next()) {
        ZR_SECTIONDATAMODEL* sec = Section(i.v());
        if (sec == nullptr) return;
        if (i.v() > 1)
            assign(*sec->LOCATION,
                   (*first->LOCATION).v() + (static_cast<double>(i.v() - 1) * L()) / static_cast<double>(NS()), 26);
        assign(*sec->SPACINGPREFERENCE, (*SPACINGPREFERENCE).v(), 27);
        if (i.v() == NS()) {
            assign(sec->LENGTH, ((*first->LOCATION).v() + L()) - (*sec->LOCATION).v(), 28);
        } else {
            ZR_SECTIONDATAMODEL* next = Section(i.v() + 1);
            if (next == nullptr) return;
            assign(sec->LENGTH, (*next->LOCATION).v() - (*sec->LOCATION).v(), 29);
        }
        ZR_IntSetValue rounded(static_cast<const char*>(nullptr));
        rounded += RoundHalfAway(sec->LENGTH.v() / (*sec->SPACINGPREFERENCE).v());
        ZR_IntegerSetIter nn(rounded);
        while (nn.Next()) {
            if (nn.v() < MINNODECOUNT.v()) {
                assign(sec->NODECOUNT, MINNODECOUNT.v(), 30);
            } else {
                const double groups = static_cast<double>(static_cast<long long>(nn.v()) + NPP()) /
                                      static_cast<double>(NPP() + 1LL);
                assign(sec->NODECOUNT, Node(TruncToInt(groups) * (NPP() + 1LL)), 31);
            }
        }
        if (i.v() > 1) {
            assign(sec->BASE, TruncToInt(Sigma91646208(i)), 32);
        } else {
            assign(sec->BASE, 0, 33);
        }
        assign(*sec->SPACINGUSED, sec->LENGTH.v() / static_cast<double>(sec->NODECOUNT.v()), 34);
        assign(sec->NUMELEMENTS,
               TruncToInt(static_cast<double>(sec->NODECOUNT.v()) / static_cast<double>(NPP() + 1LL)), 35);
        if (NPP() == 0 || MethodIsOneOf(fivePoint)) {
            assign(sec->ELEMENTLENGTH, (*sec->SPACINGUSED).v(), 36);
        } else {
            assign(sec->ELEMENTLENGTH, static_cast<double>(NPP() + 1LL) * (*sec->SPACINGUSED).v(), 37);
        }
        auto inner = [&] {
            return Range(sec->BASE.v() + 1LL, sec->BASE.v() + static_cast<long long>(sec->NODECOUNT.v()) - 1);
        };
        if (HIGHESTORDERDERIVATIVE.v() > 1) {
            if (NPP() == 0 || MethodIsOneOf(fivePoint)) {
                assign(sec->INTERIOR, static_cast<const SUValue&>(inner()), 38);
            } else {
                assign(sec->INTERIOR, static_cast<const SUValue&>(UnionFn91675040(i)), 39);
            }
        } else {
            assign(sec->INTERIOR, static_cast<const SUValue&>(inner()), 40);
        }
    }

    // Domain-wide results.
    assign(INTERIOR, static_cast<const SUValue&>(UnionFn91667760()), 41);
    if (HIGHESTORDERDERIVATIVE.v() < 2)
        assign(INTERIOR, static_cast<const SUValue&>(Range(1, TruncToInt(Sigma91668480()) - 1LL)), 42);
    assign(ENDNODE, TruncToInt(Sigma91669560()), 43);
    ZR_REALPARAMETER* origin = Element(*VALUE, 0);
    if (origin == nullptr) return;
    assign(*origin, (*first->LOCATION).v(), 44);

    // Node coordinates.
    ZR_IntegerSetIter s(Range(1, NS()));
    while (s.Next()) {
        ZR_SECTIONDATAMODEL* sec = Section(s.v());
        if (sec == nullptr) return;
        ZR_IntegerSetIter e(Range(1, sec->NUMELEMENTS.v()));
        while (e.Next()) {
            const long long b = sec->BASE.v();
            const long long width = NPP() + 1LL;
            const double l = (*sec->LOCATION).v();
            const double h = sec->ELEMENTLENGTH.v();
            const double ed = static_cast<double>(e.v());
            const bool uniform = MethodIsOneOf(fivePoint);
            ZR_IntegerSetIter p(Range(1, NPP()));
            while (p.Next()) {
                ZR_REALPARAMETER* point = Element(POLYPOINT, p.v());
                ZR_REALPARAMETER* node = Element(*VALUE, Node(b + (e.v() - 1LL) * width + p.v()));
                if (point == nullptr || node == nullptr) return;
                if (uniform) {
                    assign(*node, l + (((ed + point->v()) - 1.0) * h) * static_cast<double>(width), 45);
                } else {
                    assign(*node, l + ((ed + point->v()) - 1.0) * h, 47);
                }
            }
            ZR_REALPARAMETER* last = Element(*VALUE, Node(b + e.v() * width));
            if (last == nullptr) return;
            if (uniform) {
                assign(*last, l + ((ed * h) * static_cast<double>(width)), 46);
            } else {
                assign(*last, l + ed * h, 48);
            }
        }
    }
}

ORVANE_DERIVED_TYPE_DEFINITIONS(ZR_LENGTHDOMAIN, "Model LENGTHDOMAIN\tV9")

ORVANE_DERIVED_TYPE_DEFINITIONS(ZR_ANGLEDOMAIN, "Model ANGLEDOMAIN\tV9")

ORVANE_ENTRY_POINTS(DOMAIN);
ORVANE_ENTRY_POINTS(LENGTHDOMAIN);
ORVANE_ENTRY_POINTS(ANGLEDOMAIN);
