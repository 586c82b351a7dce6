// Declaration at scale: SetUpEquations and JacPattern of the one-, two- and
// three-dimensional distributions over grids of about 10^4 to 10^6 nodes (square
// and cubic grids, one domain per direction), each beside two replays of a
// traced walk given straight into the stand-in host with no library code in
// between: every host call the library made (the floor its own work sits on),
// and only what the host records. The summary at the end gives the ratios
// library/replay, the time per equation instance and per token, the library's
// allocations per instance and the memory of a full declaration.
//
// The library is reached the host's way: loaded by file name, instances made by
// its factories, driven through their virtual operations.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "replay.h"
#include "session.h"

namespace {

using namespace qtvhost;

// One case: a distribution over a grid of about `nodes` nodes, one method per
// direction, the same number of nodes in every direction.
struct Case {
    std::vector<std::string> methods;  // x, y, z
    long long nodes;

    int Dimensions() const { return static_cast<int>(methods.size()); }
    // The nodes per direction: the root of the whole.
    int PerAxis() const { return static_cast<int>(std::lround(std::pow(static_cast<double>(nodes), 1.0 / Dimensions()))); }
    std::string Type() const { return "DISTRIBUTION" + std::to_string(Dimensions()) + "D"; }
    // "2D/OCFE3-CFD4", the case without its size.
    std::string Label() const {
        std::string label = std::to_string(Dimensions()) + "D/";
        for (std::size_t a = 0; a < methods.size(); ++a) label += (a ? "-" : "") + methods[a];
        return label;
    }
    std::string Name() const { return Label() + "/" + std::to_string(nodes); }
    bool operator==(const Case& other) const { return methods == other.methods && nodes == other.nodes; }
};

// The grids of each dimension, smallest first; the largest is the largest that
// a full declaration and the replays of one of its walks hold in 16 GB (a node
// of a 2D grid holds about 13 kB of host objects and containers, one of a 3D
// grid about 32 kB, and each replay of a walk half as much again).
const std::vector<long long> kNodes[] = {{10000, 100000, 1000000}, {10000, 100000, 500000}, {10000, 100000, 200000}};
const std::vector<std::vector<std::string>> kMethods = {
    {"BFD1"}, {"CFD4"}, {"UBFD4"}, {"OCFE2"}, {"OCFE3"}, {"OCFE4"},
    {"BFD1", "BFD1"}, {"CFD4", "CFD4"}, {"OCFE3", "OCFE3"}, {"OCFE3", "CFD4"},
    {"BFD1", "BFD1", "BFD1"}, {"CFD4", "CFD4", "CFD4"}, {"OCFE3", "OCFE3", "OCFE3"}, {"OCFE3", "CFD4", "BFD2"},
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (const auto& methods : kMethods)
        for (long long nodes : kNodes[methods.size() - 1]) cases.push_back({methods, nodes});
    return cases;
}

const ModelLibrary& Library() {
    static const ModelLibrary library(ORVANE_LIBRARY_PATH);
    return library;
}

bool IsCollocation(const std::string& method) { return method.compare(0, 4, "OCFE") == 0; }

enum class Operation { SetUp, JacPattern };

// --- the recording alone ---------------------------------------------------------

// The host calls of one walk with their arguments, in order: per equation
// instance its group and the terms that follow (SetUpEquations), per equation
// its name and group and the tokens that follow (JacPattern).
struct Recording {
    struct Incidence {
        int group;
        std::uint32_t terms;
    };
    struct Equation {
        const char* name;
        int group;
        std::uint32_t tokens;
    };
    struct Item {  // one AddOp or AddTerm
        TokenKind kind;
        int code;  // operator code or integer constant
        union {
            double real;
            ZR_VarParam* term;
        };
    };

    std::vector<Incidence> incidence;
    std::vector<ZR_VarParam*> terms;
    std::vector<Equation> equations;
    std::vector<Item> items;
    std::vector<std::string> names;  // Equation::name points into these
    int firstEquation = 0;           // the count that JacPattern's equations start from

