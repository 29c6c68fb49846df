// The formula evaluator: every operation code on ordinary, missing, constant and extreme
// operands, lags and leads, the series functions' edge cases, the stack capacity and its
// message, the argument checks, and the property that nothing non-finite is ever stored.
#include "engine/data/formula_evaluator.h"
#include "engine/data/moving_average.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/engine/data/formula_sheet.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"
#include "tests/support/scratch_folder.h"

namespace {

using namespace formula_test;
using namespace qorv::data;

/// X holds ordinary, boundary, missing and extreme values; Y is a second operand.
Sheet extremes() {
  Sheet s;
  s.add("X", {4, -3, 0, M, 1e300, -1e200, 1e-300, 0.25});
  s.add("Y", {2, 2, 5, 1, 1e-300, 1e-300, 1e-300, M});
  return s;
}

void expect_values(const Sheet& sheet, const std::string& formula, const std::vector<double>& want,
                   int first = 1, int last = 0) {
  const Outcome r = run(sheet, formula, first, last);
  ASSERT_EQ(r.status, FormulaStatus::kOk) << formula;
  ASSERT_EQ(r.values.size(), want.size()) << formula;
  for (std::size_t i = 0; i < want.size(); ++i) {
    if (want[i] == M || r.values[i] == M)
      EXPECT_EQ(r.values[i], want[i]) << formula << " row " << i + 1;
    else
      EXPECT_NEAR(r.values[i], want[i], 1e-15 * std::fabs(want[i])) << formula << " row " << i + 1;
  }
}

TEST(FormulaEvaluator, PointwiseOperations) {
  const Sheet s = extremes();
  const double third = -1.0 / 3.0;
  struct Case {
    const char* formula;
    std::vector<double> want;
  };
  for (const Case& c : std::vector<Case>{
           {"X+Y", {6, -1, 5, M, 1e300, -1e200, 2e-300, M}},
           {"X-Y", {2, -5, -5, M, 1e300, -1e200, 0, M}},
           {"X*Y", {8, -6, 0, M, 1e300 * 1e-300, -1e200 * 1e-300, 0, M}},
           {"X*X", {16, 9, 0, M, M, M, 0, 0.0625}},
           {"X/Y", {2, -1.5, 0, M, M, M, 1, M}},
           {"1/X", {0.25, third, M, M, 1e-300, -1e-200, 1e300, 4}},
           {"X/0", {M, M, M, M, M, M, M, M}},
           {"X^2", {16, 9, 0, M, M, M, 0, 0.0625}},
           {"X^3", {64, -27, 0, M, M, M, 0, 0.015625}},
           {"X^2.0", {16, M, 0, M, M, M, 0, 0.0625}},
           {"X^0", {1, 1, M, M, 1, 1, 1, 1}},
           {"X^0.5", {2, M, 0, M, 1e150, M, 1e-150, 0.5}},
           {"X^Y", {16, M, 0, M, 1, M, 1, M}},
           {"MIN(X, Y)", {2, -3, 0, M, 1e-300, -1e200, 1e-300, M}},
           {"MAX(X, 1)", {4, 1, 1, M, 1e300, 1, 1, 1}},
           {"LOG(X)", {std::log(4.0), M, M, M, std::log(1e300), M, std::log(1e-300), std::log(0.25)}},
           {"EXP(X)", {std::exp(4.0), std::exp(-3.0), 1, M, M, 0, 1, std::exp(0.25)}},
           {"ABS(X)", {4, 3, 0, M, 1e300, 1e200, 1e-300, 0.25}},
           {"SQRT(X)", {2, M, 0, M, 1e150, M, 1e-150, 0.5}},
           {"SIN(X)", {std::sin(4.0), std::sin(-3.0), 0, M, std::sin(1e300), std::sin(-1e200), 1e-300, std::sin(0.25)}},
           {"COS(X)", {std::cos(4.0), std::cos(-3.0), 1, M, std::cos(1e300), std::cos(-1e200), 1, std::cos(0.25)}},
           {"SIGN(X)", {1, 0, 0, M, 1, 0, 1, 1}},
           {"PHI(X)", {std::exp(-8.0) / 2.5066282746310002, std::exp(-4.5) / 2.5066282746310002,
                       1 / 2.5066282746310002, M, 0, 0, 1 / 2.5066282746310002,
                       std::exp(-0.03125) / 2.5066282746310002}},
       }) {
    expect_values(s, c.formula, c.want);
  }
  // The quantile exists only inside (0, 1).
  const Outcome q = run(s, "INVNORM(X)");
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(q.values[i], M) << "row " << i + 1;
  EXPECT_NE(q.values[7], M);
}

TEST(FormulaEvaluator, ConstantsAndPartExamples) {
  Sheet s;
  s.add("X", std::vector<double>(10, 1.0));
  struct Case {
    const char* formula;
    double value;  // in every row
  };
  for (const Case& c : {Case{"0^0", M}, Case{"2^10", 1024}, Case{"(-3)^2", 9}, Case{"(-3)^2.0", M},
                        Case{"CPHI(0)", 0.5}, Case{"PHI(0)", 1 / 2.5066282746310002},
                        Case{"INVNORM(0.5)", 0}, Case{"INVNORM(0)", M}, Case{"LOG(0)", M},
                        Case{"EXP(351)", M}, Case{"RANK(3)", 5}, Case{"SUM(2)", 20}, Case{"MEAN(2)", 2},
                        Case{"STD(2)", 0}, Case{"SORT(2)", 2}, Case{"RATE(2)", 0}, Case{"8934567", M},
                        Case{"SUM(8934567)", M}, Case{"3.5", 3.5}}) {
    const Outcome r = run(s, c.formula);
    ASSERT_EQ(r.status, FormulaStatus::kOk) << c.formula;
    for (const double v : r.values) EXPECT_EQ(v, c.value) << c.formula;
  }
  expect_values(s, "CSUM(2)", {2, 4, 6, 8, 10, 12, 14, 16, 18, 20});
  expect_values(s, "GDL(1, 0.5)", {1, 1.5, 1.75, 1.875, 1.9375, 1.96875, 1.984375, 1.9921875,
                                   1.99609375, 1.998046875});
}

TEST(FormulaEvaluator, SeriesFunctionsEdgeCases) {
  Sheet s;
  s.add("X", {2, 1, 2, M, 0, 0, 5, 8934567 - 1});
  s.add("A", {10, 20, 30, 1, 1, 1, 1, 1});
  s.add("B", {3, 1, 2, 1, 1, 1, 1, 1});
  s.add("BIG", {1e151, 1e151, 1e151, 1, 2, 3, 4, 5});
  expect_values(s, "RANK(X)", {2.5, 1, 2.5, M, M, M, M, M}, 1, 3);
  expect_values(s, "ORDER(A, B)", {20, 30, 10, M, M, M, M, M}, 1, 3);
  expect_values(s, "SORT(X)", {0, 0, 1, 2, 2, 5, 8934566, M});
  // Missing values sort last and share the mean of their positions.
  expect_values(s, "RANK(X)", {4.5, 3, 4.5, 8, 1.5, 1.5, 6, 7});
  expect_values(s, "SUM(X)", std::vector<double>(8, M));
  expect_values(s, "SUM(X)", {5, 5, 5, M, M, M, M, M}, 1, 3);
  expect_values(s, "STD(X)", {M, M, M, M, M, M, M, M}, 1, 1);
  // Values whose squares overflow: the mean of what fits, no standard deviation.
  Sheet huge;
  huge.add("H", {1e300, -1e300, 1e308, 1e308});
  expect_values(huge, "STD(H)", {M, M, M, M}, 1, 2);
  expect_values(huge, "MEAN(H)", {M, M, 1e308, 1e308}, 3, 4);
  expect_values(s, "CSUM(X)", {2, 3, 5, M, M, M, M, M});
  expect_values(s, "RATE(X)", {M, -50, 100, M, M, 0, M, 100 * (8934566.0 - 5) / 5});
  // Running sums and distributed lags stop beyond 1.0070908870280642e152.
  expect_values(s, "CSUM(BIG)", {1e151, 2e151, 3e151, 3e151 + 1, 3e151 + 3, 3e151 + 6, 3e151 + 10, 3e151 + 15}, 1, 8);
  Sheet big;
  big.add("V", std::vector<double>(12, 1e151));
  const Outcome cs = run(big, "CSUM(V)");
  EXPECT_NEAR(cs.values[9], 1e152, 1e138);
  EXPECT_EQ(cs.values[10], M);
  EXPECT_EQ(cs.values[11], M);
  expect_values(s, "GDL(A, B)", {10, 30, 90, 91, 92, 93, 94, 95});
  expect_values(s, "GDL(X, 0.5)", {2, 2, 3, M, M, M, M, M});
  // The trend filter needs one smoothing parameter over the whole range.
  expect_values(s, "HPF(A, B)", std::vector<double>(8, M));
}

TEST(FormulaEvaluator, LagsLeadsAndTheMovingAverageBeforeTheSample) {
  Sheet s;
  s.add("X", {1, 2, 3, 4, 5, 6, 7, 8});
  expect_values(s, "X(-1)", {M, 1, 2, 3, 4, 5, 6, 7});
  expect_values(s, "X(+2)", {3, 4, 5, 6, 7, 8, M, M});
  expect_values(s, "X(-999999999)", std::vector<double>(8, M));
  expect_values(s, "X(-0)", {1, 2, 3, 4, 5, 6, 7, 8});
  // A lag reads before the sample; rows outside the sample are not written.
  expect_values(s, "X(-1)*10", {M, M, 20, 30, M, M, M, M}, 3, 4);
  // The window reaches before the sample into a variable's own values, a constant's value,
  // and nothing for a computed series.
  expect_values(s, "MAV(X, 3)", {M, M, M, M, 4, 5, 6, 7}, 5, 8);
  expect_values(s, "MAV(5, 3)", {M, M, M, M, 5, 5, 5, 5}, 5, 8);
  expect_values(s, "MAV(X*1, 3)", {M, M, M, M, M, M, 6, 7}, 5, 8);
  expect_values(s, "MAV(X, 100000*100000)", std::vector<double>(8, M));
}

TEST(FormulaEvaluator, MovingAverageChecksItsLengths) {
  const std::vector<double> series = {1, 2, 3}, window = {2, 2};
  std::vector<double> out(2);
  FUNCMAV(1, series, window, M, out);
  EXPECT_EQ(out, (std::vector<double>{1.5, 2.5}));
  EXPECT_THROW(FUNCMAV(2, series, window, M, out), std::invalid_argument);  // past observation 3
  EXPECT_THROW(FUNCMAV(-1, series, window, M, out), std::invalid_argument);
  std::vector<double> short_out(1);
  EXPECT_THROW(FUNCMAV(0, series, window, M, short_out), std::invalid_argument);
}

TEST(FormulaEvaluator, ParametersAreNumbersAndTheResultMayBeAVariable) {
  Sheet s;
  s.add("A", {1, 2, 3});
  s.add("Y", {1, M, M});
  const std::vector<double> theta = {0.5, 4};
  const CompileResult c = compile_formula("A*X + Y(-1)*B", {s.names, std::vector<std::string>{"A", "B"}});
  // "X" is no name here: the parameters are A and B, A shadowing the variable A.
  EXPECT_EQ(c.status, FormulaStatus::kUnknownName);
  const CompileResult sim = compile_formula("Y(-1)*B + A", {s.names, std::vector<std::string>{"B"}});
  ASSERT_EQ(sim.status, FormulaStatus::kOk);
  FormulaScratch scratch;
  const std::vector<double> b = {0.5};
  // Row by row into Y itself, as a recursive formula runs: each row sees the one before.
  std::span<double> y(s.data.data() + 3, 3);
  for (int t = 2; t <= 3; ++t)
    ASSERT_EQ(evaluate_formula(sim.program, s.view(b), t, t, y, scratch, 100), FormulaStatus::kOk);
  EXPECT_EQ(s.data[4], 0.5 * 1 + 2);
  EXPECT_EQ(s.data[5], 0.5 * 2.5 + 3);
  const CompileResult p = compile_formula("A*2", {s.names, std::vector<std::string>{"A"}});
  const Outcome r = [&] {
    Outcome o;
    o.values.assign(3, M);
    o.status = evaluate_formula(p.program, s.view(theta), 1, 3, o.values, scratch, 100);
    return o;
  }();
  EXPECT_EQ(r.values, (std::vector<double>{1, 1, 1}));
}

// A scratch that keeps the formula's parts gives, at every parameter vector of a
// derivative-style sequence (one parameter moved at a time, back and forth), exactly the
// values of an evaluation from scratch: parts that read only unchanged parameters are taken
// again, the others computed anew; missing values and a power of a negative base included.
// A formula of whole-series functions or lags is computed in full each time.
TEST(FormulaEvaluator, KeptPartsGiveTheValuesOfAFreshEvaluation) {
  Sheet s;
  s.add("K", {4, 9, 0.5, M, 16, 2.25, 7});
  s.add("L", {1, 2, 3, 4, -5, 6, 7});
  for (const std::string formula : {"A*K^B*L^G", "A + EXP(B/(K+G))*LOG(L) - B*G", "A*K^2 + SQRT(L)*B",
                                     "SUM(K*A) + L(-1)*B + G"}) {
    SCOPED_TRACE(formula);
    const CompileResult c = compile_formula(formula, {s.names, std::vector<std::string>{"A", "B", "G"}});
    ASSERT_EQ(c.status, FormulaStatus::kOk);
    FormulaScratch kept;
    kept.keep_parts = true;
    std::vector<double> theta = {2.0, 0.3, 0.6};
    for (int round = 0; round < 9; ++round) {
      const auto moved = static_cast<std::size_t>(round % 3);
      const double was = theta[moved];
      for (const double step : {0.001, -0.001, 0.0}) {
        theta[moved] = was + step;
        std::vector<double> fresh_values(7, -1.0), kept_values(7, -1.0);
        FormulaScratch fresh;
        ASSERT_EQ(evaluate_formula(c.program, s.view(theta), 2, 7, fresh_values, fresh, 100), FormulaStatus::kOk);
        ASSERT_EQ(evaluate_formula(c.program, s.view(theta), 2, 7, kept_values, kept, 100), FormulaStatus::kOk);
        ASSERT_EQ(std::memcmp(fresh_values.data(), kept_values.data(), 7 * sizeof(double)), 0) << round;
      }
      theta[moved] = was * 1.1;
    }
    const bool pointwise = formula.rfind("SUM", 0) != 0;
    EXPECT_EQ(kept.parts.program == &c.program, pointwise);
  }
}

TEST(FormulaEvaluator, ArgumentsOutsideTheDataAreRefusedUntouched) {
  Sheet s;
  s.add("X", {1, 2, 3});
  const std::vector<std::string> more = {"X", "W"};
  const CompileResult c = compile_formula("X+W", {more, {}});
  const CompileResult p = compile_formula("X+P", {s.names, std::vector<std::string>{"P"}});
  FormulaScratch scratch;
  std::vector<double> out(3, -1.0);
  const auto refused = [&](const FormulaProgram& prog, int first, int last, std::span<double> result) {
    return evaluate_formula(prog, s.view(), first, last, result, scratch, 100) == FormulaStatus::kBadArguments;
  };
  const FormulaProgram ok = compile_formula("X*2", {s.names, {}}).program;
  EXPECT_TRUE(refused(ok, 0, 3, out));
  EXPECT_TRUE(refused(ok, 1, 4, out));
  EXPECT_TRUE(refused(ok, 3, 2, out));
  EXPECT_TRUE(refused(ok, 1, 3, std::span<double>(out.data(), 2)));
  EXPECT_TRUE(refused(c.program, 1, 3, out));  // a variable the data do not hold
  EXPECT_TRUE(refused(p.program, 1, 3, out));  // a parameter without a value
  EXPECT_TRUE(refused(FormulaProgram{}, 1, 3, out));
  // Programs put together by hand must have the compiler's shape.
  using Op = FormulaOp;
  const auto program = [](std::vector<FormulaOp> ops, int depth) { return FormulaProgram{ops, depth, 0, false}; };
  EXPECT_TRUE(refused(program({Op{Op::kNumber, 0, 2.0}, Op{Op::kFunction, kAdd}}, 1), 1, 3, out));
  EXPECT_TRUE(refused(program({Op{Op::kNumber}, Op{Op::kNumber, 0, 1.0}, Op{Op::kLag}}, 2), 1, 3, out));
  EXPECT_TRUE(refused(program({Op{Op::kVariable, 1}, Op{Op::kFunction, 99}}, 1), 1, 3, out));
  EXPECT_TRUE(refused(program({Op{Op::kVariable, 1}, Op{Op::kVariable, 1}}, 2), 1, 3, out));
  EXPECT_TRUE(refused(program({Op{Op::kVariable, 1}, Op{Op::kFunction, kLog}}, 5), 1, 3, out));
  EXPECT_FALSE(refused(program({Op{Op::kVariable, 1}, Op{Op::kFunction, kLog}}, 1), 1, 3, out));
  out.assign(3, -1.0);
  EXPECT_EQ(out, std::vector<double>(3, -1.0));
}

class FormulaCapacity : public qorv::testing::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    qorv::testing::install_numbered_message_file(folder_, 40);
  }
  zv_test::ScratchFolder folder_{"formula-capacity"};
};

