#include "engine/core/user_format.h"

#include "engine/core/field_editing.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <utility>

namespace qorv::core {

namespace {

/// A format longer than this when its repeat counts are expanded is refused.
constexpr std::size_t kMaxExpandedItems = 200000;

class FormatParser {
 public:
  explicit FormatParser(std::string_view text) : text_(text) {}

  std::optional<std::vector<FormatItem>> parse_list(std::string* error, bool nested) {
    std::vector<FormatItem> items;
    bool need_item = true;
    bool after_comma = false;
    while (true) {
      skip_blanks();
      if (at_end()) return fail(error, "missing \")\"");
      const char c = text_[pos_];
      if (c == ')') {
        ++pos_;
        skip_blanks();
        if (!nested && !at_end()) return fail(error, "text after the closing \")\"");
        if (items.empty()) return fail(error, "empty format");
        if (after_comma) return fail(error, "misplaced \",\"");
        return items;
      }
      if (c == ',') {
        if (need_item) return fail(error, "misplaced \",\"");
        ++pos_;
        need_item = true;
        after_comma = true;
        continue;
      }
      after_comma = false;
      auto item = parse_item(error);
      if (!item) return std::nullopt;
      // "/" separates items by itself; anything else needs a comma before the next item.
      need_item = item->kind == FormatItem::Kind::kNewRecord;
      if (!need_item) {
        skip_blanks();
        if (!at_end() && text_[pos_] != ',' && text_[pos_] != ')' && text_[pos_] != '/')
          return fail(error, "descriptors must be separated by \",\"");
      }
      items.push_back(std::move(*item));
    }
  }

  bool open() {
    skip_blanks();
    if (at_end() || text_[pos_] != '(') return false;
    ++pos_;
    return true;
  }

