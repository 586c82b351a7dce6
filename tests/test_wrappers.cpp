// References, replaceable members and arrays over the library's and the host's
// types (the ports' wrappers: the multiport tests).
#include <string>

#include "connectivity/connections.h"
#include "frame/parameters.h"
#include "frame/wrappers.h"
#include "linked_fixture.h"

namespace {

class Wrappers : public LinkedTest {};

template <class T>
using Array1 = ZR_ARRAY_I<T, T>;
template <class T>
using Array2 = ZR_ARRAY_II<T, T>;
template <class T>
using Array3 = ZR_ARRAY_III<T, T>;

// Both wrappers of T answer with the same id, the one expected of T.
template <class T>
void ExpectTypeId(const std::string& expected) {
    SCOPED_TRACE(expected);
    ZR_External<T> reference;
    ZR_Virtual<T> replaceable;
    EXPECT_EQ(reference.ExternalTypeName(), expected);
    EXPECT_EQ(replaceable.VirtualBaseType(), expected);
}

// Builds through `make` once with a heap that refuses: nothing is built, the
// refusal is the one allocation asked for.
template <class Make>
void ExpectNullWhenTheHeapFails(qtvhost::Host& host, Make make) {
    const auto before = host.Heap();
    host.FailAllocationsAfter(0);
    ZR_Type* built = make();
    host.FailAllocationsAfter(-1);
    EXPECT_EQ(built, nullptr);
    EXPECT_EQ(host.Heap().refused, before.refused + 1);
    EXPECT_EQ(host.Heap().liveBlocks, before.liveBlocks);
    EXPECT_TRUE(host.registrations.empty());
}

void Discard(ZR_Type* built) {
    built->AddRef();
    built->Release();
}

}  // namespace

TEST_F(Wrappers, TypeIdsAreThoseOfTheTypeOrItsNearestBaseWithOne) {
    const std::string real = ZR_REALPARAMETER::ZR_ContainerId();
    const std::string text = ZR_STRINGPARAMETER::ZR_ContainerId();
    const std::string integer = ZR_INTEGERPARAMETER::ZR_ContainerId();
    const std::string matrix = ZR_Matrix::ZR_ContainerId();
    ExpectTypeId<ZR_ANGLEPARAMETER>(real);
    ExpectTypeId<ZR_LENGTHPARAMETER>(real);
    ExpectTypeId<ZR_DISCRETIZATIONMETHODPARAM_DOMAIN>(text);
    ExpectTypeId<ZR_ELEMENTBOUNDARYPARAM_DOMAIN>(text);
    ExpectTypeId<ZR_NUMSECTIONSPARAM_DOMAIN>(integer);
    ExpectTypeId<ZR_POLYPOINTSPARAM_DOMAIN>(integer);
    ExpectTypeId<ZR_CONNECTION>("Model CONNECTION\tV9");
    ExpectTypeId<ZR_GENERICCONNECTION>("Model GENERICCONNECTION\tV9");
    ExpectTypeId<ZR_CONTROLSIGNAL>("Model CONTROLSIGNAL\tV9");
    ExpectTypeId<ZR_GENERICCONTROLSIGNAL>("Model GENERICCONTROLSIGNAL\tV9");
    ExpectTypeId<Array1<ZR_PARTIALDERIVATIVE>>(matrix);
    ExpectTypeId<Array1<ZR_REALPARAMETER>>(matrix);
    ExpectTypeId<Array1<ZR_REALVARIABLE>>(matrix);
    ExpectTypeId<Array2<ZR_PARTIALDERIVATIVE>>(matrix);
    ExpectTypeId<Array2<ZR_REALVARIABLE>>(matrix);
    ExpectTypeId<Array3<ZR_PARTIALDERIVATIVE>>(matrix);
    ExpectTypeId<Array3<ZR_REALVARIABLE>>(matrix);
}

TEST_F(Wrappers, DefaultsAreBuiltAsMembersOfTheirKind) {
    const auto before = host.Heap();
    ZR_Virtual<ZR_CONNECTION> model;
    ZR_Type* built = model.NewDefaultVirtual();
    auto* connection = dynamic_cast<ZR_CONNECTION*>(built);
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connection->PropertyCount(), 3);
    EXPECT_EQ(connection->Book.OwnerContainer, nullptr);
    EXPECT_EQ(connection->RefCount(), 0u);
    Discard(built);

    ZR_Virtual<ZR_NUMSECTIONSPARAM_DOMAIN> count;
    auto* sections = dynamic_cast<ZR_NUMSECTIONSPARAM_DOMAIN*>(count.NewDefaultVirtual());
    ASSERT_NE(sections, nullptr);
    EXPECT_EQ(sections->SystemAttributesInitialisations(), 1);
    EXPECT_EQ(sections->v(), 1);
    Discard(sections);

    ZR_Virtual<Array2<ZR_REALVARIABLE>> values;
    auto* array = dynamic_cast<Array2<ZR_REALVARIABLE>*>(values.NewDefaultVirtual());
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array->SlotCount(), 0);
    EXPECT_EQ(array->Dimensions(), 2);
    Discard(array);

    Array1<ZR_REALPARAMETER> parameters;
    auto* element = dynamic_cast<ZR_REALPARAMETER*>(parameters.NewElement());
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->SystemAttributesInitialisations(), 1);
    Discard(element);
    Array3<ZR_PARTIALDERIVATIVE> derivatives;
    ZR_Type* derivative = derivatives.NewElement();
    EXPECT_NE(dynamic_cast<ZR_PARTIALDERIVATIVE*>(derivative), nullptr);
    Discard(derivative);
    EXPECT_EQ(host.Heap().liveBlocks, before.liveBlocks);
}

