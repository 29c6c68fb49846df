#include "engine/data/formula_evaluator.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/core/dialog_bridge.h"
#include "engine/core/distributions.h"
#include "engine/core/message_lines.h"
#include "engine/core/random_numbers.h"
#include "engine/core/row_sort.h"
#include "engine/core/sample_statistics.h"
#include "engine/core/sign_counts.h"
#include "engine/data/moving_average.h"
#include "engine/data/trend_filter.h"

namespace qorv::data {

namespace {

constexpr int kCommandWorkLength = 343771;  ///< work-array elements before the sort columns
constexpr double kGrowthLimit = 350.0;      ///< largest log-magnitude of exp, products, powers
constexpr double kRunningSumLimit = 1.0070908870280642e152;
constexpr double kRootTwoPi = 2.5066282746310002;
constexpr double kRateTolerance = 1e-11;
constexpr double kSignTolerance = 1e-11;
constexpr int32_t kSecondSeed = 23;
constexpr int32_t kThirdSeed = 73;

/// x to the whole power k by repeated squaring (std::pow beyond exponents of 64).
double whole_power(double x, double k) {
  if (std::fabs(k) > 64) return std::pow(x, k);
  auto e = static_cast<unsigned>(std::fabs(k));
  double result = 1.0, base = x;
  for (; e != 0; e >>= 1, base *= base)
    if (e & 1u) result *= base;
  return k < 0 ? 1.0 / result : result;
}

/// A value on the evaluation stack: a column (element t - 1 is observation t) or a
/// constant.
struct Operand {
  const double* column = nullptr;
  double constant = 0.0;
  bool integer_text = false;  ///< a number written without a point
  bool workspace = false;     ///< a workspace variable: readable before the sample
  bool is_constant() const { return column == nullptr; }
  double at(int t) const { return column ? column[t - 1] : constant; }
};

class Evaluator {
 public:
  Evaluator(const FormulaData& d, int first, int last, FormulaScratch& scratch)
      : d_(d), s_(first), e_(last), n_(last - first + 1), missing_(d.missing),
        sort1_(scratch.sort.data()), sort2_(scratch.sort.data() + d.nobs) {}

  double store(double v) const { return std::isfinite(v) ? v : missing_; }

  void fill(double* out, double v) const { std::fill(out + s_ - 1, out + e_, store(v)); }

  /// out(t) = f(x(t)), missing where x is; a constant is computed once.
  template <typename F>
  void map1(const Operand& x, double* out, F f) const {
    if (x.is_constant()) return fill(out, x.constant == missing_ ? missing_ : f(x.constant));
    for (int t = s_; t <= e_; ++t) {
      const double v = x.column[t - 1];
      out[t - 1] = v == missing_ ? missing_ : store(f(v));
    }
  }

  /// out(t) = f(a(t), b(t)), missing where a or b is.
  template <typename F>
  void map2(const Operand& a, const Operand& b, double* out, F f) const {
    if (a.is_constant() && b.is_constant())
      return fill(out, a.constant == missing_ || b.constant == missing_ ? missing_
                                                                       : f(a.constant, b.constant));
    for (int t = s_; t <= e_; ++t) {
      const double x = a.at(t), y = b.at(t);
      out[t - 1] = x == missing_ || y == missing_ ? missing_ : store(f(x, y));
    }
  }

  void pointwise1(int code, const Operand& x, double* out) const;
  void pointwise2(int code, const Operand& a, const Operand& b, double* out) const;
  void series1(int code, const Operand& x, double* out) const;
  void series2(int code, const Operand& a, const Operand& b, double* out) const;
  void shift(const Operand& x, int k, double* out) const;

