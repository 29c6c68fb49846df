// The method table: the menu options that choose each method, the rows of the methods
// still to be built, and the texts their pages and refusals carry.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/single/estimation_titles.h"
#include "engine/single/method_table.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

using namespace qorv;
using namespace qorv::single;

namespace {

class MethodTable : public qorv::testing::EngineTest {};

TEST_F(MethodTable, MenuOptionsChooseTheirMethods) {
  struct Offer {
    int menu, option, code;
  };
  // Linear Regression Menu 1014, Non-Linear 1034, Recursive 1035, Rolling 1047.
  const Offer offers[] = {
      {1014, 1, 1},  {1014, 2, 5},  {1014, 3, 3},  {1014, 4, 2},  {1014, 5, 6},  {1014, 6, 8},
      {1014, 7, 10}, {1014, 8, 12}, {1014, 9, 70}, {1034, 2, 14}, {1034, 3, 15}, {1035, 1, 60},
      {1035, 2, 61}, {1047, 2, 18}, {1047, 3, 19},
  };
  for (const Offer& o : offers) EXPECT_EQ(method_of_option(o.menu, o.option), o.code) << o.menu << "/" << o.option;
  for (const auto& [menu, option] : {std::pair{1014, 0}, {1014, 10}, {1034, 1}, {1047, 1}, {1035, 3}, {1002, 1}})
    EXPECT_EQ(method_of_option(menu, option), 0) << menu << "/" << option;
  // No option chooses two methods.
  std::set<std::pair<int, int>> seen;
  for (const MethodRow& row : method_rows()) {
    if (row.offer.menu != 0) {
      EXPECT_TRUE(seen.insert({row.offer.menu, row.offer.option}).second) << row.code;
    }
  }
}

TEST_F(MethodTable, LagsWithGapsKeepTheirMethodsTexts) {
  // 6/7, 8/9, 10/11, 12/13: the same method, named and worded alike.
  for (const MethodRow& row : method_rows()) {
    if (row.gaps_code == 0) continue;
    SCOPED_TRACE(row.code);
    const MethodRow& gaps = method_row(row.gaps_code);
    EXPECT_EQ(gaps.code, row.code + 1);
    EXPECT_EQ(gaps.name, row.name);
    EXPECT_EQ(gaps.word, row.word);
    EXPECT_EQ(gaps.lags, row.lags);
    EXPECT_EQ(gaps.instruments, row.instruments);
    EXPECT_EQ(gaps.iv_fit, row.iv_fit);
  }
}

TEST_F(MethodTable, MethodsToBeBuiltAreRefusedByName) {
  for (const int code : {method::kOls, method::kIv, method::kCochraneOrcutt, method::kExactAr2, method::kIvMaGaps,
                         method::kPhillipsHansen, method::kRollingOls, method::kRecursive2sls, method::kNls,
                         method::kNl2sls, method::kGarch})
    EXPECT_TRUE(method_available(code)) << code;
  const std::pair<int, const char*> refused[] = {
      {method::kLogit, "Logit and probit estimation"},
      {99, "This estimation method"},
  };
  for (const auto& [code, name] : refused) {
    SCOPED_TRACE(code);
    EXPECT_FALSE(method_available(code));
    dialog_script::reset();
    refuse_method(code);
    const std::string refusal = std::string(name) + " is not available in this version of Zelvorin.";
    EXPECT_NE(dialog_script::transcript_text().find(refusal), std::string::npos) << dialog_script::transcript_text();
  }
}

TEST_F(MethodTable, EveryMethodWordHasSixColumns) {
  for (const MethodRow& row : method_rows()) EXPECT_EQ(method_word(row.code).size(), 6u) << row.code;
  EXPECT_EQ(method_word(99), "      ");
  EXPECT_EQ(method_word(method::kRecursiveOls), "      ");
  EXPECT_EQ(method_word(method::kErrorCorrection), "CVAR  ");
}

}  // namespace
