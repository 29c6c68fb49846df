#include "engine/core/obs_label.h"

#include <algorithm>

#include "engine/core/number_format.h"
#include "engine/core/workspace.h"
#include "shared/fixed_text.h"
#include "shared/obs_calendar.h"

namespace qorv::core {

std::string plain_label(std::string label) {
  std::replace(label.begin(), label.end(), '#', ' ');
  return std::string(fixed_text::trim(label));
}

std::string OBSLABEL(int t) {
  const Globals& g = globals();
  return OBSLABEL(t, obs_calendar::start_from_fields(g.frequency, g.start_year, g.start_period, g.century_base));
}

std::string OBSLABEL(int t, const obs_calendar::DataStart& start) {
  const char letter = obs_calendar::period_letter(start.frequency);
  if (start.frequency != obs_calendar::kAnnual && letter == '\0') {
    return fixed_text::pad(FORMATFIXED(t, 4, 0), kObsLabelWidth);  // undated
  }
  const obs_calendar::LabelDate date = obs_calendar::date_of(t, start);
  std::string label = FORMATFIXED(date.century + date.year, 4, 0);
  if (letter != '\0') {
    label += letter;
    label += FORMATFIXED(date.period, date.period > 9 ? 2 : 1, 0);
    if (letter == 'M' && date.period <= 9) label += '#';
  }
  return fixed_text::pad(label, kObsLabelWidth);
}

}  // namespace qorv::core
