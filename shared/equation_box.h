// The equation-box file "E$.TTT": the engine writes the text of its specification editor
// there when the main program's estimation window is to reload its editing boxes.
//
// Layout: exactly 40 records, each the 78 characters of one editor line (trailing blanks
// kept), in line order. The editor text is one stream cut into 78-character lines, so a
// name may run across the end of a record; the reader joins the records and breaks the
// stream again at blanks, so such a name comes back whole.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace equation_box {

inline constexpr int kLines = 40;       ///< records in the file
inline constexpr int kLineWidth = 78;   ///< characters of each record
inline constexpr int kBlockLength = kLines * kLineWidth;  ///< 3120

/// The file's bytes for the editor text `block` (cut or blank-filled to 3120 characters):
/// 40 records of 78 characters, each ended by "\n".
std::string file_bytes(std::string_view block);

/// Writes the file for `block` at `path`, replacing an old one only when the new one is
/// complete (a scratch file of the session: not flushed to the disk). False (and the old
/// file untouched) when it cannot be written.
bool write(const std::filesystem::path& path, std::string_view block);

/// Breaks `stream` (the joined records) into lines of at most `width` characters, each
/// break made at a run of blanks, which is dropped; a word longer than `width` is cut.
/// Lines keep no trailing blanks, and trailing empty lines are left out. O(length).
std::vector<std::string> break_at_blanks(std::string_view stream, int width = kLineWidth);

/// The editor lines of a file's bytes: records ended by "\n" or "\r\n", a short record
/// counting as blank-filled to 78 and a longer one cut there; the first 40 records are
/// joined into one stream, in which NUL and carriage return read as blanks, and the stream
/// is broken at blanks. O(length).
std::vector<std::string> parse(std::string_view bytes);

/// Reads the file at `path` and parses it. Empty when the file cannot be read.
std::vector<std::string> read_lines(const std::filesystem::path& path);

}  // namespace equation_box
