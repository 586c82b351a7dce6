// FFD1 in two dimensions: to be written.
#include "distributions/two/walk.h"

namespace zr_distribution2d {

extern const int kReachFfd1 = 0;

template <class Sink>
void Walk<Sink>::Ffd1X() {}

template <class Sink>
void Walk<Sink>::Ffd1Y() {}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Ffd1)
