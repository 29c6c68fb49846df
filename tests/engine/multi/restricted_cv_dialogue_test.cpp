// The structural-modelling options on reference case C3 through the scripted dialogs: the
// editor, the starting values, the choice of algorithm, the damping factor, the iteration
// limit, the abandon paths and the results pages of general restrictions and fixed vectors.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/multi/cvar_post_estimation.h"
#include "engine/multi/cvar_session.h"
#include "shared/fixed_text.h"
#include "tests/engine/multi/coint_reference.h"
#include "tests/engine/single/macro_reference.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::testing {
namespace {

using multi::CvarSession;
using multi::CvarVectorSource;
using Page = std::vector<std::string>;

/// The first line of `page` holding `text`; empty when none does.
std::string line_with(const Page& page, const std::string& text) {
  for (const auto& line : page)
    if (line.find(text) != std::string::npos) return line;
  return {};
}

int count_of(const std::string& kind, const std::string& text) {
  int n = 0;
  for (const auto& c : dialog_script::calls())
    if (c.kind == kind && c.text.find(text) != std::string::npos) ++n;
  return n;
}

std::vector<std::string> messages() {
  std::vector<std::string> out;
  for (const auto& c : dialog_script::calls())
    if (c.kind == "message") out.push_back(c.text);
  return out;
}

double reference(const std::string& name, const std::string& quantity) {
  const auto e = read_expected(std::string(ZV_REFERENCE_DIR) + "/restricted-cv/expected.csv", name);
  return e.at(quantity).value;
}

class RestrictedCvDialogueTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    c3_ = reference_case("C3");
    s_.m = 3;
    s_.model_case = 3;
    s_.p = 2;
    s_.n = 196;
    s_.start = 4;
    s_.end = 199;
    s_.first_offset = 3;
    s_.names = c3_.endogenous;
    s_.vector_names = c3_.level_names;
    ASSERT_EQ(multi::johansen_estimate(c3_.data, multi::kJohansenTolerance, s_.fit), multi::JohansenFailure::kNone);
  }
  /// Runs `option` with rank r under `script`; true when restricted vectors were made current.
  bool run(int option, int r, const std::string& script) {
    s_.r = r;
    multi::use_johansen_vectors(s_);
    dialog_script::load(script);
    return multi::cvar_restricted_option(s_, option);
  }
  static Page last_page() {
    const auto pages = dialog_script::pages();
    return pages.empty() ? Page{} : pages.back();
  }
  CointCase c3_;
  CvarSession s_;
};

