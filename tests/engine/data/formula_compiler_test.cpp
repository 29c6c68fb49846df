// The formula scanner and compiler: character classes, tokens, the argument check, the
// postfix order, and every refusal (with its status and message) of hostile text.
#include "engine/data/formula_compiler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data/name_utilities.h"

namespace {

using namespace qorv::data;

const std::vector<std::string> kNames = {"A", "B", "C", "X", "Y", "Z", "X_1", "A.B"};

CompileResult compile(const std::string& text, bool simulation = false) {
  return compile_formula(text, {kNames, {}}, simulation);
}

/// The program as text: names, numbers, "\" "|" and the operation words, blank-separated.
std::string postfix(const FormulaProgram& p) {
  std::string out;
  for (const FormulaOp& op : p.ops) {
    if (!out.empty()) out += ' ';
    switch (op.kind) {
      case FormulaOp::kNumber: {
        const double v = op.value;
        out += v == static_cast<long>(v) ? std::to_string(static_cast<long>(v)) : std::to_string(v);
        break;
      }
      case FormulaOp::kVariable: out += kNames[static_cast<std::size_t>(op.index - 1)]; break;
      case FormulaOp::kParameter: out += "p" + std::to_string(op.index); break;
      case FormulaOp::kLag: out += "\\"; break;
      case FormulaOp::kLead: out += "|"; break;
      case FormulaOp::kFunction: out += formula_word(op.index); break;
    }
  }
  return out;
}

TEST(FormulaTokens, CharacterClasses) {
  struct Case {
    char c;
    int cls;
    char upper;
  };
  for (const Case& k : {Case{'a', 1, 'A'}, Case{'Z', 1, 'Z'}, Case{'_', 1, '_'}, Case{'7', 2, '7'},
                        Case{'.', 2, '.'}, Case{' ', 3, ' '}, Case{'^', 5, '^'}, Case{'*', 6, '*'},
                        Case{'/', 6, '/'}, Case{'+', 7, '+'}, Case{'-', 7, '-'}, Case{')', 8, ')'},
                        Case{',', 9, ','}, Case{'(', 10, '('}, Case{'@', 0, '@'}, Case{'$', 0, '$'},
                        Case{'\t', 0, '\t'}, Case{'"', 0, '"'}, Case{'=', 0, '='}, Case{'\x80', 0, '\x80'},
                        Case{'\xe9', 0, '\xe9'}, Case{'\0', 0, '\0'}}) {
    const CharInfo info = CHARCLASS(k.c);
    EXPECT_EQ(info.cls, k.cls) << static_cast<int>(k.c);
    EXPECT_EQ(info.upper, k.upper) << static_cast<int>(k.c);
  }
}

TEST(FormulaTokens, ScannerReadsWordsUpperCasedAndStopsAtTheEnd) {
  const std::string line = "log(x_1) ";
  std::size_t pos = 0;
  std::vector<std::pair<std::string, int>> seen;
  for (ScanResult r = NEXTTOKEN(line, pos, kNames); r.status != ScanStatus::kEnd;
       r = NEXTTOKEN(line, pos, kNames)) {
    ASSERT_EQ(r.status, ScanStatus::kToken);
    seen.emplace_back(r.text, r.cls);
  }
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, int>>{
                      {"LOG", 4}, {"(", 10}, {"X_1", 2}, {")", 8}, {" ", 3}}));
  EXPECT_EQ(pos, line.size());
  pos = 99;  // far past the end: nothing is read
  EXPECT_EQ(NEXTTOKEN(line, pos, kNames).status, ScanStatus::kEnd);
  EXPECT_EQ(pos, 99u);

  struct Case {
    const char* text;
    ScanStatus status;
    std::size_t position;  // after the call
  };
  for (const Case& c : {Case{"X$", ScanStatus::kIllegal, 2}, Case{"ABCDEFGHIJ", ScanStatus::kIllegal, 10},
                        Case{"1234567890", ScanStatus::kIllegal, 10}, Case{"999999999", ScanStatus::kToken, 9},
                        Case{"1E308", ScanStatus::kUnknownWord, 5}, Case{"1.2.3", ScanStatus::kUnknownWord, 5},
                        Case{"A.B+", ScanStatus::kToken, 3}, Case{"W", ScanStatus::kUnknownWord, 1}}) {
    std::size_t p = 0;
    const ScanResult r = NEXTTOKEN(c.text, p, kNames);
    EXPECT_EQ(r.status, c.status) << c.text;
    EXPECT_EQ(p, c.position) << c.text;
  }
  std::size_t p = 0;
  EXPECT_EQ(NEXTTOKEN("X", p, {}).status, ScanStatus::kUnknownWord);  // no names at all
}

