#include "engine/diagnostics/residual_unit_root.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/core/channels.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/results_page.h"
#include "engine/core/unit_root_table.h"
#include "engine/core/vector_checks.h"
#include "engine/core/workspace.h"
#include "engine/data/command_support.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "engine/single/diff_t_ratio.h"
#include "engine/single/estimation_state.h"
#include "engine/single/estimation_titles.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

namespace {

constexpr double kMissing = limits::kMissing;
constexpr int kWidth = 79;
constexpr int kPage = core::channel::kResultsPage;
/// The table has rows for at most five stochastic regressors (six variables).
constexpr int kMostStochastic = 5;
/// Relative agreement of a trend's first differences.
constexpr double kTrendTolerance = 1e-9;

void write_text_line(std::string_view text) {
  std::string line(kWidth, ' ');
  core::APPENDTEXT(line, 0, text);
  core::WRITELINE(line, kPage);
}

}  // namespace

bool is_trend(std::span<const double> column) {
  if (column.size() < 2) return false;
  double largest = 0.0;
  for (std::size_t t = 1; t < column.size(); ++t) largest = std::max(largest, std::fabs(column[t] - column[t - 1]));
  if (!(largest > 0.0) || !std::isfinite(largest)) return false;
  const double first = column[1] - column[0];
  for (std::size_t t = 2; t < column.size(); ++t)
    if (std::fabs(column[t] - column[t - 1] - first) > kTrendTolerance * largest) return false;
  return true;
}

RegressorTerms regressor_terms() {
  const auto& s = single::estimation();
  RegressorTerms terms;
  if (single::method_row(s.method).family == single::Family::kNonLinear) return terms;
  const auto& g = core::globals();
  const int n = s.nused;
  std::vector<double> column(static_cast<std::size_t>(std::max(n, 0)));
  const int k = std::min(s.nregs, static_cast<int>(s.eqvarlist.size()) - 1);
  for (int j = 1; j <= k; ++j) {
    const int v = s.eqvarlist[static_cast<std::size_t>(j)];
    if (v < 1 || v > g.nvars || g.sample_start < 1 || g.sample_start + n - 1 > g.nobs) continue;
    for (int t = 0; t < n; ++t) column[static_cast<std::size_t>(t)] = core::data_at(g.sample_start + t, v);
    if (!terms.intercept && core::ISCONSTVECTOR(column, 0, n)) {
      terms.intercept = true;
    } else if (!terms.trend && is_trend(column)) {
      terms.trend = true;
    }
  }
  terms.stochastic = s.nregs - (terms.intercept ? 1 : 0) - (terms.trend ? 1 : 0);
  return terms;
}

int residual_table_index(const RegressorTerms& terms, bool non_linear) {
  if (non_linear) return 0;
  if (terms.intercept && terms.stochastic <= kMostStochastic)
    return 2 * (terms.stochastic + 1) + (terms.trend ? 1 : 0);
  if (!terms.intercept && !terms.trend && terms.stochastic == 0) return 1;
  return 0;
}

ResidualUnitRoot residual_unit_root(std::span<const double> e, int h, int table_index) {
  ResidualUnitRoot out;
  out.h = h;
  out.observations = static_cast<int>(e.size()) - h - 1;
  out.table_index = table_index;
  out.critical_value = table_index > 0 ? core::unit_root_critical_value(table_index, out.observations) : kMissing;
  const double log_n = out.observations > 1 ? std::log(static_cast<double>(out.observations)) : 0.0;
  for (int j = 0; j <= h; ++j) {
    const single::DiffTRatio fit = single::DIFFTRATIO(e, h, j, kMissing, limits::kTolerance);
    core::AdfRegression row;
    row.order = j;
    row.coefficients = j + 1;
    row.statistic = fit.statistic;
    row.loglik = fit.loglik;
    row.fitted = fit.fitted;
    const double c = j + 1.0;
    row.aic = row.fitted ? fit.loglik - c : kMissing;
    row.sbc = row.fitted ? fit.loglik - c * log_n / 2.0 : kMissing;
    row.hqc = row.fitted ? fit.loglik - c * std::log(log_n) : kMissing;
    out.orders.push_back(row);
  }
  return out;
}

void RESIDUNITROOT(int h) {
  const auto& s = single::estimation();
  const single::MethodRow& row = single::method_row(s.method);
  const bool non_linear = row.family == single::Family::kNonLinear;
  const RegressorTerms terms = regressor_terms();
  const ResidualUnitRoot test =
      residual_unit_root(single::series_block(single::block::kResiduals), h, residual_table_index(terms, non_linear));
  data::write_centred_line("Unit root tests for residuals");
  single::BASEDONHEADER(s.method, kPage);
  core::write_adf_heading(kPage);
  for (const core::AdfRegression& r : test.orders) core::write_adf_row(r, kPage);
  core::WRITESTARS(kWidth, kPage);
  std::string line(kWidth, ' ');
  core::APPENDTEXT(line, 0, " 95% critical value for the Dickey-Fuller statistic");
  core::APPENDREAL(line, 1, '=', test.critical_value);
  core::WRITELINE(line, kPage);
  // The least-squares methods of the menu (those that offer the CUSUM plots) warn.
  if (!terms.intercept && !non_linear && row.least_squares_plots)
    write_text_line(" ***WARNING: No intercept in original regression!***");
  if (terms.stochastic > kMostStochastic)
    write_text_line(" Critical value not available for the number of regressors in the regression!");
  core::write_criteria_legend(kPage);
}

void write_residual_unit_root_page(int h) {
  core::SHOWRESULTS(core::kOpenPage);
  {
    BusyNotice busy;
    RESIDUNITROOT(h);
  }
  core::SHOWRESULTS(core::kShowPage);
}

}  // namespace qorv::diagnostics
