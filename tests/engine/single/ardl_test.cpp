// The ARDL order search, the long-run coefficients and the error-correction form against
// the reference case ARDL_LC (LC on LY and R with an intercept, p = 4, 1961Q1-2008Q4), and
// the search's own rules on small fixtures.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/single/ardl_forms.h"
#include "engine/single/ardl_search.h"
#include "tests/engine/single/macro_fixture.h"

using namespace qorv;
using namespace qorv::single;
namespace macro = qorv::testing::macro;

namespace {

size_t at(int i) { return static_cast<size_t>(i); }

class ArdlReference : public qorv::testing::MacroTest {
 protected:
  static constexpr int kP = 4;
  static constexpr int kN = 196 - kP;  // the chosen sample 1960Q1-2008Q4 starts p later

  void SetUp() override {
    MacroTest::SetUp();
    for (const int v : {macro::kLc, macro::kLy, macro::kR}) columns_.push_back(column(v, 1));
    columns_.push_back(column(macro::kIntercept, 1 + kP));
    data_.n = kN;
    data_.p = kP;
    for (int i = 0; i < 3; ++i) data_.variables.emplace_back(columns_[at(i)]);
    data_.deterministic.emplace_back(columns_[3]);
  }
  static std::vector<double> column(int v, int from) {
    std::vector<double> c;
    for (int t = from; t <= 196; ++t) c.push_back(core::data_at(t, v));
    return c;
  }
  static std::string key(const std::vector<int>& q) {
    return std::to_string(q[0]) + "-" + std::to_string(q[1]) + "-" + std::to_string(q[2]);
  }

  std::vector<std::vector<double>> columns_;
  ArdlData data_;
};

TEST_F(ArdlReference, EveryModelAndEverySelection) {
  const auto ex = qorv::testing::single_extra_expected("ARDL_LC");
  ASSERT_EQ(ex.at("N").value, kN);
  const ArdlSelection sel = select_ardl_orders(data_, true);
  ASSERT_EQ(sel.stop, ArdlStop::kCompleted);
  EXPECT_EQ(static_cast<double>(sel.models), ex.at("MODELS").value);
  EXPECT_EQ(ardl_model_count(3, kP), sel.models);
  ASSERT_EQ(sel.fits.size(), 125u);
  for (const ArdlFit& f : sel.fits) {
    const std::string q = key(f.orders);
    EXPECT_PRED2(qorv::testing::agrees, f.loglik, ex.at("LL:" + q)) << q;
    EXPECT_PRED2(qorv::testing::agrees, f.criteria[0], ex.at("RBAR2:" + q)) << q;
    EXPECT_PRED2(qorv::testing::agrees, f.criteria[1], ex.at("AIC:" + q)) << q;
    EXPECT_PRED2(qorv::testing::agrees, f.criteria[2], ex.at("SBC:" + q)) << q;
    EXPECT_PRED2(qorv::testing::agrees, f.criteria[3], ex.at("HQ:" + q)) << q;
  }
  const char* names[] = {"RBAR2", "AIC", "SBC", "HQ"};
  for (int c = 0; c < kArdlCriteria; ++c)
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(sel.best[at(c)][at(i)], ex.at(std::string("SEL_") + names[c] + ":" + std::to_string(i)).value)
          << names[c] << " " << i;
}

TEST_F(ArdlReference, LongRunAndErrorCorrectionOfTheSelectedModels) {
  const auto ex = qorv::testing::single_extra_expected("ARDL_LC");
  struct Case {
    std::string crit;
    std::vector<int> orders;
    std::vector<std::string> ecm_names;
  };
  const std::vector<Case> cases = {
      {"SBC", {3, 2, 1}, {"dLY", "dR", "dLC1", "dLC2", "dLY1", "dINPT", "ecm(-1)"}},
      {"AIC", {4, 2, 2}, {"dLY", "dR", "dLC1", "dLC2", "dLC3", "dLY1", "dR1", "dINPT", "ecm(-1)"}},
  };
  const std::vector<std::string> levels = {"LY", "R", "INPT"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.crit);
    const ArdlEstimate fit = fit_ardl_model(data_, c.orders);
    ASSERT_FALSE(fit.singular);
    const ArdlLayout layout{c.orders, 1};
    const LongRun lr = ardl_long_run(layout, fit.b, fit.variance);
    ASSERT_FALSE(lr.refused);
    for (int i = 0; i < 3; ++i) {
      const std::string pre = "LR_" + c.crit + ":";
      EXPECT_PRED2(qorv::testing::agrees, lr.theta[at(i)], ex.at(pre + "THETA:" + levels[at(i)])) << levels[at(i)];
      EXPECT_PRED2(qorv::testing::agrees, std::sqrt(lr.variance[at(i * 3 + i)]), ex.at(pre + "THETA_SE:" + levels[at(i)]))
          << levels[at(i)];
    }
    const EcmForm ecm = ardl_ecm(layout, fit.b, fit.variance);
    ASSERT_EQ(ecm.terms.size(), c.ecm_names.size());
    const size_t m = ecm.terms.size();
    for (size_t i = 0; i < m; ++i) {
      const std::string& name = c.ecm_names[i];
      if (name == "dINPT") {
        // The intercept's row is the identity: the ARDL intercept and its standard error.
        EXPECT_EQ(ecm.coef[i], fit.b.back());
        EXPECT_DOUBLE_EQ(ecm.variance[i * m + i], fit.variance.back());
        continue;
      }
      EXPECT_PRED2(qorv::testing::agrees, ecm.coef[i], ex.at("ECM_" + c.crit + ":COEF:" + name)) << name;
      EXPECT_PRED2(qorv::testing::agrees, std::sqrt(ecm.variance[i * m + i]), ex.at("ECM_" + c.crit + ":SE:" + name))
          << name;
    }
  }
}

