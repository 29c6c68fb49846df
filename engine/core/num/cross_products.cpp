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

/// Observations whose remainder products are summed before they join the running total.
constexpr std::size_t kBlock = 64;
/// The most rows a kernel call takes, and the widest panel.
constexpr std::size_t kMaxRows = 4;
constexpr std::size_t kMaxWidth = 8;

cross_detail::KernelChoice chosen = cross_detail::KernelChoice::kBest;

/// Bits kept in the leading part for n observations: 2·bits + ceil(log2 n) <= 53, so a sum
/// of n products of leading parts is an exact double.
int leading_bits(std::size_t n) {
  int lg = 0;
  while ((std::size_t{1} << lg) < n) ++lg;
  return (53 - lg) / 2;
}

/// A chunk of observations of columns split into leading parts and remainders, laid out in
/// panels of `width` columns (the kernel's vector): panel g holds columns g·width ..
/// g·width + width − 1 observation by observation, h[width] then l[width] (columns past the
/// end are zero). The storage is the thread's, kept from call to call (fresh pages cost
/// more than the sums), and a chunk stays in the cache while the kernels sum it.
struct SplitColumns {
  std::size_t n = 0, k = 0, width = 0;  ///< n: observations in the chunk
  std::vector<double>* store = nullptr;
  /// Panel of the columns from j0 (a multiple of width) on.
  const double* panel(std::size_t j0) const { return store->data() + j0 / width * 2 * width * n; }
  /// The chunk's first observation of h and of l of column j; observation t lies 2·width·t
  /// further on.
  const double* h(std::size_t j) const { return panel(j - j % width) + j % width; }
  const double* l(std::size_t j) const { return h(j) + width; }
};

/// Storage of the split columns, kept by each thread.
struct Scratch {
  std::vector<double> left, right;
};

Scratch& scratch() {
  thread_local Scratch s;
  return s;
}

/// How a column is split: x = h + l exactly, h = (x + sigma) − sigma on the grid
/// 2^(e − bits) where 2^e bounds max|x|. A column of zeros, a non-finite value or a
/// magnitude at the ends of the double range keeps h = x and l = 0 (`whole`; the sums then
/// are plain fused sums and a non-finite value stays so).
struct ColumnSplit {
  double sigma = 0.0;
  bool whole = true;
};

/// max |x(t)| over n values, a NaN passed over: eight running maxima side by side, so that
/// the comparisons do not wait on each other.
double largest_magnitude(const double* x, std::size_t n) {
  constexpr std::size_t kLanes = 8;
  std::array<double, kLanes> most{};
  std::size_t t = 0;
  for (; t + kLanes <= n; t += kLanes)
#pragma GCC unroll 8
    for (std::size_t i = 0; i < kLanes; ++i) most[i] = std::max(most[i], std::fabs(x[t + i]));
  double big = 0.0;
  for (; t < n; ++t) big = std::max(big, std::fabs(x[t]));
  for (const double m : most) big = std::max(big, m);
  return big;
}

#ifdef ZV_CROSS_AVX2
/// The same maximum, thirty-two values at a time (the largest value does not depend on the
/// order of the comparisons; a NaN in x loses every one of them).
__attribute__((target("avx512f"))) double wide_largest_magnitude(const double* x, std::size_t n) {
  __m512d most[4];
#pragma GCC unroll 4
  for (std::size_t v = 0; v < 4; ++v) most[v] = _mm512_setzero_pd();
  std::size_t t = 0;
  for (; t + 32 <= n; t += 32)
#pragma GCC unroll 4
    for (std::size_t v = 0; v < 4; ++v) {
      const __m512d size = _mm512_abs_pd(_mm512_loadu_pd(x + t + 8 * v));
      most[v] = _mm512_mask_mov_pd(most[v], _mm512_cmp_pd_mask(size, most[v], _CMP_GT_OQ), size);
    }
  alignas(64) std::array<double, 32> lanes{};
#pragma GCC unroll 4
  for (std::size_t v = 0; v < 4; ++v) _mm512_store_pd(lanes.data() + 8 * v, most[v]);
  double big = largest_magnitude(x + t, n - t);
  for (const double m : lanes) big = std::max(big, m);
  return big;
}
#endif

