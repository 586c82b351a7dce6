// The two- and three-dimensional distributions' types, one typed suite for
// both: their members and their registration, the binding of their arrays, and
// the index sets and defaults their assignments give; a domain the host never
// linked is not read.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include "connectivity/generic.h"
#include "grid.h"
#include "index_sets.h"
#include "linked_fixture.h"
#include "session.h"

using grid::kX;
using grid::kY;
using grid::kZ;
using index_sets::Built;
using index_sets::Ints;
using index_sets::Members;
using index_sets::NodesWithEnds;
using index_sets::Range;
using index_sets::Within;

namespace {

// Each type's arrays by name, in the order of the registration table.
using Arrays = std::vector<std::pair<std::string, ZR_Matrix*>>;

template <class D>
struct Type;

template <>
struct Type<ZR_DISTRIBUTION2D> {
    using Grid = grid::Grid2;
    static Arrays Of(ZR_DISTRIBUTION2D& d) {
        return {{"VALUE", &*d.VALUE}, {"DDX", &d.DDX}, {"DDY", &d.DDY}, {"D2DX2", &d.D2DX2},
                {"D2DY2", &d.D2DY2},  {"IDX", &d.IDX}, {"IDY", &d.IDY}, {"IDXDY", &d.IDXDY}};
    }
};

template <>
struct Type<ZR_DISTRIBUTION3D> {
    using Grid = grid::Grid3;
    static Arrays Of(ZR_DISTRIBUTION3D& d) {
        return {{"VALUE", &*d.VALUE}, {"DDX", &d.DDX},     {"DDY", &d.DDY},     {"DDZ", &d.DDZ},
                {"D2DX2", &d.D2DX2},  {"D2DY2", &d.D2DY2}, {"D2DZ2", &d.D2DZ2}, {"IDX", &d.IDX},
                {"IDY", &d.IDY},      {"IDZ", &d.IDZ},     {"IDXDY", &d.IDXDY}, {"IDXDZ", &d.IDXDZ},
                {"IDYDZ", &d.IDYDZ},  {"IDXDYDZ", &d.IDXDYDZ}};
    }
};

template <class D>
class DistributionTypes : public LinkedTest {
protected:
    using Grid = typename Type<D>::Grid;
    static constexpr int kDimensions = std::is_same_v<D, ZR_DISTRIBUTION2D> ? 2 : 3;
};

struct DimensionName {
    template <class D>
    static std::string GetName(int) {
        return std::is_same_v<D, ZR_DISTRIBUTION2D> ? "2D" : "3D";
    }
};

using Distributions = ::testing::Types<ZR_DISTRIBUTION2D, ZR_DISTRIBUTION3D>;
TYPED_TEST_SUITE(DistributionTypes, Distributions, DimensionName);

const std::map<std::string, std::string> kDescriptions = {
    {"VALUE", "Variable value at a node point"},
    {"DDX", "1st-order partial deriv wrt x"},
    {"DDY", "1st-order partial deriv wrt y"},
    {"DDZ", "1st-order partial deriv wrt z"},
    {"D2DX2", "2nd-order partial deriv wrt x"},
    {"D2DY2", "2nd-order partial deriv wrt y"},
    {"D2DZ2", "2nd-order partial deriv wrt z"},
    {"IDX", "integral of distributed variable wrt x"},
    {"IDY", "integral of distributed variable wrt y"},
    {"IDZ", "integral of distributed variable wrt z"},
    {"IDXDY", "integral of distributed variable wrt x and y"},
    {"IDXDZ", "integral of distributed variable wrt x and z"},
    {"IDYDZ", "integral of distributed variable wrt y and z"},
    {"IDXDYDZ", "integral of distributed variable wrt x, y and z"},
};

// A second derivative along y or z has that domain's INTERIOR itself as its
// dimension of that axis: the axis, else -1.
int InteriorAxis(const std::string& array) {
    return array.rfind("D2D", 0) == 0 && array[3] != 'X' ? array[3] - 'X' : -1;
}

// A registration as the table writes it: name, "description", direction, via
// (0 ZR_Type, 1 ZR_ExternalBase, 2 ZR_VirtualBase).
std::string Entry(const std::string& name, const char* description = nullptr, int direction = ZR_DIR_NONE,
                  int via = 0) {
    return name + (description ? " \"" + std::string(description) + "\"" : "") + " " + std::to_string(direction) +
           " " + std::to_string(via);
}

// The registration table: the domains, VALUE after its sets, the notes, the
// signals, the orders and INTEGRALS, then every other array after its own sets.
template <class D>
std::vector<std::string> Registrations(D& d) {
    const std::string axes = std::string("XYZ").substr(0, Type<D>::Of(d)[0].second->Dimensions());
    std::vector<std::string> out;
    for (char a : axes) out.push_back(Entry(a + std::string("DOMAIN"), nullptr, ZR_DIR_NONE, 1));
    for (const auto& [array, m] : Type<D>::Of(d)) {
        for (int k = 0; k < static_cast<int>(axes.size()); ++k)
            if (k != InteriorAxis(array)) out.push_back(Entry("ZR_" + array + "_SET" + std::to_string(k + 1)));
        out.push_back(Entry(array, kDescriptions.at(array).c_str(), ZR_DIR_NONE, array == "VALUE" ? 2 : 0));
        if (array != "VALUE") continue;
        out.push_back(Entry("USERNOTES"));
        out.push_back(Entry("INPUTSIGNAL", nullptr, ZR_DIR_INPUT));
        out.push_back(Entry("OUTPUTSIGNAL", nullptr, ZR_DIR_OUTPUT));
        for (const char* used : {"", "USED"})
            for (char a : axes) out.push_back(Entry("HIGHESTORDER" + std::string(1, a) + "DERIVATIVE" + used));
        std::string valid = "Integrals to be calculated. Valid values:";
        for (const std::string& n : index_sets::IntegralNames(static_cast<int>(axes.size())))
            valid += (n == "idx" ? " " : ", ") + n;
        out.push_back(Entry("INTEGRALS", valid.c_str()));
    }
    return out;
}

template <class D>
void ExpectRegistrations(D& d, const ZR_Container* owner) {
    const std::vector<std::string> expected = Registrations(d);
    const std::vector<qtvhost::Registration>& got = qtvhost::Host::Get().registrations;
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        const qtvhost::Registration& r = got[i];
        EXPECT_EQ(Entry(r.name, r.hasDescription ? r.description.c_str() : nullptr, r.direction, r.via), expected[i]);
        EXPECT_FALSE(r.flag) << r.name;
        EXPECT_EQ(r.owner, owner) << r.name;
        // Only the signal ports are not exported.
        if (const auto* type = dynamic_cast<const ZR_Type*>(r.member)) {
            EXPECT_EQ(type->IsToBeExported(), r.direction == ZR_DIR_NONE) << r.name;
        }
    }
}

