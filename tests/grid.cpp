#include "grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <sstream>
#include <stdexcept>

#include "qtvexp/evaluate.h"
#include "session.h"

namespace grid {

namespace {

// A value the host refuses throws, naming it; unchecked, it is fixed past the host's checks.
void Set(ZR_VarParamProp& target, const ZR_Value& value, bool checked = true) {
    if (!checked) {
        qtvhost::Host::FixUnchecked(target, value);
    } else if (target.SetUserValue(value) != 0) {
        throw std::runtime_error("refused: " + target.LastError());
    }
}

// "3,0,12": {3, 0, 12}; empty when the text is no list of integers.
std::vector<int> Integers(const std::string& list) {
    std::vector<int> out;
    std::istringstream in(list);
    for (int v; in >> v; in.ignore(1)) out.push_back(v);
    return in.eof() ? out : std::vector<int>{};
}

}  // namespace

Term ParseTerm(const std::string& text) {
    Term t;
    t.text = text;
    const std::size_t open = text.rfind('(');
    const std::size_t close = text.rfind(')');
    const bool element = !text.empty() && text.back() == ')' && open != std::string::npos;
    if (open != std::string::npos && close != std::string::npos && close > open)
        t.index = Integers(text.substr(open + 1, close - open - 1));
    if (element) {
        const std::size_t dot = text.rfind('.', open);
        const std::size_t from = dot == std::string::npos ? 0 : dot + 1;
        t.array = text.substr(from, open - from);
    } else {
        t.parameter = true;
        const std::size_t dot = text.rfind('.');
        t.array = dot == std::string::npos ? text : text.substr(dot + 1);
    }
    return t;
}

int Row::Node(int axis) const {
    if (axis < 0 || static_cast<std::size_t>(axis) >= subject.index.size() || subject.parameter) return -1;
    return subject.index[static_cast<std::size_t>(axis)];
}

std::string Term::Name() const {
    if (parameter && axis >= 0) {
        static const char* const kReferences[] = {"XDOMAIN", "YDOMAIN", "ZDOMAIN"};
        return std::string(kReferences[axis]) + ".SECTION(" + std::to_string(section) + ")." + array;
    }
    if (parameter || index.empty()) return text;
    std::string name = array + "(";
    for (std::size_t i = 0; i < index.size(); ++i) name += (i ? "," : "") + std::to_string(index[i]);
    return name + ")";
}

std::vector<std::string> Row::Names() const {
    std::vector<std::string> out;
    for (const Term& t : terms) out.push_back(t.Name());
    return out;
}

std::vector<std::string> Sequence(const std::vector<Row>& rows) {
    std::vector<std::string> out;
    for (const Row& r : rows) {
        std::string s = std::to_string(r.site) + "@";
        for (std::size_t i = 0; i < r.subject.index.size(); ++i)
            s += (i ? "," : "") + std::to_string(r.subject.index[i]);
        out.push_back(s);
    }
    return out;
}

std::vector<std::string> Span(int site, int lo, int hi) {
    std::vector<std::string> out;
    for (int n = lo; n <= hi; ++n) out.push_back(std::to_string(site) + "@" + std::to_string(n));
    return out;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

int DirectionOf(const std::string& array) {
    for (auto c = array.rbegin(); c != array.rend(); ++c)
        if (*c >= 'X' && *c <= 'Z') return *c - 'X';
    return -1;
}

void EachNode(const std::vector<int>& end, const std::function<void(const std::vector<int>&)>& f) {
    std::vector<int> n(end.size(), 0);
    for (bool more = true; more;) {
        f(n);
        more = false;
        for (std::size_t a = n.size(); a-- > 0 && !more;) {
            if (++n[a] <= end[a]) more = true;
            else n[a] = 0;
        }
    }
}

// --- the builder -------------------------------------------------------------------

Grid::Grid(int dimensions) : m_sectionSpacings(static_cast<std::size_t>(dimensions)) {
    for (int a = 0; a < dimensions; ++a) m_domains.push_back(std::make_unique<ZR_DOMAIN>());
}

Grid::~Grid() = default;

void Grid::Link(const std::vector<ZR_ExternalBase*>& references) {
    for (std::size_t a = 0; a < references.size(); ++a)
        if (!references[a]->Link(m_domains[a].get()))
            throw std::runtime_error(std::string("cannot link ") + "XYZ"[a] + "DOMAIN");
}

template <class F>
Grid& Grid::EachAxis(int axis, F&& set) {
    if (axis != kAllAxes && (axis < 0 || axis >= Dimensions()))
        throw std::out_of_range("no axis " + std::to_string(axis) + " in " + std::to_string(Dimensions()) +
                                " dimensions");
    for (int a = 0; a < Dimensions(); ++a)
        if (axis == kAllAxes || axis == a) set(a);
    return *this;
}

Grid& Grid::Method(int axis, const char* text) {
    return EachAxis(axis, [&](int a) { Set(Domain(a).DISCRETIZATIONMETHOD, ZR_Value(text, 0), true); });
}
Grid& Grid::MethodUnchecked(int axis, const char* text) {
    return EachAxis(axis, [&](int a) { Set(Domain(a).DISCRETIZATIONMETHOD, ZR_Value(text, 0), false); });
}
Grid& Grid::Sections(int axis, int count) {
    return EachAxis(axis, [&](int a) { Set(Domain(a).NUMSECTIONS, ZR_Value(count, 0), true); });
}
Grid& Grid::Spacing(int axis, double preference) {
    return EachAxis(axis, [&](int a) { Set(*Domain(a).SPACINGPREFERENCE, ZR_Value(preference, 0), true); });
}
Grid& Grid::SectionSpacings(int axis, std::vector<double> preferences) {
    return EachAxis(axis, [&](int a) {
        m_sectionSpacings[static_cast<std::size_t>(a)] = preferences;
        Sections(a, static_cast<int>(preferences.size()));
    });
}
Grid& Grid::Highest(int axis, int order) {
    return EachAxis(axis, [&](int a) { Set(Domain(a).HIGHESTORDERDERIVATIVE, ZR_Value(order, 0), true); });
}
Grid& Grid::Boundary(int axis, const char* text) {
    return EachAxis(axis, [&](int a) { Set(Domain(a).ELEMENTBOUNDARYCONDITION, ZR_Value(text, 0), true); });
}
Grid& Grid::BoundaryUnchecked(int axis, const char* text) {
    return EachAxis(axis, [&](int a) { Set(Domain(a).ELEMENTBOUNDARYCONDITION, ZR_Value(text, 0), false); });
}
Grid& Grid::Used(int axis, int order) {
    return EachAxis(axis, [&](int a) { Set(UsedParameter(a), ZR_Value(order, 0), true); });
}
Grid& Grid::Integrals(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& n : names) text += n + "\"";
    Set(IntegralsParameter(), ZR_Value(ZR_StrSetValue(text.c_str()), 0), true);
    return *this;
}

Grid& Grid::Settle() {
    for (int a = 0; a < Dimensions(); ++a) {
        ZR_DOMAIN& domain = Domain(a);
        qtvhost::SettleAssignments(domain);
        const std::vector<double>& spacings = m_sectionSpacings[static_cast<std::size_t>(a)];
        if (spacings.empty()) continue;
        // The section records exist once the domain has sized its SECTION array.
        for (std::size_t s = 0; s < spacings.size(); ++s)
            Set(*Section(a, static_cast<int>(s) + 1).SPACINGPREFERENCE, ZR_Value(spacings[s], 0));
        qtvhost::SettleAssignments(domain);
    }
    qtvhost::SettleAssignments(Model());
    Model().SetDims();
    return *this;
}

Grid& Grid::Declare(int groupBase) {
    qtvhost::Host& host = qtvhost::Host::Get();
    ZR_ModelType::m_stLastGroup = groupBase;
    firstIncidence = host.incidence.size();
    firstExpression = host.expressions.size();
    firstTerm = host.incidenceTerms.size();
    setUpResult = Model().SetUpEquations();
    patternResult = qtvhost::RunJacPattern(Model(), firstTerm, patternRows, patternCols);
    return *this;
}

ZR_DOMAIN& Grid::Domain(int axis) {
    if (axis < 0 || axis >= Dimensions()) throw std::out_of_range("no axis " + std::to_string(axis));
    return *m_domains[static_cast<std::size_t>(axis)];
}
int Grid::EndNode(int axis) { return Domain(axis).ENDNODE.v(); }
int Grid::SectionCount(int axis) { return (*Domain(axis).NUMSECTIONS).v(); }
ZR_SECTIONDATAMODEL& Grid::Section(int axis, int s) { return (*Domain(axis).SECTION)(s); }

std::vector<Row> Grid::Rows() const {
    const qtvhost::Host& host = qtvhost::Host::Get();
    // The sections' spacings by where they live, so that a parameter term tells
    // its axis and section whatever name the host gives it.
    std::map<const ZR_VarParam*, std::pair<int, int>> spacings;
    for (int a = 0; a < Dimensions(); ++a) {
        ZR_DOMAIN& d = *m_domains[static_cast<std::size_t>(a)];
        const int sections = (*d.NUMSECTIONS).v();
        if (d.ZR_SECTION_SET1.fv().SetSize() < sections) continue;
        for (int s = 1; s <= sections; ++s) spacings[&(*d.SECTION)(s).ELEMENTLENGTH] = {a, s};
    }
    std::vector<Row> rows;
    for (std::size_t i = firstExpression; i < host.expressions.size(); ++i) {
        const qtvhost::ExpressionRecord& e = host.expressions[i];
        Row r;
        r.record = i;
        const std::string& name = host.EquationName(e);
        r.site = name.rfind("ZR_Eqn", 0) == 0 ? std::atoi(name.c_str() + 6) : -1;
        r.group = e.group;
        for (std::uint32_t t = 0; t < e.tokenCount; ++t) {
            const qtvhost::Token& token = host.tokens[e.firstToken + t];
            if (token.kind != qtvhost::TK_TERM) continue;
            Term term = ParseTerm(token.term ? token.term->FullName() : "?");
            term.var = token.term;
            const auto found = spacings.find(token.term);
            if (found != spacings.end()) {
                term.parameter = true;
                term.axis = found->second.first;
                term.section = found->second.second;
            }
            r.terms.push_back(std::move(term));
        }
        if (!r.terms.empty()) r.subject = r.terms.front();
        rows.push_back(std::move(r));
    }
    return rows;
}

// --- census and checks -------------------------------------------------------------

Census::Census(const std::vector<Row>& rows) {
    for (const Row& r : rows) {
        ++m_counts[r.subject.array][r.subject.index];
        ++m_sites[r.site];
        m_pairs.insert({r.site, r.subject.array});
    }
}

int Census::Count(const std::string& array, const std::vector<int>& index) const {
    const auto a = m_counts.find(array);
    if (a == m_counts.end()) return 0;
    const auto n = a->second.find(index);
    return n == a->second.end() ? 0 : n->second;
}

const std::map<std::vector<int>, int>& Census::Of(const std::string& array) const {
    static const std::map<std::vector<int>, int> none;
    const auto a = m_counts.find(array);
    return a == m_counts.end() ? none : a->second;
}

int Census::Rows(int site) const {
    const auto s = m_sites.find(site);
    return s == m_sites.end() ? 0 : s->second;
}


void ExpectInsideIndexSets(Grid& grid, const std::vector<Row>& rows) {
    const std::vector<ArrayView> arrays = grid.Arrays();
    for (const Row& r : rows) {
        for (const Term& t : r.terms) {
            if (t.parameter) {
                EXPECT_TRUE(t.array == "ELEMENTLENGTH" && t.axis >= 0)
                    << "ZR_Eqn" << r.site << " names " << t.text << ", no section's spacing";
                continue;
            }
            const auto a = std::find_if(arrays.begin(), arrays.end(), [&](const ArrayView& v) { return v.name == t.array; });
            if (a == arrays.end()) {
                ADD_FAILURE() << "ZR_Eqn" << r.site << " names " << t.text << ", of no array";
                continue;
            }
            if (t.index.size() != a->sets.size()) {
                ADD_FAILURE() << "ZR_Eqn" << r.site << " names " << t.text << " with " << t.index.size()
                              << " indices";
                continue;
            }
            for (std::size_t d = 0; d < t.index.size(); ++d)
                EXPECT_TRUE(a->sets[d]->fv() >= t.index[d])
                    << "ZR_Eqn" << r.site << " names " << t.text << ", outside dimension " << d + 1 << " "
                    << a->sets[d]->fv().ToText();
        }
    }
}

void ExpectWalksAgree(Grid& grid, int groupBase, int base, int offset) {
    qtvhost::Host& host = qtvhost::Host::Get();
    const qtvhost::HostConfig before = host.config;
    host.config.setUpEquationsResult = base;
    host.config.jacPatternResult = base;
    host.config.localEqnCountOffset = offset;
    grid.Declare(groupBase);
    host.config = before;  // a later Declare of the same test meets the host as the test left it
    const std::size_t n = host.expressions.size() - grid.firstExpression;
    ASSERT_EQ(host.incidence.size() - grid.firstIncidence, n) << "instances of SetUpEquations and of JacPattern";
    const ZR_Bookkeeping& book = grid.Book();
    EXPECT_EQ(book.LocalEquationCount, static_cast<int>(n));
    EXPECT_EQ(book.GroupNumber, groupBase);
    EXPECT_EQ(grid.setUpResult, base + static_cast<int>(n) + offset);
    EXPECT_EQ(grid.patternResult, base + static_cast<int>(n));
    std::size_t terms = 0;
    std::map<int, int> groupOfSite;
    int lastGroup = groupBase;
    std::map<int, std::pair<int, int>> sitesOfGroup;  // lowest and highest site
    for (std::size_t i = 0; i < n; ++i) {
        const qtvhost::IncidenceRecord& inc = host.incidence[grid.firstIncidence + i];
        const qtvhost::ExpressionRecord& ex = host.expressions[grid.firstExpression + i];
        const std::string& name = host.EquationName(ex);
        SCOPED_TRACE("instance " + std::to_string(i) + ", " + name);
        EXPECT_EQ(inc.group, ex.group);
        EXPECT_EQ(ex.index, base + static_cast<int>(i));
        std::vector<const ZR_VarParam*> declared(host.incidenceTerms.begin() + inc.firstTerm,
                                                 host.incidenceTerms.begin() + inc.firstTerm + inc.termCount);
        std::vector<const ZR_VarParam*> streamed;
        for (std::uint32_t t = 0; t < ex.tokenCount; ++t) {
            const qtvhost::Token& token = host.tokens[ex.firstToken + t];
            if (token.kind == qtvhost::TK_TERM) streamed.push_back(token.term);
        }
        EXPECT_EQ(declared, streamed);
        terms += streamed.size();
        const qtvhost::Evaluation parsed = qtvhost::Evaluate(host, ex);
        EXPECT_TRUE(parsed.ok) << parsed.error;

        ASSERT_EQ(name.rfind("ZR_Eqn", 0), 0u);
        const int site = std::atoi(name.c_str() + 6);
        EXPECT_GT(site, 0);
        const auto known = groupOfSite.emplace(site, ex.group);
        EXPECT_EQ(known.first->second, ex.group) << "one site, two groups";
        EXPECT_GT(ex.group, groupBase);
        EXPECT_GE(ex.group, lastGroup) << "groups fall back";
        lastGroup = ex.group;
        auto range = sitesOfGroup.emplace(ex.group, std::make_pair(site, site)).first;
        range->second.first = std::min(range->second.first, site);
        range->second.second = std::max(range->second.second, site);
    }
    // Blocks are walked in the order their sites are numbered.
    int highest = 0;
    for (const auto& [group, sites] : sitesOfGroup) {
        EXPECT_GT(sites.first, highest) << "group " << group << " has sites below an earlier group's";
        highest = sites.second;
    }
    EXPECT_EQ(static_cast<std::size_t>(book.PatternEntryCount), grid.patternRows.size());
    EXPECT_EQ(grid.patternRows.size(), terms);
    ExpectInsideIndexSets(grid, grid.Rows());
}

// --- random configurations -----------------------------------------------------------

namespace {
const char* const kMethods[] = {"BFD1", "BFD2", "FFD1", "FFD2", "CFD2", "CFD4", "UBFD4", "OCFE2", "OCFE3", "OCFE4"};
// Either value in another letter case, and a text that is neither.
const char* const kBoundaries[] = {"Backward", "Forward", "forward", "BACKWARD", "Upwind"};
const std::vector<std::string> kIntegrals[] = {
    {"idx"}, {"idx", "idy", "idxdy"}, {"idx", "idy", "idz", "idxdy", "idxdz", "idydz", "idxdydz"}};
// By dimension, the most nodes of a section drawn and of a whole grid: every
// test over random configurations stays within seconds.
const int kMostPerSection[] = {10, 6, 4};
const long long kMostNodes[] = {120, 400, 512};
}  // namespace

bool Setup::Has(const std::string& name) const {
    return std::find(integrals.begin(), integrals.end(), name) != integrals.end();
}

std::string Setup::Describe() const {
    std::ostringstream s;
    s << "seed " << seed << ":";
    for (std::size_t a = 0; a < axes.size(); ++a) {
        const AxisSetup& x = axes[a];
        s << " " << "XYZ"[a] << " " << x.method << " {";
        for (double h : x.spacings) s << " " << h;
        s << " } highest " << x.highest << " used " << x.used << " " << x.boundary << ";";
    }
    for (const std::string& n : integrals) s << " " << n;
    return s.str();
}

Setup DrawSetup(std::uint32_t seed, int dimensions) {
    std::mt19937 engine(seed);
    auto below = [&](int n) { return static_cast<int>(engine() % static_cast<std::uint32_t>(n)); };
    Setup c{seed, {}, {}};
    for (int a = 0; a < dimensions; ++a) {
        AxisSetup x;
        x.method = kMethods[below(10)];
        const int sections = 1 + below(3);
        for (int s = 0; s < sections; ++s)
            x.spacings.push_back(1.0 / sections / (2 + below(kMostPerSection[dimensions - 1] - 1) + 0.25 * s));
        x.highest = 1 + below(3);
        x.used = below(4) - 1;
        x.boundary = kBoundaries[below(5)];
        c.axes.push_back(x);
    }
    for (const std::string& name : kIntegrals[dimensions - 1])
        if (below(2)) c.integrals.push_back(name);
    return c;
}

void Configure(Grid& g, int axis, const AxisSetup& x) {
    g.Method(axis, x.method).SectionSpacings(axis, x.spacings).Highest(axis, x.highest);
    g.BoundaryUnchecked(axis, x.boundary);
    if (x.used >= 0) g.Used(axis, x.used);
}

bool Configure(Grid& g, const Setup& s) {
    for (int a = 0; a < g.Dimensions(); ++a) Configure(g, a, s.axes[static_cast<std::size_t>(a)]);
    if (!s.integrals.empty()) g.Integrals(s.integrals);
    g.Settle();
    long long nodes = 1;
    for (int a = 0; a < g.Dimensions(); ++a) nodes *= g.EndNode(a) + 1LL;
    return nodes <= kMostNodes[g.Dimensions() - 1];
}

std::unique_ptr<Grid> Make(int dimensions) {
    if (dimensions == 1) return std::make_unique<Grid1>();
    if (dimensions == 2) return std::make_unique<Grid2>();
    return std::make_unique<Grid3>();
}

}  // namespace grid
