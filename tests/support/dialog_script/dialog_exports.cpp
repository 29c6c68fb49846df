// The dialog exports of the stand-in, with the dialog library's argument order and text
// conversions: messages and titles keep their blanks, a default answer or file name whose
// first character is a blank reads as empty, answers are written back blank-padded, and
// the status codes and no-value markers are the library's.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "shared/fixed_text.h"
#include "shared/pravel_api.h"
#include "shared/zvd_file.h"
#include "tests/support/dialog_script/session.h"

namespace {

using dialog_script::Call;
using dialog_script::detail::add_failure;
using dialog_script::detail::answer_for;
using dialog_script::detail::count_dialog;
using dialog_script::detail::Kind;
using dialog_script::detail::kind_word;
using dialog_script::detail::record;
using dialog_script::detail::record_call;
using dialog_script::detail::Rule;
using dialog_script::detail::ViewerAction;

int16_t value_of(const int16_t* p) { return p != nullptr ? *p : int16_t{0}; }

Call make_call(std::string kind, int help, int detail, std::string text, std::vector<std::string> items = {}) {
  Call call;
  call.kind = std::move(kind);
  call.help_context = help;
  call.detail = detail;
  call.text = std::move(text);
  call.items = std::move(items);
  return call;
}

/// "kind help text" as the transcript and the failures name a dialog.
std::string dialog_label(Kind kind, int help, std::string_view text) {
  std::string out = std::string(kind_word(kind)) + " " + std::to_string(help);
  const std::string_view trimmed = fixed_text::trim(text);
  if (!trimmed.empty()) out += " " + std::string(trimmed);
  return out;
}

/// The transcript line of an answered dialog and its call record.
void log_dialog(Kind kind, Call call, const std::string& answer) {
  record(dialog_label(kind, call.help_context, call.text) + " -> " + answer);
  call.kind = std::string(kind_word(kind));
  call.answer = answer;
  record_call(std::move(call));
}

/// The answer shown when a rule's answer does not fit the dialog: a failure, then cancel.
std::string invalid(const Rule& rule, std::string_view label, const std::string& why,
                    std::string_view fallback = "cancel") {
  add_failure("INVALID answer of line " + std::to_string(rule.line) + " (" + rule.source + ") for " +
              std::string(label) + ": " + why);
  return "INVALID " + rule.answer_text + "; " + std::string(fallback);
}

std::vector<std::string> read_lines(const std::filesystem::path& path, bool& ok) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  ok = static_cast<bool>(in);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string basename(const std::string& path) { return std::filesystem::path(path).filename().string(); }

}  // namespace

extern "C" {

void GetIntegerP(const int16_t* msglen, const int16_t* helpctx, int16_t* value, int16_t* status,
                 const char* msg) {
  const int help = value_of(helpctx);
  Call call = make_call("", help, *value, std::string(fixed_text::view(msg, value_of(msglen))));
  const bool no_cancel = *status == pravel_api::kOk;
  const std::string label = dialog_label(Kind::kInteger, help, call.text);
  const Rule* rule = answer_for(Kind::kInteger, help, call.text, label);
  std::string shown;
  auto cancel_or_default = [&](const std::string& prefix) {
    if (no_cancel) {  // no Cancel button: OK with the value shown
      *status = pravel_api::kOk;
      return prefix + "default " + std::to_string(*value);
    }
    *value = pravel_api::kNoInteger;
    *status = pravel_api::kCancel;
    return prefix + "cancel";
  };
  if (rule == nullptr) {
    shown = cancel_or_default("UNMATCHED ");
  } else if (rule->answer.cancel && no_cancel) {
    *status = pravel_api::kOk;
    shown = invalid(*rule, label, "the question has no Cancel button", "default " + std::to_string(*value));
  } else if (rule->answer.cancel) {
    *value = pravel_api::kNoInteger;
    *status = pravel_api::kCancel;
    shown = rule->answer_text;
  } else {
    long typed = rule->answer.number;
    bool parsed = true;
    if (rule->answer.typed) {
      const std::string_view t = fixed_text::trim(*rule->answer.typed);
      const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), typed);
      parsed = ec == std::errc() && ptr == t.data() + t.size() && !t.empty();
    }
    // Text that is not a 16-bit integer (or is the no-value marker itself) reads as -999.
    const bool fits16 = parsed && typed >= std::numeric_limits<int16_t>::min() &&
                        typed <= std::numeric_limits<int16_t>::max() && typed != pravel_api::kNoInteger;
    *value = fits16 ? static_cast<int16_t>(typed) : pravel_api::kNoInteger;
    *status = fits16 ? pravel_api::kOk : pravel_api::kCancel;
    shown = rule->answer_text;
  }
  log_dialog(Kind::kInteger, std::move(call), shown);
}

