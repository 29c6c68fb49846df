#include "engine/road/system_services.h"

#include <span>
#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/temp_variables.h"
#include "engine/core/var_lists.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/post_regression.h"
#include "engine/road/run_estimation.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "shared/fixed_text.h"

namespace qorv::road {

namespace {

/// One equation of a system (variable numbers, dependent first) estimated under the
/// method code in force and followed by the post-regression dialogue.
void report_system_equation(std::span<const int> equation) {
  single::take_equation(equation);
  core::SHOWCALCULATING();
  RUNESTIMATION(core::driver_state().interactive);
  if (single::estimation().status == single::status::kEstimated) diagnostics::POSTREGRESSION();
}

/// One equation of a system through the single-equation road: the list is read (its
/// lagged variables created for this estimate only) and reported.
void estimate_system_equation(int dependent, std::string_view regressors) {
  const core::TemporaryScope temporaries;
  core::VarList list = core::VarList::with_dependent(fixed_text::trim(core::variable_name(dependent)), dependent);
  if (core::PARSEVARLIST(regressors, list, 0, core::globals().max_vars)) return;
  report_system_equation(list.numbers);
}

}  // namespace

const multi::SystemServices& system_services() {
  static const multi::SystemServices services{estimate_system_equation, report_system_equation};
  return services;
}

}  // namespace qorv::road