TEST_F(Wrappers, NothingIsBuiltWhenTheHeapFails) {
    ZR_Virtual<ZR_CONTROLSIGNAL> model;
    ZR_Virtual<ZR_ANGLEPARAMETER> angle;
    ZR_Virtual<Array1<ZR_REALVARIABLE>> values;
    Array2<ZR_REALVARIABLE> array;
    ExpectNullWhenTheHeapFails(host, [&] { return model.NewDefaultVirtual(); });
    ExpectNullWhenTheHeapFails(host, [&] { return angle.NewDefaultVirtual(); });
    ExpectNullWhenTheHeapFails(host, [&] { return values.NewDefaultVirtual(); });
    ExpectNullWhenTheHeapFails(host, [&] { return array.NewElement(); });
    host.FailAllocationsAfter(0);
    EXPECT_EQ(values.VirtualLink(), nullptr);
    host.FailAllocationsAfter(-1);
    ExpectErrors(1, "no default instance");
    EXPECT_NE(values.VirtualLink(), nullptr);  // tried again once the heap gives
}

TEST_F(Wrappers, AReplaceableMemberHoldsTheDefaultItBuiltUntilItGoes) {
    const auto before = host.Heap();
    {
        ZR_CONNECTION owner;
        ZR_Virtual<Array1<ZR_REALVARIABLE>> value;
        ZR_Registrar(owner, owner.Book.OwnerContainer).Add(value, "VALUE");
        EXPECT_EQ(owner.PropertyAt(3).via, 2);
        EXPECT_EQ(value.Chosen(), nullptr);
        Array1<ZR_REALVARIABLE>& array = *value;
        EXPECT_EQ(&*value, &array);
        EXPECT_EQ(value.Chosen(), &array);
        EXPECT_EQ((*value)(3).FullName(), "VALUE(3)");
        EXPECT_EQ(&(*value)(3), &array(3));
        EXPECT_EQ(value.SystemAttributesInitialisations(), 1);

        ZR_Virtual<Array1<ZR_REALVARIABLE>> other;
        other = value;  // the value only: each keeps its own instance
        EXPECT_EQ(other.Chosen(), nullptr);
        EXPECT_NE(&*other, &array);
    }
    EXPECT_EQ(host.Heap().liveBlocks, before.liveBlocks);
}

TEST_F(Wrappers, AReferenceTakesOnlyAnInstanceOfItsType) {
    ZR_CONNECTION owner;
    ZR_CONNECTION connection;
    ZR_CONTROLSIGNAL signal;
    ZR_External<ZR_GENERICCONNECTION> end;
    ZR_Registrar(owner, owner.Book.OwnerContainer).Add(end, "LINK");
    const ZR_Container::Property& p = owner.PropertyAt(3);
    EXPECT_EQ(p.via, 1);
    EXPECT_EQ(p.member, &end);
    EXPECT_STREQ(end.ZR_KindName(), "reference");

    EXPECT_EQ(end.ExternalLink(), nullptr);
    ExpectErrors(1, "LINK is used before it is linked");
    EXPECT_TRUE(end.Link(&connection));  // a connection is a generic connection
    EXPECT_EQ(&*end, &connection);
    EXPECT_FALSE(end.Link(&signal));
    ExpectErrors(1, "not of type Model GENERICCONNECTION");
    EXPECT_EQ(&*end, &connection);
    ZR_External<ZR_GENERICCONNECTION> copy(end);
    EXPECT_EQ(&*copy, &connection);

    ZR_External<ZR_CONNECTION> strict;
    ZR_GENERICCONNECTION generic;
    EXPECT_FALSE(strict.Link(&generic));
    ExpectErrors(1);

    ZR_External<ZR_ANGLEPARAMETER> angle;
    ZR_ANGLEPARAMETER a;
    ZR_INTEGERPARAMETER n;
    EXPECT_TRUE(angle.Link(&a));
    EXPECT_EQ(&*angle, &a);
    EXPECT_FALSE(angle.Link(&n));
    ExpectErrors(1);
    ZR_External<Array2<ZR_REALVARIABLE>> values;
    Array2<ZR_REALVARIABLE> array;
    EXPECT_TRUE(values.Link(&array));
    EXPECT_EQ(&(*values)(1, 2), &array(1, 2));
    EXPECT_TRUE(values.Link(nullptr));
    EXPECT_EQ(values.Linked(), nullptr);
}

TEST_F(Wrappers, ArraysRegisterAsArraysAndNameTheirElements) {
    ZR_CONTROLSIGNAL owner;
    Array3<ZR_PARTIALDERIVATIVE> d;
    ZR_Registrar(owner, owner.Book.OwnerContainer).Add(d, "DDX");
    EXPECT_EQ(owner.PropertyAt(3).via, 0);
    EXPECT_STREQ(owner.PropertyAt(3).member->ZR_KindName(), "array");
    ZR_PARTIALDERIVATIVE& e = d(1, 2, 3);
    EXPECT_EQ(e.FullName(), "DDX(1,2,3)");
    EXPECT_EQ(&d(1, 2, 3), &e);
    EXPECT_EQ(d.SlotCount(), 1);
}