    std::size_t Bytes() const {
        return incidence.size() * sizeof(Incidence) + terms.size() * sizeof(ZR_VarParam*) +
               equations.size() * sizeof(Equation) + items.size() * sizeof(Item);
    }
};

// Taken from what the stand-in recorded of one library walk: the record holds
// every call in order, so the calls can be given again exactly, each kind in a
// loop of its own with nothing else between the calls.
Recording Record(const Host& host, Operation op) {
    Recording r;
    if (op == Operation::SetUp) {
        for (const IncidenceRecord& i : host.incidence) r.incidence.push_back({i.group, i.termCount});
        for (const ZR_VarParam* t : host.incidenceTerms) r.terms.push_back(const_cast<ZR_VarParam*>(t));
        return r;
    }
    r.firstEquation = host.expressions.empty() ? 0 : host.expressions.front().index;
    r.names = host.equationNames;
    for (const ExpressionRecord& e : host.expressions)
        r.equations.push_back({r.names[static_cast<std::size_t>(e.nameId)].c_str(), e.group, e.tokenCount});
    for (const Token& t : host.tokens) {
        Recording::Item item{};
        item.kind = t.kind;
        item.code = t.code;
        if (t.kind == TK_TERM)
            item.term = const_cast<ZR_VarParam*>(t.term);
        else
            item.real = t.real;
        r.items.push_back(item);
    }
    return r;
}

void ReplayIncidence(ZR_ModelType& model, const Recording& r) {
    ZR_VarParam* const* term = r.terms.data();
    for (const Recording::Incidence& i : r.incidence) {
        model.SetGroupLimits(i.group);
        for (std::uint32_t k = i.terms; k != 0; --k) model.AddNonZero(**term++);
    }
}

int ReplayExpressions(ZR_ModelType& model, ZR_ModelExtensions& builder, const Recording& r, int count, int*& rows,
                      int*& cols) {
    const Recording::Item* item = r.items.data();
    for (const Recording::Equation& e : r.equations) {
        model.AddEquation(e.name, count, e.group);
        const int eqn = count - 1;
        for (std::uint32_t k = e.tokens; k != 0; --k, ++item) {
            switch (item->kind) {
            case TK_OP: builder.AddOp(static_cast<EOp>(item->code), eqn); break;
            case TK_REAL: builder.AddTerm(item->real, eqn); break;
            case TK_INT: builder.AddTerm(item->code, eqn); break;
            case TK_TERM: builder.AddTerm(*item->term, rows, cols, eqn); break;
            }
        }
    }
    return count;
}

// --- memory ------------------------------------------------------------------

// Bytes that the host's own containers hold (its records, texts, index sets and
// element tables): the program's allocation operators, which the host library

// --- memory ------------------------------------------------------------------

// Bytes that the host's own containers hold (its records, texts, index sets and
// element tables): the program's allocation operators, which the host library
// calls, count them. The host heap of MyAllocate counts itself.
struct StdHeap {
    long long live = 0;
    long long peak = 0;
};
StdHeap g_stdHeap;

void* CountedAllocate(std::size_t bytes) {
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr) throw std::bad_alloc();
    g_stdHeap.live += static_cast<long long>(malloc_usable_size(block));
    if (g_stdHeap.live > g_stdHeap.peak) g_stdHeap.peak = g_stdHeap.live;
    return block;
}

void CountedFree(void* block) noexcept {
    if (block == nullptr) return;
    g_stdHeap.live -= static_cast<long long>(malloc_usable_size(block));
    std::free(block);
}

// The host keeps the room of its records when it forgets them: given back, so
// that a declaration's records are counted in its own peak.
void ReleaseRecords(Host& host) {
    host.Reset();
    std::vector<Registration>().swap(host.registrations);
    std::vector<AssignmentRecord>().swap(host.assignments);
    std::vector<BaseCall>().swap(host.baseCalls);
    std::vector<IncidenceRecord>().swap(host.incidence);
    std::vector<const ZR_VarParam*>().swap(host.incidenceTerms);
    std::vector<ExpressionRecord>().swap(host.expressions);
    std::vector<Token>().swap(host.tokens);
}

