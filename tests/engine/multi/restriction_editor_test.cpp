// The restriction editor through the scripted dialogs: the panel of each kind, the help
// page of each option, the loop back to the editor after a refused text, the text kept
// between calls, the SURE reminder, the one-vector shortfall and a workspace variable
// that shares a parameter's name.
#include "engine/multi/restriction_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/workspace.h"
#include "shared/fixed_text.h"
#include "tests/engine/core/long_temp_folder.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/scratch_folder.h"

namespace qorv::testing {
namespace {

using diagnostics::RestrictionKind;
using diagnostics::RestrictionOutcome;
using Lines = std::vector<std::string>;

const Lines kNames = {"LC", "LY", "LI"};
const Lines kExogenous = {"LM"};

class RestrictionEditorTest : public LongTempFolderTest {
 protected:
  static multi::RestrictionEditRequest request(RestrictionKind kind, int r, int phase, int choice) {
    multi::RestrictionEditRequest q;
    q.sizes.kind = kind;
    q.sizes.m = 3;
    q.sizes.r = r;
    q.sizes.phase = phase;
    q.sizes.choice = choice;
    q.sizes.regressors = {2, 1};
    q.names = kNames;
    q.exogenous = kExogenous;
    return q;
  }
  /// The editor panel's lines, trailing blanks removed.
  Lines panel() const {
    core::close_all_channels();
    Lines out;
    for (const std::string& l : lines_of(folder_ / "J$.TTT")) out.emplace_back(fixed_text::trim_right(l));
    return out;
  }
  static std::vector<const dialog_script::Call*> calls_of(const std::string& kind) {
    std::vector<const dialog_script::Call*> out;
    for (const auto& c : dialog_script::calls())
      if (c.kind == kind) out.push_back(&c);
    return out;
  }
};

/// True when `panel` holds `lines` one after the other.
bool holds(const Lines& panel, const Lines& lines) {
  for (std::size_t i = 0; i + lines.size() <= panel.size(); ++i)
    if (std::equal(lines.begin(), lines.end(), panel.begin() + static_cast<std::ptrdiff_t>(i))) return true;
  return false;
}

TEST_F(RestrictionEditorTest, PanelsAndHelpPages) {
  struct Case {
    const char* what;
    RestrictionKind kind;
    int r, phase, choice, help;
    Lines lines;
  };
  const Case cases[] = {
      {"general, phase 1", RestrictionKind::kGeneral, 2, 1, 4, '}',
       {" You have chosen 2 cointegrating relation(s), and thereforeyou MUST specify",
        " EXACTLY 2 restriction(s) on each of the vector(s) to identify the long run",
        " structural relation(s). You can test over-identifying restrictions at a",
        " later stage once the exactly identified structure is estimated successfully.", "",
        " For example, if the number of cointegrating relations, r, is equal to 3, a",
        " typical set of exactly identifying restrictionscould be", "", "      A1=1;       A2=0;      A3=0;",
        "      B1=0;       B2=1;      B3=0;", "      C1=0;       C2=0;      C3=1", ""}},
      {"general, phase 2", RestrictionKind::kGeneral, 2, 2, 4, '}',
       {" Now that you have successfully estimated a set of identified long run",
        " relations (possibly subject to some over-identifying restrictions), you can",
        " add (further) over-identifying linear restrictios to the set of restrictions",
        " that you have already imposed in the box editorbelow.", ""}},
      {"general, the parameters", RestrictionKind::kGeneral, 2, 2, 4, '}',
       {" List of variables included in the cointegrating vector:", "", " LC              LY              LI", "",
        " List of I(1) exogenous variables included in the VAR:", "", " LM", "",
        " A1 to A 3 are assigned to parameters of vector 1.",
        " B1 to B 3 are assigned to parameters of vector 2 and so on.", "",
        " Specify/edit restriction(s) on the coefficients of the model (namely A1,A2,",
        " ...; B1,B2....). Separate these restrictions by ;'s.", "",
        " You can specify both single as well as cross-equation linear restriction(s).", "",
        " Example: A1=1 ; 2*A1+A4=2 ; A3=A4."}},
      {"same on all", RestrictionKind::kHomogeneous, 1, 1, 2, '{',
       {"", " Coefficients A1 to A 3 are assigned to the above variables.", "",
        " Specify/edit restriction(s) on the coefficients of the model (namely A1,A2,",
        " ...; B1,B2....). Separate these restrictions by ;'s.", "", " Example: A1+A2=0 ; 2*A1=3*A3 ; A3=A4."}},
      {"one vector", RestrictionKind::kHomogeneous, 1, 1, 3, '|', {}},
      {"fix some", RestrictionKind::kFixedVectors, 2, 1, 1, '~',
       {" Specify/edit sets of coefficients for vectors you wish to fix.",
        " You need to specify exactly 3 numbers corresponding to each set.",
        " Separate these sets of coefficients by ;'s.",
        " Example: -1.0 0.0 0.27 0.22 ; 0.0 -1.0 -16.0 0.3 ; etc."}},
      {"fix all", RestrictionKind::kFixedVectors, 2, 1, 6, 'z', {}},
      {"SURE", RestrictionKind::kSure, 2, 1, 0, 'y',
       {" SURE estimation of:", "", "Y = A + B*X", "Z = C", "", " A1 to A 2 are assigned to parameters of equation 1.",
        " B1 to B 1 are assigned to parameters of equation 2 and so on."}},
  };
  const Lines system = {"Y = A + B*X", "   ", "Z = C"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dialog_script::reset();
    dialog_script::load("text -> cancel\n");
    auto q = request(c.kind, c.r, c.phase, c.choice);
    q.system_lines = system;
    std::string text;
    EXPECT_EQ(multi::RESTRICTEDIT(q, text).k, 0);
    const auto texts = calls_of("text");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->help_context, c.help);
    EXPECT_TRUE(holds(panel(), c.lines)) << ::testing::PrintToString(panel());
  }
}

TEST_F(RestrictionEditorTest, RefusedTextsReturnToTheEditorAndTheTextIsKept) {
  dialog_script::load(
      "text -> \"A1+A2\" once\n"
      "text -> \"A1*A2=0\" once\n"
      "text -> \"A1=1;A2=0;B1=0\" once\n"
      "text -> \"A1=1;\\nA2=0;B1=0;B2=1\"\n");
  std::string text;
  const auto parse = multi::RESTRICTEDIT(request(RestrictionKind::kGeneral, 2, 1, 4), text);
  EXPECT_EQ(parse.outcome, RestrictionOutcome::kAccepted);
  EXPECT_EQ(parse.k, 4);
  Lines shown;
  for (const auto& c : dialog_script::calls())
    if (c.kind == "message" || c.kind == "beep") shown.push_back(c.kind + " " + c.text);
  EXPECT_EQ(shown, (Lines{"message Equality sign is missing or misplaced!", "message At least a restriction is not linear!",
                          "beep "}));
  // Each editor opened with the text as the user left it; the accepted one is kept.
  const auto texts = calls_of("text");
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(fixed_text::trim(texts[1]->block), "A1+A2");
  EXPECT_EQ(fixed_text::trim(texts[3]->block), "A1=1;A2=0;B1=0");
  EXPECT_EQ(text.size(), 3120u);
  EXPECT_EQ(fixed_text::trim(text), "A1=1; A2=0;B1=0;B2=1");
  dialog_script::load("text -> cancel\n");
  EXPECT_EQ(multi::RESTRICTEDIT(request(RestrictionKind::kGeneral, 2, 2, 4), text).k, 0);
  EXPECT_EQ(fixed_text::trim(calls_of("text").back()->block), "A1=1; A2=0;B1=0;B2=1");
}

TEST_F(RestrictionEditorTest, EmptyTextsAndTheOneVectorShortfall) {
  const zv_test::ScratchFolder messages{"zv-restriction-editor"};
  install_numbered_message_file(messages.path(), 140);
  // An empty text leaves; for SURE it brings the reminder and the editor again.
  dialog_script::load("text -> \"  ;  \"\n");
  std::string text;
  EXPECT_EQ(multi::RESTRICTEDIT(request(RestrictionKind::kGeneral, 2, 1, 4), text).k, 0);
  dialog_script::reset();
  dialog_script::load("text -> \"  \" once\ntext -> cancel\n");
  text.clear();
  EXPECT_EQ(multi::RESTRICTEDIT(request(RestrictionKind::kSure, 2, 1, 0), text).k, 0);
  ASSERT_EQ(calls_of("message").size(), 1u);
  EXPECT_EQ(calls_of("message")[0]->text, std::string(multi::kSureReminderText));
  // Restrictions on one of two vectors: one restriction is too few.
  dialog_script::reset();
  dialog_script::load("text -> \"A1+A2=0\"\n");
  EXPECT_EQ(multi::RESTRICTEDIT(request(RestrictionKind::kHomogeneous, 2, 1, 3), text).k, 0);
  const auto longs = calls_of("message");
  ASSERT_EQ(longs.size(), 1u);
  EXPECT_EQ(longs[0]->items.front().substr(0, 8), "Line 132");
  EXPECT_EQ(fixed_text::trim(longs[0]->items.back()), "Line 137");
}

TEST_F(RestrictionEditorTest, AWorkspaceVariableNamedA1ChangesNothing) {
  auto& g = core::globals();
  g.nobs = 4;
  g.nvars = 0;
  g.max_vars = limits::max_vars_for(g.nobs);
  core::set_variable(++g.nvars, "A1", "");
  for (int t = 1; t <= g.nobs; ++t) core::data_at(t, 1) = 100.0 + t;
  dialog_script::load("text -> \"A1 + 2*A2 = 1; B1=0; B2=1; A3=0\"\n");
  std::string text;
  const auto parse = multi::RESTRICTEDIT(request(RestrictionKind::kGeneral, 2, 2, 4), text);
  ASSERT_EQ(parse.k, 4);
  EXPECT_EQ(parse.at(0, 0), 1.0);
  EXPECT_EQ(parse.at(0, 1), 2.0);
  EXPECT_EQ(parse.constants[0], 1.0);
  EXPECT_EQ(g.nvars, 1);
  EXPECT_EQ(g.nobs, 4);
  EXPECT_EQ(core::data_at(1, 1), 101.0);
}

}  // namespace
}  // namespace qorv::testing
