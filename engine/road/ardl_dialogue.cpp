#include "engine/road/ardl_dialogue.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/lag_lists.h"
#include "engine/core/menu_system.h"
#include "engine/core/message_lines.h"
#include "engine/core/number_format.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/system_headers.h"
#include "engine/core/temp_variables.h"
#include "engine/core/text_format.h"
#include "engine/core/var_lists.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/post_regression.h"
#include "engine/diagnostics/sample_check.h"
#include "engine/multi/dynamic_forecast.h"
#include "engine/road/run_estimation.h"
#include "engine/single/ardl_forecast.h"
#include "engine/single/ardl_forms.h"
#include "engine/single/ardl_model.h"
#include "engine/single/ardl_search.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "engine/single/forecast_period.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::road {

using namespace single;

namespace {

constexpr int kMaxVariables = 10;
constexpr int kMaxDeterministic = 18;
constexpr int kLagCap = 24;
constexpr int kMaxObservations = 3000;
constexpr std::uint64_t kQuietModels = 125;
constexpr int kOrderAnswerWidth = 80;
constexpr int kArdlModelTitle = -2;  ///< "Based on ARDL Regression"

size_t at(int i) { return static_cast<size_t>(i); }

void show_error(const std::string& text) { core::SHOWOK(core::kError, core::kNoHelp, text); }

/// The equation of the dialogue, with the data of the common sample.
struct ArdlEquation {
  std::vector<int> variables;      ///< K ARDL variables, the dependent first
  std::vector<int> deterministic;  ///< s deterministic variables
  int p = 0;
  int start = 0;                   ///< common sample, p after the chosen start
  int end = 0;
  std::vector<std::vector<double>> columns;  ///< variables over start − p..end, then deterministic over start..end

  int k() const { return static_cast<int>(variables.size()); }
  int s() const { return static_cast<int>(deterministic.size()); }
  ArdlData data() const {
    ArdlData d;
    d.n = end - start + 1;
    d.p = p;
    for (int i = 0; i < k(); ++i) d.variables.emplace_back(columns[at(i)]);
    for (int j = 0; j < s(); ++j) d.deterministic.emplace_back(columns[at(k() + j)]);
    return d;
  }
};

/// Restores the equation part of the estimation state and the method code on leaving.
class EquationRestore {
 public:
  EquationRestore() : state_(estimation()) {}
  ~EquationRestore() {
    auto& s = estimation();
    s.eqvarlist = state_.eqvarlist;
    s.eqvarnames = state_.eqvarnames;
    s.reglagtable = state_.reglagtable;
    s.instrlist = state_.instrlist;
    s.instrnames = state_.instrnames;
    s.ninstr = state_.ninstr;
    s.method = state_.method;
  }
  EquationRestore(const EquationRestore&) = delete;
  EquationRestore& operator=(const EquationRestore&) = delete;

