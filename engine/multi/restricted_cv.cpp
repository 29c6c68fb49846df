#include "engine/multi/restricted_cv.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "engine/core/num/matrices.h"
#include "engine/multi/restriction_setup.h"
#include "shared/exchange_slots.h"

namespace qorv::multi {

namespace {

using Mat = std::vector<double>;
using core::PACKEDINDEX;

constexpr double kEigenTolerance = 1e-11;
constexpr double kCriterionChange = 0.00001;
/// The steps shrink geometrically, so the last step understates the distance left: a
/// vector's absolute changes must sum to at most this fraction of k plus its size.
constexpr double kStepTolerance = 1e-9;
constexpr double kVarianceFloor = 1e-22;
constexpr int kSwitchingLimit = 1000;

std::size_t u(int x) { return static_cast<std::size_t>(x); }
std::size_t packed_size(int n) { return u(n) * u(n + 1) / 2; }

double& pk(Mat& p, int i, int j) { return p[static_cast<std::size_t>(PACKEDINDEX(i, j) - 1)]; }
double pk(const Mat& p, int i, int j) { return p[static_cast<std::size_t>(PACKEDINDEX(i, j) - 1)]; }

Mat dense(const Mat& p, int n) {
  Mat d(u(n) * u(n));
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) d[u(j - 1) * u(n) + u(i - 1)] = pk(p, i, j);
  return d;
}

Mat packed(const Mat& d, int n) {
  Mat p(packed_size(n));
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= i; ++j)
      pk(p, i, j) = 0.5 * (d[u(j - 1) * u(n) + u(i - 1)] + d[u(i - 1) * u(n) + u(j - 1)]);
  return p;
}

Mat mult(const Mat& a, int ra, int ca, const Mat& b, int cb) {
  Mat c(u(ra) * u(cb));
  core::MATMULT(a, b, ra, ca, cb, c);
  return c;
}

Mat transpose(const Mat& a, int ra, int ca) {
  Mat t(a.size());
  for (int i = 0; i < ra; ++i)
    for (int j = 0; j < ca; ++j) t[u(i) * u(ca) + u(j)] = a[u(j) * u(ra) + u(i)];
  return t;
}

/// X'·S·X (packed c × c) for S packed k × k and X k × c.
Mat quadratic(const Mat& s, int k, const Mat& x, int c) {
  const Mat sx = mult(dense(s, k), k, k, x, c);
  return packed(mult(transpose(x, k, c), c, k, sx, c), c);
}

bool invert_packed(Mat& p, int n) {
  int fail = 0;
  core::INVERTSYMPACKED(p, n, fail);
  return fail == 0;
}

bool invert_lu(Mat& d, int n) {
  int status = 0;
  core::INVERTLU(d, n, status);
  return status == 0;
}

/// The `count` largest eigenvalues of D⁻¹N (N, D packed s × s, D positive definite) and
/// their vectors φ with φ'Dφ = I.
CvFailure reduced_eigen(const Mat& numerator, const Mat& denominator, int s, int count, Mat& values, Mat& vectors) {
  Mat lambda, v;
  if (!symmetric_eigen(denominator, s, kEigenTolerance, lambda, v)) return CvFailure::kEigen;
  if (!(lambda.back() > kEigenTolerance * lambda.front())) return CvFailure::kCollinearVectors;
  Mat w(u(s) * u(s));
  for (int j = 0; j < s; ++j)
    for (int i = 0; i < s; ++i) w[u(j) * u(s) + u(i)] = v[u(j) * u(s) + u(i)] / std::sqrt(lambda[u(j)]);
  Mat mu, z;
  if (!symmetric_eigen(quadratic(numerator, s, w, s), s, kEigenTolerance, mu, z)) return CvFailure::kEigen;
  values.assign(mu.begin(), mu.begin() + count);
  const Mat phi = mult(w, s, s, z, s);
  vectors.assign(phi.begin(), phi.begin() + static_cast<std::ptrdiff_t>(u(s) * u(count)));
  return CvFailure::kNone;
}

