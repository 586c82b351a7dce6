// FFD2 in three dimensions: to be written.
#include "distributions/three/walk.h"

namespace zr_distribution3d {

extern const int kReachFfd2 = 0;

template <class Sink>
void Walk<Sink>::Ffd2X() {}

template <class Sink>
void Walk<Sink>::Ffd2Y() {}

template <class Sink>
void Walk<Sink>::Ffd2Z() {}

}  // namespace zr_distribution3d

ORVANE_DISTRIBUTION3D_INSTANTIATE(Ffd2)
