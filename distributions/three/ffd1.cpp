// FFD1 in three dimensions: to be written.
#include "distributions/three/walk.h"

namespace zr_distribution3d {

extern const int kReachFfd1 = 0;

template <class Sink>
void Walk<Sink>::Ffd1X() {}

template <class Sink>
void Walk<Sink>::Ffd1Y() {}

template <class Sink>
void Walk<Sink>::Ffd1Z() {}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Ffd1)
