// Request 1 through the data input handler: each input kind with the dialogue it runs,
// the shape it leaves in the engine and the exchange slots, and its refusals.
#include "engine/data/data_input.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/temp_variables.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/obs_calendar.h"
#include "shared/qorv_api.h"
#include "tests/engine/data/old_data_set.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"
#include "tests/support/scratch_folder.h"

namespace {

using namespace qorv;
namespace fs = std::filesystem;
constexpr double M = limits::kMissing;
using qorv::testing::expect_old_data_set;

class DataInput : public qorv::testing::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    qorv::testing::install_numbered_message_file(folder_, 60);
    qorv::testing::install_old_data_set();  // the data set in the engine before the request
  }
  std::string file(const std::string& name, const std::string& text) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  static int input(data::DataInputRoad road = data::DataInputRoad::kRequest) {
    int status = 0;
    data::DATAINPUTMENU(status, road);
    return status;
  }

  /// The main program's registration of a data set read from a ZVD file.
  static void register_zvd(int nobs, int nvars, int frequency, int year, int period, int century) {
    core::set_slot(slots::kNumObservations, nobs);
    core::set_slot(slots::kNumVariables, nvars);
    core::set_slot(slots::kFrequency, frequency);
    core::set_slot(slots::kPeriodsPerYear, obs_calendar::periods_per_year(frequency));
    core::set_slot(slots::kStartYear, year);
    core::set_slot(slots::kStartPeriod, period);
    core::set_slot(slots::kCenturyBase, century);
    core::set_char_setting(charset::kDataFile, "/data/sample.zvd");
    core::set_slot(slots::kDataInputKind, data::kInputZvd);
  }

  zv_test::ScratchFolder folder_{"zv-data-input"};  ///< data files and the message file
};

TEST_F(DataInput, RegisteredZvdThroughTheDriver) {
  register_zvd(6, 2, 4, 60, 0, 0);  // quarterly from 1960Q1: period 0 and century 0 mean 1 and 1900
  core::set_variable(1, " gdp", "Gross product");
  core::set_variable(2, "Cons", "");
  for (int t = 1; t <= 12; ++t) core::work_array()[static_cast<std::size_t>(t - 1)] = t;
  const std::vector<int> old_temporary = {1};
  core::register_temporaries(old_temporary);  // left by the old data set: forgotten
  int16_t request = 1;
  DRIVER(&request);
  EXPECT_EQ(request, 0);
  const auto& g = core::globals();
  EXPECT_EQ(g.nobs, 6);
  EXPECT_EQ(g.nvars, 2);
  EXPECT_EQ(g.frequency, 4);
  EXPECT_EQ(g.periods_per_year, 4);
  EXPECT_EQ(g.start_year, 60);
  EXPECT_EQ(g.start_period, 1);
  EXPECT_EQ(g.century_base, 1900);
  EXPECT_EQ(g.max_vars, 200);
  EXPECT_EQ(core::variable_name(1), "GDP");
  EXPECT_EQ(core::variable_desc(1), "Gross product");
  EXPECT_EQ(core::variable_name(2), "CONS");
  EXPECT_EQ(core::data_at(6, 2), 12.0);
  EXPECT_EQ(core::temporaries_registered(), 0u);
  EXPECT_EQ(core::slot(slots::kSampleStart), 1);
  EXPECT_EQ(core::slot(slots::kSampleEnd), 6);
  EXPECT_EQ(core::slot(slots::kDataInputKind), slots::kUnset);
  EXPECT_TRUE(fixed_text::trim(core::char_setting(charset::kDataFile)).empty());
  EXPECT_EQ(dialog_script::transcript_text(), "busy begin Reading data, please wait...\nbusy end\n");
}

