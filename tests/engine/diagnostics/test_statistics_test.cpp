// The statistics the Hypothesis Testing Menu computes itself: the ARCH test, the CUSUM and
// CUSUMSQ series, and the transformed residuals prepared for the tests.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/diagnostics/arch_test.h"
#include "engine/diagnostics/cusum_plots.h"
#include "engine/diagnostics/post_regression.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "shared/plot_file.h"
#include "shared/temp_files.h"
#include "tests/engine/diagnostics/estimate_fixture.h"
#include "tests/engine/diagnostics/post_regression_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/scratch_folder.h"

using namespace qorv;
namespace small = qorv::testing::small;
namespace macro = qorv::testing::macro;

namespace {

/// One reference value with its tolerance.
struct Reference {
  double value = 0.0;
  double tolerance = 0.0;
  bool relative = false;
};

/// The rows of a reference file for `case_name`, by quantity.
std::map<std::string, Reference> reference_rows(const std::string& file, const std::string& case_name) {
  std::ifstream in(std::string(ZV_REFERENCE_DIR) + "/" + file);
  std::map<std::string, Reference> out;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::stringstream fields(line);
    for (std::string piece; std::getline(fields, piece, ',');) f.push_back(piece);
    if (f.size() < 5 || f[0] != case_name || f[2] == "NA") continue;
    out[f[1]] = {std::stod(f[2]), std::stod(f[3]), f[4] == "rel"};
  }
  return out;
}

/// Observation number (from 1960Q1 = 1) of a quarterly label "YYYYQq".
int quarter_index(const std::string& label) {
  return (std::stoi(label.substr(0, 4)) - 1960) * 4 + std::stoi(label.substr(5));
}

void expect_agrees(double x, const Reference& r, const std::string& what) {
  const double bound = r.relative ? r.tolerance * std::fabs(r.value) : r.tolerance;
  EXPECT_NEAR(x, r.value, bound) << what;
}

TEST(ArchTest, HandComputedOrderOne) {
  // e² = 1 4 1 9 1 4 4 1: e²(t) on 1 and e²(t-1) over t = 2..8. By hand (exact fractions):
  // b0 = 164/29, b1 = -113/174, R² = 12769/30276, LM = 7 R², F = 5 R²/(1 - R²).
  const std::vector<double> e = {1, -2, 1, 3, -1, 2, -2, 1};
  const diagnostics::ArchTest r = diagnostics::ARCHTEST(e, 1);
  ASSERT_EQ(r.fail, 0);
  EXPECT_EQ(r.n, 7);
  EXPECT_EQ(r.df, 5);
  EXPECT_NEAR(r.coef[0], 164.0 / 29.0, 1e-13);
  EXPECT_NEAR(r.coef[1], -113.0 / 174.0, 1e-13);
  EXPECT_NEAR(r.r2, 12769.0 / 30276.0, 1e-13);
  EXPECT_NEAR(r.lm, 2.9522724270048886, 1e-12);
  EXPECT_NEAR(r.f, 3.6468269834923173, 1e-12);
  EXPECT_NEAR(r.se[1], 0.3400725793539252, 1e-12);
  EXPECT_NEAR(r.se[0], 1.4767587779686873, 1e-12);
}

TEST(ArchTest, ConstantSquaresAndTooHighAnOrderGiveNoStatistic) {
  const std::vector<double> alternating = {1, -1, 1, -1, 1, -1, 1};
  const diagnostics::ArchTest flat = diagnostics::ARCHTEST(alternating, 1);  // e² = 1 throughout: singular
  EXPECT_EQ(flat.lm, limits::kMissing);
  EXPECT_EQ(flat.f, limits::kMissing);
  const diagnostics::ArchTest high = diagnostics::ARCHTEST(alternating, 3);  // n - 2p - 1 = 0
  EXPECT_EQ(high.fail, 1);
  EXPECT_EQ(high.lm, limits::kMissing);
}

// Residuals of 1e100 square to 1e200, whose squares overflow: no statistic, and none of the
// infinities the cross products would hold.
TEST(ArchTest, SquaredResidualsTooLargeToSquareGiveNoStatistic) {
  const std::vector<double> e = {1, -2, 1e100, 3, -1, 2, -2, 1};
  const diagnostics::ArchTest r = diagnostics::ARCHTEST(e, 1);
  EXPECT_EQ(r.fail, 1);
  EXPECT_EQ(r.lm, limits::kMissing);
  EXPECT_EQ(r.f, limits::kMissing);
}

class ArchPage : public qorv::testing::PostRegressionTest {};