/// The null space (k × (k − q)) of the q × k matrix R; false when R's rows are dependent.
bool null_space(const Mat& r, int q, int k, Mat& out, int& columns) {
  RestrictionPartition partition;
  if (!restriction_partition(r, {}, q, k, partition)) return false;
  out = partition.null_space;
  columns = partition.free;
  return true;
}

/// X − X·f·(f'Xf)⁻¹·f'·X (packed k × k) for the vectors f (k × c); false when f'Xf is singular.
bool partialled(const Mat& x, int k, const Mat& f, int c, Mat& out) {
  out = x;
  if (c == 0) return true;
  Mat ff = quadratic(x, k, f, c);
  if (!invert_packed(ff, c)) return false;
  const Mat xf = mult(dense(x, k), k, k, f, c);  // k × c
  const Mat g = mult(xf, k, c, dense(ff, c), c);   // k × c
  const Mat correction = mult(g, k, c, transpose(xf, k, c), k);
  const Mat full = dense(x, k);
  Mat result(full.size());
  for (std::size_t i = 0; i < full.size(); ++i) result[i] = full[i] - correction[i];
  out = packed(result, k);
  return true;
}

/// The `count` best vectors in the span of `space` (k × s) with the vectors `fixed` (k × f)
/// partialled out: (k × count), with the eigenvalues μ of the partialled problem.
CvFailure best_vectors(const CvProblem& p, const Mat& fixed, int f, const Mat& space, int s, int count, Mat& out,
                       Mat& mu) {
  if (s < count) return CvFailure::kCollinearVectors;
  Mat a, b;
  if (!partialled(p.a, p.k, fixed, f, a) || !partialled(p.b, p.k, fixed, f, b)) return CvFailure::kCollinearVectors;
  Mat difference(b.size());
  for (std::size_t i = 0; i < b.size(); ++i) difference[i] = b[i] - a[i];
  Mat phi;
  const CvFailure failure =
      reduced_eigen(quadratic(difference, p.k, space, s), quadratic(b, p.k, space, s), s, count, mu, phi);
  if (failure != CvFailure::kNone) return failure;
  out = mult(space, p.k, s, phi, count);
  return CvFailure::kNone;
}

Mat joined(const Mat& left, const Mat& right) {
  Mat out = left;
  out.insert(out.end(), right.begin(), right.end());
  return out;
}

/// The estimate of vectors β from their criterion.
CvFailure finish(const CvProblem& p, Mat beta, int df, CvEstimate& out) {
  out = CvEstimate{};
  if (!cv_criterion(p, beta, p.r, out.criterion)) return CvFailure::kCollinearVectors;
  out.beta = std::move(beta);
  out.df = df;
  cv_statistics(p, out);
  return CvFailure::kNone;
}

/// What one step at θ shares: β'Aβ and β'Bβ inverted, the score s and W = (β'Aβ)⁻¹ − (β'Bβ)⁻¹.
struct StepTerms {
  Mat score;  ///< r·k
  Mat w;      ///< packed r × r
};

CvFailure step_terms(const CvProblem& p, const Mat& theta, StepTerms& t) {
  const int k = p.k;
  const int r = p.r;
  Mat ata = quadratic(p.a, k, theta, r);
  Mat btb = quadratic(p.b, k, theta, r);
  if (!invert_packed(ata, r) || !invert_packed(btb, r)) return CvFailure::kCollinearVectors;
  const Mat ga = mult(mult(dense(p.a, k), k, k, theta, r), k, r, dense(ata, r), r);
  const Mat gb = mult(mult(dense(p.b, k), k, k, theta, r), k, r, dense(btb, r), r);
  t.score.assign(ga.size(), 0.0);
  for (std::size_t i = 0; i < ga.size(); ++i) t.score[i] = -(ga[i] - gb[i]) / p.n;
  t.w.assign(ata.size(), 0.0);
  for (std::size_t i = 0; i < ata.size(); ++i) t.w[i] = ata[i] - btb[i];
  return CvFailure::kNone;
}

