// Request 3 through DRIVER with the scripted dialogs: the roads through the action menus,
// the limit of the estimation sample, and a repeatable transcript.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/driver_state.h"
#include "engine/core/engine_state.h"
#include "engine/core/model_spec.h"
#include "engine/core/workspace.h"
#include "engine/road/request_road.h"
#include "shared/fixed_text.h"
#include "shared/qorv_api.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv;

class Driver : public qorv::testing::EngineTest {
 protected:
  /// A host loading 8 quarterly observations of Y and X, as the main program does.
  static void load_data_set() {
    const auto reg = [](int16_t slot, int32_t value) { REGISTERINT(&value, &slot); };
    reg(8, 8);
    reg(4, 2);
    reg(7, 4);
    reg(20, 4);
    reg(12, 90);
    reg(13, 1);
    reg(14, 1900);
    const double data[16] = {1, 2, 3, 4, 5, 6, 7, 8, 2, 1, 4, 3, 6, 5, 8, 7};
    const int16_t flag = 0, nobs = 8, nvars = 2, n9 = 9, d0 = 0;
    REGISTERDATA(data, &flag, &nobs, &nvars);
    for (int16_t i = 1; i <= 2; ++i) REGISTERVARS(i == 1 ? "Y        " : "X        ", "", &i, &n9, &d0);
    reg(1, 3);
    int16_t request = 1;
    DRIVER(&request);
    ASSERT_EQ(request, 0);
    dialog_script::reset();
  }

  static int16_t request3() {
    int16_t request = 3;
    DRIVER(&request);
    return request;
  }

  static int32_t slot(int16_t n) {
    int32_t v = 0;
    RETRIEVEINT(&v, &n);
    return v;
  }
};

TEST_F(Driver, CommandEditorRoadShowsNoMenu) {
  load_data_set();
  const int32_t one = 1, two = 2;
  const int16_t s5 = 5, s10 = 10;
  REGISTERINT(&one, &s5);
  REGISTERINT(&two, &s10);
  EXPECT_EQ(request3(), 0);
  EXPECT_EQ(dialog_script::transcript_text(), "");  // a blank command text runs nothing
  EXPECT_EQ(slot(5), -999);
  EXPECT_EQ(slot(10), -999);
  EXPECT_EQ(slot(4), 2);
  EXPECT_EQ(slot(30), 0);  // plots from the command editor are not shown at once
}

TEST_F(Driver, CancelledMethodMenuEndsTheRequest) {
  load_data_set();
  const int32_t two = 2;
  const int16_t s5 = 5;
  REGISTERINT(&two, &s5);
  dialog_script::load("strict\nmenu 1039 -> cancel\n");
  EXPECT_EQ(request3(), 0);
  // No specification screen follows, and the sample slots still name the data.
  EXPECT_EQ(dialog_script::transcript().size(), 1u + 8u);  // the menu line and its options 0..7
  EXPECT_EQ(slot(21), 1);  // no estimation yet: the whole data set
  EXPECT_EQ(slot(22), 8);
  EXPECT_EQ(slot(30), -1);
}

TEST_F(Driver, TwoScenariosInOneProcessGiveTheSameTranscript) {
  const auto scenario = [] {
    qorv::core::reset_engine_state();
    qorv::core::set_char_setting(charset::kProgramFolder, qorv::testing::program_folder().string());
    dialog_script::reset();
    load_data_set();
    const int32_t two = 2;
    const int16_t s5 = 5;
    REGISTERINT(&two, &s5);
    dialog_script::load("menu 1039 -> 1\ntext -> cancel\n");
    request3();
    return dialog_script::transcript_text();
  };
  const std::string first = scenario();
  EXPECT_EQ(first, scenario());
  EXPECT_NE(first.find("Single Equation Estimation Menu"), std::string::npos);
}

