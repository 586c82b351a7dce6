// BFD1 in three dimensions: to be written.
#include "distributions/three/walk.h"

namespace zr_distribution3d {

extern const int kReachBfd1 = 0;

template <class Sink>
void Walk<Sink>::Bfd1X() {}

template <class Sink>
void Walk<Sink>::Bfd1Y() {}

template <class Sink>
void Walk<Sink>::Bfd1Z() {}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Bfd1)
