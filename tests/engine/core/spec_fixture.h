// Engine tests of the specification screens: a small data set of eight observations and
// a temporary folder (with a long name and blanks) for the editor panel file and the
// equation-box file.
#pragma once

#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "tests/engine/core/long_temp_folder.h"

namespace qorv::testing {

class SpecTest : public LongTempFolderTest {
 protected:
  void SetUp() override {
    LongTempFolderTest::SetUp();
    auto& g = core::globals();
    g.nobs = 8;
    g.nvars = 0;
    g.max_vars = limits::max_vars_for(g.nobs);
    int j = 0;
    for (const char* name : {"Y", "X", "Z", "INPT", "W1", "W2", "X1", "X2", "X3", "Y1", "Y2", "Y3", "Z1"}) {
      core::set_variable(++j, name, "");
      for (int t = 1; t <= g.nobs; ++t) core::data_at(t, j) = 10.0 * j + t;
    }
    g.nvars = j;
  }

  /// The names of the workspace's variables, in order.
  static std::vector<std::string> workspace_names() {
    std::vector<std::string> out;
    for (int j = 1; j <= core::globals().nvars; ++j) out.push_back(core::variable_name(j));
    return out;
  }
  /// Names of the variables numbered in `numbers`.
  static std::vector<std::string> names_of(const std::vector<int>& numbers) {
    std::vector<std::string> out;
    for (const int j : numbers) out.push_back(core::variable_name(j));
    return out;
  }
  /// `text` blank-filled to the editor's 3120 characters.
  static std::string block(const std::string& text) { return text + std::string(3120 - text.size(), ' '); }
};

}  // namespace qorv::testing
