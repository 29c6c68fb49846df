// Restriction texts of the four kinds read into R and the constants, or refused: one table
// of texts, their sizes and what must come out (rows and constants worked by hand).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/diagnostics/restriction_text.h"

using namespace qorv::diagnostics;

namespace {

RestrictionSizes general(int m, int r, int phase) {
  RestrictionSizes s;
  s.kind = RestrictionKind::kGeneral;
  s.m = m;
  s.r = r;
  s.phase = phase;
  return s;
}

RestrictionSizes homogeneous(int m, int r, int choice) {
  RestrictionSizes s;
  s.kind = RestrictionKind::kHomogeneous;
  s.m = m;
  s.r = r;
  s.choice = choice;
  return s;
}

RestrictionSizes fixed(int m, int r) {
  RestrictionSizes s;
  s.kind = RestrictionKind::kFixedVectors;
  s.m = m;
  s.r = r;
  return s;
}

RestrictionSizes sure(std::vector<int> regressors) {
  RestrictionSizes s;
  s.kind = RestrictionKind::kSure;
  s.regressors = std::move(regressors);
  return s;
}

struct Case {
  const char* what;
  const char* text;
  RestrictionSizes sizes;
  RestrictionOutcome outcome;
  std::string_view message = {};
  std::vector<std::vector<double>> rows = {};  ///< accepted: R row by row (kind 2: the vectors)
  std::vector<double> constants = {};
};

TEST(RestrictionText, TableOfTexts) {
  using O = RestrictionOutcome;
  const std::vector<Case> cases = {
      {"empty pieces and a trailing ;", ";;A1=1; A2+A3=0;", general(3, 1, 2), O::kAccepted, {},
       {{1, 0, 0}, {0, 1, 1}}, {1, 0}},
      {"sides moved across", "2*a1 - 3 = a3 + 0.5*A2", general(3, 1, 2), O::kAccepted, {}, {{2, -0.5, -1}}, {3}},
      {"cross-vector rows", "A1=1; B2=1; A2+B1=0; A3=B3", general(3, 2, 2), O::kAccepted, {},
       {{1, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 1, 0}, {0, 1, 0, 1, 0, 0}, {0, 0, 1, 0, 0, -1}}, {1, 1, 0, 0}},
      {"large and small coefficients", "1000000*A1 + 0.000001*A2 = 3; A3 = 1000000", general(3, 1, 2),
       O::kAccepted, {}, {{1e6, 1e-6, 0}, {0, 0, 1}}, {3, 1e6}},
      {"no equality sign", "A1+A2", general(3, 1, 2), O::kRefused, kEqualitySignText},
      {"sign just before ;", "A1=1; A2= ;", general(3, 1, 2), O::kRefused, kEqualitySignText},
      {"a product equated to zero", "A1*A2=0", general(3, 1, 2), O::kRefused, kNotLinearText},
      {"products that agree on every ray", "A1*A2=A2*A3", general(3, 1, 2), O::kRefused, kNotLinearText},
      {"a square of one parameter", "A1^2=A2", general(3, 1, 2), O::kRefused, kNotLinearText},
      {"a parameter of no vector", "C1=0", general(3, 2, 2), O::kRefused, kProcessingText},
      {"a side the language refuses", "A1=(A2", general(3, 1, 2), O::kRefused, kProcessingText},
      {"a division by zero", "A1/0=1", general(3, 1, 2), O::kRefused, kNotLinearText},
      {"more rows than parameters", "A1=1; A2=0; A1+A2=1", general(2, 1, 2), O::kRefused, kTooManyText},
      {"kind 1 not homogeneous", "A1=1", homogeneous(3, 1, 2), O::kRefused, kNotHomogeneousText},
      {"kind 1 homogeneous", "A1+A2=0 ; 2*A1=3*A3", homogeneous(4, 1, 2), O::kAccepted, {},
       {{1, 1, 0, 0}, {2, 0, -3, 0}}, {0, 0}},
      {"kind 1 at most m - 1", "A1=0;A2=0;A3=0", homogeneous(3, 1, 2), O::kOutOfBounds},
      {"one vector needs r rows", "A1=A2", homogeneous(4, 2, 3), O::kTooFewForOneVector},
      {"one vector with r rows", "A1=A2; A3=0", homogeneous(4, 2, 3), O::kAccepted, {},
       {{1, -1, 0, 0}, {0, 0, 1, 0}}, {0, 0}},
      {"phase 1, r = 2: four", "A1=1;A2=0;B1=0;B2=1", general(3, 2, 1), O::kAccepted, {},
       {{1, 0, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0}, {0, 0, 0, 1, 0, 0}, {0, 0, 0, 0, 1, 0}}, {1, 0, 0, 1}},
      {"phase 1, r = 2: three", "A1=1;A2=0;B1=0", general(3, 2, 1), O::kOutOfBounds},
      {"phase 1, r = 2: five", "A1=1;A2=0;B1=0;B2=1;A3=B3", general(3, 2, 1), O::kOutOfBounds},
      {"phase 2 takes more than r squared", "A1=1;A2=0;B1=0;B2=1;A3=B3", general(3, 2, 2), O::kAccepted, {},
       {{1, 0, 0, 0, 0, 0},
        {0, 1, 0, 0, 0, 0},
        {0, 0, 0, 1, 0, 0},
        {0, 0, 0, 0, 1, 0},
        {0, 0, 1, 0, 0, -1}},
       {1, 0, 0, 1, 0}},
      {"blank text", "  ; ;  ", general(3, 2, 2), O::kEmpty},
      {"kind 2 vectors", "1 0 -0.5 ; 0, 1, 2D0", fixed(3, 2), O::kAccepted, {}, {{1, 0, -0.5}, {0, 1, 2}}},
      {"kind 2 extra number", "1 0 -0.5 7", fixed(3, 2), O::kRefused, kNumbersText},
      {"kind 2 too few numbers", "1 0", fixed(3, 2), O::kRefused, kNumbersText},
      {"kind 2 not a number", "1 0 x", fixed(3, 2), O::kRefused, kNumbersText},
      {"kind 2 more vectors than r", "1 0 0; 0 1 0; 0 0 1", fixed(3, 2), O::kOutOfBounds},
      {"SURE across equations", "A2 + B1 = 1", sure({2, 1}), O::kAccepted, {}, {{0, 1, 1}}, {1}},
      {"SURE at most n - 1", "A1=0; A2=0; B1=0", sure({2, 1}), O::kOutOfBounds},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RestrictionParse p = parse_restrictions(c.text, c.sizes);
    ASSERT_EQ(p.outcome, c.outcome);
    EXPECT_EQ(p.message, c.message);
    if (c.outcome != O::kAccepted) continue;
    ASSERT_EQ(p.k, static_cast<int>(c.rows.size()));
    if (c.sizes.kind == RestrictionKind::kFixedVectors) {
      std::vector<double> flat;
      for (const auto& row : c.rows) flat.insert(flat.end(), row.begin(), row.end());
      EXPECT_EQ(p.matrix, flat);
      continue;
    }
    ASSERT_EQ(p.matrix.size(), static_cast<std::size_t>(p.k * p.n));
    for (int i = 0; i < p.k; ++i)
      for (int j = 0; j < p.n; ++j) EXPECT_EQ(p.at(i, j), c.rows[i][j]) << "row " << i << " column " << j;
    EXPECT_EQ(p.constants, c.constants);
  }
}

TEST(RestrictionText, NamesAndSizes) {
  EXPECT_EQ(restriction_parameter_names(general(2, 2, 1)), (std::vector<std::string>{"A1", "A2", "B1", "B2"}));
  EXPECT_EQ(restriction_parameter_names(sure({1, 2})), (std::vector<std::string>{"A1", "B1", "B2"}));
  EXPECT_EQ(restriction_parameter_count(fixed(4, 2)), 4);
  EXPECT_THROW(restriction_parameter_count(general(0, 1, 1)), std::invalid_argument);
  EXPECT_THROW(restriction_parameter_count(sure(std::vector<int>(27, 1))), std::invalid_argument);
}

}  // namespace
