// The ARDL order search: every ARDL(q_0, ..., q_{K-1}) model of a dependent variable and
// K - 1 regressors with each order in 0..p, estimated by least squares on one common
// sample, with the four selection criteria of each model and the best orders by each.
//
// All models share the sample, so the cross products of every candidate column (the
// dependent variable, its lags 1..p, each regressor at lags 0..p and the deterministic
// columns) are formed once by the engine's cross-product kernel; each model is then solved
// from its rows and columns of that matrix in extended precision. No dialog and no engine
// state: callers pass the data.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace qorv::single {

/// The selection criteria, in the order of their codes 1..4.
enum class ArdlCriterion { kRBarSquared = 0, kAkaike = 1, kSchwarz = 2, kHannanQuinn = 3 };
inline constexpr int kArdlCriteria = 4;

/// The best value every criterion starts from: below any criterion value.
inline constexpr double kArdlWorstValue = -5.184705528587097e21;

/// The data of a search. Each ARDL variable (dependent first) holds n + p values, the
/// observations from p before the common sample's start to its end; each deterministic
/// column holds the n observations of the sample.
struct ArdlData {
  int n = 0;
  int p = 0;
  std::vector<std::span<const double>> variables;
  std::vector<std::span<const double>> deterministic;
};

/// One estimated model.
struct ArdlFit {
  std::vector<int> orders;  ///< q_0 .. q_{K-1}
  int k = 0;                ///< estimated coefficients
  double rss = 0.0;
  double loglik = 0.0;      ///< −(n/2)(1 + ln 2π) − (n/2) ln(RSS/n)
  std::array<double, kArdlCriteria> criteria{};  ///< R-bar-squared, AIC, SBC, HQ
};

/// Why a search stopped before its last model.
enum class ArdlStop {
  kCompleted,
  kSingular,  ///< a model's cross-product matrix is singular
  kExactFit,  ///< a model fits exactly (sqrt(RSS/n) below 1e-11)
};

/// The outcome of a search.
struct ArdlSelection {
  ArdlStop stop = ArdlStop::kCompleted;
  std::array<std::vector<int>, kArdlCriteria> best;  ///< orders of the best model by criterion
  std::array<double, kArdlCriteria> best_value{kArdlWorstValue, kArdlWorstValue, kArdlWorstValue,
                                               kArdlWorstValue};
  std::uint64_t models = 0;   ///< models estimated
  std::vector<ArdlFit> fits;  ///< every model, in loop order, when asked for
};

/// One model fitted on the search's data: coefficients in the order of the model's list
/// (dependent variable at lags 1..q_0, each regressor at lags 0..q_i, the deterministic
/// columns) and their variance σ²(X'X)⁻¹ (full, row-major), σ² = RSS/(n − k).
struct ArdlEstimate {
  bool singular = true;
  std::vector<double> b;
  std::vector<double> variance;
  double rss = 0.0;
  double loglik = 0.0;
  std::vector<double> residuals;  ///< y − x'b over the n observations
};

/// Least squares of one ARDL model with `orders` (one per variable, each in 0..p) on the
/// data of a search. Throws std::invalid_argument as select_ardl_orders does, or when the
/// orders do not fit.
ArdlEstimate fit_ardl_model(const ArdlData& data, std::span<const int> orders);

/// (p + 1)^K, saturated at UINT64_MAX; 0 when k < 1 or p < 0.
std::uint64_t ardl_model_count(int k, int p);

/// The four criteria of a model with k coefficients over n observations: R-bar-squared
/// 1 − (RSS/(n − k))/V (V the dependent variable's variance, divisor n − 1), AIC = LL − k,
/// SBC = LL − (k/2) ln n, HQ = LL − k ln ln n.
std::array<double, kArdlCriteria> ardl_criteria(int n, int k, double rss, double loglik, double dep_variance);

/// Estimates every model in lexicographic order of the orders (q_0 outermost, the last
/// regressor innermost), keeping for each criterion the first model of the largest value.
/// Stops at a singular or exactly fitting model. Throws std::invalid_argument when the
/// data do not fit their description (no variable, p < 0, short columns).
/// Cost: n·c²/2 once (c = 1 + p + (K − 1)(p + 1) + s candidate columns), then about k³/6
/// per model.
ArdlSelection select_ardl_orders(const ArdlData& data, bool keep_fits);

}  // namespace qorv::single
