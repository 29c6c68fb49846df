// The largest orders the residual tests of the Hypothesis Testing Menu offer, and their
// order questions.
#pragma once

#include <string>
#include <string_view>

namespace qorv::diagnostics {

/// The largest order of the LM test of serial correlation: min(5253 div k, n − k − 2, 12);
/// 0 when n − k <= 2 or k < 1 (the test is refused).
int lm_max_order(int n, int k);

/// The largest order of the ARCH and residual unit-root tests: min((n − 2) div 2, 12);
/// 0 when n < 4 (the tests are refused).
int arch_max_order(int n);

/// The question " Order of " + `test` + " test (maximum" + one blank + the maximum in 2
/// columns + ")?";
/// `test` "LM", "ARCH" or "ADF".
std::string order_prompt(std::string_view test, int maximum);

/// Asks the order until it lies in 0 .. `maximum` (a beep after each other answer),
/// offering `shown`. Returns the order, 0 for a cancelled question or the answer 0.
int ask_order(std::string_view test, int maximum, int shown);

}  // namespace qorv::diagnostics
