// The cointegrating VAR dialogue: the checks of the variable list, the deterministic case,
// the order, the estimation sample, the Johansen estimation with its rank tests, and then
// the post-estimation menus until the user goes back.
#pragma once

#include <span>

#include "engine/multi/system_estimate.h"

namespace qorv::multi {

/// Limits of the cointegration analysis.
inline constexpr int kMaxCointegratedI1 = 12;      ///< endogenous I(1) variables
inline constexpr int kMaxCointegratedI0 = 18;      ///< I(0) variables
inline constexpr int kMaxCointegratedExogenous = 5;///< exogenous I(1) variables
inline constexpr int kMaxCointegratedOrder = 24;   ///< order of the VAR
inline constexpr int kCointRegressorLimit = 102;   ///< regressors the workspace allows per equation
inline constexpr int kMaxCointObservations = 3000; ///< observations of the estimation sample

/// The highest order the order question accepts for m endogenous, e exogenous I(1) and d
/// I(0) variables: min(24, (102 - d - m - 2) div (m + e) + 1).
int max_coint_order(int m, int e, int d);

/// The dialogue over the variable numbers `list` (the m endogenous, the e exogenous I(1),
/// then the d I(0) variables) and the user's sample. `order_word` is the order question's
/// default and, once an order is accepted, its result (also written to slot 27). A
/// deterministic column in the list is refused before anything is asked, and the request
/// loop then skips the Backtracking Menu. The sample globals are back at their values on
/// entry on every exit.
void COINTDRIVER(std::span<const int> list, int d, int e, int& order_word, const SystemServices& services);

}  // namespace qorv::multi
