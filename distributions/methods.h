// The ten discretisation methods, in the order in which every distribution tests
// them; a domain names one of them in its DISCRETIZATIONMETHOD.
#pragma once

enum ZR_MethodIndex { kBfd1, kBfd2, kFfd1, kFfd2, kCfd2, kCfd4, kUbfd4, kOcfe2, kOcfe3, kOcfe4, kMethodCount };

inline constexpr const char* kZR_MethodNames[kMethodCount] = {"BFD1",  "BFD2",  "FFD1",  "FFD2",  "CFD2",
                                                              "CFD4",  "UBFD4", "OCFE2", "OCFE3", "OCFE4"};

// The methods in that order, for per-method lists: X(name, index).
#define ORVANE_METHODS(X) \
    X(Bfd1, kBfd1) X(Bfd2, kBfd2) X(Ffd1, kFfd1) X(Ffd2, kFfd2) X(Cfd2, kCfd2) X(Cfd4, kCfd4) X(Ubfd4, kUbfd4) \
    X(Ocfe2, kOcfe2) X(Ocfe3, kOcfe3) X(Ocfe4, kOcfe4)
