// The quarterly US macro data of the least-squares reference (1960Q1-2008Q4) installed as
// the workspace, and the reference values of its estimates.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/engine/single/macro_reference.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::testing {

/// Variables of the installed data set.
namespace macro {
inline constexpr int kIntercept = 1;  ///< INPT
inline constexpr int kLc = 2;         ///< LC
inline constexpr int kLy = 3;         ///< LY
inline constexpr int kInfl = 4;       ///< INFL
inline constexpr int kR = 5;          ///< R
inline constexpr int kLcLag = 6;      ///< LC(-1), missing at 1960Q1
}  // namespace macro

/// Installs the data set (196 quarterly observations, 6 variables) as the workspace,
/// with the sample set to the whole data set.
void install_macro_data();

/// An engine test with the macro data installed.
class MacroTest : public EngineTest {
 protected:
  void SetUp() override;
};

}  // namespace qorv::testing
