// The frame of the three-dimensional walk and its twelve integral start rows.
#include "distributions/three/walk.h"

#include <algorithm>

namespace zr_distribution3d {
namespace {

ORVANE_ROW_TABLE(kRows, kVocabulary,
    {1, "start(IDX(0,j,k))"},
    {2, "start(IDY(i,0,k))"},
    {3, "start(IDZ(i,j,0))"},
    {4, "start(IDXDY(0,j,k))"},
    {5, "start(IDXDY(i,0,k))"},
    {6, "start(IDXDZ(0,j,k))"},
    {7, "start(IDXDZ(i,j,0))"},
    {8, "start(IDYDZ(i,0,k))"},
    {9, "start(IDYDZ(i,j,0))"},
    {10, "start(IDXDYDZ(0,j,k))"},
    {11, "start(IDXDYDZ(i,0,k))"},
    {12, "start(IDXDYDZ(i,j,0))"},
);

int Reach() {
    int reach = 0;
#define ORVANE_DISTRIBUTION3D_MOST(M, index) reach = std::max(reach, kReach##M);
    ORVANE_METHODS(ORVANE_DISTRIBUTION3D_MOST)
#undef ORVANE_DISTRIBUTION3D_MOST
    return reach;
}

}  // namespace

// Each integral is zero on the planes where one of its integration indices is
// 0; a later plane of the same integral starts at 1 in the directions an
// earlier one covers, so no element is pinned twice. IDX is started for every
// integral built on it, IDY for "idydz", IDXDY for "idxdydz".
template <class Sink>
void Walk<Sink>::Start() {
    // Both loops of a plane, outer letter first.
    auto plane = [&](int site, std::uint8_t outer, long long outerLo, const Axis& outerAxis, std::uint8_t inner,
                     long long innerLo, const Axis& innerAxis) {
        Each(outer, outerLo, outerAxis.EndNode(), [&] {
            Each(inner, innerLo, innerAxis.EndNode(), [&] { Emit(kRows, site); });
        });
    };
    Enter(1, m_x);
    if (Has("idx") || Has("idxdy") || Has("idxdz") || Has("idxdydz")) plane(1, kJ, 0, m_y, kK, 0, m_z);
    Enter(2, m_x);
    if (Has("idy") || Has("idydz")) plane(2, kI, 0, m_x, kK, 0, m_z);
    Enter(3, m_x);
    if (Has("idz")) plane(3, kI, 0, m_x, kJ, 0, m_y);
    Enter(4, m_x);
    if (Has("idxdy") || Has("idxdydz")) {
        plane(4, kJ, 0, m_y, kK, 0, m_z);
        plane(5, kI, 1, m_x, kK, 0, m_z);
    }
    Enter(5, m_x);
    if (Has("idxdz")) {
        plane(6, kJ, 0, m_y, kK, 0, m_z);
        plane(7, kI, 1, m_x, kJ, 0, m_y);
    }
    Enter(6, m_x);
    if (Has("idydz")) {
        plane(8, kI, 0, m_x, kK, 0, m_z);
        plane(9, kI, 0, m_x, kJ, 1, m_y);
    }
    Enter(7, m_x);
    if (Has("idxdydz")) {
        plane(10, kJ, 0, m_y, kK, 0, m_z);
        plane(11, kI, 1, m_x, kK, 0, m_z);
        plane(12, kI, 1, m_x, kJ, 1, m_y);
    }
}

template void Walk<ZR_IncidenceSink>::Start();
template void Walk<ZR_ExpressionSink>::Start();

}  // namespace zr_distribution3d

// The walk steps beyond a section's nodes by what its rows reach, and its loops
// by as much again.
bool ZR_DISTRIBUTION3D::ReadyToDeclare() {
    if (!ReadyToDrive()) return false;
    const long long reach = 2LL * zr_distribution3d::Reach();
    return ZR_NodesWithinReach(*XDOMAIN, reach) && ZR_NodesWithinReach(*YDOMAIN, reach) &&
           ZR_NodesWithinReach(*ZDOMAIN, reach);
}

template <class Sink>
bool ZR_DISTRIBUTION3D::DeclareEquations(Sink& sink) {
    zr_distribution3d::Walk<Sink> walk(*this, sink);
    walk.Run();
    return walk.Complete();
}

template bool ZR_DISTRIBUTION3D::DeclareEquations(ZR_IncidenceSink&);
template bool ZR_DISTRIBUTION3D::DeclareEquations(ZR_ExpressionSink&);
