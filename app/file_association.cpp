#include "app/file_association.h"

#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>
#include <vector>

#include "shared/atomic_file.h"
#include "shared/ini_file.h"

namespace zelvorin::association {

namespace fs = std::filesystem;

namespace {

fs::path env_folder(const char* variable, const char* fallback_below_home) {
  const char* value = std::getenv(variable);
  if (value != nullptr && fs::path(value).is_absolute()) return value;
  const char* home = std::getenv("HOME");
  return fs::path(home ? home : "/tmp") / fallback_below_home;
}

fs::path desktop_path(const Folders& f) { return f.data_home / "applications" / kDesktopFile; }
fs::path mime_path(const Folders& f) { return f.data_home / "mime" / "packages" / "zelvorin-zvd.xml"; }
fs::path defaults_path(const Folders& f) { return f.config_home / "mimeapps.list"; }

constexpr const char* kDefaults = "Default Applications";

/// Runs a desktop database tool when the machine has it; its failure does not matter.
void refresh(const char* tool, const fs::path& folder) {
  const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool));
  if (!path.isEmpty()) QProcess::execute(path, {QString::fromStdString(folder.string())});
}

/// The MIME database and the applications' MIME cache, rebuilt from the files now there.
void refresh_caches(const Folders& f) {
  std::error_code ec;
  if (fs::is_directory(f.data_home / "mime", ec)) refresh("update-mime-database", f.data_home / "mime");
  if (fs::is_directory(desktop_path(f).parent_path(), ec))
    refresh("update-desktop-database", desktop_path(f).parent_path());
}

}  // namespace

Folders user_folders() { return {env_folder("XDG_DATA_HOME", ".local/share"), env_folder("XDG_CONFIG_HOME", ".config")}; }

std::string exec_word(const std::string& path) {
  constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
  std::string word;
  const bool quote = path.empty() || path.find_first_of(kReserved) != std::string::npos;
  if (quote) word += '"';
  for (const char c : path) {
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) word += '\\';
    if (c == '%') word += '%';
    word += c;
  }
  if (quote) word += '"';
  // The key's value is a string: each backslash is written twice.
  std::string value;
  for (const char c : word) {
    if (c == '\\') value += '\\';
    value += c;
  }
  return value;
}

std::vector<std::string> split_command(const std::string& command) {
  // The string escapes of the value first, then the quoting rules of the command.
  std::string line;
  for (std::size_t i = 0; i < command.size(); ++i) {
    if (command[i] == '\\' && i + 1 < command.size()) {
      const char e = command[++i];
      line += e == 's' ? ' ' : e == 't' ? '\t' : e == 'n' ? '\n' : e == 'r' ? '\r' : e;
    } else {
      line += command[i];
    }
  }
  std::vector<std::string> words;
  std::string word;
  bool quoted = false, any = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (quoted && c == '\\' && i + 1 < line.size()) {
      word += line[++i];
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (any) words.push_back(word);
      word.clear();
      any = false;
    } else if (c == '%' && i + 1 < line.size() && line[i + 1] == '%') {
      word += '%';
      ++i;
      any = true;
    } else {
      word += c;
      any = true;
    }
  }
  if (any) words.push_back(word);
  return words;
}

bool in_force(const Folders& folders, const fs::path& program) {
  const ini::IniFile defaults = ini::IniFile::load(defaults_path(folders));
  if (defaults.get_string(kDefaults, kMimeType) != kDesktopFile) return false;
  const ini::IniFile entry = ini::IniFile::load(desktop_path(folders));
  const std::vector<std::string> words = split_command(entry.get_string("Desktop Entry", "Exec"));
  if (words.size() != 2 || words[1] != "%f") return false;
  std::error_code a, b;
  const fs::path listed = fs::weakly_canonical(words[0], a);
  const fs::path own = fs::weakly_canonical(program, b);
  return !a && !b && listed == own;
}

std::string desktop_entry(const fs::path& program) {
  return std::string("[Desktop Entry]\n") +
         "Type=Application\n"
         "Name=Zelvorin\n"
         "GenericName=Econometrics\n"
         "Comment=Estimate and test econometric models of time-series and cross-section data\n"
         "Exec=" + exec_word(program.string()) + " %f\n" +
         "Icon=" + kIconName + "\n" +
         "Terminal=false\n"
         "Categories=Science;Math;Economy;\n"
         "MimeType=" + kMimeType + ";\n";
}

bool set(const Folders& folders, const fs::path& program) {
  std::error_code ec;
  fs::create_directories(desktop_path(folders).parent_path(), ec);
  fs::create_directories(mime_path(folders).parent_path(), ec);
  fs::create_directories(folders.config_home, ec);
  const std::string mime = std::string(
                               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                               "  <mime-type type=\"") +
                           kMimeType +
                           "\">\n    <comment>Zelvorin file</comment>\n"
                           "    <glob pattern=\"*.zvd\" case-sensitive=\"false\"/>\n  </mime-type>\n</mime-info>\n";
  if (atomic_file::replace(desktop_path(folders), desktop_entry(program)).failure != atomic_file::Failure::kNone)
    return false;
  if (atomic_file::replace(mime_path(folders), mime).failure != atomic_file::Failure::kNone) return false;
  ini::IniFile defaults = ini::IniFile::load(defaults_path(folders));
  defaults.set_string(kDefaults, kMimeType, kDesktopFile);
  if (!defaults.save()) return false;
  refresh_caches(folders);
  return true;
}

void remove(const Folders& folders) {
  std::error_code ec;
  fs::remove(desktop_path(folders), ec);
  fs::remove(mime_path(folders), ec);
  ini::IniFile defaults = ini::IniFile::load(defaults_path(folders));
  if (defaults.get_string(kDefaults, kMimeType) == kDesktopFile && defaults.erase(kDefaults, kMimeType))
    defaults.save();
  refresh_caches(folders);
}

}  // namespace zelvorin::association
