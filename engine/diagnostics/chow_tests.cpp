#include "engine/diagnostics/chow_tests.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "engine/core/num/matrices.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/workspace.h"
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
  sums.rss = window_rss(first, s.nused + t2);
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
