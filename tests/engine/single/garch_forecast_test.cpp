// The GARCH family's variance equation run forward after the sample: the three forms by
// hand over three steps, and every bound that leaves the variance undefined.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "engine/single/garch_forecast.h"
#include "shared/exchange_slots.h"

using namespace qorv::single;

namespace {

GarchModel model_of(VarianceForm form, std::vector<int> ar, std::vector<int> ma, int variables = 0) {
  GarchModel m;
  m.form = form;
  m.ar_lags = std::move(ar);
  m.ma_lags = std::move(ma);
  m.regressors = 1;
  m.variance_variables = variables;
  return m;
}

TEST(GarchForecast, ThreeStepsOfEachFormByHand) {
  // One regression coefficient (not read) first in every parameter vector.
  struct Case {
    const char* name;
    GarchModel model;
    std::vector<double> theta;
    GarchHistory history;  ///< e, s at T − 1 and T
    std::vector<double> sd;
  };
  const double log4 = std::log(4.0);
  const double abs_mean = std::sqrt(2.0 / std::numbers::pi);
  // EGARCH(1,1), c = −0.1, a = −0.05, b = 0.2, g = 0.9, e(T) = −1, h(T) = 2, z = −0.5:
  // L1 = −0.1 + 0.025 + 0.2(0.5 − E|z|) + 0.9 ln 4 ≈ 1.11309; after it the standardised
  // terms are 0: L2 = −0.1 + 0.9 L1 ≈ 0.90178, L3 = −0.1 + 0.9 L2 ≈ 0.71160; h = sqrt(exp L).
  const double l1 = -0.1 + 0.025 + 0.2 * (0.5 - abs_mean) + 0.9 * log4;
  const double l2 = -0.1 + 0.9 * l1, l3 = -0.1 + 0.9 * l2;
  const Case cases[] = {
      // GARCH(1,1), c = 0.1, a = 0.2, g = 0.7, e(T) = 0.5, h(T) = 1:
      // h1² = 0.1 + 0.2·0.25 + 0.7·1 = 0.85; then e² = h²: h2² = 0.1 + 0.9·0.85 = 0.865,
      // h3² = 0.1 + 0.9·0.865 = 0.8785.
      {"plain", model_of(VarianceForm::kPlain, {1}, {1}), {9.0, 0.1, 0.2, 0.7}, {{0.3, 0.5}, {0.8, 1.0}},
       {std::sqrt(0.85), std::sqrt(0.865), std::sqrt(0.8785)}},
      // AGARCH(1,1), c = 0.2, a = 0.1, g = 0.8, e(T) = −0.5, h(T) = 1: h1 = 0.2 + 0.05 + 0.8
      // = 1.05; |e| = h after it: h2 = 0.2 + 0.9·1.05 = 1.145, h3 = 0.2 + 0.9·1.145 = 1.2305.
      {"absolute", model_of(VarianceForm::kAbsolute, {1}, {1}), {9.0, 0.2, 0.1, 0.8}, {{0.3, -0.5}, {0.8, 1.0}},
       {1.05, 1.145, 1.2305}},
      {"exponential", model_of(VarianceForm::kExponential, {1}, {1}), {9.0, -0.1, -0.05, 0.2, 0.9},
       {{0.3, -1.0}, {0.8, 2.0}}, {std::sqrt(std::exp(l1)), std::sqrt(std::exp(l2)), std::sqrt(std::exp(l3))}},
      // ARCH at lag 2 only, c = 0.1, a = 0.5, e(T − 1) = 0.4, e(T) = 0.6: h1² = 0.1 + 0.5·0.16
      // = 0.18, h2² = 0.1 + 0.5·0.36 = 0.28, h3² = 0.1 + 0.5·h1² = 0.19.
      {"restricted ARCH(2)", model_of(VarianceForm::kPlain, {}, {2}), {9.0, 0.1, 0.5}, {{0.4, 0.6}, {0.8, 1.0}},
       {std::sqrt(0.18), std::sqrt(0.28), std::sqrt(0.19)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const GarchVarianceForecast f = garch_forecast_sd(c.model, c.theta, c.history, {}, 3);
    ASSERT_TRUE(f.defined);
    ASSERT_EQ(f.sd.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(f.sd[i], c.sd[i], 1e-13) << i;
  }
}

TEST(GarchForecast, VarianceVariablesAndStudentErrors) {
  // ARCH(1) with one variance variable, c = 0.1, a = 0.5, δ = 0.2, z = 1, 2, e(T) = 1:
  // h1² = 0.1 + 0.5 + 0.2 = 0.8, h2² = 0.1 + 0.4 + 0.4 = 0.9.
  const GarchVarianceForecast f =
      garch_forecast_sd(model_of(VarianceForm::kPlain, {}, {1}, 1), std::vector<double>{9.0, 0.1, 0.5, 0.2},
                        {{1.0}, {1.0}}, {{1.0, 2.0}}, 2);
  ASSERT_TRUE(f.defined);
  EXPECT_NEAR(f.sd[0], std::sqrt(0.8), 1e-14);
  EXPECT_NEAR(f.sd[1], std::sqrt(0.9), 1e-14);

  // EGARCH(0;1) with t errors of 5 degrees of freedom: E|z| = sqrt(3)·Γ(2)/(sqrt(π)·Γ(2.5))
  // = sqrt(3)/(sqrt(π)·0.75·sqrt(π)) = 4 sqrt(3)/(3π). c = 0, a = 0, b = 1, e = 2, h = 1:
  // L1 = 2 − E|z|.
  GarchModel egarch = model_of(VarianceForm::kExponential, {}, {1});
  egarch.student_t = true;
  const GarchVarianceForecast t =
      garch_forecast_sd(egarch, std::vector<double>{9.0, 0.0, 0.0, 1.0, 5.0}, {{2.0}, {1.0}}, {}, 1);
  ASSERT_TRUE(t.defined);
  // (E|z| goes through the engine's log-gamma, good to some 1e-11.)
  EXPECT_NEAR(t.sd[0], std::sqrt(std::exp(2.0 - 4.0 * std::sqrt(3.0) / (3.0 * std::numbers::pi))), 1e-10);
}

TEST(GarchForecast, BoundsLeaveTheVarianceUndefined) {
  const GarchModel garch11 = model_of(VarianceForm::kPlain, {1}, {1});
  const GarchModel arch1z = model_of(VarianceForm::kPlain, {}, {1}, 1);
  const GarchModel egarch = model_of(VarianceForm::kExponential, {1}, {1});
  const double missing = limits::kMissing;
  struct Case {
    const char* name;
    GarchModel model;
    std::vector<double> theta;
    GarchHistory history;
    std::vector<std::vector<double>> z;
    bool defined;
  };
  const Case cases[] = {
      {"lagged h below 1e-11", garch11, {9.0, 0.1, 0.2, 0.7}, {{0.5}, {0.5e-11}}, {}, false},
      {"lagged h at 1e-11", garch11, {9.0, 0.1, 0.2, 0.7}, {{0.5}, {1e-11}}, {}, true},
      {"lagged h above the ceiling", garch11, {9.0, 0.1, 0.2, 0.7}, {{0.5}, {1e22}}, {}, false},
      {"negative value", garch11, {9.0, -1.0, 0.2, 0.7}, {{0.5}, {1.0}}, {}, false},
      {"value above the ceiling", garch11, {9.0, 6e21, 0.2, 0.7}, {{0.5}, {1.0}}, {}, false},
      {"variance variable missing at the second step", arch1z, {9.0, 0.1, 0.5, 0.2}, {{1.0}, {1.0}},
       {{1.0, missing}}, false},
      // log h² = 0 + 0 + 0 + 0.9·ln(e^60) = 54 > 50.
      {"log variance above 50", egarch, {9.0, 0.0, 0.0, 0.0, 0.9}, {{0.0}, {std::exp(30.0)}}, {}, false},
      // A variance below 1 has a negative log: defined (log h² = 0.9·ln 0.01 ≈ −4.1).
      {"log variance negative", egarch, {9.0, 0.0, 0.0, 0.0, 0.9}, {{0.0}, {0.1}}, {}, true},
      // log h² = −30: the variance e^−30 ≈ 9.4e−14 is below the floor.
      {"exponential variance below the floor", egarch, {9.0, -30.0, 0.0, 0.0, 0.0}, {{0.0}, {1.0}}, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int steps = c.z.empty() ? 1 : static_cast<int>(c.z.front().size());
    EXPECT_EQ(garch_forecast_sd(c.model, c.theta, c.history, c.z, steps).defined, c.defined);
  }
}

}  // namespace
