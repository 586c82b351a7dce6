// The library's exported classes and functions used directly, as a host or another
// model library that links against it does.
#include <gtest/gtest.h>

#include "connectivity/connections.h"
#include "frame/frame.h"
#include "qtvexp/recorder.h"

namespace {

class Linked : public ::testing::Test {
protected:
    void SetUp() override { host.Reset(); }
    void TearDown() override {
        for (const std::string& e : host.errors) ADD_FAILURE() << "host error: " << e;
        host.Reset();
    }
    qtvhost::Host& host = qtvhost::Host::Get();
};

}  // namespace

TEST_F(Linked, SetContainsStringIsExactlyOneOrZero) {
    ZR_StrSetValue integrals("idx\"idy\"");
    EXPECT_EQ(SetContainsString("idx", integrals), 1);
    EXPECT_EQ(SetContainsString("idz", integrals), 0);
    EXPECT_EQ(SetContainsString("IDX", integrals), 0);
    EXPECT_EQ(SetContainsString(nullptr, integrals), 0);
    EXPECT_EQ(SetContainsString("idx", ZR_IntSetValue(0, 3)), 0);
    EXPECT_EQ(2 * SetContainsString("idy", integrals) - 1, 1);
    EXPECT_EQ(2 * SetContainsString("none", integrals) - 1, -1);
}

TEST_F(Linked, ATypeBuiltWithAnOwnerRegistersEveryLevelWithThatOwner) {
    ZR_CONNECTION owner;
    ZR_CONTROLSIGNAL signal(true, &owner);
    ASSERT_EQ(owner.PropertyCount(), 3 + 3);
    EXPECT_EQ(signal.PropertyCount(), 0);
    EXPECT_EQ(owner.PropertyAt(3).member, &signal.USERNOTES);
    EXPECT_EQ(signal.Book.OwnerContainer, &owner);
    EXPECT_EQ(static_cast<ZR_GENERICCONTROLSIGNAL&>(signal).Book.OwnerContainer, &owner);
}

TEST_F(Linked, BuiltWithTheFlagClearNothingIsRegisteredUntilConstruct) {
    ZR_CONNECTION conn(false, nullptr);
    EXPECT_EQ(conn.PropertyCount(), 0);
    EXPECT_TRUE(host.registrations.empty());
    conn.Construct();
    ASSERT_EQ(conn.PropertyCount(), 3);
    EXPECT_EQ(conn.PropertyAt(2).name, "DEST");
}

TEST_F(Linked, DefaultConstructionSetsTheFlagAndNoOwner) {
    ZR_GENERICCONTROLSIGNAL signal;
    EXPECT_EQ(signal.PropertyCount(), 3);
    EXPECT_EQ(signal.Book.OwnerContainer, nullptr);
    EXPECT_EQ(&*signal, &signal);
}

TEST_F(Linked, MembersGoingFirstLeaveNoDanglingPropertyBehind) {
    ZR_CONNECTION owner;
    {
        ZR_CONTROLSIGNAL signal(true, &owner);
        EXPECT_EQ(owner.PropertyCount(), 6);
    }
    EXPECT_EQ(owner.PropertyCount(), 3);
}
