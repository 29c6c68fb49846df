// An estimate on the reference macro data to run the residual tests on, and the lines a
// report routine writes on the results page.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/engine/single/macro_fixture.h"

namespace qorv::testing {

/// The workspace column of variable v over the whole data set.
std::vector<double> workspace_column(int v);

class EstimateTest : public MacroTest {
 protected:
  /// Estimates `equation` (variable numbers, dependent first) by OLS over observations
  /// first..last, with `kept_back` observations after the sample kept for the
  /// predictive-failure tests. The status word tells whether it succeeded.
  void estimate_ols(const std::vector<int>& equation, int first, int last, int kept_back = 0);

  /// The lines `write` puts on a fresh results page.
  std::vector<std::string> page(const std::function<void()>& write);
};

}  // namespace qorv::testing