// A member of the distribution by the name it registered; null when none.
template <class T>
T* Member(const ZR_Container& d, const std::string& name) {
    for (const qtvhost::Registration& r : qtvhost::Host::Get().registrations)
        if (r.owner == &d && r.name == name) return dynamic_cast<T*>(const_cast<ZR_Containable*>(r.member));
    return nullptr;
}
ZR_Set* OwnSet(const ZR_Container& d, const std::string& array, int k) {
    return Member<ZR_Set>(d, "ZR_" + array + "_SET" + std::to_string(k + 1));
}
ZR_ExternalBase& Reference(const ZR_Container& d, int axis) {
    return *Member<ZR_ExternalBase>(d, std::string(1, "XYZ"[axis]) + "DOMAIN");
}
int Order(const ZR_Container& d, int axis, bool used) {
    return Member<ZR_INTEGERPARAMETER>(d, "HIGHESTORDER" + std::string(1, "XYZ"[axis]) + "DERIVATIVE" +
                                              (used ? "USED" : ""))->v();
}

// Each array bound to its own sets, a second derivative along y or z to that
// domain's INTERIOR, and to nothing at all while that domain is unlinked (null).
template <class D>
void ExpectBound(D& d, const std::vector<ZR_DOMAIN*>& domains) {
    for (const auto& [array, m] : Type<D>::Of(d)) {
        const int interior = InteriorAxis(array);
        for (int k = 0; k < static_cast<int>(domains.size()); ++k) {
            const ZR_Set* expected = OwnSet(d, array, k);
            if (interior >= 0) {
                if (domains[interior] == nullptr) {
                    expected = nullptr;
                } else if (k == interior) {
                    expected = &domains[k]->INTERIOR;
                }
            }
            EXPECT_EQ(m->DeclaredSet(k), expected) << array << " dimension " << k + 1;
        }
    }
}

