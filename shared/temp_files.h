// Names of every temporary file the three deliverables share, and the resolver of the
// temporary folder they live in.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace temp_files {

inline constexpr std::string_view kResultsPage = "J$.OOO";   ///< the results page being shown
inline constexpr std::string_view kModelPage = "J$.MMM";     ///< the model page of the results
inline constexpr std::string_view kEditorPanel = "J$.TTT";   ///< the editor's panel text
inline constexpr std::string_view kEquationBox = "E$.TTT";   ///< the estimation window's boxes
inline constexpr std::string_view kRecursiveScratch = "J$.JNK";
inline constexpr std::string_view kHostPlotData = "plotdata.$$$";
inline constexpr std::string_view kMessageFile = "ERROR4.ZQT";  ///< in the program folder

/// "plot" + plain decimal number + ".$$$": plot 9 is "plot9.$$$".
std::string plot_file_name(unsigned number);

/// The name a graph window gives the host's "plotdata.$$$" when it takes the file over:
/// "pld" + `number` as four hexadecimal digits + ".$$$" ("pld001F.$$$").
std::string host_plot_copy_name(unsigned number);

/// The text shown when the configured folder cannot be used.
inline constexpr std::string_view kUnusableFolderMessage =
    "Unable to find directory specified for temporary files - Zelvorin will use the TEMP "
    "directory.";

struct TempFolder {
  std::filesystem::path folder;     ///< the folder to use
  bool configured_unusable = false; ///< a folder was configured but cannot be written
};

/// The folder for temporary files: `configured` (the ini key Directories/TempDir) when it
/// is set and writable, else a private per-user folder (mode 0700) under the system's
/// temporary directory, created if needed.
TempFolder resolve_temp_folder(std::string_view configured);

/// True when `folder` exists and a file can be created in it.
bool folder_is_writable(const std::filesystem::path& folder);

/// `folder` as text with "/" separators and one trailing "/".
std::string folder_text(const std::filesystem::path& folder);

/// A private subfolder of `base` for this process ("run-" + process id), created now.
/// Empty on failure.
std::filesystem::path make_process_folder(const std::filesystem::path& base);

}  // namespace temp_files

namespace temp_files {

/// The environment variable through which the process's temporary folder is published to
/// every library loaded in it (the engine and the dialog library each link their own copy
/// of this module, so a variable of the process is the one place they share).
inline constexpr const char* kSessionFolderVariable = "ZELVORIN_TEMP_FOLDER";

/// Publishes `folder` as the temporary folder of this process.
void publish_session_folder(const std::filesystem::path& folder);

/// The temporary folder of this process: the published one; else the folder
/// `resolve_temp_folder(configured)` gives, or its "run-" + process id subfolder when that
/// exists.
std::filesystem::path session_folder(std::string_view configured);

}  // namespace temp_files
