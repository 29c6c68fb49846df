#include "engine/data/value_listing.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/number_format.h"
#include "engine/core/obs_label.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/results_page.h"
#include "engine/core/workspace.h"

namespace qorv::data {

namespace {

constexpr int kPage = core::channel::kResultsPage;
constexpr int kFirstValueColumn = 11;  // the first 9-column value field
constexpr int kFieldStep = 10;         // a blank and the field

}  // namespace

CommandStatus LISTVALUES(std::span<const int> variables, int first, int last) {
  if (!valid_command_arguments(variables, first, last)) return kCommandBadArguments;
  const CalculatingNotice busy;
  core::SHOWRESULTS(core::kOpenPage);
  const int count = static_cast<int>(variables.size());
  for (int b0 = 0; b0 < count; b0 += kColumnsPerBlock) {
    const int b1 = std::min(count, b0 + kColumnsPerBlock);
    if (b0 > 0) core::WRITELINE("", kPage);
    std::vector<std::string> names;
    for (int j = b0; j < b1; ++j) names.push_back(core::variable_name(variables[static_cast<std::size_t>(j)]));
    core::WRITETABLEROW(" OBS.", kFirstValueColumn - 5, names, b1 - b0, kColumnsPerBlock, 9, 1, kPage);
    for (int t = first; t <= last; ++t) {
      std::string line = blank_report_line();
      place(line, 2, core::OBSLABEL(t));
      for (int j = b0; j < b1; ++j)
        place(line, kFirstValueColumn + kFieldStep * (j - b0),
              core::FORMATREAL9(core::data_at(t, variables[static_cast<std::size_t>(j)])));
      core::WRITELINE(line, kPage);
    }
  }
  core::SHOWRESULTS(core::kShowPage);
  return kCommandDone;
}

}  // namespace qorv::data
