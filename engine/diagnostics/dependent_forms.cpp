#include "engine/diagnostics/dependent_forms.h"

#include <cctype>

#include "engine/data/formula_functions.h"
#include "shared/names.h"

namespace qorv::diagnostics {

namespace {

bool word_start(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool word_part(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

std::string without_blanks(std::string_view text) {
  std::string out;
  for (const char c : text)
    if (!std::isspace(static_cast<unsigned char>(c))) out += c;
  return out;
}

std::string model_line(std::string_view lhs, const DependentForm& form, std::string_view y, std::string_view derivative,
                       std::string_view end) {
  const std::string line = std::string(lhs) + "=" + form.function;
  if (form.function.empty()) return line;
  return line + " ; " + std::string(y) + "=" + form.inverse + " ; " + std::string(derivative) + "=" + form.derivative +
         std::string(end);
}

}  // namespace

DependentForm TRANSFORMTEXT(int form, std::string_view y, std::string_view divisor, std::string_view dependent) {
  const std::string Y(y), W(divisor), H(dependent);
  switch (form) {
    case kFormLinear: return {Y, H, "1"};
    case kFormLogarithm: return {"LOG(" + Y + ")", "EXP(" + H + ")", "1/" + Y};
    case kFormRatio: return {Y + "/" + W, H + "*" + W, "1/" + W};
    case kFormDifference: return {Y + "-" + Y + "(-1)", H + "+" + Y + "(-1)", "1"};
    case kFormLogDifference:
      return {"LOG(" + Y + ")-LOG(" + Y + "(-1))", "EXP(" + H + "+LOG(" + Y + "(-1)))", "1/" + Y};
    default: return {};
  }
}

std::string statements_text(std::string_view y, std::string_view f, const DependentForm& m1, std::string_view g,
                            const DependentForm& m2) {
  return model_line(f, m1, y, "DF", " ;") + "\n" + model_line(g, m2, y, "DG", " <End>");
}

bool parse_statements(std::string_view text, DependentStatements& out) {
  std::string all = without_blanks(text);
  const std::string upper = names::upper(all);
  if (const std::size_t end = upper.find("<END>"); end != std::string::npos) all.resize(end);
  int count = 0;
  std::size_t from = 0;
  while (from <= all.size()) {
    std::size_t to = all.find(';', from);
    if (to == std::string::npos) to = all.size();
    const std::string piece = all.substr(from, to - from);
    from = to + 1;
    if (piece.empty()) continue;
    const std::size_t equals = piece.find('=');
    if (count == 6 || equals == std::string::npos || equals + 1 == piece.size()) return false;
    const std::string name = names::valid_name(piece.substr(0, equals));
    if (name.empty()) return false;
    out.name[static_cast<std::size_t>(count)] = name;
    out.formula[static_cast<std::size_t>(count)] = names::upper(piece.substr(equals + 1));
    ++count;
  }
  return count == 6;
}

std::vector<std::string> formula_variables(std::string_view formula) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < formula.size()) {
    const char c = formula[i];
    if (std::isdigit(static_cast<unsigned char>(c)) != 0 || c == '.') {  // a number
      while (i < formula.size() && (std::isalnum(static_cast<unsigned char>(formula[i])) != 0 || formula[i] == '.')) ++i;
      continue;
    }
    if (!word_start(c)) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < formula.size() && word_part(formula[i])) ++i;
    const std::string word = names::upper(formula.substr(start, i - start));
    const bool call = i < formula.size() && formula[i] == '(';
    if (call && data::LOOKUPFUNCTION(word) != 0) continue;
    out.push_back(word);
  }
  return out;
}

std::string check_statements(const DependentStatements& s, std::string_view dependent,
                             const std::function<bool(std::string_view)>& exists) {
  for (int i = 0; i < 6; ++i)
    for (const std::string& v : formula_variables(s.formula[static_cast<std::size_t>(i)])) {
      if (i == kInverse2 && v == s.name[kG]) continue;
      if (!exists(v)) return "Variable " + v + " is not on your workspace! Please create it.";
    }
  for (const int i : {kDF, kDG})
    if (exists(s.name[static_cast<std::size_t>(i)]))
      return "Variable " + s.name[static_cast<std::size_t>(i)] + " should not exist on your workspace!";
  if (s.name[kInverse1] != s.name[kInverse2])
    return "The inverse functions for both models must map into (give) the same variable!";
  if (!exists(s.name[kInverse1])) return "Variable " + s.name[kInverse1] + " is not on your workspace! Please create it.";
  if (s.name[kF] != names::upper(dependent))
    return "The first function must give " + names::upper(dependent) + ", the dependent variable of model M1!";
  return "";
}

}  // namespace qorv::diagnostics
