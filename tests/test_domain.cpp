// Node placement of the domains, reached the host's way: an instance from its
// factory, the user's values fixed by path, the assignments run until they
// settle, every field read back through the host.
#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "index_sets.h"
#include "library.h"

using namespace testing_support;
using index_sets::Members;
using index_sets::Range;
using qtvhost::DriveError;
using qtvhost::ResolvePath;
using qtvhost::SetParameter;
using qtvhost::SettleAssignments;

namespace {

// How the node placement treats a method: NUMPOLYPOINTS 0 with one node per
// element, the five finite-difference methods whose grid is uniform whatever
// NUMPOLYPOINTS is, or orthogonal collocation with elements NUMPOLYPOINTS + 1
// spacings wide.
enum class Kind { OneSided, Uniform, Collocation };

struct Method {
    const char* name;
    int min;             // MINNODECOUNT
    int minStatement;
    int npp;             // NUMPOLYPOINTS; 0 and unassigned for BFD1 and FFD1
    int nppStatement;    // 0: not assigned; the points follow it
    std::vector<double> points;
    int nodeCount;       // NODECOUNT of a section eight preferred spacings long
    Kind kind;
};

const std::vector<Method>& Methods() {
    static const std::vector<Method> methods = {
        {"BFD1", 2, 6, 0, 0, {}, 8, Kind::OneSided},
        {"BFD2", 2, 6, 1, 11, {0.5}, 8, Kind::Uniform},
        {"FFD1", 2, 6, 0, 0, {}, 8, Kind::OneSided},
        {"FFD2", 2, 6, 1, 11, {0.5}, 8, Kind::Uniform},
        {"CFD2", 2, 6, 1, 11, {0.5}, 8, Kind::Uniform},
        {"CFD4", 4, 8, 3, 20, {0.25, 0.5, 0.75}, 8, Kind::Uniform},
        {"UBFD4", 4, 8, 3, 20, {0.25, 0.5, 0.75}, 8, Kind::Uniform},
        {"OCFE2", 2, 6, 1, 9, {0.5}, 8, Kind::Collocation},
        {"OCFE3", 3, 7, 2, 13, {0.21132, 0.78868}, 9, Kind::Collocation},
        {"OCFE4", 4, 8, 3, 16, {0.1127, 0.5, 0.8873}, 8, Kind::Collocation},
    };
    return methods;
}

const Method& MethodNamed(const std::string& name) {
    for (const Method& m : Methods())
        if (SUValue::CompareCI(m.name, name.c_str()) == 0) return m;
    throw std::runtime_error("no method " + name);
}

using Settings = std::vector<std::pair<std::string, std::string>>;

ZR_VarParamProp& Field(ZR_Container& root, const std::string& path) {
    auto* field = dynamic_cast<ZR_VarParamProp*>(ResolvePath(root, path));
    if (field == nullptr) throw DriveError(path + " holds no value");
    return *field;
}

int Int(ZR_Container& root, const std::string& path) { return Field(root, path).Integer(); }
double Real(ZR_Container& root, const std::string& path) { return Field(root, path).Real(); }
int Statement(ZR_Container& root, const std::string& path) { return Field(root, path).AssignedStatement(); }

std::vector<int> Ints(ZR_Container& root, const std::string& path) {
    auto* set = dynamic_cast<ZR_Set*>(&Field(root, path));
    if (set == nullptr) throw DriveError(path + " is no set");
    return Members(set->fv());
}

std::string Sec(int i, const char* field) { return "SECTION(" + std::to_string(i) + ")." + field; }
std::string Node(int k) { return "VALUE(" + std::to_string(k) + ")"; }

int SlotCount(ZR_Container& root, const std::string& path) {
    auto* array = dynamic_cast<ZR_Matrix*>(ResolvePath(root, path));
    if (array == nullptr) throw DriveError(path + " is no array");
    return array->SlotCount();
}

// Whether any host error so far says `what`.
bool Reported(const std::string& what) {
    for (const std::string& e : qtvhost::Host::Get().errors)
        if (e.find(what) != std::string::npos) return true;
    return false;
}

class Domains : public HostTest {
protected:
    // A domain with the user's values, its assignments settled.
    qtvhost::InstanceRef Settled(const Settings& settings, const char* type = "DOMAIN", int* runs = nullptr) {
        auto domain = Make(type);
        for (const auto& [path, text] : settings) SetParameter(*domain, path, text);
        const int n = SettleAssignments(*domain);
        if (runs) *runs = n;
        return domain;
    }

