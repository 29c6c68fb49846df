#include "engine/multi/var_estimate.h"

#include <algorithm>
#include <string>

#include "engine/core/availability.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/menu_system.h"
#include "engine/core/message_lines.h"
#include "engine/core/model_spec.h"
#include "engine/core/number_format.h"
#include "engine/core/workspace.h"
#include "engine/data/observation_scans.h"
#include "engine/diagnostics/sample_check.h"
#include "engine/multi/dynamic_forecast.h"
#include "engine/multi/dynamic_response.h"
#include "engine/multi/response_results.h"
#include "engine/multi/var_reports.h"
#include "engine/multi/workspace_view.h"
#include "engine/single/estimation_state.h"
#include "engine/single/forecast_period.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::multi {

namespace {

constexpr int kMaxForecasts = 500;

std::string whole(int value) { return std::string(fixed_text::trim(core::FORMATFIXED(value, 9, 0))); }

/// The order: a preset in slot 18 once, else asked; 0 when the user leaves.
int ask_order(int m, int pmax) {
  const int32_t preset = core::take_preset(slots::kVarOrderPreset);
  const std::string prompt = std::string(m == 1 ? " Order of the AR model (At most" : " Order of the VAR model (At most") +
                             " " + whole(pmax) + ", zero to quit) ?";
  bool use_preset = preset != slots::kUnset;
  while (true) {
    int value = use_preset ? preset : 1;
    int status = 1;
    if (!use_preset) {
      status = 0;
      core::ASKINTEGER(core::kNoHelp, value, status, prompt);
    }
    use_preset = false;
    if (status != 1 || value == 0) return 0;
    if (value > 0 && value <= pmax) return value;
    core::BEEP();
  }
}

/// The estimation sample; false after its refusal was shown.
bool estimation_sample(const std::vector<int>& endogenous, const std::vector<int>& all, int p, int m, int d, int& first,
                       int& n) {
  const core::Globals& g = core::globals();
  std::vector<int32_t> marks(static_cast<std::size_t>(g.nobs));
  const auto data = workspace_data().values;
  int start = 1, end = g.nobs;
  core::MARKAVAILABLE(data, g.nobs, static_cast<int>(endogenous.size()), endogenous, limits::kMissing, start, end, marks, 0);
  start += p;
  if (start > end) {
    core::SHOWMSGFILE(core::msg::kSampleTooShort);
    return false;
  }
  core::MARKAVAILABLE(data, g.nobs, static_cast<int>(all.size()), all, limits::kMissing, start, end, marks, 0);
  start = std::max(g.sample_start, start);
  end = std::min(g.sample_end, end);
  if (start > end) {
    core::SHOWMSGFILE(core::msg::kSampleTooShort);
    return false;
  }
  // The initial values before the sample must be there too: a gap just before the user's
  // sample would otherwise put the missing code into the lags.
  if (!initial_values_present(endogenous, start, p) || !data::CHECKFLAGRUN(start, end, marks)) {
    core::SHOWMSGFILE(core::msg::kSampleGap);
    return false;
  }
  n = end - start + 1;
  first = start;
  if (n > kMaxVarObservations) {
    core::SHOWOK(core::kError, core::kNoHelp,
                 " You have included too many observations. A maximum of " + whole(kMaxVarObservations) +
                     " observations can be included.  Try another option in the next menu.");
    return false;
  }
  if (n <= (p + 1) * m + d) {
    core::SHOWMSGFILE(core::msg::kSampleTooShort);
    return false;
  }
  return true;
}

class VarDialogue {
 public:
  VarDialogue(NamedVar var, const SystemServices& services) : var_(std::move(var)), services_(services) {}
  void run();

 private:
  void single_equation_results();
  void responses();
  void hypotheses();
  void order_selection();
  void deletion();
  void noncausality();
  void forecasts();
  bool loglik_defined() const;