/// θ + λ·P·s − U·(Hθ − h0) with U = Q⁻¹H'(HQ⁻¹H')⁻¹ and P = Q⁻¹ − U·H·Q⁻¹, given Q⁻¹
/// (N × N); `hqh_failure` when H·Q⁻¹·H' cannot be inverted.
CvFailure projected_step(const CvRestrictions& c, const Mat& theta, const Mat& score, const Mat& q_inverse, double damping,
                         CvFailure hqh_failure, Mat& next) {
  const int nn = static_cast<int>(theta.size());
  const int q = c.q;
  const Mat ht = transpose(c.h, q, nn);                 // N × q
  const Mat qiht = mult(q_inverse, nn, nn, ht, q);      // N × q
  Mat hqh = mult(c.h, q, nn, qiht, q);                  // q × q
  if (!invert_lu(hqh, q)) return hqh_failure;
  const Mat um = mult(qiht, nn, q, hqh, q);             // N × q
  const Mat hqi = transpose(qiht, nn, q);               // q × N: H·Q⁻¹ (Q⁻¹ symmetric)
  Mat pm = q_inverse;
  const Mat uhq = mult(um, nn, q, hqi, nn);
  for (std::size_t i = 0; i < pm.size(); ++i) pm[i] -= uhq[i];
  const Mat ps = mult(pm, nn, nn, score, 1);
  Mat residual = mult(c.h, q, nn, theta, 1);
  for (int i = 0; i < q; ++i) residual[u(i)] -= c.h0[u(i)];
  const Mat correction = mult(um, nn, q, residual, 1);
  next.assign(theta.size(), 0.0);
  for (std::size_t i = 0; i < theta.size(); ++i) next[i] = theta[i] + damping * ps[i] - correction[i];
  return CvFailure::kNone;
}

/// Back substitution: α and Ω given β, then vec β by GLS under the restrictions. With
/// M = n·W ⊗ B the GLS matrix, M⁻¹ = W⁻¹ ⊗ B⁻¹ / n comes from the two small inverses.
CvFailure switching_step(const CvProblem& p, const CvRestrictions& c, const Mat& theta, Mat& next) {
  StepTerms t;
  CvFailure failure = step_terms(p, theta, t);
  if (failure != CvFailure::kNone) return failure;
  Mat w_inverse = t.w;
  Mat b_inverse = p.b;
  if (!invert_packed(w_inverse, p.r) || !invert_packed(b_inverse, p.k)) return CvFailure::kSingular;
  const int nn = p.r * p.k;
  Mat q_inverse(u(nn) * u(nn));  // (W ⊗ B / n)⁻¹ = n·W⁻¹ ⊗ B⁻¹
  core::KRONECKER(dense(w_inverse, p.r), p.r, p.r, dense(b_inverse, p.k), p.k, p.k, q_inverse);
  for (double& x : q_inverse) x *= p.n;
  return projected_step(c, theta, t.score, q_inverse, 1.0, CvFailure::kNoSt, next);
}

/// Modified Newton-Raphson with the scoring matrix Q = W ⊗ B / n.
CvFailure newton_step(const CvProblem& p, const CvRestrictions& c, const Mat& theta, double damping, Mat& next) {
  StepTerms t;
  CvFailure failure = step_terms(p, theta, t);
  if (failure != CvFailure::kNone) return failure;
  const int nn = p.r * p.k;
  Mat q(u(nn) * u(nn));
  core::KRONECKER(dense(t.w, p.r), p.r, p.r, dense(p.b, p.k), p.k, p.k, q);
  for (double& x : q) x /= p.n;
  if (!invert_lu(q, nn)) return CvFailure::kNoQ;
  return projected_step(c, theta, t.score, q, damping, CvFailure::kNoHqh, next);
}

