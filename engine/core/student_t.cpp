// Student's t distribution function for integer degrees of freedom (AS 3).
#include <cmath>

#include "engine/core/distributions.h"

namespace qorv::core {

double TDISTRIBUTION(double t, int n, int& fault) {
  constexpr double kOneOverPi = 0.3183098862;
  if (n < 1 || std::isnan(t)) {
    fault = 1;
    return 0.0;
  }
  fault = 0;
  if (std::isinf(t)) return t > 0.0 ? 1.0 : 0.0;

  const double df = n;
  const double a = t / std::sqrt(df);
  const double b = df / (df + t * t);
  const bool odd = n % 2 == 1;
  // The finite series in b, summed until it stops changing.
  double sum = 1.0;
  double c = 1.0;
  double previous = 1.0;
  double fk = odd ? 3.0 : 2.0;
  for (int k = odd ? 3 : 2; k <= n - 2; k += 2) {
    // The ratio of successive terms does not wait on the previous term, so the divisions
    // overlap and the chain from term to term is one multiplication.
    c *= b * (fk - 1.0) / fk;
    sum += c;
    if (sum == previous) break;
    previous = sum;
    fk += 2.0;
  }
  if (!odd) return 0.5 + 0.5 * a * std::sqrt(b) * sum;
  if (n == 1) sum = 0.0;
  return 0.5 + (a * b * sum + std::atan(a)) * kOneOverPi;
}

}  // namespace qorv::core