// What each of the distribution's own sets holds for the orders used and the
// integrals chosen: the first dimension runs over x as far as the array's own
// order or choice asks, the others over their domains' nodes, a second
// derivative's over {0} ∪ INTERIOR ∪ {ENDNODE}.
template <class G>
void ExpectSets(G& g, const std::vector<int>& used, const std::vector<std::string>& chosen) {
    const int xe = g.EndNode(kX);
    int own = 0;
    for (const auto& [array, m] : Type<decltype(g.dist)>::Of(g.dist)) {
        const bool second = array.rfind("D2D", 0) == 0;
        for (int k = 0; k < g.Dimensions(); ++k) {
            if (k == InteriorAxis(array)) continue;
            Ints expected;
            if (k > 0) {
                expected = second ? NodesWithEnds(g.Domain(k)) : Range(0, g.EndNode(k));
            } else if (array == "VALUE") {
                expected = Range(0, xe);
            } else if (array.rfind("DD", 0) == 0) {
                expected = Range(0, used[array[2] - 'X'] > 0 ? xe : 0);
            } else if (array == "D2DX2") {
                expected = used[kX] > 1 ? Within(Members(g.Domain(kX).INTERIOR.v()), 1, xe) : Ints{};
            } else if (second) {  // {0}, not empty, when the order along y or z is below 2
                expected = used[array[3] - 'X'] > 1 ? NodesWithEnds(g.Domain(kX)) : Ints{0};
            } else {
                expected = Built(array, chosen) ? Range(0, xe) : Ints{};
            }
            const ZR_Set* set = OwnSet(g.dist, array, k);
            ASSERT_NE(set, nullptr) << array << " dimension " << k + 1;
            EXPECT_EQ(Members(set->fv()), expected) << set->PropertyName();
            ++own;
        }
    }
    EXPECT_EQ(own, g.Dimensions() == 2 ? 15 : 40);
}

// Domains unlike each other: x of two CFD2 sections, y of one OCFE3 section,
// z of two UBFD4 sections; with second derivatives each leaves its joints or
// element ends out of its interior.
grid::Grid& Shape(grid::Grid& g) {
    g.Method(kX, "CFD2").Sections(kX, 2).Method(kY, "OCFE3");
    return g.Dimensions() == 3 ? g.Method(kZ, "UBFD4").Sections(kZ, 2) : g;
}

}  // namespace

TYPED_TEST(DistributionTypes, RegistersItsMembersInTheTablesOrderWithItselfOrItsOwner) {
    {
        TypeParam d;
        ExpectRegistrations(d, &d);
    }
    ZR_GENERICMODEL owner;
    this->host.registrations.clear();
    {
        TypeParam d(true, &owner);
        ExpectRegistrations(d, &owner);
        EXPECT_EQ(d.Book.OwnerContainer, &owner);
    }
    this->host.registrations.clear();
    TypeParam quiet(false, &owner);
    EXPECT_TRUE(this->host.registrations.empty());
    EXPECT_EQ(quiet.Book.OwnerContainer, &owner);
}