/// N·(N'QN)⁻¹·N' times n² for Q = W ⊗ B / n at θ.
CvFailure free_variance(const CvProblem& p, const CvRestrictions& c, const Mat& theta, Mat& out) {
  const int nn = p.r * p.k;
  RestrictionPartition partition;
  if (!restriction_partition(c.h, c.h0, c.q, nn, partition)) return CvFailure::kDependent;
  const int f = partition.free;
  out.assign(u(nn) * u(nn), 0.0);
  if (f == 0) return CvFailure::kNone;
  StepTerms t;
  const CvFailure failure = step_terms(p, theta, t);
  if (failure != CvFailure::kNone) return failure;
  Mat q(u(nn) * u(nn));
  core::KRONECKER(dense(t.w, p.r), p.r, p.r, dense(p.b, p.k), p.k, p.k, q);
  for (double& x : q) x /= p.n;
  const Mat& basis = partition.null_space;
  Mat inner = packed(mult(transpose(basis, nn, f), f, nn, mult(q, nn, nn, basis, f), f), f);
  if (!invert_packed(inner, f)) return CvFailure::kNoQ;
  out = mult(mult(basis, nn, f, dense(inner, f), f), nn, f, transpose(basis, nn, f), nn);
  return CvFailure::kNone;
}

}  // namespace

CvProblem cv_problem(const JohansenFit& fit, int n, int r) {
  const int k = fit.k;
  const int m = fit.m;
  if (k < 1 || m < 1 || r < 1 || r > k || n < 1 || fit.s00.size() < packed_size(m) ||
      fit.s11.size() < packed_size(k) || fit.s01.size() < u(m) * u(k) || fit.beta.size() < u(k) * u(k) ||
      fit.eigenvalues.size() < u(k))
    throw std::invalid_argument("cv_problem: r outside 1..k or an incomplete fit");
  CvProblem p;
  p.k = k;
  p.r = r;
  p.n = n;
  p.ll0 = fit.ll0;
  p.b = Mat(fit.s11.begin(), fit.s11.begin() + static_cast<std::ptrdiff_t>(packed_size(k)));
  Mat s00_inverse(fit.s00.begin(), fit.s00.begin() + static_cast<std::ptrdiff_t>(packed_size(m)));
  if (!invert_packed(s00_inverse, m)) throw std::runtime_error("cv_problem: S00 cannot be inverted");
  const Mat s01(fit.s01.begin(), fit.s01.begin() + static_cast<std::ptrdiff_t>(u(m) * u(k)));
  const Mat m10 = quadratic(s00_inverse, m, s01, k);  // S10·S00⁻¹·S01
  p.a = p.b;
  for (std::size_t i = 0; i < p.a.size(); ++i) p.a[i] -= m10[i];
  for (int i = 0; i < r; ++i) p.johansen_criterion += std::log(1.0 - fit.eigenvalues[u(i)]);
  p.johansen_beta.assign(fit.beta.begin(), fit.beta.begin() + static_cast<std::ptrdiff_t>(u(k) * u(r)));
  return p;
}

std::string cv_failure_text(CvFailure failure, int vector) {
  switch (failure) {
    case CvFailure::kNone: return {};
    case CvFailure::kCollinearVectors: return "Two or more CV's are collinear! Specify another set of restrictions.";
    case CvFailure::kDependent: return "The specified linear restrictions are not linearly independent!";
    case CvFailure::kNotEnough: return "Not enough restrictions on CV " + std::to_string(vector);
    case CvFailure::kNoNormalisation:
      return "There is no non-homogenous (normalisation) restriction on CV " + std::to_string(vector);
    case CvFailure::kSingular: return "******Singular matrix!******";
    case CvFailure::kNoSt: return " Could not invert ST!";
    case CvFailure::kNoQ: return " Could not invert Q!";
    case CvFailure::kNoHqh: return " Could not invert HQ(-1)HPRIME!";
    case CvFailure::kOverflowSwitching: return "Very large values encountered! Try the modified Newton Raphson algorithm";
    case CvFailure::kOverflowNewton: return "Very large values encountered! Restart with another damping factor";
    case CvFailure::kEigen: return core::kEigenFailureText;
  }
  return {};
}

bool cv_criterion(const CvProblem& problem, std::span<const double> beta, int columns, double& value) {
  if (columns < 1 || beta.size() < u(problem.k) * u(columns))
    throw std::invalid_argument("cv_criterion: fewer vectors than stated");
  Mat out1(packed_size(columns)), out2(packed_size(columns));
  int fail = 0;
  double result = 0.0;
  core::COINTLOGLIK(beta, problem.a, problem.b, out1, out2, columns, problem.k, 1, result, fail);
  if (fail != 0 || !std::isfinite(result)) return false;
  value = result;
  return true;
}

