#include "engine/single/least_squares.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <span>
#include <string>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/likelihoods.h"
#include "engine/core/message_lines.h"
#include "engine/core/num/matrices.h"
#include "engine/core/square_guard.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"

namespace qorv::single {

namespace {

/// Ends a failed estimate: status 1 and, when asked, the message-file lines.
int fail_with(core::MessageLines lines, bool show_message) {
  estimation().status = status::kFailed;
  if (show_message) core::SHOWMSGFILE(lines);
  return 1;
}

int fail_short_of_memory() {
  estimation().status = status::kFailed;
  core::DISKSPACEMESSAGE();
  return 1;
}

/// The first-observation offset of the sample (sample start − 1).
long first_offset() { return core::globals().sample_start - 1; }

/// Stores SIGMA and LOGLIK from the residual sum of squares.
void store_fit_summary() {
  auto& s = estimation();
  core::NORMALLOGLIK(s.nused, s.nregs, s.rss, s.sigma, s.loglik);
}

/// Checks that the counts fit the result array before anything is written.
bool counts_fit() {
  const auto& s = estimation();
  return s.nused >= 1 && s.nused <= block::kMaxSeries && s.nregs >= 1 &&
         s.nregs <= block::kMaxParameters && s.eqvarlist.size() == static_cast<size_t>(s.nregs) + 1 &&
         s.result.size() == static_cast<size_t>(block::kSize);
}

/// The name of the first variable of the equation, or of `instruments`, whose values are
/// too large to be squared (the dependent variable through its actual values); empty when
/// there is none. The counts must fit.
std::string too_large_variable(std::span<const int> instruments) {
  const auto& s = estimation();
  const int n = s.nused;
  const int nobs = core::globals().nobs;
  const auto data = core::work_array();
  if (!core::squares_finite(series_block(block::kActual).first(static_cast<size_t>(n))))
    return core::variable_name(s.eqvarlist[0]);
  if (const int j = core::first_unsquarable(data, first_offset(), s.eqvarlist, 1, s.nregs, n, nobs); j >= 0)
    return core::variable_name(s.eqvarlist[static_cast<size_t>(j)]);
  const int last = static_cast<int>(instruments.size()) - 1;
  if (const int j = core::first_unsquarable(data, first_offset(), instruments, 0, last, n, nobs); j >= 0)
    return core::variable_name(instruments[static_cast<size_t>(j)]);
  return {};
}

/// Ends an estimate whose data are too large to be squared: status 1 and, when asked, the
/// error box naming the variable.
int fail_too_large(const std::string& name, bool show_message) {
  estimation().status = status::kFailed;
  if (show_message) core::TOOLARGEMESSAGE(name);
  return 1;
}

int ols_fit(bool show_message) {
  auto& s = estimation();
  if (!counts_fit()) return fail_with(core::msg::kSingularMatrix, show_message);
  if (const std::string name = too_large_variable({}); !name.empty()) return fail_too_large(name, show_message);
  const int n = s.nused;
  const int k = s.nregs;
  std::vector<double> b, fit, work, m;
  try {
    b.resize(static_cast<size_t>(k));
    fit.resize(static_cast<size_t>(n));
    work.resize(static_cast<size_t>(std::max(k, n)));
    m.resize(static_cast<size_t>(k) * static_cast<size_t>(k + 1) / 2);
  } catch (const std::bad_alloc&) {
    return fail_short_of_memory();
  }
  double rss = 0.0;
  int fail = 0;
  core::PACKEDXTXSOLVE(core::work_array(), first_offset(), series_block(block::kActual),
                       s.eqvarlist, k, n, core::globals().nobs, 0, 0, b, fit, work, rss, m, fail);
  if (fail != 0) return fail_with(core::msg::kSingularMatrix, show_message);
  std::copy(b.begin(), b.end(), s.result.begin() + block::kCoefficients);
  std::copy(fit.begin(), fit.end(), s.result.begin() + block::kFitted);
  std::copy(work.begin(), work.begin() + n, s.result.begin() + block::kResiduals);
  s.rss = rss;
  s.variance = std::move(m);
  s.scale = VarianceScale::kScaled;
  return 0;
}

}  // namespace

int ORDINARYLEASTSQUARES(bool show_message) {
  core::clear_numerical_failure();
  return ols_fit(show_message);
}

void RESIDUALSUMMARY(double& mean_square, double& loglik, bool show_message) {
  auto& s = estimation();
  if (!method_row(s.method).residuals_given) {
    if (ORDINARYLEASTSQUARES(show_message) != 0) return;
  }
  long double sum = 0.0L;
  for (double e : series_block(block::kResiduals)) sum += static_cast<long double>(e) * e;
  s.rss = static_cast<double>(sum);
  store_fit_summary();
  mean_square = s.nused > 0 ? s.rss / s.nused : limits::kMissing;
  loglik = s.loglik;
}

void LSQCORE(bool show_message) {
  auto& s = estimation();
  core::clear_numerical_failure();
  s.status = status::kEstimated;
  const int l = s.ninstr;
  if (!counts_fit() || l < 1 || s.instrlist.size() != static_cast<size_t>(l)) {
    fail_with(core::msg::kSingularInstruments, show_message);
    return;
  }
  const int n = s.nused;
  const int k = s.nregs;
  const auto& g = core::globals();
  const auto data = core::work_array();
  std::vector<int> first_list, second_list;
  std::vector<double> hat, column, b1, fit, work, m1, b, m2, yhat;
  try {
    first_list.reserve(static_cast<size_t>(l) + 1);
    first_list.push_back(0);
    first_list.insert(first_list.end(), s.instrlist.begin(), s.instrlist.end());
    second_list.resize(static_cast<size_t>(k) + 1);
    for (int j = 0; j <= k; ++j) second_list[static_cast<size_t>(j)] = j;
    hat.resize(static_cast<size_t>(n) * static_cast<size_t>(k));
    column.resize(static_cast<size_t>(n));
    b1.resize(static_cast<size_t>(l));
    fit.resize(static_cast<size_t>(n));
    work.resize(static_cast<size_t>(std::max({k, l, n})));
    m1.resize(static_cast<size_t>(l) * static_cast<size_t>(l + 1) / 2);
    b.resize(static_cast<size_t>(k));
    m2.resize(static_cast<size_t>(k) * static_cast<size_t>(k + 1) / 2);
    yhat.resize(static_cast<size_t>(n));
  } catch (const std::bad_alloc&) {
    fail_short_of_memory();
    return;
  }
  for (int v : s.instrlist)
    if (v < 1 || v > g.nvars) {
      fail_with(core::msg::kSingularInstruments, show_message);
      return;
    }
  if (const std::string name = too_large_variable(s.instrlist); !name.empty()) {
    fail_too_large(name, show_message);
    return;
  }
  const long offset = first_offset();
  // First stage: each regressor, and the dependent variable, projected on the
  // instruments; the instrument cross products are inverted once.
  double rss = 0.0;
  int fail = 0;
  for (int j = 0; j <= k; ++j) {
    const int v = s.eqvarlist[static_cast<size_t>(j)];
    for (int t = 1; t <= n; ++t) column[static_cast<size_t>(t - 1)] = core::data_at(offset + t, v);
    core::PACKEDXTXSOLVE(data, offset, column, first_list, l, n, g.nobs, 0,
                         j == 0 ? 0 : core::kSolveReuseInverse, b1, fit, work, rss, m1, fail);
    if (fail != 0) {
      fail_with(core::msg::kSingularInstruments, show_message);
      return;
    }
    if (j == 0)
      yhat = fit;
    else
      std::copy(fit.begin(), fit.end(), hat.begin() + static_cast<long>(j - 1) * n);
  }
  // Second stage: y on the projected regressors.
  double grss = 0.0;
  core::PACKEDXTXSOLVE(hat, 0, series_block(block::kActual), second_list, k, n, n, 0, 0, b, fit,
                       work, grss, m2, fail);
  if (fail != 0) {
    fail_with(core::msg::kSingularInstruments, show_message);
    return;
  }
  std::copy(b.begin(), b.end(), s.result.begin() + block::kCoefficients);
  auto gres = series_block(block::kGeneralisedResiduals);
  std::copy(work.begin(), work.begin() + n, gres.begin());
  s.grss = grss;
  // Structural residuals and fitted values from the original regressors.
  auto res = series_block(block::kResiduals);
  auto fitted_values = series_block(block::kFitted);
  core::RESIDXB(data, series_block(block::kActual), b, res, n, k, offset, g.nobs, s.eqvarlist);
  long double rss_sum = 0.0L, minimand = 0.0L;
  for (int t = 0; t < n; ++t) {
    const double e = res[static_cast<size_t>(t)];
    fitted_values[static_cast<size_t>(t)] = actual(t + 1) - e;
    rss_sum += static_cast<long double>(e) * e;
    const long double pe = static_cast<long double>(yhat[static_cast<size_t>(t)]) - fit[static_cast<size_t>(t)];
    minimand += pe * pe;
  }
  s.rss = static_cast<double>(rss_sum);
  s.iv_minimand = static_cast<double>(minimand);
  s.variance = std::move(m2);
  s.scale = VarianceScale::kScaled;
  store_fit_summary();
  if (method_row(s.method).residual_scaling == ResidualScaling::kLongRunMultiplier && s.lr_multiplier != 1.0 &&
      s.lr_multiplier != limits::kMissing) {
    for (int t = 0; t < n; ++t) {
      res[static_cast<size_t>(t)] *= s.lr_multiplier;
      fitted_values[static_cast<size_t>(t)] = actual(t + 1) - res[static_cast<size_t>(t)];
    }
  }
}

void estimate_ols(bool interactive) {
  double mean_square = 0.0, loglik = 0.0;
  RESIDUALSUMMARY(mean_square, loglik, interactive);
  auto& s = estimation();
  s.stage_loglik[0] = s.loglik;
}

void estimate_iv(bool interactive) { LSQCORE(interactive); }

}  // namespace qorv::single
