#include "engine/diagnostics/variable_tests.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <utility>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/message_lines.h"
#include "engine/core/model_spec.h"
#include "engine/core/num/matrices.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/results_page.h"
#include "engine/core/temp_variables.h"
#include "engine/diagnostics/diagnostic_rows.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "engine/diagnostics/sample_check.h"
#include "engine/diagnostics/serial_correlation_test.h"
#include "engine/diagnostics/state_restorer.h"
#include "engine/single/estimation_state.h"
#include "engine/single/estimation_titles.h"
#include "engine/single/least_squares.h"
#include "engine/single/result_report.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

namespace {

constexpr double kMissing = limits::kMissing;
constexpr int kWidth = 79;
constexpr int kDeletionTitle = 2;
constexpr int kAdditionTitle = 1;
/// `REGRESSIONTABLE` code that writes the table without a title of its own.
constexpr int kTableWithoutTitle = 50;

bool iv_type(int code) { return single::method_row(code).iv_tests; }

/// A statistic as printed, from a value that may be NaN or infinite.
double checked(double value) { return std::isfinite(value) ? printable(value) : kMissing; }

/// Estimates the equation the state now lists over the engine's sample: least squares, or
/// for the IV methods two-stage least squares with the state's instruments. False when the
/// regression cannot be computed.
bool estimate_listed_equation(int code) {
  auto& s = single::estimation();
  if (!single::load_sample() || s.nused <= s.nregs) return false;
  s.status = single::status::kEstimated;
  if (iv_type(code)) {
    s.method = code;
    single::LSQCORE(false);
  } else {
    s.method = single::method::kOls;  // the least-squares core, whatever the equation came from
    double mean_square = 0.0, loglik = 0.0;
    single::RESIDUALSUMMARY(mean_square, loglik, false);
    s.method = code;
  }
  return s.status == single::status::kEstimated;
}

/// W for the regressors at positions `positions` (from 1) of the current estimate.
double wald_for(std::span<const int> positions) {
  const int r = static_cast<int>(positions.size());
  std::vector<double> b, v(static_cast<std::size_t>(r) * (r + 1) / 2);
  for (int i = 1; i <= r; ++i) {
    b.push_back(single::coefficient(positions[static_cast<std::size_t>(i - 1)]));
    for (int j = 1; j <= i; ++j)
      v[static_cast<std::size_t>(core::PACKEDINDEX(i, j) - 1)] = single::coefficient_variance(
          positions[static_cast<std::size_t>(i - 1)], positions[static_cast<std::size_t>(j - 1)]);
  }
  if (std::find(v.begin(), v.end(), kMissing) != v.end()) return kMissing;
  const double w = wald_zero_restrictions(b, std::move(v));
  if (w == kMissing) core::SHOWMSGFILE(core::msg::kSingularMatrix);
  return w;
}

/// The test page: the title, the table of the equation the state holds, the block.
void write_test_page(int code, bool addition, const ZeroRestrictionTest& test) {
  const int page = core::channel::kResultsPage;
  core::SHOWRESULTS(core::kOpenPage);
  single::ESTIMATIONTITLE(code, addition ? kAdditionTitle : kDeletionTitle, page);
  single::REGRESSIONTABLE(kTableWithoutTitle, page);
  VARADDDELTEST(code, addition, test, page);
  core::SHOWRESULTS(core::kShowPage);
}

/// Runs `estimate` (the restricted or extended regression) under the busy notice, then
/// shows the test page, or message-file line 39 when the regression cannot be computed.
void estimate_and_show(int code, bool addition, const std::function<bool(ZeroRestrictionTest&)>& estimate) {
  ZeroRestrictionTest test;
  bool estimated = false;
  {
    BusyNotice busy;
    estimated = estimate(test);
  }
  if (!estimated) {
    core::SHOWMSGFILE(core::msg::kSingularTestRegression);
    return;
  }
  write_test_page(code, addition, test);
}

/// The specification screen's request showing the current equation.
core::SpecRequest current_equation_request(int kind) {
  const auto& s = single::estimation();
  core::SpecRequest request;
  request.kind = kind;
  if (!s.eqvarnames.empty()) {
    request.model_dependent = s.eqvarnames.front();
    request.model_names.assign(s.eqvarnames.begin() + 1, s.eqvarnames.end());
  }
  return request;
}

/// Positions (from 1) among the regressors of the variables `numbers`; empty when one is
/// not a regressor, is the dependent variable, is listed twice or when every regressor
/// would go.
std::vector<int> deleted_positions(std::span<const int> numbers) {
  const auto& list = single::estimation().eqvarlist;
  std::vector<int> positions;
  for (int number : numbers) {
    const auto it = std::find(list.begin() + 1, list.end(), number);
    if (it == list.end() || number == list.front()) return {};
    const int position = static_cast<int>(it - list.begin());
    if (std::find(positions.begin(), positions.end(), position) != positions.end()) return {};
    positions.push_back(position);
  }
  if (positions.size() + 1 >= list.size()) return {};
  return positions;
}

/// Removes the regressors at `positions` (from 1) from the state's equation.
void drop_regressors(std::vector<int> positions) {
  auto& s = single::estimation();
  std::sort(positions.rbegin(), positions.rend());
  for (int p : positions) {
    const auto at = static_cast<std::ptrdiff_t>(p);
    s.eqvarlist.erase(s.eqvarlist.begin() + at);
    if (static_cast<std::size_t>(p) < s.eqvarnames.size()) s.eqvarnames.erase(s.eqvarnames.begin() + at);
    if (static_cast<std::size_t>(p) <= s.reglagtable.size()) s.reglagtable.erase(s.reglagtable.begin() + at - 1);
  }
}

}  // namespace

