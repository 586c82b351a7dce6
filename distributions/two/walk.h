// The equation walk of the two-dimensional distribution: the integral start
// rows, then for each method, in the order the methods are tested, its x block
// (entered when XDOMAIN names the method) and its y block (when YDOMAIN does).
// The same walk serves SetUpEquations and JacPattern; the sink decides what the
// host is told. Each method's rows and block programs live in a source of
// their own (bfd1.cpp, ...), which instantiates them for both sinks.
//
// Rows are written with two indices, x node first: "(DDX(i,j) * h) +
// (VALUE(i-1,j) - VALUE(i,j))". Letters: i and j the x and y node; s, b and e
// the section of the block's own direction and its first and last node; n the
// first node of the element being visited, in the block's own direction. h is
// the ELEMENTLENGTH of the walk's section of the block's own direction, h(s+1)
// that of the next one.
#pragma once
#include "distributions/methods.h"
#include "distributions/two/distribution2d.h"
#include "distributions/walk.h"

namespace zr_distribution2d {

#define ORVANE_DISTRIBUTION2D_TERMS(X)                                                                \
    X(kValue, "VALUE") X(kDdx, "DDX") X(kDdy, "DDY") X(kD2dx2, "D2DX2") X(kD2dy2, "D2DY2") X(kIdx, "IDX") \
        X(kIdy, "IDY") X(kIdxdy, "IDXDY") X(kH, "h")
ORVANE_VOCABULARY(ORVANE_DISTRIBUTION2D_TERMS);
enum Slot : std::uint8_t { kI = kFirstNodeSlot, kJ };
inline constexpr ZR_Vocabulary kVocabulary(kNames, "sbenij");
static_assert(ZR_LettersFollowTheSlots(kVocabulary, "ij"), "letters in the order of the slots");

// How far each method's rows reach beyond their loop letters (from its rows).
#define ORVANE_DISTRIBUTION2D_REACH(M, index) extern const int kReach##M;
ORVANE_METHODS(ORVANE_DISTRIBUTION2D_REACH)
#undef ORVANE_DISTRIBUTION2D_REACH

template <class Sink>
class Walk : public ZR_Walk<Walk<Sink>, Sink> {
    ORVANE_WALK_BASE(Walk);

public:
    Walk(ZR_DISTRIBUTION2D& d, Sink& sink) : Base(sink), m_d(d), m_x(*d.XDOMAIN), m_y(*d.YDOMAIN) {}

    void Run() {
        Start();
#define ORVANE_DISTRIBUTION2D_BLOCKS(M, index)    \
    if (m_x.MethodIs(kZR_MethodNames[index])) { \
        Enter(4 + 2 * index, m_x);               \
        M##X();                                  \
    }                                            \
    if (m_y.MethodIs(kZR_MethodNames[index])) { \
        Enter(5 + 2 * index, m_y);               \
        M##Y();                                  \
    }
        ORVANE_METHODS(ORVANE_DISTRIBUTION2D_BLOCKS)
#undef ORVANE_DISTRIBUTION2D_BLOCKS
    }

private:
    // --- what the blocks read -------------------------------------------------
    // Whether INTEGRALS holds the name.
    bool Has(const char* integral) { return SetContainsString(integral, Sink::Read(*m_d.INTEGRALS)) != 0; }
    int UsedX() { return Sink::Read(m_d.HIGHESTORDERXDERIVATIVEUSED); }
    int UsedY() { return Sink::Read(m_d.HIGHESTORDERYDERIVATIVEUSED); }
    int HighestX() { return Sink::Read(m_d.HIGHESTORDERXDERIVATIVE); }
    int HighestY() { return Sink::Read(m_d.HIGHESTORDERYDERIVATIVE); }

    // The object a term names: an array element through the array's own look-up,
    // null when the host cannot give it, or a section's spacing.
    ZR_VarParam* Term(const ZR_TermRef& t) {
        if (t.name == kH) return this->Spacing(t);
        const int i = this->Index(t, 0);
        const int j = this->Index(t, 1);
        ZR_Type* element = nullptr;
        switch (t.name) {
        case kValue: element = (*m_d.VALUE).Find(i, j); break;
        case kDdx: element = m_d.DDX.Find(i, j); break;
        case kDdy: element = m_d.DDY.Find(i, j); break;
        case kD2dx2: element = m_d.D2DX2.Find(i, j); break;
        case kD2dy2: element = m_d.D2DY2.Find(i, j); break;
        case kIdx: element = m_d.IDX.Find(i, j); break;
        case kIdy: element = m_d.IDY.Find(i, j); break;
        default: element = m_d.IDXDY.Find(i, j); break;
        }
        return static_cast<ZR_VarParam*>(element);
    }

    // --- the blocks -----------------------------------------------------------
    void Start();
#define ORVANE_DISTRIBUTION2D_BLOCK(M, index) \
    void M##X();                               \
    void M##Y();
    ORVANE_METHODS(ORVANE_DISTRIBUTION2D_BLOCK)
#undef ORVANE_DISTRIBUTION2D_BLOCK

    ZR_DISTRIBUTION2D& m_d;
    const Axis m_x;
    const Axis m_y;
};

}  // namespace zr_distribution2d

// A method's two blocks, for both operations.
#define ORVANE_DISTRIBUTION2D_INSTANTIATE(M)                                        \
    template void zr_distribution2d::Walk<ZR_IncidenceSink>::M##X();               \
    template void zr_distribution2d::Walk<ZR_IncidenceSink>::M##Y();               \
    template void zr_distribution2d::Walk<ZR_ExpressionSink>::M##X();              \
    template void zr_distribution2d::Walk<ZR_ExpressionSink>::M##Y();
