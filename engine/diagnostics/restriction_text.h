// Linear restrictions typed as text, read into a restriction matrix: the reader behind the
// restriction editor of the cointegrating vectors and of restricted SURE. It is a pure
// function of the text and the sizes: the parameters are bound privately in the formula
// language (a workspace variable of the same name is never read), and nothing is shown.
//
// Parameters are named by block: A1..A<size> for the first vector or equation, B1.. for
// the second, and so on. Each restriction "left = right" must be linear in them; its row
// holds the coefficient of each parameter in left − right and its constant the value of
// right − left with every parameter zero, so that R·θ = constants.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qorv::diagnostics {

/// What the text restricts.
enum class RestrictionKind : int {
  kHomogeneous = 1,   ///< homogeneous restrictions on one vector of m coefficients
  kFixedVectors = 2,  ///< whole vectors of m numbers each
  kGeneral = 3,       ///< restrictions on all r vectors of m coefficients
  kSure = 4,          ///< restrictions on the coefficients of a SURE system
};

/// The sizes the reader works with.
struct RestrictionSizes {
  RestrictionKind kind = RestrictionKind::kGeneral;
  int m = 0;                   ///< coefficients of one cointegrating vector (kinds 1 to 3)
  int r = 0;                   ///< cointegrating vectors (kinds 2 and 3)
  std::vector<int> regressors; ///< kind 4: the regressors of each equation
  int phase = 1;               ///< kind 3: 1 exactly identifying, 2 over-identifying
  int choice = 0;              ///< the structural-modelling option the text serves (3: one vector)
};

/// How a text was read.
enum class RestrictionOutcome {
  kAccepted,        ///< k restrictions within their bounds
  kEmpty,           ///< nothing but blanks and ";"
  kRefused,         ///< `message` says why; the user corrects the text
  kOutOfBounds,     ///< k outside the kind's bounds: a beep, and the text again
  kTooFewForOneVector,  ///< option 3 with fewer than r restrictions
};

/// The messages of a refused text.
inline constexpr std::string_view kEqualitySignText = " Equality sign is missing or misplaced!";
inline constexpr std::string_view kProcessingText =
    "Error while processing the restriction(s)! Please correct using the editor.";
inline constexpr std::string_view kNotLinearText = "At least a restriction is not linear!";
inline constexpr std::string_view kNotHomogeneousText = "At least one restriction is not homogenous!";
inline constexpr std::string_view kTooManyText = " Too many restrictions!";
inline constexpr std::string_view kNumbersText = "Error in the specification of parameter restriction(s)!";

/// The result of reading a text.
struct RestrictionParse {
  RestrictionOutcome outcome = RestrictionOutcome::kEmpty;
  std::string message;  ///< kRefused only
  int k = 0;            ///< restrictions read (also when out of bounds)
  int n = 0;            ///< parameters
  /// Kinds 1, 3, 4: R, k × n, column-major with leading dimension k. Kind 2: the k
  /// vectors of m numbers one after the other.
  std::vector<double> matrix;
  std::vector<double> constants;  ///< kinds 1, 3, 4: k
  /// The element of R at row i, column j (from 0).
  double at(int i, int j) const {
    return matrix[static_cast<std::size_t>(j) * static_cast<std::size_t>(k) + static_cast<std::size_t>(i)];
  }
};

/// The number of parameters: m (kinds 1, 2), r·m (kind 3), the sum of the regressors
/// (kind 4). Throws std::invalid_argument for sizes no text can be read against (a
/// non-positive m or r, a negative regressor count, more than 26 blocks).
int restriction_parameter_count(const RestrictionSizes& sizes);

/// The parameter names of kinds 1, 3 and 4, in parameter order (kind 2: none).
std::vector<std::string> restriction_parameter_names(const RestrictionSizes& sizes);

/// The least and most restrictions the kind takes.
struct RestrictionBounds {
  int least = 1;
  int most = 1;
};
RestrictionBounds restriction_bounds(const RestrictionSizes& sizes);

/// Reads `text` (any case; pieces split at ";", blank pieces skipped). Each equation is
/// evaluated with every parameter 0, each one alone at 1 and at 2, all at 1 and at 2, and
/// all at a point of distinct values; a side the formula language refuses, or whose values
/// are not those of one linear function (tolerance 1e-11 scaled by the largest coefficient
/// or constant), refuses the text. Cost: O(pieces · n · program length).
RestrictionParse parse_restrictions(std::string_view text, const RestrictionSizes& sizes);

}  // namespace qorv::diagnostics
