// Saving the workspace's data set as a data file, and reading it back through the
// importers.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "engine/core/user_format.h"
#include "engine/core/workspace.h"
#include "engine/data/data_saving.h"
#include "engine/data/data_set.h"
#include "engine/data/text_import.h"
#include "engine/data/tsd_import.h"
#include "shared/fixed_text.h"
#include "shared/qorv_api.h"
#include "shared/zvd_file.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/special_files.h"

namespace qorv::data {
namespace {

constexpr double kMiss = limits::kMissing;

std::vector<std::string> lines_of(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class DataSaving : public qorv::testing::EngineTest {
 protected:
  /// Quarterly data from 1990Q3: three observations of two variables, one missing.
  void SetUp() override {
    EngineTest::SetUp();
    DataSet d;
    d.nobs = 3;
    d.frequency = 4;
    d.periods_per_year = 4;
    d.start_year = 90;
    d.start_period = 3;
    d.century = 1900;
    d.names = {"P", "Y"};
    d.descs = {"Prices, index", ""};
    d.values = {1.5, 0.1, -2.25e-7, 100.0, kMiss, 1.0 / 3.0};
    install_data_set(d);
  }

  /// Scripts the file name and (when `period` is not empty) the period answer.
  void answer(const std::filesystem::path& file, const std::string& period = "") {
    std::string script = "file -> \"" + file.string() + "\"\n";
    if (!period.empty()) script += "string \"observations to be saved\" -> \"" + period + "\"\n";
    dialog_script::load(script);
  }

  /// Saves the workspace as `stem`.CSV or `stem`.TSD over the whole sample and reads the
  /// file back with the matching reader.
  ImportResult save_and_read_back(int format, const std::string& stem) {
    const auto file = folder_ / (stem + (format == kSaveCsv ? ".CSV" : ".TSD"));
    answer(file, " ");
    data::SAVEDATA(format);
    return format == kSaveCsv ? read_delimited_text(lines_of(file)) : read_tsd(lines_of(file), file.string());
  }

  zv_test::ScratchFolder folder_{"datasave"};
};

TEST_F(DataSaving, CsvRowsCarryLabelsHyphenatedDescriptionsAndEmptyMissingFields) {
  const auto file = folder_ / "out.CSV";
  answer(file, " ");
  data::SAVEDATA(kSaveCsv);
  const std::vector<std::string> expected = {
      "Date,P Prices- index,Y",
      "1990Q3,1.5,100",
      "1990Q4,0.1,",
      "1991Q1,-2.25e-07,0.3333333333333333",
  };
  EXPECT_EQ(lines_of(file), expected);
  EXPECT_NE(dialog_script::transcript_text().find("saved successfully."), std::string::npos);
}

TEST_F(DataSaving, CsvOfAPeriodStartsAtItsFirstLabel) {
  const auto file = folder_ / "part.CSV";
  answer(file, "1990Q4 1991Q1");
  data::SAVEDATA(kSaveCsv);
  const auto lines = lines_of(file);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "1990Q4,0.1,");
}

TEST_F(DataSaving, CsvAndTsdReadBackWithEqualNamesDatesAndValues) {
  for (int format : {kSaveCsv, kSaveTsd}) {
    SCOPED_TRACE(format);
    const ImportResult back = save_and_read_back(format, "back");
    ASSERT_TRUE(back.ok) << back.message.text;
    const DataSet& d = back.data;
    EXPECT_EQ(d.nobs, 3);
    EXPECT_EQ(d.frequency, 4);
    EXPECT_EQ(d.start_year, 90);
    EXPECT_EQ(d.start_period, 3);
    EXPECT_EQ(d.century, 1900);
    EXPECT_EQ(d.names, (std::vector<std::string>{"P", "Y"}));
    EXPECT_EQ(d.descs[0], format == kSaveCsv ? "Prices- index" : "Prices, index");
    if (format == kSaveCsv) {  // exact: the shortest text that reads back
      EXPECT_EQ(d.values, (std::vector<double>{1.5, 0.1, -2.25e-7, 100.0, kMiss, 1.0 / 3.0}));
    } else {  // 15 columns hold 1/3 to 13 digits
      EXPECT_EQ(d.at(2, 2), kMiss);
      EXPECT_EQ(d.at(1, 2), 100.0);
      EXPECT_NEAR(d.at(3, 2), 1.0 / 3.0, 1e-13);
    }
  }
}

TEST_F(DataSaving, DescriptionsHoldingEveryByteReopenInCsvAndTsd) {
  // Four descriptions of 64 bytes hold the bytes 0 to 255; control characters (TAB, line
  // ends, NUL, DEL) come back as "-", in the comma-delimited file commas too.
  DataSet d;
  d.nobs = 2;
  d.names = {"V1", "V2", "V3", "V4"};
  for (int j = 0; j < 4; ++j) {
    std::string desc;
    for (int b = 64 * j; b < 64 * (j + 1); ++b) desc.push_back(static_cast<char>(b));
    d.descs.push_back(desc);
  }
  d.values = {1.5, -2.0, 0.1, 1e300, kMiss, 7.0, 1.0 / 3.0, -0.0};
  install_data_set(d);
  const auto expected_desc = [&](int j, bool csv) {
    std::string text(fixed_text::trim(d.descs[static_cast<std::size_t>(j)]));  // the leading NUL is a blank
    for (char& c : text)
      if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F' || (csv && c == ',')) c = '-';
    return text;
  };
  for (int format : {kSaveCsv, kSaveTsd}) {
    SCOPED_TRACE(format);
    const ImportResult back = save_and_read_back(format, "bytes");
    ASSERT_TRUE(back.ok) << back.message.text;
    EXPECT_EQ(back.data.names, d.names);
    for (int j = 0; j < 4; ++j)
      EXPECT_EQ(back.data.descs[static_cast<std::size_t>(j)], expected_desc(j, format == kSaveCsv)) << j;
    if (format == kSaveCsv) {
      EXPECT_EQ(back.data.values, d.values);
    }
  }
}

TEST_F(DataSaving, TsdRecordsFollowTheColumnLayout) {
  const auto file = folder_ / "cols.TSD";
  answer(file, " ");
  data::SAVEDATA(kSaveTsd);
  const auto lines = lines_of(file);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "P               Prices, index");
  EXPECT_EQ(lines[1], std::string(44, ' ') + "1990 3 01991 1 0Q");
  EXPECT_EQ(lines[2], "            1.5            0.1      -2.25e-07");
  EXPECT_EQ(lines[5], "            100" + std::string(15, ' ') + "0.3333333333333");
}

TEST_F(DataSaving, ZvdSavesTheWholeDataSetWithoutAskingAPeriod) {
  const auto file = folder_ / "all.ZVD";
  answer(file);
  data::SAVEDATA(kSaveZvd);
  EXPECT_EQ(dialog_script::transcript_text().find("observations to be saved"), std::string::npos);
  const zvd::ReadResult back = zvd::read_file(file);
  ASSERT_EQ(back.error, zvd::ReadError::kNone);
  EXPECT_EQ(back.data_set.shape.nobs, 3);
  EXPECT_EQ(back.data_set.shape.start_period, 3);
  EXPECT_EQ(back.data_set.names, (std::vector<std::string>{"P", "Y"}));
  EXPECT_EQ(back.data_set.descriptions[0], "Prices, index");
  EXPECT_EQ(back.data_set.data[4], kMiss);
}

TEST_F(DataSaving, RawFileByObservationsInFreeFormat) {
  const auto file = folder_ / "raw.DAT";
  dialog_script::load("file -> \"" + file.string() +
                      "\"\nstring \"observations to be saved\" -> \"1990Q3 1990Q4\"\nmenu \"File Structure\" -> 2\nmenu \"Data Format\" -> 1\n");
  data::SAVEDATA(kSaveRaw);
  EXPECT_EQ(lines_of(file), (std::vector<std::string>{"1.5 100", "0.1 8934567"}));
}

TEST_F(DataSaving, RawFileByVariablesInTheUsersFormatReadsBackWithIt) {
  const auto file = folder_ / "fixed.DAT";
  const std::string format = "(2F12.3)";
  dialog_script::load("file -> \"" + file.string() +
                      "\"\nstring \"observations to be saved\" -> \"1990Q3 1991Q1\"\nmenu \"File Structure\" -> 1\n"
                      "menu \"Data Format\" -> 2\nstring \"Type format\" -> \"" + format + "\"\n");
  data::SAVEDATA(kSaveRaw);
  const std::vector<std::string> lines = lines_of(file);
  EXPECT_EQ(lines, (std::vector<std::string>{"       1.500       0.100", "       0.000",
                                             "     100.000 8934567.000", "       0.333"}));
  // One read statement a variable, as the ASCII data input reads the file.
  const auto program = core::parse_user_format(format);
  ASSERT_TRUE(program.has_value());
  std::size_t next = 0;
  const core::RecordSource source = [&](std::string& record) {
    if (next >= lines.size()) return false;
    record = lines[next++];
    return true;
  };
  std::vector<double> p(3), y(3);
  ASSERT_EQ(core::read_formatted(*program, source, p), core::FormatReadStatus::kOk);
  ASSERT_EQ(core::read_formatted(*program, source, y), core::FormatReadStatus::kOk);
  EXPECT_EQ(p, (std::vector<double>{1.5, 0.1, 0.0}));
  EXPECT_EQ(y, (std::vector<double>{100.0, kMiss, 0.333}));
}

TEST_F(DataSaving, AValueTheUsersFormatCannotHoldSavesNothingAndIsNamed) {
  const auto file = folder_ / "narrow.DAT";
  std::ofstream(file) << "old\n";
  dialog_script::load("file -> \"" + file.string() +
                      "\"\nstring \"observations to be saved\" -> \"1990Q3 1991Q1\"\nmenu \"File Structure\" -> 2\n"
                      "menu \"Data Format\" -> 2\nstring \"Type format\" -> \"(2F8.2)\"\n");
  data::SAVEDATA(kSaveRaw);
  EXPECT_EQ(lines_of(file), std::vector<std::string>{"old"});
  EXPECT_NE(dialog_script::transcript_text().find("The value of Y at 1990Q4 does not fit the format (2F8.2)! Nothing was saved."),
            std::string::npos)
      << dialog_script::transcript_text();
}

TEST_F(DataSaving, ACancelledQuestionWritesNothing) {
  const auto file = folder_ / "none.CSV";
  std::ofstream(file) << "old\n";
  dialog_script::load("file -> \"" + file.string() + "\"\nstring -> cancel\n");
  data::SAVEDATA(kSaveCsv);
  EXPECT_EQ(lines_of(file), std::vector<std::string>{"old"});
  dialog_script::load("file -> cancel\n");
  data::SAVEDATA(kSaveTsd);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "none.TSD"));
}

}  // namespace
}  // namespace qorv::data

