#include "engine/core/num/ar_covariance.h"

#include <algorithm>
#include <array>

#include "engine/core/num/num_detail.h"
#include "engine/core/num/numerical_state.h"
#include "engine/core/num/packed_factor.h"
#include "shared/exchange_slots.h"

namespace qorv::core {

namespace {

using num_detail::require;

/// The band rows of M for n >= 4: e = M·c.
void band_product(const std::array<double, 7>& a, const double* c, double* e, long n) {
  const auto [a1, a2, a3, a4, a5, a6, a7] = a;
  e[0] = a1 * c[0] + a2 * c[1] + a3 * c[2];
  e[1] = a2 * c[0] + a5 * c[1] + a4 * c[2] + a3 * c[3];
  for (long t = 2; t < n - 2; ++t)
    e[t] = a3 * c[t - 2] + a4 * c[t - 1] + a6 * c[t] + a4 * c[t + 1] + a3 * c[t + 2];
  e[n - 2] = a3 * c[n - 4] + a4 * c[n - 3] + a5 * c[n - 2] + a2 * c[n - 1];
  e[n - 1] = a3 * c[n - 3] + a2 * c[n - 2] + a7 * c[n - 1];
}

/// e = Σ⁻¹·c for n = 1, 2, 3 from φ1 and φ2 (units of the innovation variance). False when
/// γ0 is infinite (n = 1 and φ2 = 1).
bool short_product(double phi1, double phi2, const double* c, double* e, long n) {
  if (n == 1) {
    if (1.0 - phi2 == 0.0) return false;
    e[0] = (1.0 + phi2) * ((1.0 - phi2) * (1.0 - phi2) - phi1 * phi1) / (1.0 - phi2) * c[0];
    return true;
  }
  const double g11 = 1.0 - phi2 * phi2;    // Γ2⁻¹ diagonal
  const double g12 = -phi1 * (1.0 + phi2);  // Γ2⁻¹ off-diagonal
  if (n == 2) {
    e[0] = g11 * c[0] + g12 * c[1];
    e[1] = g12 * c[0] + g11 * c[1];
    return true;
  }
  // n = 3: Γ2⁻¹ on (c1, c2) plus the square of u3 = c3 − φ1·c2 − φ2·c1.
  e[0] = c[0] - phi1 * c[1] - phi2 * c[2];
  e[1] = -phi1 * c[0] + (1.0 + phi1 * phi1 - phi2 * phi2) * c[1] - phi1 * c[2];
  e[2] = -phi2 * c[0] - phi1 * c[1] + c[2];
  return true;
}

}  // namespace

void PACKEDSETUP(std::span<const double> a, std::span<double> V, int p, int& fail) {
  require(p >= 0 && a.size() >= static_cast<std::size_t>(p) + 1 && V.size() >= num_detail::packed_size(p),
          "PACKEDSETUP: negative order, or a or V too short");
  fail = 0;
  std::fill(V.begin(), V.begin() + static_cast<long>(num_detail::packed_size(p)), 0.0);
  const auto at = [&](long i) { return static_cast<long double>(a[static_cast<std::size_t>(i)]); };
  for (long i = 1; i <= p; ++i)
    for (long j = 1; j <= i; ++j) {
      long double s = 0;
      for (long k = 1; k <= j; ++k) s += at(i - k) * at(j - k) - at(p + k - i) * at(p + k - j);
      V[num_detail::packed_at(i, j)] = static_cast<double>(s);
    }
  INVERTSYMPACKED(V, p, fail);
}

void AR2BANDFORM(double a1, double a2, double a3, double a4, double a5, double a6, double a7,
                 double& result, std::span<double> work) {
  const CurrentEstimation& est = current_estimation();
  const long n = est.n;
  result = 0.0;
  if (n <= 0) return;
  const long in = est.band_input_offset;
  const long out = est.band_output_offset;
  const auto size = static_cast<long>(work.size());
  require(in >= 0 && out >= 0 && in + n <= size && out + n <= size && (in + n <= out || out + n <= in),
          "AR2BANDFORM: vectors outside the work array or overlapping");
  const double* c = work.data() + in;
  double* e = work.data() + out;
  if (n >= 4) {
    band_product({a1, a2, a3, a4, a5, a6, a7}, c, e, n);
  } else if (!short_product(-a2, -a3, c, e, n)) {
    std::fill(e, e + n, limits::kMissing);
    result = limits::kMissing;
    return;
  }
  result = static_cast<double>(num_detail::dot(e, c, static_cast<std::size_t>(n)));
}

}  // namespace qorv::core
