// The GARCH likelihood and its maximisation against the reference cases (simulated
// GARCH(1,1) series), closed forms and hand values.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "engine/single/garch_iteration.h"
#include "tests/engine/single/garch_reference.h"

namespace qorv::single {
namespace {

using testing::agrees;
using testing::Expected;

/// The model and data of a reference case (with the in-mean term when asked), started
/// where the estimator starts: the least-squares coefficients and the default start of
/// the variance parameters, with 1/v for the degrees of freedom.
struct CaseSetup {
  GarchModel model;
  GarchData data;
  std::vector<double> theta;
};

CaseSetup setup(const std::string& name, bool in_mean = false, VarianceForm form = VarianceForm::kPlain) {
  const testing::GarchCase c = testing::garch_case(name);
  CaseSetup out;
  out.model.form = form;
  out.model.in_mean = in_mean;
  out.model.student_t = c.student_t;
  out.model.regressors = static_cast<int>(c.regressors.size());
  if (c.lag_text == "1 ; 1") out.model.ar_lags = out.model.ma_lags = {1};
  const int lag = out.model.ar_lags.empty() ? 0 : 1;
  const int first = c.likelihood_first_row - lag;
  out.data.y = testing::garch_column(c.dependent, first, c.sample_last_row);
  for (const auto& r : c.regressors) out.data.x.push_back(testing::garch_column(r, first, c.sample_last_row));
  out.data.presample = lag;
  out.data.s0 = c.s0;
  // Least squares over the sample rows (one or two regressors).
  const auto offset = static_cast<size_t>(c.sample_first_row - first);
  const size_t n = out.data.y.size() - offset;
  const auto sum = [&](const std::vector<double>& a, const std::vector<double>& b) {
    long double s = 0.0L;
    for (size_t t = offset; t < offset + n; ++t) s += static_cast<long double>(a[t]) * b[t];
    return static_cast<double>(s);
  };
  const auto& x = out.data.x;
  const auto& y = out.data.y;
  if (x.size() == 1) {
    out.theta = {sum(x[0], y) / sum(x[0], x[0])};
  } else {
    const double a = sum(x[0], x[0]), b = sum(x[0], x[1]), d = sum(x[1], x[1]);
    const double u = sum(x[0], y), v = sum(x[1], y), det = a * d - b * b;
    out.theta = {(d * u - b * v) / det, (a * v - b * u) / det};
  }
  out.theta = garch_start(out.model, out.theta);
  if (c.student_t) out.theta.back() = 1.0 / out.theta.back();
  return out;
}

struct FitRun {
  GarchFit fit;
  std::vector<double> theta;
};

FitRun run(const std::string& name, double damping) {
  CaseSetup s = setup(name);
  FitRun r;
  r.fit = fit_garch(s.model, s.data, s.theta, damping, {}, {});
  r.theta = s.theta;
  return r;
}

double diagonal_se(const GarchFit& fit, int i) {
  return std::sqrt(fit.variance.at(static_cast<size_t>(i * (i + 1) / 2 + i)));
}

struct CaseDamping {
  const char* name;
  double damping;
};

class GarchReferenceFit : public ::testing::TestWithParam<CaseDamping> {};

// Every reference case converges from the default start at both damping factors, to the
// estimates, standard errors and log-likelihood of the reference within their tolerances.
TEST_P(GarchReferenceFit, ReachesTheReferenceMaximum) {
  const auto [name, damping] = GetParam();
  const FitRun r = run(name, damping);
  ASSERT_EQ(r.fit.end, GarchEnd::kConverged) << name << " iterations " << r.fit.iterations;
  const testing::GarchCase c = testing::garch_case(name);
  const auto expected = testing::garch_expected(name, {"favoured", "definite", "alternative"});
  EXPECT_TRUE(agrees(r.fit.loglik, expected.at("LL"))) << r.fit.loglik;
  std::vector<std::string> labels = c.regressors;
  labels.push_back("GARCH cons.");
  if (c.lag_text == "1 ; 1") {
    labels.push_back("MA lag 1");
    labels.push_back("AR lag 1");
  }
  for (size_t i = 0; i < labels.size(); ++i) {
    EXPECT_TRUE(agrees(r.theta[i], expected.at("coef:" + labels[i]))) << labels[i] << " " << r.theta[i];
    EXPECT_TRUE(agrees(diagonal_se(r.fit, static_cast<int>(i)), expected.at("se:" + labels[i])))
        << labels[i] << " se " << diagonal_se(r.fit, static_cast<int>(i));
  }
  if (c.student_t) {
    const size_t w = labels.size();
    const double v = 1.0 / r.theta[w];
    EXPECT_TRUE(agrees(v, expected.at("coef:D.F. of t-Dist"))) << v;
    EXPECT_TRUE(agrees(v * v * diagonal_se(r.fit, static_cast<int>(w)), expected.at("se:D.F. of t-Dist")));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, GarchReferenceFit,
                         ::testing::Values(CaseDamping{"GN", 0.01}, CaseDamping{"GN", 1.0}, CaseDamping{"GT", 0.01},
                                           CaseDamping{"GT", 1.0}, CaseDamping{"GX", 0.01}, CaseDamping{"GX", 1.0},
                                           CaseDamping{"G00", 0.01}, CaseDamping{"G00", 1.0},
                                           CaseDamping{"GN.B", 0.01}, CaseDamping{"GN.B", 1.0},
                                           CaseDamping{"GT.B", 0.01}, CaseDamping{"GT.B", 1.0},
                                           CaseDamping{"GX.B", 0.01}, CaseDamping{"GX.B", 1.0}),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           for (char& ch : n)
                             if (ch == '.') ch = '_';
                           return n + (info.param.damping < 0.5 ? "_damping_001" : "_damping_1");
                         });

// The in-mean forms GARCH-M, AGARCH-M and EGARCH-M (1,1) on the GN series from the default
// start, at both damping factors: the estimates, standard errors and log-likelihood of
// the in-mean reference.
TEST(GarchIteration, InMeanModelsReachTheirReferenceMaximum) {
  const std::vector<std::string> plain = {"INPT", "In Mean", "GARCH cons.", "MA lag 1", "AR lag 1"};
  const struct {
    const char* name;
    VarianceForm form;
    std::vector<std::string> labels;
  } cases[] = {{"GM", VarianceForm::kPlain, plain},
               {"AM", VarianceForm::kAbsolute, plain},
               {"EM", VarianceForm::kExponential, {"INPT", "In Mean", "GARCH cons.", "MA lag 1", "ABS MA lag 1", "AR lag 1"}}};
  for (const auto& c : cases) {
    const auto expected = testing::read_expected(std::string(ZV_REFERENCE_DIR) + "/garch/in_mean_expected.csv", c.name,
                                                 {"favoured"});
    for (const double damping : {0.01, 1.0}) {
      SCOPED_TRACE(::testing::Message() << c.name << " damping " << damping);
      CaseSetup s = setup("GN", true, c.form);
      ASSERT_NEAR(s.data.s0, expected.at("S0").value, 1e-12);
      const GarchFit fit = fit_garch(s.model, s.data, s.theta, damping, {}, {});
      ASSERT_EQ(fit.end, GarchEnd::kConverged) << fit.iterations;
      EXPECT_TRUE(agrees(fit.loglik, expected.at("LL"))) << fit.loglik;
      for (size_t i = 0; i < c.labels.size(); ++i) {
        EXPECT_TRUE(agrees(s.theta[i], expected.at("coef:" + c.labels[i]))) << c.labels[i] << " " << s.theta[i];
        EXPECT_TRUE(agrees(diagonal_se(fit, static_cast<int>(i)), expected.at("se:" + c.labels[i])))
            << c.labels[i] << " se " << diagonal_se(fit, static_cast<int>(i));
      }
    }
  }
}

// A start with every MA coefficient at 0 (typed by the user) leaves the variance constant:
// the in-mean term cannot be told from the intercept, and GX at damping 0.01 drifts
// towards g = -1, where no step along the difference-quotient direction raises the
// likelihood. Both runs end in failure and never hand back a point as an estimate.
TEST(GarchIteration, StartWithoutMaTermsFails) {
  const struct {
    const char* name;
    bool in_mean;
    double damping;
    GarchEnd end;
  } cases[] = {{"GX", false, 0.01, GarchEnd::kNoUphillStep}, {"GN", true, 1.0, GarchEnd::kCollinearScores}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CaseSetup s = setup(c.name, c.in_mean);
    const int ma = garch_layout(s.model).ma;
    s.theta[static_cast<size_t>(ma)] = 0.0;
    const GarchFit fit = fit_garch(s.model, s.data, s.theta, c.damping, {}, {});
    EXPECT_EQ(fit.end, c.end);
    EXPECT_TRUE(fit.variance.empty());
  }
}

// Per-observation log-likelihoods on a four-row fixture (one row before the likelihood
// observations; an MA and an AR lag of 1, a variance-equation variable), each form with
// and without the in-mean term, normal and t(6) errors. Hand values from the formulas.
TEST(GarchLikelihood, EachVariantMatchesHandValues) {
  GarchData data;
  data.y = {0.3, -0.5, 1.2, 0.1};
  data.x = {{1.0, 1.0, 1.0, 1.0}};
  data.z = {{0.2, 0.4, -0.1, 0.3}};
  data.presample = 1;
  data.s0 = 0.9;
  struct Row {
    VarianceForm form;
    bool in_mean, student_t;
    std::array<double, 3> l;
  };
  const Row rows[] = {
      {VarianceForm::kPlain, false, false, {-1.0364859406417337, -1.5530059249160466, -0.9180477401634572}},
      {VarianceForm::kPlain, false, true, {-1.0214578619405967, -1.7489534947970116, -0.7567949086563011}},
      {VarianceForm::kPlain, true, false, {-1.1706265091728556, -1.3430102418020664, -0.9194851869325541}},
      {VarianceForm::kPlain, true, true, {-1.2283791419119265, -1.4612385648955837, -0.7725198430290923}},
      {VarianceForm::kAbsolute, false, false, {-1.1566186282337059, -1.527348877353488, -1.2719869090877063}},
      {VarianceForm::kAbsolute, false, true, {-1.0994306247955632, -1.6015093867848171, -1.11073407758055}},
      {VarianceForm::kAbsolute, true, false, {-1.2837749816765296, -1.3425208000432178, -1.2850079974505588}},
      {VarianceForm::kAbsolute, true, true, {-1.3123169494437938, -1.311097728261056, -1.151995343919922}},
      {VarianceForm::kExponential, false, false, {-0.9596171778452165, -1.902420845431007, -0.6433640931158562}},
      {VarianceForm::kExponential, false, true, {-0.9908304113007304, -2.191204817231446, -0.48602119782775005}},
      {VarianceForm::kExponential, true, false, {-1.0824488379414257, -1.7236397587090895, -0.6313757488591312}},
      {VarianceForm::kExponential, true, true, {-1.1823514669398814, -2.0029736800887865, -0.48230304467185203}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(r.form) << " in-mean " << r.in_mean << " t " << r.student_t);
    GarchModel model;
    model.form = r.form;
    model.in_mean = r.in_mean;
    model.student_t = r.student_t;
    model.ar_lags = model.ma_lags = {1};
    model.regressors = 1;
    model.variance_variables = 1;
    // b, [d], c, a, [b(1)], g, variable, [1/v]
    std::vector<double> theta = {0.1};
    if (r.in_mean) theta.push_back(0.2);
    theta.push_back(r.form == VarianceForm::kPlain ? 0.3 : r.form == VarianceForm::kAbsolute ? 0.5 : -0.4);
    theta.push_back(0.15);
    if (r.form == VarianceForm::kExponential) theta.push_back(0.1);
    theta.push_back(0.6);
    theta.push_back(0.05);
    if (r.student_t) theta.push_back(1.0 / 6.0);
    ASSERT_EQ(static_cast<int>(theta.size()), garch_parameter_count(model));
    std::vector<double> l(3);
    ASSERT_EQ(garch_loglik(model, data, theta, l), GarchStop::kNone);
    for (size_t t = 0; t < 3; ++t) EXPECT_NEAR(l[t], r.l[t], 1e-9) << t;
  }
}

// The Student-t log-density and E|z| against their closed forms (exact gamma functions).
TEST(GarchLikelihood, StudentDensityAndAbsoluteMeanAgreeWithClosedForms) {
  for (const double v : {2.5, 4.0, 6.0, 30.0}) {
    for (const double e : {-2.0, 0.0, 0.7}) {
      const double h = 1.7;
      const double closed = std::lgamma((v + 1) / 2) - std::lgamma(v / 2) - 0.5 * std::log(std::numbers::pi * (v - 2)) -
                            0.5 * std::log(h) - (v + 1) / 2 * std::log(1 + e * e / ((v - 2) * h));
      EXPECT_NEAR(garch_log_density(e, h, v), closed, 1e-9) << v << " " << e;
    }
  }
  EXPECT_NEAR(garch_log_density(0.5, 2.0, 0.0), -0.5 * (std::log(2 * std::numbers::pi) + std::log(2.0) + 0.125), 1e-15);
  EXPECT_NEAR(expected_absolute_error(true, 5.0), 0.7351051938957226, 1e-10);
  EXPECT_DOUBLE_EQ(expected_absolute_error(false, 0.0), std::sqrt(2.0 / std::numbers::pi));
}

// The stops of an evaluation: a variance that is not positive and t degrees of freedom
// out of range.
TEST(GarchLikelihood, StopsOnInfeasibleParameters) {
  GarchData data;
  data.y = {0.3, -0.5, 1.2};
  data.x = {{1.0, 1.0, 1.0}};
  data.presample = 1;
  GarchModel model;
  model.regressors = 1;
  model.ar_lags = model.ma_lags = {1};
  std::vector<double> l(2);
  EXPECT_EQ(garch_loglik(model, data, std::vector<double>{0.0, -1.0, 0.1, 0.1}, l), GarchStop::kSmallVariance);
  model.student_t = true;
  EXPECT_EQ(garch_loglik(model, data, std::vector<double>{0.0, 0.5, 0.1, 0.1, 1e-12}, l), GarchStop::kLargeDf);
  EXPECT_EQ(garch_loglik(model, data, std::vector<double>{0.0, 0.5, 0.1, 0.1, 0.5}, l), GarchStop::kSmallDf);
}

}  // namespace
}  // namespace qorv::single
