// The one-dimensional distribution's frame: its members, the index sets and
// defaults its assignments give, the one equation walk that SetUpEquations and
// JacPattern both follow, and every method's worked examples row by row.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "grid.h"
#include "index_sets.h"
#include "linked_fixture.h"
#include "qtvexp/evaluate.h"
#include "session.h"

using Grid = grid::Grid1;
using grid::Join;
using grid::Row;
using grid::Span;
using qtvhost::Host;

namespace {

const char* const kMethods[] = {"BFD1", "BFD2", "FFD1", "FFD2", "CFD2", "CFD4", "UBFD4", "OCFE2", "OCFE3", "OCFE4"};
// The sites of each method's block (block = position + 2).
const int kFirstSite[] = {2, 7, 14, 19, 26, 34, 51, 64, 74, 87, 103};

using index_sets::Members;
using index_sets::Range;

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

class Distribution1D : public LinkedTest {};

}  // namespace

// Each member as "NAME \"description\" direction via" (via: 0 a type, 1 a
// reference, 2 a replaceable member); only the signal ports are not exported.
TEST_F(Distribution1D, RegistersItsFifteenMembersInTheirOrder) {
    ZR_DISTRIBUTION1D d;
    auto entry = [](const std::string& name, const char* description = nullptr, int direction = ZR_DIR_NONE,
                    int via = 0) {
        return name + (description ? " \"" + std::string(description) + "\" " : " ") + std::to_string(direction) +
               " " + std::to_string(via);
    };
    const std::vector<std::string> expected = {
        entry("XDOMAIN", nullptr, ZR_DIR_NONE, 1), entry("ZR_VALUE_SET1"),
        entry("VALUE", "Variable value at a node point", ZR_DIR_NONE, 2), entry("USERNOTES"),
        entry("INPUTSIGNAL", nullptr, ZR_DIR_INPUT), entry("OUTPUTSIGNAL", nullptr, ZR_DIR_OUTPUT),
        entry("HIGHESTORDERXDERIVATIVE"), entry("HIGHESTORDERXDERIVATIVEUSED"),
        entry("INTEGRALS", "Integrals to be calculated. Valid value: idx"), entry("ZR_DDX_SET1"),
        entry("DDX", "1st-order partial deriv wrt x"), entry("ZR_D2DX2_SET1"),
        entry("D2DX2", "2nd-order partial deriv wrt x"), entry("ZR_IDX_SET1"),
        entry("IDX", "integral of distributed variable over X domain")};
    std::vector<std::string> got;
    for (const qtvhost::Registration& r : host.registrations) {
        got.push_back(entry(r.name, r.hasDescription ? r.description.c_str() : nullptr, r.direction, r.via));
        EXPECT_FALSE(r.flag) << r.name;
        EXPECT_EQ(r.owner, &d) << r.name;
        // A reference is no type of its own.
        const auto* type = dynamic_cast<const ZR_Type*>(r.member);
        EXPECT_TRUE(type ? type->IsToBeExported() == (r.direction == ZR_DIR_NONE) : r.via == 1) << r.name;
    }
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(d.ContainerDerivesFrom("model distribution1d\tv9"));
    EXPECT_FALSE(d.ContainerDerivesFrom("Model DISTRIBUTION2D\tV9"));
}

// The table of index sets by derivative order, with and without "idx", over one
// and several sections; the defaults carry the domain's derivative order through.
TEST_F(Distribution1D, IndexSetsAndDefaultsFollowTheDerivativeOrderAndIntegrals) {
    for (int sections : {1, 3}) {
        for (int order : {0, 1, 2}) {
            for (bool idx : {false, true}) {
                SCOPED_TRACE(std::to_string(sections) + " sections, order " + std::to_string(order) +
                             (idx ? ", idx" : ""));
                Grid g;
                g.Method("CFD2").Sections(sections).Highest(order);
                if (idx) g.Integrals({"idx"});
                g.Settle();
                const int e = g.EndNode();
                ASSERT_GT(e, 2);
                EXPECT_EQ(g.dist.HIGHESTORDERXDERIVATIVE.v(), order);
                EXPECT_EQ(g.dist.HIGHESTORDERXDERIVATIVEUSED.v(), order);
                EXPECT_EQ(g.dist.INTEGRALS.v().ToText(), idx ? "{\"idx\"}" : "{\"None\"}");
                EXPECT_EQ(Members(g.dist.ZR_VALUE_SET1.v()), Range(0, e));
                EXPECT_EQ(Members(g.dist.ZR_DDX_SET1.v()), Range(0, order > 0 ? e : 0));
                std::vector<int> d2;
                if (order > 1)
                    for (int n : Range(1, e))
                        if (g.Domain().INTERIOR.v() >= n) d2.push_back(n);
                EXPECT_EQ(Members(g.dist.ZR_D2DX2_SET1.v()), d2);
                EXPECT_EQ(Members(g.dist.ZR_IDX_SET1.v()), idx ? Range(0, e) : std::vector<int>{});
                // With second derivatives in the domain its joints are not
                // interior, so they have no D2DX2 element.
                for (int s = 2; s <= sections && order > 1; ++s)
                    EXPECT_FALSE(g.dist.ZR_D2DX2_SET1.v() >= g.Section(s).BASE.v());
            }
        }
    }
}

