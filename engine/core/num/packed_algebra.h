// Products of packed symmetric matrices: the Kronecker product of two packed matrices,
// the likelihood criterion of given cointegrating vectors (COINTLOGLIK) and the matrix
// chain of the restricted cointegrating-vector estimation (PACKEDSYMALGEBRA).
#pragma once

#include <span>

namespace qorv::core {

/// C (packed, order n·m) = A ⊗ B for A packed of order n and B packed of order m:
/// C((i − 1)·m + r, (j − 1)·m + s) = A(i, j)·B(r, s).
void KRONPACKED(std::span<const double> A, int n, std::span<const double> B, int m,
                std::span<double> C);

/// out1 = B'·S1·B and out2 = B'·S2·B (packed, order c) for B (d × c, column-major) and S1,
/// S2 packed of order d; element (i, j) = Σ_u Σ_v B(u, i)·S(u, v)·B(v, j), summed in
/// extended precision. fail = 0. With `with_likelihood` non-zero it goes on to factor out1
/// and then out2 (PACKEDCHOLESKY, which leaves the factors in them) and sets
/// result = ln det(B'S1B) − ln det(B'S2B), each as twice the sum of the logarithms of the
/// factor's diagonal; a failed factorisation (collinear vectors) gives fail = 1 and leaves
/// `result` untouched. In the cointegration analysis S1 = S11 − S10·S00⁻¹·S01 and S2 = S11.
void COINTLOGLIK(std::span<const double> B, std::span<const double> S1,
                 std::span<const double> S2, std::span<double> out1, std::span<double> out2,
                 int c, int d, int with_likelihood, double& result, int& fail);

/// The matrix chain of the restricted cointegration step, for P and Q packed of order d,
/// B (d × c) and e = c·d:
///   R (e × e) = (B'PB)⁻¹ ⊗ (P − PB(B'PB)⁻¹B'P) − K·(G ⊗ G'),  G = PB(B'PB)⁻¹ (d × c, out),
/// K being the commutation matrix (K((i − 1)·d + j, (j − 1)·c + i) = 1), which is the
/// Hessian of ½·ln det(B'PB) with respect to vec B. Q enters only the discarded B'QB.
/// Work arrays: S at least max(c(c+1)/2, d·c) values, T at least max(c(c+1)/2, d·d, c·d),
/// K1, K2 and K3 at least e·e; R at least e·e. K1 is left holding
/// (B'PB)⁻¹ ⊗ (P − PB(B'PB)⁻¹B'P). fail = 1 when B'PB cannot be inverted: the chain stops
/// there and G, K1, R, K2 and K3 are not written. Cost: about e³ multiply-adds.
void PACKEDSYMALGEBRA(std::span<const double> P, std::span<const double> Q,
                      std::span<const double> B, std::span<double> S, std::span<double> T,
                      std::span<double> G, std::span<double> K1, std::span<double> R,
                      std::span<double> K2, std::span<double> K3, int c, int d, int e, int& fail);

}  // namespace qorv::core
