#include "engine/single/garch_estimate.h"

#include <cmath>
#include <optional>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/initial_values.h"
#include "engine/core/lag_lists.h"
#include "engine/core/menu_system.h"
#include "engine/core/message_lines.h"
#include "engine/core/model_spec.h"
#include "engine/core/num/packed_index.h"
#include "engine/core/output_files.h"
#include "engine/core/report_writer.h"
#include "engine/core/screen_editor.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "engine/single/garch_iteration.h"
#include "engine/single/iteration_limit.h"
#include "engine/single/least_squares.h"
#include "shared/exchange_slots.h"

namespace qorv::single {

void MLFAILADVICE() {
  static const std::vector<std::string> kAdvice = {
      "  The failure of the GARCH estimation procedure may be due to:",
      "  1: Inappropriate initial values. Change initial values and try again.",
      "  2: Large damping factor. Retry with a smaller damping factor if possible.",
      "  3: Existence of serial correlation in the residuals of the regression.",
      "     Retry by adding lagged values of the dependent variable to the model.",
      "  4: There may be no ARCH effects in the model.",
      "     Use option 2 of the Hypothesis Testing Menu after running an OLS regression",
      "     to check for the presence of ARCH effects in your regression.",
      "  5: Inappropriate assumption about the conditional distribution of errors.",
      "     Change the conditional distribution of the errors from normal",
      "     (or t-distribution) and re-estimate.",
      "  6: Very small values of the observations on the dependent variable.",
      "     Scale up the observations and re-estimate."};
  core::SHOWOKLONG(kAdvice);
}

namespace {

constexpr int kLagLimit = 100;  // lags must stay below this
constexpr double kTolerance = limits::kTolerance;

/// One lag set: a single 0, or ascending lags of 1..99.
std::optional<std::vector<int>> parse_set(std::string_view text) {
  const core::LagList list = core::PARSELAGS(core::kAnyLags, text, kLagLimit + 1);
  if (list.error || list.lags.empty()) return std::nullopt;
  if (list.lags.size() == 1 && list.lags.front() == 0) return std::vector<int>{};
  for (size_t i = 0; i < list.lags.size(); ++i) {
    if (list.lags[i] < 1 || list.lags[i] >= kLagLimit) return std::nullopt;
    if (i > 0 && list.lags[i] <= list.lags[i - 1]) return std::nullopt;
  }
  return list.lags;
}

/// The model chosen in menus 1017 and 1016; nullopt when the user left.
std::optional<GarchModel> choose_model() {
  static const std::vector<std::string> kModels = {
      " GARCH Estimation Menu", " Move to Backtracking Menu",
      " GARCH, Auto-Regressive Conditional Heteroscedasticity", " GARCH-M, GARCH in Mean",
      " AGARCH, Absolute value GARCH", " AGARCH-M, Absolute value GARCH in Mean", " EGARCH, Exponential GARCH",
      " EGARCH-M, Exponential GARCH in Mean"};
  static const std::vector<std::string> kDistributions = {
      " Underlying Distribution", " Return to GARCH Estimation Menu",
      " Estimate assuming a normal distribution for conditional errors",
      " Estimate assuming a t-distribution for conditional errors"};
  int model_choice = 1;
  while (true) {
    int number = 1017;
    core::SHOWMENU(kModels, 0, 6, model_choice, number);
    if (model_choice < 1 || model_choice > 6) return std::nullopt;
    int distribution = 1;
    number = 1016;
    core::SHOWMENU(kDistributions, 0, 2, distribution, number);
    if (distribution < 1 || distribution > 2) continue;
    GarchModel model;
    model.in_mean = model_choice % 2 == 0;
    model.form = model_choice <= 2 ? VarianceForm::kPlain
                 : model_choice <= 4 ? VarianceForm::kAbsolute
                                     : VarianceForm::kExponential;
    model.student_t = distribution == 2;
    return model;
  }
}

void write_lag_panel() {
  int status = 0;
  core::OPENTEMPFILE(core::kCreatePanel, status);
  for (const std::string_view line :
       {" Use the screen editor to specify/edit the non-zero lags in the AR and MA", " parts of GARCH:", "",
        " Separate the two sets of numbers by ;.", " Each set of numbers should be in ascending order.",
        " A set can contain only a single 0.", "", " Examples:", " To specify an ARCH(1) type: 0 ; 1",
        " To specify a GARCH(2,1) type: 1 2 ; 1", " To specify a restricted ARCH(4) type:  0 ; 4",
        " To specify OLS/ML estimation type: 0 ; 0"})
    core::WRITELINE(line, core::channel::kEditorPanel);
}

/// The lag sets and the variance-equation variables, checked against the parameter
/// limit; false when the user cancelled.
bool specify_variance_equation(GarchModel& model, std::vector<int>& variables, std::vector<std::string>& names) {
  static std::string text;  // the editor keeps the last text typed
  core::EditorCursor cursor;
  while (true) {
    write_lag_panel();
    core::set_editor_title({" Use the editor to specify/edit the non-zero lags in the AR and MA parts of GARCH:"});
    const int answer = core::SCREENEDITOR(text, cursor, 1, "LST", 14);
    int status = 0;
    core::OPENTEMPFILE(4, status);
    if (answer != core::kEditorAccepted) return false;
    const GarchLagSets sets = parse_garch_lags(text);
    if (!sets.valid) {
      core::BEEP();
      continue;
    }
    if (!sets.ar.empty() && sets.ma.empty()) {
      core::SHOWMESSAGE(" A GARCH(P,0) is not identified!");
      continue;
    }
    core::SpecRequest request;
    request.kind = method::kGarch;
    const auto& s = estimation();
    request.model_dependent = s.eqvarnames.empty() ? std::string() : s.eqvarnames.front();
    if (s.eqvarnames.size() > 1) request.model_names.assign(s.eqvarnames.begin() + 1, s.eqvarnames.end());
    const core::SpecResult result = core::SPECIFYMODEL(request);
    if (result.cancelled) return false;
    model.ar_lags = sets.ar;
    model.ma_lags = sets.ma;
    model.variance_variables = static_cast<int>(result.numbers.size());
    if (garch_parameter_count(model) > kMaxGarchParameters) {
      core::SHOWMESSAGE(" Total number of parameters in the model is more than " + std::to_string(kMaxGarchParameters) +
                        ", the maximum allowed!");
      continue;
    }
    variables = result.numbers;
    names = result.names;
    return true;
  }
}

/// The initial-value grid with its checks; false when cancelled. theta holds w = 1/v for
/// t errors on return.
bool initial_values(const GarchModel& model, std::vector<double>& theta) {
  std::vector<std::string> names;
  for (int j = 1; j <= model.regressors; ++j) names.push_back(estimation().eqvarnames.at(static_cast<size_t>(j)));
  for (int i = 1; i <= garch_parameter_count(model) - model.regressors; ++i)
    names.push_back(error_parameter_label(i));
  const size_t df = theta.size() - 1;
  while (true) {
    int flag = 0;
    core::EDITINITVALUES(theta, names, core::kGarchParameters, flag);
    if (flag != 0) return false;
    if (model.form != VarianceForm::kExponential) {
      const double sum = garch_lag_sum(model, theta);
      const double unconditional = theta[static_cast<size_t>(garch_constant_index(model))] / (1.0 - sum);
      if (!(unconditional > 0.0)) {
        core::SHOWOK(core::kError, core::kNoHelp, " Chosen initial values imply -ve unconditional variance!");
        continue;
      }
      if (sum >= 1.0) {
        core::SHOWMESSAGE(
            "Initial values of GARCH parameters are not appropriate!  The sum of AR and MA coefficients must be less "
            "than one! Please try again.");
        continue;
      }
    }
    if (model.student_t) theta[df] = 1.0 / std::max(theta[df], 2.0 + kTolerance);
    return true;
  }
}

/// The damping factor, asked until it lies in 0.01..2.0 (compared in single precision);
/// nullopt when cancelled.
std::optional<double> ask_damping() {
  float value = 0.01F;
  while (true) {
    int status = core::kDialogOk;
    core::ASKREAL(core::kNoHelp, value, status, "Damping factor(Min 0.01, Max 2.0)?");
    if (status != core::kDialogOk) return std::nullopt;
    if (value >= 0.01F && value <= 2.0F) return static_cast<double>(value);
  }
}

/// Whether the rows first..last of the variables hold no missing value.
bool rows_present(const std::vector<int>& variables, int first, int last) {
  for (int t = first; t <= last; ++t)
    for (const int v : variables)
      if (core::data_at(t, v) == limits::kMissing) return false;
  return true;
}

/// The model's data over the sample. Lags that reach before the sample use the data
/// there when it exists; otherwise the sample start moves forward by the largest lag
/// (and the estimation state's sample with it).
GarchData garch_data(const GarchModel& model, const std::vector<int>& variance_variables, double s0) {
  auto& g = core::globals();
  const auto& s = estimation();
  const int largest = std::max(model.ar_lags.empty() ? 0 : model.ar_lags.back(),
                               model.ma_lags.empty() ? 0 : model.ma_lags.back());
  std::vector<int> mean_variables = s.eqvarlist;
  std::vector<int> all = mean_variables;
  all.insert(all.end(), variance_variables.begin(), variance_variables.end());
  if (largest > 0 && !(g.sample_start - largest >= 1 && rows_present(all, g.sample_start - largest, g.sample_start - 1))) {
    g.sample_start += largest;
    load_sample();
  }
  GarchData data;
  data.presample = largest;
  data.s0 = s0;
  const int first = g.sample_start - largest;
  const auto column = [&](int v) {
    std::vector<double> values;
    for (int t = first; t <= g.sample_end; ++t) values.push_back(core::data_at(t, v));
    return values;
  };
  data.y = column(s.eqvarlist.front());
  for (size_t j = 1; j < s.eqvarlist.size(); ++j) data.x.push_back(column(s.eqvarlist[j]));
  for (const int v : variance_variables) data.z.push_back(column(v));
  return data;
}

/// Tells the user why the maximisation failed.
void report_failure(const GarchFit& fit) {
  switch (fit.end) {
    case GarchEnd::kLikelihoodFailed:
      switch (fit.stop) {
        case GarchStop::kUnstableLag:
          core::SHOWMESSAGE(" Very large values of H due to instability of GARCH encountered");
          break;
        case GarchStop::kSmallVariance: core::SHOWMESSAGE(" Small or negative conditional variance/standard errors!"); break;
        case GarchStop::kLargeDf: core::SHOWMESSAGE("Large D.F. for t, try a normal distribution!"); break;
        case GarchStop::kSmallDf: core::SHOWMESSAGE("Small D.F. for t-distribution encountered!"); break;
        default: core::SHOWMESSAGE(" Very large conditional variance/standard errors encountered! "); break;
      }
      MLFAILADVICE();
      break;
    case GarchEnd::kScoreOverflow: core::SHOWMSGFILE(core::msg::kOverflow); break;
    case GarchEnd::kCollinearScores:
      core::SHOWMESSAGE(" The derivatives of log-likelihood w.r.t. parameters are collinear!");
      MLFAILADVICE();
      break;
    case GarchEnd::kNoUphillStep: MLFAILADVICE(); break;
    case GarchEnd::kNotPositiveDefinite:
      core::SHOWOK(core::kError, core::kNoHelp, "The variance-covariance matrix of estimates is notpositive definite!");
      break;
    default: break;
  }
}

/// Leaves the estimate in the estimation state: the coefficients with the degrees of
/// freedom in place of their reciprocal, the absolute variance matrix (its row and column
/// of the degrees of freedom by the delta method), residuals, fitted values and the
/// conditional standard deviations.
void store_estimate(const GarchModel& model, const GarchData& data, std::vector<double> theta, const GarchFit& fit) {
  auto& s = estimation();
  const int n = data.observations();
  const int m = static_cast<int>(theta.size());
  std::vector<double> l(static_cast<size_t>(n)), e(static_cast<size_t>(data.rows())), sd(static_cast<size_t>(data.rows()));
  garch_loglik(model, data, theta, l, e, sd);
  std::vector<double> variance = fit.variance;
  if (model.student_t) {
    const double v = 1.0 / theta.back();
    const double jacobian = -v * v;  // dv/dw
    for (int i = 1; i <= m; ++i) variance[static_cast<size_t>(core::PACKEDINDEX(m, i) - 1)] *= jacobian;
    variance[static_cast<size_t>(core::PACKEDINDEX(m, m) - 1)] *= jacobian;
    theta.back() = v;
  }
  long double rss = 0.0L;
  s.garch.conditional_sd.assign(static_cast<size_t>(n), 0.0);
  for (int t = 1; t <= n; ++t) {
    const auto row = static_cast<size_t>(data.presample + t - 1);
    residual(t) = e[row];
    fitted(t) = actual(t) - e[row];
    rss += static_cast<long double>(e[row]) * e[row];
    s.garch.conditional_sd[static_cast<size_t>(t - 1)] = sd[row];
  }
  for (int i = 1; i <= m; ++i) {
    coefficient(i) = theta[static_cast<size_t>(i - 1)];
    const double var = variance[static_cast<size_t>(core::PACKEDINDEX(i, i) - 1)];
    const double se = var > 0.0 ? std::sqrt(var) : limits::kMissing;
    s.result[static_cast<size_t>(block::kStdErrors + i - 1)] = se;
    s.result[static_cast<size_t>(block::kTRatios + i - 1)] = se == limits::kMissing ? limits::kMissing : theta[static_cast<size_t>(i - 1)] / se;
  }
  s.variance = std::move(variance);
  s.scale = VarianceScale::kAbsolute;
  s.rss = static_cast<double>(rss);
  s.sigma = n > s.nregs ? std::sqrt(s.rss / (n - s.nregs)) : limits::kMissing;
  s.loglik = fit.loglik;
  s.iterations = fit.iterations;
  s.convergence = fit.end == GarchEnd::kConverged ? 0 : 1;
  s.status = status::kEstimated;
}

}  // namespace

GarchLagSets parse_garch_lags(std::string_view text) {
  GarchLagSets sets;
  const auto semicolon = text.find(';');
  if (semicolon == std::string_view::npos) return sets;
  auto ar = parse_set(text.substr(0, semicolon));
  auto ma = parse_set(text.substr(semicolon + 1));
  if (!ar || !ma) return sets;
  sets.valid = true;
  sets.ar = std::move(*ar);
  sets.ma = std::move(*ma);
  return sets;
}

void GARCHESTIMATE(bool interactive) {
  auto& s = estimation();
  double mean_square = 0.0, ols_loglik = 0.0;
  RESIDUALSUMMARY(mean_square, ols_loglik, interactive);
  if (s.status != status::kEstimated) return;
  s.status = status::kFailed;
  const double s0 = s.sigma;

  std::optional<GarchModel> chosen = choose_model();
  if (!chosen) return;
  GarchModel model = *chosen;
  model.regressors = s.nregs;
  std::vector<int> variables;
  std::vector<std::string> names;
  if (!specify_variance_equation(model, variables, names)) return;

  // The state describes the model from here on: labels and parameter counts read it.
  auto& g = s.garch;
  g = GarchFlags{};
  g.ar_lags = model.ar_lags;
  g.ma_lags = model.ma_lags;
  g.p = static_cast<int>(model.ar_lags.size());
  g.q = static_cast<int>(model.ma_lags.size());
  g.absolute = model.form == VarianceForm::kAbsolute;
  g.exponential = model.form == VarianceForm::kExponential;
  g.in_mean = model.in_mean;
  g.distribution = model.student_t ? 1 : 0;
  g.variance_variables = variables;
  g.variance_names = names;

  const int m = garch_parameter_count(model);
  const int largest = std::max(model.ar_lags.empty() ? 0 : model.ar_lags.back(),
                               model.ma_lags.empty() ? 0 : model.ma_lags.back());
  if (s.nused - largest <= m) {
    core::SHOWMESSAGE(" Not enough observations! Can't estimate. ");
    return;
  }

  std::vector<double> regression(static_cast<size_t>(s.nregs));
  for (int j = 1; j <= s.nregs; ++j) regression[static_cast<size_t>(j - 1)] = coefficient(j);
  std::vector<double> theta = garch_start(model, regression);
  if (!initial_values(model, theta)) return;
  const std::optional<double> damping = ask_damping();
  if (!damping) return;
  core::SHOWCALCULATING();

  const GarchData data = garch_data(model, variables, s0);
  const LimitHandler on_limit = [](int& limit, bool& abandon, bool& print) {
    ITERATIONLIMIT(limit, true, abandon, print);
  };
  const NonstationaryQuestion ask = [] {
    return core::ASKYESNO(core::kNoHelp, "Nonstationarity encountered! Do you want to continue?");
  };
  const GarchFit fit = fit_garch(model, data, theta, *damping, on_limit, ask);
  if (fit.end != GarchEnd::kConverged && fit.end != GarchEnd::kNotConverged) {
    s.convergence = 2;
    report_failure(fit);
    return;
  }
  store_estimate(model, data, theta, fit);
}

}  // namespace qorv::single