 private:
  std::optional<FormatItem> parse_item(std::string* error) {
    FormatItem item;
    const std::optional<int> count = number();
    if (count && *count == 0) return fail_item(error, "a repeat count of 0");
    skip_blanks();
    if (at_end()) return fail_item(error, "missing \")\"");
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text_[pos_])));
    ++pos_;
    item.repeat = count.value_or(1);
    switch (c) {
      case '(': {
        item.kind = FormatItem::Kind::kGroup;
        auto inner = parse_list(error, true);
        if (!inner) return std::nullopt;
        item.items = std::move(*inner);
        return item;
      }
      case '/':
        item.kind = FormatItem::Kind::kNewRecord;
        return item;
      case 'X':
        item.kind = FormatItem::Kind::kSkip;
        return item;
      case 'F': case 'E': case 'D': case 'G': case 'I': {
        item.kind = c == 'I' ? FormatItem::Kind::kInteger : FormatItem::Kind::kReal;
        item.letter = c;
        const std::optional<int> width = number();
        if (!width || *width == 0) return fail_item(error, "a field needs a width");
        item.width = *width;
        skip_blanks();
        if (!at_end() && text_[pos_] == '.') {
          ++pos_;
          const std::optional<int> d = number();
          if (!d) return fail_item(error, "missing digits after \".\"");
          item.decimals = c == 'I' ? 0 : *d;
        } else if (c == 'F' || c == 'E' || c == 'D') {
          return fail_item(error, "a real field needs its decimals, as in F10.2");
        }
        skip_blanks();
        if ((c == 'E' || c == 'G') && !at_end() &&
            std::toupper(static_cast<unsigned char>(text_[pos_])) == 'E') {
          ++pos_;  // an exponent width, as in E12.4E3: it does not matter for reading
          if (!number()) return fail_item(error, "missing exponent width");
        }
        return item;
      }
      default:
        return fail_item(error, std::string("unknown descriptor \"") + text_[pos_ - 1] + "\"");
    }
  }

  std::optional<int> number() {
    skip_blanks();
    int64_t value = 0;
    bool any = false;
    while (!at_end() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
      value = value * 10 + (text_[pos_] - '0');
      if (value > 1000000) return std::nullopt;
      any = true;
      ++pos_;
    }
    if (!any) return std::nullopt;
    return static_cast<int>(value);
  }

  void skip_blanks() {
    while (!at_end() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  bool at_end() const { return pos_ >= text_.size(); }

  static std::nullopt_t fail(std::string* error, std::string_view why) {
    if (error) *error = std::string(why);
    return std::nullopt;
  }
  std::optional<FormatItem> fail_item(std::string* error, std::string_view why) {
    fail(error, why);
    return std::nullopt;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

/// One step of an expanded format: a field, a skip or a new record.
struct Step {
  FormatItem::Kind kind;
  int width;     ///< field width, or characters to skip
  int decimals;
  char letter;   ///< descriptor letter of a field
};

bool expand(const std::vector<FormatItem>& items, std::vector<Step>& out) {
  for (const FormatItem& item : items) {
    for (int r = 0; r < (item.kind == FormatItem::Kind::kSkip ? 1 : item.repeat); ++r) {
      if (item.kind == FormatItem::Kind::kGroup) {
        if (!expand(item.items, out)) return false;
      } else {
        const int width = item.kind == FormatItem::Kind::kSkip ? item.repeat : item.width;
        out.push_back({item.kind, width, item.decimals, item.letter});
      }
      if (out.size() > kMaxExpandedItems) return false;
    }
  }
  return true;
}

bool is_data(const Step& s) {
  return s.kind == FormatItem::Kind::kReal || s.kind == FormatItem::Kind::kInteger;
}

struct Expanded {
  std::vector<Step> steps;
  std::size_t reversion = 0;  ///< index in `steps`
};

std::optional<Expanded> expand_program(const FormatProgram& format) {
  Expanded e;
  const std::vector<FormatItem> head(format.items.begin(),
                                     format.items.begin() + static_cast<long>(format.reversion));
  const std::vector<FormatItem> tail(format.items.begin() + static_cast<long>(format.reversion),
                                     format.items.end());
  if (!expand(head, e.steps)) return std::nullopt;
  e.reversion = e.steps.size();
  if (!expand(tail, e.steps)) return std::nullopt;
  return e;
}

/// Reads one field of a record, blanks removed; the field past the record's end is blank.
std::string field_text(const std::string& record, std::size_t col, int width) {
  std::string text;
  for (std::size_t i = col; i < col + static_cast<std::size_t>(width) && i < record.size(); ++i)
    if (record[i] != ' ' && record[i] != '\t') text += record[i];
  return text;
}

/// Converts a real field: sign, digits with an optional point, an optional exponent
/// (E, D, or a bare sign); without a point the digits carry `decimals` implied decimals.
bool parse_real(std::string_view text, int decimals, double& value) {
  if (text.empty()) {
    value = 0.0;
    return true;
  }
  std::string mantissa;
  std::size_t i = 0;
  if (text[i] == '+' || text[i] == '-') mantissa += text[i++];
  bool point = false, digits = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      mantissa += c;
      digits = true;
    } else if (c == '.' && !point) {
      mantissa += c;
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return false;
  long exponent = 0;
  if (i < text.size()) {
    std::string_view rest = text.substr(i);
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(rest.front())));
    if (c == 'E' || c == 'D') rest.remove_prefix(1);
    else if (c != '+' && c != '-') return false;
    if (!rest.empty() && rest.front() == '+') rest.remove_prefix(1);
    if (rest.empty()) return false;
    const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), exponent);
    if (ec != std::errc{} || end != rest.data() + rest.size()) return false;
  }
  if (!point) exponent -= decimals;
  if (exponent > 100000 || exponent < -100000) return false;
  const std::string full = mantissa + "e" + std::to_string(exponent);
  const auto [end, ec] = std::from_chars(full.data(), full.data() + full.size(), value);
  return ec == std::errc{} && end == full.data() + full.size();
}

