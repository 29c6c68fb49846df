#include "engine/road/equation_spec.h"

#include "engine/core/model_spec.h"

namespace qorv::road {

using namespace core;

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

}  // namespace qorv::road
