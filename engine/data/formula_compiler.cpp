#include "engine/data/formula_compiler.h"

#include "engine/data/name_utilities.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::data {

namespace {

constexpr std::string_view kTooLongText = "The expression is too long!";
constexpr std::string_view kSeedText = "Seed should be between 1 & 32000 inclusive!";
constexpr std::string_view kSimulationText = "cannot be used when SIM or SIMB commands are in use!";

constexpr int kTwoArgumentMarker = 100;

/// A token-table entry with what the compiler knows of it beyond text and class.
struct Entry {
  FormulaToken token;
  int name = 0;  ///< a name: its position (from 1) in parameters-then-variables
};

/// Builds the token table of one expression.
class TableBuilder {
 public:
  TableBuilder(std::string_view text, std::span<const std::string> names)
      : text_(text), names_(names) {}

  /// The next token that is not a blank; kEnd at the end of the text.
  ScanResult next() {
    for (;;) {
      ScanResult r = NEXTTOKEN(text_, position_, names_);
      if (r.status != ScanStatus::kToken || r.cls != kBlankClass) return r;
    }
  }

  /// Appends an entry; false (and kTooLong) when the table is full.
  bool push(std::string text, int cls, int name = 0) {
    if (static_cast<int>(table.size()) >= kMaxFormulaTokens) {
      status = FormulaStatus::kTooLong;
      return false;
    }
    table.push_back({{std::move(text), cls}, name});
    return true;
  }

  bool fail(FormulaStatus s) {
    status = s;
    return false;
  }

  std::vector<Entry> table;
  FormulaStatus status = FormulaStatus::kOk;
  std::string message;

