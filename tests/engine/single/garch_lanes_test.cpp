// The GARCH likelihood in lanes: every lane gives garch_loglik's values and stop at its
// point to the last bit, under each vector kernel, for every form of the family, and the
// scores built from the lanes are the one-pass-at-a-time central differences.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/core/num/cross_products.h"
#include "engine/single/garch_iteration.h"
#include "engine/single/garch_lanes.h"
#include "tests/engine/single/garch_reference.h"

namespace qorv::single {
namespace {

using core::cross_detail::KernelChoice;

constexpr KernelChoice kChoices[] = {KernelChoice::kBest, KernelChoice::kAvx2, KernelChoice::kPortable};

/// Serves the kernels of `choice` while it lives.
struct UseKernel {
  explicit UseKernel(KernelChoice choice) { core::cross_detail::choose_kernel(choice); }
  ~UseKernel() { core::cross_detail::choose_kernel(KernelChoice::kBest); }
  UseKernel(const UseKernel&) = delete;
  UseKernel& operator=(const UseKernel&) = delete;
};

/// The reference series YX on INPT and X (rows 1..1001, two rows before the likelihood),
/// with X again as the variance-equation variable.
GarchData reference_data() {
  GarchData data;
  data.y = testing::garch_column("YX", 1, 1001);
  data.x = {testing::garch_column("INPT", 1, 1001), testing::garch_column("X", 1, 1001)};
  data.z = {testing::garch_column("X", 1, 1001)};
  data.presample = 2;
  data.s0 = 1.1;
  return data;
}

/// A model of the family with AR lags {1, 2}, MA lags {1, 2} and one variance variable,
/// and a feasible point for it.
struct ModelPoint {
  GarchModel model;
  std::vector<double> theta;
};

ModelPoint model_point(VarianceForm form, bool in_mean, bool student_t) {
  ModelPoint out;
  out.model.form = form;
  out.model.in_mean = in_mean;
  out.model.student_t = student_t;
  out.model.ar_lags = {1, 2};
  out.model.ma_lags = {1, 2};
  out.model.regressors = 2;
  out.model.variance_variables = 1;
  const GarchLayout p = garch_layout(out.model);
  out.theta.assign(static_cast<size_t>(p.count), 0.0);
  out.theta[0] = 0.2;
  out.theta[1] = 0.5;
  if (in_mean) out.theta[static_cast<size_t>(p.in_mean)] = 0.05;
  out.theta[static_cast<size_t>(p.constant)] = form == VarianceForm::kExponential ? -0.3 : 0.2;
  out.theta[static_cast<size_t>(p.ma)] = 0.1;
  out.theta[static_cast<size_t>(p.ma) + 1] = 0.02;
  if (form == VarianceForm::kExponential) {
    out.theta[static_cast<size_t>(p.abs_ma)] = 0.15;
    out.theta[static_cast<size_t>(p.abs_ma) + 1] = 0.05;
  }
  out.theta[static_cast<size_t>(p.ar)] = 0.6;
  out.theta[static_cast<size_t>(p.ar) + 1] = 0.1;
  out.theta[static_cast<size_t>(p.variables)] = 0.01;
  if (student_t) out.theta[static_cast<size_t>(p.reciprocal_df)] = 1.0 / 7.0;
  return out;
}

/// `count` points near theta, each parameter moved by a different small amount.
std::vector<double> points_near(const std::vector<double>& theta, size_t count) {
  std::vector<double> points;
  for (size_t i = 0; i < count; ++i)
    for (size_t q = 0; q < theta.size(); ++q)
      points.push_back(theta[q] * (1.0 + 0.003 * static_cast<double>((i + 3 * q) % 7) - 0.009));
  return points;
}

/// Each point's values and stop from the lanes against garch_loglik at that point, bit for
/// bit (values only up to a stop).
void expect_lanes_match(const GarchModel& model, const GarchData& data, const std::vector<double>& points) {
  const auto m = static_cast<size_t>(garch_parameter_count(model));
  const size_t count = points.size() / m, n = static_cast<size_t>(data.observations());
  std::vector<double> lanes(n * kGarchLanes), one(n);
  std::vector<GarchStop> stops(count);
  for (const KernelChoice choice : kChoices) {
    SCOPED_TRACE(::testing::Message() << "kernel " << static_cast<int>(choice));
    UseKernel use(choice);
    garch_loglik_lanes(model, data, points, lanes, stops);
    for (size_t i = 0; i < count; ++i) {
      const std::span<const double> theta(points.data() + i * m, m);
      const GarchStop stop = garch_loglik(model, data, theta, one);
      ASSERT_EQ(stops[i], stop) << "point " << i;
      if (stop != GarchStop::kNone) continue;
      for (size_t t = 0; t < n; ++t)
        ASSERT_EQ(std::bit_cast<std::uint64_t>(lanes[t * kGarchLanes + i]), std::bit_cast<std::uint64_t>(one[t]))
            << "point " << i << " observation " << t;
    }
  }
}

// Every form, with and without the in-mean term, normal and Student-t errors, two lags of
// each kind and a variance variable: eight points, and three (lanes left over).
TEST(GarchLanes, EveryLaneIsTheSinglePassToTheLastBit) {
  const GarchData data = reference_data();
  for (const VarianceForm form : {VarianceForm::kPlain, VarianceForm::kAbsolute, VarianceForm::kExponential})
    for (const bool in_mean : {false, true})
      for (const bool student_t : {false, true}) {
        SCOPED_TRACE(::testing::Message() << "form " << static_cast<int>(form) << " in-mean " << in_mean << " t "
                                          << student_t);
        const ModelPoint mp = model_point(form, in_mean, student_t);
        expect_lanes_match(mp.model, data, points_near(mp.theta, kGarchLanes));
        expect_lanes_match(mp.model, data, points_near(mp.theta, 3));
      }
}

// Lanes that stop, each for its own reason and at its own observation, beside lanes that
// run through: each reports garch_loglik's stop.
TEST(GarchLanes, EachLaneStopsAsTheSinglePassDoes) {
  const GarchData data = reference_data();
  ModelPoint mp = model_point(VarianceForm::kPlain, false, true);
  const GarchLayout p = garch_layout(mp.model);
  const auto m = static_cast<size_t>(p.count);
  std::vector<double> points = points_near(mp.theta, kGarchLanes);
  const auto set = [&](size_t lane, int q, double value) { points[lane * m + static_cast<size_t>(q)] = value; };
  set(1, p.constant, -5.0);        // h below zero at once
  set(2, p.reciprocal_df, 1e-12);  // v too large
  set(3, p.reciprocal_df, 0.6);    // v too small
  set(5, p.ar, 1.3);               // explodes until a bound stops it
  set(6, p.variables, -0.5);       // h below zero where X is large
  expect_lanes_match(mp.model, data, points);
}

// The scores from the lanes against the central differences of one garch_loglik pass at a
// time, bit for bit, for a model of eleven parameters (three passes of lanes).
TEST(GarchLanes, ScoresAreTheCentralDifferencesOfSinglePasses) {
  const GarchData data = reference_data();
  const ModelPoint mp = model_point(VarianceForm::kExponential, true, true);
  const size_t m = mp.theta.size(), n = static_cast<size_t>(data.observations());
  ASSERT_GT(m, size_t{2 * kGarchLanes / 2});
  std::vector<double> expected(n * m), up(n), down(n), point = mp.theta;
  for (size_t i = 0; i < m; ++i) {
    const double d = mp.theta[i] == 0.0 ? 0.0001 : 0.001 * std::fabs(mp.theta[i]);
    point[i] = mp.theta[i] + d;
    ASSERT_EQ(garch_loglik(mp.model, data, point, up), GarchStop::kNone);
    point[i] = mp.theta[i] - d;
    ASSERT_EQ(garch_loglik(mp.model, data, point, down), GarchStop::kNone);
    point[i] = mp.theta[i];
    for (size_t t = 0; t < n; ++t) expected[i * n + t] = (up[t] - down[t]) / (2.0 * d);
  }
  for (const KernelChoice choice : kChoices) {
    UseKernel use(choice);
    std::vector<double> scores;
    ASSERT_EQ(garch_scores(mp.model, data, mp.theta, scores), GarchStop::kNone);
    ASSERT_EQ(scores.size(), expected.size());
    for (size_t k = 0; k < scores.size(); ++k)
      ASSERT_EQ(std::bit_cast<std::uint64_t>(scores[k]), std::bit_cast<std::uint64_t>(expected[k])) << k;
  }
}

// A stop in a later parameter's pass is the scores' stop.
TEST(GarchLanes, ScoresReportTheFirstStopInParameterOrder) {
  const GarchData data = reference_data();
  const ModelPoint mp = model_point(VarianceForm::kPlain, false, true);
  std::vector<double> theta = mp.theta;
  theta.back() = 0.4996;  // v = 2.0016, and below 2 at the upper step of 1/v
  std::vector<double> scores;
  EXPECT_EQ(garch_scores(mp.model, data, theta, scores), GarchStop::kSmallDf);
}

// Lengths that do not fit are refused.
TEST(GarchLanes, RefusesLengthsThatDoNotFit) {
  const GarchData data = reference_data();
  const ModelPoint mp = model_point(VarianceForm::kPlain, false, false);
  const size_t n = static_cast<size_t>(data.observations());
  std::vector<double> l(n * kGarchLanes);
  std::vector<GarchStop> stops(kGarchLanes + 1);
  EXPECT_THROW(garch_loglik_lanes(mp.model, data, points_near(mp.theta, kGarchLanes + 1), l, stops),
               std::invalid_argument);
  std::vector<double> short_l(n);
  EXPECT_THROW(garch_loglik_lanes(mp.model, data, points_near(mp.theta, 2), short_l, stops), std::invalid_argument);
  std::vector<double> ragged = points_near(mp.theta, 2);
  ragged.pop_back();
  EXPECT_THROW(garch_loglik_lanes(mp.model, data, ragged, l, stops), std::invalid_argument);
}

}  // namespace
}  // namespace qorv::single
