#include "engine/single/nonlinear_estimate.h"

#include <algorithm>
#include <cstddef>

#include "engine/core/dialog_bridge.h"
#include "engine/core/engine_state.h"
#include "engine/core/likelihoods.h"
#include "engine/core/message_lines.h"
#include "engine/core/num/packed_least_squares.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::single {

namespace {

using Index = std::size_t;

NonLinearEquation g_equation;
const core::ResetRegistration kReset{[] { g_equation = NonLinearEquation{}; }};

/// The message that explains a failed run.
void explain(NonLinearStatus status, int code) {
  switch (status) {
    case NonLinearStatus::kMissingValue:
    case NonLinearStatus::kMissingAtEnd: core::SHOWMSGFILE(core::msg::kMissingValueMet); break;
    case NonLinearStatus::kDerivativeTooLarge: core::SHOWMSGFILE(core::msg::kOverflow); break;
    case NonLinearStatus::kSingular:
      core::SHOWMSGFILE(code == method::kNls ? core::msg::kSingularDerivatives : core::msg::kSingularInstruments);
      break;
    case NonLinearStatus::kBadShape:
      core::SHOWMSGFILE(code == method::kNls ? core::msg::kTooFewForRegressors : core::msg::kSingularInstruments);
      break;
    default: break;
  }
}

/// The instruments' columns over the sample (n × l, column-major).
std::vector<double> instrument_columns(const EstimationState& s) {
  const auto& g = core::globals();
  std::vector<double> z;
  z.reserve(static_cast<Index>(s.nused) * s.instrlist.size());
  for (const int v : s.instrlist) {
    if (v < 1 || v > g.nvars) return {};
    for (int t = 0; t < s.nused; ++t) z.push_back(core::data_at(g.sample_start + t, v));
  }
  return z;
}

/// y − P·fitted and e'Pe of a two-stage estimate, P the projection on the instruments.
bool instrument_statistics(EstimationState& s, std::span<const double> z) {
  const int n = s.nused, l = s.ninstr;
  std::vector<int> columns(static_cast<Index>(l) + 1);
  for (int j = 0; j <= l; ++j) columns[static_cast<Index>(j)] = j;
  std::vector<double> b(static_cast<Index>(l)), projected(static_cast<Index>(n)),
      work(static_cast<Index>(std::max(n, l))), inverse(static_cast<Index>(l) * static_cast<Index>(l + 1) / 2);
  double rss = 0.0;
  int fail = 0;
  core::PACKEDXTXSOLVE(z, 0, series_block(block::kFitted), columns, l, n, n, 0, 0, b, projected, work, rss, inverse,
                       fail);
  if (fail != 0) return false;
  auto general = series_block(block::kGeneralisedResiduals);
  long double grss = 0.0L;
  for (int t = 0; t < n; ++t) {
    general[static_cast<Index>(t)] = actual(t + 1) - projected[static_cast<Index>(t)];
    grss += static_cast<long double>(general[static_cast<Index>(t)]) * general[static_cast<Index>(t)];
  }
  core::PACKEDXTXSOLVE(z, 0, series_block(block::kResiduals), columns, l, n, n, 0, core::kSolveReuseInverse, b,
                       projected, work, rss, inverse, fail);
  if (fail != 0) return false;
  long double minimand = 0.0L;
  for (const double v : projected) minimand += static_cast<long double>(v) * v;
  s.grss = static_cast<double>(grss);
  s.iv_minimand = static_cast<double>(minimand);
  return true;
}

}  // namespace

NonLinearEquation& nonlinear_equation() { return g_equation; }

std::vector<std::string> formula_lines() {
  std::vector<std::string> lines;
  std::size_t from = 0;
  const std::string& text = g_equation.text;
  while (from <= text.size()) {
    const std::size_t end = std::min(text.find('\n', from), text.size());
    const std::string_view line = fixed_text::trim_right(std::string_view(text).substr(from, end - from));
    if (!fixed_text::trim(line).empty()) lines.emplace_back(line);
    from = end + 1;
  }
  return lines;
}

