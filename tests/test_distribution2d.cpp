// The two-dimensional distribution's type: its members and their registration,
// the binding of its arrays, and the index sets and defaults its assignments
// give; a domain the host never linked is not read.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "connectivity/generic.h"
#include "distributions/two/distribution2d.h"
#include "grid.h"
#include "index_sets.h"
#include "linked_fixture.h"
#include "session.h"

using grid::kX;
using grid::kY;
using index_sets::Ints;
using index_sets::Members;
using index_sets::NodesWithEnds;
using index_sets::Range;
using index_sets::Within;

namespace {

class Distribution2D : public LinkedTest {};

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
    {"ZR_VALUE_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_VALUE_SET2", nullptr, ZR_DIR_NONE, 0},
    {"VALUE", "Variable value at a node point", ZR_DIR_NONE, 2},
    {"USERNOTES", nullptr, ZR_DIR_NONE, 0},
    {"INPUTSIGNAL", nullptr, ZR_DIR_INPUT, 0},
    {"OUTPUTSIGNAL", nullptr, ZR_DIR_OUTPUT, 0},
    {"HIGHESTORDERXDERIVATIVE", nullptr, ZR_DIR_NONE, 0},
    {"HIGHESTORDERYDERIVATIVE", nullptr, ZR_DIR_NONE, 0},
    {"HIGHESTORDERXDERIVATIVEUSED", nullptr, ZR_DIR_NONE, 0},
    {"HIGHESTORDERYDERIVATIVEUSED", nullptr, ZR_DIR_NONE, 0},
    {"INTEGRALS", "Integrals to be calculated. Valid values: idx, idy, idxdy", ZR_DIR_NONE, 0},
    {"ZR_DDX_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_DDX_SET2", nullptr, ZR_DIR_NONE, 0},
    {"DDX", "1st-order partial deriv wrt x", ZR_DIR_NONE, 0},
    {"ZR_DDY_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_DDY_SET2", nullptr, ZR_DIR_NONE, 0},
    {"DDY", "1st-order partial deriv wrt y", ZR_DIR_NONE, 0},
    {"ZR_D2DX2_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_D2DX2_SET2", nullptr, ZR_DIR_NONE, 0},
    {"D2DX2", "2nd-order partial deriv wrt x", ZR_DIR_NONE, 0},
    {"ZR_D2DY2_SET1", nullptr, ZR_DIR_NONE, 0},
    {"D2DY2", "2nd-order partial deriv wrt y", ZR_DIR_NONE, 0},
    {"ZR_IDX_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDX_SET2", nullptr, ZR_DIR_NONE, 0},
    {"IDX", "integral of distributed variable wrt x", ZR_DIR_NONE, 0},
    {"ZR_IDY_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDY_SET2", nullptr, ZR_DIR_NONE, 0},
    {"IDY", "integral of distributed variable wrt y", ZR_DIR_NONE, 0},
    {"ZR_IDXDY_SET1", nullptr, ZR_DIR_NONE, 0},
    {"ZR_IDXDY_SET2", nullptr, ZR_DIR_NONE, 0},
    {"IDXDY", "integral of distributed variable wrt x and y", ZR_DIR_NONE, 0},
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

// Two domains unlike each other: x a central-difference grid of two sections
// (with second derivatives its joint is no interior node), y one collocation
// section (with second derivatives only its collocation points are interior).
void Shape(grid::Grid2& g) { g.Method(kX, "CFD2").Sections(kX, 2).Method(kY, "OCFE3"); }

}  // namespace

TEST_F(Distribution2D, RegistersItsMembersInTheTablesOrderWithItselfOrItsOwner) {
    {
        ZR_DISTRIBUTION2D d;
        ExpectRegistrations(host.registrations, &d);
    }
    host.registrations.clear();
    ZR_GENERICMODEL owner;
    host.registrations.clear();
    {
        ZR_DISTRIBUTION2D d(true, &owner);
        ExpectRegistrations(host.registrations, &owner);
        EXPECT_EQ(d.Book.OwnerContainer, &owner);
    }
    host.registrations.clear();
    ZR_DISTRIBUTION2D quiet(false, &owner);
    EXPECT_TRUE(host.registrations.empty());
    EXPECT_EQ(quiet.Book.OwnerContainer, &owner);
}

