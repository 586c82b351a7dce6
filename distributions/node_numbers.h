// Node numbers are sums of counts that a user may have fixed to anything, so
// they are formed wide and saturated where they reach the host.
#pragma once
#include <climits>

#include "qtvexp.h"

inline int ZR_Node(long long x) {
    if (x == static_cast<int>(x)) return static_cast<int>(x);
    return x > 0 ? INT_MAX : INT_MIN;
}

// Whether node n, and every node a walk forms within `reach` of it, is an int.
inline bool ZR_NodeWithin(long long n, long long reach) { return n >= INT_MIN + reach && n <= INT_MAX - reach; }

// The one-element set {n} that an element is visited through: its first node.
inline ZR_IntSetValue ZR_OnlyNode(long long n) {
    ZR_IntSetValue only(static_cast<const char*>(nullptr));
    only += ZR_Node(n);
    return only;
}