TEST_F(DataInput, RegisteredZvdRefusals) {
  const std::string box =
      "message error 0 There are invalid or duplicate names in your Zelvorin file! It cannot be read. This has "
      "arisen because you have used a converter which has incorrectly allowed invalid or duplicate names. The "
      "problem was encountered when ";
  const struct {
    int nobs, nvars;
    const char* names[3];
    const char* shown;
  } cases[] = {
      {5, 3, {"X", "Y", "x"}, "X was read!"},
      {5, 3, {"A", "", "B"}, "Blank name was read!"},
      {5, 2, {"LOG", "Y", ""}, "LOG was read!"},                      // a reserved word
      {5, 2, {"ABCDEFGHIJ", "Y", ""}, "ABCDEFGHIJ was read!"},        // ten characters
      {3101, 1, {"X", "", ""}, nullptr},                               // beyond 3100 observations
      {0, 1, {"X", "", ""}, nullptr},                                  // no observations
      {1000, 125, {"X", "", ""}, nullptr},                             // beyond 124000 values
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown ? c.shown : std::to_string(c.nobs));
    dialog_script::reset();
    register_zvd(c.nobs, c.nvars, 1, 1, 1, 0);
    for (int j = 0; j < 3; ++j) core::set_variable(j + 1, c.names[j], "");
    EXPECT_EQ(input(), data::kInputFailed);
    const auto& t = dialog_script::transcript();
    ASSERT_FALSE(t.empty());
    if (c.shown) {
      EXPECT_EQ(t.back(), box + c.shown);
    } else {
      EXPECT_EQ(t.front(), "message long");
      EXPECT_EQ(t[1], "  Line 52");
      EXPECT_EQ(t.back(), "  Line 54");
    }
    EXPECT_EQ(core::globals().nobs, 3);  // the engine's data set stands
    core::set_variable(1, "OLD", "");
  }
}

TEST_F(DataInput, KeyboardUndatedAtTheLimits) {
  // The main program presets the frequency and 3101 observations: refused, then asked.
  core::set_slot(slots::kDataInputKind, data::kInputKeyboard);
  core::set_slot(slots::kFrequency, 1);
  core::set_slot(slots::kNumObservations, 3101);
  dialog_script::load(R"S(strict
integer 1017 -> 0
integer 1017 -> 3100
integer "How many variables" -> 41
integer "How many variables" -> 40
)S");
  EXPECT_EQ(input(), 0);
  const auto& g = core::globals();
  EXPECT_EQ(g.nobs, 3100);
  EXPECT_EQ(g.nvars, 40);
  EXPECT_EQ(g.max_vars, 40);
  EXPECT_EQ(g.frequency, 1);
  EXPECT_EQ(dialog_script::transcript_text(),
            "message error 0  Too many observations. A max of 3100 allowed!\n"
            "integer 1017 Input the number of observations -> 0\n"
            "beep\n"
            "integer 1017 Input the number of observations -> 3100\n"
            "integer 0 How many variables (Maximum 40 Can be zero)? -> 41\n"
            "beep\n"
            "integer 0 How many variables (Maximum 40 Can be zero)? -> 40\n");
  // Keyboard data are typed in the main program: no shape is written back.
  EXPECT_EQ(core::slot(slots::kNumVariables), slots::kUnset);
}

TEST_F(DataInput, KeyboardDatedAndNoVariables) {
  core::set_slot(slots::kDataInputKind, data::kInputKeyboard);
  core::set_slot(slots::kNumVariables, 0);
  dialog_script::load(R"S(strict
menu 1007 -> 5
string "(e.g. 75M2 84M11 or 1975M2 2010M12)" -> "1975M2 1975M1"
string "start and finish" -> "75m2,1976M1 1977M1"
string "start and finish" -> ""
string "start and finish" -> "1975M2 76M1"
)S");
  EXPECT_EQ(input(), data::kInputNoVariables);
  const auto& g = core::globals();
  EXPECT_EQ(g.nobs, 12);
  EXPECT_EQ(g.nvars, 0);
  EXPECT_EQ(g.frequency, 5);
  EXPECT_EQ(g.periods_per_year, 12);
  EXPECT_EQ(g.start_year, 75);
  EXPECT_EQ(g.start_period, 2);
  EXPECT_EQ(g.century_base, 1900);
  const auto& t = dialog_script::transcript();
  EXPECT_NE(dialog_script::transcript_text().find(
                "string 0 Type the start and finish dates of your data (e.g. 75M2 84M11 or 1975M2 2010M12) "
                "(Q to cancel) -> \"1975M2 1975M1\"\n"
                "message error 0  Finish less than start!\n"
                "string 0 Type the start and finish dates of your data (e.g. 75M2 84M11 or 1975M2 2010M12) "
                "(Q to cancel) -> \"75m2,1976M1 1977M1\"\n"
                "beep\n"),
            std::string::npos)
      << dialog_script::transcript_text();
  EXPECT_TRUE(t.back().ends_with("-> \"1975M2 76M1\"")) << t.back();
}

