// What the host saw: the record of every call that model libraries make, the
// results that the host's base operations give, and failure injection. Drivers,
// tests and benchmarks read it; model libraries never do.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "qtvexp/core.h"
#include "qtvexp/procedure_call.h"

namespace qtvhost {

struct Registration {
    const ZR_Container* owner;
    const ZR_Containable* member;
    std::string name;
    std::string description;
    bool hasDescription;
    int direction;
    bool flag;
    int via;  // 0 ZR_Type, 1 ZR_ExternalBase, 2 ZR_VirtualBase
};

struct AssignmentRecord {
    const ZR_VarParamProp* target;
    std::string targetName;
    ZR_Value value;
    int pass;     // -1 for Assign, 0 or 1 for an internal index set
    long status;  // what Assign returned
};

struct BaseCall {
    enum Kind { ExecuteAssignments, SetUpEquations, SetLocalEqnCount, JacPattern,
                ResetExpressions, SetDims, DumpStructure };
    Kind kind;
    const void* object;
    int a;  // level, count
    int b;  // arg
};

enum TokenKind : std::uint8_t { TK_OP, TK_REAL, TK_INT, TK_TERM };

struct Token {
    TokenKind kind;
    int code;          // operator code or integer constant
    double real;
    const ZR_VarParam* term;
};

// One equation instance as SetUpEquations declared it.
struct IncidenceRecord {
    int group;
    std::uint32_t firstTerm;
    std::uint32_t termCount;
};

// One equation instance as JacPattern declared it.
struct ExpressionRecord {
    int index;  // the equation number given to AddEquation
    int nameId;
    int group;
    std::uint32_t firstToken;
    std::uint32_t tokenCount;
};

// A procedure equation tied to its procedure output (AddProcExpression).
struct ProcExpressionRecord {
    const ZR_ProcedureType* procedure;
    int number;    // 1-based output element
    int equation;  // the equation's index
};

// A procedure call registered with its owner (AddProcCall).
struct ProcCallRecord {
    const ZR_ModelType* owner;
    const ZR_ProcedureType* procedure;  // null when the procedure has no outputs
    int group;
};

struct HostConfig {
    int setUpEquationsResult = 0;      // what ZR_ModelType::SetUpEquations returns
    int jacPatternResult = 0;          // what ZR_ModelType::JacPattern returns
    long executeAssignmentsStatus = 0; // what ZR_Container::ExecuteAssignments returns
    int localEqnCountOffset = 0;       // SetLocalEqnCount(n) returns n + offset
    int residualsResult = 0;
    // Where procedure libraries are loaded from; empty: the platform's search.
    std::string procedureDirectory;
    bool alwaysCallProcedures = false;           // what ZR_ProcedureType::AlwaysCall says
    ZR_Procedure13 procedureRoutine = nullptr;   // when set, called in place of every routine found
    long long maxArraySlots = 1LL << 26;  // the most element slots one array may have
    long long maxRangeMembers = 1LL << 22;  // the largest integer range built; larger ones are taken as empty
    // The most bytes the host heap holds at once: a block beyond it is refused
    // with an error, as a host refuses a model it cannot hold rather than take
    // all the machine's memory.
    long long maxHeapBytes = 1LL << 30;
    // Whether AddNonZero checks that a term's element lies in its array's index
    // set; a diagnostic of this stand-in, costly per term, that measurements of
    // the library's own cost switch off on both sides of a comparison.
    bool checkIncidence = true;
};

class QTVEXP_API Host {
public:
    static Host& Get();

    // Forgets every record and error, releases the global structures, stops a
    // running call trace and restores the default configuration; the heap
    // counters are kept.
    void Reset();

    HostConfig config;

    // -- records -------------------------------------------------------------
    std::vector<Registration> registrations;
    std::vector<AssignmentRecord> assignments;
    std::vector<BaseCall> baseCalls;
    std::vector<IncidenceRecord> incidence;
    std::vector<const ZR_VarParam*> incidenceTerms;
    std::vector<ExpressionRecord> expressions;
    std::vector<Token> tokens;
    std::vector<std::string> equationNames;  // by nameId
    std::vector<std::string> errors;         // faults the host noticed
    std::vector<ZR_EquationType*> equationRecords;  // owned; freed by Reset
    std::vector<ProcExpressionRecord> procedureExpressions;
    std::vector<ProcCallRecord> procedureCalls;
    bool recordAssignments = true;

