#include "engine/diagnostics/recursive_residuals.h"

#include <cmath>
#include <new>
#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/core/num/matrices.h"
#include "engine/diagnostics/auxiliary_regression.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

namespace {

size_t at(int i) { return static_cast<size_t>(i); }

}  // namespace

bool RECURSIVERESID(RecursiveResiduals& out) {
  out = RecursiveResiduals{};
  try {
    const RegressorMatrix x = regressor_matrix();
    const int n = x.n, k = x.k;
    if (k < 1 || n < 1) return false;
    const auto y = single::series_block(single::block::kActual);
    std::vector<int> list(at(k) + 1);
    for (int j = 0; j <= k; ++j) list[at(j)] = j;
    std::vector<double> b(at(k)), fit(at(n)), work(at(std::max(k, n))), packed(at(k) * at(k + 1) / 2);
    int m = k + 1;
    if (m >= n) return false;
    while (true) {
      double rss = 0.0;
      int fail = 0;
      core::PACKEDXTXSOLVE(x.x, 0, y.first(at(m)), list, k, m, n, 0, 0, b, fit, work, rss, packed, fail);
      if (fail == 0) break;
      if (++m >= n) {
        core::SHOWOK(core::kError, core::kNoHelp,
                     " First " + std::to_string(m - 1) + " observations are collinear!");
        return false;
      }
    }
    // The inverse as a full matrix and the coefficients, updated in extended precision.
    std::vector<long double> inv(at(k) * at(k)), coef(b.begin(), b.end()), mx(at(k)), xt(at(k));
    for (int i = 1; i <= k; ++i)
      for (int j = 1; j <= k; ++j) inv[at((i - 1) * k + j - 1)] = packed[at(core::PACKEDINDEX(i, j) - 1)];
    out.m = m;
    out.w.assign(at(n), limits::kMissing);
    for (int t = m + 1; t <= n; ++t) {
      for (int j = 0; j < k; ++j) xt[at(j)] = x.x[at(j * n + t - 1)];
      long double f = 1.0L, e = y[at(t - 1)];
      for (int i = 0; i < k; ++i) {
        long double sum = 0.0L;
        for (int j = 0; j < k; ++j) sum += inv[at(i * k + j)] * xt[at(j)];
        mx[at(i)] = sum;
        f += xt[at(i)] * sum;
        e -= xt[at(i)] * coef[at(i)];
      }
      out.w[at(t - 1)] = static_cast<double>(e / std::sqrt(f));
      for (int i = 0; i < k; ++i) {
        coef[at(i)] += mx[at(i)] * e / f;
        for (int j = 0; j < k; ++j) inv[at(i * k + j)] -= mx[at(i)] * mx[at(j)] / f;
      }
    }
    return true;
  } catch (const std::bad_alloc&) {
    core::DISKSPACEMESSAGE();
    out = RecursiveResiduals{};
    return false;
  }
}

}  // namespace qorv::diagnostics
