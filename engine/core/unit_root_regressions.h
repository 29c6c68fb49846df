// The Dickey-Fuller regressions behind the unit-root tables: the first difference of a
// series on its lagged level, the deterministic terms and k lagged first differences,
// for every augmentation order k = 0..p over one common sample, and the 95% critical
// values of the test statistic from the response surface.
#pragma once

#include <span>
#include <vector>

namespace qorv::core {

/// Deterministic terms of a Dickey-Fuller regression.
enum class DeterministicTerms : int {
  kNone = 0,            ///< neither intercept nor trend
  kIntercept = 1,       ///< an intercept
  kInterceptTrend = 2,  ///< an intercept and a linear trend
};

/// One augmentation order of `ADFREGRESSIONS`.
struct AdfRegression {
  int order = 0;          ///< k: lagged first differences in the regression
  int coefficients = 0;   ///< m: the lagged level, the deterministic terms and k lags
  bool fitted = false;    ///< false: no statistic (see `ADFREGRESSIONS`); the figures below are missing
  double rss = 0.0;       ///< residual sum of squares
  double coefficient = 0.0;  ///< coefficient of the lagged level
  double std_error = 0.0;    ///< its standard error, sqrt(RSS/(n − m)·(X'X)⁻¹(1, 1))
  double statistic = 0.0;    ///< coefficient / standard error: the DF (k = 0) or ADF(k) statistic
  double loglik = 0.0;       ///< LL = −(n/2)(ln(2π·RSS/n) + 1)
  double aic = 0.0;          ///< LL − m
  double sbc = 0.0;          ///< LL − (m/2)·ln n
  double hqc = 0.0;          ///< LL − m·ln(ln n)
};

/// The regressions of every order, all over the same observations.
struct AdfRegressions {
  int observations = 0;   ///< n = N − p − 1, the observations every order uses
  int first_used = 0;     ///< 0-based position in the series of the first dependent value, p + 1
  std::vector<AdfRegression> orders;  ///< k = 0..p (empty when the sample is too short)
};

/// The largest order p for which `ADFREGRESSIONS` over `length` values with `terms` leaves
/// at least one residual degree of freedom for order p (N − p − 1 > p + 1 + terms):
/// (N − 3 − terms) / 2, or −1 when not even order 0 fits.
int largest_adf_order(int length, DeterministicTerms terms);

/// `ADFREGRESSIONS`: Δy(t) on y(t − 1), the deterministic terms and Δy(t − 1) .. Δy(t − k)
/// for k = 0..p, each over the same n = N − p − 1 observations t = p + 1 .. N − 1 (0-based),
/// so that the first p + 1 values supply the lags. The trend is 1..n over those
/// observations. `y` holds the N values of an unbroken run: a missing or non-finite value
/// leaves every order without a statistic.
///
/// Each order is solved by the packed cross-product least squares. The statistic and the
/// criteria of an order are the missing value when X'X is singular, when the fit is exact
/// (the log-likelihood's perfect-fit test: sqrt(RSS/n) < 1e-11) or when the standard error
/// is below 1e-11; RSS is kept whenever the regression could be solved. With p < 0, or p above `largest_adf_order`, `orders` is empty.
/// Cost: about (p + 1)·n·(p + 4)²/2 multiply-adds.
AdfRegressions ADFREGRESSIONS(std::span<const double> y, int p, DeterministicTerms terms);

/// Cases of the response-surface table of 95% critical values: the count of variables in
/// the tested relation (1 for a single series) and its deterministic terms.
/// Index 1: one variable, no intercept or trend; 2 and 3: one variable with an intercept,
/// and with an intercept and a trend; 2v and 2v + 1: v variables (2..6) likewise.
inline constexpr int kUnitRootCases = 13;

/// The table's row for one variable and `terms`: 1, 2 or 3.
int unit_root_case(DeterministicTerms terms);

/// The 95% critical value −(b0 + b1/n + b2/n²) of case `index` (1..13) for n observations;
/// the missing value for an index outside the table or n < 1.
double unit_root_critical_value(int index, int n);

}  // namespace qorv::core
