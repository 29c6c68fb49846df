#include "engine/multi/ecm_results.h"

#include <algorithm>
#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/core/number_format.h"
#include "engine/core/temp_variables.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/sample_check.h"
#include "engine/diagnostics/state_restorer.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::multi {

namespace {

std::size_t idx(int value) { return static_cast<std::size_t>(value); }

std::string whole(int value) { return std::string(fixed_text::trim(core::FORMATFIXED(value, 9, 0))); }

EcmShape shape_of(const CvarSession& s) { return EcmShape{s.m, s.e, s.d, s.p, s.model_case, s.r}; }

/// The descriptions of the temporaries, in the order of the regressors.
std::vector<std::string> regressor_descriptions(const EcmShape& shape, const std::vector<std::string>& i1_names) {
  std::vector<std::string> out;
  for (int u = 0; u < shape.deterministic(); ++u) out.emplace_back();
  for (int j = 1; j < shape.p; ++j)
    for (const std::string& name : i1_names)
      out.push_back("= " + name + "(-" + std::to_string(j) + ")-" + name + "(-" + std::to_string(j + 1) + ")");
  for (int i = 1; i <= shape.r; ++i) out.emplace_back("Error Correction Term");
  return out;
}

/// A coefficient of a definition: "+" before a positive value, then the value.
std::string signed_piece(double value) {
  return (value > 0.0 ? "+" : "") + std::string(fixed_text::trim(core::FORMATREAL9(value)));
}

/// The definitions of the error-correction terms: "ecm" i " =" and each coefficient with
/// "*" and its variable, the restricted intercept's alone, the restricted trend's with
/// "*Trend".
std::vector<std::string> ecm_definitions(const CvarSession& s) {
  std::vector<std::string> out;
  const int k = s.k();
  for (int i = 1; i <= s.r; ++i) {
    const auto b = [&](int l) { return s.vectors[idx(i - 1) * idx(k) + idx(l - 1)]; };
    std::string text = "ecm" + std::to_string(i) + " =";
    for (int l = 1; l <= s.m + s.e; ++l) text += " " + signed_piece(b(l)) + "*" + s.names[idx(l - 1)];
    if (s.model_case == 2) text += " " + signed_piece(b(k));
    if (s.model_case == 4) text += " " + signed_piece(b(k)) + "*Trend";
    out.push_back(text);
  }
  return out;
}

/// The equation of one variable as variable numbers, the dependent variable first, and
/// the definitions of the temporaries made for it.
struct MadeEquation {
  std::vector<int> numbers;
  std::vector<std::string> definitions;
};

/// Makes the temporaries of the equation of endogenous variable `chosen` (from 1) over the
/// session's sample; no numbers when one could not be made.
MadeEquation make_equation(const CvarSession& s, int chosen, const std::vector<double>& X,
                           const std::vector<std::string>& names) {
  const EcmShape shape = shape_of(s);
  const int nobs = core::globals().nobs;
  const int max_vars = core::globals().max_vars;
  std::vector<double> column(idx(nobs), limits::kMissing);
  const std::string& name = s.names[idx(chosen - 1)];
  const auto level = [&](int t) { return s.levels[idx(chosen - 1) * idx(s.n + s.p) + idx(s.p + t - 1)]; };
  for (int t = 1; t <= s.n; ++t) column[idx(s.start + t - 2)] = level(t) - level(t - 1);
  const std::string dependent = "d" + name.substr(0, 13);
  MadeEquation made;
  const int v = core::add_temporary(dependent, dependent + " = " + name + "-" + name + "(-1)", column, max_vars);
  made.numbers.push_back(v);
  made.definitions.push_back(core::variable_name(v) + " = " + name + "-" + name + "(-1)");
  std::vector<std::string> i1_names(s.names.begin(), s.names.begin() + s.m + s.e);
  const std::vector<std::string> descriptions = regressor_descriptions(shape, i1_names);
  const int made_count = shape.regressors() - shape.d;
  const int first_difference = shape.deterministic();
  const int first_ecm = ecm_position(shape, 1);
  for (int c = 0; c < made_count; ++c) {
    std::fill(column.begin(), column.end(), limits::kMissing);
    for (int t = 1; t <= s.n; ++t) column[idx(s.start + t - 2)] = X[idx(c) * idx(s.n) + idx(t - 1)];
    const int number = core::add_temporary(names[idx(c)], descriptions[idx(c)], column, max_vars);
    made.numbers.push_back(number);
    if (c >= first_difference && c < first_ecm) made.definitions.push_back(core::variable_name(number) + " " + descriptions[idx(c)]);
  }
  if (std::find(made.numbers.begin(), made.numbers.end(), 0) != made.numbers.end()) return {};
  made.numbers.insert(made.numbers.end(), s.list.begin() + s.m + s.e, s.list.begin() + s.m + s.e + s.d);
  const std::vector<std::string> ecm = ecm_definitions(s);
  made.definitions.insert(made.definitions.end(), ecm.begin(), ecm.end());
  return made;
}

}  // namespace

