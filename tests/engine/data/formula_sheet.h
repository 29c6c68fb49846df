// A small workspace for the formula tests: named columns read from a reference CSV file
// (first column the observation label, "NA" missing) or given in place, and one call that
// compiles and runs a formula over it the way the command interpreter will.
#pragma once

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/data/formula_evaluator.h"
#include "shared/exchange_slots.h"

namespace formula_test {

constexpr double M = limits::kMissing;

struct Sheet {
  std::vector<std::string> labels;  ///< observation labels, row 1 first
  std::vector<std::string> names;   ///< variable names, column 1 first
  std::vector<double> data;         ///< column-major
  int nobs = 0;

  int nvars() const { return static_cast<int>(names.size()); }
  qorv::data::FormulaData view(std::span<const double> parameters = {}) const {
    return {data, nobs, nvars(), parameters, M};
  }
  /// Row (from 1) of an observation label; throws when there is none.
  int row(const std::string& label) const {
    for (std::size_t i = 0; i < labels.size(); ++i)
      if (labels[i] == label) return static_cast<int>(i) + 1;
    throw std::runtime_error("no observation " + label);
  }
  void add(const std::string& name, const std::vector<double>& values) {
    if (names.empty()) nobs = static_cast<int>(values.size());
    if (static_cast<int>(values.size()) != nobs) throw std::runtime_error("column length");
    names.push_back(name);
    data.insert(data.end(), values.begin(), values.end());
  }
};

inline Sheet read_sheet(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("missing " + path);
  std::vector<std::vector<std::string>> cells;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    std::vector<std::string> row;
    std::stringstream ss(line);
    std::string item;
    while (std::getline(ss, item, ',')) row.push_back(item);
    cells.push_back(row);
  }
  Sheet s;
  for (std::size_t j = 1; j < cells[0].size(); ++j) {
    std::vector<double> column;
    for (std::size_t i = 1; i < cells.size(); ++i)
      column.push_back(cells[i][j] == "NA" ? M : std::stod(cells[i][j]));
    s.add(cells[0][j], column);
  }
  for (std::size_t i = 1; i < cells.size(); ++i) s.labels.push_back(cells[i][0]);
  return s;
}

/// What one formula gave.
struct Outcome {
  qorv::data::FormulaStatus status = qorv::data::FormulaStatus::kOk;
  std::string message;
  std::vector<double> values;  ///< all rows; those outside the sample hold the missing code
};

/// Compiles `formula` against the sheet's names (and `parameter_names`) and runs it over
/// rows first..last with the command interpreter's capacity.
inline Outcome run(const Sheet& sheet, const std::string& formula, int first = 1, int last = 0,
               const std::vector<std::string>& parameter_names = {},
               const std::vector<double>& parameter_values = {}) {
  using namespace qorv::data;
  Outcome r;
  r.values.assign(static_cast<std::size_t>(sheet.nobs), M);
  const CompileResult c = compile_formula(formula, {sheet.names, parameter_names});
  r.status = c.status;
  r.message = c.message;
  if (c.status != FormulaStatus::kOk) return r;
  FormulaScratch scratch;
  r.status = evaluate_formula(c.program, sheet.view(parameter_values), first,
                              last == 0 ? sheet.nobs : last, r.values, scratch,
                              formula_stack_capacity(FormulaCaller::kCommands, sheet.nobs,
                                                     sheet.nvars()));
  return r;
}

}  // namespace formula_test
