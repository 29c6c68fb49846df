#include "engine/core/sign_counts.h"

#include <cmath>

namespace qorv::core {

SignCounts SIGNCOUNTS(std::span<const double> x, std::span<const double> y, double missing) {
  SignCounts s;
  if (x.empty() || x.size() != y.size()) return s;
  long agree = 0, positive_x = 0, positive_y = 0;
  for (std::size_t t = 0; t < x.size(); ++t) {
    if (x[t] == missing || y[t] == missing) return s;
    const bool xp = x[t] > 0, yp = y[t] > 0;
    agree += xp == yp;
    positive_x += xp;
    positive_y += yp;
  }
  const double n = static_cast<double>(x.size());
  s.complete = true;
  s.agreement = static_cast<double>(agree) / n;
  s.px = static_cast<double>(positive_x) / n;
  s.py = static_cast<double>(positive_y) / n;
  s.p = s.px * s.py + (1 - s.px) * (1 - s.py);
  s.variance = std::fabs(s.p * (1 - s.p) / n -
                         (4 * s.px * s.py * (1 - s.px) * (1 - s.py) / (n * n) +
                          (2 * s.px - 1) * (2 * s.px - 1) * s.py * (1 - s.py) / n +
                          (2 * s.py - 1) * (2 * s.py - 1) * s.px * (1 - s.px) / n));
  return s;
}

double directional_accuracy(std::span<const double> x, std::span<const double> y,
                            double missing, double tolerance) {
  const SignCounts s = SIGNCOUNTS(x, y, missing);
  if (!s.complete || s.variance < tolerance) return missing;
  return (s.agreement - s.p) / std::sqrt(s.variance);
}

}  // namespace qorv::core
