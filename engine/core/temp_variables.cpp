#include "engine/core/temp_variables.h"

#include <algorithm>

#include "engine/core/engine_state.h"
#include "engine/core/variable_deletion.h"
#include "engine/core/workspace.h"
#include "shared/digit_text.h"
#include "shared/exchange_slots.h"

namespace qorv::core {

namespace {

/// The registry of temporary variables of the current request.
struct Registry {
  std::vector<std::string> names;  ///< names of registered temporaries, in creation order
};

Registry g_registry;
const ResetRegistration g_reset{[] { g_registry = Registry{}; }};

bool name_taken(std::string_view name) { return find_variable(name) != 0; }

std::string free_name(const ShiftedName& shift) { return free_variable_name(shifted_name(shift), ""); }

void fill_shifted(int to, int base_index, int offset) {
  const int nobs = globals().nobs;
  for (int t = 1; t <= nobs; ++t) {
    const long s = static_cast<long>(t) + offset;
    data_at(t, to) = s >= 1 && s <= nobs ? data_at(static_cast<int>(s), base_index) : limits::kMissing;
  }
}

}  // namespace

std::string free_variable_name(std::string_view name, std::string_view separator) {
  const std::string plain(name);
  if (!name_taken(plain)) return plain;
  for (int suffix = 2; suffix < 1000; ++suffix) {
    std::string candidate = plain + std::string(separator) + std::to_string(suffix);
    if (candidate.size() > static_cast<std::size_t>(limits::kNameWidth)) break;
    if (!name_taken(candidate)) return candidate;
  }
  return {};
}

int add_temporary(std::string_view name, std::string_view description, std::span<const double> values, int max_vars) {
  Globals& g = globals();
  if (g.nvars >= std::min(max_vars, g.max_vars) || values.size() < static_cast<std::size_t>(g.nobs)) return 0;
  const std::string own = free_variable_name(name, "_");
  if (own.empty()) return 0;
  const int v = ++g.nvars;
  set_variable(v, own, description.substr(0, std::min<std::size_t>(description.size(), limits::kDescWidth)));
  set_temporary(v, true);
  for (int t = 1; t <= g.nobs; ++t) data_at(t, v) = values[static_cast<std::size_t>(t - 1)];
  const int index[] = {v};
  register_temporaries(index);
  return v;
}

std::string shifted_name(const ShiftedName& shift) {
  const int k = shift.offset < 0 ? -shift.offset : shift.offset;
  return shift.base + (shift.offset < 0 ? "(-" : "(+") + std::to_string(k) + ")";
}

std::optional<ShiftedName> parse_shifted_name(std::string_view name) {
  const std::size_t open = name.find('(');
  const std::size_t close = name.find(')');
  if (open == std::string_view::npos || open == 0 || close == std::string_view::npos ||
      close < open + 3)
    return std::nullopt;
  const char sign = name[open + 1];
  if (sign != '-' && sign != '+') return std::nullopt;
  const std::string_view digits = name.substr(open + 2, close - open - 2);
  if (digits.size() > 4 || !digit_text::ISALLDIGITS(digits)) return std::nullopt;
  const std::string_view suffix = name.substr(close + 1);
  if (!suffix.empty() && !digit_text::ISALLDIGITS(suffix)) return std::nullopt;
  const int k = static_cast<int>(*digit_text::DIGITSTOINT(digits));
  if (k == 0) return std::nullopt;
  return ShiftedName{std::string(name.substr(0, open)), sign == '-' ? -k : k};
}

int find_temporary(const ShiftedName& shift) {
  for (int j = 1; j <= globals().nvars; ++j) {
    if (!is_temporary(j)) continue;
    const auto s = parse_shifted_name(variable_name(j));
    if (s && s->base == shift.base && s->offset == shift.offset) return j;
  }
  return 0;
}

TemporaryResult make_temporary(int base_index, const ShiftedName& shift, int max_vars) {
  TemporaryResult r;
  if (const int existing = find_temporary(shift); existing != 0) {
    fill_shifted(existing, base_index, shift.offset);
    r.index = existing;
    return r;
  }
  auto& g = globals();
  if (g.nvars >= std::min({max_vars, g.max_vars, limits::kMaxVars}) ||
      static_cast<long>(g.nvars + 1) * g.nobs > limits::kCapacity) {
    r.error = TemporaryError::kNoRoom;
    return r;
  }
  const std::string name = free_name(shift);
  if (name.empty()) {
    r.error = TemporaryError::kNoName;
    return r;
  }
  const int j = g.nvars + 1;
  set_variable(j, name, kTemporaryDescription);
  set_temporary(j, true);
  g.nvars = j;
  fill_shifted(j, base_index, shift.offset);
  r.index = j;
  r.created = true;
  return r;
}

void register_temporaries(std::span<const int> indices) {
  for (const int j : indices)
    if (is_temporary(j)) g_registry.names.push_back(variable_name(j));
}

std::size_t temporaries_registered() { return g_registry.names.size(); }

void forget_temporaries() { g_registry.names.clear(); }

int delete_temporaries(std::size_t keep) {
  if (keep >= g_registry.names.size()) return 0;
  std::vector<int> doomed;
  for (std::size_t i = keep; i < g_registry.names.size(); ++i) {
    const int j = find_variable(g_registry.names[i]);
    if (j != 0 && is_temporary(j)) doomed.push_back(j);
  }
  g_registry.names.resize(keep);
  return core::DELETEVARIABLES(doomed);
}

}  // namespace qorv::core
