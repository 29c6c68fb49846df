// Maximum-likelihood estimation of the binary-choice models (logit and probit) and the
// statistics their report prints. Nothing here shows a dialog: the driver
// (logit_probit.h) asks the questions and reports the failures these routines return.
//
// With z = x'b, the probability of a one is p = F(z), F the logistic function (logit) or
// the normal distribution function (probit); its complement q = 1 − p is computed on its
// own (as F(−z)), so neither tail loses digits to cancellation.
#pragma once

#include <span>
#include <vector>

namespace qorv::single {

/// The two models.
enum class BinaryModel {
  kLogit,
  kProbit,
};

/// The data of a binary-choice model: n observations of the 0/1 dependent variable and k
/// regressors, row-major (the regressors of observation t at x[t·k .. t·k + k − 1]).
struct BinaryData {
  int n = 0;
  int k = 0;
  std::vector<double> y;  ///< n values, 0 or 1 (or the missing code outside the estimation sample)
  std::vector<double> x;  ///< n·k regressor values
};

/// F(z) and 1 − F(z) of one observation.
struct BinaryProbability {
  double p = 0.0;  ///< probability of a one
  double q = 1.0;  ///< probability of a zero
};

/// p and q at z for `model`. Cost: one exponential (logit) or two normal tails (probit).
BinaryProbability binary_probability(BinaryModel model, double z);

/// `LOGITPROBITLIK`: the probability of a one at each observation of `data` for the
/// coefficients `b` (k values) into `prob` (n values), and the log-likelihood
/// Σ y ln p + (1 − y) ln q into `loglik` (the missing code when a y is not 0 or 1, as over
/// a forecast period without actual values). Every probability is written (the missing
/// code where z is not finite); returns false, the log-likelihood missing, when one is
/// exactly 0 or 1 or missing: the likelihood is not defined.
/// Throws std::invalid_argument when the lengths disagree. Cost: O(n·k).
bool LOGITPROBITLIK(BinaryModel model, const BinaryData& data, std::span<const double> b,
                    std::span<double> prob, double& loglik);

/// How an iteration ended.
enum class BinaryMlStatus {
  kConverged,     ///< every coefficient changed by less than 0.0001 in the last step
  kLimitReached,  ///< the iteration limit was reached first
  kUndefined,     ///< a probability reached 0 or 1: the likelihood is not defined
  kSingular,      ///< the information matrix could not be inverted
};

/// The state of the Newton iteration and, once finished, the estimate.
struct BinaryEstimate {
  std::vector<double> b;         ///< coefficients (start: zeros)
  std::vector<double> prob;      ///< probabilities of a one at b
  std::vector<double> variance;  ///< packed inverse of the information matrix at b
  double loglik = 0.0;           ///< log-likelihood at b
  int iterations = 0;            ///< Newton steps taken
};

/// The start of the iteration: k zero coefficients.
BinaryEstimate binary_start(const BinaryData& data);

/// Newton steps b ← b + I(b)⁻¹ s(b) with the score s and the observed information I
/// (minus the Hessian of the log-likelihood; for the logit it equals the expected one)
/// until every change is below 0.0001 (kConverged) or `estimate.iterations` reaches
/// `limit` (kLimitReached; call again with a higher limit to go on). On kConverged and
/// kLimitReached the probabilities, the log-likelihood and the inverse information are
/// those at the last b. Cost: O(n·k² + k³) per step.
BinaryMlStatus binary_newton(BinaryModel model, const BinaryData& data, BinaryEstimate& estimate, int limit);

/// The probability, the fitted value (1 when p > 0.5) and the 0/1 agreement of a stretch
/// of observations, as the fit table's summary lines print them. Missing values hold the
/// missing code.
struct BinaryFitSummary {
  double mean_actual = 0.0;     ///< mean of the dependent variable
  double mean_fitted = 0.0;     ///< mean of the fitted (predicted) 0/1 values
  double goodness = 0.0;        ///< share of observations whose fitted value equals the actual
  double accuracy = 0.0;        ///< directional-accuracy statistic of the fitted values
  double accuracy_prob = 0.0;   ///< its two-sided standard normal probability
};

/// The fitted value of a probability: 1 when p > 0.5, else 0.
double binary_fitted(double p);

/// The summary of actual values `y` and probabilities `prob` (one length). Cost: O(n).
BinaryFitSummary binary_fit_summary(std::span<const double> y, std::span<const double> prob);

/// The statistics of the report after an estimate.
struct BinaryStatistics {
  double factor = 0.0;     ///< factor for the marginal effects, at the means of the regressors
  double loglik = 0.0;     ///< maximised log-likelihood
  double aic = 0.0;        ///< LL − k
  double sbc = 0.0;        ///< LL − (k/2) ln n
  double hqc = 0.0;        ///< LL − k ln ln n
  double pseudo_r2 = 0.0;  ///< 1 − LL/LL0, LL0 the log-likelihood of the intercept-only model
  BinaryFitSummary fit;    ///< over the estimation sample
  bool all_same = false;   ///< every fitted value is the same
  double all_value = 0.0;  ///< that value when `all_same`
};

/// The statistics of `estimate` on `data`. Cost: O(n·k).
BinaryStatistics binary_statistics(BinaryModel model, const BinaryData& data, const BinaryEstimate& estimate);

}  // namespace qorv::single
