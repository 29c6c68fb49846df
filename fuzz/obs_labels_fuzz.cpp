// Observation labels, names and digit strings typed by a user.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shared/digit_text.h"
#include "shared/names.h"
#include "shared/obs_calendar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (int frequency = 0; frequency <= 6; ++frequency) {
    const auto date = obs_calendar::PARSEOBSLABEL(text, frequency);
    if (!date) continue;
    const int n = obs_calendar::periods_per_year(frequency);
    if (n == 0 || date->year < 0 || (frequency > 2 && (date->period < 1 || date->period > n)))
      std::abort();
    // A label read back from its observation number names the same date.
    const auto start = obs_calendar::start_from_fields(frequency, frequency == 2 ? 1960 : 60, 2, 1900);
    const long obs = obs_calendar::label_observation(*date, start);
    const auto back = obs_calendar::date_of(obs, start);
    if (back.year != date->year || back.period != date->period || back.century != date->century)
      std::abort();
  }
  if (const auto v = digit_text::DIGITSTOINT(text); v && (*v < 0 || *v > 999999999)) std::abort();
  std::string name(text);
  if (names::VALIDNAME(name) && (name.size() > 9 || names::is_reserved(name))) std::abort();
  return 0;
}
