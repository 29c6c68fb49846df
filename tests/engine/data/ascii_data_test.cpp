// ASCII data files: both structures in both formats, free format across lines, format
// texts with reversion and implied decimals, and every refusal, through the dialogues.
#include "engine/data/ascii_data.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/workspace.h"
#include "engine/data/data_input.h"
#include "shared/exchange_slots.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"
#include "tests/support/scratch_folder.h"

namespace {

using namespace qorv;
namespace fs = std::filesystem;
constexpr double M = limits::kMissing;

class AsciiData : public qorv::testing::EngineTest {
 protected:
  /// Opens `text` as an ASCII data file on channel 8.
  void open(const std::string& text) {
    const fs::path path = folder_ / "data.dat";
    std::ofstream(path, std::ios::binary) << text;
    ASSERT_TRUE(core::open_channel(core::channel::kDataInput, path, core::OpenMode::kOld));
  }

  /// READTEXTDATA of nvars variables named A, B, C, ... over nobs quarterly observations
  /// from 1960Q3, the layout preset in slots 2 and 3 and any format text answered.
  bool read(int nobs, int nvars, int structure, int format, std::vector<double>& values) {
    core::set_slot(slots::kNewDataOrganisation, structure);
    core::set_slot(slots::kNewDataFormat, format);
    values.assign(static_cast<std::size_t>(nobs * nvars), M);
    std::vector<std::string> names;
    for (int j = 0; j < nvars; ++j) names.emplace_back(1, static_cast<char>('A' + j));
    const auto start = obs_calendar::start_from_fields(obs_calendar::kQuarterly, 60, 3, 1900);
    return data::READTEXTDATA(values, nobs, nvars, names, start, core::channel::kDataInput);
  }

