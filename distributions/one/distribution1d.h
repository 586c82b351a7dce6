// A real variable distributed over the nodes of one domain, with its first and
// second partial derivatives and its integral tied to it by the equations of the
// domain's discretisation method.
#pragma once
#include "connectivity/ports.h"
#include "domains/domain.h"
#include "frame/wrappers.h"

class ORVANE_API ZR_DISTRIBUTION1D : public ZR_TypeFrame<ZR_DISTRIBUTION1D, ZR_ModelTypeEx2> {
    ORVANE_TYPE_CLASS(ZR_DISTRIBUTION1D, ZR_ModelTypeEx2);

    ZR_External<ZR_DOMAIN> XDOMAIN;
    ZR_Virtual<ZR_ARRAY_I<ZR_REALVARIABLE, ZR_REALVARIABLE>> VALUE;
    ZR_INTEGERSET ZR_VALUE_SET1;
    ZR_STRINGPARAMETER USERNOTES;
    ZR_CONTROLPORT INPUTSIGNAL;
    ZR_CONTROLPORT OUTPUTSIGNAL;
    ZR_INTEGERPARAMETER HIGHESTORDERXDERIVATIVE;
    ZR_INTEGERPARAMETER HIGHESTORDERXDERIVATIVEUSED;
    ZR_STRINGSET INTEGRALS;
    ZR_ARRAY_I<ZR_PARTIALDERIVATIVE, ZR_PARTIALDERIVATIVE> DDX;
    ZR_INTEGERSET ZR_DDX_SET1;
    ZR_ARRAY_I<ZR_PARTIALDERIVATIVE, ZR_PARTIALDERIVATIVE> D2DX2;
    ZR_INTEGERSET ZR_D2DX2_SET1;
    ZR_ARRAY_I<ZR_REALVARIABLE, ZR_REALVARIABLE> IDX;
    ZR_INTEGERSET ZR_IDX_SET1;
    ZR_Bookkeeping Book;

protected:
    void RegisterMembers(ZR_Registrar& registrar);
    void BindArrays();
    void InitialiseIndexSets(int level, int arg, int pass);
    void Assignments(int level, int arg);
    // A domain reference the host never linked is not read.
    bool ReadyToDrive();
    // Nor a domain whose node numbers the walk could not form as ints.
    bool ReadyToDeclare();
    // False when a row could not be declared.
    template <class Sink>
    bool DeclareEquations(Sink& sink);
};

#include "distributions/one/walk.h"
