// Relations on parameters typed by a user, in both modes: whatever the text, it is either
// refused or gives finite values and a Jacobian of the right size, J V J' and the
// statistic are computed without fault, and the workspace is never touched.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/engine_state.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/parameter_relations.h"
#include "shared/exchange_slots.h"

using namespace qorv;
using namespace qorv::diagnostics;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static const bool once = [] {
    core::reset_engine_state();
    auto& g = core::globals();
    g.nobs = 5;
    g.nvars = 0;
    g.max_vars = 40;
    for (const char* name : {"A1", "LC", "B1"}) {
      core::set_variable(++g.nvars, name, "");
      for (int t = 1; t <= g.nobs; ++t) core::data_at(t, g.nvars) = g.nvars * 10.0 + t;
    }
    return true;
  }();
  (void)once;
  static const std::vector<int> blocks = {3, 2};
  static const std::vector<std::string> names = parameter_names(blocks);
  static const std::vector<double> theta = {0.5, -1.25, 0.0, 2.0, 1e-3};
  // V = I + 0.1·(ones): positive definite.
  static const std::vector<double> variance = [] {
    std::vector<double> v(15, 0.1);
    for (int i = 1; i <= 5; ++i) v[static_cast<std::size_t>(i * (i + 1) / 2 - 1)] = 1.1;
    return v;
  }();
  const RelationMode mode = size > 0 && (data[0] & 1) ? RelationMode::kFunctions : RelationMode::kRestrictions;
  const std::string_view text(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0), size > 0 ? size - 1 : 0);
  const RelationParse parse = parse_relations(text, mode, names, 5);
  if (parse.error == RelationError::kNone) {
    if (parse.relations.empty() || parse.relations.size() > 5) std::abort();
    const RelationValues values = evaluate_relations(parse.relations, theta);
    const int r = static_cast<int>(parse.relations.size());
    if (values.f.size() != parse.relations.size() || values.jacobian.size() != parse.relations.size() * 5)
      std::abort();
    if (values.failed == 0) {
      for (const double x : values.f)
        if (!std::isfinite(x)) std::abort();
      const std::vector<double> jvj = function_covariance(values.jacobian, r, variance, 5, 1.0);
      const double w = wald_statistic(values.f, jvj);
      if (!(w == limits::kMissing || std::isfinite(w))) std::abort();
    }
  }
  const auto& g = core::globals();
  if (g.nvars != 3 || g.nobs != 5) std::abort();
  for (int v = 1; v <= 3; ++v)
    for (int t = 1; t <= 5; ++t)
      if (core::data_at(t, v) != v * 10.0 + t) std::abort();
  return 0;
}
