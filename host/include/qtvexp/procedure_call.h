// How the host and a procedure library call a procedure routine: sixteen pointer
// arguments in the standard-call convention. Only 32-bit Windows has a choice of
// conventions; every other platform has one, and the macro stays empty there.
#pragma once
#include <cstdint>

#if defined(_WIN32) && (defined(__i386__) || defined(_M_IX86))
#  define ZR_STDCALL __stdcall
#else
#  define ZR_STDCALL
#endif

// Arguments, in order: call type; input values; input array sizes; output values;
// output array sizes; input offsets; output offsets; host word; host reals; host
// count; derivative count; derivative rows; derivative columns; scratch;
// derivative values; ifail.
using ZR_Procedure13 = void(ZR_STDCALL*)(std::int32_t*, double*, std::int32_t*, double*, std::int32_t*,
                                          std::int32_t*, std::int32_t*, std::int32_t*, double*,
                                          std::int32_t*, std::int32_t*, std::int32_t*, std::int32_t*,
                                          std::int32_t*, double*, std::int32_t*);
