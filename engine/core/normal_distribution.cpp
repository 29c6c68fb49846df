// The standard normal tail area (AS 66) and quantile (AS 111), with their published
// constants.
#include <cmath>

#include "engine/core/distributions.h"
#include "shared/exchange_slots.h"

namespace qorv::core {

double NORMALTAIL(double x, bool upper) {
  constexpr double kLowerTailOne = 7.0;  // beyond this the far side is taken as 1
  constexpr double kUpperTailZero = 18.66;  // beyond this the near tail is taken as 0
  constexpr double kSplit = 1.28;
  constexpr double a1 = 0.398942280444, a2 = 0.399903438504, a3 = 5.75885480458,
                   a4 = 29.8213557808, a5 = 2.62433121679, a6 = 48.6959930692,
                   a7 = 5.92885724438;
  constexpr double b1 = 0.398942280385, b2 = 3.8052e-8, b3 = 1.00000615302,
                   b4 = 3.98064794e-4, b5 = 1.986153813664, b6 = 0.151679116635,
                   b7 = 5.29330324926, b8 = 4.8385912808, b9 = 15.1508972451,
                   b10 = 0.742380924027, b11 = 30.789933034, b12 = 3.99019417011;

  bool up = upper;
  double z = x;
  if (z < 0.0) {
    up = !up;
    z = -z;
  }
  double tail = 0.0;
  if (z <= kLowerTailOne || (up && z <= kUpperTailZero)) {
    const double y = 0.5 * z * z;
    if (z > kSplit) {
      tail = b1 * std::exp(-y) /
             (z - b2 + b3 / (z + b4 + b5 / (z - b6 + b7 / (z + b8 - b9 / (z + b10 + b11 / (z + b12))))));
    } else {
      tail = 0.5 - z * (a1 - a2 * y / (y + a3 - a4 / (y + a5 + a6 / (y + a7))));
    }
  }
  return up ? tail : 1.0 - tail;
}

double INVNORMAL(double p) {
  constexpr double kSplit = 0.42;
  constexpr double a0 = 2.50662823884, a1 = -18.61500062529, a2 = 41.39119773534,
                   a3 = -25.44106049637;
  constexpr double b1 = -8.47351093090, b2 = 23.08336743743, b3 = -21.06224101826,
                   b4 = 3.13082909833;
  constexpr double c0 = -2.78718931138, c1 = -2.29796479134, c2 = 4.85014127135,
                   c3 = 2.32121276858;
  constexpr double d1 = 3.54388924762, d2 = 1.63706781897;

  // The missing code lies outside (0, 1) like every other value without a quantile.
  if (!(p > 0.0 && p < 1.0)) return limits::kMissing;
  const double q = p - 0.5;
  if (std::fabs(q) <= kSplit) {
    const double r = q * q;
    return q * (((a3 * r + a2) * r + a1) * r + a0) / ((((b4 * r + b3) * r + b2) * r + b1) * r + 1.0);
  }
  const double r = std::sqrt(-std::log(q > 0.0 ? 1.0 - p : p));
  const double v = (((c3 * r + c2) * r + c1) * r + c0) / ((d2 * r + d1) * r + 1.0);
  return q < 0.0 ? -v : v;
}

}  // namespace qorv::core
