// A trace of the host calls that a model library makes, in order and with their
// arguments. Benchmarks give the same calls again with no library code in between
// (qtvhost::HostCallReplay), so that they can tell the library's own work from the
// host's. Only calls made from outside the host are traced: what a traced call does
// inside the host comes again with it.
#pragma once
#include <cstdint>
#include <vector>

#include "qtvexp/api.h"

namespace qtvhost {

enum class HostCall : std::uint8_t {
    // look-ups
    Find,          // ZR_BASE_I::Find(n)
    Contains,      // SUValue::SetContains(n, pos), the look-up of index-tuple arrays
    Size,          // SUValue::SetSize()
    Slots,         // ZR_LongPtrVectorOwnsData::Elements()
    Slot,          // ZR_LongPtrVectorOwnsData::operator[](n)
    VirtualLink,   // ZR_VirtualBase::VirtualLink()
    ExternalLink,  // ZR_ExternalBase::ExternalLink()
    Linked,        // ZR_ExternalBase::Linked()
    // integer set values and their iterators (objects of the caller's)
    Range,    // ZR_IntSetValue(pair[0], pair[1]) constructed at object
    NoSet,    // ZR_IntSetValue(null text) constructed at object
    SetAdd,   // SUValue::operator+=(n)
    Union,    // SUValue::operator+=(set value at arg.p)
    SetCopy,  // ZR_IntSetValue(set value at arg.p) constructed at object
    SetEnd,   // ~ZR_IntSetValue
    Iter,     // ZR_IntegerSetIter(set value at arg.p) constructed at object
    IterEnd,  // ~ZR_IntegerSetIter
    Next,     // ZR_SetIter::Next()
    IterV,    // ZR_IntegerSetIter::v()
    IterFv,   // ZR_IntegerSetIter::fv()
    // values of members
    IntV, IntFv,    // ZR_INTEGERPARAMETER
    RealV, RealFv,  // ZR_REALPARAMETER
    Text,           // ZR_STRINGPARAMETER::operator const char*
    SetV, SetFv,    // ZR_Set
    CompareCI,      // SUValue::CompareCI(object, arg.p), two texts
    Holds,          // SUValue::operator>=(arg.p), a text
    // the base operations
    SetUpEquations,  // ZR_ModelType::SetUpEquations()
    JacPattern,      // ZR_ModelType::JacPattern(rows, cols, arg.p)
    LocalEqnCount,   // ZR_ModelType::SetLocalEqnCount(n)
    ResetExpressions,
    // what the host records
    GroupLimits,  // ZR_ModelType::SetGroupLimits(n)
    NonZero,      // ZR_ModelType::AddNonZero(arg.p)
    Equation,     // ZR_ModelType::AddEquation(arg.p, count, group n); count runs on from JacPattern's
    Op,           // ZR_ModelExtensions::AddOp(code = pair[0], equation = n)
    TermReal,     // AddTerm(arg.real, equation = n)
    TermInt,      // AddTerm(pair[0], equation = n)
    Term,         // AddTerm(arg.p, rows, cols, equation = n)
};

struct HostCallRecord {
    HostCall call;
    std::int32_t n;
    const void* object;
    union Arg {
        const void* p;
        double real;
        std::int32_t pair[2];
    } arg;
};

// Hands every traced call to `sink` until StopTrace; one trace at a time.
using TraceSink = void (*)(void* context, const HostCallRecord& call);
QTVEXP_API void StartTrace(TraceSink sink, void* context);
QTVEXP_API void StopTrace();

// Traces into `into`.
inline void StartTrace(std::vector<HostCallRecord>* into) {
    StartTrace([](void* context, const HostCallRecord& call) {
        static_cast<std::vector<HostCallRecord>*>(context)->push_back(call);
    }, into);
}

}  // namespace qtvhost
