#include "engine/road/logit_probit.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/menu_system.h"
#include "engine/core/message_lines.h"
#include "engine/core/results_page.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "engine/diagnostics/result_series.h"
#include "engine/diagnostics/wald_options.h"
#include "engine/road/run_estimation.h"
#include "engine/single/binary_estimate.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "engine/single/estimation_titles.h"
#include "engine/single/forecast_period.h"
#include "engine/single/iteration_limit.h"
#include "engine/single/logit_probit_report.h"
#include "engine/single/result_report.h"
#include "shared/exchange_slots.h"
#include "shared/plot_file.h"

namespace qorv::road {

using namespace single;

namespace {

constexpr int kIterationLimit = 40;

/// Post Estimation Menu options.
enum PostEstimationOption : int {
  kBackToEstimationMenu = 0,
  kDisplayAgain = 1,
  kListFitted = 2,
  kPlotFitted = 3,
  kSaveProbabilities = 4,
  kWaldTest = 5,
  kParameterFunctions = 6,
  kForecast = 7,
};

/// The estimation data's storage, kept from request to request: a fresh regressor matrix
/// of a long sample costs the memory system more than the estimate costs.
BinaryData& kept_data() {
  static BinaryData data;
  return data;
}

/// What the post-estimation dialogue keeps: the estimate and its data, and the forecasts.
struct Session {
  Session(BinaryModel m, BinaryData& storage) : model(m), data(storage) {}
  BinaryModel model = BinaryModel::kLogit;
  BinaryData& data;
  BinaryEstimate estimate;
  BinaryStatistics statistics;
  int forecast_first = 0;
  BinaryData ahead;
  std::vector<double> forecast_prob;
};

std::string dependent_name() {
  const auto& s = estimation();
  return s.eqvarnames.empty() ? std::string() : s.eqvarnames.front();
}

/// Whether every value of the dependent variable in the sample is 0 or 1.
bool dependent_is_binary() {
  const auto& s = estimation();
  const auto& g = core::globals();
  if (s.eqvarlist.empty() || s.eqvarlist[0] < 1 || s.eqvarlist[0] > g.nvars) return false;
  for (int t = std::max(1, g.sample_start); t <= std::min(g.sample_end, g.nobs); ++t) {
    const double y = core::data_at(t, s.eqvarlist[0]);
    if (y != 0.0 && y != 1.0) return false;
  }
  return true;
}

int estimation_menu(int& choice) {
  static const std::vector<std::string> kRows = {"Logit/Probit Estimation Menu", "Move to Backtracking Menu",
                                                 "Estimate/Test/Forecast with a Logit model",
                                                 "Estimate/Test/Forecast with a Probit model"};
  int number = 1027;
  core::SHOWMENU(kRows, 0, 2, choice, number);
  return choice;
}

int post_estimation_menu(BinaryModel model, int& choice) {
  const std::vector<std::string> rows = {
      model == BinaryModel::kLogit ? "Post Estimation Menu (Logit Model)" : "Post Estimation Menu (Probit Model)",
      "Return to Logit/Probit Estimation Menu",
      "Display results again",
      "List actual and fitted values, and fitted probabilities",
      "Plot actual values and fitted probabilities",
      "Save fitted probabilities (and forecasts if any)",
      "Wald test of linear/nonlinear restrictions",
      "Estimate/test functions of parameters of the model",
      "Compute forecasts"};
  int number = 1029;
  core::SHOWMENU(rows, 0, 7, choice, number);
  return choice;
}

void show_estimate(const Session& session) {
  const int page = core::channel::kResultsPage;
  core::SHOWRESULTS(core::kOpenPage);
  REGRESSIONTABLE(estimation().method, page);
  write_binary_statistics(session.statistics, dependent_name(), page);
  core::SHOWRESULTS(core::kShowPage);
}

void show_fit_table(const Session& session) {
  const int page = core::channel::kResultsPage;
  core::SHOWRESULTS(core::kOpenPage);
  BASEDONHEADER(estimation().method, page);
  const BinaryPeriod sample{core::globals().sample_start, session.data.y, session.estimate.prob};
  const BinaryPeriod ahead{session.forecast_first, session.ahead.y, session.forecast_prob};
  LOGITPROBITTABLE(sample, ahead, dependent_name(), page);
  core::SHOWRESULTS(core::kShowPage);
}

void plot_fit(const Session& session) {
  diagnostics::plot_over_sample("Plot of Actual Values and Fitted Proababilities",
                         {session.data.y, session.estimate.prob}, {dependent_name(), "Probability"},
                         static_cast<int>(plot_file::PlotType::kTime));
}

void save_probabilities(const Session& session) {
  std::vector<double> series = session.estimate.prob;
  series.insert(series.end(), session.forecast_prob.begin(), session.forecast_prob.end());
  const int extra = static_cast<int>(session.forecast_prob.size());
  diagnostics::SAVERESULTSERIES(series, extra > 0 ? diagnostics::series_kind::kFittedAndForecasts : diagnostics::series_kind::kFitted,
                         extra);
}

/// Option 7: the forecast period, the probabilities over it, and the table with them.
void forecast(Session& session) {
  auto& s = estimation();
  const auto& g = core::globals();
  const std::vector<int> regressors(s.eqvarlist.begin() + 1, s.eqvarlist.end());
  const int first = g.sample_end + 1;
  int last = g.nobs;
  if (FORECASTPERIOD(g.nobs, first, last, regressors, kCheckRegressors)) return;
  session.forecast_first = first;
  binary_equation_data(first, last, session.ahead);
  session.forecast_prob.assign(static_cast<std::size_t>(session.ahead.n), 0.0);
  double loglik = 0.0;
  LOGITPROBITLIK(session.model, session.ahead, session.estimate.b, session.forecast_prob, loglik);
  const int stored = std::min(session.ahead.n, block::kMaxParameters);
  std::copy_n(session.forecast_prob.begin(), stored, s.result.begin() + block::kForecasts);
  s.forecast_count = stored;
  show_fit_table(session);
}

void post_estimation(Session& session) {
  show_estimate(session);
  int choice = kDisplayAgain;
  while (true) {
    post_estimation_menu(session.model, choice);
    const int option = choice;
    choice = kDisplayAgain;
    switch (option) {
      case kDisplayAgain: show_estimate(session); break;
      case kListFitted: show_fit_table(session); break;
      case kPlotFitted: plot_fit(session); break;
      case kSaveProbabilities: save_probabilities(session); break;
      case kWaldTest: diagnostics::single_equation_wald(diagnostics::RelationMode::kRestrictions); break;
      case kParameterFunctions: diagnostics::single_equation_wald(diagnostics::RelationMode::kFunctions); break;
      case kForecast: forecast(session); break;
      default: return;
    }
  }
}

/// One estimate of `model` over the current sample: the checks, the estimate and its
/// dialogue. False when nothing was estimated.
bool estimate_and_report(BinaryModel model) {
  auto& s = estimation();
  forget_instruments();
  begin_estimate(binary_method_code(model));
  s.status = status::kFailed;
  if (!load_sample()) {
    core::SHOWOK(core::kError, core::kNoHelp, limit_text("Too many observations/variables (>", block::kMaxSeries));
    return false;
  }
  if (s.nused <= s.nregs) {
    core::SHOWMSGFILE(core::msg::kTooFewForRegressors);
    return false;
  }
  Session session{model, kept_data()};
  const auto& g = core::globals();
  binary_equation_data(g.sample_start, g.sample_end, session.data);
  if (!LOGITPROBITML(model, session.data, session.estimate, core::driver_state().interactive)) return false;
  session.statistics = binary_statistics(model, session.data, session.estimate);
  post_estimation(session);
  return true;
}

}  // namespace

bool LOGITPROBITML(BinaryModel model, const BinaryData& data, BinaryEstimate& estimate, bool interactive) {
  auto& s = estimation();
  s.status = status::kFailed;
  const diagnostics::BusyNotice busy;
  estimate = binary_start(data);
  int limit = kIterationLimit;
  while (true) {
    const BinaryMlStatus result = binary_newton(model, data, estimate, limit);
    switch (result) {
      case BinaryMlStatus::kConverged:
        store_binary_estimate(model, estimate, true);
        s.status = status::kEstimated;
        return true;
      case BinaryMlStatus::kUndefined:
        core::SHOWOK(core::kError, core::kNoHelp, "The likelihood function is not defined!");
        return false;
      case BinaryMlStatus::kSingular:
        core::SHOWOK(core::kInformation, core::kNoHelp, " Non-singular variance-covariance matrix! ");
        return false;
      case BinaryMlStatus::kLimitReached: {
        bool abandon = false, print = false;
        ITERATIONLIMIT(limit, interactive, abandon, print, kIterationIncrement);
        if (abandon) return false;
        if (print) {
          store_binary_estimate(model, estimate, false);
          s.status = status::kEstimated;
          return true;
        }
        break;
      }
    }
  }
}

void LOGITPROBIT() {
  if (!dependent_is_binary()) {
    core::SHOWOK(core::kError, core::kNoHelp, "Dependent variable contains number(s) other than zeroes or ones!");
    return;
  }
  int choice = 1;
  while (true) {
    estimation_menu(choice);
    if (choice != 1 && choice != 2) return;
    estimate_and_report(choice == 1 ? BinaryModel::kLogit : BinaryModel::kProbit);
  }
}

}  // namespace qorv::road
