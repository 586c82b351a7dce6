// The library's exported classes and functions used directly, as a host or another
// model library that links against it does.
#include <gtest/gtest.h>

#include "linked_fixture.h"

#include "connectivity/connections.h"
#include "connectivity/generic.h"
#include "distributions/one/distribution1d.h"
#include "distributions/three/distribution3d.h"
#include "distributions/two/distribution2d.h"
#include "frame/frame.h"
#include "qtvexp/recorder.h"
#include "registrations.h"

using testing_support::ComponentList;
using testing_support::ExpectRegistrations;

namespace {

class Linked : public LinkedTest {};

}  // namespace

TEST_F(Linked, SetContainsStringIsExactlyOneOrZero) {
    ZR_StrSetValue integrals("idx\"idy\"");
    EXPECT_EQ(SetContainsString("idx", integrals), 1);
    EXPECT_EQ(SetContainsString("idz", integrals), 0);
    EXPECT_EQ(SetContainsString("IDX", integrals), 0);
    EXPECT_EQ(SetContainsString(nullptr, integrals), 0);
    EXPECT_EQ(SetContainsString("idx", ZR_IntSetValue(0, 3)), 0);
}

// Built with an owner, every level registers with the owner, and the members
// take their properties with them when they go first.
TEST_F(Linked, ATypeBuiltWithAnOwnerRegistersEveryLevelWithThatOwner) {
    ZR_CONNECTION owner;
    {
        ZR_CONTROLSIGNAL signal(true, &owner);
        ASSERT_EQ(owner.PropertyCount(), 3 + 3);
        EXPECT_EQ(signal.PropertyCount(), 0);
        EXPECT_EQ(owner.PropertyAt(3).member, &signal.USERNOTES);
        EXPECT_EQ(signal.Book.OwnerContainer, &owner);
        EXPECT_EQ(static_cast<ZR_GENERICCONTROLSIGNAL&>(signal).Book.OwnerContainer, &owner);
        ZR_GENERICPORT port(true, &owner);
        EXPECT_EQ(port.PropertyCount(), 0);
        ASSERT_EQ(owner.PropertyCount(), 6 + 3);
        EXPECT_EQ(owner.PropertyAt(6).member, &port.ISCONNECTED);
        EXPECT_EQ(owner.PropertyAt(8).member, &port.COMPONENTLIST);
    }
    EXPECT_EQ(owner.PropertyCount(), 3);
}

// Built with the flag clear nothing is registered until Construct; by default
// the flag is set and there is no owner.
TEST_F(Linked, BuiltWithTheFlagClearNothingIsRegisteredUntilConstruct) {
    ZR_CONNECTION conn(false, nullptr);
    ZR_GENERICMODEL model(false, nullptr);
    EXPECT_EQ(conn.PropertyCount(), 0);
    EXPECT_EQ(model.PropertyCount(), 0);
    EXPECT_TRUE(host.registrations.empty());
    conn.Construct();
    model.Construct();
    ASSERT_EQ(conn.PropertyCount(), 3);
    EXPECT_EQ(conn.PropertyAt(2).name, "DEST");
    ASSERT_EQ(model.PropertyCount(), 4);
    EXPECT_FALSE(model.INPUTSIGNAL.IsToBeExported());
    EXPECT_EQ(model.ComponentList(), &model.COMPONENTLIST);
    ZR_GENERICCONTROLSIGNAL signal;
    EXPECT_EQ(signal.PropertyCount(), 3);
    EXPECT_EQ(signal.Book.OwnerContainer, nullptr);
    EXPECT_EQ(&*signal, &signal);
}

// The generic port's state and list, answered through the host port interface;
// the control and connection ports keep the host's answers (the frame tests).
TEST_F(Linked, GenericPortRegistersItsStateAndListAndAnswersWithThem) {
    ZR_GENERICPORT port;
    ExpectRegistrations(port, {{"ISCONNECTED", "parameter", ZR_DIR_NONE, true, 0},
                               {"ISLINKED", "parameter", ZR_DIR_NONE, true, 0},
                               ComponentList()});
    EXPECT_FALSE(port.ISCONNECTED.fv());
    EXPECT_FALSE(port.ISLINKED.fv());
    EXPECT_STREQ(port.ZR_DefaultDESCRIPTION(), "Port GENERICPORT\tV9");
    ZR_PortType& asPort = port;
    EXPECT_EQ(asPort.IsConnected(), &port.ISCONNECTED);
    EXPECT_EQ(asPort.ComponentList(), &port.COMPONENTLIST);
    EXPECT_TRUE(asPort.ContainerDerivesFrom("port genericport\tv9"));
    EXPECT_FALSE(asPort.ContainerDerivesFrom("Port CONTROLPORT\tV9"));
    EXPECT_FALSE(asPort.ContainerDerivesFrom("Port GENERICPORT"));
}

