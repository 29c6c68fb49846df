// A reference folder's data.csv as the engine reads it, and the same data put into the
// engine's workspace with the dates of its series.
#pragma once

#include <string>
#include <vector>

#include "engine/multi/var_model.h"

namespace qorv::testing {

/// The variables of a data.csv, numbered 1.. in the file's order.
struct ReferenceData {
  std::vector<std::string> names;
  std::vector<double> values;  ///< column-major
  int nobs = 0;
  multi::DataView view() const { return multi::DataView{values, nobs}; }
  /// The number of variable `name`; throws std::invalid_argument when there is none.
  int number(const std::string& name) const;
};
ReferenceData read_reference_data(const std::string& path);

/// The dating of the first observation, as the engine's globals hold it.
struct ReferenceDates {
  int frequency = 0;
  int periods_per_year = 0;
  int start_year = 0;
  int century_base = 0;
  int start_period = 0;
};
inline constexpr ReferenceDates kQuarterlyFrom1959Q2{4, 4, 59, 1900, 2};

/// Puts `data` into the workspace with `dates`, the sample from `sample_start` to the end.
void install_reference_workspace(const ReferenceData& data, const ReferenceDates& dates, int sample_start);

}  // namespace qorv::testing
