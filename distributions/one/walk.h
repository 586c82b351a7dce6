// The equation walk of the one-dimensional distribution: the integral start row,
// then, for the domain's method, its first-derivative, second-derivative and
// integral parts. The same walk serves SetUpEquations and JacPattern; the sink
// decides what the host is told.
#pragma once
#include <climits>

#include "distributions/one/distribution1d.h"
#include "distributions/one/rows.h"

namespace zr_distribution1d {

template <class Sink>
class Walk {
public:
    Walk(ZR_DISTRIBUTION1D& d, Sink& sink) : m_d(d), m_sink(sink) {}

    void Run() {
        if (Integrals()) Emit(1, 1);
        static const char* const kMethods[] = {"BFD1", "BFD2", "FFD1", "FFD2", "CFD2",
                                               "CFD4", "UBFD4", "OCFE2", "OCFE3", "OCFE4"};
        for (int m = 0; m < 10; ++m) {
            if (SUValue::CompareCI(kMethods[m], Text(*Domain().DISCRETIZATIONMETHOD)) != 0) continue;
            const int block = m + 2;
            switch (block) {
            case 2: Bfd1(); break;
            case 3: Bfd2(); break;
            case 4: Ffd1(); break;
            case 5: Ffd2(); break;
            case 6: Cfd2(); break;
            case 7: Cfd4(); break;
            case 8: Ubfd4(); break;
            default: Collocation(kCollocation[block - 9]); break;
            }
        }
    }

private:
    // --- reading ------------------------------------------------------------
    ZR_DOMAIN& Domain() { return *m_d.XDOMAIN; }
    ZR_SECTIONDATAMODEL& Section(int s) { return (*Domain().SECTION)(s); }
    int Int(ZR_INTEGERPARAMETER& p) { return Sink::Read(*p); }
    double Real(ZR_REALPARAMETER& p) { return Sink::Read(*p); }
    const char* Text(ZR_STRINGPARAMETER& p) { return static_cast<const char*>(Sink::Read(*p)); }
    bool Integrals() { return SetContainsString("idx", Sink::Read(*m_d.INTEGRALS)) != 0; }
    int Used() { return Int(m_d.HIGHESTORDERXDERIVATIVEUSED); }
    int Sections() { return Int(*Domain().NUMSECTIONS); }
    // Node numbers are sums of counts a user may have fixed to anything: they are
    // formed wide and saturated where they reach the host.
    long long First(int s) { return Int(Section(s).BASE); }
    long long Last(int s) { return First(s) + Int(Section(s).NODECOUNT); }
    static int Node(long long x) {
        if (x == static_cast<int>(x)) return static_cast<int>(x);
        return x > 0 ? INT_MAX : INT_MIN;
    }
    double H(int s) { return Real(Section(s).ELEMENTLENGTH); }
    bool Boundary(const char* name) {
        return SUValue::CompareCI(name, Text(*Domain().ELEMENTBOUNDARYCONDITION)) == 0;
    }

    // --- loops over host sets, bounds fixed when the loop starts ---------------
    template <class F>
    void ForRange(long long lo, long long hi, F&& body) {
        ZR_IntegerSetIter it(ZR_IntSetValue(Node(lo), Node(hi)));
        while (it.Next()) body(Sink::Read(it));
    }
    template <class F>
    void ForSections(F&& body) {
        ForRange(1, Sections(), [&](int s) {
            m_s = s;
            body(s);
        });
    }
    // Elements of section s, each visited through the one-element set of its
    // first node k.
    template <class F>
    void ForElements(int s, F&& body) {
        ForRange(1, Int(Section(s).NUMELEMENTS), [&](int j) {
            ZR_IntSetValue only(static_cast<const char*>(nullptr));
            only += Node(First(s) + (j - 1LL) * (Int(*Domain().NUMPOLYPOINTS) + 1LL));
            ZR_IntegerSetIter k(only);
            while (k.Next()) {
                m_k = Sink::Read(k);
                body(m_k);
            }
        });
    }

    // --- declaring ----------------------------------------------------------
    // Declares site `site` of block `block` with the loop letters as they stand.
    void Emit(int site, int block) {
        ZR_EmitRow(m_sink, kSites[site], block, [this](const ZR_TermRef& t) -> ZR_VarParam& { return Term(t); });
    }
    void At(int site, int block, Slot letter, long long node) {
        m_at[letter] = node;
        Emit(site, block);
    }

