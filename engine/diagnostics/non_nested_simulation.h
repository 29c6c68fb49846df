// Non-nested tests of two linear regressions whose dependent variables are different known
// functions of one variable Y: model 1 explains F = f(Y) by X, model 2 explains G = g(Y) by
// Z, both with normal errors. The models are compared by their log-likelihoods in terms of
// Y, each observation's adjusted by the Jacobian of its transformation, and the Cox-type
// comparison is calibrated by simulating each model.
//
// Notation (model 1 against model 2; the reverse by symmetry), n observations:
//   β̂, γ̂      least-squares coefficients; RSSi the residual sums of squares
//   si        sqrt(RSSi/(n − ki)), the regression's standard error (the simulations draw with it)
//   σ̃i        sqrt(RSSi/n), the maximum-likelihood standard error (the likelihoods use it)
//   lit       −ln σ̃i − ½·ln 2π − ½·(eit/σ̃i)² + ln|Dit|, D1 = DF = f′(Y), D2 = DG = g′(Y)
//   LLi = Σ lit,  dt = l1t − l2t,  ε̂it = eit/σ̃i
//   S    √n·T/√Vd, T = (LL1 − LL2)/n − C, C the mean of (LL1* − LL2*)/n over R samples
//        simulated under model 1 (F* = Xβ̂ + s1·z, z standard normal, both models
//        re-estimated on each), Vd = Σ(dt − d̄)²/(n − 1): the simple form of a Cox
//        statistic whose centring term is simulated
//   PE   the t-ratio of α in F = Xβ + α·[g(f⁻¹(Xβ̂)) − Zγ̂] (MacKinnon, White and Davidson
//        1983); model 2 against model 1 adds Xβ̂ − f(g⁻¹(Zγ̂)) to G = Zγ: the term is model 1's
//        side less model 2's both ways, as the published test writes it with the linear model
//        as model 1 and the log-linear one as model 2 (lmtest's petest)
//   BM   the t-ratio of θ in F = Xβ + θ·v̂, v̂ the residuals of g(f⁻¹(Xβ̂)) on Z (Bera and
//        McAleer 1989)
//   DL   the t-ratio of the last column of the double-length regression of [ε̂1t; 1] on
//        [xt, ε̂1t, ε̂1t − ε̂2t; 0, −1, DGt·σ̃1/(DFt·σ̃2) − 1], t = 1..n (Davidson and MacKinnon
//        1984), its variance from the regression's own s² over 2n − k1 − 2 degrees of freedom
//   Sargan  LL1 − LL2;  Vuong  Σdt/(n·ω̂²)^½, ω̂² = Σ(dt − d̄)²/n (Vuong 1989)
#pragma once

#include <array>
#include <functional>
#include <span>
#include <vector>

namespace qorv::diagnostics {

/// One model over the sample: its dependent variable, the derivative of that variable with
/// respect to Y, and its regressors (n values each).
struct SimulatedModel {
  std::vector<double> dependent;
  std::vector<double> derivative;
  std::vector<std::vector<double>> regressors;
};

/// The link between the two models: given model `from`'s (0 or 1) dependent variable in
/// `own`, writes the other model's dependent variable into `other` and both derivatives
/// into `d1` and `d2`. False when a value cannot be computed.
using DependentMap = std::function<bool(int from, std::span<const double> own, std::span<double> other,
                                        std::span<double> d1, std::span<double> d2)>;

/// Why the simulation stopped.
enum class SimulationFailure {
  kNone,
  kExactFit,   ///< a model fits the data exactly
  kSingular,   ///< a model's X'X cannot be inverted
  kUndefined,  ///< a derivative or a fitted value of the data is not defined
  kBreakdown,  ///< a statistic of a simulated sample cannot be formed
};

/// A model's estimates on the data and their means over the samples simulated under the
/// other model ([0] on the data, [1] under the other model).
struct SimulatedEstimates {
  std::vector<std::array<double, 2>> coefficients;
  std::array<double, 2> standard_error{};     ///< s = sqrt(RSS/(n − k))
  std::array<double, 2> ml_standard_error{};  ///< σ̃ = sqrt(RSS/n)
  std::array<double, 2> loglik{};             ///< the adjusted log-likelihood
};

/// The results; index 0 of the statistics is model 1 against model 2.
struct SimulationResult {
  SimulationFailure failure = SimulationFailure::kNone;
  int failed_model = 0;  ///< 0 or 1: the model of kExactFit and kSingular
  int n = 0;
  int replications = 0;
  std::array<SimulatedEstimates, 2> models;
  std::array<double, 2> s_test{}, pe_test{}, bm_test{}, dl_test{};
  double sargan = 0.0, vuong = 0.0;
};

/// The statistics of the two models and `replications` (2 or more) simulated samples under
/// model 1, then as many under model 2, each drawing n deviates from the engine's normal
/// generator in observation order and going on from its state. A statistic that cannot be
/// computed holds the missing code. Models with fewer than 1 or unequal numbers of
/// observations throw std::invalid_argument. Cost: O(R·n·(k1 + k2) + R·cost of `map`).
SimulationResult NNSIMULATE(const std::array<SimulatedModel, 2>& models, int replications, const DependentMap& map);

/// Hypothesis Testing Menu option 9 on the current estimate: the forms of both models'
/// dependent variables, M2's regressors, the number of replications, the simulation and
/// its results page. The workspace (data, variables, names) and the sample are as they
/// were on every way out.
void NONNESTEDGENERAL();

}  // namespace qorv::diagnostics
