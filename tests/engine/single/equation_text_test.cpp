// The text of the estimated equation for each kind of model, and the model file saved from
// a GARCH page.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/single/equation_text.h"
#include "engine/single/estimation_state.h"
#include "tests/support/engine/engine_fixture.h"

using namespace qorv;
using namespace qorv::single;

namespace {

class EquationText : public qorv::testing::EngineTest {};

/// Y on INPT and X with coefficients 1.5 and -0.25, then the extra parameters.
void set_estimate(int code, std::vector<int> lags, std::vector<double> extra) {
  auto& s = estimation();
  s.eqvarnames = {"Y", "INPT", "X"};
  s.arma_lags = std::move(lags);
  begin_estimate(code);
  s.nregs = 2;
  std::vector<double> all = {1.5, -0.25};
  all.insert(all.end(), extra.begin(), extra.end());
  for (size_t i = 0; i < all.size(); ++i) coefficient(static_cast<int>(i) + 1) = all[i];
}

TEST_F(EquationText, EachModelWritesItsEquation) {
  const std::string regression = "Y = 1.5000*INPT - .25000*X";
  set_estimate(method::kOls, {}, {});
  EXPECT_EQ(equation_lines(), std::vector<std::string>{regression});
  set_estimate(method::kExactAr1, {1}, {0.8});
  EXPECT_EQ(equation_lines(), std::vector<std::string>{regression + " + u ; u = .80000*u(-1)"});
  set_estimate(method::kMa, {1, 2}, {0.8, -0.25});
  EXPECT_EQ(equation_lines(), std::vector<std::string>{regression + " + u ; u = e + .80000*e(-1) - .25000*e(-2)"});

  struct Row {
    bool absolute, exponential, in_mean, student_t;
    std::vector<double> extra;
    std::vector<std::string> lines;
  };
  const Row rows[] = {
      {false, false, true, false, {0.8, 1.5, 0.25, 0.8},
       {regression + " + .80000*hsq ; hsq = 1.5000 + .25000*esq(-1)", "+ .80000*hsq(-1)"}},
      {true, false, false, false, {1.5, 0.25, 0.8}, {regression + " ; h = 1.5000 + .25000*ABS(e(-1)) + .80000*h(-1)"}},
      {false, true, false, true, {1.5, 0.25, -0.25, 0.8, 5.0},
       {regression + " ; LOG(hsq) = 1.5000 + .25000*(e/h)(-1)",
        "- .25000*(ABS(e(-1))/h(-1)-.73511) + .80000*LOG(hsq(-1))"}},
  };
  for (const Row& r : rows) {
    set_estimate(method::kGarch, {}, r.extra);
    auto& g = estimation().garch;
    g.absolute = r.absolute;
    g.exponential = r.exponential;
    g.in_mean = r.in_mean;
    g.distribution = r.student_t ? 1 : 0;
    g.ma_lags = g.ar_lags = {1};
    g.p = g.q = 1;
    EXPECT_EQ(equation_lines(), r.lines);
  }
}

}  // namespace
