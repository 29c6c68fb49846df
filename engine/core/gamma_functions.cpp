// ln Γ, the incomplete gamma ratio by its power series and the incomplete beta ratio
// (AS 63).
#include <cmath>

#include "engine/core/distributions.h"

namespace qorv::core {

double LOGGAMMA(double x, int& fault) {
  constexpr double kHalfLog2Pi = 0.918938533204673;
  if (!(x > 0.0) || !std::isfinite(x)) {
    fault = 1;
    return 0.0;
  }
  fault = 0;
  // Raise the argument to 7 and remember the product of the values passed.
  double z = x;
  double product = 1.0;
  while (z < 7.0) {
    product *= z;
    z += 1.0;
  }
  const double z2 = z * z;
  double result = (z - 0.5) * std::log(z) - z + kHalfLog2Pi +
                  (1.0 / 12.0 - (1.0 / 360.0 - (1.0 / 1260.0 - (1.0 / 1680.0) / z2) / z2) / z2) / z;
  if (product != 1.0) result -= std::log(product);
  return result;
}

double INCGAMMA(double x, double a, int& fault) {
  constexpr double kNegligibleFactor = 1e-11;
  constexpr double kRelativeTerm = 1e-6;
  if (!(x > 0.0 && a > 0.0) || !std::isfinite(x) || !std::isfinite(a)) {
    fault = 1;
    return 0.0;
  }
  int lg_fault = 0;
  const double factor = std::exp(a * std::log(x) - x - LOGGAMMA(a + 1.0, lg_fault));
  if (factor < kNegligibleFactor) {
    // The series factor vanishes far out on either side of the mode: the ratio is at
    // its limit there, 0 below and 1 above.
    fault = 2;
    return x < a ? 0.0 : 1.0;
  }
  fault = 0;
  double term = 1.0;
  double sum = 1.0;
  double divisor = a;
  do {
    divisor += 1.0;
    term *= x / divisor;
    sum += term;
  } while (term > kRelativeTerm * sum);
  return factor * sum;
}

double INCBETA(double x, double p, double q, double log_beta, int& fault) {
  constexpr double kTolerance = 1e-8;
  if (!(p > 0.0 && q > 0.0) || !std::isfinite(p) || !std::isfinite(q)) {
    fault = 1;
    return x;
  }
  if (!(x >= 0.0 && x <= 1.0)) {
    fault = 2;
    return x;
  }
  fault = 0;
  if (x == 0.0 || x == 1.0) return x;

  // Work in the tail where the series converges fast; the other tail is 1 minus it.
  double psq = p + q;
  double cx = 1.0 - x;
  const bool swapped = p < psq * x;
  const double xx = swapped ? cx : x;
  if (swapped) cx = x;
  const double pp = swapped ? q : p;
  const double qq = swapped ? p : q;

  // Soper's reduction: the first ns terms carry qq - i, the later ones the growing p + q.
  double term = 1.0;
  double ai = 1.0;
  double value = 1.0;
  double ns = std::floor(qq + cx * psq);
  double rx = xx / cx;
  double temp = qq - ai;
  if (ns == 0.0) rx = xx;
  for (;;) {
    // The ratio of successive terms does not wait on the previous term, so the divisions
    // overlap and the chain from term to term is one multiplication.
    term *= temp * rx / (pp + ai);
    value += term;
    const double size = std::fabs(term);
    if (size <= kTolerance && size <= kTolerance * value) break;
    ai += 1.0;
    ns -= 1.0;
    if (ns >= 0.0) {
      temp = qq - ai;
      if (ns == 0.0) rx = xx;
    } else {
      temp = psq;
      psq += 1.0;
    }
  }
  value = value * std::exp(pp * std::log(xx) + (qq - 1.0) * std::log(cx) - log_beta) / pp;
  return swapped ? 1.0 - value : value;
}

}  // namespace qorv::core