void cv_statistics(const CvProblem& problem, CvEstimate& estimate) {
  estimate.loglik = problem.ll0 - 0.5 * problem.n * estimate.criterion;
  // Restrictions with no degrees of freedom leave the likelihood where Johansen's vectors
  // put it: the statistic is 0 by definition, not the rounding of the two criteria. With
  // degrees of freedom, Johansen's vectors still maximise the likelihood, so a statistic
  // below zero is rounding and is shown as zero rather than as "-.0000".
  estimate.lr = estimate.df == 0 ? 0.0 : std::max(0.0, problem.n * (estimate.criterion - problem.johansen_criterion));
}

CvFailure same_restrictions(const CvProblem& problem, std::span<const double> R, int q, CvEstimate& out) {
  const Mat r(R.begin(), R.begin() + static_cast<std::ptrdiff_t>(u(q) * u(problem.k)));
  Mat space;
  int s = 0;
  if (!null_space(r, q, problem.k, space, s)) return CvFailure::kDependent;
  Mat beta, mu;
  const CvFailure failure = best_vectors(problem, {}, 0, space, s, problem.r, beta, mu);
  if (failure != CvFailure::kNone) return failure;
  return finish(problem, std::move(beta), problem.r * q, out);
}

CvFailure known_vectors(const CvProblem& problem, std::span<const double> vectors, int s, CvEstimate& out) {
  const int k = problem.k;
  if (s < 1 || s > problem.r || vectors.size() < u(k) * u(s))
    throw std::invalid_argument("known_vectors: 1 to r vectors of k values");
  const Mat known(vectors.begin(), vectors.begin() + static_cast<std::ptrdiff_t>(u(k) * u(s)));
  Mat beta = known;
  if (s < problem.r) {
    Mat space;
    int free = 0;
    if (!null_space(transpose(known, k, s), s, k, space, free)) return CvFailure::kCollinearVectors;
    Mat rest, mu;
    const CvFailure failure = best_vectors(problem, known, s, space, free, problem.r - s, rest, mu);
    if (failure != CvFailure::kNone) return failure;
    beta = joined(known, rest);
  }
  return finish(problem, std::move(beta), s * (k - problem.r), out);
}

CvFailure one_vector(const CvProblem& problem, std::span<const double> R, int q, CvEstimate& out) {
  const int k = problem.k;
  const int r = problem.r;
  const Mat rm(R.begin(), R.begin() + static_cast<std::ptrdiff_t>(u(q) * u(k)));
  Mat space;
  int s = 0;
  if (!null_space(rm, q, k, space, s)) return CvFailure::kDependent;
  Mat first, mu;
  CvFailure failure = best_vectors(problem, {}, 0, space, s, 1, first, mu);
  if (failure != CvFailure::kNone) return failure;
  Mat others;
  double previous = 0.0;
  for (int iteration = 0; r > 1 && iteration < kSwitchingLimit; ++iteration) {
    // The other vectors given the first, then the first given the others.
    Mat complement;
    int free = 0;
    if (!null_space(transpose(first, k, 1), 1, k, complement, free)) return CvFailure::kCollinearVectors;
    failure = best_vectors(problem, first, 1, complement, free, r - 1, others, mu);
    if (failure != CvFailure::kNone) return failure;
    failure = best_vectors(problem, others, r - 1, space, s, 1, first, mu);
    if (failure != CvFailure::kNone) return failure;
    double criterion = 0.0;
    if (!cv_criterion(problem, joined(first, others), r, criterion)) return CvFailure::kCollinearVectors;
    if (iteration > 0 && std::abs(criterion - previous) <= 1e-14 * std::max(1.0, std::abs(criterion))) break;
    previous = criterion;
  }
  return finish(problem, r > 1 ? joined(first, others) : first, q - r + 1, out);
}

