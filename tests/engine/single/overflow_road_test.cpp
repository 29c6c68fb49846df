// Data too large to be squared, through the road a user takes: a value whose square
// overflows is named as too large to be used, not taken for collinearity; a value whose
// square still fits gives an estimate or the collinearity verdict, never a number that is
// not finite; an exactly collinear design still gives the collinearity message.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "shared/qorv_api.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

using namespace qorv;

namespace {

constexpr int kRows = 12;

class OverflowRoad : public qorv::testing::EngineTest {
 protected:
  void TearDown() override {
    std::filesystem::remove(file_);
    EngineTest::TearDown();
  }

  static void set_slot(int16_t slot, int32_t value) { REGISTERINT(&value, &slot); }

  // Loads Y, X, INPT and X2 = 2·X, with `value` at observation 5 of `column` (0 for Y, 1
  // for X), then estimates `equation` by OLS over the whole sample. Returns the transcript.
  std::string estimate(int column, double value, const std::string& equation) {
    file_ = std::filesystem::path(::testing::TempDir()) /
            (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".csv");
    {
      std::ofstream out(file_);
      out.precision(17);
      out << "OBS,Y,X,INPT,X2\n";
      const double y[kRows] = {3.1, 2.4, 5.6, 4.4, 6.0, 5.1, 7.9, 6.6, 8.2, 9.7, 8.8, 10.5};
      for (int t = 0; t < kRows; ++t) {
        const double x = t + 1.0;
        double row[2] = {y[t], x};
        if (t == 4) row[column] = value;
        out << t + 1 << ',' << row[0] << ',' << row[1] << ",1," << 2 * x << '\n';
      }
    }
    dialog_script::reset();
    EXPECT_TRUE(qorv::testing::open_data_file(file_)) << dialog_script::transcript_text();

    dialog_script::reset();
    set_slot(slots::kActionPreset, 2);
    dialog_script::load(
        "menu 1039 -> 1 once\n"
        "text -> \"" + equation + "\" once\n"
        "string -> \"1 12\" once\n"
        "menu 1014 -> 1 once\n"
        "results -> close\n"
        "menu 1002 -> 0\n"
        "menu 1004 -> 1\n");
    dialog_script::set_cap(60);
    int16_t request = 3;
    DRIVER(&request);
    const std::string transcript = dialog_script::transcript_text();
    dialog_script::take_failures();
    return transcript;
  }

  std::filesystem::path file_;
};

// A printed infinity or NaN: "inf", "infinity" or "nan" as a word, in any case.
bool prints_non_finite(const std::string& text) {
  static const std::regex word("(^|[^a-z])(inf|infinity|nan)([^a-z]|$)", std::regex::icase);
  return std::regex_search(text, word);
}

TEST_F(OverflowRoad, TooLargeValuesAreNamedNotTakenForCollinearity) {
  const struct {
    int column;
    double value;
    const char* name;
  } cases[] = {
      {0, 1e300, "Y"}, {0, -1e300, "Y"}, {0, 1e200, "Y"},
      {1, 1e300, "X"}, {1, -1e300, "X"}, {1, 1e200, "X"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.name << " " << c.value);
    const std::string transcript = estimate(c.column, c.value, "Y INPT X");
    EXPECT_NE(transcript.find("message error 0 The values of " + std::string(c.name) +
                              " are too large to be used - please scale them!"),
              std::string::npos)
        << transcript;
    EXPECT_EQ(transcript.find("exact linear combinations"), std::string::npos) << transcript;
    EXPECT_NE(single::estimation().status, single::status::kEstimated);
    EXPECT_FALSE(prints_non_finite(transcript)) << transcript;
    EXPECT_TRUE(std::isfinite(single::estimation().depmean) && std::isfinite(single::estimation().depvar));
  }
}

TEST_F(OverflowRoad, ValuesWhoseSquaresFitGiveFiniteResults) {
  for (const int column : {0, 1}) {
    SCOPED_TRACE(column);
    const std::string transcript = estimate(column, 1e150, "Y INPT X");
    EXPECT_EQ(transcript.find("too large to be used"), std::string::npos) << transcript;
    const bool estimated = transcript.find("Ordinary Least Squares Estimation") != std::string::npos;
    const bool collinear = transcript.find("exact linear combinations") != std::string::npos;
    EXPECT_TRUE(estimated || collinear) << transcript;
    EXPECT_FALSE(prints_non_finite(transcript)) << transcript;
  }
}

TEST_F(OverflowRoad, ExactCollinearityKeepsItsMessage) {
  const std::string transcript = estimate(0, 5.0, "Y INPT X X2");
  EXPECT_NE(transcript.find("exact linear combinations"), std::string::npos) << transcript;
  EXPECT_EQ(transcript.find("too large"), std::string::npos) << transcript;
}

}  // namespace