 private:
  std::string_view text_;
  std::size_t position_ = 0;
  std::span<const std::string> names_;
};

/// The refusal for a token that could not be read (the text ending early is malformed).
FormulaStatus scan_failure(const ScanResult& r) {
  switch (r.status) {
    case ScanStatus::kIllegal: return FormulaStatus::kIllegalCharacter;
    case ScanStatus::kUnknownWord: return FormulaStatus::kUnknownName;
    default: return FormulaStatus::kMalformed;
  }
}

/// Reads the next token into `r`, which must be of class `cls` (a whole number without a
/// point for kNumberClass).
bool expect(TableBuilder& b, int cls, ScanResult& r) {
  r = b.next();
  if (r.status != ScanStatus::kToken) return b.fail(scan_failure(r));
  if (r.cls != cls || (cls == kNumberClass && r.text.find('.') != std::string::npos))
    return b.fail(FormulaStatus::kMalformed);
  return true;
}

/// Reads sign integer ")" after "(" behind a variable into "\" or "|" and the integer.
bool read_shift(TableBuilder& b) {
  ScanResult sign, k, close;
  if (!expect(b, kSumClass, sign) || !expect(b, kNumberClass, k) || !expect(b, kCloseClass, close))
    return false;
  return b.push(sign.text == "-" ? "\\" : "|", kBlankClass) && b.push(k.text, kNumberClass);
}

/// Reads "(" integer ")" after UNIFORM or NORMAL.
bool read_seed(TableBuilder& b) {
  ScanResult open, seed, close;
  if (!expect(b, kOpenClass, open) || !expect(b, kNumberClass, seed) || !expect(b, kCloseClass, close))
    return false;
  const double value = TEXTTOREAL(seed.text);
  if (value < 1 || value > kMaxSeed) {
    b.message = kSeedText;
    return b.fail(FormulaStatus::kBadSeed);
  }
  return b.push("(", kOpenClass) && b.push(seed.text, kNumberClass) && b.push(")", kCloseClass);
}

/// Fills the token table, checking that operands and operators alternate.
bool build_table(TableBuilder& b, int parameters, bool simulation) {
  bool want_operand = true;
  for (;;) {
    const ScanResult r = b.next();
    if (r.status == ScanStatus::kEnd) break;
    if (r.status != ScanStatus::kToken) return b.fail(scan_failure(r));
    const bool after_open = !b.table.empty() && b.table.back().token.cls == kOpenClass;
    if (want_operand) {
      if (r.cls == kSumClass && (b.table.empty() || after_open)) {
        // A leading sign reads as 0 - ..., a sign after "(" as (0.0 - ...).
        if (!b.push(b.table.empty() ? "0" : "0.0", kNumberClass) || !b.push(r.text, r.cls))
          return false;
      } else if (r.cls == kNumberClass || r.cls == kNameClass) {
        if (!b.push(r.text, r.cls, r.name)) return false;
        want_operand = false;
      } else if (r.cls == kOpenClass) {
        if (!b.push(r.text, r.cls)) return false;
      } else if (r.cls == kFunctionClass) {
        const int code = LOOKUPFUNCTION(r.text);
        if (code == kUniform || code == kNormal) {
          if (simulation) {
            b.message = r.text + " " + std::string(kSimulationText);
            return b.fail(FormulaStatus::kRandomInSimulation);
          }
          if (!b.push(r.text, r.cls) || !read_seed(b)) return false;
          want_operand = false;
        } else {
          ScanResult open;
          if (!b.push(r.text, r.cls) || !expect(b, kOpenClass, open) || !b.push(open.text, open.cls))
            return false;
        }
      } else {
        return b.fail(FormulaStatus::kMalformed);
      }
    } else {
      const Entry& last = b.table.back();
      if (r.cls == kPowerClass || r.cls == kProductClass || r.cls == kSumClass ||
          r.cls == kCommaClass) {
        if (!b.push(r.text, r.cls)) return false;
        want_operand = true;
      } else if (r.cls == kCloseClass) {
        if (!b.push(r.text, r.cls)) return false;
      } else if (r.cls == kOpenClass && last.token.cls == kNameClass && last.name > parameters) {
        if (!read_shift(b)) return false;
      } else {
        return b.fail(FormulaStatus::kMalformed);
      }
    }
  }
  if (b.table.empty() || want_operand) return b.fail(FormulaStatus::kMalformed);
  return true;
}

bool is_two_argument_word(std::string_view text) {
  const int code = LOOKUPFUNCTION(text);
  return code > kLastOperatorCode && code <= kLastBinaryCode;
}

}  // namespace

bool CLASSIFYTOKENS(std::span<const FormulaToken> tokens) {
  std::vector<int> stack;
  stack.reserve(tokens.size());
  for (const FormulaToken& t : tokens) {
    const int marker = is_two_argument_word(t.text) ? kTwoArgumentMarker : t.cls;
    if (marker == kTwoArgumentMarker || marker == kFunctionClass || marker == kOpenClass ||
        marker == kCommaClass) {
      stack.push_back(marker);
    } else if (marker == kCloseClass) {
      if (stack.empty()) return false;
      if (stack.back() == kCommaClass) {
        if (stack.size() < 3 || stack[stack.size() - 2] != kOpenClass ||
            stack[stack.size() - 3] != kTwoArgumentMarker)
          return false;
        stack.resize(stack.size() - 3);
      } else if (stack.back() == kOpenClass) {
        stack.pop_back();
        if (!stack.empty() && stack.back() == kTwoArgumentMarker) return false;
        if (!stack.empty() && stack.back() == kFunctionClass) stack.pop_back();
      }
    }
  }
  return stack.empty();
}