// --- one distribution over one domain, declared once --------------------------

struct Model {
    int generation = 0;  // tells the models of one run apart
    Case c;
    long long nodes = 0;  // as the domains placed them
    InstanceRef distribution;
    std::vector<LinkedInstance> linked;  // the domains
    ZR_ModelType* domain = nullptr;      // the x domain
    std::vector<int> rows, cols;
    std::size_t instances = 0;
    std::size_t tokens = 0;
    std::size_t terms = 0;
    // The full declaration, from the factory to the end of the first JacPattern.
    double declareSeconds = 0;
    long long peakStdBytes = 0;     // the host's containers, at their peak
    long long elementBlocks = 0;    // MyAllocate blocks the first walk took
    long long elementsBuilt = 0;    // array elements that the first walk built
    long long hostHeapBytes = 0;    // MyAllocate bytes live after the declaration
    std::size_t hostRecordBytes = 0;  // the stand-in's record of the two walks
    std::string error;
};

std::unique_ptr<Model> g_model;
struct Replays;
void ForgetReplays();

void ClearIncidence(Host& host) {
    host.incidence.clear();
    host.incidenceTerms.clear();
    host.baseCalls.clear();
}

void ClearExpressions(Host& host) {
    host.expressions.clear();
    host.tokens.clear();
    host.baseCalls.clear();
}


int EndNode(ZR_Container& domain) { return dynamic_cast<ZR_VarParamProp&>(*ResolvePath(domain, "ENDNODE")).Integer(); }

std::string FormatReal(double x) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", x);
    return text;
}

std::unique_ptr<Model> Declare(const Case& c) {
    static int generations = 0;
    static const char* const kAxes[] = {"X", "Y", "Z"};
    auto m = std::make_unique<Model>();
    m->generation = ++generations;
    m->c = c;
    Host& host = Host::Get();
    ReleaseRecords(host);
    // A million nodes hold some gigabytes of host objects: more than the host
    // allows one model by default.
    host.config.maxHeapBytes = 1LL << 36;
    // The library's cost beside the replays': the stand-in's own check of
    // every term is off for both.
    host.config.checkIncidence = false;
    const long long stdBefore = g_stdHeap.live;
    const long long hostHeapBefore = host.Heap().liveBytes;
    g_stdHeap.peak = g_stdHeap.live;
    const auto start = std::chrono::steady_clock::now();

    m->distribution.reset(Library().Create(c.Type().c_str()));
    ZR_ModelType& d = *m->distribution;
    m->linked = LinkReferences(Library(), d);
    m->domain = m->linked.at(0).instance.get();
    for (int a = 0; a < c.Dimensions(); ++a) {
        const std::string domain = std::string(kAxes[a]) + "DOMAIN.";
        const std::string& method = c.methods[static_cast<std::size_t>(a)];
        SetParameter(d, domain + "DISCRETIZATIONMETHOD", method);
        // LENGTH is 1, so the spacing gives the node count.
        SetParameter(d, domain + "SPACINGPREFERENCE", FormatReal(1.0 / c.PerAxis()));
        if (IsCollocation(method)) SetParameter(d, domain + "HIGHESTORDERDERIVATIVE", "2");
        SetParameter(d, std::string("HIGHESTORDER") + kAxes[a] + "DERIVATIVEUSED", "2");
    }
    SetParameter(d, "INTEGRALS", "idx,idy,idz,idxdy,idxdz,idydz,idxdydz");
    m->nodes = 1;
    for (LinkedInstance& domain : m->linked) {
        SettleAssignments(*domain.instance);
        m->nodes *= EndNode(*domain.instance) + 1LL;
    }
    SettleAssignments(d);
    d.SetDims();
    host.assignments.clear();
    host.assignments.shrink_to_fit();

    const long long allocationsBefore = host.Heap().allocations;
    d.SetUpEquations();
    m->rows.assign(host.incidenceTerms.size(), -1);
    m->cols.assign(host.incidenceTerms.size(), -1);
    int* r = m->rows.data();
    int* col = m->cols.data();
    host.SetPatternLimit(r + m->rows.size(), col + m->cols.size());
    d.JacPattern(r, col, nullptr);
    m->declareSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m->elementBlocks = host.Heap().allocations - allocationsBefore;
    m->peakStdBytes = g_stdHeap.peak - stdBefore;
    m->elementsBuilt = BuiltElements(d);
    m->hostHeapBytes = host.Heap().liveBytes - hostHeapBefore;

    m->instances = host.expressions.size();
    m->tokens = host.tokens.size();
    m->terms = host.incidenceTerms.size();
    m->hostRecordBytes = host.incidence.size() * sizeof(IncidenceRecord) +
                         host.incidenceTerms.size() * sizeof(const ZR_VarParam*) +
                         host.expressions.size() * sizeof(ExpressionRecord) + host.tokens.size() * sizeof(Token);
    if (!host.errors.empty()) m->error = "host error: " + host.errors.front();
    if (host.incidence.size() != m->instances) m->error = "the two walks declared different instances";
    return m;
}

