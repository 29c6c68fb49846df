// The ZVD data file on the main program's side: reading into the host workspace, writing
// all or part of it, joining a second file, and handing a data set to the engine.
#pragma once

#include <QString>

#include <filesystem>
#include <optional>

#include "app/host_workspace.h"
#include "shared/zvd_file.h"

namespace zelvorin {

/// The file's data set, or the message that refuses it ("Not a valid ZVD file!", ...).
struct ZvdRead {
  std::optional<HostWorkspace> workspace;
  QString message;
};

/// Reads `path` into a new workspace; the current one is never touched.
ZvdRead ReadZvdFile(const std::filesystem::path& path);

/// Observations first..last (from 0) of every variable as a data set whose first
/// observation is `first`.
zvd::DataSet subset(const HostWorkspace& ws, int first, int last);

/// Writes observations first..last (from 0); an empty message when written, else the
/// text of the error box.
QString WriteZvdFile(const std::filesystem::path& path, const HostWorkspace& ws, int first, int last);

/// Joins `added` to `ws` as the main window's Add does; an empty message on success, else
/// the refusal, `ws` then unchanged.
QString join_data_sets(HostWorkspace& ws, const HostWorkspace& added);

/// Hands the workspace to the engine in the host's order: slots 8, 4, 7, 20, 12, 13, 14,
/// the data, each name (checked and upper-cased) and description, character setting 1 =
/// `file_name` and slot 1 = `kind`. False when a name was invalid or repeated.
bool register_data_set(const HostWorkspace& ws, const std::string& file_name, int kind);

}  // namespace zelvorin
