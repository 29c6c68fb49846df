#include "tests/engine/single/macro_reference.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

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

std::map<std::string, Expected> macro_expected(const std::string& case_name) {
  return reference_expected("ols-macro", case_name);
}

std::map<std::string, Expected> reference_expected(const std::string& folder, const std::string& case_name) {
  std::ifstream in(std::string(ZV_REFERENCE_DIR) + "/" + folder + "/expected.csv");
  if (!in) throw std::runtime_error("expected.csv not found");
  std::map<std::string, Expected> rows;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const auto f = csv_fields(line);
    if (f.size() < 5 || f[0] != case_name) continue;
    rows[f[1]] = Expected{csv_number(f[2]), csv_number(f[3]), f[4] == "rel"};
  }
  return rows;
}

bool agrees(double x, const Expected& e) {
  const double bound = e.relative ? e.tolerance * std::fabs(e.value) : e.tolerance;
  return std::fabs(x - e.value) <= bound;
}

}  // namespace qorv::testing
