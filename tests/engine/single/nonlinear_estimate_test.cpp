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
    EXPECT_PRED2(agrees, fit.r2, e.at("R2"));
    EXPECT_PRED2(agrees, fit.rbar2, e.at("RBAR2"));
    EXPECT_PRED2(agrees, fit.sigma, e.at("SE_REG"));
    EXPECT_PRED2(agrees, fit.f, e.at("F"));
    EXPECT_PRED2(agrees, fit.dw, e.at("DW"));
    EXPECT_PRED2(agrees, s.rss, e.at("RSS"));
    EXPECT_PRED2(agrees, s.sigma, e.at("SE_REG"));
    EXPECT_PRED2(agrees, s.loglik, e.at("LL"));
    EXPECT_PRED2(agrees, s.loglik - m, e.at("AIC"));
    EXPECT_PRED2(agrees, s.loglik - 0.5 * m * std::log(s.nused), e.at("SBC"));
    EXPECT_PRED2(agrees, s.depmean, e.at("MEAN_Y"));
    EXPECT_PRED2(agrees, std::sqrt(s.depvar), e.at("SD_Y"));
    const diagnostics::DiagnosticStatistics d = diagnostics::diagnostic_statistics();
    EXPECT_EQ(d.order, static_cast<int>(e.at("A_ORDER").value));
    EXPECT_PRED2(agrees, d.serial_lm, e.at("A_LM"));
    EXPECT_PRED2(agrees, d.serial_f, e.at("A_F"));
    EXPECT_PRED2(agrees, d.reset_lm, e.at("B_LM"));
    EXPECT_PRED2(agrees, d.reset_f, e.at("B_F"));
    EXPECT_PRED2(agrees, d.normality_lm, e.at("C_LM"));
    EXPECT_PRED2(agrees, d.hetero_lm, e.at("D_LM"));
    EXPECT_PRED2(agrees, d.hetero_f, e.at("D_F"));
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
