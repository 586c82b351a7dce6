// SetUpEquations and JacPattern of every distribution, over many random
// configurations: methods per axis, sections of different spacings, derivative
// orders, integrals and boundary conditions. Both walks meet the same instances,
// the bookkeeping adds up, every element named lies in its index sets and every
// stream is a whole expression. The seeds are fixed, so a failure names the
// configuration that reproduces it.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "field_check.h"
#include "grid.h"
#include "linked_fixture.h"

namespace {

class Agreement : public LinkedTest, public ::testing::WithParamInterface<int> {};

TEST_P(Agreement, BothWalksMeetTheSameInstancesInEveryConfiguration) {
    const int dimensions = GetParam();
    int checked = 0;
    for (std::uint32_t seed = 1; checked < 60 && seed <= 400; ++seed) {
        const grid::Setup c = grid::DrawSetup(1000u * static_cast<std::uint32_t>(dimensions) + seed, dimensions);
        SCOPED_TRACE(c.Describe());
        host.Reset();
        {
            const std::unique_ptr<grid::Grid> g = grid::Make(dimensions);
            try {
                if (!grid::Configure(*g, c)) continue;
            } catch (const std::exception& e) {
                ADD_FAILURE() << "does not settle: " << e.what();
                continue;
            }
            ++checked;
            grid::ExpectWalksAgree(*g, 10 + static_cast<int>(seed % 7), static_cast<int>(seed % 5), 100);
        }
        for (const std::string& e : host.errors) ADD_FAILURE() << "host error: " << e;
        host.errors.clear();
        if (HasFailure()) break;  // the first configuration that fails is the one to read
    }
    EXPECT_EQ(checked, 60) << "too few configurations within the node limit";
}

INSTANTIATE_TEST_SUITE_P(Dimensions, Agreement, ::testing::Values(1, 2, 3),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "D"; });

class FieldCheck : public LinkedTest {};

// The field every exactness check stands on, seen by another road: every
// derivative is its factor's on its own axis, and the cells of every integral
// add up along its axes to the factors' integrals over the unit domain.
TEST_F(FieldCheck, CellIntegralsAddUpAndDerivativesFollowTheirAxis) {
    grid::Grid3 g;
    g.Method("CFD2").Sections(2).Spacing(0.25).Highest(2).Used(2);
    g.Integrals({"idx", "idy", "idz", "idxdy", "idxdz", "idydz", "idxdydz"}).Settle();
    const fieldcheck::Coordinates x = fieldcheck::UniformNodes(g);
    const std::vector<fieldcheck::Polynomial> f = {
        fieldcheck::Polynomial({1.0, 2.0}), fieldcheck::Polynomial({3.0, -1.0, 1.0}),
        fieldcheck::Polynomial({0.5, 0.0, 0.0, 1.0})};
    fieldcheck::Fill(g, x, f);
    for (const std::vector<double>& axis : x) ASSERT_EQ(axis, (std::vector<double>{0, 0.25, 0.5, 0.75, 1}));
    // Per axis: the order of the derivative an array holds, or -1 for its integral.
    const std::map<std::string, std::array<int, 3>> kinds = {
        {"VALUE", {0, 0, 0}},     {"DDX", {1, 0, 0}},      {"DDY", {0, 1, 0}},       {"DDZ", {0, 0, 1}},
        {"D2DX2", {2, 0, 0}},     {"D2DY2", {0, 2, 0}},    {"D2DZ2", {0, 0, 2}},     {"IDX", {-1, 0, 0}},
        {"IDY", {0, -1, 0}},      {"IDZ", {0, 0, -1}},     {"IDXDY", {-1, -1, 0}},   {"IDXDZ", {-1, 0, -1}},
        {"IDYDZ", {0, -1, -1}},   {"IDXDYDZ", {-1, -1, -1}}};
    for (const grid::ArrayView& a : g.Arrays()) {
        const std::array<int, 3>& op = kinds.at(a.name);
        std::map<std::array<int, 3>, double> sums;  // by the indices off the integral's axes
        std::array<int, 3> i;
        for (i[0] = 0; i[0] <= 4; ++i[0])
            for (i[1] = 0; i[1] <= 4; ++i[1])
                for (i[2] = 0; i[2] <= 4; ++i[2]) {
                    if (!(a.sets[0]->fv() >= i[0] && a.sets[1]->fv() >= i[1] && a.sets[2]->fv() >= i[2])) continue;
                    std::array<int, 3> key = i;
                    for (int d = 0; d < 3; ++d) key[d] = op[d] < 0 ? 0 : i[d];
                    sums[key] += a.element(g.Model(), i.data()).fv();
                }
        EXPECT_FALSE(sums.empty()) << a.name;
        for (const auto& [key, sum] : sums) {
            double expected = 1;
            for (std::size_t d = 0; d < 3; ++d)
                expected *= op[d] < 0 ? f[d].Integral(0, 1) : f[d].Derivative(x[d][key[d]], op[d]);
            EXPECT_NEAR(sum, expected, 1e-12) << a.name << " at " << key[0] << "," << key[1] << "," << key[2];
        }
    }
}

}  // namespace