  NamedVar var_;
  const SystemServices& services_;
};

void VarDialogue::run() {
  const core::MenuTable menu{1044, 0, 0, "Unrestricted VAR Post Estimation Menu",
                             {"Move to Backtracking Menu", "Display single equation estimation results",
                              "Display system covariance matrix of errors",
                              "Impulse Response and Forecast Error Variance Decomposition",
                              "Hypotheses testing and lag order selection in the VAR",
                              "Compute multivariate dynamic forecasts"}};
  int choice = 1;
  while (true) {
    switch (core::show_menu_table(menu, choice)) {
      case 1: single_equation_results(); break;
      case 2: write_covariance_page(var_); break;
      case 3: responses(); break;
      case 4: hypotheses(); break;
      case 5: forecasts(); break;
      default: return;
    }
    choice = choice % 5 + 1;
  }
}

void VarDialogue::single_equation_results() {
  const VarLayout& layout = var_.fit.layout;
  const int excess = layout.p * layout.m() + core::globals().nvars - core::globals().max_vars;
  if (excess > 0) {
    core::SHOWMESSAGE("It is not possible to display single equation results! Please delete at least " + whole(excess) +
                      " variables from work space and re-estimate.");
    return;
  }
  if (!services_.estimate_single_equation) return;
  // Every equation has the same regressors: the lags 1..p of the VAR's variables, then
  // the deterministic/exogenous ones.
  std::string regressors;
  for (const std::string& name : var_.names) regressors += name + "{1-" + std::to_string(layout.p) + "} ";
  for (const std::string& name : var_.deterministic) regressors += name + " ";
  std::vector<std::string> options = {"Quit"};
  options.insert(options.end(), var_.names.begin(), var_.names.end());
  int chosen = 1;
  while (true) {
    int status = 0;
    core::ASKONEOPTION(core::kNoHelp, status, chosen, "Choose variable to inspect its single equation results", options);
    if (status != 1 || chosen == 0) return;
    single::estimation().system_loglik = var_.fit.loglik;
    services_.estimate_single_equation(layout.endogenous[static_cast<std::size_t>(chosen - 1)], regressors);
  }
}

void VarDialogue::responses() {
  const core::MenuTable menu{1021, 0, 0, "Unrestricted VAR Dynamic Response Analysis Menu",
                             {"Return to VAR Post Estimation Menu", "Orthogonalized IR of variables to shocks in equations",
                              "Generalized IR of variables to shocks in equations",
                              "Orthogonalized forecast error variance decomposition",
                              "Generalized forecast error variance decomposition"}};
  int kind = 1;
  while (true) {
    if (core::show_menu_table(menu, kind) == 0) return;
    int e = 0;
    int status = 0;
    core::ASKONEOPTION(core::kNoHelp, status, e, "Choose the equation to be shocked", var_.names);
    if (status != 1) continue;
    const int H = ask_horizon(kind);
    if (H == 0) continue;
    core::SHOWCALCULATING();
    ResponseReport report;
    const bool done = dynamic_response(lag_matrices(var_.fit), var_.fit.sigma_tilde, kind, e + 1, H, report.table);
    core::STOPCALC();
    if (!done) {
      core::SHOWOK(core::kInformation, core::kNoHelp, " An almost exact relationship between variables in the model exists!");
      continue;
    }
    const bool orthogonal = kind == kOrthogonalResponses || kind == kOrthogonalDecomposition;
    const bool decomposition = kind == kOrthogonalDecomposition || kind == kGeneralisedDecomposition;
    report.kind = kind;
    report.title = std::string(orthogonal ? "Orthogonalised" : "Generalised") +
                   (decomposition ? " Forecast Error Variance Decomposition for variable "
                                  : " Impulse Responses to one SE shock in the equation for ") +
                   var_.names[static_cast<std::size_t>(e)];
    report.labels = var_.names;
    report.horizon = H;
    report.chosen = e + 1;
    report.header = [this] { write_var_header(var_, true); };
    write_response_page(report);
    response_results_menu(report);
  }
}

bool VarDialogue::loglik_defined() const {
  if (var_.fit.loglik != limits::kMissing) return true;
  core::SHOWMESSAGE(" The log-likelihood is not defined, cannot test!");
  return false;
}

void VarDialogue::hypotheses() {
  const core::MenuTable menu{1045, 0, 0, "VAR Hypotheses Testing Menu",
                             {"Return to VAR Post Estimation Menu",
                              "Testing and selection criteria for order (lag length) of the VAR",
                              "Testing for deletion of deterministic/exogenous variables in theVAR",
                              "Testing for block non-causality of a subset of variables in the VAR"}};
  int choice = 1;
  while (true) {
    const int action = core::show_menu_table(menu, choice);
    if (action == 0) return;
    if (!loglik_defined()) continue;
    if (action == 1) order_selection();
    else if (action == 2) deletion();
    else noncausality();
  }
}

void VarDialogue::order_selection() {
  std::vector<OrderRow> rows;
  core::SHOWCALCULATING();
  const bool done = multi::order_selection(workspace_data(), var_.fit, rows);
  core::STOPCALC();
  if (done) write_order_page(var_, rows);
}

/// The list of specification screen `kind` as positions in `among` (from 1); empty when left.
core::SpecResult ask_list(int kind, const NamedVar& var) {
  core::SpecRequest request;
  request.kind = kind;
  request.item_word = "variable";
  request.model_names = var.names;
  request.second_names = var.deterministic;
  return core::SPECIFYMODEL(request);
}

std::vector<int> positions_in(const std::vector<int>& numbers, const std::vector<int>& among) {
  std::vector<int> positions;
  for (int v : numbers) {
    const auto it = std::find(among.begin(), among.end(), v);
    positions.push_back(it == among.end() ? 0 : static_cast<int>(it - among.begin()) + 1);
  }
  return positions;
}

void VarDialogue::deletion() {
  const VarLayout& layout = var_.fit.layout;
  if (layout.d() == 0) {
    core::SHOWMESSAGE(" There are no deterministic/exogenous variables!");
    return;
  }
  while (true) {
    const core::SpecResult list = ask_list(123, var_);
    if (list.cancelled) return;
    const std::vector<int> positions = positions_in(list.numbers, layout.deterministic);
    if (positions.empty() || std::find(positions.begin(), positions.end(), 0) != positions.end()) {
      core::SHOWMESSAGE(" You can only delete deterministic/exogenous variables!");
      continue;
    }
    DeletionTest test;
    if (!deletion_test(workspace_data(), var_.fit, positions, test)) return;
    write_deletion_page(var_, test, variable_names(test.restricted.layout.deterministic));
    return;
  }
}

void VarDialogue::noncausality() {
  const VarLayout& layout = var_.fit.layout;
  while (true) {
    const core::SpecResult list = ask_list(223, var_);
    if (list.cancelled) return;
    std::vector<int> positions = positions_in(list.numbers, layout.endogenous);
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    if (positions.empty() || positions.front() == 0) {
      core::SHOWMESSAGE(" You cannot include any of the deterministic/exogenous variables!");
      continue;
    }
    if (static_cast<int>(positions.size()) == layout.m()) {
      core::SHOWMESSAGE(" You cannot test for block non-causality of all the variables inthe VAR!");
      continue;
    }
    NonCausality test;
    if (non_causality(workspace_data(), var_.fit, positions, test) != FitStatus::kOk) return;
    write_noncausality_page(var_, test, positions);
    return;
  }
}

void VarDialogue::forecasts() {
  const VarLayout& layout = var_.fit.layout;
  const int end = layout.first + layout.n - 1;
  const int last_available = std::min(core::globals().nobs, end + kMaxForecasts);
  int last = end;
  if (single::FORECASTPERIOD(last_available, end + 1, last, layout.deterministic, single::kCheckRegressors,
                             single::RefusalSpacing::kBlankApart)) return;
  ForecastDisplay display;
  ForecastGap gap;
  if (!var_forecasts(workspace_data(), var_.fit, last - end, display.predictions, gap)) return;
  display.names = var_.names;
  display.variables = layout.endogenous;
  display.first = layout.first;
  display.end = end;
  display.last = last;
  display.header = [this] { write_var_header(var_, true); };
  DYNFORECAST(display);
}

}  // namespace

