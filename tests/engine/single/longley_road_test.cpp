// NIST's Longley data through the whole road a user takes: a CSV data file read by the
// engine, the single-equation menus, the equation, the sample, OLS, and the results page.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "shared/qorv_api.h"
#include "tests/engine/single/longley_reference.h"
#include "tests/engine/single/page_reading.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

using namespace qorv;
using qorv::testing::Expected;

namespace {

class LongleyRoad : public qorv::testing::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ref_ = qorv::testing::read_longley();
    ASSERT_EQ(ref_.coef.size(), 7u);
    // The data file a user would have: an observation column, NIST's columns as they
    // stand, and a column of ones for the intercept.
    file_ = std::filesystem::path(::testing::TempDir()) / "longley.csv";
    std::ofstream out(file_);
    out.precision(17);
    out << "OBS,Y,X1,X2,X3,X4,X5,X6,INPT\n";
    for (size_t t = 0; t < ref_.rows.size(); ++t) {
      out << t + 1;
      for (const double v : ref_.rows[t]) out << "," << v;
      out << ",1\n";
    }
  }
  void TearDown() override {
    std::filesystem::remove(file_);
    EngineTest::TearDown();
  }

  static void set_slot(int16_t slot, int32_t value) { REGISTERINT(&value, &slot); }

  std::filesystem::path file_;
  qorv::testing::LongleyReference ref_;
};

TEST_F(LongleyRoad, CertifiedValuesOnThePageAndInTheEstimate) {
  ASSERT_TRUE(qorv::testing::open_data_file(file_)) << dialog_script::transcript_text();
  ASSERT_EQ(core::globals().nobs, 16);

  dialog_script::reset();
  set_slot(slots::kActionPreset, 2);
  dialog_script::load(
      "strict\n"
      "menu 1039 -> 1\n"
      "text -> \"Y INPT X1 X2 X3 X4 X5 X6\"\n"
      "string -> \"1 16\"\n"
      "menu 1014 -> 1\n"
      "results -> close\n"
      "menu 1002 -> 0\n"
      "menu 1004 -> 1\n");
  int16_t request = 3;
  DRIVER(&request);
  ASSERT_EQ(request, 0);

  // The estimate kept in the state, to 8 digits.
  const auto& s = single::estimation();
  ASSERT_EQ(s.status, single::status::kEstimated) << dialog_script::transcript_text();
  ASSERT_EQ(s.nused, 16);
  for (int j = 1; j <= 7; ++j) {
    SCOPED_TRACE(j);
    const double b = ref_.coef[static_cast<size_t>(j - 1)], se = ref_.se[static_cast<size_t>(j - 1)];
    EXPECT_NEAR(single::coefficient(j), b, 1e-8 * std::fabs(b));
    EXPECT_NEAR(std::sqrt(single::coefficient_variance(j, j)), se, 1e-8 * se);
  }
  EXPECT_NEAR(s.sigma, ref_.sigma, 1e-8 * ref_.sigma);

  // The page as the viewer received it, read by column at the printed precision.
  const auto page = qorv::testing::last_page();
  const size_t h = qorv::testing::find_line(page, "T-Ratio[Prob]");
  ASSERT_LT(h + 7, page.size()) << dialog_script::transcript_text();
  const char* names[] = {"INPT", "X1", "X2", "X3", "X4", "X5", "X6"};
  for (size_t j = 0; j < 7; ++j) {
    const std::string& row = page[h + 1 + j];
    SCOPED_TRACE(row);
    EXPECT_EQ(qorv::testing::trim(qorv::testing::columns(row, 2, 24)), names[j]);
    EXPECT_TRUE(qorv::testing::shows(qorv::testing::parse_number(qorv::testing::columns(row, 26, 34)),
                                     Expected{ref_.coef[j], 0.0, false}));
    EXPECT_TRUE(qorv::testing::shows(qorv::testing::parse_number(qorv::testing::columns(row, 45, 53)),
                                     Expected{ref_.se[j], 0.0, false}));
  }
  EXPECT_LT(qorv::testing::find_line(page, "16 observations used for estimation from"), page.size());
}

}  // namespace
