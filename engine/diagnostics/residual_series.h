// Which residuals the post-regression listings, plots and saves show, and the histogram's
// class count.
#pragma once

#include <vector>

namespace qorv::diagnostics {

/// The residual series of the current estimate as the listing shows it (NUSED values):
/// the residuals, or the transformed residuals for a method whose row lists those.
std::vector<double> listed_residuals();

/// Classes of the residual histogram: the nearest integer to n/10, held between 6 and 15.
int histogram_classes(int n);

}  // namespace qorv::diagnostics
