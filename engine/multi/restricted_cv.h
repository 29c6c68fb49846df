// Maximum-likelihood estimation of r cointegrating vectors under linear restrictions, on
// the product-moment matrices the Johansen estimation leaves, free of dialogues: the same
// restrictions on every vector, some or all vectors known, restrictions on one vector, and
// general restrictions H·θ = h0 on θ = (vector 1, ..., vector r), exactly identified or
// over-identified, with the likelihood-ratio statistic and the standard errors.
//
// The criterion of vectors β (k × r) is L = ln det(β'Aβ) − ln det(β'Bβ), A = S11 −
// S10·S00⁻¹·S01 and B = S11 (not divided by n); the log-likelihood is LL0 − (n/2)·L and
// the statistic of restrictions n·(L − L_J), L_J = Σ_{i≤r} ln(1 − λ_i).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "engine/multi/johansen_core.h"

namespace qorv::multi {

/// What the restricted estimation works on.
struct CvProblem {
  int k = 0;  ///< coefficients of one vector
  int r = 0;  ///< vectors
  int n = 0;  ///< observations
  std::vector<double> a;  ///< packed k × k: S11 − S10·S00⁻¹·S01
  std::vector<double> b;  ///< packed k × k: S11
  double ll0 = 0.0;
  double johansen_criterion = 0.0;  ///< Σ_{i≤r} ln(1 − λ_i)
  std::vector<double> johansen_beta;  ///< k × r, the first r Johansen vectors
};

/// The problem of rank r from a Johansen fit over n observations. Throws
/// std::invalid_argument when r is outside 1..k or the fit is incomplete, and
/// std::runtime_error when S00 cannot be inverted (the fit would have failed first).
CvProblem cv_problem(const JohansenFit& fit, int n, int r);

/// Why a restricted estimation stopped.
enum class CvFailure {
  kNone,
  kCollinearVectors,   ///< β'Aβ or β'Bβ cannot be factored or inverted
  kDependent,          ///< the restrictions are not linearly independent
  kNotEnough,          ///< a vector with fewer than r restrictions (`vector` names it)
  kNoNormalisation,    ///< a vector without a non-homogeneous restriction (`vector`)
  kSingular,           ///< back substitution: an inner matrix is singular
  kNoSt,               ///< back substitution: H·M⁻¹·H' cannot be inverted
  kNoQ,                ///< Newton-Raphson: Q cannot be inverted
  kNoHqh,              ///< Newton-Raphson: H·Q⁻¹·H' cannot be inverted
  kOverflowSwitching,  ///< a coefficient beyond kCvOverflow under back substitution
  kOverflowNewton,     ///< a coefficient beyond kCvOverflow under Newton-Raphson
  kEigen,              ///< an eigenvalue problem did not converge
};

/// The message of a failure; `vector` (from 1) for kNotEnough and kNoNormalisation.
std::string cv_failure_text(CvFailure failure, int vector = 0);

/// A restricted estimate.
struct CvEstimate {
  std::vector<double> beta;  ///< k × r
  std::vector<double> se;    ///< k × r, general restrictions only; the missing code for a variance at the floor
  double criterion = 0.0;    ///< L
  double loglik = 0.0;
  double lr = 0.0;
  int df = 0;
  int iterations = 0;  ///< positive converged, negative not converged, 0 none
};

/// L of vectors β (k × columns); false when they are collinear.
bool cv_criterion(const CvProblem& problem, std::span<const double> beta, int columns, double& value);

/// Fills the log-likelihood and the statistic of an estimate from its criterion and its
/// degrees of freedom (a statistic on 0 degrees of freedom is exactly 0).
void cv_statistics(const CvProblem& problem, CvEstimate& estimate);

/// The same homogeneous restrictions R·β_i = 0 on every vector (R: q × k, column-major,
/// leading dimension q): β = H·φ over the null space of R, by the reduced eigenvalue
/// problem; r·q degrees of freedom.
CvFailure same_restrictions(const CvProblem& problem, std::span<const double> R, int q, CvEstimate& out);

/// s known vectors (k × s, column-major), s <= r, and r − s free ones, by partialling the
/// known ones out; s·(k − r) degrees of freedom.
CvFailure known_vectors(const CvProblem& problem, std::span<const double> vectors, int s, CvEstimate& out);

/// The homogeneous restrictions R·β_1 = 0 (q × k, q >= r) on the first vector alone, by
/// switching between it and the others; q − r + 1 degrees of freedom.
CvFailure one_vector(const CvProblem& problem, std::span<const double> R, int q, CvEstimate& out);

/// General restrictions H·θ = h0: q rows over r·k parameters.
struct CvRestrictions {
  int q = 0;
  std::vector<double> h;   ///< q × r·k, column-major, leading dimension q
  std::vector<double> h0;  ///< q
};

/// The checks before an estimation: the rows are independent, every vector has at least r
/// restrictions and a non-homogeneous one.
CvFailure check_restrictions(const CvProblem& problem, const CvRestrictions& restrictions, int& vector);

/// `CHECKCVRESTRICT`: β = β_0·G with G (r × r) solving H·(I ⊗ β_0)·vec G = h0, in least
/// squares when there are more than r² rows. β_0 and β are k × r.
CvFailure CHECKCVRESTRICT(const CvProblem& problem, const CvRestrictions& restrictions,
                          std::span<const double> beta0, std::vector<double>& beta);

enum class CvAlgorithm : int {
  kBackSubstitution = 1,
  kNewtonRaphson = 2,
};

/// Coefficients beyond this stop the iteration.
inline constexpr double kCvOverflow = 72004899337.38605;
/// The criterion remembered before the first iteration.
inline constexpr double kCriterionSentinel = 10686474581524.451;
/// Iterations allowed before the user is asked.
inline constexpr int kCvIterationLimit = 100;
/// Iterations the iteration-limit dialogue adds.
inline constexpr int kCvIterationIncrement = 50;
/// Bounds of the damping factor of Newton-Raphson.
inline constexpr double kMinDamping = 0.01;
inline constexpr double kMaxDamping = 2.0;

/// The state of the iteration under general restrictions.
struct CvIteration {
  CvAlgorithm algorithm = CvAlgorithm::kNewtonRaphson;
  double damping = 1.0;
  int count = 0;
  int limit = kCvIterationLimit;
  std::vector<double> theta;  ///< the r vectors stacked
  double start_criterion = 0.0;
  double previous_c = kCriterionSentinel;
  bool converged = false;
};

/// Starts an iteration from vectors θ (r·k); fails when they are collinear.
CvFailure start_iteration(const CvProblem& problem, std::span<const double> theta, CvAlgorithm algorithm,
                          double damping, CvIteration& state);

/// One iteration: a step of the chosen algorithm, the criterion c = −n(L − L0), the
/// damping rule of Newton-Raphson (×1.5 after a step that raised c, ×0.5 after one that
/// did not, within its bounds), the overflow test and the convergence test: c changing by
/// at most 1e-5 and every vector's absolute changes summing to at most 1e-9·(k + the sum
/// of its absolute values). The steps shrink geometrically, often by half an iteration,
/// so a looser step test stops while the vectors are still far from the maximum.
CvFailure iterate(const CvProblem& problem, const CvRestrictions& restrictions, CvIteration& state);

/// The results of an iteration: under exactly identifying restrictions CHECKCVRESTRICT on
/// the final vectors; then the coefficients the restrictions determine are set from the
/// free ones, so that a coefficient they fix holds its value exactly. One Newton-Raphson
/// step with damping 1 gives the variance matrix P and the standard errors √P_ii / n (the
/// missing code when P_ii/n² is at most 1e-22, as for a coefficient the restrictions fix);
/// q − r² degrees of freedom. P is formed over the directions the restrictions leave free,
/// N·(N'QN)⁻¹·N', which equals Q⁻¹ − U·H·Q⁻¹ and is exactly zero where the restrictions fix
/// a coefficient. `iterations` is the count, negative when the iteration did not converge.
CvFailure finish_iteration(const CvProblem& problem, const CvRestrictions& restrictions, const CvIteration& state,
                           CvEstimate& out);

/// The whole estimation under general restrictions without a dialogue: CHECKCVRESTRICT on
/// the Johansen vectors, then the iteration to convergence or `limit` iterations.
CvFailure general_restrictions(const CvProblem& problem, const CvRestrictions& restrictions, CvAlgorithm algorithm,
                               double damping, CvEstimate& out, int limit = kCvIterationLimit);

}  // namespace qorv::multi
