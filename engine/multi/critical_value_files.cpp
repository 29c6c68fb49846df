#include "engine/multi/critical_value_files.h"

#include <string>

#include "engine/core/channels.h"
#include "engine/core/list_directed.h"
#include "engine/data/support_files.h"
#include "shared/exchange_slots.h"

namespace qorv::multi {

std::string critical_value_file(int e, int model_case, RankStatistic statistic) {
  return "CR" + std::to_string(e) + (statistic == RankStatistic::kTrace ? "TR" : "MX") + std::to_string(model_case) +
         ".ASC";
}

CriticalValues read_critical_values(int e, int model_case, RankStatistic statistic, int m) {
  CriticalValues out;
  out.cv90.fill(limits::kMissing);
  out.cv95.fill(limits::kMissing);
  if (m < 1 || m > kCriticalValueRows) return out;
  if (!data::OPENSUPPORTFILE(critical_value_file(e, model_case, statistic), core::channel::kSupport)) return out;
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
  return out;
}

}  // namespace qorv::multi
