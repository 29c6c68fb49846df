#include "engine/multi/sure_spec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "shared/equation_box.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "tests/engine/core/spec_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace {

using namespace qorv;
using Names = std::vector<std::string>;

class SureSpec : public qorv::testing::SpecTest {};

TEST_F(SureSpec, RefusalsThenTheCorrectedSystem) {
  dialog_script::load(R"(strict
text 3060 -> "Q X1; Y2 X2"
text 3060 -> "Y1 X1 Y1(-1); Y1 X2"
text 3060 -> "Y1 X1; Y2 X2; Y3 X3"
text 3060 -> "Y1 X1 Y2; Y2 X2"
text 3060 -> "Y1 INPT Y1(-1)\nX1;  Y2 INPT Z1;"
)");
  const std::size_t vars = workspace_names().size();
  std::string text;
  const multi::SystemSpec s = multi::SPECIFYSURE(text, 2, 84);
  ASSERT_FALSE(s.cancelled);
  ASSERT_EQ(s.equations.size(), 2u);
  EXPECT_EQ(names_of(s.equations[0].numbers), (Names{"Y1", "INPT", "Y1(-1)", "X1"}));
  EXPECT_EQ(names_of(s.equations[1].numbers), (Names{"Y2", "INPT", "Z1"}));
  // Y1(-1) of the second attempt was deleted before the next one and made once more.
  EXPECT_EQ(workspace_names().size(), vars + 1);
  Names messages;
  for (const std::string& line : dialog_script::transcript())
    if (line.starts_with("message ")) messages.push_back(line);
  EXPECT_EQ(messages, (Names{"message information 0 Q does not exist or is not valid!",
                             "message information 0 Y1 is chosen as the dependent variable more than once!",
                             "message information 0 Too many equations!",
                             "message information 0 Y2 should not appear on the right hand side!"}));
  EXPECT_EQ(fixed_text::trim_right(text), "Y1 INPT Y1(-1) X1;  Y2 INPT Z1;");
  // Every attempt asks for the equation-box file; the last text is in it.
  EXPECT_EQ(equation_box::read_lines(folder_ / "E$.TTT"), (Names{"Y1 INPT Y1(-1) X1;  Y2 INPT Z1;"}));
  std::vector<dialog_script::Call> editors;
  for (const auto& call : dialog_script::calls())
    if (call.kind == "text") editors.push_back(call);
  ASSERT_EQ(editors.size(), 5u);
  EXPECT_EQ(fixed_text::trim_right(editors[1].block), "Q X1; Y2 X2");
  EXPECT_EQ(editors[0].text.substr(0, editors[0].text.find('\r')),
            " List the endogenous variable followed by regressors for each equation.");
  // The busy notice surrounds each reading.
  EXPECT_NE(dialog_script::transcript_text().find("busy begin Calculating or writing to file! Please wait..."),
            std::string::npos);
}

TEST_F(SureSpec, CancelDeletesTheAttemptsTemporaries) {
  dialog_script::load("strict\ntext 3006 -> \"Y1 X1(-1); Y1 X2\"\ntext 3006 -> cancel\n");
  const std::size_t vars = workspace_names().size();
  std::string text;
  EXPECT_TRUE(multi::SPECIFYSURE(text, 10, multi::kRestrictedSystem).cancelled);
  EXPECT_EQ(workspace_names().size(), vars);
  EXPECT_EQ(fixed_text::trim_right(text), "Y1 X1(-1); Y1 X2");
}

TEST_F(SureSpec, PresetSystemWithoutTheEditor) {
  core::set_char_setting(charset::kSpecification, " Y1 X1; Y2 X2 <End> Y3 X3");
  std::string text;
  const multi::SystemSpec s = multi::SPECIFYSURE(text, 10, 84);
  ASSERT_FALSE(s.cancelled);
  EXPECT_EQ(s.equations.size(), 2u);
  EXPECT_TRUE(fixed_text::trim(core::char_setting(charset::kSpecification)).empty());
  for (const auto& call : dialog_script::calls()) EXPECT_NE(call.kind, "text");
}

}  // namespace