/// A small fixture whose models are written by hand: y, x and an intercept over
/// 8 + p observations.
struct SmallData {
  std::vector<double> y, x, one;
  ArdlData data;
  SmallData(std::vector<double> yv, std::vector<double> xv, int p) : y(std::move(yv)), x(std::move(xv)) {
    data.p = p;
    data.n = static_cast<int>(y.size()) - p;
    one.assign(at(data.n), 1.0);
    data.variables = {y, x};
    data.deterministic = {one};
  }
};

TEST(ArdlSearch, StopsAtASingularOrExactlyFittingModel) {
  const std::vector<double> y = {1.0, 3.0, 2.0, 5.0, 4.0, 4.5, 7.0, 6.0, 8.5, 7.5, 9.0};
  {
    // x is y lagged once: models (0,0) and (0,1) estimate, (1,0) holds y(-1) twice.
    std::vector<double> x(y.size(), 0.5);
    for (size_t t = 1; t < y.size(); ++t) x[t] = y[t - 1];
    const SmallData d(y, x, 1);
    const ArdlSelection sel = select_ardl_orders(d.data, true);
    EXPECT_EQ(sel.stop, ArdlStop::kSingular);
    EXPECT_EQ(sel.models, 3u);
    ASSERT_EQ(sel.fits.size(), 2u);
    EXPECT_EQ(sel.fits[1].orders, (std::vector<int>{0, 1}));
  }
  {
    // y = 2x + 1 exactly: the first model fits exactly.
    std::vector<double> x(y.size());
    for (size_t t = 0; t < y.size(); ++t) x[t] = (y[t] - 1.0) / 2.0;
    const SmallData d(y, x, 2);
    const ArdlSelection sel = select_ardl_orders(d.data, false);
    EXPECT_EQ(sel.stop, ArdlStop::kExactFit);
    EXPECT_EQ(sel.models, 1u);
  }
}

TEST(ArdlSearch, ModelCountIsExactIn64Bits) {
  EXPECT_EQ(ardl_model_count(3, 4), 125u);
  EXPECT_EQ(ardl_model_count(3, 5), 216u);
  EXPECT_EQ(ardl_model_count(10, 24), 95367431640625u);  // 25^10 wraps in 32 bits
}

TEST(ArdlForms, LongRunRefusedWhenTheLagsOfYSumToOne) {
  // ARDL(2,0) with s = 0: φ1 + φ2 = 1.
  const ArdlLayout layout{{2, 0}, 0};
  const std::vector<double> b = {0.4, 0.6, 2.0};
  const std::vector<double> v(9, 0.0);
  EXPECT_TRUE(ardl_long_run(layout, b, v).refused);
}

TEST(ArdlForms, ErrorCorrectionTermsOfSmallModels) {
  // ARDL(1,0): only dx and ecm(-1), no lagged difference; ARDL(3,2): dy1, dy2 and dx1 too.
  using T = EcmTerm;
  const auto kinds = [](const ArdlLayout& l) {
    std::vector<std::pair<int, int>> out;
    for (const EcmTerm& t : ecm_terms(l).terms) out.emplace_back(t.kind, t.kind == T::kLaggedDifference ? t.variable * 10 + t.lag : t.variable);
    return out;
  };
  EXPECT_EQ(kinds({{1, 0}, 0}), (std::vector<std::pair<int, int>>{{T::kDifference, 1}, {T::kCorrection, 0}}));
  EXPECT_EQ(kinds({{3, 2}, 0}),
            (std::vector<std::pair<int, int>>{{T::kDifference, 1}, {T::kLaggedDifference, 1}, {T::kLaggedDifference, 2},
                                              {T::kLaggedDifference, 11}, {T::kCorrection, 0}}));
  // ARDL(3,2): A carries (φ1, φ2, φ3, β0, β1, β2) into dx = β0, dy1 = −(φ2 + φ3),
  // dy2 = −φ3, dx1 = −β2, ecm(−1) = φ1 + φ2 + φ3 − 1.
  const std::vector<double> b = {0.5, 0.2, 0.1, 1.5, -0.5, 0.25};
  const std::vector<double> v(36, 0.0);
  const EcmForm f = ardl_ecm({{3, 2}, 0}, b, v);
  const std::vector<double> expected = {1.5, -0.3, -0.1, -0.25, -0.2};
  ASSERT_EQ(f.coef.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(f.coef[i], expected[i], 1e-15) << i;
}

}  // namespace