TEST_F(Distribution1D, AUsersOrderWinsOverTheDomainsAndTheJointsStayInTheSecondDerivatives) {
    Grid g;
    g.Method("BFD1").Sections(2).Used(2).Settle();
    EXPECT_EQ(g.dist.HIGHESTORDERXDERIVATIVE.v(), 1);
    EXPECT_EQ(Members(g.dist.ZR_D2DX2_SET1.v()), Range(1, g.EndNode() - 1));
}

// One call: the index sets from the values as they stood, the three defaults,
// then the index sets again from the new values; every value carries its
// statement, the caller's arg and level, and the base runs one level down.
TEST_F(Distribution1D, OneAssignmentCallBuildsTheSetsTwiceAroundTheDefaults) {
    Grid g;
    g.Method("BFD1").Highest(1);
    g.Settle();
    ZR_DISTRIBUTION1D fresh;
    ASSERT_TRUE(fresh.XDOMAIN.Link(&g.Domain()));
    fresh.SetDims();
    host.assignments.clear();
    host.baseCalls.clear();
    host.config.executeAssignmentsStatus = 7;
    EXPECT_EQ(fresh.ExecuteAssignments(3, 9), 7);
    ASSERT_FALSE(host.baseCalls.empty());
    EXPECT_EQ(host.baseCalls.front().kind, qtvhost::BaseCall::ExecuteAssignments);
    EXPECT_EQ(host.baseCalls.front().a, 2);
    EXPECT_EQ(host.baseCalls.front().b, 9);
    std::vector<std::string> order;
    for (const qtvhost::AssignmentRecord& a : host.assignments) {
        order.push_back(a.targetName + "/" + std::to_string(a.value.Statement()) + "/" + std::to_string(a.pass));
        EXPECT_EQ(a.value.Arg(), 9);
        EXPECT_EQ(a.value.Level(), 3);
    }
    EXPECT_EQ(order, (std::vector<std::string>{
                         "ZR_VALUE_SET1/1/0", "ZR_DDX_SET1/2/0", "ZR_D2DX2_SET1/3/0", "ZR_IDX_SET1/4/0",
                         "HIGHESTORDERXDERIVATIVE/5/-1", "HIGHESTORDERXDERIVATIVEUSED/6/-1", "INTEGRALS/7/-1",
                         "ZR_VALUE_SET1/1/1", "ZR_DDX_SET1/2/1", "ZR_D2DX2_SET1/3/1", "ZR_IDX_SET1/4/1"}));
    EXPECT_EQ(host.assignments[1].value.SetValue().SetSize(), 1);  // the order was still 0
    EXPECT_EQ(Members(fresh.ZR_DDX_SET1.v()), Range(0, g.EndNode()));
}

TEST_F(Distribution1D, ADomainWithoutNodesGivesNodeZeroEvenWithoutIntegrals) {
    Grid g;
    g.Method("BFD1").Settle();
    g.Domain().ENDNODE.SetUserValue(ZR_Value(0, 0));
    qtvhost::SettleAssignments(g.dist);
    EXPECT_EQ(Members(g.dist.ZR_VALUE_SET1.v()), std::vector<int>{0});
    EXPECT_EQ(Members(g.dist.ZR_DDX_SET1.v()), std::vector<int>{0});
    EXPECT_TRUE(Members(g.dist.ZR_D2DX2_SET1.v()).empty());
    EXPECT_EQ(Members(g.dist.ZR_IDX_SET1.v()), std::vector<int>{0});
}

