// Multiports and port arrays, used as the host and other model libraries use
// them: built by their default constructors or through the exported wrappers,
// driven through the host's port interface.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

#include "connectivity/multiports.h"
#include "linked_fixture.h"
#include "registrations.h"

namespace {

// The port type of a port array's elements, and of a multiport's.
template <class Array>
using ElementOf = std::remove_reference_t<decltype(std::declval<Array&>()(""))>;
template <class M>
using PortOf = ElementOf<decltype(M::CONNECTION)>;

// Each typed test named after its type: "ZR_MULTIPORT_ZR_GENERICPORT".
struct TypeNames {
    template <class T>
    static std::string GetName(int) {
        std::string name;
        for (char c : ::testing::internal::GetTypeName<T>())
            if (std::isalnum(static_cast<unsigned char>(c)) || c == '_')
                name += c;
            else if (!name.empty() && name.back() != '_')
                name += '_';
        while (!name.empty() && name.back() == '_') name.pop_back();
        return name;
    }
};

template <class M>
class Multiports : public LinkedTest {
protected:
    using Port = PortOf<M>;

    // The names as the multiport keeps them: in the set's order.
    static std::vector<std::string> Sorted(std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return names;
    }
};

// Every multiport class: the three multiports and their nine variants.
using AllMultiports =
    ::testing::Types<ZR_MULTIPORT<ZR_GENERICPORT>, ZR_ZR_MIGENERICPORT, ZR_ZR_MOGENERICPORT, ZR_ZR_MIOGENERICPORT,
                     ZR_MULTIPORT<ZR_CONNECTIONPORT>, ZR_ZR_MICONNECTIONPORT, ZR_ZR_MOCONNECTIONPORT,
                     ZR_ZR_MIOCONNECTIONPORT, ZR_MULTIPORT<ZR_CONTROLPORT>, ZR_ZR_MICONTROLPORT,
                     ZR_ZR_MOCONTROLPORT, ZR_ZR_MIOCONTROLPORT>;
TYPED_TEST_SUITE(Multiports, AllMultiports, TypeNames);

TYPED_TEST(Multiports, RegistersOnlyItsConnectionsWithItself) {
    TypeParam multiport;
    ASSERT_EQ(this->host.registrations.size(), 1u);
    EXPECT_EQ(this->host.registrations[0].owner, &multiport);
    testing_support::ExpectRegistrations(multiport,
                                         {{"CONNECTION", "array", ZR_DIR_NONE, true, 0, "Active Multiport connections"}});
    EXPECT_EQ(multiport.PropertyAt(0).member, &multiport.CONNECTION);
    EXPECT_EQ(multiport.CONNECTION.DeclaredSet(0), &multiport.ConnectionNames());
    EXPECT_EQ(multiport.CONNECTION.SlotCount(), 0);

    // Its id and answers are the host's multiport's, whatever the element type.
    ZR_PortType& port = multiport;
    EXPECT_STREQ(port.ZR_DefaultDESCRIPTION(), ZR_MULTIPORT_BaseType::ZR_ContainerId());
    EXPECT_TRUE(port.ContainerDerivesFrom(ZR_MULTIPORT_BaseType::ZR_ContainerId()));
    EXPECT_FALSE(port.ContainerDerivesFrom(TestFixture::Port::ZR_ContainerId()));
    EXPECT_TRUE(port.IsAMultiport());
    EXPECT_EQ(&*multiport, &multiport);
}

TYPED_TEST(Multiports, PortWalkCountsTheMultiportOnceThenEachConnection) {
    const std::vector<std::vector<std::string>> cases = {{}, {"only"}, {"c", "a", "b"}};
    for (const std::vector<std::string>& names : cases) {
        TypeParam multiport;
        ZR_PortType& port = multiport;
        for (const std::string& name : names) ASSERT_NE(port.CreateConnectionPort(name.c_str(), 0), nullptr);
        const std::vector<std::string> order = TestFixture::Sorted(names);
        const int n = static_cast<int>(names.size());
        EXPECT_EQ(port.PortCount(true), n + 1);
        EXPECT_EQ(port.PortCount(false), n + 1);

        for (int start : {INT_MIN, INT_MIN + 1, -7, -1, 0, 1, 2, 3, n, n + 1, n + 4, INT_MAX}) {
            for (bool flag : {false, true}) {
                SCOPED_TRACE(std::to_string(n) + " connections, index " + std::to_string(start));
                int index = start;
                ZR_Type* found = port.GetPort(index, flag);
                if (start <= 0) {
                    // The multiport itself; the index one lower, but never below the lowest.
                    EXPECT_EQ(found, &multiport);
                    EXPECT_EQ(index, start == INT_MIN ? INT_MIN : start - 1);
                } else if (start <= n) {
                    EXPECT_EQ(found, port.FindConnectionPort(order[static_cast<std::size_t>(start - 1)].c_str()));
                    EXPECT_EQ(index, -1);
                } else {
                    // Past the last port: what remains of the index goes on to the next port.
                    EXPECT_EQ(found, nullptr);
                    EXPECT_EQ(index, start - 1 - n);
                }
            }
        }
    }
}

TYPED_TEST(Multiports, NewConnectionTakesTheMultiportsDirectionAndExportState) {
    using Port = typename TestFixture::Port;
    ZR_Container owner;
    TypeParam multiport;
    ZR_PortType& port = multiport;
    multiport.AddProperty(&owner, "M", nullptr, ZR_DIR_OUTPUT, false);
    multiport.UnsetIsToBeExported();
    this->host.assignments.clear();

    ZR_PortType* b = port.CreateConnectionPort("B", 7);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(dynamic_cast<Port*>(b), nullptr);
    EXPECT_EQ(multiport.CONNECTION.Direction(), ZR_DIR_OUTPUT);
    EXPECT_FALSE(multiport.CONNECTION.IsToBeExported());
    EXPECT_EQ(b->Direction(), ZR_DIR_OUTPUT);
    EXPECT_FALSE(b->IsToBeExported());
    // The name reached the host through one assignment carrying the flags word.
    ASSERT_EQ(this->host.assignments.size(), 1u);
    const auto& assigned = this->host.assignments[0];
    EXPECT_EQ(assigned.target, &multiport.ConnectionNames());
    EXPECT_EQ(assigned.value.Flags(), 7);
    EXPECT_TRUE(assigned.value.SetValue() == ZR_StrSetValue("B\""));
    // A port of T as T builds itself, owned by the array.
    EXPECT_EQ(b->ElementOf(), &multiport.CONNECTION);
    EXPECT_EQ(b->PropertyCount(), Port().PropertyCount());

    EXPECT_EQ(port.FindConnectionPort("B"), b);
    EXPECT_EQ(this->host.assignments.size(), 1u);  // finding assigns nothing

    // Exported, the multiport hands on its host port kind instead; each
    // connection keeps the state it was made with.
    TypeParam exported;
    exported.AddProperty(&owner, "E", nullptr, ZR_DIR_INPUT, false);
    exported.HostPortType(4);
    ZR_PortType* in = exported.CreateConnectionPort("in", 0);
    ASSERT_NE(in, nullptr);
    EXPECT_TRUE(exported.CONNECTION.IsToBeExported());
    EXPECT_EQ(exported.CONNECTION.GetHostPortType(), 4);
    EXPECT_EQ(in->GetHostPortType(), 4);
    EXPECT_EQ(in->Direction(), ZR_DIR_INPUT);
    exported.SetDirection(ZR_DIR_OUTPUT);
    ZR_PortType* out = exported.CreateConnectionPort("out", 0);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->Direction(), ZR_DIR_OUTPUT);
    EXPECT_EQ(in->Direction(), ZR_DIR_INPUT);
}

