// Linkage of the model library's own classes and entry points.
#pragma once

#if defined(_WIN32)
#  if defined(ORVANE_BUILDING)
#    define ORVANE_API __declspec(dllexport)
#  else
#    define ORVANE_API __declspec(dllimport)
#  endif
#else
#  define ORVANE_API __attribute__((visibility("default")))
#endif

#define ORVANE_C extern "C" ORVANE_API
