#include "field_check.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <stdexcept>
#include <utility>

#include <gtest/gtest.h>

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
        rows.push_back({i, host.EquationName(e), ev.ok, ev.error, ev.value, ev.magnitude});
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

Coordinates UniformNodes(grid::Grid& g) {
    Coordinates x;
    for (int a = 0; a < g.Dimensions(); ++a) x.push_back(UniformNodes(g.Domain(a)));
    return x;
}

namespace {

// What an array holds along each axis, read from its name: the variable (0), its
// first (1) or second (2) derivative, or its integral over the cell ending at the
// node (kIntegral).
constexpr int kIntegral = 3;

std::vector<int> Operations(const std::string& name, int dimensions) {
    std::vector<int> op(static_cast<std::size_t>(dimensions), 0);
    auto axis = [&](char letter) {
        const int a = letter - 'X';
        if (a < 0 || a >= dimensions) throw std::invalid_argument("no axis " + std::string(1, letter) + " in " + name);
        return static_cast<std::size_t>(a);
    };
    if (name == "VALUE") return op;
    if (name.size() == 5 && name.compare(0, 3, "D2D") == 0 && name[4] == '2') {
        op[axis(name[3])] = 2;
    } else if (name.size() == 3 && name.compare(0, 2, "DD") == 0) {
        op[axis(name[2])] = 1;
    } else if (name.size() >= 3 && name[0] == 'I' && name.size() % 2 == 1) {
        for (std::size_t p = 1; p < name.size(); p += 2) {
            if (name[p] != 'D') throw std::invalid_argument("no field for " + name);
            op[axis(name[p + 1])] = kIntegral;
        }
    } else {
        throw std::invalid_argument("no field for " + name);
    }
    return op;
}

template <class F>
void ForEachTuple(const std::vector<const ZR_Set*>& sets, F&& body) {
    std::vector<int> index(sets.size());
    std::vector<int> size(sets.size());
    for (std::size_t d = 0; d < sets.size(); ++d) {
        size[d] = sets[d]->fv().SetSize();
        if (size[d] == 0) return;
    }
    std::vector<int> pos(sets.size(), 0);
    while (true) {
        for (std::size_t d = 0; d < sets.size(); ++d) index[d] = sets[d]->fv().IntegerAt(pos[d]);
        body(index);
        std::size_t d = sets.size();
        while (d > 0 && ++pos[d - 1] == size[d - 1]) pos[--d] = 0;
        if (d == 0) return;
    }
}

}  // namespace

void Fill(grid::Grid& g, const Coordinates& x, const std::vector<Polynomial>& factors) {
    const int dims = g.Dimensions();
    if (static_cast<int>(x.size()) != dims || static_cast<int>(factors.size()) != dims)
        throw std::invalid_argument("one coordinate list and one factor per axis");
    // Each factor's values by operation and node, computed once.
    std::vector<std::map<int, std::vector<double>>> table(static_cast<std::size_t>(dims));
    auto factor = [&](std::size_t a, int op, int n) {
        const std::vector<double>& xa = x[a];
        if (n < 0 || static_cast<std::size_t>(n) >= xa.size())
            throw std::out_of_range("no coordinate for node " + std::to_string(n) + " of axis " + std::to_string(a));
        std::vector<double>& values = table[a][op];
        if (values.empty()) {
            const Polynomial& p = factors[a];
            for (std::size_t m = 0; m < xa.size(); ++m)
                values.push_back(op == kIntegral ? (m == 0 ? 0.0 : p.Integral(xa[m - 1], xa[m]))
                                                 : p.Derivative(xa[m], op));
        }
        return values[static_cast<std::size_t>(n)];
    };
    ZR_ModelType& model = g.Model();
    for (const grid::ArrayView& array : g.Arrays()) {
        const std::vector<int> op = Operations(array.name, dims);
        ForEachTuple(array.sets, [&](const std::vector<int>& index) {
            double v = 1.0;
            for (std::size_t a = 0; a < index.size(); ++a) v *= factor(a, op[a], index[a]);
            array.element(model, index.data()).SetValue(v);
        });
    }
}

