// ZRQuilt: a procedure library holding the routine INTERP, which interpolates a
// table piecewise-linearly and returns the exact derivatives of the result.
//
// Inputs, in argument order: x (real), the abscissae X (real array), the
// ordinates Y (real array) and an integer that INTERP does not use. Output: y.
// Offsets count from 0: INTERP follows the C convention.
//
// ifail on return: 0 success; 1 fewer than two points, or X and Y of different
// lengths; 2 X not strictly increasing; 3 x outside [X first, X last]. On failure
// nothing else is written.
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "qtvexp/procedure_call.h"

#if defined(_WIN32)
#  define ZRQUILT_EXPORT __declspec(dllexport)
#else
#  define ZRQUILT_EXPORT __attribute__((visibility("default")))
#endif

using std::int32_t;

namespace {

enum { kOk = 0, kTooFewPoints = 1, kNotIncreasing = 2, kOutside = 3 };

// y on the segment [X[i], X[i+1]] that holds x, as y = Y[i] + t (Y[i+1] - Y[i])
// with t = (x - X[i]) / (X[i+1] - X[i]).
struct Segment {
    int i;
    double h;      // X[i+1] - X[i]
    double slope;  // (Y[i+1] - Y[i]) / h
    double t;
};

int Locate(double x, const double* X, int n, Segment& s) {
    if (n < 2) return kTooFewPoints;
    for (int k = 1; k < n; ++k)
        if (!(X[k] > X[k - 1])) return kNotIncreasing;
    if (!(x >= X[0] && x <= X[n - 1])) return kOutside;  // NaN is outside too
    int i = 0;
    while (i < n - 2 && X[i + 1] <= x) ++i;
    s.i = i;
    s.h = X[i + 1] - X[i];
    s.t = (x - X[i]) / s.h;
    s.slope = 0.0;
    return kOk;
}

// dy/d(input value c), c 1-based over x, X[0..n-1], Y[0..n-1], the integer.
double Derivative(int c, int n, const Segment& s) {
    if (c == 1) return s.slope;
    const int ix = c - 2;
    if (ix == s.i) return -s.slope * (1.0 - s.t);
    if (ix == s.i + 1) return -s.slope * s.t;
    const int iy = c - 2 - n;
    if (iy == s.i) return 1.0 - s.t;
    if (iy == s.i + 1) return s.t;
    return 0.0;
}

}  // namespace

extern "C" ZRQUILT_EXPORT void ZR_STDCALL INTERP(int32_t* /*callType*/, double* in, int32_t* inSizes, double* out,
                                                 int32_t* /*outSizes*/, int32_t* inOffsets, int32_t* outOffsets,
                                                 int32_t* /*hostWord*/, double* /*hostReals*/,
                                                 int32_t* /*hostCount*/, int32_t* derivCount, int32_t* rows,
                                                 int32_t* cols, int32_t* /*scratch*/, double* derivs,
                                                 int32_t* ifail) {
    const int n = inSizes[0];
    const double x = in[inOffsets[0]];
    const double* X = in + inOffsets[1];
    const double* Y = in + inOffsets[2];
    Segment s{};
    const int status = n == inSizes[1] ? Locate(x, X, n, s) : kTooFewPoints;
    if (status != kOk) {
        *ifail = status;
        return;
    }
    s.slope = (Y[s.i + 1] - Y[s.i]) / s.h;
    out[outOffsets[0]] = Y[s.i] + s.t * (Y[s.i + 1] - Y[s.i]);
    for (int k = 0; k < *derivCount; ++k) derivs[k] = rows[k] == 1 ? Derivative(cols[k], n, s) : 0.0;
    *ifail = kOk;
}

static_assert(std::is_same<decltype(&INTERP), ZR_Procedure13>::value, "INTERP must be callable as the host calls it");
