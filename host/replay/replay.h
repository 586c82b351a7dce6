// Gives a traced sequence of host calls again, straight into the host, with no
// model library in between: the floor that a library's own work sits on.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "qtvexp/trace.h"

namespace qtvhost {

class HostCallReplay {
public:
    HostCallReplay() = default;
    explicit HostCallReplay(const std::vector<HostCallRecord>& trace);

    // Takes the next call of a trace. The set values and iterators that the
    // traced caller built and destroyed are built and destroyed again in the
    // replay's own storage; every other object named must still be alive when
    // Run runs.
    void Take(const HostCallRecord& call);
    // A trace sink (StartTrace) that takes into the HostCallReplay given as context.
    static void Sink(void* replay, const HostCallRecord& call);

    // Why the calls taken cannot be given again; empty when they can.
    std::string Error() const;

    // Gives every call again, in order. AddTerm and JacPattern take the pattern
    // cursors given; AddEquation counts on from what JacPattern returned.
    void Run(int*& rows, int*& cols);

    std::size_t Size() const { return m_steps.size(); }
    std::size_t Bytes() const { return m_steps.size() * sizeof(Step); }

private:
    struct Step {
        HostCall call;
        std::uint8_t local;  // kObjectLocal: `slot` names the object; kArgLocal: `n` names the set
        std::int16_t slot;
        std::int32_t n;
        const void* object;
        HostCallRecord::Arg arg;
    };
    static constexpr std::uint8_t kObjectLocal = 1;
    static constexpr std::uint8_t kArgLocal = 2;

    // Live objects of the traced caller by slot; a slot is free again once its
    // object is destroyed, so the slots in use stay as few as the objects alive.
    class Slots {
    public:
        int Find(const void* address) const;
        int Take(const void* address);
        void Free(int slot) { m_at[static_cast<std::size_t>(slot)] = nullptr; }
        int Count() const { return static_cast<int>(m_at.size()); }
        bool AnyAlive() const;

    private:
        std::vector<const void*> m_at;
    };

    // The step for a call, or false when the call cannot be given again.
    bool Compile(const HostCallRecord& call, Step& step);
    static bool Equal(const Step& a, const Step& b);
    static std::string Describe(const Step& s);

    friend class HostCallCheck;

    std::vector<Step> m_steps;
    std::string m_error;
    Slots m_sets, m_iterators;
    std::vector<std::max_align_t> m_setStore;   // room for the set values
    std::vector<std::max_align_t> m_iterStore;  // and the iterators
};

// Compares a trace, call by call as it is taken, with the calls of a replay:
// set values and iterators are matched by the order in which their callers
// built them, every other argument must be the same.
class HostCallCheck {
public:
    explicit HostCallCheck(const HostCallReplay& expected) : m_expected(expected) {}
    static void Sink(void* check, const HostCallRecord& call);
    // Whether every call matched and none was missing; `why` tells the first difference.
    bool Matched(std::string* why) const;

private:
    const HostCallReplay& m_expected;
    HostCallReplay m_seen;  // compiles, keeps nothing
    std::size_t m_next = 0;
    std::string m_difference;
};

}  // namespace qtvhost
