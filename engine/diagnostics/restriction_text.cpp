#include "engine/diagnostics/restriction_text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "engine/core/list_directed.h"
#include "engine/data/formula_evaluator.h"
#include "engine/diagnostics/parameter_relations.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::diagnostics {

namespace {

using data::FormulaProgram;
using data::FormulaStatus;

constexpr double kLinearTolerance = 1e-11;

/// One side of an equation, compiled over the parameters alone.
bool compile_side(std::string_view side, std::span<const std::string> names, FormulaProgram& out) {
  if (side.empty()) return false;
  const data::FormulaNames bound{{}, names};
  data::CompileResult compiled = data::compile_formula(side, bound, true);
  if (compiled.status != FormulaStatus::kOk) return false;
  out = std::move(compiled.program);
  return true;
}

/// Evaluates both sides at parameter points.
class SideValues {
 public:
  SideValues(const FormulaProgram& left, const FormulaProgram& right) : left_(left), right_(right) {}

  /// left and right at `theta`; false when the evaluator refuses a side.
  bool at(std::span<const double> theta, double& left, double& right) {
    return one(left_, theta, left) && one(right_, theta, right);
  }

 private:
  bool one(const FormulaProgram& program, std::span<const double> theta, double& value) {
    data::FormulaData point;
    point.nobs = 1;
    point.nvars = 0;
    point.parameters = theta;
    value = limits::kMissing;
    const FormulaStatus status = data::evaluate_formula(program, point, 1, 1, std::span<double>(&value, 1),
                                                        scratch_, std::max(1, program.max_depth));
    return status == FormulaStatus::kOk;
  }

  const FormulaProgram& left_;
  const FormulaProgram& right_;
  data::FormulaScratch scratch_;
};

bool usable(double x) { return x != limits::kMissing && std::isfinite(x); }

/// One equation read into a row.
struct RowRead {
  bool processed = true;   ///< false: the formula language refused a side
  bool linear = true;
  std::vector<double> row;
  double constant = 0.0;
  double g0 = 0.0;  ///< left − right with every parameter zero
  double coefficient_scale = 1.0;
};

RowRead read_row(const FormulaProgram& left, const FormulaProgram& right, int n) {
  RowRead out;
  SideValues sides(left, right);
  const auto un = static_cast<std::size_t>(n);
  std::vector<double> theta(un, 0.0);
  double l0 = 0.0;
  double r0 = 0.0;
  if (!sides.at(theta, l0, r0)) {
    out.processed = false;
    return out;
  }
  bool finite = usable(l0) && usable(r0);
  out.g0 = l0 - r0;
  out.constant = r0 - l0;
  // g(t·e_j) − g(0) for t = 1, 2.
  out.row.assign(un, 0.0);
  std::vector<double> at_two(un, 0.0);
  for (std::size_t j = 0; j < un && finite; ++j) {
    for (const double t : {1.0, 2.0}) {
      theta[j] = t;
      double l = 0.0;
      double r = 0.0;
      if (!sides.at(theta, l, r)) {
        out.processed = false;
        return out;
      }
      finite = finite && usable(l) && usable(r);
      // Each side's change on its own: a coefficient far below the constants stays exact.
      (t == 1.0 ? out.row[j] : at_two[j]) = (l - l0) - (r - r0);
    }
    theta[j] = 0.0;
  }
  // All equal to 1, all equal to 2, and a point of distinct values in (1, 2).
  double g_one = 0.0;
  double g_two = 0.0;
  double g_mixed = 0.0;
  double mixed_expected = 0.0;
  double mixed_size = 0.0;
  for (int point = 0; point < 3 && finite; ++point) {
    for (std::size_t j = 0; j < un; ++j)
      theta[j] = point == 0 ? 1.0 : point == 1 ? 2.0 : 1.0 + static_cast<double>(j + 1) / static_cast<double>(n + 1);
    double l = 0.0;
    double r = 0.0;
    if (!sides.at(theta, l, r)) {
      out.processed = false;
      return out;
    }
    finite = finite && usable(l) && usable(r);
    (point == 0 ? g_one : point == 1 ? g_two : g_mixed) = (l - l0) - (r - r0);
  }
  if (!finite) {
    out.linear = false;
    return out;
  }
  double largest = 0.0;
  for (std::size_t j = 0; j < un; ++j) {
    largest = std::max(largest, std::abs(out.row[j]));
    mixed_expected += out.row[j] * theta[j];
    mixed_size += std::abs(out.row[j] * theta[j]);
  }
  out.coefficient_scale = std::max(1.0, largest);
  // Sums of n terms and a constant carry rounding of their own size.
  const double scale = std::max({out.coefficient_scale, std::abs(l0), std::abs(r0), mixed_size});
  const double tol = kLinearTolerance * scale;
  if (std::abs(2.0 * g_one - g_two) > tol) out.linear = false;
  for (std::size_t j = 0; j < un; ++j)
    if (std::abs(2.0 * out.row[j] - at_two[j]) > tol) out.linear = false;
  if (std::abs(g_mixed - mixed_expected) > tol) out.linear = false;
  return out;
}

RestrictionParse refused(RestrictionParse parse, std::string_view message) {
  parse.outcome = RestrictionOutcome::kRefused;
  parse.message = std::string(message);
  parse.k = 0;
  parse.matrix.clear();
  parse.constants.clear();
  return parse;
}

/// Exactly m finite numbers from a piece of kind 2.
bool read_vector(std::string_view piece, int m, std::vector<double>& out) {
  std::vector<double> values(static_cast<std::size_t>(m) + 1, std::numeric_limits<double>::quiet_NaN());
  const core::ListReadResult read = core::read_numbers(piece, values);
  if (read.status == core::ListStatus::kError) return false;
  if (read.items > m) return false;  // an extra number
  if (!std::isnan(values[static_cast<std::size_t>(m)])) return false;
  for (int j = 0; j < m; ++j)
    if (!std::isfinite(values[static_cast<std::size_t>(j)])) return false;
  out.insert(out.end(), values.begin(), values.begin() + m);
  return true;
}

}  // namespace