ColumnSplit column_split(const double* x, std::size_t n, int bits) {
#ifdef ZV_CROSS_AVX2
  const double big = cross_detail::vector_level() == cross_detail::VectorLevel::kAvx512 ? wide_largest_magnitude(x, n)
                                                                                      : largest_magnitude(x, n);
#else
  const double big = largest_magnitude(x, n);
#endif
  int e = 0;
  if (big > 0.0 && std::isfinite(big)) std::frexp(big, &e);
  const int sigma_exponent = e - bits + 52;
  if (!(big > 0.0) || !std::isfinite(big) || sigma_exponent > 1022 || e - bits < -1021) return {};
  return {std::ldexp(1.5, sigma_exponent), false};
}

/// Observations from..to − 1 of the `used` columns x into their panel, observation `from`
/// at p, as ColumnSplit says.
void split_into_panel(const std::array<const double*, kMaxWidth>& x, const std::array<ColumnSplit, kMaxWidth>& how,
                      std::size_t used, std::size_t width, std::size_t from, std::size_t to, double* p) {
  for (std::size_t t = from; t < to; ++t, p += 2 * width)
#pragma GCC unroll 8
    for (std::size_t c = 0; c < used; ++c) {
      const double v = x[c][t];
      const double lead = how[c].whole ? v : (v + how[c].sigma) - how[c].sigma;
      p[c] = lead;
      p[width + c] = how[c].whole ? 0.0 : v - lead;
    }
}

