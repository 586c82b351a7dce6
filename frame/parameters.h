// The six parameter types of the library: host parameters that change nothing but
// the defaults of a few attributes. The defaults live once per loaded library and
// are shared by every instance.
#pragma once
#include "frame/api.h"
#include "qtvexp.h"

// One parameter type: its host base and the defaults it overrides.
#define ORVANE_PARAMETER_TYPE(Class, HostBase, Overrides)                     \
    class ORVANE_API Class : public HostBase {                                 \
    public:                                                                    \
        explicit Class(bool construct = true);                                 \
        ~Class() override;                                                     \
        Class& operator=(const Class& other);                                  \
        Class& operator*();                                                    \
        Overrides                                                              \
    }

// A real parameter of one physical quantity.
#define ORVANE_QUANTITY_PARAMETER(Class)                                      \
    ORVANE_PARAMETER_TYPE(Class, ZR_REALPARAMETER,                             \
                          int ZR_PQCol() const override;                       \
                          int ZR_PQRow() const override;                       \
                          const ZR_Value* ZR_DefaultPHYSICALQUANTITY() const override; \
                          const ZR_Value* ZR_DefaultBASEUOMNAME() const override;)

// A string parameter with a default and a set of valid values.
#define ORVANE_CHOICE_PARAMETER(Class)                                        \
    ORVANE_PARAMETER_TYPE(Class, ZR_STRINGPARAMETER,                           \
                          const ZR_Value* ZR_DefaultVALUE() const override;    \
                          const ZR_Value* ZR_DefaultVALID() const override;)

// An integer parameter with a default and a lower bound.
#define ORVANE_COUNT_PARAMETER(Class)                                         \
    ORVANE_PARAMETER_TYPE(Class, ZR_INTEGERPARAMETER,                          \
                          const ZR_Value* ZR_DefaultVALUE() const override;    \
                          const ZR_Value* ZR_DefaultLOWER() const override;)

ORVANE_QUANTITY_PARAMETER(ZR_ANGLEPARAMETER);
ORVANE_QUANTITY_PARAMETER(ZR_LENGTHPARAMETER);
ORVANE_CHOICE_PARAMETER(ZR_DISCRETIZATIONMETHODPARAM_DOMAIN);
ORVANE_CHOICE_PARAMETER(ZR_ELEMENTBOUNDARYPARAM_DOMAIN);
ORVANE_COUNT_PARAMETER(ZR_NUMSECTIONSPARAM_DOMAIN);
ORVANE_COUNT_PARAMETER(ZR_POLYPOINTSPARAM_DOMAIN);

#undef ORVANE_PARAMETER_TYPE
#undef ORVANE_QUANTITY_PARAMETER
#undef ORVANE_CHOICE_PARAMETER
#undef ORVANE_COUNT_PARAMETER
