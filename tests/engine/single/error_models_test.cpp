// The AR and MA error estimators against the reference estimates of ar-ma/expected.csv
// (every stored number of the definite and favoured rows), and their edge cases.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/single/error_models.h"
#include "engine/single/estimation_state.h"
#include "tests/engine/single/error_models_fixture.h"
#include "tests/engine/single/macro_fixture.h"

using namespace qorv;
using namespace qorv::single;
using qorv::testing::Expected;
using qorv::testing::reference_expected;
namespace macro = qorv::testing::macro;
namespace armacase = qorv::testing::armacase;

namespace {

class ErrorModels : public qorv::testing::MacroTest {};

/// Checks one row when the reference has it.
void check(const std::map<std::string, Expected>& rows, const std::string& quantity, double value) {
  const auto it = rows.find(quantity);
  if (it == rows.end()) return;
  EXPECT_TRUE(qorv::testing::agrees(value, it->second))
      << quantity << ": " << value << " against " << it->second.value << " (tolerance " << it->second.tolerance << ")";
}

TEST_F(ErrorModels, EveryCaseAgreesWithTheReferenceInItsStoredNumbers) {
  for (const auto& c : armacase::kCases) {
    SCOPED_TRACE(c.name);
    const auto rows = reference_expected("ar-ma", c.name);
    int asked = 0;
    const ErrorModelOutcome outcome = armacase::estimate(c, asked);
    ASSERT_EQ(outcome, ErrorModelOutcome::kEstimated);
    const auto& s = estimation();
    EXPECT_EQ(s.convergence, 0);
    for (int j = 1; j <= parameter_count(); ++j) {
      const std::string label = armacase::parameter_label(c, j);
      ASSERT_EQ(rows.count("coef:" + label), 1u) << label;
      const double b = coefficient(j), se = std::sqrt(coefficient_variance(j, j));
      check(rows, "coef:" + label, b);
      check(rows, "se:" + label, se);
      check(rows, "t:" + label, b / se);
    }
    ASSERT_EQ(rows.count("LL"), 1u);
    check(rows, "SE_REG", s.sigma);
    check(rows, "LL", s.loglik);
    check(rows, "RSS", s.rss);
    check(rows, "LL_OLS", s.stage_loglik[0]);
    if (c.code == method::kExactAr2) check(rows, "LL_AR1", s.stage_loglik[1]);
    if (rows.count("ITERATIONS") != 0) {
      EXPECT_EQ(s.iterations, rows.at("ITERATIONS").value);
    }
    if (c.code == method::kExactAr1) {
      EXPECT_LE(s.iterations, 15);
    }
    // Only D_AR2's scoring search needs more than 40 iterations.
    EXPECT_EQ(asked > 0, std::string(c.name) == "D_AR2") << asked;
  }
}

}  // namespace
