#include "tests/engine/multi/coint_reference.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tests/engine/single/macro_reference.h"
#include "tests/engine/single/printed_numbers.h"

namespace qorv::testing {

std::string coint_reference_folder() { return std::string(ZV_REFERENCE_DIR) + "/cointegration/"; }

CointCase reference_case(const std::string& name, double scale) {
  const std::string kFolder = coint_reference_folder();
  const qorv::testing::DataTable table = qorv::testing::read_data_table(kFolder + "data.csv");
  std::ifstream in(kFolder + "cases.csv");
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const std::vector<std::string> f = qorv::testing::csv_fields(line);
    if (f[0] != name) continue;
    CointCase c;
    c.name = name;
    c.endogenous = words(f[2]);
    c.exogenous = words(f[3]);
    c.stationary_names = words(f[4]);
    c.r = std::stoi(f[11]);
    const std::vector<std::string>& exogenous = c.exogenous;
    const std::vector<std::string>& stationary = c.stationary_names;
    c.data.model_case = std::stoi(f[1]);
    c.data.p = std::stoi(f[5]);
    c.data.n = std::stoi(f[8]);
    c.data.m = static_cast<int>(c.endogenous.size());
    c.data.e = static_cast<int>(exogenous.size());
    c.data.d = static_cast<int>(stationary.size());
    const auto column = [&](const std::string& v) {
      for (std::size_t j = 0; j < table.names.size(); ++j)
        if (table.names[j] == v) return j;
      throw std::runtime_error(v + " not in data.csv");
    };
    // The sample ends with the file; the p observations before it are initial values.
    const std::size_t last = table.rows.size();
    const std::size_t first = last - static_cast<std::size_t>(c.data.n);
    c.level_names = c.endogenous;
    c.level_names.insert(c.level_names.end(), exogenous.begin(), exogenous.end());
    for (const std::string& v : c.level_names)
      for (std::size_t r = first - static_cast<std::size_t>(c.data.p); r < last; ++r)
        c.levels.push_back(scale * table.rows[r][column(v)]);
    for (const std::string& v : stationary)
      for (std::size_t r = first; r < last; ++r) c.stationary.push_back(scale * table.rows[r][column(v)]);
    if (c.data.model_case == 2) c.level_names.push_back("Intercept");
    if (c.data.model_case == 4) c.level_names.push_back("Trend");
    c.data.levels = c.levels;
    c.data.stationary = c.stationary;
    return c;
  }
  throw std::runtime_error(name + " not in cases.csv");
}

}  // namespace qorv::testing