 private:
  EstimationState state_;
};

/// The maximum lag: the preset of slot 24 once, else asked until it lies in 0..bound;
/// 0 to quit (Cancel too). The answer goes to slot 28.
int ask_max_lag(int bound) {
  int value = 0;
  bool asked = false;
  const int32_t preset = core::slot(slots::kSingleEqOption);
  if (preset != slots::kUnset && preset != 0) value = core::take_preset(slots::kSingleEqOption);
  else asked = true;
  const std::string prompt =
      " Maximum lag to be used in model selection (At most " + std::to_string(bound) + ", zero to quit) ?";
  while (true) {
    if (asked) {
      int status = core::kDialogOk;
      core::ASKINTEGER(core::kNoHelp, value, status, prompt);
      if (status != core::kDialogOk) value = 0;
      core::set_slot(slots::kSingleEqOptionOut, value);
    }
    asked = true;
    if (value == 0) return 0;
    if (value >= 0 && value <= bound) return value;
    core::BEEP();
  }
}

/// The orders typed by the user: K numbers in 0..p; empty on Cancel.
std::vector<int> ask_orders(int k, int p) {
  const std::string prompt = "Specify " + std::to_string(k) +
                             " numbers representing the orders of the lags. The maximum order allowed is " +
                             std::to_string(p) + ". Press Help for more details.";
  while (true) {
    std::string answer = " ";
    int status = core::kDialogOk;
    core::ASKSTRING(core::kNoHelp, status, prompt, answer, kOrderAnswerWidth);
    if (status != core::kDialogOk) return {};
    const core::LagList list = core::PARSELAGS(core::kAnyLags, answer, at(k) + 1);
    const bool fits = !list.error && static_cast<int>(list.lags.size()) == k &&
                      std::all_of(list.lags.begin(), list.lags.end(), [p](int q) { return q >= 0 && q <= p; });
    if (fits) return list.lags;
    core::BEEP();
  }
}

/// Whether every value the search reads is present.
bool complete(const ArdlEquation& eq) {
  for (int v : eq.variables)
    for (int t = eq.start - eq.p; t <= eq.end; ++t)
      if (core::data_at(t, v) == limits::kMissing) return false;
  for (int v : eq.deterministic)
    for (int t = eq.start; t <= eq.end; ++t)
      if (core::data_at(t, v) == limits::kMissing) return false;
  return true;
}

void load_columns(ArdlEquation& eq) {
  eq.columns.clear();
  for (int v : eq.variables) {
    auto& c = eq.columns.emplace_back();
    for (int t = eq.start - eq.p; t <= eq.end; ++t) c.push_back(core::data_at(t, v));
  }
  for (int v : eq.deterministic) {
    auto& c = eq.columns.emplace_back();
    for (int t = eq.start; t <= eq.end; ++t) c.push_back(core::data_at(t, v));
  }
}

/// The regressor list text of a model (`ARDLLAGTEXT` for each variable): y{1-q_0},
/// x_i{0-q_i}, then the deterministic variables.
std::string model_text(const ArdlEquation& eq, const std::vector<int>& orders) {
  std::string text;
  const auto lag_text = [&text](int v, int first, int last) {
    text += core::variable_name(v) + "{" + std::to_string(first) + "-" + std::to_string(last) + "} ";
  };
  if (orders[0] > 0) lag_text(eq.variables[0], 1, orders[0]);
  for (int i = 1; i < eq.k(); ++i) lag_text(eq.variables[at(i)], 0, orders[at(i)]);
  for (int v : eq.deterministic) text += core::variable_name(v) + " ";
  return text;
}

/// The model's regressors as workspace variables (lags created as temporaries); empty
/// when the list does not read (the parser has told the user).
std::vector<int> model_variables(const ArdlEquation& eq, const std::vector<int>& orders) {
  core::VarList list = core::VarList::with_dependent(core::variable_name(eq.variables[0]), eq.variables[0]);
  if (core::PARSEVARLIST(model_text(eq, orders), list, 0, core::globals().max_vars)) return {};
  return list.numbers;
}

/// A new registered temporary variable named `name` (a numeric suffix after "_" when the
/// name is taken) holding `values` over the whole data set. 0 when there is no room.
int add_temporary(const std::string& name, const std::string& description, const std::vector<double>& values) {
  return core::add_temporary(name, description, values, core::globals().max_vars);
}

/// v(t − lag) − v(t − lag − 1) over the data set, missing where either is missing or
/// outside the data.
std::vector<double> difference(int v, int lag) {
  const int nobs = core::globals().nobs;
  std::vector<double> d(at(nobs), limits::kMissing);
  for (int t = lag + 2; t <= nobs; ++t) {
    const double a = core::data_at(t - lag, v), b = core::data_at(t - lag - 1, v);
    if (a != limits::kMissing && b != limits::kMissing) d[at(t - 1)] = a - b;
  }
  return d;
}

/// "d" + name for lag 0, "d" + name + lag otherwise, as a temporary variable.
int difference_variable(int v, int lag) {
  const std::string name = core::variable_name(v);
  const std::string own = "d" + name.substr(0, 13) + (lag > 0 ? std::to_string(lag) : "");
  const std::string description =
      lag == 0 ? own + " = " + name + "-" + name + "(-1)"
               : own + " = " + name + "(-" + std::to_string(lag) + ")-" + name + "(-" + std::to_string(lag + 1) + ")";
  return add_temporary(own, description, difference(v, lag));
}

bool room_for(int needed) {
  const auto& g = core::globals();
  const int shortfall = needed - (g.max_vars - g.nvars);
  if (shortfall <= 0) return true;
  show_error("Too many variables! Please delete at least " + std::to_string(shortfall) + " from work space.");
  return false;
}

/// The chosen model's least-squares fit and long-run coefficients; nullopt-like `refused`
/// when the lags of y sum to one (told to the user).
struct ChosenModel {
  ArdlLayout layout;
  ArdlEstimate fit;
  LongRun long_run;
  bool usable = false;
};

ChosenModel chosen_model(const ArdlEquation& eq, const std::vector<int>& orders) {
  ChosenModel m;
  m.layout = ArdlLayout{orders, eq.s()};
  m.fit = fit_ardl_model(eq.data(), orders);
  if (m.fit.singular) {
    show_error("Multicollinear regressors and their lagged values!");
    return m;
  }
  m.long_run = ardl_long_run(m.layout, m.fit.b, m.fit.variance);
  if (m.long_run.refused) {
    show_error("The coefficients of the lagged dependent variable sum to one: the long run coefficients are not defined!");
    return m;
  }
  ardl_choice().lr_multiplier = m.long_run.multiplier;
  m.usable = true;
  return m;
}

/// Runs the current method on the equation and, when it succeeds, the post-regression dialogue.
void estimate_and_show() {
  core::SHOWCALCULATING();
  RUNESTIMATION(core::driver_state().interactive);
  if (estimation().status == status::kEstimated) diagnostics::POSTREGRESSION();
}

/// Makes `equation` (dependent first) the current equation of method `code`, without
/// instruments.
void take_plain_equation(const std::vector<int>& equation, int code) {
  take_equation(equation);
  auto& s = estimation();
  s.method = code;
  s.ninstr = 0;
  s.instrlist.clear();
  s.instrnames.clear();
}

/// Choice 1: the ARDL estimates under code 79.
void ARDLESTIMATES(const ArdlEquation& eq, const std::vector<int>& orders) {
  const core::TemporaryScope temporaries;
  const EquationRestore restore;
  const std::vector<int> list = model_variables(eq, orders);
  if (list.empty()) return;
  take_plain_equation(list, method::kArdl);
  estimate_and_show();
}

/// Choice 2: the long-run coefficients under code 80, by the exactly identified
/// instrumental-variable regression of y on the levels of the regressors, the
/// deterministic variables, Δy(t)..Δy(t − q_0 + 1) and Δx_i(t)..Δx_i(t − q_i + 1),
/// instrumented by the ARDL regressors.
void ARDLLONGRUN(const ArdlEquation& eq, const std::vector<int>& orders) {
  const ChosenModel model = chosen_model(eq, orders);
  if (!model.usable) return;
  int differences = 0, lags = orders[0];
  for (int q : orders) differences += q;
  for (int i = 1; i < eq.k(); ++i) lags += orders[at(i)];
  if (!room_for(differences + lags)) return;
  const core::TemporaryScope temporaries;
  const EquationRestore restore;
  std::vector<int> instruments = model_variables(eq, orders);
  if (instruments.empty()) return;
  instruments.erase(instruments.begin());
  std::vector<int> equation = {eq.variables[0]};
  for (int i = 1; i < eq.k(); ++i) equation.push_back(eq.variables[at(i)]);
  equation.insert(equation.end(), eq.deterministic.begin(), eq.deterministic.end());
  for (int i = 0; i < eq.k(); ++i)
    for (int j = 0; j < orders[at(i)]; ++j) {
      const int v = difference_variable(eq.variables[at(i)], j);
      if (v == 0) return;
      equation.push_back(v);
    }
  take_equation(equation);
  auto& s = estimation();
  s.method = method::kArdlLongRun;
  s.instrlist = instruments;
  s.instrnames.clear();
  for (int v : instruments) s.instrnames.push_back(core::variable_name(v));
  s.ninstr = static_cast<int>(instruments.size());
  estimate_and_show();
}

/// The definition of the error-correction term: ";ecm=" y, then −θ_i in a 10-character
/// field and "*" with each variable's name.
std::string ecm_definition(const ArdlEquation& eq, const LongRun& lr) {
  std::string text = "ecm = " + core::variable_name(eq.variables[0]);
  for (size_t i = 0; i < lr.theta.size(); ++i) {
    const double c = -lr.theta[i];
    const int v = i + 1 < at(eq.k()) ? eq.variables[i + 1] : eq.deterministic[i + 1 - at(eq.k())];
    text += (c >= 0.0 ? " +" : " ") + core::FORMATFIXED(c, 9, 4) + "*" + core::variable_name(v);
  }
  return text;
}

/// Choice 3: the error-correction form under code 78, filled from the ARDL estimate
/// (the differenced deterministic variables are zero or constant columns no regression
/// can estimate): coefficients A·b, variance A·V·A', the ARDL residuals, RSS and LL.
void ARDLECM(const ArdlEquation& eq, const std::vector<int>& orders) {
  const ChosenModel model = chosen_model(eq, orders);
  if (!model.usable) return;
  EcmForm form = ardl_ecm(model.layout, model.fit.b, model.fit.variance);
  // "d" + y, one variable per term but ecm(−1), then ecm and ecm(−1).
  if (!room_for(static_cast<int>(form.terms.size()) + 2)) return;
  const core::TemporaryScope temporaries;
  const EquationRestore restore;
  core::SHOWCALCULATING();
  std::vector<int> equation = {difference_variable(eq.variables[0], 0)};
  for (const EcmTerm& term : form.terms) {
    switch (term.kind) {
      case EcmTerm::kDifference: equation.push_back(difference_variable(eq.variables[at(term.variable)], 0)); break;
      case EcmTerm::kLaggedDifference:
        equation.push_back(difference_variable(eq.variables[at(term.variable)], term.lag));
        break;
      case EcmTerm::kDeterministic:
        equation.push_back(difference_variable(eq.deterministic[at(term.variable)], 0));
        break;
      case EcmTerm::kCorrection: {
        const int nobs = core::globals().nobs;
        std::vector<double> ecm(at(nobs), limits::kMissing), lagged(at(nobs), limits::kMissing);
        for (int t = 1; t <= nobs; ++t) {
          long double value = core::data_at(t, eq.variables[0]);
          bool present = value != limits::kMissing;
          for (size_t i = 0; i < model.long_run.theta.size() && present; ++i) {
            const int v = i + 1 < at(eq.k()) ? eq.variables[i + 1] : eq.deterministic[i + 1 - at(eq.k())];
            const double x = core::data_at(t, v);
            present = x != limits::kMissing;
            value -= static_cast<long double>(model.long_run.theta[i]) * x;
          }
          if (present) ecm[at(t - 1)] = static_cast<double>(value);
        }
        for (int t = 2; t <= nobs; ++t) lagged[at(t - 1)] = ecm[at(t - 2)];
        if (add_temporary("ecm", ecm_definition(eq, model.long_run), ecm) == 0) return;
        equation.push_back(add_temporary("ecm(-1)", "ecm(-1)", lagged));
        break;
      }
    }
    if (equation.back() == 0) return;
  }
  take_plain_equation(equation, method::kArdlEcm);
  auto& s = estimation();
  if (!start_estimate()) return;
  const int m = static_cast<int>(form.terms.size());
  const int n = s.nused;
  s.nregs = m;
  s.rss = model.fit.rss;
  s.loglik = model.fit.loglik;
  const double sigma2 = model.fit.rss / (n - model.layout.coefficients());
  s.sigma = std::sqrt(sigma2);
  s.variance.assign(at(m) * at(m + 1) / 2, 0.0);
  for (int i = 0; i < m; ++i) {
    coefficient(i + 1) = form.coef[at(i)];
    const double var = form.variance[at(i * m + i)];
    s.result[at(block::kStdErrors + i)] = std::sqrt(var);
    s.result[at(block::kTRatios + i)] = var > 0.0 ? form.coef[at(i)] / std::sqrt(var) : limits::kMissing;
    for (int j = 0; j <= i; ++j) s.variance[at(i * (i + 1) / 2 + j)] = form.variance[at(i * m + j)] / sigma2;
  }
  s.scale = VarianceScale::kScaled;
  for (int t = 1; t <= n; ++t) {
    residual(t) = model.fit.residuals[at(t - 1)];
    fitted(t) = actual(t) - residual(t);
  }
  s.status = status::kEstimated;
  diagnostics::POSTREGRESSION();
}

/// Choice 4: the chosen model's fitted values over its sample and its dynamic forecasts
/// after it (the regressors and deterministic variables from the data, the lags of the
/// dependent variable from earlier forecasts), shown by the ARDL forecast display.
void ARDLFORECASTS(const ArdlEquation& eq, const std::vector<int>& orders) {
  std::vector<int> checked(eq.variables.begin() + 1, eq.variables.end());
  checked.insert(checked.end(), eq.deterministic.begin(), eq.deterministic.end());
  int last = eq.end;
  if (FORECASTPERIOD(core::globals().nobs, eq.end + 1, last, checked, kCheckRegressors)) return;
  core::SHOWCALCULATING();
  const ArdlEstimate fit = fit_ardl_model(eq.data(), orders);
  if (fit.singular) {
    show_error("Multicollinear regressors and their lagged values!");
    return;
  }
  // The model's columns run on over the forecast period.
  ArdlEquation extended = eq;
  extended.end = last;
  load_columns(extended);
  ArdlData data = extended.data();
  data.n = eq.end - eq.start + 1;
  multi::ForecastDisplay display;
  display.names = {core::variable_name(eq.variables[0])};
  display.variables = {eq.variables[0]};
  display.predictions = ardl_predictions(data, orders, fit.b, last - eq.end);
  display.first = eq.start;
  display.end = eq.end;
  display.last = last;
  display.titles = multi::ForecastTitles::kArdl;
  const int order = *std::max_element(orders.begin(), orders.end());
  const double loglik = fit.loglik;
  display.header = [&eq, order, loglik] {
    const int page = core::channel::kResultsPage;
    std::string line;
    core::SYSTEMMODELTITLE(line, kArdlModelTitle, page);
    line = fixed_text::pad(ardl_title_line(), core::kTableWidth);
    core::JUSTIFYTEXT(line, core::kTableWidth, 'C');
    core::WRITELINE(line, page);
    core::SystemHeaderArgs args;
    args.kind = core::kArdlBasedHeader;
    args.offset = eq.start - 1;
    args.n = eq.end - eq.start + 1;
    args.p = order;
    args.loglik = loglik;
    core::SYSTEMHEADER(args, page);
  };
  multi::DYNFORECAST(display);
}

/// The Post ARDL Model Selection Menu (1028) for the chosen orders.
void post_menu(const ArdlEquation& eq, const std::vector<int>& orders, int criterion) {
  static constexpr const char* kTitles[] = {
      "Post ARDL Model Selection Menu (Based on R-BAR Squared Criterion)",
      "Post ARDL Model Selection Menu (Based on Akaike Information Criterion)",
      "Post ARDL Model Selection Menu (Based on Schwarz Information Criterion)",
      "Post ARDL Model Selection Menu (Based on Hannan-Quinn Criterion)",
      "Post ARDL Model Selection Menu (Order of the ARDL Model chosen by you)"};
  const core::MenuTable table{1028, 0, 0, kTitles[criterion - 1],
                              {"Return to ARDL Order Selection Menu",
                               "Display the estimates of the selected ARDL regression",
                               "Display long run coefficients and their asymptotic standard errors",
                               "Display Error Correction Model", "Compute forecasts from the ARDL model"}};
  ArdlChoice& choice = ardl_choice();
  int option = 1;
  while (true) {
    choice.orders = orders;
    choice.criterion = criterion;
    choice.deterministic = eq.s();
    core::show_menu_table(table, option);
    switch (option) {
      case 1: ARDLESTIMATES(eq, orders); option = 2; break;
      case 2: ARDLLONGRUN(eq, orders); option = 3; break;
      case 3: ARDLECM(eq, orders); option = 0; break;
      case 4: ARDLFORECASTS(eq, orders); option = 0; break;
      default: return;
    }
  }
}

/// Steps 4 to 9: the maximum lag, the common sample, the checks and the search. False when
/// the dialogue ends.
bool run_search(ArdlEquation& eq, ArdlSelection& selection, int chosen_start) {
  const auto& g = core::globals();
  while (true) {
    const int available = g.sample_end - chosen_start + 1;
    const int bound = std::min(kLagCap, (available - eq.s()) / eq.k());
    eq.p = ask_max_lag(std::max(bound, 0));
    if (eq.p == 0) return false;
    eq.start = chosen_start + eq.p;
    eq.end = g.sample_end;
    const int n = eq.end - eq.start + 1;
    if (n < 1 || !complete(eq)) {
      core::SHOWMSGFILE(core::msg::kSampleGap);
      return false;
    }
    if (n > kMaxObservations) {
      show_error(" A maximum of " + std::to_string(kMaxObservations) + " observations can be included.");
      return false;
    }
    if ((eq.p + 1) * eq.k() + eq.s() - 1 >= n) {
      core::SHOWMSGFILE(core::msg::kTooFewForRegressors);
      return false;
    }
    const int needed = eq.p * eq.k() + eq.k() + eq.s();
    if (core::globals().max_vars - core::globals().nvars < needed) {
      show_error("Too many variables! Please delete at least " +
                 std::to_string(needed - (core::globals().max_vars - core::globals().nvars)) + " from work space.");
      continue;
    }
    if (ardl_model_count(eq.k(), eq.p) > kQuietModels &&
        !core::ASKYESNO(core::kNoHelp,
                        "Given the choice of maximum lag and the number of variables this option involves more than "
                        "125 regressions. The computation time can be considerable. Do you wish to continue?"))
      continue;
    core::SHOWCALCULATING();
    load_columns(eq);
    selection = select_ardl_orders(eq.data(), false);
    if (selection.stop == ArdlStop::kSingular) {
      show_error("Multicollinear regressors and their lagged values!");
      return false;
    }
    if (selection.stop == ArdlStop::kExactFit) {
      show_error("An almost exact relationship between regressors and their laggedvalues!");
      return false;
    }
    core::set_slot(slots::kSingleEqOptionOut, eq.p);
    return true;
  }
}

}  // namespace

