// Opening a file for reading, the one way every reader does it. Only a regular file (or a
// link to one) is opened: a folder, FIFO, socket or device is refused before a byte is read,
// and a FIFO is opened without waiting for a writer, so nothing hangs. What is read is
// bounded by `kMaxFileBytes`. Nothing here throws. A file the user names for writing is
// checked here too, so no writer waits on a FIFO, writes into a device or opens a folder.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace file_reading {

/// The most bytes a reader takes from one file: far above the largest data file the
/// workspace can hold (124000 values) and any settings, batch, model or plot file.
inline constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;

enum class Failure {
  kNone,
  kCannotOpen,  ///< missing, a dangling link, no permission, ...
  kNotRegular,  ///< a folder, FIFO, socket or device, or a link to one
  kTooLarge,    ///< more than `kMaxFileBytes` (or the limit given)
  kCannotRead,  ///< a read error after the file was opened
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

/// A stream open for reading on a regular file, or why there is none.
struct Opened {
  FileHandle file;                   ///< null unless `failure` is kNone
  Failure failure = Failure::kNone;  ///< why the file was refused
  std::string system_message;        ///< the system's reason, or ours for kNotRegular/kTooLarge
};

/// Opens `path` for reading in binary mode. Refuses anything but a regular file of at
/// most `limit` bytes.
Opened open(const std::filesystem::path& path, std::size_t limit = kMaxFileBytes);

/// A whole file, or why it could not be read.
struct Contents {
  std::string bytes;                 ///< the file's bytes; empty unless `failure` is kNone
  Failure failure = Failure::kNone;  ///< why nothing was read
  std::string system_message;        ///< the system's reason, or ours for kNotRegular/kTooLarge
};

/// Reads the whole of `path` as `open` opens it; a file that grows past `limit` while it is
/// read is refused as kTooLarge.
Contents read_all(const std::filesystem::path& path, std::size_t limit = kMaxFileBytes);

/// True when `path` is a regular file (or a link to one) that `open` would accept now.
bool is_readable_file(const std::filesystem::path& path);

/// Whether a file may be written at `path`: kNone when nothing stands there yet (a
/// dangling link included) or when a regular file (or a link to one) does; kNotRegular when
/// a folder, FIFO, socket or device (or a link to one) does. It only looks at the path and
/// never opens it. A path it cannot look at is kNone: the write itself then fails and says why.
Failure writable_target(const std::filesystem::path& path);

/// A refusal in words: "Not a regular file", "File too large: more than 64 MB"; for the
/// system's failures (kCannotOpen, kCannotRead) "The file could not be read", the
/// system's own reason being in `system_message`.
std::string describe(Failure failure, std::size_t limit = kMaxFileBytes);

}  // namespace file_reading
