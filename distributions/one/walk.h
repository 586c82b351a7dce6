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
        return x > INT_MAX ? INT_MAX : (x < INT_MIN ? INT_MIN : static_cast<int>(x));
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
        ZR_EmitRow(m_sink, kSites[site], block, [this](const ZR_RowToken& t) -> ZR_VarParam& { return Term(t); });
    }
    void At(int site, int block, char letter, long long node) {
        Letter(letter) = node;
        Emit(site, block);
    }

    // The loop letters by their own character; no letter (a fixed index) reads 0.
    long long& Letter(char c) { return m_at[static_cast<unsigned char>(c) & 127]; }

    int Index(const ZR_RowToken& t, int a) { return Node(Letter(t.letter[a]) + t.offset[a]); }

    ZR_VarParam& Term(const ZR_RowToken& t) {
        switch (t.name[0]) {
        case 'V': return (*m_d.VALUE)(Index(t, 0));
        case 'I': return m_d.IDX(Index(t, 0));
        case 'D': return t.name[1] == 'D' ? static_cast<ZR_VarParam&>(m_d.DDX(Index(t, 0)))
                                          : static_cast<ZR_VarParam&>(m_d.D2DX2(Index(t, 0)));
        default: return *Section(t.argc ? Index(t, 0) : Node(m_s)).ELEMENTLENGTH;  // h, h(s+1)
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
        ForRange(lo, hi, [&](int i) { At(site, block, 'i', i); });
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
            if (s == 1) At(2, 2, 'b', m_b);
            Range(3, 2, m_b + 1, m_e);
        });
        Part(Used() > 1, [&](int s) {
            Range(4, 2, m_b + 1, m_e - 1);
            if (s != 1) At(5, 2, 'b', m_b);
        });
        Part(Integrals(), [&](int) { Range(6, 2, m_b, m_e - 1); });
    }

    void Bfd2() {
        Part(Used() > 0, [&](int s) {
            if (s == 1) At(7, 3, 'b', m_b);
            At(8, 3, 'b', m_b);
            Range(9, 3, m_b + 2, m_e);
        });
        Part(Used() > 1, [&](int s) {
            Range(10, 3, m_b + 1, m_e - 1);
            if (s != 1) At(11, 3, 'b', m_b);
        });
        Part(Integrals(), [&](int s) { EachElement(s, 3, 12, 13); });
    }

    void Ffd1() {
        Part(Used() > 0, [&](int s) {
            Range(14, 4, m_b, m_e - 1);
            if (s == Sections()) At(15, 4, 'e', m_e);
        });
        Part(Used() > 1, [&](int s) {
            Range(16, 4, m_b + 1, m_e - 1);
            if (s != Sections()) At(17, 4, 'e', m_e);
        });
        Part(Integrals(), [&](int) { Range(18, 4, m_b, m_e - 1); });
    }

    void Ffd2() {
        Part(Used() > 0, [&](int s) {
            Range(19, 5, m_b, m_e - 2);
            At(20, 5, 'e', m_e);
            if (s == Sections()) At(21, 5, 'e', m_e);
        });
        Part(Used() > 1, [&](int s) {
            Range(22, 5, m_b + 1, m_e - 1);
            if (s != Sections()) At(23, 5, 'e', m_e);
        });
        Part(Integrals(), [&](int s) { EachElement(s, 5, 24, 25); });
    }

    void Cfd2() {
        Part(Used() > 0, [&](int s) {
            if (s == 1) At(26, 6, 'b', m_b);
            Range(27, 6, m_b + 1, m_e - 1);
            if (s == Sections() || Used() > 1) {
                At(28, 6, 'e', m_e);
            } else {
                At(29, 6, 'e', m_e);
            }
        });
        Part(Used() > 1, [&](int s) {
            Range(30, 6, m_b + 1, m_e - 1);
            if (s != 1) At(31, 6, 'b', m_b);
        });
        Part(Integrals(), [&](int s) { EachElement(s, 6, 32, 33); });
    }

    // Neighbouring sections' spacings compared exactly: only two equal numbers
    // are equal, so a NaN spacing takes the rows for unequal spacings.
    void Cfd4() {
        Part(Used() > 0, [&](int s) {
            if (s == 1 || Used() > 1) {
                At(34, 7, 'b', m_b);
                At(35, 7, 'b', m_b);
            } else if (H(s - 1) == H(s)) {
                At(37, 7, 'b', m_b);
            } else {
                At(36, 7, 'b', m_b);
            }
            Range(38, 7, m_b + 2, m_e - 2);
            if (s == Sections() || Used() > 1) {
                At(39, 7, 'e', m_e);
                At(40, 7, 'e', m_e);
            } else if (H(s + 1) == H(s)) {
                Range(43, 7, m_e - 1, m_e);
            } else {
                At(41, 7, 'e', m_e);
                At(42, 7, 'e', m_e);
            }
        });
        Part(Used() > 1, [&](int) {
            At(44, 7, 'b', m_b);
            Range(45, 7, m_b + 2, m_e - 2);
            At(46, 7, 'e', m_e);
        });
        Part(Integrals(), [&](int s) { EachElement(s, 7, 47, 48, 49, 50); });
    }

    void Ubfd4() {
        Part(Used() > 0, [&](int s) {
            if (s == 1) At(51, 8, 'b', m_b);
            At(52, 8, 'b', m_b);
            At(53, 8, 'b', m_b);
            Range(54, 8, m_b + 3, m_e - 1);
            At(55, 8, 'e', m_e);
        });
        Part(Used() > 1, [&](int s) {
            At(56, 8, 'b', m_b);
            At(57, 8, 'b', m_b);
            Range(58, 8, m_b + 3, m_e - 1);
            if (s != 1) At(59, 8, 'b', m_b);
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
    long long m_at[128] = {};
    long long& m_i = Letter('i');
    long long& m_b = Letter('b');
    long long& m_e = Letter('e');
    long long& m_k = Letter('k');
    long long& m_s = Letter('s');
};

}  // namespace zr_distribution1d

template <class Sink>
void ZR_DISTRIBUTION1D::DeclareEquations(Sink& sink) {
    zr_distribution1d::Walk<Sink>(*this, sink).Run();
}
