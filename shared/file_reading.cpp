#include "shared/file_reading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

namespace file_reading {

namespace {

Opened refused(Failure failure, std::string message) {
  Opened out;
  out.failure = failure;
  out.system_message = std::move(message);
  return out;
}

}  // namespace

Opened open(const std::filesystem::path& path, std::size_t limit) {
  // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer; it is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return refused(Failure::kCannotOpen, std::strerror(errno));
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    ::close(fd);
    return refused(Failure::kCannotOpen, std::strerror(error));
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    return refused(Failure::kNotRegular, describe(Failure::kNotRegular, limit));
  }
  if (info.st_size < 0 || static_cast<unsigned long long>(info.st_size) > limit) {
    ::close(fd);
    return refused(Failure::kTooLarge, describe(Failure::kTooLarge, limit));
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* stream = ::fdopen(fd, "rb");
  if (stream == nullptr) {
    const int error = errno;
    ::close(fd);
    return refused(Failure::kCannotOpen, std::strerror(error));
  }
  Opened out;
  out.file.reset(stream);
  return out;
}

Contents read_all(const std::filesystem::path& path, std::size_t limit) {
  Contents out;
  Opened opened = open(path, limit);
  if (opened.failure != Failure::kNone) {
    out.failure = opened.failure;
    out.system_message = std::move(opened.system_message);
    return out;
  }
  std::FILE* f = opened.file.get();
  try {
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
      if (out.bytes.size() + n > limit) {
        out = {};
        out.failure = Failure::kTooLarge;
        out.system_message = describe(Failure::kTooLarge, limit);
        return out;
      }
      out.bytes.append(buffer, n);
    }
  } catch (const std::bad_alloc&) {
    out = {};
    out.failure = Failure::kCannotRead;
    out.system_message = std::strerror(ENOMEM);
    return out;
  }
  if (std::ferror(f)) {
    const int error = errno;
    out = {};
    out.failure = Failure::kCannotRead;
    out.system_message = std::strerror(error);
  }
  return out;
}

bool is_readable_file(const std::filesystem::path& path) { return open(path).failure == Failure::kNone; }

Failure writable_target(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return Failure::kNone;
  return S_ISREG(info.st_mode) ? Failure::kNone : Failure::kNotRegular;
}

std::string describe(Failure failure, std::size_t limit) {
  switch (failure) {
    case Failure::kNone: return {};
    case Failure::kCannotOpen:
    case Failure::kCannotRead: return "The file could not be read";
    case Failure::kNotRegular: return "Not a regular file";
    case Failure::kTooLarge:
      if (limit >= (std::size_t{1} << 20)) return "File too large: more than " + std::to_string(limit >> 20) + " MB";
      return "File too large: more than " + std::to_string(limit) + " bytes";
  }
  return {};
}

}  // namespace file_reading
