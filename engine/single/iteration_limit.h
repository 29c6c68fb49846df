// The dialogue an iterative estimator shows when it reaches its iteration limit.
#pragma once

namespace qorv::single {

/// Iterations added by the "Increase" choice unless the estimator says otherwise.
inline constexpr int kIterationIncrement = 20;

/// `ITERATIONLIMIT`: with `permitted` false sets `abandon` and shows nothing. Otherwise
/// the menu "No convergence after N iterations" with 0 "Abandon estimation", 1 "Print
/// non-convergent results" and 2 "Increase the number of iterations by" the increment,
/// option 2 preselected: 0 or a cancel sets `abandon`; 1 sets `print`; 2 adds `increment`
/// to `limit` and shows the calculating notice.
void ITERATIONLIMIT(int& limit, bool permitted, bool& abandon, bool& print,
                    int increment = kIterationIncrement);

}  // namespace qorv::single