void GetRealP(const int16_t* msglen, const int16_t* helpctx, int16_t* status, float* value, const char* msg) {
  const int help = value_of(helpctx);
  Call call = make_call("", help, 0, std::string(fixed_text::view(msg, value_of(msglen))));
  const Rule* rule = answer_for(Kind::kReal, help, call.text, dialog_label(Kind::kReal, help, call.text));
  *value = pravel_api::kNoReal;
  if (rule == nullptr || rule->answer.cancel) {
    *status = pravel_api::kCancel;
  } else {
    *status = pravel_api::kOk;
    *value = rule->answer.real;
  }
  log_dialog(Kind::kReal, std::move(call), rule == nullptr ? "UNMATCHED cancel" : rule->answer_text);
}

void GetStringP(const int16_t* msglen, const int16_t* textlen, const int16_t* helpctx, int16_t* status,
                const char* msg, char* text) {
  const int help = value_of(helpctx);
  const int width = value_of(textlen);
  Call call = make_call("", help, 0, std::string(fixed_text::view(msg, value_of(msglen))),
                        {fixed_text::from_fixed_answer(text, width)});
  const Rule* rule = answer_for(Kind::kString, help, call.text, dialog_label(Kind::kString, help, call.text));
  if (rule == nullptr || rule->answer.cancel) {
    *status = pravel_api::kCancel;  // the text is left as it was
  } else {
    *status = pravel_api::kOk;
    fixed_text::to_fixed(rule->answer.text, text, width);  // the edit box holds at most `width`
  }
  log_dialog(Kind::kString, std::move(call), rule == nullptr ? "UNMATCHED cancel" : rule->answer_text);
}

void GetLogP(const int16_t* msglen, int16_t* answer, const int16_t* helpctx, int16_t* status, const char* msg) {
  const int help = value_of(helpctx);
  Call call = make_call("", help, 0, std::string(fixed_text::view(msg, value_of(msglen))));
  const Rule* rule = answer_for(Kind::kYesNo, help, call.text, dialog_label(Kind::kYesNo, help, call.text));
  if (rule == nullptr) {
    *status = pravel_api::kCancel;
    *answer = 0;
  } else {
    *status = rule->answer.yes ? pravel_api::kYes : pravel_api::kNo;
    *answer = rule->answer.yes ? 1 : 0;
  }
  log_dialog(Kind::kYesNo, std::move(call), rule == nullptr ? "UNMATCHED cancel" : rule->answer_text);
}

void GetTextP(const int16_t* msglen, const int16_t* linelen, const int16_t* nlines, const int16_t* helpctx,
              int16_t* status, const int16_t* nnames, const char* msg, char* text, const char* names,
              const int16_t* /*mode*/, const char* /*ext*/) {
  const int help = value_of(helpctx);
  const long block = value_of(linelen) > 0 && value_of(nlines) > 0 ? long{value_of(linelen)} * value_of(nlines) : 0;
  Call call = make_call("", help, 0, std::string(fixed_text::view(msg, value_of(msglen))),
                        fixed_text::split_items(names, 14, value_of(nnames)));
  call.block = std::string(fixed_text::view(text, static_cast<int>(block)));
  const std::string label = dialog_label(Kind::kText, help, call.text);
  const Rule* rule = answer_for(Kind::kText, help, call.text, label);
  std::string shown = rule == nullptr ? "UNMATCHED cancel" : rule->answer_text;
  *status = pravel_api::kCancel;  // the block is left as it was
  if (rule != nullptr && !rule->answer.cancel) {
    std::string typed = rule->answer.text;
    for (char& c : typed)
      if (c == '\n' || c == '\r') c = ' ';  // a typed line break comes back as one blank
    if (static_cast<long>(typed.size()) > block) {
      shown = invalid(*rule, label, "text too long: at most " + std::to_string(block) + " characters");
    } else {
      fixed_text::to_fixed(typed, text, static_cast<int>(block));
      *status = pravel_api::kOk;
    }
  }
  log_dialog(Kind::kText, std::move(call), shown);
}

