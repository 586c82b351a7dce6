// The model library as the tests reach it: loaded by file name, entry points
// looked up by name, the host's records fresh for every test.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "session.h"

namespace testing_support {

qtvhost::ModelLibrary& Library();

// A new instance of TYPE through its factory, released at the end of the scope.
qtvhost::InstanceRef Make(const std::string& typeName);

// The instantiable types as the export list names them.
const std::vector<std::string>& InstantiableTypes();

template <class T>
const T* Data(const std::string& name) {
    return static_cast<const T*>(Library().Symbol(name));
}

// Resets the host's records and configuration before each test and checks after
// it that the host noticed no fault.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    qtvhost::Host& host = qtvhost::Host::Get();
};

}  // namespace testing_support
