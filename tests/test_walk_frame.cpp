// The frame of the two- and three-dimensional walks: the integral start rows,
// what a negative base result and an element the host cannot give do to both
// operations.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "grid.h"
#include "index_sets.h"
#include "linked_fixture.h"

namespace {

class WalkFrame : public LinkedTest {};

// "N@i,j(,k) +group" of each start row an integral choice owes, in the start
// block's order. Each integral array, built or not, numbers one site per axis
// it integrates along, and pins for each in turn the face where that index is
// 0, the array's earlier axes running from 1, the others whole; the lowest free
// axis runs outermost. The group is the array's place.
std::vector<std::string> StartRows(const std::vector<std::string>& chosen, const std::vector<int>& ends) {
    const int dims = static_cast<int>(ends.size());
    std::vector<std::string> out;
    int site = 0, group = 0;
    for (const std::string& name : index_sets::IntegralNames(dims)) {
        ++group;
        std::vector<int> axes;
        for (char c : name.substr(1))
            if (c != 'd') axes.push_back(c - 'x');
        for (std::size_t j = 0; j < axes.size(); ++j) {
            ++site;
            if (!index_sets::Built(name, chosen)) continue;
            std::vector<int> lo(dims, 0);
            for (std::size_t i = 0; i < j; ++i) lo[axes[i]] = 1;
            lo[axes[j]] = -1;  // fixed at 0
            std::vector<int> at(dims);
            for (int a = 0; a < dims; ++a) at[a] = std::max(lo[a], 0);
            for (int a = 0; a >= 0;) {
                std::string s = std::to_string(site) + "@";
                for (int b = 0; b < dims; ++b) s += (b ? "," : "") + std::to_string(at[b]);
                out.push_back(s + " +" + std::to_string(group));
                for (a = dims - 1; a >= 0 && (lo[a] < 0 || at[a] == ends[a]); --a) at[a] = std::max(lo[a], 0);
                if (a >= 0) ++at[a];
            }
        }
    }
    return out;
}

}  // namespace

// With a method text that no method matches, only the start rows stand: each
// integral is pinned on its start faces once, in the order and groups of the
// start block, for every choice of integrals.
TEST_F(WalkFrame, StartRowsPinEachIntegralsStartFacesOnce) {
    for (int dims : {2, 3}) {
        const std::vector<std::string> names = index_sets::IntegralNames(dims);
        std::vector<std::vector<std::string>> choices = {{"None"}, names};
        for (const std::string& n : names) choices.push_back({n});
        for (const auto& integrals : choices) {
            SCOPED_TRACE(std::to_string(dims) + "D " + integrals.back() + (integrals.size() > 1 ? " and all" : ""));
            std::unique_ptr<grid::Grid> g = grid::Make(dims);
            g->MethodUnchecked("NONE").Spacing(0.25).Sections(dims == 2 ? grid::kX : grid::kY, 2).Used(dims == 2 ? 2 : 1);
            g->Integrals(integrals).Settle().Declare(100);
            std::vector<int> ends;
            for (int a = 0; a < dims; ++a) ends.push_back(g->EndNode(a));
            const std::vector<grid::Row> rows = g->Rows();
            std::vector<std::string> declared = grid::Sequence(rows);
            for (std::size_t r = 0; r < rows.size(); ++r) declared[r] += " +" + std::to_string(rows[r].group - 100);
            EXPECT_EQ(declared, StartRows(integrals, ends));
        }
    }
}

// A negative result of the host's base operation is returned unchanged and
// nothing is declared, in either operation; JacPattern still empties the
// expression builder first.
TEST_F(WalkFrame, ANegativeBaseResultDeclaresNothing) {
    for (int dims : {1, 2, 3}) {
        SCOPED_TRACE(dims);
        std::unique_ptr<grid::Grid> g = grid::Make(dims);
        g->Spacing(0.25).Used(2).Integrals({"idx", "idy", "idz", "idxdy"}).Settle();
        g->Book().GroupNumber = 7;
        g->Book().PatternEntryCount = 5;
        host.config.setUpEquationsResult = -3;
        host.config.jacPatternResult = -4;
        host.baseCalls.clear();
        EXPECT_EQ(g->Model().SetUpEquations(), -3);
        int* none = nullptr;
        EXPECT_EQ(g->Model().JacPattern(none, none, nullptr), -4);
        EXPECT_TRUE(host.incidence.empty());
        EXPECT_TRUE(host.expressions.empty());
        EXPECT_EQ(g->Book().GroupNumber, 7);
        EXPECT_EQ(g->Book().PatternEntryCount, 0);
        ASSERT_FALSE(host.baseCalls.empty());
        EXPECT_EQ(host.baseCalls.front().kind, qtvhost::BaseCall::SetUpEquations);
        bool reset = false;
        for (const auto& call : host.baseCalls) reset |= call.kind == qtvhost::BaseCall::ResetExpressions;
        EXPECT_TRUE(reset);
        host.config = qtvhost::HostConfig();
    }
}

// An element the host cannot give (its slot limit) stops the walk where it
// is needed: the operation reports -1 and nothing is read through null.
TEST_F(WalkFrame, AnElementTheHostCannotGiveStopsTheWalk) {
    for (int dims : {2, 3}) {
        SCOPED_TRACE(dims);
        std::unique_ptr<grid::Grid> g = grid::Make(dims);
        g->Spacing(0.25).Used(1).Integrals({"idx"}).Settle();
        host.config.maxArraySlots = 20;
        g->Declare();
        EXPECT_EQ(g->setUpResult, -1);
        EXPECT_EQ(g->patternResult, -1);
        EXPECT_LT(host.incidence.size(), 25u * dims);
        bool reported = false;
        for (const std::string& e : host.errors) reported |= e.find("larger than the host can hold") != std::string::npos;
        EXPECT_TRUE(reported);
        host.errors.clear();
        host.config = qtvhost::HostConfig();
    }
}
