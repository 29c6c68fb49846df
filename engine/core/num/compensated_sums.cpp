#include "engine/core/num/compensated_sums.h"

#include <array>
#include <cmath>

#include "engine/core/num/cross_products.h"
#include "engine/core/num/num_detail.h"

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

/// The same operations as portable_rows on 4 · 8 observations at once in 512-bit vectors.
__attribute__((target("avx512f"))) void avx512_fit(std::span<const double* const> x, std::span<const double> coef,
                                                    const double* y, std::size_t n, double* fitted,
                                                    double* residual) {
  constexpr std::size_t kWide = 4 * 8;
  const __m512d sign = _mm512_set1_pd(-0.0);
  std::size_t t = 0;
  for (; t + kWide <= n; t += kWide) {
    __m512d s[kVector], c[kVector];
#pragma GCC unroll 4
    for (std::size_t v = 0; v < kVector; ++v) s[v] = c[v] = _mm512_setzero_pd();
    for (std::size_t j = 0; j < x.size(); ++j) {
      const __m512d b = _mm512_set1_pd(coef[j]);
      const double* xj = x[j] + t;
#pragma GCC unroll 4
      for (std::size_t v = 0; v < kVector; ++v) {
        const __m512d xv = _mm512_loadu_pd(xj + 8 * v);
        const __m512d p = _mm512_mul_pd(xv, b);
        const __m512d pe = _mm512_fmsub_pd(xv, b, p);
        const __m512d next = _mm512_add_pd(s[v], p);
        const __m512d z = _mm512_sub_pd(next, s[v]);
        const __m512d q = _mm512_add_pd(_mm512_sub_pd(s[v], _mm512_sub_pd(next, z)), _mm512_sub_pd(p, z));
        s[v] = next;
        c[v] = _mm512_add_pd(c[v], _mm512_add_pd(q, pe));
      }
    }
#pragma GCC unroll 4
    for (std::size_t v = 0; v < kVector; ++v) {
      const std::size_t i = t + 8 * v;
      const __m512d yv = _mm512_loadu_pd(y + i);
      _mm512_storeu_pd(fitted + i, _mm512_add_pd(s[v], c[v]));
      const __m512d d = _mm512_sub_pd(yv, s[v]);
      const __m512d z = _mm512_sub_pd(d, yv);
      const __m512d negative_s = _mm512_castsi512_pd(_mm512_xor_si512(_mm512_castpd_si512(s[v]), _mm512_castpd_si512(sign)));
      const __m512d de = _mm512_add_pd(_mm512_sub_pd(yv, _mm512_sub_pd(d, z)), _mm512_sub_pd(negative_s, z));
      _mm512_storeu_pd(residual + i, _mm512_add_pd(d, _mm512_sub_pd(de, c[v])));
    }
  }
  portable_rows(x, coef, y, t, n - t, fitted, residual);
}
#endif

/// residual(t) −= Σ_j x_j(t)·coef_j for observations t..t+count−1, the columns in order,
/// each product rounded and then subtracted.
void portable_subtract(std::span<const double* const> x, std::span<const double> coef, std::size_t t,
                       std::size_t count, double* residual) {
  for (std::size_t i = t; i < t + count; ++i) {
    double r = residual[i];
    for (std::size_t j = 0; j < x.size(); ++j) r = r - x[j][i] * coef[j];
    residual[i] = r;
  }
}

#ifdef ZV_COMPENSATED_AVX2
/// The same operations as portable_subtract, kLanes observations at once.
__attribute__((target("avx2,fma"))) void avx2_subtract(std::span<const double* const> x, std::span<const double> coef,
                                                       std::size_t n, double* residual) {
  std::size_t t = 0;
  for (; t + kLanes <= n; t += kLanes) {
    __m256d r[kVector];
#pragma GCC unroll 4
    for (std::size_t v = 0; v < kVector; ++v) r[v] = _mm256_loadu_pd(residual + t + 4 * v);
    for (std::size_t j = 0; j < x.size(); ++j) {
      const __m256d b = _mm256_broadcast_sd(&coef[j]);
#pragma GCC unroll 4
      for (std::size_t v = 0; v < kVector; ++v)
        r[v] = _mm256_sub_pd(r[v], _mm256_mul_pd(_mm256_loadu_pd(x[j] + t + 4 * v), b));
    }
#pragma GCC unroll 4
    for (std::size_t v = 0; v < kVector; ++v) _mm256_storeu_pd(residual + t + 4 * v, r[v]);
  }
  portable_subtract(x, coef, t, n - t, residual);
}

