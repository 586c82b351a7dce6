// The six parameter types: their defaults, and what the host makes of them.
#include <set>
#include <string>
#include <vector>

#include "frame/parameters.h"
#include "linked_fixture.h"

namespace {

class ParameterTypes : public LinkedTest {};

std::vector<std::string> Members(const ZR_SetValue& s) {
    std::vector<std::string> out;
    for (int p = 0; p < s.SetSize(); ++p) out.push_back(s.String(p));
    return out;
}

// What the host reads from the defaults when it builds one.
template <class P>
void ExpectQuantity(const char* quantity, const char* unit, int row) {
    P p;
    EXPECT_EQ(p.PhysicalQuantity(), quantity);
    EXPECT_EQ(p.BaseUnit(), unit);
    EXPECT_EQ(p.PQCol(), 1);
    EXPECT_EQ(p.PQRow(), row);
    EXPECT_EQ(p.ZR_DefaultPHYSICALQUANTITY()->Flags(), 0);
    EXPECT_EQ(p.v(), 0.0);
}

}  // namespace

TEST_F(ParameterTypes, RealTypesGiveTheirQuantityUnitAndTablePlace) {
    ExpectQuantity<ZR_ANGLEPARAMETER>("Angle", "rad", 32);
    ExpectQuantity<ZR_LENGTHPARAMETER>("Length", "m", 17);
}

TEST_F(ParameterTypes, DefaultsAreBuiltOnceAndSharedByEveryInstance) {
    ZR_NUMSECTIONSPARAM_DOMAIN a;
    ZR_NUMSECTIONSPARAM_DOMAIN b(false);
    EXPECT_EQ(a.ZR_DefaultVALUE(), b.ZR_DefaultVALUE());
    ZR_DISCRETIZATIONMETHODPARAM_DOMAIN m1;
    ZR_DISCRETIZATIONMETHODPARAM_DOMAIN m2;
    EXPECT_EQ(m1.ZR_DefaultVALID(), m2.ZR_DefaultVALID());
    EXPECT_EQ(m1.ZR_DefaultVALUE(), m2.ZR_DefaultVALUE());
    EXPECT_EQ(ZR_ANGLEPARAMETER().ZR_DefaultBASEUOMNAME(), ZR_ANGLEPARAMETER(false).ZR_DefaultBASEUOMNAME());
}

TEST_F(ParameterTypes, CountsStartAtTheirLowerBoundAndRefuseLess) {
    ZR_NUMSECTIONSPARAM_DOMAIN sections;
    EXPECT_EQ(sections.ZR_DefaultLOWER()->IntValue(), 1);
    EXPECT_EQ(sections.ZR_DefaultVALUE()->GetKind(), ZR_Value::Integer);
    EXPECT_EQ(sections.v(), 1);
    EXPECT_LT(sections.SetUserValue(ZR_Value(0, 0)), 0);
    ZR_Value negative(-3, 0, 1, 4);
    EXPECT_LT(sections.Assign(&negative), 0);
    ExpectErrors(2, "below the lower bound");
    EXPECT_EQ(sections.v(), 1);
    EXPECT_FALSE(sections.HasUserValue());
    EXPECT_EQ(sections.SetUserValue(ZR_Value(4, 0)), 0);
    EXPECT_EQ(sections.v(), 4);

    ZR_POLYPOINTSPARAM_DOMAIN points;  // the bound is 0: -1 refused, 0 taken
    EXPECT_EQ(points.v(), 0);
    EXPECT_LT(points.SetUserValue(ZR_Value(-1, 0)), 0);
    ExpectErrors(1, "below the lower bound");
    EXPECT_EQ(points.SetUserValue(ZR_Value(0, 0)), 0);
}

TEST_F(ParameterTypes, MethodsAreTheTenNamesAndTheBoundaryOneOfTwo) {
    ZR_DISCRETIZATIONMETHODPARAM_DOMAIN method;
    EXPECT_STREQ(static_cast<const char*>(method), "BFD1");
    const ZR_Value* valid = method.ZR_DefaultVALID();
    ASSERT_EQ(valid->GetKind(), ZR_Value::Set);
    EXPECT_EQ(valid->Flags(), 0);
    EXPECT_EQ(Members(valid->SetValue()), (std::vector<std::string>{"BFD1", "BFD2", "CFD2", "CFD4", "FFD1", "FFD2",
                                                                    "OCFE2", "OCFE3", "OCFE4", "UBFD4"}));
    ASSERT_NE(method.ZR_VALIDValue(), nullptr);
    EXPECT_EQ(method.ZR_VALIDValue()->SetSize(), 10);
    EXPECT_EQ(method.SetUserValue(ZR_Value("OCFE3", 0)), 0);
    EXPECT_STREQ(static_cast<const char*>(method), "OCFE3");
    for (const char* other : {"BFD3", "OCFE", "", "Backward"}) EXPECT_LT(method.SetUserValue(ZR_Value(other, 0)), 0);
    ExpectErrors(4, "is not one of the valid values");
    EXPECT_STREQ(static_cast<const char*>(method), "OCFE3");

    ZR_ELEMENTBOUNDARYPARAM_DOMAIN boundary;
    EXPECT_STREQ(static_cast<const char*>(boundary), "Backward");
    EXPECT_EQ(Members(boundary.ZR_DefaultVALID()->SetValue()), (std::vector<std::string>{"Backward", "Forward"}));
    ZR_Value forward("Forward", 0, 1, 3);
    EXPECT_EQ(boundary.Assign(&forward), 0);
    ZR_Value central("Central", 0, 1, 3);
    EXPECT_LT(boundary.Assign(&central), 0);
    ExpectErrors(1, "Central");
    EXPECT_STREQ(static_cast<const char*>(boundary), "Forward");
}

TEST_F(ParameterTypes, SystemAttributesComeOnceAndOnlyWithTheFlag) {
    ZR_NUMSECTIONSPARAM_DOMAIN bare(false);
    EXPECT_EQ(bare.SystemAttributesInitialisations(), 0);
    EXPECT_EQ(bare.Lower(), nullptr);
    EXPECT_EQ(bare.ZR_DefaultLOWER()->IntValue(), 1);  // the class's own, although not read yet
    ZR_NUMSECTIONSPARAM_DOMAIN built;
    EXPECT_EQ(built.SystemAttributesInitialisations(), 1);
    ASSERT_NE(built.Lower(), nullptr);
    EXPECT_EQ(built.Lower()->IntValue(), 1);
    ZR_ELEMENTBOUNDARYPARAM_DOMAIN text(false);
    EXPECT_EQ(text.ZR_VALIDValue(), nullptr);
    ZR_LENGTHPARAMETER length;
    EXPECT_EQ(&*length, &length);
}

TEST_F(ParameterTypes, AssignmentCopiesTheValueButKeepsTheClass) {
    ZR_DISCRETIZATIONMETHODPARAM_DOMAIN a;
    ZR_DISCRETIZATIONMETHODPARAM_DOMAIN b;
    ASSERT_EQ(a.SetUserValue(ZR_Value("CFD4", 0)), 0);
    b = a;
    EXPECT_STREQ(static_cast<const char*>(b), "CFD4");
    EXPECT_LT(b.SetUserValue(ZR_Value("cfd9", 0)), 0);
    ExpectErrors(1);
    EXPECT_EQ(b.ZR_DefaultVALID(), a.ZR_DefaultVALID());
}
