#include "engine/multi/restriction_setup.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "engine/core/dialog_bridge.h"
#include "engine/core/num/gauss_jordan.h"

namespace qorv::multi {

bool restriction_partition(std::span<const double> R, std::span<const double> constants, int k, int n,
                           RestrictionPartition& out) {
  if (n < 0 || k < 0 || k > n)
    throw std::invalid_argument("restriction_partition: k must lie in 0..n");
  const auto uk = static_cast<std::size_t>(k);
  const auto un = static_cast<std::size_t>(n);
  if (R.size() < uk * un || (!constants.empty() && constants.size() < uk))
    throw std::invalid_argument("restriction_partition: arrays shorter than stated");
  out = RestrictionPartition{};
  out.n = n;
  out.k = k;
  out.free = n - k;
  std::vector<double> e(R.begin(), R.begin() + static_cast<std::ptrdiff_t>(uk * un));
  std::vector<double> c(uk, 0.0);
  if (!constants.empty()) std::copy_n(constants.begin(), uk, c.begin());
  const auto el = [&](std::size_t i, std::size_t j) -> double& { return e[j * uk + i]; };
  std::vector<bool> chosen(un, false);
  std::vector<std::size_t> pivots;
  for (std::size_t i = 0; i < uk; ++i) {
    double typed = 0.0;
    for (std::size_t j = 0; j < un; ++j) typed = std::max(typed, std::abs(R[j * uk + i]));
    std::size_t best = un;
    double size = -1.0;
    for (std::size_t j = 0; j < un; ++j)
      if (!chosen[j] && std::abs(el(i, j)) > size) {
        size = std::abs(el(i, j));
        best = j;
      }
    if (best == un || !(size >= kSetupPivotTolerance * std::max(typed, 0.0)) || size == 0.0) return false;
    chosen[best] = true;
    pivots.push_back(best);
    const double pivot = el(i, best);
    for (std::size_t j = 0; j < un; ++j) el(i, j) /= pivot;
    c[i] /= pivot;
    for (std::size_t l = 0; l < uk; ++l) {
      if (l == i) continue;
      const double f = el(l, best);
      if (f == 0.0) continue;
      for (std::size_t j = 0; j < un; ++j) el(l, j) -= f * el(i, j);
      c[l] -= f * c[i];
    }
  }
  // The pivot block of the restrictions as typed must have full rank.
  if (k > 0) {
    std::vector<double> block(uk * uk);
    for (std::size_t j = 0; j < uk; ++j)
      for (std::size_t i = 0; i < uk; ++i) block[j * uk + i] = R[pivots[j] * uk + i];
    int flag = 0;
    core::MATRANKTOL(block, k, flag);
    if (flag != 0) return false;
  }
  for (const std::size_t p : pivots) out.order.push_back(static_cast<int>(p) + 1);
  std::vector<std::size_t> free;
  for (std::size_t j = 0; j < un; ++j)
    if (!chosen[j]) {
      free.push_back(j);
      out.order.push_back(static_cast<int>(j) + 1);
    }
  out.reduced = std::move(e);
  out.reduced_constants = c;
  out.null_space.assign(un * free.size(), 0.0);
  for (std::size_t f = 0; f < free.size(); ++f) {
    out.null_space[f * un + free[f]] = 1.0;
    for (std::size_t i = 0; i < uk; ++i) out.null_space[f * un + pivots[i]] = -out.reduced[free[f] * uk + i];
  }
  out.particular.assign(un, 0.0);
  for (std::size_t i = 0; i < uk; ++i) out.particular[pivots[i]] = c[i];
  return true;
}

bool RESTRICTSETUP(std::span<const double> R, std::span<const double> constants, int k, int n,
                   RestrictionPartition& out) {
  if (restriction_partition(R, constants, k, n, out)) return true;
  core::SHOWMESSAGE(kCollinearRestrictionsText);
  return false;
}

}  // namespace qorv::multi
