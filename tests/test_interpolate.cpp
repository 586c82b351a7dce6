// The procedure INTERPOLATE driven as the host drives it: arguments handed over
// twice, equations declared to an owner, evaluations through the procedure
// library ZRQuilt, which lies beside this program.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <deque>
#include <limits>
#include <memory>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "frame/procedure.h"
#include "qtvexp/loader.h"
#include "qtvexp/members.h"
#include "qtvexp/recorder.h"

using std::int32_t;

namespace {

const double kUntouched = -12345.0;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string LibraryDirectory() { return ZRQUILT_DIRECTORY; }

ZR_Procedure13 RealInterp() {
    static std::unique_ptr<qtvhost::LoadedModule> module =
        qtvhost::LoadedModule::Open(LibraryDirectory() + "/" + qtvhost::LoadedModule::FileName("ZRQuilt"));
    return module ? reinterpret_cast<ZR_Procedure13>(module->Symbol("INTERP")) : nullptr;
}

// What one call of the routine received.
struct RoutineCall {
    int type;
    std::vector<double> words;
    int32_t inSizes[2];
    std::ptrdiff_t outSizesAt;  // position of the output sizes in the size list
    std::vector<int32_t> inOffsets, outOffsets, rows, cols;
    bool oneValueArray;
    int ifailOnEntry;
    int openPropertiesCalls;
};

struct RoutineLog {
    int words = 0;
    ZR_COMPONENTLISTNAME* list = nullptr;
    std::vector<RoutineCall> calls;
};

RoutineLog& Log() {
    static RoutineLog log;
    return log;
}

// Records what it receives, then lets the real routine do the work.
void ZR_STDCALL Recording(int32_t* type, double* in, int32_t* inSizes, double* out, int32_t* outSizes,
                          int32_t* inOffsets, int32_t* outOffsets, int32_t* hostWord, double* hostReals,
                          int32_t* hostCount, int32_t* derivCount, int32_t* rows, int32_t* cols, int32_t* scratch,
                          double* derivs, int32_t* ifail) {
    RoutineLog& log = Log();
    log.calls.push_back({*type, std::vector<double>(in, in + log.words), {inSizes[0], inSizes[1]},
                         outSizes - inSizes, std::vector<int32_t>(inOffsets, inOffsets + 4),
                         std::vector<int32_t>(outOffsets, outOffsets + 1),
                         std::vector<int32_t>(rows, rows + *derivCount), std::vector<int32_t>(cols, cols + *derivCount),
                         in == out, *ifail, log.list ? log.list->OpenPropertiesCalls() : -1});
    RealInterp()(type, in, inSizes, out, outSizes, inOffsets, outOffsets, hostWord, hostReals, hostCount, derivCount,
                 rows, cols, scratch, derivs, ifail);
}

// INTERPOLATE(x, X, Y, n) = y as a model binds it: x and y variables, the table
// as parameters or as solver variables.
class Interpolation {
public:
    Interpolation(const std::vector<double>& X, const std::vector<double>& Y, bool tableOfVariables)
        : proc(false, 0) {
        for (const auto* values : {&X, &Y}) {
            std::vector<ZR_VarParam*>& column = values == &X ? xs : ys;
            for (double v : *values) {
                if (tableOfVariables) {
                    variables.emplace_back();
                    column.push_back(&variables.back());
                } else {
                    parameters.emplace_back();
                    column.push_back(&parameters.back());
                }
                Set(*column.back(), v);
            }
        }
        Log().words = static_cast<int>(3 + X.size() + Y.size());
    }

    static void Set(ZR_VarParam& element, double value) {
        if (auto* variable = dynamic_cast<ZR_REALVARIABLE*>(&element))
            variable->SetValue(value);
        else
            ASSERT_EQ(element.SetUserValue(ZR_Value(value, 0)), 0);
    }

    // The construction pass, then the binding pass.
    void Bind() {
        Pass(xs);
        Pass(xs);
    }

