// The results page: every report is collected as one page of lines in the page file
// "J$.OOO" (channel 57), with the estimated equation, if any, in the model page file
// "J$.MMM" (channel 58), and shown in the results viewer. On the viewer's answer the page
// is saved as a results file (78 columns to a record) or the equation as a model file in
// one of four layouts. Report code opens a page, writes its lines through `WRITELINE` and
// closes the page; it never touches the page files itself.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::core {

/// Modes of `SHOWRESULTS`.
enum ShowResultsMode : int {
  kOpenPage = 1,           ///< open a new page
  kShowPage = 2,           ///< close and show the page, no model saving offered
  kShowPageWithModel = 3,  ///< close and show the page with model saving offered
};

/// Layouts of a model file (the options of the model-format menu).
enum ModelFormat : int {
  kModelOwn = 1,             ///< MOD, own format
  kModelWinsolve = 2,        ///< TXT, Winsolve
  kModelNational = 3,        ///< MOD, National Institute
  kModelLondon = 4,          ///< MOD, London Business School
};

/// Columns of a record of a saved results file.
inline constexpr int kResultsRecordWidth = 78;
/// Longest piece of a model file record.
inline constexpr int kModelPieceWidth = 60;

/// The results page's engine words (they outlive pages).
struct ResultsPageState {
  std::string results_file;  ///< the last results file name; empty at start
  std::string model_file;    ///< the last model file name; empty at start
  bool lost_page = false;    ///< the open page's files could not be created: its lines are dropped
};

/// The results page's state (reset to the values above with the engine).
ResultsPageState& results_page();

/// The page file and the model page file in the temporary folder (character setting 4).
std::filesystem::path results_page_path();
std::filesystem::path model_page_path();

/// Owns the life of a results page. Every call first clears the equation-box request
/// (slot 31) and left-justifies the temporary-folder setting.
/// - Mode 1: a page already open is first closed and shown (mode 2); then both page files
///   are created afresh on channels 57 and 58 and page lines go to the page. When they
///   cannot be created, "Unable to create temporary file" is shown once and the page's
///   lines are dropped without further boxes.
/// - Modes 2 and 3: a form-feed record ends the page; both channels close; the viewer
///   shows the page (model saving offered in mode 3) and its answer is carried out:
///   action 3 copies the page to the returned results file, action 2 asks the model
///   layout, lets the user edit the equation and writes the model file. A chosen file
///   that exists is overwritten or appended to as the user answers, or left alone on
///   "Quit"; it is replaced only once the new contents are complete.
/// - Any mode: finally both page files are deleted (with any other mode, an open page is
///   closed unseen).
void SHOWRESULTS(int mode);

/// The model text (40 lines of 78 taken as one text of 3120 characters) cut into pieces
/// of at most 60 characters, breaking after the last blank of each 60-character window
/// (a stretch of 60 without a blank is cut hard) and skipping blank stretches.
std::vector<std::string> cut_model_text(std::string_view text);

/// The records of a model file in `format` for the model text `text`, ending with the
/// one-blank record.
std::vector<std::string> model_file_records(std::string_view text, int format);

}  // namespace qorv::core
