// The equation walk of the one-dimensional distribution: the integral start row,
// then, for the domain's method, its first-derivative, second-derivative and
// integral parts. The same walk serves SetUpEquations and JacPattern; the sink
// decides what the host is told.
#pragma once
#include "distributions/methods.h"
#include "distributions/one/distribution1d.h"
#include "distributions/one/rows.h"

namespace zr_distribution1d {

template <class Sink>
class Walk : public ZR_Walk<Walk<Sink>, Sink> {
    ORVANE_WALK_BASE(Walk);

public:
    Walk(ZR_DISTRIBUTION1D& d, Sink& sink) : Base(sink), m_d(d), m_x(*d.XDOMAIN) {}

    void Run() {
        Enter(1, m_x);
        if (Integrals()) Emit(kRows, 1);
        for (int m = 0; m < kMethodCount; ++m) {
            if (!m_x.MethodIs(kZR_MethodNames[m])) continue;
            Enter(m + 2, m_x);
            switch (m) {
            case kBfd1: Bfd1(); break;
            case kBfd2: Bfd2(); break;
            case kFfd1: Ffd1(); break;
            case kFfd2: Ffd2(); break;
            case kCfd2: Cfd2(); break;
            case kCfd4: Cfd4(); break;
            case kUbfd4: Ubfd4(); break;
            default: Collocation(kCollocation[m - kOcfe2]); break;
            }
        }
    }

private:
    bool Integrals() { return SetContainsString("idx", Sink::Read(*m_d.INTEGRALS)) != 0; }
    int Used() { return Sink::Read(m_d.HIGHESTORDERXDERIVATIVEUSED); }
    int Sections() { return m_x.Sections(); }

    // The object a term names, looked up through the host afresh.
    ZR_VarParam* Term(const ZR_TermRef& t) {
        if (t.name == kH) return this->Spacing(t);
        const int node = this->Index(t, 0);
        switch (t.name) {
        case kValue: return &(*m_d.VALUE)(node);
        case kIdx: return &m_d.IDX(node);
        case kDdx: return &m_d.DDX(node);
        default: return &m_d.D2DX2(node);
        }
    }

    // One finite-difference part: its sections, when it runs.
    template <class F>
    void Part(bool run, F&& body) {
        if (run) EachSection(m_x, body);
    }
    void Range(int site, long long lo, long long hi) {
        Each(kI, lo, hi, [&] { Emit(kRows, site); });
    }
    template <class... Sites>
    void Elements(Sites... sites) {
        EachElement(m_x, [&] {
            for (int site : {sites...}) Emit(kRows, site);
        });
    }

    // --- the method blocks --------------------------------------------------
    void Bfd1() {
        Part(Used() > 0, [&](int s) {
            if (s == 1) Emit(kRows, 2);
            Range(3, B() + 1, E());
        });
        Part(Used() > 1, [&](int s) {
            Range(4, B() + 1, E() - 1);
            if (s != 1) Emit(kRows, 5);
        });
        Part(Integrals(), [&](int) { Range(6, B(), E() - 1); });
    }

    void Bfd2() {
        Part(Used() > 0, [&](int s) {
            if (s == 1) Emit(kRows, 7);
            Emit(kRows, 8);
            Range(9, B() + 2, E());
        });
        Part(Used() > 1, [&](int s) {
            Range(10, B() + 1, E() - 1);
            if (s != 1) Emit(kRows, 11);
        });
        Part(Integrals(), [&](int) { Elements(12, 13); });
    }

    void Ffd1() {
        Part(Used() > 0, [&](int s) {
            Range(14, B(), E() - 1);
            if (s == Sections()) Emit(kRows, 15);
        });
        Part(Used() > 1, [&](int s) {
            Range(16, B() + 1, E() - 1);
            if (s != Sections()) Emit(kRows, 17);
        });
        Part(Integrals(), [&](int) { Range(18, B(), E() - 1); });
    }

    void Ffd2() {
        Part(Used() > 0, [&](int s) {
            Range(19, B(), E() - 2);
            Emit(kRows, 20);
            if (s == Sections()) Emit(kRows, 21);
        });
        Part(Used() > 1, [&](int s) {
            Range(22, B() + 1, E() - 1);
            if (s != Sections()) Emit(kRows, 23);
        });
        Part(Integrals(), [&](int) { Elements(24, 25); });
    }

    void Cfd2() {
        Part(Used() > 0, [&](int s) {
            if (s == 1) Emit(kRows, 26);
            Range(27, B() + 1, E() - 1);
            Emit(kRows, s == Sections() || Used() > 1 ? 28 : 29);
        });
        Part(Used() > 1, [&](int s) {
            Range(30, B() + 1, E() - 1);
            if (s != 1) Emit(kRows, 31);
        });
        Part(Integrals(), [&](int) { Elements(32, 33); });
    }