TEST_F(Driver, LinearRegressionFromTheEstimationWindowAndEachBacktrackingChoice) {
  // The estimation window's Start: slot 5 = 2, slot 6 = 1, the equation in character
  // setting 3 and the sample in setting 2. The first pass asks neither; the user leaves the
  // Estimation Menu (Linear Regression) at once, and the Backtracking Menu follows. Each
  // choice then asks exactly what it names before the next pass.
  const struct {
    int choice;
    const char* script;               // expectations of the second pass
    std::vector<std::string> dialogs; // what the second pass shows
    int regressors;
    int sample_start;
  } cases[] = {
      {2, "", {"menu", "menu"}, 2, 2},
      {3, "string -> \"1990Q3 1991Q4\"\n", {"string", "menu", "menu"}, 2, 3},
      {4, "text 3002 -> \"y x\"\n", {"text", "menu", "menu"}, 1, 2},
      {5, "text 3002 -> \"y x\"\nstring -> \"1990Q3 1991Q4\"\n", {"text", "string", "menu", "menu"}, 1, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.choice);
    core::reset_engine_state();
    core::set_char_setting(charset::kProgramFolder, qorv::testing::program_folder().string());
    core::set_char_setting(charset::kTempFolder, qorv::testing::temp_folder());
    dialog_script::reset();
    load_data_set();
    const int32_t two = 2, one = 1;
    const int16_t s5 = 5, s6 = 6;
    REGISTERINT(&two, &s5);
    REGISTERINT(&one, &s6);
    const std::string spec = " y x x(-1) ", sample = "1990Q2 1991Q4";
    const int16_t c3 = 3, c2 = 2, spec_len = static_cast<int16_t>(spec.size()),
                  sample_len = static_cast<int16_t>(sample.size());
    REGISTERCHAR(spec.c_str(), &spec_len, &c3);
    REGISTERCHAR(sample.c_str(), &sample_len, &c2);
    dialog_script::load("strict\nmenu 1014 -> 0\nmenu 1004 -> " + std::to_string(c.choice) + "\n" + c.script +
                        "menu 1014 -> 0\nmenu 1004 -> 1\n");
    EXPECT_EQ(request3(), 0);
    std::vector<std::string> dialogs;
    for (const std::string& line : dialog_script::transcript())
      if (!line.starts_with(" ") && !line.starts_with("busy")) dialogs.push_back(line.substr(0, line.find(' ')));
    std::vector<std::string> expected = {"menu", "menu"};
    expected.insert(expected.end(), c.dialogs.begin(), c.dialogs.end());
    EXPECT_EQ(dialogs, expected) << dialog_script::transcript_text();
    EXPECT_NE(dialog_script::transcript_text().find("menu 2014 Estimation Menu (Linear Regression) -> 0"),
              std::string::npos);
    // The equation of the last pass; its lagged X was a temporary, gone with the request.
    const auto& d = core::driver_state();
    EXPECT_EQ(d.regressor_count, c.regressors);
    ASSERT_GE(d.equation.size(), 2u);
    EXPECT_EQ(core::variable_name(d.equation[0]), "Y");
    EXPECT_EQ(core::variable_name(d.equation[1]), "X");
    EXPECT_EQ(slot(4), 2);
    EXPECT_EQ(slot(21), c.sample_start);
    EXPECT_EQ(slot(22), 8);
    EXPECT_TRUE(fixed_text::trim(core::char_setting(charset::kSpecification)).empty());
    // The equation editor was shown holding the preset equation, and its text refilled the window's boxes.
    const bool edited = c.choice >= 4;
    EXPECT_EQ(slot(25), edited ? 1 : 0);
    for (const auto& call : dialog_script::calls()) {
      if (call.kind != "text") continue;
      EXPECT_EQ(fixed_text::trim(call.block), "y x x(-1)");
    }
  }
}

TEST(DriverLimits, ObservationLimitAndItsMessage) {
  EXPECT_EQ(road::observation_limit(60), 2500);
  EXPECT_EQ(road::observation_limit(0), 3000);
  EXPECT_EQ(road::observation_limit(102), 1470);
  EXPECT_EQ(road::limit_message(2500), "Too many observations/variables (>  2500)");
  EXPECT_EQ(road::limit_message(3000), "Too many observations/variables (>  3000)");
}

}  // namespace
