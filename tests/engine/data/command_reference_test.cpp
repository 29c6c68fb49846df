// Reference cases of the formula language typed as command texts through the headless
// runner: the quarterly data file is read as the main program reads it, the command text
// runs through the command editor's road, and the printed data set is compared with the
// reference values (readings "definite" and "favoured") to their tolerances.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace {

std::vector<std::string> split(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  if (!line.empty() && line.back() == ',') fields.emplace_back();
  return fields;
}

/// Column `name` of a printed data set, by date label ("" for a missing value).
std::map<std::string, std::string> printed_column(const std::filesystem::path& path, const std::string& name) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  const std::vector<std::string> header = split(line);
  std::size_t column = 0;
  for (std::size_t i = 0; i < header.size(); ++i)
    if (header[i].substr(0, header[i].find(' ')) == name) column = i;
  std::map<std::string, std::string> values;
  while (column != 0 && std::getline(in, line)) {
    const std::vector<std::string> fields = split(line);
    if (fields.size() > column) values[fields[0]] = fields[column];
  }
  return values;
}

void check_case(const std::string& case_name, const std::string& commands, const std::string& quantity) {
  const zv_test::ScratchFolder folder("command-reference");
  std::ofstream(folder / "answers.script") << "yesno -> yes\n";
  const std::filesystem::path printed = folder / "printed.csv";
  const std::string command = std::string("'") + ZV_QORV_RUN + "' --script '" + (folder / "answers.script").string() +
                              "' --data '" + ZV_REFERENCE_DIR + "/formulas/data.csv' --slot 5=1 --slot 10=2 --char '3=" +
                              commands + "' --request 3 --print-data '" + printed.string() + "' > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const std::map<std::string, std::string> values = printed_column(printed, "T");
  ASSERT_EQ(values.size(), 108u);
  std::ifstream expected(std::string(ZV_REFERENCE_DIR) + "/formulas/expected.csv");
  int checked = 0;
  for (std::string line; std::getline(expected, line);) {
    const std::vector<std::string> f = split(line);
    if (f.size() < 6 || f[0] != case_name || f[1].substr(0, f[1].find(':')) != quantity) continue;
    if (f[5] != "definite" && f[5] != "favoured") continue;
    const std::string label = f[1].substr(f[1].find(':') + 1);
    ASSERT_TRUE(values.contains(label)) << label;
    const std::string& got = values.at(label);
    ++checked;
    if (f[2] == "NA") {
      EXPECT_EQ(got, "") << label;
      continue;
    }
    ASSERT_FALSE(got.empty()) << label;
    const double want = std::stod(f[2]), have = std::stod(got), tol = std::stod(f[3]);
    EXPECT_LE(std::abs(have - want), f[4] == "rel" ? tol * std::abs(want) : tol) << case_name << " " << label;
  }
  EXPECT_GE(checked, 40);
}

TEST(CommandReference, TrendFilterOverTheCommandSample) {
  check_case("HPF_LGAS_SUB", "SAMPLE 1970Q1 1979Q4; T = HPF(LGAS, 1600)", "HPF");
}

TEST(CommandReference, MovingAverageOverTheCommandSample) {
  check_case("MAV_LGAS_SUB", "SAMPLE 1970Q1 1979Q4; T = MAV(LGAS, 4)", "MAV4");
}

}  // namespace
