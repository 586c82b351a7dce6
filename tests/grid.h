// A distribution of one, two or three dimensions over domains of its own, set up
// as a user would (per axis: method, sections, spacings, the domain's highest
// derivative, boundary condition; the distribution's derivative orders and
// integrals), settled, and driven through SetUpEquations and JacPattern; the
// declared rows are read back from the host's records.
//
// How a method's tests use it (here the x block of a two-dimensional BFD1):
//
//   grid::Grid2 g;                                  // x = axis 0, y = axis 1
//   g.Method(grid::kX, "BFD1").Method(grid::kY, "CFD2").SectionSpacings(grid::kX, {1.0 / 8, 1.0 / 16});
//   g.Highest(2).Used(2).Integrals({"idx", "idxdy"});   // no axis given: every axis
//   g.Settle().Declare();
//   const std::vector<grid::Row> rows = g.Rows();
//
//   // census: every DDX element has its row, joints have two
//   const grid::Census census(rows);
//   EXPECT_EQ(census.Count("DDX", {4, 0}), 1);
//   EXPECT_GT(census.Rows(6), 0);                   // ZR_Eqn6 declares rows
//
//   // exactness: per family, the degree its stencil is exact to in its own direction
//   fieldcheck::ExpectExactness(g, fieldcheck::UniformNodes(g),
//       {{"starts", {1, 3, 4}, grid::kAnyDegree},
//        {"two-point differences", {5, 6, 8}, 1, grid::kX},
//        {"three-point second differences", {7}, 3, grid::kX}},
//       1e-12, 1e-7);
//
//   // and the walks agree, the elements lie in their index sets (test_agreement)
//   grid::ExpectWalksAgree(g);
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "distributions/one/distribution1d.h"
#include "distributions/three/distribution3d.h"
#include "distributions/two/distribution2d.h"
#include "qtvexp/recorder.h"

namespace grid {

enum Axis { kX = 0, kY = 1, kZ = 2 };
constexpr int kAllAxes = -1;
// A family degree above every degree tried: exact for every polynomial.
constexpr int kAnyDegree = 50;

// One variable or parameter term of a row, read from the name the host gives it
// and from what it is.
struct Term {
    std::string text;         // the host's name: "VALUE(3,0)", "XDOMAIN.SECTION(2).ELEMENTLENGTH"
    std::string array;        // the array an element belongs to ("VALUE"); for a parameter its own name
    std::vector<int> index;   // the integers inside the last parentheses: an element's tuple, a section number
    bool parameter = false;   // a domain's parameter rather than an element of the distribution
    int axis = -1;            // for a section's ELEMENTLENGTH: the axis whose domain holds it
    int section = 0;          // and the section
    const ZR_VarParam* var = nullptr;

    // The name tests compare against, whatever the host calls the term: an
    // element as "VALUE(3,0)", a section's spacing by its domain's reference,
    // "XDOMAIN.SECTION(2).ELEMENTLENGTH".
    std::string Name() const;
    bool operator==(const Term& other) const { return var == other.var && text == other.text; }
};

// A term read from its name alone; axis and section stay unknown.
Term ParseTerm(const std::string& text);

// One declared equation instance.
struct Row {
    std::size_t record = 0;  // index into the host's expression records
    int site = -1;           // N of "ZR_EqnN"
    int group = 0;
    Term subject;            // the first term: the element the row defines
    std::vector<Term> terms; // every variable and parameter term, in stream order

    // The subject's index on one axis (-1 when it has none).
    int Node(int axis = kX) const;
    // Every term's Name(), in stream order.
    std::vector<std::string> Names() const;
};

// "N@i" (one dimension) or "N@i,j,k" for each row: the form worked examples are
// written in.
std::vector<std::string> Sequence(const std::vector<Row>& rows);
// "N@lo" to "N@hi", and runs of rows one after the other: one-dimensional
// examples in that form.
std::vector<std::string> Span(int site, int lo, int hi);
std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts);

// The direction an array differentiates or integrates last along, the block
// that defines it ("IDXDY": y); -1 for VALUE.
int DirectionOf(const std::string& array);
// Every index tuple from all zeros to `end`, the last axis fastest.
void EachNode(const std::vector<int>& end, const std::function<void(const std::vector<int>&)>& f);

// One array of a distribution: its index set in each dimension and its elements.
struct ArrayView {
    std::string name;
    std::vector<const ZR_Set*> sets;  // one per dimension
    ZR_REALVARIABLE& (*element)(ZR_ModelType& d, const int* index);
};