namespace qorv::data {
namespace {

/// The Data Processing Menu's saving road through DRIVER, as the main program's Save As
/// asks for it: slot 5 = 1, slot 10 = 3 and the format in slot 11.
class DataSavingRequest : public DataSaving {
 protected:
  void SetUp() override {
    DataSaving::SetUp();
    write_shape_slots();  // the data set as the main program registered it
  }
  static std::string request(int format) {
    const auto reg = [](int16_t slot, int32_t value) { REGISTERINT(&value, &slot); };
    reg(slots::kActionPreset, 1);
    reg(slots::kDataProcessingPreset, 3);
    if (format != 0) reg(slots::kDataSavingPreset, format);
    int16_t code = 3;
    DRIVER(&code);
    EXPECT_EQ(code, 0);
    return dialog_script::transcript_text();
  }
};

TEST_F(DataSavingRequest, EachFormatOfSlot11IsWrittenAndAnUnsetFormatAsksFirst) {
  struct Case {
    int format;
    const char* name;
    const char* more_answers;  // after the file
  };
  const Case cases[] = {
      {kSaveRaw, "r.DAT", "string \"observations to be saved\" -> \"1990Q3 1991Q1\"\nmenu \"File Structure\" -> 2\n"
                          "menu \"Data Format\" -> 1\n"},
      {kSaveZvd, "z.ZVD", ""},
      {kSaveCsv, "c.CSV", "string \"observations to be saved\" -> \"1990Q3 1991Q1\"\n"},
      {kSaveTsd, "t.TSD", "string \"observations to be saved\" -> \"1990Q3 1991Q1\"\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialog_script::reset();
    const auto file = folder_ / c.name;
    dialog_script::load("strict\nfile -> \"" + file.string() + "\"\n" + c.more_answers);
    const std::string transcript = request(c.format);
    EXPECT_NE(transcript.find("File " + file.string() + " saved successfully."), std::string::npos) << transcript;
    EXPECT_EQ(transcript.find("menu 2009"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(file));
  }
  const std::vector<std::string> raw = lines_of(folder_ / "r.DAT");
  EXPECT_EQ(raw, (std::vector<std::string>{"1.5 100", "0.1 8934567", "-2.25e-07 0.3333333333333333"}));

  // No format chosen: the notice, then the Data Saving Menu; its choice 0 writes nothing.
  dialog_script::reset();
  dialog_script::load("strict\nmenu 1009 -> 0\n");
  const std::string transcript = request(0);
  EXPECT_EQ(transcript.rfind("message information 0 The data are about to be saved without a chosen format.", 0), 0u)
      << transcript;
  EXPECT_NE(transcript.find("menu 2009 Data Saving Menu -> 0"), std::string::npos) << transcript;
  EXPECT_EQ(transcript.find("saved successfully"), std::string::npos);
}

/// The answers of a save in any format to `target`: the name, the period, the layout.
std::string save_answers(const std::filesystem::path& target) {
  return "file -> \"" + target.string() + "\"\nstring -> \"1990Q3 1991Q1\"\nmenu \"File Structure\" -> 2\n"
         "menu \"Data Format\" -> 1\n";
}

constexpr std::pair<int, const char*> kEachFormat[] = {{kSaveRaw, "r.DAT"}, {kSaveZvd, "z.ZVD"}, {kSaveCsv, "c.CSV"},
                                                       {kSaveTsd, "t.TSD"}};

class SpecialSaveTarget : public DataSavingRequest, public ::testing::WithParamInterface<zv_test::Special> {};

// A save over a folder, FIFO or device link is refused when the file is chosen, at once:
// the file-error box, never "saved successfully.", and whatever stood there is untouched.
TEST_P(SpecialSaveTarget, IsRefusedInEachFormat) {
  for (const auto& [format, name] : kEachFormat) {
    SCOPED_TRACE(name);
    dialog_script::reset();
    const auto target = folder_ / name;
    ZV_MAKE_SPECIAL_OR_SKIP(GetParam(), target);
    const bool folder = GetParam() == zv_test::Special::kFolder;
    if (folder) std::ofstream(target / "inside") << "old\n";
    dialog_script::load(save_answers(target));
    const auto start = std::chrono::steady_clock::now();
    const std::string transcript = request(format);
    EXPECT_LT(zv_test::seconds_since(start), 1.0);
    EXPECT_EQ(transcript.find("saved successfully"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("message long\n    Error in file specification!"), std::string::npos) << transcript;
    if (folder) {
      EXPECT_EQ(lines_of(target / "inside"), std::vector<std::string>{"old"});
    }
    EXPECT_EQ(std::filesystem::symlink_status(target).type(), zv_test::kept_type(GetParam()));
  }
}

INSTANTIATE_TEST_SUITE_P(DataSaving, SpecialSaveTarget, ::testing::ValuesIn(zv_test::kWriteSpecials),
                         zv_test::SpecialName{});

TEST_F(DataSavingRequest, AReadOnlyFolderKeepsTheOldFileInEachFormat) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser writes into read-only folders";
  const auto locked = folder_ / "locked";
  std::filesystem::create_directory(locked);
  for (const auto& [format, name] : kEachFormat) std::ofstream(locked / name) << "old\n";
  std::filesystem::permissions(locked, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
  for (const auto& [format, name] : kEachFormat) {
    SCOPED_TRACE(name);
    dialog_script::reset();
    dialog_script::load(save_answers(locked / name));
    const std::string transcript = request(format);
    EXPECT_EQ(transcript.find("saved successfully"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("Error in file specification!"), std::string::npos) << transcript;
    EXPECT_EQ(lines_of(locked / name), std::vector<std::string>{"old"});
  }
  std::filesystem::permissions(locked, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

}  // namespace
}  // namespace qorv::data
