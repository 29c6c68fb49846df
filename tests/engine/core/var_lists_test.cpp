#include "engine/core/var_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/temp_variables.h"
#include "engine/core/variable_deletion.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv;
using core::read_var_list;
using core::VarList;
constexpr double kMissing = limits::kMissing;

class VarLists : public qorv::testing::EngineTest {
 protected:
  // Twelve observations of Y = t, INPT = 1, X = 100 + t, Z = 200 + t.
  void SetUp() override {
    EngineTest::SetUp();
    auto& g = core::globals();
    g.nobs = 12;
    g.nvars = 0;
    add("Y", [](int t) { return double(t); });
    add("INPT", [](int) { return 1.0; });
    add("X", [](int t) { return 100.0 + t; });
    add("Z", [](int t) { return 200.0 + t; });
  }
  template <typename F>
  int add(const std::string& name, F value) {
    auto& g = core::globals();
    const int j = ++g.nvars;
    core::set_variable(j, name, "");
    for (int t = 1; t <= g.nobs; ++t) core::data_at(t, j) = value(t);
    return j;
  }
  static std::vector<double> column(const std::string& name) {
    const int j = core::find_variable(name);
    std::vector<double> out;
    for (int t = 1; t <= core::globals().nobs; ++t) out.push_back(core::data_at(t, j));
    return out;
  }
  static std::vector<std::string> workspace_names() {
    std::vector<std::string> out;
    for (int j = 1; j <= core::globals().nvars; ++j) out.push_back(core::variable_name(j));
    return out;
  }
  static VarList plain() { return VarList::with_dependent("", 0); }
};

