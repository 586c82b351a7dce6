// OCFE2 in three dimensions: to be written.
#include "distributions/three/walk.h"

namespace zr_distribution3d {

extern const int kReachOcfe2 = 0;

template <class Sink>
void Walk<Sink>::Ocfe2X() {}

template <class Sink>
void Walk<Sink>::Ocfe2Y() {}

template <class Sink>
void Walk<Sink>::Ocfe2Z() {}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Ocfe2)
