// OCFE3 in two dimensions: to be written.
#include "distributions/two/walk.h"

namespace zr_distribution2d {

extern const int kReachOcfe3 = 0;

template <class Sink>
void Walk<Sink>::Ocfe3X() {}

template <class Sink>
void Walk<Sink>::Ocfe3Y() {}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Ocfe3)