TYPED_TEST(Multiports, ConnectionsComeAndGoWithTheirNamesAndGiveBackTheirMemory) {
    const auto before = this->host.Heap();
    {
        TypeParam multiport;
        ZR_PortType* a = multiport.CreateConnectionPort("A", 0);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(multiport.CreateConnectionPort("A", 0), a);  // a name already held
        EXPECT_EQ(multiport.Connect("A"), a);
        EXPECT_EQ(multiport.ConnectionNames().fv().SetSize(), 1);

        // Asking is no connecting: no port for an unknown or missing name.
        const long long built = this->host.Heap().allocations;
        EXPECT_EQ(multiport.FindConnectionPort("Z"), nullptr);
        EXPECT_EQ(multiport.FindConnectionPort(nullptr), nullptr);
        EXPECT_EQ(multiport.CreateConnectionPort(nullptr, 0), nullptr);
        EXPECT_EQ(this->host.Heap().allocations, built);
        EXPECT_EQ(multiport.ConnectionNames().fv().SetSize(), 1);
        EXPECT_EQ(multiport.PortCount(false), 2);

        ASSERT_NE(multiport.Connect("B", 7), nullptr);
        EXPECT_EQ(this->host.assignments.back().value.Flags(), 7);  // the flags go with the name
        EXPECT_EQ(multiport.PortCount(false), 3);
        EXPECT_TRUE(multiport.Disconnect("A"));
        EXPECT_FALSE(multiport.Disconnect("A"));
        EXPECT_FALSE(multiport.Disconnect("b"));  // names keep their case
        EXPECT_FALSE(multiport.Disconnect(nullptr));
        EXPECT_EQ(multiport.PortCount(false), 2);
        EXPECT_EQ(multiport.FindConnectionPort("A"), nullptr);
        EXPECT_EQ(multiport.Connect(""), nullptr);
        EXPECT_EQ(multiport.Connect(nullptr), nullptr);
        this->ExpectErrors(2, "a connection needs a name");
        int second = 1;
        EXPECT_EQ(multiport.GetPort(second, false), multiport.FindConnectionPort("B"));
    }
    EXPECT_EQ(this->host.Heap().liveBlocks, before.liveBlocks);
    EXPECT_EQ(this->host.Heap().liveBytes, before.liveBytes);
}

