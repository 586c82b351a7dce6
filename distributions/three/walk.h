// The equation walk of the three-dimensional distribution: the twelve integral
// start rows, then for each method, in the order the methods are tested, its x,
// y and z blocks, each entered when its own direction's domain names the
// method. The same walk serves SetUpEquations and JacPattern; the sink decides
// what the host is told. Each method's rows and block programs live in a
// source of their own (bfd1.cpp, ...), which instantiates them for both sinks.
//
// Rows are written with three indices (x, y, z node): "(DDX(i,j,k) * h) +
// (VALUE(i-1,j,k) - VALUE(i,j,k))". Letters: i, j and k the x, y and z node; s,
// b and e the section of the block's own direction and its first and last node
// (BASE and BASE + NODECOUNT); n the first node of the element being visited,
// in the block's own direction. h is the ELEMENTLENGTH of the walk's section of
// the block's own direction, h(s+1) that of the next one.
#pragma once
#include "distributions/methods.h"
#include "distributions/three/distribution3d.h"
#include "distributions/walk.h"

namespace zr_distribution3d {

#define ORVANE_DISTRIBUTION3D_TERMS(X)                                                                    \
    X(kValue, "VALUE") X(kDdx, "DDX") X(kDdy, "DDY") X(kDdz, "DDZ") X(kD2dx2, "D2DX2") X(kD2dy2, "D2DY2")     \
        X(kD2dz2, "D2DZ2") X(kIdx, "IDX") X(kIdy, "IDY") X(kIdz, "IDZ") X(kIdxdy, "IDXDY") X(kIdxdz, "IDXDZ") \
            X(kIdydz, "IDYDZ") X(kIdxdydz, "IDXDYDZ") X(kH, "h")
ORVANE_VOCABULARY(ORVANE_DISTRIBUTION3D_TERMS);
enum Slot : std::uint8_t { kI = kFirstNodeSlot, kJ, kK };
inline constexpr ZR_Vocabulary kVocabulary(kNames, "sbenijk");
static_assert(ZR_LettersFollowTheSlots(kVocabulary, "ijk"), "letters in the order of the slots");

// How far each method's rows reach beyond their loop letters (from its rows).
#define ORVANE_DISTRIBUTION3D_REACH(M, index) extern const int kReach##M;
ORVANE_METHODS(ORVANE_DISTRIBUTION3D_REACH)
#undef ORVANE_DISTRIBUTION3D_REACH

template <class Sink>
class Walk : public ZR_Walk<Walk<Sink>, Sink> {
    ORVANE_WALK_BASE(Walk);

public:
    Walk(ZR_DISTRIBUTION3D& d, Sink& sink)
        : Base(sink), m_d(d), m_x(*d.XDOMAIN), m_y(*d.YDOMAIN), m_z(*d.ZDOMAIN) {}

    void Run() {
        Start();
#define ORVANE_DISTRIBUTION3D_BLOCKS(M, index)    \
    if (m_x.MethodIs(kZR_MethodNames[index])) { \
        Enter(8 + 3 * index, m_x);               \
        M##X();                                  \
    }                                            \
    if (m_y.MethodIs(kZR_MethodNames[index])) { \
        Enter(9 + 3 * index, m_y);               \
        M##Y();                                  \
    }                                            \
    if (m_z.MethodIs(kZR_MethodNames[index])) { \
        Enter(10 + 3 * index, m_z);              \
        M##Z();                                  \
    }
        ORVANE_METHODS(ORVANE_DISTRIBUTION3D_BLOCKS)
#undef ORVANE_DISTRIBUTION3D_BLOCKS
    }

private:
    // --- what the blocks read -------------------------------------------------
    // Whether INTEGRALS holds the name.
    bool Has(const char* integral) { return SetContainsString(integral, Sink::Read(*m_d.INTEGRALS)) != 0; }
    int UsedX() { return Sink::Read(m_d.HIGHESTORDERXDERIVATIVEUSED); }
    int UsedY() { return Sink::Read(m_d.HIGHESTORDERYDERIVATIVEUSED); }
    int UsedZ() { return Sink::Read(m_d.HIGHESTORDERZDERIVATIVEUSED); }
    int HighestX() { return Sink::Read(m_d.HIGHESTORDERXDERIVATIVE); }
    int HighestY() { return Sink::Read(m_d.HIGHESTORDERYDERIVATIVE); }
    int HighestZ() { return Sink::Read(m_d.HIGHESTORDERZDERIVATIVE); }

    // The object a term names: an array element through the array's own look-up,
    // null when the host cannot give it, or a section's spacing.
    ZR_VarParam* Term(const ZR_TermRef& t) {
        if (t.name == kH) return this->Spacing(t);
        const int i = this->Index(t, 0);
        const int j = this->Index(t, 1);
        const int k = this->Index(t, 2);
        ZR_Type* element = nullptr;
        switch (t.name) {
        case kValue: element = (*m_d.VALUE).Find(i, j, k); break;
        case kDdx: element = m_d.DDX.Find(i, j, k); break;
        case kDdy: element = m_d.DDY.Find(i, j, k); break;
        case kDdz: element = m_d.DDZ.Find(i, j, k); break;
        case kD2dx2: element = m_d.D2DX2.Find(i, j, k); break;
        case kD2dy2: element = m_d.D2DY2.Find(i, j, k); break;
        case kD2dz2: element = m_d.D2DZ2.Find(i, j, k); break;
        case kIdx: element = m_d.IDX.Find(i, j, k); break;
        case kIdy: element = m_d.IDY.Find(i, j, k); break;
        case kIdz: element = m_d.IDZ.Find(i, j, k); break;
        case kIdxdy: element = m_d.IDXDY.Find(i, j, k); break;
        case kIdxdz: element = m_d.IDXDZ.Find(i, j, k); break;
        case kIdydz: element = m_d.IDYDZ.Find(i, j, k); break;
        default: element = m_d.IDXDYDZ.Find(i, j, k); break;
        }
        return static_cast<ZR_VarParam*>(element);
    }

    // --- the blocks -----------------------------------------------------------
    void Start();
#define ORVANE_DISTRIBUTION3D_BLOCK(M, index) \
    void M##X();                               \
    void M##Y();                               \
    void M##Z();
    ORVANE_METHODS(ORVANE_DISTRIBUTION3D_BLOCK)
#undef ORVANE_DISTRIBUTION3D_BLOCK

    ZR_DISTRIBUTION3D& m_d;
    const Axis m_x;
    const Axis m_y;
    const Axis m_z;
};

}  // namespace zr_distribution3d

// A method's three blocks, for both operations.
#define ORVANE_DISTRIBUTION3D_INSTANTIATE(M)                                        \
    template void zr_distribution3d::Walk<ZR_IncidenceSink>::M##X();               \
    template void zr_distribution3d::Walk<ZR_IncidenceSink>::M##Y();               \
    template void zr_distribution3d::Walk<ZR_IncidenceSink>::M##Z();               \
    template void zr_distribution3d::Walk<ZR_ExpressionSink>::M##X();              \
    template void zr_distribution3d::Walk<ZR_ExpressionSink>::M##Y();              \
    template void zr_distribution3d::Walk<ZR_ExpressionSink>::M##Z();
