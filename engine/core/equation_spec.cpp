// The driver's specification step: the equation of the estimator chosen in the menus.
#include "engine/core/driver_services.h"
#include "engine/core/model_spec.h"

namespace qorv::core {

EquationSpec specify_equation(int code, int sub_kind) {
  SpecRequest request;
  request.kind = code;
  request.sub_kind = sub_kind;
  request.item_word = "regressor";
  const SpecResult result = SPECIFYMODEL(request);
  EquationSpec spec;
  spec.cancelled = result.cancelled;
  if (!result.cancelled) {
    spec.variables = result.numbers;
    spec.after_ampersand = result.after_ampersand;
  }
  return spec;
}

}  // namespace qorv::core