    // One more run of the assignments, as the host would make: true when it
    // changed any value.
    bool RunChangesSomething(ZR_ModelType& domain) {
        domain.SetDims();
        host.BeginAssignmentRun(&domain);
        domain.ExecuteAssignments(1, 0);
        return host.EndAssignmentRun();
    }
};

// The sections follow one another from node 0, each whole elements and at least
// the least count, and ENDNODE closes the last; gives ENDNODE.
int ExpectSectionsChained(ZR_Container& d, const Method& m, int ns) {
    int next = 0;
    for (int i = 1; i <= ns; ++i) {
        const int nc = Int(d, Sec(i, "NODECOUNT"));
        EXPECT_EQ(Int(d, Sec(i, "BASE")), next) << i;
        EXPECT_GE(nc, m.min) << i;
        EXPECT_EQ(nc % (m.npp + 1), 0) << i;
        next += nc;
    }
    EXPECT_EQ(Int(d, "ENDNODE"), next);
    return next;
}

// A value and the statement that assigned it.
void ExpectValue(ZR_Container& d, const std::string& path, double value, int statement, double tolerance = 0.0) {
    EXPECT_NEAR(Real(d, path), value, tolerance) << path;
    EXPECT_EQ(Statement(d, path), statement) << path;
}

// What the node placement must give for sections eight preferred spacings long,
// every double exactly as the statements form it: over a length of 0.9 and five
// sections another order of the same operations gives other doubles.
void ExpectGrid(ZR_ModelType& d, const Method& m, int ns, int hod, double L = 1.0) {
    const int nc = m.nodeCount;
    const int width = m.npp + 1;
    const bool uniform = m.kind == Kind::Uniform;
    const bool collocation = m.kind == Kind::Collocation;
    const bool collocationPointsOnly = hod > 1 && collocation;

    ExpectValue(d, "MINNODECOUNT", m.min, m.minStatement);
    ExpectValue(d, "NUMPOLYPOINTS", m.npp, m.nppStatement);
    for (int p = 1; p <= m.npp; ++p) ExpectValue(d, "POLYPOINT(" + std::to_string(p) + ")", m.points[p - 1], m.nppStatement + p);
    EXPECT_EQ(Ints(d, "ZR_POLYPOINT_SET1"), Range(1, m.npp));
    ExpectValue(d, "HIGHESTORDERDERIVATIVE", hod, 24);
    if (L == 1.0) ExpectValue(d, "LENGTH", 1.0, 4);  // else the user's
    const double sp = (L * 0.125) / ns;
    ExpectValue(d, "SPACINGPREFERENCE", sp, 5);
    EXPECT_EQ(Ints(d, "ZR_SECTION_SET1"), Range(1, ns));
    std::vector<double> loc(ns + 2, 0.0);
    for (int i = 2; i <= ns; ++i) loc[i] = 0.0 + ((i - 1) * L) / ns;

    ExpectValue(d, Node(0), 0.0, 44);
    std::vector<int> unionOfSections;
    for (int i = 1; i <= ns; ++i) {
        SCOPED_TRACE("section " + std::to_string(i));
        const int base = (i - 1) * nc;
        const double len = i == ns ? (0.0 + L) - loc[i] : loc[i + 1] - loc[i];
        const double used = len / nc;
        const double el = collocation ? width * used : used;
        ExpectValue(d, Sec(i, "LOCATION"), loc[i], i == 1 ? 25 : 26);
        ExpectValue(d, Sec(i, "SPACINGPREFERENCE"), sp, 27);
        ExpectValue(d, Sec(i, "LENGTH"), len, i == ns ? 28 : 29);
        ExpectValue(d, Sec(i, "NODECOUNT"), nc, 31);
        ExpectValue(d, Sec(i, "BASE"), base, i == 1 ? 33 : 32);
        ExpectValue(d, Sec(i, "SPACINGUSED"), used, 34);
        ExpectValue(d, Sec(i, "NUMELEMENTS"), nc / width, 35);
        ExpectValue(d, Sec(i, "ELEMENTLENGTH"), el, collocation ? 37 : 36);
        std::vector<int> interior;
        for (int j = 1; j < nc; ++j)
            if (!collocationPointsOnly || j % width != 0) interior.push_back(base + j);
        EXPECT_EQ(Ints(d, Sec(i, "INTERIOR")), interior);
        EXPECT_EQ(Statement(d, Sec(i, "INTERIOR")), hod <= 1 ? 40 : collocationPointsOnly ? 39 : 38);
        unionOfSections.insert(unionOfSections.end(), interior.begin(), interior.end());
        // Node j of element e is its point p, the element's end its point 1,
        // (e + 1) - 1 being e exactly; a joint ends the section before.
        for (int j = 1; j <= nc; ++j) {
            const int e = (j - 1) / width + 1, p = (j - 1) % width + 1;
            const double point = p <= m.npp ? m.points[p - 1] : 1.0;
            const double x = uniform ? loc[i] + (((e + point) - 1.0) * el) * width : loc[i] + ((e + point) - 1.0) * el;
            ExpectValue(d, Node(base + j), x, (uniform ? 45 : 47) + (p == width));
        }
    }

    const int endnode = ns * nc;
    ExpectValue(d, "ENDNODE", endnode, 43);
    EXPECT_EQ(Ints(d, "INTERIOR"), hod <= 1 ? Range(1, endnode - 1) : unionOfSections);
    EXPECT_EQ(Statement(d, "INTERIOR"), hod <= 1 ? 42 : 41);
    EXPECT_EQ(Ints(d, "ZR_VALUE_SET1"), Range(0, endnode));
}

}  // namespace