ZeroRestrictionTest least_squares_restriction_test(int r, int n, int k, double rss_u, double rss_r, double ll_u,
                                                   double ll_r) {
  ZeroRestrictionTest t{r, n, k, kMissing, kMissing, kMissing, kMissing};
  if (r < 1 || n - k < 1 || !(rss_u >= limits::kTolerance) || rss_r == kMissing) return t;
  const double d = n - k;
  t.f = checked((rss_r - rss_u) * d / (r * rss_u));
  if (t.f != kMissing) t.lm = checked(n * r * t.f / (r * t.f + d));
  if (ll_u != kMissing && ll_r != kMissing) t.lr = checked(2.0 * (ll_u - ll_r));
  return t;
}

double wald_zero_restrictions(std::span<const double> b, std::vector<double> v) {
  const int r = static_cast<int>(b.size());
  if (r < 1 || v.size() != static_cast<std::size_t>(r) * (r + 1) / 2) return kMissing;
  int fail = 0;
  core::INVERTSYMPACKED(v, r, fail);
  if (fail != 0) return kMissing;
  long double w = 0.0L;
  for (int i = 1; i <= r; ++i)
    for (int j = 1; j <= r; ++j)
      w += static_cast<long double>(b[static_cast<std::size_t>(i - 1)]) *
           v[static_cast<std::size_t>(core::PACKEDINDEX(i, j) - 1)] * b[static_cast<std::size_t>(j - 1)];
  return checked(static_cast<double>(w));
}

void VARADDDELTEST(int method_code, bool addition, const ZeroRestrictionTest& test, int channel) {
  std::string line(kWidth, ' ');
  core::APPENDTEXT(line, 0, " Joint test of zero restrictions on the coefficients of");
  core::APPENDTEXT(line, 1, addition ? "additional" : "deleted");
  core::APPENDTEXT(line, 1, "variables:");
  core::WRITELINE(line, channel);
  const single::MethodRow& row = single::method_row(method_code);
  if (row.least_squares_tests) {
    core::WRITELINE(chi_squared_line(" Lagrange Multiplier Statistic", 5, test.lm, test.r), channel);
    core::WRITELINE(chi_squared_line(" Likelihood Ratio Statistic", 8, test.lr, test.r), channel);
    core::WRITELINE(f_statistic_line(20, test.f, test.r, test.n - test.k), channel);
  } else if (row.iv_tests) {
    core::WRITELINE(chi_squared_line(" Wald Statistic", 17, test.wald, test.r), channel);
  }
  core::WRITESTARS(kWidth, channel);
}

bool estimate_restricted(std::span<const int> positions, ZeroRestrictionTest& test) {
  const int code = single::estimation().method;
  const single::EstimationState u = single::estimation();
  test = ZeroRestrictionTest{static_cast<int>(positions.size()), u.nused, u.nregs, kMissing, kMissing, kMissing,
                             kMissing};
  if (iv_type(code) && u.rss >= limits::kTolerance) test.wald = wald_for(positions);
  drop_regressors(std::vector<int>(positions.begin(), positions.end()));
  if (!estimate_listed_equation(code)) return false;
  const auto& s = single::estimation();
  if (!iv_type(code))
    test = least_squares_restriction_test(test.r, u.nused, u.nregs, u.rss, s.rss, u.loglik, s.loglik);
  return true;
}

