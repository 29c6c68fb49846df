#include "engine/core/workspace.h"

#include <algorithm>

#include "engine/core/engine_state.h"
#include "shared/fixed_text.h"

namespace qorv::core {

namespace {

Exchange g_exchange;
Globals g_globals;
std::vector<double> g_work(limits::kWorkArraySize, 0.0);

std::string* setting_field(int code) {
  switch (code) {
    case charset::kDataFile: return &g_exchange.data_file;
    case charset::kSampleText: return &g_exchange.sample_text;
    case charset::kSpecification: return &g_exchange.specification;
    case charset::kTempFolder: return &g_exchange.temp_folder;
    case charset::kProgramFolder: return &g_exchange.program_folder;
    default: return nullptr;
  }
}

bool valid_index(int index) { return index >= 1 && index <= limits::kMaxVars; }

/// Load-time values: every slot -999 except the plot counters and the logical slots 30-32.
void reset_workspace() {
  g_exchange.iset.fill(slots::kUnset);
  g_exchange.iset[0] = 0;
  g_exchange.iset[slots::kPlotCounters] = 0;
  g_exchange.iset[slots::kShowPlotsNow] = 0;
  g_exchange.iset[slots::kEquationBoxRequest] = 0;
  g_exchange.iset[slots::kEquationBoxDone] = 0;
  for (int code = charset::kDataFile; code <= charset::kProgramFolder; ++code)
    *setting_field(code) = std::string(static_cast<std::size_t>(charset::width(code)), ' ');
  g_exchange.prompt = std::string(charset::kPromptWidth, ' ');
  for (auto& n : g_exchange.names) n = std::string(limits::kNameWidth, ' ');
  for (auto& d : g_exchange.descs) d = std::string(limits::kDescWidth, ' ');
  g_exchange.temporary.fill(false);
  g_globals = Globals{};
  std::fill(g_work.begin(), g_work.end(), 0.0);
}

const bool g_initialised = (reset_workspace(), true);
const ResetRegistration g_reset{reset_workspace};

}  // namespace

Exchange& exchange() { return g_exchange; }
Globals& globals() { return g_globals; }
std::span<double> work_array() { return g_work; }

double& data_at(int t, int j) {
  const long k = static_cast<long>(j - 1) * g_globals.nobs + (t - 1);
  return g_work.at(static_cast<std::size_t>(k));
}

int32_t slot(int n) {
  if (n < 1 || n > slots::kCount) return slots::kUnset;
  if (n == slots::kEquationBoxWritten) return g_exchange.iset[slots::kEquationBoxDone] != 0 ? 1 : 0;
  return g_exchange.iset[static_cast<std::size_t>(n)];
}

void set_slot(int n, int32_t value) {
  if (n < 1 || n > slots::kCount) return;
  g_exchange.iset[static_cast<std::size_t>(n)] = value;
  if (n == slots::kLinesPerPage) g_globals.page_lines = value;
}

int32_t take_preset(int n) {
  const int32_t value = slot(n);
  if (value != slots::kUnset) set_slot(n, slots::kUnset);
  return value;
}

std::string_view char_setting(int code) {
  const std::string* field = code == 0 ? nullptr : setting_field(code);
  return field ? std::string_view(*field) : std::string_view{};
}

void set_char_setting(int code, std::string_view text) {
  if (std::string* field = setting_field(code))
    *field = fixed_text::pad(text, static_cast<std::size_t>(charset::width(code)));
}

std::string variable_name(int index) {
  return valid_index(index) ? std::string(fixed_text::trim_right(g_exchange.names[static_cast<std::size_t>(index)])) : std::string{};
}

std::vector<std::string> variable_names() {
  std::vector<std::string> names;
  for (int j = 1; j <= std::min(g_globals.nvars, limits::kMaxVars); ++j) names.push_back(variable_name(j));
  return names;
}

std::string variable_desc(int index) {
  return valid_index(index) ? std::string(fixed_text::trim_right(g_exchange.descs[static_cast<std::size_t>(index)])) : std::string{};
}

void set_variable(int index, std::string_view name, std::string_view desc) {
  if (!valid_index(index)) return;
  g_exchange.names[static_cast<std::size_t>(index)] = fixed_text::pad(name, limits::kNameWidth);
  g_exchange.descs[static_cast<std::size_t>(index)] = fixed_text::pad(desc, limits::kDescWidth);
  g_exchange.temporary[static_cast<std::size_t>(index)] = false;
}

bool is_temporary(int index) {
  return valid_index(index) && g_exchange.temporary[static_cast<std::size_t>(index)];
}

void set_temporary(int index, bool temporary) {
  if (valid_index(index)) g_exchange.temporary[static_cast<std::size_t>(index)] = temporary;
}

int find_variable(std::string_view name) {
  name = fixed_text::trim_right(name);
  if (name.empty()) return 0;
  const int n = std::min(g_globals.nvars, limits::kMaxVars);
  for (int j = 1; j <= n; ++j)
    if (fixed_text::trim_right(g_exchange.names[static_cast<std::size_t>(j)]) == name) return j;
  return 0;
}

void set_workspace() {
  g_globals.workspace_set = true;
  set_slot(slots::kDataCapacity, limits::kCapacity);
}

}  // namespace qorv::core