TEST_F(Domains, EveryMethodPlacesItsNodes) {
    struct Shape {
        int ns, hod;
        const char* length;  // null: the default
    };
    const Shape shapes[] = {{1, 1, nullptr}, {1, 2, nullptr}, {2, 1, nullptr}, {2, 2, nullptr},
                            {3, 1, nullptr}, {3, 2, nullptr}, {5, 1, "0.9"}};
    for (const Method& m : Methods()) {
        for (const Shape& s : shapes) {
            SCOPED_TRACE(std::string(m.name) + ", " + std::to_string(s.ns) + " sections, HOD " +
                         std::to_string(s.hod) + (s.length ? std::string(", length ") + s.length : ""));
            Settings settings = {{"DISCRETIZATIONMETHOD", m.name}, {"NUMSECTIONS", std::to_string(s.ns)}};
            if (s.hod > 1) settings.push_back({"HIGHESTORDERDERIVATIVE", std::to_string(s.hod)});
            if (s.length) settings.push_back({"LENGTH", s.length});
            int runs = 0;
            auto d = Settled(settings, "DOMAIN", &runs);
            // A section's length reads the next section's location before the
            // run assigns it: two sections or more need a second run.
            EXPECT_EQ(runs, s.ns == 1 ? 2 : 3);
            ExpectGrid(*d, m, s.ns, s.hod, s.length ? std::stod(s.length) : 1.0);
            EXPECT_FALSE(RunChangesSomething(*d));
        }
    }
}