void GET1OPTIONP(const int16_t* titlelen, const int16_t* nopts, const int16_t* optwidth, const int16_t* helpctx,
                 int16_t* status, int16_t* index, const char* title, const char* options) {
  const int help = value_of(helpctx);
  Call call = make_call("", help, *index, std::string(fixed_text::view(title, value_of(titlelen))),
                        fixed_text::split_items(options, value_of(optwidth), value_of(nopts)));
  const std::string label = dialog_label(Kind::kMenu, help, call.text);
  const Rule* rule = answer_for(Kind::kMenu, help, call.text, label);
  std::string shown = rule == nullptr ? "UNMATCHED cancel" : rule->answer_text;
  *status = pravel_api::kCancel;
  if (rule != nullptr && !rule->answer.cancel) {
    // The option is found by the number its line shows ("3. ..."), not by its position,
    // or, for a list whose lines show no numbers, by its whole text (case ignored).
    const std::optional<std::string>& wanted = rule->answer.typed;
    const std::string prefix = std::to_string(rule->answer.number) + ".";
    const auto same_text = [&wanted](std::string_view item) {
      const std::string_view t = fixed_text::trim(item);
      return t.size() == wanted->size() &&
             std::equal(t.begin(), t.end(), wanted->begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
             });
    };
    std::size_t found = call.items.size();
    for (std::size_t i = 0; i < call.items.size() && found == call.items.size(); ++i)
      if (wanted ? same_text(call.items[i]) : fixed_text::trim(call.items[i]).starts_with(prefix)) found = i;
    if (found == call.items.size()) {
      shown = invalid(*rule, label, wanted ? "no option line reads \"" + *wanted + "\"" : "no option line shows " + prefix);
    } else {
      *index = static_cast<int16_t>(found);
      *status = pravel_api::kOk;
    }
  }
  const std::vector<std::string> lines = call.items;
  log_dialog(Kind::kMenu, std::move(call), shown);
  for (const std::string& line : lines) record("  " + std::string(fixed_text::trim_right(line)));
}

void GETSOMEOPTIONSP(const int16_t* titlelen, const int16_t* nopts, const int16_t* optwidth, const int16_t* helpctx,
                     int16_t* status, int16_t* flags, const char* title, const char* options) {
  const int help = value_of(helpctx);
  const int count = value_of(nopts);
  Call call = make_call("", help, 0, std::string(fixed_text::view(title, value_of(titlelen))),
                        fixed_text::split_items(options, value_of(optwidth), count));
  const std::string label = dialog_label(Kind::kChoices, help, call.text);
  const Rule* rule = answer_for(Kind::kChoices, help, call.text, label);
  std::string shown = rule == nullptr ? "UNMATCHED cancel" : rule->answer_text;
  *status = pravel_api::kCancel;  // the flags are left as they were
  if (rule != nullptr && !rule->answer.cancel) {
    bool in_range = true;
    for (const long k : rule->answer.ticks) in_range = in_range && k >= 1 && k <= count;
    if (!in_range) {
      shown = invalid(*rule, label, "the list has " + std::to_string(count) + " options");
    } else {
      for (int i = 0; i < count; ++i) flags[i] = 0;
      for (const long k : rule->answer.ticks) flags[k - 1] = 1;
      *status = pravel_api::kOk;
    }
  }
  const std::vector<std::string> lines = call.items;
  log_dialog(Kind::kChoices, std::move(call), shown);
  for (const std::string& line : lines) record("  " + std::string(fixed_text::trim_right(line)));
}

void GetOKP(const int16_t* msglen, const int16_t* helpctx, const int16_t* kind, const char* msg) {
  count_dialog();
  const int k = value_of(kind);
  const char* word = k == 1 ? "warning" : k == 2 ? "error" : k == 3 ? "information" : "plain";
  Call call = make_call("message", value_of(helpctx), k, std::string(fixed_text::view(msg, value_of(msglen))));
  std::string shown(fixed_text::trim_right(call.text));
  for (char& c : shown)
    if (c == '\n' || c == '\r') c = ' ';  // one transcript line per box
  record("message " + std::string(word) + " " + std::to_string(call.help_context) + " " + shown);
  record_call(std::move(call));
}