TYPED_TEST(Multiports, AssignedMultiportHoldsItsOwnPortsForTheOthersNames) {
    const auto before = this->host.Heap();
    {
        TypeParam source;
        TypeParam target;
        ASSERT_NE(source.CreateConnectionPort("p", 0), nullptr);
        ASSERT_NE(source.CreateConnectionPort("q", 0), nullptr);
        ASSERT_NE(target.CreateConnectionPort("r", 0), nullptr);
        EXPECT_EQ(&(target = source), &target);
        EXPECT_TRUE(target.ConnectionNames().fv() == ZR_StrSetValue("p\"q\""));
        EXPECT_EQ(target.PortCount(false), 3);
        EXPECT_EQ(target.FindConnectionPort("r"), nullptr);
        ZR_PortType* p = target.FindConnectionPort("p");
        ASSERT_NE(p, nullptr);
        EXPECT_NE(p, source.FindConnectionPort("p"));
        EXPECT_EQ(p->ElementOf(), &target.CONNECTION);
        ASSERT_EQ(target.PropertyCount(), 1);
        EXPECT_EQ(target.PropertyAt(0).member, &target.CONNECTION);
        EXPECT_EQ(target.CONNECTION.DeclaredSet(0), &target.ConnectionNames());
    }
    EXPECT_EQ(this->host.Heap().liveBlocks, before.liveBlocks);
}