// A structure reference takes only its structure type, and builds a dummy of it.
TEST_F(Linked, DummyStructureIsBuiltRegisteredAndReturnedToTheHeap) {
    const auto before = host.Heap();
    {
        ZR_GLOBALSTRUCTUREREFNAME<ZR_GENERICSTRUCTURE> ref;
        ZR_GENERICSTRUCTURE structure;
        ZR_GENERICMODEL model;
        ZR_GENERICSTREAM stream;
        EXPECT_TRUE(ref.CheckCompatibleStructureType(&structure));
        EXPECT_FALSE(ref.CheckCompatibleStructureType(&model));
        EXPECT_FALSE(ref.CheckCompatibleStructureType(&stream));
        EXPECT_FALSE(ref.CheckCompatibleStructureType(nullptr));
        ZR_ModelType* dummy = ref.CreateDummyInstance();
        ASSERT_NE(dummy, nullptr);
        EXPECT_EQ(dummy->RefCount(), 0u);
        ExpectRegistrations(*dummy, {testing_support::Notes(), ComponentList()});
        delete dummy;
        host.FailAllocationsAfter(0);
        EXPECT_EQ(ref.CreateDummyInstance(), nullptr);
        host.FailAllocationsAfter(-1);
    }
    EXPECT_EQ(host.Heap().liveBlocks, before.liveBlocks);
    EXPECT_EQ(host.Heap().liveBytes, before.liveBytes);
}

TEST_F(Linked, DereferenceGivesTheNamedGlobalStructureOrOneKeptDummy) {
    const auto before = host.Heap();
    {
        ZR_GLOBALSTRUCTUREREFNAME<ZR_GENERICSTRUCTURE> ref;
        ZR_GENERICSTRUCTURE& dummy = ref;
        EXPECT_EQ(&*ref, &dummy);
        EXPECT_EQ(dummy.PropertyCount(), 2);

        auto* global = new ZR_GENERICSTRUCTURE(true, nullptr);
        host.AddGlobalStructure("Plant", global);
        EXPECT_EQ(&*ref, &dummy);  // not named yet
        ASSERT_EQ(ref.SetUserValue(ZR_Value("plant", 0)), 0);
        EXPECT_EQ(&*ref, global);
        EXPECT_EQ(&static_cast<ZR_GENERICSTRUCTURE&>(ref), global);

        // A global structure of another type is refused, and the dummy answers.
        host.AddGlobalStructure("Unit", new ZR_GENERICMODEL(true, nullptr));
        ASSERT_EQ(ref.SetUserValue(ZR_Value("Unit", 0)), 0);
        EXPECT_EQ(&*ref, &dummy);
        EXPECT_EQ(host.errors.size(), 1u);
        host.errors.clear();

        // A copy shares the dummy and the name.
        ZR_GLOBALSTRUCTUREREFNAME<ZR_GENERICSTRUCTURE> other;
        other = ref;
        EXPECT_STREQ(static_cast<const char*>(other), "Unit");
        host.errors.clear();
        host.Reset();
        EXPECT_EQ(&*other, &dummy);
    }
    EXPECT_EQ(host.Heap().liveBlocks, before.liveBlocks);
}

// A host copying one instance onto another, through the exported assignment: the
// values and the words come over, the registrations and the count stay.
TEST_F(Linked, AssignmentCopiesValuesButNotRegistrationOrReferences) {
    ZR_GENERICCONNECTION x;
    ZR_GENERICCONNECTION y;
    y.AddRef();
    ASSERT_EQ(x.USERNOTES.SetUserValue(ZR_Value("notes", 0)), 0);
    x.Book.GroupNumber = 3;
    y = x;
    EXPECT_STREQ(static_cast<const char*>(y.USERNOTES), "notes");
    EXPECT_EQ(y.Book.GroupNumber, 3);
    EXPECT_EQ(y.RefCount(), 1u);
    EXPECT_EQ(x.RefCount(), 0u);
    EXPECT_EQ(y.USERNOTES.RegisteredIn(), &y);
    EXPECT_EQ(y.PropertyCount(), 3);
}

// A host or model library that holds a distribution by value calls its
// operations directly: each of them, with the walk under it, is exported.
TEST_F(Linked, DistributionsHeldByValueDeclareThroughTheirOwnOperations) {
    ZR_DOMAIN x, y, z;
    ZR_DISTRIBUTION1D one;
    ZR_DISTRIBUTION2D two;
    ZR_DISTRIBUTION3D three;
    ASSERT_TRUE(one.XDOMAIN.Link(&x) && two.XDOMAIN.Link(&x) && two.YDOMAIN.Link(&y));
    ASSERT_TRUE(three.XDOMAIN.Link(&x) && three.YDOMAIN.Link(&y) && three.ZDOMAIN.Link(&z));
    for (ZR_DOMAIN* d : {&x, &y, &z}) {
        for (int run = 0; run < 3; ++run) {
            d->SetDims();
            d->ExecuteAssignments(1, 0);
        }
    }
    auto declare = [&](auto& distribution) {
        for (int run = 0; run < 3; ++run) {
            distribution.SetDims();
            distribution.ExecuteAssignments(1, 0);
        }
        const int count = distribution.SetUpEquations();
        std::vector<int> rows(host.incidenceTerms.size()), cols(rows.size());
        int* r = rows.data();
        int* c = cols.data();
        host.SetPatternLimit(r + rows.size(), c + cols.size());
        EXPECT_EQ(distribution.JacPattern(r, c, nullptr), count);
        EXPECT_EQ(r, rows.data() + rows.size());
        host.incidence.clear();
        host.incidenceTerms.clear();
        host.expressions.clear();
        host.tokens.clear();
        return count;
    };
    // Every domain is BFD1 over 8 intervals with first derivatives: one row per
    // node and direction.
    EXPECT_EQ(declare(one), 9);
    EXPECT_EQ(declare(two), 2 * 81);
    EXPECT_EQ(declare(three), 3 * 729);
}
