#include "engine/core/num/log_determinant.h"

#include <cmath>

#include "engine/core/dialog_bridge.h"
#include "engine/core/num/num_detail.h"
#include "engine/core/num/packed_factor.h"

namespace qorv::core {

double LOGDETERMINANT(std::span<double> A, int n, double T, double fallback, int& fail) {
  PACKEDCHOLESKY(A, n, fail);
  if (fail != 0) {
    SHOWOK(kInformation, kNoHelp, "An almost exact relationship between variables in the model exists!");
    return fallback;
  }
  long double log_diag = 0;
  for (long i = 1; i <= n; ++i) log_diag += std::log(static_cast<long double>(A[num_detail::packed_at(i, i)]));
  return static_cast<double>(-(T * 0.5L) * (2.0L * log_diag + n * static_cast<long double>(kOnePlusLogTwoPi)));
}

}  // namespace qorv::core
