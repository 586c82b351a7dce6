// The wrapper instances that the library exports, generated from one list.
#include "frame/wrappers.h"

#include "connectivity/connections.h"
#include "connectivity/generic.h"
#include "connectivity/multiports.h"
#include "distributions/one/distribution1d.h"
#include "distributions/three/distribution3d.h"
#include "distributions/two/distribution2d.h"
#include "domains/domain.h"
#include "frame/parameters.h"

// The types that references and replaceable members are exported over, besides
// the arrays below.
#define ORVANE_WRAPPED_TYPES(X)                                          \
    X(ZR_ANGLEPARAMETER)                                                \
    X(ZR_DISCRETIZATIONMETHODPARAM_DOMAIN)                              \
    X(ZR_ELEMENTBOUNDARYPARAM_DOMAIN)                                   \
    X(ZR_LENGTHPARAMETER)                                               \
    X(ZR_NUMSECTIONSPARAM_DOMAIN)                                       \
    X(ZR_POLYPOINTSPARAM_DOMAIN)                                        \
    X(ZR_ANGLEDOMAIN)                                                   \
    X(ZR_CONNECTION)                                                    \
    X(ZR_CONNECTIONPORT)                                                \
    X(ZR_CONTROLPORT)                                                   \
    X(ZR_CONTROLSIGNAL)                                                 \
    X(ZR_DISTRIBUTION1D)                                                \
    X(ZR_DISTRIBUTION2D)                                                \
    X(ZR_DISTRIBUTION3D)                                                \
    X(ZR_DOMAIN)                                                        \
    X(ZR_GENERICCONNECTION)                                             \
    X(ZR_GENERICCONTROLSIGNAL)                                          \
    X(ZR_GENERICMODEL)                                                  \
    X(ZR_GENERICPORT)                                                   \
    X(ZR_GENERICSTREAM)                                                 \
    X(ZR_GENERICSTRUCTURE)                                              \
    X(ZR_LENGTHDOMAIN)                                                  \
    X(ZR_SECTIONDATAMODEL)                                              \
    X(ZR_ZR_MIGENERICPORT)                                              \
    X(ZR_ZR_MOGENERICPORT)                                              \
    X(ZR_ZR_MIOGENERICPORT)                                             \
    X(ZR_ZR_MICONNECTIONPORT)                                           \
    X(ZR_ZR_MOCONNECTIONPORT)                                           \
    X(ZR_ZR_MIOCONNECTIONPORT)                                          \
    X(ZR_ZR_MICONTROLPORT)                                              \
    X(ZR_ZR_MOCONTROLPORT)                                              \
    X(ZR_ZR_MIOCONTROLPORT)

// The arrays the library exports, as (array template, element type); each is
// also a type that references and replaceable members are exported over.
#define ORVANE_WRAPPED_ARRAYS(A)                                         \
    A(ZR_ARRAY_I, ZR_PARTIALDERIVATIVE)                                 \
    A(ZR_ARRAY_I, ZR_REALPARAMETER)                                     \
    A(ZR_ARRAY_I, ZR_REALVARIABLE)                                      \
    A(ZR_ARRAY_I, ZR_SECTIONDATAMODEL)                                  \
    A(ZR_ARRAY_II, ZR_PARTIALDERIVATIVE)                                \
    A(ZR_ARRAY_II, ZR_REALVARIABLE)                                     \
    A(ZR_ARRAY_III, ZR_PARTIALDERIVATIVE)                               \
    A(ZR_ARRAY_III, ZR_REALVARIABLE)                                    \
    A(ZR_ARRAY_S, ZR_CONNECTIONPORT)                                    \
    A(ZR_ARRAY_S, ZR_CONTROLPORT)                                       \
    A(ZR_ARRAY_S, ZR_GENERICPORT)

#define ORVANE_INSTANTIATE_WRAPPERS(...)                        \
    template class ORVANE_INSTANCE_API ZR_External<__VA_ARGS__>;        \
    template class ORVANE_INSTANCE_API ZR_Virtual<__VA_ARGS__>;

#define ORVANE_INSTANTIATE_ARRAY(Array, Element)                  \
    template class ORVANE_INSTANCE_API Array<Element, Element>;         \
    ORVANE_INSTANTIATE_WRAPPERS(Array<Element, Element>)

ORVANE_WRAPPED_TYPES(ORVANE_INSTANTIATE_WRAPPERS)
ORVANE_WRAPPED_ARRAYS(ORVANE_INSTANTIATE_ARRAY)
