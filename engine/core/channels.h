// Numbered channels: the engine's record-oriented text files. A channel number names one
// open file at a time; every record is one line of single-byte text. Files we write end
// their records with "\n"; readers accept "\n" and "\r\n" and drop a leading UTF-8
// byte-order mark. A closed channel takes no records and never creates a file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qorv::core {

/// The channel numbers the engine uses.
namespace channel {
inline constexpr int kKeyboard = 5;           ///< keyboard data kind: reads nothing
inline constexpr int kDataInput = 8;          ///< data input and batch files
inline constexpr int kUserOutput = 9;         ///< an output file the user chose
inline constexpr int kSavedResults = 10;      ///< a results or model file being saved
inline constexpr int kSupport = 17;           ///< support files, read only
inline constexpr int kEquationList = 18;      ///< loading .EQU/.LST files
inline constexpr int kUserFile = 39;          ///< other user files
inline constexpr int kEditorPanel = 55;       ///< the editor panel file "J$.TTT"
inline constexpr int kResultsPage = 57;       ///< the results page "J$.OOO"
inline constexpr int kModelPage = 58;         ///< the model page "J$.MMM"
inline constexpr int kRecursiveScratch = 66;  ///< "J$.JNK"
inline constexpr int kPlot = 99;              ///< plot files and other short-lived files
}  // namespace channel

/// How a channel is opened.
enum class OpenMode {
  kOld,      ///< an existing file, for reading
  kNew,      ///< a file that must not exist yet, for writing
  kReplace,  ///< created, or emptied when it exists, for writing
  kAppend,   ///< created when absent, written after its present records
  /// For writing; the records are kept aside and replace the file only when the channel
  /// is closed with kKeep, so an existing file survives until its successor is complete.
  kReplaceSafely,
  /// As kReplaceSafely, the new records following the file's present ones.
  kAppendSafely,
};

/// What happens to the file when its channel closes.
enum class CloseMode { kKeep, kDelete };

/// Outcome of a record read.
enum class ReadStatus {
  kOk,     ///< a record was read
  kEnd,    ///< no record left
  kError,  ///< the channel is closed, open for writing, or the read failed
};

/// Opens `path` on `unit` (any int); a channel already open on `unit` is closed first
/// (kept). False when the file cannot be opened as `mode` asks (kOld: absent, or not a
/// regular file of at most `file_reading::kMaxFileBytes`, as `file_reading::open`; kNew:
/// present; the writing modes: a folder, FIFO, socket or device behind `path`, as
/// `file_reading::writable_target` finds; any: no permission; the safe modes: a folder in which no file can be
/// created, or a present file that cannot be read for appending), and the channel is
/// then closed.
bool open_channel(int unit, const std::filesystem::path& path, OpenMode mode);

/// Closes `unit`, deleting its file for kDelete. A channel opened in a safe mode writes
/// its file now (kKeep: temporary file renamed over the target) or drops its records
/// (kDelete: the target is left as it was). False only when such a file could not be
/// completed, the target then unchanged; closing a closed channel does nothing.
bool close_channel(int unit, CloseMode mode = CloseMode::kKeep);

/// True while `unit` is open.
bool channel_is_open(int unit);

/// The file open on `unit`; empty when closed.
std::filesystem::path channel_path(int unit);

/// Writes `record` as it stands, trailing blanks and any bytes included, plus "\n".
/// False, and nothing written anywhere, when `unit` is closed or open for reading; false
/// when the write fails.
bool write_record(int unit, std::string_view record);

/// Reads the next record of `unit` into `record` (unbounded length) without its line end
/// ("\n" or "\r\n"). The first record of a file loses a leading UTF-8 byte-order mark.
ReadStatus read_record(int unit, std::string& record);

/// Closes every channel (kept; the records of safe-mode channels are dropped): the
/// engine's load-time state.
void close_all_channels();

}  // namespace qorv::core
