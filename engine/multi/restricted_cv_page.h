// The results page of restricted cointegrating vectors: the vectors with their normalised
// values (or, under general restrictions, their standard errors) in brackets, the
// restrictions as typed, and the likelihood-ratio test of the restrictions.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "engine/core/system_headers.h"
#include "engine/multi/restricted_cv.h"

namespace qorv::multi {

/// What the page shows.
struct RestrictedCvPage {
  int option = 4;       ///< the structural-modelling option: 1, 2, 3, 4 or 6
  int model_case = 3;   ///< the deterministic case (the model title)
  core::CointHeaderArgs header;  ///< the cointegration header (no eigenvalues are listed)
  std::string_view text;         ///< the restrictions as typed (40 lines of 78)
  std::span<const std::string> names;  ///< the k names of a vector
  const CvEstimate* estimate = nullptr;
  int r = 0;
  double exact_loglik = 0.0;  ///< option 4: the log-likelihood under exactly identifying restrictions
};

/// Columns and rows of one block of the table.
inline constexpr int kVectorsPerBlock = 4;
inline constexpr int kRowsPerBlock = 12;

/// Writes the page and shows it. Throws std::invalid_argument without an estimate or with
/// fewer names or values than k × r.
void write_restricted_vectors(const RestrictedCvPage& page);

}  // namespace qorv::multi