bool parse_integer(std::string_view text, double& value) {
  if (text.empty()) {
    value = 0.0;
    return true;
  }
  if (text.front() == '+') text.remove_prefix(1);
  int64_t n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc{} || end != text.data() + text.size()) return false;
  value = static_cast<double>(n);
  return true;
}

}  // namespace

std::optional<FormatProgram> parse_user_format(std::string_view text, std::string* error) {
  FormatParser parser(text);
  if (!parser.open()) {
    if (error) *error = "a format starts with \"(\"";
    return std::nullopt;
  }
  auto items = parser.parse_list(error, false);
  if (!items) return std::nullopt;
  FormatProgram program;
  program.items = std::move(*items);
  for (std::size_t i = program.items.size(); i-- > 0;)
    if (program.items[i].kind == FormatItem::Kind::kGroup) {
      program.reversion = i;
      break;
    }
  const auto expanded = expand_program(program);
  if (!expanded) {
    if (error) *error = "the format is too long";
    return std::nullopt;
  }
  bool data_after_reversion = false;
  for (std::size_t i = expanded->reversion; i < expanded->steps.size(); ++i)
    data_after_reversion = data_after_reversion || is_data(expanded->steps[i]);
  if (!data_after_reversion) {
    if (error) *error = "the format reads no numbers";
    return std::nullopt;
  }
  return program;
}

FormatReadStatus read_formatted(const FormatProgram& format, const RecordSource& next_record,
                                std::span<double> out) {
  const auto expanded = expand_program(format);
  if (!expanded) return FormatReadStatus::kBadField;
  const std::vector<Step>& steps = expanded->steps;
  std::string record;
  if (!next_record(record)) return FormatReadStatus::kEndOfFile;
  std::size_t col = 0;
  std::size_t at = 0;
  for (double& target : out) {
    while (true) {
      if (at == steps.size()) {  // the list ran out: revert on a new record
        if (!next_record(record)) return FormatReadStatus::kEndOfFile;
        col = 0;
        at = expanded->reversion;
      }
      const Step& step = steps[at++];
      if (step.kind == FormatItem::Kind::kSkip) {
        col += static_cast<std::size_t>(step.width);
      } else if (step.kind == FormatItem::Kind::kNewRecord) {
        if (!next_record(record)) return FormatReadStatus::kEndOfFile;
        col = 0;
      } else {
        const std::string text = field_text(record, col, step.width);
        col += static_cast<std::size_t>(step.width);
        double value = 0.0;
        const bool ok = step.kind == FormatItem::Kind::kInteger
                            ? parse_integer(text, value)
                            : parse_real(text, step.decimals, value);
        if (!ok) return FormatReadStatus::kBadField;
        target = value;
        break;
      }
    }
  }
  return FormatReadStatus::kOk;
}

FormatWriteResult write_formatted(const FormatProgram& format, std::span<const double> values) {
  FormatWriteResult result;
  const auto expanded = expand_program(format);
  if (!expanded) {
    if (!values.empty()) result.unfit = 0;
    return result;
  }
  const std::vector<Step>& steps = expanded->steps;
  std::string record;
  std::size_t at = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    while (true) {
      if (at == steps.size()) {  // the list ran out: revert on a new record
        result.records.push_back(std::exchange(record, {}));
        at = expanded->reversion;
      }
      const Step& step = steps[at++];
      if (step.kind == FormatItem::Kind::kSkip) {
        record.append(static_cast<std::size_t>(step.width), ' ');
      } else if (step.kind == FormatItem::Kind::kNewRecord) {
        result.records.push_back(std::exchange(record, {}));
      } else {
        const auto text = edit_field(values[i], step.letter, step.width, step.decimals);
        if (!text) {
          result.unfit = i;
          return result;
        }
        record += *text;
        break;
      }
    }
  }
  result.records.push_back(std::move(record));
  return result;
}

}  // namespace qorv::core
