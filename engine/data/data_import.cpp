#include "engine/data/data_import.h"

#include <new>
#include <string>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/data/data_set.h"
#include "engine/data/text_import.h"
#include "engine/data/text_records.h"
#include "engine/data/tsd_import.h"

namespace qorv::data {

namespace {

/// Closes `unit` when it goes out of scope.
struct ChannelCloser {
  int unit;  ///< the channel to close
  ~ChannelCloser() { core::close_channel(unit); }
};

/// Shows the outcome and, on success, installs the data set.
bool finish(const ImportResult& result) {
  if (result.ok) install_data_set(result.data);
  core::SHOWOK(result.message.kind, core::kNoHelp, result.message.text);
  return result.ok;
}

template <typename Reader>
bool import_file(int unit, std::string_view unreadable, Reader read) {
  const ChannelCloser closer{unit};
  try {
    const auto records = read_all_records(unit);
    if (!records) {
      core::SHOWOK(core::kInformation, core::kNoHelp, unreadable);
      return false;
    }
    return finish(read(*records));
  } catch (const std::bad_alloc&) {
    core::DISKSPACEMESSAGE();
    return false;
  }
}

}  // namespace

bool IMPORTTEXTFILE(int unit) {
  if (!core::ASKYESNO(core::kNoHelp, text_messages::kLongTime)) {
    core::close_channel(unit);
    return false;
  }
  return import_file(unit, text_messages::kErrorReading,
                     [](const std::vector<std::string>& records) {
                       return read_delimited_text(records);
                     });
}

bool IMPORTTSDFILE(int unit) {
  const std::string file_name = core::channel_path(unit).filename().string();
  return import_file(unit, tsd_messages::kReadError,
                     [&file_name](const std::vector<std::string>& records) {
                       return read_tsd(records, file_name);
                     });
}

}  // namespace qorv::data
