// What a type registered with the host, checked against a table: one row per
// property, in registration order.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qtvexp.h"

namespace testing_support {

struct Expected {
    const char* name;
    const char* what;  // a member container's type id, else the member's kind
    int direction;
    bool exported;
    int hostPortType;
    const char* description = nullptr;  // null: registered without one
    int via = 0;  // 0 ZR_Type, 1 ZR_ExternalBase, 2 ZR_VirtualBase
};

// The rows that recur across types.
inline Expected Notes() { return {"USERNOTES", "parameter", ZR_DIR_NONE, true, 0}; }
inline Expected ComponentList() { return {"COMPONENTLIST", "component list", ZR_DIR_NONE, true, 0}; }
inline Expected SignalPort(const char* name, int direction) {
    return {name, "Port CONTROLPORT\tV9", direction, false, 0};
}

// Every property of `registeredIn`, in registration order, each registered
// there and nowhere else.
inline void ExpectRegistrations(const ZR_Container& registeredIn, const std::vector<Expected>& expected) {
    ASSERT_EQ(registeredIn.PropertyCount(), static_cast<int>(expected.size()));
    int i = 0;
    for (const Expected& e : expected) {
        const ZR_Container::Property& p = registeredIn.PropertyAt(i++);
        SCOPED_TRACE(e.name);
        EXPECT_EQ(p.name, e.name);
        EXPECT_EQ(p.hasDescription, e.description != nullptr);
        EXPECT_EQ(p.description, e.description ? e.description : "");
        EXPECT_EQ(p.direction, e.direction);
        EXPECT_FALSE(p.flag);
        EXPECT_EQ(p.via, e.via);
        const ZR_Containable* member = p.member;
        ASSERT_NE(member, nullptr);
        const auto* container = dynamic_cast<const ZR_Container*>(member);
        EXPECT_EQ(std::string(container ? container->ZR_DefaultDESCRIPTION() : member->ZR_KindName()), e.what);
        EXPECT_EQ(member->RegisteredIn(), &registeredIn);
        // References are no host types: they have no export flag or port type.
        if (const auto* type = dynamic_cast<const ZR_Type*>(member)) {
            EXPECT_EQ(type->IsToBeExported(), e.exported);
            EXPECT_EQ(type->GetHostPortType(), e.hostPortType);
        }
    }
}

}  // namespace testing_support
