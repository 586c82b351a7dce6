// The record of one section of a one-dimensional domain. The domain's node
// placement fills every field; the distributions read BASE, NODECOUNT, NUMELEMENTS
// and ELEMENTLENGTH.
#pragma once
#include "connectivity/generic.h"
#include "frame/wrappers.h"

class ORVANE_API ZR_SECTIONDATAMODEL : public ZR_TypeFrame<ZR_SECTIONDATAMODEL, ZR_GENERICMODEL> {
    ORVANE_TYPE_CLASS(ZR_SECTIONDATAMODEL, ZR_GENERICMODEL);

    ZR_External<ZR_INTEGERPARAMETER> MINNODECOUNT;
    ZR_Virtual<ZR_REALPARAMETER> LOCATION;
    ZR_Virtual<ZR_REALPARAMETER> SPACINGPREFERENCE;
    ZR_Virtual<ZR_REALPARAMETER> SPACINGUSED;
    ZR_REALPARAMETER LENGTH;
    ZR_INTEGERPARAMETER NODECOUNT;
    ZR_INTEGERPARAMETER BASE;
    ZR_INTEGERPARAMETER NUMELEMENTS;
    ZR_REALPARAMETER ELEMENTLENGTH;
    ZR_INTEGERSET INTERIOR;
    ZR_Bookkeeping Book;

protected:
    void RegisterMembers(ZR_Registrar& registrar);
};