void set_nonlinear_equation(std::string text, NonLinearFormula formula) {
  std::vector<double> values(formula.parameters.size(), 0.0);
  for (Index i = 0; i < values.size(); ++i) {
    const auto& old = g_equation.formula.parameters;
    const auto at = std::find(old.begin(), old.end(), formula.parameters[i]);
    if (at != old.end() && static_cast<Index>(at - old.begin()) < g_equation.values.size())
      values[i] = g_equation.values[static_cast<Index>(at - old.begin())];
  }
  g_equation = NonLinearEquation{std::move(text), std::move(formula), std::move(values)};
}

void estimate_nonlinear(bool interactive) {
  auto& s = estimation();
  const NonLinearEquation& eq = g_equation;
  const auto& g = core::globals();
  s.status = status::kFailed;
  const int m = static_cast<int>(eq.formula.parameters.size());
  if (m < 1 || eq.values.size() != static_cast<Index>(m) || eq.formula.dependent < 1 ||
      eq.formula.dependent > g.nvars || s.nused <= m) {
    if (interactive) explain(NonLinearStatus::kBadShape, s.method);
    return;
  }
  const bool two_stage = s.method == method::kNl2sls;
  const std::vector<double> z = two_stage ? instrument_columns(s) : std::vector<double>{};
  NonLinearProblem problem;
  problem.y = series_block(block::kActual);
  problem.instruments = z;
  problem.l = two_stage ? s.ninstr : 0;
  const data::FormulaData data{
      core::work_array().first(static_cast<Index>(g.nobs) * static_cast<Index>(g.nvars)), g.nobs, g.nvars, {},
      limits::kMissing};
  problem.model = formula_model(eq.formula, data, g.sample_start, g.sample_end,
                                data::formula_stack_capacity(data::FormulaCaller::kEstimation, g.nobs, g.nvars));
  problem.ask_at_limit = interactive;
  NonLinearFit fit = GAUSSNEWTON(problem, eq.values);
  s.iterations = fit.iterations;
  if (fit.status != NonLinearStatus::kConverged && fit.status != NonLinearStatus::kNotConverged) {
    if (interactive) explain(fit.status, s.method);
    return;
  }

  // The equation as the reports read it: the dependent variable and the parameters.
  s.eqvarlist.assign(1, eq.formula.dependent);
  s.eqvarnames.assign(1, core::variable_name(eq.formula.dependent));
  s.eqvarnames.insert(s.eqvarnames.end(), eq.formula.parameters.begin(), eq.formula.parameters.end());
  s.reglagtable.assign(static_cast<Index>(m), RegressorLag{});
  s.nregs = m;
  std::copy(fit.theta.begin(), fit.theta.end(), s.result.begin() + block::kCoefficients);
  auto fitted_values = series_block(block::kFitted);
  auto residuals = series_block(block::kResiduals);
  for (int t = 0; t < s.nused; ++t) {
    fitted_values[static_cast<Index>(t)] = fit.fitted[static_cast<Index>(t)];
    residuals[static_cast<Index>(t)] = actual(t + 1) - fit.fitted[static_cast<Index>(t)];
  }
  s.rss = fit.rss;
  core::NORMALLOGLIK(s.nused, m, s.rss, s.sigma, s.loglik);
  s.variance = std::move(fit.inverse);
  s.scale = VarianceScale::kScaled;
  s.jacobian = std::move(fit.jacobian);
  s.convergence = fit.status == NonLinearStatus::kConverged ? 0 : 1;
  if (two_stage && !instrument_statistics(s, z)) {
    if (interactive) explain(NonLinearStatus::kSingular, s.method);
    return;
  }
  g_equation.values = fit.theta;
  s.status = status::kEstimated;
}

}  // namespace qorv::single
