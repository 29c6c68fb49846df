// Missing values inside the chosen sample on the single-equation road, request 3 through
// DRIVER with the scripted dialogs: leading and trailing missing values shorten the sample,
// a gap refuses the model before anything is estimated, for every method the road
// estimates and for the instruments too.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/core/engine_state.h"
#include "engine/core/workspace.h"
#include "shared/qorv_api.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv;

constexpr int kObs = 12;
/// Variables of the data set, in this order.
const std::array<const char*, 5> kNames = {"INPT     ", "Y        ", "X        ", "Z        ", "D        "};
enum Variable { kInpt = 1, kY, kX, kZ, kD };

/// Twelve quarterly observations from 1990Q1; D is binary and not separated by X.
std::vector<double> data_set() {
  const std::array<std::array<double, kObs>, 5> columns = {{
      {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
      {2.1, 3.9, 3.2, 6.8, 5.1, 7.7, 9.9, 8.4, 11.2, 12.1, 14.8, 13.0},
      {1, 3, 2, 5, 4, 6, 8, 7, 9, 10, 12, 11},
      {2, 1, 4, 3, 6, 5, 7, 9, 8, 11, 10, 12},
      {0, 0, 1, 0, 1, 1, 0, 1, 1, 0, 1, 1},
  }};
  std::vector<double> data;
  for (const auto& column : columns) data.insert(data.end(), column.begin(), column.end());
  return data;
}

/// Loads the data set with the missing code at the observations `missing` of `variable`,
/// runs request 3 on the single-equation road with `script` and returns the transcript.
std::string run(int variable, const std::vector<int>& missing, const std::string& script) {
  core::reset_engine_state();
  core::set_char_setting(charset::kProgramFolder, qorv::testing::program_folder().string());
  core::set_char_setting(charset::kTempFolder, qorv::testing::temp_folder());
  dialog_script::reset();
  const auto reg = [](int16_t slot, int32_t value) { REGISTERINT(&value, &slot); };
  reg(8, kObs);
  reg(4, static_cast<int32_t>(kNames.size()));
  reg(7, 4);
  reg(20, 4);
  reg(12, 90);
  reg(13, 1);
  reg(14, 1900);
  std::vector<double> data = data_set();
  for (const int t : missing) data[static_cast<size_t>((variable - 1) * kObs + t - 1)] = limits::kMissing;
  const int16_t flag = 0, nobs = kObs, nvars = static_cast<int16_t>(kNames.size()), n9 = 9, d0 = 0;
  REGISTERDATA(data.data(), &flag, &nobs, &nvars);
  for (int16_t i = 1; i <= nvars; ++i) REGISTERVARS(kNames[static_cast<size_t>(i - 1)], "", &i, &n9, &d0);
  reg(1, 3);
  int16_t request = 1;
  DRIVER(&request);
  dialog_script::reset();
  reg(5, 2);
  dialog_script::load(script);
  request = 3;
  DRIVER(&request);
  return dialog_script::transcript_text();
}

/// The first results page of a transcript: its lines up to the next dialog.
std::string first_page(const std::string& transcript) {
  const size_t begin = transcript.find("--- page 1 ---\n");
  if (begin == std::string::npos) return {};
  const size_t end = transcript.find("\nmenu ", begin);
  return transcript.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

/// The dialogues of each method, with the sample typed as `sample`.
std::string ols(const std::string& sample) {
  return "menu 1039 -> 1\ntext \"List the dependent\" -> \"Y INPT X\"\nstring -> \"" + sample +
         "\"\nmenu 1014 -> 1\nresults -> close\nmenu 1002 -> 0\nmenu 1004 -> 1\n";
}
std::string iv(const std::string& sample) {
  return "menu 1039 -> 1\ntext \"List the dependent\" -> \"Y INPT X\"\nstring -> \"" + sample +
         "\"\nmenu 1014 -> 2\ntext \"List the instrument(s)\" -> \"INPT Z\"\nresults -> close\nmenu 1002 -> 0\nmenu 1004 -> 1\n";
}
std::string logit(const std::string& sample) {
  return "menu 1039 -> 7\ntext \"List the dependent\" -> \"D INPT X\"\nstring -> \"" + sample +
         "\"\nmenu 1027 -> 1 once\nresults -> close\nmenu 1029 -> 0\nmenu 1027 -> 0\nmenu 1004 -> 1\n";
}

constexpr const char* kWhole = "1990Q1 1992Q4";
constexpr const char* kGap = "The sample contains missing values: choose a sample period without gaps.";
constexpr const char* kInstrumentGap = "Gaps in observations for this model, can't estimate!";

TEST(MissingValuesRoad, GapsRefuseAndMissingEndsShortenTheSample) {
  using Script = std::string (*)(const std::string&);
  const struct {
    const char* name;
    Script script;
    int variable;
    std::vector<int> missing;
    const char* refusal;      // the message of a refused model, or null
    const char* same_as;      // else the sample over which the complete data give the same page
  } cases[] = {
      // The last regressor, the first regressor and the dependent variable missing inside.
      {"OLS, last regressor inside", ols, kX, {6}, kGap, nullptr},
      {"OLS, dependent inside", ols, kY, {2}, kGap, nullptr},
      {"IV, regressor inside", iv, kX, {11}, kGap, nullptr},
      {"logit, regressor inside", logit, kX, {6}, kGap, nullptr},
      {"logit, dependent inside", logit, kD, {3}, kGap, nullptr},
      // Missing values at the ends are left out silently.
      {"OLS, leading", ols, kX, {1, 2}, nullptr, "1990Q3 1992Q4"},
      {"OLS, trailing dependent", ols, kY, {12}, nullptr, "1990Q1 1992Q3"},
      {"IV, leading and trailing", iv, kX, {1, 12}, nullptr, "1990Q2 1992Q3"},
      {"logit, leading", logit, kX, {1}, nullptr, "1990Q2 1992Q4"},
      // The instruments: a missing value after the first complete observation is a gap,
      // leading ones are dropped.
      {"IV, instrument inside", iv, kZ, {7}, kInstrumentGap, nullptr},
      {"IV, instrument trailing", iv, kZ, {12}, kInstrumentGap, nullptr},
      {"IV, instrument leading", iv, kZ, {1}, nullptr, "1990Q2 1992Q4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string transcript = run(c.variable, c.missing, c.script(kWhole));
    if (c.refusal) {
      EXPECT_NE(transcript.find("message information 0 " + std::string(c.refusal)), std::string::npos) << transcript;
      EXPECT_EQ(transcript.find("--- page"), std::string::npos) << transcript;
      EXPECT_EQ(transcript.find("Calculating"), std::string::npos) << transcript;
      EXPECT_NE(transcript.find("menu 2004 Backtracking Menu"), std::string::npos) << transcript;
      // A gap in the equation is refused before any method is chosen, so no method escapes it.
      if (c.refusal == kGap) {
        EXPECT_EQ(transcript.find("menu 2014"), std::string::npos) << transcript;
        EXPECT_EQ(transcript.find("menu 2027"), std::string::npos) << transcript;
      }
      continue;
    }
    const std::string page = first_page(transcript);
    ASSERT_FALSE(page.empty()) << transcript;
    EXPECT_EQ(transcript.find("message "), std::string::npos) << transcript;
    EXPECT_EQ(page, first_page(run(c.variable, {}, c.script(c.same_as))));
  }
}

}  // namespace
