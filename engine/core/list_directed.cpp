#include "engine/core/list_directed.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "shared/exchange_slots.h"

namespace qorv::core {

namespace {

using NextRecord = std::function<ReadStatus(std::string&)>;

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool ends_value(char c) { return is_blank(c) || c == ',' || c == '/'; }

// Walks the records of one read statement.
class Cursor {
 public:
  explicit Cursor(NextRecord next) : next_(std::move(next)) {}

  // Moves to the next record.
  ReadStatus next_record() {
    pos_ = 0;
    return next_(record_);
  }

  // Skips blanks, tabs and line ends up to the next character of a value or separator.
  ReadStatus skip_space() {
    for (;;) {
      while (pos_ < record_.size() && is_blank(record_[pos_])) ++pos_;
      if (pos_ < record_.size()) return ReadStatus::kOk;
      if (const ReadStatus s = next_record(); s != ReadStatus::kOk) return s;
    }
  }

  bool at_end() const { return pos_ >= record_.size(); }
  char peek() const { return record_[pos_]; }
  void advance() { ++pos_; }

  // A repeat count "r*" at the cursor: consumed and returned, else 0 and nothing consumed.
  int take_repeat() {
    std::size_t p = pos_;
    while (p < record_.size() && record_[p] >= '0' && record_[p] <= '9') ++p;
    if (p == pos_ || p >= record_.size() || record_[p] != '*') return 0;
    int r = 0;
    const auto [end, ec] = std::from_chars(record_.data() + pos_, record_.data() + p, r);
    if (ec != std::errc{} || end != record_.data() + p || r == 0) return 0;
    pos_ = p + 1;
    return r;
  }

  // The value at the cursor: a quoted text (quoted = true) or a word up to the next
  // separator. False for a quote left open.
  bool take_value(std::string& value, bool& quoted) {
    value.clear();
    quoted = false;
    if (at_end() || ends_value(peek())) return true;  // a null after "r*"
    const char q = peek();
    if (q != '\'' && q != '"') {
      while (!at_end() && !ends_value(peek())) value.push_back(record_[pos_++]);
      return true;
    }
    quoted = true;
    ++pos_;
    while (!at_end()) {
      const char c = record_[pos_++];
      if (c != q) {
        value.push_back(c);
      } else if (!at_end() && peek() == q) {
        value.push_back(q);
        ++pos_;
      } else {
        return true;
      }
    }
    return false;
  }

 private:
  NextRecord next_;
  std::string record_;   // the record being read
  std::size_t pos_ = 0;  // next character of it
};

// A number in any of the accepted forms; false when `text` is none.
bool parse_real(std::string text, double& out) {
  if (text.starts_with('+')) {
    text.erase(0, 1);
    if (text.starts_with('-') || text.starts_with('+')) return false;
  }
  for (char& c : text) {
    if (c == 'd' || c == 'D') c = 'e';
  }
  double v = 0.0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, v, std::chars_format::general);
  if (ec != std::errc{} || ptr != end || !std::isfinite(v)) return false;
  out = v;
  return true;
}

bool parse_int(std::string_view text, int& out) {
  if (text.starts_with('+')) text.remove_prefix(1);
  int v = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, v);
  if (ec != std::errc{} || ptr != end || text.empty()) return false;
  out = v;
  return true;
}

// Stores `value` in `target`; false when a number is wanted and `value` is none.
bool assign(const ListTarget& target, const std::string& value, bool quoted) {
  if (auto* s = std::get_if<std::string*>(&target)) {
    **s = value;
    return true;
  }
  if (quoted) return false;
  if (auto* d = std::get_if<double*>(&target)) return parse_real(value, **d);
  return parse_int(value, *std::get<int*>(target));
}

ListStatus to_list_status(ReadStatus s) {
  return s == ReadStatus::kEnd ? ListStatus::kEnd : ListStatus::kError;
}

ListReadResult read_statement(NextRecord next, std::span<const ListTarget> targets) {
  Cursor cur(std::move(next));
  if (const ReadStatus s = cur.next_record(); s != ReadStatus::kOk) {
    return {to_list_status(s), 0};
  }
  const int n = static_cast<int>(targets.size());
  int item = 0;
  bool value_due = true;  // no value since the start or the last comma
  std::string value;
  while (item < n) {
    if (const ReadStatus s = cur.skip_space(); s != ReadStatus::kOk) {
      return {to_list_status(s), item};
    }
    const char c = cur.peek();
    if (c == ',') {
      cur.advance();
      if (value_due) ++item;  // an empty field: a null
      value_due = true;
      continue;
    }
    if (c == '/') return {ListStatus::kOk, item};
    const int repeat = cur.take_repeat();
    bool quoted = false;
    if (!cur.take_value(value, quoted)) return {ListStatus::kError, item};
    if (repeat == 0 && value.empty() && !quoted) return {ListStatus::kError, item};
    for (int k = 0; k < std::max(repeat, 1) && item < n; ++k, ++item) {
      const bool null = repeat > 0 && value.empty() && !quoted;
      if (!null && !assign(targets[item], value, quoted)) return {ListStatus::kError, item};
    }
    value_due = false;
  }
  return {ListStatus::kOk, n};
}

// The records of a text: its lines, each without "\n" or "\r\n".
NextRecord text_records(std::string_view text) {
  return [text, pos = std::size_t{0}](std::string& record) mutable {
    if (pos >= text.size()) return ReadStatus::kEnd;
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    record.assign(text.substr(pos, end - pos));
    if (!record.empty() && record.back() == '\r') record.pop_back();
    pos = end + 1;
    return ReadStatus::kOk;
  };
}

std::vector<ListTarget> number_targets(std::span<double> values) {
  std::vector<ListTarget> targets;
  targets.reserve(values.size());
  for (double& v : values) targets.emplace_back(&v);
  return targets;
}

void append_real(std::string& out, double v) {
  if (!std::isfinite(v)) v = limits::kMissing;
  char buf[32];
  const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, ec == std::errc{} ? ptr : buf);
}

void append_int(std::string& out, int v) {
  char buf[16];
  const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, ec == std::errc{} ? ptr : buf);
}

}  // namespace

ListReadResult read_list(int unit, std::span<const ListTarget> targets) {
  return read_statement([unit](std::string& r) { return read_record(unit, r); }, targets);
}

ListReadResult read_list(std::string_view text, std::span<const ListTarget> targets) {
  return read_statement(text_records(text), targets);
}

ListReadResult read_numbers(int unit, std::span<double> values) {
  return read_list(unit, number_targets(values));
}

ListReadResult read_numbers(std::string_view text, std::span<double> values) {
  return read_list(text, number_targets(values));
}

std::string list_record(std::span<const ListValue> values) {
  std::string out;
  for (const ListValue& v : values) {
    out.push_back(' ');
    if (const auto* d = std::get_if<double>(&v)) {
      append_real(out, *d);
    } else if (const auto* i = std::get_if<int>(&v)) {
      append_int(out, *i);
    } else {
      out.append(std::get<std::string_view>(v));
    }
  }
  if (out.empty()) out = " ";
  return out;
}

bool write_list(int unit, std::span<const ListValue> values) {
  return write_record(unit, list_record(values));
}

}  // namespace qorv::core
