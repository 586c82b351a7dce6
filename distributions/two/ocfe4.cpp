// OCFE4 in two dimensions: to be written.
#include "distributions/two/walk.h"

namespace zr_distribution2d {

extern const int kReachOcfe4 = 0;

template <class Sink>
void Walk<Sink>::Ocfe4X() {}

template <class Sink>
void Walk<Sink>::Ocfe4Y() {}

}  // namespace zr_distribution2d

ORVANE_DISTRIBUTION2D_INSTANTIATE(Ocfe4)