    void Pass(const std::vector<ZR_VarParam*>& abscissae) {
        ZR_DynamicProcExtensions& e = proc;
        e.Argument(x);
        for (const std::vector<ZR_VarParam*>* column : {&abscissae, &std::as_const(ys)}) {
            e.Argument();
            e.SetDimensionSize(static_cast<int>(column->size()));
            for (ZR_VarParam* element : *column) e.Element(*element);
        }
        e.Argument(n);
        e.Argument(y);
        e.LastArgument();
    }

    int Residual(double& r) {
        double values[2] = {kUntouched, kUntouched};
        int index = 0;
        const int status = proc.Residuals(values, index);
        EXPECT_EQ(index, 1);
        EXPECT_EQ(values[1], kUntouched);
        r = values[0];
        return status;
    }

    double Residual() {
        double r;
        EXPECT_EQ(Residual(r), 0);
        return r;
    }

    int PatternSize() {
        ZR_ModelTypeEx owner;
        int equations = 0;
        return proc.NZAndEqnContribution(&owner, 1, equations);
    }

    // Exactly PatternSize() entries, or the test fails.
    std::vector<double> JacobianRow(int& status) {
        const int size = PatternSize();
        std::vector<double> row(static_cast<std::size_t>(size) + 1, kUntouched);
        int index = 0;
        status = proc.Jacobian(row.data(), index);
        EXPECT_EQ(index, size);
        EXPECT_EQ(row.back(), kUntouched);
        row.pop_back();
        return row;
    }

    std::vector<double> JacobianRow() {
        int status;
        std::vector<double> row = JacobianRow(status);
        EXPECT_EQ(status, 0);
        return row;
    }

    double Output() const { return proc.PackedValues()[proc.GetOffset(4)]; }

    ZRProc_INTERPOLATE proc;
    ZR_REALVARIABLE x, y;
    int n = 3;
    std::vector<ZR_VarParam*> xs, ys;

private:
    std::deque<ZR_REALPARAMETER> parameters;
    std::deque<ZR_REALVARIABLE> variables;
};

class Interpolate : public ::testing::Test {
protected:
    void SetUp() override {
        host.Reset();
        host.config.procedureDirectory = LibraryDirectory();
        host.config.procedureRoutine = Recording;
        Log() = RoutineLog();
        ASSERT_NE(RealInterp(), nullptr) << "ZRQuilt is not beside the tests";
    }
    void TearDown() override {
        for (const std::string& e : host.errors) ADD_FAILURE() << "host error: " << e;
        host.Reset();
    }
    std::size_t Calls() const { return Log().calls.size(); }

    qtvhost::Host& host = qtvhost::Host::Get();
};

// The worked example: X = {0, 1, 2}, Y = {0, 10, 40}, x = 1.5 gives 25.
struct Example : Interpolation {
    explicit Example(bool tableOfVariables = false) : Interpolation({0, 1, 2}, {0, 10, 40}, tableOfVariables) {
        x.SetValue(1.5);
        y.SetValue(25.0);
        Bind();
    }
};

}  // namespace

// Every argument at its offset, the call bracketed by the component list.
TEST_F(Interpolate, TheRoutineReceivesEveryArgumentAtItsOffset) {
    Example e;
    e.y.SetValue(7.0);
    ZR_COMPONENTLISTNAME list;
    e.proc.SetComponentList(&list);
    Log().list = &list;
    double r;
    ASSERT_EQ(e.Residual(r), 0);
    ASSERT_EQ(Calls(), 1u);
    const RoutineCall& c = Log().calls[0];
    EXPECT_EQ(c.openPropertiesCalls, 1);
    EXPECT_EQ(list.OpenPropertiesCalls(), 0);
    EXPECT_EQ(c.type, 4);
    EXPECT_EQ(std::vector<int32_t>(c.inSizes, c.inSizes + 2), (std::vector<int32_t>{3, 3}));
    EXPECT_EQ(c.outSizesAt, 2);  // the spare entry after the two input sizes
    EXPECT_EQ(c.inOffsets, (std::vector<int32_t>{0, 1, 4, 7}));
    EXPECT_EQ(c.outOffsets, (std::vector<int32_t>{8}));
    EXPECT_TRUE(c.oneValueArray);
    EXPECT_EQ(c.ifailOnEntry, 1);
    ASSERT_EQ(c.words.size(), 9u);
    EXPECT_EQ(std::vector<double>(c.words.begin(), c.words.begin() + 7),
              (std::vector<double>{1.5, 0, 1, 2, 0, 10, 40}));
    int32_t n;
    std::memcpy(&n, &c.words[7], sizeof n);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(c.words[8], 7.0);  // the output's current value comes along
    // Every output element against every input value, 1-based, the integer too.
    EXPECT_EQ(c.rows, std::vector<int32_t>(8, 1));
    std::vector<int32_t> columns(8);
    std::iota(columns.begin(), columns.end(), 1);
    EXPECT_EQ(c.cols, columns);
    EXPECT_EQ(e.proc.WordCount(), 9);
    EXPECT_EQ(e.proc.DerivativeCount(), 8);
}

