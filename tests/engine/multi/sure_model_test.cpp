#include "engine/multi/sure_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "engine/core/num/matrices.h"
#include "engine/diagnostics/restriction_text.h"
#include "engine/multi/restriction_setup.h"
#include "engine/core/workspace.h"
#include "tests/engine/multi/sure_reference.h"

namespace qorv::testing {
namespace {

std::size_t packed(int i, int j) { return static_cast<std::size_t>(core::PACKEDINDEX(i + 1, j + 1) - 1); }

/// The iterations the stopping rule needs on each case (iteration_check.csv).
int reference_iterations(const std::string& case_name) {
  std::ifstream in(std::string(ZV_REFERENCE_DIR) + "/sure/iteration_check.csv");
  for (std::string line; std::getline(in, line);) {
    const auto f = csv_fields(line);
    if (f.size() > 1 && f[0] == case_name) return static_cast<int>(csv_number(f[1]));
  }
  return -1;
}

/// Raises the limit by 20 each time it is reached, as the iteration-limit dialogue does.
void raise_limit(int& limit, bool&, bool&) { limit += 20; }

void expect_fit_agrees(const std::string& case_name, const multi::SureFit& fit) {
  const auto expected = sure_expected(case_name);
  const auto& d = sure_reference_data();
  int checked = 0;
  for (int i = 0; i < fit.layout.m(); ++i) {
    const auto& eq = fit.layout.equations[static_cast<std::size_t>(i)];
    const std::string dep = d.names[static_cast<std::size_t>(eq[0] - 1)];
    for (int j = 0; j < fit.layout.k(i); ++j) {
      const std::string reg = d.names[static_cast<std::size_t>(eq[static_cast<std::size_t>(j + 1)] - 1)];
      const int at = fit.offset(i) + j;
      const double b = fit.b[static_cast<std::size_t>(at)];
      const double se = std::sqrt(fit.variance[packed(at, at)]);
      EXPECT_TRUE(agrees(b, expected.at("coef:" + dep + ":" + reg))) << case_name << " coef " << dep << ":" << reg << " " << b;
      EXPECT_TRUE(agrees(se, expected.at("se:" + dep + ":" + reg))) << case_name << " se " << dep << ":" << reg << " " << se;
      checked += 2;
    }
    for (int j = 0; j < fit.layout.m(); ++j) {
      const std::string other = d.names[static_cast<std::size_t>(fit.layout.equations[static_cast<std::size_t>(j)][0] - 1)];
      const double s = fit.sigma[packed(i, j)];
      EXPECT_TRUE(agrees(s, expected.at("SIGMA:" + dep + ":" + other))) << case_name << " SIGMA " << dep << ":" << other << " " << s;
      ++checked;
    }
  }
  EXPECT_TRUE(agrees(fit.loglik, expected.at("SYSTEM_LL"))) << case_name << " " << fit.loglik;
  EXPECT_GT(checked, 0);
}

// The unrestricted cases: every coefficient, standard error and displayed error
// covariance, the system log-likelihood, and the iterations the stopping rule takes.
TEST(SureModel, UnrestrictedReferenceCases) {
  for (const std::string case_name : {"S2", "S3"}) {
    multi::SureFit fit;
    ASSERT_EQ(multi::fit_sure(sure_reference_data().view(), sure_case_layout(case_name), {}, raise_limit, fit),
              multi::SureStatus::kOk)
        << case_name;
    EXPECT_TRUE(fit.converged);
    EXPECT_EQ(fit.iterations, reference_iterations(case_name)) << case_name;
    expect_fit_agrees(case_name, fit);
  }
  // S2's value coefficient of GE, from its own row.
  multi::SureFit fit;
  multi::fit_sure(sure_reference_data().view(), sure_case_layout("S2"), {}, raise_limit, fit);
  EXPECT_NEAR(fit.b[1], 0.040510693876237291, 5e-8 * 0.040510693876237291);
  EXPECT_NEAR(fit.loglik, -158.30310599966847, 1e-9 * 158.3);
}

/// The restrictions of a reference case, read and partitioned as the dialogue does.
multi::SureRestrictions case_restrictions(const std::string& case_name) {
  const multi::SureLayout layout = sure_case_layout(case_name);
  diagnostics::RestrictionSizes sizes;
  sizes.kind = diagnostics::RestrictionKind::kSure;
  for (int i = 0; i < layout.m(); ++i) sizes.regressors.push_back(layout.k(i));
  const auto parse = diagnostics::parse_restrictions(sure_case_restrictions(case_name), sizes);
  multi::RestrictionPartition partition;
  EXPECT_TRUE(multi::restriction_partition(parse.matrix, parse.constants, parse.k, parse.n, partition));
  multi::SureRestrictions r;
  r.q = parse.k;
  r.R = parse.matrix;
  r.r = parse.constants.empty() ? std::vector<double>(static_cast<std::size_t>(parse.k), 0.0) : parse.constants;
  r.N = partition.null_space;
  return r;
}

// The restricted cases: A2 = B2 spans the equations, so the displayed matrices are the
// maximum-likelihood ones; A2 = A3 binds GE alone and leaves it f = k - 1.
TEST(SureModel, RestrictedReferenceCases) {
  for (const std::string case_name : {"R2X", "R2W"}) {
    multi::SureFit fit;
    ASSERT_EQ(multi::fit_sure(sure_reference_data().view(), sure_case_layout(case_name), case_restrictions(case_name),
                              raise_limit, fit),
              multi::SureStatus::kOk)
        << case_name;
    EXPECT_EQ(fit.iterations, reference_iterations(case_name)) << case_name;
    EXPECT_EQ(fit.blocks.cross, case_name == "R2X");
    EXPECT_EQ(fit.blocks.own, (case_name == "R2X" ? std::vector<int>{0, 0} : std::vector<int>{1, 0}));
    EXPECT_EQ(fit.free_parameters(), 5);
    expect_fit_agrees(case_name, fit);
  }
}

// Restricted least squares on cross products: b0 = R'(RR')^-1 r satisfies the
// restriction, and a dependent pair of restrictions cannot be solved.
TEST(SureModel, LinRestrictSolvesOnTheRestrictedSpace) {
  // Two parameters, A = I, c = (1, 3), restriction b1 + b2 = 2: by hand, minimising
  // |b - c|^2 on the line gives b = (0, 2), and N = (-1, 1)' gives Var = N N'/2.
  multi::SureRestrictions r;
  r.q = 1;
  r.R = {1.0, 1.0};
  r.r = {2.0};
  r.N = {-1.0, 1.0};
  std::vector<double> b, v;
  ASSERT_TRUE(multi::LINRESTRICT(r, 2, std::vector<double>{1.0, 0.0, 1.0}, std::vector<double>{1.0, 3.0}, b, v));
  EXPECT_NEAR(b[0], 0.0, 1e-14);
  EXPECT_NEAR(b[1], 2.0, 1e-14);
  EXPECT_NEAR(v[0], 0.5, 1e-14);   // Var(b1)
  EXPECT_NEAR(v[1], -0.5, 1e-14);  // Cov(b2, b1)
  EXPECT_NEAR(v[2], 0.5, 1e-14);
  r.q = 2;
  r.R = {1.0, 2.0, 1.0, 2.0};
  r.r = {2.0, 4.0};
  r.N = {};
  EXPECT_FALSE(multi::LINRESTRICT(r, 2, std::vector<double>{1.0, 0.0, 1.0}, std::vector<double>{1.0, 3.0}, b, v));
}

// S3 needs 58 iterations: without a raised limit the dialogue decides at 40.
TEST(SureModel, IterationLimitIsAskedAtForty) {
  std::vector<int> asked;
  const auto abandon = [&](int& limit, bool& abandoned, bool&) { asked.push_back(limit); abandoned = true; };
  multi::SureFit fit;
  EXPECT_EQ(multi::fit_sure(sure_reference_data().view(), sure_case_layout("S3"), {}, abandon, fit),
            multi::SureStatus::kAbandoned);
  EXPECT_EQ(asked, std::vector<int>{40});
  const auto print = [](int&, bool&, bool& printed) { printed = true; };
  ASSERT_EQ(multi::fit_sure(sure_reference_data().view(), sure_case_layout("S3"), {}, print, fit),
            multi::SureStatus::kOk);
  EXPECT_FALSE(fit.converged);
  EXPECT_EQ(fit.iterations, 40);
}

// Two equations on the same regressors: the first iteration gives least squares equation
// by equation, and the iteration stops at once. GE's least-squares coefficients are
// Grunfeld's classic -9.956, 0.02655 and 0.1517.
TEST(SureModel, IdenticalRegressorsGiveLeastSquaresAtOnce) {
  const auto& d = sure_reference_data();
  multi::SureLayout layout;
  const std::vector<int> x = {d.number("INPT"), d.number("F_GE"), d.number("C_GE")};
  layout.equations = {{d.number("I_GE"), x[0], x[1], x[2]}, {d.number("I_WH"), x[0], x[1], x[2]}};
  layout.n = d.nobs;
  multi::SureFit fit;
  ASSERT_EQ(multi::fit_sure(d.view(), layout, {}, nullptr, fit), multi::SureStatus::kOk);
  EXPECT_EQ(fit.iterations, 1);
  for (int i = 0; i < 2; ++i) {
    const auto& eq = layout.equations[static_cast<std::size_t>(i)];
    const std::vector<double> y(d.values.begin() + (eq[0] - 1) * d.nobs, d.values.begin() + eq[0] * d.nobs);
    std::vector<double> b(3), fitted(20), work(20), M(6);
    double rss = 0.0;
    int fail = 0;
    core::PACKEDXTXSOLVE(d.values, 0, y, eq, 3, d.nobs, d.nobs, 0, 0, b, fitted, work, rss, M, fail);
    ASSERT_EQ(fail, 0);
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(fit.coefficient(i, j), b[static_cast<std::size_t>(j)], 1e-9 * std::fabs(b[static_cast<std::size_t>(j)]));
  }
  EXPECT_NEAR(fit.b[0], -9.956, 1e-3);
  EXPECT_NEAR(fit.b[1], 0.02655, 1e-5);
  EXPECT_NEAR(fit.b[2], 0.1517, 1e-4);
}

// Forecasts: a regressor that lags a dependent variable of the system takes the actual
// value while the lag lies in the sample, then the forecasts.
TEST(SureModel, LaggedDependentVariablesTakeEarlierForecasts) {
  const auto& d = sure_reference_data();
  const int nobs = d.nobs;
  std::vector<double> values = d.values;
  const auto at = [&](int t, int v) { return values[static_cast<std::size_t>((v - 1) * nobs + t - 1)]; };
  // Variable 14: GE's investment lagged once.
  values.push_back(limits::kMissing);
  for (int t = 1; t < nobs; ++t) values.push_back(at(t, d.number("I_GE")));
  const multi::DataView view{values, nobs};
  multi::SureLayout layout;
  layout.equations = {{d.number("I_GE"), d.number("INPT"), d.number("F_GE"), 14},
                      {d.number("I_WH"), d.number("INPT"), d.number("F_WH"), d.number("C_WH")}};
  layout.first = 2;  // 1936-1950
  layout.n = 15;
  multi::SureFit fit;
  ASSERT_EQ(multi::fit_sure(view, layout, {}, raise_limit, fit), multi::SureStatus::kOk);
  const std::vector<multi::ForecastSource> sources = {{}, {}, {0, 1}, {}, {}, {}};
  const std::vector<double> p = multi::sure_predictions(view, fit, sources, 4);
  ASSERT_EQ(p.size(), 38u);
  const auto ge = [&](int t, double lagged) {
    return fit.b[0] + fit.b[1] * at(t, d.number("F_GE")) + fit.b[2] * lagged;
  };
  EXPECT_NEAR(p[0], ge(2, at(1, d.number("I_GE"))), 1e-9);     // 1936, in the sample
  EXPECT_NEAR(p[15], ge(17, at(16, d.number("I_GE"))), 1e-9);  // 1951: the lag is 1950's actual value
  EXPECT_NEAR(p[16], ge(18, p[15]), 1e-9);                     // 1952: the lag is 1951's forecast
  EXPECT_NEAR(p[18], ge(20, p[17]), 1e-9);
  const double wh = fit.b[3] + fit.b[4] * at(20, d.number("F_WH")) + fit.b[5] * at(20, d.number("C_WH"));
  EXPECT_NEAR(p[19 + 18], wh, 1e-9);
}

// The predetermined variables: distinct regressors in order of first appearance.
TEST(SureModel, PredeterminedVariablesInOrderOfFirstAppearance) {
  multi::SureLayout layout;
  layout.equations = {{10, 1, 3, 4}, {11, 1, 5}, {12, 3, 6, 1}};
  EXPECT_EQ(multi::predetermined_variables(layout), (std::vector<int>{1, 3, 4, 5, 6}));
  EXPECT_EQ(layout.p(), 8);
}

// A collinear set of predetermined variables is refused before any iteration; a
// regressor listed twice in one equation fails the first solution instead.
TEST(SureModel, CollinearRegressorsAreRefused) {
  const auto& d = sure_reference_data();
  // Variable 14: twice the value of GE.
  std::vector<double> values = d.values;
  for (int t = 0; t < d.nobs; ++t) values.push_back(2.0 * d.values[static_cast<std::size_t>((d.number("F_GE") - 1) * d.nobs + t)]);
  const multi::DataView view{values, d.nobs};
  multi::SureLayout layout;
  layout.equations = {{d.number("I_GE"), d.number("INPT"), d.number("F_GE")}, {d.number("I_WH"), d.number("INPT"), 14}};
  layout.n = d.nobs;
  multi::SureFit fit;
  EXPECT_EQ(multi::fit_sure(view, layout, {}, nullptr, fit), multi::SureStatus::kCollinearPredetermined);
  layout.equations = {{d.number("I_GE"), d.number("INPT"), d.number("INPT")}, {d.number("I_WH"), d.number("F_WH")}};
  EXPECT_EQ(multi::fit_sure(view, layout, {}, nullptr, fit), multi::SureStatus::kStartFailed);
}

}  // namespace
}  // namespace qorv::testing
