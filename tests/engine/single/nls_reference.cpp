#include "tests/engine/single/nls_reference.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "tests/engine/single/macro_reference.h"

namespace qorv::testing {

namespace {

std::string nls_file(const std::string& name) { return std::string(ZV_REFERENCE_DIR) + "/nls/" + name; }

}  // namespace

std::vector<NlsCase> nls_cases() {
  std::vector<NlsCase> out;
  std::ifstream cases(nls_file("cases.csv"));
  std::string line;
  std::getline(cases, line);
  while (std::getline(cases, line)) {
    const auto f = csv_fields(line);
    NlsCase c;
    c.name = f[0];
    c.formula = f[2];
    c.periods_per_year = static_cast<int>(csv_number(f[7]));
    std::istringstream start(f[4]);
    for (double v; start >> v;) c.start.push_back(v);
    std::ifstream data(nls_file(f[1]));
    std::getline(data, line);
    auto heading = csv_fields(line);
    const bool labelled = heading[0] == "obs";
    for (std::size_t j = labelled ? 1 : 0; j < heading.size(); ++j) {
      for (char& ch : heading[j]) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      c.variables.push_back(heading[j]);
    }
    std::vector<std::vector<double>> rows;
    while (std::getline(data, line)) {
      const auto v = csv_fields(line);
      rows.emplace_back();
      for (std::size_t j = labelled ? 1 : 0; j < v.size(); ++j) rows.back().push_back(csv_number(v[j]));
    }
    c.n = static_cast<int>(rows.size());
    for (std::size_t j = 0; j < c.variables.size(); ++j)
      for (const auto& r : rows) c.data.push_back(r[j]);
    out.push_back(std::move(c));
  }
  return out;
}

}  // namespace qorv::testing
