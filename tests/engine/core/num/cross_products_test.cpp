// The cross-product kernels: exact where the exact sum is a double, correctly rounded
// integer sums, cancellation that plain double sums lose, the portable kernel equal to the
// vectorised one to the last bit, unit independence, non-finite values and bad sizes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "engine/core/num/cross_products.h"
#include "engine/core/num/packed_index.h"

namespace {

using namespace qorv::core;

std::vector<const double*> pointers(const std::vector<std::vector<double>>& columns) {
  std::vector<const double*> p;
  for (const auto& c : columns) p.push_back(c.data());
  return p;
}

std::vector<double> symmetric(const std::vector<std::vector<double>>& columns) {
  const std::size_t k = columns.size();
  std::vector<double> m(k * (k + 1) / 2, -1.0);
  symmetric_cross_products(pointers(columns), columns.empty() ? 0 : columns[0].size(), m);
  return m;
}

double at(const std::vector<double>& m, int i, int j) { return m[static_cast<std::size_t>(PACKEDINDEX(i, j) - 1)]; }

/// Serves with one kernel until the end of the scope, then with the best again.
struct UseKernel {
  explicit UseKernel(cross_detail::KernelChoice choice) { cross_detail::choose_kernel(choice); }
  ~UseKernel() { cross_detail::choose_kernel(cross_detail::KernelChoice::kBest); }
  UseKernel(const UseKernel&) = delete;
  UseKernel& operator=(const UseKernel&) = delete;
};

// Σ t^(a+b) for t = 1..1000 and a, b in 0..3 are integers up to about 1.4e20: the result
// must be the integer rounded once to double (the sums are exact in 128-bit integers).
TEST(CrossProducts, IntegerPowerSumsAreCorrectlyRounded) {
  constexpr int n = 1000;
  std::vector<std::vector<double>> cols(4);
  for (int a = 0; a < 4; ++a)
    for (int t = 1; t <= n; ++t) cols[a].push_back(std::pow(static_cast<double>(t), a));
  const auto m = symmetric(cols);
  for (int a = 0; a < 4; ++a)
    for (int b = 0; b <= a; ++b) {
      __int128 exact = 0;
      for (__int128 t = 1; t <= n; ++t) {
        __int128 v = 1;
        for (int e = 0; e < a + b; ++e) v *= t;
        exact += v;
      }
      EXPECT_EQ(at(m, a + 1, b + 1), static_cast<double>(exact)) << a << " " << b;
    }
}

// 1e16 + 1 − 1e16: a double running sum gives 0, the kernels the exact 1, and products
// whose exact sum is tiny against its terms keep it.
TEST(CrossProducts, CancellationKeepsTheSmallExactSum) {
  const std::vector<std::vector<double>> cols = {{1e16, 1.0, -1e16}, {1.0, 1.0, 1.0}};
  EXPECT_EQ(at(symmetric(cols), 2, 1), 1.0);
  // (1 + 2^-30)(1 − 2^-30) − 1 = −2^-60 exactly.
  const double u = std::ldexp(1.0, -30);
  const std::vector<std::vector<double>> near = {{1.0 + u, -1.0}, {1.0 - u, 1.0}};
  EXPECT_EQ(at(symmetric(near), 2, 1), -std::ldexp(1.0, -60));
}

/// Columns with mixed signs and magnitudes over n observations (n not a multiple of the
/// block or the panel width).
std::vector<std::vector<double>> awkward_columns(int n, int k) {
  std::vector<std::vector<double>> cols(static_cast<std::size_t>(k));
  unsigned state = 2024u;
  for (int j = 0; j < k; ++j)
    for (int t = 0; t < n; ++t) {
      state = state * 1664525u + 1013904223u;
      const double u = (state >> 8) * (1.0 / 16777216.0) - 0.5;
      cols[static_cast<std::size_t>(j)].push_back(j == 0 ? 1.0 : std::ldexp(u, (j * 7) % 40 - 20) + (j % 3) * 1e3);
    }
  return cols;
}

TEST(CrossProducts, EveryKernelGivesTheSameBits) {
  using cross_detail::KernelChoice;
  const auto cols = awkward_columns(203, 11);
  const auto right = pointers(cols);
  struct Result {
    std::vector<double> packed, rect = std::vector<double>(11 * 2);
  };
  std::vector<Result> results;
  for (KernelChoice choice : {KernelChoice::kBest, KernelChoice::kAvx2, KernelChoice::kPortable}) {
    UseKernel use(choice);
    Result r;
    r.packed = symmetric(cols);
    cross_products(pointers(cols), std::span(right).first(2), 203, r.rect);
    results.push_back(r);
  }
  for (std::size_t c = 1; c < results.size(); ++c) {
    for (std::size_t i = 0; i < results[0].packed.size(); ++i)
      EXPECT_EQ(results[c].packed[i], results[0].packed[i]) << "kernel " << c << " element " << i;
    for (std::size_t i = 0; i < results[0].rect.size(); ++i)
      EXPECT_EQ(results[c].rect[i], results[0].rect[i]) << "kernel " << c << " element " << i;
  }
  // The rectangular form agrees with the symmetric one.
  for (int i = 1; i <= 11; ++i)
    for (int j = 1; j <= 2; ++j)
      EXPECT_EQ(results[0].rect[static_cast<std::size_t>((i - 1) + (j - 1) * 11)], at(results[0].packed, i, j));
}

// Scaling every value by a power of two scales every product by its square, exactly, at
// both ends of the exponent range.
TEST(CrossProducts, PowerOfTwoUnitsScaleTheResultExactly) {
  const auto cols = awkward_columns(150, 5);
  const auto base = symmetric(cols);
  for (int e : {-250, 250}) {
    auto scaled = cols;
    for (auto& c : scaled)
      for (double& v : c) v = std::ldexp(v, e);
    const auto m = symmetric(scaled);
    for (std::size_t i = 0; i < base.size(); ++i) EXPECT_EQ(m[i], std::ldexp(base[i], 2 * e)) << e << " " << i;
  }
}

TEST(CrossProducts, NonFiniteValuesReachEveryElementOfTheirColumn) {
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    const std::vector<std::vector<double>> cols = {{1.0, 2.0, 3.0}, {4.0, bad, 6.0}, {0.0, 0.0, 0.0}};
    const auto m = symmetric(cols);
    EXPECT_EQ(at(m, 1, 1), 14.0);
    EXPECT_FALSE(std::isfinite(at(m, 2, 1)));
    EXPECT_FALSE(std::isfinite(at(m, 2, 2)));
    EXPECT_EQ(at(m, 3, 1), 0.0);  // a column of zeros
    // Nine constant columns j = 1..9 of 70 observations (full panels, whole vector rounds
    // and a tail), the bad value inside column 6: Σ = 70·i·j wherever column 6 is absent.
    std::vector<std::vector<double>> wide(9);
    for (int j = 0; j < 9; ++j) wide[static_cast<std::size_t>(j)].assign(70, j + 1.0);
    wide[5][40] = bad;
    const auto w = symmetric(wide);
    for (int i = 1; i <= 9; ++i)
      for (int j = 1; j <= i; ++j) {
        if (i == 6 || j == 6) EXPECT_FALSE(std::isfinite(at(w, i, j))) << i << " " << j;
        else EXPECT_EQ(at(w, i, j), 70.0 * i * j) << i << " " << j;
      }
  }
}

TEST(CrossProducts, EmptySumsAndShortOutputs) {
  const std::vector<std::vector<double>> none = {{}, {}};
  const auto m = symmetric(none);
  for (double v : m) EXPECT_EQ(v, 0.0);
  const std::vector<std::vector<double>> cols = {{1.0, 2.0}, {3.0, 4.0}};
  std::vector<double> short_packed(2), short_out(3);
  EXPECT_THROW(symmetric_cross_products(pointers(cols), 2, short_packed), std::invalid_argument);
  EXPECT_THROW(cross_products(pointers(cols), pointers(cols), 2, short_out), std::invalid_argument);
}

}  // namespace
