#include "engine/core/row_sort.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <vector>

namespace qorv::core {

namespace {

/// Applies the permutation `from` (new position p takes old position from[p]) to the
/// values at base + 0 .. base + n - 1 of `values`, through `scratch`.
template <typename T>
void permute(std::span<T> values, std::size_t base, const std::vector<std::size_t>& from,
             std::vector<T>& scratch) {
  const std::size_t n = from.size();
  scratch.resize(n);
  for (std::size_t p = 0; p < n; ++p) scratch[p] = values[base + from[p]];
  std::copy(scratch.begin(), scratch.end(), values.begin() + static_cast<std::ptrdiff_t>(base));
}

}  // namespace

void SORTROWS(std::span<double> block, int columns, int ld, int first, int last,
              double missing, int mode, std::span<int32_t> order) {
  if (last - first < 1) return;
  if (mode < 0 || mode > 2 || columns < 1 || first < 1 || ld < last ||
      static_cast<std::size_t>(columns) * static_cast<std::size_t>(ld) > block.size() ||
      (mode == 2 && order.size() < static_cast<std::size_t>(last)))
    throw std::invalid_argument("SORTROWS: rows, columns or order record outside the block");

  const std::size_t n = static_cast<std::size_t>(last - first + 1);
  const std::size_t row0 = static_cast<std::size_t>(first - 1);
  const std::size_t key_base = static_cast<std::size_t>(columns - 1) * ld + row0;
  auto key = [&](std::size_t r) { return block[key_base + r]; };

  // Class of each row: 0 complete, 1 a missing value beside a present key, 2 missing key.
  std::vector<int> rank_class(n, 0);
  if (mode != 0) {
    for (std::size_t r = 0; r < n; ++r) {
      if (key(r) == missing) {
        rank_class[r] = 2;
        continue;
      }
      for (int c = 0; c + 1 < columns; ++c)
        if (block[static_cast<std::size_t>(c) * ld + row0 + r] == missing) {
          rank_class[r] = 1;
          break;
        }
    }
  }

  std::vector<std::size_t> from(n);
  std::iota(from.begin(), from.end(), std::size_t{0});
  std::stable_sort(from.begin(), from.end(), [&](std::size_t a, std::size_t b) {
    if (rank_class[a] != rank_class[b]) return rank_class[a] < rank_class[b];
    return key(a) < key(b);
  });

  std::vector<double> scratch;
  for (int c = 0; c < columns; ++c)
    permute(block, static_cast<std::size_t>(c) * ld + row0, from, scratch);
  if (mode == 2) {
    std::vector<int32_t> order_scratch;
    permute(order, row0, from, order_scratch);
  }
}

}  // namespace qorv::core
