// The formula entry of the non-linear estimators.
#pragma once

namespace qorv::road {

/// The non-linear equation of a request. With an equation at hand, `keep_equation` 1
/// keeps it as it stands (its values are the last estimates) and 2 shows only the
/// initial-value grid. Otherwise the formula of the estimation
/// window (character setting 3) is read once without the editor, else the user types it
/// in the screen editor; a formula that cannot be read ("Error in non-linear regression
/// formula!") goes back to the editor. An accepted formula becomes the session's
/// equation, its parameters' initial values are edited in the grid, and the request's
/// equation (the dependent variable, then the variables the formula reads) and regressor
/// count (the parameters) are set. False when the editor or the grid is cancelled.
bool NONLINSPEC(int keep_equation);

}  // namespace qorv::road
