#include "engine/multi/cointegration_rank.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "engine/core/channels.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/results_page.h"
#include "engine/core/system_headers.h"
#include "engine/multi/critical_value_files.h"
#include "shared/exchange_slots.h"

namespace qorv::multi {

namespace {

std::string blank_line() { return std::string(core::kTableWidth, ' '); }

/// One table: the model title, its own title, the header, the column line, the rows of
/// the null ranks and the closing advice.
void write_rank_table(const CvarSession& session, RankStatistic statistic, std::span<const double> values, int channel) {
  const CriticalValues cv = read_critical_values(session.e, session.model_case, statistic, session.m);
  const bool trace = statistic == RankStatistic::kTrace;
  core::WRITEPAGEBREAK(channel);
  std::string line = blank_line();
  core::SYSTEMMODELTITLE(line, session.model_case, channel);
  line = blank_line();
  core::APPENDTEXT(line, 3,
                   trace ? "Cointegration LR Test Based on Trace of the Stochastic Matrix"
                         : "Cointegration LR Test Based on Maximal Eigenvalue of the Stochastic Matrix");
  core::WRITELINE(line, channel);
  core::COINTHEADER(session.header_args(), channel, true);
  core::WRITELINE(" Null    Alternative    Statistic     95% Critical Value     90%Critical Value", channel);
  for (int r = 0; r < session.m; ++r) {
    const std::size_t k = static_cast<std::size_t>(session.m - r - 1);  // m - r common trends
    line = blank_line();
    core::APPENDTEXT(line, 0, r == 0 ? " r =" : " r<=");
    core::APPENDINTFIELD(line, 0, r, 2);
    core::APPENDTEXT(line, 6, trace ? "r>=" : "r =");
    core::APPENDINTFIELD(line, 0, r + 1, 2);
    core::APPENDREAL(line, 5, ' ', values[static_cast<std::size_t>(r)]);
    core::APPENDREAL(line, 8, ' ', cv.cv95[k]);
    core::APPENDREAL(line, 13, ' ', cv.cv90[k]);
    core::WRITELINE(line, channel);
  }
  core::WRITESTARS(core::kMaxStars, channel);
  core::WRITELINE(" Use the above table to determine r (the number of cointegratingvectors).", channel);
  core::WRITELINE("", channel);
}

}  // namespace

RankStatistics rank_statistics(std::span<const double> eigenvalues, int m, int n, double tol) {
  if (m < 0 || eigenvalues.size() < static_cast<std::size_t>(m))
    throw std::invalid_argument("rank_statistics: fewer eigenvalues than variables");
  RankStatistics out;
  const std::size_t um = static_cast<std::size_t>(m);
  out.max_eigenvalue.assign(um, limits::kMissing);
  out.trace.assign(um, limits::kMissing);
  // The trace of rank r adds the term of r + 1 to the trace of r + 1: sum from the last.
  double sum = 0.0;
  bool defined = true;
  for (std::size_t i = um; i-- > 0;) {
    const double rest = 1.0 - eigenvalues[i];
    if (rest > tol) {
      const double term = -static_cast<double>(n) * std::log(rest);
      out.max_eigenvalue[i] = term;
      sum += term;
    } else {
      defined = false;
    }
    if (defined) out.trace[i] = sum;
  }
  return out;
}

void write_rank_report(const CvarSession& session, double tol, int channel) {
  const RankStatistics stats = rank_statistics(session.fit.eigenvalues, session.m, session.n, tol);
  write_rank_table(session, RankStatistic::kMaxEigenvalue, stats.max_eigenvalue, channel);
  write_rank_table(session, RankStatistic::kTrace, stats.trace, channel);
  core::PRINTCOINTRANK(session.model_case, session.header_args(), tol, limits::kMissing, session.fit.ll0, channel);
}

void write_rank_tables(const CvarSession& session, double tol) {
  core::SHOWRESULTS(core::kOpenPage);
  write_rank_report(session, tol, core::channel::kResultsPage);
  core::SHOWRESULTS(core::kShowPage);
}

}  // namespace qorv::multi
