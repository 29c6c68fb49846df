#include "engine/single/estimation_runner.h"

#include <charconv>
#include <string>

#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"

namespace qorv::single {

namespace {

/// Variable and lag of a regressor name "X(-k)" or "X(+k)"; lag 0 and the variable of
/// that name otherwise.
RegressorLag lag_of(int variable, const std::string& name) {
  const auto open = name.find('(');
  if (open == std::string::npos || name.back() != ')' || open + 2 >= name.size()) return {variable, 0};
  const char sign = name[open + 1];
  if (sign != '-' && sign != '+') return {variable, 0};
  int k = 0;
  const char* first = name.data() + open + 2;
  const char* last = name.data() + name.size() - 1;
  const auto [ptr, ec] = std::from_chars(first, last, k);
  const int base = core::find_variable(name.substr(0, open));
  if (ec != std::errc{} || ptr != last || base == 0) return {variable, 0};
  return {base, sign == '-' ? -k : k};
}

}  // namespace

void take_equation(std::span<const int> equation) {
  auto& s = estimation();
  s.eqvarlist.assign(equation.begin(), equation.end());
  s.eqvarnames.clear();
  s.reglagtable.clear();
  for (size_t i = 0; i < equation.size(); ++i) {
    std::string name = core::variable_name(equation[i]);
    if (i > 0) s.reglagtable.push_back(lag_of(equation[i], name));
    s.eqvarnames.push_back(std::move(name));
  }
}

bool start_estimate() {
  auto& s = estimation();
  auto& g = core::globals();
  begin_estimate(s.method);
  g.adjusted_variance_kind = 0;
  g.truncation_lag = 0;
  if (load_sample()) return true;
  s.status = status::kFailed;
  return false;
}

EstimateOutcome estimate_equation(bool interactive) {
  auto& s = estimation();
  const MethodRow& row = method_row(s.method);
  if (row.estimate == nullptr) {
    s.status = status::kFailed;
    return EstimateOutcome::kNotAvailable;
  }
  row.estimate(interactive);
  if (s.status != status::kEstimated) return EstimateOutcome::kFailed;
  if (row.refuses_exact_fit && s.loglik == limits::kMissing) {
    s.status = status::kFailed;
    return EstimateOutcome::kExactFit;
  }
  return EstimateOutcome::kEstimated;
}

}  // namespace qorv::single
