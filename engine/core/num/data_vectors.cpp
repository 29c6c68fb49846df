#include "engine/core/num/data_vectors.h"

#include <algorithm>

#include "engine/core/num/num_detail.h"
#include "engine/core/num/numerical_state.h"
#include "engine/core/workspace.h"

namespace qorv::core {

namespace {

using num_detail::packed_at;
using num_detail::require;

std::size_t at_least(int a, int b) { return static_cast<std::size_t>(std::max({a, b, 0})); }

}  // namespace

void RELAYOUTBLOCKS(std::span<double> data, int lead, int trail, int nb, long offset, int g,
                    std::span<double> work, int f, double fill) {
  require(lead >= 0 && trail >= 0 && g >= 0 && nb >= 0 && offset >= 0 && f == lead + g + trail,
          "RELAYOUTBLOCKS: the new block length must be lead + old length + trail");
  if (nb == 0) return;
  require(static_cast<std::size_t>(offset) + static_cast<std::size_t>(nb) * static_cast<std::size_t>(f) <= data.size() &&
              work.size() >= static_cast<std::size_t>(g),
          "RELAYOUTBLOCKS: the blocks do not fit the data array, or work too short");
  for (long b = nb - 1; b >= 0; --b) {
    const auto old_start = data.begin() + offset + b * g;
    std::copy(old_start, old_start + g, work.begin());
    const auto new_start = data.begin() + offset + b * f;
    std::fill(new_start, new_start + lead, fill);
    std::copy(work.begin(), work.begin() + g, new_start + lead);
    std::fill(new_start + lead + g, new_start + f, fill);
  }
}

void EXTRACTVARIABLES(std::span<double> work, std::span<double> y) {
  const CurrentEstimation& est = current_estimation();
  const int ld = globals().nobs;
  require(est.n >= 0 && est.m >= 0 && est.k >= 0 && y.size() >= static_cast<std::size_t>(est.n + est.m) &&
              !est.list.empty(),
          "EXTRACTVARIABLES: bad estimation words, or y too short");
  const auto dep = num_detail::data_column(work, est.list[0], ld, est.first_obs_offset, est.n + est.m);
  std::copy(dep.begin(), dep.end(), y.begin());
  if (est.m == 0) return;
  require(est.prediction_offset >= 0 &&
              static_cast<std::size_t>(est.prediction_offset) + static_cast<std::size_t>(est.k) * static_cast<std::size_t>(est.m) <= work.size(),
          "EXTRACTVARIABLES: prediction blocks outside the work array");
  for (int j = 1; j <= est.k; ++j) {
    const auto after = num_detail::regressor_column(work, est.list, j, ld, est.first_obs_offset + est.n, est.m);
    std::copy(after.begin(), after.end(), work.begin() + est.prediction_offset + static_cast<long>(j - 1) * est.m);
  }
}

void RESIDXB(std::span<const double> data, std::span<const double> y, std::span<const double> b,
             std::span<double> out, int n, int k, long offset, int ld, std::span<const int> list) {
  if (n <= 0) return;
  const auto un = static_cast<std::size_t>(n);
  require(y.size() >= un && out.size() >= un && b.size() >= at_least(k, 0), "RESIDXB: y, b or out too short");
  std::vector<std::span<const double>> cols;
  for (int j = 1; j <= k; ++j) cols.push_back(num_detail::regressor_column(data, list, j, ld, offset, n));
  for (std::size_t t = 0; t < un; ++t) {
    long double s = 0;
    for (std::size_t j = 0; j < cols.size(); ++j) s += static_cast<long double>(cols[j][t]) * b[j];
    out[t] = static_cast<double>(y[t] - s);
  }
}

void CROSSPRODUCTS(std::span<const double> data, std::span<const int> list, int n, int ld,
                   long offset, int k, std::span<const double> y, std::span<const double> z,
                   std::span<double> w1, std::span<double> w2) {
  CurrentEstimation& est = current_estimation();
  const auto un = static_cast<std::size_t>(std::max(n, 0));
  const auto uk = static_cast<std::size_t>(std::max(k, 0));
  const long factor = est.factor_offset;
  require(y.size() >= un && z.size() >= un && w1.size() >= uk && w2.size() >= std::max(uk, un) &&
              factor >= 0 && static_cast<std::size_t>(factor) + num_detail::packed_size(k) <= data.size(),
          "CROSSPRODUCTS: y, z, w1 or w2 too short, or the factor outside the data array");
  std::vector<std::span<const double>> cols;
  for (int j = 1; j <= k; ++j) cols.push_back(num_detail::regressor_column(data, list, j, ld, offset, n));
  const double* T = data.data() + factor;
  for (std::size_t i = 0; i < uk; ++i) w1[i] = static_cast<double>(num_detail::dot(cols[i].data(), z.data(), un));
  for (long i = 1; i <= k; ++i) {
    long double s = 0;
    for (long j = i; j <= k; ++j) s += static_cast<long double>(T[packed_at(i, j)]) * w1[static_cast<std::size_t>(j - 1)];
    w2[static_cast<std::size_t>(i - 1)] = static_cast<double>(s);
  }
  for (long j = 1; j <= k; ++j) {
    long double s = 0;
    for (long i = 1; i <= j; ++i) s += static_cast<long double>(T[packed_at(i, j)]) * w2[static_cast<std::size_t>(i - 1)];
    w1[static_cast<std::size_t>(j - 1)] = static_cast<double>(s);
  }
  est.fitted.assign(un, 0.0);
  long double rss = 0;
  for (std::size_t t = 0; t < un; ++t) {
    long double s = 0;
    for (std::size_t j = 0; j < uk; ++j) s += static_cast<long double>(cols[j][t]) * w1[j];
    est.fitted[t] = static_cast<double>(s);
    w2[t] = static_cast<double>(y[t] - s);
    rss += static_cast<long double>(w2[t]) * w2[t];
  }
  est.rss = static_cast<double>(rss);
}

}  // namespace qorv::core
