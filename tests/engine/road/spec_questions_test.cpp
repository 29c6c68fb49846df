// The non-nested test's questions about the dependent variable, and the initial-value grid.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/initial_values.h"
#include "engine/core/workspace.h"
#include "engine/core/dependent_questions.h"
#include "shared/fixed_text.h"
#include "tests/engine/core/spec_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace {

using namespace qorv;
using Names = std::vector<std::string>;

class SpecQuestions : public qorv::testing::SpecTest {};

TEST_F(SpecQuestions, WhichVariableTheDependentWasFormedFrom) {
  const struct {
    int nature;
    const char* prompt;
  } cases[] = {
      {core::kLogarithm, "LY is the logarithm of which variable?"},
      {core::kDifference, "LY is the difference of which variable?"},
      {core::kLogDifference, "LY is the log-difference of which variable?"},
      {core::kRatio, "Specify the variable in the numerator of the dependent variable:"},
  };
  for (const auto& c : cases) {
    dialog_script::reset();
    dialog_script::load("strict\nstring \"" + std::string(c.prompt) + "\" -> \"zz\"\nstring -> \"x\"\n");
    EXPECT_EQ(core::ASKDEPNATURE(c.nature, "LY"), core::find_variable("X")) << c.prompt;
    EXPECT_NE(dialog_script::transcript_text().find("message information 0 Variable ZZ does not exist!"),
              std::string::npos);
  }
  dialog_script::reset();
  EXPECT_EQ(core::ASKDEPNATURE(core::kLevel, "x"), core::find_variable("X"));
  EXPECT_TRUE(dialog_script::transcript().empty());
}

TEST_F(SpecQuestions, GivingUpAndTheChooser) {
  dialog_script::load("strict\nstring -> \"q\"\nstring -> cancel\nstring -> \"\"\nmenu \" Variable List\" -> cancel\n"
                      "string -> \"Z1\"\n");
  EXPECT_EQ(core::ASKDEPRATIO(core::RatioQuestion::kDenominator, 1, ""), 0);
  EXPECT_EQ(core::ASKDEPRATIO(core::RatioQuestion::kDivisor, 2, "Y"), 0);
  EXPECT_EQ(core::ASKDEPRATIO(core::RatioQuestion::kDivisor, 2, "Y"), core::find_variable("Z1"));
  const auto& calls = dialog_script::calls();
  EXPECT_EQ(calls[0].text, "Specify the variable in the denominator of the dependent variable in model M1");
  EXPECT_EQ(calls[1].text, " Divide Y by which variable in order to create the dependent variable for model M2");
}

TEST_F(SpecQuestions, CointegratingVectorsAreNamedAndTitled) {
  std::vector<double> values = {1, 2, 3, 4, 5, 6};
  std::vector<std::string> names;
  int flag = 3;
  dialog_script::load("strict\nvalues 20209 -> 6 5 4 3 2 1\nvalues 20209 -> cancel\n");
  core::EDITINITVALUES(values, names, core::kCointegratingVectors, flag);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(values, (std::vector<double>{6, 5, 4, 3, 2, 1}));
  Names trimmed;
  for (const std::string& n : names) trimmed.emplace_back(fixed_text::trim_right(n));
  EXPECT_EQ(trimmed, (Names{"A1", "A2", "A3", "B1", "B2", "B3"}));
  EXPECT_EQ(fixed_text::trim_right(dialog_script::calls()[0].text),
            " Editing initial parameter estimates.\r\n  A1 to A3 are assigned to parameters of vector 1.  B1 to B3 "
            "are assigned to parameters of vector 2 and so on.  Specify/edit initial values of cointegrating "
            "vectors.");
  // Cancelling leaves the values as they were.
  flag = 3;
  core::EDITINITVALUES(values, names, core::kCointegratingVectors, flag);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(values, (std::vector<double>{6, 5, 4, 3, 2, 1}));
}

TEST_F(SpecQuestions, OneVectorHasNoSecondLine) {
  std::vector<double> values = {1, 2};
  std::vector<std::string> names;
  int flag = 2;
  dialog_script::load("values -> keep\n");
  core::EDITINITVALUES(values, names, core::kCointegratingVectors, flag);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(fixed_text::trim_right(dialog_script::calls()[0].text),
            " Editing initial parameter estimates.\r\n  A1 to A2 are assigned to parameters of vector 1.  "
            "Specify/edit initial values of cointegrating vectors.");
}

TEST_F(SpecQuestions, GridLimits) {
  // Any number of values is shown; more than 26 vectors cannot be named.
  std::vector<double> many(150, 0.5);
  std::vector<std::string> names(150, "P");
  int flag = 0;
  dialog_script::load("values 117 -> keep\n");
  core::EDITINITVALUES(many, names, core::kGarchParameters, flag);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(dialog_script::calls()[0].items.size(), 150u);

  dialog_script::reset();
  std::vector<double> vectors(27, 1.0);
  flag = 1;
  core::EDITINITVALUES(vectors, names, core::kCointegratingVectors, flag);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(dialog_script::transcript_text(),
            "message information 0 Too many cointegrating vectors: at most 26 can be edited!\n");
}

TEST_F(SpecQuestions, NonLinearFormulaInTheTitle) {
  std::vector<double> values = {0.1, 0.2};
  std::vector<std::string> names = {"A1", "A2"};
  const std::vector<std::string> formula = {"Y = A1*X^A2   ", "     ", "  + 0"};
  int flag = 0;
  dialog_script::load("values 20341 -> 1 2\n");
  core::EDITINITVALUES(values, names, core::kNonLinearFormula, flag, formula);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(fixed_text::trim_right(dialog_script::calls()[0].text),
            " Editing initial parameter estimates.\r\n  Non-linear regression formula: Y = A1*X^A2   + 0");
}

}  // namespace
