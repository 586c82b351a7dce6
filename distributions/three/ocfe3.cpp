// OCFE3 in three dimensions: to be written.
#include "distributions/three/walk.h"

namespace zr_distribution3d {

extern const int kReachOcfe3 = 0;

template <class Sink>
void Walk<Sink>::Ocfe3X() {}

template <class Sink>
void Walk<Sink>::Ocfe3Y() {}

template <class Sink>
void Walk<Sink>::Ocfe3Z() {}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Ocfe3)
