// The hook by which the host's entry points trace themselves. A traced entry
// point opens a TraceScope first: while no trace runs that costs one test, and
// calls that a traced call makes inside the host are not traced again.
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

}  // namespace qtvhost

#define QTV_TRACED(...) const qtvhost::TraceScope qtvTraced_(__VA_ARGS__)
