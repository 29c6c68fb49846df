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

/// Kinds of the system header.
enum SystemHeaderKind : int {
  kArdlBasedHeader = 0,
  kUnrestrictedVarHeader = 1,
  kCointegratingVarHeader = 2,
  kCointegratingVectorHeader = 3,
  kRestrictedVarHeader = 4,
  kSureHeader = 5,
  kNonCausalHeader = 6,
  kRestrictedSureHeader = 50,
};

/// What the system header reports.
struct SystemHeaderArgs {
  int kind = kUnrestrictedVarHeader;
  std::span<const std::string> names;   ///< the endogenous variables (kind 6: the non-causal ones)
  std::span<const std::string> second;  ///< the deterministic and/or exogenous variables
  int offset = 0;                       ///< first observation - 1
  int n = 0;                            ///< observations
  int p = 0;                            ///< order of the VAR
  double loglik = 0.0;                  ///< the missing code leaves its line out
};

/// The header of the system reports: a rule, " Based on n observations from A to B."
/// (with " Order of VAR = p" except for the SURE kinds), the name lists of the kind
/// (kinds 1 to 4 the variables of the model and the deterministic/exogenous ones, kind 6
/// the variables assumed non-causal; none for kinds 0, 5, 50), the maximised
/// log-likelihood when it is defined, and a closing rule.
void SYSTEMHEADER(const SystemHeaderArgs& args, int channel);

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
