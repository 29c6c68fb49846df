#include "engine/single/estimation_titles.h"

#include <string_view>

#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/text_format.h"
#include "engine/core/workspace.h"
#include "engine/single/ardl_model.h"
#include "engine/single/estimation_state.h"
#include "engine/single/nonlinear_estimate.h"

namespace qorv::single {

namespace {

constexpr int kLineWidth = 79;

std::string blank_line() { return std::string(kLineWidth, ' '); }

void write_centred(std::string_view text, int channel) {
  std::string line(text);
  if (line.size() < kLineWidth) line.resize(kLineWidth, ' ');
  core::JUSTIFYTEXT(line, kLineWidth, 'C');
  core::WRITELINE(line.substr(0, kLineWidth), channel);
}

/// The titles of the test pages that name the estimate they test (codes 30-32 and 40-42).
std::string_view test_title(int code) {
  switch (code) {
    case 30: return "Test of Serial Correlation of Residuals (OLS case)";
    case 31: return "Test of Serial Correlation of Residuals (IV case)";
    case 32: return "Autoregressive Conditional Heteroscedasticity Test of Residuals (OLS Case)";
    case 40: return "Test of Serial Correlation of Residuals (NLS case)";
    case 41: return "Test of Serial Correlation of Residuals (IV-NLS case)";
    case 42: return "Autoregressive Conditional Heteroscedasticity Test of Residuals (NLS Case)";
    default: return {};
  }
}

std::vector<std::string> regressor_names() {
  const auto& s = estimation();
  if (s.eqvarnames.size() <= 1) return {};
  return {s.eqvarnames.begin() + 1, s.eqvarnames.end()};
}

/// The second and convergence lines of an estimate with AR or MA errors.
void write_error_model_title(int code, int channel) {
  const auto& s = estimation();
  const std::string order = std::to_string(s.arma_lags.empty() ? 0 : s.arma_lags.back());
  const std::string count = std::to_string(s.iterations);
  const bool not_converged = s.convergence == 1;
  const bool iv = code == method::kIvAr || code == method::kIvArGaps || code == method::kIvMa || code == method::kIvMaGaps;
  const std::string process = (has_ma_errors(code) ? "MA(" : "AR(") + order;
  switch (code) {
    case method::kGaussNewtonAr: case method::kGaussNewtonArGaps:
      write_centred("Maximum Likelihood Estimation:Fixed Initial Values of Disturbances", channel);
      break;
    case method::kMa: case method::kMaGaps:
      write_centred("Exact Maximum Likelihood Estimation Method", channel);
      break;
    case method::kIvAr: case method::kIvMa:
      write_centred("IV Estimation under " + process + ") Error Specification", channel);
      break;
    case method::kIvArGaps: case method::kIvMaGaps:
      write_centred("IV Estimation under a Restricted " + process + ") Error Specification", channel);
      break;
    default:
      break;
  }
  const std::string ending = not_converged ? "**Not converged after " + count + " iterations**"
                                           : "converged after " + count + " iterations";
  std::string line;
  switch (code) {
    case method::kCochraneOrcutt:
      line = "Cochrane-Orcutt Method AR(" + order + ")" + (not_converged ? "" : " ") + ending;
      break;
    case method::kExactAr1: {
      const std::string head = "Exact AR(1) Inverse Interpolation Method ";
      if (s.convergence == 2) line = head + "**Numerical Method Failed**";
      else if (not_converged) line = head + ending;
      else line = head + "Converged after " + count + " iterations";
      break;
    }
    case method::kExactAr2:
      line = std::string("Exact AR(2) Newton-Raphson Iterative Method ") + (s.convergence != 0 ? "not " : "") +
             "converged after " + count + " iterations";
      break;
    case method::kGaussNewtonAr: case method::kMa:
      line = "Error TERM : " + process + ")" + (not_converged ? "" : " ") + ending;
      break;
    case method::kGaussNewtonArGaps: case method::kMaGaps:
      line = "Error TERM : Restricted " + process + ")" + (not_converged ? "" : " ") + ending;
      break;
    default:
      if (iv) line = ending;
      break;
  }
  if (!line.empty()) write_centred(line, channel);
}

}  // namespace

std::string method_word(int code) {
  const std::string_view word = method_row(code).word;
  return word.empty() ? std::string(6, ' ') : std::string(word);
}

void ESTIMATIONTITLE(int code, int mode, int channel) {
  if (mode == 1 || mode == 2) {
    const std::string_view test = mode == 1 ? "Variable Addition Test" : "Variable Deletion Test";
    const std::string_view which = method_row(code).test_case;
    if (which.empty()) return;
    write_centred(std::string(test) + std::string(which), channel);
    return;
  }
  if (method_row(code).family == Family::kGarch) {
    // " GARCH(1,1) in mean assuming a t distribution", after an empty line.
    const GarchFlags& g = estimation().garch;
    std::string title = g.absolute ? "Absolute value " : g.exponential ? "Exponential " : "";
    title += "GARCH(" + std::to_string(g.p) + "," + std::to_string(g.q) + ")";
    if (g.in_mean) title += " in mean";
    title += g.distribution != 0 ? " assuming a t distribution" : " assuming a normal distribution";
    core::WRITELINE("", channel);
    write_centred(title, channel);
    return;
  }
  if (code == method::kErrorCorrection) {
    const auto& s = estimation();
    const std::string name = s.eqvarnames.empty() ? std::string() : s.eqvarnames.front();
    write_centred("ECM for variable " + name + " estimated by OLS based on cointegrating VAR(" +
                      std::to_string(s.system_order) + ")",
                  channel);
    return;
  }
  const std::string_view title = method_row(code).title.empty() ? test_title(code) : method_row(code).title;
  if (!title.empty()) write_centred(title, channel);
  if (method_row(code).family == Family::kArdl) write_centred(ardl_title_line(), channel);
  if (has_ar_errors(code) || has_ma_errors(code)) write_error_model_title(code, channel);
  if (method_row(code).family == Family::kNonLinear) {
    const auto& s = estimation();
    const std::string count = std::to_string(s.iterations);
    write_centred(s.convergence == 0 ? "The estimation method converged after " + count + " iterations"
                                     : "**No convergence after " + count + " iterations*",
                  channel);
  }
}

std::string sample_line() {
  const auto& g = core::globals();
  std::string line = blank_line();
  const int lost = lost_observations();
  core::APPENDINTEGER(line, 1, estimation().nused - lost);
  core::APPENDTEXT(line, 0, " observations used for estimation from");
  core::APPENDOBSLABEL(line, 1, g.sample_start + lost);
  core::APPENDTEXT(line, 0, " to");
  core::APPENDOBSLABEL(line, 1, g.sample_end);
  return line;
}

void BASEDONHEADER(int code, int channel) {
  const auto& s = estimation();
  core::WRITESTARS(kLineWidth, channel);
  std::string line = blank_line();
  const MethodRow& row = method_row(code);
  const bool error_model = row.lags != ErrorLags::kNone && !s.arma_lags.empty();
  if (error_model) {
    // " Based on fixed initial value(s)  AR(  2) regression of ..."
    core::APPENDTEXT(line, 0, " Based on");
    core::APPENDTEXT(line, 1, code < method::kMa && code != method::kExactAr1 && code != method::kExactAr2
                                  ? "fixed initial value(s)"
                                  : "stochastic initial value(s)");
    core::APPENDTEXT(line, 1, method_word(code));
    core::APPENDINTEGER(line, 0, s.arma_lags.back());
    core::APPENDTEXT(line, 0, ") regression of");
  } else if (row.family == Family::kNonLinear) {
    core::APPENDTEXT(line, 0, " Non-linear regression is:");
    core::WRITELINE(line, channel);
    for (const std::string& text : formula_lines()) core::WRITELINE(text, channel);
  } else if (!row.based_on.empty()) {
    core::APPENDTEXT(line, 0, row.based_on);
  } else {
    core::APPENDTEXT(line, 0, " Based on");
    core::APPENDTEXT(line, 1, method_word(code));
    core::APPENDTEXT(line, 1, "regression of");
  }
  if (row.family != Family::kNonLinear) {
    core::APPENDTEXT(line, 1, s.eqvarnames.empty() ? std::string() : s.eqvarnames.front());
    core::APPENDTEXT(line, 1, "on:");
    core::WRITELINE(line, channel);
    const auto regressors = regressor_names();
    core::WRITENAMELIST(regressors, static_cast<int>(regressors.size()), channel);
  }
  if (row.iv_fit) {
    line = blank_line();
    core::APPENDTEXT(line, 0, " List of instruments:");
    core::WRITELINE(line, channel);
    core::WRITENAMELIST(s.instrnames, static_cast<int>(s.instrnames.size()), channel);
  }
  core::WRITELINE(sample_line(), channel);
  core::WRITESTARS(kLineWidth, channel);
}

}  // namespace qorv::single
