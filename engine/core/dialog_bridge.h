// The engine's only door to the dialog library: every question, message, menu, editor,
// results page, graph and busy notice goes through these wrappers. They turn the engine's
// values and texts into the library's conventions (16-bit integers by reference, texts
// blank-padded with their trimmed length beside them) and back.
//
// Status words: 1 OK, 2 cancelled. Help context 0 means none; a menu's is its number +
// 1000. Every dialog is modal and returns when the user has answered.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/core/message_lines.h"

namespace qorv::core {

/// Kinds of message box.
enum MessageKind : int { kWarning = 1, kError = 2, kInformation = 3 };

inline constexpr int kDialogOk = 1;      ///< status: answered
inline constexpr int kDialogCancel = 2;  ///< status: cancelled
inline constexpr int kNoHelp = 0;        ///< help context: none
inline constexpr int kMessageWidth = 255;    ///< longest text of a message box
inline constexpr int kMessageLineWidth = 80; ///< a line of the message file or a long message
inline constexpr int kOptionWidth = 80;      ///< width of an option line passed to a list

/// Message box of `kind` (1 warning, 2 error, 3 information) with `text` without its
/// trailing blanks, cut to 255 characters.
void SHOWOK(int kind, int help_context, std::string_view text);

/// Asks for an integer. `value` in: the value shown; `status` in: 1 = the question has no
/// Cancel button. Out: status 1 and the answer, or status 2 (cancelled, or not an integer)
/// and value 0.
void ASKINTEGER(int help_context, int& value, int& status, std::string_view prompt);

/// Asks for a real number (single precision in the dialog: bounds are compared in single
/// precision). As ASKINTEGER: status 1 and the answer, else status 2 and value 0.
void ASKREAL(int help_context, float& value, int& status, std::string_view prompt);

/// Yes/No question: true when the user answers Yes (No and Cancel give false).
bool ASKYESNO(int help_context, std::string_view prompt);

/// Asks for a text of at most `width` characters; `answer` in: the default shown (a first
/// character that is a blank shows an empty box). Out: status 1 and `answer` blank-padded
/// to `width`, or status 2 and `answer` unchanged.
void ASKSTRING(int help_context, int& status, std::string_view prompt, std::string& answer, int width);

/// The text editor over `text`, `lines` lines of `line_length` characters (blank-padded or
/// cut to that block on entry), with the workspace's variable names offered for insertion
/// (or `offered`, when given: the names a text may use in place of variables).
/// `mode` 1 shows the editor panel file beside the text; `extension` (3 characters) is the
/// default of the editor's open and save dialogs. Out: status 1 and the edited block (line
/// breaks typed by the user come back as one blank each), or status 2 and `text` as it
/// was. A panel file open on its channel is closed for the editor and reopened for
/// appending afterwards.
void EDITTEXTFILE(std::string_view title, int line_length, int lines, int help_context, int& status,
                  int mode, std::string_view extension, std::string& text,
                  std::span<const std::string> offered = {});

/// One choice from `options` (each passed 80 wide, blank-padded or cut). `index` in: the
/// option preselected, from 0; out: status 1 and the chosen option, from 0, or status 2
/// and `index` unchanged.
void ASKONEOPTION(int help_context, int& status, int& index, std::string_view title,
                  std::span<const std::string> options);

/// Several choices from `options` (80 wide). `flags` (one per option) in: the options
/// ticked; out with status 1: 1 for each ticked option, 0 for the others; with status 2
/// unchanged.
void ASKSOMEOPTIONS(int help_context, int& status, std::span<int> flags, std::string_view title,
                    std::span<const std::string> options);

/// The value grid: `values` edited against `names` (one per value). Out: status 1 and the
/// new values, or status 2 and the values as they were.
void ASKVALUES(std::span<double> values, std::span<const std::string> names, int help_context,
               int& status, std::string_view prompt);

/// File modes of ASKFILE.
enum FileMode : int { kOpenFile = 1, kSaveFile = 2, kSaveDataFile = 3 };

/// File dialog: `mode` 1 open, 2 save, 3 save a data file; `extension` (3 characters) the
/// default. `name` in: the name offered; out with result 1: the chosen path, trimmed.
/// Result 2: cancelled, `name` unchanged.
void ASKFILE(std::string& name, int mode, std::string_view extension, int& result);

/// Busy state (hourglass) with `text` until STOPCALC.
void STARTCALC(std::string_view text);
/// Ends the busy state.
void STOPCALC();
/// A warning beep.
void BEEP();

/// The shape and start of a data set written by WRITEDATAFILE, as the engine keeps them.
struct DataFileHeader {
  int nobs = 0;              ///< observations per variable
  int nvars = 0;             ///< variables
  int frequency = 1;         ///< 1 undated .. 5 monthly
  int periods_per_year = 1;  ///< 1, 1, 2, 4, 12
  int start_year = 1;        ///< as the engine keeps it
  int start_period = 1;
  int century_base = 0;
};

/// Writes the ZVD data file `file_name` through the dialog library: `names` and
/// `descriptions` hold nvars entries every `name_stride` and `description_stride`
/// characters, `data` nobs × nvars values variable after variable. Returns 0 when
/// written, 1 when not (the library has told the user why, or the arguments do not fit
/// the file: counts beyond 16 bits, arrays shorter than the header says).
int WRITEDATAFILE(const DataFileHeader& header, std::string_view names, int name_stride,
                  std::string_view descriptions, int description_stride, std::string_view file_name,
                  std::span<const double> data);

/// Long message box, one line per entry of `lines`, each `width` characters wide.
void SHOWOKLONG(std::span<const std::string> lines, int width = kMessageLineWidth);

/// The results viewer over the page file. `action` in: 0 = the model buttons are
/// disabled, 1 = enabled. The results and model file names go in as the remembered ones
/// and come back as the viewer left them (trimmed). Returns the viewer's action: 3 save
/// the page as results file, 2 save the model, 0 nothing. The viewer writes its (possibly
/// edited) text back into the page file before it returns 3 or 2.
int SHOWRESULTSPAGE(std::string_view page_file, std::string& results_file, std::string& model_file, int action);

/// The modal graph window over a plot file: true when the user keeps the graph for later.
bool SHOWPLOTFILE(std::string_view plot_file);

/// `text` without leading and trailing blanks in an information box, help context 0.
void SHOWMESSAGE(std::string_view text);

/// Forwards to SHOWMSGFILE.
void SHOWMSGLINES(int first, int last);

/// Shows lines first..last (from 1, at most 20) of the message file "ERROR4.ZQT" in the
/// program folder (character setting 5): one line in an information box, several in one
/// long message. A file that cannot be read, or lines it lacks, give an error box naming
/// the file and the lines. Cost: reads the file up to line `last`.
void SHOWMSGFILE(int first, int last);
/// SHOWMSGFILE over one of the named groups of lines.
void SHOWMSGFILE(MessageLines lines);

/// " There is not enough free hard disk to carry out computations! " in a message box.
void DISKSPACEMESSAGE();

/// The busy state with "Calculating or writing to file! Please wait... ".
void SHOWCALCULATING();

}  // namespace qorv::core
