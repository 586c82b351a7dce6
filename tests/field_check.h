// The polynomial-field check: give a distribution's variables the values of a
// product field p(x)·q(y)·r(z) and its exact partial derivatives and cell
// integrals, then evaluate every residual the distribution declared, as the host
// does. A row whose stencil is exact for the field's degree in its direction
// evaluates to zero up to rounding, relative to the magnitude of its terms.
//
// The exactness harness runs that check over families of rows (sites that share
// a stencil and so the degree they are exact to): see the example in grid.h.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "grid.h"
#include "qtvexp/recorder.h"

namespace fieldcheck {

// p(x) = sum of c[k] (x - centre)^k.
class Polynomial {
public:
    explicit Polynomial(std::vector<double> coefficients, double centre = 0.0);
    // (x - centre)^degree.
    static Polynomial Power(int degree, double centre);

    int Degree() const { return static_cast<int>(m_c.size()) - 1; }
    double operator()(double x) const { return Derivative(x, 0); }
    double Derivative(double x, int order = 1) const;
    // The integral of p from a to b.
    double Integral(double a, double b) const;

private:
    std::vector<double> m_c;
    double m_centre;
};

// One declared equation evaluated on the variables' current values.
struct RowValue {
    std::size_t record = 0;  // index into the host's expression records
    std::string name;
    bool parsed = false;
    std::string error;       // why the stream did not parse
    double residual = 0.0;
    double magnitude = 0.0;  // the same tree on the terms' magnitudes
    // |residual| relative to the magnitude (absolute when the magnitude is zero).
    double Relative() const;
};

// Every equation the host recorded from record `first` on.
std::vector<RowValue> EvaluateRows(const qtvhost::Host& host, std::size_t first = 0);

// --- node coordinates, one domain at a time ----------------------------------------

// The first node at section 1's LOCATION, each section's nodes following its
// first node. Finite-difference methods: neighbouring nodes of section s lie
// ELEMENTLENGTH(s) apart.
std::vector<double> UniformNodes(ZR_DOMAIN& domain);
// Collocation: element j of section s spans ELEMENTLENGTH(s); its inner nodes lie
// at the given fractions of it, its last node at its end.
std::vector<double> ElementNodes(ZR_DOMAIN& domain, const std::vector<double>& inner);

// Coordinates of every axis of a grid, x first.
using Coordinates = std::vector<std::vector<double>>;
// UniformNodes of every axis.
Coordinates UniformNodes(grid::Grid& g);

// --- the field -----------------------------------------------------------------

// Fills every element of every array's index sets from the product of one
// factor per axis, each placed on its axis's coordinates:
//   VALUE = pqr, DDX = p'qr, DDY = pq'r, D2DX2 = p''qr, ...
//   IDX(i,..) = (integral of p over [x(i-1), x(i)])·q(y_j)·r(z_k), 0 at i = 0;
//   IDXDY(i,j,..) = (integral of p over cell i)·(integral of q over cell j)·r(z_k),
//   0 where i = 0 or j = 0; and so for every integral.
// A node without a coordinate throws.
void Fill(grid::Grid& g, const Coordinates& x, const std::vector<Polynomial>& factors);

// --- exactness -------------------------------------------------------------------

// Rows whose residuals share a stencil along one axis and so the degree of
// polynomial in that direction for which they are exact.
struct Family {
    const char* label;
    std::vector<int> sites;
    int degree;             // above grid::kAnyDegree: exact for every field tried
    int axis = grid::kX;    // the direction of the stencil
};

// For each axis that some family differences along, fills the grid with
// (t - centre)^d along that axis, d from 0 to one above its families' highest
// degree, and a fixed quadratic along every other axis. Every row of a family of
// that axis (and of any family of grid::kAnyDegree) vanishes within `exact`,
// relative to the magnitude of its terms, up to its family's degree, and in
// every family that was declared some row misses by more than `clear` at one
// degree more. A row of no family is a failure.
void ExpectExactness(grid::Grid& g, const Coordinates& x, const std::vector<Family>& families, double exact,
                     double clear, double centre = 0.3);

// --- agreement with one dimension --------------------------------------------------

// Whether the rows of an array on one line (its indices with the line's axis
// left out) are all those of the one-dimensional distribution, or may be fewer.
using WholeLine = std::function<bool(const std::string& array, const std::vector<int>& line)>;

// The rows that `high`'s block of `axis` declares (their subject differentiates
// along the axis, or integrates along it last, as IDXDY is the y rule applied to
// IDX) against the rows of `line`, a one-dimensional distribution over a domain
// set up as that axis's and declared before or after `high`. Fills `high` with
// the product of `factors` on the coordinates `x` and `line` with the axis's
// factor; then on every line of `high` along the axis each row's residual is
// the residual of a row of `line` at the same node, of the array that stands
// there in one dimension (DDY: DDX, IDXDY: IDX, ...), times what the other axes'
// factors give that line; rows are matched by value, whatever their order or
// site. On the lines `whole` accepts (every line when it is empty) the rows are
// all those of `line`, node for node. Returns the number of rows matched.
int ExpectAgreesAlongAxis(grid::Grid& high, int axis, grid::Grid& line, const Coordinates& x,
                          const std::vector<Polynomial>& factors, const WholeLine& whole = {},
                          double tolerance = 1e-12);

// The rows of `high` whose block is one of the axes `kept` (their subject
// differentiates or integrates along kept axes only) against the rows of
// `lower`, a distribution over domains set up as those axes', in that order,
// declared before or after `high`. Fills `high` with the product of `factors`
// on the coordinates `x` and `lower` with the kept axes' factors; then on every
// sub-grid where the other axes stand at fixed nodes each row names the terms
// of a row of `lower` (the kept axes renamed x, y in order, the fixed indices
// dropped; in any order), its residual is that row's times the other axes'
// factors at the fixed nodes, and the rows come in `lower`'s order. Where
// `whole` accepts an array at the fixed nodes (given in axis order; everywhere
// when it is empty) every row of `lower` has its counterpart. The order is not
// checked when `ordered` is false, for blocks whose loops order their rows
// differently in each dimension. Returns the number of rows matched.
int ExpectAgreesOnSubgrids(grid::Grid& high, const std::vector<int>& kept, grid::Grid& lower, const Coordinates& x,
                           const std::vector<Polynomial>& factors, const WholeLine& whole = {},
                           double tolerance = 1e-10, bool ordered = true);

}  // namespace fieldcheck
