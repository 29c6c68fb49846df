#include "engine/core/num/lu.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/num/num_detail.h"

namespace qorv::core {

namespace {

using num_detail::require;

std::size_t square(int n) { return static_cast<std::size_t>(n) * static_cast<std::size_t>(n); }

}  // namespace

void LUDECOMP(std::span<double> A, int n, std::span<int> pivots, double& parity, int& status) {
  require(n >= 0 && A.size() >= square(n) && pivots.size() >= static_cast<std::size_t>(n),
          "LUDECOMP: negative order, or A or pivots too short");
  status = 0;
  parity = 1.0;
  const auto un = static_cast<std::size_t>(n);
  const auto a = [&](std::size_t i, std::size_t j) -> double& { return A[j * un + i]; };  // 0-based
  std::vector<double> scale;
  try {
    scale.resize(un);
  } catch (const std::bad_alloc&) {
    DISKSPACEMESSAGE();
    status = kScratchAllocationFailed;
    return;
  }
  if (!num_detail::all_finite(A.first(square(n)))) {
    status = 1;
    return;
  }
  for (std::size_t i = 0; i < un; ++i) {
    double big = 0.0;
    for (std::size_t j = 0; j < un; ++j) big = std::max(big, std::fabs(a(i, j)));
    if (big == 0.0) {
      status = 1;
      return;
    }
    scale[i] = 1.0 / big;
  }
  for (std::size_t j = 0; j < un; ++j) {
    for (std::size_t i = 0; i < j; ++i) {
      long double s = a(i, j);
      for (std::size_t k = 0; k < i; ++k) s -= static_cast<long double>(a(i, k)) * a(k, j);
      a(i, j) = static_cast<double>(s);
    }
    double big = 0.0;
    std::size_t imax = j;
    for (std::size_t i = j; i < un; ++i) {
      long double s = a(i, j);
      for (std::size_t k = 0; k < j; ++k) s -= static_cast<long double>(a(i, k)) * a(k, j);
      a(i, j) = static_cast<double>(s);
      const double v = scale[i] * std::fabs(a(i, j));
      if (v >= big) {  // the last row wins ties
        big = v;
        imax = i;
      }
    }
    if (imax != j) {
      for (std::size_t k = 0; k < un; ++k) std::swap(a(imax, k), a(j, k));
      parity = -parity;
      scale[imax] = scale[j];
    }
    pivots[j] = static_cast<int>(imax) + 1;
    if (!(big >= kLuPivotRatio)) {
      status = 1;
      return;
    }
    const double pivot = a(j, j);
    for (std::size_t i = j + 1; i < un; ++i) a(i, j) /= pivot;
  }
}

void LUSUBST(std::span<const double> A, int n, std::span<const int> pivots, std::span<double> b) {
  require(n >= 0 && A.size() >= square(n) && pivots.size() >= static_cast<std::size_t>(n) &&
              b.size() >= static_cast<std::size_t>(n),
          "LUSUBST: negative order, or A, pivots or b too short");
  const auto un = static_cast<std::size_t>(n);
  const auto a = [&](std::size_t i, std::size_t j) { return A[j * un + i]; };
  std::size_t first = un;  // first non-zero element of b in pivot order; sums start there
  for (std::size_t i = 0; i < un; ++i) {
    const int ip = pivots[i];
    require(ip >= 1 && ip <= n, "LUSUBST: pivot row out of range");
    long double s = b[static_cast<std::size_t>(ip - 1)];
    b[static_cast<std::size_t>(ip - 1)] = b[i];
    if (first < un) {
      for (std::size_t j = first; j < i; ++j) s -= static_cast<long double>(a(i, j)) * b[j];
    } else if (s != 0.0L) {
      first = i;
    }
    b[i] = static_cast<double>(s);
  }
  for (std::size_t i = un; i-- > 0;) {
    long double s = b[i];
    for (std::size_t j = i + 1; j < un; ++j) s -= static_cast<long double>(a(i, j)) * b[j];
    b[i] = static_cast<double>(s / a(i, i));
  }
}

void INVERTLU(std::span<double> A, int n, int& status) {
  require(n >= 0 && A.size() >= square(n), "INVERTLU: negative order or A too short");
  std::vector<double> lu;
  std::vector<int> pivots;
  try {
    lu.assign(A.begin(), A.begin() + static_cast<long>(square(n)));
    pivots.resize(static_cast<std::size_t>(n));
  } catch (const std::bad_alloc&) {
    DISKSPACEMESSAGE();
    status = kScratchAllocationFailed;
    return;
  }
  double parity = 1.0;
  LUDECOMP(lu, n, pivots, parity, status);
  if (status != 0) return;
  const auto un = static_cast<std::size_t>(n);
  for (std::size_t j = 0; j < un; ++j) {
    const std::span<double> column = A.subspan(j * un, un);
    std::fill(column.begin(), column.end(), 0.0);
    column[j] = 1.0;
    LUSUBST(lu, n, pivots, column);
  }
}

}  // namespace qorv::core
