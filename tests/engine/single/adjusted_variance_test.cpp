// Lag-window weights and the White and Newey-West adjusted variance matrices against the
// sandwich reference values and small fixtures written out here.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/single/adjusted_variance.h"
#include "engine/single/estimation_state.h"
#include "engine/single/lag_windows.h"
#include "engine/single/least_squares.h"
#include "tests/engine/single/macro_fixture.h"

using namespace qorv;
using namespace qorv::single;
namespace macro = qorv::testing::macro;
using qorv::testing::agrees;

namespace {

/// Element (i, j) (from 1) of a packed matrix.
double packed_element(const std::vector<double>& a, int i, int j) {
  const int m = std::max(i, j), k = std::min(i, j);
  return a[static_cast<std::size_t>(m * (m - 1) / 2 + k - 1)];
}

TEST(LagWindow, WeightsFollowTheirDefinitions) {
  const std::array<double, 4> parzen = {1.0, 0.71875, 0.25, 0.03125};
  for (int j = 0; j <= 3; ++j) EXPECT_DOUBLE_EQ(LAGWINDOW(j, 3, window::kParzen), parzen[static_cast<std::size_t>(j)]);
  for (int type = window::kEqual; type <= window::kParzen; ++type) EXPECT_EQ(LAGWINDOW(0, 0, type), 1.0);
  // Bartlett and Tukey stay positive at lag m.
  EXPECT_DOUBLE_EQ(LAGWINDOW(4, 4, window::kBartlett), 0.2);
  EXPECT_DOUBLE_EQ(LAGWINDOW(4, 4, window::kTukey), (1.0 + std::cos(std::numbers::pi * 0.8)) / 2.0);
  EXPECT_GT(LAGWINDOW(4, 4, window::kTukey), 0.0);
  EXPECT_EQ(LAGWINDOW(2, 4, window::kEqual), 1.0);
}

TEST(LagWindow, CrossProductsAtLagZeroAreHalved) {
  // x = (1, 2, 3), e = (1, -1, 2): G_0 = Σ x² e² = 1 + 4 + 36; G_1 = 2 Σ x_s x_{s+1} e_s e_{s+1}.
  const std::vector<double> x = {1, 2, 3}, e = {1, -1, 2};
  std::vector<double> g(1);
  LAGCROSSPRODUCTS(x, 3, 1, e, 0, g);
  EXPECT_DOUBLE_EQ(g[0], 41.0);
  LAGCROSSPRODUCTS(x, 3, 1, e, 1, g);
  EXPECT_DOUBLE_EQ(g[0], 2.0 * (2.0 * -1.0 + 6.0 * -2.0));
  EXPECT_THROW(LAGCROSSPRODUCTS(x, 4, 1, e, 0, g), std::invalid_argument);
}

class AdjustedVariance : public qorv::testing::MacroTest {
 protected:
  const std::vector<std::string> labels_ = {"INPT", "LY", "INFL", "R"};

  void estimate(int code) {
    core::globals().sample_start = 1;
    estimation().eqvarlist = {macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR};
    begin_estimate(code);
    ASSERT_TRUE(load_sample());
    double ms = 0.0, ll = 0.0;
    if (code == method::kIv) {
      estimation().instrlist.assign(estimation().eqvarlist.begin() + 1, estimation().eqvarlist.end());
      estimation().ninstr = 4;
      LSQCORE(false);
    } else {
      RESIDUALSUMMARY(ms, ll, false);
    }
    ASSERT_EQ(estimation().status, 0);
  }