TYPED_TEST(Multiports, ConnectionTheHeapCannotGiveIsNullAndComesLater) {
    TypeParam multiport;
    this->host.FailAllocationsAfter(0);
    EXPECT_EQ(multiport.CreateConnectionPort("A", 0), nullptr);
    EXPECT_EQ(multiport.CONNECTION.NewElement(), nullptr);
    this->host.FailAllocationsAfter(-1);
    // Once when the name came, once when it was looked up.
    this->ExpectErrors(2, "no element could be built");
    EXPECT_TRUE(multiport.ConnectionNames().fv() >= "A");
    EXPECT_EQ(multiport.PortCount(false), 1);
    ZR_PortType* a = multiport.FindConnectionPort("A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(multiport.PortCount(false), 2);
}

TYPED_TEST(Multiports, StaleNamesOfAnAssignmentRunTakeTheirPortsWithThem) {
    TypeParam multiport;
    this->host.BeginAssignmentRun(&multiport);
    ASSERT_NE(multiport.CreateConnectionPort("A", 0), nullptr);
    this->host.EndAssignmentRun();
    EXPECT_EQ(multiport.PortCount(false), 2);
    this->host.BeginAssignmentRun(&multiport);
    this->host.EndAssignmentRun();
    EXPECT_EQ(multiport.ConnectionNames().fv().SetSize(), 0);
    EXPECT_EQ(multiport.PortCount(false), 1);
    EXPECT_EQ(multiport.CONNECTION.SlotCount(), 0);
}

// Both wrappers of T answer with `id`; the replaceable one builds a T, which
// `check` looks at.
template <class T, class Check>
void ExpectWrappersOf(const char* id, Check check) {
    EXPECT_STREQ(ZR_External<T>().ExternalTypeName(), id);
    ZR_Virtual<T> replaceable;
    EXPECT_STREQ(replaceable.VirtualBaseType(), id);
    ZR_Type* made = replaceable.NewDefaultVirtual();
    auto* typed = dynamic_cast<T*>(made);
    ASSERT_NE(typed, nullptr);
    check(*typed);
    delete made;
}

// The variants only, with their exported wrappers.
template <class V>
class Variants : public LinkedTest {};
using AllVariants = ::testing::Types<ZR_ZR_MIGENERICPORT, ZR_ZR_MOGENERICPORT, ZR_ZR_MIOGENERICPORT,
                                     ZR_ZR_MICONNECTIONPORT, ZR_ZR_MOCONNECTIONPORT, ZR_ZR_MIOCONNECTIONPORT,
                                     ZR_ZR_MICONTROLPORT, ZR_ZR_MOCONTROLPORT, ZR_ZR_MIOCONTROLPORT>;
TYPED_TEST_SUITE(Variants, AllVariants, TypeNames);

TYPED_TEST(Variants, WrappersAnswerWithTheHostsMultiportId) {
    const auto before = this->host.Heap();
    ExpectWrappersOf<TypeParam>(ZR_MULTIPORT_BaseType::ZR_ContainerId(), [](TypeParam& variant) {
        EXPECT_EQ(typeid(variant), typeid(TypeParam));
        EXPECT_EQ(variant.RefCount(), 0u);
        ZR_External<TypeParam> reference;
        EXPECT_TRUE(reference.Link(&variant));
        EXPECT_EQ(&*reference, &variant);
    });
    EXPECT_EQ(this->host.Heap().liveBlocks, before.liveBlocks);
    this->host.FailAllocationsAfter(0);
    EXPECT_EQ(ZR_Virtual<TypeParam>().NewDefaultVirtual(), nullptr);
    this->host.FailAllocationsAfter(-1);
}

// The port arrays, with their exported wrappers and those of their ports.
template <class Array>
class PortArrays : public LinkedTest {};
using AllPortArrays =
    ::testing::Types<ZR_ARRAY_S<ZR_GENERICPORT, ZR_GENERICPORT>, ZR_ARRAY_S<ZR_CONTROLPORT, ZR_CONTROLPORT>,
                     ZR_ARRAY_S<ZR_CONNECTIONPORT, ZR_CONNECTIONPORT>>;
TYPED_TEST_SUITE(PortArrays, AllPortArrays, TypeNames);

TYPED_TEST(PortArrays, ElementsAreWholePortsOfTheirNames) {
    using Port = ElementOf<TypeParam>;
    ZR_STRINGSET names;
    TypeParam array;
    array.SetDim(names);
    ZR_Value value(ZR_StrSetValue("x\"y\""), 0);
    ASSERT_EQ(names.Assign(&value), 0);
    ASSERT_EQ(array.SlotCount(), 2);
    EXPECT_EQ(&array("x"), array.Slot(0));
    EXPECT_EQ(&array("y"), array.Slot(1));
    EXPECT_EQ(array.PortCount(false), 2);

    ZR_Type* element = array.NewElement();
    auto* port = dynamic_cast<Port*>(element);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->Book.OwnerContainer, nullptr);
    EXPECT_EQ(port->PropertyCount(), Port().PropertyCount());
    delete element;
}

TYPED_TEST(PortArrays, WrappersOfArrayAndPortAnswerWithTheirIds) {
    using Port = ElementOf<TypeParam>;
    ExpectWrappersOf<TypeParam>(ZR_Matrix::ZR_ContainerId(), [](TypeParam& array) {
        EXPECT_EQ(array.SlotCount(), 0);
        EXPECT_EQ(array.DeclaredSet(0), nullptr);
    });
    ExpectWrappersOf<Port>(Port::ZR_ContainerId(),
                           [](Port& port) { EXPECT_EQ(port.PropertyCount(), Port().PropertyCount()); });
}

}  // namespace