TEST(FormulaTokens, NumbersConvertCorrectlyRounded) {
  EXPECT_EQ(TEXTTOREAL("12.50"), 12.5);
  EXPECT_EQ(TEXTTOREAL(".5"), 0.5);
  EXPECT_EQ(TEXTTOREAL("5."), 5.0);
  EXPECT_EQ(TEXTTOREAL("."), 0.0);
  EXPECT_EQ(TEXTTOREAL("0.1"), 0.1);
  EXPECT_EQ(TEXTTOREAL("123456.78"), 123456.78);
  EXPECT_EQ(TEXTTOREAL(" 999999999 "), 999999999.0);
}

TEST(FormulaCompiler, PostfixOrder) {
  struct Case {
    const char* text;
    const char* postfix;
  };
  for (const Case& c : {Case{"A-B-C", "A B - C -"}, Case{"A^B^C", "A B ^ C ^"},
                        Case{"A+B*C", "A B C * +"}, Case{"MAX(A,B)^2", "A B MAX 2 ^"},
                        Case{"X(-1)*2", "X 1 \\ 2 *"}, Case{"X ( -1 )", "X 1 \\"},
                        Case{"Y(+12)", "Y 12 |"}, Case{"-X", "0 X -"}, Case{"(-X)*A", "0 X - A *"},
                        Case{"log(x)", "X LOG"}, Case{"MIN((A+B),LOG(C))", "A B + C LOG MIN"},
                        Case{"MAX(-A, B)", "0 A - B MAX"}, Case{"UNIFORM(5)+A", "5 UNIFORM A +"},
                        Case{"X_1*A.B", "X_1 A.B *"}, Case{"GDL(1, 0.5)", "1 0.500000 GDL"}}) {
    const CompileResult r = compile(c.text);
    ASSERT_EQ(r.status, FormulaStatus::kOk) << c.text;
    EXPECT_EQ(postfix(r.program), c.postfix) << c.text;
  }
}

TEST(FormulaCompiler, ProgramRecordsDepthTokensAndWholeSampleFunctions) {
  const CompileResult r = compile("X+(Y+(Z*2))");
  EXPECT_EQ(r.program.max_depth, 4);
  EXPECT_EQ(r.program.token_count, 11);
  EXPECT_FALSE(r.program.whole_sample);
  EXPECT_TRUE(compile("LOG(X) - HPF(X, 1600)").program.whole_sample);
  EXPECT_EQ(compile("-X").program.token_count, 3);  // the inserted "0" counts
  EXPECT_EQ(compile("Y").program.single_variable(), 5);
  const CompileResult power = compile("X^2 + X^2.0");
  EXPECT_TRUE(power.program.ops[1].integer_text);
  EXPECT_FALSE(power.program.ops[4].integer_text);
}

