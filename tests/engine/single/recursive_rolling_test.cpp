// Recursive and rolling estimates against the reference series, and the estimates of a
// step or window against the least-squares and IV cores on the same observations.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/obs_label.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "engine/single/growing_least_squares.h"
#include "engine/single/least_squares.h"
#include "engine/single/recursive_rolling.h"
#include "shared/exchange_slots.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/engine/single/printed_numbers.h"

using namespace qorv;
using namespace qorv::single;
namespace macro = qorv::testing::macro;
using qorv::testing::Expected;

namespace {

size_t at(int i) { return static_cast<size_t>(i); }

class RecursiveRolling : public qorv::testing::MacroTest {
 protected:
  /// The equation's data over observations 1..196: columns of the workspace by number.
  static EquationData equation(int dep, const std::vector<int>& regs, const std::vector<int>& instr = {}) {
    EquationData eq;
    eq.n = 196;
    eq.k = static_cast<int>(regs.size());
    eq.l = static_cast<int>(instr.size());
    for (const int v : regs)
      for (int t = 1; t <= 196; ++t) eq.x.push_back(core::data_at(t, v));
    for (const int v : instr)
      for (int t = 1; t <= 196; ++t) eq.z.push_back(core::data_at(t, v));
    for (int t = 1; t <= 196; ++t) eq.y.push_back(core::data_at(t, dep));
    return eq;
  }
  static std::string label(int t) { return qorv::testing::trim(core::OBSLABEL(t)); }