void ExpectExactness(grid::Grid& g, const Coordinates& x, const std::vector<Family>& families, double exact,
                     double clear, double centre) {
    const std::vector<grid::Row> rows = g.Rows();
    std::map<int, const Family*> familyOf;
    std::map<int, int> top;  // the highest finite degree along each axis
    for (const Family& f : families) {
        for (int site : f.sites) familyOf[site] = &f;
        if (f.axis < 0 || f.axis >= g.Dimensions()) {
            ADD_FAILURE() << f.label << ": no axis " << f.axis;
            continue;
        }
        if (f.degree < grid::kAnyDegree) top[f.axis] = std::max(top[f.axis], f.degree);
    }
    if (top.empty()) top[grid::kX] = 0;
    std::map<int, int> strays;
    for (const grid::Row& r : rows)
        if (!familyOf.count(r.site)) ++strays[r.site];
    for (const auto& [site, count] : strays)
        ADD_FAILURE() << "ZR_Eqn" << site << " belongs to no family (" << count << " rows)";

    // Along the other axes a quadratic that vanishes at no node of the unit
    // domains, so that a row naming a wrong node across its direction shows.
    const Polynomial across({1.0, 0.5, 0.25}, centre + 0.1);
    for (const auto& [axis, highest] : top) {
        for (int degree = 0; degree <= highest + 1; ++degree) {
            std::vector<Polynomial> factors(static_cast<std::size_t>(g.Dimensions()), across);
            factors[static_cast<std::size_t>(axis)] = Polynomial::Power(degree, centre);
            Fill(g, x, factors);
            const std::vector<RowValue> values = EvaluateRows(qtvhost::Host::Get(), g.firstExpression);
            ASSERT_EQ(values.size(), rows.size());
            std::map<const Family*, double> worst;
            std::map<const Family*, int> misses;  // a few rows of a family tell; the rest are counted
            constexpr int kShown = 3;
            for (std::size_t i = 0; i < rows.size(); ++i) {
                const grid::Row& r = rows[i];
                const RowValue& v = values[i];
                ASSERT_TRUE(v.parsed) << v.name << ": " << v.error;
                const auto found = familyOf.find(r.site);
                if (found == familyOf.end()) continue;
                const Family& f = *found->second;
                if (f.degree < grid::kAnyDegree && f.axis != axis) continue;
                if (degree <= f.degree && !(v.Relative() <= exact) && ++misses[&f] <= kShown) {
                    ADD_FAILURE() << f.label << ": " << v.name << " at " << r.subject.Name() << ", degree " << degree
                                  << " along axis " << axis << ": residual " << v.residual << " of " << v.magnitude
                                  << " (relative " << v.Relative() << " above " << exact << ")";
                }
                if (degree == f.degree + 1) worst[&f] = std::max(worst[&f], v.Relative());
            }
            for (const auto& [family, count] : misses)
                if (count > kShown)
                    ADD_FAILURE() << family->label << ": " << count - kShown << " more rows miss at degree " << degree
                                  << " along axis " << axis;
            for (const auto& [family, relative] : worst)
                EXPECT_GT(relative, clear) << family->label << " is exact at degree " << degree << " along axis " << axis
                                           << " too";
        }
    }
}

// --- agreement with one dimension --------------------------------------------------

