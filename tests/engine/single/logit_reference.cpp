#include "tests/engine/single/logit_reference.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace qorv::testing {

namespace {

int number_or_zero(const std::string& text) { return text == "NA" ? 0 : static_cast<int>(csv_number(text)); }

}  // namespace

std::string logit_reference_file(const std::string& name) {
  return std::string(ZV_REFERENCE_DIR) + "/logit-probit/" + name;
}

std::vector<LogitCase> logit_cases() {
  std::ifstream in(logit_reference_file("cases.csv"));
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
  return read_expected(logit_reference_file("expected.csv"), case_name, {"definite", "favoured"});
}

}  // namespace qorv::testing
