#include "engine/data/import_names.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace qorv::data {

namespace {

constexpr std::array<std::string_view, 48> kReservedWords = {
    "LOG",     "EXP",    "ABS",     "SQRT",    "SIN",   "COS",   "SUM",     "CSUM",
    "UNIFORM", "NORMAL", "RANK",    "PHI",     "CPHI",  "SIGN",  "SORT",    "INVNORM",
    "MEAN",    "STD",    "RATE",    "MIN",     "MAX",   "ORDER", "DIRACC",  "HPF",
    "MAV",     "GDL",    "Q",       "SAMPLE",  "LIST",  "PLOT",  "XPLOT",   "EDIT",
    "ADD",     "DELETE", "KEEP",    "TITLE",   "ENTITLE", "COR", "ADF",     "SIM",
    "SIMB",    "DOS",    "BATCH",   "SPECTRUM", "HIST", "SCATTER", "REORDER", "RESTORE"};

bool all_digits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int digits_value(std::string_view text) {
  int value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

}  // namespace

bool check_variable_name(std::string& name) {
  if (name.empty() || name.size() > 9) return false;
  std::string upper = name;
  for (std::size_t i = 0; i < upper.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(upper[i]);
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    const bool digit = (c >= '0' && c <= '9') || c == '.';
    if (!letter && !(digit && i > 0)) return false;
    upper[i] = static_cast<char>(std::toupper(c));
  }
  if (std::find(kReservedWords.begin(), kReservedWords.end(), upper) != kReservedWords.end())
    return false;
  name = upper;
  return true;
}

bool parse_period_label(std::string_view label, int code, int& century, int& year,
                        int& period) {
  static constexpr std::array<char, 3> kLetters = {'H', 'Q', 'M'};
  static constexpr std::array<int, 3> kPeriods = {2, 4, 12};
  if (code < 3 || code > 5) return false;
  const char letter = kLetters[static_cast<std::size_t>(code - 3)];
  auto at = label.find(letter);
  if (at == std::string_view::npos) at = label.find(static_cast<char>(std::tolower(letter)));
  if (at != 2 && at != 4) return false;
  const std::string_view year_text = label.substr(0, at);
  const std::string_view period_text = label.substr(at + 1);
  if (!all_digits(year_text) || !all_digits(period_text) || period_text.size() > 2)
    return false;
  const int p = digits_value(period_text);
  if (p < 1 || p > kPeriods[static_cast<std::size_t>(code - 3)]) return false;
  const int y = digits_value(year_text);
  if (at == 2) {
    if (y == 0) return false;
    century = 1900;
    year = y;
  } else {
    century = (y / 100) * 100;
    year = y % 100;
  }
  period = p;
  return true;
}

}  // namespace qorv::data
