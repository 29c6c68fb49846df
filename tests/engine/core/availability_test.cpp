// Availability marks and the narrowed sample, on data with missing values inside the
// sample and at both ends.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "engine/core/availability.h"
#include "shared/exchange_slots.h"

namespace {

using namespace qorv::core;
constexpr double M = limits::kMissing;

/// Three variables over 7 observations, column-major: y, x1, x2.
struct Equation {
  std::vector<double> data;
  std::vector<int> list{1, 2, 3};  ///< y, then the regressors x1 and x2
  std::vector<int32_t> marks = std::vector<int32_t>(7, -1);
};

Equation make(std::vector<double> y, std::vector<double> x1, std::vector<double> x2) {
  Equation e;
  for (const auto* col : {&y, &x1, &x2}) e.data.insert(e.data.end(), col->begin(), col->end());
  return e;
}

TEST(Availability, MissingValuesInsideAndAtTheEnds) {
  // Observation 1: x1 missing; 4: y missing; 5: x2 missing; 7: y missing.
  Equation e = make({1, 2, 3, M, 5, 6, M},   //
                    {M, 1, 1, 1, 1, 1, 1},   //
                    {1, 1, 1, 1, M, 1, 1});
  int start = 1, end = 7;
  MARKAVAILABLE(e.data, 7, 2, e.list, M, start, end, e.marks, 1);
  EXPECT_EQ(e.marks, (std::vector<int32_t>{0, 2, 2, 1, 0, 2, 1}));
  // A regressor missing at the first observation moves the start forward; a dependent
  // variable missing at the last moves the end back to the last complete observation.
  EXPECT_EQ(start, 2);
  EXPECT_EQ(end, 6);
}

TEST(Availability, OnlyTheSampleIsNarrowedButEveryObservationIsMarked) {
  Equation e = make({1, 2, 3, 4, 5, 6, 7}, {1, 1, M, 1, 1, M, 1}, {1, 1, 1, 1, 1, 1, 1});
  int start = 3, end = 6;
  MARKAVAILABLE(e.data, 7, 2, e.list, M, start, end, e.marks, 1);
  EXPECT_EQ(e.marks, (std::vector<int32_t>{2, 2, 0, 2, 2, 0, 2}));
  EXPECT_EQ(start, 4);
  EXPECT_EQ(end, 5);
}

TEST(Availability, NoCompleteObservationLeavesStartAtEnd) {
  Equation e = make({M, M, M, M, M, M, M}, {1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1});
  int start = 2, end = 5;
  MARKAVAILABLE(e.data, 7, 2, e.list, M, start, end, e.marks, 1);
  EXPECT_EQ(e.marks, (std::vector<int32_t>(7, 1)));
  EXPECT_EQ(start, 5);
  EXPECT_EQ(end, 5);
}

TEST(Availability, WithoutAnOffsetEveryListedVariableDecides) {
  // A system's variables, none of them a dependent variable: a gap in any is a gap.
  Equation e = make({1, M, 3, 4, 5, 6, 7}, {1, 2, 3, M, 5, 6, 7}, {M, M, M, M, M, M, M});
  int start = 1, end = 7;
  MARKAVAILABLE(e.data, 7, 2, e.list, M, start, end, e.marks, 0);
  EXPECT_EQ(e.marks, (std::vector<int32_t>{2, 0, 2, 0, 2, 2, 2}));
  EXPECT_EQ(start, 1);
  EXPECT_EQ(end, 7);
}

TEST(Availability, ArgumentsOutsideTheDataAreRefused) {
  Equation e = make({1, 2, 3, 4, 5, 6, 7}, {1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1});
  int start = 1, end = 7;
  std::vector<int> beyond{1, 2, 4};
  EXPECT_THROW(MARKAVAILABLE(e.data, 7, 2, beyond, M, start, end, e.marks, 1),
               std::invalid_argument);
  std::vector<int32_t> short_marks(6);
  EXPECT_THROW(MARKAVAILABLE(e.data, 7, 2, e.list, M, start, end, short_marks, 1),
               std::invalid_argument);
  end = 8;
  EXPECT_THROW(MARKAVAILABLE(e.data, 7, 2, e.list, M, start, end, e.marks, 1),
               std::invalid_argument);
}

}  // namespace
