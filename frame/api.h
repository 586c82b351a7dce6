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

// Class templates whose instances the library exports. An ELF instance takes its
// visibility from the template, so that no copy of it elsewhere in the library
// hides it; a Windows instance is exported by its explicit instantiation.
#if defined(_WIN32)
#  define ORVANE_TEMPLATE_API
#  define ORVANE_INSTANCE_API ORVANE_API
#else
#  define ORVANE_TEMPLATE_API ORVANE_API
#  define ORVANE_INSTANCE_API
#endif