// Whatever the method, the number of sections, the length, the spacings asked
// for and the locations fixed by the user, the grid keeps its shape.
TEST_F(Domains, InvariantsHoldForAnyInput) {
    std::mt19937 random(20240607);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    auto chance = [&](double p) { return uniform(0.0, 1.0) < p; };
    auto text = [](double x) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", x);
        return std::string(buf);
    };
    for (int trial = 0; trial < 250; ++trial) {
        const Method& m = Methods()[random() % Methods().size()];
        std::string name = m.name;
        for (char& c : name)
            if (chance(0.3)) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const int ns = 1 + static_cast<int>(random() % 4);
        const double length = uniform(0.05, 20.0);
        const double start = chance(0.3) ? uniform(-5.0, 5.0) : 0.0;
        const int hod = chance(0.5) ? 1 : 2 + static_cast<int>(random() % 2);
        Settings settings = {{"DISCRETIZATIONMETHOD", name},
                             {"NUMSECTIONS", std::to_string(ns)},
                             {"LENGTH", text(length)}};
        if (chance(0.7)) settings.push_back({"SPACINGPREFERENCE", text(length / ns / uniform(0.3, 25.0))});
        if (hod > 1) settings.push_back({"HIGHESTORDERDERIVATIVE", std::to_string(hod)});
        if (start != 0.0) settings.push_back({Sec(1, "LOCATION"), text(start)});
        for (int i = 2; i <= ns; ++i)
            if (chance(0.3))  // between the neighbours' own locations
                settings.push_back({Sec(i, "LOCATION"), text(start + uniform(i - 1.4, i - 0.6) * length / ns)});
        for (int i = 1; i <= ns; ++i)
            if (chance(0.3)) settings.push_back({Sec(i, "SPACINGPREFERENCE"), text(length / ns / uniform(0.3, 25.0))});
        std::string trace = "trial " + std::to_string(trial) + ":";
        for (const auto& [path, value] : settings) trace += " " + path + "=" + value;
        SCOPED_TRACE(trace);

        int runs = 0;
        auto d = Settled(settings, "DOMAIN", &runs);
        EXPECT_LE(runs, 3);
        const double tolerance = 1e-12 * (1.0 + std::fabs(start) + length);
        const int width = m.npp + 1;
        EXPECT_EQ(Int(*d, "NUMPOLYPOINTS"), m.npp);
        const int endnode = ExpectSectionsChained(*d, m, ns);
        double lengths = 0.0;
        std::vector<int> joints, sectionInteriors;
        for (int i = 1; i <= ns; ++i) {
            SCOPED_TRACE("section " + std::to_string(i));
            const int nc = Int(*d, Sec(i, "NODECOUNT"));
            const int base = Int(*d, Sec(i, "BASE"));
            if (i > 1) joints.push_back(base);
            // nn rounded half away from zero, then up to a whole number of elements.
            const double len = Real(*d, Sec(i, "LENGTH"));
            const int nn = static_cast<int>(std::round(len / Real(*d, Sec(i, "SPACINGPREFERENCE"))));
            const int expected = nn < m.min ? m.min : (nn + width - 1) / width * width;
            EXPECT_EQ(nc, expected);
            EXPECT_EQ(Int(*d, Sec(i, "NUMELEMENTS")) * width, nc);
            lengths += len;
            EXPECT_NEAR(Real(*d, Node(base)), Real(*d, Sec(i, "LOCATION")), tolerance);
            const std::vector<int> interior = Ints(*d, Sec(i, "INTERIOR"));
            sectionInteriors.insert(sectionInteriors.end(), interior.begin(), interior.end());
        }
        EXPECT_NEAR(lengths, length, tolerance);
        EXPECT_NEAR(Real(*d, Node(endnode)), start + length, tolerance);
        for (int k = 1; k <= endnode; ++k) EXPECT_LT(Real(*d, Node(k - 1)), Real(*d, Node(k))) << k;

        // A second derivative leaves out the joints, or all but the collocation points.
        std::vector<int> interior;
        for (int k = 1; k < endnode; ++k) {
            const bool joint = std::find(joints.begin(), joints.end(), k) != joints.end();
            if (hod < 2 || (m.kind == Kind::Collocation ? k % width != 0 : !joint)) interior.push_back(k);
        }
        EXPECT_EQ(Ints(*d, "INTERIOR"), interior);
        if (hod >= 2) {
            EXPECT_EQ(sectionInteriors, interior);
        }
        EXPECT_FALSE(RunChangesSomething(*d));
    }
}

