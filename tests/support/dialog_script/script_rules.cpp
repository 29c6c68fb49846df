#include "tests/support/dialog_script/script_rules.h"

#include <array>
#include <charconv>
#include <stdexcept>
#include <utility>

namespace dialog_script::detail {

namespace {

constexpr std::array<std::pair<Kind, std::string_view>, 11> kKinds = {{
    {Kind::kMenu, "menu"},       {Kind::kChoices, "choices"}, {Kind::kInteger, "integer"},
    {Kind::kReal, "real"},       {Kind::kString, "string"},   {Kind::kYesNo, "yesno"},
    {Kind::kText, "text"},       {Kind::kValues, "values"},   {Kind::kFile, "file"},
    {Kind::kResults, "results"}, {Kind::kGraph, "graph"},
}};

struct Token {
  std::string text;
  bool quoted = false;
};

[[noreturn]] void fail(int line, const std::string& why) {
  throw std::invalid_argument("line " + std::to_string(line) + ": " + why);
}

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r'; }

/// `line` without its comment: a "#" outside double quotes starts it.
std::string_view strip_comment(std::string_view line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\' && quoted) {
      ++i;
    } else if (line[i] == '"') {
      quoted = !quoted;
    } else if (line[i] == '#' && !quoted) {
      return line.substr(0, i);
    }
  }
  return line;
}

/// Position of "->" outside double quotes, or npos.
std::size_t find_arrow(std::string_view line) {
  bool quoted = false;
  for (std::size_t i = 0; i + 1 < line.size(); ++i) {
    if (line[i] == '\\' && quoted) {
      ++i;
    } else if (line[i] == '"') {
      quoted = !quoted;
    } else if (!quoted && line[i] == '-' && line[i + 1] == '>') {
      return i;
    }
  }
  return std::string_view::npos;
}

/// Blank-separated words; a double-quoted text is one token, with \" \\ and \n escapes.
std::vector<Token> tokenize(std::string_view text, int line) {
  std::vector<Token> out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (is_space(text[i])) {
      ++i;
      continue;
    }
    Token token;
    if (text[i] == '"') {
      token.quoted = true;
      ++i;
      bool closed = false;
      while (i < text.size()) {
        const char c = text[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\' && i < text.size()) {
          const char e = text[i++];
          token.text += e == 'n' ? '\n' : e;
        } else {
          token.text += c;
        }
      }
      if (!closed) fail(line, "unclosed double quote");
    } else {
      while (i < text.size() && !is_space(text[i])) token.text += text[i++];
    }
    out.push_back(std::move(token));
  }
  return out;
}

template <typename T>
bool parse_number(std::string_view text, T& out) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end;
}

long read_long(const Token& token, int line) {
  long value = 0;
  if (token.quoted || !parse_number(token.text, value)) fail(line, "'" + token.text + "' is not a whole number");
  return value;
}

bool is_word(const std::vector<Token>& answer, std::string_view word) {
  return answer.size() == 1 && !answer[0].quoted && answer[0].text == word;
}

std::string one_quoted(const std::vector<Token>& answer, int line, std::string_view what) {
  if (answer.size() != 1 || !answer[0].quoted) fail(line, std::string(what) + " answer must be one double-quoted text or cancel");
  return answer[0].text;
}