int restriction_parameter_count(const RestrictionSizes& sizes) {
  switch (sizes.kind) {
    case RestrictionKind::kHomogeneous:
    case RestrictionKind::kFixedVectors:
      if (sizes.m <= 0 || (sizes.kind == RestrictionKind::kFixedVectors && sizes.r <= 0))
        throw std::invalid_argument("restrictions: m and r must be positive");
      return sizes.m;
    case RestrictionKind::kGeneral:
      if (sizes.m <= 0 || sizes.r <= 0 || sizes.r > kMaxParameterBlocks)
        throw std::invalid_argument("restrictions: m and r must be positive, r at most 26");
      return sizes.r * sizes.m;
    case RestrictionKind::kSure: {
      if (sizes.regressors.empty() || sizes.regressors.size() > static_cast<std::size_t>(kMaxParameterBlocks))
        throw std::invalid_argument("restrictions: 1 to 26 equations");
      int n = 0;
      for (const int k : sizes.regressors) {
        if (k < 0) throw std::invalid_argument("restrictions: a negative regressor count");
        n += k;
      }
      if (n <= 0) throw std::invalid_argument("restrictions: no parameters");
      return n;
    }
  }
  throw std::invalid_argument("restrictions: unknown kind");
}

std::vector<std::string> restriction_parameter_names(const RestrictionSizes& sizes) {
  const int n = restriction_parameter_count(sizes);
  switch (sizes.kind) {
    case RestrictionKind::kHomogeneous: {
      const int blocks[] = {n};
      return parameter_names(blocks);
    }
    case RestrictionKind::kGeneral:
      return parameter_names(std::vector<int>(static_cast<std::size_t>(sizes.r), sizes.m));
    case RestrictionKind::kSure:
      return parameter_names(sizes.regressors);
    case RestrictionKind::kFixedVectors:
      break;
  }
  return {};
}