TEST_F(FormulaCapacity, AFullWorkspaceRunsSixtyNineLevelsAndRefusesSeventy) {
  EXPECT_EQ(formula_stack_capacity(FormulaCaller::kCommands, 3100, 40), 69);
  EXPECT_EQ(formula_stack_capacity(FormulaCaller::kCommands, 3100, 100), 9);
  EXPECT_EQ(formula_stack_capacity(FormulaCaller::kEstimation, 100, 40), 1199);
  EXPECT_EQ(formula_stack_capacity(FormulaCaller::kEstimation, 3100, 40), -1);
  Sheet s;
  for (int j = 1; j <= 40; ++j) s.add("V" + std::to_string(j), std::vector<double>(3100, 1.0));
  const auto nested = [](int depth) {
    std::string text = "V1";
    for (int i = 1; i < depth; ++i) text = "V" + std::to_string(i % 40 + 1) + "+(" + text + ")";
    return text;
  };
  const Outcome ok = run(s, nested(69));
  ASSERT_EQ(ok.status, FormulaStatus::kOk);
  EXPECT_EQ(ok.values.front(), 69);
  EXPECT_EQ(ok.values.back(), 69);
  EXPECT_TRUE(dialog_script::transcript().empty());

  const std::vector<double> before = s.data;
  const CompileResult c = compile_formula(nested(70), {s.names, {}});
  ASSERT_EQ(c.status, FormulaStatus::kOk);
  EXPECT_EQ(c.program.max_depth, 70);
  std::vector<double> result(3100, 7.0);
  FormulaScratch scratch;
  EXPECT_EQ(evaluate_formula(c.program, s.view(), 1, 3100, result, scratch,
                             formula_stack_capacity(FormulaCaller::kCommands, 3100, 40)),
            FormulaStatus::kStackOverflow);
  EXPECT_EQ(dialog_script::transcript(), (std::vector<std::string>{"message information 0 Line 30"}));
  EXPECT_EQ(std::memcmp(before.data(), s.data.data(), before.size() * sizeof(double)), 0);
  EXPECT_EQ(result, std::vector<double>(3100, 7.0));
  // A single name needs no stack level even with no room at all.
  EXPECT_EQ(evaluate_formula(compile_formula("V3", {s.names, {}}).program, s.view(), 1, 3100, result,
                             scratch, -1),
            FormulaStatus::kOk);
  EXPECT_EQ(result.back(), 1.0);
}

