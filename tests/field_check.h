// The polynomial-field check: give a distribution's variables the values of a
// polynomial field and its exact derivatives and node-interval integrals, then
// evaluate every residual the distribution declared, as the host does. A row
// whose stencil is exact for the polynomial's degree evaluates to zero up to
// rounding, relative to the magnitude of its terms.
//
// The polynomial and the evaluation serve any distribution; the fill below is the
// one-dimensional one.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "qtvexp/recorder.h"

class ZR_DOMAIN;
class ZR_DISTRIBUTION1D;

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

// --- one dimension ---------------------------------------------------------------

// Node coordinates of a domain from its section records: the first node at
// section 1's LOCATION, each section's nodes following its first node.
// Finite-difference methods: neighbouring nodes of section s lie ELEMENTLENGTH(s)
// apart.
std::vector<double> UniformNodes(ZR_DOMAIN& domain);
// Collocation: element j of section s spans ELEMENTLENGTH(s); its inner nodes lie
// at the given fractions of it, its last node at its end.
std::vector<double> ElementNodes(ZR_DOMAIN& domain, const std::vector<double>& inner);

// VALUE(n) := p(x[n]), DDX(n) := p'(x[n]), D2DX2(n) := p''(x[n]), IDX(n) := the
// integral of p from x[n-1] to x[n] and IDX(0) := 0, for every node n of each
// array's index set.
void Fill(ZR_DISTRIBUTION1D& distribution, const std::vector<double>& x, const Polynomial& p);

}  // namespace fieldcheck
