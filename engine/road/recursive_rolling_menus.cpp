#include "engine/road/recursive_rolling_menus.h"

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/menu_system.h"
#include "engine/core/model_spec.h"
#include "engine/core/plot_writer.h"
#include "engine/core/variable_list.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/result_series.h"
#include "engine/single/estimation_state.h"
#include "engine/single/recursive_rolling_estimators.h"
#include "shared/exchange_slots.h"
#include "shared/plot_file.h"

namespace qorv::road {

using namespace qorv::single;

namespace {

size_t at(int i) { return static_cast<size_t>(i); }

namespace kind = diagnostics::series_kind;

/// Leaves the status word at "failed" on every exit: the state holds no single estimate
/// for the post-regression dialogue or the Backtracking Menu.
struct NoSingleEstimate {
  NoSingleEstimate() = default;
  ~NoSingleEstimate() { estimation().status = status::kFailed; }
  NoSingleEstimate(const NoSingleEstimate&) = delete;
  NoSingleEstimate& operator=(const NoSingleEstimate&) = delete;
};

/// The regressor names of the current equation.
std::vector<std::string> regressor_names() {
  const auto& names = estimation().eqvarnames;
  return names.size() > 1 ? std::vector<std::string>(names.begin() + 1, names.end()) : std::vector<std::string>{};
}

/// A time plot of `series` (each with at least first + count values, dated from the
/// sample start) over their values first..first + count − 1 (0-based).
void plot_span(std::string title, const std::vector<std::vector<double>>& series,
               const std::vector<std::string>& names, int first, int count) {
  if (count < 1) return;
  std::vector<double> data;
  std::vector<int> columns;
  for (const auto& values : series) {
    columns.push_back(static_cast<int>(columns.size()) + 1);
    data.insert(data.end(), values.begin() + first, values.begin() + first + count);
  }
  int type = static_cast<int>(plot_file::PlotType::kTime);
  int status = 0;
  core::PLOTSERIES(data, count, count, 0, core::globals().sample_start - 1 + first, columns,
                   static_cast<int>(series.size()), names, 0.0, count, type, title, status);
}

/// The coefficient and its two bands; the bands are missing where the standard error is.
std::vector<std::vector<double>> with_bands(std::span<const double> coef, std::span<const double> se) {
  std::vector<std::vector<double>> out(3, std::vector<double>(coef.begin(), coef.end()));
  for (size_t t = 0; t < coef.size(); ++t) {
    const bool known = coef[t] != limits::kMissing && se[t] != limits::kMissing;
    out[1][t] = known ? coef[t] + 2.0 * se[t] : limits::kMissing;
    out[2][t] = known ? coef[t] - 2.0 * se[t] : limits::kMissing;
  }
  return out;
}

/// Square roots of the values that are not missing.
std::vector<double> roots(std::span<const double> v) {
  std::vector<double> out(v.begin(), v.end());
  for (double& x : out)
    if (x != limits::kMissing) x = std::sqrt(x);
  return out;
}

/// Column j of an n-row column-major array.
std::span<const double> column(const std::vector<double>& m, size_t n, int j) {
  return std::span<const double>(m).subspan(at(j) * n, n);
}

/// The menu's default: plots when they can be drawn, else the first save.
int default_choice() { return core::driver_state().plot_availability != 0 ? 1 : 3; }

/// What a choice of either result menu needs before it acts (1 and 2 plot, 1, 3 and 4 are
/// for one regressor): false when the menu comes again, because plots cannot be drawn
/// (plot-availability word 0) or the choice of regressor was cancelled; `j` the picked
/// regressor (from 0).
bool ready(int option, const std::vector<std::string>& names, int& j) {
  if ((option == 1 || option == 2) && core::driver_state().plot_availability == 0) return false;
  if (option != 1 && option != 3 && option != 4) return true;
  const int picked = core::PICKVARIABLE(names);
  j = picked - 1;
  return picked >= 1;
}

/// Predictions x'b_(t−1) from k variables the user names (specification kind 24); false
/// when the user cancelled.
bool predictions_from_named(const RecursiveSeries& r, std::vector<double>& out) {
  core::SpecRequest request;
  request.kind = 24;
  request.required = r.k;
  request.model_dependent = estimation().eqvarnames.empty() ? "" : estimation().eqvarnames[0];
  request.model_names = regressor_names();
  const core::SpecResult spec = core::SPECIFYMODEL(request);
  if (spec.cancelled || static_cast<int>(spec.numbers.size()) != r.k) return false;
  const int n = estimation().nused, start = core::globals().sample_start;
  std::vector<double> v;
  v.reserve(at(n) * at(r.k));
  for (const int var : spec.numbers)
    for (int t = 1; t <= n; ++t) v.push_back(core::data_at(start + t - 1, var));
  out = recursive_predictions(r, v);
  return true;
}

/// Saves a rolling series (W values) with h − 1 leading missing values.
void save_rolling(std::span<const double> values, int h, int series_kind) {
  std::vector<double> padded(at(h - 1), limits::kMissing);
  padded.insert(padded.end(), values.begin(), values.end());
  diagnostics::SAVERESULTSERIES(padded, series_kind, 0);
}

}  // namespace

void RECURSIVEMENU() {
  const NoSingleEstimate after;
  const int code = estimation().method;
  const std::string road = code == method::kRecursive2sls ? "IV" : "OLS";
  const RecursiveSeries& r = recursive_rolling_store().recursive;
  const int n = estimation().nused;
  if (r.m == 0 || r.s2.size() != at(n)) return;
  const size_t rows = at(n);
  const int first_plotted = r.m - 1 + (n - r.m) / 4;  // 0-based: (N − m) div 4 after the first estimate
  const std::vector<std::string> names = regressor_names();
  int choice = default_choice();
  for (;;) {
    core::RECURSIVERESULTSMENU(choice, code);
    const int option = choice;
    if (option < 1 || option > 8) return;
    int j = 0;
    if (!ready(option, names, j)) continue;
    switch (option) {
      case 1:
        plot_span("Coef. of " + names[at(j)] + " and its 2 S.E. bands based on recursive " + road,
                  with_bands(column(r.coef, rows, j), column(r.coef_se, rows, j)),
                  {names[at(j)], "Upper band", "Lower band"}, first_plotted, n - first_plotted);
        break;
      case 2:
        plot_span("Plot of the regression standard errors of recursive " + road, {roots(r.s2)}, {"S.E. of Regr."},
                  first_plotted, n - first_plotted);
        break;
      case 3: diagnostics::SAVERESULTSERIES(column(r.coef, rows, j), kind::kRecursiveCoefficient, 0); break;
      case 4: diagnostics::SAVERESULTSERIES(column(r.coef_se, rows, j), kind::kRecursiveCoefficientSe, 0); break;
      case 5: diagnostics::SAVERESULTSERIES(roots(r.s2), kind::kRecursiveRegressionSe, 0); break;
      case 6: diagnostics::SAVERESULTSERIES(r.resid, kind::kRecursiveResiduals, 0); break;
      case 7: diagnostics::SAVERESULTSERIES(r.pred, kind::kRecursivePredictions, 0); break;
      default: {
        std::vector<double> predictions;
        if (predictions_from_named(r, predictions))
          diagnostics::SAVERESULTSERIES(predictions, kind::kRecursivePredictions + 1, 0);
        break;
      }
    }
  }
}

void ROLLINGPLOTS() {
  const NoSingleEstimate after;
  const int code = estimation().method;
  const std::string road = code == method::kRolling2sls ? "IV" : "OLS";
  const RollingSeries& r = recursive_rolling_store().rolling;
  if (r.windows < 1) return;
  const size_t w = at(r.windows);
  const std::vector<std::string> names = regressor_names();
  const int first = r.h - 1;  // the first window ends at sample observation h
  for (;;) {
    int choice = default_choice();
    core::ROLLINGRESULTMENU(choice);
    const int option = choice;
    if (option < 1 || option > 5) return;
    int j = 0;
    if (!ready(option, names, j)) continue;
    // Rolling series are dated from sample observation h: pad them to the sample for the plots.
    const auto padded = [&](std::span<const double> v) {
      std::vector<double> out(at(first), limits::kMissing);
      out.insert(out.end(), v.begin(), v.end());
      return out;
    };
    switch (option) {
      case 1: {
        std::vector<std::vector<double>> bands = with_bands(column(r.coef, w, j), column(r.se, w, j));
        for (auto& b : bands) b = padded(b);
        plot_span("Coefficient of " + names[at(j)] + " and its two*S.E. bands based on rolling " + road, bands,
                  {names[at(j)], "Upper band", "Lower band"}, first, r.windows);
        break;
      }
      case 2:
        plot_span("Plot of standard errors of rolling " + road + " regressions", {padded(r.sigma)}, {"S.E. of Regr."},
                  first, r.windows);
        break;
      case 3: save_rolling(column(r.coef, w, j), r.h, kind::kRollingCoefficients); break;
      case 4: save_rolling(column(r.se, w, j), r.h, kind::kRollingCoefficientSe); break;
      default: save_rolling(r.sigma, r.h, kind::kRollingRegressionSe); break;
    }
  }
}

}  // namespace qorv::road