    // The object a term names, looked up through the host afresh; h without an
    // argument is that of the section the walk stands on.
    ZR_VarParam& Term(const ZR_TermRef& t) {
        const int node = Node(m_at[t.slot[0]] + t.offset[0]);
        if (t.name == kValue) return (*m_d.VALUE)(node);  // most terms
        switch (t.name) {
        case kIdx: return m_d.IDX(node);
        case kDdx: return m_d.DDX(node);
        case kD2dx2: return m_d.D2DX2(node);
        default: return *Section(t.argc ? node : Node(m_s)).ELEMENTLENGTH;
        }
    }

    // Section loop of one finite-difference part with b and e set.
    template <class F>
    void Part(bool run, F&& body) {
        if (!run) return;
        ForSections([&](int s) {
            m_b = First(s);
            m_e = Last(s);
            body(s);
        });
    }
    void Range(int site, int block, long long lo, long long hi) {
        ForRange(lo, hi, [&](int i) { At(site, block, kI, i); });
    }
    template <class... Sites>
    void EachElement(int s, int block, Sites... sites) {
        ForElements(s, [&](long long) {
            for (int site : {sites...}) Emit(site, block);
        });
    }

    // --- the method blocks --------------------------------------------------
    void Bfd1() {
        Part(Used() > 0, [&](int s) {
            if (s == 1) At(2, 2, kB, m_b);
            Range(3, 2, m_b + 1, m_e);
        });
        Part(Used() > 1, [&](int s) {
            Range(4, 2, m_b + 1, m_e - 1);
            if (s != 1) At(5, 2, kB, m_b);
        });
        Part(Integrals(), [&](int) { Range(6, 2, m_b, m_e - 1); });
    }

    void Bfd2() {
        Part(Used() > 0, [&](int s) {
            if (s == 1) At(7, 3, kB, m_b);
            At(8, 3, kB, m_b);
            Range(9, 3, m_b + 2, m_e);
        });
        Part(Used() > 1, [&](int s) {
            Range(10, 3, m_b + 1, m_e - 1);
            if (s != 1) At(11, 3, kB, m_b);
        });
        Part(Integrals(), [&](int s) { EachElement(s, 3, 12, 13); });
    }

    void Ffd1() {
        Part(Used() > 0, [&](int s) {
            Range(14, 4, m_b, m_e - 1);
            if (s == Sections()) At(15, 4, kE, m_e);
        });
        Part(Used() > 1, [&](int s) {
            Range(16, 4, m_b + 1, m_e - 1);
            if (s != Sections()) At(17, 4, kE, m_e);
        });
        Part(Integrals(), [&](int) { Range(18, 4, m_b, m_e - 1); });
    }

    void Ffd2() {
        Part(Used() > 0, [&](int s) {
            Range(19, 5, m_b, m_e - 2);
            At(20, 5, kE, m_e);
            if (s == Sections()) At(21, 5, kE, m_e);
        });
        Part(Used() > 1, [&](int s) {
            Range(22, 5, m_b + 1, m_e - 1);
            if (s != Sections()) At(23, 5, kE, m_e);
        });
        Part(Integrals(), [&](int s) { EachElement(s, 5, 24, 25); });
    }

    void Cfd2() {
        Part(Used() > 0, [&](int s) {
            if (s == 1) At(26, 6, kB, m_b);
            Range(27, 6, m_b + 1, m_e - 1);
            if (s == Sections() || Used() > 1) {
                At(28, 6, kE, m_e);
            } else {
                At(29, 6, kE, m_e);
            }
        });
        Part(Used() > 1, [&](int s) {
            Range(30, 6, m_b + 1, m_e - 1);
            if (s != 1) At(31, 6, kB, m_b);
        });
        Part(Integrals(), [&](int s) { EachElement(s, 6, 32, 33); });
    }

