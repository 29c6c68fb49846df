// The distribution functions against the reference values of established software, each
// row to the tolerance that the reference states for the published algorithm, and their
// faults.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/distributions.h"
#include "shared/exchange_slots.h"

namespace {

using namespace qorv::core;

/// One row of distributions.csv.
struct ReferenceRow {
  std::string function;                ///< e.g. "normal_upper_tail"
  std::map<std::string, double> args;  ///< x, p, t, df, f, df1, df2
  double value = 0.0;                  ///< the reference value
  double tolerance = 0.0;              ///< allowed |difference|, from the row's note
  bool relative = false;               ///< tolerance relative to |value|
  std::string text;                    ///< the row as written, for messages
};

// Reads the tolerance from a note such as "...; test |d| <= 1e-10 relative" or
// "... agrees within 1e-14 relative"; "exactly 0" gives 0.
void read_tolerance(const std::string& note, ReferenceRow& row) {
  for (const char* marker : {"<= ", "within "}) {
    const auto at = note.rfind(marker);
    if (at == std::string::npos) continue;
    char* end = nullptr;
    const char* start = note.c_str() + at + std::string(marker).size();
    row.tolerance = std::strtod(start, &end);
    row.relative = std::string(end).find("relative") != std::string::npos;
    return;
  }
  row.tolerance = 0.0;
}

std::vector<ReferenceRow> read_reference() {
  std::ifstream in(ZV_REFERENCE_DIR "/distributions.csv");
  std::vector<ReferenceRow> rows;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::stringstream ss(line);
    for (std::string f; std::getline(ss, f, ',');) fields.push_back(f);
    if (fields.size() < 5) continue;
    ReferenceRow row;
    row.function = fields[0];
    std::stringstream args(fields[1]);
    for (std::string pair; std::getline(args, pair, ';');) {
      const auto eq = pair.find('=');
      row.args[pair.substr(0, eq)] = std::strtod(pair.c_str() + eq + 1, nullptr);
    }
    row.value = std::strtod(fields[2].c_str(), nullptr);
    read_tolerance(fields[4], row);
    row.text = line;
    rows.push_back(row);
  }
  return rows;
}

void expect_close(double got, double expected, const ReferenceRow& row, const char* what) {
  const double allowed = row.relative ? row.tolerance * std::fabs(expected) : row.tolerance;
  EXPECT_LE(std::fabs(got - expected), allowed)
      << what << ": got " << got << ", expected " << expected << "\n  row: " << row.text;
}

double f_upper_tail(double f, double m, double n) {
  int fault = 0;
  const double log_beta =
      LOGGAMMA(m / 2, fault) + LOGGAMMA(n / 2, fault) - LOGGAMMA((m + n) / 2, fault);
  const double x = m * f / (n + m * f);
  return 1.0 - INCBETA(x, m / 2, n / 2, log_beta, fault);
}

TEST(Distributions, EveryReferenceRowWithinItsTolerance) {
  const auto rows = read_reference();
  ASSERT_FALSE(rows.empty()) << "distributions.csv not found";
  for (const auto& row : rows) {
    const auto& a = row.args;
    int fault = -1;
    if (row.function == "normal_upper_tail") {
      const double x = a.at("x");
      expect_close(NORMALTAIL(x, true), row.value, row, "upper tail");
      // The lower tail at -x is the same area.
      expect_close(NORMALTAIL(-x, false), row.value, row, "lower tail at -x");
    } else if (row.function == "normal_quantile") {
      // The exact quantile: the published algorithm is held to its own values below.
      EXPECT_LE(std::fabs(INVNORMAL(a.at("p")) - row.value), 1.5e-4) << row.text;
    } else if (row.function == "normal_quantile_as111") {
      expect_close(INVNORMAL(a.at("p")), row.value, row, "AS 111 quantile");
    } else if (row.function == "t_two_sided") {
      const double t = a.at("t");
      const int df = static_cast<int>(a.at("df"));
      expect_close(2.0 * (1.0 - TDISTRIBUTION(std::fabs(t), df, fault)), row.value, row,
                   "two-sided t");
      EXPECT_EQ(fault, 0);
      expect_close(2.0 * TDISTRIBUTION(-std::fabs(t), df, fault), row.value, row,
                   "twice the lower tail");
    } else if (row.function == "chisq_upper_tail") {
      const double p = INCGAMMA(a.at("x") / 2, a.at("df") / 2, fault);
      expect_close(1.0 - p, row.value, row, "chi-squared upper tail");
    } else if (row.function == "f_upper_tail") {
      expect_close(f_upper_tail(a.at("f"), a.at("df1"), a.at("df2")), row.value, row,
                   "F upper tail");
    } else if (row.function == "log_gamma") {
      expect_close(LOGGAMMA(a.at("x"), fault), row.value, row, "ln gamma");
      EXPECT_EQ(fault, 0);
    } else {
      ADD_FAILURE() << "unknown function in " << row.text;
    }
  }
}

