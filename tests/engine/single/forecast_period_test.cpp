// The forecast period after the estimation sample and the one-line fit summary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/workspace.h"
#include "engine/single/forecast_period.h"
#include "engine/single/result_report.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using namespace qorv::single;
namespace macro = qorv::testing::macro;

namespace {

class ForecastPeriod : public qorv::testing::MacroTest {};

TEST_F(ForecastPeriod, AnswersChecksAndRegressors) {
  // Sample 1960Q1-2007Q2 (190 observations); forecasts from 2007Q3 (191) to at most 2008Q4 (196).
  const std::vector<int> regressors = {macro::kIntercept, macro::kLy};
  const std::string prompt =
      "string 0 Initial observation in the forecast period is: 2007Q3 Final observation for the forecast period (Max "
      "2008Q4)?";
  struct Row {
    const char* script;
    int mode;
    bool failed;
    int last;
    int beeps;
  };
  const Row rows[] = {
      {"string -> \"\"\n", kCheckRegressors, false, 196, 0},
      {"string -> \"2007Q2\" once\nstring -> \"2009Q1\" once\nstring -> \"Q3\" once\nstring -> \"2008q1\"\n",
       kCheckRegressors, false, 193, 3},
      {"string -> \"2007Q3\"\n", kCheckRegressors, false, 191, 0},
      {"string -> cancel\n", kCheckRegressors, true, 0, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.script);
    dialog_script::reset();
    dialog_script::load(r.script);
    int last = 0;
    EXPECT_EQ(FORECASTPERIOD(196, 191, last, regressors, r.mode), r.failed);
    EXPECT_EQ(last, r.last);
    const std::string text = dialog_script::transcript_text();
    EXPECT_EQ(text.rfind(prompt, 0), 0u) << text;
    size_t beeps = 0;
    for (size_t at = text.find("beep"); at != std::string::npos; at = text.find("beep", at + 1)) ++beeps;
    EXPECT_EQ(beeps, static_cast<size_t>(r.beeps));
  }
  // A regressor missing at the third forecast observation stops the forecast, unless only
  // the period is asked.
  core::data_at(193, macro::kLy) = limits::kMissing;
  dialog_script::reset();
  dialog_script::load("string -> \"\"\n");
  int last = 0;
  EXPECT_TRUE(FORECASTPERIOD(196, 191, last, regressors, kCheckRegressors));
  EXPECT_NE(dialog_script::transcript_text().find("message information 0 LY is not defined at observation 2008Q1, "
                                                  "can't forecast!"),
            std::string::npos)
      << dialog_script::transcript_text();
  // The system forecasts write the pieces one blank apart.
  dialog_script::reset();
  dialog_script::load("string -> \"\"\n");
  EXPECT_TRUE(FORECASTPERIOD(196, 191, last, regressors, kCheckRegressors, RefusalSpacing::kBlankApart));
  EXPECT_NE(dialog_script::transcript_text().find("LY is not defined at observation 2008Q1 , can't forecast!"),
            std::string::npos)
      << dialog_script::transcript_text();
  dialog_script::reset();
  dialog_script::load("string -> \"\"\n");
  EXPECT_FALSE(FORECASTPERIOD(196, 191, last, regressors, kPeriodOnly));
  EXPECT_EQ(last, 196);
  // A sample that ends with the data leaves nothing to forecast.
  dialog_script::reset();
  EXPECT_TRUE(FORECASTPERIOD(196, 197, last, regressors, kCheckRegressors));
  EXPECT_EQ(dialog_script::transcript_text(), "message information 0 No observation is available for forecasting!\n");
}

TEST(FitSummaryLine, DurbinWatsonRBarSquaredAndLogLikelihood) {
  // Written nowhere: the channel is closed.
  EXPECT_EQ(FITSUMMARYLINE(" Model M1:    DW", 1.2345, 0.98765, -123.4567, core::channel::kResultsPage),
            " Model M1:    DW    1.2345;R-Bar-Squared    .98765;Log-likelihood -123.4567    ");
  const std::string none = FITSUMMARYLINE(" Model M1+M2: DW", limits::kMissing, 1.0, limits::kMissing, 0);
  EXPECT_EQ(none.substr(0, 75), " Model M1+M2: DW    *NONE*;R-Bar-Squared    1.0000;Log-likelihood    *NONE*");
}

}  // namespace
