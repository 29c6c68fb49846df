#include "engine/diagnostics/arch_test.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/core/channels.h"
#include "engine/core/num/matrices.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/results_page.h"
#include "engine/core/square_guard.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "engine/diagnostics/residual_tests.h"
#include "engine/diagnostics/serial_correlation_test.h"
#include "engine/single/estimation_state.h"
#include "engine/single/estimation_titles.h"
#include "engine/single/result_report.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

namespace {

constexpr double kMissing = limits::kMissing;
constexpr int kLineWidth = 79;

}  // namespace

ArchTest ARCHTEST(std::span<const double> e, int p) {
  ArchTest r;
  r.p = p;
  const int n = static_cast<int>(e.size());
  r.n = n - p;
  r.df = n - 2 * p - 1;
  r.lm = r.f = kMissing;
  if (p < 1 || r.df < 1) return r;
  const int k = p + 1, m = r.n;
  // Columns: 1 the squared residual, 2 the intercept, 2 + j its lag j.
  std::vector<double> data(static_cast<std::size_t>(m) * (k + 1));
  const auto at = [&](int column, int row) -> double& {
    return data[static_cast<std::size_t>(column - 1) * m + static_cast<std::size_t>(row)];
  };
  for (int row = 0; row < m; ++row) {
    const int t = row + p;  // 0-based observation of the dependent value
    at(1, row) = e[static_cast<std::size_t>(t)] * e[static_cast<std::size_t>(t)];
    at(2, row) = 1.0;
    for (int j = 1; j <= p; ++j) at(2 + j, row) = e[static_cast<std::size_t>(t - j)] * e[static_cast<std::size_t>(t - j)];
  }
  if (!core::squares_finite(data)) return r;  // squared residuals too large to be squared again
  std::vector<int> list(static_cast<std::size_t>(k) + 1);
  for (int j = 0; j <= k; ++j) list[static_cast<std::size_t>(j)] = j + 1;
  const std::vector<double> y(data.begin(), data.begin() + m);
  std::vector<double> b(static_cast<std::size_t>(k)), fitted(static_cast<std::size_t>(m));
  std::vector<double> work(static_cast<std::size_t>(std::max(m, k)));
  std::vector<double> inverse(static_cast<std::size_t>(k) * (k + 1) / 2);
  double rss = 0.0;
  int fail = 0;
  core::PACKEDXTXSOLVE(data, 0, y, list, k, m, m, 0, 0, b, fitted, work, rss, inverse, fail);
  if (fail != 0) return r;
  r.fail = 0;
  r.coef = b;
  const double s2 = rss / r.df;
  for (int j = 1; j <= k; ++j) {
    const double v = s2 * inverse[static_cast<std::size_t>(core::PACKEDINDEX(j, j) - 1)];
    r.se.push_back(v >= 0.0 ? std::sqrt(v) : kMissing);
  }
  long double mean = 0.0L, tss = 0.0L;
  for (double v : y) mean += v;
  mean /= m;
  for (double v : y) tss += (v - mean) * (v - mean);
  if (tss <= limits::kTolerance) {
    r.r2 = kMissing;
    return r;
  }
  r.r2 = 1.0 - rss / static_cast<double>(tss);
  r.lm = core::finite_or_missing(m * r.r2);
  if (r.lm < 0.0) r.lm = kMissing;
  if (r.lm != kMissing) {
    // (R²/p)/((1 − R²)/(n − 2p − 1)) is the F version of LM on (p, n − 2p − 1) over n − p.
    r.f = core::finite_or_missing(lm_to_f(r.lm, m, p, r.df));
    if (r.f < 0.0) r.f = kMissing;
  }
  return r;
}

void write_arch_page(int p) {
  const auto& s = single::estimation();
  const auto e = single::series_block(single::block::kResiduals);
  ArchTest test;
  {
    BusyNotice busy;
    test = ARCHTEST(e, p);
  }
  const int page = core::channel::kResultsPage;
  const bool nls = s.method == single::method::kNls;
  core::SHOWRESULTS(core::kOpenPage);
  single::ESTIMATIONTITLE(nls ? 42 : 32, 0, page);
  single::BASEDONHEADER(s.method, page);
  std::string line(kLineWidth, ' ');
  core::APPENDTEXT(line, 0, " Dependent variable is the squared residual");
  core::WRITELINE(line, page);
  line.assign(kLineWidth, ' ');
  core::APPENDINTEGER(line, 1, test.n);
  core::APPENDTEXT(line, 0, " observations used from");
  core::APPENDOBSLABEL(line, 1, core::globals().sample_start + p);
  core::APPENDTEXT(line, 0, " to");
  core::APPENDOBSLABEL(line, 1, core::globals().sample_end);
  core::WRITELINE(line, page);
  core::WRITESTARS(kLineWidth, page);
  line.assign(kLineWidth, ' ');
  core::APPENDTEXT(line, 0, " Regressor");
  core::APPENDTEXT(line, 14, "Coefficient");
  core::APPENDTEXT(line, 7, "Standard Error");
  core::APPENDTEXT(line, 9, "T-Ratio[Prob]");
  core::WRITELINE(line, page);
  const std::string prefix = nls ? "NLS RES^2(-" : "OLS RES^2(-";
  for (int j = 0; test.fail == 0 && j <= p; ++j) {
    const std::string name = j == 0 ? "Intercept" : prefix + std::to_string(j) + ")";
    core::WRITELINE(single::coefficient_row(name, test.coef[static_cast<std::size_t>(j)],
                                            test.se[static_cast<std::size_t>(j)], test.df),
                    page);
  }
  // The block of the serial-correlation test serves: over n − p observations with one
  // regressor besides the p lags, its F has the degrees of freedom (p, n − 2p − 1).
  SARGANTEST(s.method, test.lm, p, test.n, 1, page);
  core::SHOWRESULTS(core::kShowPage);
}

}  // namespace qorv::diagnostics
