#include "engine/single/binary_estimate.h"

#include <cmath>
#include <stdexcept>

#include "engine/core/num/packed_index.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"

namespace qorv::single {

BinaryModel binary_model(int method_code) {
  return method_code == method::kProbit ? BinaryModel::kProbit : BinaryModel::kLogit;
}

int binary_method_code(BinaryModel model) { return model == BinaryModel::kProbit ? method::kProbit : method::kLogit; }

void binary_equation_data(int first, int last, BinaryData& out) {
  const auto& s = estimation();
  const auto& g = core::globals();
  if (s.eqvarlist.empty() || first < 1 || last > g.nobs || last < first - 1)
    throw std::out_of_range("binary-choice range outside the data set");
  for (const int v : s.eqvarlist)
    if (v < 1 || v > g.nvars) throw std::out_of_range("binary-choice variable outside the data set");
  out.n = last - first + 1;
  out.k = static_cast<int>(s.eqvarlist.size()) - 1;
  const auto n = static_cast<std::size_t>(out.n), k = static_cast<std::size_t>(out.k);
  out.y.resize(n);
  out.x.resize(n * k);
  for (std::size_t t = 0; t < n; ++t) {
    const int row = first + static_cast<int>(t);
    out.y[t] = core::data_at(row, s.eqvarlist[0]);
    for (std::size_t j = 1; j <= k; ++j) out.x[t * k + j - 1] = core::data_at(row, s.eqvarlist[j]);
  }
}

bool binary_dependent(std::span<const double> y) {
  for (const double v : y)
    if (v != 0.0 && v != 1.0) return false;
  return true;
}

void store_binary_estimate(BinaryModel model, const BinaryEstimate& e, bool converged) {
  auto& s = estimation();
  s.method = binary_method_code(model);
  s.variance = e.variance;
  s.scale = VarianceScale::kAbsolute;
  s.loglik = e.loglik;
  s.iterations = e.iterations;
  s.convergence = converged ? 0 : 1;
  const int k = static_cast<int>(e.b.size());
  for (int j = 1; j <= k; ++j) {
    const double b = e.b[static_cast<std::size_t>(j - 1)];
    const double v = e.variance[static_cast<std::size_t>(core::PACKEDINDEX(j, j) - 1)];
    const double se = v >= 0.0 && std::isfinite(v) ? std::sqrt(v) : limits::kMissing;
    s.result[static_cast<std::size_t>(block::kCoefficients + j - 1)] = b;
    s.result[static_cast<std::size_t>(block::kStdErrors + j - 1)] = se;
    s.result[static_cast<std::size_t>(block::kTRatios + j - 1)] =
        se == limits::kMissing || se < limits::kTolerance ? limits::kMissing : b / se;
  }
  long double rss = 0.0L;
  for (int t = 1; t <= s.nused && static_cast<std::size_t>(t) <= e.prob.size(); ++t) {
    const double p = e.prob[static_cast<std::size_t>(t - 1)];
    fitted(t) = p;
    residual(t) = actual(t) - p;
    rss += static_cast<long double>(residual(t)) * residual(t);
  }
  s.rss = static_cast<double>(rss);
}

}  // namespace qorv::single