TEST_F(Distribution2D, TypeId) {
    ZR_DISTRIBUTION2D d;
    EXPECT_STREQ(ZR_DISTRIBUTION2D::ZR_ContainerId(), "Model DISTRIBUTION2D\tV9");
    EXPECT_STREQ(d.ZR_DefaultDESCRIPTION(), "Model DISTRIBUTION2D\tV9");
    EXPECT_TRUE(d.ContainerDerivesFrom("model distribution2d\tv9"));
    EXPECT_FALSE(d.ContainerDerivesFrom("Model DISTRIBUTION1D\tV9"));
    EXPECT_FALSE(d.ContainerDerivesFrom("Model DISTRIBUTION2D"));
    double r[2] = {1, 2};
    EXPECT_EQ(d.Residuals(r, 2, 0), 0);
    EXPECT_EQ(d.Jacobian(r, 2, 0), 0);
    EXPECT_EQ(r[0], 1);
}

// For every derivative order per direction (taken from the domain as the
// default) and every choice of integrals: each of the fifteen sets as computed
// here from the domains' end nodes and interiors, and the five defaults.
TEST_F(Distribution2D, IndexSetsAndDefaultsOverOrdersAndIntegrals) {
    const std::vector<std::vector<std::string>> choices = {
        {}, {"idx"}, {"idy"}, {"idxdy"}, {"idx", "idy", "idxdy"}};
    for (int xo : {0, 1, 2}) {
        for (int yo : {0, 1, 2}) {
            for (const std::vector<std::string>& integrals : choices) {
                std::string name = "x " + std::to_string(xo) + ", y " + std::to_string(yo) + ",";
                for (const std::string& n : integrals) name += " " + n;
                SCOPED_TRACE(name);
                grid::Grid2 g;
                Shape(g);
                g.Highest(kX, xo).Highest(kY, yo);
                if (!integrals.empty()) g.Integrals(integrals);
                g.Settle();
                ZR_DISTRIBUTION2D& d = g.dist;

                EXPECT_EQ(d.HIGHESTORDERXDERIVATIVE.v(), xo);
                EXPECT_EQ(d.HIGHESTORDERYDERIVATIVE.v(), yo);
                EXPECT_EQ(d.HIGHESTORDERXDERIVATIVEUSED.v(), xo);
                EXPECT_EQ(d.HIGHESTORDERYDERIVATIVEUSED.v(), yo);
                ZR_SetValue chosen(static_cast<unsigned short>(ZR_SET_STRING));
                for (const std::string& n : integrals) chosen += n.c_str();
                EXPECT_EQ(d.INTEGRALS.v().ToText(), integrals.empty() ? "{\"None\"}" : chosen.ToText());

                const int xe = g.EndNode(kX);
                const int ye = g.EndNode(kY);
                ASSERT_GT(xe, 2);
                ASSERT_GT(ye, 2);
                const Ints xi = Members(g.Domain(kX).INTERIOR.v());
                auto has = [&](const char* n) {
                    for (const std::string& i : integrals)
                        if (i == n) return true;
                    return false;
                };
                const Ints none;
                const Ints ys = Range(0, ye);
                const struct {
                    const char* name;
                    ZR_INTEGERSET& set;
                    Ints expected;
                } sets[] = {
                    {"ZR_VALUE_SET1", d.ZR_VALUE_SET1, Range(0, xe)},
                    {"ZR_VALUE_SET2", d.ZR_VALUE_SET2, ys},
                    {"ZR_DDX_SET1", d.ZR_DDX_SET1, Range(0, xo > 0 ? xe : 0)},
                    {"ZR_DDX_SET2", d.ZR_DDX_SET2, ys},
                    {"ZR_DDY_SET1", d.ZR_DDY_SET1, Range(0, yo > 0 ? xe : 0)},
                    {"ZR_DDY_SET2", d.ZR_DDY_SET2, ys},
                    {"ZR_D2DX2_SET1", d.ZR_D2DX2_SET1, xo > 1 ? Within(xi, 1, xe) : none},
                    {"ZR_D2DX2_SET2", d.ZR_D2DX2_SET2, NodesWithEnds(g.Domain(kY))},
                    // {0}, not empty, when the y order is below 2.
                    {"ZR_D2DY2_SET1", d.ZR_D2DY2_SET1, yo > 1 ? NodesWithEnds(g.Domain(kX)) : Ints{0}},
                    {"ZR_IDX_SET1", d.ZR_IDX_SET1, has("idx") || has("idxdy") ? Range(0, xe) : none},
                    {"ZR_IDX_SET2", d.ZR_IDX_SET2, ys},
                    {"ZR_IDY_SET1", d.ZR_IDY_SET1, has("idy") ? Range(0, xe) : none},
                    {"ZR_IDY_SET2", d.ZR_IDY_SET2, ys},
                    {"ZR_IDXDY_SET1", d.ZR_IDXDY_SET1, has("idxdy") ? Range(0, xe) : none},
                    {"ZR_IDXDY_SET2", d.ZR_IDXDY_SET2, ys},
                };
                for (const auto& s : sets) EXPECT_EQ(Members(s.set.v()), s.expected) << s.name;
            }
        }
    }
}