TEST_F(Interpolate, DeclaresOneEquationToAModelOrAStructureAlike) {
    Example e;
    auto declareTo = [&](auto* owner, const char* kind) {
        SCOPED_TRACE(kind);
        host.Reset();
        int equations = 5;
        const int entries = e.proc.NZAndEqnContribution(owner, 7, equations);
        EXPECT_EQ(entries, 2);  // y and x: the table holds parameters
        EXPECT_EQ(equations, 6);
        ASSERT_EQ(host.incidence.size(), 1u);
        EXPECT_EQ(host.incidence[0].group, 7);

        std::vector<int> rows(entries), cols(entries);
        int* r = rows.data();
        int* c = cols.data();
        host.SetPatternLimit(r + entries, c + entries);
        e.proc.CreateEquationsAndSetGroup(7, 11, r, c, equations, owner, "PROC1", 22);
        host.SetPatternLimit(nullptr, nullptr);
        EXPECT_EQ(equations, 7);
        EXPECT_EQ(r - rows.data(), entries);

        ASSERT_EQ(host.equationRecords.size(), 1u);
        const auto* record = dynamic_cast<const ZR_ProcedureEquationType*>(host.equationRecords[0]);
        ASSERT_NE(record, nullptr);
        EXPECT_STREQ(record->LocalName(), "[1]");
        EXPECT_EQ(record->Number(), 1);
        EXPECT_EQ(record->EquationCount(), 6);
        EXPECT_EQ(record->HostWord1(), 11);
        EXPECT_EQ(record->HostWord2(), 22);
        EXPECT_EQ(record->Procedure(), &e.proc);
        ASSERT_EQ(host.expressions.size(), 1u);
        EXPECT_EQ(host.expressions[0].index, 6);
        EXPECT_EQ(host.expressions[0].group, 7);
        EXPECT_EQ(host.EquationName(host.expressions[0]), "PROC1[1]");
        ASSERT_EQ(host.tokens.size(), 2u);
        EXPECT_EQ(host.tokens[0].term, &e.y);
        EXPECT_EQ(host.tokens[1].term, &e.x);
        EXPECT_EQ(rows, (std::vector<int>{6, 6}));
        EXPECT_EQ(cols, (std::vector<int>{e.y.ColumnIndex(), e.x.ColumnIndex()}));
        ASSERT_EQ(host.procedureExpressions.size(), 1u);
        EXPECT_EQ(host.procedureExpressions[0].procedure, &e.proc);
        EXPECT_EQ(host.procedureExpressions[0].number, 1);
        EXPECT_EQ(host.procedureExpressions[0].equation, 6);
        ASSERT_EQ(host.procedureCalls.size(), 1u);
        EXPECT_EQ(host.procedureCalls[0].procedure, &e.proc);
        EXPECT_EQ(host.procedureCalls[0].group, 7);
    };
    ZR_ModelTypeEx model;
    ZR_StructureTypeEx structure;
    declareTo(&model, "model");
    declareTo(&structure, "structure");
}

