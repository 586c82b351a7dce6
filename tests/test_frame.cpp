// The type shape, told on the connection and control-signal models.
#include <set>
#include <tuple>

#include "connectivity/connections.h"
#include "frame/frame.h"
#include "library.h"

using namespace testing_support;
using qtvhost::BaseCall;

namespace {

struct Expected {
    const char* name;
    int direction;
    bool exported;
    int hostPortType;
};

void ExpectRegistrations(const ZR_ModelType& instance, std::initializer_list<Expected> expected) {
    ASSERT_EQ(instance.PropertyCount(), static_cast<int>(expected.size()));
    int i = 0;
    for (const Expected& e : expected) {
        const ZR_Container::Property& p = instance.PropertyAt(i++);
        SCOPED_TRACE(e.name);
        EXPECT_EQ(p.name, e.name);
        EXPECT_FALSE(p.hasDescription);
        EXPECT_EQ(p.direction, e.direction);
        EXPECT_FALSE(p.flag);
        EXPECT_EQ(p.via, 0);
        const auto* member = dynamic_cast<const ZR_Type*>(p.member);
        ASSERT_NE(member, nullptr);
        EXPECT_EQ(member->RegisteredIn(), &instance);
        EXPECT_EQ(member->IsToBeExported(), e.exported);
        EXPECT_EQ(member->GetHostPortType(), e.hostPortType);
    }
}

const char* const kTypes[] = {"GENERICCONNECTION", "CONNECTION", "GENERICCONTROLSIGNAL", "CONTROLSIGNAL"};

class Frame : public HostTest {};

}  // namespace

TEST_F(Frame, ConnectionModelsRegisterTheirEndsWithHostPortTypeFour) {
    for (const char* type : {"GENERICCONNECTION", "CONNECTION"}) {
        SCOPED_TRACE(type);
        auto c = Make(type);
        ExpectRegistrations(*c, {{"USERNOTES", 0, true, 0}, {"SOURCE", 4, true, 4}, {"DEST", 8, true, 4}});
        EXPECT_EQ(c->PropertyAt(1).member->ZR_KindName(), std::string("port"));
    }
}

TEST_F(Frame, ControlSignalsMarkTheirEndsNotToBeExported) {
    for (const char* type : {"GENERICCONTROLSIGNAL", "CONTROLSIGNAL"}) {
        SCOPED_TRACE(type);
        auto c = Make(type);
        ExpectRegistrations(*c, {{"USERNOTES", 0, true, 0}, {"SOURCE", 4, false, 0}, {"DEST", 8, false, 0}});
    }
}

TEST_F(Frame, RegistrationHappensOnceInMemberOrder) {
    auto c = Make("CONTROLSIGNAL");
    ASSERT_EQ(host.registrations.size(), 3u);
    EXPECT_EQ(host.registrations[0].name, "USERNOTES");
    EXPECT_EQ(host.registrations[1].name, "SOURCE");
    EXPECT_EQ(host.registrations[2].name, "DEST");
    for (const auto& r : host.registrations) EXPECT_EQ(r.owner, c.get());
}

TEST_F(Frame, FactoryGivesDistinctInstancesWithOneReferenceAndReturnsEveryBlock) {
    for (const char* type : kTypes) {
        SCOPED_TRACE(type);
        const auto before = host.Heap();
        ZR_ModelType* a = Library().Create(type);
        ZR_ModelType* b = Library().Create(type);
        EXPECT_NE(a, b);
        EXPECT_EQ(a->RefCount(), 1u);
        EXPECT_EQ(b->RefCount(), 1u);
        EXPECT_GT(host.Heap().liveBlocks, before.liveBlocks);
        a->AddRef();
        EXPECT_EQ(a->Release(), 1u);
        EXPECT_EQ(a->Release(), 0u);
        EXPECT_EQ(b->Release(), 0u);
        EXPECT_EQ(host.Heap().liveBlocks, before.liveBlocks);
        EXPECT_EQ(host.Heap().liveBytes, before.liveBytes);
    }
}

TEST_F(Frame, FactoryReturnsNullAndRegistersNothingWhenTheHeapFails) {
    using Factory = ZR_ModelType* (*)();
    for (const char* type : kTypes) {
        SCOPED_TRACE(type);
        auto factory = reinterpret_cast<Factory>(Library().Symbol(std::string(type) + "Factory"));
        ASSERT_NE(factory, nullptr);
        const auto before = host.Heap();
        host.FailAllocationsAfter(0);
        EXPECT_EQ(factory(), nullptr);
        host.FailAllocationsAfter(-1);
        EXPECT_TRUE(host.registrations.empty());
        EXPECT_EQ(host.Heap().liveBlocks, before.liveBlocks);
        EXPECT_EQ(host.Heap().refused, before.refused + 1);
    }
}

