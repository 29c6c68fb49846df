// Which residuals the post-regression listings, plots and saves show, and the histogram's
// class count.
#pragma once

#include <vector>

namespace qorv::diagnostics {

/// Whether the listing of method `code` shows the plain residuals (1, 5, 14, 15, 17, 70,
/// 78 to 84) rather than the transformed residuals of the AR and MA error models.
bool lists_plain_residuals(int code);

/// The residual series of the current estimate as the listing shows it (NUSED values):
/// the residuals, or the transformed residuals for the AR and MA error models.
std::vector<double> listed_residuals();

/// Classes of the residual histogram: the nearest integer to n/10, held between 6 and 15.
int histogram_classes(int n);

}  // namespace qorv::diagnostics
