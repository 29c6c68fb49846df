#include "engine/core/num/packed_algebra.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/core/num/dense.h"
#include "engine/core/num/num_detail.h"
#include "engine/core/num/packed_factor.h"

namespace qorv::core {

namespace {

using num_detail::packed_at;
using num_detail::packed_size;
using num_detail::require;

std::size_t prod(int a, int b) { return static_cast<std::size_t>(a) * static_cast<std::size_t>(b); }

/// out = B'·S·B (packed, order c), S packed of order d, B d × c.
void congruence(std::span<const double> B, std::span<const double> S, int c, int d,
                std::span<double> out) {
  const auto ud = static_cast<std::size_t>(d);
  std::vector<long double> w(ud);  // S·B(:, j)
  for (long j = 1; j <= c; ++j) {
    const double* bj = B.data() + static_cast<std::size_t>(j - 1) * ud;
    for (long u = 1; u <= d; ++u) {
      long double s = 0;
      for (long v = 1; v <= d; ++v) s += static_cast<long double>(S[packed_at(u, v)]) * bj[v - 1];
      w[static_cast<std::size_t>(u - 1)] = s;
    }
    for (long i = j; i <= c; ++i) {
      const double* bi = B.data() + static_cast<std::size_t>(i - 1) * ud;
      long double s = 0;
      for (std::size_t u = 0; u < ud; ++u) s += bi[u] * w[u];
      out[packed_at(i, j)] = static_cast<double>(s);
    }
  }
}

long double log_det_from_factor(std::span<const double> U, int n) {
  long double s = 0;
  for (long i = 1; i <= n; ++i) s += std::log(static_cast<long double>(U[packed_at(i, i)]));
  return 2.0L * s;
}

/// Full n × n (column-major) copy of the packed matrix A.
void unpack(std::span<const double> A, int n, std::span<double> full) {
  for (long j = 1; j <= n; ++j)
    for (long i = 1; i <= n; ++i) full[static_cast<std::size_t>((j - 1) * n + i - 1)] = A[packed_at(i, j)];
}

}  // namespace

void KRONPACKED(std::span<const double> A, int n, std::span<const double> B, int m,
                std::span<double> C) {
  require(n >= 0 && m >= 0 && A.size() >= packed_size(n) && B.size() >= packed_size(m) &&
              C.size() >= packed_size(static_cast<long>(n) * m),
          "KRONPACKED: negative order, or A, B or C too short");
  const long nm = static_cast<long>(n) * m;
  for (long I = 1; I <= nm; ++I)
    for (long J = 1; J <= I; ++J) {
      const long i = (I - 1) / m + 1, r = (I - 1) % m + 1;
      const long j = (J - 1) / m + 1, s = (J - 1) % m + 1;
      C[packed_at(I, J)] = A[packed_at(i, j)] * B[packed_at(r, s)];
    }
}

void COINTLOGLIK(std::span<const double> B, std::span<const double> S1,
                 std::span<const double> S2, std::span<double> out1, std::span<double> out2,
                 int c, int d, int with_likelihood, double& result, int& fail) {
  require(c >= 0 && d >= 0 && B.size() >= prod(d, c) && S1.size() >= packed_size(d) &&
              S2.size() >= packed_size(d) && out1.size() >= packed_size(c) &&
              out2.size() >= packed_size(c),
          "COINTLOGLIK: negative size, or an array too short");
  fail = 0;
  congruence(B, S1, c, d, out1);
  congruence(B, S2, c, d, out2);
  if (with_likelihood == 0) return;
  PACKEDCHOLESKY(out1, c, fail);
  if (fail != 0) return;
  PACKEDCHOLESKY(out2, c, fail);
  if (fail != 0) return;
  result = static_cast<double>(log_det_from_factor(out1, c) - log_det_from_factor(out2, c));
}

void PACKEDSYMALGEBRA(std::span<const double> P, std::span<const double> Q,
                      std::span<const double> B, std::span<double> S, std::span<double> T,
                      std::span<double> G, std::span<double> K1, std::span<double> R,
                      std::span<double> K2, std::span<double> K3, int c, int d, int e, int& fail) {
  require(c >= 0 && d >= 0 && e == c * d, "PACKEDSYMALGEBRA: e must be c·d");
  const std::size_t ee = prod(e, e);
  require(S.size() >= std::max(packed_size(c), prod(d, c)) &&
              T.size() >= std::max({packed_size(c), prod(d, d), prod(c, d)}) &&
              G.size() >= prod(d, c) && K1.size() >= ee && R.size() >= ee && K2.size() >= ee &&
              K3.size() >= ee,
          "PACKEDSYMALGEBRA: a work array is too short");
  double unused = 0.0;
  COINTLOGLIK(B, P, Q, S, T, c, d, 0, unused, fail);  // S = B'PB, T = B'QB
  INVERTSYMPACKED(S, c, fail);
  if (fail != 0) return;
  unpack(S, c, R);                                    // R (c × c) = (B'PB)⁻¹
  unpack(P, d, T);                                    // T (d × d) = P
  KRONECKER(R, c, c, T, d, d, K1);                    // K1 = (B'PB)⁻¹ ⊗ P
  MATMULT(T, B, d, d, c, S);                          // S (d × c) = P·B
  MATMULT(S, R, d, c, c, G);                          // G = PB(B'PB)⁻¹
  for (int i = 0; i < d; ++i)                         // T (c × d) = G'
    for (int j = 0; j < c; ++j) T[prod(i, c) + static_cast<std::size_t>(j)] = G[prod(j, d) + static_cast<std::size_t>(i)];
  KRONECKER(G, d, c, T, c, d, K2);                    // K2 = G ⊗ G'
  for (int i = 0; i < d; ++i)                         // K3 (c × d) = S'
    for (int j = 0; j < c; ++j) K3[prod(i, c) + static_cast<std::size_t>(j)] = S[prod(j, d) + static_cast<std::size_t>(i)];
  MATMULT(G, K3.first(prod(c, d)), d, c, d, T);       // T (d × d) = G·S' = PB(B'PB)⁻¹B'P
  KRONECKER(R, c, c, T, d, d, K3);                    // K3 = (B'PB)⁻¹ ⊗ T
  for (std::size_t i = 0; i < ee; ++i) K1[i] -= K3[i];
  std::fill(R.begin(), R.begin() + static_cast<long>(ee), 0.0);  // R = the commutation matrix
  for (int i = 1; i <= c; ++i)
    for (int j = 1; j <= d; ++j) {
      const std::size_t row = prod(i - 1, d) + static_cast<std::size_t>(j - 1);
      const std::size_t col = prod(j - 1, c) + static_cast<std::size_t>(i - 1);
      R[col * static_cast<std::size_t>(e) + row] = 1.0;
    }
  MATMULT(R, K2, e, e, e, K3);                        // K3 = K·(G ⊗ G')
  for (std::size_t i = 0; i < ee; ++i) R[i] = K1[i] - K3[i];
}

}  // namespace qorv::core