TYPED_TEST(DistributionTypes, TypeIdAndTheTextInSetTest) {
    const std::string n = std::to_string(this->kDimensions);
    const std::string id = "Model DISTRIBUTION" + n + "D\tV9";
    TypeParam d;
    EXPECT_EQ(TypeParam::ZR_ContainerId(), id);
    EXPECT_EQ(d.ZR_DefaultDESCRIPTION(), id);
    EXPECT_TRUE(d.ContainerDerivesFrom(("model distribution" + n + "d\tv9").c_str()));
    EXPECT_FALSE(d.ContainerDerivesFrom(("Model DISTRIBUTION" + std::to_string(this->kDimensions - 1) + "D\tV9").c_str()));
    EXPECT_FALSE(d.ContainerDerivesFrom(("Model DISTRIBUTION" + n + "D").c_str()));
    double r[2] = {1, 2};
    EXPECT_EQ(d.Residuals(r, 2, 0), 0);
    EXPECT_EQ(d.Jacobian(r, 2, 0), 0);
    EXPECT_EQ(r[0], 1);

    // Exactly 1 or 0, which the sets' bounds are formed from.
    ZR_SetValue chosen(static_cast<unsigned short>(ZR_SET_STRING));
    chosen += "idx";
    chosen += "idxdy";
    for (const std::string& name : index_sets::IntegralNames(this->kDimensions)) {
        EXPECT_EQ(SetContainsString(name.c_str(), chosen), name == "idx" || name == "idxdy" ? 1 : 0) << name;
        EXPECT_EQ(SetContainsString(name.c_str(), ZR_StrSetValue("None\"")), 0) << name;
    }
}

// For every highest derivative order per direction and every choice of
// integrals (none, each alone, all): every own index set and the defaults. The
// orders used follow the highest ones, except with every integral, where the
// user fixes others, which hold.
TYPED_TEST(DistributionTypes, IndexSetsAndDefaultsOverOrdersAndIntegrals) {
    const int dims = this->kDimensions;
    const std::vector<std::string> names = index_sets::IntegralNames(dims);
    std::vector<std::vector<std::string>> choices = {{}};
    for (const std::string& n : names) choices.push_back({n});
    choices.push_back(names);
    for (int orders = 0; orders < (dims == 2 ? 9 : 27); ++orders) {
        const std::vector<int> o = {orders % 3, orders / 3 % 3, orders / 9};
        for (const std::vector<std::string>& integrals : choices) {
            std::string label = "orders " + std::to_string(o[0]) + std::to_string(o[1]) + std::to_string(o[2]) + ":";
            for (const std::string& n : integrals) label += " " + n;
            SCOPED_TRACE(label);
            const bool user = integrals.size() > 1;
            std::vector<int> used = o;
            typename TestFixture::Grid g;
            Shape(g);
            for (int a = 0; a < dims; ++a) {
                g.Highest(a, o[a]);
                if (user) g.Used(a, used[a] = 2 - o[a]);
            }
            if (!integrals.empty()) g.Integrals(integrals);
            g.Settle();
            for (int a = 0; a < dims; ++a) {
                EXPECT_EQ(Order(g.dist, a, false), o[a]);
                EXPECT_EQ(Order(g.dist, a, true), used[a]);
                ASSERT_GT(g.EndNode(a), 2);
                // Holes for the sets that carry an interior to carry.
                if (o[a] == 2) {
                    ASSERT_LT(NodesWithEnds(g.Domain(a)).size(), static_cast<std::size_t>(g.EndNode(a)) + 1);
                }
            }
            ZR_SetValue text(static_cast<unsigned short>(ZR_SET_STRING));
            for (const std::string& n : integrals) text += n.c_str();
            EXPECT_EQ(g.dist.INTEGRALS.v().ToText(), integrals.empty() ? "{\"None\"}" : text.ToText());
            ExpectSets(g, used, integrals);
        }
    }
}