// The start row stands first, in block 1, exactly when "idx" is chosen, whatever
// the method; a method text selects its block in any letter case, and a text that
// is no method's name selects none.
TEST_F(Distribution1D, TheStartRowAndTheMethodDispatch) {
    for (int m = 0; m <= 10; ++m) {
        const std::string name = m < 10 ? kMethods[m] : "";
        const std::vector<std::string> texts =
            m < 10 ? std::vector<std::string>{name, Lower(name), std::string(1, name[0]) + Lower(name.substr(1))}
                   : std::vector<std::string>{"BFD3", "OCFE", "CFD4 ", "UBFD", ""};
        for (const std::string& text : texts) {
            for (bool idx : {false, true}) {
                SCOPED_TRACE("\"" + text + "\"" + (idx ? " with idx" : ""));
                Grid g;
                if (m < 10) {
                    g.Method(text.c_str());
                } else {
                    g.MethodUnchecked(text.c_str());
                }
                g.Sections(2).Used(2);
                if (idx) g.Integrals({"idx"});
                g.Settle().Declare(50);
                const std::vector<Row> rows = g.Rows();
                int starts = 0;
                for (std::size_t i = 0; i < rows.size(); ++i) {
                    if (rows[i].site == 1) {
                        ++starts;
                        EXPECT_EQ(i, 0u);
                        EXPECT_EQ(rows[i].group, 51);
                        EXPECT_EQ(rows[i].Names(), std::vector<std::string>{"IDX(0)"});
                        continue;
                    }
                    ASSERT_LT(m, 10) << "a text that is no method's name declared " << rows[i].site;
                    EXPECT_GE(rows[i].site, kFirstSite[m]);
                    EXPECT_LT(rows[i].site, kFirstSite[m + 1]);
                    EXPECT_EQ(rows[i].group, 50 + m + 2);
                }
                EXPECT_EQ(starts, idx ? 1 : 0);
                if (m < 10) {
                    EXPECT_GT(rows.size(), idx ? 1u : 0u);
                }
            }
        }
    }
}

// Worked examples of every method, row by row: the start row in block 1, every
// other row in the method's block. One section of eight intervals unless given
// otherwise. Over three sections every section has its own end rows when second
// derivatives are used (CFD4); upwind, one start row and the joints from the
// left only (UBFD4). Over two, CFD2's joint row names the next section's
// spacing first; with second derivatives the joint gets a row from either side.
// OCFE2 over two elements of one section, then over two sections of one element
// each: with "Backward" the joint gets its second row from section 2's element,
// with "Forward" no continuity row at all; within one section "Forward"
// continuity stops at the section's last element.
struct Example {
    const char* method;
    int sections;          // 0: as the domain's default
    double spacing;        // 0: as the domain's default
    int highest;           // 0: as the domain's default
    int used;
    bool idx;
    const char* boundary;  // null: as the domain's default
    int base;              // the host's last group
    std::vector<std::string> rows;
    std::vector<std::string> namesOfRow8 = {};  // empty: not checked
};

void PrintTo(const Example& e, std::ostream* os) {
    *os << e.method << (e.boundary ? std::string(" ") + e.boundary : "") << " used " << e.used;
}

class Distribution1DExample : public LinkedTest, public ::testing::WithParamInterface<Example> {};

