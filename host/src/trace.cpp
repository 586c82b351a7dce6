#include "trace_hook.h"

#include "qtvexp/recorder.h"

namespace qtvhost {

TraceSink g_traceSink = nullptr;
void* g_traceContext = nullptr;
int g_traceDepth = 0;

void TraceEnter(const HostCallRecord& record) {
    if (g_traceDepth++ == 0) g_traceSink(g_traceContext, record);
}

void StartTrace(TraceSink sink, void* context) {
    if (g_traceSink != nullptr) Host::Get().Error("a host-call trace was started while another runs");
    g_traceSink = sink;
    g_traceContext = context;
    g_traceDepth = 0;
}

void StopTrace() {
    g_traceSink = nullptr;
    g_traceContext = nullptr;
}

}  // namespace qtvhost
