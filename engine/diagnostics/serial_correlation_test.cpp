#include "engine/diagnostics/serial_correlation_test.h"

#include <cmath>
#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/core/message_lines.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/diagnostics/auxiliary_regression.h"
#include "engine/diagnostics/diagnostic_rows.h"
#include "engine/diagnostics/residual_tests.h"
#include "engine/diagnostics/state_restorer.h"
#include "engine/single/estimation_state.h"
#include "engine/single/estimation_titles.h"
#include "engine/single/result_report.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

namespace {

constexpr double kMissing = limits::kMissing;
constexpr int kWidth = 79;
namespace method = single::method;
namespace block = single::block;

bool least_squares_type(int code) { return single::method_row(code).least_squares_tests; }

bool iv_type(int code) { return single::method_row(code).iv_tests; }

/// The title code of the test page: 30 OLS, 31 IV, 40 NLS, 41 IV-NLS.
int title_code(int code) {
  if (code == method::kNls) return 40;
  if (code == method::kNl2sls) return 41;
  return iv_type(code) ? 31 : 30;
}

/// "=" and the value, then its probability unless the value is missing.
void append_statistic(std::string& line, double value, core::ProbKind kind, int df1, int df2) {
  value = printable(value);
  core::APPENDREAL(line, 0, '=', value);
  if (value != kMissing) core::APPENDPROB(line, kind, value, df1, df2);
}

}  // namespace

std::string chi_squared_line(std::string_view label, int gap, double value, int df) {
  std::string line(kWidth, ' ');
  core::APPENDTEXT(line, 0, label);
  core::APPENDCHISQ(line, gap, df);
  append_statistic(line, value, core::ProbKind::kChiSquared, df, 0);
  return line;
}

std::string f_statistic_line(int gap, double value, int df1, int df2) {
  std::string line(kWidth, ' ');
  core::APPENDTEXT(line, 0, " F Statistic");
  core::APPENDTEXT(line, gap, "F(");
  core::APPENDINTFIELD(line, 0, df1, 3);
  core::APPENDTEXT(line, 0, ",");
  core::APPENDINTFIELD(line, 0, df2, 4);
  core::APPENDTEXT(line, 0, ")");
  append_statistic(line, value, core::ProbKind::kF, df1, df2);
  return line;
}

void SARGANTEST(int method_code, double lm, int p, int n, int k, int channel) {
  core::WRITESTARS(kWidth, channel);
  const bool ls = least_squares_type(method_code);
  if (ls || iv_type(method_code))
    core::WRITELINE(chi_squared_line(ls ? " Lagrange Multiplier Statistic" : " Sargan's test statistic for serial correlation",
                                     4, lm, p),
                    channel);
  if (ls) {
    const int d = n - k - p;
    const double f = printable(lm) == kMissing ? kMissing : lm_to_f(lm, n, p, d);
    core::WRITELINE(f_statistic_line(19, f, p, d), channel);
  }
  core::WRITESTARS(kWidth, channel);
}

bool SERIALCORRELATIONTEST(int order, int channel) {
  const auto& s = single::estimation();
  const int n = s.nused, k = s.nregs;
  AuxiliaryRegression aux;
  if (order >= 1 && order <= n - k - 1) aux = auxiliary_regression(kSerialCorrelation, order);
  if (aux.fail != 0 || aux.k != k) {
    core::SHOWMSGFILE(core::msg::kSingularMatrix);
    return false;
  }
  const int code = s.method;
  const double lm = aux.lm;
  {
    // The table of the enlarged regression is the estimate's table with the lagged
    // residuals appended: it is written from a copy of the state that holds them.
    StateRestorer restore;
    auto& e = single::estimation();
    const std::string prefix = single::method_row(code).family == single::Family::kNonLinear ? " NLS RES(-" : " OLS RES(-";
    for (int j = 1; j <= order; ++j) e.eqvarnames.push_back(prefix + std::to_string(j) + ")");
    e.nregs = k + order;
    e.arma_lags.clear();
    for (int j = 0; j < k + order; ++j) e.result[static_cast<size_t>(block::kCoefficients + j)] = aux.coef[static_cast<size_t>(j)];
    e.variance = aux.inverse;
    e.scale = single::VarianceScale::kScaled;
    const double rss = s.rss - aux.explained;
    e.sigma = rss > 0.0 ? std::sqrt(rss / (n - k - order)) : 0.0;
    single::ESTIMATIONTITLE(title_code(code), 0, channel);
    single::REGRESSIONTABLE(50, channel);
  }
  SARGANTEST(code, lm, order, n, k, channel);
  return true;
}

}  // namespace qorv::diagnostics