Answer read_answer(Kind kind, const std::vector<Token>& tokens, int line) {
  Answer a;
  if (tokens.empty()) fail(line, "missing answer after '->'");
  const bool cancellable = kind != Kind::kYesNo && kind != Kind::kResults && kind != Kind::kGraph;
  if (cancellable && is_word(tokens, "cancel")) {
    a.cancel = true;
    return a;
  }
  switch (kind) {
    case Kind::kMenu:
      if (tokens.size() != 1) fail(line, "a menu answer is one option number, an option text or cancel");
      if (tokens[0].quoted) {
        a.typed = tokens[0].text;
      } else {
        a.number = read_long(tokens[0], line);
      }
      break;
    case Kind::kChoices:
      for (const Token& t : tokens) a.ticks.push_back(read_long(t, line));
      break;
    case Kind::kInteger:
      if (tokens.size() != 1) fail(line, "an integer answer is one value, a typed text or cancel");
      if (tokens[0].quoted) {
        a.typed = tokens[0].text;
      } else {
        a.number = read_long(tokens[0], line);
      }
      break;
    case Kind::kReal:
      if (tokens.size() != 1 || tokens[0].quoted || !parse_number(tokens[0].text, a.real))
        fail(line, "a real answer is one number or cancel");
      break;
    case Kind::kString:
      a.text = one_quoted(tokens, line, "a string");
      break;
    case Kind::kText:
      a.text = one_quoted(tokens, line, "a text");
      break;
    case Kind::kYesNo:
      if (!is_word(tokens, "yes") && !is_word(tokens, "no")) fail(line, "a yesno answer is yes or no");
      a.yes = tokens[0].text == "yes";
      break;
    case Kind::kValues:
      if (is_word(tokens, "keep")) {
        a.keep = true;
        break;
      }
      for (const Token& t : tokens) {
        double v = 0.0;
        if (t.quoted || !parse_number(t.text, v)) fail(line, "'" + t.text + "' is not a number");
        a.values.push_back(v);
      }
      break;
    case Kind::kFile:
      if (tokens.size() != 1) fail(line, "a file answer is one path (double-quote it when it holds blanks) or cancel");
      a.text = tokens[0].text;
      break;
    case Kind::kResults:
      if (is_word(tokens, "close")) break;
      if (tokens.size() != 2 || tokens[0].quoted ||
          (tokens[0].text != "save-results" && tokens[0].text != "save-model"))
        fail(line, "a results answer is close, save-results PATH or save-model PATH");
      a.action = tokens[0].text == "save-results" ? ViewerAction::kSaveResults : ViewerAction::kSaveModel;
      a.text = tokens[1].text;
      break;
    case Kind::kGraph:
      if (!is_word(tokens, "keep") && !is_word(tokens, "close")) fail(line, "a graph answer is keep or close");
      a.keep = tokens[0].text == "keep";
      break;
  }
  return a;
}

Rule read_rule(std::string_view text, int line) {
  Rule rule;
  rule.line = line;
  rule.source = std::string(text.substr(text.find_first_not_of(" \t")));
  while (!rule.source.empty() && is_space(rule.source.back())) rule.source.pop_back();
  const std::size_t arrow = find_arrow(text);
  if (arrow == std::string_view::npos) fail(line, "a rule needs '->' before its answer");
  const std::vector<Token> left = tokenize(text.substr(0, arrow), line);
  std::vector<Token> right = tokenize(text.substr(arrow + 2), line);

  if (left.empty() || left.size() > 2 || left[0].quoted) fail(line, "a rule starts with its kind and an optional match");
  bool known = false;
  for (const auto& [kind, word] : kKinds) {
    if (left[0].text == word) {
      rule.kind = kind;
      known = true;
    }
  }
  if (!known) fail(line, "unknown dialog kind '" + left[0].text + "'");
  if (left.size() == 2) {
    if (left[1].quoted) {
      rule.match = lower(left[1].text);
    } else {
      rule.number = read_long(left[1], line);
    }
  }
  if (!right.empty() && !right.back().quoted && right.back().text == "once") {
    rule.once = true;
    right.pop_back();
  }
  rule.answer = read_answer(rule.kind, right, line);
  std::string_view answer = text.substr(arrow + 2);
  answer = answer.substr(std::min(answer.size(), answer.find_first_not_of(" \t")));
  while (!answer.empty() && is_space(answer.back())) answer.remove_suffix(1);
  if (rule.once) {
    answer.remove_suffix(4);
    while (!answer.empty() && is_space(answer.back())) answer.remove_suffix(1);
  }
  rule.answer_text = std::string(answer);
  return rule;
}

}  // namespace

std::string_view kind_word(Kind kind) {
  for (const auto& [k, word] : kKinds)
    if (k == kind) return word;
  return "?";
}

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

Script parse_script(std::string_view text) {
  Script script;
  bool first = true;
  int line_number = 0;
  while (!text.empty()) {
    ++line_number;
    const std::size_t end = text.find('\n');
    std::string_view line = strip_comment(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    while (!line.empty() && is_space(line.back())) line.remove_suffix(1);
    while (!line.empty() && is_space(line.front())) line.remove_prefix(1);
    if (line.empty()) continue;
    if (first && line == "strict") {
      script.strict = true;
      first = false;
      continue;
    }
    first = false;
    script.rules.push_back(read_rule(line, line_number));
  }
  return script;
}

}  // namespace dialog_script::detail
