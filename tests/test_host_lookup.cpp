// The stand-in's lookups that a model library makes for every term of every
// equation: places in integer sets, texts compared without regard to case,
// equation names (array elements by index: the index-tuple tests). Each is
// checked against a plain model of what it must answer, whatever shortcut it takes.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "library.h"
#include "qtvexp.h"

using namespace testing_support;

namespace {

class HostLookup : public HostTest {};

SUValue SetOf(const std::vector<int>& values) {
    SUValue s;
    for (int v : values) s += v;
    return s;
}

std::vector<int> Members(const SUValue& s) {
    std::vector<int> out;
    for (int i = 0; i < s.SetSize(); ++i) out.push_back(s.IntegerAt(i));
    return out;
}

// Every member and its neighbours, every value in between on a narrow set, and
// the extremes of int, against the place std::lower_bound gives.
void ExpectPositionsAsBinarySearch(const std::vector<int>& sorted) {
    const SUValue s = SetOf(sorted);
    ASSERT_EQ(Members(s), sorted);
    std::vector<long long> probes = {INT_MIN, INT_MIN + 1, INT_MAX - 1, INT_MAX, 0};
    for (int v : sorted)
        for (long long d = -1; d <= 1; ++d) probes.push_back(v + d);
    if (!sorted.empty() && static_cast<long long>(sorted.back()) - sorted.front() < 100000)
        for (long long v = static_cast<long long>(sorted.front()) - 3; v <= static_cast<long long>(sorted.back()) + 3; ++v)
            probes.push_back(v);
    for (long long p : probes) {
        if (p < INT_MIN || p > INT_MAX) continue;
        const int v = static_cast<int>(p);
        const auto it = std::lower_bound(sorted.begin(), sorted.end(), v);
        int pos = -1;
        const int found = s.SetContains(v, pos);
        EXPECT_EQ(found != 0, it != sorted.end() && *it == v) << "value " << v;
        EXPECT_EQ(pos, it - sorted.begin()) << "value " << v;
    }
}

}  // namespace

TEST_F(HostLookup, PlacesInIntegerSetsAreThoseOfABinarySearch) {
    std::vector<int> range, odd, collocation, clustered;
    for (int i = -20; i <= 40; ++i) range.push_back(i);
    for (int i = 1; i < 80; i += 2) odd.push_back(i);
    for (int k = 0; k < 60; k += 3) {  // the collocation points of elements of three intervals
        collocation.push_back(k + 1);
        collocation.push_back(k + 2);
    }
    for (int i = 0; i < 30; ++i) clustered.push_back(i < 25 ? i : 1000 * i);  // a guess far off
    for (const std::vector<int>& sorted : {std::vector<int>{}, {7}, {-2, 9}, {INT_MIN, 0, INT_MAX}, range, odd,
                                           collocation, clustered})
        ExpectPositionsAsBinarySearch(sorted);
    std::mt19937 rng(11);
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<int> random;
        std::uniform_int_distribution<int> pick(-500, 500);
        for (int i = 0; i < trial * 7; ++i) random.push_back(pick(rng));
        std::sort(random.begin(), random.end());
        random.erase(std::unique(random.begin(), random.end()), random.end());
        ExpectPositionsAsBinarySearch(random);
    }
}

TEST_F(HostLookup, SetsOfAFewMembersAndOfManyCopyAndGrowAlike) {
    std::vector<int> model;
    SUValue s;
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> pick(-50, 50);
    for (int step = 0; step < 200; ++step) {
        const int v = pick(rng);
        s += v;
        if (std::find(model.begin(), model.end(), v) == model.end()) model.insert(std::lower_bound(model.begin(), model.end(), v), v);
        ASSERT_EQ(Members(s), model) << "after adding " << v;
        SUValue copy(s);
        EXPECT_TRUE(copy == s);
        SUValue assigned = SetOf({99, 100, 101, 102, 103});
        assigned = s;
        EXPECT_EQ(Members(assigned), model);
    }
    SUValue small = SetOf({3});
    SUValue large = s;
    large = small;
    EXPECT_EQ(Members(large), std::vector<int>{3});
    small = s;
    EXPECT_EQ(Members(small), model);
    const SUValue& alias = small;
    small = alias;
    EXPECT_EQ(Members(small), model);
    EXPECT_FALSE(SetOf({1, 2}) == SetOf({1, 3}));
    EXPECT_FALSE(SetOf({1}) == SetOf({1, 2}));
}

TEST_F(HostLookup, TextsComparedWithoutRegardToCaseOrderAsLowerCase) {
    EXPECT_EQ(SUValue::CompareCI("Backward", "BACKWARD"), 0);
    EXPECT_EQ(SUValue::CompareCI("", ""), 0);
    EXPECT_LT(SUValue::CompareCI("abc", "ABD"), 0);
    EXPECT_GT(SUValue::CompareCI("ABD", "abc"), 0);
    EXPECT_GT(SUValue::CompareCI("a", ""), 0);
    EXPECT_LT(SUValue::CompareCI("", "a"), 0);
    EXPECT_LT(SUValue::CompareCI("[", "A"), 0);  // '[' lies between 'Z' and 'a'
    EXPECT_NE(SUValue::CompareCI("\xC9", "\xE9"), 0);  // no folding beyond ASCII
    EXPECT_EQ(SUValue::CompareCI(nullptr, nullptr), 0);
    EXPECT_NE(SUValue::CompareCI("a", nullptr), 0);
}

TEST_F(HostLookup, EquationNamesAreTheTextsGivenWhereverTheyLie) {
    ZR_ModelTypeEx model;
    int count = 0;
    char buffer[16];
    // One buffer written anew for every equation, as a library that formats
    // its names might do.
    for (int n = 1; n <= 3; ++n) {
        std::snprintf(buffer, sizeof buffer, "ZR_Eqn%d", n);
        model.AddEquation(buffer, count, 1);
    }
    const std::string copy = "ZR_Eqn2";
    model.AddEquation(copy.c_str(), count, 1);
    model.AddEquation(static_cast<const char*>(nullptr), count, 1);
    ASSERT_EQ(host.expressions.size(), 5u);
    EXPECT_EQ(host.EquationName(host.expressions[0]), "ZR_Eqn1");
    EXPECT_EQ(host.EquationName(host.expressions[1]), "ZR_Eqn2");
    EXPECT_EQ(host.EquationName(host.expressions[2]), "ZR_Eqn3");
    EXPECT_EQ(host.expressions[3].nameId, host.expressions[1].nameId);
    EXPECT_EQ(host.EquationName(host.expressions[4]), "");
    EXPECT_EQ(host.equationNames.size(), 4u);
}
