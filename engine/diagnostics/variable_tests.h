// The tests of deleting regressors from the current equation and of adding variables to
// it: the restricted or extended regression, its table and the joint test of the zero
// restrictions.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "engine/core/var_lists.h"

namespace qorv::diagnostics {

/// The joint test of r zero restrictions. The missing value stands for a statistic that
/// cannot be computed (it prints "*NONE*" without a probability).
struct ZeroRestrictionTest {
  int r = 0;      ///< variables deleted or added
  int n = 0;      ///< observations used by both equations
  int k = 0;      ///< regressors of the unrestricted (larger) equation
  double lm = 0.0;    ///< n·r·F/(r·F + n − k) = n(RSSr − RSSu)/RSSr, chi-squared(r)
  double lr = 0.0;    ///< 2(LLu − LLr), chi-squared(r)
  double f = 0.0;     ///< (RSSr − RSSu)(n − k)/(r·RSSu) on (r, n − k)
  double wald = 0.0;  ///< IV methods: b'V⁻¹b/s², chi-squared(r)
};

/// LM, LR and F of the least-squares methods from the two equations' residual sums of
/// squares and log-likelihoods. All three are missing when RSSu is below 1e-11; each one
/// that comes out negative or not finite is missing.
ZeroRestrictionTest least_squares_restriction_test(int r, int n, int k, double rss_u, double rss_r, double ll_u,
                                                   double ll_r);

/// W = b'V⁻¹b for the estimates `b` of the r coefficients in question and `v`, the packed
/// r × r block of their variance matrix (V·s², s² = RSSu/(n − k), for the IV methods).
/// The missing value when the block cannot be inverted or W is not finite. Cost O(r³).
double wald_zero_restrictions(std::span<const double> b, std::vector<double> v);

/// `VARADDDELTEST`: the statistics block of the deletion (`addition` false) or addition
/// test on `channel`: " Joint test of zero restrictions on the coefficients of deleted
/// variables:" (or "additional"), then for the least-squares methods (1, 14, 17, 79, 82)
/// the LM, LR and F lines, for the IV methods (5, 15, 80) the Wald line, for any other
/// method nothing more; then a rule of 79 "*". The F line's denominator is n − k of the
/// unrestricted equation.
void VARADDDELTEST(int method_code, bool addition, const ZeroRestrictionTest& test, int channel);

/// The restricted equation of the deletion test: the current estimate without the
/// regressors at `positions` (from 1, checked by the caller), by least squares, or for the
/// IV methods by IV with the same instruments. The state then holds the restricted
/// estimate and `test` the statistics (W from the unrestricted estimate). False, with the
/// state partly changed, when the regression cannot be computed.
bool estimate_restricted(std::span<const int> positions, ZeroRestrictionTest& test);

/// What the addition test adds to the current equation.
struct AddedVariables {
  std::vector<int> numbers;                 ///< the added variables
  std::vector<std::string> names;           ///< their names
  std::vector<core::RecordEntry> record;    ///< their origins (variable and lag)
  std::vector<int> instruments;             ///< IV methods: the additional instruments
  std::vector<std::string> instrument_names;
};

/// The extended equation of the addition test over the engine's sample, which the caller
/// has checked (`CHECKSAMPLE`). When that sample is shorter than the current estimate's the
/// current equation is estimated again over it first, so that both sums of squares cover
/// the same observations. The state then holds the extended estimate and `test` the
/// statistics. False, with the state partly changed, when a regression cannot be
/// computed.
bool estimate_extended(const AddedVariables& added, ZeroRestrictionTest& test);

/// Hypothesis Testing Menu option 5 on the current estimate: asks the regressors to drop,
/// refuses a list that names a variable that is not a regressor, the dependent variable,
/// a variable twice or every regressor (message-file line 38), estimates the restricted
/// equation (least squares, or IV with the same instruments) and shows its page with the
/// test. A singular restricted regression shows line 39. The estimation state, the sample
/// and the workspace are as they were afterwards.
void variable_deletion_test();

/// Hypothesis Testing Menu option 6 on the current estimate: asks the variables to add
/// (lags such as X(-1) allowed; the temporaries they need are deleted on every way out),
/// for IV methods also the additional instruments (as many as the extended equation needs
/// beyond the existing ones; none needed accepts an empty answer), checks the extended
/// sample (`CHECKSAMPLE`), estimates the extended equation and shows its page with the
/// test. When the check drops leading observations the restricted equation is estimated
/// again over the same observations, so that both sums of squares cover the same n. A
/// singular regression shows line 39. The estimation state, the sample and the workspace
/// are as they were afterwards.
void variable_addition_test();

}  // namespace qorv::diagnostics