 private:
  /// Copies rows S..E of `x` (a constant fills them) into `column`.
  void copy_range(const Operand& x, double* column) const {
    for (int t = s_; t <= e_; ++t) column[t - 1] = x.at(t);
  }
  std::span<const double> range(const double* column) const {
    return {column + s_ - 1, static_cast<std::size_t>(n_)};
  }
  std::span<double> range(double* column) const {
    return {column + s_ - 1, static_cast<std::size_t>(n_)};
  }

  const FormulaData& d_;
  int s_, e_, n_;
  double missing_;
  double* sort1_;
  double* sort2_;
};

void Evaluator::pointwise1(int code, const Operand& x, double* out) const {
  const double m = missing_;
  switch (code) {
    case kLog: return map1(x, out, [m](double v) { return v > 0 ? std::log(v) : m; });
    case kExp: return map1(x, out, [m](double v) { return v > kGrowthLimit ? m : std::exp(v); });
    case kAbs: return map1(x, out, [](double v) { return std::fabs(v); });
    case kSqrt: return map1(x, out, [m](double v) { return v < 0 ? m : std::sqrt(v); });
    case kSin: return map1(x, out, [](double v) { return std::sin(v); });
    case kCos: return map1(x, out, [](double v) { return std::cos(v); });
    case kPhi: return map1(x, out, [](double v) { return std::exp(-(0.5 * v) * v) / kRootTwoPi; });
    case kCphi:
      return map1(x, out, [](double v) {
        return v <= 0 ? core::NORMALTAIL(-v, true) : 1.0 - core::NORMALTAIL(v, true);
      });
    case kSign: return map1(x, out, [](double v) { return v > 0 ? 1.0 : 0.0; });
    case kInvNorm: return map1(x, out, [](double v) { return core::INVNORMAL(v); });
    default: break;
  }
}

void Evaluator::pointwise2(int code, const Operand& a, const Operand& b, double* out) const {
  const double m = missing_;
  // |a·b| above e^350 is the product whose log-magnitudes add up to more than 350.
  static const double product_limit = std::exp(kGrowthLimit);
  switch (code) {
    case kAdd: return map2(a, b, out, [](double x, double y) { return x + y; });
    case kSubtract: return map2(a, b, out, [](double x, double y) { return x - y; });
    case kMultiply:
      return map2(a, b, out, [m](double x, double y) {
        const double p = x * y;
        return std::fabs(p) > product_limit ? m : p;
      });
    case kDivide: return map2(a, b, out, [m](double x, double y) { return y == 0 ? m : x / y; });
    case kMin: return map2(a, b, out, [](double x, double y) { return x <= y ? x : y; });
    case kMax: return map2(a, b, out, [](double x, double y) { return x >= y ? x : y; });
    case kPower:
      // A power whose log-magnitude passes 350 is missing: |a^b| above e^350.
      if (b.is_constant() && b.integer_text) {
        // A whole exponent written without a point: a negative base is allowed.
        return map2(a, b, out, [m](double x, double k) {
          if (x == 0) return k < 1 ? m : 0.0;
          const double p = whole_power(x, k);
          return std::fabs(p) > product_limit ? m : p;
        });
      }
      return map2(a, b, out, [m](double x, double y) {
        if (x < 0 || (x == 0 && y <= 0)) return m;
        const double p = std::pow(x, y);
        return std::fabs(p) > product_limit ? m : p;
      });
    default: break;
  }
}

void Evaluator::series1(int code, const Operand& x, double* out) const {
  const double m = missing_;
  const double n = n_;
  if (code == kUniform || code == kNormal) {
    core::set_random_seeds(static_cast<int32_t>(x.at(s_)), kSecondSeed, kThirdSeed);
    for (int t = s_; t <= e_; ++t)
      out[t - 1] = store(code == kUniform ? core::RANDUNIFORM() : core::RANDNORMAL());
    return;
  }
  if (x.is_constant()) {
    const double c = x.constant;
    if (code == kRank) return fill(out, n * 0.5);
    if (code == kSort) return fill(out, c);
    if (c == m) return fill(out, m);
    switch (code) {
      case kSum: return fill(out, n * c);
      case kMean: return fill(out, c);
      case kStd: return fill(out, 0.0);
      case kRate: return fill(out, 0.0);
      case kCsum:
        for (int t = s_; t <= e_; ++t) {
          const double v = (t - s_ + 1) * c;
          out[t - 1] = std::fabs(v) > kRunningSumLimit ? m : store(v);
        }
        return;
      default: return;
    }
  }
  const double* col = x.column;
  switch (code) {
    case kSum:
    case kMean:
    case kStd: {
      const auto values = range(col);
      if (std::find(values.begin(), values.end(), m) != values.end()) return fill(out, m);
      if (code == kStd && n_ == 1) return fill(out, m);
      double mean = 0, variance = 0;
      core::MEANVAR(values, mean, variance);
      double sum = 0;
      for (const double v : values) sum += v;
      const double sd = variance == limits::kMissing ? m : std::sqrt(variance);  // too large: missing
      return fill(out, code == kSum ? sum : code == kMean ? mean : sd);
    }
    case kCsum: {
      double run = 0;
      bool live = true;
      for (int t = s_; t <= e_; ++t) {
        const double v = col[t - 1];
        live = live && v != m;
        if (live) {
          run += v;
          live = std::fabs(run) <= kRunningSumLimit;
        }
        out[t - 1] = live ? run : m;
      }
      return;
    }
    case kRate: {
      double previous = col[s_ - 1];
      out[s_ - 1] = m;
      for (int t = s_ + 1; t <= e_; ++t) {
        const double v = col[t - 1];
        double r = m;
        if (v != m && previous != m) {
          if (v == previous) r = 0.0;
          else if (std::fabs(previous) >= kRateTolerance) r = store(100.0 * (v - previous) / previous);
        }
        previous = v;
        out[t - 1] = r;
      }
      return;
    }
    case kRank:
    case kSort: {
      copy_range(x, sort1_);
      core::SORTROWS({sort1_, static_cast<std::size_t>(d_.nobs)}, 1, d_.nobs, s_, e_, m, 1);
      if (code == kSort) {
        std::copy(sort1_ + s_ - 1, sort1_ + e_, out + s_ - 1);
      } else {
        core::AVERAGERANKS(range(col), range(static_cast<const double*>(sort1_)), range(out));
      }
      return;
    }
    default: return;
  }
}

void Evaluator::series2(int code, const Operand& a, const Operand& b, double* out) const {
  const double m = missing_;
  switch (code) {
    case kOrder: {
      // Row numbers sorted by the key (missing keys last, ties in their order), then the
      // values of a gathered through them.
      for (int t = s_; t <= e_; ++t) sort1_[t - 1] = t;
      copy_range(b, sort2_);
      core::SORTROWS({sort1_, 2 * static_cast<std::size_t>(d_.nobs)}, 2, d_.nobs, s_, e_, m, 1);
      for (int t = s_; t <= e_; ++t) sort2_[t - 1] = a.at(static_cast<int>(sort1_[t - 1]));
      std::copy(sort2_ + s_ - 1, sort2_ + e_, out + s_ - 1);
      return;
    }
    case kDirAcc: {
      copy_range(a, sort1_);
      copy_range(b, sort2_);
      const auto x = range(static_cast<const double*>(sort1_));
      const auto y = range(static_cast<const double*>(sort2_));
      return fill(out, core::directional_accuracy(x, y, m, kSignTolerance));
    }
    case kHpf: {
      copy_range(a, sort1_);
      copy_range(b, sort2_);
      HPFILTER(range(static_cast<const double*>(sort1_)), range(static_cast<const double*>(sort2_)),
               m, range(out));
      for (int t = s_; t <= e_; ++t) out[t - 1] = store(out[t - 1]);
      return;
    }
    case kMav: {
      // The window may reach before the sample: a variable's own earlier values, a
      // constant's value, and nothing (missing) for a computed series.
      for (int t = 1; t < s_; ++t) sort1_[t - 1] = a.is_constant() || a.workspace ? a.at(t) : m;
      copy_range(a, sort1_);
      copy_range(b, sort2_);
      FUNCMAV(s_ - 1, {static_cast<const double*>(sort1_), static_cast<std::size_t>(e_)},
              range(static_cast<const double*>(sort2_)), m, range(out));
      for (int t = s_; t <= e_; ++t) out[t - 1] = store(out[t - 1]);
      return;
    }
    case kGdl: {
      double row = 0;
      bool live = true;
      for (int t = s_; t <= e_; ++t) {
        const double x = a.at(t), w = b.at(t);
        if (t == s_) {
          live = x != m;
          row = x;
        } else {
          live = live && x != m && w != m;
          if (live) row = x + w * row;
        }
        live = live && std::fabs(row) <= kRunningSumLimit;
        out[t - 1] = live ? row : m;
      }
      return;
    }
    default: return;
  }
}

void Evaluator::shift(const Operand& x, int k, double* out) const {
  for (int t = s_; t <= e_; ++t) {
    const long from = static_cast<long>(t) + k;
    out[t - 1] = from < 1 || from > d_.nobs ? missing_ : x.column[from - 1];
  }
}

bool arguments_fit(const FormulaProgram& program, const FormulaData& d, int first, int last,
                   std::span<double> result) {
  if (d.nobs < 1 || d.nvars < 0 || first < 1 || last > d.nobs || first > last ||
      result.size() < static_cast<std::size_t>(d.nobs) ||
      d.data.size() / static_cast<std::size_t>(d.nobs) < static_cast<std::size_t>(d.nvars) ||
      program.ops.empty())
    return false;
  // The program's own shape, as the compiler makes it: every step finds its operands, a
  // lag or lead follows a variable and a number, and the depth is the recorded one.
  int depth = 0, deepest = 0;
  const auto& ops = program.ops;
  for (std::size_t i = 0; i < ops.size(); ++i) {
    const FormulaOp& op = ops[i];
    int pops = 0;
    switch (op.kind) {
      case FormulaOp::kVariable:
        if (op.index < 1 || op.index > d.nvars) return false;
        break;
      case FormulaOp::kParameter:
        if (op.index < 0 || static_cast<std::size_t>(op.index) >= d.parameters.size()) return false;
        break;
      case FormulaOp::kNumber: break;
      case FormulaOp::kLag:
      case FormulaOp::kLead:
        if (i < 2 || ops[i - 1].kind != FormulaOp::kNumber || ops[i - 2].kind != FormulaOp::kVariable ||
            !(ops[i - 1].value >= 0))
          return false;
        pops = 2;
        break;
      case FormulaOp::kFunction:
        if (op.index < 1 || op.index > kFormulaCodes) return false;
        pops = formula_arity(op.index);
        break;
      default: return false;
    }
    if (depth < pops) return false;
    depth = depth - pops + 1;
    deepest = std::max(deepest, depth);
  }
  return depth == 1 && deepest == program.max_depth;
}

}  // namespace

int formula_stack_capacity(FormulaCaller caller, int nobs, int nvars) {
  const int work = caller == FormulaCaller::kCommands ? kCommandWorkLength : limits::kCapacity;
  return nobs < 1 ? 0 : work / nobs - nvars - 1;
}

namespace {

/// Whether every step of the program works observation by observation (no lag, lead or
/// function of the whole series), so that a part's rows first..last are its whole value.
bool pointwise_only(const FormulaProgram& program) {
  for (const FormulaOp& op : program.ops) {
    if (op.kind == FormulaOp::kLag || op.kind == FormulaOp::kLead) return false;
    if (op.kind != FormulaOp::kFunction) continue;
    if (formula_arity(op.index) == 2 ? op.index > kMax
                                     : op.index == kSum || op.index == kCsum || op.index == kUniform ||
                                           op.index == kNormal || op.index == kRank || op.index == kSort ||
                                           op.index == kMean || op.index == kStd || op.index == kRate)
      return false;
  }
  return true;
}

/// Makes `parts` those of `program` on this data and these rows, none kept, unless they
/// already are.
void prepare_parts(FormulaParts& parts, const FormulaProgram& program, const FormulaData& data, int first,
                   int last) {
  if (parts.program == &program && parts.data == data.data.data() && parts.nobs == data.nobs &&
      parts.first == first && parts.last == last && parts.start.size() == program.ops.size())
    return;
  const std::size_t count = program.ops.size();
  parts = FormulaParts{};
  parts.program = &program;
  parts.data = data.data.data();
  parts.nobs = data.nobs;
  parts.first = first;
  parts.last = last;
  parts.start.assign(count, 0);
  parts.parameters.assign(count, {});
  parts.values.assign(count, {});
  parts.columns.assign(count, {});
  parts.starting.assign(count, {});
  std::vector<std::size_t> pending;  // the steps whose values are on the stack
  for (std::size_t i = 0; i < count; ++i) {
    const FormulaOp& op = program.ops[i];
    parts.start[i] = static_cast<int>(i);
    if (op.kind == FormulaOp::kParameter) parts.parameters[i] = {op.index};
    if (op.kind == FormulaOp::kFunction) {
      const auto arity = static_cast<std::size_t>(formula_arity(op.index));
      for (std::size_t a = pending.size() - arity; a < pending.size(); ++a) {
        const auto& read = parts.parameters[pending[a]];
        parts.parameters[i].insert(parts.parameters[i].end(), read.begin(), read.end());
      }
      parts.start[i] = parts.start[pending[pending.size() - arity]];
      pending.resize(pending.size() - arity);
      std::sort(parts.parameters[i].begin(), parts.parameters[i].end());
      parts.parameters[i].erase(std::unique(parts.parameters[i].begin(), parts.parameters[i].end()),
                                parts.parameters[i].end());
      parts.starting[static_cast<std::size_t>(parts.start[i])].insert(
          parts.starting[static_cast<std::size_t>(parts.start[i])].begin(), static_cast<int>(i));
    }
    pending.push_back(i);
  }
}

/// Whether part i is kept at the parameter values of `data` (compared bit for bit).
bool part_kept(const FormulaParts& parts, std::size_t i, const FormulaData& data) {
  if (parts.columns[i].empty()) return false;
  const auto& read = parts.parameters[i];
  for (std::size_t q = 0; q < read.size(); ++q) {
    const double now = data.parameters[static_cast<std::size_t>(read[q])], then = parts.values[i][q];
    if (std::memcmp(&now, &then, sizeof now) != 0) return false;
  }
  return true;
}

/// Keeps part i, rows first..last of `column`, with the parameter values it read.
void keep_part(FormulaParts& parts, std::size_t i, const FormulaData& data, const double* column) {
  auto& kept = parts.columns[i];
  kept.resize(static_cast<std::size_t>(parts.nobs));
  std::copy(column + parts.first - 1, column + parts.last, kept.begin() + (parts.first - 1));
  parts.values[i].clear();
  for (const int q : parts.parameters[i]) parts.values[i].push_back(data.parameters[static_cast<std::size_t>(q)]);
}

}  // namespace

FormulaStatus evaluate_formula(const FormulaProgram& program, const FormulaData& data,
                               int first, int last, std::span<double> result,
                               FormulaScratch& scratch, int capacity) {
  if (!arguments_fit(program, data, first, last, result)) return FormulaStatus::kBadArguments;
  const auto nobs = static_cast<std::size_t>(data.nobs);
  const auto column_of = [&](int variable) {
    return data.data.data() + static_cast<std::size_t>(variable - 1) * nobs;
  };
  const auto operand_of = [&](const FormulaOp& op) {
    Operand o;
    if (op.kind == FormulaOp::kVariable) {
      o.column = column_of(op.index);
      o.workspace = true;
    } else {
      o.constant = op.kind == FormulaOp::kNumber ? op.value
                                                 : data.parameters[static_cast<std::size_t>(op.index)];
      o.integer_text = op.kind == FormulaOp::kNumber && op.integer_text;
    }
    return o;
  };

  if (program.ops.size() == 1) {
    const Operand o = operand_of(program.ops[0]);
    for (int t = first; t <= last; ++t) {
      const double v = o.at(t);
      result[static_cast<std::size_t>(t - 1)] = std::isfinite(v) ? v : data.missing;
    }
    return FormulaStatus::kOk;
  }
  if (program.max_depth > capacity) {
    core::SHOWMSGFILE(core::msg::kFormulaTooComplex);
    return FormulaStatus::kStackOverflow;
  }
  const std::size_t levels = static_cast<std::size_t>(program.max_depth);
  if (scratch.stack.size() < levels * nobs) scratch.stack.resize(levels * nobs);
  if (scratch.sort.size() < 2 * nobs) scratch.sort.resize(2 * nobs);

  FormulaParts* parts = scratch.keep_parts && pointwise_only(program) ? &scratch.parts : nullptr;
  if (parts) prepare_parts(*parts, program, data, first, last);

  Evaluator ev(data, first, last, scratch);
  std::vector<Operand> stack;
  stack.reserve(levels);
  for (std::size_t i = 0; i < program.ops.size(); ++i) {
    if (parts) {
      // The largest kept part that starts here stands for all its steps.
      const auto& starting = parts->starting[i];
      const auto kept = std::find_if(starting.begin(), starting.end(), [&](int part) {
        return part_kept(*parts, static_cast<std::size_t>(part), data);
      });
      if (kept != starting.end()) {
        Operand o;
        o.column = parts->columns[static_cast<std::size_t>(*kept)].data();
        stack.push_back(o);
        i = static_cast<std::size_t>(*kept);
        continue;
      }
    }
    const FormulaOp& op = program.ops[i];
    if (op.kind == FormulaOp::kNumber || op.kind == FormulaOp::kVariable ||
        op.kind == FormulaOp::kParameter) {
      stack.push_back(operand_of(op));
      continue;
    }
    const int arity = op.kind == FormulaOp::kFunction ? formula_arity(op.index) : 2;
    const std::size_t level = stack.size() - static_cast<std::size_t>(arity);
    double* out = scratch.stack.data() + level * nobs;
    const Operand left = stack[level];
    if (op.kind == FormulaOp::kLag || op.kind == FormulaOp::kLead) {
      const double k = std::min(std::trunc(stack.back().constant), static_cast<double>(kMaxShift));
      ev.shift(left, static_cast<int>(op.kind == FormulaOp::kLag ? -k : k), out);
    } else if (arity == 1) {
      if (op.index == kSum || op.index == kCsum || op.index == kUniform || op.index == kNormal ||
          op.index == kRank || op.index == kSort || op.index == kMean || op.index == kStd ||
          op.index == kRate)
        ev.series1(op.index, left, out);
      else
        ev.pointwise1(op.index, left, out);
    } else if (op.index <= kMax) {
      ev.pointwise2(op.index, left, stack.back(), out);
    } else {
      ev.series2(op.index, left, stack.back(), out);
    }
    stack.resize(level);
    Operand computed;
    computed.column = out;
    stack.push_back(computed);
    if (parts) keep_part(*parts, i, data, out);
  }
  const double* value = stack.front().column;
  std::copy(value + first - 1, value + last, result.begin() + (first - 1));
  return FormulaStatus::kOk;
}

}  // namespace qorv::data
