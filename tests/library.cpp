#include "library.h"

#include <fstream>

namespace testing_support {

qtvhost::ModelLibrary& Library() {
    static qtvhost::ModelLibrary library(ORVANE_LIBRARY_PATH);
    return library;
}

qtvhost::InstanceRef Make(const std::string& typeName) { return qtvhost::InstanceRef(Library().Create(typeName)); }

const std::vector<std::string>& InstantiableTypes() {
    static const std::vector<std::string> types = [] {
        std::vector<std::string> names;
        std::ifstream list(ORVANE_TYPES_LIST);
        std::string line;
        while (std::getline(list, line)) {
            line = line.substr(0, line.find('#'));
            const auto first = line.find_first_not_of(" \t\r");
            if (first == std::string::npos) continue;
            names.push_back(line.substr(first, line.find_last_not_of(" \t\r") - first + 1));
        }
        return names;
    }();
    return types;
}

void HostTest::SetUp() {
    Library();
    host.Reset();
}

void HostTest::TearDown() {
    for (const std::string& e : host.errors) ADD_FAILURE() << "host error: " << e;
    host.Reset();
}

}  // namespace testing_support
