// The equation walk of the three-dimensional distribution.
#include "distributions/three/distribution3d.h"
bool ZR_DISTRIBUTION3D::ReadyToDeclare() { return ReadyToDrive(); }
template <class Sink>
bool ZR_DISTRIBUTION3D::DeclareEquations(Sink&) { return true; }
template bool ZR_DISTRIBUTION3D::DeclareEquations(ZR_IncidenceSink&);
template bool ZR_DISTRIBUTION3D::DeclareEquations(ZR_ExpressionSink&);
