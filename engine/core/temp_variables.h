// Temporary lagged and led variables: the workspace variables a variable list creates for
// a word such as X(-1) or X(+2). Each carries the workspace's temporary mark and a name
// NAME(-k) or NAME(+k) without leading zeros; when a variable of the user already has that
// name the temporary gets a numeric suffix. They are found again by mark and name, never
// by a stored number, so deleting other variables in between cannot make the clean-up
// remove a variable of the user.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::core {

/// Description of every temporary variable.
inline constexpr std::string_view kTemporaryDescription = "Temporary variable";

/// A lag (offset -k) or lead (+k) of a base variable.
struct ShiftedName {
  std::string base;  ///< the base variable's name, upper case
  int offset = 0;    ///< -k for a lag, +k for a lead
};

/// The name of a temporary: base + "(-k)" or "(+k)".
std::string shifted_name(const ShiftedName& shift);

/// Reads base + "(" sign digits ")" from `name` (1 to 4 digits, not 0, leading zeros
/// allowed; a numeric suffix after ")" is skipped). Empty when `name` has another form.
std::optional<ShiftedName> parse_shifted_name(std::string_view name);

/// Number of the temporary variable holding `shift`, 0 when there is none.
int find_temporary(const ShiftedName& shift);

/// Why `make_temporary` failed.
enum class TemporaryError {
  kNone,
  kNoRoom,    ///< NVARS has reached the caller's maximum
  kNoName,    ///< no free name of at most 14 characters
};

/// The variable holding `shift` of variable `base_index`: an existing temporary (its
/// column refreshed from the base) or a new one appended after the last variable, filled
/// with the base's observation t+offset and the missing code where that falls outside
/// 1..NOBS. `max_vars` is the caller's limit on NVARS. Cost O(NVARS + NOBS).
struct TemporaryResult {
  int index = 0;                               ///< the variable's number; 0 on failure
  bool created = false;                        ///< a new variable was appended
  TemporaryError error = TemporaryError::kNone;
};
TemporaryResult make_temporary(int base_index, const ShiftedName& shift, int max_vars);

/// A name no variable has: `name` itself, else `name`, `separator` and the smallest
/// suffix 2, 3, ... that is free and fits 14 characters; empty when there is none.
/// Cost O(NVARS) a try.
std::string free_variable_name(std::string_view name, std::string_view separator);

/// Appends a temporary variable named `name` (when that is taken, `name` + "_" + the
/// smallest free suffix, so that a name ending in a lag number stays readable) holding
/// `values` (NOBS of them, observation t at t − 1), marked as temporary and registered, so
/// that the owner's scope deletes it. Returns its number; 0, with nothing made, when NVARS has
/// reached `max_vars` (or MAXVARS), when no free name fits or `values` is too short.
int add_temporary(std::string_view name, std::string_view description, std::span<const double> values, int max_vars);

/// The registry of temporaries that successful list readings created: the owner of the
/// current request deletes them all with `delete_temporaries`. Registered by name.
void register_temporaries(std::span<const int> indices);
/// Number of names in the registry.
std::size_t temporaries_registered();
/// Empties the registry without deleting anything (a new data set replaced the workspace).
void forget_temporaries();
/// Deletes every registered temporary registered after the first `keep` names that still
/// carries the temporary mark, in descending order of number, and drops those names from
/// the registry. Returns how many variables were deleted.
int delete_temporaries(std::size_t keep = 0);

/// Deletes, on leaving a scope, the temporaries registered while it was open: a data
/// statement that lists X(-1) leaves the workspace as it found it.
class TemporaryScope {
 public:
  TemporaryScope() : mark_(temporaries_registered()) {}
  ~TemporaryScope() { delete_temporaries(mark_); }
  TemporaryScope(const TemporaryScope&) = delete;
  TemporaryScope& operator=(const TemporaryScope&) = delete;

 private:
  std::size_t mark_;  ///< registry size when the scope opened
};

}  // namespace qorv::core