TEST_F(RestrictedCvDialogueTest, OverIdentifiedByNewtonRaphsonWithItsDampingPrompt) {
  // The first exactly identifying set: five restrictions are one too many.
  dialog_script::load("text -> \"A1=1; A2=0; B1=0; B2=1; A3=B3\" once\ntext -> cancel\n");
  s_.r = 2;
  EXPECT_FALSE(multi::cvar_restricted_option(s_, 4));
  EXPECT_EQ(count_of("beep", ""), 1);
  s_.identified_rank = 2;  // as after an exactly identified estimate
  ASSERT_TRUE(run(4, 2,
                  "text -> \"A1=1; A2=0; B1=0; B2=1; A3=B3\"\n"
                  "values -> keep\n"
                  "menu 1031 -> 2\n"
                  "real \"Damping factor\" -> 2.5 once\n"
                  "real \"Damping factor\" -> 0.01\n"
                  "results -> close\n"));
  EXPECT_EQ(count_of("real", "Damping factor(Min 0.01 Max 2.0)?"), 2);  // 2.5 is asked again
  EXPECT_EQ(s_.source, CvarVectorSource::kRestricted);
  EXPECT_EQ(s_.restricted_option, 4);
  EXPECT_NEAR(s_.vectors[2], reference("G2O", "BETA:3:1"), 1e-6);
  EXPECT_NEAR(s_.restricted.lr, reference("G2O", "LR"), 1e-6);
  const Page page = last_page();
  EXPECT_FALSE(line_with(page, "ML estimates subject to over identifying restriction(s)").empty());
  EXPECT_FALSE(line_with(page, "Estimates of Restricted Cointegrating Relations (SE's in Brackets)").empty());
  EXPECT_FALSE(line_with(page, "Converged after").empty());
  EXPECT_FALSE(line_with(page, " A1=1; A2=0; B1=0; B2=1; A3=B3").empty());
  EXPECT_EQ(line_with(page, " LR Test of Restrictions"), " LR Test of Restrictions          CHSQ(   1)=   7.1313[.008]");
  EXPECT_EQ(line_with(page, " DF=Total no of restrictions("),
            " DF=Total no of restrictions(5) - no of just-identifying restrictions(4)");
  EXPECT_EQ(line_with(page, " LL subject to exactly identifying"),
            " LL subject to exactly identifying restrictions=   1771.3");
  EXPECT_EQ(line_with(page, " LL subject to over-identifying"), " LL subject to over-identifying restrictions=   1767.7");
  // The table: the fixed coefficients have no standard error; the shared third one has
  // gretl's scaled, 0.022449, under both vectors.
  const std::vector<std::string> table(std::find(page.begin(), page.end(), "                  Vector  1      Vector  2"),
                                       page.end());
  ASSERT_GE(table.size(), 7u);
  EXPECT_EQ(std::vector<std::string>(table.begin() + 1, table.begin() + 7),
            (std::vector<std::string>{" LC                   1.0000           0.00",
                                      "                  (   *NONE*)    (   *NONE*)",
                                      " LY                     0.00         1.0000",
                                      "                  (   *NONE*)    (   *NONE*)",
                                      " LI                  -.81486        -.81486",
                                      "                  (  .022449)    (  .022449)"}));
  // A second visit: the phase-2 panel, the text kept, and 2.0 accepted at once.
  ASSERT_TRUE(run(4, 2,
                  "text -> \"A1=1; A2=0; B1=0; B2=1; A3=B3\"\n"
                  "values -> keep\nmenu 1031 -> 2\n"
                  "real \"Damping factor\" -> 2.0\nresults -> close\n"));
  EXPECT_EQ(count_of("real", "Damping factor"), 3);
  EXPECT_EQ(dialog_script::calls().back().kind, "results");
  EXPECT_EQ(s_.identified_rank, 2);
}

TEST_F(RestrictedCvDialogueTest, ExactlyIdentifiedNeedsNoAlgorithm) {
  ASSERT_TRUE(run(4, 2, "text -> \"A1=1; A2=0; B1=0; B2=1\"\nresults -> close\n"));
  EXPECT_EQ(count_of("menu", "Choice of Algorithm"), 0);
  EXPECT_NEAR(s_.restricted.loglik, 1771.3078818382935, 1e-9 * 1771.3);
  EXPECT_NEAR(s_.restricted.lr, 0.0, 1e-8);
  EXPECT_EQ(s_.restricted.df, 0);
  EXPECT_FALSE(line_with(last_page(), "ML estimates subject to exactly identifying restriction(s)").empty());
}

