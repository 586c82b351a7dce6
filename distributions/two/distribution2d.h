// A real variable distributed over the nodes of two domains (x and y), with its
// first and second partial derivatives in each direction and its integrals over
// x, over y and over x and y, tied to it by the equations of each domain's
// discretisation method.
#pragma once
#include "connectivity/ports.h"
#include "domains/domain.h"
#include "frame/wrappers.h"

class ORVANE_API ZR_DISTRIBUTION2D : public ZR_TypeFrame<ZR_DISTRIBUTION2D, ZR_ModelTypeEx2> {
    ORVANE_TYPE_CLASS(ZR_DISTRIBUTION2D, ZR_ModelTypeEx2);

    ZR_External<ZR_DOMAIN> XDOMAIN;
    ZR_External<ZR_DOMAIN> YDOMAIN;
    ZR_Virtual<ZR_ARRAY_II<ZR_REALVARIABLE, ZR_REALVARIABLE>> VALUE;
    ZR_INTEGERSET ZR_VALUE_SET1;
    ZR_INTEGERSET ZR_VALUE_SET2;
    ZR_STRINGPARAMETER USERNOTES;
    ZR_CONTROLPORT INPUTSIGNAL;
    ZR_CONTROLPORT OUTPUTSIGNAL;
    ZR_INTEGERPARAMETER HIGHESTORDERXDERIVATIVE;
    ZR_INTEGERPARAMETER HIGHESTORDERYDERIVATIVE;
    ZR_INTEGERPARAMETER HIGHESTORDERXDERIVATIVEUSED;
    ZR_INTEGERPARAMETER HIGHESTORDERYDERIVATIVEUSED;
    ZR_STRINGSET INTEGRALS;
    ZR_ARRAY_II<ZR_PARTIALDERIVATIVE, ZR_PARTIALDERIVATIVE> DDX;
    ZR_INTEGERSET ZR_DDX_SET1;
    ZR_INTEGERSET ZR_DDX_SET2;
    ZR_ARRAY_II<ZR_PARTIALDERIVATIVE, ZR_PARTIALDERIVATIVE> DDY;
    ZR_INTEGERSET ZR_DDY_SET1;
    ZR_INTEGERSET ZR_DDY_SET2;
    ZR_ARRAY_II<ZR_PARTIALDERIVATIVE, ZR_PARTIALDERIVATIVE> D2DX2;
    ZR_INTEGERSET ZR_D2DX2_SET1;
    ZR_INTEGERSET ZR_D2DX2_SET2;
    // Its second dimension is YDOMAIN's INTERIOR set itself.
    ZR_ARRAY_II<ZR_PARTIALDERIVATIVE, ZR_PARTIALDERIVATIVE> D2DY2;
    ZR_INTEGERSET ZR_D2DY2_SET1;
    ZR_ARRAY_II<ZR_REALVARIABLE, ZR_REALVARIABLE> IDX;
    ZR_INTEGERSET ZR_IDX_SET1;
    ZR_INTEGERSET ZR_IDX_SET2;
    ZR_ARRAY_II<ZR_REALVARIABLE, ZR_REALVARIABLE> IDY;
    ZR_INTEGERSET ZR_IDY_SET1;
    ZR_INTEGERSET ZR_IDY_SET2;
    ZR_ARRAY_II<ZR_REALVARIABLE, ZR_REALVARIABLE> IDXDY;
    ZR_INTEGERSET ZR_IDXDY_SET1;
    ZR_INTEGERSET ZR_IDXDY_SET2;
    ZR_Bookkeeping Book;

protected:
    void RegisterMembers(ZR_Registrar& registrar);
    // Binds every array it can; a dimension that is an unlinked domain's INTERIOR
    // leaves its array unbound.
    void BindArrays();
    void InitialiseIndexSets(int level, int arg, int pass);
    void Assignments(int level, int arg);
    // A domain reference the host never linked is not read: true only when both are.
    bool ReadyToDrive();
    // Whether the walk can read the domains (defined with the walk).
    bool ReadyToDeclare();
    template <class Sink>
    bool DeclareEquations(Sink& sink);
};
