// The ZVD data file: the program's own binary data file, read and written by the main
// program and written for the engine's data saving by the dialog library's `writefit`.
//
// Layout (little-endian, fixed records of 160 bytes):
//   record 0      seven signed 32-bit integers: nobs, nvars, frequency, periods per year,
//                 start year, start period, century base; the rest zero
//   name records  ceil(nvars / 3) records of up to three 53-byte entries at 0, 53, 106:
//                 the 14-byte name, then the first 39 bytes of the description
//   data records  per variable, ceil(nobs / 20) records of twenty IEEE doubles; the last
//                 record of a variable holds nobs mod 20 values, the later slots zero
//   descriptions  (optional) ceil(nvars / 2) records of two 80-byte descriptions
//
// In memory the start fields follow the host's convention: undated data start at year 1,
// period 1, century 0; annual data at the full year, period 1, century 0; half-yearly,
// quarterly and monthly data at the two-digit year, the period and the century base. The
// file holds period 0 for undated and annual data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zvd {

inline constexpr std::size_t kRecordSize = 160;
inline constexpr std::size_t kNameBytes = 14;        ///< name part of a name entry
inline constexpr std::size_t kShortDescBytes = 39;   ///< description part of a name entry
inline constexpr std::size_t kEntryBytes = kNameBytes + kShortDescBytes;  ///< 53
inline constexpr std::size_t kEntriesPerNameRecord = 3;
inline constexpr std::size_t kValuesPerRecord = 20;
inline constexpr std::size_t kLongDescBytes = 80;
inline constexpr std::size_t kLongDescsPerRecord = 2;
/// The last full year a file may start in: dates have at most four year digits.
inline constexpr int32_t kLastYear = 9999;

/// The shape of a data set and the date of its first observation (host convention).
struct Shape {
  int32_t nobs = 0;              ///< observations per variable
  int32_t nvars = 0;             ///< variables
  int32_t frequency = 1;         ///< 1 undated, 2 annual, 3 half-yearly, 4 quarterly, 5 monthly
  int32_t periods_per_year = 1;  ///< 1, 1, 2, 4, 12 by frequency
  int32_t start_year = 1;        ///< 1 undated; the full year when annual; two digits otherwise
  int32_t start_period = 1;      ///< period of observation 1 within its year (1 when undated or annual)
  int32_t century_base = 0;      ///< 1900, 2000, ... for frequencies 3 to 5; 0 otherwise
};

/// A whole data set as the file holds it.
struct DataSet {
  Shape shape;                            ///< counts and start date
  std::vector<std::string> names;         ///< nvars names, trailing blanks removed
  std::vector<std::string> descriptions;  ///< nvars descriptions, trailing blanks removed
  std::vector<double> data;               ///< nobs × nvars values, variable after variable
};

/// The host's start fields of a first observation given by its full year and period:
/// undated data start at year 1, annual data at the full year, other frequencies at the
/// year within its century with the century as base.
Shape start_from_full_year(Shape shape, int full_year, int period);

/// Why a file was refused.
enum class ReadError {
  kNone,
  kCannotOpen,            ///< the file could not be opened
  kTooManyObservations,   ///< "Too many observations!"
  kTooManyVariables,      ///< "Too many variables!"
  kTooManyValues,         ///< "Too many observations/variables"
  kNotValid,              ///< "Not a valid ZVD file!"
};

struct ReadResult {
  ReadError error = ReadError::kNone;  ///< kNone when `data_set` holds the file
  DataSet data_set;                    ///< the file's data set; empty when refused
  bool long_descriptions = false;      ///< the file held every 80-byte description
  std::string system_message;          ///< the system's reason when the file could not be opened
};

/// The message box text for a refusal ("Not a valid ZVD file!", ...); empty for kNone.
std::string read_error_message(ReadError error);

/// The message box text for `result`: `read_error_message`, and for a file that could not
/// be opened the reason on a second line ("Not a regular file", "No such file or directory").
std::string read_message(const ReadResult& result);

/// Decodes the bytes of a ZVD file. Impossible headers (counts of 0 or less, an unknown
/// frequency, periods per year that do not match it, a start period out of range, a start
/// year outside 0..kLastYear) and
/// name or data records cut short give kNotValid; counts past the workspace limits give
/// their limit error. NUL bytes in texts read as blanks; a value that is not finite reads
/// as the missing code. Long descriptions cut short stop quietly. Cost: one pass.
ReadResult decode(std::span<const unsigned char> bytes);

/// Reads and decodes the file at `path` (opened by `file_reading`: a folder, FIFO or device
/// is refused with kCannotOpen).
ReadResult read_file(const std::filesystem::path& path);

/// Checks a shape: counts within the limits (kNotValid for counts of 0 or less, else the
/// limit error) and a known frequency.
ReadError check_shape(const Shape& shape);

/// Checks that a data set can be encoded: counts within the limits, a known frequency,
/// nvars names and descriptions and nobs × nvars values. Returns kNone or the refusal.
ReadError check(const DataSet& data_set);

/// The bytes of the file for `data_set` (which must pass `check`): names cut or
/// blank-padded to 14 bytes, descriptions to 39 and 80, unused bytes zero, values that are
/// not finite written as the missing code. The start fields follow the file convention.
std::vector<unsigned char> encode(const DataSet& data_set);

struct WriteResult {
  bool ok = false;             ///< the file is complete and in place
  bool disk_full = false;      ///< writing the bytes failed (show "Error writing file - disk full!")
  std::string system_message;  ///< the system's reason for a failure
};

/// Writes the file for `data_set` through a temporary file in the target's folder that is
/// renamed over the target, so an old file survives any failure. A data set that fails
/// `check` is not written, nor is anything over a folder, FIFO or device ("Not a regular
/// file").
WriteResult write_file(const std::filesystem::path& path, const DataSet& data_set);

/// "Could not save to this file" followed by a line break and the system's reason.
std::string write_error_message(const WriteResult& result);

}  // namespace zvd
