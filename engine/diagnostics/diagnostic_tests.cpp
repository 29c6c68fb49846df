#include "engine/diagnostics/diagnostic_tests.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/core/report_writer.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/auxiliary_regression.h"
#include "engine/diagnostics/chow_tests.h"
#include "engine/diagnostics/diagnostic_rows.h"
#include "engine/diagnostics/residual_tests.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

namespace {

constexpr double kMissing = limits::kMissing;
constexpr double kTol = limits::kTolerance;

using single::estimation;
namespace method = single::method;
namespace block = single::block;

/// The F version as printed: missing where the LM statistic is missing or the rule fails.
double f_version(double lm, int n, int q, int d) {
  if (lm == kMissing || lm < 0.0) return kMissing;
  const double f = lm_to_f(lm, n, q, d);
  return f < 0.0 ? kMissing : f;
}

bool iv_without_f(int code) { return single::method_row(code).iv_tests; }

/// Observations kept back after the sample of an OLS estimate.
int kept_back() {
  return estimation().method == method::kOls ? core::driver_state().predictive_failure : 0;
}

std::string text_line(int column, std::string_view text) {
  std::string line(static_cast<size_t>(column - 1), ' ');
  line += text;
  return line;
}

}  // namespace

DiagnosticStatistics diagnostic_statistics() {
  const auto& s = estimation();
  DiagnosticStatistics d;
  d.n = s.nused;
  d.k = s.nregs;
  d.f_applicable = !iv_without_f(s.method);
  const int n = d.n, k = d.k;
  const bool fitted_ok = s.sigma != kMissing && s.sigma >= kTol;
  d.order = std::max(1, core::globals().periods_per_year);
  if (n - k - d.order < 2) d.order = 1;
  d.serial_lm = d.serial_f = d.reset_lm = d.reset_f = d.normality_lm = d.hetero_lm = d.hetero_f = kMissing;
  int fail = 0;
  if (fitted_ok && n - k >= 3) {
    d.serial_lm = QUADFORMS(kSerialCorrelation, d.order, fail);
    d.serial_f = f_version(d.serial_lm, n, d.order, n - k - d.order);
  }
  if (fitted_ok && n - k >= 4) {
    d.reset_lm = QUADFORMS(kFunctionalForm, 1, fail);
    d.reset_f = f_version(d.reset_lm, n, 1, n - k - 1);
    d.normality_lm = NORMALITYTEST(single::series_block(block::kResiduals), fail);
  }
  const auto e = single::series_block(block::kResiduals);
  std::vector<double> fitted(static_cast<size_t>(n));
  const bool iv = single::method_row(s.method).iv_tests;
  for (int t = 1; t <= n; ++t)
    fitted[static_cast<size_t>(t - 1)] =
        iv ? single::actual(t) - s.result[static_cast<size_t>(block::kGeneralisedResiduals + t - 1)]
           : single::fitted(t);
  d.hetero_lm = HETEROTEST(e, fitted, s.sigma, kTol, fail);
  d.hetero_f = f_version(d.hetero_lm, n, 1, n - 2);
  if (!d.f_applicable) d.serial_f = d.reset_f = d.hetero_f = kMissing;
  return d;
}

void DIAGNOSTICTESTS(int channel) {
  const auto& s = estimation();
  const DiagnosticStatistics d = diagnostic_statistics();
  const int h = kept_back();
  core::WRITELINE("", channel);
  core::WRITELINE("", channel);
  core::WRITELINE(text_line(32, "Diagnostic Tests"), channel);
  core::WRITESTARS(kTableWidth, channel);
  std::string heading(kTableWidth, ' ');
  put_text(heading, 1, "*    Test Statistics  *");
  put_text(heading, 32, "LM Version");
  put_text(heading, 50, "*");
  put_text(heading, 60, "F Version");
  put_text(heading, 79, "*");
  core::WRITELINE(heading, channel);
  core::WRITESTARS(kTableWidth, channel);
  const int n = d.n, k = d.k, p = d.order;
  const struct {
    const char* label;
    RowStatistic lm, f;
    bool f_applicable;
  } rows[] = {
      {"* A:Serial Correlation*", {d.serial_lm, p, 0}, {d.serial_f, p, n - k - p}, d.f_applicable},
      {"* B:Functional Form   *", {d.reset_lm, 1, 0}, {d.reset_f, 1, n - k - 1}, d.f_applicable},
      {"* C:Normality         *", {d.normality_lm, 2, 0}, {}, false},
      {"* D:Heteroscedasticity*", {d.hetero_lm, 1, 0}, {d.hetero_f, 1, n - 2}, d.f_applicable},
  };
  for (const auto& r : rows) {
    core::WRITELINE(spacer_row(), channel);
    core::WRITELINE(diagnostic_row(r.label, r.lm, r.f, r.f_applicable), channel);
  }
  if (h >= 1) CHOWTESTS(h, n, k, chow_sums(h), kTol, kDiagnosticRows, channel);
  core::WRITESTARS(kTableWidth, channel);
  core::WRITELINE("   A:Lagrange multiplier test of residual serial correlation", channel);
  core::WRITELINE("   B:Ramsey's RESET test using the square of the fitted values", channel);
  core::WRITELINE("   C:Based on a test of skewness and kurtosis of residuals", channel);
  core::WRITELINE("   D:Based on the regression of squared residuals on squared fitted values", channel);
  if (h >= 1) {
    core::WRITELINE("   E:A test of adequacy of predictions (Chow's second test)", channel);
    if (h > s.nregs) core::WRITELINE("   F:Test of stability of the regression coefficients", channel);
  }
}

}  // namespace qorv::diagnostics