TEST_F(DataInput, DatesFromTheMainProgramAndCancels) {
  // The dates preset is used once; "q" cancels and leaves the data set as it was.
  core::set_slot(slots::kDataInputKind, data::kInputKeyboard);
  core::set_slot(slots::kFrequency, 2);
  core::set_char_setting(charset::kSampleText, "1990 1989");
  dialog_script::load(R"S(strict
string "(e.g. 1964 1978)" -> "q"
)S");
  EXPECT_EQ(input(), data::kInputFailed);
  EXPECT_EQ(dialog_script::transcript().front(), "message error 0  Finish less than start!");
  EXPECT_TRUE(fixed_text::trim(core::char_setting(charset::kSampleText)).empty());
  expect_old_data_set();

  dialog_script::reset();
  core::set_slot(slots::kDataInputKind, data::kInputKeyboard);
  dialog_script::load("strict\nmenu 1007 -> cancel\n");
  EXPECT_EQ(input(), data::kInputFailed);
  expect_old_data_set();
}

TEST_F(DataInput, NoKindShowsTheNoticeAndTheMenu) {
  dialog_script::load("strict\nmenu 1010 -> 0\n");
  EXPECT_EQ(input(), data::kInputFailed);
  const auto& t = dialog_script::transcript();
  ASSERT_EQ(t.size(), 10u);
  EXPECT_EQ(t[0], "message information 0  Internal error: no data input was named. Please report to the Zelvorin "
                  "developers what you did just before this message.");
  EXPECT_EQ(t[1], "menu 2010 Data Input Menu -> 0");
  EXPECT_EQ(t[2], "  0. Exit from Zelvorin");
  EXPECT_EQ(t[5], "  3. Input data from a special Zelvorin file saved previously");
  EXPECT_EQ(t[9], "  7. Input data from AREMOS (TSD) files");
  // Option 3 is preselected.
  EXPECT_EQ(dialog_script::calls()[1].detail, 3);

  // The Data Processing Menu's road asks without the notice.
  dialog_script::reset();
  dialog_script::load("strict\nmenu 1010 -> cancel\n");
  EXPECT_EQ(input(data::DataInputRoad::kNewData), data::kInputFailed);
  EXPECT_EQ(dialog_script::transcript().front(), "menu 2010 Data Input Menu -> cancel");
}

TEST_F(DataInput, KindsWithoutAReader) {
  for (const int kind : {data::kInputCombine, data::kInputWorksheet}) {
    dialog_script::reset();
    core::set_slot(slots::kDataInputKind, kind);
    EXPECT_EQ(input(), data::kInputFailed);
    ASSERT_EQ(dialog_script::transcript().size(), 1u);
    EXPECT_TRUE(dialog_script::transcript()[0].starts_with("message information 0 ")) << dialog_script::transcript()[0];
    expect_old_data_set();
  }
}

TEST_F(DataInput, AsciiFileWritesTheShapeBack) {
  core::set_slot(slots::kDataInputKind, data::kInputAscii);
  core::set_char_setting(charset::kDataFile, file("two.dat", "1 2 3\n4\n10 20,30 40\n"));
  core::set_slot(slots::kFrequency, 4);
  core::set_char_setting(charset::kSampleText, "1960Q3 1961Q2");
  core::set_slot(slots::kNumVariables, 2);
  core::set_slot(slots::kNewDataOrganisation, 1);
  core::set_slot(slots::kNewDataFormat, 1);
  core::set_variable(1, "A", "");
  core::set_variable(2, "B", "");
  EXPECT_EQ(input(), 0);
  const auto& g = core::globals();
  ASSERT_EQ(g.nobs, 4);
  ASSERT_EQ(g.nvars, 2);
  for (int t = 1; t <= 4; ++t) {
    EXPECT_EQ(core::data_at(t, 1), t);
    EXPECT_EQ(core::data_at(t, 2), 10.0 * t);
  }
  EXPECT_EQ(core::variable_name(2), "B");
  EXPECT_EQ(core::slot(slots::kNumVariables), 2);
  EXPECT_EQ(core::slot(slots::kNumObservations), 4);
  EXPECT_EQ(core::slot(slots::kFrequency), 4);
  EXPECT_EQ(core::slot(slots::kStartYear), 60);
  EXPECT_EQ(core::slot(slots::kStartPeriod), 3);
  EXPECT_EQ(core::slot(slots::kCenturyBase), 1900);
  EXPECT_FALSE(core::channel_is_open(core::channel::kDataInput));
}

