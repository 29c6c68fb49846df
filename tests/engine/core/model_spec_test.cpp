#include "engine/core/model_spec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/temp_variables.h"
#include "engine/core/workspace.h"
#include "shared/equation_box.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "tests/engine/core/spec_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace {

using namespace qorv;
using core::SpecRequest;
using core::SpecResult;
using Names = std::vector<std::string>;

class ModelSpec : public qorv::testing::SpecTest {
 protected:
  /// The message lines of the transcript.
  static Names messages() {
    Names out;
    for (const std::string& line : dialog_script::transcript())
      if (line.starts_with("message ")) out.push_back(line);
    return out;
  }
  /// The texts handed to the editor, trimmed, in order.
  static Names shown_texts() {
    Names out;
    for (const auto& call : dialog_script::calls())
      if (call.kind == "text") out.emplace_back(fixed_text::trim_right(call.block));
    return out;
  }
  /// The editor panel file's lines, trailing blanks removed.
  Names panel() const {
    core::close_all_channels();
    Names out;
    for (const std::string& l : lines_of(folder_ / "J$.TTT")) out.emplace_back(fixed_text::trim_right(l));
    return out;
  }
  static SpecRequest regression_context(int kind) {
    SpecRequest r;
    r.kind = kind;
    r.model_dependent = "Y";
    r.model_names = {"INPT", "X", "Z", "W1"};
    return r;
  }
};

TEST_F(ModelSpec, RegressionRefusalsThenTheCorrectedText) {
  dialog_script::load(R"(strict
text 3002 -> "Q X"
text 3002 -> "Y X X"
text 3002 -> "   "
text 3002 -> "Y"
text 3002 -> "y x(-1) INPT <end> W1"
)");
  const SpecResult r = core::SPECIFYMODEL(SpecRequest{});
  ASSERT_FALSE(r.cancelled);
  EXPECT_EQ(names_of(r.numbers), (Names{"Y", "X(-1)", "INPT"}));
  EXPECT_EQ(r.names, (Names{"Y", "X(-1)", "INPT"}));
  ASSERT_EQ(r.record.size(), 3u);
  EXPECT_EQ(r.record[1].number, core::find_variable("X(-1)"));
  EXPECT_EQ(r.record[1].lag, -1);
  EXPECT_EQ(messages(), (Names{"message information 0 Variable Q does not exist or is not valid!",
                               "message information 0 Variable X included more than once!",
                               "message information 0 Invalid or nonexistent variable name specified, try again!"}));
  // Each refusal shows the editor again holding the text as typed (a blank text silently).
  EXPECT_EQ(shown_texts(), (Names{"", "Q X", "Y X X", "", "Y"}));
  // The text as typed is kept for the next visit, and the estimation window's boxes get it.
  EXPECT_EQ(fixed_text::trim_right(core::saved_spec(core::kGeneralFamily).text), "y x(-1) INPT <end> W1");
  EXPECT_EQ(equation_box::read_lines(folder_ / "E$.TTT"), (Names{"y x(-1) INPT <end> W1"}));
  EXPECT_EQ(core::slot(slots::kEquationBoxRequest), 0);
  EXPECT_NE(core::slot(slots::kEquationBoxDone), 0);
  // The dependent variable's own lag is recorded against it.
  dialog_script::reset();
  dialog_script::load("text -> \"Y Y(-1) X\"\n");
  const SpecResult own = core::SPECIFYMODEL(SpecRequest{});
  ASSERT_EQ(own.record.size(), 3u);
  EXPECT_EQ(own.record[1].number, core::find_variable("Y"));
  EXPECT_EQ(own.record[1].lag, -1);
  EXPECT_EQ(shown_texts(), (Names{"y x(-1) INPT <end> W1"}));
}

