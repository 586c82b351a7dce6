#include "qtvexp/recorder.h"
#include "trace_hook.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "qtvexp/arrays.h"

namespace qtvhost {

namespace {
// Every block carries a header, so that a block the host did not hand out is
// recognised instead of corrupting the heap.
struct BlockHeader {
    std::uint64_t magic;
    std::uint64_t bytes;
};
constexpr std::uint64_t kLiveMagic = 0x51545645584c4956ULL;
constexpr std::uint64_t kFreedMagic = 0x51545645584652ULL;
static_assert(sizeof(BlockHeader) == 16, "the header keeps blocks 16-byte aligned");
// Model libraries' operator new hands out these blocks, and the compiler takes
// them to be aligned for any type (16 bytes, also on 32-bit Windows, where
// malloc gives only 8).
constexpr std::align_val_t kBlockAlignment{16};

// Faults are rare: kept out of the calls that record, which stay short.
[[gnu::noinline, gnu::cold]] void Complain(Host& host, const char* what) { host.Error(what); }
[[gnu::noinline, gnu::cold]] void WrongTokenTarget(Host& host, int eqn) {
    host.Error("expression token for equation " + std::to_string(eqn) + " which is not the open equation");
}
}  // namespace

Host::Host() { m_nameCache.fill(-1); }

Host& Host::Get() {
    static Host* host = new Host;  // never destroyed: model libraries may outlive statics
    return *host;
}

void Host::Reset() {
    // A trace left running (a test that stopped half-way) would write into a
    // sink that may be gone.
    StopTrace();
    config = HostConfig();
    registrations.clear();
    assignments.clear();
    baseCalls.clear();
    incidence.clear();
    incidenceTerms.clear();
    expressions.clear();
    tokens.clear();
    equationNames.clear();
    m_namePointers.clear();
    m_nameCache.fill(-1);
    errors.clear();
    for (ZR_EquationType* record : equationRecords) delete record;
    equationRecords.clear();
    procedureExpressions.clear();
    procedureCalls.clear();
    recordAssignments = true;
    m_rowsEnd = nullptr;
    m_colsEnd = nullptr;
    m_failAfter = -1;
    m_runActive = false;
    m_runStarts.clear();
    m_runStartSlot.clear();
    ReleaseGlobalStructures();
}

void Host::ReleaseGlobalStructures() {
    // Taken out first: a release may run code that looks the table up again.
    std::vector<std::pair<std::string, ZR_ModelType*>> globals;
    globals.swap(m_globalStructures);
    for (auto& entry : globals) entry.second->Release();
}

void Host::AddGlobalStructure(const std::string& name, ZR_ModelType* instance) {
    if (instance == nullptr || name.empty()) {
        Error("a global structure needs a name and an instance");
        return;
    }
    instance->AddRef();
    for (auto& entry : m_globalStructures) {
        if (SUValue::CompareCI(entry.first.c_str(), name.c_str()) == 0) {
            ZR_ModelType* old = entry.second;
            entry = {name, instance};
            old->Release();
            return;
        }
    }
    m_globalStructures.emplace_back(name, instance);
}

ZR_ModelType* Host::FindGlobalStructure(const char* name) const {
    for (const auto& entry : m_globalStructures)
        if (SUValue::CompareCI(entry.first.c_str(), name) == 0) return entry.second;
    return nullptr;
}

const std::string& Host::EquationName(const ExpressionRecord& e) const { return equationNames.at(e.nameId); }

void Host::Error(const std::string& what) { errors.push_back(what); }

void Host::SetPatternLimit(const int* rowsEnd, const int* colsEnd) {
    m_rowsEnd = rowsEnd;
    m_colsEnd = colsEnd;
}

Host::HeapStats Host::Heap() const { return m_heap; }
void Host::FailAllocationsAfter(long long after) { m_failAfter = after; }

void* Host::Allocate(std::size_t bytes) {
    if (m_failAfter == 0) {
        ++m_heap.refused;
        return nullptr;
    }
    if (m_failAfter > 0) --m_failAfter;
    if (bytes > SIZE_MAX - sizeof(BlockHeader)) return nullptr;
    const long long room = config.maxHeapBytes > m_heap.liveBytes ? config.maxHeapBytes - m_heap.liveBytes : 0;
    if (bytes > static_cast<unsigned long long>(room)) {
        ++m_heap.refused;
        Error("the host heap cannot hold " + std::to_string(bytes) + " more bytes: " +
              std::to_string(m_heap.liveBytes) + " of at most " + std::to_string(config.maxHeapBytes) +
              " are in use");
        return nullptr;
    }
    auto* header = static_cast<BlockHeader*>(
        ::operator new(sizeof(BlockHeader) + bytes, kBlockAlignment, std::nothrow));
    if (header == nullptr) return nullptr;
    header->magic = kLiveMagic;
    header->bytes = bytes;
    ++m_heap.allocations;
    ++m_heap.liveBlocks;
    m_heap.liveBytes += static_cast<long long>(bytes);
    return header + 1;
}

void Host::Free(void* block) {
    if (block == nullptr) return;
    BlockHeader* header = static_cast<BlockHeader*>(block) - 1;
    if (header->magic != kLiveMagic) {
        Error(header->magic == kFreedMagic ? "MyFree of a block already freed"
                                           : "MyFree of a block that MyAllocate did not hand out");
        return;  // leaking is better than corrupting the heap
    }
    header->magic = kFreedMagic;
    ++m_heap.frees;
    --m_heap.liveBlocks;
    m_heap.liveBytes -= static_cast<long long>(header->bytes);
    ::operator delete(header, kBlockAlignment);
}

void Host::FixUnchecked(ZR_VarParamProp& target, const ZR_Value& value) {
    target.m_user = value;
    target.m_hasUser = true;
}

void Host::BeginAssignmentRun(const ZR_Container* instance) {
    ++m_run;
    m_runInstance = instance;
    m_runActive = true;
    m_runChanged = false;
    m_runStarts.clear();
    m_runStartSlot.clear();
}

bool Host::EndAssignmentRun() {
    m_runActive = false;
    // A value whose statement did not run this time is stale: back to the default.
    // An array that follows a set may drop elements when the set goes back, and
    // with them values of this list; so each stale value leaves the list before
    // its arrays hear of it, and when the list lost more than that value the
    // walk starts again.
    for (std::size_t i = 0; i < m_assignedValues.size();) {
        ZR_VarParamProp* p = m_assignedValues[i];
        if (p->m_assignedRun == m_run || p->m_assignedBy != m_runInstance) {
            ++i;
            continue;
        }
        ForgetAssignedValue(p);  // the last value takes slot i
        p->m_hasAssigned = false;
        m_runChanged = true;
        const std::size_t left = m_assignedValues.size();
        p->ValueChanged();
        if (m_assignedValues.size() != left) i = 0;
    }
    for (const RunStart& start : m_runStarts) {
        const ZR_VarParamProp* p = start.target;
        if (p == nullptr) continue;
        if (p->m_hasAssigned != start.had || (start.had && !p->m_assigned.SameValue(start.value)))
            m_runChanged = true;
    }
    m_runStarts.clear();
    m_runStartSlot.clear();
    return m_runChanged;
}

void Host::NoteRunStart(ZR_VarParamProp* target) {
    if (m_runStartSlot.emplace(target, m_runStarts.size()).second)
        m_runStarts.push_back({target, target->m_hasAssigned, target->m_assigned});
}

void Host::NoteAssignedValue(ZR_VarParamProp* target) {
    NoteRunStart(target);
    target->m_assignedBy = m_runInstance;
    if (target->m_registrySlot < 0) {
        target->m_registrySlot = static_cast<int>(m_assignedValues.size());
        m_assignedValues.push_back(target);
    }
}

void Host::NoteIndexSet(ZR_VarParamProp* target) { NoteRunStart(target); }

void Host::ForgetAssignedValue(ZR_VarParamProp* target) {
    const auto started = m_runStartSlot.find(target);
    if (started != m_runStartSlot.end()) {
        RunStart& start = m_runStarts[started->second];
        if (start.had) m_runChanged = true;  // a value held at the start is gone
        start.target = nullptr;
        m_runStartSlot.erase(started);
    }
    const int slot = target->m_registrySlot;
    if (slot < 0) return;
    ZR_VarParamProp* last = m_assignedValues.back();
    m_assignedValues[static_cast<std::size_t>(slot)] = last;
    last->m_registrySlot = slot;
    m_assignedValues.pop_back();
    target->m_registrySlot = -1;
}

int Host::NextColumn() { return m_nextColumn++; }

void Host::OpenIncidence(int group) {
    incidence.push_back({group, static_cast<std::uint32_t>(incidenceTerms.size()), 0});
}

void Host::RecordNonZero(const ZR_VarParam& term) {
    if (incidence.empty()) return Complain(*this, "AddNonZero before any SetGroupLimits");
    // An equation about an element that its array does not hold, or holds outside
    // its declared index set, is about nothing the model has: the host reports it
    // (a member of an element answers for the element it belongs to).
    for (const ZR_Type* t = config.checkIncidence ? &term : nullptr; t != nullptr; t = t->RegisteredIn()) {
        const auto* array = dynamic_cast<const ZR_Matrix*>(t->ElementOf());
        if (array == nullptr) continue;
        const std::string why = array->WhyNotHeld(*t);
        if (!why.empty()) {
            Error(term.FullName() + ": an equation names it, but " + why);
            break;
        }
    }
    incidenceTerms.push_back(&term);
    ++incidence.back().termCount;
}

void Host::OpenExpression(const char* name, int index, int group) {
    if (name == nullptr) name = "";
    // Names are the same few texts over and over, mostly at the same address: the
    // address finds a text quickly, the text decides, since a model library may
    // write different names into one buffer.
    int& cached = m_nameCache[(reinterpret_cast<std::uintptr_t>(name) >> 3) % kNameCacheSlots];
    int nameId = cached;
    if (nameId < 0 || m_namePointers[static_cast<std::size_t>(nameId)] != name ||
        equationNames[static_cast<std::size_t>(nameId)] != name) {
        nameId = -1;
        for (std::size_t i = equationNames.size(); i-- > 0;) {
            if (equationNames[i] == name) {
                nameId = static_cast<int>(i);
                break;
            }
        }
        if (nameId < 0) {
            nameId = static_cast<int>(equationNames.size());
            equationNames.emplace_back(name);
            m_namePointers.push_back(name);
        }
        m_namePointers[static_cast<std::size_t>(nameId)] = name;
        cached = nameId;
    }
    expressions.push_back({index, nameId, group, static_cast<std::uint32_t>(tokens.size()), 0});
}

void Host::AdoptEquation(ZR_EquationType* record) { equationRecords.push_back(record); }

void Host::RecordProcExpression(const ZR_ProcedureType* procedure, int number, int eqn) {
    if (!TokenTargetOk(eqn)) return;
    procedureExpressions.push_back({procedure, number, eqn});
}

bool Host::TokenTargetOk(int eqn) {
    if (!expressions.empty() && expressions.back().index == eqn) return true;
    WrongTokenTarget(*this, eqn);
    return false;
}

void Host::RecordTokenOp(int code, int eqn) {
    if (!TokenTargetOk(eqn)) return;
    tokens.push_back({TK_OP, code, 0.0, nullptr});
    ++expressions.back().tokenCount;
}

void Host::RecordTokenReal(double value, int eqn) {
    if (!TokenTargetOk(eqn)) return;
    tokens.push_back({TK_REAL, 0, value, nullptr});
    ++expressions.back().tokenCount;
}

void Host::RecordTokenInt(int value, int eqn) {
    if (!TokenTargetOk(eqn)) return;
    tokens.push_back({TK_INT, value, 0.0, nullptr});
    ++expressions.back().tokenCount;
}

void Host::RecordTokenTerm(const ZR_VarParam& term, int*& rows, int*& cols, int eqn) {
    if (!TokenTargetOk(eqn)) return;
    tokens.push_back({TK_TERM, 0, 0.0, &term});
    ++expressions.back().tokenCount;
    if ((m_rowsEnd && rows >= m_rowsEnd) || (m_colsEnd && cols >= m_colsEnd))
        return Complain(*this, "Jacobian pattern entries beyond the arrays the host provided");
    if (rows == nullptr || cols == nullptr) return Complain(*this, "AddTerm with no Jacobian pattern arrays");
    *rows++ = eqn;
    *cols++ = term.ColumnIndex();
}

}  // namespace qtvhost

