// The engine's numerical matrix library: include this header to use any of it.
//
// Storage
// - A symmetric matrix of order n is packed: n(n+1)/2 doubles, element (i, j) (from 1) at
//   position PACKEDINDEX(i, j) = m(m − 1)/2 + k, m = max(i, j), k = min(i, j), i.e. at
//   0-based index PACKEDINDEX(i, j) − 1: the lower triangle row by row.
// - A triangular factor U (A = U'U, U upper) uses the same storage, U(i, j), i <= j, at
//   PACKEDINDEX(i, j); read as L = U' by rows it is the lower factor with A = L·L'.
// - Full matrices are column-major with their row count as leading dimension:
//   COLMAJORINDEX(n, i, j) = n·(j − 1) + i.
// - Data columns in the work array: observation t (1..n) of variable v is element
//   (v − 1)·ld + offset + t, ld = NOBS; regressor j is variable list[j] of the equation's
//   variable-number list, list[0] being the dependent variable.
//
// Conventions
// - Failure flags and status words are 0 on success and non-zero on failure; they report
//   numerical failure only. Arrays shorter than their stated shape, negative orders and
//   indexes outside the data throw std::invalid_argument (a caller's bug, not the data's).
// - Singularity is judged independently of the data's units: the packed factorisations
//   test the reduced pivot against 1e-11 of its diagonal (after an exact power-of-two
//   equilibration), LU against 1e-11 of the pivot row's largest element, MATRANKTOL
//   against 1e-9 of the original diagonal. NaN and infinite input is a failure everywhere.
// - INVERTSYMPACKED and PACKEDCHOLESKY, and every routine built on them, set the
//   numerical-failure word (numerical_state().failure) on failure; estimation entry points
//   clear it with clear_numerical_failure().
// - Cross products of data columns (X'X, W'X) come from the split kernels of
//   cross_products.h, within about half an ulp of the exact sums; other sums over
//   observations and inner products run in extended precision (long double). Each stored
//   element is rounded once.
// - Only INVERTLU, LUDECOMP, MATRANKTOL (no scratch memory), LOGDETERMINANT (failed
//   factorisation) and PACKEDPRODUCT (on request) talk to the user.
//
// Typical least-squares call, regressors list[1..k] over the n observations after the
// first-observation offset of the data matrix (leading dimension NOBS):
//   std::vector<double> b(k), fitted(n), resid(std::max(k, n)), m(k * (k + 1) / 2);
//   double rss = 0; int fail = 0;
//   PACKEDXTXSOLVE(work_array(), first_obs_offset, y, list, k, n, globals().nobs, 0, 0,
//                  b, fitted, resid, rss, m, fail);
// fail = 1: X'X is singular (numerical_state().failure is 1 as well) and nothing else was
// written; otherwise m holds (X'X)⁻¹, so the standard error of b(j) is
// sqrt(rss / (n − k) · m(j, j)), m(j, j) being m[PACKEDINDEX(j, j) − 1]. Further dependent
// columns on the same regressors: mode kSolveReuseInverse with the same m.
#pragma once

#include "engine/core/num/ar_covariance.h"
#include "engine/core/num/cross_products.h"
#include "engine/core/num/data_vectors.h"
#include "engine/core/num/dense.h"
#include "engine/core/num/eigen_solve.h"
#include "engine/core/num/gauss_jordan.h"
#include "engine/core/num/log_determinant.h"
#include "engine/core/num/lu.h"
#include "engine/core/num/numerical_state.h"
#include "engine/core/num/packed_algebra.h"
#include "engine/core/num/packed_factor.h"
#include "engine/core/num/packed_index.h"
#include "engine/core/num/packed_least_squares.h"
#include "engine/core/num/tridiagonal.h"
