#include "engine/single/nonlinear_formula.h"

#include <algorithm>
#include <cstddef>
#include <memory>

#include "engine/data/formula_tokens.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::single {

NonLinearFormulaStatus read_nonlinear_formula(std::string_view text, std::span<const std::string> variables,
                                              NonLinearFormula& out) {
  out = NonLinearFormula{};
  std::string line(text);
  std::replace_if(line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  std::string_view whole = fixed_text::trim(line);
  if (!whole.empty() && whole.back() == ';') whole = fixed_text::trim(whole.substr(0, whole.size() - 1));
  const std::size_t equals = whole.find('=');
  if (equals == std::string_view::npos) return NonLinearFormulaStatus::kNoDependent;
  std::string left(fixed_text::trim(whole.substr(0, equals)));
  std::transform(left.begin(), left.end(), left.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const auto found = std::find(variables.begin(), variables.end(), left);
  if (left.empty() || found == variables.end()) return NonLinearFormulaStatus::kNoDependent;
  out.dependent = static_cast<int>(found - variables.begin()) + 1;
  out.expression = std::string(fixed_text::trim(whole.substr(equals + 1)));

  // Every valid name that is not a variable is a parameter.
  std::size_t position = 0;
  while (position < out.expression.size()) {
    const data::ScanResult token = data::NEXTTOKEN(out.expression, position, variables);
    if (token.status == data::ScanStatus::kIllegal) return NonLinearFormulaStatus::kRefused;
    if (token.status != data::ScanStatus::kUnknownWord) continue;
    std::string name = token.text;
    if (!names::VALIDNAME(name)) return NonLinearFormulaStatus::kRefused;
    if (std::find(out.parameters.begin(), out.parameters.end(), name) == out.parameters.end())
      out.parameters.push_back(name);
  }
  if (out.parameters.empty()) return NonLinearFormulaStatus::kNoParameters;
  data::CompileResult compiled = data::compile_formula(out.expression, data::FormulaNames{variables, out.parameters});
  if (compiled.status != data::FormulaStatus::kOk) return NonLinearFormulaStatus::kRefused;
  out.program = std::move(compiled.program);
  return NonLinearFormulaStatus::kOk;
}

NonLinearModel formula_model(const NonLinearFormula& formula, const data::FormulaData& data, int first, int last,
                             int capacity) {
  auto scratch = std::make_shared<data::FormulaScratch>();
  scratch->keep_parts = true;  // the data stay as they are while the model lives
  auto column = std::make_shared<std::vector<double>>(static_cast<std::size_t>(std::max(data.nobs, 0)));
  return [&formula, data, first, last, capacity, scratch, column](std::span<const double> theta,
                                                                   std::span<double> fitted) {
    if (last < first || fitted.size() != static_cast<std::size_t>(last - first + 1)) return false;
    data::FormulaData bound = data;
    bound.parameters = theta;
    if (data::evaluate_formula(formula.program, bound, first, last, *column, *scratch, capacity) !=
        data::FormulaStatus::kOk)
      return false;
    std::copy(column->begin() + first - 1, column->begin() + last, fitted.begin());
    return true;
  };
}

std::vector<double> formula_forecast(const NonLinearFormula& formula, const data::FormulaData& data, int first,
                                     int last, int capacity) {
  const auto rows = static_cast<std::size_t>(std::max(data.nobs, 0));
  if (first < 2 || last < first || last > data.nobs || formula.dependent < 1 || formula.dependent > data.nvars ||
      data.data.size() < rows * static_cast<std::size_t>(data.nvars))
    return {};
  std::vector<double> copy(data.data.begin(), data.data.begin() + static_cast<std::ptrdiff_t>(rows * data.nvars));
  const auto dependent = static_cast<std::size_t>(formula.dependent - 1) * rows;
  for (int t = first; t <= data.nobs; ++t) copy[dependent + static_cast<std::size_t>(t - 1)] = data.missing;
  data::FormulaData bound = data;
  bound.data = copy;
  data::FormulaScratch scratch;
  std::vector<double> column(rows, data.missing), forecasts;
  for (int t = first; t <= last; ++t) {
    if (data::evaluate_formula(formula.program, bound, t, t, column, scratch, capacity) != data::FormulaStatus::kOk)
      return {};
    const double value = column[static_cast<std::size_t>(t - 1)];
    if (value == data.missing) return {};
    forecasts.push_back(value);
    copy[dependent + static_cast<std::size_t>(t - 1)] = value;
  }
  return forecasts;
}

}  // namespace qorv::single
