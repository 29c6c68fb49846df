#include "tests/engine/single/macro_fixture.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "engine/core/workspace.h"

namespace qorv::testing {

namespace {

std::vector<std::string> split(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  std::string field;
  while (std::getline(in, field, ',')) fields.push_back(field);
  return fields;
}

double number(const std::string& text) {
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{}) throw std::runtime_error("not a number: " + text);
  return value;
}

std::string reference_file(const std::string& name) {
  return std::string(ZV_REFERENCE_DIR) + "/ols-macro/" + name;
}

}  // namespace

std::map<std::string, Expected> macro_expected(const std::string& case_name) {
  std::ifstream in(reference_file("expected.csv"));
  if (!in) throw std::runtime_error("expected.csv not found");
  std::map<std::string, Expected> rows;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const auto f = split(line);
    if (f.size() < 5 || f[0] != case_name) continue;
    rows[f[1]] = Expected{number(f[2]), number(f[3]), f[4] == "rel"};
  }
  return rows;
}

bool agrees(double x, const Expected& e) {
  const double bound = e.relative ? e.tolerance * std::fabs(e.value) : e.tolerance;
  return std::fabs(x - e.value) <= bound;
}

void install_macro_data() {
  std::ifstream in(reference_file("data.csv"));
  if (!in) throw std::runtime_error("data.csv not found");
  std::string line;
  std::getline(in, line);
  std::vector<std::vector<double>> rows;
  while (std::getline(in, line)) {
    const auto f = split(line);
    std::vector<double> row;
    for (size_t i = 1; i < f.size(); ++i) row.push_back(number(f[i]));
    rows.push_back(row);
  }
  auto& g = core::globals();
  g.nobs = static_cast<int>(rows.size());
  g.nvars = 6;
  g.frequency = 4;
  g.periods_per_year = 4;
  g.start_year = 60;
  g.century_base = 1900;
  g.start_period = 1;
  g.max_vars = limits::max_vars_for(g.nobs);
  const char* names[] = {"INPT", "LC", "LY", "INFL", "R", "LC(-1)"};
  for (int v = 1; v <= 6; ++v) core::set_variable(v, names[v - 1], "");
  for (int t = 1; t <= g.nobs; ++t) {
    for (int v = 1; v <= 5; ++v) core::data_at(t, v) = rows[static_cast<size_t>(t - 1)][static_cast<size_t>(v - 1)];
    core::data_at(t, macro::kLcLag) = t == 1 ? limits::kMissing : rows[static_cast<size_t>(t - 2)][1];
  }
  g.sample_start = 1;
  g.sample_end = g.nobs;
}

void MacroTest::SetUp() {
  EngineTest::SetUp();
  install_macro_data();
}

}  // namespace qorv::testing
