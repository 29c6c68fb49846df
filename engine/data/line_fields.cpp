#include "engine/data/line_fields.h"

namespace qorv::data {

namespace {

bool is_blank(char c, char delimiter) { return c == ' ' || (c == '\t' && delimiter != '\t'); }

bool is_delimiter(char c, char delimiter) {
  return delimiter == kBlankDelimiter ? (c == ' ' || c == '\t') : c == delimiter;
}

void skip_blanks(std::string_view& line, char delimiter) {
  std::size_t i = 0;
  while (i < line.size() && is_blank(line[i], delimiter)) ++i;
  line.remove_prefix(i);
}

/// Drops the text up to and including the next delimiter; true when there was one.
bool skip_past_delimiter(std::string_view& line, char delimiter) {
  std::size_t i = 0;
  while (i < line.size() && !is_delimiter(line[i], delimiter)) ++i;
  if (i == line.size()) {
    line = {};
    return false;
  }
  line.remove_prefix(i + 1);
  return true;
}

}  // namespace

FieldCut READQUOTEDFIELD(std::string_view& line, char delimiter, std::string& field) {
  FieldCut cut;
  field.clear();
  skip_blanks(line, delimiter);
  if (line.empty()) return cut;
  if (line.front() != '"') {
    std::size_t end = 0;
    while (end < line.size() && !is_delimiter(line[end], delimiter)) ++end;
    std::size_t last = end;
    while (last > 0 && is_blank(line[last - 1], delimiter)) --last;
    field.assign(line.substr(0, last));
    line.remove_prefix(end);
    if (!line.empty()) {
      line.remove_prefix(1);
      cut.delimited = true;
    }
    return cut;
  }
  std::size_t i = 1;
  while (true) {
    if (i >= line.size()) {
      cut.ok = false;
      field.clear();
      line = {};
      return cut;
    }
    if (line[i] == '"') {
      if (i + 1 < line.size() && line[i + 1] == '"') {
        field.push_back('"');
        i += 2;
        continue;
      }
      break;
    }
    field.push_back(line[i]);
    ++i;
  }
  line.remove_prefix(i + 1);
  cut.delimited = skip_past_delimiter(line, delimiter);
  return cut;
}

std::optional<std::vector<std::string>> split_fields(std::string_view line, char delimiter) {
  std::vector<std::string> fields;
  std::string field;
  while (true) {
    if (delimiter == kBlankDelimiter) {
      skip_blanks(line, '\0');
      if (line.empty()) break;
    }
    const FieldCut cut = READQUOTEDFIELD(line, delimiter, field);
    if (!cut.ok) return std::nullopt;
    fields.push_back(field);
    if (!cut.delimited) break;
  }
  return fields;
}

char choose_delimiter(std::string_view names_row) {
  bool quoted = false, comma = false, semicolon = false;
  for (char c : names_row) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\t') return '\t';
    comma = comma || c == ',';
    semicolon = semicolon || c == ';';
  }
  if (comma) return ',';
  if (semicolon) return ';';
  return kBlankDelimiter;
}

}  // namespace qorv::data
