// Constants, trends and seasonal dummies: the menu, the main program's buttons, the
// values, the names and the room left in the workspace.
#include "engine/data/dummy_variables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/obs_calendar.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv;

class DummyVariables : public qorv::testing::EngineTest {
 protected:
  /// A data set of `nobs` observations of frequency `frequency` from `period`, one variable Y.
  static void data_set(int nobs, int frequency, int period) {
    auto& g = core::globals();
    g.nobs = nobs;
    g.nvars = 1;
    g.frequency = frequency;
    g.periods_per_year = obs_calendar::periods_per_year(frequency);
    g.start_year = 60;
    g.start_period = period;
    g.century_base = frequency > 2 ? 1900 : 0;
    g.max_vars = limits::max_vars_for(nobs);
    core::set_variable(1, "Y", "");
  }
  static std::vector<double> column(int j) {
    std::vector<double> out;
    for (int t = 1; t <= core::globals().nobs; ++t) out.push_back(core::data_at(t, j));
    return out;
  }
};

TEST_F(DummyVariables, MenuCreatesConstantAndTrend) {
  data_set(4, 1, 1);
  dialog_script::load(R"S(strict
menu 1012 -> 1
string "constant term" -> "y"
string "constant term" -> "one intercept"
menu 1012 -> 2
string "time trend" -> cancel
menu 1012 -> 2
string "time trend" -> "T"
menu 1012 -> 0
)S");
  data::DUMMYVARS();
  const auto& g = core::globals();
  ASSERT_EQ(g.nvars, 3);
  EXPECT_EQ(core::variable_name(2), "ONE");
  EXPECT_EQ(core::variable_desc(2), "Intercept term");
  EXPECT_EQ(column(2), (std::vector<double>{1, 1, 1, 1}));
  EXPECT_EQ(core::variable_name(3), "T");
  EXPECT_EQ(core::variable_desc(3), "Time trend");
  EXPECT_EQ(column(3), (std::vector<double>{1, 2, 3, 4}));
  const auto& t = dialog_script::transcript();
  EXPECT_EQ(t[0], "menu 2012 Dummy Variable Creation Menu -> 1");
  EXPECT_EQ(t[1], "  0. Move to Data Processing Menu");
  EXPECT_EQ(t[6], "  5. Create seasonal dummies relative to the last season");
  EXPECT_EQ(t[7], "string 0 Supply name for the constant term: -> \"y\"");
  EXPECT_EQ(t[8], "message information 0 Variable Y already exists!");
}

TEST_F(DummyVariables, FullWorkspaceRefusesOneVariable) {
  data_set(3100, 1, 1);
  core::globals().nvars = 40;
  core::set_slot(slots::kToolbarFunction, data::kTimeTrend);
  data::DUMMYVARS();
  EXPECT_EQ(dialog_script::transcript_text(),
            "message information 0 Not enough store on your work space, you must delete at least 1 variable!\n");
  EXPECT_EQ(core::globals().nvars, 40);
}

TEST_F(DummyVariables, SeasonalValues) {
  const double M3 = -0.25;
  // Centred quarterly dummies from the third quarter: observation 1 is in dummy 3.
  EXPECT_EQ(data::seasonal_dummies(data::kCentredSeasonal, 4, 3, 5),
            (std::vector<double>{M3, M3, 0.75, M3, M3,     // dummy 1: observation 3 is 1961Q1
                                 M3, M3, M3, 0.75, M3,     // dummy 2
                                 0.75, M3, M3, M3, 0.75,   // dummy 3
                                 M3, 0.75, M3, M3, M3}));  // dummy 4
  EXPECT_EQ(data::seasonal_dummies(data::kSeasonal, 2, 1, 3), (std::vector<double>{1, 0, 1, 0, 1, 0}));
  // Seasons 2, 3, 1, 2. Relative to the last season: 1 in their season, -1 in the last, 0 elsewhere.
  EXPECT_EQ(data::seasonal_dummies(data::kRelativeSeasonal, 3, 2, 4),
            (std::vector<double>{0, -1, 1, 0, 1, -1, 0, 1}));
}

TEST_F(DummyVariables, ButtonMakesQuarterlyDummiesWithoutTheMenu) {
  data_set(6, 4, 3);
  core::set_slot(slots::kToolbarFunction, data::kSeasonal);
  dialog_script::load(R"S(strict
string "seasonal dummy" -> "S1 S2 S3"
string "seasonal dummy" -> "Q1 Q2 Q3 Q4"
)S");
  data::DUMMYVARS();
  ASSERT_EQ(core::globals().nvars, 5);
  EXPECT_EQ(core::variable_name(2), "Q1");
  EXPECT_EQ(core::variable_desc(5), "Seasonal dummy variable 4");
  EXPECT_EQ(column(4), (std::vector<double>{1, 0, 0, 0, 1, 0}));  // 1960Q3 is the first observation
  const auto& t = dialog_script::transcript();
  EXPECT_EQ(t[0], "string 0 Names of the seasonal dummy variables: -> \"S1 S2 S3\"");
  EXPECT_EQ(t[1], "message information 0 Too few variables. You need 4 variables!");
  EXPECT_EQ(core::slot(slots::kToolbarFunction), slots::kUnset);
}

TEST_F(DummyVariables, PeriodicityOfUndatedData) {
  data_set(5, 1, 1);
  dialog_script::load(R"S(strict
menu 1012 -> 5
integer "Periodicity" -> 1
integer "Periodicity" -> 101
integer "Periodicity" -> 3
string "seasonal dummy" -> "SR1 SR2"
menu 1012 -> 4
integer "Periodicity" -> cancel
)S");
  data::DUMMYVARS();
  ASSERT_EQ(core::globals().nvars, 3);
  EXPECT_EQ(column(2), (std::vector<double>{1, 0, -1, 1, 0}));
  EXPECT_EQ(core::variable_desc(3), "Relative seasonal dummy variable 2");
  const auto& t = dialog_script::transcript();
  EXPECT_EQ(t[7], "integer 0 Periodicity (any number greater than 1). 2 for half-yearly, 4 for quarterly, 12 for "
                  "monthly data etc. -> 1");
  EXPECT_EQ(t[8], "beep");
  EXPECT_EQ(t[10], "beep");
}

TEST_F(DummyVariables, NoRoomForTheSeasons) {
  data_set(1000, 5, 1);  // 124 variables fit
  core::globals().nvars = 120;
  core::set_slot(slots::kToolbarFunction, data::kCentredSeasonal);
  data::DUMMYVARS();
  EXPECT_EQ(dialog_script::transcript_text(),
            "message information 0 Not enough store on workspace, you must delete at least 8 variable(s)!\n");
  EXPECT_EQ(core::globals().nvars, 120);
}

}  // namespace