TEST(FormulaCompiler, RefusalsCarryTheirStatus) {
  struct Case {
    const char* text;
    FormulaStatus status;
  };
  const auto malformed = FormulaStatus::kMalformed;
  for (const Case& c : {
           // Operands and operators out of turn, and malformed lags.
           Case{"X Z", malformed}, Case{"2 3", malformed}, Case{"X + * Y", malformed},
           Case{"Y(1)", malformed}, Case{"LOG(X)(Z)", malformed}, Case{"2*-X", malformed},
           Case{"MIN(X,-1)", malformed}, Case{"X +", malformed}, Case{"*X", malformed},
           Case{"^X", malformed}, Case{"/X", malformed}, Case{")", malformed}, Case{",X", malformed},
           Case{"X,", malformed}, Case{"X(", malformed}, Case{"Y()", malformed}, Case{"X(-)", malformed},
           Case{"X(-1.5)", malformed}, Case{"X(-1)(-2)", malformed}, Case{"(X)(-1)", malformed},
           Case{"2(-1)", malformed}, Case{"--X", malformed}, Case{"()", malformed}, Case{"", malformed},
           Case{"   ", malformed}, Case{"LOG", malformed}, Case{"LOG X", malformed},
           // The argument check of function calls.
           Case{"MIN(A,B,C)", malformed}, Case{"LOG(A,B)", malformed}, Case{"MIN(A)", malformed},
           Case{"(A", malformed}, Case{"A)", malformed}, Case{"A,B", malformed},
           Case{"(A,B)", malformed}, Case{"MAX((A,B))", malformed},
           // Seeds.
           Case{"NORMAL(2.5)", malformed}, Case{"UNIFORM(5+1)", malformed}, Case{"UNIFORM 5", malformed},
           Case{"UNIFORM(X)", malformed}, Case{"NORMAL(0)", FormulaStatus::kBadSeed},
           Case{"NORMAL(32001)", FormulaStatus::kBadSeed},
           // Characters and words outside the language.
           Case{"X@", FormulaStatus::kIllegalCharacter}, Case{"$X", FormulaStatus::kIllegalCharacter},
           Case{"X\tY", FormulaStatus::kIllegalCharacter}, Case{"X=Y", FormulaStatus::kIllegalCharacter},
           Case{"\"X\"", FormulaStatus::kIllegalCharacter}, Case{"X+\x80", FormulaStatus::kIllegalCharacter},
           Case{"ABCDEFGHIJ", FormulaStatus::kIllegalCharacter},
           Case{"1234567890", FormulaStatus::kIllegalCharacter}, Case{"X[1]", FormulaStatus::kIllegalCharacter},
           Case{"1E308", FormulaStatus::kUnknownName}, Case{"W+1", FormulaStatus::kUnknownName},
           Case{"SAMPLE", FormulaStatus::kUnknownName}, Case{"1.2.3", FormulaStatus::kUnknownName}}) {
    const CompileResult r = compile(c.text);
    EXPECT_EQ(r.status, c.status) << c.text;
    EXPECT_TRUE(r.program.ops.empty()) << c.text;
  }
  EXPECT_EQ(compile("999999999").status, FormulaStatus::kOk);
  EXPECT_EQ(compile("NORMAL(1)*UNIFORM(32000)").status, FormulaStatus::kOk);
}

TEST(FormulaCompiler, StatementMessages) {
  EXPECT_EQ(compile("NORMAL(0)").message, "Seed should be between 1 & 32000 inclusive!");
  const CompileResult sim = compile("X + NORMAL(5)", true);
  EXPECT_EQ(sim.status, FormulaStatus::kRandomInSimulation);
  EXPECT_EQ(sim.message, "NORMAL cannot be used when SIM or SIMB commands are in use!");
  EXPECT_EQ(compile("uniform(5)", true).message,
            "UNIFORM cannot be used when SIM or SIMB commands are in use!");
  EXPECT_EQ(compile("X Z").message, "");  // the caller's general refusal only
}

TEST(FormulaCompiler, TokenLimitCountsInsertedOperands) {
  std::string pairs;
  for (int i = 0; i < 298; ++i) pairs += "+X";
  // 4 + 596 = 600 entries: accepted.
  const CompileResult full = compile("LOG(X)" + pairs);
  EXPECT_EQ(full.status, FormulaStatus::kOk);
  EXPECT_EQ(full.program.token_count, 600);
  // 600 typed tokens and the inserted "0": refused before the 601st entry is written.
  const CompileResult over = compile("-X" + pairs + "+X");
  EXPECT_EQ(over.status, FormulaStatus::kTooLong);
  EXPECT_EQ(over.message, "The expression is too long!");
  EXPECT_EQ(over.program.token_count, 600);
  // Nesting just under the limit, and a very long text, compile without recursion.
  EXPECT_EQ(compile(std::string(299, '(') + "X" + std::string(299, ')')).status, FormulaStatus::kOk);
  std::string logs;
  for (int i = 0; i < 199; ++i) logs += "LOG(";
  EXPECT_EQ(compile(logs + "X" + std::string(199, ')')).status, FormulaStatus::kOk);
  EXPECT_EQ(compile(std::string(100000, '(')).status, FormulaStatus::kTooLong);
}

TEST(FormulaCompiler, ParametersShadowVariablesAndTakeNoLag) {
  const std::vector<std::string> parameters = {"a", "THETA"};
  const CompileResult r = compile_formula("A*X + THETA", {kNames, parameters});
  ASSERT_EQ(r.status, FormulaStatus::kOk);
  EXPECT_EQ(postfix(r.program), "p0 X * p1 +");
  EXPECT_EQ(compile_formula("THETA(-1)", {kNames, parameters}).status, FormulaStatus::kMalformed);
  EXPECT_EQ(compile_formula("THETA", {{}, parameters}).status, FormulaStatus::kOk);
}

}  // namespace
