// For tests that link the library: the host's records fresh for every test, and
// every fault the host noticed reported at its end, unless the test took it back
// with ExpectErrors.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "qtvexp/recorder.h"

class LinkedTest : public ::testing::Test {
protected:
    void SetUp() override { host.Reset(); }
    void TearDown() override {
        for (const std::string& e : host.errors) ADD_FAILURE() << "host error: " << e;
        host.Reset();
    }
    // Takes back the errors the host recorded, which must be `count`, each
    // holding `part`.
    void ExpectErrors(std::size_t count, const std::string& part = "") {
        EXPECT_EQ(host.errors.size(), count);
        for (const std::string& e : host.errors) EXPECT_NE(e.find(part), std::string::npos) << e;
        host.errors.clear();
    }
    qtvhost::Host& host = qtvhost::Host::Get();
};
