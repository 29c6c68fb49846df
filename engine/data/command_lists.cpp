// The list commands of the command interpreter: plots, the histogram, REORDER and
// RESTORE, DELETE and KEEP, the statistics commands, and TITLE/ENTITLE.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/obs_label.h"
#include "engine/core/plot_writer.h"
#include "engine/core/results_page.h"
#include "engine/core/row_sort.h"
#include "engine/core/var_lists.h"
#include "engine/core/workspace.h"
#include "engine/data/command_steps.h"
#include "engine/data/data_commands.h"
#include "engine/data/statistics_commands.h"
#include "engine/core/variable_deletion.h"
#include "engine/core/variable_list.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/plot_file.h"

namespace qorv::data::commands {

namespace {

using plot_file::PlotType;

constexpr std::array<std::string_view, 12> kListCommands = {
    "REORDER", "SCATTER", "HIST", "SPECTRUM", "ADF", "KEEP", "DELETE", "PLOT", "XPLOT", "EDIT", "LIST", "COR"};

constexpr std::string_view kEditMessage =
    "To edit data values, press OK here and go to the Data Editor in the main window. Press Go when you have "
    "made the changes you require.";

constexpr int kMaxAdfOrder = 12;
constexpr int kMaxBins = 200;

bool takes_order(std::string_view keyword) {
  return keyword == "HIST" || keyword == "SPECTRUM" || keyword == "COR" || keyword == "ADF";
}

/// Splits a trailing "(n)" off `arguments`: n 1 to 3 digits, "(" neither first nor right
/// before ")", and one name before it. -1 when there is no trailing ")"; false when the
/// text breaks a rule.
bool trailing_order(std::string_view& arguments, int& order) {
  order = -1;
  if (arguments.empty() || arguments.back() != ')') return true;
  const std::size_t close = arguments.size() - 1;
  const std::size_t open = arguments.rfind('(');
  if (open == std::string_view::npos || open == 0 || open + 1 == close) return false;
  const std::string_view digits = arguments.substr(open + 1, close - open - 1);
  if (digits.size() > 3 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  const std::string_view name = fixed_text::trim(arguments.substr(0, open));
  if (name.find(' ') != std::string_view::npos) return false;
  order = std::stoi(std::string(digits));
  arguments = name;
  return true;
}

/// The rows of the workspace's columns 1..NVARS and a key column sorted by the key.
void sort_workspace(std::vector<double> key, int mode) {
  core::Globals& g = core::globals();
  const std::size_t cells = static_cast<std::size_t>(g.nobs) * static_cast<std::size_t>(g.nvars);
  std::vector<double> block(core::work_array().begin(), core::work_array().begin() + static_cast<std::ptrdiff_t>(cells));
  block.insert(block.end(), key.begin(), key.end());
  CommandState& state = command_state();
  core::SORTROWS(block, g.nvars + 1, g.nobs, 1, g.nobs, limits::kMissing, mode,
                 mode == 2 ? std::span<int32_t>(state.order) : std::span<int32_t>());
  std::copy(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(cells), core::work_array().begin());
}

std::vector<double> column_copy(int j) {
  const int nobs = core::globals().nobs;
  const auto begin = core::work_array().begin() + static_cast<std::ptrdiff_t>(j - 1) * nobs;
  return std::vector<double>(begin, begin + nobs);
}

void reorder(int k) {
  CommandState& state = command_state();
  const int nobs = core::globals().nobs;
  if (!state.reorder_pending || static_cast<int>(state.order.size()) != nobs) {
    state.order.resize(static_cast<std::size_t>(nobs));
    for (int t = 0; t < nobs; ++t) state.order[static_cast<std::size_t>(t)] = t + 1;
    state.reorder_pending = true;
  }
  sort_workspace(column_copy(k), 2);
}

/// PLOT, XPLOT and SCATTER over the command sample.
bool plot(std::string_view keyword, const core::VarList& list, const Statement& s) {
  const std::vector<int> vars(list.numbers.begin() + 1, list.numbers.end());
  const std::vector<std::string> names(list.names.begin() + 1, list.names.end());
  const int count = static_cast<int>(vars.size());
  std::string title;
  int status = 0;
  int type = static_cast<int>(PlotType::kTime);
  if (count == 0) {
    // PLOT alone: the notice of the saved plots.
    const std::vector<double> none(1, limits::kMissing);
    const std::array<int, 1> columns = {1};
    const std::array<std::string, 1> at = {"@"};
    core::PLOTSERIES(none, 1, 1, 0, 0, columns, 1, at, 0.0, 1, type, title, status);
    return false;
  }
  const bool against_x = keyword != "PLOT";
  if (keyword == "SCATTER" && count != 2) {
    refuse("You must specify exactly 2 variables for SCATTER!");
    return true;
  }
  if (keyword == "PLOT" && count > 50) {
    refuse("A maximum of 50 variables can be plotted for PLOT!");
    return true;
  }
  if (keyword == "XPLOT" && (count < 2 || count > 51)) {
    refuse("You must specify between 2 and 51 variables for XPLOT!");
    return true;
  }
  const int nobs = core::globals().nobs;
  int first = s.first, last = s.last;
  if (against_x) {
    const int x = vars.back();
    while (first < last && core::data_at(first, x) == limits::kMissing) ++first;
    while (last > first && core::data_at(last, x) == limits::kMissing) --last;
    for (int t = first; t <= last; ++t)
      if (core::data_at(t, x) == limits::kMissing) {
        refuse("Missing value for variable " + names.back() + " at observation " +
               core::plain_label(core::OBSLABEL(t)));
        return false;
      }
  }
  if (last <= first) return true;
  std::vector<double> block;
  std::vector<int> columns;
  for (int k = 0; k < count; ++k) {
    const std::vector<double> values = column_copy(vars[static_cast<std::size_t>(k)]);
    block.insert(block.end(), values.begin(), values.end());
    columns.push_back(k + 1);
  }
  int nser = count;
  if (against_x) {
    core::SORTROWS(block, count, nobs, first, last, limits::kMissing, 0);
    const double* x = block.data() + static_cast<std::ptrdiff_t>(count - 1) * nobs;
    if (x[first - 1] == x[last - 1]) {
      refuse(names.back() + " has no variation!");
      return false;
    }
    nser = count - 1;
    type = static_cast<int>(keyword == "SCATTER" ? PlotType::kScatter : PlotType::kXY);
    if (keyword == "SCATTER") title = "Scatter plot of " + names[0] + " on " + names[1];
  }
  core::PLOTSERIES(block, last - first + 1, nobs, first - 1, first - 1, columns, nser, names, 0.0, last, type, title,
                   status);
  return false;
}

/// HIST: a histogram of one variable with `bins` classes (-1: one tenth of the sample,
/// within 6..15), at most 200.
bool histogram(const core::VarList& list, int bins, const Statement& s) {
  if (list.numbers.size() != 2) return true;
  const int n = s.last - s.first + 1;
  if (bins <= 0) bins = std::clamp(static_cast<int>(std::lround(n / 10.0)), 6, 15);
  bins = std::min(bins, kMaxBins);
  const std::vector<double> values = column_copy(list.numbers[1]);
  const std::array<int, 1> columns = {1};
  const std::array<std::string, 1> names = {list.names[1]};
  std::string title = "Histogram and Normal curve for variable " + list.names[1];
  int type = static_cast<int>(PlotType::kHistogramNormal);
  int status = 0;
  core::PLOTSERIES(values, n, core::globals().nobs, s.first - 1, s.first - 1, columns, 1, names, 0.0, bins, type,
                   title, status);
  return false;
}

void keep(const core::VarList& list) {
  for (int j = 1; j <= core::globals().nvars;) {
    const std::string name = core::variable_name(j);
    if (std::find(list.names.begin() + 1, list.names.end(), name) == list.names.end())
      core::DELETEVARIABLE(j);
    else
      ++j;
  }
}

}  // namespace

bool is_list_command(std::string_view keyword) {
  return std::find(kListCommands.begin(), kListCommands.end(), keyword) != kListCommands.end();
}

bool list_command(std::string_view keyword, std::string_view arguments, const Statement& s) {
  const bool required = keyword == "DELETE" || keyword == "KEEP";
  if (required && arguments.empty()) return true;
  if (!required && s.in_batch()) return true;
  if (arguments.empty() && keyword != "LIST" && keyword != "PLOT") return true;
  int order = -1;
  if (takes_order(keyword) && !trailing_order(arguments, order)) return true;
  core::VarList list = core::VarList::with_dependent("", 0);
  // A list that does not read has shown why; the statement ends there.
  if (!arguments.empty() && core::PARSEVARLIST(arguments, list, 1, core::globals().max_vars)) return false;
  const std::span<const int> listed = std::span<const int>(list.numbers).subspan(1);
  const bool one = listed.size() == 1;
  if (keyword == "PLOT" || keyword == "XPLOT" || keyword == "SCATTER") return plot(keyword, list, s);
  if (keyword == "HIST") return histogram(list, order, s);
  if (keyword == "EDIT") {
    core::SHOWOK(core::kInformation, core::kNoHelp, kEditMessage);
    return false;
  }
  if (keyword == "REORDER") {
    if (!one) return true;
    reorder(listed[0]);
    return false;
  }
  if (keyword == "DELETE") {
    for (std::size_t i = 1; i < list.names.size(); ++i) core::DELETEVARIABLE(core::find_variable(list.names[i]));
    return false;
  }
  if (keyword == "KEEP") {
    keep(list);
    return false;
  }
  if (keyword == "LIST") {
    std::vector<int> all;
    for (int j = 1; j <= core::globals().nvars; ++j) all.push_back(j);
    data::list_command(listed.empty() ? std::span<const int>(all) : listed, s.first, s.last);
    return false;
  }
  if (keyword == "COR") {
    data::cor_command(listed, order, s.first, s.last);
    return false;
  }
  if (!one) return true;
  if (keyword == "SPECTRUM") {
    data::spectrum_command(listed[0], order, s.first, s.last);
  } else {
    const int given = order >= 0 ? order : core::globals().periods_per_year;
    data::adf_command(listed[0], std::min(given, kMaxAdfOrder), s.first, s.last);
  }
  return false;
}

bool restore(const Statement&) {
  CommandState& state = command_state();
  const int nobs = core::globals().nobs;
  if (!state.reorder_pending || static_cast<int>(state.order.size()) != nobs) {
    refuse(" A \"REORDER\" command has not been issued. CannotRESTORE! ");
    return true;
  }
  sort_workspace(std::vector<double>(state.order.begin(), state.order.end()), 0);
  state.reorder_pending = false;
  return false;
}

bool titles(bool entitle, std::string_view arguments, const Statement& s) {
  std::vector<int> chosen;
  if (!arguments.empty()) {
    core::VarList list = core::VarList::with_dependent("", 0);
    if (core::PARSEVARLIST(arguments, list, 1, core::globals().max_vars)) return s.in_batch();
    chosen.assign(list.numbers.begin() + 1, list.numbers.end());
  }
  if (!entitle) {
    core::SHOWRESULTS(core::kOpenPage);
    if (chosen.empty())
      core::LISTVARIABLES(core::kListVariables);
    else
      core::list_descriptions(chosen);
    core::SHOWRESULTS(core::kShowPage);
    return false;
  }
  if (arguments.empty()) {
    for (int j = 1; j <= core::globals().nvars; ++j)
      if (core::variable_desc(j).empty()) chosen.push_back(j);
    if (chosen.empty() && !s.in_batch() &&
        core::ASKYESNO(core::kNoHelp, " All variables have titles. Entitle them anyway?"))
      for (int j = 1; j <= core::globals().nvars; ++j) chosen.push_back(j);
  }
  for (const int j : chosen) {
    const std::string name = core::variable_name(j);
    std::string answer;
    if (s.in_batch()) {
      if (!s.batch->next(answer)) return true;
      answer = answer.substr(0, std::min<std::size_t>(answer.size(), limits::kDescWidth));
    } else {
      answer = core::variable_desc(j);
      int status = core::kDialogOk;
      core::ASKSTRING(core::kNoHelp, status, " Title for " + name + " (at most 80 letters)?", answer,
                      limits::kDescWidth);
      if (status != core::kDialogOk) return false;
    }
    core::set_variable(j, name, fixed_text::trim(answer));
  }
  return false;
}

}  // namespace qorv::data::commands
