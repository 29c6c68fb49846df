#include "engine/core/num/gauss_jordan.h"

#include <cmath>
#include <new>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/num/lu.h"
#include "engine/core/num/num_detail.h"

namespace qorv::core {

void MATRANKTOL(std::span<double> A, int n, int& flag) {
  const auto un = static_cast<std::size_t>(n > 0 ? n : 0);
  num_detail::require(n >= 0 && A.size() >= un * un, "MATRANKTOL: negative order or A too short");
  std::vector<char> marked;
  std::vector<double> weight;  // 1 / |original diagonal|, or 1 where it is 0
  try {
    marked.assign(un, 0);
    weight.resize(un);
  } catch (const std::bad_alloc&) {
    DISKSPACEMESSAGE();
    flag = kScratchAllocationFailed;
    return;
  }
  flag = 0;
  const auto a = [&](std::size_t i, std::size_t j) -> double& { return A[j * un + i]; };
  if (!num_detail::all_finite(A.first(un * un))) {
    flag = 1;
    return;
  }
  for (std::size_t i = 0; i < un; ++i) weight[i] = a(i, i) != 0.0 ? 1.0 / std::fabs(a(i, i)) : 1.0;
  for (std::size_t step = 0; step < un; ++step) {
    std::size_t p = un;
    double best = -1.0;
    for (std::size_t i = 0; i < un; ++i)
      if (!marked[i] && std::fabs(a(i, i)) * weight[i] > best) {
        best = std::fabs(a(i, i)) * weight[i];
        p = i;
      }
    if (p == un || !(best > kRankTolerance)) {
      flag = 1;
      return;
    }
    marked[p] = 1;
    const double h = a(p, p);
    a(p, p) = 1.0;
    for (std::size_t j = 0; j < un; ++j) a(p, j) /= h;
    for (std::size_t i = 0; i < un; ++i) {
      if (i == p) continue;
      const double f = a(i, p);
      a(i, p) = 0.0;
      for (std::size_t j = 0; j < un; ++j) a(i, j) -= f * a(p, j);
    }
  }
}

}  // namespace qorv::core