#ifdef ZV_CROSS_AVX2
/// The same as split_into_panel for a full panel of eight columns, eight observations at a
/// time: their values are turned from column order to observation order in the vector
/// registers, then split with the same operations.
__attribute__((target("avx512f"))) void avx512_split_panel(const std::array<const double*, kMaxWidth>& x,
                                                            const std::array<ColumnSplit, kMaxWidth>& how,
                                                            std::size_t from, std::size_t to, double* p) {
  alignas(64) std::array<double, 8> sigmas{};
  __mmask8 whole = 0;
  for (std::size_t c = 0; c < 8; ++c) {
    sigmas[c] = how[c].sigma;
    if (how[c].whole) whole = static_cast<__mmask8>(whole | (1u << c));
  }
  const __m512d sigma = _mm512_load_pd(sigmas.data());
  const __m512i even = _mm512_set_epi64(14, 6, 12, 4, 10, 2, 8, 0);
  const __m512i odd = _mm512_set_epi64(15, 7, 13, 5, 11, 3, 9, 1);
  const __m512i pair_low = _mm512_set_epi64(13, 12, 5, 4, 9, 8, 1, 0);
  const __m512i pair_high = _mm512_set_epi64(15, 14, 7, 6, 11, 10, 3, 2);
  const __m512i halves_low = _mm512_set_epi64(11, 10, 9, 8, 3, 2, 1, 0);
  const __m512i halves_high = _mm512_set_epi64(15, 14, 13, 12, 7, 6, 5, 4);
  std::size_t t = from;
  for (; t + 8 <= to; t += 8, p += 16 * 8) {
    __m512d r[8];
#pragma GCC unroll 8
    for (std::size_t c = 0; c < 8; ++c) r[c] = _mm512_loadu_pd(x[c] + t);
    // r[c][j] = column c at observation t + j; o[j][c] is wanted.
    const __m512d t0 = _mm512_permutex2var_pd(r[0], even, r[1]), t1 = _mm512_permutex2var_pd(r[0], odd, r[1]);
    const __m512d t2 = _mm512_permutex2var_pd(r[2], even, r[3]), t3 = _mm512_permutex2var_pd(r[2], odd, r[3]);
    const __m512d t4 = _mm512_permutex2var_pd(r[4], even, r[5]), t5 = _mm512_permutex2var_pd(r[4], odd, r[5]);
    const __m512d t6 = _mm512_permutex2var_pd(r[6], even, r[7]), t7 = _mm512_permutex2var_pd(r[6], odd, r[7]);
    const __m512d u0 = _mm512_permutex2var_pd(t0, pair_low, t2), u1 = _mm512_permutex2var_pd(t0, pair_high, t2);
    const __m512d u2 = _mm512_permutex2var_pd(t1, pair_low, t3), u3 = _mm512_permutex2var_pd(t1, pair_high, t3);
    const __m512d v0 = _mm512_permutex2var_pd(t4, pair_low, t6), v1 = _mm512_permutex2var_pd(t4, pair_high, t6);
    const __m512d v2 = _mm512_permutex2var_pd(t5, pair_low, t7), v3 = _mm512_permutex2var_pd(t5, pair_high, t7);
    const __m512d o[8] = {_mm512_permutex2var_pd(u0, halves_low, v0), _mm512_permutex2var_pd(u2, halves_low, v2),
                          _mm512_permutex2var_pd(u1, halves_low, v1), _mm512_permutex2var_pd(u3, halves_low, v3),
                          _mm512_permutex2var_pd(u0, halves_high, v0), _mm512_permutex2var_pd(u2, halves_high, v2),
                          _mm512_permutex2var_pd(u1, halves_high, v1), _mm512_permutex2var_pd(u3, halves_high, v3)};
#pragma GCC unroll 8
    for (std::size_t j = 0; j < 8; ++j) {
      const __m512d split_lead = _mm512_sub_pd(_mm512_add_pd(o[j], sigma), sigma);
      const __m512d lead = _mm512_mask_blend_pd(whole, split_lead, o[j]);
      double* q = p + 16 * j;
      _mm512_storeu_pd(q, lead);
      _mm512_storeu_pd(q + 8, _mm512_maskz_sub_pd(static_cast<__mmask8>(~whole), o[j], lead));
    }
  }
  split_into_panel(x, how, 8, 8, t, to, p);
}
#endif

/// The columns to split and how each is split (from its largest magnitude over all n
/// observations).
struct SplitPlan {
  std::span<const double* const> columns;
  std::size_t n = 0, width = 0;
  std::vector<ColumnSplit> how;
};

SplitPlan plan_split(std::span<const double* const> columns, std::size_t n, std::size_t width) {
  SplitPlan plan{columns, n, width, {}};
  const int bits = leading_bits(n);
  for (const double* x : columns) plan.how.push_back(column_split(x, n, bits));
  return plan;
}

/// Observations t0..t1 − 1 of the planned columns, split into `store`.
SplitColumns split_chunk(const SplitPlan& plan, std::size_t t0, std::size_t t1, std::vector<double>& store) {
  const std::size_t k = plan.columns.size(), width = plan.width, n = t1 - t0;
  SplitColumns s{n, k, width, &store};
  const std::size_t panels = (k + width - 1) / width;
  if (store.size() < panels * 2 * width * n) store.resize(panels * 2 * width * n);
  std::array<ColumnSplit, kMaxWidth> how{};
  std::array<const double*, kMaxWidth> x{};
  for (std::size_t j0 = 0; j0 < k; j0 += width) {
    const std::size_t used = std::min(width, k - j0);
    for (std::size_t c = 0; c < used; ++c) {
      x[c] = plan.columns[j0 + c];
      how[c] = plan.how[j0 + c];
    }
    double* p = store.data() + j0 / width * 2 * width * n;
#ifdef ZV_CROSS_AVX2
    if (width == 8 && used == 8) {  // the 512-bit kernels' panels
      avx512_split_panel(x, how, t0, t1, p);
      continue;
    }
#endif
    if (used < width) std::fill(p, p + 2 * width * n, 0.0);
    split_into_panel(x, how, used, width, t0, t1, p);
  }
  return s;
}

