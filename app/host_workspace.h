// The main program's own copy of the data set, beside the engine's, and the small routines
// that fill it, hand it to the engine and read its shape back.
#pragma once

#include <QString>

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shared/exchange_slots.h"
#include "shared/obs_calendar.h"

namespace zelvorin {

/// Shape of the loaded data set. Start fields: undated year 1, period 1, century 0; annual
/// the full year, period 1, century 0; half-yearly, quarterly and monthly the year within
/// its century, the period and the century base (1900, 2000, ...).
struct DataShape {
  int nobs = 0;
  int nvars = 0;
  int frequency = 1;         ///< 1 undated, 2 annual, 3 half-yearly, 4 quarterly, 5 monthly
  int periods_per_year = 1;  ///< 1, 1, 2, 4, 12 by frequency
  int start_year = 1;
  int start_period = 1;
  int century_base = 0;
  int end_year = 1;          ///< derived by `RetrieveDataShape`
  int end_period = 1;
  int end_century = 0;
};

/// The host workspace: the data matrix (variable after variable, leading dimension nobs),
/// names and descriptions.
struct HostWorkspace {
  std::vector<double> data = std::vector<double>(limits::kWorkArraySize, limits::kMissing);
  std::array<std::string, limits::kMaxVars> names;  ///< variable i at [i - 1], at most 14 characters
  std::array<std::string, limits::kMaxVars> descs;  ///< at most 80 characters
  DataShape shape;
};

/// The start of `shape` in the shared convention.
obs_calendar::DataStart data_start(const DataShape& shape);

/// Fills every cell with the missing code and hands the workspace to the engine.
void InitWorkspace(HostWorkspace& ws);

/// Sets the derived end fields of `shape` from nobs and the start fields.
void derive_end(DataShape& shape);

/// Reads the shape back from the engine's slots 8, 4, 7, 12, 13, 14 (a slot that answers
/// -999 leaves its field) and derives the end fields.
void RetrieveDataShape(DataShape& shape);

/// Makes `ws` the engine's data set: the shape (`RetrieveDataShape` over `base`, which gives
/// the fields whose slots are unset), every name and description, and the first
/// nobs x nvars values of the data matrix, the cells after them and the names after the
/// last variable emptied. Counts the workspace cannot hold (no observation, more than 3100
/// observations or 200 variables, more than 124000 values) leave `ws` unchanged and give
/// false. Cost O(size of the workspace).
bool read_back_data_set(HostWorkspace& ws, const DataShape& base);

/// The sample text of the whole data set: undated "1 N", annual "1960 1990", otherwise
/// "1985Q2 1995Q1" (letters H, Q, M).
std::string sample_text(const DataShape& shape);

/// Registers the sample text of the whole data set as character setting 2.
void RegisterSample(const DataShape& shape);

/// The label of observation `obs` (from 1): "12", "1985", "1985H2", "1985Q2", "1985M11".
std::string observation_label(const DataShape& shape, int obs);

/// Removes every blank; a name that then holds anything but A-Z, digits, "_" and "." is
/// emptied, as is one the engine's name rule refuses (so lower case is refused here).
std::string ValidateVarName(std::string_view name);

/// True when the shorter name equals the start of the longer one and the longer one has
/// the same length or continues with a blank.
bool SameNamePrefix(std::string_view a, std::string_view b);

/// The 26 formula function words and the 21 command words the command editor offers.
extern const std::array<std::string_view, 26> kFunctionWords;
extern const std::array<std::string_view, 21> kCommandWords;

/// False when `name` is empty after `ValidateVarName`, or matches (`SameNamePrefix`) one of
/// `others`, a function or command word, "EDIT" or "DOS".
bool name_allowed(std::string_view name, std::span<const std::string> others);

/// `name_allowed` against the names of variables 1 to n - 1.
bool IsNewNameAllowed(const HostWorkspace& ws, std::string_view name, int n);

/// The value of an environment variable, or "".
std::string GetEnvVar(const char* name);

/// Converts text in the user's locale (thousands separators removed); `fallback` when the
/// text is no number.
double TextToValue(const QString& text, double fallback);

/// Re-lays the matrix for `new_nobs` observations: each variable holds its old values from
/// position `offset` (from 0) on and the missing code elsewhere.
void AddFileHelper(HostWorkspace& ws, int new_nobs, int offset);

}  // namespace zelvorin
