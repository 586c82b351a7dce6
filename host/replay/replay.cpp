#include "replay.h"

#include <new>

#include "qtvexp.h"

namespace qtvhost {

namespace {

template <class T>
T* At(const void* object) {
    return static_cast<T*>(const_cast<void*>(object));
}

}  // namespace

int HostCallReplay::Slots::Find(const void* address) const {
    for (std::size_t i = 0; i < m_at.size(); ++i)
        if (m_at[i] == address) return static_cast<int>(i);
    return -1;
}

int HostCallReplay::Slots::Take(const void* address) {
    const int free = Find(nullptr);
    if (free >= 0) {
        m_at[static_cast<std::size_t>(free)] = address;
        return free;
    }
    m_at.push_back(address);
    return Count() - 1;
}

bool HostCallReplay::Slots::AnyAlive() const {
    for (const void* a : m_at)
        if (a != nullptr) return true;
    return false;
}

HostCallReplay::HostCallReplay(const std::vector<HostCallRecord>& trace) {
    m_steps.reserve(trace.size());
    for (const HostCallRecord& call : trace) Take(call);
}

bool HostCallReplay::Compile(const HostCallRecord& r, Step& s) {
    if (!m_error.empty()) return false;
    s = Step{r.call, 0, 0, r.n, r.object, r.arg};
    auto local = [&](Slots& slots, const void* address) {
        const int k = slots.Find(address);
        if (k < 0) return false;
        s.slot = static_cast<std::int16_t>(k);
        s.local |= kObjectLocal;
        s.object = nullptr;
        return true;
    };
    // A set value given as the argument, when it is one of the caller's own.
    auto argument = [&] {
        const int set = m_sets.Find(r.arg.p);
        if (set < 0) return;
        s.n = set;
        s.local |= kArgLocal;
        s.arg.p = nullptr;
    };
    auto build = [&](Slots& slots) {
        s.slot = static_cast<std::int16_t>(slots.Take(r.object));
        s.local |= kObjectLocal;
        s.object = nullptr;
    };
    switch (r.call) {
    case HostCall::Range:
    case HostCall::NoSet: build(m_sets); break;
    case HostCall::SetAdd:
    case HostCall::Holds:
    case HostCall::Contains:
    case HostCall::Size: local(m_sets, r.object); break;
    case HostCall::Union:
        if (!local(m_sets, r.object)) {
            m_error = "the trace unites into a set value that it did not build";
            return false;
        }
        argument();
        break;
    case HostCall::SetCopy:
        argument();
        build(m_sets);
        break;
    case HostCall::Iter:
        argument();
        build(m_iterators);
        break;
    case HostCall::Next:
    case HostCall::IterV:
    case HostCall::IterFv: local(m_iterators, r.object); break;
    case HostCall::SetEnd:
    case HostCall::IterEnd: {
        Slots& slots = r.call == HostCall::SetEnd ? m_sets : m_iterators;
        if (!local(slots, r.object)) {
            m_error = "the trace destroys a set value or iterator that it did not build";
            return false;
        }
        slots.Free(s.slot);
        break;
    }
    default: break;
    }
    if (m_sets.Count() > INT16_MAX || m_iterators.Count() > INT16_MAX) {
        m_error = "the trace holds more set values or iterators at once than a replay keeps";
        return false;
    }
    return true;
}

void HostCallReplay::Take(const HostCallRecord& call) {
    Step step;
    if (Compile(call, step)) m_steps.push_back(step);
}

void HostCallReplay::Sink(void* replay, const HostCallRecord& call) { static_cast<HostCallReplay*>(replay)->Take(call); }

std::string HostCallReplay::Error() const {
    if (!m_error.empty()) return m_error;
    // Given again, such an object would be built and never destroyed.
    if (m_sets.AnyAlive() || m_iterators.AnyAlive())
        return "the trace ends while set values or iterators that it built are alive";
    return "";
}

void HostCallReplay::Run(int*& rows, int*& cols) {
    if (!Error().empty()) return;
    auto room = [](int count, std::size_t size) {
        return (static_cast<std::size_t>(count) * size + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t);
    };
    static_assert(alignof(ZR_IntSetValue) <= alignof(std::max_align_t), "set values fit the store");
    static_assert(alignof(ZR_IntegerSetIter) <= alignof(std::max_align_t), "iterators fit the store");
    m_setStore.resize(room(m_sets.Count(), sizeof(ZR_IntSetValue)));
    m_iterStore.resize(room(m_iterators.Count(), sizeof(ZR_IntegerSetIter)));
    auto* const sets = reinterpret_cast<ZR_IntSetValue*>(m_setStore.data());
    auto* const iterators = reinterpret_cast<ZR_IntegerSetIter*>(m_iterStore.data());
    auto set = [&](const Step& s) -> SUValue& { return s.local & kObjectLocal ? sets[s.slot] : *At<SUValue>(s.object); };
    // The set value given as argument: an integer set for an iterator, any set value
    // for a copy or a union.
    auto argument = [&](const Step& s) -> const ZR_IntSetValue& {
        return s.local & kArgLocal ? sets[s.n] : *At<const ZR_IntSetValue>(s.arg.p);
    };
    auto value = [&](const Step& s) -> const ZR_SetValue& {
        return s.local & kArgLocal ? sets[s.n] : *At<const ZR_SetValue>(s.arg.p);
    };
    auto iterator = [&](const Step& s) -> ZR_IntegerSetIter& {
        return s.local & kObjectLocal ? iterators[s.slot] : *At<ZR_IntegerSetIter>(s.object);
    };
    int count = 0;
    for (const Step& s : m_steps) {
        switch (s.call) {
        case HostCall::Find: At<ZR_BASE_I>(s.object)->Find(s.n); break;
        case HostCall::VirtualLink: At<ZR_VirtualBase>(s.object)->VirtualLink(); break;
        case HostCall::ExternalLink: At<ZR_ExternalBase>(s.object)->ExternalLink(); break;
        case HostCall::Linked: At<ZR_ExternalBase>(s.object)->Linked(); break;
        case HostCall::Range: new (&sets[s.slot]) ZR_IntSetValue(s.arg.pair[0], s.arg.pair[1]); break;
        case HostCall::NoSet: new (&sets[s.slot]) ZR_IntSetValue(static_cast<const char*>(s.arg.p)); break;
        case HostCall::SetAdd: set(s) += s.n; break;
        case HostCall::Union: set(s) += value(s); break;
        case HostCall::SetCopy: new (&sets[s.slot]) ZR_IntSetValue(value(s)); break;
        case HostCall::Contains: {
            int pos;
            set(s).SetContains(s.n, pos);
            break;
        }
        case HostCall::Size: set(s).SetSize(); break;
        case HostCall::Slots: At<const ZR_LongPtrVectorOwnsData>(s.object)->Elements(); break;
        case HostCall::Slot: (*At<const ZR_LongPtrVectorOwnsData>(s.object))[s.n]; break;
        case HostCall::SetEnd: sets[s.slot].~ZR_IntSetValue(); break;
        case HostCall::Iter: new (&iterators[s.slot]) ZR_IntegerSetIter(argument(s)); break;
        case HostCall::IterEnd: iterators[s.slot].~ZR_IntegerSetIter(); break;
        case HostCall::Next: iterator(s).Next(); break;
        case HostCall::IterV: iterator(s).v(); break;
        case HostCall::IterFv: iterator(s).fv(); break;
        case HostCall::IntV: At<ZR_INTEGERPARAMETER>(s.object)->v(); break;
        case HostCall::IntFv: At<const ZR_INTEGERPARAMETER>(s.object)->fv(); break;
        case HostCall::RealV: At<ZR_REALPARAMETER>(s.object)->v(); break;
        case HostCall::RealFv: At<const ZR_REALPARAMETER>(s.object)->fv(); break;
        case HostCall::Text: static_cast<const char*>(*At<const ZR_STRINGPARAMETER>(s.object)); break;
        case HostCall::SetV: At<ZR_Set>(s.object)->v(); break;
        case HostCall::SetFv: At<const ZR_Set>(s.object)->fv(); break;
        case HostCall::CompareCI:
            SUValue::CompareCI(static_cast<const char*>(s.object), static_cast<const char*>(s.arg.p));
            break;
        case HostCall::Holds: set(s) >= static_cast<const char*>(s.arg.p); break;
        case HostCall::SetUpEquations: At<ZR_ModelType>(s.object)->ZR_ModelType::SetUpEquations(); break;
        case HostCall::JacPattern:
            count = At<ZR_ModelType>(s.object)->ZR_ModelType::JacPattern(
                rows, cols, At<ZR_EquationType*>(s.arg.p));
            break;
        case HostCall::LocalEqnCount: At<ZR_ModelType>(s.object)->ZR_ModelType::SetLocalEqnCount(s.n); break;
        case HostCall::ResetExpressions: At<ZR_ModelExtensions>(s.object)->ResetExpressions(); break;
        case HostCall::GroupLimits: At<ZR_ModelType>(s.object)->SetGroupLimits(s.n); break;
        case HostCall::NonZero: At<ZR_ModelType>(s.object)->AddNonZero(*At<ZR_VarParam>(s.arg.p)); break;
        case HostCall::Equation:
            At<ZR_ModelType>(s.object)->AddEquation(static_cast<const char*>(s.arg.p), count, s.n);
            break;
        case HostCall::Op: At<ZR_ModelExtensions>(s.object)->AddOp(static_cast<EOp>(s.arg.pair[0]), s.n); break;
        case HostCall::TermReal: At<ZR_ModelExtensions>(s.object)->AddTerm(s.arg.real, s.n); break;
        case HostCall::TermInt: At<ZR_ModelExtensions>(s.object)->AddTerm(s.arg.pair[0], s.n); break;
        case HostCall::Term:
            At<ZR_ModelExtensions>(s.object)->AddTerm(*At<ZR_VarParam>(s.arg.p), rows, cols, s.n);
            break;
        }
    }
}

bool HostCallReplay::Equal(const Step& a, const Step& b) {
    if (a.call != b.call || a.local != b.local || a.slot != b.slot || a.n != b.n || a.object != b.object) return false;
    switch (a.call) {
    case HostCall::TermReal: return a.arg.real == b.arg.real || (a.arg.real != a.arg.real && b.arg.real != b.arg.real);
    case HostCall::Range:
    case HostCall::Op:
    case HostCall::TermInt: return a.arg.pair[0] == b.arg.pair[0] && a.arg.pair[1] == b.arg.pair[1];
    default: return a.arg.p == b.arg.p;
    }
}

std::string HostCallReplay::Describe(const Step& s) {
    return "call " + std::to_string(static_cast<int>(s.call)) + " (n " + std::to_string(s.n) + ", slot " +
           std::to_string(s.slot) + ")";
}

void HostCallCheck::Sink(void* check, const HostCallRecord& call) {
    auto& c = *static_cast<HostCallCheck*>(check);
    HostCallReplay::Step step;
    if (!c.m_difference.empty() || !c.m_seen.Compile(call, step)) return;
    const std::vector<HostCallReplay::Step>& expected = c.m_expected.m_steps;
    if (c.m_next >= expected.size()) {
        c.m_difference =
            "a call beyond the " + std::to_string(expected.size()) + " expected: " + HostCallReplay::Describe(step);
    } else if (!HostCallReplay::Equal(step, expected[c.m_next])) {
        c.m_difference = "call " + std::to_string(c.m_next) + " differs: " + HostCallReplay::Describe(step) + " where " +
                         HostCallReplay::Describe(expected[c.m_next]) + " was expected";
    }
    ++c.m_next;
}

bool HostCallCheck::Matched(std::string* why) const {
    std::string difference = m_difference;
    if (difference.empty()) difference = m_seen.Error();
    if (difference.empty() && m_next != m_expected.m_steps.size())
        difference = std::to_string(m_next) + " calls where " + std::to_string(m_expected.m_steps.size()) +
                     " were expected";
    if (why != nullptr) *why = difference;
    return difference.empty();
}

}  // namespace qtvhost
