#include "tests/engine/single/logit_reference.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "engine/core/workspace.h"

namespace qorv::testing {

namespace {

std::string reference_file(const std::string& name) { return std::string(ZV_REFERENCE_DIR) + "/logit-probit/" + name; }

int number_or_zero(const std::string& text) { return text == "NA" ? 0 : static_cast<int>(csv_number(text)); }

}  // namespace

std::vector<LogitCase> logit_cases() {
  std::ifstream in(reference_file("cases.csv"));
  if (!in) throw std::runtime_error("cases.csv not found");
  std::vector<LogitCase> cases;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const auto f = csv_fields(line);
    if (f.size() < 10) continue;
    LogitCase c;
    c.name = f[0];
    c.data = f[1];
    c.probit = f[2] == "probit";
    c.dependent = f[3];
    std::stringstream words(f[4]);
    for (std::string w; words >> w;) c.regressors.push_back(w);
    c.sample_start = number_or_zero(f[5]);
    c.sample_end = number_or_zero(f[6]);
    c.forecast_start = number_or_zero(f[8]);
    c.forecast_end = number_or_zero(f[9]);
    cases.push_back(c);
  }
  return cases;
}

std::map<std::string, Expected> logit_expected(const std::string& case_name) {
  std::ifstream in(reference_file("expected.csv"));
  if (!in) throw std::runtime_error("expected.csv not found");
  std::map<std::string, Expected> rows;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const auto f = csv_fields(line);
    if (f.size() < 6 || f[0] != case_name) continue;
    if (f[5] == "definite" || f[5] == "favoured") rows[f[1]] = Expected{csv_number(f[2]), csv_number(f[3]), f[4] == "rel"};
  }
  return rows;
}

std::vector<std::string> install_logit_data(const std::string& file) {
  std::ifstream in(reference_file(file));
  if (!in) throw std::runtime_error(file + " not found");
  std::string line;
  std::getline(in, line);
  auto names = csv_fields(line);
  names.erase(names.begin());
  std::vector<std::vector<double>> rows;
  while (std::getline(in, line)) {
    const auto f = csv_fields(line);
    std::vector<double> row;
    for (size_t i = 1; i < f.size(); ++i) row.push_back(csv_number(f[i]));
    rows.push_back(row);
  }
  auto& g = core::globals();
  g.nobs = static_cast<int>(rows.size());
  g.nvars = static_cast<int>(names.size());
  g.frequency = 1;
  g.periods_per_year = 1;
  g.start_year = 1;
  g.century_base = 0;
  g.start_period = 1;
  g.max_vars = limits::max_vars_for(g.nobs);
  for (int v = 1; v <= g.nvars; ++v) core::set_variable(v, names[static_cast<size_t>(v - 1)], "");
  for (int t = 1; t <= g.nobs; ++t)
    for (int v = 1; v <= g.nvars; ++v)
      core::data_at(t, v) = rows[static_cast<size_t>(t - 1)][static_cast<size_t>(v - 1)];
  g.sample_start = 1;
  g.sample_end = g.nobs;
  return names;
}

std::vector<int> logit_equation(const LogitCase& c) {
  std::vector<int> equation = {core::find_variable(c.dependent)};
  for (const auto& r : c.regressors) equation.push_back(core::find_variable(r));
  return equation;
}

}  // namespace qorv::testing
