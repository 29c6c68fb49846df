// The tridiagonal QL eigen-solver after the Householder reduction: known spectra, repeated
// eigenvalues, the order of the results and a matrix on which it cannot converge.
#include "engine/core/num/eigen_solve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/core/num/packed_index.h"
#include "engine/core/num/tridiagonal.h"

namespace {

using qorv::core::EIGENSOLVE;
using qorv::core::PACKEDINDEX;

/// An orthogonal Q of order n: a product of plane rotations through fixed angles.
std::vector<double> rotation_product(int n) {
  std::vector<double> q(static_cast<std::size_t>(n * n), 0.0);
  for (int i = 0; i < n; ++i) q[static_cast<std::size_t>(i * n + i)] = 1.0;
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j) {
      const double angle = 0.3 + 0.17 * i + 0.05 * j;
      const double c = std::cos(angle), s = std::sin(angle);
      for (int r = 0; r < n; ++r) {
        double& a = q[static_cast<std::size_t>(i * n + r)];
        double& b = q[static_cast<std::size_t>(j * n + r)];
        const double x = a, y = b;
        a = c * x - s * y;
        b = s * x + c * y;
      }
    }
  return q;
}

/// Packed Q·diag(values)·Q'.
std::vector<double> with_spectrum(const std::vector<double>& q, const std::vector<double>& values) {
  const int n = static_cast<int>(values.size());
  std::vector<double> a(static_cast<std::size_t>(n * (n + 1) / 2));
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= i; ++j) {
      long double sum = 0;
      for (int l = 0; l < n; ++l)
        sum += static_cast<long double>(q[static_cast<std::size_t>(l * n + i - 1)]) * values[static_cast<std::size_t>(l)] *
               q[static_cast<std::size_t>(l * n + j - 1)];
      a[static_cast<std::size_t>(PACKEDINDEX(i, j) - 1)] = static_cast<double>(sum);
    }
  return a;
}

struct Solved {
  std::vector<double> values, vectors;
  int fail = 0;
};

Solved solve(const std::vector<double>& packed, int n) {
  Solved s;
  s.values.assign(static_cast<std::size_t>(n), 0.0);
  std::vector<double> e(static_cast<std::size_t>(n));
  s.vectors.assign(static_cast<std::size_t>(n * n), 0.0);
  int flag = 0;
  qorv::core::PACKEDFACTOR(n, 1e-14, packed, s.values, e, s.vectors, flag);
  EXPECT_EQ(flag, 0);
  EIGENSOLVE(n, 1e-15, s.values, e, s.vectors, s.fail);
  return s;
}

TEST(EigenSolve, KnownSpectraComeBackAscendingWithTheirVectors) {
  struct Case {
    const char* what;
    std::vector<double> spectrum;
  };
  const Case cases[] = {
      {"distinct, order 12", {9, -3, 0.5, 7, 2, 11, -8, 4, 1e-3, 6, 3, 5}},
      {"repeated", {2, 2, 2, 5, 5, -1, 0, 0}},
      {"all equal", {4, 4, 4}},
      {"order 2", {1, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int n = static_cast<int>(c.spectrum.size());
    const std::vector<double> q = rotation_product(n);
    const std::vector<double> a = with_spectrum(q, c.spectrum);
    const Solved s = solve(a, n);
    ASSERT_EQ(s.fail, 0);
    std::vector<double> sorted = c.spectrum;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < n; ++i) EXPECT_NEAR(s.values[static_cast<std::size_t>(i)], sorted[static_cast<std::size_t>(i)], 1e-12);
    // A·z_j = d_j·z_j and the vectors are orthonormal.
    for (int j = 0; j < n; ++j) {
      for (int i = 1; i <= n; ++i) {
        double az = 0;
        for (int l = 1; l <= n; ++l)
          az += a[static_cast<std::size_t>(PACKEDINDEX(i, l) - 1)] * s.vectors[static_cast<std::size_t>(j * n + l - 1)];
        EXPECT_NEAR(az, s.values[static_cast<std::size_t>(j)] * s.vectors[static_cast<std::size_t>(j * n + i - 1)], 1e-12);
      }
      for (int l = 0; l < n; ++l) {
        double dot = 0;
        for (int r = 0; r < n; ++r) dot += s.vectors[static_cast<std::size_t>(j * n + r)] * s.vectors[static_cast<std::size_t>(l * n + r)];
        EXPECT_NEAR(dot, j == l ? 1.0 : 0.0, 1e-13);
      }
    }
  }
}

TEST(EigenSolve, ATridiagonalMatrixGivenDirectly) {
  // T = tridiag(-1, 2, -1) of order 5: eigenvalues 2 - 2cos(kπ/6).
  const int n = 5;
  std::vector<double> d(n, 2.0), e(n, -1.0), z(n * n, 0.0);
  for (int i = 0; i < n; ++i) z[static_cast<std::size_t>(i * n + i)] = 1.0;
  int fail = 0;
  EIGENSOLVE(n, 1e-15, d, e, z, fail);
  ASSERT_EQ(fail, 0);
  for (int k = 1; k <= n; ++k) EXPECT_NEAR(d[static_cast<std::size_t>(k - 1)], 2.0 - 2.0 * std::cos(k * M_PI / 6.0), 1e-14);
}

TEST(EigenSolve, ANonFiniteEntryNeverConverges) {
  const int n = 3;
  std::vector<double> d{1.0, std::numeric_limits<double>::quiet_NaN(), 2.0}, e{0.0, 0.5, 0.25}, z(9, 0.0);
  int fail = 0;
  EIGENSOLVE(n, 1e-15, d, e, z, fail);
  EXPECT_EQ(fail, 1);
  // Order 1 and 0 return at once.
  std::vector<double> one{3.0}, none{0.0}, unit{1.0};
  EIGENSOLVE(1, 1e-15, one, none, unit, fail);
  EXPECT_EQ(fail, 0);
  EXPECT_EQ(one[0], 3.0);
}

}  // namespace
