// Replays inputs through the fuzzer's checks without libFuzzer: every file named,
// and every file in every directory named. An input may also state its fate in a
// line "# expect: <fate>" (declared, did not settle, refused by the library).
// Exits non-zero when any input fails.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "check.h"

namespace fs = std::filesystem;

namespace {
std::string Expected(const std::string& data) {
    const std::string mark = "# expect: ";
    const std::size_t at = data.find(mark);
    if (at == std::string::npos || (at != 0 && data[at - 1] != '\n')) return "";
    const std::size_t end = data.find_first_of("\r\n", at);
    return data.substr(at + mark.size(), end == std::string::npos ? std::string::npos : end - at - mark.size());
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: " << argv[0] << " [-v] FILE|DIRECTORY...\n";
        return 2;
    }
    std::vector<fs::path> inputs;
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "-v") {
            verbose = true;  // also what the host reported
            continue;
        }
        const fs::path arg(argv[i]);
        if (fs::is_directory(arg)) {
            for (const auto& entry : fs::directory_iterator(arg))
                if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
                    inputs.push_back(entry.path());
        } else {
            inputs.push_back(arg);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    const qtvhost::ModelLibrary library(ORVANE_LIBRARY_PATH);
    int failed = 0;
    for (const fs::path& path : inputs) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            std::cout << path.string() << ": cannot be read\n";
            ++failed;
            continue;
        }
        const std::string data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const orvane_fuzz::Outcome outcome =
            orvane_fuzz::Check(library, reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
        const std::string fate = orvane_fuzz::Describe(outcome, verbose);
        std::cout << path.filename().string() << ": " << fate << "\n";
        const std::string expect = Expected(data);
        const bool asExpected = expect.empty() || fate.compare(0, expect.size() + 1, expect + ",") == 0;
        if (!asExpected) std::cout << "  expected: " << expect << "\n";
        if (!outcome.faults.empty() || !asExpected) ++failed;
    }
    std::cout << inputs.size() - failed << " passed, " << failed << " failed\n";
    return failed == 0 && !inputs.empty() ? 0 : 1;
}
