// The two-line statistics block that follows the auxiliary regression of a residual test:
// the Lagrange-multiplier statistic and its F version.
#pragma once

#include <string_view>

namespace qorv::diag {

/// Writes on `channel`: a rule of 79 "*"; `label`, 4 columns, "CHSQ(" q ")" "=" LM and its
/// chi-squared probability; " F Statistic", 19 columns, "F(" q in 3 columns "," d in 4
/// columns ")" "=" F and its F probability; a rule. A missing statistic prints "*NONE*"
/// without a probability.
void write_lm_f_block(std::string_view label, double lm, int q, double f, int d, int channel);

}  // namespace qorv::diag