namespace {

// The axis whose block declares an array's rows: the one it differentiates
// along, or the last it integrates along; -1 for VALUE.
int BlockAxis(const std::string& name, int dimensions) {
    const std::vector<int> op = Operations(name, dimensions);
    int axis = -1;
    for (int a = 0; a < dimensions; ++a)
        if (op[static_cast<std::size_t>(a)] != 0) axis = a;
    return axis;
}

// A grid's rows with their values, up to where the other grid's begin.
std::vector<std::pair<grid::Row, RowValue>> OwnRows(const grid::Grid& g, const grid::Grid& other) {
    const std::vector<grid::Row> rows = g.Rows();
    const std::vector<RowValue> values = EvaluateRows(qtvhost::Host::Get(), g.firstExpression);
    std::vector<std::pair<grid::Row, RowValue>> out;
    for (std::size_t i = 0; i < rows.size() && i < values.size(); ++i) {
        if (other.firstExpression > g.firstExpression && rows[i].record >= other.firstExpression) break;
        out.emplace_back(rows[i], values[i]);
    }
    return out;
}

// Every tuple of nodes of the given axes, the last fastest.
template <class F>
void ForEachNode(grid::Grid& g, const std::vector<int>& axes, F&& body) {
    std::vector<int> at(axes.size(), 0);
    for (bool more = true; more;) {
        body(at);
        more = false;
        for (std::size_t f = axes.size(); f-- > 0 && !more;) {
            more = ++at[f] <= g.EndNode(axes[f]);
            if (!more) at[f] = 0;
        }
    }
}

// The first few failures are told each on its own, the rest counted at the end.
class Failures {
public:
    bool Tell() { return ++m_count <= kShown; }
    void TellTheRest(const char* what) const {
        if (m_count > kShown) ADD_FAILURE() << m_count - kShown << " more rows disagree with " << what;
    }

private:
    static constexpr int kShown = 5;
    int m_count = 0;
};

}  // namespace

int ExpectAgreesAlongAxis(grid::Grid& high, int axis, grid::Grid& line, const Coordinates& x,
                          const std::vector<Polynomial>& factors, const WholeLine& whole, double tolerance) {
    const int dims = high.Dimensions();
    if (line.Dimensions() != 1 || axis < 0 || axis >= dims || static_cast<int>(factors.size()) != dims ||
        static_cast<int>(x.size()) != dims) {
        ADD_FAILURE() << "a line of axis " << axis << " of " << dims << " dimensions, one factor per axis";
        return 0;
    }
    const std::size_t along = static_cast<std::size_t>(axis);
    Fill(high, x, factors);
    Fill(line, {x[along]}, {factors[along]});

    // The one-dimensional rows by array and node.
    std::map<std::pair<std::string, int>, std::vector<RowValue>> lower;
    for (const auto& [r, v] : OwnRows(line, high)) lower[{r.subject.array, r.Node()}].push_back(v);

    // The rows of the axis's block by array, line (the other axes' nodes) and
    // node, each with the factor that the other axes give it.
    struct Entry {
        std::string subject;
        RowValue value;
        double factor;
    };
    using Line = std::map<int, std::vector<Entry>>;
    std::map<std::string, std::map<std::vector<int>, Line>> upper;
    std::vector<int> others;
    for (int b = 0; b < dims; ++b)
        if (b != axis) others.push_back(b);
    for (const auto& [r, v] : OwnRows(high, line)) {
        if (r.subject.parameter || BlockAxis(r.subject.array, dims) != axis) continue;
        const std::vector<int> op = Operations(r.subject.array, dims);
        double factor = 1.0;
        std::vector<int> key;
        for (int b : others) {
            const std::size_t ub = static_cast<std::size_t>(b);
            const std::size_t n = static_cast<std::size_t>(r.subject.index.at(ub));
            factor *= op[ub] != kIntegral ? factors[ub](x[ub].at(n))
                                          : (n == 0 ? 0.0 : factors[ub].Integral(x[ub].at(n - 1), x[ub].at(n)));
            key.push_back(static_cast<int>(n));
        }
        upper[r.subject.array][key][r.subject.index.at(along)].push_back({r.subject.Name(), v, factor});
    }

    int matched = 0;
    Failures fail;
    for (const auto& [array, lines] : upper) {
        const std::vector<int> op = Operations(array, dims);
        const std::string lowerArray = op[along] == 1 ? "DDX" : (op[along] == 2 ? "D2DX2" : "IDX");
        ForEachNode(high, others, [&](const std::vector<int>& l) {
            static const Line none;
            const auto found = lines.find(l);
            const Line& rows = found == lines.end() ? none : found->second;
            for (const auto& [node, entries] : rows) {
                const auto candidates = lower.find({lowerArray, node});
                std::vector<RowValue> left;
                if (candidates != lower.end()) left = candidates->second;
                for (const Entry& e : entries) {
                    const auto c = std::find_if(left.begin(), left.end(), [&](const RowValue& v) {
                        const double scale = std::max(e.value.magnitude, std::fabs(e.factor) * v.magnitude);
                        return std::fabs(e.value.residual - e.factor * v.residual) <= tolerance * scale;
                    });
                    if (c != left.end()) {
                        left.erase(c);
                        ++matched;
                    } else if (fail.Tell()) {
                        ADD_FAILURE() << e.value.name << " at " << e.subject << ": residual " << e.value.residual
                                      << " is no row of " << lowerArray << "(" << node << ") times " << e.factor;
                    }
                }
            }
            if (whole && !whole(array, l)) return;
            // The whole line: as many rows at every node as one dimension has.
            for (const auto& [key, values] : lower) {
                if (key.first != lowerArray) continue;
                const auto at = rows.find(key.second);
                const std::size_t count = at == rows.end() ? 0 : at->second.size();
                if (count != values.size() && fail.Tell()) {
                    ADD_FAILURE() << array << " along axis " << axis << " at node " << key.second << " of line "
                                  << ::testing::PrintToString(l) << ": " << count << " rows, one dimension has "
                                  << values.size();
                }
            }
        });
    }
    fail.TellTheRest("one dimension");
    return matched;
}

