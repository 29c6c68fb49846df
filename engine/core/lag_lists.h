// Lists of lag numbers typed by the user: AR orders, GARCH lag sets, ARDL orders
// (`PARSELAGS`), and the lag ranges inside a variable list's braces (`PARSELAGRANGE`).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::core {

/// What a lag-list reader found.
struct LagList {
  std::vector<int> lags;  ///< the lags in the order read
  bool error = false;     ///< the text was refused; `lags` is then empty
  std::string message;    ///< a refusal to show the user; empty when the caller only beeps
};

/// `PARSELAGS` modes.
enum LagMode : int {
  kAscendingLags = 1,  ///< strictly ascending, at most 12
  kAnyLags = 2,        ///< any order, up to the caller's capacity
};

/// Reads blank-separated lags of 1 to 3 digits. Mode 1: strictly ascending and at most 12
/// of them; mode 2 lifts both limits. Every mode refuses more than `capacity` lags before
/// storing one too many. A blank text gives no lags and no error. No message.
LagList PARSELAGS(int mode, std::string_view text, std::size_t capacity);

/// Reads a lag range: numbers (digits only, at most 5 characters) joined by "-", "TO" or
/// ","; a joiner followed by n adds every lag from the previous one + 1 up to n. A number
/// below the previous lag after a joiner gives " Please type the lags in ascending
/// order! "; more than `max_count` lags (checked before each store), a joiner first or
/// last, two joiners in a row or any other word refuse the text without a message.
/// Cost O(max_count).
LagList PARSELAGRANGE(std::size_t max_count, std::string_view text);

}  // namespace qorv::core
