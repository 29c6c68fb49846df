#include "engine/multi/cvar_post_estimation.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/multi/cvar_impulse.h"
#include "engine/multi/ecm_results.h"
#include "engine/multi/restricted_cv_dialogue.h"
#include "engine/multi/johansen_results.h"

namespace qorv::multi {

void cvar_error_correction(CvarSession& session) { ECMRESULTS(session); }

void cvar_dynamic_option(CvarSession& session, int option) { CVARIMPULSE(session, option); }

void cvar_forecast(CvarSession& session) { cvar_dynamic_forecasts(session); }

bool cvar_restricted_option(CvarSession& session, int option) {
  RestrictedCvRequest request;
  request.fit = &session.fit;
  request.n = session.n;
  request.r = session.r;
  request.option = option;
  request.phase = session.identified_rank == session.r ? 2 : 1;
  request.title_code = session.model_case;
  request.names = session.vector_names;
  const auto e = static_cast<std::ptrdiff_t>(std::clamp(session.e, 0, static_cast<int>(session.exogenous_names.size())));
  const std::vector<std::string> exogenous(session.exogenous_names.begin(), session.exogenous_names.begin() + e);
  const std::vector<std::string> stationary(session.exogenous_names.begin() + e, session.exogenous_names.end());
  request.exogenous = exogenous;
  request.stationary = stationary;
  // Every abandoned attempt leaves the unrestricted estimate current before the editor
  // opens again. The editor's text is kept for its next call, here or in the next request.
  RestrictedCvResult result = restricted_cv_dialogue(request, core::driver_state().restriction_text,
                                                     [&session] { use_johansen_vectors(session); });
  if (!result.estimated) {
    use_johansen_vectors(session);
    return false;
  }
  session.vectors = result.estimate.beta;
  session.source = CvarVectorSource::kRestricted;
  session.restricted_option = option;
  session.restricted = std::move(result.estimate);
  session.exact_loglik = result.exact_loglik;
  if (option == 4) session.identified_rank = session.r;
  cvar_restricted_display(session);
  return true;
}

void cvar_restricted_display(CvarSession& session) {
  if (session.source != CvarVectorSource::kRestricted) return;
  JOHANSENRESULTS(session, session.restricted_option, kVectorTable, kJohansenTolerance);
}

}  // namespace qorv::multi