    // Neighbouring sections' spacings compared exactly: only two equal numbers
    // are equal, so a NaN spacing takes the rows for unequal spacings.
    void Cfd4() {
        Part(Used() > 0, [&](int s) {
            if (s == 1 || Used() > 1) {
                Emit(kRows, 34);
                Emit(kRows, 35);
            } else if (m_x.Spacing(s - 1) == m_x.Spacing(s)) {
                Emit(kRows, 37);
            } else {
                Emit(kRows, 36);
            }
            Range(38, B() + 2, E() - 2);
            if (s == Sections() || Used() > 1) {
                Emit(kRows, 39);
                Emit(kRows, 40);
            } else if (m_x.Spacing(s + 1) == m_x.Spacing(s)) {
                Range(43, E() - 1, E());
            } else {
                Emit(kRows, 41);
                Emit(kRows, 42);
            }
        });
        Part(Used() > 1, [&](int) {
            Emit(kRows, 44);
            Range(45, B() + 2, E() - 2);
            Emit(kRows, 46);
        });
        Part(Integrals(), [&](int) { Elements(47, 48, 49, 50); });
    }

    void Ubfd4() {
        Part(Used() > 0, [&](int s) {
            if (s == 1) Emit(kRows, 51);
            Emit(kRows, 52);
            Emit(kRows, 53);
            Range(54, B() + 3, E() - 1);
            Emit(kRows, 55);
        });
        Part(Used() > 1, [&](int s) {
            Emit(kRows, 56);
            Emit(kRows, 57);
            Range(58, B() + 3, E() - 1);
            if (s != 1) Emit(kRows, 59);
        });
        Part(Integrals(), [&](int) { Elements(60, 61, 62, 63); });
    }

    // The three collocation blocks differ only in their sites and in how many
    // collocation points an element holds.
    struct CollocationBlock {
        int points;             // an element spans the nodes n to n + points + 1
        int firstRow, lastRow;  // "Backward" row at the domain's first node, "Forward" at its last
        int inner[3];           // first-derivative rows at the collocation points
        int backwardEnd;        // at the element's last node when "Backward"
        int forwardStart;       // at the element's first node otherwise
        int continuityBackward, continuityForward;
        int second[3];          // second-derivative rows at the collocation points
        int integral[4];        // IDX(n+1) .. IDX(n+points+1)
    };
    static constexpr CollocationBlock kCollocation[3] = {
        {1, 64, 65, {66}, 67, 68, 69, 70, {71}, {72, 73}},
        {2, 74, 75, {76, 77}, 78, 79, 80, 81, {82, 83}, {84, 85, 86}},
        {3, 87, 88, {89, 90, 91}, 92, 93, 94, 95, {96, 97, 98}, {99, 100, 101, 102}},
    };

    void Collocation(const CollocationBlock& c) {
        EachSection(m_x, [&](int s) {
            const bool first = Used() > 0;
            const bool second = Used() > 1;
            const bool integrals = Integrals();
            if (first) {
                if (s == 1 && m_x.Boundary("Backward")) {
                    Emit(kRows, c.firstRow);
                } else if (s == Sections() && m_x.Boundary("Forward")) {
                    Emit(kRows, c.lastRow);
                }
                EachElement(m_x, [&] {
                    for (int p = 0; p < c.points; ++p) Emit(kRows, c.inner[p]);
                    Emit(kRows, m_x.Boundary("Backward") ? c.backwardEnd : c.forwardStart);
                });
            }
            if (second) {
                EachElement(m_x, [&] {
                    if (Sink::Read(m_d.HIGHESTORDERXDERIVATIVE) == 2) {
                        if (N() != 0 && m_x.Boundary("Backward")) {
                            Emit(kRows, c.continuityBackward);
                        } else if (N() + c.points + 1 != m_x.Last(s) && m_x.Boundary("Forward")) {
                            Emit(kRows, c.continuityForward);
                        }
                    }
                    for (int p = 0; p < c.points; ++p) Emit(kRows, c.second[p]);
                });
            }
            if (integrals) {
                EachElement(m_x, [&] {
                    for (int p = 0; p <= c.points; ++p) Emit(kRows, c.integral[p]);
                });
            }
        });
    }

    ZR_DISTRIBUTION1D& m_d;
    const Axis m_x;
};

}  // namespace zr_distribution1d

template <class Sink>
bool ZR_DISTRIBUTION1D::DeclareEquations(Sink& sink) {
    zr_distribution1d::Walk<Sink> walk(*this, sink);
    walk.Run();
    return walk.Complete();
}
