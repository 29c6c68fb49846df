// The reference cointegrating VARs: their data in the engine's workspace and a run of the
// dialogue through the system dispatcher.
#pragma once

#include <string>
#include <vector>

namespace qorv::testing {

/// Puts cointegration/data.csv into the workspace: LC, LY, LI, INFL as variables 1..4,
/// quarterly from 1959Q2, the sample 1960Q1-2008Q4 (observations 4..199).
void install_cvar_workspace();

/// A reference case of cases.csv: the variable numbers of its list (endogenous, exogenous
/// I(1), I(0)), the split count, the deterministic case and the order.
struct CvarCase {
  std::string name;
  std::vector<int> list;
  int split = 0;
  int model_case = 0;
  int p = 0;
  std::vector<std::string> endogenous, vector_names;  ///< m names; k names
};
CvarCase cvar_case(const std::string& name);

/// The dispatcher's cointegrating-VAR road over `list` with `split`, answered by `script`.
void run_cvar(const std::vector<int>& list, int split, const std::string& script);

/// The expected-values file of the reference folder.
std::string cvar_expected_path();

}  // namespace qorv::testing
