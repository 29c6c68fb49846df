// ASCII data files (.DAT, .ASC): numbers only, no names and no dates, laid out variable
// by variable or observation by observation, in free format or in the user's format text
// such as "(8F10.2)".
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "shared/obs_calendar.h"

namespace qorv::data {

/// How the numbers follow one another in the file.
enum FileStructure : int {
  kByVariables = 1,     ///< all observations of variable 1, then of variable 2, ...
  kByObservations = 2,  ///< all variables of observation 1, then of observation 2, ...
};

/// How the numbers are written.
enum NumberFormat : int {
  kFreeFormat = 1,   ///< separated by blanks, commas or line ends
  kFixedFormat = 2,  ///< columns described by a format text
};

/// The layout of an ASCII data file.
struct AsciiLayout {
  int structure = kByVariables;  ///< `FileStructure`
  int format = kFreeFormat;      ///< `NumberFormat`
  std::string format_text;       ///< with `kFixedFormat`: the format text, in brackets
};

/// Texts the user sees.
namespace ascii_messages {
inline constexpr std::string_view kFormatPrompt = "Type format to be used";
inline constexpr std::string_view kReading = "Reading data, please wait... ";
inline constexpr std::string_view kVariableError = "Error while attempting to read variable ";
inline constexpr std::string_view kObservationError = "Error while attempting to read observation ";
}  // namespace ascii_messages

/// Longest format text.
inline constexpr int kFormatTextWidth = 50;

/// Asks the layout: the File Structure Menu (1015, or slot 2 once), the Data Format Menu
/// (1048, or slot 3 once) and, for fixed format, the format text (up to 50 characters).
/// A format text must be longer than 2 characters and stand in brackets, else a beep and
/// the question again; a bracketed text the format reader cannot use is refused the same
/// way, with its reason in an error box. Empty when a menu or the question was cancelled.
std::optional<AsciiLayout> ASKDATALAYOUT();

/// Reads an ASCII data file of `nvars` variables over `nobs` observations from channel
/// `unit` into `values` (nobs x nvars, variable after variable; it must hold them):
/// asks the layout, shows the busy notice, then reads one statement per variable or per
/// observation, each starting on a new record. Free format reads list-directed (numbers
/// may run over several lines; a null or a value after "/" is the missing code); fixed
/// format applies the format text. `names` (one per variable) and `start` name the
/// variable or observation that cannot be read complete in the error box. Returns false
/// on a cancelled layout or a failed read; `values` may then hold part of the file.
/// The channel is closed on every way out. Cost linear in the file's size.
bool READTEXTDATA(std::span<double> values, int nobs, int nvars, std::span<const std::string> names,
                  const obs_calendar::DataStart& start, int unit);

}  // namespace qorv::data
