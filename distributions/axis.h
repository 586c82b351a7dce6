// One domain as a distribution's walk sees it: its sections, their first and
// last nodes and spacing, its elements, its boundary condition and the set of
// lines that second-derivative rows of the other directions run over. Every
// value is read through the sink, as the operation that walks reads it.
#pragma once
#include "distributions/node_numbers.h"
#include "domains/domain.h"
#include "frame/frame.h"

// {0} ∪ (INTERIOR ∪ {ENDNODE}) of a domain: its interior copied, its end node
// added, then united into the one-element set of node 0 (the host's range with
// INT_MIN as its upper bound).
inline ZR_IntSetValue ZR_NodesWithEnds(const ZR_SetValue& interior, int endNode) {
    ZR_IntSetValue inner(interior);
    inner += endNode;
    ZR_IntSetValue nodes(0, INT_MIN);
    nodes += inner;
    return nodes;
}

template <class Sink>
class ZR_Axis {
public:
    explicit ZR_Axis(ZR_DOMAIN& domain) : m_domain(&domain) {}

    ZR_DOMAIN& Domain() const { return *m_domain; }
    ZR_SECTIONDATAMODEL& Section(long long s) const { return (*m_domain->SECTION)(ZR_Node(s)); }
    int Sections() const { return Int(*m_domain->NUMSECTIONS); }
    int EndNode() const { return Int(*m_domain->ENDNODE); }
    int HighestOrder() const { return Int(m_domain->HIGHESTORDERDERIVATIVE); }
    // Section s spans the nodes First(s) to Last(s); Last(s) is First(s + 1).
    long long First(long long s) const { return Int(Section(s).BASE); }
    long long Last(long long s) const { return First(s) + Int(Section(s).NODECOUNT); }
    int Elements(long long s) const { return Int(Section(s).NUMELEMENTS); }
    // Element e (from 1) of section s begins at this node.
    long long ElementStart(long long s, long long e) const {
        return First(s) + (e - 1) * (Int(*m_domain->NUMPOLYPOINTS) + 1LL);
    }
    // The spacing parameter itself, a term of the rows; and its value.
    ZR_REALPARAMETER& H(long long s) const { return *Section(s).ELEMENTLENGTH; }
    double Spacing(long long s) const { return Sink::Read(H(s)); }

    bool MethodIs(const char* name) const { return TextIs(name, *m_domain->DISCRETIZATIONMETHOD); }
    bool Boundary(const char* name) const { return TextIs(name, *m_domain->ELEMENTBOUNDARYCONDITION); }

    // The lines that rows of the other directions run over.
    ZR_IntSetValue Lines() const { return ZR_NodesWithEnds(Sink::Read(m_domain->INTERIOR), EndNode()); }

private:
    static int Int(ZR_INTEGERPARAMETER& p) { return Sink::Read(p); }
    static bool TextIs(const char* name, ZR_STRINGPARAMETER& p) {
        return SUValue::CompareCI(name, static_cast<const char*>(Sink::Read(p))) == 0;
    }

    ZR_DOMAIN* m_domain;
};

// Whether a walk can form every node of the domain's sections and of their
// elements' first nodes, BASE + (e - 1)(NUMPOLYPOINTS + 1), as an int, and
// step `reach` nodes beyond them. Values fixed by a user can put those numbers
// out of reach; such a domain is not read at all, rather than read wrongly.
inline bool ZR_NodesWithinReach(ZR_DOMAIN& domain, long long reach) {
    auto fits = [reach](long long n) { return ZR_NodeWithin(n, reach); };
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