TEST_F(ArchPage, TheTestOfTheTypedOrderIsReported) {
  dialog_script::load(
      "strict\nresults -> close\nmenu 1002 -> 2\nmenu 1019 -> 2\ninteger -> 2\nresults -> close\nmenu 1019 -> 0\n"
      "menu 1002 -> 0\n");
  estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
  diagnostics::POSTREGRESSION();
  const auto shown = pages();
  ASSERT_EQ(shown.size(), 2u);
  const auto& page = shown[1];
  std::vector<double> e(small::kObs);
  for (int t = 1; t <= small::kObs; ++t) e[static_cast<std::size_t>(t - 1)] = single::residual(t);
  const diagnostics::ArchTest r = diagnostics::ARCHTEST(e, 2);
  const auto has = [&](const std::string& text) { return dialog_script::page_has(page, text); };
  EXPECT_TRUE(has("Autoregressive Conditional Heteroscedasticity Test of Residuals (OLS Case)"));
  EXPECT_TRUE(has(" Based on  OLS regression of Y on:"));
  EXPECT_TRUE(has(" 10 observations used from 1990Q3 to 1992Q4"));
  EXPECT_TRUE(has(" OLS RES^2(-2)"));
  EXPECT_TRUE(has(" Lagrange Multiplier Statistic    CHSQ(   2)="));
  EXPECT_TRUE(has(" F Statistic                   F(  2,   7)="));
  EXPECT_EQ(r.df, 7);
}

TEST(Cusum, RecursiveResidualsOfTheReferenceGiveItsPlots) {
  // The reference recursive residuals of LC on INPT LY INFL R (n = 196, k = 4, m = 5) and
  // the regression's standard error give the CUSUM and CUSUMSQ series and bounds.
  const auto rec = reference_rows("single-extra/expected.csv", "REC_S");
  const auto cus = reference_rows("single-extra/expected.csv", "CUSUM_S");
  const auto ols = reference_rows("ols-macro/expected.csv", "S");
  const int n = 196, m = 5;
  std::vector<double> w(n, limits::kMissing);
  for (const auto& [name, r] : rec)
    if (name.starts_with("REC_RESID:")) w[static_cast<std::size_t>(quarter_index(name.substr(10)) - 1)] = r.value;
  const diagnostics::CusumSeries sum = diagnostics::cusum(w, m, ols.at("SE_REG").value);
  const diagnostics::CusumSeries squares = diagnostics::cusum_of_squares(w, m);
  ASSERT_EQ(sum.statistic.size(), static_cast<std::size_t>(n));
  ASSERT_EQ(squares.statistic.size(), static_cast<std::size_t>(n));
  int checked = 0;
  for (const auto& [name, r] : cus) {
    const auto colon = name.find(':');
    if (colon == std::string::npos || name.ends_with("_MK") || name.find("_MK:") != std::string::npos) continue;
    const std::string what = name.substr(0, colon);
    const auto i = static_cast<std::size_t>(quarter_index(name.substr(colon + 1)) - 1);
    if (what == "CUSUM") expect_agrees(sum.statistic[i], r, name);
    else if (what == "CUSUM_BOUND") {
      expect_agrees(sum.upper[i], r, name);
      expect_agrees(-sum.lower[i], r, name);
    } else if (what == "CUSUMSQ") expect_agrees(squares.statistic[i], r, name);
    else if (what == "CUSUMSQ_UPPER") expect_agrees(squares.upper[i], r, name);
    else if (what == "CUSUMSQ_LOWER") expect_agrees(squares.lower[i], r, name);
    else continue;
    ++checked;
  }
  EXPECT_EQ(checked, 191 + 192 + 191 + 192 + 192);
  // Nothing before the first recursive residual; the bounds start one observation earlier.
  for (int t = 1; t < m; ++t) {
    EXPECT_EQ(sum.upper[static_cast<std::size_t>(t - 1)], limits::kMissing);
    EXPECT_EQ(squares.lower[static_cast<std::size_t>(t - 1)], limits::kMissing);
  }
  EXPECT_EQ(sum.statistic[static_cast<std::size_t>(m - 1)], limits::kMissing);
  EXPECT_TRUE(diagnostics::cusum(w, m, 0.0).statistic.empty());
  EXPECT_TRUE(diagnostics::cusum_of_squares(w, n).statistic.empty());
}

class CusumPlots : public qorv::testing::EstimateTest {};

TEST_F(CusumPlots, OptionFourDrawsBothPlotsAtTheReferenceValues) {
  const zv_test::ScratchFolder folder("zv-cusum");
  core::set_char_setting(charset::kTempFolder, folder.string() + "/");
  estimate_ols({macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR}, 1, 196);
  dialog_script::load(
      "strict\nresults -> close\nmenu 1002 -> 2\nmenu 1019 -> 4\nmenu 1019 -> 0\nmenu 1002 -> 0\n");
  diagnostics::POSTREGRESSION();
  const auto sum = plot_file::read(folder / temp_files::plot_file_name(1));
  const auto squares = plot_file::read(folder / temp_files::plot_file_name(2));
  ASSERT_TRUE(sum && squares);
  EXPECT_EQ(sum->title, "Plot of Cumulative Sum of Recursive Residuals");
  EXPECT_EQ(squares->title, "Plot of Cumulative Sum of Squares of Recursive Residuals");
  EXPECT_EQ(sum->second_title, "The straight lines represent critical bounds at 5% significance level");
  ASSERT_EQ(sum->series.size(), 3u);
  ASSERT_EQ(squares->series.size(), 3u);
  int checked = 0;
  for (const auto& [name, r] : reference_rows("single-extra/expected.csv", "CUSUM_S")) {
    const auto colon = name.find(':');
    if (colon == std::string::npos || name.find("_MK") != std::string::npos) continue;
    const std::string what = name.substr(0, colon);
    const auto i = static_cast<std::size_t>(quarter_index(name.substr(colon + 1)) - 1);
    if (what == "CUSUM") expect_agrees(sum->series[0].values[i], r, name);
    else if (what == "CUSUM_BOUND") expect_agrees(sum->series[1].values[i], r, name);
    else if (what == "CUSUMSQ") expect_agrees(squares->series[0].values[i], r, name);
    else if (what == "CUSUMSQ_LOWER") expect_agrees(squares->series[2].values[i], r, name);
    else continue;
    ++checked;
  }
  EXPECT_EQ(checked, 191 + 192 + 191 + 192);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(sum->series[1].values[i], limits::kMissing);  // before m = 5
}

