#include "tests/engine/single/page_reading.h"

#include <regex>

#include "tests/support/dialog_script/dialog_script.h"

namespace qorv::testing {

std::vector<std::vector<std::string>> shown_pages() {
  std::vector<std::vector<std::string>> pages;
  bool inside = false;
  for (const std::string& line : dialog_script::transcript()) {
    if (line.starts_with("--- page ")) {
      inside = true;
      pages.emplace_back();
    } else if (line == "--- end page ---") {
      inside = false;
    } else if (inside) {
      pages.back().push_back(line);
    }
  }
  return pages;
}

std::vector<std::string> last_page() {
  auto pages = shown_pages();
  return pages.empty() ? std::vector<std::string>{} : pages.back();
}

size_t find_line(const std::vector<std::string>& lines, const std::string& text) {
  size_t i = 0;
  while (i < lines.size() && lines[i].find(text) == std::string::npos) ++i;
  return i;
}

Printed printed_after(const std::string& text, const std::string& label) {
  std::smatch m;
  const std::regex re(label + R"(\s*(-?[0-9.]+(?:E[-+]?[0-9]+)?|\*NONE\*))");
  EXPECT_TRUE(std::regex_search(text, m, re)) << label;
  return parse_number(m.size() > 1 ? m[1].str() : "*NONE*");
}

}  // namespace qorv::testing
