// A small quarterly data set with an estimate on it, a temporary folder of the test's own
// for the results pages and plot files, and readers of what the dialogue showed.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "shared/plot_file.h"
#include "tests/support/engine/engine_fixture.h"
#include "tests/support/scratch_folder.h"

namespace qorv::testing {

/// Variables of the installed data set (12 quarterly observations from 1990Q1).
namespace small {
inline constexpr int kC = 1;  ///< the intercept
inline constexpr int kX = 2;  ///< 1, 2, ..., 12
inline constexpr int kY = 3;  ///< the dependent variable
inline constexpr int kZ = 4;  ///< an instrument
inline constexpr int kObs = 12;
}  // namespace small

class PostRegressionTest : public EngineTest {
 protected:
  void SetUp() override;

  /// Installs `columns` (one per variable, equal lengths) named `names` as a quarterly
  /// data set from 1990Q1, the sample over all of it.
  static void install(const std::vector<std::vector<double>>& columns, const std::vector<std::string>& names);

  /// Estimates `equation` (dependent first) by OLS (or, with `iv`, by IV with C, X and Z as
  /// instruments) over observations first..last, as the runner does before the dialogue.
  static void estimate(const std::vector<int>& equation, int first, int last, bool iv = false);

  /// The pages the viewer was shown, each as its lines.
  static std::vector<std::vector<std::string>> pages();

  /// The plot files written so far, in order.
  std::vector<plot_file::Plot> plots() const;

  /// Line `line` (from 1) of the shipped message file.
  static std::string message_line(int line);

  std::optional<zv_test::ScratchFolder> folder_;  ///< the temporary folder of the engine
};

}  // namespace qorv::testing
