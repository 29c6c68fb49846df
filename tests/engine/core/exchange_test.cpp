// The exchange routines: what the host registers comes back as the engine keeps it, and
// nothing out of range is ever written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/core/engine_state.h"
#include "engine/core/workspace.h"
#include "shared/qorv_api.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;
using qorv::testing::EngineTest;

class ExchangeTest : public EngineTest {};

int32_t read_slot(int16_t n) {
  int32_t v = 12345;
  RETRIEVEINT(&v, &n);
  return v;
}
void write_slot(int16_t n, int32_t v) { REGISTERINT(&v, &n); }

TEST_F(ExchangeTest, SlotsStartAtLoadTimeValues) {
  for (int16_t n = 1; n <= 32; ++n) {
    const int32_t expected = (n == 25 || n >= 29) ? 0 : -999;
    EXPECT_EQ(read_slot(n), expected) << "slot " << n;
  }
}

TEST_F(ExchangeTest, SlotsOutOfRangeAreIgnoredAndReadUnset) {
  for (int16_t n : {int16_t{0}, int16_t{33}, int16_t{-1}, int16_t{32767}}) {
    write_slot(n, 7);
    EXPECT_EQ(read_slot(n), -999) << "slot " << n;
  }
  for (int16_t n = 1; n <= 32; ++n) EXPECT_NE(read_slot(n), 7);
}

TEST_F(ExchangeTest, SlotRules) {
  write_slot(26, 45);  // lines per page also reach the report writer's word
  EXPECT_EQ(globals().page_lines, 45);
  write_slot(25, 1);  // slot 25 is derived, never stored
  EXPECT_EQ(read_slot(25), 0);
  write_slot(32, -1);
  EXPECT_EQ(read_slot(25), 1);
  write_slot(32, 0);
  EXPECT_EQ(read_slot(25), 0);
  EXPECT_EQ(take_preset(6), -999);
  write_slot(6, 3);
  EXPECT_EQ(take_preset(6), 3);
  EXPECT_EQ(read_slot(6), -999);
}

TEST_F(ExchangeTest, PlotCounterHalvesNeverCarry) {
  const int32_t both = slots::make_plot_counters(0xFFFF, 7);
  EXPECT_EQ(slots::plots_kept(both), 0xFFFF);
  EXPECT_EQ(slots::running_plot_number(both), 7);
  EXPECT_EQ(slots::running_plot_number(slots::make_plot_counters(0xFFFF, 0xFFFF)), 0xFFFF);
}

struct VarCase {
  const char* what;
  std::string name;
  int16_t name_len;
  std::string desc;
  int16_t desc_len;
  std::string want_name;
  int16_t want_name_len;
  std::string want_desc;
  int16_t want_desc_len;
};

TEST_F(ExchangeTest, VariablesRoundTrip) {
  const std::string long80(80, 'D');
  const std::vector<VarCase> cases = {
      {"plain", "INC", 3, "Income", 6, "INC      ", 3, "Income", 6},
      {"20-character name keeps 9", "ABCDEFGHIJKLMNOPQRST", 20, "", 0, "ABCDEFGHI", 9, "", 0},
      {"blank description has length 0", "X", 1, "      ", 6, "X        ", 1, "", 0},
      {"negative lengths store blanks", "X", -5, "desc", -5, "         ", 0, "", 0},
      {"description cut at 80", "Y", 1, long80 + "EXTRA", 85, "Y        ", 1, long80, 80},
      {"byte 0xE9 survives", "P", 1, "caf\xE9", 4, "P        ", 1, "caf\xE9", 4},
  };
  int16_t index = 1;
  for (const auto& c : cases) {
    REGISTERVARS(c.name.data(), c.desc.data(), &index, &c.name_len, &c.desc_len);
    char name[9];
    char desc[80];
    int16_t nl = -1, dl = -1;
    RETRIEVEVARS(name, desc, &index, &nl, &dl);
    EXPECT_EQ(std::string(name, 9), c.want_name) << c.what;
    EXPECT_EQ(nl, c.want_name_len) << c.what;
    EXPECT_EQ(std::string(desc, static_cast<std::size_t>(dl)), c.want_desc) << c.what;
    EXPECT_EQ(dl, c.want_desc_len) << c.what;
  }
}