TEST_P(Distribution1DExample, RowByRow) {
    const Example& e = GetParam();
    Grid g;
    g.Method(e.method).Used(e.used);
    if (e.sections) g.Sections(e.sections);
    if (e.spacing) g.Spacing(e.spacing);
    if (e.highest) g.Highest(e.highest);
    if (e.boundary) g.Boundary(e.boundary);
    if (e.idx) g.Integrals({"idx"});
    g.Settle().Declare(e.base);
    const std::vector<Row> rows = g.Rows();
    EXPECT_EQ(grid::Sequence(rows), e.rows);
    int block = 2;  // the method's position in the table, plus 2
    while (std::string(kMethods[block - 2]) != e.method) ++block;
    for (const Row& r : rows) EXPECT_EQ(r.group, e.base + (r.site == 1 ? 1 : block)) << "ZR_Eqn" << r.site;
    if (!e.namesOfRow8.empty()) {
        EXPECT_EQ(rows.at(8).Names(), e.namesOfRow8);
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, Distribution1DExample, ::testing::Values(
    Example{"BFD1", 0, 0, 0, 1, true, nullptr, 10, Join({{"1@0", "2@0"}, Span(3, 1, 8), Span(6, 1, 8)})},
    Example{"BFD1", 0, 0, 0, 2, true, nullptr, 100,
            Join({{"1@0", "2@0"}, Span(3, 1, 8), Span(4, 1, 7), Span(6, 1, 8)})},
    Example{"BFD2", 0, 0, 0, 1, true, nullptr, 10, Join({{"1@0", "7@0", "8@1"}, Span(9, 2, 8),
                                               {"12@1", "13@2", "12@3", "13@4", "12@5", "13@6", "12@7", "13@8"}})},
    Example{"CFD2", 0, 0.5, 0, 1, false, nullptr, 30, {"26@0", "27@1", "28@2"}},
    Example{"CFD2", 2, 0, 0, 1, false, nullptr, 100,
            Join({{"26@0"}, Span(27, 1, 7), {"29@8"}, Span(27, 9, 15), {"28@16"}}),
            {"DDX(8)", "XDOMAIN.SECTION(2).ELEMENTLENGTH", "XDOMAIN.SECTION(1).ELEMENTLENGTH", "VALUE(7)", "VALUE(9)"}},
    Example{"CFD2", 2, 0, 2, 2, false, nullptr, 100, Join({{"26@0"}, Span(27, 1, 7), {"28@8"}, Span(27, 9, 15), {"28@16"},
                                                 Span(30, 1, 7), Span(30, 9, 15), {"31@8"}})},
    Example{"CFD2", 0, 0.25, 0, 0, true, nullptr, 100, {"1@0", "32@1", "33@2", "32@3", "33@4"}},
    Example{"CFD4", 3, 0, 0, 2, false, nullptr, 0,
            Join({{"34@0", "35@1"}, Span(38, 2, 6), {"39@8", "40@7", "34@8", "35@9"}, Span(38, 10, 14),
                  {"39@16", "40@15", "34@16", "35@17"}, Span(38, 18, 22), {"39@24", "40@23", "44@1"}, Span(45, 2, 6),
                  {"46@7", "44@9"}, Span(45, 10, 14), {"46@15", "44@17"}, Span(45, 18, 22), {"46@23"}})},
    Example{"CFD4", 0, 0.25, 0, 2, false, nullptr, 100,
            {"34@0", "35@1", "38@2", "39@4", "40@3", "44@1", "45@2", "46@3"}},
    Example{"UBFD4", 0, 0.25, 0, 2, false, nullptr, 100,
            {"51@0", "52@1", "53@2", "54@3", "55@4", "56@1", "57@2", "58@3"}},
    Example{"UBFD4", 3, 0, 0, 1, false, nullptr, 0,
            Join({{"51@0", "52@1", "53@2"}, Span(54, 3, 7), {"55@8", "52@9", "53@10"}, Span(54, 11, 15),
                  {"55@16", "52@17", "53@18"}, Span(54, 19, 23), {"55@24"}})},
    Example{"OCFE2", 0, 0.25, 1, 1, false, "Backward", 3, {"64@0", "66@1", "67@2", "66@3", "67@4"}},
    Example{"OCFE2", 0, 0.25, 1, 1, false, "backward", 3, {"64@0", "66@1", "67@2", "66@3", "67@4"}},
    Example{"OCFE2", 0, 0.25, 1, 1, false, "Forward", 100, {"65@4", "66@1", "68@0", "66@3", "68@2"}},
    Example{"OCFE2", 2, 0.25, 2, 2, false, "Backward", 100,
            {"64@0", "66@1", "67@2", "71@1", "66@3", "67@4", "69@2", "71@3"}},
    Example{"OCFE2", 2, 0.25, 2, 2, false, "Forward", 100, {"66@1", "68@0", "71@1", "65@4", "66@3", "68@2", "71@3"}},
    Example{"OCFE2", 0, 1.0 / 6, 2, 2, false, "Forward", 100,
            {"65@6", "66@1", "68@0", "66@3", "68@2", "66@5", "68@4", "70@2", "71@1", "70@4", "71@3", "71@5"}},
    Example{"OCFE3", 0, 1.0 / 3, 1, 0, true, "Backward", 0, {"1@0", "84@1", "85@2", "86@3"}}),
    [](const ::testing::TestParamInfo<Example>& info) { return info.param.method + ("_" + std::to_string(info.index)); });

// The group base is the host's last group when SetUpEquations began; a second
// call declares the same instances, numbered from the base it then finds; a
// negative base result declares nothing and leaves the words as they were.
TEST_F(Distribution1D, GroupBaseRepeatedCallsAndANegativeBase) {
    Grid g;
    g.Method("BFD2").Sections(2).Used(2).Integrals({"idx"}).Settle();
    g.Declare(37);
    const std::vector<Row> first = g.Rows();
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(g.dist.Book.GroupNumber, 37);
    for (const Row& r : first) EXPECT_EQ(r.group, r.site == 1 ? 38 : 40);
    EXPECT_EQ(ZR_ModelType::m_stLastGroup, 40);

    g.Declare(40);
    const std::vector<Row> second = g.Rows();
    EXPECT_EQ(grid::Sequence(second), grid::Sequence(first));
    for (const Row& r : second) EXPECT_EQ(r.group, r.site == 1 ? 41 : 43);
    EXPECT_EQ(g.dist.Book.LocalEquationCount, static_cast<int>(second.size()));

    host.config.setUpEquationsResult = -4;
    const std::size_t incidence = host.incidence.size();
    ZR_ModelType::m_stLastGroup = 90;
    EXPECT_EQ(g.dist.SetUpEquations(), -4);
    EXPECT_EQ(host.incidence.size(), incidence);
    EXPECT_EQ(g.dist.Book.GroupNumber, 40);
    EXPECT_EQ(g.dist.Book.LocalEquationCount, static_cast<int>(second.size()));
}

TEST_F(Distribution1D, JacPatternBeforeAnySetUpEquationsNumbersFromZero) {
    Grid g;
    g.Method("FFD1").Integrals({"idx"}).Settle();
    std::vector<int> rows(200), cols(200);
    int* r = rows.data();
    int* c = cols.data();
    host.SetPatternLimit(r + rows.size(), c + cols.size());
    g.dist.JacPattern(r, c, nullptr);
    host.SetPatternLimit(nullptr, nullptr);
    ASSERT_FALSE(host.expressions.empty());
    for (const qtvhost::ExpressionRecord& e : host.expressions)
        EXPECT_EQ(e.group, host.EquationName(e) == "ZR_Eqn1" ? 1 : 4);
}

// For every method, derivative order, integral choice, section count and
// boundary condition: the n-th instance of SetUpEquations is the n-th of
// JacPattern, with the same group and the same variables and parameters in the
// same order; the counts and bookkeeping agree with the host's, and every stream
// is a whole expression. Nothing in use declares nothing.
class Distribution1DWalks : public LinkedTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(Distribution1DWalks, BothWalksDeclareTheSameInstances) {
    for (int used : {0, 1, 2}) {
        for (bool idx : {false, true}) {
            for (int sections : {1, 3}) {
                for (const char* boundary : {"Backward", "Forward"}) {
                    SCOPED_TRACE(std::string(GetParam()) + " used " + std::to_string(used) + (idx ? " idx " : " ") +
                                 std::to_string(sections) + " " + boundary);
                    Grid g;
                    g.Method(GetParam()).Sections(sections).Highest(2).Used(used).Boundary(boundary);
                    if (idx) g.Integrals({"idx"});
                    g.Settle();
                    grid::ExpectWalksAgree(g);
                    if (used == 0 && !idx) {
                        EXPECT_TRUE(g.Rows().empty());
                    }
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, Distribution1DWalks, ::testing::ValuesIn(kMethods),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

// A distribution whose domain the host never linked reads nothing through the
// reference: every operation that would reports a negative status, declares
// nothing and leaves the instance usable.
TEST_F(Distribution1D, AnUnlinkedDomainIsReportedNotRead) {
    ZR_DISTRIBUTION1D d;
    d.SetDims();
    host.assignments.clear();
    EXPECT_LT(d.ExecuteAssignments(1, 0), 0);
    EXPECT_TRUE(host.assignments.empty());
    EXPECT_LT(d.SetUpEquations(), 0);
    EXPECT_TRUE(host.incidence.empty());
    int dummy[4] = {};
    int* r = dummy;
    int* c = dummy;
    EXPECT_LT(d.JacPattern(r, c, nullptr), 0);
    EXPECT_EQ(r, dummy);
    EXPECT_TRUE(host.expressions.empty());
    EXPECT_EQ(d.Book.PatternEntryCount, 0);

    Grid g;
    g.Method("BFD1").Settle();
    ASSERT_TRUE(d.XDOMAIN.Link(&g.Domain()));
    qtvhost::SettleAssignments(d);
    EXPECT_EQ(Members(d.ZR_VALUE_SET1.v()), Range(0, g.EndNode()));
}
