// The title line and the header block of the multivariate system reports.
#pragma once

#include <span>
#include <string>

namespace qorv::core {

/// Puts the title of the system model `code` into `line` (blank-padded to its length, 79
/// when empty), centres it and writes it on `channel`: -2 ARDL, -1 SURE, 0 unrestricted
/// VAR, 1 to 5 the five cointegration cases. Any other code centres and writes the line
/// as it stands.
void SYSTEMMODELTITLE(std::string& line, int code, int channel);

/// What the cointegrating-VAR header reports.
struct CointHeaderArgs {
  std::span<const std::string> names;      ///< the k names of the cointegrating vector
  int n = 0;                               ///< usable observations
  int offset = 0;                          ///< first observation - 1
  int k = 0;                               ///< names in the cointegrating vector
  std::span<const double> eigenvalues;     ///< descending
  int p = 0;                               ///< order of the VAR
  int r = 0;                               ///< chosen rank; 0 while not chosen
  std::span<const std::string> exogenous;  ///< the e exogenous I(1) names, then the d I(0) names
  int d = 0;                               ///< I(0) variables
  int e = 0;                               ///< exogenous I(1) variables
  int m = 0;                               ///< endogenous I(1) variables
};

/// The block that opens every cointegrating-VAR report: a rule, the sample line with the
/// VAR order (and the chosen rank when r > 0), the name lists by role, the eigenvalues
/// (at most 7 to a line) when `list_eigenvalues`, and a closing rule. Counts larger than
/// the arrays given are cut to them.
void COINTHEADER(const CointHeaderArgs& args, int channel, bool list_eigenvalues);

}  // namespace qorv::core