TEST_F(Domains, RoundingEdges) {
    struct Case {
        const char* method;
        const char* length;  // over a spacing of 1
        int nodeCount;
        int statement;
    };
    const Case cases[] = {
        {"BFD1", "8.5", 9, 31},   // halves go up
        {"BFD1", "2.5", 3, 31},
        {"BFD2", "8.5", 10, 31},  // then up to a whole number of elements
        {"OCFE3", "7.5", 9, 31},
        {"OCFE3", "8", 9, 31},
        {"OCFE3", "9", 9, 31},
        {"OCFE3", "10", 12, 31},
        {"OCFE3", "9.5", 12, 31},
        {"BFD1", "1", 2, 30},     // below the least count: the least count itself
        {"OCFE3", "1.4", 3, 30},
        {"CFD4", "3.4", 4, 30},
        {"CFD4", "3.5", 4, 31},   // nn 4 is not below the least count
        {"OCFE4", "0", 4, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.method) + " " + c.length);
        auto d = Settled({{"DISCRETIZATIONMETHOD", c.method}, {"LENGTH", c.length}, {"SPACINGPREFERENCE", "1"}});
        ExpectValue(*d, Sec(1, "NODECOUNT"), c.nodeCount, c.statement);
        EXPECT_EQ(Int(*d, "ENDNODE"), c.nodeCount);
    }
    // A least count the user fixed is taken as it is, not rounded to elements.
    auto d = Settled({{"DISCRETIZATIONMETHOD", "BFD2"}, {"SPACINGPREFERENCE", "1"}, {"MINNODECOUNT", "5"}});
    EXPECT_EQ(Int(*d, Sec(1, "NODECOUNT")), 5);
    EXPECT_EQ(Int(*d, Sec(1, "NUMELEMENTS")), 2);
}

TEST_F(Domains, AValueFromAnEarlierMethodDoesNotStay) {
    auto d = Settled({{"DISCRETIZATIONMETHOD", "CFD4"}, {"NUMSECTIONS", "2"}});
    SetParameter(*d, "DISCRETIZATIONMETHOD", "BFD1");
    SettleAssignments(*d);
    ExpectGrid(*d, MethodNamed("BFD1"), 2, 1);  // NUMPOLYPOINTS unassigned, no points
    EXPECT_FALSE(Field(*d, "POLYPOINT(1)").HasAssignedValue());

    // A name in another letter case is kept as typed and is the same method.
    SetParameter(*d, "DISCRETIZATIONMETHOD", "ocfe3");
    SettleAssignments(*d);
    EXPECT_STREQ(Field(*d, "DISCRETIZATIONMETHOD").String(), "ocfe3");
    ExpectGrid(*d, MethodNamed("OCFE3"), 2, 1);

    // An unknown name is refused and changes nothing.
    EXPECT_THROW(SetParameter(*d, "DISCRETIZATIONMETHOD", "OCFE5"), DriveError);
    EXPECT_TRUE(Reported("is not one of the valid values"));
    EXPECT_STREQ(Field(*d, "DISCRETIZATIONMETHOD").String(), "ocfe3");
    EXPECT_THROW(SetParameter(*d, "NUMSECTIONS", "0"), DriveError);
    EXPECT_THROW(SetParameter(*d, "NUMPOLYPOINTS", "-1"), DriveError);
    EXPECT_THROW(SetParameter(*d, "ELEMENTBOUNDARYCONDITION", "Sideways"), DriveError);
    EXPECT_EQ(Int(*d, "NUMSECTIONS"), 2);
    host.errors.clear();
    EXPECT_FALSE(RunChangesSomething(*d));
}

