#include "engine/core/num/cross_products.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define ZV_CROSS_AVX2 1
#endif

#include "engine/core/num/num_detail.h"

namespace qorv::core {

namespace {

/// Columns per panel (one 256-bit vector) and rows per kernel call.
constexpr std::size_t kWidth = 4;
constexpr std::size_t kRows = 3;
/// Observations whose remainder products are summed before they join the running total.
constexpr std::size_t kBlock = 64;

cross_detail::KernelChoice chosen = cross_detail::KernelChoice::kBest;

/// Bits kept in the leading part for n observations: 2·bits + ceil(log2 n) <= 53, so a sum
/// of n products of leading parts is an exact double.
int leading_bits(std::size_t n) {
  int lg = 0;
  while ((std::size_t{1} << lg) < n) ++lg;
  return (53 - lg) / 2;
}

/// Columns split into leading parts and remainders, each column-major n × count, in
/// storage that the thread keeps from call to call (fresh pages cost more than the sums).
struct SplitColumns {
  std::size_t n = 0;
  std::vector<const double*> x;
  std::vector<double>& hi;
  std::vector<double>& lo;
  const double* h(std::size_t j) const { return hi.data() + j * n; }
  const double* l(std::size_t j) const { return lo.data() + j * n; }
};

/// Storage of the split columns and of a panel, kept by each thread.
struct Scratch {
  std::vector<double> left_hi, left_lo, right_hi, right_lo, panel;
};

Scratch& scratch() {
  thread_local Scratch s;
  return s;
}

/// Splits x into h + l exactly, h on the grid 2^(e − bits) where 2^e bounds max|x|. A
/// column of zeros, a non-finite value or a magnitude at the ends of the double range keeps
/// h = x and l = 0 (the sums then are plain fused sums; a non-finite value stays so).
void split_column(const double* x, std::size_t n, int bits, double* h, double* l) {
  double big = 0.0;
  for (std::size_t t = 0; t < n; ++t) big = std::max(big, std::fabs(x[t]));
  int e = 0;
  if (big > 0.0 && std::isfinite(big)) std::frexp(big, &e);
  const int sigma_exponent = e - bits + 52;
  if (!(big > 0.0) || !std::isfinite(big) || sigma_exponent > 1022 || e - bits < -1021) {
    std::copy(x, x + n, h);
    std::fill(l, l + n, 0.0);
    return;
  }
  const double sigma = std::ldexp(1.5, sigma_exponent);
  for (std::size_t t = 0; t < n; ++t) {
    const double lead = (x[t] + sigma) - sigma;
    h[t] = lead;
    l[t] = x[t] - lead;
  }
}

SplitColumns split(std::span<const double* const> columns, std::size_t n, std::vector<double>& hi,
                   std::vector<double>& lo) {
  SplitColumns s{n, std::vector<const double*>(columns.begin(), columns.end()), hi, lo};
  s.hi.resize(columns.size() * n);
  s.lo.resize(columns.size() * n);
  const int bits = leading_bits(n);
  for (std::size_t j = 0; j < columns.size(); ++j)
    split_column(columns[j], n, bits, s.hi.data() + j * n, s.lo.data() + j * n);
  return s;
}

/// Panel of kWidth columns starting at column j0, observation by observation:
/// h[kWidth], l[kWidth], x[kWidth]; columns past the end are zero.
void pack_panel(const SplitColumns& s, std::size_t j0, std::vector<double>& panel) {
  constexpr std::size_t width = kWidth;
  const std::size_t n = s.n;
  const std::size_t used = std::min(width, s.x.size() - j0);
  panel.assign(3 * width * n, 0.0);
  std::array<const double*, kWidth> h{}, l{}, x{};
  for (std::size_t c = 0; c < used; ++c) {
    h[c] = s.h(j0 + c);
    l[c] = s.l(j0 + c);
    x[c] = s.x[j0 + c];
  }
  double* p = panel.data();
  for (std::size_t t = 0; t < n; ++t, p += 3 * width)
    for (std::size_t c = 0; c < used; ++c) {
      p[c] = h[c][t];
      p[width + c] = l[c][t];
      p[2 * width + c] = x[c][t];
    }
}

/// The rows of one kernel call: leading parts and remainders of its columns.
struct RowBlock {
  std::array<const double*, kRows> h{}, l{};
};

/// A kernel: out[r·kWidth + c] = Σ_t row_r(t)·panel_c(t) for kRows rows and kWidth panel
/// columns. Per element, s1 = Σ h_r·h_c (exact), and the remainder Σ (h_r·l_c + l_r·x_c) in
/// blocks of kBlock observations (two running sums a and b, added to totals after each
/// block); the element is s1 + (total_a + total_b). Every kernel performs exactly these
/// operations on each element, so their results agree to the last bit.
using Kernel = void (*)(const RowBlock&, const double*, std::size_t, double*);

void portable_kernel(const RowBlock& rows, const double* panel, std::size_t n, double* out) {
  for (std::size_t r = 0; r < kRows; ++r)
    for (std::size_t c = 0; c < kWidth; ++c) {
      const double* h = rows.h[r];
      const double* l = rows.l[r];
      double s1 = 0.0, total_a = 0.0, total_b = 0.0;
      for (std::size_t t0 = 0; t0 < n; t0 += kBlock) {
        double a = 0.0, b = 0.0;
        for (std::size_t t = t0; t < std::min(n, t0 + kBlock); ++t) {
          const double* p = panel + 3 * kWidth * t;
          s1 = std::fma(h[t], p[c], s1);
          a = std::fma(h[t], p[kWidth + c], a);
          b = std::fma(l[t], p[2 * kWidth + c], b);
        }
        total_a += a;
        total_b += b;
      }
      out[r * kWidth + c] = s1 + (total_a + total_b);
    }
}

#ifdef ZV_CROSS_AVX2
/// The same operations as portable_kernel, the four panel columns in one 256-bit vector;
/// the loops over the rows are unrolled so that every running sum stays in a register.
__attribute__((target("avx2,fma"))) void avx2_kernel(const RowBlock& rows, const double* panel, std::size_t n,
                                                      double* out) {
  constexpr std::size_t W = kWidth, R = kRows;
  __m256d s1[R], total_a[R], total_b[R];
#pragma GCC unroll 4
  for (std::size_t r = 0; r < R; ++r) s1[r] = total_a[r] = total_b[r] = _mm256_setzero_pd();
  for (std::size_t t0 = 0; t0 < n; t0 += kBlock) {
    __m256d a[R], b[R];
#pragma GCC unroll 4
    for (std::size_t r = 0; r < R; ++r) a[r] = b[r] = _mm256_setzero_pd();
    const std::size_t end = std::min(n, t0 + kBlock);
    for (std::size_t t = t0; t < end; ++t) {
      const double* p = panel + 3 * W * t;
      const __m256d ph = _mm256_loadu_pd(p);
      const __m256d pl = _mm256_loadu_pd(p + W);
      const __m256d px = _mm256_loadu_pd(p + 2 * W);
#pragma GCC unroll 4
      for (std::size_t r = 0; r < R; ++r) {
        const __m256d h = _mm256_broadcast_sd(rows.h[r] + t);
        const __m256d l = _mm256_broadcast_sd(rows.l[r] + t);
        s1[r] = _mm256_fmadd_pd(h, ph, s1[r]);
        a[r] = _mm256_fmadd_pd(h, pl, a[r]);
        b[r] = _mm256_fmadd_pd(l, px, b[r]);
      }
    }
#pragma GCC unroll 4
    for (std::size_t r = 0; r < R; ++r) {
      total_a[r] = _mm256_add_pd(total_a[r], a[r]);
      total_b[r] = _mm256_add_pd(total_b[r], b[r]);
    }
  }
#pragma GCC unroll 4
  for (std::size_t r = 0; r < R; ++r)
    _mm256_storeu_pd(out + r * W, _mm256_add_pd(s1[r], _mm256_add_pd(total_a[r], total_b[r])));
}
#endif

/// The kernel this machine runs best (the portable one when asked for).
Kernel kernel() {
#ifdef ZV_CROSS_AVX2
  static const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  if (chosen != cross_detail::KernelChoice::kPortable && avx2) return avx2_kernel;
#endif
  return portable_kernel;
}

/// Every row (left column) against every panel of right columns, the lower triangle only
/// when `lower_only`; `store(i, j, v)` receives element (left i, right j), both 0-based.
template <class Store>
void for_each_block(const SplitColumns& left, const SplitColumns& right, bool lower_only, Store store) {
  const std::size_t ka = left.x.size(), kb = right.x.size(), n = left.n;
  const Kernel run = kernel();
  std::vector<double>& panel = scratch().panel;
  std::array<double, kRows * kWidth> out{};
  for (std::size_t j0 = 0; j0 < kb; j0 += kWidth) {
    pack_panel(right, j0, panel);
    for (std::size_t i0 = lower_only ? j0 : 0; i0 < ka; i0 += kRows) {
      RowBlock rows;
      for (std::size_t r = 0; r < kRows; ++r) {
        const std::size_t i = std::min(i0 + r, ka - 1);  // a repeated row fills a short block
        rows.h[r] = left.h(i);
        rows.l[r] = left.l(i);
      }
      run(rows, panel.data(), n, out.data());
      for (std::size_t r = 0; r < kRows && i0 + r < ka; ++r)
        for (std::size_t c = 0; c < kWidth && j0 + c < kb; ++c)
          if (!lower_only || j0 + c <= i0 + r) store(i0 + r, j0 + c, out[r * kWidth + c]);
    }
  }
}

}  // namespace

void symmetric_cross_products(std::span<const double* const> columns, std::size_t n,
                              std::span<double> packed) {
  const std::size_t k = columns.size();
  num_detail::require(packed.size() >= num_detail::packed_size(static_cast<long>(k)),
                      "symmetric_cross_products: packed matrix too short");
  if (k == 0) return;
  const SplitColumns s = split(columns, n, scratch().left_hi, scratch().left_lo);
  for_each_block(s, s, true, [&](std::size_t i, std::size_t j, double v) {
    packed[num_detail::packed_at(static_cast<long>(i + 1), static_cast<long>(j + 1))] = v;
  });
}

void cross_products(std::span<const double* const> left, std::span<const double* const> right,
                    std::size_t n, std::span<double> out) {
  const std::size_t ka = left.size(), kb = right.size();
  num_detail::require(out.size() >= ka * kb, "cross_products: output too short");
  if (ka == 0 || kb == 0) return;
  const SplitColumns a = split(left, n, scratch().left_hi, scratch().left_lo);
  const SplitColumns b = split(right, n, scratch().right_hi, scratch().right_lo);
  for_each_block(a, b, false, [&](std::size_t i, std::size_t j, double v) { out[i + j * ka] = v; });
}

namespace cross_detail {

void choose_kernel(KernelChoice choice) { chosen = choice; }

}  // namespace cross_detail

}  // namespace qorv::core