// With second derivatives the domains leave joints and element ends out of
// their interiors, and the sets that carry an interior leave them out too.
TEST_F(Distribution2D, InteriorsWithHolesCarryTheirHoles) {
    grid::Grid2 g;
    Shape(g);
    g.Highest(2).Settle();
    const int joint = g.Section(kX, 2).BASE.v();
    EXPECT_FALSE(g.dist.ZR_D2DX2_SET1.v() >= joint);
    EXPECT_FALSE(g.dist.ZR_D2DY2_SET1.v() >= joint);
    EXPECT_TRUE(g.dist.ZR_D2DY2_SET1.v() >= 0);
    EXPECT_TRUE(g.dist.ZR_D2DY2_SET1.v() >= g.EndNode(kX));
    // OCFE3: an element's end is no collocation point, but node 0 and the end are in.
    EXPECT_FALSE(g.dist.ZR_D2DX2_SET2.v() >= 3);
    EXPECT_TRUE(g.dist.ZR_D2DX2_SET2.v() >= 0);
    EXPECT_TRUE(g.dist.ZR_D2DX2_SET2.v() >= g.EndNode(kY));
}

// A user's order or integrals hold over the defaults; the defaults of the
// highest orders still follow the domains.
TEST_F(Distribution2D, AUsersValuesBeatTheDefaults) {
    grid::Grid2 g;
    Shape(g);
    g.Highest(kX, 1).Highest(kY, 2).Used(kX, 2).Used(kY, 0).Integrals({"idy"}).Settle();
    ZR_DISTRIBUTION2D& d = g.dist;
    EXPECT_EQ(d.HIGHESTORDERXDERIVATIVE.v(), 1);
    EXPECT_EQ(d.HIGHESTORDERYDERIVATIVE.v(), 2);
    EXPECT_EQ(d.HIGHESTORDERXDERIVATIVEUSED.v(), 2);
    EXPECT_EQ(d.HIGHESTORDERYDERIVATIVEUSED.v(), 0);
    EXPECT_EQ(d.INTEGRALS.v().ToText(), "{\"idy\"}");
    const int xe = g.EndNode(kX);
    EXPECT_EQ(Members(d.ZR_D2DX2_SET1.v()), Within(Members(g.Domain(kX).INTERIOR.v()), 1, xe));
    EXPECT_EQ(Members(d.ZR_DDY_SET1.v()), Ints{0});
    EXPECT_EQ(Members(d.ZR_D2DY2_SET1.v()), Ints{0});
    EXPECT_EQ(Members(d.ZR_IDY_SET1.v()), Range(0, xe));
    EXPECT_TRUE(Members(d.ZR_IDX_SET1.v()).empty());
}

// An x domain without nodes: every integral's first dimension is {0}, chosen or
// not, since [0 : 0] and [0 : -0] are the same.
TEST_F(Distribution2D, AnXDomainWithoutNodesGivesNodeZero) {
    grid::Grid2 g;
    Shape(g);
    g.Integrals({"idy"}).Settle();
    g.Domain(kX).ENDNODE.SetUserValue(ZR_Value(0, 0));
    qtvhost::SettleAssignments(g.dist);
    for (ZR_INTEGERSET* s : {&g.dist.ZR_VALUE_SET1, &g.dist.ZR_IDX_SET1, &g.dist.ZR_IDY_SET1, &g.dist.ZR_IDXDY_SET1})
        EXPECT_EQ(Members(s->v()), Ints{0}) << s->PropertyName();
}

