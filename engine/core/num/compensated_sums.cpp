#include "engine/core/num/compensated_sums.h"

#include <cmath>

#include "engine/core/num/cross_products.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define ZV_COMPENSATED_AVX2 1
#endif

namespace qorv::core {

namespace {

/// Observations summed side by side: four 256-bit vectors, so that the chains of additions
/// of the two-sums overlap.
constexpr std::size_t kVector = 4;
constexpr std::size_t kLanes = 4 * kVector;

/// One observation's sum after the last column: fitted = s + c, and the residual
/// y − s − c with y − s split exactly by a two-sum.
void finish(double s, double c, double y, double& fitted, double& residual) {
  fitted = s + c;
  const double d = y - s;
  const double z = d - y;
  const double de = (y - (d - z)) + (-s - z);
  residual = d + (de - c);
}

/// Observations t..t+count−1, one compensated sum each over the columns in order: the
/// product x·b split exactly into p + pe by a fused multiply-add, the running sum s with
/// p by a two-sum whose error q joins pe in the running sum c.
void portable_rows(std::span<const double* const> x, std::span<const double> coef, const double* y,
                   std::size_t t, std::size_t count, double* fitted, double* residual) {
  for (std::size_t i = t; i < t + count; ++i) {
    double s = 0.0, c = 0.0;
    for (std::size_t j = 0; j < x.size(); ++j) {
      const double p = x[j][i] * coef[j];
      const double pe = std::fma(x[j][i], coef[j], -p);
      const double next = s + p;
      const double z = next - s;
      const double q = (s - (next - z)) + (p - z);
      s = next;
      c = c + (q + pe);
    }
    finish(s, c, y[i], fitted[i], residual[i]);
  }
}

void portable_fit(std::span<const double* const> x, std::span<const double> coef, const double* y,
                  std::size_t n, double* fitted, double* residual) {
  portable_rows(x, coef, y, 0, n, fitted, residual);
}

#ifdef ZV_COMPENSATED_AVX2
/// The same operations as portable_rows on kLanes observations at once; the rest go
/// through portable_rows.
__attribute__((target("avx2,fma"))) void avx2_fit(std::span<const double* const> x, std::span<const double> coef,
                                                  const double* y, std::size_t n, double* fitted,
                                                  double* residual) {
  const __m256d sign = _mm256_set1_pd(-0.0);
  std::size_t t = 0;
  for (; t + kLanes <= n; t += kLanes) {
    __m256d s[kVector], c[kVector];
#pragma GCC unroll 4
    for (std::size_t v = 0; v < kVector; ++v) s[v] = c[v] = _mm256_setzero_pd();
    for (std::size_t j = 0; j < x.size(); ++j) {
      const __m256d b = _mm256_broadcast_sd(&coef[j]);
      const double* xj = x[j] + t;
#pragma GCC unroll 4
      for (std::size_t v = 0; v < kVector; ++v) {
        const __m256d xv = _mm256_loadu_pd(xj + 4 * v);
        const __m256d p = _mm256_mul_pd(xv, b);
        const __m256d pe = _mm256_fmsub_pd(xv, b, p);
        const __m256d next = _mm256_add_pd(s[v], p);
        const __m256d z = _mm256_sub_pd(next, s[v]);
        const __m256d q = _mm256_add_pd(_mm256_sub_pd(s[v], _mm256_sub_pd(next, z)), _mm256_sub_pd(p, z));
        s[v] = next;
        c[v] = _mm256_add_pd(c[v], _mm256_add_pd(q, pe));
      }
    }
#pragma GCC unroll 4
    for (std::size_t v = 0; v < kVector; ++v) {
      const std::size_t i = t + 4 * v;
      const __m256d yv = _mm256_loadu_pd(y + i);
      _mm256_storeu_pd(fitted + i, _mm256_add_pd(s[v], c[v]));
      const __m256d d = _mm256_sub_pd(yv, s[v]);
      const __m256d z = _mm256_sub_pd(d, yv);
      const __m256d de = _mm256_add_pd(_mm256_sub_pd(yv, _mm256_sub_pd(d, z)),
                                       _mm256_sub_pd(_mm256_xor_pd(s[v], sign), z));
      _mm256_storeu_pd(residual + i, _mm256_add_pd(d, _mm256_sub_pd(de, c[v])));
    }
  }
  portable_rows(x, coef, y, t, n - t, fitted, residual);
}
#endif

}  // namespace

void compensated_fit(std::span<const double* const> x, std::span<const double> coef, const double* y,
                     std::size_t n, double* fitted, double* residual) {
#ifdef ZV_COMPENSATED_AVX2
  if (cross_detail::vector_kernels()) return avx2_fit(x, coef, y, n, fitted, residual);
#endif
  portable_fit(x, coef, y, n, fitted, residual);
}

}  // namespace qorv::core