class Grid;
template <class D>
class GridOf;
using Grid1 = GridOf<ZR_DISTRIBUTION1D>;
using Grid2 = GridOf<ZR_DISTRIBUTION2D>;
using Grid3 = GridOf<ZR_DISTRIBUTION3D>;

// The builder, whatever the dimension. Setters given no axis set every axis;
// their values are fixed as the user's before Settle. A value the host refuses
// throws, naming it.
class Grid {
public:
    virtual ~Grid();
    Grid(const Grid&) = delete;
    Grid& operator=(const Grid&) = delete;

    int Dimensions() const { return static_cast<int>(m_domains.size()); }

    // --- the domains --------------------------------------------------------
    Grid& Method(int axis, const char* text);
    Grid& Method(const char* text) { return Method(kAllAxes, text); }
    Grid& Sections(int axis, int count);
    Grid& Sections(int count) { return Sections(kAllAxes, count); }
    Grid& Spacing(int axis, double preference);  // the domain's SPACINGPREFERENCE
    Grid& Spacing(double preference) { return Spacing(kAllAxes, preference); }
    // One preference per section; sets the section count too.
    Grid& SectionSpacings(int axis, std::vector<double> preferences);
    Grid& SectionSpacings(std::vector<double> preferences) { return SectionSpacings(kAllAxes, preferences); }
    Grid& Highest(int axis, int order);          // the domain's HIGHESTORDERDERIVATIVE
    Grid& Highest(int order) { return Highest(kAllAxes, order); }
    Grid& Boundary(int axis, const char* text);
    Grid& Boundary(const char* text) { return Boundary(kAllAxes, text); }
    // Texts outside the parameter's valid set, past the host's check.
    Grid& MethodUnchecked(int axis, const char* text);
    Grid& MethodUnchecked(const char* text) { return MethodUnchecked(kAllAxes, text); }
    Grid& BoundaryUnchecked(int axis, const char* text);
    Grid& BoundaryUnchecked(const char* text) { return BoundaryUnchecked(kAllAxes, text); }

    // --- the distribution ---------------------------------------------------
    Grid& Used(int axis, int order);             // HIGHESTORDER<axis>DERIVATIVEUSED
    Grid& Used(int order) { return Used(kAllAxes, order); }
    Grid& Integrals(const std::vector<std::string>& names);  // INTEGRALS := the set of these

    // Domains, then the distribution, to their settled values; arrays sized.
    Grid& Settle();
    // SetUpEquations with the host's last group at groupBase, then JacPattern.
    Grid& Declare(int groupBase = 100);

    ZR_DOMAIN& Domain(int axis = kX);
    int EndNode(int axis = kX);
    int SectionCount(int axis = kX);
    ZR_SECTIONDATAMODEL& Section(int axis, int s);
    ZR_SECTIONDATAMODEL& Section(int s) { return Section(kX, s); }

    // The rows of the last Declare, as JacPattern declared them.
    std::vector<Row> Rows() const;

    virtual ZR_ModelType& Model() = 0;
    virtual ZR_Bookkeeping& Book() = 0;
    // Every array of the distribution, VALUE first.
    virtual std::vector<ArrayView> Arrays() = 0;

    // Results of the last Declare.
    int setUpResult = 0;
    int patternResult = 0;
    std::size_t firstIncidence = 0, firstExpression = 0, firstTerm = 0;
    std::vector<int> patternRows, patternCols;

protected:
    explicit Grid(int dimensions);
    // Links the distribution's domain references, x first, to the grid's domains.
    void Link(const std::vector<ZR_ExternalBase*>& references);
    virtual ZR_INTEGERPARAMETER& UsedParameter(int axis) = 0;
    virtual ZR_STRINGSET& IntegralsParameter() = 0;

private:
    template <class F>
    Grid& EachAxis(int axis, F&& set);
    std::vector<std::unique_ptr<ZR_DOMAIN>> m_domains;
    std::vector<std::vector<double>> m_sectionSpacings;
};

// How the grid reaches the members of each distribution type.
template <class D>
struct Shape;

template <class D>
class GridOf : public Grid {
public:
    GridOf() : Grid(Shape<D>::kDimensions) { Link(Shape<D>::Domains(dist)); }
    ZR_ModelType& Model() override { return dist; }
    ZR_Bookkeeping& Book() override { return dist.Book; }
    std::vector<ArrayView> Arrays() override { return Shape<D>::Arrays(dist); }

    D dist;

protected:
    ZR_INTEGERPARAMETER& UsedParameter(int axis) override { return Shape<D>::Used(dist, axis); }
    ZR_STRINGSET& IntegralsParameter() override { return dist.INTEGRALS; }
};