// --- agreement on sub-grids ------------------------------------------------------

namespace {

// A term's name on the sub-grid of `kept` axes through the node `at`: the kept
// axes renamed x, y in order, the others' indices dropped; empty when the term
// lies off the sub-grid.
std::string OnSubgrid(const grid::Term& t, const std::vector<int>& kept, const std::vector<int>& at) {
    auto place = [&](int axis) { return static_cast<int>(std::find(kept.begin(), kept.end(), axis) - kept.begin()); };
    const int off = static_cast<int>(kept.size());
    if (t.parameter) {
        if (t.axis < 0 || place(t.axis) == off) return "";
        return std::string(1, static_cast<char>('X' + place(t.axis))) + "DOMAIN.SECTION(" + std::to_string(t.section) +
               ")." + t.array;
    }
    std::string name;
    for (char c : t.array) {
        if (c >= 'X' && c <= 'Z') {
            if (place(c - 'X') == off) return "";
            c = static_cast<char>('X' + place(c - 'X'));
        }
        name += c;
    }
    std::string index;
    for (std::size_t a = 0; a < t.index.size() && a < at.size(); ++a) {
        if (place(static_cast<int>(a)) != off) {
            index += (index.empty() ? "" : ",") + std::to_string(t.index[a]);
        } else if (t.index[a] != at[a]) {
            return "";
        }
    }
    return name + "(" + index + ")";
}

struct Counterpart {
    std::string key;   // the names sorted
    std::string text;  // in order
    std::string array;
    RowValue value;
    std::size_t position = 0;
};

Counterpart Describe(std::vector<std::string> names, const std::string& array, const RowValue& value) {
    Counterpart c;
    for (const std::string& n : names) c.text += n + " ";
    std::sort(names.begin(), names.end());
    for (const std::string& n : names) c.key += n + " ";
    c.array = array;
    c.value = value;
    return c;
}

}  // namespace

