// CFD4 in three dimensions: to be written.
#include "distributions/three/walk.h"

namespace zr_distribution3d {

extern const int kReachCfd4 = 0;

template <class Sink>
void Walk<Sink>::Cfd4X() {}

template <class Sink>
void Walk<Sink>::Cfd4Y() {}

template <class Sink>
void Walk<Sink>::Cfd4Z() {}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Cfd4)
