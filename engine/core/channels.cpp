#include "engine/core/channels.h"

#include <cstdio>
#include <map>
#include <memory>
#include <system_error>
#include <utility>

#include "engine/core/engine_state.h"
#include "shared/atomic_file.h"
#include "shared/file_reading.h"
#include "shared/temp_files.h"

namespace qorv::core {

namespace {

using file_reading::FileHandle;

struct Channel {
  FileHandle file;              ///< the open stream
  std::filesystem::path path;   ///< the file it is open on
  bool for_reading = false;     ///< opened kOld; the others write
  bool at_start = true;         ///< no record read yet (the byte-order mark check)
  bool safe = false;            ///< a safe mode: records collect in `pending`
  std::size_t bytes_read = 0;   ///< bytes taken so far, bounded by file_reading::kMaxFileBytes
  std::string pending;          ///< the new file's bytes, written on a clean close
};

struct ChannelTable {
  std::map<int, Channel> open;  ///< open channels by number
};

ChannelTable& table() {
  static ChannelTable t;
  return t;
}

const ResetRegistration kReset{close_all_channels};

const char* fopen_mode(OpenMode mode) {
  switch (mode) {
    case OpenMode::kOld: return "rb";
    case OpenMode::kNew: return "wbx";
    case OpenMode::kReplace: return "wb";
    case OpenMode::kAppend: return "ab";
    case OpenMode::kReplaceSafely:
    case OpenMode::kAppendSafely: break;
  }
  return "rb";
}

Channel* find(int unit) {
  auto it = table().open.find(unit);
  return it == table().open.end() ? nullptr : &it->second;
}

/// Opens `unit` for a safe mode: nothing touches the disk before the close.
bool open_safely(int unit, const std::filesystem::path& path, OpenMode mode) {
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code ec;
  if (!temp_files::folder_is_writable(folder)) return false;
  Channel c;
  c.path = path;
  c.safe = true;
  if (mode == OpenMode::kAppendSafely && std::filesystem::exists(path, ec)) {
    FileHandle old = file_reading::open(path).file;
    if (!old) return false;
    char buf[8192];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, old.get())) > 0) c.pending.append(buf, n);
    if (std::ferror(old.get())) return false;
  }
  table().open[unit] = std::move(c);
  return true;
}

}  // namespace

bool open_channel(int unit, const std::filesystem::path& path, OpenMode mode) {
  close_channel(unit);
  // A folder, FIFO or device behind the name is never written to (nor waited on).
  if (mode != OpenMode::kOld && file_reading::writable_target(path) != file_reading::Failure::kNone) return false;
  if (mode == OpenMode::kReplaceSafely || mode == OpenMode::kAppendSafely) return open_safely(unit, path, mode);
  FileHandle file = mode == OpenMode::kOld ? file_reading::open(path).file
                                            : FileHandle{std::fopen(path.c_str(), fopen_mode(mode))};
  if (!file) return false;
  Channel c;
  c.file = std::move(file);
  c.path = path;
  c.for_reading = mode == OpenMode::kOld;
  table().open[unit] = std::move(c);
  return true;
}

bool close_channel(int unit, CloseMode mode) {
  auto it = table().open.find(unit);
  if (it == table().open.end()) return true;
  Channel c = std::move(it->second);
  table().open.erase(it);
  if (c.safe) {
    return mode == CloseMode::kDelete || atomic_file::replace(c.path, c.pending).failure == atomic_file::Failure::kNone;
  }
  c.file.reset();  // closes the stream
  if (mode == CloseMode::kDelete) {
    std::error_code ec;
    std::filesystem::remove(c.path, ec);
  }
  return true;
}

bool channel_is_open(int unit) { return find(unit) != nullptr; }

std::filesystem::path channel_path(int unit) {
  const Channel* c = find(unit);
  return c ? c->path : std::filesystem::path{};
}

bool write_record(int unit, std::string_view record) {
  Channel* c = find(unit);
  if (c == nullptr || c->for_reading) return false;
  if (c->safe) {
    c->pending.append(record);
    c->pending.push_back('\n');
    return true;
  }
  std::FILE* f = c->file.get();
  if (!record.empty() && std::fwrite(record.data(), 1, record.size(), f) != record.size()) {
    return false;
  }
  return std::fputc('\n', f) != EOF;
}

ReadStatus read_record(int unit, std::string& record) {
  Channel* c = find(unit);
  if (c == nullptr || !c->for_reading) return ReadStatus::kError;
  std::FILE* f = c->file.get();
  record.clear();
  int ch = std::getc(f);
  if (ch == EOF) return std::ferror(f) ? ReadStatus::kError : ReadStatus::kEnd;
  while (ch != EOF && ch != '\n') {
    // A file that grows past the bound while it is read fails, as a longer one is refused at open.
    if (c->bytes_read + record.size() >= file_reading::kMaxFileBytes) return ReadStatus::kError;
    record.push_back(static_cast<char>(ch));
    ch = std::getc(f);
  }
  c->bytes_read += record.size() + 1;
  if (std::ferror(f)) return ReadStatus::kError;
  if (!record.empty() && record.back() == '\r') record.pop_back();
  if (c->at_start) {
    c->at_start = false;
    if (record.starts_with("\xEF\xBB\xBF")) record.erase(0, 3);
  }
  return ReadStatus::kOk;
}

void close_all_channels() { table().open.clear(); }

}  // namespace qorv::core