// Precall calls once, and is no residual evaluation.
TEST_F(Interpolate, CallsTheRoutineOnlyWhenAnInputChanged) {
    Example e(true);
    EXPECT_EQ(e.proc.Precall(true), 0);
    EXPECT_EQ(e.proc.Precall(true), 0);
    e.Residual();
    e.JacobianRow();
    e.Residual();
    ASSERT_EQ(Calls(), 2u);
    EXPECT_EQ(Log().calls[0].type, 1);
    EXPECT_EQ(Log().calls[1].type, 4);

    e.y.SetValue(30.0);  // the output is no input
    EXPECT_EQ(e.Residual(), 5.0);
    EXPECT_EQ(Calls(), 2u);

    Interpolation::Set(*e.xs[1], 1.25);
    e.Residual();
    EXPECT_EQ(Calls(), 3u);
    Interpolation::Set(*e.xs[1], 1.0);

    // Y[0] lies outside the segment in use, so the call is good, but a NaN never
    // equals what was packed before.
    Interpolation::Set(*e.ys[0], kNaN);
    e.Residual();
    e.JacobianRow();
    e.Residual();
    EXPECT_EQ(Calls(), 6u);
    Interpolation::Set(*e.ys[0], 0.0);
    e.Residual();
    e.Residual();
    EXPECT_EQ(Calls(), 7u);

    host.config.alwaysCallProcedures = true;
    e.Residual();
    e.Residual();
    EXPECT_EQ(Calls(), 9u);
}

// The one call of Residuals must leave its derivatives for the Jacobian that
// follows with the same inputs, which calls nothing.
TEST_F(Interpolate, ResidualsThenJacobianUsesTheDerivativesOfTheOneCall) {
    Example e(true);
    e.Residual();
    const std::vector<double> row = e.JacobianRow();
    EXPECT_EQ(Calls(), 1u);
    // y, then x, X[0..2], Y[0..2] (the integer's column passed over): on the
    // segment [1, 2] of slope 30, halfway, x weighs -30, X[1] and X[2] 15 each,
    // Y[1] and Y[2] -0.5 each.
    EXPECT_EQ(row, (std::vector<double>{1.0, -30.0, 0.0, 15.0, 15.0, 0.0, -0.5, -0.5}));
    Example fresh(true);
    EXPECT_EQ(fresh.JacobianRow(), row);  // Jacobian first gives the same
}

TEST_F(Interpolate, AFailedCallIsMadeAgainWithTheSameInputs) {
    Example e;
    e.Residual();
    e.x.SetValue(5.0);  // outside the table: the routine fails
    double r = kUntouched;
    EXPECT_EQ(e.Residual(r), ZR_PROC_FAILED);
    EXPECT_EQ(r, kUntouched);
    EXPECT_EQ(e.Residual(r), ZR_PROC_FAILED);  // not the success of x = 1.5
    EXPECT_EQ(r, kUntouched);
    EXPECT_EQ(Calls(), 3u);
    e.x.SetValue(1.5);
    EXPECT_EQ(e.Residual(), 0.0);
    EXPECT_EQ(Calls(), 4u);

    // The library goes missing after a good call, with new inputs already packed.
    e.x.SetValue(0.5);
    host.config.procedureDirectory = LibraryDirectory() + "/nowhere";
    EXPECT_EQ(e.Residual(r), ZR_PROC_NO_LIBRARY);
    host.errors.clear();
    host.config.procedureDirectory = LibraryDirectory();
    EXPECT_EQ(e.Residual(), 20.0);  // y = 25 against 5 at x = 0.5
    EXPECT_EQ(Calls(), 5u);
}

