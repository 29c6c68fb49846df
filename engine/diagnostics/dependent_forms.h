// The dependent variables of two non-nested models as functions of one workspace variable
// Y: the formula texts of the standard forms, the statements the user types for any other
// form, and their checks.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::diagnostics {

/// The forms of menu 1042.
enum DependentFormChoice : int {
  kFormBack = 0,
  kFormLinear = 1,
  kFormLogarithm = 2,
  kFormRatio = 3,
  kFormDifference = 4,
  kFormLogDifference = 5,
  kFormGeneral = 6,
};

/// A model's dependent variable H = h(Y) as three formula texts (right-hand sides).
struct DependentForm {
  std::string function;    ///< h(Y)
  std::string inverse;     ///< Y in terms of H
  std::string derivative;  ///< dh/dY
};

/// The texts of form `form` (1..5) of Y = `y`, with `divisor` the W of the ratio form and
/// `dependent` the name H stands under in the inverse:
///   1 Y, H, 1;  2 LOG(Y), EXP(H), 1/Y;  3 Y/W, H*W, 1/W;  4 Y-Y(-1), H+Y(-1), 1;
///   5 LOG(Y)-LOG(Y(-1)), EXP(H+LOG(Y(-1))), 1/Y.
/// Any other form gives empty texts.
DependentForm TRANSFORMTEXT(int form, std::string_view y, std::string_view divisor, std::string_view dependent);

/// The six statements of the editor: F = f(Y), Y = f⁻¹(F), DF = f′(Y) for model M1, then
/// the same three for M2 (G, Y, DG). Names upper case, texts without blanks.
struct DependentStatements {
  std::array<std::string, 6> name;     ///< left-hand sides
  std::array<std::string, 6> formula;  ///< right-hand sides
};

/// Statement positions.
enum StatementIndex : int { kF = 0, kInverse1 = 1, kDF = 2, kG = 3, kInverse2 = 4, kDG = 5 };

/// The editor text of both models' statements, one model a line:
/// "F=f ; Y=inverse ; DF=derivative ;" and "G=g ; Y=inverse ; DG=derivative <End>". A form
/// with an empty function gives "F=" (or "G=") alone.
std::string statements_text(std::string_view y, std::string_view f, const DependentForm& m1, std::string_view g,
                            const DependentForm& m2);

/// Reads the editor's text: blanks dropped, everything from "<End>" (any case) on ignored,
/// statements split at ";" (empty ones skipped), each "NAME=formula". False unless exactly
/// six statements with a valid name each and a formula are found.
bool parse_statements(std::string_view text, DependentStatements& out);

/// The variable names (upper case) a formula text reads: every word that is not a number
/// or a function name followed by "(".
std::vector<std::string> formula_variables(std::string_view formula);

/// The first refusal of the statements as the message the user sees, or "" when they pass:
/// a variable read on a right-hand side that `exists` does not know ("Variable X is not on
/// your workspace! Please create it."; M2's inverse may read G itself), a derivative name
/// that exists (" should not exist on your workspace!"), two inverses of different
/// variables, an inverse of a variable that does not exist, or a first function that does
/// not give M1's dependent variable `dependent`.
std::string check_statements(const DependentStatements& s, std::string_view dependent,
                             const std::function<bool(std::string_view)>& exists);

}  // namespace qorv::diagnostics
