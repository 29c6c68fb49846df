// Scans over observations: whether the usable observations of a range form one unbroken
// run to its end, and where a value (the missing code) first occurs in listed variables.
#pragma once

#include <optional>
#include <span>

namespace qorv::data {

/// Per-observation mark of an observation usable in an estimation.
inline constexpr int kUsableMark = 2;

/// True unless, within observations `start`..`finish` (from 1) of `flags` (flag of
/// observation t at index t - 1), a flag other than 2 follows a flag equal to 2: once the
/// flags reach 2 they must stay 2 to the end of the range. Observations outside `flags`
/// are not looked at. Cost O(finish - start).
bool CHECKFLAGRUN(int start, int finish, std::span<const int> flags);

/// Where `FINDVALUEVAR` found the value.
struct ValuePosition {
  int list_position = 0;  ///< position of the variable in the list, from 1
  int observation = 0;    ///< the first observation holding the value, from 1
};

/// Scans observations `first`..`last` of the workspace variables numbered in `list`, one
/// variable after another in list order, for the first value equal to `value`. Empty when
/// there is none. Numbers outside 1..NVARS and observations outside 1..NOBS are skipped.
/// Cost O(list size x (last - first)).
std::optional<ValuePosition> FINDVALUEVAR(std::span<const int> list, int first, int last, double value);

/// a / b rounded up, and a mod b (b when that is 0), for a >= 0 and b > 0.
struct CeilDivision {
  int quotient = 0;
  int remainder = 0;
};
/// `CEILDIV`; b <= 0 gives {0, 0}.
CeilDivision CEILDIV(int a, int b);

}  // namespace qorv::data