int ecm_room_needed(const EcmShape& shape) {
  return 1 + shape.deterministic() + (shape.p - 1) * (shape.m + shape.e) + shape.r;
}

std::vector<std::string> ecm_regressor_names(const EcmShape& shape, const std::vector<std::string>& i1_names,
                                             const std::vector<std::string>& stationary_names) {
  std::vector<std::string> names;
  if (shape.deterministic() >= 1) names.emplace_back("Intercept");
  if (shape.deterministic() == 2) names.emplace_back("Trend");
  for (int j = 1; j < shape.p; ++j) {
    const std::string lag = std::to_string(j);
    for (const std::string& name : i1_names)
      names.push_back("d" + name.substr(0, static_cast<std::size_t>(limits::kNameWidth) - 1 - lag.size()) + lag);
  }
  for (int i = 1; i <= shape.r; ++i) names.push_back("ecm" + std::to_string(i) + "(-1)");
  names.insert(names.end(), stationary_names.begin(), stationary_names.end());
  return names;
}

void ECMRESULTS(const CvarSession& s) {
  const EcmShape shape = shape_of(s);
  const core::Globals& g = core::globals();
  const int excess = g.nvars + ecm_room_needed(shape) - g.max_vars;
  if (excess > 0) {
    core::SHOWOK(core::kError, core::kNoHelp,
                 "It is not possible to display single equation results!  Please delete at least " + whole(excess) +
                     " variables from work space and re-estimate.");
    return;
  }
  if (s.services == nullptr || !s.services->report_equation || s.r < 1 ||
      s.vectors.size() != idx(s.k()) * idx(s.r))
    return;
  const std::vector<double> X = ecm_regressors(s.johansen_data(), s.r, s.vectors);
  EcmFit fit;
  const double system_loglik = fit_ecm(s.johansen_data(), s.r, s.vectors, fit) ? fit.loglik : limits::kMissing;
  const std::vector<std::string> names = ecm_regressor_names(
      shape, std::vector<std::string>(s.names.begin(), s.names.begin() + s.m + s.e), {});
  const diagnostics::StateRestorer state;
  const diagnostics::SampleGuard sample;
  std::vector<std::string> options = {"Quit"};
  options.insert(options.end(), s.names.begin(), s.names.begin() + s.m);
  while (true) {
    int chosen = 1;
    int status = 0;
    core::ASKONEOPTION(core::kNoHelp, status, chosen, "Choose variable to inspect its single equation results", options);
    if (status != core::kDialogOk || chosen == 0) return;
    core::STARTCALC("Calculating or writing to file! Please wait... ");
    const core::TemporaryScope temporaries;
    const MadeEquation equation = make_equation(s, chosen, X, names);
    core::STOPCALC();
    if (equation.numbers.empty()) return;
    core::globals().sample_start = s.start;
    core::globals().sample_end = s.end;
    single::EstimationState& runner_state = single::estimation();
    runner_state.system_loglik = system_loglik;
    runner_state.system_order = s.p;
    runner_state.temporary_definitions = equation.definitions;
    s.services->report_equation(equation.numbers);
  }
}

}  // namespace qorv::multi