void GetOKLongP(const int16_t* nlines, const int16_t* linewidth, const char* text) {
  count_dialog();
  Call call = make_call("message", 0, 0, "", fixed_text::split_items(text, value_of(linewidth), value_of(nlines)));
  record("message long");
  for (const std::string& line : call.items) record("  " + std::string(fixed_text::trim_right(line)));
  record_call(std::move(call));
}

void GetValuesP(double* values, const char* msg, const char* names, int16_t* status, const int16_t* msglen,
                const int16_t* n, const int16_t* namewidth, const int16_t* helpctx) {
  const int help = value_of(helpctx);
  const int count = value_of(n);
  Call call = make_call("", help, 0, std::string(fixed_text::view(msg, value_of(msglen))),
                        fixed_text::split_items(names, value_of(namewidth), count));
  const std::string label = dialog_label(Kind::kValues, help, call.text);
  const Rule* rule = answer_for(Kind::kValues, help, call.text, label);
  std::string shown = rule == nullptr ? "UNMATCHED cancel" : rule->answer_text;
  *status = pravel_api::kCancel;  // the values are left as they were
  if (rule != nullptr && !rule->answer.cancel) {
    if (rule->answer.keep) {
      *status = pravel_api::kOk;
    } else if (static_cast<int>(rule->answer.values.size()) != count) {
      shown = invalid(*rule, label, "the grid has " + std::to_string(count) + " values");
    } else {
      for (int i = 0; i < count; ++i) values[i] = rule->answer.values[static_cast<std::size_t>(i)];
      *status = pravel_api::kOk;
    }
  }
  log_dialog(Kind::kValues, std::move(call), shown);
}

void GetFileP(const int16_t* namelen, const int16_t* /*unused*/, int16_t* mode, char* name, const char* ext) {
  const int width = value_of(namelen);
  const int16_t asked = *mode;
  const char* what = asked == 1 ? "open " : asked == 3 ? "save data " : "save ";
  Call call = make_call("", 0, asked, what + std::string(fixed_text::view(ext, 3)),
                        {fixed_text::from_fixed_answer(name, width)});
  const std::string label = dialog_label(Kind::kFile, 0, call.text);
  const Rule* rule = answer_for(Kind::kFile, 0, call.text, label);
  std::string shown = rule == nullptr ? "UNMATCHED cancel" : rule->answer_text;
  *mode = pravel_api::kCancel;
  if (rule != nullptr && !rule->answer.cancel) {
    if (static_cast<int>(rule->answer.text.size()) > width) {
      shown = invalid(*rule, label, "the path is longer than " + std::to_string(width) + " characters");
    } else {
      fixed_text::to_fixed(rule->answer.text, name, width);
      *mode = pravel_api::kOk;
    }
  }
  log_dialog(Kind::kFile, std::move(call), shown);
}

void ShowResultsP(const char* pagefile, const int16_t* len1, char* resultsfile, const int16_t* len2,
                  char* modelfile, const int16_t* len3, int16_t* action) {
  const std::string page = fixed_text::from_fixed_answer(pagefile, value_of(len1));
  std::string results_name = fixed_text::from_fixed_answer(resultsfile, value_of(len2));
  std::string model_name = fixed_text::from_fixed_answer(modelfile, value_of(len3));
  const bool model_allowed = *action != 0;
  bool readable = false;
  const std::vector<std::string> lines = read_lines(page, readable);
  if (!readable) add_failure("the results page " + page + " cannot be read");
  std::string all;
  for (const std::string& line : lines) all += line + "\n";

  Call call = make_call("", 0, *action, basename(page), lines);
  const std::string label = dialog_label(Kind::kResults, 0, call.text);
  const int number = dialog_script::detail::next_page_number();
  const Rule* rule = answer_for(Kind::kResults, 0, all, label);
  std::string shown = rule == nullptr ? "UNMATCHED close" : rule->answer_text;
  *action = 0;
  if (rule != nullptr && rule->answer.action != ViewerAction::kClose) {
    const bool to_model = rule->answer.action == ViewerAction::kSaveModel;
    const int width = value_of(to_model ? len3 : len2);
    if (to_model && !model_allowed) {
      shown = invalid(*rule, label, "the model buttons are disabled", "close");
    } else if (static_cast<int>(rule->answer.text.size()) > width) {
      shown = invalid(*rule, label, "the file name is longer than " + std::to_string(width), "close");
    } else {
      // The viewer writes its text back into the page file before it returns.
      std::ofstream out(page, std::ios::binary | std::ios::trunc);
      out << all;
      if (!out) {
        shown = invalid(*rule, label, "the page file cannot be written", "close");
      } else {
        (to_model ? model_name : results_name) = rule->answer.text;
        *action = to_model ? 2 : 3;
      }
    }
  }
  fixed_text::to_fixed(results_name, resultsfile, value_of(len2));
  fixed_text::to_fixed(model_name, modelfile, value_of(len3));
  log_dialog(Kind::kResults, std::move(call), shown);
  record("--- page " + std::to_string(number) + " ---");
  for (const std::string& line : lines) record(std::string(fixed_text::trim_right(line)));
  record("--- end page ---");
}