// Rows per subject array and index tuple, and which sites define which arrays.
class Census {
public:
    explicit Census(const std::vector<Row>& rows);
    // How many rows have this element as their subject.
    int Count(const std::string& array, const std::vector<int>& index) const;
    // Every subject tuple of an array with its row count.
    const std::map<std::vector<int>, int>& Of(const std::string& array) const;
    // The rows of one site; every site with each array its rows define.
    int Rows(int site) const;
    const std::set<std::pair<int, std::string>>& Pairs() const { return m_pairs; }

private:
    std::map<std::string, std::map<std::vector<int>, int>> m_counts;
    std::map<int, int> m_sites;
    std::set<std::pair<int, std::string>> m_pairs;
};

// Every element a row names lies in its array's index sets; every parameter is
// a section's ELEMENTLENGTH of one of the grid's domains.
void ExpectInsideIndexSets(Grid& grid, const std::vector<Row>& rows);

// Declares with the host's base results at `base` (and SetLocalEqnCount adding
// `offset`), then checks that the two walks meet the same instances: as many,
// the n-th of each with the same group and the same variables and parameters in
// the same order; the results and bookkeeping words add up; every stream is a
// whole expression; every site keeps one group and the groups rise with the
// walk; every element named lies in its index sets.
void ExpectWalksAgree(Grid& grid, int groupBase = 20, int base = 3, int offset = 1000);

// --- random configurations -----------------------------------------------------------

struct AxisSetup {
    const char* method;
    std::vector<double> spacings;  // one per section
    int highest;                   // the domain's HIGHESTORDERDERIVATIVE
    int used;                      // the distribution's order; -1: left to its default
    const char* boundary;
};

struct Setup {
    std::uint32_t seed;
    std::vector<AxisSetup> axes;
    std::vector<std::string> integrals;  // empty: left to the default
    bool Has(const std::string& name) const;
    std::string Describe() const;
};

// Per axis any method, one to three sections of spacings of their own, a domain
// of order 1 to 3, any order in use or its default and any boundary text (either
// value in either letter case, or neither); any choice of integrals. Drawn from
// the engine's own output, which the standard fixes, so that a seed means the
// same configuration everywhere.
Setup DrawSetup(std::uint32_t seed, int dimensions);
void Configure(Grid& g, int axis, const AxisSetup& x);
// Every choice fixed, then settled; false when the grid has more nodes than a
// test of its dimension runs over in good time.
bool Configure(Grid& g, const Setup& s);
std::unique_ptr<Grid> Make(int dimensions);

// --- the members of each dimension -----------------------------------------------

namespace detail {
template <class A>
ZR_REALVARIABLE& At(A& array, const int* i) {
    if constexpr (std::is_base_of_v<ZR_BASE_I, A>) {
        return array(i[0]);
    } else if constexpr (std::is_base_of_v<ZR_BASE_II, A>) {
        return array(i[0], i[1]);
    } else {
        return array(i[0], i[1], i[2]);
    }
}
template <class A>
ZR_REALVARIABLE& At(ZR_Virtual<A>& array, const int* i) {
    return At(*array, i);
}
}  // namespace detail

// An ArrayView entry for a member array of D.
#define GRID_ARRAY(D, member, ...)                                                                  \
    ArrayView {                                                                                     \
        #member, {__VA_ARGS__}, [](ZR_ModelType& m, const int* i) -> ZR_REALVARIABLE& {             \
            return detail::At(static_cast<D&>(m).member, i);                                        \
        }                                                                                           \
    }

template <>
struct Shape<ZR_DISTRIBUTION1D> {
    using D = ZR_DISTRIBUTION1D;
    static constexpr int kDimensions = 1;
    static std::vector<ZR_ExternalBase*> Domains(D& d) { return {&d.XDOMAIN}; }
    static ZR_INTEGERPARAMETER& Used(D& d, int) { return d.HIGHESTORDERXDERIVATIVEUSED; }
    static std::vector<ArrayView> Arrays(D& d) {
        return {
            GRID_ARRAY(D, VALUE, &d.ZR_VALUE_SET1),
            GRID_ARRAY(D, DDX, &d.ZR_DDX_SET1),
            GRID_ARRAY(D, D2DX2, &d.ZR_D2DX2_SET1),
            GRID_ARRAY(D, IDX, &d.ZR_IDX_SET1),
        };
    }
};

