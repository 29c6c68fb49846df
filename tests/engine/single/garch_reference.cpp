#include "tests/engine/single/garch_reference.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace qorv::testing {

namespace {

std::string garch_file(const std::string& name) { return std::string(ZV_REFERENCE_DIR) + "/garch/" + name; }

}  // namespace

GarchCase garch_case(const std::string& name) {
  std::ifstream in(garch_file("cases.csv"));
  if (!in) throw std::runtime_error("garch cases.csv not found");
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const auto f = csv_fields(line);
    if (f.size() < 13 || f[0] != name) continue;
    GarchCase c;
    c.name = f[0];
    c.dependent = f[2];
    std::stringstream words(f[3]);
    for (std::string w; words >> w;) c.regressors.push_back(w);
    c.lag_text = f[4];
    c.student_t = f[5] == "t";
    c.sample_first_row = static_cast<int>(csv_number(f[6]));
    c.sample_last_row = static_cast<int>(csv_number(f[7]));
    c.likelihood_first_row = static_cast<int>(csv_number(f[8]));
    c.s0 = csv_number(f[12]);
    return c;
  }
  throw std::runtime_error("no garch case " + name);
}

const DataTable& garch_data() {
  static const DataTable table = read_data_table(garch_file("data.csv"));
  return table;
}

std::vector<double> garch_column(const std::string& name, int first, int last) {
  const DataTable& d = garch_data();
  size_t column = 0;
  while (column < d.names.size() && d.names[column] != name) ++column;
  if (column == d.names.size()) throw std::runtime_error("no garch column " + name);
  std::vector<double> values;
  for (int r = first; r <= last; ++r) values.push_back(d.rows.at(static_cast<size_t>(r - 1)).at(column));
  return values;
}

std::map<std::string, Expected> garch_expected(const std::string& case_name,
                                               const std::vector<std::string>& readings) {
  auto rows = read_expected(garch_file("expected.csv"), case_name, readings);
  // Tolerances remade for the stops of the iteration from the estimator's start.
  std::ifstream in(garch_file("start_tolerances.csv"));
  if (!in) throw std::runtime_error("garch start_tolerances.csv not found");
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const auto f = csv_fields(line);
    if (f.size() < 4 || f[0] != case_name) continue;
    const auto row = rows.find(f[1]);
    if (row == rows.end()) continue;
    row->second.tolerance = csv_number(f[2]);
    row->second.relative = f[3] == "rel";
  }
  return rows;
}

}  // namespace qorv::testing