TEST(Distributions, QuantileOfValuesOutsideTheUnitIntervalIsMissing) {
  for (double p : {0.0, 1.0, -0.5, 1.5, limits::kMissing, std::nan("")})
    EXPECT_EQ(INVNORMAL(p), limits::kMissing) << p;
}

TEST(Distributions, NormalTailAtItsCutOffs) {
  EXPECT_EQ(NORMALTAIL(19.0, true), 0.0);
  EXPECT_EQ(NORMALTAIL(-19.0, false), 0.0);
  EXPECT_EQ(NORMALTAIL(7.5, false), 1.0);
  EXPECT_EQ(NORMALTAIL(0.0, true), 0.5);
  // Below 18.66 the upper tail is still computed.
  EXPECT_GT(NORMALTAIL(18.0, true), 0.0);
}

TEST(Distributions, FaultsReportedAsPublished) {
  int fault = -1;
  for (double x : {0.0, -1.0, std::nan(""), HUGE_VAL}) {
    EXPECT_EQ(LOGGAMMA(x, fault), 0.0) << x;
    EXPECT_EQ(fault, 1) << x;
  }
  EXPECT_EQ(TDISTRIBUTION(1.0, 0, fault), 0.0);
  EXPECT_EQ(fault, 1);
  EXPECT_EQ(INCBETA(0.3, 0.0, 2.0, 0.0, fault), 0.3);
  EXPECT_EQ(fault, 1);
  EXPECT_EQ(INCBETA(1.3, 1.0, 2.0, 0.0, fault), 1.3);
  EXPECT_EQ(fault, 2);
  EXPECT_EQ(INCBETA(-0.1, 1.0, 2.0, 0.0, fault), -0.1);
  EXPECT_EQ(fault, 2);
  for (double x : {0.0, 1.0}) {
    EXPECT_EQ(INCBETA(x, 2.0, 3.0, 0.0, fault), x);
    EXPECT_EQ(fault, 0);
  }
  EXPECT_EQ(INCGAMMA(0.0, 1.0, fault), 0.0);
  EXPECT_EQ(fault, 1);
  EXPECT_EQ(INCGAMMA(1.0, -2.0, fault), 0.0);
  EXPECT_EQ(fault, 1);
}

TEST(Distributions, IncompleteGammaAtItsLimitsOnBothSides) {
  int fault = -1;
  // A small statistic on many degrees of freedom: the lower tail is 0, not 1.
  EXPECT_EQ(INCGAMMA(0.25, 15.0, fault), 0.0);
  EXPECT_EQ(fault, 2);
  // Far above the mean: the lower tail is 1.
  EXPECT_EQ(INCGAMMA(100.0, 5.0, fault), 1.0);
  EXPECT_EQ(fault, 2);
  // The missing code as a statistic lies far above any mean.
  EXPECT_EQ(INCGAMMA(limits::kMissing, 2.0, fault), 1.0);
  EXPECT_EQ(fault, 2);
}

TEST(Distributions, StudentTAtInfiniteStatistics) {
  int fault = -1;
  EXPECT_EQ(TDISTRIBUTION(HUGE_VAL, 4, fault), 1.0);
  EXPECT_EQ(TDISTRIBUTION(-HUGE_VAL, 5, fault), 0.0);
  EXPECT_EQ(fault, 0);
  EXPECT_EQ(TDISTRIBUTION(std::nan(""), 5, fault), 0.0);
  EXPECT_EQ(fault, 1);
}

}  // namespace
