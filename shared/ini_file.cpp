#include "shared/ini_file.h"

#include <charconv>
#include <cstdlib>
#include <algorithm>

#include "shared/atomic_file.h"
#include "shared/file_reading.h"

namespace ini {

namespace {

std::string_view trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

bool same(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    const auto la = ca >= 'A' && ca <= 'Z' ? ca + 32 : ca;
    const auto lb = cb >= 'A' && cb <= 'Z' ? cb + 32 : cb;
    if (la != lb) return false;
  }
  return true;
}

std::string value_of(std::string_view raw) {
  const auto eq = raw.find('=');
  return std::string(trim(raw.substr(eq + 1)));
}

}  // namespace

std::filesystem::path default_path() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::filesystem::path(config) / kFileName;
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home != nullptr ? home : ".") / ".config" / kFileName;
}

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

IniFile IniFile::load(const std::filesystem::path& path) {
  return parse(file_reading::read_all(path).bytes, path);
}

IniFile IniFile::parse(std::string_view text, std::filesystem::path path) {
  IniFile file(std::move(path));
  std::string section;
  for (std::size_t from = 0; from < text.size();) {
    const std::size_t end = std::min(text.find('\n', from), text.size());
    std::string raw(text.substr(from, end - from));
    from = end + 1;
    while (!raw.empty() && raw.back() == '\r') raw.pop_back();  // "\r\n", or doubled by a copy
    // A byte-order mark heads the file, or a line where two files were joined: dropped.
    while (raw.starts_with("\xEF\xBB\xBF")) raw.erase(0, 3);
    Line line{raw, section, {}, false};
    const std::string_view t = trim(raw);
    if (!t.empty() && t.front() == '[' && t.find(']') != std::string_view::npos) {
      section = std::string(trim(t.substr(1, t.find(']') - 1)));
      line.section = section;
      line.header = true;
    } else if (!t.empty() && t.front() != ';' && t.front() != '#' &&
               t.find('=') != std::string_view::npos) {
      line.key = std::string(trim(t.substr(0, t.find('='))));
    }
    file.lines_.push_back(std::move(line));
  }
  return file;
}

long IniFile::index_of(std::string_view section, std::string_view key) const {
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (!lines_[i].header && !lines_[i].key.empty() && same(lines_[i].section, section) &&
        same(lines_[i].key, key))
      return static_cast<long>(i);
  return -1;
}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
  const long i = index_of(section, key);
  if (i < 0) return std::nullopt;
  return value_of(lines_[static_cast<std::size_t>(i)].raw);
}

std::string IniFile::get_string(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  return find(section, key).value_or(std::string(fallback));
}

int IniFile::get_int(std::string_view section, std::string_view key, int fallback) const {
  const auto value = find(section, key);
  if (!value || value->empty()) return fallback;
  int result = 0;
  const char* end = value->data() + value->size();
  const auto [ptr, ec] = std::from_chars(value->data(), end, result);
  return ec == std::errc() && ptr == end ? result : fallback;
}

bool IniFile::get_bool(std::string_view section, std::string_view key, bool fallback) const {
  const auto value = find(section, key);
  if (!value) return fallback;
  if (*value == "1" || same(*value, "true") || same(*value, "yes")) return true;
  if (*value == "0" || same(*value, "false") || same(*value, "no")) return false;
  return fallback;
}

void IniFile::set_string(std::string_view section, std::string_view key, std::string_view value) {
  const long i = index_of(section, key);
  if (i >= 0) {
    Line& line = lines_[static_cast<std::size_t>(i)];
    line.raw = line.key + "=" + std::string(value);
    return;
  }
  Line line{std::string(key) + "=" + std::string(value), std::string(section), std::string(key),
            false};
  // After the last line of the section, or a new section at the end.
  long last = -1;
  for (std::size_t j = 0; j < lines_.size(); ++j)
    if (same(lines_[j].section, section) && !trim(lines_[j].raw).empty())
      last = static_cast<long>(j);
  if (last < 0) {
    if (!lines_.empty() && !trim(lines_.back().raw).empty())
      lines_.push_back(Line{"", lines_.back().section, {}, false});
    lines_.push_back(Line{"[" + std::string(section) + "]", std::string(section), {}, true});
    lines_.push_back(std::move(line));
    return;
  }
  line.section = lines_[static_cast<std::size_t>(last)].section;
  lines_.insert(lines_.begin() + last + 1, std::move(line));
}

void IniFile::set_int(std::string_view section, std::string_view key, int value) {
  set_string(section, key, std::to_string(value));
}

void IniFile::set_bool(std::string_view section, std::string_view key, bool value) {
  set_string(section, key, value ? "1" : "0");
}

bool IniFile::erase(std::string_view section, std::string_view key) {
  const long i = index_of(section, key);
  if (i < 0) return false;
  lines_.erase(lines_.begin() + i);
  return true;
}

std::string IniFile::text() const {
  std::string out;
  for (const Line& line : lines_) out += line.raw + "\n";
  return out;
}

bool IniFile::save(std::string* error) const {
  std::error_code ec;
  if (path_.has_parent_path()) std::filesystem::create_directories(path_.parent_path(), ec);
  const atomic_file::Outcome outcome = atomic_file::replace(path_, text());
  if (outcome.failure == atomic_file::Failure::kNone) return true;
  if (error != nullptr) *error = outcome.system_message;
  return false;
}

}  // namespace ini
