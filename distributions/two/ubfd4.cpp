// UBFD4 in two dimensions: to be written.
#include "distributions/two/walk.h"

namespace zr_distribution2d {

extern const int kReachUbfd4 = 0;

template <class Sink>
void Walk<Sink>::Ubfd4X() {}

template <class Sink>
void Walk<Sink>::Ubfd4Y() {}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Ubfd4)