    // Neighbouring sections' spacings compared exactly: only two equal numbers
    // are equal, so a NaN spacing takes the rows for unequal spacings.
    void Cfd4() {
        Part(Used() > 0, [&](int s) {
            if (s == 1 || Used() > 1) {
                At(34, 7, kB, m_b);
                At(35, 7, kB, m_b);
            } else if (H(s - 1) == H(s)) {
                At(37, 7, kB, m_b);
            } else {
                At(36, 7, kB, m_b);
            }
            Range(38, 7, m_b + 2, m_e - 2);
            if (s == Sections() || Used() > 1) {
                At(39, 7, kE, m_e);
                At(40, 7, kE, m_e);
            } else if (H(s + 1) == H(s)) {
                Range(43, 7, m_e - 1, m_e);
            } else {
                At(41, 7, kE, m_e);
                At(42, 7, kE, m_e);
            }
        });
        Part(Used() > 1, [&](int) {
            At(44, 7, kB, m_b);
            Range(45, 7, m_b + 2, m_e - 2);
            At(46, 7, kE, m_e);
        });
        Part(Integrals(), [&](int s) { EachElement(s, 7, 47, 48, 49, 50); });
    }

    void Ubfd4() {
        Part(Used() > 0, [&](int s) {
            if (s == 1) At(51, 8, kB, m_b);
            At(52, 8, kB, m_b);
            At(53, 8, kB, m_b);
            Range(54, 8, m_b + 3, m_e - 1);
            At(55, 8, kE, m_e);
        });
        Part(Used() > 1, [&](int s) {
            At(56, 8, kB, m_b);
            At(57, 8, kB, m_b);
            Range(58, 8, m_b + 3, m_e - 1);
            if (s != 1) At(59, 8, kB, m_b);
        });
        Part(Integrals(), [&](int s) { EachElement(s, 8, 60, 61, 62, 63); });
    }

    // The three collocation blocks differ only in their sites and in how many
    // collocation points an element holds.
    struct CollocationBlock {
        int block;
        int points;             // an element spans the nodes k to k + points + 1
        int firstRow, lastRow;  // "Backward" row at the domain's first node, "Forward" at its last
        int inner[3];           // first-derivative rows at the collocation points
        int backwardEnd;        // at the element's last node when "Backward"
        int forwardStart;       // at the element's first node otherwise
        int continuityBackward, continuityForward;
        int second[3];          // second-derivative rows at the collocation points
        int integral[4];        // IDX(k+1) .. IDX(k+points+1)
    };
    static constexpr CollocationBlock kCollocation[3] = {
        {9, 1, 64, 65, {66}, 67, 68, 69, 70, {71}, {72, 73}},
        {10, 2, 74, 75, {76, 77}, 78, 79, 80, 81, {82, 83}, {84, 85, 86}},
        {11, 3, 87, 88, {89, 90, 91}, 92, 93, 94, 95, {96, 97, 98}, {99, 100, 101, 102}},
    };

    void Collocation(const CollocationBlock& c) {
        const int block = c.block;
        ForSections([&](int s) {
            m_b = First(s);
            m_e = Last(s);
            const bool first = Used() > 0;
            const bool second = Used() > 1;
            const bool integrals = Integrals();
            if (first) {
                if (s == 1 && Boundary("Backward")) {
                    Emit(c.firstRow, block);
                } else if (s == Sections() && Boundary("Forward")) {
                    Emit(c.lastRow, block);
                }
                ForElements(s, [&](long long) {
                    for (int p = 0; p < c.points; ++p) Emit(c.inner[p], block);
                    Emit(Boundary("Backward") ? c.backwardEnd : c.forwardStart, block);
                });
            }
            if (second) {
                ForElements(s, [&](long long k) {
                    if (Int(m_d.HIGHESTORDERXDERIVATIVE) == 2) {
                        if (k != 0 && Boundary("Backward")) {
                            Emit(c.continuityBackward, block);
                        } else if (k + c.points + 1 != Last(s) && Boundary("Forward")) {
                            Emit(c.continuityForward, block);
                        }
                    }
                    for (int p = 0; p < c.points; ++p) Emit(c.second[p], block);
                });
            }
            if (integrals) {
                ForElements(s, [&](long long) {
                    for (int p = 0; p <= c.points; ++p) Emit(c.integral[p], block);
                });
            }
        });
    }

    ZR_DISTRIBUTION1D& m_d;
    Sink& m_sink;
    // The loop letters by slot; slot 0, a fixed index, stays 0.
    long long m_at[kS + 1] = {};
    long long& m_b = m_at[kB];
    long long& m_e = m_at[kE];
    long long& m_k = m_at[kK];
    long long& m_s = m_at[kS];
};

}  // namespace zr_distribution1d

template <class Sink>
void ZR_DISTRIBUTION1D::DeclareEquations(Sink& sink) {
    zr_distribution1d::Walk<Sink>(*this, sink).Run();
}
