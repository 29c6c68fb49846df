// Reading a data file into the workspace through the entries of the data input menu, and
// finding support files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/workspace.h"
#include "engine/data/data_import.h"
#include "engine/data/data_set.h"
#include "engine/data/support_files.h"
#include "tests/engine/data/import_files.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::data {
namespace {

using testing::corpus;

constexpr int kUnit = core::channel::kDataInput;

class DataImport : public qorv::testing::EngineTest {
 protected:
  /// A small annual data set in the workspace, to see whether a refusal leaves it.
  void SetUp() override {
    EngineTest::SetUp();
    DataSet old;
    old.nobs = 2;
    old.frequency = 2;
    old.start_year = 1950;
    old.names = {"OLD"};
    old.descs = {"kept"};
    old.values = {7, 8};
    install_data_set(old);
  }

  static void open(const std::string& name) {
    ASSERT_TRUE(core::open_channel(kUnit, corpus(name), core::OpenMode::kOld));
  }

  static void expect_old_data_set() {
    const auto& g = core::globals();
    EXPECT_EQ(g.nobs, 2);
    EXPECT_EQ(g.nvars, 1);
    EXPECT_EQ(g.frequency, 2);
    EXPECT_EQ(g.start_year, 1950);
    EXPECT_EQ(core::variable_name(1), "OLD");
    EXPECT_EQ(core::data_at(2, 1), 8.0);
  }
};

TEST_F(DataImport, TextFileReplacesTheWorkspace) {
  dialog_script::load("yesno \"can take a long time\" -> yes");
  open("text/crlf_bom.csv");
  EXPECT_TRUE(IMPORTTEXTFILE(kUnit));
  EXPECT_FALSE(core::channel_is_open(kUnit));
  const auto& g = core::globals();
  EXPECT_EQ(g.nobs, 5);
  EXPECT_EQ(g.nvars, 2);
  EXPECT_EQ(g.frequency, 4);
  EXPECT_EQ(g.periods_per_year, 4);
  EXPECT_EQ(g.start_year, 90);
  EXPECT_EQ(g.start_period, 1);
  EXPECT_EQ(g.century_base, 1900);
  EXPECT_EQ(g.max_vars, 200);
  EXPECT_EQ(core::variable_name(1), "X");
  EXPECT_EQ(core::variable_desc(1), "Output");
  EXPECT_EQ(core::variable_name(2), "Y");
  EXPECT_EQ(core::variable_name(3), "");
  EXPECT_EQ(core::data_at(4, 1), 400.0);
  EXPECT_EQ(core::data_at(5, 2), 50.0);
  EXPECT_EQ(dialog_script::transcript().back(),
            "message information 0  Text file imported successfully. Please check the "
            "imported data carefully before using it!");
}

TEST_F(DataImport, RefusedOrDeclinedFileLeavesTheWorkspace) {
  dialog_script::load("yesno -> yes once\nyesno -> no");
  open("text/gap.csv");
  EXPECT_FALSE(IMPORTTEXTFILE(kUnit));
  EXPECT_FALSE(core::channel_is_open(kUnit));
  expect_old_data_set();
  EXPECT_EQ(dialog_script::transcript().back(),
            "message information 0  Error in reading the file! Line 4, column 1: the date "
            "\"1993\" does not follow \"1991\".");

  open("text/clean.csv");
  EXPECT_FALSE(IMPORTTEXTFILE(kUnit));
  EXPECT_FALSE(core::channel_is_open(kUnit));
  expect_old_data_set();

  open("tsd/blank_name.tsd");
  EXPECT_FALSE(IMPORTTSDFILE(kUnit));
  expect_old_data_set();
  EXPECT_EQ(dialog_script::transcript().back(),
            "message error 0 Blank name encountered in TSD file! Data not read. Line 4.");
}

TEST_F(DataImport, TsdFileReplacesTheWorkspace) {
  open("tsd/two_series.tsd");
  EXPECT_TRUE(IMPORTTSDFILE(kUnit));
  EXPECT_FALSE(core::channel_is_open(kUnit));
  EXPECT_EQ(core::globals().nobs, 44);
  EXPECT_EQ(core::globals().max_vars, 200);
  EXPECT_EQ(core::variable_name(2), "Y");
  EXPECT_EQ(core::data_at(1, 2), limits::kMissing);
  EXPECT_EQ(core::data_at(9, 2), 101.0);
  EXPECT_EQ(dialog_script::transcript().back(),
            "message information 0  TSD File two_series.tsd imported successfully. Please "
            "check the imported data carefully before using it!");
}

TEST_F(DataImport, SupportFilesComeFromTheProgramFolderOrAreReportedMissing) {
  const auto folder = std::filesystem::temp_directory_path() /
                      ("zv-support-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "TABLE.CSV") << "1,2\n";
  core::set_char_setting(charset::kProgramFolder, folder.string() + "/");

  EXPECT_EQ(find_support_file("TABLE.CSV"), folder / "TABLE.CSV");
  ASSERT_TRUE(OPENSUPPORTFILE("TABLE.CSV", core::channel::kSupport));
  std::string record;
  EXPECT_EQ(core::read_record(core::channel::kSupport, record), core::ReadStatus::kOk);
  EXPECT_EQ(record, "1,2");
  core::close_channel(core::channel::kSupport);

  EXPECT_FALSE(find_support_file("ABSENT.CSV"));
  EXPECT_FALSE(OPENSUPPORTFILE("ABSENT.CSV", core::channel::kSupport));
  EXPECT_EQ(dialog_script::transcript().back(),
            "message error 0 The file ABSENT.CSV is missing or corrupt. Unable to proceed.");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qorv::data
