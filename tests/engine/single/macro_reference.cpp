#include "tests/engine/single/macro_reference.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "shared/exchange_slots.h"

namespace qorv::testing {

std::vector<std::string> csv_fields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  std::string field;
  while (std::getline(in, field, ',')) fields.push_back(field);
  return fields;
}

double csv_number(const std::string& text) {
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{}) throw std::runtime_error("not a number: " + text);
  return value;
}

std::string macro_reference_file(const std::string& name) {
  return std::string(ZV_REFERENCE_DIR) + "/ols-macro/" + name;
}

std::map<std::string, Expected> read_expected(const std::string& path, const std::string& case_name,
                                              const std::vector<std::string>& readings) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error(path + " not found");
  std::map<std::string, Expected> rows;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const auto f = csv_fields(line);
    if (f.size() < 5 || f[0] != case_name) continue;
    if (!readings.empty() && (f.size() < 6 || std::find(readings.begin(), readings.end(), f[5]) == readings.end()))
      continue;
    // NA, the missing value of the reference, stands for the engine's missing code.
    const double value = f[2] == "NA" ? limits::kMissing : csv_number(f[2]);
    rows[f[1]] = Expected{value, csv_number(f[3]), f[4] == "rel"};
  }
  return rows;
}

DataTable read_data_table(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error(path + " not found");
  DataTable table;
  std::string line;
  std::getline(in, line);
  table.names = csv_fields(line);
  if (!table.names.empty()) table.names.erase(table.names.begin());
  while (std::getline(in, line)) {
    const auto f = csv_fields(line);
    std::vector<double> row;
    for (size_t i = 1; i < f.size(); ++i) row.push_back(csv_number(f[i]));
    table.rows.push_back(row);
  }
  return table;
}

std::map<std::string, Expected> macro_expected(const std::string& case_name) {
  return read_expected(macro_reference_file("expected.csv"), case_name);
}

std::map<std::string, Expected> reference_expected(const std::string& folder, const std::string& case_name) {
  return read_expected(std::string(ZV_REFERENCE_DIR) + "/" + folder + "/expected.csv", case_name);
}

std::map<std::string, Expected> single_extra_expected(const std::string& case_name) {
  return reference_expected("single-extra", case_name);
}

bool agrees(double x, const Expected& e) {
  const double bound = e.relative ? e.tolerance * std::fabs(e.value) : e.tolerance;
  return std::fabs(x - e.value) <= bound;
}

}  // namespace qorv::testing
