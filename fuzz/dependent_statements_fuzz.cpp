// The statements a user types for the non-nested simulation: whatever the text, it is
// refused or read as six statements, each a valid upper-case name and a formula without
// blanks, and the checks name only words of those formulas.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/diagnostics/dependent_forms.h"
#include "shared/names.h"

using namespace qorv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  diagnostics::DependentStatements s;
  if (!diagnostics::parse_statements(text, s)) return 0;
  for (std::size_t i = 0; i < 6; ++i) {
    if (s.name[i].empty() || names::valid_name(s.name[i]) != s.name[i] || s.formula[i].empty()) std::abort();
    if (s.formula[i].find(' ') != std::string::npos || s.formula[i].find(';') != std::string::npos) std::abort();
    for (const std::string& v : diagnostics::formula_variables(s.formula[i]))
      if (v.empty() || s.formula[i].find(v) == std::string::npos) std::abort();
  }
  const std::string message = diagnostics::check_statements(s, "LC", [](std::string_view name) {
    return name == "LC" || name == "C" || name == "W";
  });
  (void)message;
  return 0;
}
