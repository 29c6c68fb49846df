// Non-linear equations typed by a user: reading any text either refuses it with nothing
// compiled or gives a dependent variable, at least one distinct parameter none of which
// is a variable, and a program that the model runs over rows holding extreme values, the
// fitted values then finite or the missing code.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/single/nonlinear_formula.h"
#include "shared/exchange_slots.h"

using namespace qorv;

namespace {

constexpr double M = limits::kMissing;
constexpr int kRows = 6;

const std::vector<std::string> kNames = {"Y", "X"};
const std::vector<double> kData = {1, 2, M, 4, 5, 6,             // Y
                                   0, 1e300, -1e-300, M, -1, 2};  // X

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  single::NonLinearFormula f;
  if (single::read_nonlinear_formula(text, kNames, f) != single::NonLinearFormulaStatus::kOk) {
    if (!f.program.ops.empty()) std::abort();
    return 0;
  }
  if (f.dependent < 1 || f.dependent > 2 || f.parameters.empty()) std::abort();
  const std::set<std::string> distinct(f.parameters.begin(), f.parameters.end());
  if (distinct.size() != f.parameters.size()) std::abort();
  for (const std::string& p : f.parameters)
    if (std::find(kNames.begin(), kNames.end(), p) != kNames.end()) std::abort();
  const data::FormulaData data{kData, kRows, 2, {}, M};
  const single::NonLinearModel model = single::formula_model(
      f, data, 2, kRows, data::formula_stack_capacity(data::FormulaCaller::kCommands, kRows, 2));
  for (const double value : {0.0, 1.0, -1e300}) {
    const std::vector<double> theta(f.parameters.size(), value);
    std::vector<double> fitted(kRows - 1, 42.0);
    if (!model(theta, fitted)) continue;
    for (const double v : fitted)
      if (!std::isfinite(v)) std::abort();
  }
  return 0;
}
