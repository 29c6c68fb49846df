// Fully modified least squares against the hand transcriptions of its definition on the
// macro data (1960Q2-2008Q4, the differences at 1960Q2 using 1960Q1).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/single/fully_modified.h"
#include "engine/single/lag_windows.h"
#include "tests/engine/single/macro_fixture.h"

using namespace qorv;
using namespace qorv::single;
namespace macro = qorv::testing::macro;
using qorv::testing::agrees;

namespace {

class FullyModified : public qorv::testing::MacroTest {
 protected:
  static constexpr int kFirst = 2, kLast = 196, kN = kLast - kFirst + 1;
  std::vector<double> y_, x_, dx_;

  /// LC on an intercept and `regressors` over 1960Q2-2008Q4.
  void take(const std::vector<int>& regressors) {
    y_.clear(), x_.clear(), dx_.clear();
    for (int t = kFirst; t <= kLast; ++t) y_.push_back(core::data_at(t, macro::kLc));
    for (int v : regressors)
      for (int t = kFirst; t <= kLast; ++t) {
        x_.push_back(core::data_at(t, v));
        dx_.push_back(core::data_at(t, v) - core::data_at(t - 1, v));
      }
  }

  FullyModifiedResult run(int window, int m, bool drift) const {
    FullyModifiedInput in;
    in.y = y_, in.x = x_, in.dx = dx_;
    in.n = kN;
    in.k = static_cast<int>(x_.size()) / kN;
    in.window = window, in.m = m, in.drift = drift;
    return fully_modified(in);
  }
};

struct Variant {
  const char* name;
  int window;
  int m;
  bool drift;
};

void expect_case(const FullyModifiedResult& r, const std::string& case_name, const Variant& v,
                 const std::vector<std::string>& labels) {
  SCOPED_TRACE(v.name);
  ASSERT_EQ(r.status, FullyModifiedStatus::kEstimated);
  const auto rows = qorv::testing::reference_expected("single-extra", case_name);
  const std::string p = std::string(v.name) + ":";
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const int j = static_cast<int>(i) + 1;
    EXPECT_TRUE(agrees(r.coefficients[i], rows.at(p + "COEF:" + labels[i]))) << labels[i];
    const double se = std::sqrt(r.omega * r.inverse[static_cast<std::size_t>(j * (j + 1) / 2 - 1)]);
    EXPECT_TRUE(agrees(se, rows.at(p + "SE:" + labels[i]))) << labels[i];
  }
  EXPECT_TRUE(agrees(r.omega, rows.at(p + "OMEGA")));
  EXPECT_TRUE(agrees(std::sqrt(r.omega), rows.at(p + "SE_REG")));
  EXPECT_TRUE(agrees(r.rss, rows.at(p + "RSS")));
  EXPECT_TRUE(agrees(r.loglik, rows.at(p + "LL")));
}

TEST_F(FullyModified, OneRegressorMatchesEveryVariant) {
  take({macro::kLy});
  EXPECT_EQ(qorv::testing::reference_expected("single-extra", "FMOLS_LY").at("N").value, kN);
  const Variant variants[] = {
      {"BARTLETT_M4_NODRIFT", window::kBartlett, 4, false}, {"BARTLETT_M4_DRIFT", window::kBartlett, 4, true},
      {"BARTLETT_M0_NODRIFT", window::kBartlett, 0, false}, {"EQUAL_M4_NODRIFT", window::kEqual, 4, false},
      {"TUKEY_M4_NODRIFT", window::kTukey, 4, false},       {"PARZEN_M4_NODRIFT", window::kParzen, 4, false},
      {"PARZEN_M12_DRIFT", window::kParzen, 12, true},
  };
  for (const Variant& v : variants) expect_case(run(v.window, v.m, v.drift), "FMOLS_LY", v, {"INPT", "LY"});
}

TEST_F(FullyModified, TwoRegressorsMatch) {
  take({macro::kLy, macro::kR});
  const Variant variants[] = {{"BARTLETT_M4_DRIFT", window::kBartlett, 4, true},
                              {"PARZEN_M8_NODRIFT", window::kParzen, 8, false}};
  for (const Variant& v : variants) expect_case(run(v.window, v.m, v.drift), "FMOLS_LY_R", v, {"INPT", "LY", "R"});
}

TEST_F(FullyModified, RefusalsNameTheirCause) {
  // A trend's differences are constant: centred under drift they vanish and Omega_xx is 0.
  y_.assign(10, 0.0), x_.clear(), dx_.assign(10, 1.0);
  for (int t = 1; t <= 10; ++t) y_[static_cast<std::size_t>(t - 1)] = 0.5 * t + (t % 3) * 0.1, x_.push_back(t);
  FullyModifiedInput in;
  in.y = y_, in.x = x_, in.dx = dx_, in.n = 10, in.k = 1, in.window = window::kBartlett, in.m = 2, in.drift = true;
  EXPECT_EQ(fully_modified(in).status, FullyModifiedStatus::kSingularLongRun);
  in.drift = false;
  in.threshold = 1e3;  // no omega passes
  EXPECT_EQ(fully_modified(in).status, FullyModifiedStatus::kSmallOmega);
  std::vector<double> ones(10, 1.0);
  in.x = ones, in.threshold = 1e-11;
  EXPECT_EQ(fully_modified(in).status, FullyModifiedStatus::kCollinear);
  in.n = 2;
  EXPECT_EQ(fully_modified(in).status, FullyModifiedStatus::kBadShape);
}

}  // namespace