TEST_F(ExchangeTest, VariableIndexOutOfRangeWritesNothing) {
  const int16_t nl = 1, dl = 1;
  for (int16_t index : {int16_t{0}, int16_t{201}, int16_t{-3}}) {
    REGISTERVARS("Q", "q", &index, &nl, &dl);
    char name[9];
    char desc[80];
    int16_t rn = -1, rd = -1;
    RETRIEVEVARS(name, desc, &index, &rn, &rd);
    EXPECT_EQ(rn, 0);
    EXPECT_EQ(rd, 0);
    EXPECT_EQ(std::string(name, 9), std::string(9, ' '));
  }
  for (int i = 1; i <= 200; ++i) ASSERT_EQ(variable_name(i), "") << i;
}

TEST_F(ExchangeTest, CharacterSettings) {
  struct Case {
    const char* what;
    int16_t code;
    std::string text;
    int16_t len;
    std::string want;  // trimmed
    std::size_t width;
  };
  const std::string path(1100, 'p');
  const std::vector<Case> cases = {
      {"sample text", 2, "1975M10 1985M12", 15, "1975M10 1985M12", 32},
      {"negative length stores blanks", 2, "1 10", -5, "", 32},
      {"path cut at the field width", 1, path, static_cast<int16_t>(path.size()), path.substr(0, 1024), 1024},
      {"length shorter than the text", 4, "/tmp/abc", 4, "/tmp", 1024},
      {"specification", 3, "Y C X", 5, "Y C X", 3120},
  };
  for (const auto& c : cases) {
    REGISTERCHAR(c.text.data(), &c.len, &c.code);
    const std::string_view s = char_setting(c.code);
    EXPECT_EQ(s.size(), c.width) << c.what;
    EXPECT_EQ(std::string(s.substr(0, s.find_last_not_of(' ') + 1)), c.want) << c.what;
  }
  const int16_t bad = 6, len = 3;
  REGISTERCHAR("abc", &len, &bad);  // unknown code: nothing changes
  for (int16_t code = 1; code <= 5; ++code)
    EXPECT_EQ(char_setting(code).find("abc"), std::string_view::npos);
}

TEST_F(ExchangeTest, DataCopiesAreFlatAndColumnMajor) {
  const int16_t nobs = 3, nvars = 2, flag = 0;
  const std::vector<double> data = {1, 2, 3, 10, 20, 30};
  REGISTERDATA(data.data(), &flag, &nobs, &nvars);
  globals().nobs = 3;
  EXPECT_EQ(data_at(2, 2), 20);
  std::vector<double> back(6, 0.0);
  RETRIEVEDATA(back.data(), &nobs, &nvars);
  EXPECT_EQ(back, data);
  EXPECT_EQ(dialog_script::transcript(),
            (std::vector<std::string>{"busy begin Loading data...", "busy end",
                                      "busy begin Loading data...", "busy end"}));
}

TEST_F(ExchangeTest, DataCountsOutsideTheMatrixCopyNothing) {
  std::vector<double> big(3100 * 41, 1.0);
  const int16_t flag = 0;
  struct Case {
    int16_t nobs, nvars;
  };
  for (const Case c : {Case{3100, 41}, Case{-1, 5}, Case{5, -1}, Case{0, 10}}) {
    REGISTERDATA(big.data(), &flag, &c.nobs, &c.nvars);
    const auto w = work_array();
    EXPECT_TRUE(std::all_of(w.begin(), w.end(), [](double v) { return v == 0.0; }))
        << c.nobs << " x " << c.nvars;
  }
  // every call still shows and ends the busy state
  EXPECT_EQ(dialog_script::transcript().size(), 8u);
}

TEST_F(ExchangeTest, FirstRequestLaysOutTheWorkspace) {
  struct Case {
    int32_t nobs;
    int want_max_vars;
  };
  for (const Case c : {Case{400, 200}, Case{1000, 124}, Case{3100, 40}, Case{-999, 200}, Case{0, 200}}) {
    qorv::core::reset_engine_state();
    write_slot(8, c.nobs);
    int16_t request = 2;
    DRIVER(&request);
    EXPECT_EQ(globals().max_vars, c.want_max_vars) << "nobs " << c.nobs;
    EXPECT_EQ(read_slot(23), 124000);
  }
}

}  // namespace
