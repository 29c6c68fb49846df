#include "tests/engine/single/longley_reference.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace qorv::testing {

namespace {

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out;
  std::stringstream in(line);
  for (std::string f; std::getline(in, f, ',');) out.push_back(f);
  return out;
}

}  // namespace

LongleyReference read_longley() {
  const std::string dir = std::string(ZV_REFERENCE_DIR) + "/nist-linear/Longley/";
  LongleyReference ref;
  std::string line;
  std::ifstream data(dir + "data.csv");
  EXPECT_TRUE(data) << dir;
  std::getline(data, line);
  while (std::getline(data, line)) {
    std::vector<double> row;
    for (const std::string& f : fields(line)) row.push_back(std::stod(f));
    ref.rows.push_back(std::move(row));
  }
  std::ifstream cert(dir + "certified.csv");
  std::getline(cert, line);
  while (std::getline(cert, line)) {
    const auto f = fields(line);
    if (f.size() >= 3 && f[0].size() == 2 && f[0][0] == 'B') {
      ref.coef.push_back(std::stod(f[1]));
      ref.se.push_back(std::stod(f[2]));
    } else if (f.size() >= 2 && f[0] == "residual_sd") {
      ref.sigma = std::stod(f[1]);
    }
  }
  EXPECT_EQ(ref.rows.size(), 16u);
  EXPECT_EQ(ref.coef.size(), 7u);
  return ref;
}

}  // namespace qorv::testing
