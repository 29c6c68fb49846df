// What a cointegrating VAR leaves for its post-estimation dialogue: the model's
// dimensions and sample, the names by role, the data of the estimation in its own arrays,
// the Johansen estimate, the chosen rank and the cointegrating vectors in current use
// (Johansen's or restricted ones). The driver fills it once per estimation; the vector
// displays, the error-correction equations, the dynamic analyses, the forecasts and the
// restricted estimation read it, and the restricted estimation replaces `vectors`.
#pragma once

#include <string>
#include <vector>

#include "engine/core/system_headers.h"
#include "engine/multi/johansen_core.h"
#include "engine/multi/restricted_cv.h"
#include "engine/multi/system_estimate.h"

namespace qorv::multi {

/// Where the current cointegrating vectors come from; also the title of menu 1020.
enum class CvarVectorSource {
  kJohansen,    ///< the first r Johansen vectors: "... (Johansen's CV's)"
  kRestricted,  ///< vectors of a restricted estimation: "... (Restricted CV's)"
};

struct CvarSession {
  int m = 0;           ///< endogenous I(1) variables
  int e = 0;           ///< exogenous I(1) variables
  int d = 0;           ///< I(0) variables
  int model_case = 3;  ///< deterministic case 1..5
  int p = 1;           ///< order of the VAR in levels
  int n = 0;           ///< usable observations, end - start + 1

  int start = 0;         ///< first observation of the estimation sample (from 1)
  int end = 0;           ///< last observation of the estimation sample
  int first_offset = 0;  ///< start - 1

  /// Variable numbers of the list (from 1): the m endogenous, the e exogenous I(1), then
  /// the d I(0) variables.
  std::vector<int> list;
  /// Their names (at most 14 characters), in the same order.
  std::vector<std::string> names;
  /// The k names of a cointegrating vector: the m + e I(1) names, then "Intercept"
  /// (case 2) or "Trend" (case 4) in position m + e + 1.
  std::vector<std::string> vector_names;
  /// The e exogenous I(1) names, then the d I(0) names (the header's second list).
  std::vector<std::string> exogenous_names;

  /// The series of the estimation, owned here; `johansen_data()` views them.
  /// levels: the m + e I(1) series, column-major with n + p rows (the p initial values,
  /// then observations start..end); stationary: the d I(0) series, n rows.
  std::vector<double> levels;
  std::vector<double> stationary;

  JohansenFit fit;  ///< the unrestricted estimate (eigenvalues, β, α, moments, LL0)

  int r = 0;  ///< chosen number of cointegrating vectors; 0 until the user gives it

  /// The current cointegrating vectors, k × r column-major (column i is vector i; row
  /// m + e + 1 the restricted intercept or trend in cases 2 and 4), unnormalised.
  std::vector<double> vectors;
  CvarVectorSource source = CvarVectorSource::kJohansen;
  /// The option of menu 1030 under which the current restricted vectors were estimated
  /// (1 to 4 or 6); 0 with Johansen's vectors. Option 4 changes menu 1020's option 0.
  int restricted_option = 0;

  /// What the request road lends the system estimators (the single-equation estimate of
  /// one equation); set by the driver for the whole dialogue, never null inside it.
  const SystemServices* services = nullptr;

  /// The last restricted estimate (its page is written again from it) and, under general
  /// restrictions, the log-likelihood under exactly identifying ones.
  CvEstimate restricted;
  double exact_loglik = 0.0;
  /// The rank at which general restrictions were last estimated (0 for none): at that
  /// rank the editor asks for over-identifying restrictions to add, at any other for an
  /// exactly identifying set.
  int identified_rank = 0;

  int k() const { return fit.k; }  ///< rows of a vector: m + e, plus 1 in cases 2 and 4
  /// The estimation's data as the estimation core takes it (views into this session).
  JohansenData johansen_data() const;
  /// The arguments of the cointegration header for this session (eigenvalues listed from
  /// the fit; the chosen r shown once it is positive). The spans view this session.
  core::CointHeaderArgs header_args() const;
};

/// Makes the first r Johansen vectors current (source kJohansen): the state after the
/// unrestricted estimation is run again.
void use_johansen_vectors(CvarSession& session);

}  // namespace qorv::multi