CvFailure check_restrictions(const CvProblem& problem, const CvRestrictions& c, int& vector) {
  const int nn = problem.r * problem.k;
  vector = 0;
  if (c.q < 1 || c.h.size() < u(c.q) * u(nn) || c.h0.size() < u(c.q))
    throw std::invalid_argument("check_restrictions: H or h0 shorter than stated");
  Mat hh = packed(mult(c.h, c.q, nn, transpose(c.h, c.q, nn), c.q), c.q);
  if (!invert_packed(hh, c.q)) return CvFailure::kDependent;
  for (int v = 0; v < problem.r; ++v) {
    int count = 0;
    bool normalised = false;
    for (int i = 0; i < c.q; ++i) {
      bool touches = false;
      for (int j = v * problem.k; j < (v + 1) * problem.k; ++j)
        touches = touches || c.h[u(j) * u(c.q) + u(i)] != 0.0;
      if (!touches) continue;
      ++count;
      normalised = normalised || c.h0[u(i)] != 0.0;
    }
    vector = v + 1;
    if (count < problem.r) return CvFailure::kNotEnough;
    if (!normalised) return CvFailure::kNoNormalisation;
  }
  vector = 0;
  return CvFailure::kNone;
}

CvFailure CHECKCVRESTRICT(const CvProblem& problem, const CvRestrictions& c, std::span<const double> beta0,
                          std::vector<double>& beta) {
  const int k = problem.k;
  const int r = problem.r;
  const int g = r * r;
  if (beta0.size() < u(k) * u(r)) throw std::invalid_argument("CHECKCVRESTRICT: fewer vectors than r");
  // X = H·(I ⊗ β0), q × r²: column i·r + j is block i of H times vector j of β0.
  Mat x(u(c.q) * u(g), 0.0);
  for (int i = 0; i < r; ++i)
    for (int j = 0; j < r; ++j)
      for (int row = 0; row < c.q; ++row) {
        double sum = 0.0;
        for (int l = 0; l < k; ++l) sum += c.h[u(i * k + l) * u(c.q) + u(row)] * beta0[u(j) * u(k) + u(l)];
        x[u(i * r + j) * u(c.q) + u(row)] = sum;
      }
  const Mat xt = transpose(x, c.q, g);
  Mat xx = packed(mult(xt, g, c.q, x, g), g);
  if (!invert_packed(xx, g)) return CvFailure::kCollinearVectors;
  const Mat xh = mult(xt, g, c.q, c.h0, 1);
  const Mat vec_g = mult(dense(xx, g), g, g, xh, 1);  // G (r × r), column-major
  const Mat b0(beta0.begin(), beta0.begin() + static_cast<std::ptrdiff_t>(u(k) * u(r)));
  beta = mult(b0, k, r, vec_g, r);
  double criterion = 0.0;
  if (!cv_criterion(problem, beta, r, criterion)) return CvFailure::kCollinearVectors;
  return CvFailure::kNone;
}

CvFailure start_iteration(const CvProblem& problem, std::span<const double> theta, CvAlgorithm algorithm,
                          double damping, CvIteration& state) {
  state = CvIteration{};
  state.algorithm = algorithm;
  state.damping = damping;
  state.theta.assign(theta.begin(), theta.begin() + static_cast<std::ptrdiff_t>(u(problem.r) * u(problem.k)));
  if (!cv_criterion(problem, state.theta, problem.r, state.start_criterion)) return CvFailure::kCollinearVectors;
  return CvFailure::kNone;
}

