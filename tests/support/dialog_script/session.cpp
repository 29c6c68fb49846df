#include "tests/support/dialog_script/session.h"

#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace dialog_script {

namespace {

using detail::Kind;
using detail::Rule;

/// Everything the stand-in remembers between calls.
struct Session {
  detail::Script script;             ///< the loaded rules
  std::vector<bool> dropped;         ///< per rule: a used `once` rule or a used expectation
  std::size_t next_expectation = 0;  ///< strict scripts: the expectation the next dialog must fit
  std::vector<std::string> transcript;
  std::vector<Call> calls;
  std::vector<std::string> failures;
  int shown = 0;                     ///< dialogs counted against the cap
  int cap = kDefaultCap;
  int pages = 0;                     ///< results pages shown
};

Session& session() {
  static Session s;
  return s;
}

bool fits(const Rule& rule, Kind kind, int help_context, std::string_view match_text) {
  if (rule.kind != kind) return false;
  if (rule.number) {
    const bool numbered_menu = kind == Kind::kMenu || kind == Kind::kChoices;
    if (*rule.number != (numbered_menu ? help_context - 1000 : help_context)) return false;
  }
  if (rule.match && detail::lower(match_text).find(*rule.match) == std::string::npos) return false;
  return true;
}

std::string rule_label(const Rule& rule) { return "line " + std::to_string(rule.line) + ": " + rule.source; }

}  // namespace

namespace detail {

void count_dialog() {
  Session& s = session();
  if (++s.shown > s.cap) {
    const std::string text = "CAP more than " + std::to_string(s.cap) + " dialogs";
    s.transcript.push_back(text);
    s.failures.push_back(text);
    throw CapReached(text);
  }
}

const Rule* answer_for(Kind kind, int help_context, std::string_view match_text, std::string_view what) {
  count_dialog();
  Session& s = session();
  const auto& rules = s.script.rules;
  if (s.script.strict) {
    if (s.next_expectation < rules.size()) {
      const Rule& next = rules[s.next_expectation];
      if (fits(next, kind, help_context, match_text)) {
        s.dropped[s.next_expectation++] = true;
        return &next;
      }
      s.failures.push_back("UNMATCHED " + std::string(what) + " (expected " + rule_label(next) + ")");
    } else {
      s.failures.push_back("UNMATCHED " + std::string(what) + " (the strict script has ended)");
    }
    return nullptr;
  }
  for (std::size_t i = 0; i < rules.size(); ++i) {
    if (s.dropped[i] || !fits(rules[i], kind, help_context, match_text)) continue;
    if (rules[i].once) s.dropped[i] = true;
    return &rules[i];
  }
  s.failures.push_back("UNMATCHED " + std::string(what));
  return nullptr;
}

void record(std::string line) { session().transcript.push_back(std::move(line)); }
void record_call(Call call) { session().calls.push_back(std::move(call)); }
void add_failure(std::string text) { session().failures.push_back(std::move(text)); }
int next_page_number() { return ++session().pages; }

}  // namespace detail

void reset() { session() = Session{}; }

void load(std::string_view text) {
  detail::Script script = detail::parse_script(text);
  Session& s = session();
  s.dropped.assign(script.rules.size(), false);
  s.script = std::move(script);
  s.next_expectation = 0;
}

void load_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::invalid_argument("cannot read the dialog script " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  load(text.str());
}

void set_cap(int dialogs) { session().cap = dialogs; }

const std::vector<std::string>& transcript() { return session().transcript; }

std::string transcript_text() {
  std::string out;
  for (const std::string& line : session().transcript) out += line + "\n";
  return out;
}

std::vector<std::vector<std::string>> pages() {
  std::vector<std::vector<std::string>> out;
  bool inside = false;
  for (const std::string& line : session().transcript) {
    if (line.starts_with("--- page")) {
      out.emplace_back();
      inside = true;
    } else if (line == "--- end page ---") {
      inside = false;
    } else if (inside) {
      out.back().push_back(line);
    }
  }
  return out;
}

std::vector<std::string> failures() {
  const Session& s = session();
  std::vector<std::string> out = s.failures;
  if (s.script.strict)
    for (std::size_t i = s.next_expectation; i < s.script.rules.size(); ++i)
      out.push_back("UNUSED " + rule_label(s.script.rules[i]));
  return out;
}

std::vector<std::string> take_failures() {
  std::vector<std::string> out = failures();
  Session& s = session();
  s.failures.clear();
  if (s.script.strict) s.next_expectation = s.script.rules.size();
  return out;
}

int dialogs_shown() { return session().shown; }

const std::vector<Call>& calls() { return session().calls; }

}  // namespace dialog_script
