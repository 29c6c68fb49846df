// A data set read from a file, before it replaces the workspace's: its shape, start date,
// names, descriptions and values; and the message a reader gives the user.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "shared/exchange_slots.h"

namespace qorv::data {

/// A data set as the readers build it. Start fields follow the workspace's convention:
/// undated year 1, period 1, century 0; annual full year, period 1, century 0;
/// half-yearly, quarterly and monthly the year within its century, the period and the
/// century base.
struct DataSet {
  int nobs = 0;              ///< observations
  int frequency = 1;         ///< 1 undated, 2 annual, 3 half-yearly, 4 quarterly, 5 monthly
  int periods_per_year = 1;  ///< 1, 1, 2, 4, 12
  int start_year = 1;        ///< see above
  int start_period = 1;      ///< 1..periods per year
  int century = 0;           ///< century base
  std::vector<std::string> names;  ///< valid names, upper case, one per variable
  std::vector<std::string> descs;  ///< descriptions, at most 80 characters each
  std::vector<double> values;      ///< column-major, nobs per variable; missing = 8934567.0

  int nvars() const { return static_cast<int>(names.size()); }
  /// Value of observation t, variable j (both from 1).
  double& at(int t, int j) { return values[static_cast<std::size_t>(j - 1) * nobs + (t - 1)]; }
  double at(int t, int j) const {
    return values[static_cast<std::size_t>(j - 1) * nobs + (t - 1)];
  }
};

/// What a reader tells the user: the refusal, or the success notice.
struct ImportMessage {
  int kind = core::kInformation;  ///< message box kind (core::MessageKind)
  std::string text;         ///< the box's text
};

/// The outcome of reading a data file.
struct ImportResult {
  bool ok = false;        ///< true: `data` holds the file's data set
  DataSet data;           ///< the data set (meaningful only when `ok`)
  ImportMessage message;  ///< the refusal, or the success notice
};

/// A refusal with `text`.
inline ImportResult refusal(std::string text, int kind = core::kInformation) {
  ImportResult result;
  result.message = {kind, std::move(text)};
  return result;
}

/// `base` followed by where a problem is and what it is: "base Line 7, column 3: detail."
/// A line of 0 leaves out the place, a column of 0 the column.
std::string located(std::string_view base, std::size_t line, std::size_t column = 0,
                    std::string_view detail = {});

/// `text` in double quotes, cut after 40 characters (with "...") so that a message keeps
/// its place and problem within a message box.
std::string quoted(std::string_view text);

/// Makes `data` the engine's data set: the number of observations and variables, the
/// frequency and start, MAXVARS, the names, descriptions and values. `data` must hold
/// at most 3100 observations, 200 variables and 124000 values (the readers see to it).
void install_data_set(const DataSet& data);

/// Slots 4, 8, 7, 12, 13 and 14 take the shape of the engine's data set, for the main
/// program to read back.
void write_shape_slots();

}  // namespace qorv::data
