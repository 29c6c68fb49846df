// Reading the non-linear equation: which names are parameters, and what is refused.
#include "engine/single/nonlinear_formula.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace qorv::single;

TEST(NonLinearFormula, WorkspaceNamesStayDataOtherNamesBecomeParameters) {
  const std::vector<std::string> variables = {"C", "Y", "X"};
  NonLinearFormula f;
  ASSERT_EQ(read_nonlinear_formula("c = a + b*y^g + a*LOG(x(-1));\n", variables, f), NonLinearFormulaStatus::kOk);
  EXPECT_EQ(f.dependent, 1);
  EXPECT_EQ(f.parameters, (std::vector<std::string>{"A", "B", "G"}));
  EXPECT_EQ(f.expression, "a + b*y^g + a*LOG(x(-1))");
}

TEST(NonLinearFormula, RefusalsLeaveNothingBehind) {
  const std::vector<std::string> variables = {"C", "Y"};
  struct Case {
    const char* text;
    NonLinearFormulaStatus status;
  };
  for (const Case& c : {Case{"C + A*Y", NonLinearFormulaStatus::kNoDependent},
                        Case{"Z = A*Y", NonLinearFormulaStatus::kNoDependent},
                        Case{"C = 2*Y + 1", NonLinearFormulaStatus::kNoParameters},
                        Case{"C = A Y", NonLinearFormulaStatus::kRefused},
                        Case{"C = A*(Y", NonLinearFormulaStatus::kRefused},
                        Case{"C = A*Y @ 2", NonLinearFormulaStatus::kRefused},
                        Case{"C = A*Y + 1B", NonLinearFormulaStatus::kRefused},
                        Case{"C = ABCDEFGHIJK*Y", NonLinearFormulaStatus::kRefused}}) {
    NonLinearFormula f;
    f.parameters = {"OLD"};
    EXPECT_EQ(read_nonlinear_formula(c.text, variables, f), c.status) << c.text;
    EXPECT_TRUE(f.program.ops.empty()) << c.text;
  }
}

}  // namespace
