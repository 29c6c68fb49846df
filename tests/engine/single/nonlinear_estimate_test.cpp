// The non-linear estimator through the estimation state: every figure of the reference
// runs' pages (coefficients, fit and statistics blocks, diagnostics A-D), failures that
// leave the parameters' values as they were, and the formula's place on the page.
#include "engine/single/nonlinear_estimate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/diagnostics/diagnostic_tests.h"
#include "engine/single/estimation_state.h"
#include "engine/single/result_report.h"
#include "tests/engine/single/macro_reference.h"
#include "tests/engine/single/nls_reference.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv;
using namespace qorv::single;
using qorv::testing::agrees;

class NonLinearEstimate : public qorv::testing::EngineTest {
 protected:
  /// Installs the case's data as the workspace and its formula as the session's equation.
  void install(const qorv::testing::NlsCase& c) {
    auto& g = core::globals();
    g.nobs = c.n;
    g.nvars = static_cast<int>(c.variables.size());
    g.frequency = c.periods_per_year;
    g.periods_per_year = c.periods_per_year;
    g.max_vars = limits::max_vars_for(g.nobs);
    for (int v = 1; v <= g.nvars; ++v) {
      core::set_variable(v, c.variables[static_cast<std::size_t>(v - 1)], "");
      for (int t = 1; t <= c.n; ++t)
        core::data_at(t, v) = c.data[static_cast<std::size_t>((v - 1) * c.n + t - 1)];
    }
    g.sample_start = 1;
    g.sample_end = c.n;
    NonLinearFormula formula;
    ASSERT_EQ(read_nonlinear_formula(c.formula, core::variable_names(), formula), NonLinearFormulaStatus::kOk);
    set_nonlinear_equation(c.formula, formula);
    nonlinear_equation().values = c.start;
  }

  /// Estimates the installed equation by method 14 without dialogues.
  void estimate() {
    estimation().eqvarlist = {nonlinear_equation().formula.dependent};
    begin_estimate(method::kNls);
    ASSERT_TRUE(load_sample());
    estimate_nonlinear(false);
  }
};

TEST_F(NonLinearEstimate, ConvergingRunsGiveEveryFigureOfTheirPage) {
  for (const auto& c : qorv::testing::nls_cases()) {
    if (c.name == "MGH10_S1" || c.name == "BOXBOD_S1") continue;
    SCOPED_TRACE(c.name);
    install(c);
    estimate();
    const auto& s = estimation();
    ASSERT_EQ(s.status, status::kEstimated);
    const auto e = qorv::testing::reference_expected("nls", c.name);
    const int m = s.nregs;
    EXPECT_EQ(m, static_cast<int>(e.at("M").value));
    for (int i = 1; i <= m; ++i) {
      const std::string& name = s.eqvarnames[static_cast<std::size_t>(i)];
      const double se = std::sqrt(coefficient_variance(i, i));
      EXPECT_PRED2(agrees, coefficient(i), e.at("coef:" + name)) << name;
      EXPECT_PRED2(agrees, se, e.at("se:" + name)) << name;
      EXPECT_PRED2(agrees, coefficient(i) / se, e.at("t:" + name)) << name;
      // The estimates are the next run's start.
      EXPECT_EQ(nonlinear_equation().values[static_cast<std::size_t>(i - 1)], coefficient(i));
    }
    const FitStatistics fit = FITSTATS(s.method, series_block(block::kResiduals), m, 0, s.depvar,
                                       limits::kMissing, false, 0);
    const diagnostics::DiagnosticStatistics d = diagnostics::diagnostic_statistics();
    EXPECT_EQ(d.order, static_cast<int>(e.at("A_ORDER").value));
    const std::pair<const char*, double> figures[] = {
        {"R2", fit.r2}, {"RBAR2", fit.rbar2}, {"SE_REG", fit.sigma}, {"F", fit.f}, {"DW", fit.dw},
        {"RSS", s.rss}, {"SE_REG", s.sigma}, {"LL", s.loglik}, {"AIC", s.loglik - m},
        {"SBC", s.loglik - 0.5 * m * std::log(s.nused)}, {"MEAN_Y", s.depmean}, {"SD_Y", std::sqrt(s.depvar)},
        {"A_LM", d.serial_lm}, {"A_F", d.serial_f}, {"B_LM", d.reset_lm}, {"B_F", d.reset_f},
        {"C_LM", d.normality_lm}, {"D_LM", d.hetero_lm}, {"D_F", d.hetero_f}};
    for (const auto& [quantity, value] : figures) EXPECT_PRED2(agrees, value, e.at(quantity)) << quantity;
  }
}

TEST_F(NonLinearEstimate, FailingRunsKeepTheStartingValues) {
  for (const auto& c : qorv::testing::nls_cases()) {
    if (c.name != "MGH10_S1" && c.name != "BOXBOD_S1") continue;
    SCOPED_TRACE(c.name);
    install(c);
    estimate();
    EXPECT_EQ(estimation().status, status::kFailed);
    EXPECT_EQ(nonlinear_equation().values, c.start);
  }
}

}  // namespace