// The model of the case, declared when the case changes. The previous one goes
// first: at a million nodes each holds some gigabytes of host objects.
Model& ModelFor(const Case& c) {
    if (!g_model || !(g_model->c == c)) {
        ForgetReplays();
        g_model.reset();
        g_model = Declare(c);
    }
    return *g_model;
}

// --- the replays ----------------------------------------------------------------

// One walk of an operation, traced once and given again two ways: every host
// call the library made, and what the host recorded alone.
struct Replays {
    int generation;  // of the model
    Operation operation;
    HostCallReplay calls;
    Recording records;
    std::string error;
};

void Clear(Host& host, Operation op) {
    if (op == Operation::SetUp) {
        ClearIncidence(host);
    } else {
        ClearExpressions(host);
    }
}

void RunLibrary(Model& m, Operation op) {
    if (op == Operation::SetUp) {
        m.distribution->SetUpEquations();
    } else {
        int* r = m.rows.data();
        int* c = m.cols.data();
        m.distribution->JacPattern(r, c, nullptr);
    }
}

void RunReplay(Model& m, HostCallReplay& replay) {
    int* r = m.rows.data();
    int* c = m.cols.data();
    replay.Run(r, c);
}

void RunRecords(Model& m, Operation op, const Recording& records) {
    ZR_ModelType& model = *m.distribution;
    if (op == Operation::SetUp) {
        ReplayIncidence(model, records);
    } else {
        int* r = m.rows.data();
        int* c = m.cols.data();
        ReplayExpressions(model, dynamic_cast<ZR_ModelExtensions&>(model), records, records.firstEquation, r, c);
    }
}

// What the host holds of a walk, folded into one number (FNV-1a), so that a
// replay can be checked against the library without a copy of the records.
class Fingerprint {
public:
    template <class T>
    void Add(const T& value) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char b : bytes) m_hash = (m_hash ^ b) * 1099511628211ULL;
    }
    std::uint64_t Value() const { return m_hash; }

private:
    std::uint64_t m_hash = 14695981039346656037ULL;
};

// The base operations' calls count unless `records` asks for the records alone.
std::uint64_t Held(const Host& host, const Model& m, bool records = false) {
    Fingerprint f;
    for (const IncidenceRecord& i : host.incidence) {
        f.Add(i.group);
        f.Add(i.termCount);
    }
    for (const ZR_VarParam* t : host.incidenceTerms) f.Add(t);
    for (const ExpressionRecord& e : host.expressions) {
        f.Add(e.index);
        f.Add(e.group);
        f.Add(e.tokenCount);
        for (char ch : host.EquationName(e)) f.Add(ch);
    }
    for (const Token& t : host.tokens) {
        f.Add(t.kind);
        f.Add(t.code);
        f.Add(t.real);
        f.Add(t.term);
    }
    for (const BaseCall& b : records ? std::vector<BaseCall>() : host.baseCalls) {
        f.Add(b.kind);
        f.Add(b.object);
        f.Add(b.a);
        f.Add(b.b);
    }
    for (int r : m.rows) f.Add(r);
    for (int c : m.cols) f.Add(c);
    f.Add(host.errors.size());
    return f.Value();
}

