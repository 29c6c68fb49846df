// The error-correction equations of the reference cases with their Johansen vectors: the
// coefficients, the error covariance matrix, the levels form, the responses of the variables
// and of the cointegrating relations, the decompositions and the persistence profiles; and
// the forecasts that iterate the error-correction form.
#include "engine/multi/ecm_equations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/core/num/packed_index.h"
#include "tests/engine/multi/coint_reference.h"
#include "tests/engine/single/macro_reference.h"

namespace {

using qorv::multi::EcmFit;
using qorv::testing::CointCase;
using qorv::testing::Expected;

constexpr int kHorizon = 12;

std::vector<std::string> split(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string piece; std::getline(in, piece, ':');) out.push_back(piece);
  return out;
}

/// The first r Johansen vectors with the reference's sign rule (first element positive).
std::vector<double> johansen_vectors(const CointCase& c) {
  qorv::multi::JohansenFit fit;
  if (qorv::multi::johansen_estimate(c.data, qorv::multi::kJohansenTolerance, fit) != qorv::multi::JohansenFailure::kNone)
    throw std::runtime_error("the estimation failed");
  const auto k = static_cast<std::size_t>(fit.k);
  std::vector<double> beta(fit.beta.begin(), fit.beta.begin() + static_cast<long>(k * static_cast<std::size_t>(c.r)));
  for (std::size_t i = 0; i < static_cast<std::size_t>(c.r); ++i)
    if (beta[i * k] < 0)
      for (std::size_t l = 0; l < k; ++l) beta[i * k + l] = -beta[i * k + l];
  return beta;
}

/// The reference names of the regressors, in their order.
std::vector<std::string> regressor_names(const CointCase& c) {
  std::vector<std::string> names;
  if (c.data.model_case >= 3) names.push_back("Intercept");
  if (c.data.model_case == 5) names.push_back("Trend");
  std::vector<std::string> i1 = c.endogenous;
  i1.insert(i1.end(), c.exogenous.begin(), c.exogenous.end());
  for (int j = 1; j < c.data.p; ++j)
    for (const std::string& v : i1) names.push_back("d" + v + std::to_string(j));
  for (int i = 1; i <= c.r; ++i) names.push_back("ecm" + std::to_string(i) + "(-1)");
  names.insert(names.end(), c.stationary_names.begin(), c.stationary_names.end());
  return names;
}

int position(const std::vector<std::string>& names, const std::string& name) {
  const auto it = std::find(names.begin(), names.end(), name);
  if (it == names.end()) throw std::runtime_error(name + " is not a name of this case");
  return static_cast<int>(it - names.begin()) + 1;
}

/// The value of table (H + 1 rows) at column `column` (from 1) and horizon h.
double cell(const std::vector<double>& table, int column, int h) {
  return table.at(static_cast<std::size_t>((column - 1) * (kHorizon + 1) + h));
}

double table_value(const EcmFit& fit, int kind, int shock, int column, int h) {
  std::vector<double> table;
  if (!qorv::multi::cvar_dynamic_response(fit, kind, shock, kHorizon, table)) throw std::runtime_error("no table");
  return cell(table, column, h);
}