/// The rows of one kernel call: leading parts and remainders of its columns (observation
/// t at 2·W·t from these, W the kernel's panel width).
struct RowBlock {
  std::array<const double*, kMaxRows> h{}, l{};
};

/// The running sums of a kernel's R × W elements (element r·W + c) from one chunk of
/// observations to the next.
struct BlockSums {
  std::array<double, kMaxRows * kMaxWidth> s1{}, total_a{}, total_b{};
  double element(std::size_t e) const { return s1[e] + (total_a[e] + total_b[e]); }
};

/// A kernel adds observations t0..t1 − 1 (t0 a multiple of kBlock) of Σ_t row_r(t)·panel_c(t)
/// to the sums of its R rows and W panel columns. Per element, s1 = Σ h_r·h_c (exact), and
/// the remainder Σ (h_r·l_c + l_r·x_c), x_c = h_c + l_c, in blocks of kBlock observations
/// (two running sums a and b, added to the totals after each block); the element is
/// s1 + (total_a + total_b). Every kernel performs exactly these operations on each
/// element, whatever its shape, so their results agree to the last bit.
using Kernel = void (*)(const RowBlock&, const double*, std::size_t, std::size_t, BlockSums&);

/// A kernel with its panel width W and its rows per call R.
struct KernelShape {
  Kernel run;
  std::size_t width, rows;
};

template <std::size_t W, std::size_t R>
void portable_kernel(const RowBlock& rows, const double* panel, std::size_t t0, std::size_t t1, BlockSums& sums) {
  for (std::size_t r = 0; r < R; ++r)
    for (std::size_t c = 0; c < W; ++c) {
      const double* h = rows.h[r];
      const double* l = rows.l[r];
      const std::size_t e = r * W + c;
      double s1 = sums.s1[e], total_a = sums.total_a[e], total_b = sums.total_b[e];
      for (std::size_t b0 = t0; b0 < t1; b0 += kBlock) {
        double a = 0.0, b = 0.0;
        for (std::size_t t = b0; t < std::min(t1, b0 + kBlock); ++t) {
          const double* p = panel + 2 * W * t;
          s1 = std::fma(h[2 * W * t], p[c], s1);
          a = std::fma(h[2 * W * t], p[W + c], a);
          b = std::fma(l[2 * W * t], p[c] + p[W + c], b);
        }
        total_a += a;
        total_b += b;
      }
      sums.s1[e] = s1;
      sums.total_a[e] = total_a;
      sums.total_b[e] = total_b;
    }
}

