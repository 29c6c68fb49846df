#include "engine/data/unit_root_command.h"

#include <algorithm>
#include <string>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/results_page.h"
#include "engine/core/unit_root_table.h"
#include "engine/core/workspace.h"

namespace qorv::data {

namespace {

constexpr int kPage = core::channel::kResultsPage;
using core::DeterministicTerms;

void write_block(const AdfFigures& f, const AdfBlock& block, const std::string& name) {
  write_centred_line("Unit root tests for variable " + name);
  write_centred_line(block.terms == DeterministicTerms::kIntercept
                         ? "The Dickey-Fuller regressions include an intercept but not a trend"
                         : "The Dickey-Fuller regressions include an intercept and a linear trend");
  core::WRITESTARS(kReportWidth, kPage);
  std::string line = blank_report_line();
  core::APPENDINTEGER(line, 1, block.regressions.observations);
  core::APPENDTEXT(line, 1, "observations used in the estimation of all ADF regressions.");
  core::WRITELINE(line, kPage);
  line = blank_report_line();
  core::APPENDTEXT(line, 0, " Sample period from");
  append_period(line, f.first_used, f.last);
  core::WRITELINE(line, kPage);
  core::WRITESTARS(kReportWidth, kPage);
  core::write_adf_heading(kPage);
  for (const core::AdfRegression& r : block.regressions.orders) core::write_adf_row(r, kPage);
  core::WRITESTARS(kReportWidth, kPage);
  line = blank_report_line();
  core::APPENDTEXT(line, 0, " 95% critical value for the augmented Dickey-Fuller statistic");
  core::APPENDREAL(line, 1, '=', block.critical_value);
  core::WRITELINE(line, kPage);
  core::write_criteria_legend(kPage);
  core::WRITESTARS(kReportWidth, kPage);
}

AdfBlock adf_block(std::span<const double> y, int p, DeterministicTerms terms) {
  AdfBlock block;
  block.terms = terms;
  block.regressions = core::ADFREGRESSIONS(y, p, terms);
  block.critical_value =
      core::unit_root_critical_value(core::unit_root_case(terms), block.regressions.observations);
  return block;
}

}  // namespace

int adf_order(int typed, int periods_per_year) {
  return std::min(typed >= 0 ? typed : periods_per_year, kMaxAdfOrder);
}

AdfFigures adf_figures(std::span<const double> y, int first, int p) {
  AdfFigures f;
  f.order = p;
  f.first_used = first + p + 1;
  f.last = first + static_cast<int>(y.size()) - 1;
  f.intercept = adf_block(y, p, DeterministicTerms::kIntercept);
  f.trend = adf_block(y, p, DeterministicTerms::kInterceptTrend);
  return f;
}

AdfResult ADFTEST(int variable, int first, int last, int order) {
  AdfResult result;
  const UnbrokenRun available = unbroken_run(variable, first, last);
  result.status = available.status;
  if (available.status != kCommandDone) return result;
  const AvailableRun& run = available.run;
  const int p = adf_order(order, core::globals().periods_per_year);
  const int largest = core::largest_adf_order(run.count(), DeterministicTerms::kInterceptTrend);
  if (p > largest) {
    // Order 0 with an intercept and a trend needs 5 observations.
    core::SHOWMESSAGE(largest < 0 ? std::string("Too few observations for unit root tests: at least 5 are needed.")
                                  : "Too few observations for unit root tests of order " + std::to_string(p) +
                                        ": the largest order possible is " + std::to_string(largest) + ".");
    result.status = kCommandRefused;
    return result;
  }
  const CalculatingNotice busy;
  result.figures = adf_figures(variable_values(variable, run.first, run.last), run.first, p);
  const std::string name = core::variable_name(variable);
  core::SHOWRESULTS(core::kOpenPage);
  write_block(result.figures, result.figures.intercept, name);
  core::WRITELINE("", kPage);
  write_block(result.figures, result.figures.trend, name);
  core::SHOWRESULTS(core::kShowPage);
  result.status = kCommandDone;
  return result;
}

}  // namespace qorv::data
