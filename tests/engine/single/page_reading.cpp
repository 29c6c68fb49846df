#include "tests/engine/single/page_reading.h"

#include "tests/support/dialog_script/dialog_script.h"

namespace qorv::testing {

std::vector<std::string> last_page() {
  std::vector<std::string> page;
  bool inside = false;
  for (const std::string& line : dialog_script::transcript()) {
    if (line.starts_with("--- page ")) {
      inside = true;
      page.clear();
    } else if (line == "--- end page ---") {
      inside = false;
    } else if (inside) {
      page.push_back(line);
    }
  }
  return page;
}

size_t find_line(const std::vector<std::string>& lines, const std::string& text) {
  size_t i = 0;
  while (i < lines.size() && lines[i].find(text) == std::string::npos) ++i;
  return i;
}

}  // namespace qorv::testing