int ExpectAgreesOnSubgrids(grid::Grid& high, const std::vector<int>& kept, grid::Grid& lower, const Coordinates& x,
                           const std::vector<Polynomial>& factors, const WholeLine& whole, double tolerance,
                           bool ordered) {
    const int dims = high.Dimensions();
    std::vector<int> fixed;
    for (int a = 0; a < dims; ++a)
        if (std::find(kept.begin(), kept.end(), a) == kept.end()) fixed.push_back(a);
    if (lower.Dimensions() != static_cast<int>(kept.size()) || fixed.size() + kept.size() != static_cast<std::size_t>(dims) ||
        static_cast<int>(factors.size()) != dims || static_cast<int>(x.size()) != dims) {
        ADD_FAILURE() << "a sub-grid of distinct axes of " << dims << " dimensions, one factor per axis";
        return 0;
    }
    Coordinates lowerX;
    std::vector<Polynomial> lowerFactors;
    for (int a : kept) {
        lowerX.push_back(x[static_cast<std::size_t>(a)]);
        lowerFactors.push_back(factors[static_cast<std::size_t>(a)]);
    }
    Fill(high, x, factors);
    Fill(lower, lowerX, lowerFactors);

    std::multimap<std::string, Counterpart> reference;
    std::size_t position = 0;
    for (const auto& [r, v] : OwnRows(lower, high)) {
        std::string array = r.subject.array;  // named as in `high`
        for (char& c : array)
            if (c >= 'X' && c < 'X' + static_cast<int>(kept.size())) c = static_cast<char>('X' + kept[static_cast<std::size_t>(c - 'X')]);
        Counterpart c = Describe(r.Names(), array, v);
        c.position = position++;
        reference.emplace(c.key, c);
    }
    // The rows of the kept axes' blocks by the fixed axes' nodes.
    std::map<std::vector<int>, std::vector<Counterpart>> on;
    Failures fail;
    for (const auto& [r, v] : OwnRows(high, lower)) {
        if (r.subject.parameter || OnSubgrid(r.subject, kept, r.subject.index).empty()) continue;
        std::vector<std::string> names;
        for (const grid::Term& t : r.terms) {
            names.push_back(OnSubgrid(t, kept, r.subject.index));
            if (names.back().empty() && fail.Tell())
                ADD_FAILURE() << v.name << " at " << r.subject.Name() << " names " << t.Name() << ", off its sub-grid";
        }
        std::vector<int> at;
        for (int a : fixed) at.push_back(r.subject.index.at(static_cast<std::size_t>(a)));
        on[at].push_back(Describe(names, r.subject.array, v));
    }

    int matched = 0;
    ForEachNode(high, fixed, [&](const std::vector<int>& at) {
        double factor = 1.0;
        std::string where;
        for (std::size_t f = 0; f < fixed.size(); ++f) {
            const std::size_t a = static_cast<std::size_t>(fixed[f]);
            factor *= factors[a](x[a].at(static_cast<std::size_t>(at[f])));
            where += std::string(where.empty() ? "" : ", ") + static_cast<char>('x' + fixed[f]) + " node " +
                     std::to_string(at[f]);
        }
        std::multimap<std::string, Counterpart> left = reference;
        std::size_t after = 0;
        for (const Counterpart& c : on[at]) {
            const auto found = left.find(c.key);
            if (found == left.end()) {
                if (fail.Tell()) ADD_FAILURE() << where << ": " << c.value.name << " " << c.text << "has no lower row";
                continue;
            }
            const Counterpart& l = found->second;
            const double scale = std::max(c.value.magnitude, std::fabs(factor) * l.value.magnitude);
            if (!(std::fabs(c.value.residual - factor * l.value.residual) <= tolerance * scale) && fail.Tell())
                ADD_FAILURE() << where << ": " << c.value.name << " " << c.text << "gives " << c.value.residual
                              << ", the lower row " << factor * l.value.residual;
            if (ordered && l.position < after && fail.Tell())
                ADD_FAILURE() << where << ": " << c.value.name << " " << c.text
                              << "comes before a row the lower walk declares first";
            after = l.position;
            left.erase(found);
            ++matched;
        }
        for (const auto& [key, l] : left)
            if ((!whole || whole(l.array, at)) && fail.Tell()) ADD_FAILURE() << where << ": no row " << l.text;
    });
    fail.TellTheRest("the lower distribution");
    return matched;
}

}  // namespace fieldcheck