RestrictionBounds restriction_bounds(const RestrictionSizes& sizes) {
  const int n = restriction_parameter_count(sizes);
  switch (sizes.kind) {
    case RestrictionKind::kHomogeneous: return {1, sizes.m - 1};
    case RestrictionKind::kFixedVectors: return {1, sizes.r};
    case RestrictionKind::kGeneral: return {sizes.r * sizes.r, sizes.phase == 1 ? sizes.r * sizes.r : n};
    case RestrictionKind::kSure: return {1, n - 1};
  }
  return {1, 1};
}

RestrictionParse parse_restrictions(std::string_view text, const RestrictionSizes& sizes) {
  RestrictionParse parse;
  parse.n = restriction_parameter_count(sizes);
  const int n = parse.n;
  const bool numbers = sizes.kind == RestrictionKind::kFixedVectors;
  const std::vector<std::string> names = restriction_parameter_names(sizes);
  const std::string upper = names::upper(text);
  std::string_view rest = upper;
  std::vector<double> rows;  // row after row, n each
  while (!rest.empty()) {
    const std::size_t semi = std::min(rest.find(';'), rest.size());
    const std::string_view piece = fixed_text::trim(rest.substr(0, semi));
    rest = semi < rest.size() ? rest.substr(semi + 1) : std::string_view{};
    if (piece.empty()) continue;
    if (numbers) {
      if (!read_vector(piece, sizes.m, parse.matrix)) return refused(std::move(parse), kNumbersText);
      ++parse.k;
      continue;
    }
    const std::size_t equals = piece.find('=');
    if (equals == std::string_view::npos || fixed_text::trim(piece.substr(equals + 1)).empty())
      return refused(std::move(parse), kEqualitySignText);
    FormulaProgram left;
    FormulaProgram right;
    if (!compile_side(fixed_text::trim(piece.substr(0, equals)), names, left) ||
        !compile_side(fixed_text::trim(piece.substr(equals + 1)), names, right))
      return refused(std::move(parse), kProcessingText);
    const RowRead row = read_row(left, right, n);
    if (!row.processed) return refused(std::move(parse), kProcessingText);
    if (!row.linear) return refused(std::move(parse), kNotLinearText);
    if (sizes.kind == RestrictionKind::kHomogeneous && std::abs(row.g0) > kLinearTolerance * row.coefficient_scale)
      return refused(std::move(parse), kNotHomogeneousText);
    if (parse.k == n) return refused(std::move(parse), kTooManyText);
    rows.insert(rows.end(), row.row.begin(), row.row.end());
    parse.constants.push_back(row.constant);
    ++parse.k;
  }
  if (!numbers) {
    // Rows to column-major with leading dimension k.
    const auto k = static_cast<std::size_t>(parse.k);
    parse.matrix.assign(k * static_cast<std::size_t>(n), 0.0);
    for (std::size_t i = 0; i < k; ++i)
      for (std::size_t j = 0; j < static_cast<std::size_t>(n); ++j)
        parse.matrix[j * k + i] = rows[i * static_cast<std::size_t>(n) + j];
  }
  if (parse.k == 0) {
    parse.outcome = RestrictionOutcome::kEmpty;
    return parse;
  }
  const RestrictionBounds bounds = restriction_bounds(sizes);
  if (parse.k < bounds.least || parse.k > bounds.most) {
    parse.outcome = RestrictionOutcome::kOutOfBounds;
    return parse;
  }
  if (sizes.choice == 3 && parse.k < sizes.r) {
    parse.outcome = RestrictionOutcome::kTooFewForOneVector;
    return parse;
  }
  parse.outcome = RestrictionOutcome::kAccepted;
  return parse;
}

}  // namespace qorv::diagnostics