TEST(EcmEquations, EveryReferenceCase) {
  for (const char* name : {"C1", "C2", "C3", "C4", "C5", "C3D", "C2P1", "C3E"}) {
    SCOPED_TRACE(name);
    const CointCase c = qorv::testing::reference_case(name);
    const std::vector<double> beta = johansen_vectors(c);
    EcmFit fit;
    ASSERT_TRUE(qorv::multi::fit_ecm(c.data, c.r, beta, fit));
    const std::vector<std::string> regressors = regressor_names(c);
    const auto expected =
        qorv::testing::read_expected(qorv::testing::coint_reference_folder() + "expected.csv", name, {"definite", "favoured"});
    const int m = c.data.m;
    const int n = c.data.n;
    int checked = 0;
    for (const auto& [quantity, value] : expected) {
      const std::vector<std::string> f = split(quantity);
      const std::string& q = f[0];
      double x = 0.0;
      if (q == "ECM_coef") {
        x = fit.coefficient(position(regressors, f[2]) - 1, position(c.endogenous, f[1].substr(1)));
      } else if (q == "ECM_RSS" || q == "ECM_SE_REG") {
        const int i = position(c.endogenous, f[1].substr(1));
        double rss = 0.0;
        for (int t = 0; t < n; ++t) rss += std::pow(fit.residuals[static_cast<std::size_t>((i - 1) * n + t)], 2);
        x = q == "ECM_RSS" ? rss : std::sqrt(rss / (n - fit.shape.regressors()));
      } else if (q == "RANK_LL" && std::stoi(f[1]) == c.r) {
        x = fit.loglik;
      } else if (q == "K_EQ") {
        x = fit.shape.regressors();
      } else if (q == "SIGMA") {
        x = fit.sigma[static_cast<std::size_t>(
            qorv::core::PACKEDINDEX(position(c.endogenous, f[1]), position(c.endogenous, f[2])) - 1)];
      } else if (q == "A") {
        const qorv::multi::LagMatrices lags = qorv::multi::ecm_levels(fit);
        const int row = position(c.endogenous, f[2]);
        const int col = position(c.endogenous, f[3]);
        x = lags.a.at(static_cast<std::size_t>(((std::stoi(f[1]) - 1) * m + col - 1) * m + row - 1));
      } else if (q == "OIR" || q == "GIR") {  // shock, variable, horizon
        x = table_value(fit, q == "OIR" ? 1 : 2, position(c.endogenous, f[1]), position(c.endogenous, f[2]), std::stoi(f[3]));
      } else if (q == "OFEVD" || q == "GFEVD") {  // variable, shock, horizon
        x = table_value(fit, q == "OFEVD" ? 3 : 4, position(c.endogenous, f[1]), position(c.endogenous, f[2]),
                        std::stoi(f[3]));
      } else if (q == "OCV" || q == "GCV") {  // shock, relation, horizon
        x = table_value(fit, q == "OCV" ? 5 : 6, position(c.endogenous, f[1]), std::stoi(f[2].substr(2)), std::stoi(f[3]));
      } else if (q == "PROFILE") {
        x = table_value(fit, 7, 1, std::stoi(f[1].substr(2)), std::stoi(f[2]));
      } else {
        continue;  // the estimation's own quantities and the statistics of the page
      }
      ++checked;
      EXPECT_TRUE(qorv::testing::agrees(x, value)) << quantity << ": " << x << " against " << value.value;
    }
    EXPECT_GT(checked, 0);
  }
}

TEST(EcmEquations, ProfileOfTheFirstRelationAtTwelve) {
  // The value the corrected levels form gives; the form as first written gave 1.278.
  const CointCase c = qorv::testing::reference_case("C3");
  EcmFit fit;
  ASSERT_TRUE(qorv::multi::fit_ecm(c.data, c.r, johansen_vectors(c), fit));
  EXPECT_NEAR(table_value(fit, 7, 1, 1, 12), 0.059021403904336703, 1e-9);
}

TEST(EcmEquations, RefusesWhatItCannotCompute) {
  const CointCase c = qorv::testing::reference_case("C3");
  EcmFit fit;
  ASSERT_TRUE(qorv::multi::fit_ecm(c.data, c.r, johansen_vectors(c), fit));
  std::vector<double> table;
  EXPECT_THROW(qorv::multi::cvar_dynamic_response(fit, 1, 1, -1, table), std::invalid_argument);
  EXPECT_THROW(qorv::multi::cvar_dynamic_response(fit, 8, 1, 5, table), std::invalid_argument);
  EXPECT_THROW(qorv::multi::cvar_dynamic_response(fit, 5, 4, 5, table), std::invalid_argument);
  EXPECT_TRUE(qorv::multi::cvar_dynamic_response(fit, 7, 0, 0, table));  // the profiles take no shock

  // A vector of the wrong length, and two identical vectors (collinear ECM terms).
  const std::vector<double> short_beta(5, 1.0);
  EXPECT_THROW(qorv::multi::fit_ecm(c.data, 2, short_beta, fit), std::invalid_argument);
  std::vector<double> twice = johansen_vectors(c);
  std::copy_n(twice.begin(), 3, twice.begin() + 3);
  EXPECT_FALSE(qorv::multi::fit_ecm(c.data, 2, twice, fit));
}

/// The levels block of a case extended by h rows (the endogenous values there are not
/// known to a forecast: they are set to the missing code), and its I(0) block likewise
/// taken from the rows after the sample.
struct Extended {
  std::vector<double> levels, stationary;
};

