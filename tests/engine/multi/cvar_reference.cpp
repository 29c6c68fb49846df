#include "tests/engine/multi/cvar_reference.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "engine/multi/system_estimate.h"
#include "engine/road/system_services.h"
#include "shared/exchange_slots.h"
#include "tests/engine/multi/reference_data.h"
#include "tests/engine/single/macro_reference.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace qorv::testing {

namespace {

const std::string kFolder = std::string(ZV_REFERENCE_DIR) + "/cointegration/";

}  // namespace

std::string cvar_expected_path() { return kFolder + "expected.csv"; }

void install_cvar_workspace() {
  install_reference_workspace(read_reference_data(kFolder + "data.csv"), kQuarterlyFrom1959Q2, 4);
}

CvarCase cvar_case(const std::string& name) {
  const DataTable table = read_data_table(kFolder + "data.csv");
  const auto number = [&](const std::string& v) {
    for (std::size_t j = 0; j < table.names.size(); ++j)
      if (table.names[j] == v) return static_cast<int>(j) + 1;
    throw std::runtime_error(v + " not in data.csv");
  };
  std::ifstream in(kFolder + "cases.csv");
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const std::vector<std::string> f = csv_fields(line);
    if (f[0] != name) continue;
    CvarCase c;
    c.name = name;
    c.model_case = std::stoi(f[1]);
    c.p = std::stoi(f[5]);
    c.endogenous = words(f[2]);
    const std::vector<std::string> exogenous = words(f[3]), stationary = words(f[4]);
    for (const std::string& v : c.endogenous) c.list.push_back(number(v));
    for (const std::string& v : exogenous) c.list.push_back(number(v));
    for (const std::string& v : stationary) c.list.push_back(number(v));
    c.split = 1000 * static_cast<int>(stationary.size()) + static_cast<int>(exogenous.size());
    c.vector_names = c.endogenous;
    c.vector_names.insert(c.vector_names.end(), exogenous.begin(), exogenous.end());
    if (c.model_case == 2) c.vector_names.push_back("Intercept");
    if (c.model_case == 4) c.vector_names.push_back("Trend");
    return c;
  }
  throw std::invalid_argument("unknown cointegration case " + name);
}

void run_cvar(const std::vector<int>& list, int split, const std::string& script) {
  dialog_script::load(script);
  core::driver_state().equation = list;
  int choice = multi::kCointegratingChoice;
  int order_word = slots::kUnset;
  multi::SYSTEMESTIMATE(choice, split, order_word, road::system_services());
}

}  // namespace qorv::testing
