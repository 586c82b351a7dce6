// The equation walk of the two-dimensional distribution.
#include "distributions/two/distribution2d.h"
bool ZR_DISTRIBUTION2D::ReadyToDeclare() { return ReadyToDrive(); }
template <class Sink>
bool ZR_DISTRIBUTION2D::DeclareEquations(Sink&) { return true; }
template bool ZR_DISTRIBUTION2D::DeclareEquations(ZR_IncidenceSink&);
template bool ZR_DISTRIBUTION2D::DeclareEquations(ZR_ExpressionSink&);