// Traces a walk of the library and takes its replays, then checks that the full
// replay makes exactly the traced calls and that each replay tells the host what
// the library told it.
void Take(Model& m, Replays& out) {
    Host& host = Host::Get();
    const Operation op = out.operation;
    auto run = [&](auto&& walk) {
        Clear(host, op);
        std::fill(m.rows.begin(), m.rows.end(), -1);
        std::fill(m.cols.begin(), m.cols.end(), -1);
        walk();
        return Held(host, m);
    };
    StartTrace(&HostCallReplay::Sink, &out.calls);
    const std::uint64_t library = run([&] { RunLibrary(m, op); });
    StopTrace();
    const std::uint64_t libraryRecords = Held(host, m, true);
    out.records = Record(host, op);
    out.error = out.calls.Error();
    if (!out.error.empty()) return;

    HostCallCheck check(out.calls);
    StartTrace(&HostCallCheck::Sink, &check);
    const std::uint64_t calls = run([&] { RunReplay(m, out.calls); });
    StopTrace();
    std::string why;
    if (!check.Matched(&why)) {
        out.error = "the replay does not make the calls the library made: " + why;
    } else if (calls != library) {
        out.error = "the replay of every call does not tell the host what the library told it";
    } else if (run([&] { RunRecords(m, op, out.records); }), Held(host, m, true) != libraryRecords) {
        out.error = "the replay of the records does not tell the host what the library told it";
    }
}

std::unique_ptr<Replays> g_replays;
void ForgetReplays() { g_replays.reset(); }

// The replays of the current model's walk of `op`; one operation's at a time,
// since a million nodes give some gigabytes of calls.
Replays& ReplaysFor(Model& m, Operation op) {
    if (!g_replays || g_replays->generation != m.generation || g_replays->operation != op) {
        g_replays.reset();
        g_replays = std::make_unique<Replays>();
        g_replays->generation = m.generation;
        g_replays->operation = op;
        Take(m, *g_replays);
    }
    return *g_replays;
}

// --- the benchmarks ------------------------------------------------------------