std::vector<int> INFIXTOPOSTFIX(std::span<const FormulaToken> tokens) {
  constexpr int kEmptyPriority = 20;
  std::vector<int> out;
  std::vector<int> stack;
  out.reserve(tokens.size());
  stack.reserve(tokens.size());
  const auto top_class = [&] { return stack.empty() ? kEmptyPriority : tokens[stack.back()].cls; };
  for (int i = 0; i < static_cast<int>(tokens.size()); ++i) {
    const int cls = tokens[i].cls;
    if (cls == kNumberClass || cls == kNameClass) {
      out.push_back(i);
      continue;
    }
    if (cls == kOpenClass) {
      stack.push_back(i);
      continue;
    }
    for (;;) {
      if (cls == kCloseClass && top_class() == kOpenClass) {
        stack.pop_back();
        break;
      }
      if (cls == kCloseClass && top_class() == kCommaClass && stack.size() >= 2 &&
          tokens[stack[stack.size() - 2]].cls == kOpenClass) {
        stack.resize(stack.size() - 2);
        break;
      }
      if (cls < top_class()) {
        stack.push_back(i);
        break;
      }
      if (stack.empty()) break;  // a stray ")" or ","; CLASSIFYTOKENS refuses such tables
      out.push_back(stack.back());
      stack.pop_back();
    }
  }
  for (auto it = stack.rbegin(); it != stack.rend(); ++it)
    if (tokens[*it].cls != kOpenClass && tokens[*it].cls != kCommaClass) out.push_back(*it);
  return out;
}

CompileResult compile_formula(std::string_view text, const FormulaNames& names, bool simulation) {
  CompileResult result;
  std::vector<std::string> all;
  all.reserve(names.parameters.size() + names.variables.size());
  for (const std::string& p : names.parameters) all.push_back(names::upper(fixed_text::trim(p)));
  for (const std::string& v : names.variables) all.push_back(names::upper(fixed_text::trim(v)));
  const int parameters = static_cast<int>(names.parameters.size());

  TableBuilder b(text, all);
  const bool built = build_table(b, parameters, simulation);
  result.program.token_count = static_cast<int>(b.table.size());
  if (!built) {
    result.status = b.status;
    result.message = b.status == FormulaStatus::kTooLong ? std::string(kTooLongText) : b.message;
    return result;
  }
  std::vector<FormulaToken> tokens;
  tokens.reserve(b.table.size());
  for (const Entry& e : b.table) tokens.push_back(e.token);
  if (!CLASSIFYTOKENS(tokens)) {
    result.status = FormulaStatus::kMalformed;
    return result;
  }

  // The program, with the stack depth simulated: every operand pushes one value, a lag or
  // lead takes two and gives one, a function takes its operands and gives one.
  FormulaProgram& program = result.program;
  int depth = 0;
  for (const int i : INFIXTOPOSTFIX(tokens)) {
    const Entry& e = b.table[static_cast<std::size_t>(i)];
    FormulaOp op;
    int pops = 0;
    if (e.token.cls == kNumberClass) {
      op.kind = FormulaOp::kNumber;
      op.value = TEXTTOREAL(e.token.text);
      op.integer_text = e.token.text.find('.') == std::string::npos;
    } else if (e.token.cls == kNameClass) {
      op.kind = e.name <= parameters ? FormulaOp::kParameter : FormulaOp::kVariable;
      op.index = e.name <= parameters ? e.name - 1 : e.name - parameters;
    } else if (e.token.cls == kBlankClass) {
      op.kind = e.token.text == "\\" ? FormulaOp::kLag : FormulaOp::kLead;
      pops = 2;
    } else {
      op.kind = FormulaOp::kFunction;
      op.index = LOOKUPFUNCTION(e.token.text);
      if (op.index == 0) {
        result.status = FormulaStatus::kMalformed;
        return result;
      }
      pops = formula_arity(op.index);
      program.whole_sample = program.whole_sample || whole_sample_function(op.index);
    }
    if (depth < pops) {
      result.status = FormulaStatus::kMalformed;
      return result;
    }
    depth = depth - pops + 1;
    if (depth > program.max_depth) program.max_depth = depth;
    program.ops.push_back(op);
  }
  if (depth != 1) {
    result.status = FormulaStatus::kMalformed;
    program.ops.clear();
  }
  return result;
}

}  // namespace qorv::data
