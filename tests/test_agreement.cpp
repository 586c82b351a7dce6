// SetUpEquations and JacPattern of every distribution, over many random
// configurations: methods per axis, sections of different spacings, derivative
// orders, integrals and boundary conditions. Both walks meet the same instances,
// the bookkeeping adds up, every element named lies in its index sets and every
// stream is a whole expression. The seeds are fixed, so a failure names the
// configuration that reproduces it.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "field_check.h"
#include "grid.h"
#include "linked_fixture.h"

namespace {

const char* const kMethods[] = {"BFD1", "BFD2", "FFD1", "FFD2", "CFD2", "CFD4", "UBFD4", "OCFE2", "OCFE3", "OCFE4"};
const std::vector<std::vector<std::string>> kIntegrals = {
    {"idx"},
    {"idx", "idy", "idxdy"},
    {"idx", "idy", "idz", "idxdy", "idxdz", "idydz", "idxdydz"},
};
// The most nodes a configuration may have, and the most nodes per section drawn,
// by dimension: the whole program stays within seconds.
const int kMostNodes[] = {120, 400, 512};
const int kMostPerSection[] = {10, 6, 4};

struct AxisConfig {
    const char* method;
    std::vector<double> spacings;  // one per section
    int highest;                   // the domain's HIGHESTORDERDERIVATIVE
    int used;                      // the distribution's order; -1: left to its default
    const char* boundary;
};

struct Config {
    std::uint32_t seed;
    std::vector<AxisConfig> axes;
    std::vector<std::string> integrals;  // empty: left to the default
    std::string Describe() const;
};

std::string Config::Describe() const {
    std::ostringstream s;
    s << "seed " << seed << ":";
    for (std::size_t a = 0; a < axes.size(); ++a) {
        const AxisConfig& x = axes[a];
        s << " " << "XYZ"[a] << " " << x.method << " spacings {";
        for (std::size_t i = 0; i < x.spacings.size(); ++i) s << (i ? ", " : "") << x.spacings[i];
        s << "} highest " << x.highest << " used " << x.used << " " << x.boundary << ";";
    }
    s << " integrals {";
    for (std::size_t i = 0; i < integrals.size(); ++i) s << (i ? ", " : "") << integrals[i];
    s << "}";
    return s.str();
}

// Draws from the engine's own output, which the standard fixes, so that a seed
// means the same configuration everywhere.
class Draw {
public:
    explicit Draw(std::uint32_t seed) : m_engine(seed) {}
    int Below(int n) { return static_cast<int>(m_engine() % static_cast<std::uint32_t>(n)); }
    bool Coin() { return Below(2) == 1; }

private:
    std::mt19937 m_engine;
};

Config DrawConfig(std::uint32_t seed, int dimensions) {
    Draw draw(seed);
    Config c;
    c.seed = seed;
    for (int a = 0; a < dimensions; ++a) {
        AxisConfig x;
        x.method = kMethods[draw.Below(10)];
        const int sections = 1 + draw.Below(3);
        for (int s = 0; s < sections; ++s) {
            // Sections are 1/sections long; the preference asks for 2 to the most
            // nodes of a section, each section its own.
            const int nodes = 2 + draw.Below(kMostPerSection[dimensions - 1] - 1);
            x.spacings.push_back(1.0 / sections / (nodes + 0.25 * s));
        }
        x.highest = 1 + draw.Below(2);
        x.used = draw.Below(4) - 1;
        x.boundary = draw.Coin() ? "Backward" : "Forward";
        c.axes.push_back(x);
    }
    for (const std::string& name : kIntegrals[static_cast<std::size_t>(dimensions - 1)])
        if (draw.Coin()) c.integrals.push_back(name);
    return c;
}

std::unique_ptr<grid::Grid> Build(int dimensions) {
    switch (dimensions) {
    case 1: return std::make_unique<grid::Grid1>();
    case 2: return std::make_unique<grid::Grid2>();
    default: return std::make_unique<grid::Grid3>();
    }
}

// The grid of a configuration, settled; null when it has more nodes than the
// dimension allows.
std::unique_ptr<grid::Grid> Settled(const Config& c) {
    const int dimensions = static_cast<int>(c.axes.size());
    std::unique_ptr<grid::Grid> g = Build(dimensions);
    for (int a = 0; a < dimensions; ++a) {
        const AxisConfig& x = c.axes[static_cast<std::size_t>(a)];
        g->Method(a, x.method).SectionSpacings(a, x.spacings).Highest(a, x.highest).Boundary(a, x.boundary);
        if (x.used >= 0) g->Used(a, x.used);
    }
    if (!c.integrals.empty()) g->Integrals(c.integrals);
    g->Settle();
    long long nodes = 1;
    for (int a = 0; a < dimensions; ++a) nodes *= g->EndNode(a) + 1LL;
    if (nodes > kMostNodes[dimensions - 1]) return nullptr;
    return g;
}

class Agreement : public LinkedTest, public ::testing::WithParamInterface<int> {};

TEST_P(Agreement, BothWalksMeetTheSameInstancesInEveryConfiguration) {
    const int dimensions = GetParam();
    int checked = 0;
    for (std::uint32_t seed = 1; checked < 60 && seed <= 400; ++seed) {
        const Config c = DrawConfig(1000u * static_cast<std::uint32_t>(dimensions) + seed, dimensions);
        SCOPED_TRACE(c.Describe());
        host.Reset();
        {
            std::unique_ptr<grid::Grid> g;
            try {
                g = Settled(c);
            } catch (const std::exception& e) {
                ADD_FAILURE() << "does not settle: " << e.what();
                continue;
            }
            if (!g) continue;
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

// A term is read from either form of the host's name.
TEST(GridTerms, ElementsAndParametersInEitherForm) {
    const grid::Term e = grid::ParseTerm("VALUE(3,0,12)");
    EXPECT_FALSE(e.parameter);
    EXPECT_EQ(e.array, "VALUE");
    EXPECT_EQ(e.index, (std::vector<int>{3, 0, 12}));
    EXPECT_EQ(e.Name(), "VALUE(3,0,12)");
    for (const char* text : {"SECTION(2).ELEMENTLENGTH", "XDOMAIN.SECTION(2).ELEMENTLENGTH"}) {
        const grid::Term p = grid::ParseTerm(text);
        EXPECT_TRUE(p.parameter) << text;
        EXPECT_EQ(p.array, "ELEMENTLENGTH") << text;
        EXPECT_EQ(p.index, std::vector<int>{2}) << text;
    }
    EXPECT_EQ(grid::ParseTerm("D2.IDXDY(-1,4)").array, "IDXDY");
    EXPECT_EQ(grid::ParseTerm("D2.IDXDY(-1,4)").index, (std::vector<int>{-1, 4}));
}

}  // namespace

namespace {

class FieldCheck : public LinkedTest {};

// The field every exactness check stands on, seen by another road: cell
// integrals add up to the integral over the whole domain along their axes, and
// derivatives are the factors' derivatives, each on its own axis.
TEST_F(FieldCheck, CellIntegralsAddUpAndDerivativesFollowTheirAxis) {
    grid::Grid3 g;
    g.Method("CFD2").Sections(2).Spacing(0.25).Highest(2).Used(2);
    g.Integrals({"idx", "idy", "idz", "idxdy", "idxdz", "idydz", "idxdydz"}).Settle();
    const fieldcheck::Coordinates x = fieldcheck::UniformNodes(g);
    const fieldcheck::Polynomial p({1.0, 2.0}), q({3.0, -1.0, 1.0}), r({0.5, 0.0, 0.0, 1.0});
    fieldcheck::Fill(g, x, {p, q, r});
    const int e = g.EndNode(grid::kX);
    ASSERT_EQ(e, 4);
    ASSERT_EQ(g.EndNode(grid::kY), e);
    ASSERT_EQ(x[0].back(), 1.0);
    const double whole[] = {p.Integral(0, 1), q.Integral(0, 1), r.Integral(0, 1)};
    auto array = [&](const char* name) {
        for (const grid::ArrayView& a : g.Arrays())
            if (a.name == name) return a;
        throw std::invalid_argument(name);
    };
    auto inside = [&](const char* name, int i, int j, int k) {
        const grid::ArrayView a = array(name);
        return a.sets[0]->fv() >= i && a.sets[1]->fv() >= j && a.sets[2]->fv() >= k;
    };
    auto at = [&](const char* name, int i, int j, int k) {
        EXPECT_TRUE(inside(name, i, j, k)) << name << "(" << i << "," << j << "," << k << ")";
        const int index[] = {i, j, k};
        return array(name).element(g.Model(), index).fv();
    };
    const auto& X = x[0];
    const auto& Y = x[1];
    const auto& Z = x[2];
    double all = 0;
    for (int i = 0; i <= e; ++i) {
        for (int j = 0; j <= e; ++j) {
            for (int k = 0; k <= e; ++k) {
                SCOPED_TRACE(std::to_string(i) + "," + std::to_string(j) + "," + std::to_string(k));
                const double P = p(X[i]), Q = q(Y[j]), R = r(Z[k]);
                EXPECT_NEAR(at("VALUE", i, j, k), P * Q * R, 1e-12);
                EXPECT_NEAR(at("DDX", i, j, k), p.Derivative(X[i]) * Q * R, 1e-12);
                EXPECT_NEAR(at("DDY", i, j, k), P * q.Derivative(Y[j]) * R, 1e-12);
                EXPECT_NEAR(at("DDZ", i, j, k), P * Q * r.Derivative(Z[k]), 1e-12);
                if (inside("D2DX2", i, j, k)) {
                    EXPECT_NEAR(at("D2DX2", i, j, k), p.Derivative(X[i], 2) * Q * R, 1e-12);
                }
                if (inside("D2DY2", i, j, k)) {
                    EXPECT_NEAR(at("D2DY2", i, j, k), P * q.Derivative(Y[j], 2) * R, 1e-12);
                }
                if (inside("D2DZ2", i, j, k)) {
                    EXPECT_NEAR(at("D2DZ2", i, j, k), P * Q * r.Derivative(Z[k], 2), 1e-12);
                }
                all += at("IDXDYDZ", i, j, k);
            }
            double overX = 0, overZ = 0, overXZ = 0, overYZ = 0;
            for (int m = 0; m <= e; ++m) {
                overX += at("IDX", m, i, j);
                overZ += at("IDZ", i, j, m);
                for (int n = 0; n <= e; ++n) {
                    overXZ += at("IDXDZ", m, i, n);
                    overYZ += at("IDYDZ", j, m, n);
                }
            }
            EXPECT_NEAR(overX, whole[0] * q(Y[i]) * r(Z[j]), 1e-12);
            EXPECT_NEAR(overZ, p(X[i]) * q(Y[j]) * whole[2], 1e-12);
            EXPECT_NEAR(overXZ, whole[0] * q(Y[i]) * whole[2], 1e-12);
            EXPECT_NEAR(overYZ, p(X[j]) * whole[1] * whole[2], 1e-12);
        }
        double overY = 0, overXY = 0;
        for (int m = 0; m <= e; ++m) {
            overY += at("IDY", 0, m, i);
            for (int n = 0; n <= e; ++n) overXY += at("IDXDY", m, n, i);
        }
        EXPECT_NEAR(overY, p(X[0]) * whole[1] * r(Z[i]), 1e-12);
        EXPECT_NEAR(overXY, whole[0] * whole[1] * r(Z[i]), 1e-12);
    }
    EXPECT_NEAR(all, whole[0] * whole[1] * whole[2], 1e-12);
}

}  // namespace
