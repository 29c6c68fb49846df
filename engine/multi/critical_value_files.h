// The critical values of the cointegration rank tests, read from the support files beside
// the program: one file per statistic, deterministic case and number of exogenous I(1)
// variables, one record per number of common trends k, from k = 12 down to 1, each
// "k  90% value  95% value".
#pragma once

#include <array>
#include <string>

namespace qorv::multi {

enum class RankStatistic { kMaxEigenvalue, kTrace };

/// The most common trends (and endogenous variables) the files cover.
inline constexpr int kCriticalValueRows = 12;

/// "CR" + e + "MX" + case + ".ASC" or "CR" + e + "TR" + case + ".ASC".
std::string critical_value_file(int e, int model_case, RankStatistic statistic);

/// The values of k = 1..12 common trends at [k - 1]; the missing code where none was read.
struct CriticalValues {
  std::array<double, kCriticalValueRows> cv90{};
  std::array<double, kCriticalValueRows> cv95{};
};

/// Reads the values for a system of m endogenous variables (1..12): every value starts
/// missing; the file's first 12 - m records are skipped and the next m fill k = m down to 1,
/// each record read list-directed as three numbers (k, the 90% and the 95% value). A file
/// that does not open leaves everything missing (the opener says so); a short or unreadable
/// one leaves the values it did not reach missing. A file read completely is read once:
/// later calls for the same program folder, file and m give the values kept, until the
/// engine is reset.
CriticalValues read_critical_values(int e, int model_case, RankStatistic statistic, int m);

}  // namespace qorv::multi
