#include "engine/diagnostics/chow_tests.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string>
#include <vector>

#include "engine/core/num/matrices.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/auxiliary_regression.h"
#include "engine/diagnostics/diagnostic_rows.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

namespace {

constexpr double kMissing = limits::kMissing;

size_t at(int i) { return static_cast<size_t>(i); }

/// RSS of the current equation's regression over observations first..first + n − 1 of
/// the data set; the missing value when it cannot be formed.
double window_rss(int first, int n) {
  const auto& s = single::estimation();
  const auto& g = core::globals();
  const int k = s.nregs;
  if (n < 1 || k < 1 || s.eqvarlist.size() != at(k) + 1 || first < 1 || first - 1 + n > g.nobs) return kMissing;
  for (int v : s.eqvarlist)
    if (v < 1 || v > g.nvars) return kMissing;
  try {
    std::vector<double> y(at(n)), b(at(k)), fit(at(n)), work(at(std::max(k, n))), m(at(k) * at(k + 1) / 2);
    for (int t = 0; t < n; ++t) {
      for (int v : s.eqvarlist)
        if (core::data_at(first + t, v) == kMissing) return kMissing;
      y[at(t)] = core::data_at(first + t, s.eqvarlist[0]);
    }
    double rss = 0.0;
    int fail = 0;
    core::PACKEDXTXSOLVE(core::work_array(), first - 1, y, s.eqvarlist, k, n, g.nobs, 0, 0, b, fit, work, rss, m,
                         fail);
    return fail != 0 ? kMissing : rss;
  } catch (const std::bad_alloc&) {
    return kMissing;
  }
}

/// RSS of the least-squares fit over the estimation sample and the t2 observations after
/// it, from the fit itself: with A⁻¹ = (X1'X1)⁻¹ and b the fit's, and e2 = y2 − X2·b the
/// prediction errors, RSS = RSS1 + e2'(I + X2·A⁻¹·X2')⁻¹e2. Only the t2 new observations are
/// read. The missing value when the fit does not hold A⁻¹ or the rows hold a gap or a
/// non-finite value; the caller then forms the regression afresh.
/// Cost: t2·k² + t2²·k/2 + t2³/6 multiply-adds.
double extended_rss(int first, int n1, int t2) {
  const auto& s = single::estimation();
  const auto& g = core::globals();
  const int k = s.nregs;
  if (s.method != single::method::kOls || !holds_cross_inverse(k) || s.rss == kMissing || first + n1 - 1 + t2 > g.nobs)
    return kMissing;
  try {
    // W = X2·A⁻¹ (t2 × k, by rows) and the prediction errors.
    std::vector<double> x2(at(t2) * at(k)), w(at(t2) * at(k)), e2(at(t2));
    for (int t = 0; t < t2; ++t) {
      const int obs = first + n1 + t;
      long double fitted = 0.0L;
      for (int j = 1; j <= k; ++j) {
        const double x = core::data_at(obs, s.eqvarlist[at(j)]);
        if (x == kMissing || !std::isfinite(x)) return kMissing;
        x2[at(t * k + j - 1)] = x;
        fitted += static_cast<long double>(x) * s.result[at(single::block::kCoefficients + j - 1)];
      }
      const double y = core::data_at(obs, s.eqvarlist[0]);
      if (y == kMissing || !std::isfinite(y)) return kMissing;
      e2[at(t)] = static_cast<double>(static_cast<long double>(y) - fitted);
      for (int i = 1; i <= k; ++i) {
        long double sum = 0.0L;
        for (int j = 1; j <= k; ++j)
          sum += static_cast<long double>(x2[at(t * k + j - 1)]) * s.variance[at(core::PACKEDINDEX(i, j) - 1)];
        w[at(t * k + i - 1)] = static_cast<double>(sum);
      }
    }
    // S = I + W·X2' (packed), factored; the quadratic form e2'S⁻¹e2 by forward substitution.
    std::vector<double> factor(at(t2) * at(t2 + 1) / 2);
    for (int r = 1; r <= t2; ++r)
      for (int c = 1; c <= r; ++c) {
        long double sum = r == c ? 1.0L : 0.0L;
        for (int j = 0; j < k; ++j)
          sum += static_cast<long double>(w[at((r - 1) * k + j)]) * x2[at((c - 1) * k + j)];
        factor[at(core::PACKEDINDEX(r, c) - 1)] = static_cast<double>(sum);
      }
    int fail = 0;
    core::PACKEDCHOLESKY(factor, t2, fail);
    if (fail != 0) return kMissing;
    long double quadratic = 0.0L;
    std::vector<long double> z(at(t2));
    for (int r = 1; r <= t2; ++r) {
      long double sum = e2[at(r - 1)];
      for (int c = 1; c < r; ++c) sum -= static_cast<long double>(factor[at(core::PACKEDINDEX(r, c) - 1)]) * z[at(c - 1)];
      z[at(r - 1)] = sum / factor[at(core::PACKEDINDEX(r, r) - 1)];
      quadratic += z[at(r - 1)] * z[at(r - 1)];
    }
    return s.rss + static_cast<double>(quadratic);
  } catch (const std::bad_alloc&) {
    return kMissing;
  }
}

/// True when the fit's own inverse gives the extended RSS for less than forming the
/// extended regression afresh: (n1 + t2)·k²/2 + k³/2.
bool extension_pays(int n1, int t2, int k) {
  const double cost = static_cast<double>(t2) * k * k + 0.5 * t2 * t2 * k + t2 * static_cast<double>(t2) * t2 / 6.0;
  return cost < 0.5 * (n1 + t2) * static_cast<double>(k) * k + 0.5 * static_cast<double>(k) * k * k;
}

bool any_missing(std::initializer_list<double> values) {
  return std::any_of(values.begin(), values.end(), [](double v) { return v == kMissing; });
}

/// A test's F statistic and its chi-squared form.
struct ChowTest {
  RowStatistic chsq;  ///< q·F on q degrees of freedom
  RowStatistic f;     ///< F on (q, d)
};

/// The block form of a test: the label with its chi-squared form, then its F form.
void write_block(std::string_view label, const ChowTest& test, int channel) {
  std::string line(kTableWidth, ' ');
  put_text(line, 1, label);
  put_text(line, 29, "#");  // the chi-squared form starts in column 30
  core::APPENDCHISQ(line, 0, test.chsq.df1);
  core::APPENDREAL(line, 0, '=', printable(test.chsq.value));
  if (printable(test.chsq.value) != kMissing)
    core::APPENDPROB(line, core::ProbKind::kChiSquared, test.chsq.value, test.chsq.df1);
  core::WRITELINE(line, channel);
  line.assign(kTableWidth, ' ');
  core::APPENDFDIST(line, 27, test.f.df1, test.f.df2);
  core::APPENDREAL(line, 0, '=', printable(test.f.value));
  if (printable(test.f.value) != kMissing)
    core::APPENDPROB(line, core::ProbKind::kF, test.f.value, test.f.df1, test.f.df2);
  core::WRITELINE(line, channel);
}

}  // namespace

