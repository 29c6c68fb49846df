// Relations on estimated parameters: restrictions ("A1+A2=1") or named functions
// ("F1=A1/A2") typed as formulas over the parameter names, their values and numerical
// Jacobian at the estimates, the Wald statistic and the delta-method covariance. Nothing
// here reads an estimate's state: the estimates, their covariance and the names come in
// as arguments, so that single equations and systems share it.
//
// Parameters are named by block: the first block A1..Ak, the second B1..Bm, and so on up
// to Z. A relation may name only parameters, numbers and the formula language's
// functions; it is compiled by the formula compiler with the parameters bound, so the
// workspace is never read or written.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/data/formula_compiler.h"

namespace qorv::diagnostics {

/// What the relations are.
enum class RelationMode {
  kRestrictions,  ///< "left = right": the function left − right, tested to be zero
  kFunctions,     ///< "NAME = expression": the expression, estimated
};

/// Most parameter blocks: one letter each, A to Z.
inline constexpr int kMaxParameterBlocks = 26;

/// The parameter names of blocks of the given sizes, in order: A1..A<k>, B1..B<m>, ...
/// Empty when there are more than 26 blocks or a size is negative.
std::vector<std::string> parameter_names(std::span<const int> block_sizes);

/// One relation, compiled.
struct Relation {
  std::string name;               ///< the function's name (functions mode), upper case
  data::FormulaProgram program;   ///< its value as a function of the parameters
};

/// Why a text of relations was refused (or accepted).
enum class RelationError {
  kNone,
  kNoRelation,       ///< nothing but blanks and ";": the user typed nothing
  kEqualitySign,     ///< not exactly one "=" with text on both sides
  kInvalidName,      ///< a function's name fails the name rule (`subject` holds it)
  kNameTwice,        ///< a function's name used before (`subject` holds it)
  kProcessing,       ///< any other fault of the relation at `index`
  kTooMany,          ///< more relations than the limit
};

/// The relations of a text, or the first fault found.
struct RelationParse {
  RelationError error = RelationError::kNone;
  int index = 0;          ///< the relation at fault, from 1 (pieces between ";" that are blank not counted)
  std::string subject;    ///< the name at fault (kInvalidName, kNameTwice), as typed
  std::vector<Relation> relations;
};

/// Splits `text` at ";" (blank pieces skipped) and compiles each relation over `names`
/// (upper case; letters of the text are upper-cased). At most `limit` relations.
/// Cost: O(length of the text).
RelationParse parse_relations(std::string_view text, RelationMode mode, std::span<const std::string> names,
                              int limit);

/// The relations' values f (r) and Jacobian J (r × p, row-major) at `theta`.
struct RelationValues {
  std::vector<double> f;
  std::vector<double> jacobian;
  int failed = 0;  ///< 0, or the relation (from 1) that has no finite value at θ or a step from it
};

/// The step of the central difference for a parameter whose estimate is `theta`:
/// 0.001·|θ|, but 0.0001 when that is below 0.0001.
double derivative_step(double theta);

/// Evaluates every relation at θ and at θ ± h·e_j for each parameter j, the derivative
/// being (f(θ + h e_j) − f(θ − h e_j)) / (2h). Cost: O(r · p · program length).
RelationValues evaluate_relations(std::span<const Relation> relations, std::span<const double> theta);

/// J V J' (packed r × r) for J (r × p, row-major) and V (packed p × p) times `scale`.
/// Cost: O(r · p²). Throws std::invalid_argument when J or V is too short.
std::vector<double> function_covariance(std::span<const double> jacobian, int r, std::span<const double> variance,
                                        int p, double scale);

/// The Wald statistic f' (J V J')⁻¹ f from f and the packed J V J' (`covariance`, r × r);
/// the missing code when J V J' cannot be inverted. Throws std::invalid_argument when
/// the covariance is too short for f.
double wald_statistic(std::span<const double> f, std::span<const double> covariance);

}  // namespace qorv::diagnostics