template <>
struct Shape<ZR_DISTRIBUTION2D> {
    using D = ZR_DISTRIBUTION2D;
    static constexpr int kDimensions = 2;
    static std::vector<ZR_ExternalBase*> Domains(D& d) { return {&d.XDOMAIN, &d.YDOMAIN}; }
    static ZR_INTEGERPARAMETER& Used(D& d, int axis) {
        return axis == kX ? d.HIGHESTORDERXDERIVATIVEUSED : d.HIGHESTORDERYDERIVATIVEUSED;
    }
    static std::vector<ArrayView> Arrays(D& d) {
        return {
            GRID_ARRAY(D, VALUE, &d.ZR_VALUE_SET1, &d.ZR_VALUE_SET2),
            GRID_ARRAY(D, DDX, &d.ZR_DDX_SET1, &d.ZR_DDX_SET2),
            GRID_ARRAY(D, DDY, &d.ZR_DDY_SET1, &d.ZR_DDY_SET2),
            GRID_ARRAY(D, D2DX2, &d.ZR_D2DX2_SET1, &d.ZR_D2DX2_SET2),
            GRID_ARRAY(D, D2DY2, &d.ZR_D2DY2_SET1, &(*d.YDOMAIN).INTERIOR),
            GRID_ARRAY(D, IDX, &d.ZR_IDX_SET1, &d.ZR_IDX_SET2),
            GRID_ARRAY(D, IDY, &d.ZR_IDY_SET1, &d.ZR_IDY_SET2),
            GRID_ARRAY(D, IDXDY, &d.ZR_IDXDY_SET1, &d.ZR_IDXDY_SET2),
        };
    }
};

template <>
struct Shape<ZR_DISTRIBUTION3D> {
    using D = ZR_DISTRIBUTION3D;
    static constexpr int kDimensions = 3;
    static std::vector<ZR_ExternalBase*> Domains(D& d) { return {&d.XDOMAIN, &d.YDOMAIN, &d.ZDOMAIN}; }
    static ZR_INTEGERPARAMETER& Used(D& d, int axis) {
        return axis == kX ? d.HIGHESTORDERXDERIVATIVEUSED
                          : (axis == kY ? d.HIGHESTORDERYDERIVATIVEUSED : d.HIGHESTORDERZDERIVATIVEUSED);
    }
    static std::vector<ArrayView> Arrays(D& d) {
        return {
            GRID_ARRAY(D, VALUE, &d.ZR_VALUE_SET1, &d.ZR_VALUE_SET2, &d.ZR_VALUE_SET3),
            GRID_ARRAY(D, DDX, &d.ZR_DDX_SET1, &d.ZR_DDX_SET2, &d.ZR_DDX_SET3),
            GRID_ARRAY(D, DDY, &d.ZR_DDY_SET1, &d.ZR_DDY_SET2, &d.ZR_DDY_SET3),
            GRID_ARRAY(D, DDZ, &d.ZR_DDZ_SET1, &d.ZR_DDZ_SET2, &d.ZR_DDZ_SET3),
            GRID_ARRAY(D, D2DX2, &d.ZR_D2DX2_SET1, &d.ZR_D2DX2_SET2, &d.ZR_D2DX2_SET3),
            GRID_ARRAY(D, D2DY2, &d.ZR_D2DY2_SET1, &(*d.YDOMAIN).INTERIOR, &d.ZR_D2DY2_SET3),
            GRID_ARRAY(D, D2DZ2, &d.ZR_D2DZ2_SET1, &d.ZR_D2DZ2_SET2, &(*d.ZDOMAIN).INTERIOR),
            GRID_ARRAY(D, IDX, &d.ZR_IDX_SET1, &d.ZR_IDX_SET2, &d.ZR_IDX_SET3),
            GRID_ARRAY(D, IDY, &d.ZR_IDY_SET1, &d.ZR_IDY_SET2, &d.ZR_IDY_SET3),
            GRID_ARRAY(D, IDZ, &d.ZR_IDZ_SET1, &d.ZR_IDZ_SET2, &d.ZR_IDZ_SET3),
            GRID_ARRAY(D, IDXDY, &d.ZR_IDXDY_SET1, &d.ZR_IDXDY_SET2, &d.ZR_IDXDY_SET3),
            GRID_ARRAY(D, IDXDZ, &d.ZR_IDXDZ_SET1, &d.ZR_IDXDZ_SET2, &d.ZR_IDXDZ_SET3),
            GRID_ARRAY(D, IDYDZ, &d.ZR_IDYDZ_SET1, &d.ZR_IDYDZ_SET2, &d.ZR_IDYDZ_SET3),
            GRID_ARRAY(D, IDXDYDZ, &d.ZR_IDXDYDZ_SET1, &d.ZR_IDXDYDZ_SET2, &d.ZR_IDXDYDZ_SET3),
        };
    }
};

#undef GRID_ARRAY

}  // namespace grid
