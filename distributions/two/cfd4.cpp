// CFD4 in two dimensions: to be written.
#include "distributions/two/walk.h"

namespace zr_distribution2d {

extern const int kReachCfd4 = 0;

template <class Sink>
void Walk<Sink>::Cfd4X() {}

template <class Sink>
void Walk<Sink>::Cfd4Y() {}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Cfd4)