TEST_F(ModelSpec, RegressionPanelAndTitle) {
  dialog_script::load("text -> cancel\n");
  EXPECT_TRUE(core::SPECIFYMODEL(SpecRequest{}).cancelled);
  const Names p = panel();
  ASSERT_GE(p.size(), 8u);
  EXPECT_EQ(p[0], std::string(12, ' ') + "List the dependent variable followed by the regressor(s)");
  EXPECT_EQ(p[1], std::string(29, ' ') + "(separated by spaces)");
  EXPECT_EQ(p[2], "");
  EXPECT_EQ(p[3], " For example:");
  EXPECT_EQ(p[4], " Y INPT Y(-1) Y{2 5 7-9} X{0-2} Z <End>");
  EXPECT_EQ(p.back(), " X(-1) stands for a one period lagged value of X.");
  EXPECT_EQ(dialog_script::calls()[0].text,
            "List the dependent variable followed by the regressor(s) (separated by spaces)");
}

TEST_F(ModelSpec, EachKindsHelpTitleAndEquationBox) {
  const struct {
    int kind, sub_kind, help;
    const char* title;  // first line of the title
    bool box;           // the equation-box file is written
  } cases[] = {
      {0, 0, 3002, "List the dependent variable followed by the regressor(s) (separated by spaces)", true},
      {81, 0, 2011, "List the dependent variable followed by the regressor(s) (separated by spaces)", true},
      {92, 0, 3002, "List the dependent variable followed by the regressor(s) (separated by spaces)", true},
      {26, 0, 3002, "List the dependent variable followed by the regressor(s) (separated by spaces)", true},
      {17, 0, 3017, "List I(1) variables followed by strictly exogenous variables including intercept", true},
      {17, 1, 3004, " List the variables to be included in the VAR followed by deterministic and/or", true},
      {17, 2, 3005, " List the I(1) variable(s) for cointegration analysis followed by I(0)", true},
      {5, 0, 3002, "untouched", false},
      {22, 0, 3002, " List variable(s) to be added to the regression:", false},
      {23, 0, 3002, " List variable(s) to be dropped from the regression:", false},
      {24, 0, 3002, " List variables to be used to calculate recursive predictions:", false},
      {123, 0, 20464, "untouched", false},
      {223, 0, 20465,
       " List the subset of variables with respect to which you wish to carry out the block non-causality test:",
       false},
      {70, 0, 128, " List the variables (if any) to be added to GARCH variance equation", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind * 10 + c.sub_kind);
    dialog_script::reset();
    std::filesystem::remove(folder_ / "E$.TTT");
    core::set_slot(slots::kEquationBoxRequest, 0);
    core::set_slot(slots::kEquationBoxDone, 0);
    core::exchange().prompt = fixed_text::pad("untouched", 255);
    dialog_script::load("text -> cancel\n");
    SpecRequest r = regression_context(c.kind);
    r.sub_kind = c.sub_kind;
    EXPECT_TRUE(core::SPECIFYMODEL(r).cancelled);
    ASSERT_EQ(dialog_script::calls().size(), 1u);
    const std::string& title = dialog_script::calls()[0].text;
    EXPECT_EQ(title.substr(0, title.find('\r')), c.title);
    EXPECT_EQ(dialog_script::calls()[0].help_context, c.help);
    EXPECT_EQ(std::filesystem::exists(folder_ / "E$.TTT"), c.box);
    EXPECT_EQ(core::slot(slots::kEquationBoxDone) != 0, c.box);
    EXPECT_EQ(core::slot(slots::kEquationBoxRequest), 0);
  }
}

TEST_F(ModelSpec, VarianceRegressorsLeaveTheBoxRequestAndMayBeEmpty) {
  core::saved_spec(core::kInstrumentFamily).text = block("X1 X2");
  core::set_slot(slots::kEquationBoxRequest, slots::kTrue);
  dialog_script::load("text 128 -> \"  \"\n");
  SpecRequest r = regression_context(70);
  const SpecResult result = core::SPECIFYMODEL(r);
  ASSERT_FALSE(result.cancelled);
  EXPECT_TRUE(result.numbers.empty());
  EXPECT_EQ(shown_texts(), (Names{""}));  // starts blank, not from the instrument text
  EXPECT_TRUE(std::filesystem::exists(folder_ / "E$.TTT"));
  EXPECT_EQ(fixed_text::trim_right(core::saved_spec(core::kInstrumentFamily).text), "");
  const Names p = panel();
  EXPECT_EQ(p[0], " Regression of Y on:");
  EXPECT_EQ(p.back(), "Do not include an intercept term!");
}