void ShowGraphP(const char* plotfile, const int16_t* len, int16_t* keep) {
  *keep = 0;
  const std::string plot = fixed_text::from_fixed_answer(plotfile, value_of(len));
  bool readable = false;
  const std::vector<std::string> lines = read_lines(plot, readable);
  if (!readable) add_failure("the plot file " + plot + " cannot be read");
  const std::string title = lines.empty() ? std::string() : std::string(fixed_text::trim(lines.front()));
  Call call = make_call("", 0, 0, basename(plot) + " " + title, lines);
  const Rule* rule = answer_for(Kind::kGraph, 0, call.text, dialog_label(Kind::kGraph, 0, call.text));
  if (rule != nullptr && rule->answer.keep) *keep = 1;
  log_dialog(Kind::kGraph, std::move(call), rule == nullptr ? "UNMATCHED close" : rule->answer_text);
}

void StartCalcP(const int16_t* len, const char* text) {
  Call call = make_call("busy", 0, 1, std::string(fixed_text::view(text, value_of(len))));
  const std::string_view shown = fixed_text::trim_right(call.text);
  record(shown.empty() ? "busy begin" : "busy begin " + std::string(shown));
  record_call(std::move(call));
}

void StopCalcP(void) {
  record("busy end");
  record_call(make_call("busy", 0, 0, ""));
}

void DoBeepP(void) {
  count_dialog();
  record("beep");
  record_call(make_call("beep", 0, 0, ""));
}

void writefit(const int16_t* nobs, const int16_t* nvars, const int16_t* frequency, const int16_t* periods_per_year,
              const int16_t* start_year, const int16_t* start_period, const int16_t* century_base,
              const int16_t* name_stride, const int16_t* desc_stride, const int16_t* filename_len, const char* names,
              const char* descs, const char* filename, const double* data, int16_t* status) {
  const std::string file = fixed_text::from_fixed_answer(filename, value_of(filename_len));
  zvd::DataSet set;
  set.shape = {*nobs, *nvars, *frequency, *periods_per_year, *start_year, *start_period, *century_base};
  const long n = *nobs > 0 && *nvars > 0 ? long{*nobs} * *nvars : 0;
  for (long k = 0; k < *nvars; ++k) {
    set.names.push_back(fixed_text::from_fixed(names + k * *name_stride, zvd::kNameBytes));
    set.descriptions.push_back(fixed_text::from_fixed(descs + k * *desc_stride, zvd::kLongDescBytes));
  }
  if (n > 0) set.data.assign(data, data + n);
  zvd::WriteResult result;
  if (zvd::check(set) == zvd::ReadError::kNone) {
    result = zvd::write_file(file, set);
  } else {
    result.system_message = "the data set does not fit a data file";
  }
  *status = result.ok ? 0 : 1;
  record("writefit " + file + " -> status " + std::to_string(*status));
  record_call(make_call("writefit", 0, *status, file));
  if (!result.ok) {
    const std::string text = zvd::write_error_message(result);
    const int16_t len = static_cast<int16_t>(text.size()), help = 0, kind = 2;
    GetOKP(&len, &help, &kind, text.data());
  }
}

void dobodge(void) {}

}  // extern "C"
