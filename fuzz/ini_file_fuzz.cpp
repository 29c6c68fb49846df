// The settings file: any text reads; written back it reads the same; setting one key
// changes that key alone, and the value reads back after a save and a reload; removing it
// again leaves every other key as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shared/ini_file.h"

namespace {

// A section or key name as the program writes them: letters, digits and "_".
std::string name_from(FuzzedDataProvider& in, std::string prefix) {
  for (const char c : in.ConsumeRandomLengthString(12))
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')
      prefix.push_back(c);
  return prefix;
}

// `text` without the blanks and tabs around it, as the file takes values.
std::string_view trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Every (section, key) a file holds, as header and key lines name them.
std::vector<std::pair<std::string, std::string>> keys_of(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> keys;
  std::string section;
  for (std::size_t from = 0; from < text.size();) {
    const std::size_t end = std::min(text.find('\n', from), text.size());
    const std::string_view t = trim(text.substr(from, end - from));
    from = end + 1;
    if (!t.empty() && t.front() == '[' && t.find(']') != std::string_view::npos)
      section = std::string(trim(t.substr(1, t.find(']') - 1)));
    else if (t.find('=') != std::string_view::npos)
      keys.emplace_back(section, std::string(trim(t.substr(0, t.find('=')))));
  }
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string section = name_from(in, "");
  const std::string key = name_from(in, "K");
  std::string value;
  for (const char c : in.ConsumeRandomLengthString(40))
    if (c != '\n' && c != '\r') value.push_back(c);
  const std::string text = in.ConsumeRemainingBytesAsString();

  const ini::IniFile file = ini::IniFile::parse(text, "fuzz.ini");
  // Written back, the file reads to the same text.
  const std::string written = file.text();
  if (ini::IniFile::parse(written, "fuzz.ini").text() != written) std::abort();

  ini::IniFile changed = file;
  changed.set_string(section, key, value);
  const ini::IniFile reloaded = ini::IniFile::parse(changed.text(), "fuzz.ini");
  const std::string expected(trim(value));
  if (changed.find(section, key) != expected || reloaded.find(section, key) != expected)
    std::abort();
  if (reloaded.text() != changed.text()) std::abort();
  // The key set can be removed again, and the file still reads to its own text.
  ini::IniFile erased = reloaded;
  if (!erased.erase(section, key)) std::abort();
  const ini::IniFile erased_reloaded = ini::IniFile::parse(erased.text(), "fuzz.ini");
  if (erased_reloaded.text() != erased.text()) std::abort();
  // Every other key keeps its value through both changes.
  const ini::IniFile probe = ini::IniFile::parse("[" + section + "]\n" + key + "=\n", "");
  for (const auto& [s, k] : keys_of(written)) {
    if (probe.find(s, k)) continue;  // the key that was set
    if (file.find(s, k) != reloaded.find(s, k) || file.find(s, k) != erased_reloaded.find(s, k))
      std::abort();
  }
  return 0;
}
