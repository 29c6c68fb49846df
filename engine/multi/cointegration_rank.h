// The cointegration rank tests: the maximal-eigenvalue and trace statistics of every null
// rank, and the results page that sets them against the critical values of the support
// files, followed by the rank-selection table.
#pragma once

#include <span>
#include <vector>

#include "engine/multi/cvar_session.h"

namespace qorv::multi {

/// The statistics of the null ranks r = 0..m - 1 at [r]; the missing code where a
/// 1 - λ entering it is at most `tol`.
struct RankStatistics {
  std::vector<double> max_eigenvalue;  ///< -n·log(1 - λ(r+1))
  std::vector<double> trace;           ///< -n·Σ(i = r+1..m) log(1 - λi)
};

/// The statistics of m endogenous variables from the descending eigenvalues (at least m).
/// Throws std::invalid_argument when fewer than m eigenvalues are given.
RankStatistics rank_statistics(std::span<const double> eigenvalues, int m, int n, double tol);

/// The rank tests' report on `channel`: the maximal-eigenvalue table, the trace table and
/// the rank-selection table (see `write_rank_tables`).
void write_rank_report(const CvarSession& session, double tol, int channel);

/// The results page of the rank tests: the maximal-eigenvalue table, the trace table (each
/// with the 95% and 90% critical values for m - r common trends read from the support file
/// of its statistic, case and e; "*NONE*" for values not read) and the rank-selection table.
void write_rank_tables(const CvarSession& session, double tol);

}  // namespace qorv::multi
