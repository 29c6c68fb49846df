// The engine's workspace: exchange slots, character settings, variable names and
// descriptions, the work array whose head is the data matrix, and the engine words that
// every other module reads (NOBS, NVARS, FREQUENCY, the sample, the limits).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shared/exchange_slots.h"

namespace qorv::core {

/// 0-based offsets of the areas of the work array, and their lengths. The data matrix is
/// the first 124000 values; the rest are scratch areas of the estimation services.
namespace area {
inline constexpr int kData = 0;                 ///< 124000 values: the data matrix
inline constexpr int kEstimation = 124000;      ///< estimation matrix area
inline constexpr int kEstimationEnd = 274000;   ///< bounds observations x regressors
inline constexpr int kLong1 = 274000;           ///< 5253 values
inline constexpr int kLong2 = 279253;           ///< 5253
inline constexpr int kShort1 = 284506;          ///< 3000
inline constexpr int kLong3 = 287506;           ///< 5253
inline constexpr int kLong4 = 292759;           ///< 5253
inline constexpr int kLong5 = 298012;           ///< 5253
inline constexpr int kLong6 = 303265;           ///< 5253
inline constexpr int kLong7 = 308518;           ///< 5253
inline constexpr int kSeries0 = 313771;         ///< eleven series areas of 3000, i = 0..10
inline constexpr int kSeriesCount = 11;
inline constexpr int kObs1 = 346871;            ///< 3100
inline constexpr int kObs2 = 349971;            ///< 3100
inline constexpr int kObs3 = 353071;            ///< 3100, ends the array
inline constexpr int kLongLength = 5253;
inline constexpr int kSeriesLength = 3000;
inline constexpr int kObsLength = 3100;
inline constexpr int kEnd = limits::kWorkArraySize;
/// Offset of series area i (0..10).
inline constexpr int series(int i) { return kSeries0 + kSeriesLength * i; }
static_assert(kObs3 + kObsLength == kEnd, "the areas fill the work array exactly");
static_assert(series(kSeriesCount) <= kObs1, "the series areas end before the first 3100 area");
}  // namespace area

/// The estimation services' second offset table (fitted values +15000 and residuals
/// +18000 after the actual value).
inline constexpr std::array<int, 9> kResultOffsets = {3000, 6000, 7500, 10500, 12000,
                                                      13500, 15000, 18000, 21000};

/// What the host hands over and reads back through the exchange routines.
struct Exchange {
  std::array<int32_t, slots::kCount + 1> iset{};  ///< slots 1..32; [0] unused
  std::string data_file;       ///< character setting 1, blank-padded to its width
  std::string sample_text;     ///< character setting 2
  std::string specification;   ///< character setting 3: 40 lines of 78
  std::string temp_folder;     ///< character setting 4
  std::string program_folder;  ///< character setting 5
  std::string prompt;          ///< the engine's own prompt and title field (not settable)
  std::array<std::string, limits::kMaxVars + 1> names;  ///< 14 characters each; [0] unused
  std::array<std::string, limits::kMaxVars + 1> descs;  ///< 80 characters each; [0] unused
  std::array<bool, limits::kMaxVars + 1> temporary{};   ///< an engine-made lag or lead; [0] unused
};

/// The engine words read by every module.
struct Globals {
  int nobs = 0;            ///< observations in the data set
  int nvars = 0;           ///< variables in the data set
  int frequency = 0;       ///< 1 undated, 2 annual, 3 half-yearly, 4 quarterly, 5 monthly
  int periods_per_year = 1;
  int start_year = 0;
  int start_period = 1;
  int century_base = 0;
  int sample_start = 0;    ///< SAMPLESTART
  int sample_end = 0;      ///< SAMPLEEND
  int page_lines = 60;     ///< PAGELINES, mirrored from slot 26
  int max_vars = limits::kMaxVars;  ///< MAXVARS = min(200, 124000 div NOBS)
  bool workspace_set = false;       ///< SETWORKSPACE has run
  int df_adjustment = 0;   ///< estimation services: added to n - k in degrees of freedom
  int df_divide_by_n = 0;  ///< estimation services: 1 = error variances divide by n
  int adjusted_variance_kind = 0;  ///< post-regression menus: 2 White, 3 Newey-West equal weights,
                                   ///< 4 Bartlett, 5 Tukey, 6 Parzen; other values: none
  int truncation_lag = 0;          ///< post-regression menus: lag of the Newey-West weights
  int ardl_long_run_count = 0;     ///< ARDL estimator: number of long-run coefficients
};

Exchange& exchange();
Globals& globals();

/// The work array of 356171 doubles; the data matrix is its head.
std::span<double> work_array();

/// Data matrix cell (observation t, variable j), both from 1: element (j-1)*NOBS + t.
double& data_at(int t, int j);

/// Slot `n` (1..32); a slot out of range reads -999.
int32_t slot(int n);
/// Sets slot `n`; a slot out of range is ignored.
void set_slot(int n, int32_t value);
/// A preset menu answer: the slot's value, after which the slot is reset to -999.
int32_t take_preset(int n);

/// Character setting by code (trailing blanks kept); an unknown code gives an empty view.
std::string_view char_setting(int code);
/// Stores `text` in the character setting of `code`, blank-padded or cut to its width.
void set_char_setting(int code, std::string_view text);

/// Variable `index`'s (1..200) name and description, trimmed; out of range gives "".
std::string variable_name(int index);
std::string variable_desc(int index);
/// The names of variables 1..NVARS (entry j − 1 names variable j), upper case.
std::vector<std::string> variable_names();
void set_variable(int index, std::string_view name, std::string_view desc);

/// Whether variable `index` is a temporary the engine made (a lag or lead of a list);
/// `set_variable` clears the mark, `set_temporary` sets it. Out of range reads false.
bool is_temporary(int index);
void set_temporary(int index, bool temporary);

/// Number (1..NVARS) of the variable called `name` (trailing blanks ignored, case as
/// stored: upper), 0 when there is none. Cost O(NVARS).
int find_variable(std::string_view name);

/// Sets the limits and area table, slot 23 = 124000 (SETWORKSPACE).
void set_workspace();

}  // namespace qorv::core
