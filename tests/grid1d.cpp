#include "grid1d.h"

#include <cstdlib>
#include <stdexcept>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "field_check.h"
#include "session.h"

namespace grid1d {

namespace {

void Fix(ZR_VarParamProp& target, const ZR_Value& value) {
    if (target.SetUserValue(value) != 0) throw std::runtime_error("refused: " + target.LastError());
}

}  // namespace

std::vector<std::string> Sequence(const std::vector<Row>& rows) {
    std::vector<std::string> out;
    for (const Row& r : rows) out.push_back(std::to_string(r.site) + "@" + std::to_string(r.node));
    return out;
}

TermName Split(const std::string& fullName) {
    TermName t;
    const std::size_t open = fullName.find('(');
    if (fullName.find('.') != std::string::npos || open == std::string::npos) {
        t.array = fullName;
        return t;
    }
    t.array = fullName.substr(0, open);
    t.node = std::atoi(fullName.c_str() + open + 1);
    return t;
}

Grid::Grid() {
    if (!dist.XDOMAIN.Link(&domain)) throw std::runtime_error("cannot link XDOMAIN");
}

Grid& Grid::Set(ZR_VarParamProp& target, const ZR_Value& value, bool checked) {
    if (checked) {
        Fix(target, value);
    } else {
        qtvhost::Host::FixUnchecked(target, value);
    }
    return *this;
}

Grid& Grid::Method(const char* text) { return Set(domain.DISCRETIZATIONMETHOD, ZR_Value(text, 0)); }
Grid& Grid::MethodUnchecked(const char* text) { return Set(domain.DISCRETIZATIONMETHOD, ZR_Value(text, 0), false); }
Grid& Grid::Sections(int count) { return Set(domain.NUMSECTIONS, ZR_Value(count, 0)); }
Grid& Grid::Spacing(double preference) { return Set(*domain.SPACINGPREFERENCE, ZR_Value(preference, 0)); }
Grid& Grid::SectionSpacings(std::vector<double> preferences) {
    m_sectionSpacings = std::move(preferences);
    return Sections(static_cast<int>(m_sectionSpacings.size()));
}
Grid& Grid::Highest(int order) { return Set(domain.HIGHESTORDERDERIVATIVE, ZR_Value(order, 0)); }
Grid& Grid::Boundary(const char* text) { return Set(domain.ELEMENTBOUNDARYCONDITION, ZR_Value(text, 0)); }
Grid& Grid::BoundaryUnchecked(const char* text) {
    return Set(domain.ELEMENTBOUNDARYCONDITION, ZR_Value(text, 0), false);
}
Grid& Grid::Used(int order) { return Set(dist.HIGHESTORDERXDERIVATIVEUSED, ZR_Value(order, 0)); }
Grid& Grid::Integrals(const char* quoteTerminated) {
    return Set(dist.INTEGRALS, ZR_Value(ZR_StrSetValue(quoteTerminated), 0));
}

Grid& Grid::Settle() {
    qtvhost::SettleAssignments(domain);
    if (!m_sectionSpacings.empty()) {
        // The section records exist once the domain has sized its SECTION array.
        for (std::size_t s = 0; s < m_sectionSpacings.size(); ++s)
            Fix(*Section(static_cast<int>(s) + 1).SPACINGPREFERENCE, ZR_Value(m_sectionSpacings[s], 0));
        qtvhost::SettleAssignments(domain);
    }
    qtvhost::SettleAssignments(dist);
    dist.SetDims();
    return *this;
}

Grid& Grid::Declare(int groupBase) {
    qtvhost::Host& host = qtvhost::Host::Get();
    ZR_ModelType::m_stLastGroup = groupBase;
    firstIncidence = host.incidence.size();
    firstExpression = host.expressions.size();
    firstTerm = host.incidenceTerms.size();
    setUpResult = dist.SetUpEquations();
    patternResult = qtvhost::RunJacPattern(dist, firstTerm, patternRows, patternCols);
    return *this;
}

int Grid::EndNode() { return domain.ENDNODE.v(); }
int Grid::SectionCount() { return (*domain.NUMSECTIONS).v(); }
ZR_SECTIONDATAMODEL& Grid::Section(int s) { return (*domain.SECTION)(s); }

std::vector<Row> Grid::Rows() const {
    const qtvhost::Host& host = qtvhost::Host::Get();
    std::vector<Row> rows;
    for (std::size_t i = firstExpression; i < host.expressions.size(); ++i) {
        const qtvhost::ExpressionRecord& e = host.expressions[i];
        Row r;
        r.record = i;
        const std::string& name = host.EquationName(e);
        r.site = name.rfind("ZR_Eqn", 0) == 0 ? std::atoi(name.c_str() + 6) : -1;
        r.group = e.group;
        r.node = -1;
        for (std::uint32_t t = 0; t < e.tokenCount; ++t) {
            const qtvhost::Token& token = host.tokens[e.firstToken + t];
            if (token.kind != qtvhost::TK_TERM) continue;
            r.terms.push_back(token.term ? token.term->FullName() : "?");
            if (r.terms.size() == 1) {
                const TermName first = Split(r.terms.front());
                r.subject = first.array;
                r.node = first.node;
            }
        }
        rows.push_back(r);
    }
    return rows;
}

std::map<std::string, std::map<int, int>> SubjectCounts(const std::vector<Row>& rows) {
    std::map<std::string, std::map<int, int>> counts;
    for (const Row& r : rows) ++counts[r.subject][r.node];
    return counts;
}

void ExpectInsideIndexSets(Grid& grid, const std::vector<Row>& rows) {
    const std::map<std::string, ZR_INTEGERSET*> sets = {{"VALUE", &grid.dist.ZR_VALUE_SET1},
                                                       {"DDX", &grid.dist.ZR_DDX_SET1},
                                                       {"D2DX2", &grid.dist.ZR_D2DX2_SET1},
                                                       {"IDX", &grid.dist.ZR_IDX_SET1}};
    for (const Row& r : rows) {
        for (const std::string& term : r.terms) {
            const TermName t = Split(term);
            const auto set = sets.find(t.array);
            if (set == sets.end()) {
                EXPECT_NE(term.find(".ELEMENTLENGTH"), std::string::npos) << term;
                continue;
            }
            EXPECT_TRUE(set->second->v() >= t.node) << "ZR_Eqn" << r.site << " names " << term;
        }
    }
}

void ExpectExactness(Grid& grid, const std::vector<double>& x, const std::vector<Family>& families,
                     double exact, double clear, double centre) {
    const std::vector<Row> rows = grid.Rows();
    std::map<int, const Family*> familyOf;
    int top = 0;
    for (const Family& f : families) {
        for (int site : f.sites) familyOf[site] = &f;
        if (f.degree < kAnyDegree) top = std::max(top, f.degree);
    }
    for (int degree = 0; degree <= top + 1; ++degree) {
        fieldcheck::Fill(grid.dist, x, fieldcheck::Polynomial::Power(degree, centre));
        const std::vector<fieldcheck::RowValue> values = fieldcheck::EvaluateRows(qtvhost::Host::Get(), grid.firstExpression);
        std::map<const Family*, double> worst;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const Row& r = rows[i];
            const fieldcheck::RowValue& v = values.at(i);
            ASSERT_TRUE(v.parsed) << v.name << ": " << v.error;
            const auto found = familyOf.find(r.site);
            if (found == familyOf.end()) {
                ADD_FAILURE() << v.name << " belongs to no family";
                continue;
            }
            const Family& f = *found->second;
            if (degree <= f.degree) {
                EXPECT_LE(v.Relative(), exact) << v.name << " at node " << r.node << ", degree " << degree
                                               << ": residual " << v.residual << " of " << v.magnitude;
            }
            if (degree == f.degree + 1) worst[&f] = std::max(worst[&f], v.Relative());
        }
        for (const auto& [family, relative] : worst)
            EXPECT_GT(relative, clear) << family->label << " is exact at degree " << degree << " too";
    }
}

}  // namespace grid1d
