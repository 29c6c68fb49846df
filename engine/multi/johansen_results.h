// The Johansen estimation of a cointegrating VAR over the workspace, and the results pages
// of its cointegrating vectors and of its long-run matrix.
#pragma once

#include <span>

#include "engine/multi/cvar_session.h"

namespace qorv::multi {

/// Table codes of `JOHANSENRESULTS`.
inline constexpr int kVectorTable = 3;   ///< the cointegrating vectors, k rows × r columns
inline constexpr int kLongRunTable = 5;  ///< the long-run matrix Π = αβ', m rows × k columns

/// Estimation kinds of `JOHANSENRESULTS`: 0 and 5 the unrestricted vectors, otherwise
/// the structural-modelling option under which the restricted vectors were estimated.
/// (1 some vectors fixed, 2 the same restrictions on every vector, 3 restrictions on one
/// vector, 4 general restrictions, 6 every vector fixed).
inline constexpr int kUnrestrictedDisplay = 0;  ///< menu 1026's displays
inline constexpr int kJohansenIdentified = 5;   ///< Johansen's just-identifying restrictions

/// Most columns and rows of one block of a results table.
inline constexpr int kBlockColumns = 4;
inline constexpr int kBlockRows = 12;

/// Estimates the cointegrating VAR of `session` (its list, sample, p, case, m, e and d set)
/// on `data`, the workspace's data matrix of `nobs` observations per variable: copies the
/// I(1) series with their p initial values and the I(0) series into the session and fills
/// its fit, under the busy notice. False after the failure was shown: message-file lines
/// 13 and 14 for a singular moment matrix, the eigenvalue warning when the solver does not
/// converge. Throws std::invalid_argument when the list or the sample does not fit `data`.
bool JOHANSENESTIMATE(std::span<const double> data, int nobs, CvarSession& session, double tol);

/// A results page: table code 3 the session's current vectors (k rows, r columns, each
/// value with its normalised value -β(j, i)/β(1, i) in brackets, "*NONE*" when
/// |β(1, i)| <= tol; under general restrictions the standard error instead, with fixed
/// vectors nothing), table code 5 the long-run matrix over the first r Johansen vectors
/// (kinds 0 and 5 only). Blocks of at most 4 columns and 12 rows, each with the headings.
/// For the restricted kinds 1 to 4 and 6 the headings carry the iteration count of the
/// session's restricted estimate and the restriction text, and the likelihood-ratio test
/// of the restrictions follows the table.
void JOHANSENRESULTS(const CvarSession& session, int kind, int table_code, double tol);

}  // namespace qorv::multi