  /// Checks a series of values dated by sample observation first..196 against the rows
  /// "<name>:<label>"; a row NA must be missing. Returns the rows seen.
  static int check(const std::map<std::string, Expected>& ex, const std::string& name, std::span<const double> s,
                   int first) {
    int seen = 0;
    for (int t = first; t <= 196; ++t) {
      const auto it = ex.find(name + ":" + label(t));
      const double v = s[at(t - first)];
      if (it == ex.end()) {
        EXPECT_EQ(v, limits::kMissing) << name << " " << label(t);
        continue;
      }
      ++seen;
      if (it->second.value == limits::kMissing) EXPECT_EQ(v, limits::kMissing) << name << " " << label(t);
      else EXPECT_PRED2(qorv::testing::agrees, v, it->second) << name << " " << label(t);
    }
    return seen;
  }
};

const std::vector<std::string> kNames = {"INPT", "LY", "INFL", "R"};

TEST_F(RecursiveRolling, RecursiveSeriesAgreeWithTheReference) {
  const auto ex = qorv::testing::single_extra_expected("REC_S");
  const EquationData eq = equation(macro::kLc, {macro::kIntercept, macro::kLy, macro::kInfl, macro::kR});
  const RecursiveSeries r = recursive_estimates(eq, true);
  ASSERT_EQ(r.m, static_cast<int>(ex.at("M_FIRST").value));
  int rows = 0;
  for (size_t j = 0; j < kNames.size(); ++j) {
    rows += check(ex, "REC_COEF:" + kNames[j], std::span(r.coef).subspan(j * 196, 196), 1);
    rows += check(ex, "REC_SE:" + kNames[j], std::span(r.coef_se).subspan(j * 196, 196), 1);
  }
  rows += check(ex, "REC_S2", r.s2, 1);
  rows += check(ex, "REC_RESID", r.resid, 1);
  rows += check(ex, "REC_PRED", r.pred, 1);
  EXPECT_EQ(rows, 768 + 764 + 192 + 191 + 191);
  // Predictions from the regressors named again are those of the equation's own regressors.
  const std::vector<double> again = recursive_predictions(r, eq.x);
  for (size_t t = 0; t < again.size(); ++t) EXPECT_NEAR(again[t], r.pred[t], 1e-12 * std::fabs(r.pred[t])) << t;
}

TEST_F(RecursiveRolling, RollingSeriesAgreeWithTheReference) {
  struct Case {
    std::string name;
    int h;
    std::vector<std::string> regs;
    int windows;
  };
  // RZ = R, but 0 from 1980Q1 to 1984Q4: the windows inside that span are singular.
  auto& g = core::globals();
  g.nvars = 7;
  core::set_variable(7, "RZ", "");
  for (int t = 1; t <= 196; ++t) core::data_at(t, 7) = t >= 81 && t <= 100 ? 0.0 : core::data_at(t, macro::kR);
  for (const Case& c : {Case{"ROLL_S40", 40, kNames, 157}, Case{"ROLL_RZ12", 12, {"INPT", "LY", "RZ"}, 185}}) {
    SCOPED_TRACE(c.name);
    const auto ex = qorv::testing::single_extra_expected(c.name);
    std::vector<int> regs;
    for (const auto& name : c.regs) regs.push_back(name == "RZ" ? 7 : core::find_variable(name));
    const RollingSeries r = rolling_estimates(equation(macro::kLc, regs), c.h);
    ASSERT_EQ(r.windows, c.windows);
    int rows = 0, missing = 0;
    for (size_t j = 0; j < regs.size(); ++j) {
      const size_t w = at(r.windows);
      rows += check(ex, "ROLL_COEF:" + c.regs[j], std::span(r.coef).subspan(j * w, w), c.h);
      rows += check(ex, "ROLL_SE:" + c.regs[j], std::span(r.se).subspan(j * w, w), c.h);
    }
    rows += check(ex, "ROLL_SIGMA", r.sigma, c.h);
    for (const double s : r.sigma) missing += s == limits::kMissing;
    EXPECT_EQ(rows, c.windows * (2 * static_cast<int>(regs.size()) + 1));
    EXPECT_EQ(missing, c.name == "ROLL_RZ12" ? 9 : 0);
  }
}

TEST_F(RecursiveRolling, InstrumentsEqualToRegressorsGiveLeastSquares) {
  const std::vector<int> regs = {macro::kIntercept, macro::kLy, macro::kInfl};
  const RecursiveSeries ols = recursive_estimates(equation(macro::kLc, regs), true);
  const RecursiveSeries iv = recursive_estimates(equation(macro::kLc, regs, regs), true);
  ASSERT_EQ(iv.m, ols.m);
  for (size_t i = 0; i < ols.coef.size(); ++i) EXPECT_NEAR(iv.coef[i], ols.coef[i], 1e-7 * std::fabs(ols.coef[i]) + 1e-9);
  for (size_t i = 0; i < ols.resid.size(); ++i) EXPECT_NEAR(iv.resid[i], ols.resid[i], 1e-6);
  const RollingSeries rols = rolling_estimates(equation(macro::kLc, regs), 30);
  const RollingSeries riv = rolling_estimates(equation(macro::kLc, regs, regs), 30);
  for (size_t i = 0; i < rols.se.size(); ++i) EXPECT_NEAR(riv.se[i], rols.se[i], 1e-8 * rols.se[i]);
}

TEST_F(RecursiveRolling, OverIdentifiedStepAndWindowEqualTheIvCore) {
  // LC on INPT, LY, INFL instrumented by INPT, LY, R, LC(-1): observations 2..81.
  const std::vector<int> regs = {macro::kIntercept, macro::kLy, macro::kInfl};
  const std::vector<int> instr = {macro::kIntercept, macro::kLy, macro::kR, macro::kLcLag};
  auto& g = core::globals();
  g.sample_start = 2;
  g.sample_end = 81;
  auto& s = estimation();
  s.eqvarlist = {macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl};
  s.instrlist = instr;
  s.ninstr = 4;
  begin_estimate(method::kIv);
  ASSERT_TRUE(load_sample());
  LSQCORE(true);
  ASSERT_EQ(s.status, 0);
  EquationData eq = equation(macro::kLc, regs, instr);
  // Observations 2..196 (LC(-1) is missing at the first).
  EquationData from2;
  from2.n = 195;
  from2.k = 3;
  from2.l = 4;
  for (int j = 0; j < 3; ++j) from2.x.insert(from2.x.end(), eq.x.begin() + j * 196 + 1, eq.x.begin() + (j + 1) * 196);
  for (int j = 0; j < 4; ++j) from2.z.insert(from2.z.end(), eq.z.begin() + j * 196 + 1, eq.z.begin() + (j + 1) * 196);
  from2.y.assign(eq.y.begin() + 1, eq.y.end());
  const RecursiveSeries r = recursive_estimates(from2, true);
  const RollingSeries w = rolling_estimates(from2, 80);
  for (int j = 1; j <= 3; ++j) {
    const double b = coefficient(j), se = std::sqrt(coefficient_variance(j, j));
    EXPECT_NEAR(r.coef[at(j - 1) * 195 + 79], b, 1e-9 * std::fabs(b));
    EXPECT_NEAR(r.coef_se[at(j - 1) * 195 + 79], se, 1e-8 * se);
    EXPECT_NEAR(w.coef[at(j - 1) * at(w.windows)], b, 1e-9 * std::fabs(b));
    EXPECT_NEAR(w.se[at(j - 1) * at(w.windows)], se, 1e-8 * se);
  }
  EXPECT_NEAR(w.sigma[0], s.sigma, 1e-9 * s.sigma);
  EXPECT_NEAR(r.s2[79], s.sigma * s.sigma, 1e-9 * s.sigma * s.sigma);
}

TEST_F(RecursiveRolling, EdgeCases) {
  const EquationData eq = equation(macro::kLc, {macro::kIntercept, macro::kLy});
  // h = N: one window, its value the full-sample estimate.
  const RollingSeries one = rolling_estimates(eq, 196);
  ASSERT_EQ(one.windows, 1);
  EXPECT_NE(one.sigma[0], limits::kMissing);
  // No degrees of freedom, or a window outside the sample.
  EXPECT_EQ(rolling_estimates(eq, 2).sigma, std::vector<double>(195, limits::kMissing));
  EXPECT_EQ(rolling_estimates(eq, 197).windows, 0);
  // A regressor that is zero up to the last observation: no estimable start.
  EquationData late = eq;
  for (int t = 0; t < 195; ++t) late.x[at(196 + t)] = 0.0;
  EXPECT_EQ(recursive_estimates(late, true).m, 0);
  // Zero up to observation 100: the first estimate at 101.
  EquationData step = eq;
  for (int t = 0; t < 196; ++t) step.x[at(196 + t)] = t >= 100 ? 1.0 : 0.0;
  const RecursiveSeries r = recursive_estimates(step, true);
  EXPECT_EQ(r.m, 101);
  EXPECT_EQ(r.coef[99], limits::kMissing);
  EXPECT_NE(r.coef[100], limits::kMissing);
  EXPECT_EQ(r.coef_se[100], limits::kMissing);
  EXPECT_NE(r.coef_se[101], limits::kMissing);
}

}  // namespace