// An x domain without nodes: every integral's first dimension is {0}, chosen or
// not, since [0 : 0] and [0 : -0] are the same. The most negative end node a
// user could fix: -XE is not formed in int, the range that stands for an
// integral not chosen ends at the int limit, and the host refuses it.
TYPED_TEST(DistributionTypes, ExtremeXEndNodes) {
    typename TestFixture::Grid g;
    Shape(g).Integrals({"idy"}).Settle();
    ASSERT_EQ(g.Domain(kX).ENDNODE.SetUserValue(ZR_Value(0, 0)), 0);
    qtvhost::SettleAssignments(g.dist);
    for (const auto& [array, m] : Type<TypeParam>::Of(g.dist)) {
        if (array == "VALUE" || array[0] == 'I') {
            EXPECT_EQ(Members(m->DeclaredSet(0)->fv()), Ints{0}) << array;
        }
    }

    ASSERT_EQ(g.Domain(kX).ENDNODE.SetUserValue(ZR_Value(INT_MIN, 0)), 0);
    qtvhost::SettleAssignments(g.dist);
    ASSERT_FALSE(this->host.errors.empty());
    for (const std::string& e : this->host.errors) EXPECT_NE(e.find("[0 : 2147483647]"), std::string::npos) << e;
    this->host.errors.clear();
    EXPECT_EQ(Members(g.dist.ZR_VALUE_SET1.v()), Ints{0});  // the host's [0 : INT_MIN] is {0}
    EXPECT_EQ(Members(g.dist.ZR_IDY_SET1.v()), Ints{0});
    EXPECT_TRUE(Members(g.dist.ZR_IDX_SET1.v()).empty());
}

// One call: the sets from the values as they stood, the defaults, then the
// sets again; every value carries its statement, arg and level, and the base
// runs one level down.
TYPED_TEST(DistributionTypes, OneAssignmentCallBuildsTheSetsTwiceAroundTheDefaults) {
    typename TestFixture::Grid g;
    Shape(g).Highest(1).Settle();
    TypeParam fresh;
    for (int a = 0; a < this->kDimensions; ++a) ASSERT_TRUE(Reference(fresh, a).Link(&g.Domain(a)));
    fresh.SetDims();
    this->host.assignments.clear();
    this->host.baseCalls.clear();
    this->host.config.executeAssignmentsStatus = 7;
    EXPECT_EQ(fresh.ExecuteAssignments(3, 9), 7);
    ASSERT_FALSE(this->host.baseCalls.empty());
    EXPECT_EQ(this->host.baseCalls.front().kind, qtvhost::BaseCall::ExecuteAssignments);
    EXPECT_EQ(this->host.baseCalls.front().a, 2);
    EXPECT_EQ(this->host.baseCalls.front().b, 9);
    // The sets in statement order: their registration order.
    std::vector<std::string> sets, defaults;
    for (const std::string& entry : Registrations(fresh)) {
        const std::string name = entry.substr(0, entry.find(' '));
        if (name.rfind("ZR_", 0) == 0) sets.push_back(name);
        if (name.rfind("HIGHEST", 0) == 0 || name == "INTEGRALS") defaults.push_back(name);
    }
    std::vector<std::string> expected;
    for (int pass : {0, 1}) {
        for (std::size_t i = 0; i < sets.size(); ++i)
            expected.push_back(sets[i] + "/" + std::to_string(i + 1) + "/" + std::to_string(pass));
        for (std::size_t i = 0; pass == 0 && i < defaults.size(); ++i)
            expected.push_back(defaults[i] + "/" + std::to_string(sets.size() + i + 1) + "/-1");
    }
    std::vector<std::string> order;
    for (const qtvhost::AssignmentRecord& a : this->host.assignments) {
        order.push_back(a.targetName + "/" + std::to_string(a.value.Statement()) + "/" + std::to_string(a.pass));
        EXPECT_EQ(a.value.Arg(), 9);
        EXPECT_EQ(a.value.Level(), 3);
    }
    EXPECT_EQ(order, expected);
    // The first pass saw order 0: DDX's x set was {0}; the second the default 1.
    EXPECT_EQ(this->host.assignments[this->kDimensions].value.SetValue().SetSize(), 1);
    EXPECT_EQ(Members(fresh.ZR_DDX_SET1.v()), Range(0, g.EndNode(kX)));
}