    const std::string& EquationName(const ExpressionRecord& e) const;
    void Error(const std::string& what);

    // Global structure instances by name (compared without regard to case). The
    // host holds one reference to each until Reset or until the name is reused.
    void AddGlobalStructure(const std::string& name, ZR_ModelType* instance);
    ZR_ModelType* FindGlobalStructure(const char* name) const;

    // Cursor bounds that AddTerm must not pass; unset (null) means unchecked.
    void SetPatternLimit(const int* rowsEnd, const int* colsEnd);

    // -- assignment runs -------------------------------------------------------
    // Between these two calls every Assign is counted as part of one run of the
    // assignments of `instance`. A value that an earlier run of the same instance
    // assigned, by a statement that this run no longer executed, goes back to its
    // default at the end of the run; values other instances assigned are theirs.
    // EndAssignmentRun tells whether any assigned value or index set ends the run
    // other than it began it: a value that statements change and change back
    // within one run (one statement giving a default that a later one replaces)
    // has settled.
    void BeginAssignmentRun(const ZR_Container* instance);
    bool EndAssignmentRun();
    bool InAssignmentRun() const { return m_runActive; }
    int AssignmentRun() const { return m_run; }
    // Called before an assigned value or an index set takes a new value in a run.
    void NoteAssignedValue(ZR_VarParamProp* target);
    void NoteIndexSet(ZR_VarParamProp* target);
    void ForgetAssignedValue(ZR_VarParamProp* target);

    // -- test-only -------------------------------------------------------------
    // Fixes a value as the user's without the kind, bound and valid-set checks,
    // so that a test can show what a model does with a value that reaches it by a
    // route the stand-in does not model (a text outside a valid set, say). The
    // driver and model libraries never call it.
    static void FixUnchecked(ZR_VarParamProp& target, const ZR_Value& value);

    // -- heap ----------------------------------------------------------------
    struct HeapStats {
        long long liveBlocks = 0;
        long long liveBytes = 0;
        long long allocations = 0;  // successful MyAllocate calls so far
        long long frees = 0;
        long long refused = 0;      // MyAllocate calls made to fail
    };
    HeapStats Heap() const;
    // Makes the next `after` allocations succeed and every later one fail, until
    // cleared with -1.
    void FailAllocationsAfter(long long after);

    // -- internal, for the host's own classes ---------------------------------
    void RecordTokenOp(int code, int eqn);
    void RecordTokenReal(double value, int eqn);
    void RecordTokenInt(int value, int eqn);
    void RecordTokenTerm(const ZR_VarParam& term, int*& rows, int*& cols, int eqn);
    void OpenExpression(const char* name, int index, int group);
    void OpenIncidence(int group);
    void RecordNonZero(const ZR_VarParam& term);
    void AdoptEquation(ZR_EquationType* record);
    void RecordProcExpression(const ZR_ProcedureType* procedure, int number, int eqn);
    void* Allocate(std::size_t bytes);
    void Free(void* block);
    int NextColumn();

private:
    Host();
    bool TokenTargetOk(int eqn);
    void ReleaseGlobalStructures();
    std::vector<std::pair<std::string, ZR_ModelType*>> m_globalStructures;
    std::vector<const char*> m_namePointers;  // where each name was last seen, by nameId
    static constexpr std::size_t kNameCacheSlots = 64;
    std::array<int, kNameCacheSlots> m_nameCache;  // nameId by the address of its text, or -1
    const int* m_rowsEnd = nullptr;
    const int* m_colsEnd = nullptr;
    long long m_failAfter = -1;
    HeapStats m_heap;
    int m_nextColumn = 0;
    bool m_runActive = false;
    bool m_runChanged = false;
    int m_run = 0;
    const ZR_Container* m_runInstance = nullptr;
    std::vector<ZR_VarParamProp*> m_assignedValues;  // holders of an assigned value
    // What each value set in the current run held when the run began.
    struct RunStart {
        ZR_VarParamProp* target;  // null once the holder is gone
        bool had;
        ZR_Value value;
    };
    void NoteRunStart(ZR_VarParamProp* target);
    std::vector<RunStart> m_runStarts;
    std::unordered_map<const ZR_VarParamProp*, std::size_t> m_runStartSlot;
};

}  // namespace qtvhost