  /// Every S.E., t-ratio and matrix element of variant `name` agrees with the reference.
  void expect_variant(const std::vector<double>& a, const std::string& name) {
    const auto rows = qorv::testing::reference_expected("single-extra", "HAC_S");
    ASSERT_EQ(a.size(), 10u);
    for (int i = 1; i <= 4; ++i) {
      const std::string li = labels_[static_cast<std::size_t>(i - 1)];
      const double se = std::sqrt(packed_element(a, i, i));
      EXPECT_TRUE(agrees(se, rows.at(name + ":SE:" + li))) << name << " SE " << li << " " << se;
      EXPECT_TRUE(agrees(coefficient(i) / se, rows.at(name + ":T:" + li))) << name << " T " << li;
      for (int j = 1; j <= i; ++j) {
        const std::string key = name + ":VCOV:" + li + ":" + labels_[static_cast<std::size_t>(j - 1)];
        EXPECT_TRUE(agrees(packed_element(a, i, j), rows.at(key))) << key;
      }
    }
  }
};

struct Variant {
  const char* name;
  int option;
  int m;
};
constexpr Variant kVariants[] = {
    {"WHITE", 2, 0},           {"NW_EQUAL_M4", 3, 4},    {"NW_EQUAL_M12", 3, 12},
    {"NW_BARTLETT_M4", 4, 4},  {"NW_BARTLETT_M12", 4, 12}, {"NW_BARTLETT_M0", 4, 0},
    {"NW_TUKEY_M4", 5, 4},     {"NW_TUKEY_M12", 5, 12},  {"NW_PARZEN_M4", 6, 4},
    {"NW_PARZEN_M12", 6, 12},
};

TEST_F(AdjustedVariance, OlsMatchesTheSandwichReference) {
  estimate(method::kOls);
  const auto rows = qorv::testing::reference_expected("single-extra", "HAC_S");
  for (int i = 1; i <= 4; ++i) {
    const std::string li = labels_[static_cast<std::size_t>(i - 1)];
    EXPECT_TRUE(agrees(coefficient(i), rows.at("COEF:" + li)));
    EXPECT_TRUE(agrees(std::sqrt(coefficient_variance(i, i)), rows.at("STD_SE:" + li)));
  }
  for (const Variant& v : kVariants) expect_variant(estimate_adjusted_variance(v.option, v.m), v.name);
}

TEST_F(AdjustedVariance, TruncationZeroIsWhiteForEveryWindow) {
  estimate(method::kOls);
  const auto white = estimate_adjusted_variance(2, 0);
  for (int option = 3; option <= 6; ++option) {
    const auto a = estimate_adjusted_variance(option, 0);
    ASSERT_EQ(a.size(), white.size());
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_DOUBLE_EQ(a[i], white[i]);
  }
}

TEST_F(AdjustedVariance, RangesAndMethodsWithoutOneGiveNothing) {
  estimate(method::kOls);
  const int n = estimation().nused;
  EXPECT_FALSE(estimate_adjusted_variance(4, n - 1).empty());
  EXPECT_TRUE(estimate_adjusted_variance(4, n).empty());
  EXPECT_TRUE(estimate_adjusted_variance(4, -1).empty());
  EXPECT_TRUE(estimate_adjusted_variance(1, 0).empty());
  EXPECT_TRUE(estimate_adjusted_variance(7, 0).empty());
  estimation().method = method::kPhillipsHansen;
  EXPECT_TRUE(estimate_adjusted_variance(2, 0).empty());
}

TEST_F(AdjustedVariance, IvWithTheRegressorsAsInstrumentsIsTheOlsSandwich) {
  estimate(method::kIv);
  expect_variant(estimate_adjusted_variance(2, 0), "WHITE");
  expect_variant(estimate_adjusted_variance(4, 4), "NW_BARTLETT_M4");
}

TEST_F(AdjustedVariance, JacobianOfTheRegressorsGivesTheOlsMatrix) {
  estimate(method::kOls);
  const auto ols = estimate_adjusted_variance(6, 4);
  auto& s = estimation();
  const int n = s.nused;
  s.method = method::kNls;
  for (int j = 1; j <= 4; ++j)
    for (int t = 1; t <= n; ++t) s.jacobian.push_back(core::data_at(t, s.eqvarlist[static_cast<std::size_t>(j)]));
  expect_variant(estimate_adjusted_variance(6, 4), "NW_PARZEN_M4");
  EXPECT_EQ(estimate_adjusted_variance(6, 4), ols);
}

/// Over-identified IV on eight observations: y on (1, x) with instruments (1, z1, z2).
class OverIdentified : public qorv::testing::EngineTest {
 protected:
  static constexpr int kN = 8;
  const std::array<double, kN> y_ = {2.0, 3.5, 3.1, 5.2, 6.8, 6.1, 8.3, 9.9};
  const std::array<double, kN> x_ = {1.0, 2.0, 2.5, 4.0, 5.0, 5.5, 7.0, 8.0};
  const std::array<double, kN> z1_ = {1.0, 1.5, 3.0, 3.5, 5.5, 5.0, 6.5, 8.5};
  const std::array<double, kN> z2_ = {0.0, 1.0, 0.0, 1.0, 1.0, 0.0, 1.0, 0.0};

