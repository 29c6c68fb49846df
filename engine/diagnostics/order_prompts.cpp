#include "engine/diagnostics/order_prompts.h"

#include <algorithm>

#include "engine/core/dialog_bridge.h"

namespace qorv::diagnostics {

namespace {

constexpr int kScratchLength = 5253;  ///< values of the scratch area of the auxiliary regressors
constexpr int kLargestOrder = 12;

}  // namespace

int lm_max_order(int n, int k) {
  if (k < 1 || n - k <= 2) return 0;
  return std::min({kScratchLength / k, n - k - 2, kLargestOrder});
}

int arch_max_order(int n) {
  if (n < 4) return 0;
  return std::min((n - 2) / 2, kLargestOrder);
}

std::string order_prompt(std::string_view test, int maximum) {
  std::string number = std::to_string(maximum);
  if (number.size() < 2) number.insert(0, 2 - number.size(), ' ');
  return " Order of " + std::string(test) + " test (maximum " + number + ")?";
}

int ask_order(std::string_view test, int maximum, int shown) {
  const std::string prompt = order_prompt(test, maximum);
  for (;;) {
    int value = shown;
    int status = 0;  // the question has a Cancel button
    core::ASKINTEGER(core::kNoHelp, value, status, prompt);
    if (status != core::kDialogOk) return 0;
    if (value >= 0 && value <= maximum) return value;
    core::BEEP();
  }
}

}  // namespace qorv::diagnostics
