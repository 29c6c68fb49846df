// The lines that every table of Dickey-Fuller statistics shares: the column heading, one
// line per augmentation order and the legend of the information criteria.
#pragma once

#include "engine/core/unit_root_regressions.h"

namespace qorv::core {

/// "        Test Statistic", then "LL", "AIC", "SBC" and "HQC" at gaps 6, 11, 11, 11.
void write_adf_heading(int channel);

/// " DF" (order 0) or " ADF(k)", the statistic in a 10-column piece from column 10 whatever
/// the label's width (one- and two-digit orders line up), then LL, AIC, SBC and HQC as
/// 10-column pieces at a gap of 4. Missing figures print "*NONE*".
void write_adf_row(const AdfRegression& r, int channel);

/// " LL  = Maximized log-likelihood" ... "AIC = Akaike Information Criterion" and
/// " SBC = Schwarz Bayesian Criterion" ... "HQC = Hannan-Quinn Criterion".
void write_criteria_legend(int channel);

}  // namespace qorv::core
