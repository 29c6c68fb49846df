// Householder reduction to tridiagonal form: Z orthogonal, A = Z·T·Z', and T with the
// eigenvalues of A, at any scale of A.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/core/num/matrices.h"
#include "tests/engine/core/num/num_test_support.h"

namespace {

using namespace qorv::core;

using Rows = std::vector<std::vector<double>>;

/// det(T − λI) by the three-term recurrence of a symmetric tridiagonal matrix.
double characteristic(const std::vector<double>& d, const std::vector<double>& e, double lambda) {
  double p0 = 1.0, p1 = d[0] - lambda;
  for (std::size_t k = 1; k < d.size(); ++k) {
    const double p2 = (d[k] - lambda) * p1 - e[k] * e[k] * p0;
    p0 = p1;
    p1 = p2;
  }
  return p1;
}

struct Case {
  Rows a;
  std::vector<double> eigenvalues;
};

Case householder_case() {
  // A = Q·diag(1, 2, 3, 4)·Q with the reflector Q = I − ½·ones: dense, eigenvalues 1..4.
  const int n = 4;
  Rows a(n, std::vector<double>(n, 0.0));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      for (int k = 0; k < n; ++k) a[i][j] += ((i == k) - 0.5) * (k + 1) * ((k == j) - 0.5);
  return {a, {1, 2, 3, 4}};
}

TEST(Tridiagonal, ReductionReproducesTheMatrixAndItsEigenvalues) {
  const double r2 = std::sqrt(2.0);
  const Case cases[] = {householder_case(), {{{2, -1, 0}, {-1, 2, -1}, {0, -1, 2}}, {2 - r2, 2, 2 + r2}}};
  for (const Case& c : cases)
    for (double scale : {1e-8, 1.0, 1e8}) {
      const int n = static_cast<int>(c.a.size());
      Rows a = c.a;
      for (auto& row : a)
        for (double& v : row) v *= scale;
      std::vector<double> d(n), e(n), z(static_cast<std::size_t>(n * n));
      int flag = -1;
      PACKEDFACTOR(n, 1e-14, num_test::pack(a), d, e, z, flag);
      ASSERT_EQ(flag, 0);
      EXPECT_EQ(e[0], 0.0);
      const auto Z = [&](int i, int j) { return z[static_cast<std::size_t>(j * n + i)]; };
      const auto T = [&](int i, int j) {
        return i == j ? d[i] : (i == j + 1 ? e[i] : (j == i + 1 ? e[j] : 0.0));
      };
      for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
          double ztz = 0.0, zz = 0.0;
          for (int k = 0; k < n; ++k) {
            zz += Z(k, i) * Z(k, j);
            for (int l = 0; l < n; ++l) ztz += Z(i, k) * T(k, l) * Z(j, l);
          }
          EXPECT_NEAR(zz, i == j ? 1.0 : 0.0, 1e-14) << "orthogonality, scale " << scale;
          EXPECT_NEAR(ztz / scale, c.a[i][j], 1e-13) << "A = ZTZ', scale " << scale;
        }
      for (double lambda : c.eigenvalues)
        EXPECT_NEAR(characteristic(d, e, lambda * scale) / std::pow(scale, n), 0.0, 1e-12)
            << "eigenvalue " << lambda << ", scale " << scale;
    }
}

TEST(Tridiagonal, OrderOneIsLeftAloneAndNanIsFlagged) {
  std::vector<double> d = {7}, e = {7}, z = {7};
  int flag = -1;
  PACKEDFACTOR(1, 1e-14, std::vector<double>{3}, d, e, z, flag);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(d[0], 7);
  EXPECT_EQ(e[0], 7);
  EXPECT_EQ(z[0], 7);
  std::vector<double> d2(2), e2(2), z2(4);
  PACKEDFACTOR(2, 1e-14, std::vector<double>{1, std::numeric_limits<double>::quiet_NaN(), 1}, d2, e2, z2, flag);
  EXPECT_EQ(flag, 1);
}

}  // namespace
