// Free-format ("list-directed") reading and writing of records.
//
// A read statement fills a list of targets. It starts at the next record, takes values
// across as many records as it needs, and drops the rest of the last record it used.
// Values are separated by blanks, tabs, commas and line ends. "r*v" stands for r copies
// of v; "r*" and an empty field between commas are nulls, which leave their target as it
// was; "/" ends the statement early (the remaining targets keep their values). Numbers
// take E, e, D or d exponents, a leading "+", ".5" and "5."; characters are read as an
// undelimited word or quoted with ' or " (a doubled quote stands for itself). Parsing is
// locale-free.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace qorv::core {

/// One item of a read statement.
using ListTarget = std::variant<double*, int*, std::string*>;

/// One item of a write statement.
using ListValue = std::variant<double, int, std::string_view>;

/// Outcome of a read statement.
enum class ListStatus {
  kOk,     ///< every target was read or left by a null or "/"
  kEnd,    ///< the records ran out first
  kError,  ///< a value that is not a number where a number is wanted (or the channel
           ///< failed); the targets before it are set
};

struct ListReadResult {
  ListStatus status = ListStatus::kOk;
  int items = 0;  ///< targets passed over (read or null) before the statement ended
};

/// One read statement over channel `unit`. Cost: linear in the bytes read.
ListReadResult read_list(int unit, std::span<const ListTarget> targets);

/// One read statement over `text`, whose records are its lines ("\n" or "\r\n").
ListReadResult read_list(std::string_view text, std::span<const ListTarget> targets);

/// Convenience: reads `values.size()` numbers from channel `unit` / from `text`.
ListReadResult read_numbers(int unit, std::span<double> values);
ListReadResult read_numbers(std::string_view text, std::span<double> values);

/// The record of one write statement: a leading blank, then the items separated by one
/// blank; integers in decimal, reals in their shortest text that reads back exactly
/// (a non-finite real as the missing code 8934567), texts as they stand.
std::string list_record(std::span<const ListValue> values);

/// Writes `list_record(values)` to channel `unit`; false as `write_record`.
bool write_list(int unit, std::span<const ListValue> values);

}  // namespace qorv::core
