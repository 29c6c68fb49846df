// Date tokens of the first column of data files.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/data/calendar.h"
#include "engine/data/date_token.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const qorv::data::DateToken d = qorv::data::PARSEDATE(text);
  if (d.kind < 0 || d.kind > 5) std::abort();
  if (d.kind >= 3 && (d.period < 1 || d.period > d.frequency)) std::abort();
  if (d.is_day_date()) {
    if (d.period < 1 || d.period > 12 || d.year < 0 || d.year > 99) std::abort();
    if (d.day != 0 && !qorv::data::is_calendar_day(d.day, d.period, d.century + d.year))
      std::abort();
    const int number = qorv::data::day_number(d.day, d.period, d.century + d.year);
    if (number != 0 && (number < qorv::data::kFirstDayNumber ||
                        number > qorv::data::kLastDayNumber))
      std::abort();
  }
  // A separated date becomes six or eight digits, or stays as it was.
  const std::string digits = qorv::data::DATETODIGITS(text);
  if (digits != text && digits.size() != 6 && digits.size() != 8) std::abort();
  return 0;
}