TEST_F(Domains, NamedDomainsPlaceTheSameNodesOneLevelLower) {
    const Settings settings = {{"DISCRETIZATIONMETHOD", "OCFE4"}, {"NUMSECTIONS", "3"}, {"HIGHESTORDERDERIVATIVE", "2"}};
    auto plain = Settled(settings);
    const std::vector<qtvhost::AssignmentRecord> reference = host.assignments;
    ASSERT_FALSE(reference.empty());
    for (const qtvhost::AssignmentRecord& a : reference) EXPECT_EQ(a.value.Level(), 1) << a.targetName;
    for (const char* type : {"LENGTHDOMAIN", "ANGLEDOMAIN"}) {
        SCOPED_TRACE(type);
        host.baseCalls.clear();
        auto named = Settled(settings, type);
        EXPECT_STREQ(named->ZR_DefaultDESCRIPTION(), (std::string("Model ") + type + "\tV9").c_str());
        ASSERT_EQ(host.assignments.size(), reference.size());
        for (std::size_t i = 0; i < reference.size(); ++i) {
            const qtvhost::AssignmentRecord& a = host.assignments[i];
            SCOPED_TRACE(a.targetName);
            EXPECT_EQ(a.targetName, reference[i].targetName);
            EXPECT_TRUE(a.value.SameValue(reference[i].value));
            EXPECT_EQ(a.value.Statement(), reference[i].value.Statement());
            EXPECT_EQ(a.pass, reference[i].pass);
            EXPECT_EQ(a.value.Level(), 0);
        }
        // The host base hears of the assignments two levels down.
        for (const qtvhost::BaseCall& c : host.baseCalls)
            if (c.kind == qtvhost::BaseCall::ExecuteAssignments) {
                EXPECT_EQ(c.a, -1);
            }
        ExpectGrid(*named, MethodNamed("OCFE4"), 3, 2);
    }
}

// Lengths, spacings and locations that make no grid: the host is told what it
// cannot hold, and otherwise the domain keeps its shape; nothing traps.
TEST_F(Domains, BadLengthsAndSpacingsNeverBreakTheDomain) {
    const char* bad[] = {"0", "-1", "inf", "-inf", "nan", "1e308", "-1e-300", "1e-300"};
    const char* fields[] = {"LENGTH", "SPACINGPREFERENCE", "SECTION(2).SPACINGPREFERENCE", "SECTION(2).LOCATION",
                            "SECTION(1).LOCATION"};
    for (const char* method : {"BFD1", "OCFE3", "CFD4"}) {
        for (const char* field : fields) {
            for (const char* value : bad) {
                SCOPED_TRACE(std::string(method) + " " + field + "=" + value);
                auto d = Make("DOMAIN");
                SetParameter(*d, "DISCRETIZATIONMETHOD", method);
                SetParameter(*d, "NUMSECTIONS", "3");
                SetParameter(*d, field, value);
                try {
                    SettleAssignments(*d);
                } catch (const DriveError&) {
                    ADD_FAILURE() << "did not settle";
                }
                if (!host.errors.empty()) {
                    // Only a count too large to hold is refused.
                    EXPECT_TRUE(Reported("larger than the host can hold"));
                    EXPECT_LT(SlotCount(*d, "VALUE"), 1000);
                    host.errors.clear();
                    continue;
                }
                const int endnode = ExpectSectionsChained(*d, MethodNamed(method), 3);
                for (int k = 0; k <= endnode; ++k) EXPECT_NE(Statement(*d, Node(k)), 0) << k;
            }
        }
    }
}