// Exactly identifying restrictions leave the likelihood where it was: the statistic on 0
// degrees of freedom prints 0, and the coefficients the restrictions fix print their values.
TEST_F(RestrictedCvDialogueTest, ExactlyIdentifiedPrintsAZeroStatisticAndTheFixedValues) {
  const struct {
    int r;
    const char* text;
    std::vector<std::string> rows;  ///< the table's rows that begin with these texts
  } cases[] = {{1, "A1=1", {" LC                   1.0000", "                  (   *NONE*)"}},
               {1, "A2=-1", {" LY                  -1.0000", "                  (   *NONE*)"}},
               {2, "A1=1; A2=0; B1=0; B2=1",
                {" LC                   1.0000           0.00", " LY                     0.00         1.0000"}},
               {2, "A1=1; A2=0; B1=0; B3=1",
                {" LC                   1.0000           0.00", "                  (   *NONE*)    (   *NONE*)",
                 " LY                     0.00 "}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    dialog_script::reset();
    core::driver_state().restriction_text.clear();
    s_.identified_rank = 0;
    ASSERT_TRUE(run(4, c.r, std::string("text -> \"") + c.text + "\"\nresults -> close\n"));
    EXPECT_EQ(s_.restricted.lr, 0.0);
    const Page page = last_page();
    EXPECT_EQ(line_with(page, " LR Test of Restrictions"), " LR Test of Restrictions          CHSQ(   0)=     0.00");
    for (const std::string& row : c.rows) {
      bool found = false;
      for (const auto& line : page) found = found || line.rfind(row, 0) == 0;
      EXPECT_TRUE(found) << row;
    }
  }
  // The third coefficient of the second vector, fixed at 1 by B3=1.
  const std::string li = line_with(last_page(), " LI ");
  ASSERT_GE(li.size(), 43u);
  EXPECT_EQ(li.substr(34, 9), "   1.0000") << li;
}

TEST_F(RestrictedCvDialogueTest, IterationLimitAndNonConvergentResults) {
  s_.identified_rank = 2;
  // The first vector fixed at (1, 0, 0): the back substitution creeps and never settles.
  ASSERT_TRUE(run(4, 2,
                  "text -> \"A1=1; A2=0; A3=0; B1=0; B2=1\"\n"
                  "values -> keep\nmenu 1031 -> 1\n"
                  "menu \"No convergence after 100 iterations\" -> 2\n"
                  "menu \"No convergence after 150 iterations\" -> 1\n"
                  "results -> close\n"));
  EXPECT_EQ(s_.restricted.iterations, -150);
  EXPECT_EQ(line_with(last_page(), "**Not converged after"), "**Not converged after 150 iterations**");
}

TEST_F(RestrictedCvDialogueTest, AbandonedAttemptsReturnToTheEditor) {
  struct Case {
    const char* what;
    const char* script;
    const char* message;
  };
  const Case cases[] = {
      {"menu 1031 option 0", "values -> keep\nmenu 1031 -> 0\n", nullptr},
      {"starting values cancelled", "values -> cancel\n", nullptr},
      {"damping prompt cancelled", "values -> keep\nmenu 1031 -> 2\nreal -> cancel\n", nullptr},
      {"abandoned at the limit",
       "values -> keep\nmenu 1031 -> 1\nmenu \"No convergence\" -> 0\n", nullptr},
  };
  s_.identified_rank = 2;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dialog_script::reset();
    EXPECT_FALSE(run(4, 2,
                     std::string("text -> \"A1=1; A2=0; A3=0; B1=0; B2=1\" once\n") + c.script + "text -> cancel\n"));
    EXPECT_EQ(count_of("text", ""), 2);
    EXPECT_EQ(s_.source, CvarVectorSource::kJohansen);
  }
  // Vectors made equal: the collinearity message, then the editor again.
  dialog_script::reset();
  EXPECT_FALSE(run(4, 2,
                   "text -> \"A1=1; A2=0; A3=1; B1=1; B2=0; B3=1\" once\nvalues -> keep\nmenu 1031 -> 2\n"
                   "real -> 1\ntext -> cancel\n"));
  EXPECT_EQ(messages(), std::vector<std::string>{"Two or more CV's are collinear! Specify another set of restrictions."});
  // Starting values edited into collinear vectors: refused before the damping factor is asked.
  dialog_script::reset();
  EXPECT_FALSE(run(4, 2,
                   "text -> \"A1=1; A2=0; A3=0; B1=0; B2=1\" once\nvalues -> 1 0 0 2 0 0\nmenu 1031 -> 2\n"
                   "text -> cancel\n"));
  EXPECT_EQ(messages(), std::vector<std::string>{"Two or more CV's are collinear! Specify another set of restrictions."});
  EXPECT_EQ(count_of("real", "Damping factor"), 0);
  // Starting values far out: Q cannot be inverted at them, and the step fails.
  dialog_script::reset();
  EXPECT_FALSE(run(4, 2,
                   "text -> \"A1=1; A2=0; A3=0; B1=0; B2=1\" once\nvalues -> 1 0 0 0 1 1e11\nmenu 1031 -> 2\n"
                   "real -> 1\ntext -> cancel\n"));
  EXPECT_EQ(messages(), std::vector<std::string>{"Could not invert Q!"});
  EXPECT_EQ(s_.source, CvarVectorSource::kJohansen);
  // A check of the restrictions.
  dialog_script::reset();
  EXPECT_FALSE(run(4, 2, "text -> \"A1=1; A2=0; B1=0; B2=B3\" once\ntext -> cancel\n"));
  EXPECT_EQ(messages(), std::vector<std::string>{"There is no non-homogenous (normalisation) restriction on CV 2"});
}

