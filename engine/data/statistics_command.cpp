#include "engine/data/statistics_command.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/number_format.h"
#include "engine/core/plot_writer.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/results_page.h"
#include "engine/core/workspace.h"
#include "engine/data/value_listing.h"
#include "shared/plot_file.h"

namespace qorv::data {

namespace {

constexpr int kPage = core::channel::kResultsPage;
constexpr int kStatisticsColumn = 21;  // first 9-column field of the statistics table
constexpr int kFieldStep = 10;

std::vector<std::string> names_of(std::span<const int> variables) {
  std::vector<std::string> names;
  for (int v : variables) names.push_back(core::variable_name(v));
  return names;
}

/// " Sample period    : first to last" and the names after " Variable(s)      :", broken
/// into lines of the statistics table's width.
void write_sample_and_names(const SummaryFigures& f, const std::vector<std::string>& names) {
  std::string line = blank_report_line();
  core::APPENDTEXT(line, 0, " Sample period    :");
  append_period(line, f.first, f.last);
  core::WRITELINE(line, kPage);
  line = blank_report_line();
  core::APPENDTEXT(line, 0, " Variable(s)      :");
  bool first_on_line = true;
  for (const std::string& name : names) {
    if (!first_on_line && static_cast<int>(line.find_last_not_of(' ') + 2 + name.size()) > kReportWidth) {
      core::WRITELINE(line, kPage);
      line = blank_report_line();
      first_on_line = true;
    }
    if (first_on_line) {
      place(line, kStatisticsColumn, name);
    } else {
      core::APPENDTEXT(line, 1, name);
    }
    first_on_line = false;
  }
  core::WRITELINE(line, kPage);
}

void write_statistics_table(const SummaryFigures& f, std::vector<std::string>& names) {
  struct Row {
    std::string_view label;
    double VariableStatistics::*value;
  };
  static constexpr std::array<Row, 7> kRows = {{
      {" Maximum          :", &VariableStatistics::maximum},
      {" Minimum          :", &VariableStatistics::minimum},
      {" Mean             :", &VariableStatistics::mean},
      {" Std. Deviation   :", &VariableStatistics::std_dev},
      {" Skewness         :", &VariableStatistics::skewness},
      {" Kurtosis - 3     :", &VariableStatistics::kurtosis3},
      {" Coef of Variation:", &VariableStatistics::variation},
  }};
  const int count = static_cast<int>(f.statistics.size());
  core::WRITESTARS(kReportWidth, kPage);
  for (int b0 = 0; b0 < count; b0 += kColumnsPerBlock) {
    const int b1 = std::min(count, b0 + kColumnsPerBlock);
    if (b0 > 0) core::WRITELINE("", kPage);
    core::WRITETABLEROW(" ", kStatisticsColumn - 1, std::span(names).subspan(static_cast<std::size_t>(b0)), b1 - b0,
                        kColumnsPerBlock, 9, 1, kPage);
    for (const Row& row : kRows) {
      std::string line = blank_report_line();
      place(line, 1, row.label);
      for (int j = b0; j < b1; ++j)
        place(line, kStatisticsColumn + kFieldStep * (j - b0),
              core::FORMATREAL9(f.statistics[static_cast<std::size_t>(j)].*row.value));
      core::WRITELINE(line, kPage);
    }
  }
  core::WRITESTARS(kReportWidth, kPage);
}

// Columns of the autocorrelation table: the order in 2-7 and 9-column fields for the
// coefficient (11-19), its standard error (24-32) and the two statistics (37-45, 57-65),
// each statistic followed by its probability in brackets.
constexpr int kCoefficientColumn = 11, kErrorColumn = 24, kBoxPierceColumn = 37, kLjungBoxColumn = 57;

void write_autocorrelation_table(const SummaryFigures& f, const std::string& name) {
  const Autocorrelations& a = f.autocorrelation;
  core::WRITELINE("", kPage);
  std::string line = blank_report_line();
  core::APPENDTEXT(line, 0, " Variable");
  core::APPENDTEXT(line, 1, name);
  core::APPENDTEXT(line, 6, "Sample from");
  append_period(line, f.first, f.last);
  core::WRITELINE(line, kPage);
  core::WRITESTARS(kReportWidth, kPage);
  line = blank_report_line();
  place_centred(line, 2, 7, "Order");
  place_centred(line, kCoefficientColumn - 3, kCoefficientColumn + 11, "Autocorrelation");
  place_centred(line, kErrorColumn, kErrorColumn + 8, "Standard");
  place_centred(line, kBoxPierceColumn, kBoxPierceColumn + 14, "Box-Pierce");
  place_centred(line, kLjungBoxColumn, kLjungBoxColumn + 14, "Ljung-Box");
  core::WRITELINE(line, kPage);
  line = blank_report_line();
  place_centred(line, kCoefficientColumn - 3, kCoefficientColumn + 11, "Coefficient");
  place_centred(line, kErrorColumn, kErrorColumn + 8, "Error");
  place_centred(line, kBoxPierceColumn, kBoxPierceColumn + 14, "Statistic");
  place_centred(line, kLjungBoxColumn, kLjungBoxColumn + 14, "Statistic");
  core::WRITELINE(line, kPage);
  core::WRITESTARS(kReportWidth, kPage);
  for (int k = 1; k <= a.order; ++k) {
    const auto i = static_cast<std::size_t>(k - 1);
    line = blank_report_line();
    place(line, 2, core::FORMATFIXED(k, 6, 0));
    place(line, kCoefficientColumn, core::FORMATREAL9(a.r[i]));
    place(line, kErrorColumn, core::FORMATREAL9(a.std_error[i]));
    place(line, kBoxPierceColumn, core::FORMATREAL9(a.box_pierce[i]));
    core::APPENDPROB(line, core::ProbKind::kChiSquared, a.box_pierce[i], k);
    place(line, kLjungBoxColumn, core::FORMATREAL9(a.ljung_box[i]));
    core::APPENDPROB(line, core::ProbKind::kChiSquared, a.ljung_box[i], k);
    core::WRITELINE(line, kPage);
  }
  core::WRITESTARS(kReportWidth, kPage);
}

/// The autocorrelation function against the order of lags (an x-y plot, the orders as x).
void plot_autocorrelations(const SummaryFigures& f, const std::string& name) {
  const Autocorrelations& a = f.autocorrelation;
  std::vector<double> columns(a.r);
  for (int k = 1; k <= a.order; ++k) columns.push_back(k);
  const std::array<int, 2> which = {1, 2};
  const std::array<std::string, 2> names = {name, "Order of lags"};
  std::string title = "Autocorrelation function of " + name + ", sample from " + label_text(f.first) + " to " +
                      label_text(f.last);
  int type = static_cast<int>(plot_file::PlotType::kXY), status = 0;
  core::PLOTSERIES(columns, a.order, a.order, 0, f.first - 1, which, 1, names, 0.0, a.order, type, title, status);
}

}  // namespace

SummaryFigures summary_figures(std::span<const int> variables, int first, int last, int order) {
  SummaryFigures f;
  f.first = first;
  f.last = last;
  const int n = last - first + 1, k = static_cast<int>(variables.size());
  std::vector<double> data;
  for (int v : variables) {
    const std::vector<double> x = variable_values(v, first, last);
    f.statistics.push_back(variable_statistics(x));
    data.insert(data.end(), x.begin(), x.end());
  }
  if (k > 1) {
    f.correlations = correlation_matrix(data, n, k);
  } else {
    f.autocorrelation = autocorrelations(data, autocorrelation_order(order, n));
  }
  return f;
}

void SUMMARYSTATS(std::span<const int> variables, const SummaryFigures& figures) {
  std::vector<std::string> names = names_of(variables);
  core::SHOWRESULTS(core::kOpenPage);
  write_sample_and_names(figures, names);
  write_statistics_table(figures, names);
  if (names.size() > 1) {
    int k = static_cast<int>(names.size());
    const int rows_per_block = std::max(1, (core::globals().page_lines - 8) / 2);
    core::PRINTCOVMATRIX(0, {}, names, k, core::kCorrelationMatrix, kColumnsPerBlock, 1.0, figures.correlations,
                         rows_per_block);
    return;
  }
  const bool autocorrelations = figures.autocorrelation.order >= 1;
  if (autocorrelations) write_autocorrelation_table(figures, names.front());
  core::SHOWRESULTS(core::kShowPage);
  if (autocorrelations && varies(figures.statistics.front())) plot_autocorrelations(figures, names.front());
}

SummaryResult AUTOCORRELATIONS(std::span<const int> variables, int first, int last, int mode, int order) {
  SummaryResult result;
  if (mode == kListValuesMode) {
    result.status = LISTVALUES(variables, first, last);
    return result;
  }
  if (mode != kStatisticsMode || !valid_command_arguments(variables, first, last)) return result;
  const AvailableRun run = available_run(variables, first, last);
  if (run.gap != 0) {
    core::SHOWMESSAGE(" Missing observation in period " + label_text(run.gap) + ". Can't calculate autocorrelations!");
    result.status = kCommandRefused;
    return result;
  }
  const CalculatingNotice busy;
  result.figures = summary_figures(variables, run.first, run.last, order);
  SUMMARYSTATS(variables, result.figures);
  result.status = kCommandDone;
  return result;
}

}  // namespace qorv::data
