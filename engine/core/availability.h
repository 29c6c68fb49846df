// Availability marks: which observations an equation can use.
#pragma once

#include <cstdint>
#include <span>

namespace qorv::core {

/// Marks of `MARKAVAILABLE`, one per observation.
enum Availability : int32_t {
  kRegressorMissing = 0,  ///< a regressor is missing: the observation cannot be used
  kDependentMissing = 1,  ///< regressors present, dependent missing: prediction only
  kAllPresent = 2,        ///< every variable of the equation is present
};

/// Marks every observation 1..nobs (marks[t - 1]) and narrows the sample to the marked-2
/// observations at its ends.
///
/// `data` is column-major with leading dimension `nobs` (variable v, observation t at
/// (v - 1)·nobs + t - 1). `list` holds variable numbers, dependent variable first:
/// list(1) = list[0]. An observation is marked 0 when one of list(offset + 1) ..
/// list(offset + k) equals `missing` there, else 2 when none of list(1) .. list(k) does,
/// else 1; the driver passes offset 1, so k counts the regressors. Then `start` moves
/// forward to the first observation of start..end marked 2 (to `end` when there is none)
/// and `end` back to the last one from end down to the new start.
///
/// Throws std::invalid_argument when the list, the marks, a variable number or the sample
/// does not fit the data. Cost: O(nobs·(k + offset)).
void MARKAVAILABLE(std::span<const double> data, int nobs, int k, std::span<const int> list,
                   double missing, int& start, int& end, std::span<int32_t> marks, int offset);

}  // namespace qorv::core