TEST_F(Domains, CountsBeyondTheIntRangeSaturate) {
    // Every section asks for more nodes than an int holds.
    auto d = Settled({{"NUMSECTIONS", "3"}, {"SPACINGPREFERENCE", "1e-300"}, {"DISCRETIZATIONMETHOD", "OCFE3"}});
    EXPECT_EQ(Int(*d, Sec(1, "NODECOUNT")), INT_MAX);
    EXPECT_EQ(Int(*d, Sec(3, "BASE")), INT_MAX);
    EXPECT_EQ(Int(*d, "ENDNODE"), INT_MAX);
    EXPECT_TRUE(Ints(*d, "INTERIOR").empty());
    EXPECT_LT(SlotCount(*d, "VALUE"), 10);  // no element range could be built
    EXPECT_TRUE(Reported("larger than the host can hold"));
    host.errors.clear();

    // Counts the user fixed at the ends of the int range.
    const Settings extremes[] = {
        {{"MINNODECOUNT", "2147483647"}},
        {{"MINNODECOUNT", "-5"}, {"LENGTH", "-1"}, {"SPACINGPREFERENCE", "0.1"}},
        {{"MINNODECOUNT", "-2147483647"}, {"LENGTH", "-1"}, {"SPACINGPREFERENCE", "1e-300"}},
        {{"NUMPOLYPOINTS", "2147483647"}},
        {{"HIGHESTORDERDERIVATIVE", "2147483647"}, {"DISCRETIZATIONMETHOD", "OCFE2"}},
        {{"HIGHESTORDERDERIVATIVE", "-2147483648"}},
        {{"NUMSECTIONS", "2147483647"}},
    };
    for (const Settings& settings : extremes) {
        SCOPED_TRACE(settings[0].first + "=" + settings[0].second);
        auto e = Make("DOMAIN");
        for (const auto& [path, value] : settings) SetParameter(*e, path, value);
        SettleAssignments(*e);
        // A negative count gives empty ranges, however far below zero it lies.
        if (Int(*e, Sec(1, "NODECOUNT")) < 0) {
            EXPECT_TRUE(Ints(*e, Sec(1, "INTERIOR")).empty());
            EXPECT_TRUE(Ints(*e, "INTERIOR").empty());
            EXPECT_TRUE(Ints(*e, "ZR_VALUE_SET1").empty());
        }
        host.errors.clear();
    }
}

TEST_F(Domains, NodeCountsTheHostCannotHoldAreRefusedWithoutEnormousAllocation) {
    auto refused = [&](const std::string& what) {
        EXPECT_TRUE(Reported(what));
        host.errors.clear();
        host.config = qtvhost::HostConfig();
    };
    {
        SCOPED_TRACE("a range beyond the host's largest");
        auto d = Settled({{"SPACINGPREFERENCE", "1e-9"}});
        EXPECT_EQ(Int(*d, "ENDNODE"), 1000000000);
        EXPECT_EQ(SlotCount(*d, "VALUE"), 1);
        EXPECT_TRUE(Ints(*d, "ZR_VALUE_SET1").empty());
        refused("[1 : 999999999] is larger than the host can hold");
    }
    {
        SCOPED_TRACE("more element slots than an array may have");
        host.config.maxArraySlots = 100;
        auto d = Settled({{"SPACINGPREFERENCE", "0.001"}});
        EXPECT_EQ(Int(*d, "ENDNODE"), 1000);
        EXPECT_LE(SlotCount(*d, "VALUE"), 100);
        refused("element slots is larger than the host can hold");
    }
    // The node budgets end in an element end node, an inner node and a point.
    struct Budget {
        Settings settings;
        int kiB;
        const char* array;
    };
    const Budget budgets[] = {
        {{{"DISCRETIZATIONMETHOD", "BFD1"}, {"SPACINGPREFERENCE", "1e-5"}}, 256, "VALUE"},
        {{{"DISCRETIZATIONMETHOD", "OCFE4"}, {"SPACINGPREFERENCE", "1e-5"}}, 256, "VALUE"},
        {{{"DISCRETIZATIONMETHOD", "OCFE4"}, {"SPACINGPREFERENCE", "1e-5"}}, 257, "VALUE"},
        {{{"DISCRETIZATIONMETHOD", "UBFD4"}, {"SPACINGPREFERENCE", "1e-5"}}, 19, "VALUE"},
        {{{"NUMSECTIONS", "1000000"}}, 1024, "SECTION"},
    };
    for (const Budget& b : budgets) {
        SCOPED_TRACE(b.settings[0].second + " in " + std::to_string(b.kiB) + " KiB");
        auto d = Make("DOMAIN");
        for (const auto& [path, value] : b.settings) SetParameter(*d, path, value);
        const long long budget = host.Heap().liveBytes + b.kiB * 1024LL;
        host.config.maxHeapBytes = budget;
        SettleAssignments(*d);
        EXPECT_LE(host.Heap().liveBytes, budget);
        EXPECT_LT(SlotCount(*d, b.array), 1000);
        refused("the host heap cannot hold");
    }
    {
        // The heap refuses the first collocation point: the placement stops
        // there, and nothing that needs the points is assigned.
        SCOPED_TRACE("a collocation point the heap cannot give");
        auto d = Settled({});  // everything but the points exists
        SetParameter(*d, "DISCRETIZATIONMETHOD", "OCFE3");
        host.config.maxHeapBytes = host.Heap().liveBytes;
        SettleAssignments(*d);
        EXPECT_EQ(Statement(*d, "NUMPOLYPOINTS"), 13);
        EXPECT_EQ(Statement(*d, "HIGHESTORDERDERIVATIVE"), 0);
        EXPECT_EQ(Statement(*d, "SECTION(1).NODECOUNT"), 0);
        EXPECT_EQ(Statement(*d, "ENDNODE"), 0);
        refused("the host heap cannot hold");
    }
}

