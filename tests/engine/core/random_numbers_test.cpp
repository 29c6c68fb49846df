// The uniform stream bit for bit and the polar normals against the reference streams,
// and the seeding that makes a seed reproduce its series.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/random_numbers.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;
using qorv::testing::EngineTest;

class RandomNumbers : public EngineTest {};

/// One row of rng-wichmann-hill.csv.
struct StreamRow {
  std::string stream;  ///< "uniform" or "normal_polar"
  int seeds[3] = {};   ///< the seeds the stream starts from
  int index = 0;       ///< position in the stream, from 1
  double value = 0.0;  ///< the reference value
};

std::vector<StreamRow> read_streams() {
  std::ifstream in(ZV_REFERENCE_DIR "/rng-wichmann-hill.csv");
  std::vector<StreamRow> rows;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::stringstream ss(line);
    for (std::string field; std::getline(ss, field, ',');) f.push_back(field);
    if (f.size() < 6) continue;
    StreamRow row;
    row.stream = f[0];
    for (int i = 0; i < 3; ++i) row.seeds[i] = std::atoi(f[1 + i].c_str());
    row.index = std::atoi(f[4].c_str());
    row.value = std::strtod(f[5].c_str(), nullptr);
    rows.push_back(row);
  }
  return rows;
}

TEST_F(RandomNumbers, ReferenceStreamsForEverySeed) {
  const auto rows = read_streams();
  ASSERT_FALSE(rows.empty()) << "rng-wichmann-hill.csv not found";
  for (const auto& row : rows) {
    // Each stream starts fresh from its seeds.
    set_random_seeds(row.seeds[0], row.seeds[1], row.seeds[2]);
    double got = 0.0;
    for (int i = 0; i < row.index; ++i)
      got = row.stream == "uniform" ? RANDUNIFORM() : RANDNORMAL();
    if (row.stream == "uniform") {
      EXPECT_EQ(got, row.value) << "uniform " << row.seeds[0] << " #" << row.index;
    } else {
      EXPECT_NEAR(got, row.value, 1e-14 * std::fabs(row.value))
          << "normal " << row.seeds[0] << " #" << row.index;
    }
  }
}

TEST_F(RandomNumbers, LoadTimeSeedsAreOneTwentyThreeSeventyThree) {
  // The first uniform of seeds (1, 23, 73), from the reference stream.
  EXPECT_EQ(RANDUNIFORM(), 0.54544054212956383);
}

TEST_F(RandomNumbers, SecondNormalOfAPairDrawsNoUniforms) {
  set_random_seeds(5, 23, 73);
  RANDNORMAL();
  RANDNORMAL();  // the waiting deviate
  // Seeds 5, 23, 73 used two uniforms for the first pair: the third uniform comes next.
  EXPECT_EQ(RANDUNIFORM(), 0.21112642428708739);
}

TEST_F(RandomNumbers, SameSeedGivesSameNormalsOverAnOddSample) {
  auto series = [](int seed) {
    set_random_seeds(seed, 23, 73);
    std::vector<double> values(7);
    for (double& v : values) v = RANDNORMAL();
    return values;
  };
  const auto first = series(5);  // leaves a deviate waiting
  EXPECT_EQ(series(5), first);
  EXPECT_NEAR(first[0], 1.1153986714419166, 1e-14);
}

TEST_F(RandomNumbers, SeedsBeyondTheModulusGiveTheReducedStream) {
  set_random_seeds(32000, 23, 73);
  const double unreduced = RANDUNIFORM();
  set_random_seeds(32000 - 30269, 23, 73);
  EXPECT_EQ(RANDUNIFORM(), unreduced);
  // Negative and very large seeds stay in range and give numbers in [0, 1).
  set_random_seeds(-7, 2000000000, -2000000000);
  for (int i = 0; i < 1000; ++i) {
    const double u = RANDUNIFORM();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
  }
}

}  // namespace
