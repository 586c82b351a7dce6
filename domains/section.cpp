#include "domains/section.h"

ZR_SECTIONDATAMODEL::ZR_SECTIONDATAMODEL(bool construct, ZR_Container* owner)
    : ZR_Frame(owner), LENGTH(true), NODECOUNT(true), BASE(true), NUMELEMENTS(true), ELEMENTLENGTH(true) {
    Finish(construct, owner);
}

ORVANE_TYPE_DEFINITIONS(ZR_SECTIONDATAMODEL, "Model SECTIONDATAMODEL\tV9")

void ZR_SECTIONDATAMODEL::RegisterMembers(ZR_Registrar& registrar) {
    registrar.Add(MINNODECOUNT, "MINNODECOUNT");
    registrar.Add(LOCATION, "LOCATION", "Absolute location of LH boundary of this section");
    registrar.Add(SPACINGPREFERENCE, "SPACINGPREFERENCE", "Preferred spacing between nodes in this section");
    registrar.Add(SPACINGUSED, "SPACINGUSED", "Actual spacing used between nodes in this section");
    registrar.Add(LENGTH, "LENGTH");
    registrar.Add(NODECOUNT, "NODECOUNT");
    registrar.Add(BASE, "BASE");
    registrar.Add(NUMELEMENTS, "NUMELEMENTS");
    registrar.Add(ELEMENTLENGTH, "ELEMENTLENGTH");
    registrar.Add(INTERIOR, "INTERIOR");
}

ORVANE_ENTRY_POINTS(SECTIONDATAMODEL);
