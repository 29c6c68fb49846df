#include "engine/multi/cvar_session.h"

#include <algorithm>

namespace qorv::multi {

JohansenData CvarSession::johansen_data() const {
  JohansenData data;
  data.m = m;
  data.e = e;
  data.d = d;
  data.p = p;
  data.model_case = model_case;
  data.n = n;
  data.levels = levels;
  data.stationary = stationary;
  return data;
}

core::CointHeaderArgs CvarSession::header_args() const {
  core::CointHeaderArgs args;
  args.names = vector_names;
  args.n = n;
  args.offset = first_offset;
  args.k = k();
  args.eigenvalues = fit.eigenvalues;
  args.p = p;
  args.r = r;
  args.exogenous = exogenous_names;
  args.d = d;
  args.e = e;
  args.m = m;
  return args;
}

void use_johansen_vectors(CvarSession& session) {
  const std::size_t k = static_cast<std::size_t>(std::max(session.k(), 0));
  const std::size_t r = static_cast<std::size_t>(std::clamp(session.r, 0, session.k()));
  session.vectors.assign(session.fit.beta.begin(),
                         session.fit.beta.begin() + static_cast<std::ptrdiff_t>(std::min(k * r, session.fit.beta.size())));
  session.source = CvarVectorSource::kJohansen;
  session.restricted_option = 0;
}

}  // namespace qorv::multi
