#include "shared/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace atomic_file {

namespace {

Outcome fail(Failure failure, int error) { return {failure, std::strerror(error)}; }

}  // namespace

Outcome replace(const std::filesystem::path& path, std::string_view bytes, Durability durability) {
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return fail(Failure::kCreate, errno);

  // mkstemp creates 0600: give the new file the target's bits, or the usual ones.
  struct stat st {};
  mode_t mode;
  if (::stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd, mode);

  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = n < 0 ? errno : ENOSPC;
      ::close(fd);
      ::unlink(pattern.c_str());
      return fail(Failure::kWrite, error);
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  const int sync_error = durability == Durability::kScratch || ::fsync(fd) == 0 ? 0 : errno;
  const int close_error = ::close(fd) == 0 ? 0 : errno;
  if (sync_error != 0 || close_error != 0) {
    ::unlink(pattern.c_str());
    return fail(Failure::kWrite, sync_error != 0 ? sync_error : close_error);
  }
  if (std::rename(pattern.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(pattern.c_str());
    return fail(Failure::kRename, error);
  }
  return {};
}

}  // namespace atomic_file
