#include "engine/diagnostics/single_forecast.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>
#include <string>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/number_format.h"
#include "engine/core/obs_label.h"
#include "engine/core/plot_writer.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/results_page.h"
#include "engine/core/text_format.h"
#include "engine/core/workspace.h"
#include "engine/data/formula_evaluator.h"
#include "engine/diagnostics/chow_tests.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "engine/single/estimation_state.h"
#include "engine/single/estimation_titles.h"
#include "engine/single/forecast_period.h"
#include "engine/single/garch_forecast.h"
#include "engine/single/nonlinear_estimate.h"
#include "shared/exchange_slots.h"
#include "shared/plot_file.h"

namespace qorv::diagnostics {

namespace {

namespace method = single::method;
constexpr double kMissing = limits::kMissing;
constexpr int kLineWidth = 79;
constexpr double kChowThreshold = 1e-11;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

/// The lag w > 0 of regressor j (from 0) when it is the dependent variable lagged w
/// periods, else 0.
int dependent_lag(int j) {
  const auto& s = single::estimation();
  const single::RegressorLag& r = s.reglagtable[at(j)];
  return !s.eqvarlist.empty() && r.variable == s.eqvarlist.front() && r.lag < 0 ? -r.lag : 0;
}

bool has_standard_errors(int code) {
  return code == method::kOls || code == method::kIv || code == method::kArdl || code == method::kArdlLongRun;
}

/// x(t)'b over the regressors' data at observation t; the missing value when one is missing.
double data_fit(int t) {
  const auto& s = single::estimation();
  long double sum = 0.0L;
  for (int j = 0; j < s.nregs; ++j) {
    const double x = core::data_at(t, s.eqvarlist[at(j) + 1]);
    if (x == kMissing) return kMissing;
    sum += static_cast<long double>(x) * single::coefficient(j + 1);
  }
  return static_cast<double>(sum);
}

/// The error parameter of lag q (0 when q is not among the estimate's lags).
double error_parameter(int q) {
  const auto& s = single::estimation();
  for (std::size_t i = 0; i < s.arma_lags.size(); ++i)
    if (s.arma_lags[i] == q) return single::coefficient(s.nregs + static_cast<int>(i) + 1);
  return 0.0;
}

/// The error term of each forecast observation before the regressors are known: the AR
/// recursion needs the in-sample residuals y − x'b, the MA extension the innovations.
std::vector<double> error_terms(int count) {
  const auto& s = single::estimation();
  const auto& g = core::globals();
  std::vector<double> u(at(count), 0.0);
  if (s.arma_lags.empty()) return u;
  const int T = g.sample_end;
  if (single::has_ma_errors(s.method)) {
    const auto e = single::series_block(single::block::kTransformedResiduals);
    for (int i = 1; i <= count; ++i) {
      long double sum = 0.0L;
      for (int q : s.arma_lags) {
        const int t = T + i - q;  // only observations of the sample contribute
        if (q >= i && t >= g.sample_start) sum += static_cast<long double>(error_parameter(q)) * e[at(t - g.sample_start)];
      }
      u[at(i - 1)] = static_cast<double>(sum);
    }
    return u;
  }
  const int p = s.arma_lags.back();
  // past[r] = u(T − r), r = 0..p − 1, from the sample's data (0 before the sample).
  std::vector<double> past(at(p), 0.0);
  for (int r = 0; r < p; ++r) {
    const int t = T - r;
    if (t < g.sample_start) break;
    const double fit = data_fit(t), y = core::data_at(t, s.eqvarlist.front());
    past[at(r)] = fit == kMissing || y == kMissing ? 0.0 : y - fit;
  }
  for (int i = 1; i <= count; ++i) {
    long double sum = 0.0L;
    for (int q : s.arma_lags) {
      const int back = i - q;  // forecast index (from 1) of u(T + i − q), or ≤ 0 in the sample
      const double value = back >= 1 ? u[at(back - 1)] : past[at(-back)];
      sum += static_cast<long double>(error_parameter(q)) * value;
    }
    u[at(i - 1)] = static_cast<double>(sum);
  }
  return u;
}

bool nonlinear(int code) { return code == method::kNls || code == method::kNl2sls; }

/// Whether the non-linear equation of the session is the current estimate's.
bool nonlinear_equation_fits() {
  const auto& s = single::estimation();
  const single::NonLinearFormula& formula = single::nonlinear_equation().formula;
  return s.nregs >= 1 && formula.parameters.size() == at(s.nregs) && !s.eqvarlist.empty() &&
         formula.dependent == s.eqvarlist.front();
}

/// The workspace variables the non-linear formula reads, but its dependent variable.
std::vector<int> formula_regressors() {
  const single::NonLinearFormula& formula = single::nonlinear_equation().formula;
  std::vector<int> variables;
  for (const data::FormulaOp& op : formula.program.ops)
    if (op.kind == data::FormulaOp::kVariable && op.index != formula.dependent &&
        std::find(variables.begin(), variables.end(), op.index) == variables.end())
      variables.push_back(op.index);
  return variables;
}

/// The GARCH model of the current estimate.
single::GarchModel garch_model() {
  const auto& s = single::estimation();
  single::GarchModel model;
  model.form = s.garch.exponential ? single::VarianceForm::kExponential
               : s.garch.absolute  ? single::VarianceForm::kAbsolute
                                   : single::VarianceForm::kPlain;
  model.in_mean = s.garch.in_mean;
  model.student_t = s.garch.distribution != 0;
  model.ar_lags = s.garch.ar_lags;
  model.ma_lags = s.garch.ma_lags;
  model.regressors = s.nregs;
  model.variance_variables = static_cast<int>(s.garch.variance_variables.size());
  return model;
}

/// The conditional standard deviations of the `count` observations after the sample,
/// from the estimate's residuals and standard deviations; not defined when the variance
/// equation leaves its bounds or the estimate does not describe a model.
single::GarchVarianceForecast garch_forecast(int count) {
  const auto& s = single::estimation();
  const auto& g = core::globals();
  const single::GarchModel model = garch_model();
  const int m = single::garch_parameter_count(model);
  if (s.garch.conditional_sd.size() != at(s.nused) || s.nused < 1) return {};
  single::GarchHistory history;
  const auto residuals = single::series_block(single::block::kResiduals);
  history.e.assign(residuals.begin(), residuals.begin() + s.nused);
  history.s = s.garch.conditional_sd;
  std::vector<std::vector<double>> z;
  for (const int v : s.garch.variance_variables) {
    auto& column = z.emplace_back();
    for (int i = 1; i <= count; ++i) column.push_back(core::data_at(g.sample_end + i, v));
  }
  std::vector<double> theta;
  for (int i = 1; i <= m; ++i) theta.push_back(single::coefficient(i));
  try {
    return single::garch_forecast_sd(model, theta, history, z, count);
  } catch (const std::invalid_argument&) {
    return {};
  }
}

void summarise(SingleForecast& f) {
  int m = 0;
  while (at(m) < f.error.size() && f.error[at(m)] != kMissing) ++m;
  f.m = m;
  if (m == 0) return;
  long double sum = 0.0L, abs_sum = 0.0L, squares = 0.0L;
  for (int i = 0; i < m; ++i) {
    const long double e = f.error[at(i)];
    sum += e;
    abs_sum += std::fabs(e);
    squares += e * e;
  }
  f.mean_error = static_cast<double>(sum / m);
  f.mean_abs_error = static_cast<double>(abs_sum / m);
  f.mean_square_error = static_cast<double>(squares / m);
  f.rmse = std::sqrt(f.mean_square_error);
}

/// `text` centred in the line width.
std::string centred(std::string text) {
  text.resize(kLineWidth, ' ');
  core::JUSTIFYTEXT(text, kLineWidth, 'C');
  return text;
}

std::string label(int t) { return core::plain_label(core::OBSLABEL(t)); }

/// One row of the table: the label, then each value `gaps` columns after the previous.
std::string table_row(int t, std::initializer_list<double> values, std::initializer_list<int> gaps) {
  std::string line(kLineWidth, ' ');
  core::APPENDOBSLABEL(line, 2, t);
  auto gap = gaps.begin();
  for (double v : values) core::APPENDTEXT(line, *gap++, core::FORMATREAL9(v));
  return line;
}

void write_page(const SingleForecast& f) {
  const auto& s = single::estimation();
  const int page = core::channel::kResultsPage;
  const int count = static_cast<int>(f.prediction.size());
  core::SHOWRESULTS(core::kOpenPage);
  core::WRITELINE(centred(f.dynamic ? "Single Equation Dynamic Forecasts" : "Single Equation Static Forecasts"), page);
  single::BASEDONHEADER(s.method, page);

  std::string heading(kLineWidth, ' ');
  heading.replace(0, 12, " Observation");
  const int gap = f.std_errors ? 8 : 13;
  for (const char* text : {"Actual", "Prediction", "Error"}) core::APPENDTEXT(heading, gap, text);
  if (f.std_errors) core::APPENDTEXT(heading, gap, "S.D. of Error");
  core::WRITELINE(heading, page);
  for (int i = 0; i < count; ++i) {
    const auto k = at(i);
    core::WRITELINE(f.std_errors ? table_row(f.first + i, {f.actual[k], f.prediction[k], f.error[k], f.sd_error[k]},
                                             {9, 7, 6, 6})
                                 : table_row(f.first + i, {f.actual[k], f.prediction[k], f.error[k]}, {14, 12, 11}),
                    page);
  }

  core::WRITESTARS(kLineWidth, page);
  core::WRITELINE("", page);
  core::WRITELINE(centred(f.dynamic ? "Summary statistics for single equation dynamic forecasts"
                                     : "Summary statistics for single equation static forecasts"),
                  page);
  core::WRITESTARS(kLineWidth, page);
  std::string based(kLineWidth, ' ');
  based.replace(0, 9, " Based on");
  core::APPENDINTEGER(based, 1, f.m);
  core::APPENDTEXT(based, 1, "observations from");
  core::APPENDTEXT(based, 1, label(f.first));
  core::APPENDTEXT(based, 1, "to");
  core::APPENDTEXT(based, 1, label(f.first + std::max(f.m, 1) - 1));
  core::WRITELINE(based, page);
  std::string line(kLineWidth, ' ');
  line.replace(0, 23, " Mean Prediction Errors");
  core::APPENDREAL(line, 4, ' ', f.m > 0 ? f.mean_error : kMissing);
  core::APPENDTEXT(line, 3, "Mean Sum Abs Pred Errors");
  core::APPENDREAL(line, 3, ' ', f.m > 0 ? f.mean_abs_error : kMissing);
  core::WRITELINE(line, page);
  line.assign(kLineWidth, ' ');
  line.replace(0, 24, " Sum Squares Pred Errors");
  core::APPENDREAL(line, 3, ' ', f.m > 0 ? f.mean_square_error : kMissing);
  core::APPENDTEXT(line, 3, "Root Mean Sumsq Pred Errors");
  core::APPENDREAL(line, 0, ' ', f.m > 0 ? f.rmse : kMissing);
  core::WRITELINE(line, page);
  if ((s.method == method::kOls || s.method == method::kArdl) && f.m > 0) {
    CHOWTESTS(f.m, s.nused, s.nregs, chow_sums(f.m), kChowThreshold, kForecastBlock, page);
  }
  core::WRITESTARS(kLineWidth, page);
  core::SHOWRESULTS(core::kShowPage);
}

/// Actual values and forecasts over the last F observations of the sample (as many as
/// the sample holds) and the forecast period, the marker at the end of the sample.
void plot_forecasts(const SingleForecast& f) {
  const auto& s = single::estimation();
  const int count = static_cast<int>(f.prediction.size());
  const int before = std::min(count, s.nused);
  const int start = f.first - before;
  const int n = before + count;
  std::vector<double> data(at(2 * n), kMissing);
  for (int i = 0; i < before; ++i) data[at(i)] = core::data_at(start + i, s.eqvarlist.front());
  for (int i = 0; i < count; ++i) {
    data[at(before + i)] = f.actual[at(i)];
    data[at(n + before + i)] = f.prediction[at(i)];
  }
  const std::vector<int> columns = {1, 2};
  const std::vector<std::string> names = {s.eqvarnames.empty() ? std::string() : s.eqvarnames.front(), "Forecast"};
  std::string title = f.dynamic ? "Plot of Actual and Single Equation Dynamic Forecast(s)"
                                : "Plot of Actual and Single Equation Static Forecast(s)";
  int type = static_cast<int>(plot_file::PlotType::kForecast), status = 0;
  core::PLOTSERIES(data, n, n, 0, start - 1, columns, 2, names, 0.0, before, type, title, status);
}

/// Keeps the forecasts in the estimate's blocks for the saves of the residuals menu.
void keep_forecasts(const SingleForecast& f) {
  auto& s = single::estimation();
  const int count = std::min(static_cast<int>(f.prediction.size()), single::block::kMaxParameters);
  for (int i = 0; i < count; ++i) {
    s.result[at(single::block::kForecasts + i)] = f.prediction[at(i)];
    s.result[at(single::block::kForecastErrors + i)] = f.std_errors ? f.sd_error[at(i)] : kMissing;
  }
  s.forecast_count = count;
}

/// The non-linear equation's dynamic forecasts of observations first..last.
SingleForecast nonlinear_forecasts(int first, int last) {
  const auto& s = single::estimation();
  const auto& g = core::globals();
  SingleForecast f;
  f.first = first;
  f.dynamic = true;
  std::vector<double> theta;
  for (int i = 1; i <= s.nregs; ++i) theta.push_back(single::coefficient(i));
  const data::FormulaData data{
      core::work_array().first(at(g.nobs) * at(g.nvars)), g.nobs, g.nvars, theta, kMissing};
  const std::vector<double> predictions =
      single::formula_forecast(single::nonlinear_equation().formula, data, first, last,
                               data::formula_stack_capacity(data::FormulaCaller::kEstimation, g.nobs, g.nvars));
  if (predictions.empty()) {
    f.stop = ForecastStop::kFormulaFailed;
    return f;
  }
  for (int t = first; t <= last; ++t) {
    const double y = core::data_at(t, s.eqvarlist.front());
    const double prediction = predictions[at(t - first)];
    f.actual.push_back(y);
    f.prediction.push_back(prediction);
    f.error.push_back(y == kMissing ? kMissing : y - prediction);
  }
  summarise(f);
  return f;
}

}  // namespace

bool forecasts_single_equation(int code) {
  const single::MethodRow& row = single::method_row(code);
  if (!row.forecast_advice.empty()) return false;
  return code == method::kOls || code == method::kIv || code == method::kPhillipsHansen || code == method::kArdl ||
         code == method::kArdlLongRun || nonlinear(code) || code == method::kGarch || single::has_ar_errors(code) ||
         single::has_ma_errors(code);
}

std::optional<SingleForecast> forecast_equation(int last) {
  const auto& s = single::estimation();
  const auto& g = core::globals();
  const int first = g.sample_end + 1;
  const int count = last - first + 1;
  if (count < 1 || first < 2 || last > g.nobs) return std::nullopt;
  if (nonlinear(s.method)) {
    if (!nonlinear_equation_fits()) return std::nullopt;
    return nonlinear_forecasts(first, last);
  }
  if (s.eqvarlist.size() != at(s.nregs) + 1 || s.reglagtable.size() != at(s.nregs)) return std::nullopt;
  SingleForecast f;
  f.first = first;
  f.std_errors = has_standard_errors(s.method);
  for (int j = 0; j < s.nregs; ++j) f.dynamic = f.dynamic || dependent_lag(j) > 0;
  std::vector<double> u = error_terms(count);
  if (s.method == method::kGarch) {
    single::GarchVarianceForecast h = garch_forecast(count);
    if (!h.defined) {
      f.stop = ForecastStop::kVarianceUndefined;
      return f;
    }
    // The in-mean term: its coefficient (the one after the regressors) times h².
    if (s.garch.in_mean)
      for (int i = 0; i < count; ++i) u[at(i)] += single::coefficient(s.nregs + 1) * h.sd[at(i)] * h.sd[at(i)];
    f.conditional_sd = std::move(h.sd);
  }
  std::vector<double> x(at(s.nregs));
  for (int i = 0; i < count; ++i) {
    const int t = first + i;
    bool complete = true;
    long double fit = 0.0L;
    for (int j = 0; j < s.nregs; ++j) {
      const int w = dependent_lag(j);
      x[at(j)] = w > 0 && i >= w ? f.prediction[at(i - w)] : core::data_at(t, s.eqvarlist[at(j) + 1]);
      complete = complete && x[at(j)] != kMissing;
      fit += static_cast<long double>(x[at(j)]) * single::coefficient(j + 1);
    }
    const double prediction = complete ? static_cast<double>(fit) + u[at(i)] : kMissing;
    const double y = core::data_at(t, s.eqvarlist.front());
    f.prediction.push_back(prediction);
    f.actual.push_back(y);
    f.error.push_back(y == kMissing || prediction == kMissing ? kMissing : y - prediction);
    if (!f.std_errors) continue;
    double sd = kMissing;
    if (complete) {
      long double quad = static_cast<long double>(s.sigma) * s.sigma;
      for (int a = 0; a < s.nregs; ++a)
        for (int b = 0; b < s.nregs; ++b)
          quad += static_cast<long double>(x[at(a)]) * single::coefficient_variance(a + 1, b + 1) * x[at(b)];
      if (quad >= 0.0L) sd = static_cast<double>(std::sqrt(quad));
    }
    f.sd_error.push_back(sd);
  }
  summarise(f);
  return f;
}

void SINGLEFORECAST(bool plot_only) {
  const auto& s = single::estimation();
  const auto& g = core::globals();
  const bool formula = nonlinear(s.method);
  if (formula ? !nonlinear_equation_fits()
              : s.nregs < 1 || s.eqvarlist.size() != at(s.nregs) + 1 || s.reglagtable.size() != at(s.nregs)) {
    not_available("Forecasting");
    return;
  }
  // The lags of the dependent variable take earlier predictions: only the other
  // regressors must hold data over the period.
  std::vector<int> checked;
  if (formula) {
    checked = formula_regressors();
  } else {
    for (int j = 0; j < s.nregs; ++j)
      if (dependent_lag(j) == 0) checked.push_back(s.eqvarlist[at(j) + 1]);
  }
  const int first = g.sample_end + 1;
  const int last_available = std::min(g.nobs, g.sample_end + single::block::kMaxParameters);
  int last = 0;
  if (single::FORECASTPERIOD(last_available, first, last, checked, single::kCheckRegressors)) return;
  try {
    std::optional<SingleForecast> f;
    {
      BusyNotice busy;
      f = forecast_equation(last);
    }
    if (!f || f->stop == ForecastStop::kFormulaFailed) return;
    if (f->stop == ForecastStop::kVarianceUndefined) {
      core::SHOWMESSAGE("The conditional variance is not defined during the forecast period!");
      return;
    }
    keep_forecasts(*f);
    if (!plot_only) write_page(*f);
    plot_forecasts(*f);
  } catch (const std::bad_alloc&) {
    core::DISKSPACEMESSAGE();
  }
}

}  // namespace qorv::diagnostics
