#include "engine/diagnostics/parameter_tables.h"

#include <algorithm>
#include <cmath>

#include "engine/core/number_format.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/text_format.h"
#include "engine/diagnostics/diagnostic_rows.h"
#include "engine/single/method_table.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

namespace {

constexpr double kMissing = limits::kMissing;
constexpr int kWidth = 79;
constexpr int kContinuation = 5;  ///< columns before a continued equation line's first term

std::string blank() { return std::string(kWidth, ' '); }

bool missing(double x) { return x == kMissing || !std::isfinite(x); }

/// A value in 6 decimals, without leading blanks.
std::string fixed(double value) {
  std::string text = core::FORMATFIXED(value, 20, 6);
  core::LEFTJUSTIFY(text);
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

/// The last non-blank column of a line (0 when blank).
int end_of(const std::string& line) {
  const auto last = line.find_last_not_of(' ');
  return last == std::string::npos ? 0 : static_cast<int>(last) + 1;
}

void write_centred(std::string text, int channel) {
  text.resize(kWidth, ' ');
  core::JUSTIFYTEXT(text, kWidth, 'C');
  core::WRITELINE(text, channel);
}

/// The equation lines with, under each, the standard errors of its terms.
void write_equation(const ErrorParameters& t, bool ar, int channel) {
  std::string equation = blank(), errors = blank();
  core::APPENDTEXT(equation, 0, ar ? " U=" : " U=E+");
  const auto flush = [&] {
    core::WRITELINE(equation, channel);
    core::WRITELINE(errors, channel);
    equation = blank();
    errors = blank();
  };
  const size_t count = t.values.size();
  for (size_t i = 0; i < count; ++i) {
    const int lag = i < t.lags.size() ? t.lags[i] : static_cast<int>(i) + 1;
    std::string term = fixed(t.values[i]) + (ar ? "*U(-" : "*E(-") + std::to_string(lag) + ")";
    if (ar || i + 1 < count) term += "+";
    int start = end_of(equation) + 2;
    if (start + static_cast<int>(term.size()) - 1 > kWidth) {
      flush();
      start = kContinuation + 1;
    }
    put_text(equation, start, term);
    const double se = i < t.std_errors.size() ? t.std_errors[i] : kMissing;
    put_text(errors, start, missing(se) ? "[NONE]" : "(" + fixed(se) + ")");
  }
  if (ar) {
    if (end_of(equation) + 2 > kWidth) flush();
    put_text(equation, std::max(end_of(equation) + 2, kContinuation + 1), "E");
  }
  flush();
}

/// A likelihood-ratio line: the label, the statistic after one blank and its probability.
void write_ratio(const char* label, double upper, double lower, int channel) {
  double lr = missing(upper) || missing(lower) ? kMissing : 2.0 * (upper - lower);
  lr = printable(lr);
  std::string line = blank();
  put_text(line, 1, label);
  core::APPENDREAL(line, 0, ' ', lr);
  if (lr != kMissing) core::APPENDPROB(line, core::ProbKind::kChiSquared, lr, 1);
  core::WRITELINE(line, channel);
}

/// Label of a lagged term: prefix, lag, suffix.
std::string term(const char* prefix, int lag, const char* suffix) {
  return std::string(prefix) + std::to_string(lag) + suffix;
}

}  // namespace

void ERRORPARAMETERTABLE(const ErrorParameters& t, int channel) {
  const single::MethodRow& row = single::method_row(t.method);
  const bool ar = row.lags == single::ErrorLags::kAr;
  write_centred(ar ? "Parameters of the Autoregressive Error Specification"
                   : "Parameters of the Moving Average Error Specification",
                channel);
  write_equation(t, ar, channel);
  constexpr int kPerLine = 6;
  std::string line = blank();
  core::APPENDTEXT(line, 0, " Asymptotic T-Ratio");
  for (size_t i = 0; i < t.values.size(); ++i) {
    if (i > 0 && i % kPerLine == 0) {
      core::WRITELINE(line, channel);
      line = blank();
      put_text(line, 19, "#");
    }
    const double se = i < t.std_errors.size() ? t.std_errors[i] : kMissing;
    const bool none = t.unstable || missing(se) || se < limits::kTolerance || missing(t.values[i]);
    if (none) core::APPENDTEXT(line, 4, "[NONE]");
    else core::APPENDREAL(line, 0, ' ', t.values[i] / se);
  }
  core::WRITELINE(line, channel);
  core::WRITELINE(" T-ratio(s) based on asymptotic standard errors in brackets", channel);
  if (row.exact_ar_order >= 1)
    write_ratio(" Log-likelihood ratio test of AR(1) versus OLS   CHI-SQ(1)=", t.loglik[1], t.loglik[0], channel);
  if (row.exact_ar_order >= 2)
    write_ratio(" Log-likelihood ratio test of AR(2) versus AR(1) CHI-SQ(1)=", t.loglik[2], t.loglik[1], channel);
  if (ar && t.unstable) {
    core::WRITELINE(" ***WARNING*** The above autoregressive process is unstable!", channel);
    core::WRITELINE(" T-ratio(s) are not calculated.", channel);
  }
  if (!ar) {
    const struct {
      int count;
      const char* what;
    } warnings[] = {{t.roots_at_one, "root(s) of 1."},
                    {t.roots_at_minus_one, "root(s) of -1."},
                    {t.complex_unit_roots, "complex roots on the unit circle."}};
    for (const auto& w : warnings) {
      if (w.count == 0) continue;
      line = blank();
      core::APPENDTEXT(line, 0, " *WARNING* The above MA process contains");
      core::APPENDINTEGER(line, 1, w.count);
      core::APPENDTEXT(line, 1, w.what);
      core::WRITELINE(line, channel);
    }
  }
  core::WRITESTARS(kWidth, channel);
}

void GARCHPARAMETERTABLE(const GarchParameters& t, int channel) {
  write_centred("Parameters of the Conditional Heteroscedastic Model", channel);
  switch (t.form) {
    case GarchForm::kPlain:
      write_centred("Explaining H-SQ, the Conditional Variance of the Error Term", channel);
      break;
    case GarchForm::kAbsolute:
      write_centred("Explaining H, the Conditional Standard Error of the ErrorTerm", channel);
      break;
    case GarchForm::kExponential:
      write_centred("Explaining the Logarithm of H-SQ, the Conditional Variance of the Error Term", channel);
      break;
  }
  std::string line = blank();
  core::APPENDTEXT(line, 24, "Coefficient");
  core::APPENDTEXT(line, 7, "Asymptotic Standard Error");
  core::WRITELINE(line, channel);
  // Row labels in the order of the parameters.
  std::vector<std::string> labels = {"Constant"};
  for (const int j : t.arch_lags) {
    switch (t.form) {
      case GarchForm::kPlain: labels.push_back(term("E-SQ(-", j, ")")); break;
      case GarchForm::kAbsolute: labels.push_back(term("ABS(E(-", j, "))")); break;
      case GarchForm::kExponential: labels.push_back(term("(E/H)(-", j, ")")); break;
    }
  }
  const bool asymmetric = t.form == GarchForm::kExponential && !t.asymmetric_lags.empty();
  if (asymmetric)
    for (const int j : t.asymmetric_lags) labels.push_back(term("ABS(E/H)(-", j, ")-MEU"));
  for (const int j : t.garch_lags) {
    switch (t.form) {
      case GarchForm::kPlain: labels.push_back(term("H-SQ(-", j, ")")); break;
      case GarchForm::kAbsolute: labels.push_back(term("H(-", j, ")")); break;
      case GarchForm::kExponential: labels.push_back(term("LOG(H-SQ(-", j, "))")); break;
    }
  }
  labels.insert(labels.end(), t.names.begin(), t.names.end());
  if (t.student_t) labels.push_back("D.F. of t-Dist.");
  for (size_t i = 0; i < labels.size(); ++i) {
    line = blank();
    put_text(line, 2, labels[i].substr(0, 24));
    put_text(line, 25, "#");
    core::APPENDREAL(line, 0, ' ', i < t.values.size() ? t.values[i] : kMissing);
    put_text(line, 49, "#");
    core::APPENDREAL(line, 0, ' ', i < t.std_errors.size() ? t.std_errors[i] : kMissing);
    core::WRITELINE(line, channel);
  }
  core::WRITESTARS(kWidth, channel);
  if (t.form == GarchForm::kPlain) {
    core::WRITELINE(" H-SQ stands for the conditional variance of the error term.", channel);
    core::WRITELINE(" E-SQ stands for the square of the error term.", channel);
  } else {
    core::WRITELINE(" H stands for the conditional standard error of the errorterm.", channel);
    core::WRITELINE(" E stands for the error term.", channel);
  }
  if (asymmetric) {
    core::WRITELINE(" MEU stands for the expectation of the absolute value of the standardized      ", channel);
    core::WRITELINE(" disturbance term.", channel);
    core::WRITELINE(t.student_t ? " The maximum likelihood estimateof MEU" : " MEU= SQRT(2/3.14159)", channel);
  }
  if (t.form == GarchForm::kPlain) {
    double sum = 0.0;
    const size_t first = 1, last = t.arch_lags.size() + t.garch_lags.size();
    for (size_t i = first; i <= last && i < t.values.size(); ++i) sum += t.values[i];
    if (sum >= 1.0)
      core::WRITELINE(" *WARNING* The unconditional variance of the above GARCH processis undefined!  ", channel);
  }
}

}  // namespace qorv::diagnostics
