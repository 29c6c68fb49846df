// The reduced-rank regression of the cointegrating VAR on the reference data: eigenvalues,
// rank statistics, vectors, adjustment and long-run matrices of the eight reference cases,
// their independence of the data's units, and the degenerate shapes.
#include "engine/multi/johansen_core.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <stdexcept>
#include <sstream>
#include <string>
#include <vector>

#include "tests/engine/multi/coint_reference.h"
#include "tests/engine/single/macro_reference.h"

namespace {

using qorv::multi::JohansenData;
using qorv::multi::JohansenFailure;
using qorv::multi::JohansenFit;
using qorv::testing::Expected;

const std::string kFolder = std::string(ZV_REFERENCE_DIR) + "/cointegration/";

using qorv::testing::reference_case;
using Case = qorv::testing::CointCase;

void expect_agrees(double x, const std::map<std::string, Expected>& expected, const std::string& quantity) {
  const auto it = expected.find(quantity);
  ASSERT_NE(it, expected.end()) << quantity;
  EXPECT_TRUE(qorv::testing::agrees(x, it->second)) << quantity << ": " << x << " against " << it->second.value;
}

TEST(JohansenCore, EveryReferenceCase) {
  for (const char* name : {"C1", "C2", "C3", "C4", "C5", "C3D", "C2P1", "C3E"}) {
    SCOPED_TRACE(name);
    const Case c = reference_case(name);
    const auto expected = qorv::testing::read_expected(kFolder + "expected.csv", name, {"definite", "extra"});
    JohansenFit fit;
    ASSERT_EQ(qorv::multi::johansen_estimate(c.data, qorv::multi::kJohansenTolerance, fit), JohansenFailure::kNone);
    const int m = fit.m;
    const int k = fit.k;
    ASSERT_EQ(k, static_cast<int>(c.level_names.size()));
    const double n = c.data.n;
    expect_agrees(fit.ll0, expected, "LL0");
    for (int i = 1; i <= k; ++i) {
      // Beyond m the value is zero in theory and rounding in practice.
      if (i <= m) expect_agrees(fit.eigenvalues[static_cast<std::size_t>(i - 1)], expected, "EIG:" + std::to_string(i));
      else EXPECT_LT(std::fabs(fit.eigenvalues[static_cast<std::size_t>(i - 1)]), 1e-10);
    }
    double trace = 0.0;
    for (int r = m - 1; r >= 0; --r) {
      const double lmax = -n * std::log(1.0 - fit.eigenvalues[static_cast<std::size_t>(r)]);
      trace += lmax;
      expect_agrees(lmax, expected, "LMAX:" + std::to_string(r));
      expect_agrees(trace, expected, "TRACE:" + std::to_string(r));
    }
    const auto uk = static_cast<std::size_t>(k);
    const auto um = static_cast<std::size_t>(m);
    for (int j = 1; j <= m; ++j) {
      const std::size_t col = static_cast<std::size_t>(j - 1);
      const double sign = fit.beta[col * uk] < 0 ? -1.0 : 1.0;  // first element positive
      for (std::size_t r = 0; r < uk; ++r) {
        const std::string tag = c.level_names[r] + ":" + std::to_string(j);
        expect_agrees(sign * fit.beta[r + col * uk], expected, "BETA:" + tag);
        expect_agrees(-fit.beta[r + col * uk] / fit.beta[col * uk], expected, "BETA_NORM:" + tag);
      }
      for (std::size_t r = 0; r < um; ++r)
        expect_agrees(sign * fit.alpha[r + col * um], expected, "ALPHA:" + c.endogenous[r] + ":" + std::to_string(j));
    }
    for (int rank = 1; rank <= m; ++rank)
      for (std::size_t row = 0; row < um; ++row)
        for (std::size_t col = 0; col < uk; ++col) {
          double pi = 0.0;
          for (std::size_t v = 0; v < static_cast<std::size_t>(rank); ++v) pi += fit.alpha[row + v * um] * fit.beta[col + v * uk];
          expect_agrees(pi, expected,
                        "PI:" + std::to_string(rank) + ":" + c.endogenous[row] + ":" + c.level_names[col]);
        }
  }
}

TEST(JohansenCore, EigenvaluesDoNotDependOnTheDatasUnits) {
  JohansenFit base;
  ASSERT_EQ(qorv::multi::johansen_estimate(reference_case("C3").data, 1e-11, base), JohansenFailure::kNone);
  for (double scale : {1e3, 1e-3}) {
    SCOPED_TRACE(scale);
    const Case c = reference_case("C3", scale);
    JohansenFit fit;
    ASSERT_EQ(qorv::multi::johansen_estimate(c.data, 1e-11, fit), JohansenFailure::kNone);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(fit.eigenvalues[i], base.eigenvalues[i], 1e-8);
  }
}

TEST(JohansenCore, DegenerateShapes) {
  // An exogenous series that is the sum of the two endogenous ones (p = 1, so nothing is
  // concentrated out): one direction of the lagged levels has no variance, and its
  // eigenvalue is reported as 0 with a zero vector.
  Case c = reference_case("C1");
  const std::size_t rows = static_cast<std::size_t>(c.data.n + c.data.p);
  c.data.p = 1;
  c.data.m = 2;
  c.data.e = 1;
  std::vector<double> sum_of_two;
  for (int v = 0; v < 2; ++v) sum_of_two.insert(sum_of_two.end(), c.levels.begin() + static_cast<long>(v * rows + 1),
                                                  c.levels.begin() + static_cast<long>((v + 1) * rows));
  for (std::size_t t = 0; t + 1 < rows; ++t) sum_of_two.push_back(sum_of_two[t] + sum_of_two[rows - 1 + t]);
  c.data.levels = sum_of_two;
  JohansenFit fit;
  ASSERT_EQ(qorv::multi::johansen_estimate(c.data, 1e-11, fit), JohansenFailure::kNone);
  ASSERT_EQ(fit.k, 3);
  EXPECT_EQ(fit.eigenvalues[2], 0.0);
  EXPECT_GT(fit.eigenvalues[1], 0.0);
  for (std::size_t r = 0; r < 3; ++r) EXPECT_EQ(fit.beta[r + 6], 0.0);

  // One variable: the solver is bypassed, λ = S10·S00⁻¹·S01 / S11.
  Case one = reference_case("C1");
  one.data.m = 1;
  JohansenFit single;
  ASSERT_EQ(qorv::multi::johansen_estimate(one.data, 1e-11, single), JohansenFailure::kNone);
  const double s01 = single.s01[0];
  EXPECT_NEAR(single.eigenvalues[0], s01 * s01 / (single.s00[0] * single.s11[0]), 1e-14);
  EXPECT_NEAR(single.beta[0] * single.beta[0] * single.s11[0], 1.0, 1e-12);

  // A constant difference makes R0'R0 singular once the intercept is concentrated out.
  Case flat = reference_case("C3");
  for (std::size_t t = 0; t < rows; ++t) flat.levels[t] = 0.5 * static_cast<double>(t);
  flat.data.levels = flat.levels;
  EXPECT_EQ(qorv::multi::johansen_estimate(flat.data, 1e-11, fit), JohansenFailure::kSingular);
}

}  // namespace