TEST_F(Frame, ContainerDerivesFromFollowsTheLibraryBaseChain) {
    auto conn = Make("CONNECTION");
    auto generic = Make("GENERICCONNECTION");
    auto signal = Make("CONTROLSIGNAL");
    auto genericSignal = Make("GENERICCONTROLSIGNAL");
    EXPECT_TRUE(conn->ContainerDerivesFrom("model connection\tv9"));
    EXPECT_TRUE(conn->ContainerDerivesFrom("Model CONNECTION\tV9"));
    EXPECT_TRUE(conn->ContainerDerivesFrom("MODEL GENERICCONNECTION\tV9"));
    EXPECT_FALSE(conn->ContainerDerivesFrom("Model CONNECTION"));
    EXPECT_FALSE(conn->ContainerDerivesFrom("Model CONNECTION\tV9 "));
    EXPECT_FALSE(conn->ContainerDerivesFrom("Model CONTROLSIGNAL\tV9"));
    EXPECT_FALSE(conn->ContainerDerivesFrom(""));
    EXPECT_FALSE(generic->ContainerDerivesFrom("Model CONNECTION\tV9"));
    EXPECT_TRUE(generic->ContainerDerivesFrom("model genericconnection\tV9"));
    EXPECT_TRUE(signal->ContainerDerivesFrom("Model CONTROLSIGNAL\tV9"));
    EXPECT_TRUE(signal->ContainerDerivesFrom("model genericcontrolsignal\tv9"));
    EXPECT_FALSE(signal->ContainerDerivesFrom("Model GENERICCONNECTION\tV9"));
    EXPECT_FALSE(genericSignal->ContainerDerivesFrom("Model CONTROLSIGNAL\tV9"));
    EXPECT_STREQ(conn->ZR_DefaultDESCRIPTION(), "Model CONNECTION\tV9");
    EXPECT_STREQ(genericSignal->ZR_DefaultDESCRIPTION(), "Model GENERICCONTROLSIGNAL\tV9");
    // The port ends answer their own ids only.
    auto* end = dynamic_cast<ZR_Container*>(generic->PropertyAt(1).member);
    ASSERT_NE(end, nullptr);
    EXPECT_TRUE(end->ContainerDerivesFrom("port connectionport\tv9"));
    EXPECT_FALSE(end->ContainerDerivesFrom("Port CONTROLPORT\tV9"));
}

TEST_F(Frame, ExecuteAssignmentsLowersTheLevelOncePerLibraryLevel) {
    auto conn = Make("CONNECTION");
    host.config.executeAssignmentsStatus = -77;
    EXPECT_EQ(conn->ExecuteAssignments(5, 7), -77);
    ASSERT_EQ(host.baseCalls.size(), 1u);
    EXPECT_EQ(host.baseCalls[0].kind, BaseCall::ExecuteAssignments);
    EXPECT_EQ(host.baseCalls[0].a, 3);
    EXPECT_EQ(host.baseCalls[0].b, 7);
    host.baseCalls.clear();
    auto generic = Make("GENERICCONTROLSIGNAL");
    host.config.executeAssignmentsStatus = 12345;
    EXPECT_EQ(generic->ExecuteAssignments(0, -1), 12345);
    ASSERT_EQ(host.baseCalls.size(), 1u);
    EXPECT_EQ(host.baseCalls[0].a, -1);
    EXPECT_EQ(host.baseCalls[0].b, -1);
}

TEST_F(Frame, SetUpEquationsPassesTheHostCountThroughEveryLevel) {
    auto inst = Make("CONTROLSIGNAL");
    auto* self = static_cast<ZR_CONTROLSIGNAL*>(inst.get());
    auto* base = static_cast<ZR_GENERICCONTROLSIGNAL*>(self);
    host.config.setUpEquationsResult = 5;
    host.config.localEqnCountOffset = 100;
    ZR_ModelType::m_stLastGroup = 41;
    self->Book.LocalEquationCount = 9;
    base->Book.LocalEquationCount = 9;
    EXPECT_EQ(inst->SetUpEquations(), 205);
    std::vector<int> counts;
    for (const auto& c : host.baseCalls)
        if (c.kind == BaseCall::SetLocalEqnCount) counts.push_back(c.a);
    EXPECT_EQ(counts, (std::vector<int>{5, 105}));
    EXPECT_EQ(self->Book.GroupNumber, 41);
    EXPECT_EQ(base->Book.GroupNumber, 41);
    EXPECT_EQ(self->Book.LocalEquationCount, 0);
    EXPECT_EQ(base->Book.LocalEquationCount, 0);
    EXPECT_TRUE(host.incidence.empty());
}

TEST_F(Frame, NegativeBaseCountIsReturnedWithTheWordsUntouched) {
    auto inst = Make("CONNECTION");
    auto* self = static_cast<ZR_CONNECTION*>(inst.get());
    auto* base = static_cast<ZR_GENERICCONNECTION*>(self);
    self->Book.GroupNumber = 7;
    self->Book.LocalEquationCount = 8;
    base->Book.GroupNumber = 9;
    host.config.setUpEquationsResult = -1;
    host.config.localEqnCountOffset = 1000;
    ZR_ModelType::m_stLastGroup = 99;
    EXPECT_EQ(inst->SetUpEquations(), -1);
    EXPECT_EQ(self->Book.GroupNumber, 7);
    EXPECT_EQ(self->Book.LocalEquationCount, 8);
    EXPECT_EQ(base->Book.GroupNumber, 9);
    for (const auto& c : host.baseCalls) EXPECT_NE(c.kind, BaseCall::SetLocalEqnCount);
}