// The equation interface and the expression builder write straight into the
// record: they live here so that each call is one short step.
using qtvhost::Host;

void ZR_ModelType::SetGroupLimits(int group) {
    QTV_TRACED_CALL(ZR_ModelType::SetGroupLimits(group), qtvhost::HostCall::GroupLimits, this, group);
    // Raising the last group keeps the groups of the next instance apart.
    if (group > m_stLastGroup) m_stLastGroup = group;
    Host::Get().OpenIncidence(group);
}

void ZR_ModelType::AddNonZero(ZR_VarParam& term) {
    QTV_TRACED_CALL(ZR_ModelType::AddNonZero(term), qtvhost::HostCall::NonZero, this, 0, static_cast<const void*>(&term));
    Host::Get().RecordNonZero(term);
}

void ZR_ModelType::AddEquation(const char* name, int& count, int group) {
    QTV_TRACED_CALL(ZR_ModelType::AddEquation(name, count, group), qtvhost::HostCall::Equation, this, group,
                    static_cast<const void*>(name));
    Host::Get().OpenExpression(name, count, group);
    ++count;
}

void ZR_ModelExtensions::AddOp(EOp code, int equation) {
    QTV_TRACED_CALL(ZR_ModelExtensions::AddOp(code, equation), qtvhost::HostCall::Op, this, equation, static_cast<int>(code), 0);
    Host::Get().RecordTokenOp(code, equation);
}
void ZR_ModelExtensions::AddTerm(double value, int equation) {
    QTV_TRACED_CALL(ZR_ModelExtensions::AddTerm(value, equation), qtvhost::HostCall::TermReal, this, equation, value);
    Host::Get().RecordTokenReal(value, equation);
}
void ZR_ModelExtensions::AddTerm(int value, int equation) {
    QTV_TRACED_CALL(ZR_ModelExtensions::AddTerm(value, equation), qtvhost::HostCall::TermInt, this, equation, value, 0);
    Host::Get().RecordTokenInt(value, equation);
}
void ZR_ModelExtensions::AddTerm(ZR_VarParam& term, int*& rows, int*& cols, int equation) {
    QTV_TRACED_CALL(ZR_ModelExtensions::AddTerm(term, rows, cols, equation), qtvhost::HostCall::Term, this, equation,
                    static_cast<const void*>(&term));
    Host::Get().RecordTokenTerm(term, rows, cols, equation);
}

void* MyAllocate(std::size_t bytes) { return qtvhost::Host::Get().Allocate(bytes); }
void MyFree(void* block) { qtvhost::Host::Get().Free(block); }
