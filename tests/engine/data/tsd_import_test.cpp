// TSD files: series over different spans, names, value forms and refusals.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/data/tsd_import.h"
#include "tests/engine/data/import_files.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::data {
namespace {

using testing::corpus;
using testing::records_of;

constexpr double M = limits::kMissing;

ImportResult read_file(const std::string& name) {
  return read_tsd(records_of(corpus("tsd/" + name)), name);
}

/// The name and header records of one series (columns as the file layout has them).
std::vector<std::string> series_records(const std::string& name, int start_year, int start_period,
                                        int end_year, int end_period, char letter) {
  char header[64];
  std::snprintf(header, sizeof header, "%4d%2d%2d%4d%2d%2d%c", start_year, start_period, 0,
                end_year, end_period, 0, letter);
  return {name, std::string(44, ' ') + header};
}

class TsdImport : public qorv::testing::EngineTest {};

TEST_F(TsdImport, SeriesOverDifferentSpansShareTheirUnion) {
  const ImportResult r = read_file("two_series.tsd");
  ASSERT_TRUE(r.ok) << r.message.text;
  const DataSet& d = r.data;
  EXPECT_EQ(r.message.text,
            " TSD File two_series.tsd imported successfully. Please check the imported data "
            "carefully before using it!");
  EXPECT_EQ(d.names, (std::vector<std::string>{"X", "Y"}));
  EXPECT_EQ(d.descs, (std::vector<std::string>{"First series", "Second series"}));
  EXPECT_EQ(d.frequency, 4);
  EXPECT_EQ(d.periods_per_year, 4);
  EXPECT_EQ(d.start_year, 90);
  EXPECT_EQ(d.century, 1900);
  EXPECT_EQ(d.start_period, 1);
  ASSERT_EQ(d.nobs, 44);  // 1990Q1 to 2000Q4
  for (int t = 1; t <= 44; ++t) {
    EXPECT_EQ(d.at(t, 1), t <= 24 ? t : M) << t;  // 1990Q1 to 1995Q4, five records
    const double y = t <= 8 ? M : t == 11 ? M : 100.0 + (t - 8);  // from 1992Q1, a blank field
    EXPECT_EQ(d.at(t, 2), y) << t;
  }
}

TEST_F(TsdImport, NamesCrlfLowerCaseLetterAndTrailingBlankRecords) {
  const ImportResult r = read_file("names_crlf.tsd");
  ASSERT_TRUE(r.ok) << r.message.text;
  const DataSet& d = r.data;
  EXPECT_EQ(d.names, (std::vector<std::string>{"GDP", "X1", "UNEMPLOYM", "A_B", "R.1"}));
  EXPECT_EQ(d.descs[0], "Gross domestic product");
  EXPECT_EQ(d.descs[2], "Unemployment rate");
  EXPECT_EQ(d.frequency, 2);
  EXPECT_EQ(d.start_year, 1960);
  EXPECT_EQ(d.century, 0);
  EXPECT_EQ(d.start_period, 1);
  ASSERT_EQ(d.nobs, 4);
  const std::vector<std::vector<double>> columns = {
      {1.5, 2.5, 3.5, 4.5}, {M, 10, 20, M}, {5, 6, 7, 8}, {-1.25, M, M, M}, {M, M, M, 0.5}};
  for (int j = 1; j <= 5; ++j)
    for (int t = 1; t <= 4; ++t)
      EXPECT_EQ(d.at(t, j), columns[static_cast<std::size_t>(j - 1)][static_cast<std::size_t>(t - 1)])
          << d.names[static_cast<std::size_t>(j - 1)] << " t=" << t;
}

TEST_F(TsdImport, ValueFieldsInFortranForms) {
  const ImportResult r = read_file("fortran_values.tsd");
  ASSERT_TRUE(r.ok) << r.message.text;
  EXPECT_EQ(r.data.frequency, 5);
  EXPECT_EQ(r.data.start_year, 99);
  EXPECT_EQ(r.data.start_period, 11);
  EXPECT_EQ(r.data.century, 1900);
  ASSERT_EQ(r.data.nobs, 4);
  EXPECT_EQ(r.data.at(1, 1), 150.0);
  EXPECT_EQ(r.data.at(2, 1), 150.0);
  EXPECT_EQ(r.data.at(3, 1), -0.25);
  EXPECT_EQ(r.data.at(4, 1), 150.0);
}

TEST_F(TsdImport, NameFieldsAsTheNameRuleTakesThem) {
  const std::pair<const char*, const char*> cases[] = {
      {"X1", "X1"}, {"1X", "QX"}, {"A-B", "AMB"}, {"gdp", "GDP"}, {"  GDP", "GDP"},
      {"UNEMPLOYMENT", "UNEMPLOYM"}, {"A.B", "A.B"}, {"A_B", "A_B"}};
  for (const auto& [field, name] : cases) {
    SCOPED_TRACE(field);
    auto records = series_records(field, 1990, 1, 1990, 1, 'A');
    records.push_back("            1.0");
    std::size_t at = 0;
    const TsdSeriesRead read = READTSDSERIES(records, at);
    ASSERT_EQ(read.status, TsdSeriesRead::kSeries) << read.message.text;
    EXPECT_EQ(read.series.name, name);
    EXPECT_EQ(at, 3u);
  }
  std::size_t at = 0;
  const TsdSeriesRead read = READTSDSERIES(series_records("A B", 1990, 1, 1990, 1, 'A'), at);
  EXPECT_EQ(read.status, TsdSeriesRead::kRefused);
  EXPECT_EQ(read.message.text, "A B is not a valid name! Data not read. Line 1.");
}

TEST_F(TsdImport, RefusalsNameTheLineAndTheProblem) {
  struct Case {
    const char* file;
    int kind;
    const char* message;
  };
  const Case cases[] = {
      {"weekly.tsd", 3, "Weekly or daily data cannot be read into Zelvorin from TSD files! Line 2."},
      {"unknown_letter.tsd", 3, "The frequency of data on TSD file not recognized! Line 2."},
      {"mixed.tsd", 3, "The variables in the TSD file have different frequencies, data not read! "
                       "Line 4."},
      {"duplicate.tsd", 3, "X is a duplicate name! Line 4."},
      {"reserved.tsd", 3, "LOG is not a valid name! Data not read. Line 1."},
      {"blank_name.tsd", 2, "Blank name encountered in TSD file! Data not read. Line 4."},
      {"short.tsd", 3, "Error in reading the TSD file! Data not read. Line 4: the values of X "
                       "end early."},
      // Cut inside the last value record: the lost values are not read as missing.
      {"cut_record.tsd", 3, "Error in reading the TSD file! Data not read. Line 3, column 41: the record "
                            "ends before its 4 values of 15 columns."},
      {"bad_value.tsd", 3, "Error in reading the TSD file! Data not read. Line 3, column 16: "
                           "\"1,5\" is not a number."},
      {"bad_header.tsd", 3, "Error in reading the TSD file! Data not read. Line 2: the header "
                            "record of X is not readable."},
      {"empty.tsd", 3, "Error in reading the TSD file! Data not read. The file holds no series."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const ImportResult r = read_file(c.file);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.kind, c.kind);
    EXPECT_EQ(r.message.text, c.message);
  }
}

TEST_F(TsdImport, RefusesMoreThanTheWorkspaceHolds) {
  EXPECT_EQ(read_tsd(series_records("X", 1800, 1, 2100, 12, 'M'), "f").message.text,
            "Too many observations/variables! Line 2.");
  std::vector<std::string> records;
  for (int k = 1; k <= 201; ++k) {
    for (auto& r : series_records("V" + std::to_string(k), 1990, 1, 1990, 1, 'A'))
      records.push_back(r);
    records.push_back("            1.0");
  }
  EXPECT_EQ(read_tsd(records, "f").message.text,
            " Too many variables! A maximum number of 200 variables is allowed! Line 601.");
  // Two annual series 1000 years apart: each fits, their union does not.
  records = series_records("X", 1000, 1, 1000, 1, 'A');
  records.push_back("              1");
  for (auto& r : series_records("Y", 5000, 1, 5000, 1, 'A')) records.push_back(r);
  records.push_back("              1");
  EXPECT_EQ(read_tsd(records, "f").message.text, "Too many observations/variables!");
}

}  // namespace
}  // namespace qorv::data
