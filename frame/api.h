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
// hides it. A Windows instance carries no attribute: GCC would export only its
// members that are not inline, and would warn about an instance that a header
// made before its explicit instantiation. The module definition exports every
// member of them instead (cmake/def-classes.sh), and elsewhere an instance is
// found through the import library.
#if defined(_WIN32)
#  define ORVANE_TEMPLATE_API
#  define ORVANE_INSTANCE_API
#else
#  define ORVANE_TEMPLATE_API ORVANE_API
#  define ORVANE_INSTANCE_API
#endif