void ARDLSELECT(int trailing) {
  const auto& list = estimation().eqvarlist;
  const int s = std::clamp(trailing, 0, std::max(0, static_cast<int>(list.size()) - 1));
  ArdlEquation eq;
  eq.variables.assign(list.begin(), list.end() - s);
  eq.deterministic.assign(list.end() - s, list.end());
  if (list.size() <= 1) {
    show_error("It is not possible to carry out analysis for a single variable only! ");
    return;
  }
  if (eq.k() > kMaxVariables) {
    show_error(" A maximum of " + std::to_string(kMaxVariables) + " variables allowed in the ARDL model!");
    return;
  }
  if (eq.s() > kMaxDeterministic) {
    show_error(" A maximum of " + std::to_string(kMaxDeterministic) + " strictly exogenous variables allowed!");
    return;
  }
  const diagnostics::SampleGuard sample;
  const EquationRestore restore;
  const int chosen_start = core::globals().sample_start;
  ArdlSelection selection;
  while (true) {
    core::globals().sample_start = chosen_start;
    if (!run_search(eq, selection, chosen_start)) return;
    core::globals().sample_start = eq.start;
    int choice = 4;
    while (true) {
      core::ARDLORDERMENU(choice);
      if (choice <= 0 || choice > 6) return;
      if (choice == 1) break;
      std::vector<int> orders = choice == 6 ? ask_orders(eq.k(), eq.p) : selection.best[at(choice - 2)];
      if (orders.empty()) continue;
      post_menu(eq, orders, choice - 1);
    }
  }
}

}  // namespace qorv::road
