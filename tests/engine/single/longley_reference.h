// NIST's Longley data and certified values (y on a constant and six regressors, certified
// to 15 digits), as the reference folder holds them.
#pragma once

#include <vector>

namespace qorv::testing {

struct LongleyReference {
  std::vector<std::vector<double>> rows;  ///< y, x1..x6 of each of the 16 observations
  std::vector<double> coef;               ///< certified B0..B6
  std::vector<double> se;                 ///< their certified standard errors
  double sigma = 0.0;                     ///< certified residual standard deviation
};

/// Reads nist-linear/Longley; a test failure when the files are missing or short.
LongleyReference read_longley();

}  // namespace qorv::testing