ChowSums chow_sums(int t2) {
  const auto& s = single::estimation();
  const int first = core::globals().sample_start;
  ChowSums sums{s.rss, kMissing, kMissing};
  if (t2 < 1) return sums;
  if (extension_pays(s.nused, t2, s.nregs)) sums.rss = extended_rss(first, s.nused, t2);
  if (sums.rss == kMissing) sums.rss = window_rss(first, s.nused + t2);
  if (t2 > s.nregs) sums.rss2 = window_rss(first + s.nused, t2);
  return sums;
}

ChowStatistics chow_statistics(int t2, int t1, int k, const ChowSums& sums, double threshold) {
  ChowStatistics c;
  const double rss1 = sums.rss1, rss2 = sums.rss2, rss = sums.rss;
  c.failure_f = c.failure_chsq = c.stability_f = c.stability_chsq = kMissing;
  if (t2 >= 1 && t1 > k && !any_missing({rss1, rss}) && rss1 >= threshold) {
    c.failure_f = static_cast<double>(t1 - k) * (rss - rss1) / (rss1 * t2);
    c.failure_chsq = t2 * c.failure_f;
  }
  c.stability = t2 > k;
  if (c.stability && !any_missing({rss1, rss2, rss}) && rss1 + rss2 >= threshold) {
    c.stability_f = static_cast<double>(t1 + t2 - 2 * k) * (rss - rss1 - rss2) / ((rss1 + rss2) * k);
    c.stability_chsq = k * c.stability_f;
  }
  return c;
}

void CHOWTESTS(int t2, int t1, int k, const ChowSums& sums, double threshold, int mode, int channel) {
  if (t2 < 1) return;
  const ChowStatistics c = chow_statistics(t2, t1, k, sums, threshold);
  const ChowTest failure{{c.failure_chsq, t2, 0}, {c.failure_f, t2, t1 - k}};
  const ChowTest chow{{c.stability_chsq, k, 0}, {c.stability_f, k, t1 + t2 - 2 * k}};
  const bool stability = c.stability;
  if (mode == kDiagnosticRows) {
    core::WRITELINE(spacer_row(), channel);
    core::WRITELINE(diagnostic_row("* E:Predictive Failure*", failure.chsq, failure.f, true), channel);
    if (stability) {
      core::WRITELINE(spacer_row(), channel);
      core::WRITELINE(diagnostic_row("* F:Chow Test         *", chow.chsq, chow.f, true), channel);
    }
    return;
  }
  write_block(" Predictive failure test", failure, channel);
  if (stability) write_block(" Structural stability test", chow, channel);
}

}  // namespace qorv::diagnostics
