// The compensated fitted values and residuals, and the sums of products of columns with a
// vector: residuals exact where the exact value is a double, cancellation that
// extended-precision sums lose, and the portable path equal to the vector ones to the last
// bit.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/core/num/compensated_sums.h"
#include "engine/core/num/cross_products.h"

namespace {

using namespace qorv::core;

// y = 2^60 and a fitted value of 2^60 − 2^-t, which rounds to 2^60: the residual is the
// exact 2^-t, not the 0 of a residual taken from the rounded fitted value.
TEST(CompensatedSums, ResidualIsNotRoundedThroughTheFittedValue) {
  const double big = std::ldexp(1.0, 60);
  const std::size_t n = 37;  // two vector blocks of sixteen and five in the tail
  std::vector<double> x1(n, big), x2(n, 1.0), y(n, big), fitted(n), residual(n);
  for (std::size_t t = 0; t < n; ++t) x2[t] = std::ldexp(1.0, -static_cast<int>(t));
  const std::vector<const double*> x = {x1.data(), x2.data()};
  const std::vector<double> coef = {1.0, -1.0};
  compensated_fit(x, coef, y.data(), n, fitted.data(), residual.data());
  for (std::size_t t = 0; t < n; ++t) {
    EXPECT_EQ(residual[t], x2[t]) << t;
    EXPECT_EQ(fitted[t], big) << t;  // 2^60 − 2^-t rounds to 2^60
  }
}

// 2^70·1 + 1·1 − 2^70·1 needs more than the 64 bits of an extended sum: the compensated
// sum keeps the 1, in the vector blocks and in the tail.
TEST(CompensatedSums, CancellationKeepsTheSmallExactSum) {
  const double big = std::ldexp(1.0, 70);
  const std::size_t n = 19;
  std::vector<double> x1(n, big), x2(n, 1.0), x3(n, -big), y(n, 3.0), fitted(n), residual(n);
  const std::vector<const double*> x = {x1.data(), x2.data(), x3.data()};
  const std::vector<double> coef = {1.0, 1.0, 1.0};
  compensated_fit(x, coef, y.data(), n, fitted.data(), residual.data());
  for (std::size_t t = 0; t < n; ++t) {
    EXPECT_EQ(fitted[t], 1.0) << t;
    EXPECT_EQ(residual[t], 2.0) << t;
  }
}

TEST(CompensatedSums, PortableAndVectorPathsGiveTheSameBits) {
  using cross_detail::KernelChoice;
  constexpr std::size_t n = 203, k = 7;
  std::vector<std::vector<double>> cols(k, std::vector<double>(n));
  std::vector<double> y(n), coef(k);
  unsigned state = 77u;
  const auto uniform = [&state] {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) * (1.0 / 16777216.0) - 0.5;
  };
  for (std::size_t j = 0; j < k; ++j) {
    coef[j] = std::ldexp(uniform(), static_cast<int>(j) * 5 - 15);
    for (double& v : cols[j]) v = std::ldexp(uniform(), static_cast<int>(j * 3 % 11)) + static_cast<double>(j);
  }
  for (double& v : y) v = 1e3 * uniform();
  std::vector<const double*> x;
  for (const auto& c : cols) x.push_back(c.data());
  struct Result {
    std::vector<double> fitted, residual;
  };
  std::vector<Result> results;
  for (KernelChoice choice : {KernelChoice::kBest, KernelChoice::kAvx2, KernelChoice::kPortable}) {
    cross_detail::choose_kernel(choice);
    Result r{std::vector<double>(n), std::vector<double>(n)};
    compensated_fit(x, coef, y.data(), n, r.fitted.data(), r.residual.data());
    results.push_back(r);
  }
  cross_detail::choose_kernel(KernelChoice::kBest);
  for (std::size_t c = 1; c < results.size(); ++c)
    for (std::size_t t = 0; t < n; ++t) {
      EXPECT_EQ(results[c].fitted[t], results[0].fitted[t]) << "path " << c << " observation " << t;
      EXPECT_EQ(results[c].residual[t], results[0].residual[t]) << "path " << c << " observation " << t;
    }
}

// Σ x·z where the terms cancel to a small exact value: 2^70 + 1 − 2^70 spread over
// observations that fall in the same or different running sums and in the tail (n = 35:
// two rounds of sixteen and three left; observation t in sum t mod 16, the tail's from the
// first). The compensated sums keep the 1 exactly, and so does the final join of the plain
// fused sums; a plain sum that adds 2^70 to the 1 loses it.
TEST(CompensatedSums, ProductsKeepTheSmallExactSum) {
  const double big = std::ldexp(1.0, 70);
  constexpr std::size_t n = 35;
  struct Case {
    std::size_t plus, minus;  // observations of +2^70 and −2^70; the 1 follows the −2^70
    double fused;             // the plain fused sum
  };
  for (const Case c : {Case{0, 16, 1.0}, Case{3, 7, 1.0}, Case{5, 33, 1.0}, Case{32, 34, 0.0}}) {
    std::vector<double> x(n, 0.0), ones(n, 1.0), z(n, 1.0);
    x[c.plus] = big;
    x[c.minus] = -big;
    x[(c.minus + 1) % n] += 1.0;
    const std::vector<const double*> cols = {x.data(), ones.data()};
    std::vector<double> out(2);
    compensated_products(cols, z.data(), n, out);
    EXPECT_EQ(out[0], 1.0) << c.plus << " " << c.minus;
    EXPECT_EQ(out[1], static_cast<double>(n));
    fused_products(cols, z.data(), n, out);
    EXPECT_EQ(out[0], c.fused) << c.plus << " " << c.minus;
  }
}

TEST(CompensatedSums, ColumnSumsGiveTheSameBitsOnEveryPath) {
  using cross_detail::KernelChoice;
  for (const std::size_t n : {std::size_t{5}, std::size_t{203}}) {
    std::vector<std::vector<double>> cols(5, std::vector<double>(n));
    std::vector<double> z(n);
    unsigned state = 99u;
    const auto uniform = [&state] {
      state = state * 1664525u + 1013904223u;
      return (state >> 8) * (1.0 / 16777216.0) - 0.5;
    };
    for (std::size_t j = 0; j < cols.size(); ++j)
      for (double& v : cols[j]) v = std::ldexp(uniform(), static_cast<int>(j * 9 % 23)) + static_cast<double>(j);
    for (double& v : z) v = 1e3 * uniform();
    std::vector<const double*> x;
    for (const auto& c : cols) x.push_back(c.data());
    const std::vector<double> coef = {0.5, -3.0, 1e-3, 7.0, -0.25};
    std::vector<std::vector<double>> compensated, fused, subtracted;
    for (KernelChoice choice : {KernelChoice::kBest, KernelChoice::kAvx2, KernelChoice::kPortable}) {
      cross_detail::choose_kernel(choice);
      compensated.emplace_back(cols.size());
      fused.emplace_back(cols.size());
      compensated_products(x, z.data(), n, compensated.back());
      fused_products(x, z.data(), n, fused.back());
      subtracted.push_back(z);
      subtract_products(x, coef, n, subtracted.back().data());
    }
    cross_detail::choose_kernel(KernelChoice::kBest);
    for (std::size_t c = 1; c < compensated.size(); ++c) {
      EXPECT_EQ(compensated[c], compensated[0]) << "path " << c << " n " << n;
      EXPECT_EQ(fused[c], fused[0]) << "path " << c << " n " << n;
      EXPECT_EQ(subtracted[c], subtracted[0]) << "path " << c << " n " << n;
    }
  }
}

}  // namespace
