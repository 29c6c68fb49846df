#include "engine/single/estimation_titles.h"

#include <string_view>

#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/text_format.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"

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

std::string_view main_title(int code) {
  switch (code) {
    case method::kOls: return "Ordinary Least Squares Estimation";
    case method::kIv: return "Instrumental Variable Estimation";
    case method::kNls: return "Non-Linear Least Squares Estimation";
    case method::kNl2sls: return "Non-Linear Two-Stage Least Squares Estimation";
    case method::kArdlEcm: return "Error Correction Representation for the Selected ARDL Model";
    case method::kArdl: return "Autoregressive Distributed Lag Estimates";
    case method::kArdlLongRun: return "Estimated Long Run Coefficients using the ARDL Approach";
    case method::kPhillipsHansen: return "Fully Modified Phillips-Hansen Estimates";
    case method::kVar: return "OLS estimation of a single equation in the Unrestricted VAR";
    case method::kSure: return "Seemingly Unrelated Regressions Estimation";
    case method::kRestrictedSure: return "Restricted Seemingly Unrelated Regressions";
    case method::kLogit: return "Logit Maximum Likelihood Estimation";
    case method::kProbit: return "Probit Maximum Likelihood Estimation";
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

}  // namespace

std::string method_word(int code) {
  switch (code) {
    case method::kOls: return " OLS  ";
    case method::kCochraneOrcutt: return "CO-AR(";
    case method::kExactAr1:
    case method::kExactAr2:
    case method::kGaussNewtonAr:
    case method::kGaussNewtonArGaps: return " AR(  ";
    case method::kIv: return "  IV  ";
    case method::kIvAr:
    case method::kIvArGaps: return "IV-AR(";
    case method::kMa:
    case method::kMaGaps: return " MA(  ";
    case method::kIvMa:
    case method::kIvMaGaps: return "IV-MA(";
    case method::kNls: return " NLS  ";
    case method::kNl2sls: return "IV-NLS";
    case method::kRollingWindow: return "CVAR  ";
    case method::kGarch: return "GARCH ";
    case method::kArdlEcm:
    case method::kArdl:
    case method::kArdlLongRun: return "ARDL  ";
    case method::kPhillipsHansen: return "FMPH  ";
    case method::kVar: return " VAR  ";
    case method::kSure: return "SURE  ";
    case method::kRestrictedSure: return "RSURE ";
    case method::kLogit: return "Logit ";
    case method::kProbit: return "Probit";
    default: return "      ";
  }
}

void ESTIMATIONTITLE(int code, int mode, int channel) {
  if (mode == 1 || mode == 2) {
    const std::string_view test = mode == 1 ? "Variable Addition Test" : "Variable Deletion Test";
    std::string_view which;
    if (code == method::kOls) which = " (OLS case)";
    else if (code == method::kIv) which = " (IV case)";
    else if (code == method::kArdl || code == method::kArdlLongRun) which = " (ARDL case)";
    else return;
    write_centred(std::string(test) + std::string(which), channel);
    return;
  }
  const std::string_view title = main_title(code);
  if (!title.empty()) write_centred(title, channel);
}

std::string sample_line() {
  const auto& g = core::globals();
  std::string line = blank_line();
  core::APPENDINTEGER(line, 1, estimation().nused);
  core::APPENDTEXT(line, 0, " observations used for estimation from");
  core::APPENDOBSLABEL(line, 1, g.sample_start);
  core::APPENDTEXT(line, 0, " to");
  core::APPENDOBSLABEL(line, 1, g.sample_end);
  return line;
}

void BASEDONHEADER(int code, int channel) {
  const auto& s = estimation();
  core::WRITESTARS(kLineWidth, channel);
  std::string line = blank_line();
  switch (code) {
    case method::kArdlLongRun:
      core::APPENDTEXT(line, 0, " Based on long run ARDL regression of");
      break;
    case method::kPhillipsHansen:
      core::APPENDTEXT(line, 0, " Based on Fully Modified Phillips-Hansen regression of");
      break;
    default:
      core::APPENDTEXT(line, 0, " Based on");
      core::APPENDTEXT(line, 1, method_word(code));
      core::APPENDTEXT(line, 1, "regression of");
      break;
  }
  core::APPENDTEXT(line, 1, s.eqvarnames.empty() ? std::string() : s.eqvarnames.front());
  core::APPENDTEXT(line, 1, "on:");
  core::WRITELINE(line, channel);
  const auto regressors = regressor_names();
  core::WRITENAMELIST(regressors, static_cast<int>(regressors.size()), channel);
  if (is_iv_method(code)) {
    line = blank_line();
    core::APPENDTEXT(line, 0, " List of instruments:");
    core::WRITELINE(line, channel);
    core::WRITENAMELIST(s.instrnames, static_cast<int>(s.instrnames.size()), channel);
  }
  core::WRITELINE(sample_line(), channel);
  core::WRITESTARS(kLineWidth, channel);
}

}  // namespace qorv::single
