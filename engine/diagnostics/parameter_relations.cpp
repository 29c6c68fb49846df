#include "engine/diagnostics/parameter_relations.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "engine/core/num/packed_factor.h"
#include "engine/core/num/packed_index.h"
#include "engine/data/formula_evaluator.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::diagnostics {

namespace {

using data::FormulaOp;
using data::FormulaProgram;
using data::FormulaStatus;

std::size_t packed(int i, int j) { return static_cast<std::size_t>(core::PACKEDINDEX(i, j) - 1); }

/// `expression` compiled over the parameters alone; nothing when the compiler refuses it.
/// UNIFORM and NORMAL are refused as in a simulation: a relation must be a function of
/// the parameters.
bool compile_side(std::string_view expression, std::span<const std::string> names, FormulaProgram& out) {
  const data::FormulaNames bound{{}, names};
  data::CompileResult compiled = data::compile_formula(expression, bound, true);
  if (compiled.status != FormulaStatus::kOk) return false;
  out = std::move(compiled.program);
  return true;
}

/// left − right as one program: the two programs one after the other, then a subtraction.
FormulaProgram difference(FormulaProgram left, const FormulaProgram& right) {
  left.max_depth = std::max(left.max_depth, right.max_depth + 1);
  left.token_count += right.token_count + 1;
  left.whole_sample = left.whole_sample || right.whole_sample;
  left.ops.insert(left.ops.end(), right.ops.begin(), right.ops.end());
  FormulaOp minus;
  minus.kind = FormulaOp::kFunction;
  minus.index = data::kSubtract;
  left.ops.push_back(minus);
  return left;
}

/// The relation `piece` (upper case, trimmed); sets `parse.error` when it is refused.
void read_relation(std::string_view piece, RelationMode mode, std::span<const std::string> names,
                   RelationParse& parse) {
  const std::size_t equals = piece.find('=');
  const bool one_sign = equals != std::string_view::npos && piece.find('=', equals + 1) == std::string_view::npos;
  const std::string_view left = one_sign ? fixed_text::trim(piece.substr(0, equals)) : std::string_view{};
  const std::string_view right = one_sign ? fixed_text::trim(piece.substr(equals + 1)) : std::string_view{};
  if (left.empty() || right.empty()) {
    parse.error = RelationError::kEqualitySign;
    return;
  }
  Relation relation;
  if (mode == RelationMode::kFunctions) {
    relation.name = names::valid_name(left);
    if (relation.name.empty()) {
      parse.error = RelationError::kInvalidName;
      parse.subject = std::string(left);
      return;
    }
    for (const Relation& earlier : parse.relations)
      if (earlier.name == relation.name) {
        parse.error = RelationError::kNameTwice;
        parse.subject = std::string(left);
        return;
      }
    if (!compile_side(right, names, relation.program)) parse.error = RelationError::kProcessing;
  } else {
    FormulaProgram left_program;
    FormulaProgram right_program;
    if (!compile_side(left, names, left_program) || !compile_side(right, names, right_program)) {
      parse.error = RelationError::kProcessing;
      return;
    }
    relation.program = difference(std::move(left_program), right_program);
  }
  if (parse.error == RelationError::kNone) parse.relations.push_back(std::move(relation));
}

/// The value of `program` at `theta`; false when it has none (a missing result).
bool value_at(const FormulaProgram& program, std::span<const double> theta, data::FormulaScratch& scratch,
              double& value) {
  data::FormulaData point;
  point.nobs = 1;
  point.nvars = 0;
  point.parameters = theta;
  double result = limits::kMissing;
  const FormulaStatus status =
      data::evaluate_formula(program, point, 1, 1, std::span<double>(&result, 1), scratch, program.max_depth);
  if (status != FormulaStatus::kOk || result == limits::kMissing || !std::isfinite(result)) return false;
  value = result;
  return true;
}

}  // namespace

std::vector<std::string> parameter_names(std::span<const int> block_sizes) {
  if (block_sizes.size() > static_cast<std::size_t>(kMaxParameterBlocks)) return {};
  std::vector<std::string> out;
  for (std::size_t b = 0; b < block_sizes.size(); ++b) {
    if (block_sizes[b] < 0) return {};
    for (int i = 1; i <= block_sizes[b]; ++i) out.push_back(static_cast<char>('A' + b) + std::to_string(i));
  }
  return out;
}

