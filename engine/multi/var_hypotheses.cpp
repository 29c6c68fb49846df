#include "engine/multi/var_hypotheses.h"

#include <algorithm>
#include <cmath>

namespace qorv::multi {

bool order_selection(const DataView& data, const VarFit& fit, std::vector<OrderRow>& rows) {
  rows.clear();
  const VarLayout& layout = fit.layout;
  const int m = layout.m();
  const int d = layout.d();
  const int p = layout.p;
  const double n = layout.n;
  for (int q = p; q >= 0; --q) {
    VarFit model;
    if (q == p) {
      model = fit;
    } else {
      VarLayout smaller = layout;
      smaller.p = q;
      if (fit_var(data, smaller, model) != FitStatus::kOk) return false;
    }
    OrderRow& row = rows.emplace_back();
    row.q = q;
    row.loglik = model.loglik;
    const double K = m * (m * q + d);
    row.aic = row.loglik - K;
    row.sbc = row.loglik - K / 2.0 * std::log(n);
    if (q < p) {
      row.df = m * m * (p - q);
      row.lr = 2.0 * (fit.loglik - row.loglik);
      row.lr_adjusted = (n - (m * p + d)) / n * row.lr;
    }
  }
  return true;
}

bool deletion_test(const DataView& data, const VarFit& fit, std::span<const int> positions, DeletionTest& out) {
  VarLayout smaller = fit.layout;
  smaller.deterministic.clear();
  for (int r = 1; r <= fit.layout.d(); ++r)
    if (std::find(positions.begin(), positions.end(), r) == positions.end())
      smaller.deterministic.push_back(fit.layout.deterministic[static_cast<std::size_t>(r - 1)]);
  if (fit_var(data, smaller, out.restricted) != FitStatus::kOk) return false;
  out.lr = 2.0 * (fit.loglik - out.restricted.loglik);
  out.df = (fit.layout.d() - smaller.d()) * fit.layout.m();
  return true;
}

}  // namespace qorv::multi
