// Restricted cointegrating vectors on reference case C3 (LC LY LI, VAR(2), unrestricted
// intercept, n = 196) against gretl's vecm with restrict and urca's blrtest and bh5lrtest:
// the restricted log-likelihood, the statistic and its degrees of freedom, the vectors and
// their standard errors, by both algorithms; the checks of the restrictions; the iteration.
#include "engine/multi/restricted_cv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/diagnostics/restriction_text.h"
#include "shared/exchange_slots.h"
#include "tests/engine/multi/coint_reference.h"
#include "tests/engine/single/macro_reference.h"

namespace {

using namespace qorv::multi;
using qorv::diagnostics::RestrictionKind;
using qorv::diagnostics::RestrictionOutcome;
using qorv::diagnostics::RestrictionSizes;
using qorv::testing::Expected;

constexpr int kN = 196;
constexpr int kKreg = 4;
constexpr double kRankTwoLoglik = 1771.3078818382935;  // case C3, RANK_LL:2

const JohansenFit& c3_fit() {
  static const JohansenFit fit = [] {
    const qorv::testing::CointCase c = qorv::testing::reference_case("C3");
    JohansenFit f;
    if (johansen_estimate(c.data, kJohansenTolerance, f) != JohansenFailure::kNone) throw std::runtime_error("C3");
    return f;
  }();
  return fit;
}

std::map<std::string, Expected> expected(const std::string& name) {
  return qorv::testing::read_expected(std::string(ZV_REFERENCE_DIR) + "/restricted-cv/expected.csv", name);
}

double value(const std::map<std::string, Expected>& e, const std::string& quantity) {
  const auto it = e.find(quantity);
  if (it == e.end()) throw std::runtime_error(quantity + " not in the reference");
  return it->second.value;
}

/// The general restrictions of a text on vectors of m coefficients, read as the editor
/// reads them (phase 2).
CvRestrictions typed(const std::string& text, int r, int m = 3) {
  RestrictionSizes sizes;
  sizes.kind = RestrictionKind::kGeneral;
  sizes.m = m;
  sizes.r = r;
  sizes.phase = 2;
  const auto parse = qorv::diagnostics::parse_restrictions(text, sizes);
  if (parse.outcome != RestrictionOutcome::kAccepted) throw std::runtime_error("not accepted: " + text);
  return CvRestrictions{parse.k, parse.matrix, parse.constants};
}

void expect_like_gretl(const CvEstimate& est, const std::string& name, int r) {
  const auto e = expected(name);
  EXPECT_NEAR(est.loglik, value(e, "LL"), 1e-9 * std::abs(value(e, "LL")));
  EXPECT_NEAR(est.lr, value(e, "LR"), 1e-6);
  // gretl divides the error covariance by n − kreg − r; the reference has scaled it back.
  for (int j = 1; j <= r; ++j)
    for (int i = 1; i <= 3; ++i) {
      const std::size_t at = static_cast<std::size_t>((j - 1) * 3 + i - 1);
      const std::string cell = std::to_string(i) + ":" + std::to_string(j);
      EXPECT_NEAR(est.beta[at], value(e, "BETA:" + cell), 1e-6) << cell;
      const double se = value(e, "SE:" + cell);
      if (se == 0.0)
        EXPECT_EQ(est.se[at], limits::kMissing) << cell;
      else
        EXPECT_NEAR(est.se[at], se, 1e-6 * se) << cell;
    }
}

TEST(RestrictedCv, GeneralRestrictionsAgreeWithGretlByBothAlgorithms) {
  struct Case {
    const char* name;
    int r;
    const char* text;
    int df;
  };
  const Case cases[] = {
      {"G1", 1, "A1=1; A2=-1", 1},
      {"G2E", 2, "A1=1; A2=0; B1=0; B2=1", 0},
      {"G2O", 2, "A1=1; A2=0; B1=0; B2=1; A3=B3", 1},
  };
  for (const Case& c : cases) {
    const CvProblem problem = cv_problem(c3_fit(), kN, c.r);
    const CvRestrictions restrictions = typed(c.text, c.r);
    std::vector<double> first;
    for (const CvAlgorithm algorithm : {CvAlgorithm::kBackSubstitution, CvAlgorithm::kNewtonRaphson}) {
      for (const double damping : {1.0, 0.01}) {
        if (algorithm == CvAlgorithm::kBackSubstitution && damping != 1.0) continue;
        SCOPED_TRACE(std::string(c.name) + " algorithm " + std::to_string(static_cast<int>(algorithm)) +
                     " damping " + std::to_string(damping));
        CvEstimate est;
        ASSERT_EQ(general_restrictions(problem, restrictions, algorithm, damping, est), CvFailure::kNone);
        EXPECT_GT(est.iterations, 0);
        EXPECT_EQ(est.df, c.df);
        expect_like_gretl(est, c.name, c.r);
        if (first.empty()) first = est.beta;
        for (std::size_t i = 0; i < first.size(); ++i) EXPECT_NEAR(est.beta[i], first[i], 1e-7);
      }
    }
  }
}

TEST(RestrictedCv, ExactlyIdentifiedKeepsTheJohansenLikelihood) {
  const CvProblem problem = cv_problem(c3_fit(), kN, 2);
  // Another exactly identifying set: the likelihood does not depend on which.
  for (const char* text : {"A1=1; A2=0; B1=0; B2=1", "A1=1; A3=0; B2=1; B1+B3=0.5"}) {
    SCOPED_TRACE(text);
    CvEstimate est;
    ASSERT_EQ(general_restrictions(problem, typed(text, 2), CvAlgorithm::kBackSubstitution, 1.0, est),
              CvFailure::kNone);
    EXPECT_NEAR(est.loglik, kRankTwoLoglik, 1e-9 * kRankTwoLoglik);
    EXPECT_NEAR(est.lr, 0.0, 1e-8);
    EXPECT_GE(est.lr, 0.0);  // rounding never prints "-.0000"
    EXPECT_EQ(est.df, 0);
  }
}

// With no degrees of freedom the statistic is 0 by definition, whatever the rounding of
// the two criteria, and a coefficient the restrictions fix holds the value they give it:
// the page prints "0.00" and "1.0000", never ".2830E-9", "1.00000" or "-.0000".
TEST(RestrictedCv, ExactlyIdentifiedGivesAZeroStatisticAndTheFixedValues) {
  const struct {
    const char* reference;  ///< the cointegration reference case
    int r;
    const char* text;
    std::vector<std::pair<std::size_t, double>> fixed;  ///< θ index (vector by vector), value
  } cases[] = {
      {"C1", 2, "A1=1; A2=0; B1=0; B2=1", {{0, 1.0}, {1, 0.0}, {3, 0.0}, {4, 1.0}}},
      {"C1", 1, "A2=-1", {{1, -1.0}}},
      {"C2", 2, "A1=1; A2=0; B1=0; B3=1", {{0, 1.0}, {1, 0.0}, {4, 0.0}, {6, 1.0}}},
      {"C3", 2, "A1=1; A2=0; B1=0; B3=1", {{0, 1.0}, {1, 0.0}, {3, 0.0}, {5, 1.0}}},
      {"C3", 2, "A1=1; A3=0; B2=1; B1+B3=0.5", {{0, 1.0}, {2, 0.0}, {4, 1.0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.reference) + ": " + c.text);
    const qorv::testing::CointCase data = qorv::testing::reference_case(c.reference);
    JohansenFit fit;
    ASSERT_EQ(johansen_estimate(data.data, kJohansenTolerance, fit), JohansenFailure::kNone);
    const CvProblem problem = cv_problem(fit, kN, c.r);
    for (const CvAlgorithm algorithm : {CvAlgorithm::kBackSubstitution, CvAlgorithm::kNewtonRaphson}) {
      CvEstimate est;
      ASSERT_EQ(general_restrictions(problem, typed(c.text, c.r, problem.k), algorithm, 1.0, est), CvFailure::kNone);
      EXPECT_EQ(est.df, 0);
      EXPECT_EQ(est.lr, 0.0);
      for (const auto& [at, value] : c.fixed) {
        EXPECT_EQ(est.beta[at], value) << at;
        EXPECT_EQ(est.se[at], limits::kMissing) << at;
      }
    }
  }
}

TEST(RestrictedCv, RestrictionsTheJohansenVectorSatisfiesCostNothing) {
  // The first Johansen vector normalised on LC: (1, -0.33259978993866168, -0.54490077684821236)
  // (case C3's BETA_NORM, which holds minus these ratios).
  const CvProblem problem = cv_problem(c3_fit(), kN, 1);
  CvRestrictions restrictions;
  restrictions.q = 2;
  restrictions.h = {1, 0, 0, 1, 0, 0};  // rows b1 and b2, column-major
  restrictions.h0 = {1, -0.33259978993866168};
  CvEstimate est;
  ASSERT_EQ(general_restrictions(problem, restrictions, CvAlgorithm::kNewtonRaphson, 1.0, est), CvFailure::kNone);
  EXPECT_NEAR(est.lr, 0.0, 1e-8);
  EXPECT_NEAR(est.beta[2], -0.54490077684821236, 1e-7);
}

TEST(RestrictedCv, SameKnownAndOneVectorRestrictionsAgreeWithUrca) {
  const std::vector<double> sum_zero = {1, 1, 0};         // b1 + b2 = 0, 1 × 3
  const std::vector<double> one_vector_rows = {1, 0, 1, 0, 0, 1};  // b1 + b2 = 0; b3 = 0
  const std::vector<double> known = {1, -1, 0};
  struct Case {
    const char* name;
    int r;
    int kind;  // 2 same, 1 known, 3 one vector
  };
  const Case cases[] = {{"S1", 1, 2}, {"S2", 2, 2}, {"F2", 2, 1}, {"F1", 1, 1}, {"F2", 2, 3}, {"S1", 1, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " option " + std::to_string(c.kind));
    const CvProblem problem = cv_problem(c3_fit(), kN, c.r);
    CvEstimate est;
    CvFailure failure = CvFailure::kNone;
    if (c.kind == 2) failure = same_restrictions(problem, sum_zero, 1, est);
    if (c.kind == 1) failure = known_vectors(problem, known, 1, est);
    if (c.kind == 3)
      failure = c.r == 2 ? one_vector(problem, one_vector_rows, 2, est) : one_vector(problem, sum_zero, 1, est);
    ASSERT_EQ(failure, CvFailure::kNone);
    const auto e = expected(c.name);
    EXPECT_NEAR(est.lr, value(e, "LR"), 1e-6);
    EXPECT_EQ(est.df, static_cast<int>(value(e, "DF")));
    EXPECT_NEAR(est.loglik, problem.ll0 - 0.5 * kN * problem.johansen_criterion - 0.5 * est.lr, 1e-9);
  }
  // The same restriction on the one vector of r = 1, typed as general restrictions.
  CvEstimate general;
  ASSERT_EQ(general_restrictions(cv_problem(c3_fit(), kN, 1), typed("A1=1; A1+A2=0", 1),
                                 CvAlgorithm::kNewtonRaphson, 1.0, general),
            CvFailure::kNone);
  EXPECT_NEAR(general.lr, value(expected("S1"), "LR"), 1e-6);
}

TEST(RestrictedCv, ChecksOfTheRestrictions) {
  const CvProblem problem = cv_problem(c3_fit(), kN, 2);
  struct Case {
    const char* text;
    CvFailure failure;
    int vector;
    const char* message;
  };
  const Case cases[] = {
      {"A1=1; A2=0; A1=2; B1=0; B2=1", CvFailure::kDependent, 0,
       "The specified linear restrictions are not linearly independent!"},
      {"A1=1; A2=0; A3=0; B1=1", CvFailure::kNotEnough, 2, "Not enough restrictions on CV 2"},
      {"A1=1; A2=0; B1=0; B2=B3", CvFailure::kNoNormalisation, 2,
       "There is no non-homogenous (normalisation) restriction on CV 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int vector = -1;
    EXPECT_EQ(check_restrictions(problem, typed(c.text, 2), vector), c.failure);
    EXPECT_EQ(vector, c.vector);
    EXPECT_EQ(cv_failure_text(c.failure, c.vector), c.message);
  }
  // Restrictions that make the two vectors one.
  CvEstimate est;
  EXPECT_EQ(general_restrictions(problem, typed("A1=1; A2=0; A3=1; B1=1; B2=0; B3=1", 2),
                                 CvAlgorithm::kNewtonRaphson, 1.0, est),
            CvFailure::kCollinearVectors);
}

TEST(RestrictedCv, IterationLimitAndDamping) {
  const CvProblem problem = cv_problem(c3_fit(), kN, 2);
  const CvRestrictions restrictions = typed("A1=1; A2=0; B1=0; B2=1; A3=B3", 2);
  CvEstimate est;
  ASSERT_EQ(general_restrictions(problem, restrictions, CvAlgorithm::kNewtonRaphson, 0.01, est, 2),
            CvFailure::kNone);
  EXPECT_EQ(est.iterations, -2);
  // The damping grows by half after a step that raised the criterion and stays in bounds.
  std::vector<double> start;
  ASSERT_EQ(CHECKCVRESTRICT(problem, restrictions, problem.johansen_beta, start), CvFailure::kNone);
  CvIteration state;
  ASSERT_EQ(start_iteration(problem, start, CvAlgorithm::kNewtonRaphson, 0.01, state), CvFailure::kNone);
  ASSERT_EQ(iterate(problem, restrictions, state), CvFailure::kNone);
  EXPECT_DOUBLE_EQ(state.damping, 0.01);  // the first iteration has nothing to compare with
  ASSERT_EQ(iterate(problem, restrictions, state), CvFailure::kNone);
  EXPECT_DOUBLE_EQ(state.damping, 0.015);
  for (int i = 0; i < 30; ++i) ASSERT_EQ(iterate(problem, restrictions, state), CvFailure::kNone);
  EXPECT_GE(state.damping, kMinDamping);
  EXPECT_LE(state.damping, kMaxDamping);
}

}  // namespace