// The most negative end node a user could fix: -XE is not formed in int, the
// range that stands for an integral not chosen ends at the int limit, and the
// host refuses a range that large.
TEST_F(Distribution2D, TheIntegralFactorDoesNotOverflow) {
    grid::Grid2 g;
    Shape(g);
    g.Settle();
    ASSERT_EQ(g.Domain(kX).ENDNODE.SetUserValue(ZR_Value(INT_MIN, 0)), 0);
    qtvhost::SettleAssignments(g.dist);
    ASSERT_FALSE(host.errors.empty());
    for (const std::string& e : host.errors) EXPECT_NE(e.find("[0 : 2147483647]"), std::string::npos) << e;
    host.errors.clear();
    EXPECT_EQ(Members(g.dist.ZR_VALUE_SET1.v()), Ints{0});  // the host's [0 : INT_MIN] is {0}
    EXPECT_TRUE(Members(g.dist.ZR_IDX_SET1.v()).empty());
}

// One call: the fifteen sets from the values as they stood, the five defaults,
// then the fifteen again; every value carries its statement, arg and level, and
// the base runs one level down.
TEST_F(Distribution2D, OneAssignmentCallBuildsTheSetsTwiceAroundTheDefaults) {
    grid::Grid2 g;
    Shape(g);
    g.Highest(1).Settle();
    ZR_DISTRIBUTION2D fresh;
    ASSERT_TRUE(fresh.XDOMAIN.Link(&g.Domain(kX)));
    ASSERT_TRUE(fresh.YDOMAIN.Link(&g.Domain(kY)));
    fresh.SetDims();
    host.assignments.clear();
    host.baseCalls.clear();
    host.config.executeAssignmentsStatus = 7;
    EXPECT_EQ(fresh.ExecuteAssignments(3, 9), 7);
    ASSERT_FALSE(host.baseCalls.empty());
    EXPECT_EQ(host.baseCalls.front().kind, qtvhost::BaseCall::ExecuteAssignments);
    EXPECT_EQ(host.baseCalls.front().a, 2);
    EXPECT_EQ(host.baseCalls.front().b, 9);
    const std::vector<std::string> sets = {
        "ZR_VALUE_SET1", "ZR_VALUE_SET2", "ZR_DDX_SET1", "ZR_DDX_SET2", "ZR_DDY_SET1",
        "ZR_DDY_SET2", "ZR_D2DX2_SET1", "ZR_D2DX2_SET2", "ZR_D2DY2_SET1", "ZR_IDX_SET1",
        "ZR_IDX_SET2", "ZR_IDY_SET1", "ZR_IDY_SET2", "ZR_IDXDY_SET1", "ZR_IDXDY_SET2"};
    std::vector<std::string> expected;
    for (int pass : {0, 1}) {
        for (std::size_t i = 0; i < sets.size(); ++i)
            expected.push_back(sets[i] + "/" + std::to_string(i + 1) + "/" + std::to_string(pass));
        if (pass == 0) {
            int n = 16;
            for (const char* p : {"HIGHESTORDERXDERIVATIVE", "HIGHESTORDERYDERIVATIVE", "HIGHESTORDERXDERIVATIVEUSED",
                                  "HIGHESTORDERYDERIVATIVEUSED", "INTEGRALS"})
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
    EXPECT_EQ(host.assignments[2].value.SetValue().SetSize(), 1);
    EXPECT_EQ(Members(fresh.ZR_DDX_SET1.v()), Range(0, g.EndNode(kX)));
}

// Each array is bound to its own sets, D2DY2's second dimension to the y
// domain's INTERIOR itself: it follows a change of that set with no assignment
// of the distribution between, and a new link at the next SetDims.
TEST_F(Distribution2D, SetDimsBindsTheArraysAndD2DY2FollowsTheYInterior) {
    grid::Grid2 g;
    g.Method("CFD2").Settle();
    ZR_DISTRIBUTION2D& d = g.dist;
    const struct {
        ZR_Matrix& array;
        ZR_Set* first;
        ZR_Set* second;
    } bound[] = {
        {*d.VALUE, &d.ZR_VALUE_SET1, &d.ZR_VALUE_SET2}, {d.DDX, &d.ZR_DDX_SET1, &d.ZR_DDX_SET2},
        {d.DDY, &d.ZR_DDY_SET1, &d.ZR_DDY_SET2},        {d.D2DX2, &d.ZR_D2DX2_SET1, &d.ZR_D2DX2_SET2},
        {d.D2DY2, &d.ZR_D2DY2_SET1, &g.Domain(kY).INTERIOR}, {d.IDX, &d.ZR_IDX_SET1, &d.ZR_IDX_SET2},
        {d.IDY, &d.ZR_IDY_SET1, &d.ZR_IDY_SET2},        {d.IDXDY, &d.ZR_IDXDY_SET1, &d.ZR_IDXDY_SET2},
    };
    for (const auto& b : bound) {
        EXPECT_EQ(b.array.DeclaredSet(0), b.first) << b.array.PropertyName();
        EXPECT_EQ(b.array.DeclaredSet(1), b.second) << b.array.PropertyName();
    }

    ZR_DOMAIN& y = g.Domain(kY);
    const int before = y.ENDNODE.v();
    ASSERT_EQ(y.NUMSECTIONS.SetUserValue(ZR_Value(3, 0)), 0);
    qtvhost::SettleAssignments(y);
    const int after = y.ENDNODE.v();
    ASSERT_GT(after, before + 1);
    EXPECT_EQ(d.D2DY2.WhyNotHeld(d.D2DY2(0, after - 1)), "");
    EXPECT_NE(d.D2DY2.WhyNotHeld(d.D2DY2(0, after)), "");

    ZR_DOMAIN other;
    qtvhost::SettleAssignments(other);
    ASSERT_TRUE(d.YDOMAIN.Link(&other));
    d.SetDims();
    EXPECT_EQ(d.D2DY2.DeclaredSet(1), &other.INTERIOR);
    EXPECT_EQ(d.D2DY2.DeclaredSet(0), &d.ZR_D2DY2_SET1);
}

// A domain the host never linked is never read: SetDims binds every array it
// can, the assignments report -1 and assign nothing, the walks declare nothing.
// (The walks run through the grid, which calls them as the host does.)
TEST_F(Distribution2D, AnUnlinkedDomainIsReportedNotRead) {
    auto expectBound = [](ZR_DISTRIBUTION2D& d, ZR_DOMAIN* y) {
        EXPECT_EQ(d.DDX.DeclaredSet(0), &d.ZR_DDX_SET1);
        EXPECT_EQ(d.IDXDY.DeclaredSet(1), &d.ZR_IDXDY_SET2);
        EXPECT_EQ((*d.VALUE).DeclaredSet(1), &d.ZR_VALUE_SET2);
        EXPECT_EQ(d.D2DY2.DeclaredSet(0), y ? &d.ZR_D2DY2_SET1 : nullptr);
        EXPECT_EQ(d.D2DY2.DeclaredSet(1), y ? &y->INTERIOR : nullptr);
    };
    {
        ZR_DISTRIBUTION2D d;
        d.SetDims();
        expectBound(d, nullptr);
        host.assignments.clear();
        EXPECT_EQ(d.ExecuteAssignments(1, 0), -1);
        EXPECT_TRUE(host.assignments.empty());
    }
    for (int linked : {0, 1, 2}) {  // none, x only, y only: the others' links taken back
        SCOPED_TRACE(linked);
        grid::Grid2 g;
        g.Method("BFD1").Integrals({"idx", "idy", "idxdy"}).Used(2).Settle();
        ZR_DISTRIBUTION2D& d = g.dist;
        if (linked != 1) {
            ASSERT_TRUE(d.XDOMAIN.Link(nullptr));
        }
        if (linked != 2) {
            ASSERT_TRUE(d.YDOMAIN.Link(nullptr));
        }
        d.SetDims();
        expectBound(d, linked == 2 ? &g.Domain(kY) : nullptr);
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
