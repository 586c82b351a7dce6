#include "frame/parameters.h"

// The host base is built without its system attributes, which are initialised
// only once this class's defaults are in place.
#define ORVANE_PARAMETER(Class, HostBase)                         \
    Class::Class(bool construct) : HostBase(false) {              \
        if (construct) HostBase::InitializeSystemAttributes();    \
    }                                                             \
    Class::~Class() = default;                                    \
    Class& Class::operator=(const Class& other) {                 \
        HostBase::operator=(other);                               \
        return *this;                                             \
    }                                                             \
    Class& Class::operator*() { return *this; }

#define ORVANE_CONSTANT(Class, Operation, value) \
    int Class::Operation() const { return value; }

// Built on the first call and kept until the library is unloaded.
#define ORVANE_DEFAULT(Class, Operation, value)      \
    const ZR_Value* Class::Operation() const {       \
        static const ZR_Value Default(value, 0);     \
        return &Default;                             \
    }

// The valid values, from a text in which every member ends with a double quote.
#define ORVANE_VALID_VALUES(Class, quoteTerminated)               \
    const ZR_Value* Class::ZR_DefaultVALID() const {              \
        static const ZR_StrSetValue Value(quoteTerminated);       \
        static const ZR_Value Default(Value, 0);                  \
        return &Default;                                          \
    }

ORVANE_PARAMETER(ZR_ANGLEPARAMETER, ZR_REALPARAMETER)
ORVANE_CONSTANT(ZR_ANGLEPARAMETER, ZR_PQCol, 1)
ORVANE_CONSTANT(ZR_ANGLEPARAMETER, ZR_PQRow, 32)
ORVANE_DEFAULT(ZR_ANGLEPARAMETER, ZR_DefaultPHYSICALQUANTITY, "Angle")
ORVANE_DEFAULT(ZR_ANGLEPARAMETER, ZR_DefaultBASEUOMNAME, "rad")

ORVANE_PARAMETER(ZR_LENGTHPARAMETER, ZR_REALPARAMETER)
ORVANE_CONSTANT(ZR_LENGTHPARAMETER, ZR_PQCol, 1)
ORVANE_CONSTANT(ZR_LENGTHPARAMETER, ZR_PQRow, 17)
ORVANE_DEFAULT(ZR_LENGTHPARAMETER, ZR_DefaultPHYSICALQUANTITY, "Length")
ORVANE_DEFAULT(ZR_LENGTHPARAMETER, ZR_DefaultBASEUOMNAME, "m")

ORVANE_PARAMETER(ZR_DISCRETIZATIONMETHODPARAM_DOMAIN, ZR_STRINGPARAMETER)
ORVANE_DEFAULT(ZR_DISCRETIZATIONMETHODPARAM_DOMAIN, ZR_DefaultVALUE, "BFD1")
ORVANE_VALID_VALUES(ZR_DISCRETIZATIONMETHODPARAM_DOMAIN,
                    "BFD1\"BFD2\"CFD2\"CFD4\"FFD1\"FFD2\"OCFE2\"OCFE3\"OCFE4\"UBFD4\"")

ORVANE_PARAMETER(ZR_ELEMENTBOUNDARYPARAM_DOMAIN, ZR_STRINGPARAMETER)
ORVANE_DEFAULT(ZR_ELEMENTBOUNDARYPARAM_DOMAIN, ZR_DefaultVALUE, "Backward")
ORVANE_VALID_VALUES(ZR_ELEMENTBOUNDARYPARAM_DOMAIN, "Backward\"Forward\"")

ORVANE_PARAMETER(ZR_NUMSECTIONSPARAM_DOMAIN, ZR_INTEGERPARAMETER)
ORVANE_DEFAULT(ZR_NUMSECTIONSPARAM_DOMAIN, ZR_DefaultVALUE, 1)
ORVANE_DEFAULT(ZR_NUMSECTIONSPARAM_DOMAIN, ZR_DefaultLOWER, 1)

ORVANE_PARAMETER(ZR_POLYPOINTSPARAM_DOMAIN, ZR_INTEGERPARAMETER)
ORVANE_DEFAULT(ZR_POLYPOINTSPARAM_DOMAIN, ZR_DefaultVALUE, 0)
ORVANE_DEFAULT(ZR_POLYPOINTSPARAM_DOMAIN, ZR_DefaultLOWER, 0)
