// The frame of the two- and three-dimensional walks: the integral start rows,
// what a negative base result and an element the host cannot give do to both
// operations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid.h"
#include "linked_fixture.h"

namespace {

using grid::Row;

class WalkFrame : public LinkedTest {};

// "N@i,j(,k) +group" of each row.
std::vector<std::string> Declared(const std::vector<Row>& rows, int groupBase) {
    std::vector<std::string> out = grid::Sequence(rows);
    for (std::size_t r = 0; r < rows.size(); ++r) out[r] += " +" + std::to_string(rows[r].group - groupBase);
    return out;
}

// The rows the start block owes one integral face: site at group, the
// letters' ranges given outer first, the fixed index 0 where the range is -1.
struct Face {
    int site, group;
    int lo[3];  // -1: the index is 0 there; else the range runs from lo to that axis's end
};

std::vector<std::string> Expected(const std::vector<Face>& faces, const int* ends, int dimensions) {
    std::vector<std::string> out;
    for (const Face& f : faces) {
        // The loops run over the axes whose index is not fixed, lowest axis outermost.
        std::vector<int> at(dimensions, 0);
        std::vector<int> free;
        for (int a = 0; a < dimensions; ++a)
            if (f.lo[a] >= 0) free.push_back(a);
        auto emit = [&] {
            std::string s = std::to_string(f.site) + "@";
            for (int a = 0; a < dimensions; ++a) s += (a ? "," : "") + std::to_string(at[a]);
            out.push_back(s + " +" + std::to_string(f.group));
        };
        for (at[free[0]] = f.lo[free[0]]; at[free[0]] <= ends[free[0]]; ++at[free[0]]) {
            if (free.size() == 1) {
                emit();
                continue;
            }
            for (at[free[1]] = f.lo[free[1]]; at[free[1]] <= ends[free[1]]; ++at[free[1]]) emit();
        }
    }
    return out;
}

bool Has(const std::vector<std::string>& names, const char* name) {
    for (const std::string& n : names)
        if (n == name) return true;
    return false;
}

}  // namespace

// With a method text that no method matches, only the start rows stand: each
// integral is pinned on its start faces once, in the order and groups of the
// start block, for every choice of integrals.
TEST_F(WalkFrame, StartRowsPinEachIntegralsStartFacesOnce) {
    const std::vector<std::vector<std::string>> choices2 = {
        {"None"}, {"idx"}, {"idy"}, {"idxdy"}, {"idx", "idy", "idxdy"}};
    for (const auto& integrals : choices2) {
        SCOPED_TRACE(integrals.back());
        grid::Grid2 g;
        g.MethodUnchecked("NONE").Sections(grid::kX, 2).Used(2).Integrals(integrals).Settle().Declare(100);
        const int ends[] = {g.EndNode(grid::kX), g.EndNode(grid::kY)};
        std::vector<Face> faces;
        if (Has(integrals, "idx") || Has(integrals, "idxdy")) faces.push_back({1, 1, {-1, 0}});
        if (Has(integrals, "idy")) faces.push_back({2, 2, {0, -1}});
        if (Has(integrals, "idxdy")) {
            faces.push_back({3, 3, {-1, 0}});
            faces.push_back({4, 3, {1, -1}});
        }
        EXPECT_EQ(Declared(g.Rows(), 100), Expected(faces, ends, 2));
    }

    const std::vector<std::vector<std::string>> choices3 = {
        {"None"}, {"idx"}, {"idy"}, {"idz"}, {"idxdy"}, {"idxdz"}, {"idydz"}, {"idxdydz"},
        {"idx", "idy", "idz", "idxdy", "idxdz", "idydz", "idxdydz"}};
    for (const auto& integrals : choices3) {
        SCOPED_TRACE(integrals.back());
        grid::Grid3 g;
        g.MethodUnchecked("NONE").Spacing(0.25).Sections(grid::kY, 2).Used(1).Integrals(integrals).Settle().Declare(100);
        const int ends[] = {g.EndNode(grid::kX), g.EndNode(grid::kY), g.EndNode(grid::kZ)};
        auto any = [&](std::initializer_list<const char*> names) {
            for (const char* n : names)
                if (Has(integrals, n)) return true;
            return false;
        };
        std::vector<Face> faces;
        if (any({"idx", "idxdy", "idxdz", "idxdydz"})) faces.push_back({1, 1, {-1, 0, 0}});
        if (any({"idy", "idydz"})) faces.push_back({2, 2, {0, -1, 0}});
        if (any({"idz"})) faces.push_back({3, 3, {0, 0, -1}});
        if (any({"idxdy", "idxdydz"})) {
            faces.push_back({4, 4, {-1, 0, 0}});
            faces.push_back({5, 4, {1, -1, 0}});
        }
        if (any({"idxdz"})) {
            faces.push_back({6, 5, {-1, 0, 0}});
            faces.push_back({7, 5, {1, 0, -1}});
        }
        if (any({"idydz"})) {
            faces.push_back({8, 6, {0, -1, 0}});
            faces.push_back({9, 6, {0, 1, -1}});
        }
        if (any({"idxdydz"})) {
            faces.push_back({10, 7, {-1, 0, 0}});
            faces.push_back({11, 7, {1, -1, 0}});
            faces.push_back({12, 7, {1, 1, -1}});
        }
        EXPECT_EQ(Declared(g.Rows(), 100), Expected(faces, ends, 3));
    }
}

// A negative result of the host's base operation is returned unchanged and
// nothing is declared, in either operation; JacPattern still empties the
// expression builder first.
TEST_F(WalkFrame, ANegativeBaseResultDeclaresNothing) {
    for (int dimensions : {1, 2, 3}) {
        SCOPED_TRACE(dimensions);
        std::unique_ptr<grid::Grid> g;
        if (dimensions == 1) g = std::make_unique<grid::Grid1>();
        if (dimensions == 2) g = std::make_unique<grid::Grid2>();
        if (dimensions == 3) g = std::make_unique<grid::Grid3>();
        g->Spacing(0.25).Used(2).Integrals({"idx", "idy", "idz", "idxdy"}).Settle();
        g->Book().GroupNumber = 7;
        g->Book().PatternEntryCount = 5;
        host.config.setUpEquationsResult = -3;
        host.config.jacPatternResult = -4;
        host.baseCalls.clear();
        ZR_ModelType& model = g->Model();
        EXPECT_EQ(model.SetUpEquations(), -3);
        int* none = nullptr;
        EXPECT_EQ(model.JacPattern(none, none, nullptr), -4);
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
    for (int dimensions : {2, 3}) {
        SCOPED_TRACE(dimensions);
        std::unique_ptr<grid::Grid> g;
        if (dimensions == 2) g = std::make_unique<grid::Grid2>();
        if (dimensions == 3) g = std::make_unique<grid::Grid3>();
        g->Spacing(0.25).Used(1).Integrals({"idx"}).Settle();
        host.config.maxArraySlots = 20;
        g->Declare();
        EXPECT_EQ(g->setUpResult, -1);
        EXPECT_EQ(g->patternResult, -1);
        EXPECT_LT(host.incidence.size(), 25u * (dimensions == 2 ? 2 : 3));
        bool reported = false;
        for (const std::string& e : host.errors) reported |= e.find("larger than the host can hold") != std::string::npos;
        EXPECT_TRUE(reported);
        host.errors.clear();
        host.config = qtvhost::HostConfig();
    }
}
