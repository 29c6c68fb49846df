#include "engine/single/logit_probit_report.h"

#include <algorithm>
#include <string_view>

#include "engine/core/number_format.h"
#include "engine/core/obs_label.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/text_format.h"
#include "shared/exchange_slots.h"

namespace qorv::single {

namespace {

constexpr int kLineWidth = 79;
constexpr int kValueColumn = 51;     ///< start of the value piece of a one-column line
constexpr int kEstimationColumn = 41;
constexpr int kForecastColumn = 61;

std::string blank_line() { return std::string(kLineWidth, ' '); }

/// Writes `text` into `line` from `column` (from 1), cut at the end of the line.
void put(std::string& line, int column, std::string_view text) {
  const auto at = static_cast<std::size_t>(column - 1);
  if (at >= line.size()) return;
  line.replace(at, std::min(text.size(), line.size() - at), text.substr(0, line.size() - at));
}

/// The 10-column piece of a value: a blank and its 9-column field.
std::string piece(double value) {
  std::string text(1, ' ');
  text += core::FORMATREAL9(value);
  return text;
}

/// `label` from column 2 (its leading blank in column 1) and `value` at `column`.
std::string value_line(std::string_view label, double value, int column = kValueColumn) {
  std::string line = blank_line();
  put(line, 1, label);
  put(line, column, piece(value));
  return line;
}

/// The directional-accuracy line with one or two values and their probabilities.
std::string accuracy_line(const BinaryFitSummary& a, const BinaryFitSummary* b) {
  static constexpr std::string_view kLabel = " Directional-accuracy test statistic";
  std::string line = value_line(kLabel, a.accuracy, b ? kEstimationColumn : kValueColumn);
  if (a.accuracy != limits::kMissing) core::APPENDPROB(line, core::ProbKind::kNormal, a.accuracy, 1);
  if (b != nullptr) {
    put(line, kForecastColumn, piece(b->accuracy));
    if (b->accuracy != limits::kMissing) core::APPENDPROB(line, core::ProbKind::kNormal, b->accuracy, 1);
  }
  return line;
}

void write_rows(const BinaryPeriod& period, bool forecast, int channel) {
  std::string line = blank_line();
  put(line, 1, " Observation");
  put(line, 21, "Actual");
  put(line, forecast ? 34 : 37, forecast ? "Predicted" : "Fitted");
  put(line, forecast ? 44 : 47, forecast ? "Predicted Probability" : "Fitted Probability");
  core::WRITELINE(line, channel);
  for (std::size_t i = 0; i < period.prob.size(); ++i) {
    line = blank_line();
    put(line, 2, core::OBSLABEL(period.first + static_cast<int>(i)));
    const double p = period.prob[i];
    put(line, 17, piece(i < period.actual.size() ? period.actual[i] : limits::kMissing));
    put(line, 33, piece(p == limits::kMissing ? p : binary_fitted(p)));
    put(line, 55, piece(p));
    core::HASHTOBLANK(line);
    core::WRITELINE(line, channel);
  }
}

std::string period_text(const BinaryPeriod& p) {
  return core::plain_label(core::OBSLABEL(p.first)) + " to " +
         core::plain_label(core::OBSLABEL(p.first + static_cast<int>(p.prob.size()) - 1));
}

}  // namespace

void write_binary_statistics(const BinaryStatistics& st, const std::string& dependent, int channel) {
  core::WRITELINE(value_line(" Factor for the calculation of marginal effects", st.factor), channel);
  core::WRITELINE(value_line(" Maximized value of the log-likelihood function", st.loglik), channel);
  core::WRITELINE(value_line(" Akaike Information Criterion", st.aic), channel);
  core::WRITELINE(value_line(" Schwarz Bayesian Criterion", st.sbc), channel);
  core::WRITELINE(value_line(" Hannan-Quinn Criterion", st.hqc), channel);
  core::WRITELINE(value_line(" Mean of " + dependent, st.fit.mean_actual), channel);
  core::WRITELINE(value_line(" Mean of fitted " + dependent, st.fit.mean_fitted), channel);
  core::WRITELINE(value_line(" Goodness of fit", st.fit.goodness), channel);
  core::WRITELINE(accuracy_line(st.fit, nullptr), channel);
  core::WRITELINE(value_line(" Pseudo-R-Squared", st.pseudo_r2), channel);
  if (st.all_same) {
    std::string line = blank_line();
    core::APPENDTEXT(line, 0, " Predicted values of");
    core::APPENDTEXT(line, 1, dependent);
    core::APPENDTEXT(line, 1, "are all");
    core::APPENDINTEGER(line, 1, static_cast<int>(st.all_value));
    core::WRITELINE(line, channel);
  }
  core::WRITESTARS(kLineWidth, channel);
}

void LOGITPROBITTABLE(const BinaryPeriod& estimation_period, const BinaryPeriod& forecast,
                      const std::string& dependent, int channel) {
  const bool ahead = !forecast.prob.empty();
  write_rows(estimation_period, false, channel);
  if (ahead) {
    core::WRITESTARS(kLineWidth, channel);
    write_rows(forecast, true, channel);
  }
  core::WRITESTARS(kLineWidth, channel);
  const BinaryFitSummary est = binary_fit_summary(estimation_period.actual, estimation_period.prob);
  if (!ahead) {
    core::WRITELINE(value_line(" Mean of " + dependent, est.mean_actual), channel);
    core::WRITELINE(value_line(" Mean of fitted " + dependent, est.mean_fitted), channel);
    core::WRITELINE(value_line(" Goodness of fit", est.goodness), channel);
    core::WRITELINE(accuracy_line(est, nullptr), channel);
    core::WRITESTARS(kLineWidth, channel);
    return;
  }
  const BinaryFitSummary fc = binary_fit_summary(forecast.actual, forecast.prob);
  std::string title = "Summary Statistics for Residuals and Prediction Errors";
  title.resize(kLineWidth, ' ');
  core::JUSTIFYTEXT(title, kLineWidth, 'C');
  core::WRITELINE(title, channel);
  std::string line = blank_line();
  put(line, kEstimationColumn, "Estimation Period");
  put(line, kForecastColumn, "Forecast Period");
  core::WRITELINE(line, channel);
  line = blank_line();
  put(line, kEstimationColumn, period_text(estimation_period));
  put(line, kForecastColumn, period_text(forecast));
  core::WRITELINE(line, channel);
  const auto two = [&](std::string_view label, double a, double b) {
    std::string l = value_line(label, a, kEstimationColumn);
    put(l, kForecastColumn, piece(b));
    core::WRITELINE(l, channel);
  };
  two(" Mean of " + dependent, est.mean_actual, fc.mean_actual);
  core::WRITELINE(value_line(" Mean of fitted " + dependent, est.mean_fitted, kEstimationColumn), channel);
  line = blank_line();
  put(line, 1, " Mean of predicted " + dependent);
  put(line, kForecastColumn, piece(fc.mean_fitted));
  core::WRITELINE(line, channel);
  two(" Goodness of fit", est.goodness, fc.goodness);
  core::WRITELINE(accuracy_line(est, &fc), channel);
  core::WRITESTARS(kLineWidth, channel);
}

}  // namespace qorv::single