TEST_F(ModelSpec, InstrumentsCountedAgainstTheRegressors) {
  dialog_script::load(R"(strict
text -> "X1 X2 X3"
text -> "Y X1 X2 X3"
text -> "x1 x2 x3 inpt"
)");
  SpecRequest r = regression_context(5);
  r.item_word = "instrument";
  r.required = 4;
  const SpecResult result = core::SPECIFYMODEL(r);
  ASSERT_FALSE(result.cancelled);
  EXPECT_EQ(names_of(result.numbers), (Names{"X1", "X2", "X3", "INPT"}));
  EXPECT_TRUE(result.record.empty());
  EXPECT_EQ(messages(), (Names{"message information 0 List at least 4 instrument(s)!",
                               "message information 0 Variable Y included more than once!"}));
  EXPECT_EQ(shown_texts(), (Names{"", "X1 X2 X3", "Y X1 X2 X3"}));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "E$.TTT"));
  const Names p = panel();
  EXPECT_EQ(p, (Names{" Regression of Y on:", " INPT            X               Z               W1", "",
                      " List at least 4 instrument(s)"}));
  // The instrument text is kept apart from the regression's.
  EXPECT_EQ(fixed_text::trim_right(core::saved_spec(core::kInstrumentFamily).text), "x1 x2 x3 inpt");
  EXPECT_EQ(fixed_text::trim_right(core::saved_spec(core::kGeneralFamily).text), "");
}

