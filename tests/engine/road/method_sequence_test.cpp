// One estimate after another in the same session: the pages of an estimate are the pages
// the same estimate shows in a fresh session, whatever method ran before it. Request 3
// through DRIVER with the scripted dialogs, on the US macro data with a binary variable.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/core/engine_state.h"
#include "engine/core/workspace.h"
#include "shared/qorv_api.h"
#include "tests/engine/single/macro_reference.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv;

/// Variables of the data set, in this order; HIGH is 1 where INFL exceeds 4.
const std::array<const char*, 6> kNames = {"INPT     ", "LC       ", "LY       ", "INFL     ", "R        ",
                                           "HIGH     "};

/// One estimate through the menus: its name and the script from the estimation window
/// back to it.
struct Estimate {
  const char* name;
  const char* script;
};

const Estimate kAr1{"AR(1)",
                    "menu 1039 -> 1\ntext -> \"INFL INPT R\"\nstring -> \"1960Q1 2008Q4\"\nmenu 1014 -> 3\n"
                    "integer -> 1\nresults -> close\ngraph -> close\nmenu 1002 -> 0\nmenu 1004 -> 1\n"};
const Estimate kMa1{"MA(1)",
                    "menu 1039 -> 1\ntext -> \"INFL INPT R\"\nstring -> \"1960Q1 2008Q4\"\nmenu 1014 -> 7\n"
                    "string -> \"1\"\nmenu 1023 -> 1\nresults -> close\ngraph -> close\nmenu 1002 -> 0\n"
                    "menu 1004 -> 1\n"};
const Estimate kGarch{"GARCH",
                      "menu 1039 -> 1\ntext -> \"R INPT INFL\"\nstring -> \"1960Q2 2008Q4\"\nmenu 1014 -> 9\n"
                      "menu 1017 -> 1\nmenu 1016 -> 1\ntext \"lags\" -> \"1 ; 1\"\n"
                      "text \"variance equation\" -> \"\"\nvalues -> keep\nreal -> 1.0\n"
                      "yesno \"Nonstationarity\" -> yes\nresults -> close\n"
                      "menu 1002 -> 0\nmenu 1017 -> 0\nmenu 1004 -> 1\n"};
const Estimate kNls{"NLS",
                    "menu 1039 -> 4\ntext -> \"LC = A + B*LY + C*INFL + D*R\"\nvalues -> 0 0 0 0\n"
                    "string -> \"1960Q1 2008Q4\"\nmenu 1034 -> 2\nresults -> close\nmenu 1002 -> 0\nmenu 1004 -> 1\n"};
const Estimate kLogit{"logit",
                      "menu 1039 -> 7\ntext -> \"HIGH INPT R LY\"\nstring -> \"1960Q1 2008Q4\"\nmenu 1027 -> 1\n"
                      "results -> close\nmenu 1029 -> 0\nmenu 1027 -> 0\nmenu 1004 -> 1\n"};
const Estimate kProbit{"probit",
                       "menu 1039 -> 7\ntext -> \"HIGH INPT R LY\"\nstring -> \"1960Q1 2008Q4\"\nmenu 1027 -> 2\n"
                       "results -> close\nmenu 1029 -> 0\nmenu 1027 -> 0\nmenu 1004 -> 1\n"};
const Estimate kIv{"IV",
                   "menu 1039 -> 1\ntext -> \"LC INPT LY INFL\"\nstring -> \"1960Q1 2008Q4\"\nmenu 1014 -> 2\n"
                   "text \"List the instrument(s)\" -> \"INPT LY R\"\nresults -> close\nmenu 1002 -> 0\n"
                   "menu 1004 -> 1\n"};
const Estimate kOls{"OLS",
                    "menu 1039 -> 1\ntext -> \"LC INPT LY INFL R\"\nstring -> \"1960Q1 2008Q4\"\nmenu 1014 -> 1\n"
                    "results -> close\nmenu 1002 -> 0\nmenu 1004 -> 1\n"};

/// A fresh engine with the data set loaded.
void fresh_session() {
  core::reset_engine_state();
  core::set_char_setting(charset::kProgramFolder, qorv::testing::program_folder().string());
  core::set_char_setting(charset::kTempFolder, qorv::testing::temp_folder());
  dialog_script::reset();
  const auto rows = qorv::testing::read_data_table(qorv::testing::macro_reference_file("data.csv")).rows;
  const auto reg = [](int16_t slot, int32_t value) { REGISTERINT(&value, &slot); };
  const int nobs = static_cast<int>(rows.size());
  reg(8, nobs);
  reg(4, static_cast<int32_t>(kNames.size()));
  reg(7, 4);
  reg(20, 4);
  reg(12, 60);
  reg(13, 1);
  reg(14, 1900);
  std::vector<double> data;
  for (std::size_t v = 0; v < 5; ++v)
    for (const auto& row : rows) data.push_back(row[v]);
  for (const auto& row : rows) data.push_back(row[3] > 4.0 ? 1.0 : 0.0);
  const int16_t flag = 0, n = static_cast<int16_t>(nobs), nvars = static_cast<int16_t>(kNames.size()), n9 = 9,
                d0 = 0;
  REGISTERDATA(data.data(), &flag, &n, &nvars);
  for (int16_t i = 1; i <= nvars; ++i) REGISTERVARS(kNames[static_cast<std::size_t>(i - 1)], "", &i, &n9, &d0);
  reg(1, 3);
  int16_t request = 1;
  DRIVER(&request);
}

/// Runs one estimate in the current session; returns its results pages.
std::vector<std::vector<std::string>> run(const Estimate& e) {
  dialog_script::reset();
  const int16_t slot = 5;
  const int32_t single_equation = 2;
  REGISTERINT(&single_equation, &slot);
  dialog_script::load(std::string("strict\n") + e.script);
  int16_t request = 3;
  DRIVER(&request);
  EXPECT_TRUE(dialog_script::failures().empty()) << e.name << "\n" << dialog_script::transcript_text();
  return dialog_script::pages();
}

class MethodSequence : public qorv::testing::EngineTest {};

// Every method after every other: the second estimate's pages are those of a fresh session.
TEST_F(MethodSequence, AnEstimateShowsWhatAFreshSessionShows) {
  const std::array<const Estimate*, 6> firsts = {&kAr1, &kMa1, &kGarch, &kNls, &kLogit, &kIv};
  const std::array<const Estimate*, 4> seconds = {&kOls, &kLogit, &kProbit, &kNls};
  for (const Estimate* second : seconds) {
    fresh_session();
    const auto alone = run(*second);
    ASSERT_FALSE(alone.empty()) << second->name;
    for (const Estimate* first : firsts) {
      SCOPED_TRACE(std::string(first->name) + " then " + second->name);
      fresh_session();
      ASSERT_FALSE(run(*first).empty());
      EXPECT_EQ(run(*second), alone);
    }
  }
}

}  // namespace
