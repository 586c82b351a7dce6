// The three-dimensional distribution's type: its members and their
// registration, the binding of its arrays, and the index sets and defaults its
// assignments give; a domain the host never linked is not read.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "connectivity/generic.h"
#include "distributions/three/distribution3d.h"
#include "grid.h"
#include "index_sets.h"
#include "linked_fixture.h"
#include "session.h"

using grid::kX;
using grid::kY;
using grid::kZ;
using index_sets::Ints;
using index_sets::Members;
using index_sets::NodesWithEnds;
using index_sets::Range;
using index_sets::Within;

namespace {

class Distribution3D : public LinkedTest {};

struct Registered {
    const char* name;
    const char* description;
    int direction;
    int via;  // 0 ZR_Type, 1 ZR_ExternalBase, 2 ZR_VirtualBase
};

// The type's registration table.
const std::vector<Registered> kRegistrations = {
    {"XDOMAIN", nullptr, ZR_DIR_NONE, 1},
    {"YDOMAIN", nullptr, ZR_DIR_NONE, 1},
    {"ZDOMAIN", nullptr, ZR_DIR_NONE, 1},
    {"ZR_VALUE_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_VALUE_SET2", nullptr, ZR_DIR_NONE, 0},
    {"ZR_VALUE_SET3", nullptr, ZR_DIR_NONE, 0},
    {"VALUE", "Variable value at a node point", ZR_DIR_NONE, 2},
    {"USERNOTES", nullptr, ZR_DIR_NONE, 0},
    {"INPUTSIGNAL", nullptr, ZR_DIR_INPUT, 0},
    {"OUTPUTSIGNAL", nullptr, ZR_DIR_OUTPUT, 0},
    {"HIGHESTORDERXDERIVATIVE", nullptr, ZR_DIR_NONE, 0},
    {"HIGHESTORDERYDERIVATIVE", nullptr, ZR_DIR_NONE, 0},
    {"HIGHESTORDERZDERIVATIVE", nullptr, ZR_DIR_NONE, 0},
    {"HIGHESTORDERXDERIVATIVEUSED", nullptr, ZR_DIR_NONE, 0},
    {"HIGHESTORDERYDERIVATIVEUSED", nullptr, ZR_DIR_NONE, 0},
    {"HIGHESTORDERZDERIVATIVEUSED", nullptr, ZR_DIR_NONE, 0},
    {"INTEGRALS", "Integrals to be calculated. Valid values: idx, idy, idz, idxdy, idxdz, idydz, idxdydz", ZR_DIR_NONE, 0},
    {"ZR_DDX_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_DDX_SET2", nullptr, ZR_DIR_NONE, 0},
    {"ZR_DDX_SET3", nullptr, ZR_DIR_NONE, 0},
    {"DDX", "1st-order partial deriv wrt x", ZR_DIR_NONE, 0},
    {"ZR_DDY_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_DDY_SET2", nullptr, ZR_DIR_NONE, 0},
    {"ZR_DDY_SET3", nullptr, ZR_DIR_NONE, 0},
    {"DDY", "1st-order partial deriv wrt y", ZR_DIR_NONE, 0},
    {"ZR_DDZ_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_DDZ_SET2", nullptr, ZR_DIR_NONE, 0},
    {"ZR_DDZ_SET3", nullptr, ZR_DIR_NONE, 0},
    {"DDZ", "1st-order partial deriv wrt z", ZR_DIR_NONE, 0},
    {"ZR_D2DX2_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_D2DX2_SET2", nullptr, ZR_DIR_NONE, 0},
    {"ZR_D2DX2_SET3", nullptr, ZR_DIR_NONE, 0},
    {"D2DX2", "2nd-order partial deriv wrt x", ZR_DIR_NONE, 0},
    {"ZR_D2DY2_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_D2DY2_SET3", nullptr, ZR_DIR_NONE, 0},
    {"D2DY2", "2nd-order partial deriv wrt y", ZR_DIR_NONE, 0},
    {"ZR_D2DZ2_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_D2DZ2_SET2", nullptr, ZR_DIR_NONE, 0},
    {"D2DZ2", "2nd-order partial deriv wrt z", ZR_DIR_NONE, 0},
    {"ZR_IDX_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDX_SET2", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDX_SET3", nullptr, ZR_DIR_NONE, 0},
    {"IDX", "integral of distributed variable wrt x", ZR_DIR_NONE, 0},
    {"ZR_IDY_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDY_SET2", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDY_SET3", nullptr, ZR_DIR_NONE, 0},
    {"IDY", "integral of distributed variable wrt y", ZR_DIR_NONE, 0},
    {"ZR_IDZ_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDZ_SET2", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDZ_SET3", nullptr, ZR_DIR_NONE, 0},
    {"IDZ", "integral of distributed variable wrt z", ZR_DIR_NONE, 0},
    {"ZR_IDXDY_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDXDY_SET2", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDXDY_SET3", nullptr, ZR_DIR_NONE, 0},
    {"IDXDY", "integral of distributed variable wrt x and y", ZR_DIR_NONE, 0},
    {"ZR_IDXDZ_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDXDZ_SET2", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDXDZ_SET3", nullptr, ZR_DIR_NONE, 0},
    {"IDXDZ", "integral of distributed variable wrt x and z", ZR_DIR_NONE, 0},
    {"ZR_IDYDZ_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDYDZ_SET2", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDYDZ_SET3", nullptr, ZR_DIR_NONE, 0},
    {"IDYDZ", "integral of distributed variable wrt y and z", ZR_DIR_NONE, 0},
    {"ZR_IDXDYDZ_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDXDYDZ_SET2", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDXDYDZ_SET3", nullptr, ZR_DIR_NONE, 0},
    {"IDXDYDZ", "integral of distributed variable wrt x, y and z", ZR_DIR_NONE, 0},
};

void ExpectRegistrations(const std::vector<qtvhost::Registration>& got, const ZR_Container* owner) {
    ASSERT_EQ(got.size(), kRegistrations.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        const Registered& e = kRegistrations[i];
        const qtvhost::Registration& r = got[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(r.name, e.name);
        EXPECT_EQ(r.hasDescription, e.description != nullptr);
        if (e.description) {
            EXPECT_EQ(r.description, e.description);
        }
        EXPECT_EQ(r.direction, e.direction);
        EXPECT_EQ(r.via, e.via);
        EXPECT_FALSE(r.flag);
        EXPECT_EQ(r.owner, owner);
        // Only the signal ports are not exported.
        if (const auto* type = dynamic_cast<const ZR_Type*>(r.member)) {
            EXPECT_EQ(type->IsToBeExported(), e.direction == ZR_DIR_NONE);
        }
    }
}

// Three domains unlike each other: x a central-difference grid of two sections,
// y one OCFE3 section, z one UBFD4 section; with second derivatives each leaves
// its joints or element ends out of its interior.
void Shape(grid::Grid3& g) {
    g.Method(kX, "CFD2").Sections(kX, 2).Method(kY, "OCFE3").Method(kZ, "UBFD4");
}

const char* const kIntegralNames[] = {"idx", "idy", "idz", "idxdy", "idxdz", "idydz", "idxdydz"};

}  // namespace

TEST_F(Distribution3D, RegistersItsMembersInTheTablesOrderWithItselfOrItsOwner) {
    {
        ZR_DISTRIBUTION3D d;
        ExpectRegistrations(host.registrations, &d);
    }
    ZR_GENERICMODEL owner;
    host.registrations.clear();
    {
        ZR_DISTRIBUTION3D d(true, &owner);
        ExpectRegistrations(host.registrations, &owner);
        EXPECT_EQ(d.Book.OwnerContainer, &owner);
    }
    host.registrations.clear();
    ZR_DISTRIBUTION3D quiet(false, &owner);
    EXPECT_TRUE(host.registrations.empty());
    EXPECT_EQ(quiet.Book.OwnerContainer, &owner);
}

TEST_F(Distribution3D, TypeIdAndTheTextInSetTest) {
    ZR_DISTRIBUTION3D d;
    EXPECT_STREQ(ZR_DISTRIBUTION3D::ZR_ContainerId(), "Model DISTRIBUTION3D\tV9");
    EXPECT_STREQ(d.ZR_DefaultDESCRIPTION(), "Model DISTRIBUTION3D\tV9");
    EXPECT_TRUE(d.ContainerDerivesFrom("model distribution3d\tv9"));
    EXPECT_FALSE(d.ContainerDerivesFrom("Model DISTRIBUTION2D\tV9"));
    EXPECT_FALSE(d.ContainerDerivesFrom("Model DISTRIBUTION3D"));
    double r[2] = {1, 2};
    EXPECT_EQ(d.Residuals(r, 2, 0), 0);
    EXPECT_EQ(d.Jacobian(r, 2, 0), 0);
    EXPECT_EQ(r[0], 1);

    ZR_SetValue chosen(static_cast<unsigned short>(ZR_SET_STRING));
    chosen += "idx";
    chosen += "idxdz";
    for (const char* name : kIntegralNames) {
        const bool held = std::string(name) == "idx" || std::string(name) == "idxdz";
        EXPECT_EQ(SetContainsString(name, chosen), held ? 1 : 0) << name;
        EXPECT_EQ(SetContainsString(name, ZR_StrSetValue("None\"")), 0) << name;
    }
}

// For every derivative order per direction (taken from the domain as the
// default) and every choice of integrals (none, each name alone, all): each of
// the forty sets as computed here from the domains' end nodes and interiors, and
// the seven defaults.
TEST_F(Distribution3D, IndexSetsAndDefaultsOverOrdersAndIntegrals) {
    std::vector<std::vector<std::string>> choices = {{}};
    for (const char* n : kIntegralNames) choices.push_back({n});
    choices.push_back(std::vector<std::string>(std::begin(kIntegralNames), std::end(kIntegralNames)));
    for (int xo : {0, 1, 2}) {
        for (int yo : {0, 1, 2}) {
            for (int zo : {0, 1, 2}) {
                for (const std::vector<std::string>& integrals : choices) {
                    std::string name = "x " + std::to_string(xo) + ", y " + std::to_string(yo) + ", z " +
                                       std::to_string(zo) + ",";
                    for (const std::string& n : integrals) name += " " + n;
                    SCOPED_TRACE(name);
                    grid::Grid3 g;
                    Shape(g);
                    g.Highest(kX, xo).Highest(kY, yo).Highest(kZ, zo);
                    if (!integrals.empty()) g.Integrals(integrals);
                    g.Settle();
                    ZR_DISTRIBUTION3D& d = g.dist;

                    EXPECT_EQ(d.HIGHESTORDERXDERIVATIVE.v(), xo);
                    EXPECT_EQ(d.HIGHESTORDERYDERIVATIVE.v(), yo);
                    EXPECT_EQ(d.HIGHESTORDERZDERIVATIVE.v(), zo);
                    EXPECT_EQ(d.HIGHESTORDERXDERIVATIVEUSED.v(), xo);
                    EXPECT_EQ(d.HIGHESTORDERYDERIVATIVEUSED.v(), yo);
                    EXPECT_EQ(d.HIGHESTORDERZDERIVATIVEUSED.v(), zo);
                    ZR_SetValue chosen(static_cast<unsigned short>(ZR_SET_STRING));
                    for (const std::string& n : integrals) chosen += n.c_str();
                    EXPECT_EQ(d.INTEGRALS.v().ToText(), integrals.empty() ? "{\"None\"}" : chosen.ToText());

                    const int xe = g.EndNode(kX);
                    ASSERT_GT(xe, 2);
                    ASSERT_GT(g.EndNode(kY), 2);
                    ASSERT_GT(g.EndNode(kZ), 2);
                    const Ints ys = Range(0, g.EndNode(kY));
                    const Ints zs = Range(0, g.EndNode(kZ));
                    const Ints xi = Members(g.Domain(kX).INTERIOR.v());
                    const Ints x0 = NodesWithEnds(g.Domain(kX));
                    const Ints y0 = NodesWithEnds(g.Domain(kY));
                    const Ints z0 = NodesWithEnds(g.Domain(kZ));
                    auto has = [&](std::initializer_list<const char*> names) {
                        for (const char* n : names)
                            for (const std::string& i : integrals)
                                if (i == n) return true;
                        return false;
                    };
                    auto integral = [&](bool chosenHere) { return chosenHere ? Range(0, xe) : Ints{}; };
                    const struct {
                        ZR_INTEGERSET& set;
                        Ints expected;
                    } sets[] = {
                        {d.ZR_VALUE_SET1, Range(0, xe)},
                        {d.ZR_VALUE_SET2, ys},
                        {d.ZR_VALUE_SET3, zs},
                        {d.ZR_DDX_SET1, Range(0, xo > 0 ? xe : 0)},
                        {d.ZR_DDX_SET2, ys},
                        {d.ZR_DDX_SET3, zs},
                        {d.ZR_DDY_SET1, Range(0, yo > 0 ? xe : 0)},
                        {d.ZR_DDY_SET2, ys},
                        {d.ZR_DDY_SET3, zs},
                        {d.ZR_DDZ_SET1, Range(0, zo > 0 ? xe : 0)},
                        {d.ZR_DDZ_SET2, ys},
                        {d.ZR_DDZ_SET3, zs},
                        {d.ZR_D2DX2_SET1, xo > 1 ? Within(xi, 1, xe) : Ints{}},
                        {d.ZR_D2DX2_SET2, y0},
                        {d.ZR_D2DX2_SET3, z0},
                        // {0}, not empty, when the order in their direction is below 2.
                        {d.ZR_D2DY2_SET1, yo > 1 ? x0 : Ints{0}},
                        {d.ZR_D2DY2_SET3, z0},
                        {d.ZR_D2DZ2_SET1, zo > 1 ? x0 : Ints{0}},
                        {d.ZR_D2DZ2_SET2, y0},
                        {d.ZR_IDX_SET1, integral(has({"idx", "idxdy", "idxdz", "idxdydz"}))},
                        {d.ZR_IDX_SET2, ys},
                        {d.ZR_IDX_SET3, zs},
                        {d.ZR_IDY_SET1, integral(has({"idy", "idydz"}))},
                        {d.ZR_IDY_SET2, ys},
                        {d.ZR_IDY_SET3, zs},
                        {d.ZR_IDZ_SET1, integral(has({"idz"}))},
                        {d.ZR_IDZ_SET2, ys},
                        {d.ZR_IDZ_SET3, zs},
                        {d.ZR_IDXDY_SET1, integral(has({"idxdy", "idxdydz"}))},
                        {d.ZR_IDXDY_SET2, ys},
                        {d.ZR_IDXDY_SET3, zs},
                        {d.ZR_IDXDZ_SET1, integral(has({"idxdz"}))},
                        {d.ZR_IDXDZ_SET2, ys},
                        {d.ZR_IDXDZ_SET3, zs},
                        {d.ZR_IDYDZ_SET1, integral(has({"idydz"}))},
                        {d.ZR_IDYDZ_SET2, ys},
                        {d.ZR_IDYDZ_SET3, zs},
                        {d.ZR_IDXDYDZ_SET1, integral(has({"idxdydz"}))},
                        {d.ZR_IDXDYDZ_SET2, ys},
                        {d.ZR_IDXDYDZ_SET3, zs},
                    };
                    static_assert(sizeof(sets) / sizeof(sets[0]) == 40, "every internal index set");
                    for (const auto& s : sets) EXPECT_EQ(Members(s.set.v()), s.expected) << s.set.PropertyName();
                }
            }
        }
    }
}

// A user's orders or integrals hold over the defaults; the defaults of the
// highest orders still follow the domains.
TEST_F(Distribution3D, AUsersValuesBeatTheDefaults) {
    grid::Grid3 g;
    Shape(g);
    g.Highest(kX, 1).Highest(kY, 2).Highest(kZ, 0).Used(kX, 2).Used(kY, 1).Used(kZ, 2);
    g.Integrals({"idydz"}).Settle();
    ZR_DISTRIBUTION3D& d = g.dist;
    EXPECT_EQ(d.HIGHESTORDERXDERIVATIVE.v(), 1);
    EXPECT_EQ(d.HIGHESTORDERYDERIVATIVE.v(), 2);
    EXPECT_EQ(d.HIGHESTORDERZDERIVATIVE.v(), 0);
    EXPECT_EQ(d.HIGHESTORDERXDERIVATIVEUSED.v(), 2);
    EXPECT_EQ(d.HIGHESTORDERYDERIVATIVEUSED.v(), 1);
    EXPECT_EQ(d.HIGHESTORDERZDERIVATIVEUSED.v(), 2);
    EXPECT_EQ(d.INTEGRALS.v().ToText(), "{\"idydz\"}");
    const int xe = g.EndNode(kX);
    EXPECT_EQ(Members(d.ZR_D2DX2_SET1.v()), Within(Members(g.Domain(kX).INTERIOR.v()), 1, xe));
    EXPECT_EQ(Members(d.ZR_DDY_SET1.v()), Range(0, xe));
    EXPECT_EQ(Members(d.ZR_D2DY2_SET1.v()), Ints{0});
    EXPECT_EQ(Members(d.ZR_D2DZ2_SET1.v()), NodesWithEnds(g.Domain(kX)));
    EXPECT_EQ(Members(d.ZR_IDY_SET1.v()), Range(0, xe));
    EXPECT_EQ(Members(d.ZR_IDYDZ_SET1.v()), Range(0, xe));
    EXPECT_TRUE(Members(d.ZR_IDX_SET1.v()).empty());
    EXPECT_TRUE(Members(d.ZR_IDZ_SET1.v()).empty());
}

// An x domain without nodes: every integral's first dimension is {0}, chosen or
// not; the most negative end node gives no overflow, only ranges the host
// refuses as too large.
TEST_F(Distribution3D, ExtremeXEndNodes) {
    grid::Grid3 g;
    Shape(g);
    g.Integrals({"idz"}).Settle();
    ZR_DISTRIBUTION3D& d = g.dist;
    ASSERT_EQ(g.Domain(kX).ENDNODE.SetUserValue(ZR_Value(0, 0)), 0);
    qtvhost::SettleAssignments(d);
    for (ZR_INTEGERSET* s : {&d.ZR_IDX_SET1, &d.ZR_IDY_SET1, &d.ZR_IDZ_SET1, &d.ZR_IDXDY_SET1, &d.ZR_IDXDZ_SET1,
                             &d.ZR_IDYDZ_SET1, &d.ZR_IDXDYDZ_SET1, &d.ZR_VALUE_SET1})
        EXPECT_EQ(Members(s->v()), Ints{0}) << s->PropertyName();

    ASSERT_EQ(g.Domain(kX).ENDNODE.SetUserValue(ZR_Value(INT_MIN, 0)), 0);
    qtvhost::SettleAssignments(d);
    ASSERT_FALSE(host.errors.empty());
    for (const std::string& e : host.errors) EXPECT_NE(e.find("[0 : 2147483647]"), std::string::npos) << e;
    host.errors.clear();
    EXPECT_EQ(Members(d.ZR_IDZ_SET1.v()), Ints{0});  // the host's [0 : INT_MIN] is {0}
    EXPECT_TRUE(Members(d.ZR_IDX_SET1.v()).empty());
}

// One call: the forty sets from the values as they stood, the seven defaults,
// then the forty again; every value carries its statement, arg and level, and
// the base runs one level down.
TEST_F(Distribution3D, OneAssignmentCallBuildsTheSetsTwiceAroundTheDefaults) {
    grid::Grid3 g;
    Shape(g);
    g.Highest(1).Settle();
    ZR_DISTRIBUTION3D fresh;
    ASSERT_TRUE(fresh.XDOMAIN.Link(&g.Domain(kX)));
    ASSERT_TRUE(fresh.YDOMAIN.Link(&g.Domain(kY)));
    ASSERT_TRUE(fresh.ZDOMAIN.Link(&g.Domain(kZ)));
    fresh.SetDims();
    host.assignments.clear();
    host.baseCalls.clear();
    host.config.executeAssignmentsStatus = 7;
    EXPECT_EQ(fresh.ExecuteAssignments(3, 9), 7);
    ASSERT_FALSE(host.baseCalls.empty());
    EXPECT_EQ(host.baseCalls.front().kind, qtvhost::BaseCall::ExecuteAssignments);
    EXPECT_EQ(host.baseCalls.front().a, 2);
    EXPECT_EQ(host.baseCalls.front().b, 9);
    // The sets in statement order: the registration order of the sets.
    std::vector<std::string> sets;
    for (const Registered& r : kRegistrations)
        if (std::string(r.name).rfind("ZR_", 0) == 0) sets.push_back(r.name);
    ASSERT_EQ(sets.size(), 40u);
    std::vector<std::string> expected;
    for (int pass : {0, 1}) {
        for (std::size_t i = 0; i < sets.size(); ++i)
            expected.push_back(sets[i] + "/" + std::to_string(i + 1) + "/" + std::to_string(pass));
        if (pass == 0) {
            int n = 41;
            for (const char* p : {"HIGHESTORDERXDERIVATIVE", "HIGHESTORDERYDERIVATIVE", "HIGHESTORDERZDERIVATIVE",
                                  "HIGHESTORDERXDERIVATIVEUSED", "HIGHESTORDERYDERIVATIVEUSED",
                                  "HIGHESTORDERZDERIVATIVEUSED", "INTEGRALS"})
                expected.push_back(std::string(p) + "/" + std::to_string(n++) + "/-1");
        }
    }
    std::vector<std::string> order;
    for (const qtvhost::AssignmentRecord& a : host.assignments) {
        order.push_back(a.targetName + "/" + std::to_string(a.value.Statement()) + "/" + std::to_string(a.pass));
        EXPECT_EQ(a.value.Arg(), 9);
        EXPECT_EQ(a.value.Level(), 3);
    }
    EXPECT_EQ(order, expected);
    // The first pass saw order 0: DDX's x set was {0}; the second the default 1.
    EXPECT_EQ(host.assignments[3].value.SetValue().SetSize(), 1);
    EXPECT_EQ(Members(fresh.ZR_DDX_SET1.v()), Range(0, g.EndNode(kX)));
}

// Each array is bound to its own sets, D2DY2's second dimension to the y
// domain's INTERIOR and D2DZ2's third to the z domain's: each follows a change
// of that set with no assignment of the distribution between, and a new link at
// the next SetDims.
TEST_F(Distribution3D, SetDimsBindsTheArraysAndFollowsTheInteriors) {
    grid::Grid3 g;
    g.Method("CFD2").Settle();
    ZR_DISTRIBUTION3D& d = g.dist;
    ZR_DOMAIN& y = g.Domain(kY);
    ZR_DOMAIN& z = g.Domain(kZ);
    const struct {
        ZR_Matrix& array;
        ZR_Set* sets[3];
    } bound[] = {
        {*d.VALUE, {&d.ZR_VALUE_SET1, &d.ZR_VALUE_SET2, &d.ZR_VALUE_SET3}},
        {d.DDX, {&d.ZR_DDX_SET1, &d.ZR_DDX_SET2, &d.ZR_DDX_SET3}},
        {d.DDY, {&d.ZR_DDY_SET1, &d.ZR_DDY_SET2, &d.ZR_DDY_SET3}},
        {d.DDZ, {&d.ZR_DDZ_SET1, &d.ZR_DDZ_SET2, &d.ZR_DDZ_SET3}},
        {d.D2DX2, {&d.ZR_D2DX2_SET1, &d.ZR_D2DX2_SET2, &d.ZR_D2DX2_SET3}},
        {d.D2DY2, {&d.ZR_D2DY2_SET1, &y.INTERIOR, &d.ZR_D2DY2_SET3}},
        {d.D2DZ2, {&d.ZR_D2DZ2_SET1, &d.ZR_D2DZ2_SET2, &z.INTERIOR}},
        {d.IDX, {&d.ZR_IDX_SET1, &d.ZR_IDX_SET2, &d.ZR_IDX_SET3}},
        {d.IDY, {&d.ZR_IDY_SET1, &d.ZR_IDY_SET2, &d.ZR_IDY_SET3}},
        {d.IDZ, {&d.ZR_IDZ_SET1, &d.ZR_IDZ_SET2, &d.ZR_IDZ_SET3}},
        {d.IDXDY, {&d.ZR_IDXDY_SET1, &d.ZR_IDXDY_SET2, &d.ZR_IDXDY_SET3}},
        {d.IDXDZ, {&d.ZR_IDXDZ_SET1, &d.ZR_IDXDZ_SET2, &d.ZR_IDXDZ_SET3}},
        {d.IDYDZ, {&d.ZR_IDYDZ_SET1, &d.ZR_IDYDZ_SET2, &d.ZR_IDYDZ_SET3}},
        {d.IDXDYDZ, {&d.ZR_IDXDYDZ_SET1, &d.ZR_IDXDYDZ_SET2, &d.ZR_IDXDYDZ_SET3}},
    };
    for (const auto& b : bound)
        for (int dim = 0; dim < 3; ++dim)
            EXPECT_EQ(b.array.DeclaredSet(dim), b.sets[dim]) << b.array.PropertyName() << " " << dim;

    for (ZR_DOMAIN* domain : {&y, &z}) {
        const int before = domain->ENDNODE.v();
        ASSERT_EQ(domain->NUMSECTIONS.SetUserValue(ZR_Value(3, 0)), 0);
        qtvhost::SettleAssignments(*domain);
        ASSERT_GT(domain->ENDNODE.v(), before + 1);
    }
    // The joints of the new sections are interior (order 1): only the ends are out.
    const int ye = y.ENDNODE.v();
    const int ze = z.ENDNODE.v();
    EXPECT_EQ(d.D2DY2.WhyNotHeld(d.D2DY2(0, ye - 1, 0)), "");
    EXPECT_NE(d.D2DY2.WhyNotHeld(d.D2DY2(0, ye, 0)), "");
    EXPECT_EQ(d.D2DZ2.WhyNotHeld(d.D2DZ2(0, 0, ze - 1)), "");
    EXPECT_NE(d.D2DZ2.WhyNotHeld(d.D2DZ2(0, 0, ze)), "");

    ZR_DOMAIN otherY;
    ZR_DOMAIN otherZ;
    qtvhost::SettleAssignments(otherY);
    qtvhost::SettleAssignments(otherZ);
    ASSERT_TRUE(d.YDOMAIN.Link(&otherY));
    ASSERT_TRUE(d.ZDOMAIN.Link(&otherZ));
    d.SetDims();
    EXPECT_EQ(d.D2DY2.DeclaredSet(1), &otherY.INTERIOR);
    EXPECT_EQ(d.D2DZ2.DeclaredSet(2), &otherZ.INTERIOR);
    EXPECT_EQ(d.D2DX2.DeclaredSet(0), &d.ZR_D2DX2_SET1);
}

// A domain the host never linked is never read: SetDims binds every array it
// can, the assignments report -1 and assign nothing, the walks declare nothing.
// (The walks run through the grid, which calls them as the host does.)
TEST_F(Distribution3D, AnUnlinkedDomainIsReportedNotRead) {
    auto expectBound = [](ZR_DISTRIBUTION3D& d, ZR_DOMAIN* y, ZR_DOMAIN* z) {
        EXPECT_EQ(d.DDZ.DeclaredSet(2), &d.ZR_DDZ_SET3);
        EXPECT_EQ(d.D2DX2.DeclaredSet(1), &d.ZR_D2DX2_SET2);
        EXPECT_EQ((*d.VALUE).DeclaredSet(0), &d.ZR_VALUE_SET1);
        EXPECT_EQ(d.IDXDYDZ.DeclaredSet(2), &d.ZR_IDXDYDZ_SET3);
        EXPECT_EQ(d.D2DY2.DeclaredSet(0), y ? &d.ZR_D2DY2_SET1 : nullptr);
        EXPECT_EQ(d.D2DY2.DeclaredSet(1), y ? &y->INTERIOR : nullptr);
        EXPECT_EQ(d.D2DZ2.DeclaredSet(0), z ? &d.ZR_D2DZ2_SET1 : nullptr);
        EXPECT_EQ(d.D2DZ2.DeclaredSet(2), z ? &z->INTERIOR : nullptr);
    };
    {
        ZR_DISTRIBUTION3D d;
        d.SetDims();
        expectBound(d, nullptr, nullptr);
        host.assignments.clear();
        EXPECT_EQ(d.ExecuteAssignments(1, 0), -1);
        EXPECT_TRUE(host.assignments.empty());
    }
    // Which of x, y, z stay linked: every pattern but all three.
    for (int mask = 0; mask < 7; ++mask) {
        SCOPED_TRACE(mask);
        grid::Grid3 g;
        g.Method("BFD1").Integrals({"idxdydz", "idz"}).Used(2).Settle();
        ZR_DISTRIBUTION3D& d = g.dist;
        ZR_ExternalBase* references[] = {&d.XDOMAIN, &d.YDOMAIN, &d.ZDOMAIN};
        for (int a = 0; a < 3; ++a) {
            if ((mask & (1 << a)) == 0) {
                ASSERT_TRUE(references[a]->Link(nullptr));
            }
        }
        d.SetDims();
        expectBound(d, (mask & 2) ? &g.Domain(kY) : nullptr, (mask & 4) ? &g.Domain(kZ) : nullptr);
        host.assignments.clear();
        EXPECT_EQ(d.ExecuteAssignments(1, 0), -1);
        EXPECT_TRUE(host.assignments.empty());
        g.Declare();
        EXPECT_EQ(g.setUpResult, -1);
        EXPECT_EQ(g.patternResult, -1);
        EXPECT_EQ(host.incidence.size(), g.firstIncidence);
        EXPECT_EQ(host.expressions.size(), g.firstExpression);
        EXPECT_TRUE(g.patternRows.empty());
        EXPECT_EQ(d.Book.PatternEntryCount, 0);
    }
}