TEST_F(ModelSpec, CountsOfAddedAndDroppedLists) {
  const struct {
    int kind, required;
    const char* first;
    const char* message;
    const char* corrected;
    Names listed;
  } cases[] = {
      {24, 2, "X", "message information 0 Exactly 2 variable(s) needed!", "X Z", {"X", "Z"}},
      {25, 2, "  ", "message information 0 At least 2 additional instruments needed!", "W1 W2", {"W1", "W2"}},
      {25, 2, "W1", "message information 0 At least 2 additional instruments needed!", "W1 W2", {"W1", "W2"}},
      {25, 0, "Q", "message information 0 Invalid or nonexistent variable name Q specified, try again!", " ", {}},
      {23, 0, "X(-1)", "message information 0 Invalid or nonexistent variable name X(-1) specified, try again!",
       "X", {"X"}},
      {22, 0, "Y", "message information 0 Variable Y included more than once!", "X2 X3(-2)", {"X2", "X3(-2)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    dialog_script::reset();
    dialog_script::load("strict\ntext -> \"" + std::string(c.first) + "\"\ntext -> \"" + c.corrected + "\"\n");
    SpecRequest r = regression_context(c.kind);
    r.required = c.required;
    const SpecResult result = core::SPECIFYMODEL(r);
    ASSERT_FALSE(result.cancelled);
    EXPECT_EQ(names_of(result.numbers), c.listed);
    EXPECT_EQ(messages(), (Names{c.message}));
  }
}

TEST_F(ModelSpec, SystemLists) {
  const struct {
    int sub_kind;
    const char* text;
    Names listed;
    int after;
  } cases[] = {
      {0, "Y X1 X2 X3 & INPT W1 W2{0-3}", {"Y", "X1", "X2", "X3", "INPT", "W1", "W2", "W2(-1)", "W2(-2)", "W2(-3)"}, 6},
      {1, "Y1 Y2 Y3 & INPT X1(-1)", {"Y1", "Y2", "Y3", "INPT", "X1(-1)"}, 2},
      {1, "Y1 & INPT", {"Y1", "INPT"}, 1},
      {1, "Y1 Y2 &", {"Y1", "Y2"}, 0},
      {2, "Y1 Y2 ; X1 & Z1", {"Y1", "Y2", "X1", "Z1"}, 1001},
      {2, "Y1 Y2 ; X1 X2", {"Y1", "Y2", "X1", "X2"}, 2},
      {2, "Y1 Y2 ; & Z1 W1", {"Y1", "Y2", "Z1", "W1"}, 2000},
      {2, "Y1 Y2 X1", {"Y1", "Y2", "X1"}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    dialog_script::reset();
    dialog_script::load("strict\ntext -> \"" + std::string(c.text) + "\"\n");
    SpecRequest r;
    r.kind = 17;
    r.sub_kind = c.sub_kind;
    const SpecResult result = core::SPECIFYMODEL(r);
    ASSERT_FALSE(result.cancelled);
    EXPECT_EQ(names_of(result.numbers), c.listed);
    EXPECT_EQ(result.after_ampersand, c.after);
    // The text is kept as typed, ";" part included.
    EXPECT_EQ(fixed_text::trim_right(core::saved_spec(core::kGeneralFamily).text), c.text);
  }
}

TEST_F(ModelSpec, SystemListRefusals) {
  dialog_script::load(R"(strict
text 3005 -> "Q Y2 ; X1 & Z1"
text 3005 -> "Y1 Y2 ; X1 & Z1 Y2"
text 3005 -> "Y1 Y2 ; Y1 & Z1"
text 3005 -> "Y1 Y2 ; X1 & Z1"
)");
  SpecRequest r;
  r.kind = 17;
  r.sub_kind = 2;
  const SpecResult result = core::SPECIFYMODEL(r);
  ASSERT_FALSE(result.cancelled);
  EXPECT_EQ(result.after_ampersand, 1001);
  EXPECT_EQ(messages(), (Names{"message information 0 Variable Q does not exist or is not valid!",
                               "message information 0 Variable Y2 included more than once!",
                               "message information 0 Variable Y1 included more than once!"}));
  const Names p = panel();
  EXPECT_EQ(p.back(), "Do not include an intercept or a trend.");
}

TEST_F(ModelSpec, PresetTextIsUsedOnce) {
  // A valid preset: no editor at all, and the setting is blank afterwards.
  core::set_char_setting(charset::kSpecification, " Y X Z(-1)");
  const SpecResult first = core::SPECIFYMODEL(SpecRequest{});
  ASSERT_FALSE(first.cancelled);
  EXPECT_EQ(names_of(first.numbers), (Names{"Y", "X", "Z(-1)"}));
  EXPECT_TRUE(dialog_script::transcript().empty());
  EXPECT_TRUE(fixed_text::trim(core::char_setting(charset::kSpecification)).empty());
  EXPECT_EQ(core::slot(slots::kEquationBoxDone), 0);  // no editor, nothing to reload

  // A failing preset opens the editor holding it.
  core::set_char_setting(charset::kSpecification, "Y QQ");
  dialog_script::load("strict\ntext -> \"Y X\"\n");
  const SpecResult second = core::SPECIFYMODEL(SpecRequest{});
  ASSERT_FALSE(second.cancelled);
  EXPECT_EQ(names_of(second.numbers), (Names{"Y", "X"}));
  EXPECT_EQ(messages(), (Names{"message information 0 Invalid or nonexistent variable name QQ specified, try again!"}));
  EXPECT_EQ(shown_texts(), (Names{"Y QQ"}));
  EXPECT_TRUE(fixed_text::trim(core::char_setting(charset::kSpecification)).empty());
}

TEST_F(ModelSpec, CancelReturnsNothingAndKeepsTheWorkspace) {
  dialog_script::load("strict\ntext -> \"Y X Q(-1)\"\ntext -> cancel\n");
  const std::size_t vars = workspace_names().size();
  const SpecResult r = core::SPECIFYMODEL(SpecRequest{});
  EXPECT_TRUE(r.cancelled);
  EXPECT_TRUE(r.numbers.empty());
  EXPECT_EQ(workspace_names().size(), vars);
}

}  // namespace