TEST_F(Frame, JacPatternResetsEachLevelAndReturnsTheHostCount) {
    auto inst = Make("CONNECTION");
    auto* self = static_cast<ZR_CONNECTION*>(inst.get());
    auto* base = static_cast<ZR_GENERICCONNECTION*>(self);
    self->Book.PatternEntryCount = 5;
    base->Book.PatternEntryCount = 5;
    host.config.jacPatternResult = 314;
    int rowsArray[1] = {-9};
    int colsArray[1] = {-9};
    int* rows = rowsArray;
    int* cols = colsArray;
    EXPECT_EQ(inst->JacPattern(rows, cols, nullptr), 314);
    EXPECT_EQ(rows, rowsArray);
    EXPECT_EQ(cols, colsArray);
    EXPECT_EQ(rowsArray[0], -9);
    EXPECT_EQ(self->Book.PatternEntryCount, 0);
    EXPECT_EQ(base->Book.PatternEntryCount, 0);
    int resets = 0;
    for (const auto& c : host.baseCalls) resets += c.kind == BaseCall::ResetExpressions;
    EXPECT_EQ(resets, 2);
    EXPECT_TRUE(host.expressions.empty());
}

TEST_F(Frame, ResidualsAndJacobianReturnZeroAndWriteNothing) {
    host.config.residualsResult = 17;
    for (const char* type : kTypes) {
        auto inst = Make(type);
        double values[2] = {1.5, 2.5};
        EXPECT_EQ(inst->Residuals(values, 0, 2), 0);
        EXPECT_EQ(inst->Jacobian(values, 1, 1), 0);
        EXPECT_EQ(inst->Residuals(nullptr, -1, 99), 0);
        EXPECT_EQ(inst->Jacobian(nullptr, 0, 0), 0);
        EXPECT_EQ(values[0], 1.5);
        EXPECT_EQ(values[1], 2.5);
    }
}

TEST_F(Frame, SetDimsEndsInTheHostBaseOnce) {
    auto inst = Make("CONTROLSIGNAL");
    inst->SetDims();
    ASSERT_EQ(host.baseCalls.size(), 1u);
    EXPECT_EQ(host.baseCalls[0].kind, BaseCall::SetDims);
    EXPECT_EQ(host.baseCalls[0].object, inst.get());
}

TEST_F(Frame, PropertyInfoWordIsStableAndZero) {
    using Info = std::int32_t* (*)();
    std::set<const std::int32_t*> words;
    for (const char* type : kTypes) {
        auto info = reinterpret_cast<Info>(Library().Symbol(std::string(type) + "PropertyInfo"));
        ASSERT_NE(info, nullptr);
        std::int32_t* word = info();
        EXPECT_EQ(word, info());
        EXPECT_EQ(*word, 0);
        words.insert(word);
    }
    EXPECT_EQ(words.size(), std::size(kTypes));
}

TEST_F(Frame, DataRecordsHaveTheirShapes) {
    std::set<std::vector<std::int32_t>> distinct;
    for (const char* type : kTypes) {
        SCOPED_TRACE(type);
        const auto* compat = Data<std::int32_t>(std::string("_Compatibility") + type);
        ASSERT_NE(compat, nullptr);
        EXPECT_EQ(compat[0], 6);
        EXPECT_EQ(compat[1], 0);
        const auto* jac = Data<std::int32_t>(std::string("_JacData") + type);
        ASSERT_NE(jac, nullptr);
        EXPECT_EQ(jac[0], 22);
        for (int i = 1; i <= 22; ++i) EXPECT_TRUE(jac[i] >= -128 && jac[i] <= 127) << i;
        for (int i = 23; i < 55; ++i) EXPECT_TRUE(jac[i] >= 0 && jac[i] <= 255) << i;
        distinct.insert(std::vector<std::int32_t>(jac, jac + 55));
    }
    EXPECT_EQ(distinct.size(), std::size(kTypes));
}

TEST_F(Frame, AssignmentCopiesValuesButNotRegistrationOrReferences) {
    auto a = Make("GENERICCONNECTION");
    auto b = Make("GENERICCONNECTION");
    auto* x = static_cast<ZR_GENERICCONNECTION*>(a.get());
    auto* y = static_cast<ZR_GENERICCONNECTION*>(b.get());
    ASSERT_EQ(x->USERNOTES.SetUserValue(ZR_Value("notes", 0)), 0);
    x->Book.GroupNumber = 3;
    *y = *x;
    EXPECT_STREQ(static_cast<const char*>(y->USERNOTES), "notes");
    EXPECT_EQ(y->Book.GroupNumber, 3);
    EXPECT_EQ(y->RefCount(), 1u);
    EXPECT_EQ(y->USERNOTES.RegisteredIn(), y);
    EXPECT_EQ(y->PropertyCount(), 3);
}
