// Integer sets as the distributions' index-set tests write their expectations:
// plain vectors in ascending order, built from ranges and from a domain's nodes.
#pragma once
#include <set>
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

}  // namespace index_sets
