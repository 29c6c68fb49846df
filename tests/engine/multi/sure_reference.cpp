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

const ReferenceData& sure_reference_data() {
  static const ReferenceData data = read_reference_data(folder() + "data.csv");
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
  // Annual from 1935.
  install_reference_workspace(sure_reference_data(), ReferenceDates{2, 1, 1935, 1900, 1}, 1);
}

}  // namespace qorv::testing