// A second derivative along y or z follows a change of that domain's INTERIOR
// with no assignment of the distribution between, and a new link at the next
// SetDims.
TYPED_TEST(DistributionTypes, SetDimsBindsTheArraysAndFollowsTheInteriors) {
    typename TestFixture::Grid g;
    g.Method("CFD2").Settle();
    TypeParam& d = g.dist;
    std::vector<ZR_DOMAIN*> domains;
    for (int a = 0; a < this->kDimensions; ++a) domains.push_back(&g.Domain(a));
    ExpectBound(d, domains);

    for (int a = kY; a < this->kDimensions; ++a) {
        ZR_DOMAIN& domain = g.Domain(a);
        const int before = domain.ENDNODE.v();
        ASSERT_EQ(domain.NUMSECTIONS.SetUserValue(ZR_Value(3, 0)), 0);
        qtvhost::SettleAssignments(domain);
        const int end = domain.ENDNODE.v();
        ASSERT_GT(end, before + 1);
        // The joints of the new sections are interior (order 1): only the ends are out.
        const std::string array = std::string("D2D") + "XYZ"[a] + "2";
        for (const grid::ArrayView& view : g.Arrays()) {
            if (view.name != array) continue;
            int at[3] = {0, 0, 0};
            at[a] = end - 1;
            EXPECT_EQ(Member<ZR_Matrix>(d, array)->WhyNotHeld(view.element(d, at)), "");
            at[a] = end;
            EXPECT_NE(Member<ZR_Matrix>(d, array)->WhyNotHeld(view.element(d, at)), "");
        }
    }

    std::vector<ZR_DOMAIN> others(this->kDimensions);
    for (int a = kY; a < this->kDimensions; ++a) {
        ZR_DOMAIN& other = others[a];
        qtvhost::SettleAssignments(other);
        ASSERT_TRUE(Reference(d, a).Link(&other));
        domains[a] = &other;
    }
    d.SetDims();
    ExpectBound(d, domains);
}

// A domain the host never linked is never read: SetDims binds every array it
// can, the assignments report -1 and assign nothing, the walks declare nothing.
// (The walks run through the grid, which calls them as the host does.)
TYPED_TEST(DistributionTypes, AnUnlinkedDomainIsReportedNotRead) {
    const int dims = this->kDimensions;
    // Which domains stay linked: every pattern but all.
    for (int mask = 0; mask < (1 << dims) - 1; ++mask) {
        SCOPED_TRACE(mask);
        typename TestFixture::Grid g;
        g.Method("BFD1").Integrals(index_sets::IntegralNames(dims)).Used(2).Settle();
        TypeParam& d = g.dist;
        std::vector<ZR_DOMAIN*> linked;
        for (int a = 0; a < dims; ++a) {
            linked.push_back((mask & (1 << a)) ? &g.Domain(a) : nullptr);
            if (!linked.back()) {
                ASSERT_TRUE(Reference(d, a).Link(nullptr));
            }
        }
        d.SetDims();
        ExpectBound(d, linked);
        this->host.assignments.clear();
        EXPECT_EQ(d.ExecuteAssignments(1, 0), -1);
        EXPECT_TRUE(this->host.assignments.empty());
        g.Declare();
        EXPECT_EQ(g.setUpResult, -1);
        EXPECT_EQ(g.patternResult, -1);
        EXPECT_EQ(this->host.incidence.size(), g.firstIncidence);
        EXPECT_EQ(this->host.expressions.size(), g.firstExpression);
        EXPECT_TRUE(g.patternRows.empty());
        EXPECT_EQ(d.Book.PatternEntryCount, 0);
    }
}
