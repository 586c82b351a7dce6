// Linkage of the host runtime library and its heap.
#pragma once
#include <cstddef>

#if defined(_WIN32)
#  if defined(QTVEXP_BUILDING)
#    define QTVEXP_API __declspec(dllexport)
#  else
#    define QTVEXP_API __declspec(dllimport)
#  endif
#else
#  define QTVEXP_API __attribute__((visibility("default")))
#endif

// Every block that a model library creates comes from here, so that the host can
// free what a model library made and account for all of it.
QTVEXP_API void* MyAllocate(std::size_t bytes);
QTVEXP_API void MyFree(void* block);

class ZR_Containable;
class ZR_Type;
class ZR_VarParamProp;
class ZR_VarParam;
class ZR_Container;
class ZR_ModelType;
class ZR_EquationType;
class ZR_ProcedureType;
namespace qtvhost {
class Host;
}