// Values the host's checks would refuse, fixed past them: the domain must still
// do nothing undefined with them.
TEST_F(Domains, ZeroSectionsAndUnknownMethodsPastTheHostsChecks) {
    for (int sections : {0, -3}) {
        SCOPED_TRACE(sections);
        auto d = Make("DOMAIN");
        qtvhost::Host::FixUnchecked(Field(*d, "NUMSECTIONS"), ZR_Value(sections, 0));
        ASSERT_EQ(Int(*d, "NUMSECTIONS"), sections);
        SettleAssignments(*d);
        EXPECT_TRUE(Ints(*d, "ZR_SECTION_SET1").empty());
        EXPECT_EQ(Int(*d, "ENDNODE"), 0);
        EXPECT_TRUE(Ints(*d, "INTERIOR").empty());
        EXPECT_EQ(Real(*d, Node(0)), 0.0);
    }
    {
        // Neither least count nor points: the section takes nn intervals as they
        // are, one node per element.
        auto d = Make("DOMAIN");
        qtvhost::Host::FixUnchecked(Field(*d, "DISCRETIZATIONMETHOD"), ZR_Value("XYZ", 0));
        SetParameter(*d, "NUMSECTIONS", "2");
        SettleAssignments(*d);
        EXPECT_FALSE(Field(*d, "MINNODECOUNT").HasAssignedValue());
        EXPECT_FALSE(Field(*d, "NUMPOLYPOINTS").HasAssignedValue());
        EXPECT_EQ(Int(*d, Sec(2, "NODECOUNT")), 8);
        EXPECT_EQ(Statement(*d, Sec(2, "ELEMENTLENGTH")), 36);
        EXPECT_EQ(Int(*d, "ENDNODE"), 16);
        for (int k = 0; k <= 16; ++k) ExpectValue(*d, Node(k), k / 16.0, k == 0 ? 44 : 48, 1e-15);
        // With the points of an earlier method the elements are NUMPOLYPOINTS + 1 wide.
        SetParameter(*d, "NUMPOLYPOINTS", "1");
        SettleAssignments(*d);
        EXPECT_EQ(Statement(*d, Sec(1, "ELEMENTLENGTH")), 37);
        // A section too short for one interval has none; its spacing divides by zero.
        SetParameter(*d, "LENGTH", "0.001");
        SetParameter(*d, "SPACINGPREFERENCE", "1");
        SettleAssignments(*d);
        EXPECT_EQ(Int(*d, Sec(1, "NODECOUNT")), 0);
        EXPECT_EQ(Int(*d, "ENDNODE"), 0);
        EXPECT_TRUE(std::isinf(Real(*d, Sec(1, "SPACINGUSED"))));
    }
}
