// Integer sets and integrals as the distributions' tests write their
// expectations: plain vectors in ascending order, built from ranges and from a
// domain's nodes; which integral arrays a choice of integrals builds.
#pragma once
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "domains/domain.h"

namespace index_sets {

using Ints = std::vector<int>;

inline Ints Members(const SUValue& value) {
    Ints out;
    for (int i = 0; i < value.SetSize(); ++i) out.push_back(value.IntegerAt(i));
    return out;
}

// [lo : hi], empty when hi < lo.
inline Ints Range(int lo, int hi) {
    Ints out;
    for (long long i = lo; i <= hi; ++i) out.push_back(static_cast<int>(i));
    return out;
}

// The members of `a` that lie in [lo : hi].
inline Ints Within(const Ints& a, int lo, int hi) {
    Ints out;
    for (int n : a)
        if (n >= lo && n <= hi) out.push_back(n);
    return out;
}

// {0} ∪ INTERIOR ∪ {ENDNODE} of a settled domain, read from its members.
inline Ints NodesWithEnds(ZR_DOMAIN& domain) {
    std::set<int> all{0, domain.ENDNODE.v()};
    for (int n : Members(domain.INTERIOR.v())) all.insert(n);
    return Ints(all.begin(), all.end());
}

// The integral choices of a distribution of two or three dimensions, in the
// order of their arrays.
inline std::vector<std::string> IntegralNames(int dimensions) {
    if (dimensions == 2) return {"idx", "idy", "idxdy"};
    return {"idx", "idy", "idz", "idxdy", "idxdz", "idydz", "idxdydz"};
}

// Whether a choice of integrals builds an integral array (either case): a
// nested integral is built through the integrals it starts with, so IDX for
// "idxdz" too.
inline bool Built(const std::string& array, const std::vector<std::string>& chosen) {
    auto upper = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return s;
    };
    for (const std::string& name : chosen)
        if (upper(name).rfind(upper(array), 0) == 0) return true;
    return false;
}

}  // namespace index_sets
