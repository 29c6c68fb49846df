// The settings file "zelvorin.ini", shared by the main program and the dialog library.
//
// The file is plain "[Section]" and "Key=Value" lines. Sections and keys are compared
// without regard to case ("TempDir" and "Tempdir" are one key); values are taken exactly as
// written between the "=" and the line end (surrounding blanks removed), so backslashes,
// commas and quotes need no escaping. Lines the class does not understand, comments and
// unknown keys are kept in place when the file is written back.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ini {

/// The file's name in the configuration folder.
inline constexpr std::string_view kFileName = "zelvorin.ini";

/// $XDG_CONFIG_HOME/zelvorin.ini, or ~/.config/zelvorin.ini when that is unset or not an
/// absolute path.
std::filesystem::path default_path();

class IniFile {
 public:
  /// An empty file that will be saved to `path`.
  explicit IniFile(std::filesystem::path path = default_path());

  /// Reads the file at `path`; a missing or unreadable file gives an empty one. Accepts
  /// "\n" and "\r\n" line ends (a doubled "\r" too); UTF-8 byte-order marks at the
  /// head of the file or of a line (where two files were joined) are dropped.
  static IniFile load(const std::filesystem::path& path = default_path());

  /// The file whose content is `text`, to be saved to `path`; read as `load` reads.
  static IniFile parse(std::string_view text, std::filesystem::path path = default_path());

  /// The value of `key` in `section`, if the file holds it.
  std::optional<std::string> find(std::string_view section, std::string_view key) const;

  /// The value, or `fallback` when the key is missing.
  std::string get_string(std::string_view section, std::string_view key,
                         std::string_view fallback = {}) const;
  /// A whole decimal number, or `fallback` when the key is missing or not a number.
  int get_int(std::string_view section, std::string_view key, int fallback) const;
  /// 1/0, true/false, yes/no (any case), or `fallback` for anything else.
  bool get_bool(std::string_view section, std::string_view key, bool fallback) const;

  /// Sets the value of a key: in place when the key exists (keeping its spelling), else
  /// at the end of its section, which is added at the end of the file when missing.
  void set_string(std::string_view section, std::string_view key, std::string_view value);
  void set_int(std::string_view section, std::string_view key, int value);
  /// Written as "1" or "0".
  void set_bool(std::string_view section, std::string_view key, bool value);

  /// Removes the key's line; false when the file has no such key.
  bool erase(std::string_view section, std::string_view key);

  /// The whole file as text, one "\n" after every line.
  std::string text() const;

  /// Writes the file through a temporary file renamed over it; false (with the system's
  /// reason in `error` when given) when it could not be written; the old file then stays.
  bool save(std::string* error = nullptr) const;

  const std::filesystem::path& path() const { return path_; }

 private:
  /// One line of the file as read or added.
  struct Line {
    std::string raw;      ///< the line as it stands in the file
    std::string section;  ///< the section it belongs to (for a header, its own name)
    std::string key;      ///< the key of a "Key=Value" line; empty otherwise
    bool header = false;  ///< a "[Section]" line
  };

  /// Index of the key's line, or -1.
  long index_of(std::string_view section, std::string_view key) const;

  std::filesystem::path path_;  ///< where `save` writes
  std::vector<Line> lines_;     ///< every line, in file order
};

}  // namespace ini