  void SetUp() override {
    EngineTest::SetUp();
    auto& g = core::globals();
    g.nobs = kN;
    g.nvars = 5;
    g.frequency = 1;
    g.periods_per_year = 1;
    for (int t = 1; t <= kN; ++t) {
      const auto i = static_cast<std::size_t>(t - 1);
      core::data_at(t, 1) = y_[i];
      core::data_at(t, 2) = 1.0;
      core::data_at(t, 3) = x_[i];
      core::data_at(t, 4) = z1_[i];
      core::data_at(t, 5) = z2_[i];
    }
    g.sample_start = 1;
    g.sample_end = kN;
    estimation().eqvarlist = {1, 2, 3};
    begin_estimate(method::kIv);
    ASSERT_TRUE(load_sample());
    estimation().instrlist = {2, 4, 5};
    estimation().ninstr = 3;
    LSQCORE(false);
    ASSERT_EQ(estimation().status, 0);
  }
};

/// Solves the 3 × 3 system a·u = b by Cramer's rule.
std::array<double, 3> solve3(const std::array<std::array<double, 3>, 3>& a, const std::array<double, 3>& b) {
  const auto det = [](const std::array<std::array<double, 3>, 3>& m) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  };
  std::array<double, 3> u{};
  for (int c = 0; c < 3; ++c) {
    auto m = a;
    for (int r = 0; r < 3; ++r) m[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = b[static_cast<std::size_t>(r)];
    u[static_cast<std::size_t>(c)] = det(m) / det(a);
  }
  return u;
}

TEST_F(OverIdentified, AdjustedMatrixIsTheSandwichOnTheProjections) {
  // x̂ = W (W'W)⁻¹ W'x; the intercept projects onto itself.
  std::array<std::array<double, kN>, 3> w{};
  for (std::size_t t = 0; t < kN; ++t) w[0][t] = 1.0, w[1][t] = z1_[t], w[2][t] = z2_[t];
  std::array<std::array<double, 3>, 3> wtw{};
  std::array<double, 3> wtx{};
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t c = 0; c < 3; ++c)
      for (std::size_t t = 0; t < kN; ++t) wtw[r][c] += w[r][t] * w[c][t];
    for (std::size_t t = 0; t < kN; ++t) wtx[r] += w[r][t] * x_[t];
  }
  const auto p = solve3(wtw, wtx);
  std::array<std::array<double, kN>, 2> xh{};
  for (std::size_t t = 0; t < kN; ++t) xh[0][t] = 1.0, xh[1][t] = p[0] + p[1] * z1_[t] + p[2] * z2_[t];
  // V = (X̂'X̂)⁻¹, b = V X̂'y, e = y − X b.
  double a11 = 0, a12 = 0, a22 = 0, c1 = 0, c2 = 0;
  for (std::size_t t = 0; t < kN; ++t) {
    a11 += xh[0][t] * xh[0][t], a12 += xh[0][t] * xh[1][t], a22 += xh[1][t] * xh[1][t];
    c1 += xh[0][t] * y_[t], c2 += xh[1][t] * y_[t];
  }
  const double d = a11 * a22 - a12 * a12;
  const double v11 = a22 / d, v12 = -a12 / d, v22 = a11 / d;
  const double b1 = v11 * c1 + v12 * c2, b2 = v12 * c1 + v22 * c2;
  std::array<double, kN> e{};
  for (std::size_t t = 0; t < kN; ++t) e[t] = y_[t] - b1 - b2 * x_[t];

  for (const int m : {0, 2}) {
    // S = Σ_j w_j Σ_s (x̂_{s+j} x̂_s' + x̂_s x̂_{s+j}') e_s e_{s+j} / (1 + [j = 0]), Bartlett.
    double s11 = 0, s12 = 0, s22 = 0;
    for (int j = 0; j <= m; ++j) {
      const double wj = (1.0 - static_cast<double>(j) / (m + 1)) * (j == 0 ? 0.5 : 1.0);
      for (std::size_t s = 0; s + static_cast<std::size_t>(j) < kN; ++s) {
        const std::size_t u = s + static_cast<std::size_t>(j);
        const double ee = e[s] * e[u] * wj;
        s11 += 2.0 * xh[0][u] * xh[0][s] * ee;
        s12 += (xh[0][u] * xh[1][s] + xh[1][u] * xh[0][s]) * ee;
        s22 += 2.0 * xh[1][u] * xh[1][s] * ee;
      }
    }
    const double f = kN / (kN - 2.0);
    // V S V for 2 × 2 symmetric matrices.
    const double q11 = v11 * s11 + v12 * s12, q12 = v11 * s12 + v12 * s22;
    const double q21 = v12 * s11 + v22 * s12, q22 = v12 * s12 + v22 * s22;
    const std::array<double, 3> expected = {f * (q11 * v11 + q12 * v12), f * (q21 * v11 + q22 * v12),
                                            f * (q21 * v12 + q22 * v22)};
    const auto a = estimate_adjusted_variance(m == 0 ? 2 : 4, m);
    ASSERT_EQ(a.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(a[i], expected[i], 1e-12 * std::fabs(expected[0])) << m << " " << i;
  }
}

}  // namespace
