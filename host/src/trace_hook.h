// The hook by which the host's entry points trace themselves. While no trace
// runs, a traced entry point pays one test; calls that a traced call makes
// inside the host are not traced again.
#pragma once
#include "qtvexp/trace.h"

namespace qtvhost {

extern TraceSink g_traceSink;
extern void* g_traceContext;
extern int g_traceDepth;

void TraceEnter(const HostCallRecord& record);

class TraceScope {
public:
    TraceScope(HostCall call, const void* object) : TraceScope(call, object, 0, nullptr) {}
    TraceScope(HostCall call, const void* object, int n) : TraceScope(call, object, n, nullptr) {}
    TraceScope(HostCall call, const void* object, int n, const void* p) : m_on(g_traceSink != nullptr) {
        if (m_on) {
            HostCallRecord r{call, n, object, {}};
            r.arg.p = p;
            TraceEnter(r);
        }
    }
    TraceScope(HostCall call, const void* object, int n, double real) : m_on(g_traceSink != nullptr) {
        if (m_on) {
            HostCallRecord r{call, n, object, {}};
            r.arg.real = real;
            TraceEnter(r);
        }
    }
    TraceScope(HostCall call, const void* object, int n, int first, int second) : m_on(g_traceSink != nullptr) {
        if (m_on) {
            HostCallRecord r{call, n, object, {}};
            r.arg.pair[0] = first;
            r.arg.pair[1] = second;
            TraceEnter(r);
        }
    }
    ~TraceScope() {
        if (m_on) --g_traceDepth;
    }
    TraceScope(const TraceScope&) = delete;
    TraceScope& operator=(const TraceScope&) = delete;

private:
    const bool m_on;
};

// For every other entry point: when a trace runs and this is no call from inside
// the host, the call is traced and made again inside the trace, out of line, so
// that the entry point's own path keeps no state across its body (the hot
// look-ups stay leaves).
template <class Again, class... Args>
[[gnu::noinline, gnu::cold]] auto TracedCall(Again again, HostCall call, const void* object, Args... args)
    -> decltype(again()) {
    const TraceScope scope(call, object, args...);
    return again();
}

}  // namespace qtvhost

// For constructors and destructors: traced for the rest of the scope.
#define QTV_TRACED(...) const qtvhost::TraceScope qtvTraced_(__VA_ARGS__)

#define QTV_TRACED_CALL(again, ...)                                                                  \
    do {                                                                                             \
        if (__builtin_expect(qtvhost::g_traceSink != nullptr && qtvhost::g_traceDepth == 0, 0))     \
            return qtvhost::TracedCall([&]() -> decltype(auto) { return again; }, __VA_ARGS__);      \
    } while (false)