TEST_F(Interpolate, WithoutItsLibraryNothingIsCalledOrWritten) {
    host.config.procedureDirectory = LibraryDirectory() + "/nowhere";
    Example e(true);
    double r = kUntouched;
    EXPECT_EQ(e.Residual(r), ZR_PROC_NO_LIBRARY);
    EXPECT_EQ(r, kUntouched);
    int status = 0;
    EXPECT_EQ(e.JacobianRow(status), std::vector<double>({1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(status, ZR_PROC_NO_LIBRARY);
    EXPECT_EQ(e.proc.Precall(true), ZR_PROC_NO_LIBRARY);
    EXPECT_EQ(Calls(), 0u);
    EXPECT_EQ(e.Output(), 25.0);  // only the output's own value, packed before the call
    ASSERT_FALSE(host.errors.empty());
    EXPECT_NE(host.errors[0].find(qtvhost::LoadedModule::FileName("ZRQuilt")), std::string::npos);
    host.errors.clear();
}

TEST_F(Interpolate, ArgumentPassesThatDisagreeAreNeverWrittenPast) {
    int index = 0;  // no residuals or Jacobian entries are written below
    {
        // The binding pass hands two abscissae more than the construction pass.
        Interpolation e({0, 1, 2}, {0, 10, 40}, false);
        e.x.SetValue(1.5);
        e.Pass(e.xs);
        ZR_REALPARAMETER extra;
        std::vector<ZR_VarParam*> more = e.xs;
        more.insert(more.end(), {&extra, &extra});
        e.Pass(more);
        EXPECT_EQ(e.PatternSize(), 0);  // such a procedure declares no equation
        EXPECT_EQ(e.proc.Residuals(nullptr, index), ZR_PROC_NOT_BOUND);
        EXPECT_EQ(e.proc.Jacobian(nullptr, index), ZR_PROC_NOT_BOUND);
    }
    {
        // One argument too many in the construction pass.
        Interpolation e({0, 1, 2}, {0, 10, 40}, false);
        ZR_DynamicProcExtensions& ext = e.proc;
        ext.Argument(e.x);
        for (int i = 0; i < 6; ++i) ext.Argument(1.0);
        ext.LastArgument();
        EXPECT_EQ(e.proc.Residuals(nullptr, index), ZR_PROC_NOT_BOUND);
    }
    {
        // A fourth size for a procedure with two array dimensions.
        Interpolation e({0, 1, 2}, {0, 10, 40}, false);
        ZR_DynamicProcExtensions& ext = e.proc;
        ext.Argument();
        for (int i = 0; i < 4; ++i) ext.SetDimensionSize(3);
        EXPECT_EQ(e.proc.Residuals(nullptr, index), ZR_PROC_NOT_BOUND);
    }
    EXPECT_EQ(index, 0);
    EXPECT_EQ(Calls(), 0u);
}

TEST_F(Interpolate, SolverVariablesChangingAfterTheCountKeepToTheCountedEntries) {
    Interpolation e({0, 1, 2}, {0, 10, 40}, true);
    e.x.SetValue(1.5);
    e.y.SetValue(25.0);
    for (ZR_VarParam* v : e.xs) v->SetSolverVariable(false);
    for (ZR_VarParam* v : e.ys) v->SetSolverVariable(false);
    e.Bind();
    ASSERT_EQ(e.PatternSize(), 2);  // y and x

    e.xs[1]->SetSolverVariable(true);
    EXPECT_EQ(e.JacobianRow(), (std::vector<double>{1.0, -30.0}));
    ZR_ModelTypeEx owner;
    std::vector<int> rows(2), cols(2);
    int* r = rows.data();
    int* c = cols.data();
    int equations = 0;
    host.SetPatternLimit(r + 2, c + 2);  // the host records an error past these
    e.proc.CreateEquationsAndSetGroup(1, 0, r, c, equations, &owner, "", 0);
    host.SetPatternLimit(nullptr, nullptr);
    EXPECT_EQ(r - rows.data(), 2);

    e.x.SetSolverVariable(false);
    EXPECT_EQ(e.JacobianRow(), (std::vector<double>{1.0, 15.0}));
    e.xs[1]->SetSolverVariable(false);
    EXPECT_EQ(e.JacobianRow(), (std::vector<double>{1.0, 0.0}));
}

TEST_F(Interpolate, ACopyEvaluatesOnItsOwnAndEveryBlockGoesBack) {
    const long long before = host.Heap().liveBlocks;
    {
        Example e(true);
        e.Residual();
        const std::vector<double> row = e.JacobianRow();
        {
            auto copy = std::make_unique<ZRProc_INTERPOLATE>(e.proc);
            double values[9];
            int index = 0;
            EXPECT_EQ(copy->Residuals(values, index), 0);  // the same packed inputs: no call
            EXPECT_EQ(values[0], 0.0);
            EXPECT_EQ(copy->Jacobian(values, index), 0);
            EXPECT_EQ(std::vector<double>(values + 1, values + 9), row);
            EXPECT_EQ(Calls(), 1u);
            e.x.SetValue(0.5);  // the copy builds index arrays of its own
            EXPECT_EQ(copy->Jacobian(values, index = 0), 0);
            EXPECT_EQ(values[1], -10.0);
            EXPECT_EQ(Calls(), 2u);
        }
        EXPECT_EQ(e.Residual(), 20.0);
        EXPECT_EQ(e.JacobianRow()[1], -10.0);
        EXPECT_EQ(Calls(), 3u);
    }
    EXPECT_EQ(host.Heap().liveBlocks, before);
}

TEST(ZRQuilt, InterpSetsItsFailureCodeForABadTableAndWritesNothing) {
    ZR_Procedure13 interp = RealInterp();
    ASSERT_NE(interp, nullptr);
    struct Case {
        std::vector<double> X, Y;
        double x;
        int ifail;
        double y = 0;  // what a good call writes
    };
    const Case cases[] = {
        {{0, 1, 2}, {0, 10, 40}, 1.5, 0, 25}, {{0, 1, 2}, {0, 10, 40}, 0.0, 0, 0},
        {{0, 1, 2}, {0, 10, 40}, 0.25, 0, 2.5}, {{0, 1, 2}, {0, 10, 40}, 2.0, 0, 40},  // the last point counts
        {{1}, {10}, 1.0, 1},               {{0, 1, 2}, {0, 10}, 0.5, 1},
        {{0, 1, 1}, {0, 10, 40}, 0.5, 2},  {{0, 2, 1}, {0, 10, 40}, 0.5, 2},
        {{0, kNaN, 2}, {0, 10, 40}, 0.5, 2}, {{0, 1, 2}, {0, 10, 40}, -0.1, 3},
        {{0, 1, 2}, {0, 10, 40}, 2.1, 3},  {{0, 1, 2}, {0, 10, 40}, kNaN, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.X) + " at " + std::to_string(c.x));
        const int32_t p = static_cast<int32_t>(c.X.size()), q = static_cast<int32_t>(c.Y.size());
        std::vector<double> words{c.x};
        words.insert(words.end(), c.X.begin(), c.X.end());
        words.insert(words.end(), c.Y.begin(), c.Y.end());
        words.push_back(0.0);
        words.push_back(kUntouched);
        int32_t sizes[3] = {p, q, 0};
        int32_t in[4] = {0, 1, 1 + p, 1 + p + q};
        int32_t out[1] = {2 + p + q};
        const int32_t values = 2 + p + q;
        int32_t count = values;
        std::vector<int32_t> rows(values, 1), cols(values);
        std::iota(cols.begin(), cols.end(), 1);
        std::vector<double> derivs(values, kUntouched);
        int32_t type = 4, word = 0, hostCount = 0, scratch = 0, ifail = 1;
        interp(&type, words.data(), sizes, words.data(), sizes + 2, in, out, &word, nullptr, &hostCount, &count,
               rows.data(), cols.data(), &scratch, derivs.data(), &ifail);
        EXPECT_EQ(ifail, c.ifail);
        if (c.ifail != 0) {
            EXPECT_EQ(words.back(), kUntouched);
            EXPECT_EQ(derivs, std::vector<double>(values, kUntouched));
        } else {
            EXPECT_EQ(words.back(), c.y);
            EXPECT_EQ(derivs.back(), 0.0);  // the integer
        }
    }
}