void SetCounters(benchmark::State& state, const Model& m, long long allocations) {
    using benchmark::Counter;
    state.counters["instances"] = static_cast<double>(m.instances);
    state.counters["tokens"] = static_cast<double>(m.tokens);
    state.counters["per_instance"] =
        Counter(static_cast<double>(m.instances), Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["per_token"] =
        Counter(static_cast<double>(m.tokens), Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["allocs_per_instance"] =
        static_cast<double>(allocations) / (static_cast<double>(m.instances) * static_cast<double>(state.iterations()));
}

bool Ready(benchmark::State& state, Model& m) {
    if (!m.error.empty()) {
        state.SkipWithError(m.error.c_str());
        return false;
    }
    return true;
}

void Finish(benchmark::State& state, const Model& m, long long allocations) {
    if (!Host::Get().errors.empty()) {
        state.SkipWithError(("host error: " + Host::Get().errors.front()).c_str());
        return;
    }
    SetCounters(state, m, allocations);
}

void BM_Declare(benchmark::State& state, const Case& c) {
    ForgetReplays();
    g_model.reset();
    for (auto _ : state) ModelFor(c);
    Model& m = *g_model;
    if (!Ready(state, m)) return;
    state.SetIterationTime(m.declareSeconds);
    state.counters["instances"] = static_cast<double>(m.instances);
    state.counters["tokens"] = static_cast<double>(m.tokens);
    state.counters["nodes"] = static_cast<double>(m.nodes);
    state.counters["std_heap_peak_bytes_per_node"] = static_cast<double>(m.peakStdBytes) / static_cast<double>(m.nodes);
    state.counters["host_heap_bytes_per_node"] = static_cast<double>(m.hostHeapBytes) / static_cast<double>(m.nodes);
    state.counters["record_bytes_per_token"] = static_cast<double>(m.hostRecordBytes) / static_cast<double>(m.tokens);
    state.counters["first_walk_blocks"] = static_cast<double>(m.elementBlocks);
    state.counters["elements_built"] = static_cast<double>(m.elementsBuilt);
    // Each walk's replays are taken and checked once here, so that every case
    // shows their size and no case is measured against a replay that differs.
    double calls = 0, bytes = 0;
    for (Operation op : {Operation::SetUp, Operation::JacPattern}) {
        const Replays& replays = ReplaysFor(m, op);
        if (!replays.error.empty()) return state.SkipWithError(replays.error.c_str());
        calls += static_cast<double>(replays.calls.Size());
        bytes += static_cast<double>(replays.calls.Bytes() + replays.records.Bytes());
    }
    state.counters["host_calls_per_instance"] = calls / static_cast<double>(m.instances);
    state.counters["replay_bytes_per_token"] = bytes / static_cast<double>(m.tokens);
    // At a million nodes they hold gigabytes that the next measurements should
    // not have to work around.
    ForgetReplays();
}

void BM_DomainAssignments(benchmark::State& state, const Case& c) {
    Model& m = ModelFor(c);
    if (!Ready(state, m)) return;
    Host& host = Host::Get();
    for (auto _ : state) {
        state.PauseTiming();
        host.assignments.clear();
        state.ResumeTiming();
        m.domain->SetDims();
        host.BeginAssignmentRun(m.domain);
        m.domain->ExecuteAssignments(1, 0);
        if (host.EndAssignmentRun()) state.SkipWithError("the domain's values did not stay settled");
    }
    host.assignments.clear();
    state.counters["per_node"] = benchmark::Counter(static_cast<double>(EndNode(*m.domain) + 1),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

// The library's walk. JacPattern numbers its groups from the group base that
// the last SetUpEquations left.
void BM_Library(benchmark::State& state, Operation op, const Case& c) {
    Model& m = ModelFor(c);
    if (!Ready(state, m)) return;
    Host& host = Host::Get();
    if (op == Operation::JacPattern) {
        ClearIncidence(host);
        m.distribution->SetUpEquations();
    }
    const long long before = host.Heap().allocations;
    for (auto _ : state) {
        Clear(host, op);
        RunLibrary(m, op);
        benchmark::ClobberMemory();
    }
    Finish(state, m, host.Heap().allocations - before);
}

// A replay of the library's walk: every host call it made, or the records alone.
void BM_Replay(benchmark::State& state, Operation op, bool recordsAlone, const Case& c) {
    Model& m = ModelFor(c);
    if (!Ready(state, m)) return;
    Replays& replays = ReplaysFor(m, op);
    if (!replays.error.empty()) return state.SkipWithError(replays.error.c_str());
    Host& host = Host::Get();
    for (auto _ : state) {
        Clear(host, op);
        if (recordsAlone) {
            RunRecords(m, op, replays.records);
        } else {
            RunReplay(m, replays.calls);
        }
        benchmark::ClobberMemory();
    }
    Finish(state, m, 0);
}

void BM_SetUpEquations(benchmark::State& state, const Case& c) {
    BM_Library(state, Operation::SetUp, c);
}
void BM_JacPattern(benchmark::State& state, const Case& c) {
    BM_Library(state, Operation::JacPattern, c);
}
void BM_HostCallsSetUpEquations(benchmark::State& state, const Case& c) {
    BM_Replay(state, Operation::SetUp, false, c);
}
void BM_HostCallsJacPattern(benchmark::State& state, const Case& c) {
    BM_Replay(state, Operation::JacPattern, false, c);
}
void BM_RecordsSetUpEquations(benchmark::State& state, const Case& c) {
    BM_Replay(state, Operation::SetUp, true, c);
}
void BM_RecordsJacPattern(benchmark::State& state, const Case& c) {
    BM_Replay(state, Operation::JacPattern, true, c);
}

// --- the summary -------------------------------------------------------------

// Prints the usual table, then the figures that compare the runs with each
// other: library/baseline per case and the growth of the time per instance.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            Result& r = m_results[run.run_name.function_name];
            r.seconds = run.GetAdjustedRealTime() / Multiplier(run.time_unit);
            for (const auto& counter : run.counters) r.counters[counter.first] = counter.second.value;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::ostream& out = GetOutputStream();
        out << "\ntime per equation instance (ns) of the library and of the replays of its walk: calls, every\n"
               "host call it made; records, only what the host records; library/replay for each operation and\n"
               "for both together; allocs: library allocations per instance\n";
        char line[256];
        std::snprintf(line, sizeof line, "%-20s %8s %9s | %7s %7s %5s %7s %5s | %7s %7s %5s %7s %5s | %5s %5s | %6s\n",
                      "case", "nodes", "instances", "SetUp", "calls", "ratio", "records", "ratio", "JacPat", "calls",
                      "ratio", "records", "ratio", "calls", "recs", "allocs");
        out << line;
        for (const Case& c : Cases()) {
            const std::string key = c.Name();
            const Result* su[] = {Find("SetUpEquations/" + key), Find("HostCalls/SetUpEquations/" + key),
                                  Find("Records/SetUpEquations/" + key)};
            const Result* jp[] = {Find("JacPattern/" + key), Find("HostCalls/JacPattern/" + key),
                                  Find("Records/JacPattern/" + key)};
            if (!su[0] || !su[1] || !su[2] || !jp[0] || !jp[1] || !jp[2]) continue;
            const double n = su[0]->counters.at("instances");
            auto ns = [n](const Result* r) { return r->seconds * 1e9 / n; };
            auto ratio = [](const Result* const* op, int k) { return op[0]->seconds / op[k]->seconds; };
            auto both = [&](int k) { return (su[0]->seconds + jp[0]->seconds) / (su[k]->seconds + jp[k]->seconds); };
            std::snprintf(line, sizeof line,
                          "%-20s %8lld %9.0f | %7.1f %7.1f %5.2f %7.1f %5.2f | %7.1f %7.1f %5.2f %7.1f %5.2f | %5.2f "
                          "%5.2f | %6.2g\n",
                          c.Label().c_str(), c.nodes, n, ns(su[0]), ns(su[1]), ratio(su, 1), ns(su[2]), ratio(su, 2),
                          ns(jp[0]), ns(jp[1]), ratio(jp, 1), ns(jp[2]), ratio(jp, 2), both(1), both(2),
                          su[0]->counters.at("allocs_per_instance") + jp[0]->counters.at("allocs_per_instance"));
            out << line;
        }
        out << "\ntime per instance at the largest grid over that at the smallest: the library, and the two\n"
               "replays of its walk beside it (a growth that the replays show too is the host's)\n";
        std::snprintf(line, sizeof line, "%-20s %-15s %7s %7s %7s\n", "case", "operation", "library", "calls",
                      "records");
        out << line;
        for (const auto& methods : kMethods) {
            const std::vector<long long>& sizes = kNodes[methods.size() - 1];
            const Case small{methods, sizes.front()}, large{methods, sizes.back()};
            for (const char* op : {"SetUpEquations/", "JacPattern/"}) {
                double growth[3] = {};
                bool all = true;
                int k = 0;
                for (const char* who : {"", "HostCalls/", "Records/"}) {
                    const Result* a = Find(who + std::string(op) + small.Name());
                    const Result* b = Find(who + std::string(op) + large.Name());
                    if (!a || !b) {
                        all = false;
                        break;
                    }
                    growth[k++] = (b->seconds / b->counters.at("instances")) / (a->seconds / a->counters.at("instances"));
                }
                if (!all) continue;
                std::snprintf(line, sizeof line, "%-20s %-15s %7.2f %7.2f %7.2f\n", small.Label().c_str(), op,
                              growth[0], growth[1], growth[2]);
                out << line;
            }
        }
        out << "\nfull declaration (factory to the end of the first JacPattern): seconds; bytes per node at\n"
               "the peak: MyAllocate heap (instances and elements) + the host's containers = total; bytes per\n"
               "token of the stand-in's record and of the two replays; host calls per instance of both walks;\n"
               "MyAllocate blocks of the first walk less the array elements it built\n";
        for (const Case& c : Cases()) {
            const Result* d = Find("Declare/" + c.Name());
            if (!d) continue;
            const double myAllocate = d->counters.at("host_heap_bytes_per_node");
            const double containers = d->counters.at("std_heap_peak_bytes_per_node");
            std::snprintf(line, sizeof line,
                          "%-20s %8.0f %7.2f %6.0f + %5.0f = %6.0f   %5.1f / %5.1f   %5.1f   %3.0f\n",
                          c.Label().c_str(), d->counters.at("nodes"), d->seconds, myAllocate, containers,
                          myAllocate + containers, d->counters.at("record_bytes_per_token"),
                          d->counters.at("replay_bytes_per_token"), d->counters.at("host_calls_per_instance"),
                          d->counters.at("first_walk_blocks") - d->counters.at("elements_built"));
            out << line;
        }
    }

private:
    struct Result {
        double seconds = 0;  // per iteration
        std::map<std::string, double> counters;
    };
    static double Multiplier(benchmark::TimeUnit unit) {
        switch (unit) {
        case benchmark::kNanosecond: return 1e9;
        case benchmark::kMicrosecond: return 1e6;
        case benchmark::kMillisecond: return 1e3;
        default: return 1.0;
        }
    }
    const Result* Find(const std::string& name) const {
        auto it = m_results.find(name);
        return it == m_results.end() ? nullptr : &it->second;
    }
    std::map<std::string, Result> m_results;
};

void RegisterAll() {
    using Fn = void (*)(benchmark::State&, const Case&);
    const struct {
        const char* name;
        Fn fn;
    } kinds[] = {
        {"Declare/", BM_Declare},
        {"DomainAssignments/", BM_DomainAssignments},
        {"SetUpEquations/", BM_SetUpEquations},
        {"HostCalls/SetUpEquations/", BM_HostCallsSetUpEquations},
        {"Records/SetUpEquations/", BM_RecordsSetUpEquations},
        {"JacPattern/", BM_JacPattern},
        {"HostCalls/JacPattern/", BM_HostCallsJacPattern},
        {"Records/JacPattern/", BM_RecordsJacPattern},
    };
    for (const Case& c : Cases()) {
        for (const auto& kind : kinds) {
            // The domain's own assignments are those of the 1D cases' domains.
            if (kind.fn == BM_DomainAssignments && c.Dimensions() != 1) continue;
            const std::string name = kind.name + c.Name();
            auto* b = benchmark::RegisterBenchmark(name.c_str(), kind.fn, c);
            b->Unit(benchmark::kMillisecond);
            if (kind.fn == BM_Declare) b->Iterations(1)->UseManualTime();
        }
    }
}

}  // namespace

void* operator new(std::size_t bytes) { return CountedAllocate(bytes); }
void* operator new[](std::size_t bytes) { return CountedAllocate(bytes); }
void operator delete(void* block) noexcept { CountedFree(block); }
void operator delete[](void* block) noexcept { CountedFree(block); }
void operator delete(void* block, std::size_t) noexcept { CountedFree(block); }
void operator delete[](void* block, std::size_t) noexcept { CountedFree(block); }

int main(int argc, char** argv) {
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    g_model.reset();
    benchmark::Shutdown();
    return 0;
}
