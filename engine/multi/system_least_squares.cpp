#include "engine/multi/system_least_squares.h"

#include <algorithm>
#include <numeric>

#include "engine/core/num/packed_index.h"
#include "engine/core/num/packed_least_squares.h"

namespace qorv::multi {

using core::PACKEDINDEX;

bool solve_columns(std::span<const double> X, int n, int k, std::span<const std::vector<double>> ys,
                   std::vector<double>& coef, std::vector<double>& fitted, std::vector<double>& residuals) {
  const std::size_t columns = ys.size();
  const auto un = static_cast<std::size_t>(n);
  const auto uk = static_cast<std::size_t>(k);
  coef.assign(uk * columns, 0.0);
  fitted.assign(un * columns, 0.0);
  residuals.assign(un * columns, 0.0);
  if (k == 0) {
    for (std::size_t c = 0; c < columns; ++c) std::copy(ys[c].begin(), ys[c].end(), residuals.begin() + static_cast<long>(c * un));
    return true;
  }
  std::vector<int> list(uk + 1);
  std::iota(list.begin(), list.end(), 0);
  std::vector<double> M(uk * (uk + 1) / 2);
  std::vector<double> work(std::max(uk, un));
  for (std::size_t c = 0; c < columns; ++c) {
    int fail = 0;
    double rss = 0.0;
    std::span<double> b(coef.data() + c * uk, uk);
    std::span<double> fit(fitted.data() + c * un, un);
    core::PACKEDXTXSOLVE(X, 0, ys[c], list, k, n, n, 0, c == 0 ? 0 : core::kSolveReuseInverse, b, fit, work, rss, M, fail);
    if (fail != 0) return false;
    std::copy(work.begin(), work.begin() + n, residuals.begin() + static_cast<long>(c * un));
  }
  return true;
}

std::vector<double> residual_moments(std::span<const double> E, int n, int m, double divisor) {
  std::vector<double> S(static_cast<std::size_t>(m * (m + 1) / 2));
  for (int i = 1; i <= m; ++i)
    for (int j = 1; j <= i; ++j) {
      long double sum = 0.0L;
      for (int t = 0; t < n; ++t)
        sum += static_cast<long double>(E[static_cast<std::size_t>((i - 1) * n + t)]) * E[static_cast<std::size_t>((j - 1) * n + t)];
      S[static_cast<std::size_t>(PACKEDINDEX(i, j) - 1)] = static_cast<double>(sum / divisor);
    }
  return S;
}

}  // namespace qorv::multi