/// The same operations again, 4 · 8 observations at once.
__attribute__((target("avx512f"))) void avx512_subtract(std::span<const double* const> x, std::span<const double> coef,
                                                         std::size_t n, double* residual) {
  constexpr std::size_t kWide = 4 * 8;
  std::size_t t = 0;
  for (; t + kWide <= n; t += kWide) {
    __m512d r[4];
#pragma GCC unroll 4
    for (std::size_t v = 0; v < 4; ++v) r[v] = _mm512_loadu_pd(residual + t + 8 * v);
    for (std::size_t j = 0; j < x.size(); ++j) {
      const __m512d b = _mm512_set1_pd(coef[j]);
#pragma GCC unroll 4
      for (std::size_t v = 0; v < 4; ++v)
        r[v] = _mm512_sub_pd(r[v], _mm512_mul_pd(_mm512_loadu_pd(x[j] + t + 8 * v), b));
    }
#pragma GCC unroll 4
    for (std::size_t v = 0; v < 4; ++v) _mm512_storeu_pd(residual + t + 8 * v, r[v]);
  }
  portable_subtract(x, coef, t, n - t, residual);
}
#endif

/// Sums of products x(t)·z(t) over observations: sixteen running sums side by side,
/// observation t in sum t mod 16 (the last n mod 16 observations in the first sums), joined
/// in order at the end by two-sums. Each running sum is a compensated pair (s, c) or, for
/// the plain sums, a fused multiply-add chain in s alone.
constexpr std::size_t kDotLanes = 16;

struct LaneSums {
  std::array<double, kDotLanes> s{}, c{};
};

template <bool Compensated>
void add_product(double& s, double& c, double x, double z) {
  if constexpr (Compensated) {
    const double p = x * z;
    const double pe = std::fma(x, z, -p);
    const double next = s + p;
    const double d = next - s;
    const double q = (s - (next - d)) + (p - d);
    s = next;
    c = c + (q + pe);
  } else {
    s = std::fma(x, z, s);
  }
}

/// Observations from..n−1 into the first running sums, then every sum joined in order.
template <bool Compensated>
double join_lanes(LaneSums& lanes, const double* x, const double* z, std::size_t from, std::size_t n) {
  for (std::size_t t = from; t < n; ++t) add_product<Compensated>(lanes.s[t - from], lanes.c[t - from], x[t], z[t]);
  double sum = lanes.s[0], err = lanes.c[0];
  for (std::size_t i = 1; i < kDotLanes; ++i) {
    const double next = sum + lanes.s[i];
    const double d = next - sum;
    const double q = (sum - (next - d)) + (lanes.s[i] - d);
    sum = next;
    err = err + (q + lanes.c[i]);
  }
  return sum + err;
}

template <bool Compensated>
void portable_products(std::span<const double* const> x, const double* z, std::size_t n, double* out) {
  const std::size_t full = n / kDotLanes * kDotLanes;
  for (std::size_t j = 0; j < x.size(); ++j) {
    LaneSums lanes;
    for (std::size_t t = 0; t < full; t += kDotLanes)
      for (std::size_t i = 0; i < kDotLanes; ++i) add_product<Compensated>(lanes.s[i], lanes.c[i], x[j][t + i], z[t + i]);
    out[j] = join_lanes<Compensated>(lanes, x[j], z, full, n);
  }
}

#ifdef ZV_COMPENSATED_AVX2
/// The same operations as portable_products, the sixteen sums in four 256-bit vectors.
template <bool Compensated>
__attribute__((target("avx2,fma"))) void avx2_products(std::span<const double* const> x, const double* z, std::size_t n,
                                                        double* out) {
  const std::size_t full = n / kDotLanes * kDotLanes;
  for (std::size_t j = 0; j < x.size(); ++j) {
    __m256d s[4], c[4];
#pragma GCC unroll 4
    for (std::size_t v = 0; v < 4; ++v) s[v] = c[v] = _mm256_setzero_pd();
    for (std::size_t t = 0; t < full; t += kDotLanes)
#pragma GCC unroll 4
      for (std::size_t v = 0; v < 4; ++v) {
        const __m256d xv = _mm256_loadu_pd(x[j] + t + 4 * v);
        const __m256d zv = _mm256_loadu_pd(z + t + 4 * v);
        if constexpr (Compensated) {
          const __m256d p = _mm256_mul_pd(xv, zv);
          const __m256d pe = _mm256_fmsub_pd(xv, zv, p);
          const __m256d next = _mm256_add_pd(s[v], p);
          const __m256d d = _mm256_sub_pd(next, s[v]);
          const __m256d q = _mm256_add_pd(_mm256_sub_pd(s[v], _mm256_sub_pd(next, d)), _mm256_sub_pd(p, d));
          s[v] = next;
          c[v] = _mm256_add_pd(c[v], _mm256_add_pd(q, pe));
        } else {
          s[v] = _mm256_fmadd_pd(xv, zv, s[v]);
        }
      }
    LaneSums lanes;
#pragma GCC unroll 4
    for (std::size_t v = 0; v < 4; ++v) {
      _mm256_storeu_pd(&lanes.s[4 * v], s[v]);
      _mm256_storeu_pd(&lanes.c[4 * v], c[v]);
    }
    out[j] = join_lanes<Compensated>(lanes, x[j], z, full, n);
  }
}