void VARESTIMATE(const std::vector<int>& endogenous, const std::vector<int>& deterministic,
                 const SystemServices& services) {
  const int m = static_cast<int>(endogenous.size());
  const int d = static_cast<int>(deterministic.size());
  if (m > kMaxVarVariables) {
    core::SHOWMESSAGE(" A maximum of " + whole(kMaxVarVariables) + " variables allowed in the VAR!");
    return;
  }
  if (d > kMaxVarDeterministic) {
    core::SHOWMESSAGE(" A maximum of " + whole(kMaxVarDeterministic) + " deterministic variables allowed in the VAR!");
    return;
  }
  if (m < 1) return;
  const int p = ask_order(m, max_var_order(m, d));
  if (p == 0) return;
  core::set_slot(slots::kVarOrderChosen, p);
  std::vector<int> all = endogenous;
  all.insert(all.end(), deterministic.begin(), deterministic.end());
  int first = 0, n = 0;
  if (!estimation_sample(endogenous, all, p, m, d, first, n)) return;
  const diagnostics::SampleGuard guard;
  core::globals().sample_start = first;
  core::globals().sample_end = first + n - 1;
  NamedVar var;
  var.names = variable_names(endogenous);
  var.deterministic = variable_names(deterministic);
  core::SHOWCALCULATING();
  if (fit_var(workspace_data(), VarLayout{endogenous, deterministic, p, first, n}, var.fit) == FitStatus::kCollinear) return;
  VarDialogue(std::move(var), services).run();
}

}  // namespace qorv::multi
