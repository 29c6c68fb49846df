// The fitted values and dynamic forecasts of a chosen ARDL model, by hand.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "engine/single/ardl_forecast.h"
#include "shared/exchange_slots.h"

using namespace qorv::single;

namespace {

constexpr double kMissing = limits::kMissing;

ArdlData data_of(int n, int p, const std::vector<std::vector<double>>& variables,
                 const std::vector<std::vector<double>>& deterministic) {
  ArdlData d;
  d.n = n;
  d.p = p;
  for (const auto& v : variables) d.variables.emplace_back(v);
  for (const auto& v : deterministic) d.deterministic.emplace_back(v);
  return d;
}

TEST(ArdlForecast, FittedValuesThenForecastsFeedingTheirLags) {
  struct Case {
    const char* name;
    int n, p;
    std::vector<std::vector<double>> variables, deterministic;
    std::vector<int> orders;
    std::vector<double> b, expected;
  };
  const Case cases[] = {
      // ARDL(1,1) with an intercept, y = 1 + 0.5 y(−1) + 2 x − x(−1), p = 1, n = 3, F = 2.
      // Rows (after the one pre-sample row) y = 2, 3, 4 | not read; x = 1, 2, 3 | 4, 5.
      // Fitted: 1 + 0.5 + 2 − 0 = 3.5, 1 + 1 + 4 − 1 = 5, 1 + 1.5 + 6 − 2 = 6.5.
      // Forecasts: 1 + 0.5·4 + 8 − 3 = 8, then 1 + 0.5·8 + 10 − 4 = 11.
      {"ARDL(1,1)", 3, 1, {{1, 2, 3, 4, 99, 99}, {0, 1, 2, 3, 4, 5}}, {{1, 1, 1, 1, 1}}, {1, 1},
       {0.5, 2.0, -1.0, 1.0}, {3.5, 5.0, 6.5, 8.0, 11.0}},
      // ARDL(2,0) without deterministic terms, y = 0.5 y(−1) + 0.25 y(−2) + x, p = 2, n = 2:
      // y = 4, 8 | 10, 20 (not read) after 0, 2; x = 1 at every row.
      // Fitted: 0.5·2 + 0.25·0 + 1 = 2, 0.5·4 + 0.25·2 + 1 = 3.5; forecasts:
      // 0.5·8 + 0.25·4 + 1 = 6, then 0.5·6 + 0.25·8 + 1 = 6, then 0.5·6 + 0.25·6 + 1 = 5.5.
      {"ARDL(2,0)", 2, 2, {{0, 2, 4, 8, 10, 20, 30}, {1, 1, 1, 1, 1, 1, 1}}, {}, {2, 0}, {0.5, 0.25, 1.0},
       {2.0, 3.5, 6.0, 6.0, 5.5}},
      // ARDL(1,0), y = 1 + 0.5 y(−1) + 2x, fitted 0.5 + 2 + 1 = 3.5, 1 + 4 + 1 = 6,
      // 1.5 + 6 + 1 = 8.5; x missing at the first forecast: that forecast and the next,
      // which reads it through y(−1), are missing.
      {"missing regressor", 3, 1, {{1, 2, 3, 4, 99, 99}, {0, 1, 2, 3, kMissing, 5}}, {{1, 1, 1, 1, 1}}, {1, 0},
       {0.5, 2.0, 1.0}, {3.5, 6.0, 8.5, kMissing, kMissing}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int forecasts = static_cast<int>(c.expected.size()) - c.n;
    const std::vector<double> got =
        ardl_predictions(data_of(c.n, c.p, c.variables, c.deterministic), c.orders, c.b, forecasts);
    ASSERT_EQ(got.size(), c.expected.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_DOUBLE_EQ(got[i], c.expected[i]) << i;
  }
  // Coefficients that do not fit the orders are refused.
  EXPECT_THROW(ardl_predictions(data_of(3, 1, cases[0].variables, cases[0].deterministic), cases[0].orders,
                                std::vector<double>{0.5, 2.0}, 2),
               std::invalid_argument);
}

}  // namespace
