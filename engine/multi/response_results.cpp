#include "engine/multi/response_results.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/menu_system.h"
#include "engine/core/number_format.h"
#include "engine/core/plot_writer.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/results_page.h"
#include "engine/core/text_format.h"
#include "engine/data/data_saving.h"
#include "engine/multi/dynamic_response.h"
#include "shared/fixed_text.h"
#include "shared/plot_file.h"

namespace qorv::multi {

namespace {

constexpr int kColumnsPerBlock = 6;
constexpr int kDefaultHorizon = 50;
constexpr int kSaveFormatZvd = 2;
constexpr int kPlotNameWidth = 15;

std::string_view menu_title(int kind) {
  if (kind == kOrthogonalDecomposition || kind == kGeneralisedDecomposition) {
    return "Variance Decomposition Analysis Results Menu";
  }
  if (kind == 7) return "Persistence Profile Results Menu";
  return "Impulse Response Results Menu";
}

std::size_t at(const ResponseReport& r, int column, int h) {
  return static_cast<std::size_t>(column) * static_cast<std::size_t>(r.horizon + 1) + static_cast<std::size_t>(h);
}

void graph(const ResponseReport& report) {
  std::vector<std::string> options = {" quit"};
  for (const auto& label : report.labels) options.push_back(fixed_text::pad(label, kPlotNameWidth));
  std::vector<int> flags(options.size(), 0);
  flags[static_cast<std::size_t>(std::clamp(report.chosen, 1, static_cast<int>(report.labels.size())))] = 1;
  int status = 0;
  core::ASKSOMEOPTIONS(core::kNoHelp, status, flags, "Choose the variables to plot", options);
  if (status != 1 || flags[0] != 0) return;
  std::vector<int> columns;
  std::vector<std::string> names;
  for (std::size_t i = 1; i < flags.size(); ++i)
    if (flags[i] != 0) {
      columns.push_back(static_cast<int>(i));
      names.push_back(report.labels[i - 1]);
    }
  if (columns.empty()) return;
  const int rows = report.horizon + 1;
  int type = static_cast<int>(plot_file::PlotType::kHorizon);
  std::string title = report.title;
  int plot_status = 0;
  core::PLOTSERIES(report.table, rows, rows, 0, 0, columns, static_cast<int>(columns.size()), names, 0.0, rows,
                   type, title, plot_status);
}

void save(const ResponseReport& report) {
  const auto m = report.labels.size();
  const std::vector<std::string> descs(m, std::string(fixed_text::trim(report.title)));
  data::SaveBlock block{report.table, report.labels, descs, {}};
  block.header.nobs = report.horizon + 1;
  block.header.nvars = static_cast<int>(m);
  block.header.frequency = 1;  // undated: one observation per horizon
  data::SAVEDATA(block, kSaveFormatZvd);
}

}  // namespace

int ask_horizon(int kind) {
  const bool responses = kind == kOrthogonalResponses || kind == kGeneralisedResponses;
  return ask_horizon(responses ? " Horizon for impulse responses (Maximum" : " Horizon for variance decomposition analysis (Maximum",
                     kDefaultHorizon);
}

int ask_horizon(std::string_view head, int offered) {
  const std::string prompt = std::string(head) + " " + core::FORMATFIXED(kMaxHorizon, 4, 0) + " zero to quit)?";
  while (true) {
    int value = offered;
    int status = 0;
    core::ASKINTEGER(core::kNoHelp, value, status, prompt);
    if (status != 1 || value == 0) return 0;
    if (value > 0 && value <= kMaxHorizon) return value;
    core::BEEP();
  }
}

void write_response_page(const ResponseReport& report) {
  const int page = core::channel::kResultsPage;
  core::SHOWRESULTS(core::kOpenPage);
  core::WRITEPAGEBREAK(page);
  std::string title = fixed_text::pad(report.title, core::kTableWidth);
  core::JUSTIFYTEXT(title, core::kTableWidth, 'C');
  core::WRITELINE(title, page);
  if (report.header) report.header();
  const int columns = static_cast<int>(report.labels.size());
  for (int from = 0; from < columns; from += kColumnsPerBlock) {
    const int to = std::min(columns, from + kColumnsPerBlock);
    std::string line = " Horizon";
    for (int c = from; c < to; ++c) line += "  " + fixed_text::pad(report.labels[static_cast<std::size_t>(c)], 9);
    core::WRITELINE(line, page);
    for (int h = 0; h <= report.horizon; ++h) {
      line = core::FORMATFIXED(h, 4, 0);
      for (int c = from; c < to; ++c) line += "  " + core::FORMATREAL9(report.table[at(report, c, h)]);
      core::WRITELINE(line, page);
    }
  }
  core::WRITESTARS(core::kMaxStars, page);
  core::SHOWRESULTS(core::kShowPage);
}

void response_results_menu(const ResponseReport& report) {
  const core::MenuTable menu{1024, 0, 0, menu_title(report.kind),
                             {" Move back", " Display results again", " Graph", " Save in a special Zelvorin file"}};
  int choice = 2;
  while (true) {
    switch (core::show_menu_table(menu, choice)) {
      case 1: write_response_page(report); break;
      case 2: graph(report); break;
      case 3: save(report); break;
      default: return;
    }
  }
}

}  // namespace qorv::multi
