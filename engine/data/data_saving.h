// Saving a block of data (the workspace, or a table of computed series) to a data file:
// a raw ASCII file, a ZVD file, a comma-delimited file or a TSD file.
#pragma once

#include <optional>
#include <span>
#include <utility>
#include <vector>
#include <string>
#include <string_view>

#include "engine/core/dialog_bridge.h"
#include "engine/data/ascii_data.h"

namespace qorv::data {

/// Formats of the Data Saving Menu.
enum SaveFormat : int {
  kSaveRaw = 1,  ///< numbers only, in the layout the user picks (".DAT")
  kSaveZvd = 2,  ///< the program's own binary file (".ZVD")
  kSaveCsv = 3,  ///< comma-delimited text with names and dates (".CSV")
  kSaveTsd = 4,  ///< TSD series records (".TSD")
};

/// Texts the user sees.
namespace save_messages {
inline constexpr std::string_view kSaving = " Saving data, please wait... ";
inline constexpr std::string_view kSavedPrefix = "File ";
inline constexpr std::string_view kSavedSuffix = " saved successfully.";
inline constexpr std::string_view kUnfitPrefix = " The value of ";
inline constexpr std::string_view kUnfitMiddle = " does not fit the format ";
inline constexpr std::string_view kUnfitSuffix = "! Nothing was saved.";
}  // namespace save_messages

/// A block of data to save.
struct SaveBlock {
  std::span<const double> values;      ///< header.nobs x header.nvars, variable after variable
  std::span<const std::string> names;  ///< one per variable, trimmed
  std::span<const std::string> descs;  ///< one per variable, trimmed
  core::DataFileHeader header;         ///< frequency and first date as the engine keeps them
};

/// The value as the shortest text that reads back to the same double ("1.5", "1e-07").
std::string shortest_text(double value);

/// The lines of a comma-delimited file of observations first..last (from 1): "Date" and
/// one "NAME description" field per variable (commas and control characters such as TAB in
/// descriptions become "-", so the reader finds the delimiter and records it wrote), then
/// one row per observation: its date label, then the values, a missing value empty.
std::vector<std::string> csv_lines(const SaveBlock& block, int first, int last);

/// The records of a TSD file of observations first..last: per variable a name record
/// (control characters in the description become "-"), a header record (dates and frequency letter) and the values five to a record in
/// 15-column fields (a missing value blank).
std::vector<std::string> tsd_lines(const SaveBlock& block, int first, int last);

/// The lines of a raw data file.
struct RawLines {
  std::vector<std::string> lines;
  /// Observation and variable (from 1) of the first value the user's format cannot hold;
  /// `lines` then stop short of it.
  std::optional<std::pair<int, int>> unfit;
};

/// The lines of a raw data file of observations first..last in `layout`: one write
/// statement per variable or per observation, as the ASCII data input reads them back
/// with the same answers. In free format a statement is one line of shortest exact
/// texts; in a user's format it is written by `core::write_formatted`.
RawLines raw_lines(const SaveBlock& block, const AsciiLayout& layout, int first, int last);

/// Saves `block` in `format` (1..4): asks the file name (and, but for ZVD, the period to
/// save; for a raw file the layout), writes the file and tells the user. A cancel at any
/// question writes nothing; a write error shows its explanation and leaves the old file,
/// and so does a value the user's format for a raw file cannot hold (the box names it).
/// The period question is about the workspace's data set. Cost linear in the values saved.
void SAVEDATA(const SaveBlock& block, int format);

/// The workspace's data set as a block whose texts live in `names` and `descs`.
SaveBlock workspace_block(std::vector<std::string>& names, std::vector<std::string>& descs);

/// Saves the workspace's data set in `format` (1 raw text, 2 ZVD, 3 CSV, 4 TSD).
void SAVEDATA(int format);

/// The lines of a comma-delimited file of the workspace's whole data set.
std::vector<std::string> workspace_csv_lines();

}  // namespace qorv::data
