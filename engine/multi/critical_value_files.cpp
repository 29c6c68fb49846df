#include "engine/multi/critical_value_files.h"

#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/engine_state.h"
#include "engine/core/list_directed.h"
#include "engine/core/workspace.h"
#include "engine/data/support_files.h"
#include "shared/exchange_slots.h"

namespace qorv::multi {

namespace {

/// Values read completely, by program folder, file and system size: the support files do
/// not change while the program runs, and every rank-test page needs two of them.
struct KnownValues {
  std::string folder;
  std::string file;
  int m = 0;
  CriticalValues values;
};

std::vector<KnownValues>& known() {
  static std::vector<KnownValues> k;
  return k;
}

const core::ResetRegistration kReset{[] { known().clear(); }};

/// Reads `file` into `out` as `read_critical_values` says; true when every value was read.
bool read_file(const std::string& file, int m, CriticalValues& out) {
  if (!data::OPENSUPPORTFILE(file, core::channel::kSupport)) return false;
  std::string skipped;
  bool readable = true;
  for (int i = 0; i < kCriticalValueRows - m && readable; ++i)
    readable = core::read_record(core::channel::kSupport, skipped) == core::ReadStatus::kOk;
  for (int k = m; k >= 1 && readable; --k) {
    double values[3] = {limits::kMissing, limits::kMissing, limits::kMissing};
    readable = core::read_numbers(core::channel::kSupport, values).status == core::ListStatus::kOk;
    if (!readable) break;
    out.cv90[static_cast<std::size_t>(k - 1)] = values[1];
    out.cv95[static_cast<std::size_t>(k - 1)] = values[2];
  }
  core::close_channel(core::channel::kSupport);
  return readable;
}

}  // namespace

std::string critical_value_file(int e, int model_case, RankStatistic statistic) {
  return "CR" + std::to_string(e) + (statistic == RankStatistic::kTrace ? "TR" : "MX") + std::to_string(model_case) +
         ".ASC";
}

CriticalValues read_critical_values(int e, int model_case, RankStatistic statistic, int m) {
  CriticalValues out;
  out.cv90.fill(limits::kMissing);
  out.cv95.fill(limits::kMissing);
  if (m < 1 || m > kCriticalValueRows) return out;
  const std::string folder(core::char_setting(charset::kProgramFolder));
  const std::string file = critical_value_file(e, model_case, statistic);
  for (const KnownValues& k : known())
    if (k.m == m && k.file == file && k.folder == folder) return k.values;
  if (read_file(file, m, out)) known().push_back({folder, file, m, out});
  return out;
}

}  // namespace qorv::multi