RelationParse parse_relations(std::string_view text, RelationMode mode, std::span<const std::string> names,
                              int limit) {
  RelationParse parse;
  const std::string upper = names::upper(text);
  std::string_view rest = upper;
  int index = 0;
  while (!rest.empty()) {
    const std::size_t semi = std::min(rest.find(';'), rest.size());
    const std::string_view piece = fixed_text::trim(rest.substr(0, semi));
    rest = semi < rest.size() ? rest.substr(semi + 1) : std::string_view{};
    if (piece.empty()) continue;
    parse.index = ++index;
    if (index > limit) {
      parse.error = RelationError::kTooMany;
      return parse;
    }
    read_relation(piece, mode, names, parse);
    if (parse.error != RelationError::kNone) return parse;
  }
  parse.index = 0;
  if (parse.relations.empty()) parse.error = RelationError::kNoRelation;
  return parse;
}

double derivative_step(double theta) {
  const double h = 0.001 * std::abs(theta);
  return h < 0.0001 ? 0.0001 : h;
}

RelationValues evaluate_relations(std::span<const Relation> relations, std::span<const double> theta) {
  RelationValues out;
  const std::size_t r = relations.size();
  const std::size_t p = theta.size();
  out.f.assign(r, 0.0);
  out.jacobian.assign(r * p, 0.0);
  data::FormulaScratch scratch;
  std::vector<double> point(theta.begin(), theta.end());
  for (std::size_t i = 0; i < r; ++i) {
    const FormulaProgram& program = relations[i].program;
    bool ok = value_at(program, point, scratch, out.f[i]);
    for (std::size_t j = 0; ok && j < p; ++j) {
      const double h = derivative_step(theta[j]);
      double up = 0.0;
      double down = 0.0;
      point[j] = theta[j] + h;
      ok = value_at(program, point, scratch, up);
      point[j] = theta[j] - h;
      ok = ok && value_at(program, point, scratch, down);
      point[j] = theta[j];
      const double slope = (up - down) / (2.0 * h);
      ok = ok && std::isfinite(slope);
      out.jacobian[i * p + j] = slope;
    }
    if (!ok) {
      out.failed = static_cast<int>(i) + 1;
      return out;
    }
  }
  return out;
}

std::vector<double> function_covariance(std::span<const double> jacobian, int r, std::span<const double> variance,
                                        int p, double scale) {
  if (r < 0 || p < 0 || jacobian.size() < static_cast<std::size_t>(r) * static_cast<std::size_t>(p) ||
      variance.size() < static_cast<std::size_t>(p) * static_cast<std::size_t>(p + 1) / 2)
    throw std::invalid_argument("function_covariance: the Jacobian or the variance matrix is too short");
  const auto up = static_cast<std::size_t>(p);
  // JV row by row, then (JV)J' for the lower triangle.
  std::vector<double> jv(static_cast<std::size_t>(r) * up, 0.0);
  for (int i = 0; i < r; ++i)
    for (int k = 1; k <= p; ++k) {
      double sum = 0.0;
      for (int l = 1; l <= p; ++l)
        sum += jacobian[static_cast<std::size_t>(i) * up + static_cast<std::size_t>(l - 1)] * variance[packed(k, l)];
      jv[static_cast<std::size_t>(i) * up + static_cast<std::size_t>(k - 1)] = sum * scale;
    }
  std::vector<double> out(static_cast<std::size_t>(r) * static_cast<std::size_t>(r + 1) / 2, 0.0);
  for (int i = 1; i <= r; ++i)
    for (int j = 1; j <= i; ++j) {
      double sum = 0.0;
      for (std::size_t k = 0; k < up; ++k)
        sum += jv[static_cast<std::size_t>(i - 1) * up + k] * jacobian[static_cast<std::size_t>(j - 1) * up + k];
      out[packed(i, j)] = sum;
    }
  return out;
}

double wald_statistic(std::span<const double> f, std::span<const double> covariance) {
  const int r = static_cast<int>(f.size());
  if (covariance.size() < f.size() * (f.size() + 1) / 2)
    throw std::invalid_argument("wald_statistic: the covariance matrix is too short");
  std::vector<double> inverse(covariance.begin(), covariance.end());
  int fail = 0;
  core::INVERTSYMPACKED(inverse, r, fail);
  if (fail != 0) return limits::kMissing;
  double w = 0.0;
  for (int i = 1; i <= r; ++i)
    for (int j = 1; j <= r; ++j)
      w += f[static_cast<std::size_t>(i - 1)] * inverse[packed(i, j)] * f[static_cast<std::size_t>(j - 1)];
  return std::isfinite(w) ? w : limits::kMissing;
}

}  // namespace qorv::diagnostics
