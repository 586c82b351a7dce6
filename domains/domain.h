// A one-dimensional grid divided into sections, with the node placement of its ten
// discretisation methods. Its fields are what every distribution reads.
#pragma once
#include "connectivity/ports.h"
#include "domains/section.h"
#include "frame/parameters.h"
#include "frame/wrappers.h"

class ORVANE_API ZR_DOMAIN : public ZR_TypeFrame<ZR_DOMAIN, ZR_ModelTypeEx2> {
    ORVANE_TYPE_CLASS(ZR_DOMAIN, ZR_ModelTypeEx2);

    // Sum of NODECOUNT over the sections before the one the iterator stands on.
    double Sigma91646208(ZR_IntegerSetIter& i);
    // Sum of NODECOUNT over all sections (two identical forms).
    double Sigma91668480();
    double Sigma91669560();
    // Union of the sections' INTERIOR sets.
    const ZR_SetValue& UnionFn91667760();
    // The collocation points of the elements of the section the iterator stands on.
    const ZR_SetValue& UnionFn91675040(ZR_IntegerSetIter& i);

    ZR_Virtual<ZR_ARRAY_I<ZR_SECTIONDATAMODEL, ZR_SECTIONDATAMODEL>> SECTION;
    ZR_INTEGERSET ZR_SECTION_SET1;
    ZR_Virtual<ZR_REALPARAMETER> LENGTH;
    ZR_Virtual<ZR_REALPARAMETER> SPACINGPREFERENCE;
    ZR_Virtual<ZR_ARRAY_I<ZR_REALPARAMETER, ZR_REALPARAMETER>> VALUE;
    ZR_INTEGERSET ZR_VALUE_SET1;
    ZR_STRINGPARAMETER USERNOTES;
    ZR_CONTROLPORT INPUTSIGNAL;
    ZR_CONTROLPORT OUTPUTSIGNAL;
    ZR_DISCRETIZATIONMETHODPARAM_DOMAIN DISCRETIZATIONMETHOD;
    ZR_NUMSECTIONSPARAM_DOMAIN NUMSECTIONS;
    ZR_INTEGERPARAMETER MINNODECOUNT;
    ZR_POLYPOINTSPARAM_DOMAIN NUMPOLYPOINTS;
    ZR_ARRAY_I<ZR_REALPARAMETER, ZR_REALPARAMETER> POLYPOINT;
    ZR_INTEGERSET ZR_POLYPOINT_SET1;
    ZR_INTEGERPARAMETER HIGHESTORDERDERIVATIVE;
    ZR_ELEMENTBOUNDARYPARAM_DOMAIN ELEMENTBOUNDARYCONDITION;
    ZR_INTEGERSET INTERIOR;
    ZR_INTEGERPARAMETER ENDNODE;
    ZR_Bookkeeping Book;

protected:
    void RegisterMembers(ZR_Registrar& registrar);
    void BindArrays();
    void InitialiseIndexSets(int level, int arg, int pass);
    void Assignments(int level, int arg);

private:
    bool MethodIs(const char* name);
    bool MethodIsOneOf(std::initializer_list<const char*> names);
    // Section i with its replaceable members; null when the host cannot hold them.
    ZR_SECTIONDATAMODEL* Section(int i);
    // NODECOUNT of sections 1 to last, each converted to double, added in order.
    double NodeCountSum(long long last);
};

// The named forms: the same grid under their own type ids.
class ORVANE_API ZR_LENGTHDOMAIN : public ZR_TypeFrame<ZR_LENGTHDOMAIN, ZR_DOMAIN> {
    ORVANE_TYPE_CLASS(ZR_LENGTHDOMAIN, ZR_DOMAIN);

    ZR_Bookkeeping Book;
};

class ORVANE_API ZR_ANGLEDOMAIN : public ZR_TypeFrame<ZR_ANGLEDOMAIN, ZR_DOMAIN> {
    ORVANE_TYPE_CLASS(ZR_ANGLEDOMAIN, ZR_DOMAIN);

    ZR_Bookkeeping Book;
};
