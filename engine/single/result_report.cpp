#include "engine/single/result_report.h"

#include <cmath>
#include <vector>

#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/text_format.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "engine/single/estimation_titles.h"
#include "engine/single/nonlinear_estimate.h"
#include "shared/exchange_slots.h"

namespace qorv::single {

namespace {

constexpr int kLineWidth = 79;
constexpr double kTol = limits::kTolerance;    // 1e-11
constexpr double kTol2 = kTol * kTol;          // 1e-22
constexpr double kMissing = limits::kMissing;

std::string blank_line() { return std::string(kLineWidth, ' '); }

bool missing(double x) { return x == kMissing || !std::isfinite(x); }

/// A finite value, or the missing code.
double checked(double x) { return std::isfinite(x) ? x : kMissing; }

/// The two-sided probability of a T-ratio, or nothing when it is missing.
void append_value_prob(std::string& line, int gap, double value, core::ProbKind kind, int df1,
                       int df2 = 0) {
  core::APPENDREAL(line, gap, ' ', value);
  if (!missing(value)) core::APPENDPROB(line, kind, value, df1, df2);
}

/// Index of the single regressor that is the dependent variable lagged once (from 1),
/// or 0 when there is none or more than one.
int lagged_dependent_index() {
  const auto& s = estimation();
  if (s.eqvarlist.empty()) return 0;
  int found = 0;
  for (size_t j = 0; j < s.reglagtable.size(); ++j) {
    const auto& r = s.reglagtable[j];
    if (r.variable == s.eqvarlist[0] && r.lag == -1) {
      if (found != 0) return 0;
      found = static_cast<int>(j) + 1;
    }
  }
  return found;
}

}  // namespace

namespace {

/// The parameters the instruments must identify: the error parameters of IV estimates
/// with AR or MA errors are not among them (the lagged residuals instrument themselves,
/// and the MA filter is applied to instruments and regressors alike).
int instrumented_parameters() {
  const auto& s = estimation();
  return has_ar_errors(s.method) || has_ma_errors(s.method) ? s.nregs : parameter_count();
}

}  // namespace

FitStatistics FITSTATS(int method_code, std::span<const double> e, int k, int l, double variance,
                       double grss, bool print, int channel) {
  FitStatistics fit;
  const int n = static_cast<int>(e.size());
  const auto& g = core::globals();
  long double rss = 0.0L, dw = 0.0L;
  for (int t = 0; t < n; ++t) {
    rss += static_cast<long double>(e[static_cast<size_t>(t)]) * e[static_cast<size_t>(t)];
    if (t > 0) {
      const long double d = static_cast<long double>(e[static_cast<size_t>(t)]) - e[static_cast<size_t>(t - 1)];
      dw += d * d;
    }
  }
  fit.rss = static_cast<double>(rss);
  fit.dw = fit.rss < kTol2 ? kMissing : checked(static_cast<double>(dw / rss));
  fit.df = g.df_divide_by_n != 0 ? n : n + g.df_adjustment - k - l;
  const bool have_df = fit.df >= 1;
  const double s2 = have_df ? fit.rss / fit.df : kMissing;
  fit.sigma = have_df ? std::sqrt(s2) : kMissing;
  const double denom = static_cast<double>(n - l - 1) * variance;
  const auto r_squared = [&](double sum, double& r2, double& rbar2) {
    const double ms = have_df ? sum / fit.df : kMissing;
    if (missing(ms) || missing(variance) || n - l - 1 < 1) {
      r2 = rbar2 = kMissing;
    } else if (ms < kTol2) {
      r2 = rbar2 = 1.0;
    } else if (variance <= kTol2) {
      r2 = rbar2 = kMissing;
    } else {
      rbar2 = checked(1.0 - ms / variance);
      r2 = checked(1.0 - sum / denom);
    }
  };
  r_squared(fit.rss, fit.r2, fit.rbar2);
  const bool iv = method_row(method_code).iv_fit;
  if (iv && !missing(grss)) r_squared(grss, fit.gr2, fit.grbar2);
  else fit.gr2 = fit.grbar2 = kMissing;
  if (missing(fit.r2) || fit.r2 == 1.0 || k == 1 || !have_df) {
    fit.f = kMissing;
  } else {
    fit.f = checked(fit.r2 * fit.df / ((k - 1) * (1.0 - fit.r2)));
    if (fit.f < 0.0) fit.f = kMissing;
  }
  if (!print) return fit;

  const bool by_n = g.df_divide_by_n != 0;
  std::string line = blank_line();
  core::APPENDTEXT(line, 0, " R-Squared");
  core::APPENDREAL(line, 17, ' ', fit.r2);
  core::APPENDTEXT(line, 3, "R-Bar-Squared");
  if (by_n) core::APPENDTEXT(line, 21, "N/A");
  else core::APPENDREAL(line, 15, ' ', fit.rbar2);
  core::WRITELINE(line, channel);
  if (iv) {
    line = blank_line();
    core::APPENDTEXT(line, 0, " GR-Squared");
    core::APPENDREAL(line, 16, ' ', fit.gr2);
    core::APPENDTEXT(line, 3, "GR-Bar-Squared");
    if (by_n) core::APPENDTEXT(line, 20, "N/A");
    else core::APPENDREAL(line, 14, ' ', fit.grbar2);
    core::WRITELINE(line, channel);
  }
  line = blank_line();
  core::APPENDTEXT(line, 0, " S.E. of Regression");
  core::APPENDREAL(line, 8, ' ', fit.sigma);
  core::APPENDTEXT(line, 3, "F-stat.");
  if (by_n) {
    core::APPENDTEXT(line, 3, "N/A");
  } else {
    core::APPENDFDIST(line, 2, k - 1, fit.df);
    append_value_prob(line, 0, fit.f, core::ProbKind::kF, k - 1, fit.df);
  }
  core::WRITELINE(line, channel);
  return fit;
}

double durbin_h(double dw, int n, double v) {
  if (missing(dw) || missing(v)) return kMissing;
  const double d = 1.0 - n * v;
  if (d < kTol) return kMissing;
  return checked((1.0 - dw / 2.0) * std::sqrt(n / d));
}

void REGSTATS(const FitStatistics& fit, int channel) {
  const auto& s = estimation();
  const auto& g = core::globals();
  const MethodRow& row = method_row(s.method);
  const bool iv = row.iv_fit;
  std::string line = blank_line();
  core::APPENDTEXT(line, 0, " Mean of Dependent Variable");
  core::APPENDREAL(line, 0, ' ', s.depmean);
  core::APPENDTEXT(line, 3, "S.D. of Dependent Variable");
  core::APPENDREAL(line, 2, ' ', missing(s.depvar) || s.depvar < 0 ? kMissing : std::sqrt(s.depvar));
  core::WRITELINE(line, channel);

  line = blank_line();
  core::APPENDTEXT(line, 0, " Residual Sum of Squares");
  core::APPENDREAL(line, 3, ' ', fit.rss);
  const double loglik = s.loglik;
  switch (row.minimand) {
    case Minimand::kIvMinimand:
      core::APPENDTEXT(line, 3, "Value of IV Minimand");
      core::APPENDREAL(line, 8, ' ', s.iv_minimand);
      break;
    case Minimand::kAdjustedIvMinimand:
      core::APPENDTEXT(line, 3, "Adjusted IV Minimand");
      core::APPENDREAL(line, 8, ' ', missing(loglik) ? kMissing : -loglik);
      break;
    case Minimand::kLogLikelihood:
      core::APPENDTEXT(line, 3, "Equation Log-likelihood");
      core::APPENDREAL(line, 5, ' ', loglik);
      break;
  }
  core::WRITELINE(line, channel);

  if (row.information_criteria) {
    const int p = parameter_count() - g.df_adjustment;
    const bool have = !missing(loglik) && s.nused > 0;
    line = blank_line();
    core::APPENDTEXT(line, 0, " Akaike Info. Criterion");
    core::APPENDREAL(line, 4, ' ', have ? loglik - p : kMissing);
    core::APPENDTEXT(line, 3, "Schwarz Bayesian Criterion");
    const double used = s.nused - lost_observations();
    core::APPENDREAL(line, 2, ' ', have ? loglik - 0.5 * p * std::log(used) : kMissing);
    core::WRITELINE(line, channel);
  }

  line = blank_line();
  core::APPENDTEXT(line, 0, " DW-statistic");
  core::APPENDREAL(line, 14, ' ', fit.dw);
  const int lagged = row.durbin_h ? lagged_dependent_index() : 0;
  if (lagged > 0) {
    core::APPENDTEXT(line, 3, "Durbin's h-statistic");
    const double h = durbin_h(fit.dw, s.nused, coefficient_variance(lagged, lagged));
    append_value_prob(line, 2, h, core::ProbKind::kNormal, 1);
  } else if (iv && s.ninstr > instrumented_parameters()) {
    const int df = s.ninstr - instrumented_parameters();
    core::APPENDTEXT(line, 3, "Sargan's");
    core::APPENDCHISQ(line, 1, df);
    const double sargan = missing(s.sigma) || s.sigma < kTol || missing(s.iv_minimand)
                              ? kMissing
                              : checked(s.iv_minimand / (s.sigma * s.sigma));
    append_value_prob(line, 0, sargan, core::ProbKind::kChiSquared, df);
  } else if (row.family == Family::kSystem || row.family == Family::kSure) {
    // The system's likelihood is the second statistic of the line, in the column of the
    // equation's.
    core::APPENDTEXT(line, 3, "System Log-likelihood");
    core::APPENDREAL(line, 7, ' ', s.system_loglik);
  }
  core::WRITELINE(line, channel);
  if (row.family == Family::kSure) {
    // The criteria of the whole system, on its free parameters.
    const int p = s.system_share.system_parameters;
    const bool have = !missing(s.system_loglik) && s.nused > 0;
    line = blank_line();
    core::APPENDTEXT(line, 0, " System AIC");
    core::APPENDREAL(line, 16, ' ', have ? s.system_loglik - p : kMissing);
    core::APPENDTEXT(line, 3, "System SBC");
    core::APPENDREAL(line, 18, ' ', have ? s.system_loglik - 0.5 * p * std::log(static_cast<double>(s.nused)) : kMissing);
    core::WRITELINE(line, channel);
  }
  core::WRITESTARS(kLineWidth, channel);
  if (s.method == method::kArdlEcm) {
    // The error-correction form's fit measures are those of the differenced variable.
    line = blank_line();
    core::APPENDTEXT(line, 0, " R-Squared and R-Bar-Squared measures refer to the dependent variable");
    core::APPENDTEXT(line, 1, s.eqvarnames.empty() ? std::string() : s.eqvarnames.front());
    core::WRITELINE(line, channel);
    core::WRITELINE(" and in cases where the error correction model is highly", channel);
    core::WRITELINE(" restricted, these measures could become negative.", channel);
  }
  if (!s.temporary_definitions.empty()) {
    core::WRITELINE(" List of additional temporary variables created:", channel);
    for (const std::string& definition : s.temporary_definitions) core::WRITELINE(" " + definition, channel);
  }
}

std::string FITSUMMARYLINE(std::string_view label, double dw, double rbar2, double loglik, int channel) {
  std::string line = blank_line();
  core::APPENDTEXT(line, 0, label);
  core::APPENDREAL(line, 0, ' ', checked(dw));
  core::APPENDTEXT(line, 0, ";R-Bar-Squared");
  core::APPENDREAL(line, 0, ' ', checked(rbar2));
  core::APPENDTEXT(line, 0, ";Log-likelihood");
  core::APPENDREAL(line, 0, ' ', checked(loglik));
  core::WRITELINE(line, channel);
  return line;
}

std::string coefficient_row(const std::string& name, double estimate, double std_error, int df) {
  std::string line = blank_line();
  std::string shown = name.substr(0, 14);
  while (!shown.empty() && shown.back() == ' ') shown.pop_back();
  core::APPENDTEXT(line, 1, shown);
  core::APPENDREAL(line, shown.empty() ? 24 : 23 - static_cast<int>(shown.size()), ' ', estimate);
  const bool se_missing = missing(std_error);
  core::APPENDREAL(line, 9, ' ', se_missing ? kMissing : std_error);
  const double t = se_missing || std_error < kTol || missing(estimate) ? kMissing : checked(estimate / std_error);
  append_value_prob(line, 9, t, core::ProbKind::kStudentT, df);
  return line;
}

void ADJUSTEDVARIANCENOTE(int channel) {
  const auto& s = estimation();
  const auto& g = core::globals();
  if (g.adjusted_variance_kind < 2 || g.adjusted_variance_kind > 6) return;
  std::string text = "Based on ";
  if (g.adjusted_variance_kind == 2) {
    text += "White's Heteroscedasticity adjusted S.E.'s";
  } else {
    static const char* const kWeights[] = {"Equal", "Bartlett", "Tukey", "Parzen"};
    text += "Newey-West adjusted S.E.'s ";
    text += kWeights[g.adjusted_variance_kind - 3];
    text += " weights, truncation lag=" + std::to_string(g.truncation_lag);
  }
  if (s.method == method::kPhillipsHansen && s.trend_case == 1) text += ", Non-trended Case";
  if (s.method == method::kPhillipsHansen && s.trend_case == 2) text += ", Trended Case";
  // The fully modified case words make the line longer than the page: it is kept whole.
  if (text.size() < static_cast<std::size_t>(kLineWidth)) {
    text.resize(kLineWidth, ' ');
    core::JUSTIFYTEXT(text, kLineWidth, 'C');
  }
  core::WRITELINE(text, channel);
}

void REGRESSIONTABLE(int method_code, int channel, std::span<const double> adjusted) {
  const auto& s = estimation();
  if (method_code != 50) ESTIMATIONTITLE(s.method, 0, channel);
  ADJUSTEDVARIANCENOTE(channel);
  core::WRITESTARS(kLineWidth, channel);
  std::string line = blank_line();
  const bool non_linear = method_row(s.method).family == Family::kNonLinear;
  if (non_linear) {
    // The formula names the dependent variable and the parameters.
    core::APPENDTEXT(line, 0, " Non-linear regression formula:");
    core::WRITELINE(line, channel);
    for (const std::string& text : formula_lines()) core::WRITELINE(text, channel);
  } else {
    core::APPENDTEXT(line, 0, " Dependent variable is");
    core::APPENDTEXT(line, 1, s.eqvarnames.empty() ? std::string() : s.eqvarnames.front());
    core::WRITELINE(line, channel);
    line = blank_line();
    core::APPENDTEXT(line, 0, s.method == method::kOls ? " List of variables in OLS regression:"
                                                       : " List of the variables in the regression:");
    core::WRITELINE(line, channel);
    const std::vector<std::string> regressors =
        s.eqvarnames.size() > 1 ? std::vector<std::string>(s.eqvarnames.begin() + 1, s.eqvarnames.end())
                                : std::vector<std::string>{};
    core::WRITENAMELIST(regressors, static_cast<int>(regressors.size()), channel);
  }
  if (method_row(s.method).iv_fit) {
    line = blank_line();
    core::APPENDTEXT(line, 0, " List of instruments:");
    core::WRITELINE(line, channel);
    core::WRITENAMELIST(s.instrnames, static_cast<int>(s.instrnames.size()), channel);
  }
  core::WRITELINE(sample_line(), channel);
  core::WRITESTARS(kLineWidth, channel);
  line = blank_line();
  // Both headings keep the columns 25, 43 and 66.
  core::APPENDTEXT(line, 0, non_linear ? " Parameter" : " Regressor");
  core::APPENDTEXT(line, 14, non_linear ? "Estimate" : "Coefficient");
  core::APPENDTEXT(line, non_linear ? 10 : 7, "Standard Error");
  core::APPENDTEXT(line, 9, "T-Ratio[Prob]");
  core::WRITELINE(line, channel);
  // The GARCH family's t-ratios have the degrees of freedom of all its parameters.
  const int df = s.nused - lost_observations() -
                 (method_row(s.method).family == Family::kGarch ? parameter_count() : s.nregs);
  for (int j = 1; j <= parameter_count(); ++j) {
    const std::string name = j > s.nregs ? error_parameter_label(j - s.nregs)
                             : static_cast<size_t>(j) < s.eqvarnames.size() ? s.eqvarnames[static_cast<size_t>(j)]
                                                                            : "";
    const auto diagonal = static_cast<size_t>(j * (j + 1) / 2 - 1);
    const double v = adjusted.empty() ? coefficient_variance(j, j)
                     : diagonal < adjusted.size() ? adjusted[diagonal]
                                                  : kMissing;
    const double se = missing(v) || v < 0 ? kMissing : std::sqrt(v);
    core::WRITELINE(coefficient_row(name, s.result[static_cast<size_t>(block::kCoefficients + j - 1)], se, df),
                    channel);
  }
  core::WRITESTARS(kLineWidth, channel);
}

FitStatistics write_estimate_report(int channel) {
  const auto& s = estimation();
  REGRESSIONTABLE(s.method, channel);
  const double grss = is_iv_method(s.method) ? s.grss : kMissing;
  // Models with AR or MA errors are judged by their transformed residuals (after the
  // observations the AR filter loses), with the error parameters counted.
  const bool error_model = has_ar_errors(s.method) || has_ma_errors(s.method);
  const auto residuals = error_model ? series_block(block::kTransformedResiduals).subspan(
                                           static_cast<size_t>(lost_observations()))
                                     : series_block(block::kResiduals);
  const FitStatistics fit = FITSTATS(s.method, residuals, error_model ? parameter_count() : s.nregs, 0, s.depvar,
                                     grss, true, channel);
  REGSTATS(fit, channel);
  return fit;
}

}  // namespace qorv::single
