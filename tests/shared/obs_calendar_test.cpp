#include "shared/obs_calendar.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using obs_calendar::DataStart;
using obs_calendar::LabelDate;
using obs_calendar::observation_of;
using obs_calendar::PARSEOBSLABEL;

struct LabelCase {
  const char* label;
  int frequency;
  bool ok;
  int century, year, period;
};

const LabelCase kLabels[] = {
    {"1990Q4", 4, true, 1900, 90, 4},
    {"90q4", 4, true, 1900, 90, 4},
    {"2003Q1", 4, true, 2000, 3, 1},
    {"1990Q5", 4, false, 0, 0, 0},
    {"00Q1", 4, false, 0, 0, 0},     // a two-digit year may not be 00
    {"90Q04", 4, false, 0, 0, 0},    // quarterly labels have 4 or 6 characters
    {"1990M12", 5, true, 1900, 90, 12},
    {"75m2", 5, true, 1900, 75, 2},
    {"1990M13", 5, false, 0, 0, 0},
    {"1990M0", 5, false, 0, 0, 0},
    {"1850H2", 3, true, 1800, 50, 2},
    {"74H3", 3, false, 0, 0, 0},
    {"1990Q4", 5, false, 0, 0, 0},   // wrong letter for the frequency
    {"199Q4", 4, false, 0, 0, 0},    // the letter must stand third or fifth
    {"19X0Q4", 4, false, 0, 0, 0},
    {"1964", 2, true, 0, 1964, 0},
    {"5", 1, true, 0, 5, 0},
    {"0", 1, false, 0, 0, 0},
    {"12345", 1, false, 0, 0, 0},
    {"1E3", 2, false, 0, 0, 0},
    {"", 4, false, 0, 0, 0},
    {"1990Q4", 6, false, 0, 0, 0},   // unknown frequency
};

TEST(ObsLabels, Table) {
  for (const auto& c : kLabels) {
    const auto d = PARSEOBSLABEL(c.label, c.frequency);
    ASSERT_EQ(d.has_value(), c.ok) << c.label << " at frequency " << c.frequency;
    if (!d) continue;
    EXPECT_EQ(d->century, c.century) << c.label;
    EXPECT_EQ(d->year, c.year) << c.label;
    EXPECT_EQ(d->period, c.period) << c.label;
  }
}

TEST(ObsLabels, ObservationNumbersPerFrequency) {
  const DataStart undated = obs_calendar::start_from_fields(1, 1, 0, 0);
  EXPECT_EQ(observation_of("5", undated), std::optional<long>(5));
  EXPECT_EQ(observation_of("10", undated), std::optional<long>(10));
  const DataStart annual = obs_calendar::start_from_fields(2, 1960, 0, 0);
  EXPECT_EQ(observation_of("1964", annual), std::optional<long>(5));
  EXPECT_EQ(observation_of("1970", annual), std::optional<long>(11));
  const DataStart quarterly = obs_calendar::start_from_fields(4, 60, 1, 1900);
  EXPECT_EQ(observation_of("1961Q1", quarterly), std::optional<long>(5));
  EXPECT_EQ(observation_of("1970Q4", quarterly), std::optional<long>(44));
  EXPECT_EQ(observation_of("59Q4", quarterly), std::optional<long>(0));
  const DataStart monthly = obs_calendar::start_from_fields(5, 75, 1, 1900);
  EXPECT_EQ(observation_of("1975M10", monthly), std::optional<long>(10));
  EXPECT_EQ(observation_of("1985M12", monthly), std::optional<long>(132));
  // Data starting in 1998Q3 run across the century.
  const DataStart across = obs_calendar::start_from_fields(4, 98, 3, 1900);
  EXPECT_EQ(observation_of("2000Q1", across), std::optional<long>(7));
}

TEST(ObsLabels, StartConventionAndItsInverse) {
  // File fields: period 0 for undated and annual data, century 0 read as 1900 above 2.
  const DataStart q = obs_calendar::start_from_fields(4, 98, 0, 0);
  EXPECT_EQ(q.start_period, 1);
  EXPECT_EQ(q.century_base, 1900);
  const DataStart a = obs_calendar::start_from_fields(2, 1985, 0, 0);
  EXPECT_EQ(obs_calendar::file_start_period(a), 0);
  EXPECT_EQ(a.start_period, 1);
  const DataStart u = obs_calendar::start_from_fields(1, 7, 3, 1900);
  EXPECT_EQ(u.start_year, 1);
  EXPECT_EQ(u.century_base, 0);

  const DataStart m = obs_calendar::start_from_fields(5, 75, 10, 1900);
  const LabelDate d = obs_calendar::date_of(28, m);  // 1975M10 + 27 months = 1978M1
  EXPECT_EQ(d.century, 1900);
  EXPECT_EQ(d.year, 78);
  EXPECT_EQ(d.period, 1);
  const DataStart across = obs_calendar::start_from_fields(4, 98, 3, 1900);
  EXPECT_EQ(obs_calendar::sample_text(1, 7, across), "1998Q3 2000Q1");
  EXPECT_EQ(obs_calendar::sample_text(1, 20, obs_calendar::start_from_fields(1, 1, 1, 0)), "1 20");
  EXPECT_EQ(obs_calendar::sample_text(5, 11, obs_calendar::start_from_fields(2, 1960, 1, 0)),
            "1964 1970");
}

}  // namespace
