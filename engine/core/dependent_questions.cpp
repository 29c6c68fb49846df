#include "engine/core/dependent_questions.h"

#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/core/spec_panels.h"
#include "engine/core/variable_list.h"
#include "engine/core/workspace.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::core {

namespace {

constexpr int kAnswerWidth = 14;

/// Asks `prompt` until the answer names a variable (its number) or the user gives up (0).
/// An empty answer offers the variable chooser, whose choice is taken as the answer.
int ask_variable(std::string_view prompt) {
  while (true) {
    std::string answer(" ");
    int status = kDialogCancel;
    ASKSTRING(kNoHelp, status, prompt, answer, kAnswerWidth);
    if (status != kDialogOk) return 0;
    std::string name = names::upper(fixed_text::trim(answer));
    if (name == "Q") return 0;
    if (name.empty()) {
      name = LISTVARIABLES(core::kChooseVariable);
      if (name.empty()) continue;
    }
    const std::string valid = names::valid_name(name);
    const int number = valid.empty() ? 0 : find_variable(valid);
    if (number != 0) return number;
    SHOWMESSAGE("Variable " + name + " does not exist!");
  }
}

}  // namespace

int ASKDEPNATURE(int nature, std::string_view name) {
  const std::string dependent(fixed_text::trim(name));
  switch (nature) {
    case kLogarithm: return ask_variable(joined_words({dependent, "is the logarithm of which variable?"}));
    case kDifference: return ask_variable(joined_words({dependent, "is the difference of which variable?"}));
    case kLogDifference: return ask_variable(joined_words({dependent, "is the log-difference of which variable?"}));
    case kRatio: return ask_variable("Specify the variable in the numerator of the dependent variable:");
    default: return find_variable(names::upper(dependent));
  }
}

int ASKDEPRATIO(RatioQuestion question, int model, std::string_view numerator) {
  const std::string_view which = model == 2 ? " M2" : " M1";
  if (question == RatioQuestion::kDenominator)
    return ask_variable(std::string("Specify the variable in the denominator of the dependent variable") +
                        " in model" + std::string(which));
  return ask_variable(joined_words({" Divide", numerator,
                                    "by which variable in order to create the dependent variable for model"}) +
                      std::string(which));
}

}  // namespace qorv::core
