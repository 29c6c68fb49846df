#include "tests/engine/multi/var_reference.h"

#include <stdexcept>

#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"

namespace qorv::testing {

const ReferenceData& var_reference_data() {
  static const ReferenceData data = read_reference_data(std::string(ZV_REFERENCE_DIR) + "/var/data.csv");
  return data;
}

std::string var_reference_name(int number) { return var_reference_data().names.at(static_cast<std::size_t>(number - 1)); }

void install_var_workspace() { install_reference_workspace(var_reference_data(), kQuarterlyFrom1959Q2, 4); }

multi::VarLayout var_reference_layout(const std::string& case_name) {
  // INPT 1, T 2, DLY 3, DLC 4, DLI 5; 1960Q1 is observation 4.
  if (case_name == "V3") return multi::VarLayout{{3, 4, 5}, {1, 2}, 3, 4, 196};
  if (case_name == "V1") return multi::VarLayout{{4, 5}, {1}, 1, 4, 196};
  throw std::invalid_argument("unknown VAR case " + case_name);
}

}  // namespace qorv::testing
