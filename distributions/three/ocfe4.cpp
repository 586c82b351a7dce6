// OCFE4 in three dimensions: to be written.
#include "distributions/three/walk.h"

namespace zr_distribution3d {

extern const int kReachOcfe4 = 0;

template <class Sink>
void Walk<Sink>::Ocfe4X() {}

template <class Sink>
void Walk<Sink>::Ocfe4Y() {}

template <class Sink>
void Walk<Sink>::Ocfe4Z() {}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Ocfe4)
