// The partition of restricted parameters: the pivots, the free parameters, the reduced
// restrictions, the null space and a particular solution, worked by hand; collinear
// restrictions refused whatever their units.
#include "engine/multi/restriction_setup.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::testing {
namespace {

using multi::RestrictionPartition;

class RestrictionSetupTest : public EngineTest {};

TEST_F(RestrictionSetupTest, PartitionsWorkedByHand) {
  struct Case {
    const char* what;
    int k, n;
    std::vector<double> r;  // column-major, k rows
    std::vector<double> c;
    std::vector<int> order;
    std::vector<double> null_space;  // n × (n − k)
    std::vector<double> particular;
  };
  const Case cases[] = {
      // θ1 = 1, θ2 + θ3 = 0: θ3 free, θ2 = −θ3.
      {"two rows", 2, 3, {1, 0, 0, 1, 0, 1}, {1, 0}, {1, 2, 3}, {0, -1, 1}, {1, 0, 0}},
      // 0.5θ1 + 2θ2 + θ3 = 4: the largest coefficient is the pivot; θ2 = 2 − θ1/4 − θ3/2.
      {"largest pivot", 1, 3, {0.5, 2, 1}, {4}, {2, 1, 3}, {1, -0.25, 0, 0, -0.5, 1}, {0, 2, 0}},
      // Units far apart: 1e-6·θ1 = 1e-6 and 1e6·θ2 = 0.
      {"scaled rows", 2, 3, {1e-6, 0, 0, 1e6, 0, 0}, {1e-6, 0}, {1, 2, 3}, {0, 0, 1}, {1, 0, 0}},
      {"no restriction", 0, 2, {}, {}, {1, 2}, {1, 0, 0, 1}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RestrictionPartition p;
    ASSERT_TRUE(multi::RESTRICTSETUP(c.r, c.c, c.k, c.n, p));
    EXPECT_EQ(p.order, c.order);
    EXPECT_EQ(p.free, c.n - c.k);
    ASSERT_EQ(p.null_space.size(), c.null_space.size());
    for (std::size_t i = 0; i < c.null_space.size(); ++i) EXPECT_DOUBLE_EQ(p.null_space[i], c.null_space[i]) << i;
    ASSERT_EQ(p.particular.size(), c.particular.size());
    for (std::size_t i = 0; i < c.particular.size(); ++i) EXPECT_DOUBLE_EQ(p.particular[i], c.particular[i]) << i;
  }
  EXPECT_TRUE(dialog_script::calls().empty());
}

TEST_F(RestrictionSetupTest, CollinearRestrictionsAreRefused) {
  struct Case {
    const char* what;
    int k, n;
    std::vector<double> r;
  };
  const Case cases[] = {
      {"a multiple", 2, 2, {1, 2, 2, 4}},
      {"a zero row", 2, 3, {1, 0, 0, 0, 0, 0}},
      {"a sum of two", 3, 3, {1, 0, 1, 0, 1, 1, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dialog_script::reset();
    RestrictionPartition p;
    EXPECT_FALSE(multi::RESTRICTSETUP(c.r, {}, c.k, c.n, p));
    ASSERT_EQ(dialog_script::calls().size(), 1u);
    EXPECT_EQ(dialog_script::calls()[0].text, "Restrictions are collinear!");
  }
  RestrictionPartition p;
  EXPECT_THROW(multi::restriction_partition(std::vector<double>{1}, {}, 2, 1, p), std::invalid_argument);
  EXPECT_THROW(multi::restriction_partition(std::vector<double>{1}, {}, 1, 2, p), std::invalid_argument);
}

}  // namespace
}  // namespace qorv::testing