TEST_F(RestrictedCvDialogueTest, FixedVectorPage) {
  ASSERT_TRUE(run(6, 1, "text -> \"1 -1 0\"\nresults -> close\n"));
  const Page page = last_page();
  EXPECT_FALSE(line_with(page, " Restricted Cointegrated Vectors in Johansen Estimation(Normalized in Brackets)").empty());
  EXPECT_TRUE(line_with(page, "Converged after").empty());
  // No bracket lines when every vector is fixed.
  const auto label = std::find(page.begin(), page.end(), "                  Vector  1");
  ASSERT_LE(label + 4, page.end());
  EXPECT_EQ(std::vector<std::string>(label + 1, label + 4),
            (std::vector<std::string>{" LC                   1.0000", " LY                  -1.0000", " LI                     0.00"}));
  EXPECT_EQ(line_with(page, " LR Test of Restrictions"), " LR Test of Restrictions          CHSQ(   2)=  22.5452[.000]");
  EXPECT_NEAR(s_.restricted.lr, reference("F1", "LR"), 1e-6);
}

TEST_F(RestrictedCvDialogueTest, SameKnownAndOneVectorOptions) {
  struct Case {
    int option, r;
    const char* text;
    const char* reference;
    const char* test_line;
  };
  const Case cases[] = {
      {2, 1, "A1+A2=0", "S1", " LR Test of Restrictions          CHSQ(   1)=  15.5354[.000]"},
      {2, 2, "A1+A2=0", "S2", " LR Test of Restrictions          CHSQ(   2)=  22.8284[.000]"},
      {1, 2, "1 -1 0", "F2", " LR Test of Restrictions          CHSQ(   1)=   7.1313[.008]"},
      {3, 2, "A1+A2=0; A3=0", "F2", " LR Test of Restrictions          CHSQ(   1)=   7.1313[.008]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("option ") + std::to_string(c.option) + " r " + std::to_string(c.r));
    dialog_script::reset();
    core::driver_state().restriction_text.clear();
    ASSERT_TRUE(run(c.option, c.r, std::string("text -> \"") + c.text + "\"\nresults -> close\n"));
    EXPECT_NEAR(s_.restricted.lr, reference(c.reference, "LR"), 1e-6);
    const Page page = last_page();
    EXPECT_FALSE(line_with(page, " Restricted Cointegrated Vectors in Johansen Estimation(Normalized in Brackets)").empty());
    EXPECT_EQ(line_with(page, " LR Test of Restrictions"), c.test_line);
    // The first variable's bracket is -1 in every vector.
    const auto labels =
        std::find_if(page.begin(), page.end(), [](const std::string& l) { return l.rfind("                  Vector  1", 0) == 0; });
    ASSERT_LT(labels + 2, page.end());
    EXPECT_EQ(fixed_text::trim((labels + 2)->substr(0, 30)), "(  -1.0000)");
  }
}

}  // namespace
}  // namespace qorv::testing
