// What declaring the equations of a distribution costs the library itself: the
// elements of its arrays are built once, on first use, and a walk after that
// takes no block of the heap, whatever the method. The measurements set the
// library beside a replay of the host calls it made, so the replay is checked
// here too.
#include <string>
#include <tuple>

#include "library.h"
#include "replay.h"

using namespace testing_support;

namespace {

class DeclarationCost : public HostTest {};

// A distribution over domains of two sections of the methods given, one per
// direction, settled and sized, with every derivative and every integral.
struct Settled {
    qtvhost::InstanceRef distribution;
    std::vector<qtvhost::LinkedInstance> linked;
};

Settled Settle(std::vector<const char*> methods) {
    static const char* const kTypes[] = {"DISTRIBUTION1D", "DISTRIBUTION2D", "DISTRIBUTION3D"};
    static const char* const kAxes[] = {"X", "Y", "Z"};
    Settled s{Make(kTypes[methods.size() - 1]), {}};
    ZR_ModelType& d = *s.distribution;
    s.linked = qtvhost::LinkReferences(Library(), d);
    // Smaller grids as the dimensions grow, so that every case stays quick.
    const char* spacing = methods.size() == 1 ? "0.02" : methods.size() == 2 ? "0.1" : "0.2";
    for (std::size_t a = 0; a < methods.size(); ++a) {
        const std::string domain = std::string(kAxes[a]) + "DOMAIN.";
        qtvhost::SetParameter(d, domain + "DISCRETIZATIONMETHOD", methods[a]);
        qtvhost::SetParameter(d, domain + "NUMSECTIONS", "2");
        qtvhost::SetParameter(d, domain + "SPACINGPREFERENCE", spacing);
        qtvhost::SetParameter(d, domain + "HIGHESTORDERDERIVATIVE", "2");
        qtvhost::SetParameter(d, std::string("HIGHESTORDER") + kAxes[a] + "DERIVATIVEUSED", "2");
    }
    qtvhost::SetParameter(d, "INTEGRALS", "idx,idy,idz,idxdy,idxdz,idydz,idxdydz");
    for (auto& domain : s.linked) qtvhost::SettleAssignments(*domain.instance);
    qtvhost::SettleAssignments(d);
    d.SetDims();
    return s;
}

// One distribution of each dimension, between them every method.
const std::vector<std::vector<const char*>> kCases = {
    {"BFD1"}, {"BFD2"}, {"FFD1"}, {"FFD2"}, {"CFD2"}, {"CFD4"}, {"UBFD4"}, {"OCFE2"}, {"OCFE3"}, {"OCFE4"},
    {"OCFE3", "CFD4"}, {"UBFD4", "OCFE4"}, {"OCFE3", "CFD4", "BFD2"}, {"FFD2", "OCFE2", "CFD2"},
};

std::string Label(const std::vector<const char*>& methods) {
    std::string label;
    for (const char* m : methods) label += (label.empty() ? "" : " ") + std::string(m);
    return label;
}

// What the host holds of the walks, comparable as a whole.
auto Held(const qtvhost::Host& host) {
    std::vector<std::tuple<int, unsigned, unsigned>> incidence;
    for (const auto& i : host.incidence) incidence.emplace_back(i.group, i.firstTerm, i.termCount);
    std::vector<std::tuple<int, std::string, int, unsigned>> expressions;
    for (const auto& e : host.expressions) expressions.emplace_back(e.index, host.EquationName(e), e.group, e.tokenCount);
    std::vector<std::tuple<int, int, double, const void*>> tokens;
    for (const auto& t : host.tokens) tokens.emplace_back(t.kind, t.code, t.real, t.term);
    std::vector<std::tuple<int, const void*, int, int>> base;
    for (const auto& b : host.baseCalls) base.emplace_back(b.kind, b.object, b.a, b.b);
    return std::make_tuple(incidence, host.incidenceTerms, expressions, tokens, base);
}

void Forget(qtvhost::Host& host) {
    host.incidence.clear();
    host.incidenceTerms.clear();
    host.expressions.clear();
    host.tokens.clear();
    host.baseCalls.clear();
}

}  // namespace

