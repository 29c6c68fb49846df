#include "engine/single/estimation_state.h"

#include <stdexcept>

#include "engine/core/engine_state.h"
#include "engine/core/num/packed_index.h"
#include "shared/exchange_slots.h"

namespace qorv::single {

namespace {

EstimationState& state() {
  static EstimationState s;
  return s;
}

void reset_estimation() { state() = EstimationState{}; }

const core::ResetRegistration kReset{reset_estimation};

double& block_value(int offset, int t, int length) {
  auto& s = state();
  if (t < 1 || t > length || s.result.size() < static_cast<size_t>(block::kSize))
    throw std::out_of_range("estimation result index");
  return s.result[static_cast<size_t>(offset + t - 1)];
}

}  // namespace

EstimationState& estimation() { return state(); }

void begin_estimate(int method_code) {
  auto& s = state();
  auto eqvarlist = std::move(s.eqvarlist);
  auto eqvarnames = std::move(s.eqvarnames);
  auto instrlist = std::move(s.instrlist);
  auto instrnames = std::move(s.instrnames);
  auto reglagtable = std::move(s.reglagtable);
  auto lags = std::move(s.arma_lags);
  const int ninstr = s.ninstr;
  const double system_loglik = s.system_loglik;
  const int system_order = s.system_order;
  auto definitions = std::move(s.temporary_definitions);
  SystemShare share = std::move(s.system_share);
  // The result array keeps its storage from estimate to estimate (its values are cleared
  // below): a request then neither allocates it afresh nor touches new pages.
  std::vector<double> result = std::move(s.result);
  s = EstimationState{};
  s.system_order = system_order;
  s.system_share = std::move(share);
  s.temporary_definitions = std::move(definitions);
  s.ninstr = ninstr;
  s.system_loglik = system_loglik;
  s.eqvarlist = std::move(eqvarlist);
  s.eqvarnames = std::move(eqvarnames);
  s.instrlist = std::move(instrlist);
  s.instrnames = std::move(instrnames);
  s.reglagtable = std::move(reglagtable);
  // A method without an error process has no lag list, whichever estimate set one before.
  if (method_row(method_code).lags != ErrorLags::kNone) s.arma_lags = std::move(lags);
  s.method = method_code;
  s.scale = method_row(method_code).variance;
  s.result = std::move(result);
  s.result.assign(block::kSize, 0.0);
}

void forget_instruments() {
  auto& s = state();
  s.ninstr = 0;
  s.instrlist.clear();
  s.instrnames.clear();
}

namespace {

bool is_garch(int code) { return method_row(code).family == Family::kGarch; }

/// The labels of the GARCH parameters after the regressors.
std::vector<std::string> garch_labels() {
  const auto& g = state().garch;
  const auto with_lag = [](std::string head, int lag) {
    std::string field = std::to_string(lag);
    if (field.size() < 2) field.insert(0, 2 - field.size(), ' ');
    return head + field;
  };
  std::vector<std::string> labels;
  if (g.in_mean) labels.emplace_back("In Mean       ");
  labels.emplace_back("GARCH cons.   ");
  for (const int lag : g.ma_lags) labels.push_back(with_lag("MA lag", lag));
  if (g.exponential)
    for (const int lag : g.ma_lags) labels.push_back(with_lag("ABS MA lag", lag));
  for (const int lag : g.ar_lags) labels.push_back(with_lag("AR lag", lag));
  labels.insert(labels.end(), g.variance_names.begin(), g.variance_names.end());
  if (g.distribution != 0) labels.emplace_back("D.F. of t-Dist");
  return labels;
}

}  // namespace

int parameter_count() {
  const auto& s = state();
  if (is_garch(s.method)) return s.nregs + static_cast<int>(garch_labels().size());
  return s.nregs + static_cast<int>(s.arma_lags.size());
}

double& actual(int t) { return block_value(block::kActual, t, state().nused); }
double& fitted(int t) { return block_value(block::kFitted, t, state().nused); }
double& residual(int t) { return block_value(block::kResiduals, t, state().nused); }

std::span<double> series_block(int offset) {
  auto& s = state();
  if (offset < 0 || s.nused < 0 || s.nused > block::kMaxSeries ||
      static_cast<size_t>(offset + s.nused) > s.result.size())
    throw std::out_of_range("estimation result block");
  return std::span<double>(s.result).subspan(static_cast<size_t>(offset),
                                              static_cast<size_t>(s.nused));
}

double& coefficient(int i) { return block_value(block::kCoefficients, i, block::kMaxParameters); }

double coefficient_variance(int i, int j) {
  const auto& s = state();
  const int p = parameter_count();
  if (i < 1 || j < 1 || i > p || j > p) return limits::kMissing;
  const size_t index = static_cast<size_t>(core::PACKEDINDEX(i, j) - 1);
  if (index >= s.variance.size()) return limits::kMissing;
  const double v = s.variance[index];
  if (s.scale == VarianceScale::kAbsolute) return v;
  if (s.sigma == limits::kMissing) return limits::kMissing;
  return v * s.sigma * s.sigma;
}

}  // namespace qorv::single

#include "engine/core/sample_statistics.h"

namespace qorv::single {

bool load_sample() {
  auto& s = state();
  const auto& g = core::globals();
  const int n = g.sample_end - g.sample_start + 1;
  if (s.eqvarlist.empty() || n < 1 || n > block::kMaxSeries || g.sample_start < 1 ||
      g.sample_end > g.nobs)
    return false;
  for (int v : s.eqvarlist)
    if (v < 1 || v > g.nvars) return false;
  s.nused = n;
  s.nregs = static_cast<int>(s.eqvarlist.size()) - 1;
  if (s.result.size() != static_cast<size_t>(block::kSize)) s.result.assign(block::kSize, 0.0);
  for (int t = 1; t <= n; ++t) actual(t) = core::data_at(g.sample_start + t - 1, s.eqvarlist[0]);
  core::MEANVAR(series_block(block::kActual), s.depmean, s.depvar);
  return true;
}

bool has_ar_errors(int code) { return method_row(code).lags == ErrorLags::kAr; }

bool has_ma_errors(int code) { return method_row(code).lags == ErrorLags::kMa; }

bool is_iv_method(int code) { return method_row(code).iv_fit; }

int lost_observations() {
  const auto& s = state();
  const bool filtered = s.method == method::kCochraneOrcutt || (s.method >= 6 && s.method <= 9);
  return filtered && !s.arma_lags.empty() ? s.arma_lags.back() : 0;
}

std::string error_parameter_label(int i) {
  const auto& s = state();
  if (is_garch(s.method)) {
    const auto labels = garch_labels();
    return i >= 1 && static_cast<size_t>(i) <= labels.size() ? labels[static_cast<size_t>(i - 1)] : std::string();
  }
  if (i < 1 || static_cast<size_t>(i) > s.arma_lags.size()) return {};
  return std::string(has_ma_errors(s.method) ? "E(-" : "U(-") + std::to_string(s.arma_lags[static_cast<size_t>(i - 1)]) + ")";
}

}  // namespace qorv::single