  zv_test::ScratchFolder folder_{"zv-ascii"};  ///< the data file
};

TEST_F(AsciiData, EveryLayoutGivesTheSameMatrix) {
  // Three variables over five observations: variable j at observation t is 10 j + t.
  const struct {
    int structure, format;
    const char* format_text;
    const char* file;
  } cases[] = {
      {1, 1, nullptr, "11 12 13 14 15\n21,22,23\n24 25\n31 32 33 34 35 99\n"},
      {2, 1, nullptr, "11 21 31\n12 22 32\n13\t23 33\n14 24\n34\n15 25 35\n"},
      {1, 2, "(3F4.0)", "  11  12  13\n  14  15\n  21  22  23\n  24  25\n  31  32  33\n  34  35\n"},
      {2, 2, "(F3.0,2(1X,F3.0))", " 11  21  31\n 12  22  32\n 13  23  33\n 14  24  34\n 15  25  35\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    dialog_script::reset();
    if (c.format_text) dialog_script::load(std::string("string \"format\" -> \"") + c.format_text + "\"\n");
    open(c.file);
    std::vector<double> values;
    ASSERT_TRUE(read(5, 3, c.structure, c.format, values));
    for (int j = 1; j <= 3; ++j)
      for (int t = 1; t <= 5; ++t) EXPECT_EQ(values[static_cast<std::size_t>((j - 1) * 5 + t - 1)], 10 * j + t);
    EXPECT_FALSE(core::channel_is_open(core::channel::kDataInput));
  }
  EXPECT_EQ(dialog_script::transcript_text(),
            "string 0 Type format to be used -> \"(F3.0,2(1X,F3.0))\"\n"
            "busy begin Reading data, please wait...\nbusy end\n");
}

TEST_F(AsciiData, FormatReversionAndImpliedDecimals) {
  // (8F10.2) reads 20 values from three records; a field without a point has two
  // implied decimals, one with a point keeps it, a blank field is 0.
  std::string file;
  for (int r = 0; r < 3; ++r) {
    for (int k = 0; k < 8; ++k) {
      const int n = r * 8 + k + 1;
      file += n == 5 ? std::string(10, ' ') : n == 6 ? "      6.5 " : std::string(10 - std::to_string(n * 100).size(), ' ') + std::to_string(n * 100);
    }
    file += "\n";
  }
  dialog_script::load("string \"format\" -> \"(8F10.2)\"\n");
  open(file + "   9999999\n");
  std::vector<double> values;
  ASSERT_TRUE(read(20, 1, 1, 2, values));
  for (int t = 1; t <= 20; ++t) EXPECT_EQ(values[t - 1], t == 5 ? 0.0 : t == 6 ? 6.5 : t) << t;
}

TEST_F(AsciiData, FreeFormatNullsAndSlashAreMissing) {
  // A null between commas and the values cut by "/" are missing, never old numbers.
  open("1,,3 / 99\n4 5 6\n");
  std::vector<double> values;
  ASSERT_TRUE(read(3, 2, 1, 1, values));
  EXPECT_EQ(values, (std::vector<double>{1, M, 3, 4, 5, 6}));
}

TEST_F(AsciiData, ReadFailuresNameTheVariableOrObservation) {
  const struct {
    int structure, format;
    const char* format_text;
    const char* file;
    const char* box;
  } cases[] = {
      {1, 1, nullptr, "1 2 3 4\n5 6 7\n", "message error 0 Error while attempting to read variable B!"},
      {2, 1, nullptr, "1 2\n3 4\n5\n", "message error 0 Error while attempting to read observation 1961Q1!"},
      {1, 1, nullptr, "1 2 x 4\n5 6 7 8\n", "message error 0 Error while attempting to read variable A!"},
      {2, 2, "(2F5.1)", "  1.0  2.0\n  3.0  4,0\n", "message error 0 Error while attempting to read observation 1960Q4!"},
      {1, 2, "(4I3)", "  1  2  3  4\n", "message error 0 Error while attempting to read variable B!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    dialog_script::reset();
    if (c.format_text) dialog_script::load(std::string("string \"format\" -> \"") + c.format_text + "\"\n");
    open(c.file);
    std::vector<double> values;
    EXPECT_FALSE(read(4, 2, c.structure, c.format, values));
    EXPECT_EQ(dialog_script::transcript().back(), c.box);
    EXPECT_FALSE(core::channel_is_open(core::channel::kDataInput));
  }
}

TEST_F(AsciiData, LayoutDialogue) {
  dialog_script::load(R"S(strict
menu 1015 -> 2
menu 1048 -> 2
string "format" -> "8F10.2"
string "format" -> "()"
string "format" -> "(8F10)"
string "format" -> "  (2(F8.2,1X))  "
)S");
  const auto layout = data::ASKDATALAYOUT();
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->structure, data::kByObservations);
  EXPECT_EQ(layout->format, data::kFixedFormat);
  EXPECT_EQ(layout->format_text, "(2(F8.2,1X))");
  const auto& t = dialog_script::transcript();
  EXPECT_EQ(t[0], "menu 2015 File Structure Menu -> 2");
  EXPECT_EQ(t[1], "  1.  Data filed variable by variable");
  EXPECT_EQ(t[3], "menu 2048 Data Format Menu -> 2");
  EXPECT_EQ(t[6], "string 0 Type format to be used -> \"8F10.2\"");
  EXPECT_EQ(t[7], "beep");
  EXPECT_EQ(t[9], "beep");
  EXPECT_EQ(t[11], "beep");
  EXPECT_EQ(t[12], "message error 0  The format (8F10) cannot be used: a real field needs its decimals, as in F10.2!");

  // Cancel in either menu or the question is a cancelled layout; presets skip the menus once.
  for (const char* script : {"menu 1015 -> cancel\n", "menu 1015 -> 1\nmenu 1048 -> cancel\n",
                             "menu 1015 -> 1\nmenu 1048 -> 2\nstring \"format\" -> cancel\n"}) {
    dialog_script::reset();
    dialog_script::load(std::string("strict\n") + script);
    EXPECT_FALSE(data::ASKDATALAYOUT()) << script;
  }
  dialog_script::reset();
  core::set_slot(slots::kNewDataOrganisation, 2);
  core::set_slot(slots::kNewDataFormat, 1);
  ASSERT_TRUE(data::ASKDATALAYOUT());
  EXPECT_TRUE(dialog_script::transcript().empty());
  EXPECT_EQ(core::slot(slots::kNewDataOrganisation), slots::kUnset);
  EXPECT_EQ(core::slot(slots::kNewDataFormat), slots::kUnset);
}

TEST_F(AsciiData, RefusedFileLeavesNoTraceInTheNextOne) {
  // An ASCII request whose file is short fails and keeps the engine's data set; the next
  // file is read whole, with nothing of the first in it.
  auto& g = core::globals();
  g.nobs = 2;
  g.nvars = 1;
  g.frequency = 1;
  core::set_variable(1, "OLD", "");
  core::data_at(1, 1) = 7;
  core::data_at(2, 1) = 8;
  const auto request = [&](const std::string& text) {
    const fs::path path = folder_ / "next.dat";
    std::ofstream(path, std::ios::binary) << text;
    core::set_slot(slots::kDataInputKind, data::kInputAscii);
    core::set_char_setting(charset::kDataFile, path.string());
    core::set_slot(slots::kFrequency, 1);
    core::set_slot(slots::kNumObservations, 3);
    core::set_slot(slots::kNumVariables, 2);
    core::set_slot(slots::kNewDataOrganisation, 2);
    core::set_slot(slots::kNewDataFormat, 1);
    core::set_variable(1, "P", "");
    core::set_variable(2, "Q", "");
    int status = 0;
    data::DATAINPUTMENU(status);
    return status;
  };
  EXPECT_EQ(request("1 2\n3 4\n5\n"), data::kInputFailed);
  EXPECT_EQ(dialog_script::transcript().back(), "message error 0 Error while attempting to read observation 3!");
  EXPECT_EQ(g.nobs, 2);
  EXPECT_EQ(g.nvars, 1);
  EXPECT_EQ(core::data_at(2, 1), 8.0);

  EXPECT_EQ(request("10 20\n30 40\n50 60 70\n"), 0);
  ASSERT_EQ(g.nobs, 3);
  ASSERT_EQ(g.nvars, 2);
  const std::vector<double> expected = {10, 30, 50, 20, 40, 60};
  EXPECT_EQ(std::vector<double>(core::work_array().begin(), core::work_array().begin() + 6), expected);
  EXPECT_EQ(core::variable_name(1), "P");
}

TEST_F(AsciiData, MoreThanTheWorkspaceHoldsIsAskedAgain) {
  // 3100 observations leave room for 40 variables: 41 from the main program beeps and
  // the question follows; 3101 observations are refused before any reading.
  const fs::path path = folder_ / "big.dat";
  {
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 3100; ++i) out << i << "\n";
  }
  core::set_slot(slots::kDataInputKind, data::kInputAscii);
  core::set_char_setting(charset::kDataFile, path.string());
  core::set_slot(slots::kFrequency, 1);
  core::set_slot(slots::kNumObservations, 3101);
  core::set_slot(slots::kNumVariables, 41);
  core::set_slot(slots::kNewDataOrganisation, 1);
  core::set_slot(slots::kNewDataFormat, 1);
  dialog_script::load(R"S(strict
integer 1017 -> 3100
integer "How many variables" -> 1
)S");
  int status = 0;
  data::DATAINPUTMENU(status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(dialog_script::transcript_text(),
            "message error 0  Too many observations. A max of 3100 allowed!\n"
            "integer 1017 Input the number of observations -> 3100\n"
            "beep\n"
            "integer 0 How many variables (Maximum 40 Can be zero)? -> 1\n"
            "busy begin Reading data, please wait...\nbusy end\n");
  EXPECT_EQ(core::globals().nobs, 3100);
  EXPECT_EQ(core::data_at(3100, 1), 3099.0);
}

}  // namespace
