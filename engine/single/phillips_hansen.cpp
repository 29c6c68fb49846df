#include "engine/single/phillips_hansen.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/menu_system.h"
#include "engine/core/message_lines.h"
#include "engine/core/vector_checks.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "engine/single/fully_modified.h"
#include "shared/exchange_slots.h"

namespace qorv::single {

namespace {

constexpr double kTolerance = 1e-11;  ///< omega at or below its square is refused

std::size_t at(long i) { return static_cast<std::size_t>(i); }

/// The user's regressors: the list after the dependent variable and the intercept.
std::vector<int> user_regressors() {
  const auto& list = estimation().eqvarlist;
  return list.size() > 2 ? std::vector<int>(list.begin() + 2, list.end()) : std::vector<int>{};
}

bool complete(int t, const std::vector<int>& list) {
  return std::none_of(list.begin(), list.end(), [t](int v) { return core::data_at(t, v) == limits::kMissing; });
}

/// Cuts the sample to the observations where every variable and every regressor's
/// previous observation exist. False (message-file line 2 for a gap) when none remain or a
/// gap lies inside.
bool cut_sample(const std::vector<int>& regressors) {
  auto& g = core::globals();
  const auto& list = estimation().eqvarlist;
  int first = g.sample_start, last = g.sample_end;
  while (first <= last && (first < 2 || !complete(first, list) || !complete(first - 1, regressors))) ++first;
  while (last >= first && !complete(last, list)) --last;
  for (int t = first; t <= last; ++t)
    if (!complete(t, list)) {
      core::SHOWMSGFILE(core::msg::kSampleGap);
      return false;
    }
  if (first > last) {
    core::SHOWMSGFILE(core::msg::kSampleTooShort);
    return false;
  }
  g.sample_start = first;
  g.sample_end = last;
  return load_sample();
}

/// The window length: the preset of slot 24 once, else asked until it lies in 0..n − 1
/// (the answer copied to slot 28). −1 when the user cancels.
int window_length(int n) {
  int value = 0;
  bool ask = true;
  if (core::slot(slots::kSingleEqOption) != slots::kUnset) {
    value = core::take_preset(slots::kSingleEqOption);
    ask = false;
  }
  for (;;) {
    if (ask) {
      int status = 0;
      core::ASKINTEGER(core::kNoHelp, value, status, "Length of lag window?");
      if (status != core::kDialogOk) return -1;
      core::set_slot(slots::kSingleEqOptionOut, value);
    }
    if (value >= 0 && value <= n - 1) return value;
    core::BEEP();
    ask = true;
  }
}

/// The estimate and its failures' messages. False when it failed.
bool estimate(const std::vector<int>& regressors, int window, int m, bool drift) {
  auto& s = estimation();
  const auto& g = core::globals();
  const int n = s.nused, k = static_cast<int>(regressors.size());
  std::vector<double> x, dx;
  x.reserve(at(long{n} * k));
  dx.reserve(at(long{n} * k));
  for (int v : regressors)
    for (int t = g.sample_start; t <= g.sample_end; ++t) {
      x.push_back(core::data_at(t, v));
      dx.push_back(core::data_at(t, v) - core::data_at(t - 1, v));
    }
  FullyModifiedInput in;
  in.y = series_block(block::kActual);
  in.x = x;
  in.dx = dx;
  in.n = n;
  in.k = k;
  in.window = window;
  in.m = m;
  in.drift = drift;
  in.threshold = kTolerance;
  FullyModifiedResult r = fully_modified(in);
  switch (r.status) {
    case FullyModifiedStatus::kEstimated: break;
    case FullyModifiedStatus::kCollinear:
      core::SHOWOK(core::kError, core::kNoHelp, " Regressors are collinear! ");
      return false;
    case FullyModifiedStatus::kSingularLongRun:
      core::SHOWOK(core::kError, core::kNoHelp,
                   "The long run variance of the differenced regressors cannot be inverted. Please check for a "
                   "trended regressor or use another lag window!");
      return false;
    case FullyModifiedStatus::kSmallOmega:
      core::SHOWOK(core::kError, core::kNoHelp, "Small or -ve standard error. Please use another lag window!");
      return false;
    case FullyModifiedStatus::kBadShape:
      core::SHOWMSGFILE(core::msg::kSampleTooShort);
      return false;
  }
  std::copy(r.coefficients.begin(), r.coefficients.end(), s.result.begin() + block::kCoefficients);
  for (int t = 1; t <= n; ++t) {
    residual(t) = r.residuals[at(t - 1)];
    fitted(t) = actual(t) - residual(t);
  }
  s.variance = std::move(r.inverse);
  s.scale = VarianceScale::kScaled;
  s.sigma = std::sqrt(r.omega);
  s.rss = r.rss;
  s.loglik = r.loglik;
  return true;
}

}  // namespace

void PHILLIPSHANSEN(bool /*interactive*/) {
  auto& s = estimation();
  auto& g = core::globals();
  const int start = g.sample_start, end = g.sample_end;
  s.status = status::kFailed;
  const std::vector<int> regressors = user_regressors();
  if (regressors.empty()) {
    core::SHOWMSGFILE(core::msg::kSampleTooShort);
    return;
  }
  for (int v : regressors) {
    std::vector<double> column;
    for (int t = start; t <= end; ++t) column.push_back(core::data_at(t, v));
    if (core::ISCONSTVECTOR(column, 0, static_cast<int>(column.size()))) {
      core::SHOWOK(core::kError, core::kNoHelp, " Please do not include an intercept term among your regressors!");
      return;
    }
  }
  const auto give_back = [&] {
    g.sample_start = start;
    g.sample_end = end;
    load_sample();
    s.status = status::kFailed;
  };
  if (!cut_sample(regressors)) return give_back();
  int drift = 2;
  core::DRIFTMENU(drift);
  if (drift != 1 && drift != 2) return give_back();
  int window = 2;
  core::LAGWINDOWMENU(window);
  if (window < 1 || window > 4) return give_back();
  const int m = window_length(s.nused);
  if (m < 0) return give_back();
  if (s.nused <= static_cast<int>(regressors.size()) + 1) {
    core::SHOWMSGFILE(core::msg::kSampleTooShort);
    return give_back();
  }
  if (!estimate(regressors, window, m, drift == 2)) return give_back();
  g.adjusted_variance_kind = window + 2;
  g.truncation_lag = m;
  s.trend_case = drift;
  s.status = status::kEstimated;
}

}  // namespace qorv::single