class Preparation : public qorv::testing::PostRegressionTest {};

TEST_F(Preparation, TransformedResidualsOfAnExactMlArOneEstimate) {
  // With r1 = 0.5 (and r2 = 0): sqrt(0.75)·u(1), u(2) - 0.5·u(1), then u(t) - 0.5·u(t-1).
  estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
  auto& s = single::estimation();
  s.method = single::method::kExactAr1;
  s.arma_lags = {1};
  single::coefficient(s.nregs + 1) = 0.5;
  std::vector<double> u(small::kObs);
  for (int t = 1; t <= small::kObs; ++t) u[static_cast<std::size_t>(t - 1)] = single::residual(t);
  const diagnostics::PostRegressionContext context = diagnostics::prepare_post_regression();
  const auto v = single::series_block(single::block::kTransformedResiduals);
  EXPECT_DOUBLE_EQ(v[0], std::sqrt(0.75) * u[0]);
  EXPECT_DOUBLE_EQ(v[1], u[1] - 0.5 * u[0]);
  double sum = v[0] * v[0] + v[1] * v[1];
  for (int t = 2; t < small::kObs; ++t) {
    EXPECT_DOUBLE_EQ(v[static_cast<std::size_t>(t)], u[static_cast<std::size_t>(t)] - 0.5 * u[static_cast<std::size_t>(t - 1)]);
    sum += v[static_cast<std::size_t>(t)] * v[static_cast<std::size_t>(t)];
  }
  EXPECT_NEAR(context.transformed_rss, sum, 1e-14);
  EXPECT_DOUBLE_EQ(single::fitted(3), single::actual(3) - v[2]);
  // AR(1) with coefficient 0.5: the stationary variance 1/(1 - 0.25).
  ASSERT_EQ(context.ar_inverse_covariance.size(), 1u);
  EXPECT_NEAR(context.ar_inverse_covariance[0], 4.0 / 3.0, 1e-14);
  EXPECT_EQ(context.error_parameters.lags, std::vector<int>{1});
  EXPECT_EQ(context.error_parameters.values, std::vector<double>{0.5});
  EXPECT_FALSE(context.error_parameters.unstable);
}

TEST_F(Preparation, ArErrorsAreTabledAndANonStationaryProcessMarked) {
  for (const double rho : {0.5, 1.5}) {
    SCOPED_TRACE(rho);
    dialog_script::reset();
    dialog_script::load("results -> close\nmenu 1002 -> 0\n");
    estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
    auto& s = single::estimation();
    s.method = single::method::kGaussNewtonAr;
    s.arma_lags = {1};
    single::coefficient(s.nregs + 1) = rho;
    s.variance.resize(6, 0.0);
    s.variance[5] = 0.04;  // Var(rho) = 0.04 sigma²
    const diagnostics::PostRegressionContext context = diagnostics::prepare_post_regression();
    EXPECT_EQ(context.error_parameters.unstable, rho > 1.0);
    ASSERT_EQ(context.error_parameters.std_errors.size(), 1u);
    EXPECT_DOUBLE_EQ(context.error_parameters.std_errors[0], 0.2 * s.sigma);
    diagnostics::POSTREGRESSION();
    EXPECT_NE(dialog_script::transcript_text().find("Parameters of the Autoregressive Error Specification"),
              std::string::npos);
    EXPECT_EQ(dialog_script::transcript_text().find("Diagnostic Tests"), std::string::npos);
  }
}

TEST_F(Preparation, OrdinaryLeastSquaresResidualsStandUnchanged) {
  estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
  const auto& s = single::estimation();
  const std::vector<double> fitted(s.result.begin() + single::block::kFitted,
                                   s.result.begin() + single::block::kFitted + small::kObs);
  const diagnostics::PostRegressionContext context = diagnostics::prepare_post_regression();
  for (int t = 1; t <= small::kObs; ++t) {
    EXPECT_EQ(single::series_block(single::block::kTransformedResiduals)[static_cast<std::size_t>(t - 1)],
              single::residual(t));
    EXPECT_EQ(single::fitted(t), fitted[static_cast<std::size_t>(t - 1)]);
  }
  EXPECT_NEAR(context.transformed_rss, s.rss, 1e-12 * s.rss);
  EXPECT_TRUE(context.error_parameters.lags.empty());
}

}  // namespace
