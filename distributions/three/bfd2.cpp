// BFD2 in three dimensions: to be written.
#include "distributions/three/walk.h"

namespace zr_distribution3d {

extern const int kReachBfd2 = 0;

template <class Sink>
void Walk<Sink>::Bfd2X() {}

template <class Sink>
void Walk<Sink>::Bfd2Y() {}

template <class Sink>
void Walk<Sink>::Bfd2Z() {}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Bfd2)
