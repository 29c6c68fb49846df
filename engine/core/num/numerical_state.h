// The engine's numerical-failure word, and the words of the current estimation that the
// vector routines (EXTRACTVARIABLES, AR2BANDFORM, CROSSPRODUCTS) read and write.
#pragma once

#include <vector>

namespace qorv::core {

/// The numerical-failure word. `INVERTSYMPACKED` and `PACKEDCHOLESKY` (and so every routine
/// built on them) set it to 1 when a matrix is singular or a factorisation fails and never
/// clear it; every estimation entry point clears it (`clear_numerical_failure`), and the
/// estimation kernels pass it up as their own failure flag.
struct NumericalState {
  int failure = 0;  ///< 1 after a failed inversion or factorisation since the last clear
};

NumericalState& numerical_state();

/// Clears the numerical-failure word: the first thing an estimation entry point does.
void clear_numerical_failure();

/// Words of the current estimation that the estimation services set before they call
/// EXTRACTVARIABLES, AR2BANDFORM or CROSSPRODUCTS. Offsets are 0-based element indexes of
/// the work array (element offset + 1 is the first value).
struct CurrentEstimation {
  std::vector<int> list;      ///< variable-number list of the current equation, dependent first
  int first_obs_offset = 0;   ///< sample start − 1
  int n = 0;                  ///< sample length
  int m = 0;                  ///< observations after the sample kept for prediction
  int k = 0;                  ///< regressors
  long prediction_offset = 0; ///< where EXTRACTVARIABLES puts the k prediction blocks of m values
  long band_input_offset = 0; ///< where AR2BANDFORM reads its vector c (n values)
  long band_output_offset = 0;///< where AR2BANDFORM writes e = M·c (n values)
  long factor_offset = 0;     ///< where CROSSPRODUCTS reads the packed upper factor T
  std::vector<double> fitted; ///< fitted values written by CROSSPRODUCTS (n values)
  double rss = 0.0;           ///< residual sum of squares written by CROSSPRODUCTS
};

CurrentEstimation& current_estimation();

}  // namespace qorv::core