#ifdef ZV_CROSS_AVX2
/// The same operations as portable_kernel, the four panel columns in one 256-bit vector;
/// the loops over the rows are unrolled so that every running sum stays in a register.
__attribute__((target("avx2,fma"))) void avx2_kernel(const RowBlock& rows, const double* panel, std::size_t t0,
                                                      std::size_t t1, BlockSums& sums) {
  constexpr std::size_t W = 4, R = 3;
  __m256d s1[R], total_a[R], total_b[R];
#pragma GCC unroll 4
  for (std::size_t r = 0; r < R; ++r) {
    s1[r] = _mm256_loadu_pd(&sums.s1[r * W]);
    total_a[r] = _mm256_loadu_pd(&sums.total_a[r * W]);
    total_b[r] = _mm256_loadu_pd(&sums.total_b[r * W]);
  }
  for (std::size_t b0 = t0; b0 < t1; b0 += kBlock) {
    __m256d a[R], b[R];
#pragma GCC unroll 4
    for (std::size_t r = 0; r < R; ++r) a[r] = b[r] = _mm256_setzero_pd();
    const std::size_t end = std::min(t1, b0 + kBlock);
    for (std::size_t t = b0; t < end; ++t) {
      const double* p = panel + 2 * W * t;
      const __m256d ph = _mm256_loadu_pd(p);
      const __m256d pl = _mm256_loadu_pd(p + W);
      const __m256d px = _mm256_add_pd(ph, pl);
#pragma GCC unroll 4
      for (std::size_t r = 0; r < R; ++r) {
        const __m256d h = _mm256_broadcast_sd(rows.h[r] + 2 * W * t);
        const __m256d l = _mm256_broadcast_sd(rows.l[r] + 2 * W * t);
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
  for (std::size_t r = 0; r < R; ++r) {
    _mm256_storeu_pd(&sums.s1[r * W], s1[r]);
    _mm256_storeu_pd(&sums.total_a[r * W], total_a[r]);
    _mm256_storeu_pd(&sums.total_b[r * W], total_b[r]);
  }
}

/// The same operations again, eight panel columns in one 512-bit vector and four rows.
__attribute__((target("avx512f"))) void avx512_kernel(const RowBlock& rows, const double* panel, std::size_t t0,
                                                       std::size_t t1, BlockSums& sums) {
  constexpr std::size_t W = 8, R = 4;
  __m512d s1[R], total_a[R], total_b[R];
#pragma GCC unroll 4
  for (std::size_t r = 0; r < R; ++r) {
    s1[r] = _mm512_loadu_pd(&sums.s1[r * W]);
    total_a[r] = _mm512_loadu_pd(&sums.total_a[r * W]);
    total_b[r] = _mm512_loadu_pd(&sums.total_b[r * W]);
  }
  for (std::size_t b0 = t0; b0 < t1; b0 += kBlock) {
    __m512d a[R], b[R];
#pragma GCC unroll 4
    for (std::size_t r = 0; r < R; ++r) a[r] = b[r] = _mm512_setzero_pd();
    const std::size_t end = std::min(t1, b0 + kBlock);
    for (std::size_t t = b0; t < end; ++t) {
      const double* p = panel + 2 * W * t;
      const __m512d ph = _mm512_loadu_pd(p);
      const __m512d pl = _mm512_loadu_pd(p + W);
      const __m512d px = _mm512_add_pd(ph, pl);
#pragma GCC unroll 4
      for (std::size_t r = 0; r < R; ++r) {
        const __m512d h = _mm512_set1_pd(rows.h[r][2 * W * t]);
        const __m512d l = _mm512_set1_pd(rows.l[r][2 * W * t]);
        s1[r] = _mm512_fmadd_pd(h, ph, s1[r]);
        a[r] = _mm512_fmadd_pd(h, pl, a[r]);
        b[r] = _mm512_fmadd_pd(l, px, b[r]);
      }
    }
#pragma GCC unroll 4
    for (std::size_t r = 0; r < R; ++r) {
      total_a[r] = _mm512_add_pd(total_a[r], a[r]);
      total_b[r] = _mm512_add_pd(total_b[r], b[r]);
    }
  }
#pragma GCC unroll 4
  for (std::size_t r = 0; r < R; ++r) {
    _mm512_storeu_pd(&sums.s1[r * W], s1[r]);
    _mm512_storeu_pd(&sums.total_a[r * W], total_a[r]);
    _mm512_storeu_pd(&sums.total_b[r * W], total_b[r]);
  }
}
#endif

/// The kernel this machine runs best (a narrower one when asked for).
KernelShape kernel() {
  switch (cross_detail::vector_level()) {
#ifdef ZV_CROSS_AVX2
    case cross_detail::VectorLevel::kAvx512:
      return {avx512_kernel, 8, 4};
    case cross_detail::VectorLevel::kAvx2:
      return {avx2_kernel, 4, 3};
#endif
    default:
      return {portable_kernel<4, 3>, 4, 3};
  }
}

/// Observations split and summed at a time (a multiple of kBlock): their split columns stay
/// in the cache while every row block goes by every panel.
constexpr std::size_t kChunk = kBlock;

/// Every row (left column) against every panel of right columns, the lower triangle only
/// when `lower_only` (the right columns are then the left ones); `store(i, j, v)` receives
/// element (left i, right j), both 0-based.
template <class Store>
void for_each_block(const SplitPlan& left, const SplitPlan& right, bool lower_only, const KernelShape& shape,
                    Store store) {
  const std::size_t ka = left.columns.size(), kb = right.columns.size(), n = left.n;
  const std::size_t W = shape.width, R = shape.rows;
  // The (panel, row block) pairs and their running sums.
  struct Pair {
    std::size_t j0, i0;
  };
  std::vector<Pair> pairs;
  for (std::size_t j0 = 0; j0 < kb; j0 += W)
    for (std::size_t i0 = lower_only ? j0 : 0; i0 < ka; i0 += R) pairs.push_back({j0, i0});
  std::vector<BlockSums> sums(pairs.size());
  for (std::size_t t0 = 0; t0 < n; t0 += kChunk) {
    const std::size_t t1 = std::min(n, t0 + kChunk);
    const SplitColumns a = split_chunk(left, t0, t1, scratch().left);
    const SplitColumns b = lower_only ? a : split_chunk(right, t0, t1, scratch().right);
    for (std::size_t p = 0; p < pairs.size(); ++p) {
      RowBlock rows;
      for (std::size_t r = 0; r < R; ++r) {
        const std::size_t i = std::min(pairs[p].i0 + r, ka - 1);  // a repeated row fills a short block
        rows.h[r] = a.h(i);
        rows.l[r] = a.l(i);
      }
      shape.run(rows, b.panel(pairs[p].j0), 0, t1 - t0, sums[p]);
    }
  }
  for (std::size_t p = 0; p < pairs.size(); ++p) {
    const auto [j0, i0] = pairs[p];
    for (std::size_t r = 0; r < R && i0 + r < ka; ++r)
      for (std::size_t c = 0; c < W && j0 + c < kb; ++c)
        if (!lower_only || j0 + c <= i0 + r) store(i0 + r, j0 + c, sums[p].element(r * W + c));
  }
}

}  // namespace

void symmetric_cross_products(std::span<const double* const> columns, std::size_t n,
                              std::span<double> packed) {
  const std::size_t k = columns.size();
  num_detail::require(packed.size() >= num_detail::packed_size(static_cast<long>(k)),
                      "symmetric_cross_products: packed matrix too short");
  if (k == 0) return;
  const KernelShape shape = kernel();
  const SplitPlan plan = plan_split(columns, n, shape.width);
  for_each_block(plan, plan, true, shape, [&](std::size_t i, std::size_t j, double v) {
    packed[num_detail::packed_at(static_cast<long>(i + 1), static_cast<long>(j + 1))] = v;
  });
}

void cross_products(std::span<const double* const> left, std::span<const double* const> right,
                    std::size_t n, std::span<double> out) {
  const std::size_t ka = left.size(), kb = right.size();
  num_detail::require(out.size() >= ka * kb, "cross_products: output too short");
  if (ka == 0 || kb == 0) return;
  const KernelShape shape = kernel();
  for_each_block(plan_split(left, n, shape.width), plan_split(right, n, shape.width), false, shape,
                 [&](std::size_t i, std::size_t j, double v) { out[i + j * ka] = v; });
}

namespace cross_detail {

void choose_kernel(KernelChoice choice) { chosen = choice; }

VectorLevel vector_level() {
#ifdef ZV_CROSS_AVX2
  static const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  static const bool avx512 = avx2 && __builtin_cpu_supports("avx512f");
  if (chosen == KernelChoice::kPortable || !avx2) return VectorLevel::kNone;
  return avx512 && chosen == KernelChoice::kBest ? VectorLevel::kAvx512 : VectorLevel::kAvx2;
#else
  return VectorLevel::kNone;
#endif
}

}  // namespace cross_detail

}  // namespace qorv::core