Extended extend(const CointCase& c, int h, double missing) {
  const int rows = c.data.n + c.data.p;
  Extended x;
  const int columns = c.data.m + c.data.e;
  for (int l = 0; l < columns; ++l) {
    x.levels.insert(x.levels.end(), c.levels.begin() + l * rows, c.levels.begin() + (l + 1) * rows);
    x.levels.insert(x.levels.end(), static_cast<std::size_t>(h), missing);
  }
  for (int v = 0; v < c.data.d; ++v) {
    x.stationary.insert(x.stationary.end(), c.stationary.begin() + v * c.data.n, c.stationary.begin() + (v + 1) * c.data.n);
    x.stationary.insert(x.stationary.end(), static_cast<std::size_t>(h), 0.5);
  }
  return x;
}

TEST(EcmEquations, ForecastsIterateTheErrorCorrectionForm) {
  constexpr double kMissing = 8934567.0;
  constexpr int h = 8;
  const CointCase c = qorv::testing::reference_case("C3");
  EcmFit fit;
  ASSERT_TRUE(qorv::multi::fit_ecm(c.data, c.r, johansen_vectors(c), fit));
  const Extended x = extend(c, h, kMissing);
  std::vector<double> predictions;
  qorv::multi::EcmForecastGap gap;
  ASSERT_TRUE(qorv::multi::ecm_forecasts(fit, x.levels, x.stationary, h, kMissing, predictions, gap));
  const int n = c.data.n;
  const int p = c.data.p;
  const int rows = n + p;
  // In the sample: the previous level plus the fitted difference of the equation.
  for (int i = 0; i < 3; ++i)
    for (int t : {1, 2, 100, n}) {
      const double previous = c.levels[static_cast<std::size_t>(i * rows + p + t - 2)];
      EXPECT_NEAR(predictions[static_cast<std::size_t>(i * (n + h) + t - 1)],
                  previous + fit.fitted[static_cast<std::size_t>(i * n + t - 1)], 1e-12);
    }
  // After it, the same path as the levels form y_t = c + A_1 y_{t−1} + A_2 y_{t−2}, with c
  // the intercepts of the equations: a second route to the same numbers.
  const qorv::multi::LagMatrices A = qorv::multi::ecm_levels(fit);
  std::vector<std::vector<double>> path;
  for (int t = n - 1; t <= n; ++t) {
    std::vector<double> y;
    for (int i = 0; i < 3; ++i) y.push_back(c.levels[static_cast<std::size_t>(i * rows + p + t - 1)]);
    path.push_back(y);
  }
  for (int s = 1; s <= h; ++s) {
    std::vector<double> y(3);
    for (int i = 0; i < 3; ++i) {
      y[static_cast<std::size_t>(i)] = fit.coefficient(0, i + 1);
      for (int lag = 1; lag <= 2; ++lag)
        for (int j = 0; j < 3; ++j)
          y[static_cast<std::size_t>(i)] += A.a[static_cast<std::size_t>(((lag - 1) * 3 + j) * 3 + i)] *
                                            path[path.size() - static_cast<std::size_t>(lag)][static_cast<std::size_t>(j)];
    }
    path.push_back(y);
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(predictions[static_cast<std::size_t>(i * (n + h) + n + s - 1)], y[static_cast<std::size_t>(i)], 1e-9);
  }
}

TEST(EcmEquations, ForecastsRefuseAMissingValue) {
  constexpr double kMissing = 8934567.0;
  constexpr int h = 4;
  const CointCase c = qorv::testing::reference_case("C3D");
  EcmFit fit;
  ASSERT_TRUE(qorv::multi::fit_ecm(c.data, c.r, johansen_vectors(c), fit));
  Extended x = extend(c, h, kMissing);
  x.stationary[static_cast<std::size_t>(c.data.n + 2)] = kMissing;  // INFL at the third forecast
  std::vector<double> predictions;
  qorv::multi::EcmForecastGap gap;
  EXPECT_FALSE(qorv::multi::ecm_forecasts(fit, x.levels, x.stationary, h, kMissing, predictions, gap));
  EXPECT_EQ(gap.column, 1);
  EXPECT_EQ(gap.observation, c.data.n + 3);

  const CointCase ce = qorv::testing::reference_case("C3E");
  ASSERT_TRUE(qorv::multi::fit_ecm(ce.data, ce.r, johansen_vectors(ce), fit));
  x = extend(ce, h, kMissing);
  EXPECT_FALSE(qorv::multi::ecm_forecasts(fit, x.levels, x.stationary, h, kMissing, predictions, gap));
  EXPECT_EQ(gap.column, 1);  // LY, the exogenous I(1) variable, is unknown after the sample
  EXPECT_EQ(gap.observation, ce.data.n + 1);
}

}  // namespace
