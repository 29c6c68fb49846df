#include "tests/engine/multi/sure_reference.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "engine/core/workspace.h"

namespace qorv::testing {

namespace {

std::string folder() { return std::string(ZV_REFERENCE_DIR) + "/sure/"; }

/// The row of cases.csv for `case_name`.
std::vector<std::string> case_row(const std::string& case_name) {
  std::ifstream in(folder() + "cases.csv");
  for (std::string line; std::getline(in, line);) {
    const auto fields = csv_fields(line);
    if (!fields.empty() && fields[0] == case_name) return fields;
  }
  throw std::invalid_argument("unknown SURE case " + case_name);
}

}  // namespace

int SureReferenceData::number(const std::string& name) const {
  const auto it = std::find(names.begin(), names.end(), name);
  if (it == names.end()) throw std::invalid_argument("no variable " + name);
  return static_cast<int>(it - names.begin()) + 1;
}

const SureReferenceData& sure_reference_data() {
  static const SureReferenceData data = [] {
    const DataTable table = read_data_table(folder() + "data.csv");
    SureReferenceData d;
    d.names = table.names;
    d.nobs = static_cast<int>(table.rows.size());
    for (std::size_t j = 0; j < table.names.size(); ++j)
      for (const auto& row : table.rows) d.values.push_back(row.at(j));
    return d;
  }();
  return data;
}

std::string sure_case_text(const std::string& case_name) {
  // "I_GE ~ INPT F_GE C_GE | I_WH ~ INPT F_WH C_WH" → "I_GE INPT F_GE C_GE; I_WH ..."
  std::string text = case_row(case_name).at(1);
  std::string out;
  for (char c : text) {
    if (c == '~') continue;
    out += c == '|' ? ';' : c;
  }
  std::istringstream words(out);
  std::string joined;
  for (std::string w; words >> w;) joined += (joined.empty() || w == ";" ? "" : " ") + w;
  return joined;
}

std::string sure_case_restrictions(const std::string& case_name) { return case_row(case_name).at(2); }

multi::SureLayout sure_case_layout(const std::string& case_name) {
  multi::SureLayout layout;
  std::istringstream pieces(sure_case_text(case_name));
  for (std::string piece; std::getline(pieces, piece, ';');) {
    std::istringstream words(piece);
    std::vector<int> eq;
    for (std::string w; words >> w;) eq.push_back(sure_reference_data().number(w));
    layout.equations.push_back(eq);
  }
  layout.first = 1;
  layout.n = sure_reference_data().nobs;
  return layout;
}

std::map<std::string, Expected> sure_expected(const std::string& case_name) {
  return read_expected(folder() + "expected.csv", case_name, {"definite", "favoured"});
}

void install_sure_workspace() {
  const SureReferenceData& d = sure_reference_data();
  auto& g = core::globals();
  g.nobs = d.nobs;
  g.frequency = 2;
  g.periods_per_year = 1;
  g.start_year = 1935;
  g.century_base = 1900;
  g.start_period = 1;
  g.max_vars = limits::max_vars_for(g.nobs);
  g.nvars = static_cast<int>(d.names.size());
  for (int j = 1; j <= g.nvars; ++j) {
    core::set_variable(j, d.names[static_cast<std::size_t>(j - 1)], "");
    for (int t = 1; t <= g.nobs; ++t) core::data_at(t, j) = d.values[static_cast<std::size_t>((j - 1) * g.nobs + t - 1)];
  }
  g.sample_start = 1;
  g.sample_end = g.nobs;
}

}  // namespace qorv::testing
