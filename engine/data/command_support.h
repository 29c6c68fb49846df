// What the statistics commands of the command language (LIST, COR, SPECTRUM, ADF) share:
// their outcome, the check of the arguments the interpreter passes, the narrowing of the
// command sample to the observations where the listed variables are available, the busy
// notice, and lines laid out by column.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::data {

/// Outcome of a statistics command.
enum CommandStatus : int {
  kCommandDone = 0,     ///< the results were written
  kCommandRefused = 1,  ///< the data cannot give them: the user was told why, nothing written
  kCommandBadArguments = 2,  ///< variables or sample outside the data set: nothing done
};

/// True when every entry of `variables` is a variable number 1..NVARS, there is at least
/// one, and 1 <= first <= last <= NOBS.
bool valid_command_arguments(std::span<const int> variables, int first, int last);

/// The command sample narrowed by `MARKAVAILABLE` to the observations where every listed
/// variable is present: `first`..`last`, and `gap`, the first observation inside them at
/// which one is missing (0 when there is none). With no observation available at all the
/// range is the last observation and `gap` names it.
struct AvailableRun {
  int first = 0;
  int last = 0;
  int gap = 0;
  int count() const { return last - first + 1; }
};
AvailableRun available_run(std::span<const int> variables, int first, int last);

/// The observations of one variable for SPECTRUM and ADF, which need an unbroken run:
/// kCommandBadArguments (nothing done) for a variable or sample outside the data set,
/// kCommandRefused after line 2 of the message file when a value is missing inside the
/// available observations, else kCommandDone with the run.
struct UnbrokenRun {
  CommandStatus status = kCommandBadArguments;
  AvailableRun run;
};
UnbrokenRun unbroken_run(int variable, int first, int last);

/// Observations first..last of workspace variable `variable`.
std::vector<double> variable_values(int variable, int first, int last);

/// Shows "Calculating or writing to file! Please wait... " while it lives.
class CalculatingNotice {
 public:
  CalculatingNotice();
  ~CalculatingNotice();
  CalculatingNotice(const CalculatingNotice&) = delete;
  CalculatingNotice& operator=(const CalculatingNotice&) = delete;
};

/// Width of the statistics commands' report lines.
inline constexpr int kReportWidth = 79;

/// A blank report line.
std::string blank_report_line();

/// Writes `text` into `line` from column `column` (from 1), cut at the end of the line.
void place(std::string& line, int column, std::string_view text);

/// Writes `text` centred between columns `first` and `last` (from 1): (width − length) / 2
/// blanks before it.
void place_centred(std::string& line, int first, int last, std::string_view text);

/// `text` centred in a 79-column line on the results page.
void write_centred_line(std::string_view text);

/// `label` of an observation as a sentence shows it: the 7-column label without its hard
/// blank and padding.
std::string label_text(int t);

/// Appends "first to last" (observation labels) one column after the line's text.
void append_period(std::string& line, int first, int last);

}  // namespace qorv::data