bool estimate_extended(const AddedVariables& added, ZeroRestrictionTest& test) {
  auto& s = single::estimation();
  const int code = s.method;
  const int r = static_cast<int>(added.numbers.size());
  double rss_r = s.rss, ll_r = s.loglik;
  const auto& g = core::globals();
  if (g.sample_end - g.sample_start + 1 != s.nused) {
    // The lags of the added variables cost leading observations: the restricted equation
    // is estimated again over the observations the extended one uses.
    if (!estimate_listed_equation(code)) return false;
    rss_r = s.rss;
    ll_r = s.loglik;
  }
  const bool lags_known = s.reglagtable.size() + 1 == s.eqvarlist.size();
  s.eqvarlist.insert(s.eqvarlist.end(), added.numbers.begin(), added.numbers.end());
  s.eqvarnames.insert(s.eqvarnames.end(), added.names.begin(), added.names.end());
  if (lags_known)
    for (const core::RecordEntry& entry : added.record) s.reglagtable.push_back({entry.number, entry.lag});
  s.instrlist.insert(s.instrlist.end(), added.instruments.begin(), added.instruments.end());
  s.instrnames.insert(s.instrnames.end(), added.instrument_names.begin(), added.instrument_names.end());
  s.ninstr = static_cast<int>(s.instrlist.size());
  if (!estimate_listed_equation(code)) return false;
  test = ZeroRestrictionTest{r, s.nused, s.nregs, kMissing, kMissing, kMissing, kMissing};
  if (!iv_type(code)) {
    test = least_squares_restriction_test(r, s.nused, s.nregs, s.rss, rss_r, s.loglik, ll_r);
  } else if (s.rss >= limits::kTolerance) {
    std::vector<int> positions;
    for (int j = s.nregs - r + 1; j <= s.nregs; ++j) positions.push_back(j);
    test.wald = wald_for(positions);
  }
  return true;
}

void variable_deletion_test() {
  const int code = single::estimation().method;
  core::TemporaryScope temporaries;
  const core::SpecResult typed = core::SPECIFYMODEL(current_equation_request(23));
  if (typed.cancelled) return;
  const std::vector<int> positions = deleted_positions(typed.numbers);
  if (positions.empty()) {
    core::SHOWMSGFILE(core::msg::kDeletionListUnusable);
    return;
  }
  StateRestorer restore;
  estimate_and_show(code, false, [&](ZeroRestrictionTest& test) { return estimate_restricted(positions, test); });
}

void variable_addition_test() {
  const int code = single::estimation().method;
  core::TemporaryScope temporaries;
  const core::SpecResult typed = core::SPECIFYMODEL(current_equation_request(22));
  if (typed.cancelled || typed.numbers.empty()) return;
  AddedVariables added{typed.numbers, typed.names, typed.record, {}, {}};
  const int r = static_cast<int>(added.numbers.size());
  const auto& s = single::estimation();
  if (iv_type(code)) {
    core::SpecRequest request = current_equation_request(25);
    request.item_word = "instrument";
    request.second_names = s.instrnames;
    request.required = std::max(0, s.nregs + r - s.ninstr);
    const core::SpecResult instruments = core::SPECIFYMODEL(request);
    if (instruments.cancelled) return;
    added.instruments = instruments.numbers;
    added.instrument_names = instruments.names;
  }
  std::vector<int> checked_list = s.eqvarlist;
  checked_list.insert(checked_list.end(), added.numbers.begin(), added.numbers.end());
  if (iv_type(code)) {
    checked_list.insert(checked_list.end(), s.instrlist.begin(), s.instrlist.end());
    checked_list.insert(checked_list.end(), added.instruments.begin(), added.instruments.end());
  }
  StateRestorer restore;
  SampleGuard sample;
  if (CHECKSAMPLE(checked_list, s.nregs + r, "this model")) return;
  estimate_and_show(code, true, [&](ZeroRestrictionTest& test) { return estimate_extended(added, test); });
}

}  // namespace qorv::diagnostics
