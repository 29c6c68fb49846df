#include "engine/multi/dynamic_response.h"

#include <cmath>
#include <stdexcept>

#include "engine/core/num/packed_factor.h"
#include "engine/core/num/packed_index.h"

namespace qorv::multi {

using core::PACKEDINDEX;

namespace {

std::size_t at(int m, int i, int j) { return static_cast<std::size_t>((j - 1) * m + (i - 1)); }

/// The shock vectors of every equation as the columns of an m × m matrix, and their scales.
bool shocks(std::span<const double> sigma, int m, bool orthogonal, std::vector<double>& S, std::vector<double>& scale) {
  S.assign(static_cast<std::size_t>(m * m), 0.0);
  scale.assign(static_cast<std::size_t>(m), 1.0);
  if (orthogonal) {
    std::vector<double> factor(sigma.begin(), sigma.begin() + m * (m + 1) / 2);
    int fail = 0;
    core::PACKEDCHOLESKY(factor, m, fail);
    if (fail != 0) return false;
    // The factor U (Σ = U'U) is stored as L = U' row by row: L(i, j), j <= i, at PACKEDINDEX(i, j).
    for (int j = 1; j <= m; ++j)
      for (int i = j; i <= m; ++i) S[at(m, i, j)] = factor[static_cast<std::size_t>(PACKEDINDEX(i, j) - 1)];
    return true;
  }
  for (int j = 1; j <= m; ++j) {
    for (int i = 1; i <= m; ++i) S[at(m, i, j)] = sigma[static_cast<std::size_t>(PACKEDINDEX(i, j) - 1)];
    scale[static_cast<std::size_t>(j - 1)] = std::sqrt(sigma[static_cast<std::size_t>(PACKEDINDEX(j, j) - 1)]);
  }
  return true;
}

}  // namespace

std::vector<double> moving_average_matrices(const LagMatrices& lags, int H) {
  const int m = lags.m;
  if (H < 0 || m < 1 || lags.p < 0 || lags.a.size() != static_cast<std::size_t>(lags.p * m * m))
    throw std::invalid_argument("moving-average matrices: bad sizes");
  const auto block = static_cast<std::size_t>(m * m);
  std::vector<double> phi(block * static_cast<std::size_t>(H + 1), 0.0);
  for (int i = 1; i <= m; ++i) phi[at(m, i, i)] = 1.0;
  for (int h = 1; h <= H; ++h) {
    double* out = phi.data() + block * static_cast<std::size_t>(h);
    for (int j = 1; j <= std::min(h, lags.p); ++j) {
      const double* A = lags.a.data() + block * static_cast<std::size_t>(j - 1);
      const double* prev = phi.data() + block * static_cast<std::size_t>(h - j);
      for (int c = 1; c <= m; ++c)
        for (int l = 1; l <= m; ++l) {
          const double x = prev[at(m, l, c)];
          if (x == 0.0) continue;
          for (int r = 1; r <= m; ++r) out[at(m, r, c)] += A[at(m, r, l)] * x;
        }
    }
  }
  return phi;
}

bool dynamic_response(const LagMatrices& lags, std::span<const double> sigma, int kind, int e, int H,
                      std::vector<double>& table) {
  const int m = lags.m;
  if (kind < kOrthogonalResponses || kind > kGeneralisedDecomposition || e < 1 || e > m || H < 0 ||
      sigma.size() < static_cast<std::size_t>(m * (m + 1) / 2))
    throw std::invalid_argument("dynamic response: bad arguments");
  const bool orthogonal = kind == kOrthogonalResponses || kind == kOrthogonalDecomposition;
  std::vector<double> S, scale;
  if (!shocks(sigma, m, orthogonal, S, scale)) return false;
  const std::vector<double> phi = moving_average_matrices(lags, H);
  const auto block = static_cast<std::size_t>(m * m);
  const auto rows = static_cast<std::size_t>(H + 1);
  table.assign(rows * static_cast<std::size_t>(m), 0.0);
  // response(h, i, j) = (Φ_h s_j)_i / scale_j
  auto response = [&](int h, int i, int j) {
    const double* P = phi.data() + block * static_cast<std::size_t>(h);
    double sum = 0.0;
    for (int l = 1; l <= m; ++l) sum += P[at(m, i, l)] * S[at(m, l, j)];
    return sum / scale[static_cast<std::size_t>(j - 1)];
  };
  if (kind == kOrthogonalResponses || kind == kGeneralisedResponses) {
    for (int h = 0; h <= H; ++h)
      for (int i = 1; i <= m; ++i) table[static_cast<std::size_t>(i - 1) * rows + static_cast<std::size_t>(h)] = response(h, i, e);
    return true;
  }
  // Forecast error variance of variable e: Σ_l (Φ_l Σ Φ_l')_ee, and the accumulated squared responses.
  double variance = 0.0;
  std::vector<double> accumulated(static_cast<std::size_t>(m), 0.0);
  for (int h = 0; h <= H; ++h) {
    const double* P = phi.data() + block * static_cast<std::size_t>(h);
    for (int a = 1; a <= m; ++a)
      for (int b = 1; b <= m; ++b)
        variance += P[at(m, e, a)] * sigma[static_cast<std::size_t>(PACKEDINDEX(a, b) - 1)] * P[at(m, e, b)];
    for (int j = 1; j <= m; ++j) {
      const double psi = response(h, e, j);
      accumulated[static_cast<std::size_t>(j - 1)] += psi * psi;
      table[static_cast<std::size_t>(j - 1) * rows + static_cast<std::size_t>(h)] = accumulated[static_cast<std::size_t>(j - 1)] / variance;
    }
  }
  return true;
}

}  // namespace qorv::multi
