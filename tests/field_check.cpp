#include "field_check.h"

#include <cmath>
#include <stdexcept>
#include <utility>

#include "distributions/one/distribution1d.h"
#include "qtvexp/evaluate.h"

namespace fieldcheck {

Polynomial::Polynomial(std::vector<double> coefficients, double centre)
    : m_c(std::move(coefficients)), m_centre(centre) {
    if (m_c.empty()) m_c.push_back(0.0);
}

Polynomial Polynomial::Power(int degree, double centre) {
    std::vector<double> c(static_cast<std::size_t>(degree) + 1, 0.0);
    c.back() = 1.0;
    return Polynomial(std::move(c), centre);
}

double Polynomial::Derivative(double x, int order) const {
    const double t = x - m_centre;
    double sum = 0.0;
    for (int k = Degree(); k >= order; --k) {
        double falling = 1.0;  // k (k-1) ... (k-order+1)
        for (int i = 0; i < order; ++i) falling *= k - i;
        sum = sum * t + m_c[static_cast<std::size_t>(k)] * falling;
    }
    return sum;
}

double Polynomial::Integral(double a, double b) const {
    const double ta = a - m_centre;
    const double tb = b - m_centre;
    double sum = 0.0;
    for (int k = 0; k <= Degree(); ++k)
        sum += m_c[static_cast<std::size_t>(k)] * (std::pow(tb, k + 1) - std::pow(ta, k + 1)) / (k + 1);
    return sum;
}

double RowValue::Relative() const {
    return magnitude > 0.0 ? std::fabs(residual) / magnitude : std::fabs(residual);
}

std::vector<RowValue> EvaluateRows(const qtvhost::Host& host, std::size_t first) {
    std::vector<RowValue> rows;
    for (std::size_t i = first; i < host.expressions.size(); ++i) {
        const qtvhost::ExpressionRecord& e = host.expressions[i];
        const qtvhost::Evaluation ev = qtvhost::Evaluate(host, e);
        RowValue r;
        r.record = i;
        r.name = host.EquationName(e);
        r.parsed = ev.ok;
        r.error = ev.error;
        r.residual = ev.value;
        r.magnitude = ev.magnitude;
        rows.push_back(r);
    }
    return rows;
}

namespace {

int Int(ZR_INTEGERPARAMETER& p) { return p.v(); }

template <class Place>
std::vector<double> Nodes(ZR_DOMAIN& domain, Place&& place) {
    std::vector<double> x(static_cast<std::size_t>(Int(domain.ENDNODE)) + 1, 0.0);
    auto at = [&](int node) -> double& {
        if (node < 0 || static_cast<std::size_t>(node) >= x.size())
            throw std::out_of_range("node " + std::to_string(node) + " outside the domain");
        return x[static_cast<std::size_t>(node)];
    };
    const int sections = Int(*domain.NUMSECTIONS);
    for (int s = 1; s <= sections; ++s) {
        ZR_SECTIONDATAMODEL& sec = (*domain.SECTION)(s);
        const int b = Int(sec.BASE);
        if (s == 1) at(b) = (*sec.LOCATION).v();
        place(sec, b, at);
    }
    return x;
}

}  // namespace

std::vector<double> UniformNodes(ZR_DOMAIN& domain) {
    return Nodes(domain, [](ZR_SECTIONDATAMODEL& sec, int b, auto& at) {
        const double h = sec.ELEMENTLENGTH.v();
        const double start = at(b);
        for (int m = 1; m <= Int(sec.NODECOUNT); ++m) at(b + m) = start + m * h;
    });
}

std::vector<double> ElementNodes(ZR_DOMAIN& domain, const std::vector<double>& inner) {
    const int width = static_cast<int>(inner.size()) + 1;
    return Nodes(domain, [&](ZR_SECTIONDATAMODEL& sec, int b, auto& at) {
        const double h = sec.ELEMENTLENGTH.v();
        for (int j = 1; j <= Int(sec.NUMELEMENTS); ++j) {
            const int k = b + (j - 1) * width;
            const double start = at(k);
            for (int p = 0; p + 1 < width; ++p) at(k + p + 1) = start + inner[static_cast<std::size_t>(p)] * h;
            at(k + width) = start + h;
        }
    });
}

namespace {

template <class F>
void ForEach(const SUValue& set, F&& body) {
    for (int i = 0; i < set.SetSize(); ++i) body(set.IntegerAt(i));
}

}  // namespace

void Fill(ZR_DISTRIBUTION1D& d, const std::vector<double>& x, const Polynomial& p) {
    auto at = [&](int n) {
        if (n < 0 || static_cast<std::size_t>(n) >= x.size())
            throw std::out_of_range("no coordinate for node " + std::to_string(n));
        return x[static_cast<std::size_t>(n)];
    };
    ForEach(d.ZR_VALUE_SET1.fv(), [&](int n) { (*d.VALUE)(n).SetValue(p(at(n))); });
    ForEach(d.ZR_DDX_SET1.fv(), [&](int n) { d.DDX(n).SetValue(p.Derivative(at(n), 1)); });
    ForEach(d.ZR_D2DX2_SET1.fv(), [&](int n) { d.D2DX2(n).SetValue(p.Derivative(at(n), 2)); });
    ForEach(d.ZR_IDX_SET1.fv(), [&](int n) { d.IDX(n).SetValue(n == 0 ? 0.0 : p.Integral(at(n - 1), at(n))); });
}

}  // namespace fieldcheck
