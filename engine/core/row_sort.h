// Sorting the rows of a block of data columns by its last column.
#pragma once

#include <cstdint>
#include <span>

namespace qorv::core {

/// Sorts rows first..last (from 1) of columns 1..`columns` of `block` (column-major,
/// leading dimension `ld`) into ascending order of the last column, the key, moving whole
/// rows. The sort is stable and never changes a value: every column holds exactly the
/// values it held, reordered.
///
/// mode 0: plain key order (a missing key is the number it is).
/// modes 1 and 2: rows fall into three classes, each in key order: rows with no missing
///   value, then rows whose key is present but another column holds `missing`, then rows
///   whose key is `missing`.
/// mode 2 also moves the order record with the rows: order[r - 1] belongs to row r.
///
/// Fewer than two rows: nothing happens. Throws std::invalid_argument when the rows or
/// columns lie outside the block, the mode is unknown, or in mode 2 the order record is
/// shorter than `last`. Cost: O(r log r + r·columns) time and O(r) extra memory for r
/// rows.
void SORTROWS(std::span<double> block, int columns, int ld, int first, int last,
              double missing, int mode, std::span<int32_t> order = {});

}  // namespace qorv::core
