// CFD2 in three dimensions: to be written.
#include "distributions/three/walk.h"

namespace zr_distribution3d {

extern const int kReachCfd2 = 0;

template <class Sink>
void Walk<Sink>::Cfd2X() {}

template <class Sink>
void Walk<Sink>::Cfd2Y() {}

template <class Sink>
void Walk<Sink>::Cfd2Z() {}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Cfd2)
