// Fixture of the statistics-command tests: data sets of the reference folder
// data-commands installed as the engine's data set, the reference values of a case, and
// the pages and plots a command leaves.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "shared/plot_file.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::testing {

/// One row of expected.csv.
struct ReferenceValue {
  double value = 0.0;
  double tolerance = 0.0;
  bool relative = false;
  bool alternative = false;  ///< a reading the project did not choose (checked on the page only)
  /// The largest distance the row allows from `value`.
  double bound() const;
};

/// The rows of expected.csv of `case_name`, by quantity.
std::map<std::string, ReferenceValue> reference_case(const std::string& case_name);

/// One row of cases.csv.
struct ReferenceCase {
  std::string name;
  std::string command;
  std::string data_file;
  std::string sample_start;  ///< label; empty for the whole data set
  std::string sample_end;
};
std::vector<ReferenceCase> reference_cases();
/// Prints a case by its name in test messages.
void PrintTo(const ReferenceCase& c, std::ostream* out);

class DataCommandsTest : public EngineTest {
 protected:
  /// Installs the CSV file `file` of the reference folder: a first column "obs" of annual
  /// ("1871") or quarterly ("1960Q1") labels, or no label column (undated); the other
  /// columns are the variables, named by their headers in upper case.
  void load_reference_data(const std::string& file);

  /// Installs `columns` as an undated data set named `names`.
  void install(const std::vector<std::vector<double>>& columns, const std::vector<std::string>& names,
               int frequency = 1, int start_year = 1, int start_period = 1);

  /// Observation number of a label of the installed data set ("1900", "1960Q3", "5").
  static int observation(const std::string& label);

  /// The results pages the transcript shows, each as its lines.
  static std::vector<std::vector<std::string>> pages();

  /// The plot files written since the engine was reset, in order.
  static std::vector<plot_file::Plot> plots();

  /// The messages shown ("message ..." lines of the transcript).
  static std::vector<std::string> messages();
};

/// The 9-column field of `line` starting at `column` (from 1).
std::string field(const std::string& line, int column, int width = 9);

/// The first line of `page` that starts with `prefix`; empty when there is none.
std::string line_starting(const std::vector<std::string>& page, const std::string& prefix);

}  // namespace qorv::testing