/// A random expression over X and Y from every operation of the language.
std::string random_formula(std::mt19937& rng, int depth) {
  static const std::vector<std::string> unary = {"LOG", "EXP", "ABS", "SQRT", "SIN", "COS", "SUM",
                                                 "CSUM", "RANK", "PHI", "CPHI", "SIGN", "SORT",
                                                 "INVNORM", "MEAN", "STD", "RATE"};
  static const std::vector<std::string> binary = {"MIN", "MAX", "ORDER", "DIRACC", "HPF", "MAV", "GDL"};
  static const std::vector<std::string> leaves = {"X", "Y", "X(-1)", "Y(+2)", "0", "2", "0.5", "350",
                                                  "999999999", "8934567", "UNIFORM(7)", "NORMAL(3)"};
  static const std::vector<std::string> ops = {"+", "-", "*", "/", "^"};
  auto pick = [&](const std::vector<std::string>& v) {
    return v[std::uniform_int_distribution<std::size_t>(0, v.size() - 1)(rng)];
  };
  if (depth == 0) return pick(leaves);
  switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
    case 0: return pick(unary) + "(" + random_formula(rng, depth - 1) + ")";
    case 1: return pick(binary) + "(" + random_formula(rng, depth - 1) + "," + random_formula(rng, depth - 1) + ")";
    case 2: return "(" + random_formula(rng, depth - 1) + pick(ops) + random_formula(rng, depth - 1) + ")";
    default: return "(-" + random_formula(rng, depth - 1) + ")";
  }
}

TEST(FormulaEvaluator, NothingNonFiniteIsEverStored) {
  Sheet s;
  s.add("X", {0, 1e300, -1e300, 1e-300, -1e-300, M, 1, -1});
  s.add("Y", {-1e-300, 0, 1e300, M, -1e300, 2, 1e-300, 3});
  std::mt19937 rng(20261211);
  int ran = 0;
  for (int i = 0; i < 3000; ++i) {
    const std::string f = random_formula(rng, 1 + i % 4);
    for (const auto& [first, last] : {std::pair{1, 8}, std::pair{3, 6}}) {
      const Outcome r = run(s, f, first, last);
      if (r.status != FormulaStatus::kOk) continue;
      ++ran;
      for (const double v : r.values) ASSERT_TRUE(std::isfinite(v)) << f;
    }
  }
  EXPECT_EQ(ran, 6000);
}

}  // namespace
