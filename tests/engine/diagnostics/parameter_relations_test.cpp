// Relations on parameters without an estimate: names of the blocks, the central-difference
// steps, the Jacobian, values that fail at a step, and the pieces of a text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/diagnostics/parameter_relations.h"
#include "shared/exchange_slots.h"

using namespace qorv::diagnostics;

namespace {

TEST(ParameterRelations, BlocksAreLetteredUpToZ) {
  const std::vector<int> three = {2, 0, 1};
  EXPECT_EQ(parameter_names(three), (std::vector<std::string>{"A1", "A2", "C1"}));
  const std::vector<int> twenty_six(26, 1);
  EXPECT_EQ(parameter_names(twenty_six).back(), "Z1");
  const std::vector<int> twenty_seven(27, 1);
  EXPECT_TRUE(parameter_names(twenty_seven).empty());
}

TEST(ParameterRelations, CentralDifferenceSteps) {
  struct Case {
    double theta, h;
  };
  const Case cases[] = {{0.0, 1e-4}, {0.05, 1e-4}, {0.1, 1e-4}, {2.0, 2e-3}, {-2.0, 2e-3}, {-0.05, 1e-4}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(derivative_step(c.theta), c.h) << c.theta;
}

TEST(ParameterRelations, JacobianOfRestrictionsAndFunctions) {
  const std::vector<std::string> names = {"A1", "A2", "B1"};
  const std::vector<double> theta = {-3.0, 0.0, 2.0};
  // Quadratics and products: central differences are exact up to rounding.
  auto parse = parse_relations("A1^2 = B1 ; ; A1*B1+A2=1 ;", RelationMode::kRestrictions, names, 3);
  ASSERT_EQ(parse.error, RelationError::kNone);
  ASSERT_EQ(parse.relations.size(), 2u);
  const RelationValues v = evaluate_relations(parse.relations, theta);
  ASSERT_EQ(v.failed, 0);
  EXPECT_DOUBLE_EQ(v.f[0], 7.0);
  EXPECT_DOUBLE_EQ(v.f[1], -7.0);
  const double expected[] = {-6.0, 0.0, -1.0, 2.0, 1.0, -3.0};
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(v.jacobian[static_cast<std::size_t>(k)], expected[k], 1e-9) << k;

  // J V J' and the statistic for V = I: J J' = [[37, -9], [-9, 14]].
  const std::vector<double> identity = {1, 0, 1, 0, 0, 1};
  const auto jvj = function_covariance(v.jacobian, 2, identity, 3, 1.0);
  EXPECT_NEAR(jvj[0], 37.0, 1e-8);
  EXPECT_NEAR(jvj[1], -9.0, 1e-8);
  EXPECT_NEAR(jvj[2], 14.0, 1e-8);
  // f' (JJ')⁻¹ f with f = (7, −7) and (JJ')⁻¹ = [[14, 9], [9, 37]] / (37·14 − 81).
  EXPECT_NEAR(wald_statistic(v.f, jvj), 49.0 * (14 - 18 + 37) / (37.0 * 14 - 81), 1e-8);

  parse = parse_relations("G=A1/B1 ; H2=LOG(B1)", RelationMode::kFunctions, names, 3);
  ASSERT_EQ(parse.error, RelationError::kNone);
  EXPECT_EQ(parse.relations[0].name, "G");
  EXPECT_EQ(parse.relations[1].name, "H2");
}

TEST(ParameterRelations, AValueMissingAtAStepFailsItsRelation) {
  const std::vector<std::string> names = {"A1", "A2"};
  const auto parse = parse_relations("A2=1 ; SQRT(A1)=0", RelationMode::kRestrictions, names, 2);
  ASSERT_EQ(parse.error, RelationError::kNone);
  const std::vector<double> at_zero = {0.0, 1.0};  // SQRT(0 − h) has no value
  EXPECT_EQ(evaluate_relations(parse.relations, at_zero).failed, 2);
  const std::vector<double> inside = {4.0, 1.0};
  EXPECT_EQ(evaluate_relations(parse.relations, inside).failed, 0);
}

TEST(ParameterRelations, PiecesCountedWithoutBlanks) {
  const std::vector<std::string> names = {"A1"};
  const auto parse = parse_relations(" ; A1=0 ;  ; A1=", RelationMode::kRestrictions, names, 5);
  EXPECT_EQ(parse.error, RelationError::kEqualitySign);
  EXPECT_EQ(parse.index, 2);
  EXPECT_EQ(parse_relations(" ;  ; ", RelationMode::kFunctions, names, 5).error, RelationError::kNoRelation);
  EXPECT_EQ(parse_relations("A1=1;A1=2", RelationMode::kRestrictions, names, 1).error, RelationError::kTooMany);
  const std::vector<double> f = {1.0};
  const std::vector<double> zero = {0.0};
  EXPECT_EQ(wald_statistic(f, zero), limits::kMissing);
}

}  // namespace
