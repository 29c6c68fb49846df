#include "engine/core/sample_period.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "shared/qorv_api.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv;
using core::GETSAMPLE;

class SamplePeriod : public qorv::testing::EngineTest {
 protected:
  void data_set(int frequency, int nobs, int start_year, int start_period, int century) {
    auto& g = core::globals();
    g.frequency = frequency;
    g.nobs = nobs;
    g.start_year = start_year;
    g.start_period = start_period;
    g.century_base = century;
  }
};

TEST_F(SamplePeriod, Texts) {
  const struct {
    int frequency, nobs, year, period, century;
    const char* text;
    bool ok;
    int start, end;
  } cases[] = {
      {1, 20, 1, 1, 0, "5 10", true, 5, 10},
      {2, 30, 1960, 1, 0, "1964 1970", true, 5, 11},
      {4, 60, 60, 1, 1900, "1961Q1 1970Q4", true, 5, 44},
      {4, 60, 60, 1, 1900, "  61q1   70q4  ", true, 5, 44},
      {5, 200, 75, 1, 1900, "1975M10 1985M12", true, 10, 132},
      {3, 40, 74, 2, 1900, "1975H1 1975H1", true, 2, 2},
      {4, 60, 60, 1, 1900, "", true, 1, 60},          // blank: the whole range
      {1, 20, 1, 1, 0, "0 10", false, 0, 0},          // outside the data
      {1, 20, 1, 1, 0, "5 21", false, 0, 0},
      {2, 30, 1960, 1, 0, "1959 1970", false, 0, 0},
      {2, 30, 1960, 1, 0, "1970 1964", false, 0, 0},  // start after end
      {4, 60, 60, 1, 1900, "1961Q1", false, 0, 0},    // one label only
      {4, 60, 60, 1, 1900, "1961Q1 1962Q1 1963Q1", false, 0, 0},
      {4, 60, 60, 1, 1900, "1961 1962", false, 0, 0}, // not a quarterly label
      {4, 60, 60, 1, 1900, "1961Q1-1962Q1", false, 0, 0},
  };
  for (const auto& c : cases) {
    data_set(c.frequency, c.nobs, c.year, c.period, c.century);
    const auto pair = core::read_sample(c.text, 1, c.nobs, core::current_data_start());
    ASSERT_EQ(pair.has_value(), c.ok) << c.text;
    if (!pair) continue;
    EXPECT_EQ(pair->start, c.start) << c.text;
    EXPECT_EQ(pair->end, c.end) << c.text;
  }
}

TEST_F(SamplePeriod, RegisteredTextCrossesTheExchangeWhole) {
  data_set(5, 200, 75, 1, 1900);
  const std::string sent = "1975M10 1985M12";
  const int16_t len = static_cast<int16_t>(sent.size());
  const int16_t code = 2;
  REGISTERCHAR(sent.c_str(), &len, &code);
  std::string text(core::char_setting(2));
  int start = 0, end = 0;
  EXPECT_FALSE(GETSAMPLE(1, 200, start, end, core::kSampleTextOnly, text));
  EXPECT_EQ(start, 10);
  EXPECT_EQ(end, 132);  // not 121, as "1985M1" would give
  EXPECT_TRUE(dialog_script::transcript().empty());
}

TEST_F(SamplePeriod, EveryRefusalBeepsAndAsksAgain) {
  data_set(4, 60, 60, 1, 1900);
  dialog_script::load(R"(strict
string "estimation period" -> "1970Q4 1961Q1"
string "estimation period" -> "1959Q4 1961Q1"
string "estimation period" -> "1961Q1 1970Q4 1971Q1"
string "estimation period" -> "1961Q1 1970Q4"
)");
  std::string text = "1960Q1 1974Q4";
  int start = 0, end = 0;
  EXPECT_FALSE(GETSAMPLE(1, 60, start, end, core::kEstimationPeriod, text));
  EXPECT_EQ(start, 5);
  EXPECT_EQ(end, 44);
  EXPECT_EQ(text, "1961Q1 1970Q4");
  const std::string prompt =
      "Type the start and finish of your estimation period, then press ENTER:\n"
      "(Minimum 1960Q1 Maximum 1974Q4)>\n Press Ok to choose all available observations.";
  const std::vector<std::string> expected = {
      "string 0 " + prompt + " -> \"1970Q4 1961Q1\"", "beep",
      "string 0 " + prompt + " -> \"1959Q4 1961Q1\"", "beep",
      "string 0 " + prompt + " -> \"1961Q1 1970Q4 1971Q1\"", "beep",
      "string 0 " + prompt + " -> \"1961Q1 1970Q4\""};
  EXPECT_EQ(dialog_script::transcript(), expected);
}

TEST_F(SamplePeriod, OtherModesEndWithTheErrorFlag) {
  data_set(2, 30, 1960, 1, 0);
  dialog_script::load(R"(
string "to be plotted" -> "1970 1964"
string "to be saved" -> cancel
)");
  int start = 3, end = 4;
  std::string text = "1961 1962";
  EXPECT_TRUE(GETSAMPLE(1, 30, start, end, core::kPlottedFits, text));
  EXPECT_TRUE(GETSAMPLE(1, 30, start, end, core::kSavedObservations, text));  // cancelled
  text = "1961 2000";
  EXPECT_TRUE(GETSAMPLE(1, 30, start, end, core::kSampleTextOnly, text));
  EXPECT_EQ(start, 3);
  EXPECT_EQ(end, 4);
  const std::vector<std::string> expected = {
      "string 0 Type the start and finish of fitted values and/or forecasts to be plotted:\n"
      "(Minimum 1960 Maximum 1989)>\n Press Ok to choose all available observations. -> \"1970 1964\"",
      "beep",
      "string 0 Type the start and finish of the observations to be saved, then press ENTER:\n"
      "(Minimum 1960 Maximum 1989)>\n Press Ok to choose all available observations. -> cancel",
      "beep"};
  EXPECT_EQ(dialog_script::transcript(), expected);
}

}  // namespace
