// libFuzzer target: hostile domain and distribution parameters (see check.h).
// A fault prints the input's fate and aborts, so that libFuzzer keeps the input.
#include <cstdio>
#include <cstdlib>

#include "check.h"

namespace {
const qtvhost::ModelLibrary& Library() {
    static const qtvhost::ModelLibrary library(ORVANE_LIBRARY_PATH);
    return library;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const orvane_fuzz::Outcome outcome = orvane_fuzz::Check(Library(), data, size);
    if (!outcome.faults.empty()) {
        std::fprintf(stderr, "%s\n", orvane_fuzz::Describe(outcome).c_str());
        std::abort();
    }
    return 0;
}
