// CFD2 in two dimensions: to be written.
#include "distributions/two/walk.h"

namespace zr_distribution2d {

extern const int kReachCfd2 = 0;

template <class Sink>
void Walk<Sink>::Cfd2X() {}

template <class Sink>
void Walk<Sink>::Cfd2Y() {}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Cfd2)