TEST_F(DeclarationCost, AWalkTakesNoHeapBlockOnceTheElementsExist) {
    for (const auto& methods : kCases) {
        SCOPED_TRACE(Label(methods));
        host.Reset();
        Settled settled = Settle(methods);
        ZR_ModelType* distribution = settled.distribution.get();

        // The first walk builds each element it names, and nothing else.
        const long long before = host.Heap().allocations;
        const int count = distribution->SetUpEquations();
        std::vector<int> rows, cols;
        qtvhost::RunJacPattern(*distribution, 0, rows, cols);
        EXPECT_EQ(host.Heap().allocations - before, qtvhost::BuiltElements(*distribution));
        ASSERT_GT(count, 100);

        // Every later walk takes nothing.
        const std::size_t terms = host.incidenceTerms.size();
        const long long again = host.Heap().allocations;
        EXPECT_EQ(distribution->SetUpEquations(), count);
        std::vector<int> rowsAgain, colsAgain;
        qtvhost::RunJacPattern(*distribution, terms, rowsAgain, colsAgain);
        EXPECT_EQ(host.Heap().allocations, again);
        EXPECT_EQ(rowsAgain.size(), rows.size());
        EXPECT_EQ(colsAgain, cols);
    }
}

// The first walks are traced: they build the elements inside the look-ups, the
// host's (one index) or the library's own (two and three), which the trace
// leaves inside the look-ups. Given again, the calls find the elements and must
// tell the host exactly what the library told it.
TEST_F(DeclarationCost, ATracedWalkGivenAgainMakesTheSameCalls) {
    using qtvhost::HostCall;
    using qtvhost::HostCallRecord;
    for (const auto& methods : std::vector<std::vector<const char*>>{
             {"BFD2"}, {"CFD4"}, {"OCFE3"}, {"OCFE3", "CFD4"}, {"OCFE3", "CFD4", "BFD2"}}) {
        SCOPED_TRACE(Label(methods));
        host.Reset();
        Settled settled = Settle(methods);
        ZR_ModelType& d = *settled.distribution;
        std::vector<HostCallRecord> trace;
        std::vector<int> rows, cols;
        Forget(host);
        qtvhost::StartTrace(&trace);
        d.SetUpEquations();
        qtvhost::RunJacPattern(d, 0, rows, cols);
        qtvhost::StopTrace();
        const auto held = Held(host);
        const std::vector<int> pattern = rows, columns = cols;

        // Every term is looked up in each walk, and the sections too: through the
        // host's look-up, or through the index sets of the library's own.
        std::size_t finds = 0, contains = 0, nonZeros = 0;
        for (const HostCallRecord& call : trace) {
            finds += call.call == HostCall::Find;
            contains += call.call == HostCall::Contains;
            nonZeros += call.call == HostCall::NonZero;
        }
        EXPECT_EQ(nonZeros, host.incidenceTerms.size());
        if (methods.size() == 1) {
            EXPECT_GT(finds, nonZeros);
        } else {
            EXPECT_GT(contains, nonZeros);
        }

        qtvhost::HostCallReplay replay(trace);
        ASSERT_EQ(replay.Error(), "");
        Forget(host);
        std::fill(rows.begin(), rows.end(), -1);
        std::fill(cols.begin(), cols.end(), -1);
        qtvhost::HostCallCheck check(replay);
        qtvhost::StartTrace(&qtvhost::HostCallCheck::Sink, &check);
        int* r = rows.data();
        int* c = cols.data();
        replay.Run(r, c);
        qtvhost::StopTrace();
        std::string why;
        EXPECT_TRUE(check.Matched(&why)) << why;
        EXPECT_TRUE(Held(host) == held);
        EXPECT_EQ(rows, pattern);
        EXPECT_EQ(cols, columns);
    }
}

TEST_F(DeclarationCost, AReplayRefusesCallsItCannotGiveAgain) {
    using qtvhost::HostCall;
    int object = 0;
    // A set value destroyed that the trace never saw built.
    qtvhost::HostCallReplay foreign({{HostCall::SetEnd, 0, &object, {}}});
    EXPECT_NE(foreign.Error(), "");
    // A set value built and never destroyed would outlive its replay.
    qtvhost::HostCallReplay alive({{HostCall::NoSet, 0, &object, {}}});
    EXPECT_NE(alive.Error(), "");
    int* none = nullptr;
    alive.Run(none, none);  // runs nothing
    // A check counts missing calls as a difference.
    qtvhost::HostCallReplay one({{HostCall::CompareCI, 0, "a", {}}});
    qtvhost::HostCallCheck check(one);
    std::string why;
    EXPECT_FALSE(check.Matched(&why));
    EXPECT_NE(why, "");
}

// A test that stops half-way leaves its trace running; the next test's reset
// must end it before anything writes into a sink that is gone.
TEST_F(DeclarationCost, AResetEndsARunningTrace) {
    std::vector<qtvhost::HostCallRecord> trace;
    qtvhost::StartTrace(&trace);
    SUValue::CompareCI("a", "b");
    ASSERT_EQ(trace.size(), 1u);
    host.Reset();
    SUValue::CompareCI("a", "b");
    EXPECT_EQ(trace.size(), 1u);
}
