// The long-run structural modelling request of the cointegrating VAR: the restrictions
// typed in the restriction editor, their checks, the starting values, the algorithm and
// its damping factor, and the iteration with its limit dialogue.
#pragma once

#include <functional>
#include <span>
#include <string>

#include "engine/diagnostics/restriction_text.h"
#include "engine/multi/restricted_cv.h"

namespace qorv::multi {

/// Menu 1031, the choice of algorithm.
inline constexpr int kAlgorithmMenu = 1031;
inline constexpr std::string_view kDampingPrompt = "Damping factor(Min 0.01 Max 2.0)?";

/// What the request works on.
struct RestrictedCvRequest {
  const JohansenFit* fit = nullptr;
  int n = 0;          ///< observations of the estimation sample
  int r = 0;          ///< chosen cointegrating vectors
  int option = 4;     ///< the structural-modelling option: 1, 2, 3, 4 or 6
  int phase = 1;      ///< option 4: 1 exactly identifying, 2 over-identifying restrictions
  int title_code = 3; ///< the model title: the deterministic case
  std::span<const std::string> names;       ///< the k names of the cointegrating vector
  std::span<const std::string> exogenous;   ///< the I(1) exogenous names
  std::span<const std::string> stationary;  ///< the I(0) names
};

/// What it leaves.
struct RestrictedCvResult {
  bool estimated = false;  ///< false: the editor was left, back to the menu
  CvEstimate estimate;
  double exact_loglik = 0.0;  ///< the log-likelihood under exactly identifying restrictions
  diagnostics::RestrictionParse restrictions;
};

/// The restriction kind of a structural-modelling option (1 and 6 fix vectors, 2 and 3
/// restrict every or one vector homogeneously, 4 general restrictions).
diagnostics::RestrictionKind restriction_kind(int option);

/// The dialogue over the kept restriction text `text`. Every abandon path (a refused check, option 0 of menu 1031, a cancelled
/// starting-value grid or damping prompt, a failed step, overflow, abandoning at the
/// iteration limit) shows its message, calls `reestimate` (the unrestricted estimation
/// again) and opens the editor again; it returns when the editor is left or an estimate
/// is made. Throws std::invalid_argument for a request without a fit or with r outside
/// 1..k.
RestrictedCvResult restricted_cv_dialogue(const RestrictedCvRequest& request, std::string& text,
                                          const std::function<void()>& reestimate = {});

}  // namespace qorv::multi