TEST_F(DataInput, AsciiFileThatIsNotThere) {
  core::set_slot(slots::kDataInputKind, data::kInputAscii);
  core::set_char_setting(charset::kDataFile, (folder_ / "absent").string());
  EXPECT_EQ(input(), data::kInputFailed);
  const auto& t = dialog_script::transcript();
  ASSERT_EQ(t.size(), 11u);
  EXPECT_EQ(t[0], "message long");
  EXPECT_EQ(t[1], "    Error in file specification! This could be due to one of the following:");
  EXPECT_EQ(t[10], "       chosen.");
  expect_old_data_set();
}

TEST_F(DataInput, DelimitedTextAndTsdFiles) {
  const std::string corpus = std::string(ZV_SOURCE_DIR) + "/tests/engine/data/files/";
  core::set_slot(slots::kDataInputKind, data::kInputText);
  core::set_char_setting(charset::kDataFile, corpus + "text/clean.csv");
  dialog_script::load("strict\nyesno \"can take a long time\" -> yes\n");
  EXPECT_EQ(input(), 0);
  const auto& t = dialog_script::transcript();
  ASSERT_GE(t.size(), 15u);
  EXPECT_EQ(t[0], "message long");
  EXPECT_EQ(t[1], "    Layout of a CSV, TXT or PRN data file:");
  EXPECT_EQ(t.back(),
            "message information 0  Text file imported successfully. Please check the imported data carefully before "
            "using it!");
  EXPECT_EQ(core::globals().nvars, 2);
  EXPECT_EQ(core::slot(slots::kNumObservations), 5);
  EXPECT_EQ(core::slot(slots::kNumVariables), 2);
  EXPECT_EQ(core::slot(slots::kStartYear), 90);
  EXPECT_EQ(core::data_at(4, 1), 400.0);

  dialog_script::reset();
  core::set_slot(slots::kDataInputKind, data::kInputTsd);
  core::set_char_setting(charset::kDataFile, corpus + "tsd/two_series.tsd");
  EXPECT_EQ(input(), 0);
  EXPECT_EQ(core::slot(slots::kNumObservations), 44);
  EXPECT_EQ(core::data_at(44, 1), M);
  EXPECT_EQ(core::data_at(44, 2), 136.0);
  EXPECT_FALSE(core::channel_is_open(core::channel::kDataInput));

  // A file the reader refuses leaves the data set in place.
  dialog_script::reset();
  const int nobs = core::globals().nobs;
  core::set_slot(slots::kDataInputKind, data::kInputTsd);
  core::set_char_setting(charset::kDataFile, corpus + "tsd/empty.tsd");
  EXPECT_EQ(input(), data::kInputFailed);
  EXPECT_EQ(core::globals().nobs, nobs);
}

}  // namespace

namespace {

// The Data Processing Menu's "Start with a new data set" runs inside a request the main
// program did not start for data: the new shape is written back for it to read.
TEST_F(DataInput, ANewDataSetInsideARequestWritesItsShapeBack) {
  const auto reg = [](int16_t slot, int32_t value) { REGISTERINT(&value, &slot); };
  reg(slots::kActionPreset, 1);
  reg(slots::kDataProcessingPreset, 5);
  dialog_script::load(R"S(strict
yesno -> yes
menu 1010 -> 1
menu 1007 -> 2
string "(e.g. 1964 1978)" -> "1990 1994"
integer "How many variables" -> 2
)S");
  int16_t request = 3;
  DRIVER(&request);
  EXPECT_EQ(request, 0);
  for (const auto& [slot, value] : {std::pair{slots::kNumVariables, 2}, {slots::kNumObservations, 5},
                                    {slots::kFrequency, 2}, {slots::kStartYear, 1990}, {slots::kStartPeriod, 1},
                                    {slots::kCenturyBase, 0}})
    EXPECT_EQ(core::slot(slot), value) << "slot " << slot;
}

}  // namespace
