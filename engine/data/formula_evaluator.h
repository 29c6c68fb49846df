// The formula evaluator: runs a compiled program over observations S..E of the workspace's
// columns, column by column, into a result column. A pure function of its arguments (and
// of the seeds UNIFORM and NORMAL set themselves): nothing is kept between calls but what
// the caller's scratch is asked to keep.
#pragma once

#include <span>
#include <vector>

#include "engine/data/formula_compiler.h"
#include "shared/exchange_slots.h"

namespace qorv::data {

/// Who runs a formula, which sets the stack's capacity.
enum class FormulaCaller {
  kCommands,    ///< the command interpreter: (343771 div NOBS) - NVARS - 1 levels
  kEstimation,  ///< the estimators: (124000 div NOBS) - NVARS - 1 levels
};

/// Values a formula may hold pending at once on a workspace of `nobs` observations and
/// `nvars` variables (may be 0 or less: then only a single-token formula runs).
int formula_stack_capacity(FormulaCaller caller, int nobs, int nvars);

/// The columns a program reads.
struct FormulaData {
  std::span<const double> data;        ///< column-major, `nobs` rows, at least `nvars` columns
  int nobs = 0;
  int nvars = 0;
  std::span<const double> parameters;  ///< the value of each of the program's parameters
  double missing = limits::kMissing;
};

/// The parts of one formula kept with the parameter values they were computed at (see
/// FormulaScratch::keep_parts). Part i is the value of the steps start[i]..i.
struct FormulaParts {
  const FormulaProgram* program = nullptr;  ///< the formula, data and rows they belong to
  const double* data = nullptr;
  int nobs = 0, first = 0, last = 0;
  std::vector<int> start;                      ///< first step of each part
  std::vector<std::vector<int>> parameters;    ///< the parameters each part reads
  std::vector<std::vector<double>> values;     ///< their values when it was kept
  std::vector<std::vector<double>> columns;    ///< the part's value, nobs rows; empty: not kept
  std::vector<std::vector<int>> starting;      ///< the parts starting at each step, largest first
};

/// Buffers an evaluation works in: kept by the caller between evaluations, so that a
/// formula run row by row (SIM) allocates only on its first run.
struct FormulaScratch {
  std::vector<double> stack;  ///< one column per stack level
  std::vector<double> sort;   ///< two sort columns
  /// Set by a caller that evaluates one formula at many parameter values over the same
  /// data and observations, the data unchanged in between (the non-linear estimators'
  /// derivatives): a formula of operations observation by observation then keeps each of
  /// its parts with the parameter values it read, and takes a part again where they are
  /// the same values (the same operations on the same values give the same result).
  bool keep_parts = false;
  FormulaParts parts;
};

/// Runs `program` for observations first..last (from 1, within 1..nobs) into rows
/// first..last of `result` (at least nobs values; other rows are untouched). `result` is
/// written after every read, so it may be a column of `data`.
///
/// Every stored value is finite or the missing code: a missing operand, a logarithm or
/// root out of its domain, a division by zero, an overflow, a lag or lead beyond the data
/// gives the missing code for that observation. Returns kStackOverflow (after showing
/// message-file line 30, the result untouched) when the program needs more than
/// `capacity` pending values, kBadArguments (nothing written) when the sample, the columns
/// or the parameters do not fit the data, or the program lacks the compiler's shape. Cost: O(operations · (E - S + 1)), sorts O(n log n).
FormulaStatus evaluate_formula(const FormulaProgram& program, const FormulaData& data,
                               int first, int last, std::span<double> result,
                               FormulaScratch& scratch, int capacity);

}  // namespace qorv::data