/// The same operations again, the sixteen sums in two 512-bit vectors.
template <bool Compensated>
__attribute__((target("avx512f"))) void avx512_products(std::span<const double* const> x, const double* z,
                                                         std::size_t n, double* out) {
  const std::size_t full = n / kDotLanes * kDotLanes;
  for (std::size_t j = 0; j < x.size(); ++j) {
    __m512d s[2], c[2];
#pragma GCC unroll 2
    for (std::size_t v = 0; v < 2; ++v) s[v] = c[v] = _mm512_setzero_pd();
    for (std::size_t t = 0; t < full; t += kDotLanes)
#pragma GCC unroll 2
      for (std::size_t v = 0; v < 2; ++v) {
        const __m512d xv = _mm512_loadu_pd(x[j] + t + 8 * v);
        const __m512d zv = _mm512_loadu_pd(z + t + 8 * v);
        if constexpr (Compensated) {
          const __m512d p = _mm512_mul_pd(xv, zv);
          const __m512d pe = _mm512_fmsub_pd(xv, zv, p);
          const __m512d next = _mm512_add_pd(s[v], p);
          const __m512d d = _mm512_sub_pd(next, s[v]);
          const __m512d q = _mm512_add_pd(_mm512_sub_pd(s[v], _mm512_sub_pd(next, d)), _mm512_sub_pd(p, d));
          s[v] = next;
          c[v] = _mm512_add_pd(c[v], _mm512_add_pd(q, pe));
        } else {
          s[v] = _mm512_fmadd_pd(xv, zv, s[v]);
        }
      }
    LaneSums lanes;
#pragma GCC unroll 2
    for (std::size_t v = 0; v < 2; ++v) {
      _mm512_storeu_pd(&lanes.s[8 * v], s[v]);
      _mm512_storeu_pd(&lanes.c[8 * v], c[v]);
    }
    out[j] = join_lanes<Compensated>(lanes, x[j], z, full, n);
  }
}
#endif

template <bool Compensated>
void products(std::span<const double* const> x, const double* z, std::size_t n, std::span<double> out) {
  num_detail::require(out.size() >= x.size(), "products: output too short");
  switch (cross_detail::vector_level()) {
#ifdef ZV_COMPENSATED_AVX2
    case cross_detail::VectorLevel::kAvx512:
      return avx512_products<Compensated>(x, z, n, out.data());
    case cross_detail::VectorLevel::kAvx2:
      return avx2_products<Compensated>(x, z, n, out.data());
#endif
    default:
      return portable_products<Compensated>(x, z, n, out.data());
  }
}

}  // namespace

void compensated_fit(std::span<const double* const> x, std::span<const double> coef, const double* y,
                     std::size_t n, double* fitted, double* residual) {
#ifdef ZV_COMPENSATED_AVX2
  switch (cross_detail::vector_level()) {
    case cross_detail::VectorLevel::kAvx512:
      return avx512_fit(x, coef, y, n, fitted, residual);
    case cross_detail::VectorLevel::kAvx2:
      return avx2_fit(x, coef, y, n, fitted, residual);
    case cross_detail::VectorLevel::kNone:
      break;
  }
#endif
  portable_fit(x, coef, y, n, fitted, residual);
}

void compensated_products(std::span<const double* const> x, const double* z, std::size_t n,
                          std::span<double> out) {
  products<true>(x, z, n, out);
}

void fused_products(std::span<const double* const> x, const double* z, std::size_t n, std::span<double> out) {
  products<false>(x, z, n, out);
}

void subtract_products(std::span<const double* const> x, std::span<const double> coef, std::size_t n,
                       double* residual) {
  switch (cross_detail::vector_level()) {
#ifdef ZV_COMPENSATED_AVX2
    case cross_detail::VectorLevel::kAvx512:
      return avx512_subtract(x, coef, n, residual);
    case cross_detail::VectorLevel::kAvx2:
      return avx2_subtract(x, coef, n, residual);
#endif
    default:
      return portable_subtract(x, coef, 0, n, residual);
  }
}

}  // namespace qorv::core
