// The formula compiler: expression text to a checked postfix program. Each caller owns
// the program it compiles (the command interpreter, the non-linear estimator, the tests of
// restrictions); nothing is kept between calls and nothing is shown: a refusal comes back
// as a status with the statement's own message where it has one.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/data/formula_functions.h"
#include "engine/data/formula_tokens.h"

namespace qorv::data {

/// Most entries of a token table, inserted "0" and "0.0" operands included.
inline constexpr int kMaxFormulaTokens = 600;
/// Seeds of UNIFORM and NORMAL run from 1 to this.
inline constexpr int kMaxSeed = 32000;
/// Lags and leads are cut to this length when the program runs.
inline constexpr int kMaxShift = 32767;

/// Why a formula was refused (or kOk).
enum class FormulaStatus {
  kOk,
  kIllegalCharacter,  ///< a character outside the language, or a word of 10 or more characters
  kUnknownName,       ///< a word that is no number, function or known name
  kMalformed,         ///< operands and operators out of turn, brackets, arguments, a bad lag
  kTooLong,           ///< more than 600 tokens
  kBadSeed,           ///< a seed outside 1..32000
  kRandomInSimulation,///< UNIFORM or NORMAL in a SIM or SIMB formula
  kStackOverflow,     ///< (evaluation) more pending values than the stack holds
  kBadArguments,      ///< (evaluation) a sample, column or buffer outside the data
};

/// The names a formula may use. A parameter shadows a workspace variable of the same
/// name: it is one number per evaluation, never a column.
struct FormulaNames {
  std::span<const std::string> variables;   ///< variable j + 1 is entry j (upper case)
  std::span<const std::string> parameters;  ///< parameter j is entry j (upper case)
};

/// One step of a postfix program.
struct FormulaOp {
  enum Kind {
    kNumber,     ///< push `value`
    kVariable,   ///< push workspace variable `index` (from 1)
    kParameter,  ///< push parameter `index` (from 0)
    kLag,        ///< pop k and the variable below it; push the variable lagged by k
    kLead,       ///< pop k and the variable below it; push the variable led by k
    kFunction,   ///< apply operation `index` (a FormulaCode)
  };
  Kind kind = kNumber;
  int index = 0;
  double value = 0.0;
  bool integer_text = false;  ///< a number written without a point (the power rule)
};

/// A compiled formula: the steps in evaluation order, and what the stack simulation found.
struct FormulaProgram {
  std::vector<FormulaOp> ops;
  int max_depth = 0;            ///< most values pending at once
  int token_count = 0;          ///< entries of the token table, inserted operands included
  bool whole_sample = false;    ///< uses SUM, MEAN, STD, DIRACC or HPF
  /// The variable when the expression is that one variable alone (0 otherwise).
  int single_variable() const {
    return ops.size() == 1 && ops[0].kind == FormulaOp::kVariable ? ops[0].index : 0;
  }
};

struct CompileResult {
  FormulaStatus status = FormulaStatus::kOk;
  /// The statement's own message ("The expression is too long!", the seed messages);
  /// empty where it has none: the caller then shows only its general refusal.
  std::string message;
  FormulaProgram program;
};

/// Compiles an expression (the text right of "=", without a quoted description). With
/// `simulation` (SIM and SIMB formulas) UNIFORM and NORMAL are refused. This is also the
/// interpreter's prepare-only use: a formula checked and put in postfix form, not run.
///
/// The language: numbers (at most 9 characters, no sign or exponent), names, "+ - * / ^"
/// (left-associative; "^" binds tighter than "* /", which bind tighter than "+ -"),
/// function calls, brackets, and NAME(-k) / NAME(+k) lags and leads of a variable. Operands
/// and operators alternate; a sign may only open the expression (read as 0 - ...) or
/// follow "(" (read as (0.0 - ...)). A seed is exactly "(" integer ")". Cost: O(tokens).
CompileResult compile_formula(std::string_view text, const FormulaNames& names,
                              bool simulation = false);

/// One entry of a token table: its text and class (a lag "\" or lead "|" is class 3).
struct FormulaToken {
  std::string text;
  int cls = kIllegalClass;
};

/// The argument check of function calls over a token table in text order: a two-argument
/// function needs exactly one comma at its own bracket level, a one-argument function a
/// bracketed argument; commas elsewhere and unbalanced brackets fail. True when it holds.
bool CLASSIFYTOKENS(std::span<const FormulaToken> tokens);

/// The positions (from 0) of the tokens in postfix order: lag/lead binds tightest, then
/// functions, "^", "* /", "+ -", all to the left; brackets and commas drop out.
std::vector<int> INFIXTOPOSTFIX(std::span<const FormulaToken> tokens);

}  // namespace qorv::data
