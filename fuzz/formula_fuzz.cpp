// Formulas typed by a user: the compiler refuses or accepts any text without harm, and an
// accepted formula runs over rows holding 0, ±1e300, ±1e-300 and the missing code storing
// only finite values or the missing code.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/data/formula_evaluator.h"
#include "shared/exchange_slots.h"

using namespace qorv::data;

namespace {

constexpr double M = limits::kMissing;
constexpr int kRows = 8;

const std::vector<std::string> kNames = {"X", "Y", "Z"};
const std::vector<std::string> kParameters = {"B"};
const std::vector<double> kData = {
    0, 1e300, -1e300, 1e-300, -1e-300, M, 1, -1,       // X
    M, -1e-300, 0, 1e300, 2, -1e300, 0.5, 1e-300,      // Y
    3, 1, 2, 8, 7, 5, 6, 4};                           // Z
const std::vector<double> kParameterValues = {0.5};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  for (const bool simulation : {false, true}) {
    const CompileResult c = compile_formula(text, {kNames, kParameters}, simulation);
    if (c.program.token_count > kMaxFormulaTokens) std::abort();
    if (c.status != FormulaStatus::kOk) {
      if (!c.program.ops.empty()) std::abort();
      continue;
    }
    const FormulaData data{kData, kRows, 3, kParameterValues, M};
    FormulaScratch scratch;
    for (const auto& [first, last] : {std::pair{1, kRows}, std::pair{3, 6}}) {
      std::vector<double> result(kRows, 42.0);
      const FormulaStatus s = evaluate_formula(c.program, data, first, last, result, scratch,
                                               formula_stack_capacity(FormulaCaller::kCommands, kRows, 3));
      if (s != FormulaStatus::kOk) std::abort();  // eight rows leave room for any formula
      for (int t = 1; t <= kRows; ++t) {
        const double v = result[static_cast<std::size_t>(t - 1)];
        if (!std::isfinite(v)) std::abort();
        if ((t < first || t > last) && v != 42.0) std::abort();
      }
    }
  }
  return 0;
}
