// The reference values of the least-squares estimates on the quarterly US macro data
// (1960Q1-2008Q4), read from the reference folder: no engine is needed to read them.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace qorv::testing {

/// One reference value and its tolerance.
struct Expected {
  double value = 0.0;
  double tolerance = 0.0;
  bool relative = false;
};

/// The rows of the expected-values file at `path` (columns case, quantity, value,
/// tolerance, tol_kind, reading, ...) for `case_name`, by quantity; with `readings` non-empty
/// only the rows whose reading is one of them.
std::map<std::string, Expected> read_expected(const std::string& path, const std::string& case_name,
                                              const std::vector<std::string>& readings = {});

/// A data file of the reference folder: a heading row of names, then one row per
/// observation, its first column the observation's number (dropped here).
struct DataTable {
  std::vector<std::string> names;
  std::vector<std::vector<double>> rows;
};
DataTable read_data_table(const std::string& path);

/// The rows of expected.csv for `case_name` ("S", "D", ...), by quantity.
std::map<std::string, Expected> macro_expected(const std::string& case_name);

/// The rows of `folder`/expected.csv of the reference folder ("single-extra", ...) for
/// `case_name`, by quantity.
std::map<std::string, Expected> reference_expected(const std::string& folder, const std::string& case_name);

/// The rows of single-extra/expected.csv for `case_name` ("REC_S", "ROLL_S40", ...); a
/// value NA is read as the engine's missing code.
std::map<std::string, Expected> single_extra_expected(const std::string& case_name);

/// Whether `x` agrees with `e` within its tolerance.
bool agrees(double x, const Expected& e);

/// The path of a file of the reference folder ("data.csv", "expected.csv").
std::string macro_reference_file(const std::string& name);
/// The comma-separated fields of a line of a reference file (no quoting).
std::vector<std::string> csv_fields(const std::string& line);
/// A number field; throws when it is none.
double csv_number(const std::string& text);

}  // namespace qorv::testing
