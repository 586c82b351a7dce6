// The frame of the two-dimensional walk and its integral start rows.
#include "distributions/two/walk.h"

#include <algorithm>

namespace zr_distribution2d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {1, "start(IDX(0,j))"},
    {2, "start(IDY(i,0))"},
    {3, "start(IDXDY(0,j))"},
    {4, "start(IDXDY(i,0))"},
);

int Reach() {
    int reach = 0;
#define ORVANE_DISTRIBUTION2D_MOST(M, index) reach = std::max(reach, kReach##M);
    ORVANE_METHODS(ORVANE_DISTRIBUTION2D_MOST)
#undef ORVANE_DISTRIBUTION2D_MOST
    return reach;
}

}  // namespace

// The integrals are zero along the edges where their integration starts: IDX
// along x node 0, IDY along y node 0, IDXDY along both, its corner once.
template <class Sink>
void Walk<Sink>::Start() {
    Enter(1, m_x);
    if (Has("idx") || Has("idxdy")) Each(kJ, 0, m_y.EndNode(), [&] { Emit(kRows, 1); });
    Enter(2, m_x);
    if (Has("idy")) Each(kI, 0, m_x.EndNode(), [&] { Emit(kRows, 2); });
    Enter(3, m_x);
    if (Has("idxdy")) {
        Each(kJ, 0, m_y.EndNode(), [&] { Emit(kRows, 3); });
        Each(kI, 1, m_x.EndNode(), [&] { Emit(kRows, 4); });
    }
}

template void Walk<ZR_IncidenceSink>::Start();
template void Walk<ZR_ExpressionSink>::Start();

}  // namespace zr_distribution2d

// The walk steps beyond a section's nodes by what its rows reach, and its loops
// by as much again.
bool ZR_DISTRIBUTION2D::ReadyToDeclare() {
    if (!ReadyToDrive()) return false;
    const long long reach = 2LL * zr_distribution2d::Reach();
    return ZR_NodesWithinReach(*XDOMAIN, reach) && ZR_NodesWithinReach(*YDOMAIN, reach);
}

template <class Sink>
bool ZR_DISTRIBUTION2D::DeclareEquations(Sink& sink) {
    zr_distribution2d::Walk<Sink> walk(*this, sink);
    walk.Run();
    return walk.Complete();
}

template bool ZR_DISTRIBUTION2D::DeclareEquations(ZR_IncidenceSink&);
template bool ZR_DISTRIBUTION2D::DeclareEquations(ZR_ExpressionSink&);
