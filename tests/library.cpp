#include "library.h"

namespace testing_support {

qtvhost::ModelLibrary& Library() {
    static qtvhost::ModelLibrary library(ORVANE_LIBRARY_PATH);
    return library;
}

qtvhost::InstanceRef Make(const std::string& typeName) { return qtvhost::InstanceRef(Library().Create(typeName)); }

void HostTest::SetUp() {
    Library();
    host.Reset();
}

void HostTest::TearDown() {
    for (const std::string& e : host.errors) ADD_FAILURE() << "host error: " << e;
    host.Reset();
}

}  // namespace testing_support
