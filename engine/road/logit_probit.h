// The logit and probit road: from choice 7 of the Single Equation Estimation Menu through
// the Logit/Probit Estimation Menu, the estimate and its page, to the Post Estimation
// Menu and its listings, plot, saves and forecasts.
#pragma once

#include "engine/single/binary_choice.h"

namespace qorv::road {

/// `LOGITPROBITML`: estimates `model` on the current equation over the engine's sample
/// (the sample must already be loaded by `load_sample`) from zero coefficients, with
/// the iteration limit 40 and the iteration-limit dialogue (increment 20) when it is
/// reached. On success the estimate is stored in the estimation state (status 0) and
/// returned in `estimate`; on failure the reason has been shown ("The likelihood function
/// is not defined!", " Non-singular variance-covariance matrix! ", or the user
/// abandoned) and the status is 1. `interactive` permits the iteration-limit dialogue
/// (without it the limit abandons).
bool LOGITPROBITML(single::BinaryModel model, const single::BinaryData& data, single::BinaryEstimate& estimate,
                   bool interactive);

/// `LOGITPROBIT`: drops leading observations where a variable of the equation is missing
/// and refuses a gap inside the sample (`CHECKSAMPLE`), refuses a dependent variable with a
/// value other than 0 or 1 in the sample ("Dependent variable contains number(s) other
/// than zeroes or ones!"), then
/// loops on menu 1027 until its option 0 (or a cancel): each estimate is reported on the
/// results page and followed by the Post Estimation Menu (1029). The sample is restored
/// on return.
void LOGITPROBIT();

}  // namespace qorv::road