CvFailure iterate(const CvProblem& problem, const CvRestrictions& restrictions, CvIteration& state) {
  ++state.count;
  Mat next;
  const bool newton = state.algorithm == CvAlgorithm::kNewtonRaphson;
  const CvFailure failure = newton ? newton_step(problem, restrictions, state.theta, state.damping, next)
                                   : switching_step(problem, restrictions, state.theta, next);
  if (failure != CvFailure::kNone) return failure;
  double criterion = 0.0;
  if (!cv_criterion(problem, next, problem.r, criterion)) return CvFailure::kCollinearVectors;
  const double c = -problem.n * (criterion - state.start_criterion);
  if (newton && state.count >= 2)
    state.damping = c > state.previous_c ? std::min(kMaxDamping, state.damping * 1.5)
                                         : std::max(kMinDamping, state.damping * 0.5);
  for (const double x : next)
    if (!(std::abs(x) <= kCvOverflow)) return newton ? CvFailure::kOverflowNewton : CvFailure::kOverflowSwitching;
  bool small = std::abs(c - state.previous_c) <= kCriterionChange;
  for (int v = 0; v < problem.r && small; ++v) {
    double change = 0.0;
    double size = 0.0;
    for (int i = v * problem.k; i < (v + 1) * problem.k; ++i) {
      change += std::abs(next[u(i)] - state.theta[u(i)]);
      size += std::abs(next[u(i)]);
    }
    small = change <= kStepTolerance * (problem.k + size);
  }
  state.converged = small;
  state.theta = std::move(next);
  state.previous_c = c;
  return CvFailure::kNone;
}

CvFailure finish_iteration(const CvProblem& problem, const CvRestrictions& restrictions, const CvIteration& state,
                           CvEstimate& out) {
  // The variance of the Newton-Raphson step with damping 1, P = Q⁻¹ − U·H·Q⁻¹, formed as
  // N·(N'QN)⁻¹·N' over a basis N of the directions the restrictions leave free: the same
  // matrix, with an exact 0 for an element the restrictions fix rather than rounding.
  Mat p;
  CvFailure failure = free_variance(problem, restrictions, state.theta, p);
  if (failure != CvFailure::kNone) return failure;
  // Exactly identified: the vectors the restrictions identify from the final ones.
  Mat beta = state.theta;
  if (restrictions.q == problem.r * problem.r) {
    failure = CHECKCVRESTRICT(problem, restrictions, state.theta, beta);
    if (failure != CvFailure::kNone) return failure;
  }
  // Then the coefficients the restrictions determine are set from the free ones, so that
  // the vectors satisfy the restrictions exactly and a coefficient the restrictions fix
  // holds the value they give it (1, not 0.9999999999999998).
  RestrictionPartition partition;
  if (!restriction_partition(restrictions.h, restrictions.h0, restrictions.q, problem.r * problem.k, partition))
    return CvFailure::kDependent;
  const auto q = u(restrictions.q);
  for (std::size_t i = 0; i < q; ++i) {
    double value = partition.reduced_constants[i];
    for (std::size_t f = q; f < partition.order.size(); ++f) {
      const auto column = u(partition.order[f] - 1);
      value -= partition.reduced[column * q + i] * beta[column];
    }
    beta[u(partition.order[i] - 1)] = value;
  }
  failure = finish(problem, std::move(beta), restrictions.q - problem.r * problem.r, out);
  if (failure != CvFailure::kNone) return failure;
  const int nn = problem.r * problem.k;
  const double n2 = static_cast<double>(problem.n) * problem.n;
  out.se.assign(u(nn), limits::kMissing);
  for (int i = 0; i < nn; ++i) {
    const double variance = p[u(i) * u(nn) + u(i)] / n2;
    if (variance > kVarianceFloor) out.se[u(i)] = std::sqrt(variance);
  }
  out.iterations = state.converged ? state.count : -state.count;
  return CvFailure::kNone;
}

CvFailure general_restrictions(const CvProblem& problem, const CvRestrictions& restrictions, CvAlgorithm algorithm,
                               double damping, CvEstimate& out, int limit) {
  int vector = 0;
  CvFailure failure = check_restrictions(problem, restrictions, vector);
  if (failure != CvFailure::kNone) return failure;
  Mat start;
  failure = CHECKCVRESTRICT(problem, restrictions, problem.johansen_beta, start);
  if (failure != CvFailure::kNone) return failure;
  CvIteration state;
  failure = start_iteration(problem, start, algorithm, damping, state);
  if (failure != CvFailure::kNone) return failure;
  state.limit = limit;
  while (!state.converged && state.count < state.limit) {
    failure = iterate(problem, restrictions, state);
    if (failure != CvFailure::kNone) return failure;
  }
  return finish_iteration(problem, restrictions, state, out);
}

}  // namespace qorv::multi
