// UBFD4 in three dimensions: to be written.
#include "distributions/three/walk.h"

namespace zr_distribution3d {

extern const int kReachUbfd4 = 0;

template <class Sink>
void Walk<Sink>::Ubfd4X() {}

template <class Sink>
void Walk<Sink>::Ubfd4Y() {}

template <class Sink>
void Walk<Sink>::Ubfd4Z() {}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Ubfd4)
