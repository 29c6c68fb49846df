// Delimited text files as spreadsheets and other programs write them.
#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/data/text_import.h"
#include "tests/engine/data/import_files.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::data {
namespace {

using testing::corpus;
using testing::records_of;

constexpr double M = limits::kMissing;

ImportResult read_text(const std::string& name) {
  return read_delimited_text(records_of(corpus("text/" + name)));
}

void expect_column(const DataSet& data, int j, const std::vector<double>& values) {
  ASSERT_EQ(data.nobs, static_cast<int>(values.size()));
  for (int t = 1; t <= data.nobs; ++t)
    EXPECT_EQ(data.at(t, j), values[static_cast<std::size_t>(t - 1)]) << "t=" << t << " j=" << j;
}

class TextImport : public qorv::testing::EngineTest {};

TEST_F(TextImport, EveryWayOfWritingTheSameTableGivesTheSameDataSet) {
  for (const char* name : {"clean.csv", "crlf_bom.csv", "quoted.csv", "trailing_columns.csv",
                           "semicolon.csv", "tab.txt", "blank.prn", "gretl_colon.csv",
                           "descriptions_row.csv"}) {
    SCOPED_TRACE(name);
    const ImportResult r = read_text(name);
    ASSERT_TRUE(r.ok) << r.message.text;
    const DataSet& d = r.data;
    EXPECT_EQ(d.names, (std::vector<std::string>{"X", "Y"}));
    EXPECT_EQ(d.descs, (std::vector<std::string>{"Output", ""}));
    EXPECT_EQ(d.frequency, 4);
    EXPECT_EQ(d.periods_per_year, 4);
    EXPECT_EQ(d.start_year, 90);
    EXPECT_EQ(d.century, 1900);
    EXPECT_EQ(d.start_period, 1);
    expect_column(d, 1, {1.5, 2.25, -3, 400, 0.125});
    expect_column(d, 2, {10, 20, 30, 40, 50});
    EXPECT_EQ(r.message.text, text_messages::kImported);
  }
}

TEST_F(TextImport, QuotedDescriptionsKeepCommasAndQuotes) {
  const ImportResult r = read_text("quoted_descriptions.csv");
  ASSERT_TRUE(r.ok) << r.message.text;
  EXPECT_EQ(r.data.names, (std::vector<std::string>{"X", "Y"}));
  EXPECT_EQ(r.data.descs[0], "Output, real \"chained\"");
  EXPECT_EQ(r.data.frequency, 2);
  EXPECT_EQ(r.data.start_year, 1990);
  EXPECT_EQ(r.data.century, 0);
  EXPECT_EQ(r.data.start_period, 1);
}

TEST_F(TextImport, MissingMarkersAndNumberForms) {
  const ImportResult r = read_text("missing.csv");
  ASSERT_TRUE(r.ok) << r.message.text;
  EXPECT_EQ(r.data.frequency, 2);
  EXPECT_EQ(r.data.start_year, 1990);
  expect_column(r.data, 1, {12, M, M, 7, M});
  expect_column(r.data, 2, {12, M, M, -5, 3});
}

TEST_F(TextImport, LinesLongerThanAnyBufferAndLongDescriptions) {
  const ImportResult r = read_text("long_line.csv");
  ASSERT_TRUE(r.ok) << r.message.text;
  ASSERT_EQ(r.data.nvars(), 120);
  EXPECT_EQ(r.data.names[119], "V120");
  EXPECT_EQ(r.data.descs[0],
            "description of variable 1 description of variable 1 description of variable 1 de");
  EXPECT_EQ(r.data.start_year, 2001);
  EXPECT_EQ(r.data.at(3, 120), 2003120.0);
}

struct Dated {
  const char* file;
  int frequency, periods, start_year, start_period, century;
  std::vector<std::string> names;
  std::vector<double> first_row;
};

TEST_F(TextImport, DatesSettleTheFrequencyAndStart) {
  const Dated cases[] = {
      // Days two weeks apart vary by more than 3: undated, with the date in front.
      {"daily.csv", 1, 1, 1, 1, 0, {"DAY", "MONTH", "YEAR", "V"}, {2, 1, 1995, 1}},
      {"month_end.csv", 5, 12, 95, 1, 1900, {"V"}, {1}},
      {"quarter_days.csv", 4, 4, 95, 2, 1900, {"V"}, {1}},
      {"yyyymm_quarters.csv", 4, 4, 95, 1, 1900, {"V"}, {1}},
      {"monthly.csv", 5, 12, 99, 11, 1900, {"V"}, {1}},
      {"undated.csv", 1, 1, 1, 1, 0, {"V"}, {7}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const ImportResult r = read_text(c.file);
    ASSERT_TRUE(r.ok) << r.message.text;
    EXPECT_EQ(r.data.frequency, c.frequency);
    EXPECT_EQ(r.data.periods_per_year, c.periods);
    EXPECT_EQ(r.data.start_year, c.start_year);
    EXPECT_EQ(r.data.start_period, c.start_period);
    EXPECT_EQ(r.data.century, c.century);
    EXPECT_EQ(r.data.names, c.names);
    for (int j = 1; j <= r.data.nvars(); ++j)
      EXPECT_EQ(r.data.at(1, j), c.first_row[static_cast<std::size_t>(j - 1)]);
  }
}

TEST_F(TextImport, RefusalsNameTheLineAndTheProblem) {
  const std::pair<const char*, const char*> cases[] = {
      {"missing_quote.csv", "Double quote missing! Data not read. Line 3."},
      {"bad_number.csv", " Error in reading the file! Line 3, column 2: \"1,5\" is not a number."},
      {"blank_name.csv", "A blank name encountered! Data not read. Line 1, column 3."},
      {"blank_marker.csv", "A blank name encountered! Data not read. Line 1, column 3."},
      {"duplicate.csv", "X is either not a valid name or is a duplicate name! Line 1, column 3."},
      {"reserved.csv", "LOG is either not a valid name or is a duplicate name! Line 1, column 2."},
      {"us_dates.csv", " Error in reading the file! Line 2, column 1: \"12/31/1994\" is not a "
                       "date or an observation number."},
      {"backwards.csv", " Error in reading the file! Line 3, column 1: the date \"1995Q1\" does "
                        "not follow \"1995Q2\"."},
      {"gap.csv", " Error in reading the file! Line 4, column 1: the date \"1993\" does not "
                  "follow \"1991\"."},
      {"mixed_dates.csv", " Error in reading the file! Line 3, column 1: the date \"1990\" is "
                          "not written like the first date \"1990Q1\"."},
      {"daily_backwards.csv", " Error in reading the file! Line 3, column 1: the dates run "
                              "backwards at \"6/1/1995\"."},
      {"day_column.csv", "DAY is either not a valid name or is a duplicate name! Line 1, "
                         "column 2."},
      {"extra_values.csv", " Error in reading the file! Line 3, column 3: the row has more "
                           "values than there are names."},
      {"not_a_date.csv", " Error in reading the file! Line 4, column 1: \"Total\" is not a date "
                         "or an observation number."},
      {"no_rows.csv", " Error in reading the file! The file holds no rows of data."},
      {"empty.csv", "Unable to read the file! Check that it is not in use by another "
                    "application."},
      {"utf16.txt", " Error in reading the file! Line 1: the file is UTF-16 (Unicode) text; "
                    "save it as CSV or as plain text and read it again."},
  };
  for (const auto& [file, message] : cases) {
    SCOPED_TRACE(file);
    const ImportResult r = read_text(file);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.text, message);
  }
}

TEST_F(TextImport, RefusesMoreThanTheWorkspaceHolds) {
  std::string names = "obs";
  for (int k = 1; k <= 201; ++k) names += ",V" + std::to_string(k);
  EXPECT_EQ(read_delimited_text({names, "1,1"}).message.text,
            " Too many variables! A maximum number of 200 variables is allowed! Line 1.");

  std::vector<std::string> rows = {"obs,X"};
  for (int t = 1; t <= 3101; ++t) rows.push_back(std::to_string(t) + ",1");
  EXPECT_EQ(read_delimited_text(rows).message.text, " Too many observations/variables! Line 3102.");
  rows.pop_back();
  EXPECT_TRUE(read_delimited_text(rows).ok);

  // 200 variables leave room for 620 observations.
  std::vector<std::string> wide = {names.substr(0, names.find(",V201"))};
  for (int t = 1; t <= 621; ++t) wide.push_back(std::to_string(t) + std::string(200, ','));
  EXPECT_EQ(read_delimited_text(wide).message.text, " Too many observations/variables! Line 622.");
}

TEST_F(TextImport, NumbersReadTheSameUnderACommaDecimalLocale) {
  const char* found = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"})
    if (std::setlocale(LC_ALL, name)) {
      found = name;
      break;
    }
  if (!found) GTEST_SKIP() << "no comma-decimal locale installed";
  const ImportResult r = read_delimited_text({"obs,X", "1,1.5", "2,-0.25e1"});
  std::setlocale(LC_ALL, "C");
  ASSERT_TRUE(r.ok);
  expect_column(r.data, 1, {1.5, -2.5});
}

TEST_F(TextImport, ReadsTheMacroReferenceDataWithItsQuarterlyDates) {
  const std::string path = std::string(ZV_REFERENCE_DIR) + "/ols-macro/data.csv";
  const ImportResult r = read_delimited_text(records_of(path));
  ASSERT_TRUE(r.ok) << r.message.text;
  const DataSet& d = r.data;

  // The file read on its own: a header, then date and plain decimal numbers per line.
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "obs,INPT,LC,LY,INFL,R");
  EXPECT_EQ(d.names, (std::vector<std::string>{"INPT", "LC", "LY", "INFL", "R"}));
  int t = 0;
  while (std::getline(in, line)) {
    ++t;
    std::stringstream fields(line);
    std::string cell;
    std::getline(fields, cell, ',');
    if (t == 1) {
      EXPECT_EQ(cell, "1960Q1");
    }
    for (int j = 1; j <= 5; ++j) {
      std::getline(fields, cell, ',');
      double expected = 0.0;
      std::from_chars(cell.data(), cell.data() + cell.size(), expected);
      ASSERT_EQ(d.at(t, j), expected) << "t=" << t << " j=" << j;
    }
  }
  EXPECT_EQ(d.nobs, t);
  EXPECT_EQ(d.frequency, 4);
  EXPECT_EQ(d.periods_per_year, 4);
  EXPECT_EQ(d.start_year, 60);
  EXPECT_EQ(d.start_period, 1);
  EXPECT_EQ(d.century, 1900);
}

}  // namespace
}  // namespace qorv::data
