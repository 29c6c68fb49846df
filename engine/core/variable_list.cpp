#include "engine/core/variable_list.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/report_writer.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::core {

namespace {

/// Variable numbers 1..NVARS, alphabetical by name unless `workspace_order`.
std::vector<int> variable_order(bool workspace_order) {
  std::vector<int> order(static_cast<std::size_t>(std::max(core::globals().nvars, 0)));
  std::iota(order.begin(), order.end(), 1);
  if (!workspace_order)
    std::stable_sort(order.begin(), order.end(),
                     [](int a, int b) { return core::variable_name(a) < core::variable_name(b); });
  return order;
}

/// The listing of mode 2: a heading, then each name in 14 columns and its description.
std::vector<std::string> listing_lines(std::span<const int> order) {
  std::vector<std::string> lines = {"List of Variables and their Descriptions"};
  for (const int j : order) {
    if (j < 1 || j > core::globals().nvars) continue;
    const std::string desc = core::variable_desc(j);
    lines.push_back(" " + fixed_text::pad(core::variable_name(j), limits::kNameWidth) +
                    (desc.empty() ? "No description for this series" : desc));
  }
  return lines;
}

void write_listing(std::span<const int> order) {
  for (const std::string& line : listing_lines(order)) core::WRITELINE(line, core::channel::kResultsPage);
}

}  // namespace

std::string LISTVARIABLES(int mode) {
  const std::vector<int> order = variable_order(mode == kChooseRegressor);
  if (mode == kListVariables) write_listing(order);
  if (mode == kListVariables || order.empty()) return {};
  std::vector<std::string> items;
  items.reserve(order.size());
  for (const int j : order)
    items.push_back(fixed_text::pad(fixed_text::pad(core::variable_name(j), limits::kNameWidth) +
                                        core::variable_desc(j),
                                    core::kOptionWidth));
  int status = core::kDialogOk;
  int index = 0;
  core::ASKONEOPTION(core::kNoHelp, status, index,
                     mode == kChooseRegressor ? " Choose Regressor" : " Variable List", items);
  if (status != core::kDialogOk || index < 0 || index >= static_cast<int>(order.size())) return {};
  return core::variable_name(order[static_cast<std::size_t>(index)]);
}

void list_descriptions(std::span<const int> numbers) { write_listing(numbers); }

void show_variable_list() {
  core::SHOWOKLONG(listing_lines(variable_order(false)), 1 + limits::kNameWidth + limits::kDescWidth);
}

int PICKVARIABLE(std::span<const std::string> names) {
  const std::string chosen = LISTVARIABLES(kChooseRegressor);
  if (chosen.empty()) return -1;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (fixed_text::trim(names[i]) == chosen) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace qorv::core
