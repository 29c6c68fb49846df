// Saving a file without ever losing the old one: the new bytes go to a temporary file in
// the target's folder, which is closed and renamed over the target. A file the user keeps
// is flushed to the disk before the rename; a scratch file of the session is not.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace atomic_file {

enum class Failure {
  kNone,
  kCreate,  ///< the temporary file could not be created (folder missing or read-only)
  kWrite,   ///< writing, flushing or closing failed (disk full)
  kRename,  ///< the finished file could not replace the target
};

struct Outcome {
  Failure failure = Failure::kNone;  ///< kNone when the target holds the new bytes
  std::string system_message;        ///< the system's reason for a failure
};

/// How long the new file has to last.
enum class Durability {
  kDurable,  ///< a file the user keeps: on the disk before it replaces the old one
  kScratch,  ///< a file of the session's temporary folder: readers never see it half
             ///< written, but it need not survive a crash of the machine
};

/// Replaces the file at `path` with `bytes`. On any failure the temporary file is removed
/// and the old target, if any, is left as it was. A new file gets mode 0666 less the
/// umask; an existing target keeps its permission bits.
Outcome replace(const std::filesystem::path& path, std::string_view bytes,
                Durability durability = Durability::kDurable);

}  // namespace atomic_file
