// Tests of one linear regression against a rival one with the same dependent variable
// that neither contains nor is contained in it: the Cox-type N, NT and W statistics, the J
// and JA statistics, the encompassing F statistics and the information criteria of the
// two models, and the results page that shows them.
//
// Notation (model a tested against model b, n observations, ka and kb regressors):
//   Pa, Ma   the projection on a's regressors and its complement, ŷa = Pa·y, RSSa = ‖Ma·y‖²
//   D = ‖Mb·ŷa‖²,  E = ‖Ma·Mb·ŷa‖²,  t = tr(Pa·Pb),  u = tr(Pa·Pb·Pa·Pb)
//   tr(Ma·Mb) = n − ka − kb + t,  tr((Ma·Mb)²) = n − ka − kb + u
//   N   (Cox 1961, Pesaran 1974): σa² = RSSa/n, σb² = RSSb/n, σba² = σa² + D/n,
//       N = (n/2)·ln(σb²/σba²) / sqrt(σa²·E/σba⁴)
//   NT  (Godfrey and Pesaran 1983): sa² = RSSa/(n − ka), sb² = RSSb/(n − kb),
//       sba² = [sa²·tr(Ma·Mb) + D]/(n − kb), τ = tr((Ma·Mb)²) − tr(Ma·Mb)²/(n − ka),
//       NT = ((n − kb)/2)·ln(sb²/sba²) / sqrt((sa²/sba⁴)·(E + sa²·τ/2))
//   W   (Godfrey and Pesaran 1983): W = (n − kb)·(sb² − sba²) / sqrt(2·sa⁴·τ + 4·sa²·E)
//   J   (Davidson and MacKinnon 1981): the t-ratio of ŷb added to model a,
//       w = ea'·ŷb, S = ‖Ma·ŷb‖², J = w·sqrt((n − ka − 1)/(RSSa·S − w²))
//   JA  (Fisher and McAleer 1981): as J with z = Pb·ŷa in place of ŷb, sign reversed:
//       JA = −q·sqrt((n − ka − 1)/(RSSa·S′ − q²)), q = ea'·z, S′ = ‖Ma·z‖²
// τ is the trace of B² for B = Ma·Mb·Ma − tr(Ma·Mb)/(n − ka)·Ma, the matrix of the quadratic
// form in the errors that the difference sb² − sba² holds under model a.
// When model a nests model b (every regressor of b lies in a's column space) the numerator
// sb² − sba² and its variance (E and τ) are both exactly zero: NT and W are missing, as are
// N, J and JA, whose variance or added column vanishes.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::diagnostics {

/// Why the statistics could not be computed.
enum class NonNestedRefusal {
  kNone,            ///< computed
  kTooManyRegressors,  ///< the union of the two lists exceeds the regressor limit
  kSameModels,      ///< both lists hold the same regressors
  kSingular,        ///< X'X of M1, M2 or M1+M2 cannot be inverted
  kSameFit,         ///< the two models' fitted values are the same
  kTooFewObservations,  ///< no degrees of freedom left in M1+M2
};

/// One model's least-squares fit.
struct NonNestedFit {
  int k = 0;                    ///< regressors
  double rss = 0.0;             ///< residual sum of squares
  double loglik = 0.0;          ///< maximised normal log-likelihood (missing for a perfect fit)
  std::vector<double> fitted;   ///< fitted values
  std::vector<double> residuals;
};

/// The statistics of both directions; index 0 is M1 against M2, index 1 M2 against M1. A
/// value that cannot be computed holds the missing code.
struct NonNestedStatistics {
  NonNestedRefusal refusal = NonNestedRefusal::kNone;
  int n = 0;
  int k12 = 0;                     ///< regressors of M1+M2
  std::array<int, 2> k_only{};     ///< k2* (M2's regressors not in M1), then k1*
  NonNestedFit m1, m2, m12;
  std::array<double, 2> n_test{}, nt_test{}, w_test{}, j_test{}, ja_test{};
  std::array<double, 2> f_test{};  ///< encompassing F on (k_only, n − k12)
  double akaike = 0.0;             ///< (LL1 − k1) − (LL2 − k2)
  double schwarz = 0.0;            ///< (LL1 − LL2) − ((k1 − k2)/2)·ln n
};

/// The statistics of the regression of `y` on the columns `x1` (M1) against its regression
/// on `x2` (M2). A column is a regressor of both models when the same column index appears
/// in both lists; `columns` holds every column, n values each. Indexes outside `columns`,
/// columns of another length than y, or empty lists throw std::invalid_argument.
/// Cost: O(n·k12²) for the fits and O(k1·k2·(n + k1 + k2)) for the traces.
NonNestedStatistics NONNESTEDSTATS(std::span<const double> y, std::span<const std::vector<double>> columns,
                                   std::span<const int> x1, std::span<const int> x2);

/// The t-ratio of a column z added to a regression: w·sqrt(df/(rss·s − w²)) with w = e'z
/// (e the regression's residuals, rss their sum of squares), s = the sum of squares of z
/// after regression on the regressors, zz = z'z and df = n − k − 1. Missing when z lies in
/// the regressors' space (s not above 1e-14·zz), the ratio is not positive and finite, or
/// df < 1.
double added_column_t_ratio(double w, double rss, double s, double zz, int df);

/// The statistic line: `label` from column 5, the two statistics with their two-sided
/// standard normal probabilities, the second one ending in the same column whether the
/// first was missing or not. A positive `replications` is written in columns 12-16,
/// followed by "replications" in columns 18-29.
std::string WRITESTATLINE(std::string_view label, double m1_against_m2, double m2_against_m1, int channel,
                          int replications = 0);

/// The rival of the current estimate: M2's regressors typed on the kind-21 screen against
/// the estimate's dependent variable, and the variables of both models together (M1's
/// list first, then M2's regressors it lacks).
struct RivalModel {
  std::vector<int> regressors1;      ///< M1's regressors
  std::vector<int> regressors2;      ///< M2's regressors
  std::vector<std::string> names2;   ///< their names
  std::vector<int> all;              ///< dependent variable first
};
/// False when the estimate holds no regression or the screen was cancelled or left empty.
bool ask_rival_model(RivalModel& rival);

/// Hypothesis Testing Menu option 8 on the current estimate: asks for M2's regressors,
/// checks the sample of both models, computes and shows the page. The engine's sample is
/// as it was on every way out.
void NONNESTEDTESTS();

}  // namespace qorv::diagnostics
