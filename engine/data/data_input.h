// Request 1: reading or defining a data set. The main program names the input kind in
// exchange slot 1 and the file in the data-file setting; the handler takes over or reads
// the data set, fixes its size, frequency and start, and writes its shape back into the
// exchange slots. A data set that cannot be read leaves the engine's data set as it was.
#pragma once

#include <string_view>

namespace qorv::data {

/// The data-input kinds (slot 1, or the choice in the Data Input Menu).
enum DataInputKind : int {
  kInputExit = 0,       ///< leave: status -1
  kInputKeyboard = 1,   ///< the size and start here; the values are typed in the main program
  kInputAscii = 2,      ///< the size and start here, then the numbers of a .DAT/.ASC file
  kInputZvd = 3,        ///< a ZVD file the main program read and registered
  kInputCombine = 4,    ///< two ZVD files: not done here (the Add road does it)
  kInputWorksheet = 5,  ///< an old spreadsheet worksheet: no reader
  kInputText = 6,       ///< .CSV, .TXT, .PRN
  kInputTsd = 7,        ///< AREMOS .TSD
};

/// Result words of `DATAINPUTMENU`.
inline constexpr int kInputFailed = -1;      ///< failure or cancel
inline constexpr int kInputNoVariables = 2;  ///< a data set of 0 variables was defined

/// Who asks for the data set.
enum class DataInputRoad {
  kRequest,  ///< request 1 of the main program, which always names the kind
  kNewData,  ///< the Data Processing Menu's "Start with a new data set": the menu asks
};

/// Texts the user sees.
namespace input_messages {
inline constexpr std::string_view kNoKind =
    " Internal error: no data input was named. Please report to the Zelvorin developers what "
    "you did just before this message.";
inline constexpr std::string_view kVariablesPrompt = " How many variables (Maximum ";
inline constexpr std::string_view kVariablesPromptEnd = "Can be zero)?";
inline constexpr std::string_view kNoCombine =
    " Two special Zelvorin files cannot be combined here. Read the first file, then add the "
    "second with the Data Processing Menu.";
inline constexpr std::string_view kNoWorksheet =
    " Excel version 4 worksheets cannot be read. Save the worksheet as a CSV file and read "
    "that file instead.";
}  // namespace input_messages

/// Handles request 1. `status` in: the request word; out: -1 on failure or cancel, 2 for
/// a keyboard or ASCII data set of no variables, else as it came in. The kind is slot 1
/// (used once); when it is unset the Data Input Menu (1010, option 3 preselected) asks,
/// after an internal-error notice on the request road. On success the data set replaces
/// the engine's (size, frequency, start, MAXVARS; names and descriptions as the main
/// program registered them or as the file gives them) and, for ASCII, delimited-text and
/// TSD files, slots 4, 8, 7, 12, 13 and 14 receive its shape. Channel 8 is closed on
/// every way out.
void DATAINPUTMENU(int& status, DataInputRoad road = DataInputRoad::kRequest);

/// The advice on the layout of delimited text files: one box of 12 lines.
void CSVINPUTHELP();

}  // namespace qorv::data