TEST_F(VarLists, LagsLeadsAndRangesCreateTemporaries) {
  VarList list = VarList::with_dependent("Y", 1);
  const auto r = read_var_list("inpt Y(-1) Y{2 5 7-9} X{0-2} Z", list, 0, 200);
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(list.names, (std::vector<std::string>{"Y", "INPT", "Y(-1)", "Y(-2)", "Y(-5)", "Y(-7)",
                                                  "Y(-8)", "Y(-9)", "X", "X(-1)", "X(-2)", "Z"}));
  EXPECT_EQ(core::globals().nvars, 12);
  EXPECT_EQ(list.numbers[2], 5);
  EXPECT_TRUE(core::is_temporary(5));
  EXPECT_EQ(core::variable_desc(5), "Temporary variable");
  EXPECT_EQ(column("Y(-5)"), (std::vector<double>{kMissing, kMissing, kMissing, kMissing, kMissing,
                                                   1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(column("X(-2)"), (std::vector<double>{kMissing, kMissing, 101, 102, 103, 104, 105, 106,
                                                   107, 108, 109, 110}));
  // The record names the dependent variable itself for its own lags.
  ASSERT_EQ(list.record.size(), 12u);
  EXPECT_EQ(list.record[2].number, 1);
  EXPECT_EQ(list.record[2].lag, -1);
  EXPECT_EQ(list.record[7].number, 1);
  EXPECT_EQ(list.record[7].lag, -9);
  EXPECT_EQ(list.record[9].number, core::find_variable("X(-1)"));
  EXPECT_EQ(list.record[9].lag, -1);
  EXPECT_EQ(list.record[8].lag, 0);
  EXPECT_EQ(core::temporaries_registered(), 8u);
}

TEST_F(VarLists, LeadsAndLagsAtTheEdgesOfTheData) {
  VarList list = plain();
  ASSERT_TRUE(read_var_list("X(+2) X(-0012) Z(+11)", list, 1, 200).ok);
  EXPECT_EQ(column("X(+2)"), (std::vector<double>{103, 104, 105, 106, 107, 108, 109, 110, 111, 112,
                                                   kMissing, kMissing}));
  // A lag beyond the data is a column of missing values; leading zeros are dropped.
  EXPECT_EQ(list.names[2], "X(-12)");
  EXPECT_EQ(column("X(-12)"), std::vector<double>(12, kMissing));
  EXPECT_EQ(column("Z(+11)").front(), 212.0);
  // A lead must be shorter than the data, and a shift of 0 is no shift.
  for (const char* text : {"X(+12)", "X(-0)", "X(1)", "X(-12345)", "X(-1"}) {
    VarList l = plain();
    const auto r = read_var_list(text, l, 1, 200);
    EXPECT_FALSE(r.ok) << text;
    EXPECT_EQ(r.message, "") << text;  // only a beep
  }
}

TEST_F(VarLists, RefusalsSayWhy) {
  const struct {
    const char* text;
    int kind;
    const char* message;
  } cases[] = {
      {"X Z X", 1, " Variable X included more than once!"},
      {"X(-1) X{1}", 1, " Variable X(-1) included more than once!"},
      {"X(-01) X(-1)", 1, " Variable X(-1) included more than once!"},
      {"X FOO", 1, " Invalid or nonexistent variable name FOO specified, try again!"},
      {"FOO(-1)", 1, " Invalid or nonexistent variable name FOO(-1) specified, try again!"},
      {"", 1, " Invalid or nonexistent variable name specified, try again!"},
      {"<End> X", 1, " Invalid or nonexistent variable name specified, try again!"},
      {"ABCDEFGHIJKLMNO", 1, "Variable name too long!"},
      {"X(-1)", -1, " Invalid or nonexistent variable name X(-1) specified, try again!"},
      {"X(-1)", 23, " Invalid or nonexistent variable name X(-1) specified, try again!"},
      {"X{4-1}", 1, " Please type the lags in ascending order! "},
      {"X{}", 1, ""},
      {"{1-2}", 1, ""},
      {"X{1-100}", 1, ""},
      {"X{1-2", 1, ""},
      {"ABCDEFGHIJ{1}", 1, ""},
      {"X{1}Z", 1, ""},
  };
  for (const auto& c : cases) {
    VarList list = plain();
    const auto r = read_var_list(c.text, list, c.kind, 200);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_EQ(r.message, c.message) << c.text;
    EXPECT_EQ(list.names.size(), 1u) << c.text;
    EXPECT_EQ(core::globals().nvars, 4) << c.text;  // nothing created survives a refusal
  }
  EXPECT_EQ(core::temporaries_registered(), 0u);
}

TEST_F(VarLists, EndMarkerClosesTheText) {
  VarList list = plain();
  ASSERT_TRUE(read_var_list("X Z <end> anything here", list, 1, 200).ok);
  EXPECT_EQ(list.names.size(), 3u);
}

TEST_F(VarLists, ListLimitIsOneHundredAndTwo) {
  VarList list = plain();
  ASSERT_TRUE(read_var_list("Y INPT X{0-99}", list, 1, 200).ok);
  EXPECT_EQ(list.names.size(), 103u);
  const int nvars = core::globals().nvars;
  VarList more = plain();
  const auto r = read_var_list("Y INPT Z X{0-99}", more, 1, 200);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "Too many variables. A max. of 102 allowed!");
  EXPECT_EQ(core::globals().nvars, nvars);
}

TEST_F(VarLists, NoRoomUndoesTheWholeCall) {
  VarList list = plain();
  const auto r = read_var_list("X(-1) Z(-1)", list, 1, 5);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "Not enough space for creating additional temporary lagged variables!");
  EXPECT_EQ(workspace_names(), (std::vector<std::string>{"Y", "INPT", "X", "Z"}));
}

TEST_F(VarLists, TemporariesAreReusedAndCleanedUpByIdentity) {
  VarList first = plain();
  ASSERT_TRUE(read_var_list("X X(-1)", first, 1, 200).ok);
  const int w = add("W", [](int t) { return 300.0 + t; });  // a user variable after it
  VarList again = plain();
  ASSERT_TRUE(read_var_list("X(-1) Z(+1)", again, 1, 200).ok);
  EXPECT_EQ(again.numbers[1], 5);  // the same X(-1), no second copy
  EXPECT_EQ(core::globals().nvars, 7);
  EXPECT_EQ(core::temporaries_registered(), 2u);
  // The user deletes INPT: every later variable moves down one place.
  core::DELETEVARIABLE(2);
  EXPECT_EQ(core::delete_temporaries(), 2);
  EXPECT_EQ(workspace_names(), (std::vector<std::string>{"Y", "X", "Z", "W"}));
  EXPECT_DOUBLE_EQ(core::data_at(12, w - 2), 312.0);
  EXPECT_DOUBLE_EQ(core::data_at(1, 2), 101.0);
  EXPECT_EQ(core::temporaries_registered(), 0u);
}

TEST_F(VarLists, DropListsTakeOnlyExistingShifts) {
  VarList list = plain();
  ASSERT_TRUE(read_var_list("X(-1)", list, 1, 200).ok);
  VarList drop = plain();
  ASSERT_TRUE(read_var_list("X(-1) Z", drop, 23, 200).ok);
  EXPECT_EQ(drop.numbers[1], 5);
  EXPECT_EQ(core::globals().nvars, 5);
}

TEST_F(VarLists, UserVariableWithATemporarysNameIsNotTaken) {
  // Only the engine can make such a name; a clash gives the temporary a suffix.
  add("X(-1)", [](int) { return 7.0; });
  VarList list = plain();
  ASSERT_TRUE(read_var_list("X(-1)", list, 1, 200).ok);
  EXPECT_EQ(list.names[1], "X(-1)2");
  EXPECT_EQ(column("X(-1)2")[1], 101.0);
  EXPECT_EQ(column("X(-1)")[1], 7.0);
}

TEST_F(VarLists, ScopeRemovesWhatItsStatementCreated) {
  VarList outer = plain();
  ASSERT_TRUE(read_var_list("X(-1)", outer, 1, 200).ok);
  {
    core::TemporaryScope statement;
    VarList l = plain();
    ASSERT_TRUE(read_var_list("X(-1) X(-2) Z(+3)", l, 1, 200).ok);
    EXPECT_EQ(core::globals().nvars, 7);
  }
  EXPECT_EQ(workspace_names(), (std::vector<std::string>{"Y", "INPT", "X", "Z", "X(-1)"}));
}

TEST_F(VarLists, NewNames) {
  const struct {
    const char* text;
    int required;
    const char* message;  // nullptr: accepted
  } cases[] = {
      {"s1 S2 s3 S4", 4, nullptr},
      {"S1 S2 S3", 4, " Too few variables. You need 4 variables!"},
      {"S1 S2 S3 S4 S5", 4, " Too many variables. Only 4 required!"},
      {"S1 S2 S1 S4", 4, " Variable S1 included more than once!"},
      {"S1 X S3 S4", 4, " Variable X included more than once!"},  // already in the list
      {"S1 1S S3 S4", 4, " Invalid variable name 1S specified, try again!"},
      {"S1 LOG S3 S4", 4, " Invalid variable name LOG specified, try again!"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> names = {"Y", "X"};
    const auto r = core::check_new_names(c.text, names, c.required);
    EXPECT_EQ(r.ok, c.message == nullptr) << c.text;
    if (c.message) {
      EXPECT_EQ(r.message, c.message);
      EXPECT_EQ(names.size(), 2u);
    } else {
      EXPECT_EQ(names, (std::vector<std::string>{"Y", "X", "S1", "S2", "S3", "S4"}));
    }
  }
}

TEST_F(VarLists, RefusalsReachTheUser) {
  VarList list = plain();
  EXPECT_TRUE(core::PARSEVARLIST("X Z X", list, 1, 200));
  EXPECT_TRUE(core::PARSEVARLIST("X(-0)", list, 1, 200));
  std::vector<std::string> names = {"Y"};
  EXPECT_TRUE(core::CHECKNEWNAMES("S1 S2 S3", names, 4));
  EXPECT_FALSE(core::PARSEVARLIST("X Z", list, 1, 200));
  const std::vector<std::string> expected = {
      "message information 0 Variable X included more than once!", "beep",
      "message information 0 Too few variables. You need 4 variables!"};
  EXPECT_EQ(dialog_script::transcript(), expected);
}

}  // namespace
