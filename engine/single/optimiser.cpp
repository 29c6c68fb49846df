#include "engine/single/optimiser.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <vector>

namespace qorv::single {

namespace {

constexpr double kScale = 400.0;    // largest step along a line at the start
constexpr double kTiny = 1e-22;     // degenerate arithmetic
constexpr double kHuge = 1e11;      // runaway expansion

/// Where the search goes next (the steps of the method).
enum class Step { kIteration, kLine, kAfterMove, kParabola, kBracket, kStepBound, kExpand, kNewLine,
                  kAccept, kExtrapolate, kKeep, kReplace, kTest, kEndIteration, kCount, kFinal, kDone };

/// What a move's new value is for.
enum class Pending { kFirstTrial, kThirdPoint, kSlopeTrial, kInnerBc, kInnerAb };

class Powell {
 public:
  Powell(const Objective& f, std::span<double> x, std::span<const double> e, int limit,
         const LimitHandler& on_limit, OptimiserTrace* trace)
      : f_(f), x_(x), e_(e), n_(x.size()), limit_(limit), on_limit_(on_limit), trace_(trace),
        s_(n_, kScale), dir_(n_ * n_, 0.0), x0_(n_), x1_(n_), v_(n_) {}

  OptimiserRun run();

 private:
  double* direction(std::size_t j) { return dir_.data() + j * n_; }
  bool evaluate() {
    int fail = 0;
    F_ = f_(x_, fail);
    if (fail != 0 || !std::isfinite(F_)) {
      run_.failed = true;
      return false;
    }
    return true;
  }
  /// Moves to abscissa d along the current line and evaluates.
  Step move(double d, Pending pending) {
    const double* u = direction(line_);
    for (std::size_t i = 0; i < n_; ++i) x_[i] += (d - p_) * u[i];
    p_ = d;
    d_ = d;
    pending_ = pending;
    return evaluate() ? Step::kAfterMove : Step::kDone;
  }
  Step fail() {
    run_.failed = true;
    return Step::kDone;
  }
  Step after_move();
  Step parabola();
  Step bracket();
  Step step_bound();
  Step expand();
  Step accept();
  Step extrapolate();
  Step replace();
  Step test();
  Step end_iteration();
  Step count();
  Step final_check();
  bool largest_ratio(double& q);

  const Objective& f_;
  std::span<double> x_;
  std::span<const double> e_;
  std::size_t n_;
  int limit_;
  const LimitHandler& on_limit_;
  OptimiserTrace* trace_;
  OptimiserRun run_;

  std::vector<double> s_, dir_, x0_, x1_, v_;
  std::size_t line_ = 0;
  double F_ = 0.0;
  double a_ = 0, b_ = 0, c_ = 0, fa_ = 0, fb_ = 0, fc_ = 0, p_ = 0, d_ = 0;
  double h_ = 0, U_ = 0, G_ = 40.0, tol_ = 0, M_ = 0, A_ = 0, B_ = 0, m_ = 0, fm_ = 0;
  double F0_ = 0, Fl_ = 0, Fc_ = 0, F1_ = 0, S_ = 0, q_ = 0;
  std::size_t J_ = 1;
  int lmode_ = 1, gmode_ = 2, cmode_ = 1, dflag_ = 1;
  Pending pending_ = Pending::kFirstTrial;
};

bool Powell::largest_ratio(double& q) {
  q = 0.0;
  for (std::size_t i = 0; i < n_; ++i) {
    if (std::fabs(e_[i]) < kTiny) return false;
    q = std::max(q, std::fabs(v_[i] / e_[i]));
  }
  return true;
}

Step Powell::after_move() {
  const double F = F_, d = d_;
  switch (pending_) {
    case Pending::kFirstTrial:
      if (F < fa_) {
        fb_ = F;
        b_ = d;
      } else if (F == fa_) {
        if (std::fabs(d) <= M_) return move(2.0 * d, Pending::kFirstTrial);
        return fail();
      } else {
        fb_ = fa_;
        b_ = a_;
        fa_ = F;
        a_ = d;
      }
      if (gmode_ == 1) {
        if (std::fabs(a_ - b_) < kTiny) return fail();
        d_ = 0.5 * (a_ + b_ - (fa_ - fb_) / (a_ - b_));
        if ((a_ - d_) * (d_ - b_) >= 0.0) return move(d_, Pending::kSlopeTrial);
        return Step::kStepBound;
      }
      return move(2.0 * b_ - a_, Pending::kThirdPoint);
    case Pending::kThirdPoint:
      fc_ = F;
      c_ = d;
      return Step::kParabola;
    case Pending::kSlopeTrial:
      if (F < fa_) {
        fc_ = fb_;
        c_ = b_;
        fb_ = F;
        b_ = d;
        return Step::kParabola;
      }
      return move(2.0 * b_ - a_, Pending::kThirdPoint);
    case Pending::kInnerBc:
      if (F < fb_) {
        fa_ = fb_;
        a_ = b_;
        fb_ = F;
        b_ = d;
      } else {
        fc_ = F;
        c_ = d;
      }
      return Step::kParabola;
    case Pending::kInnerAb:
      if (F <= fb_) {
        fc_ = fb_;
        c_ = b_;
        fb_ = F;
        b_ = d;
      } else {
        fa_ = F;
        a_ = d;
      }
      return Step::kParabola;
  }
  return fail();
}

Step Powell::parabola() {
  A_ = (b_ - c_) * (fa_ - fc_);
  B_ = (c_ - a_) * (fb_ - fc_);
  if ((A_ + B_) * (a_ - c_) <= 0.0) {
    fa_ = fb_;
    a_ = b_;
    fb_ = fc_;
    b_ = c_;
    return Step::kExpand;
  }
  if (std::fabs(A_ + B_) < kTiny) return fail();
  d_ = 0.5 * (A_ * (b_ + c_) + B_ * (a_ + c_)) / (A_ + B_);
  if (fb_ > fc_) {
    m_ = c_;
    fm_ = fc_;
  } else {
    m_ = b_;
    fm_ = fb_;
  }
  if (lmode_ == 3) {
    lmode_ = 2;
    return Step::kBracket;
  }
  if (std::fabs(d_ - m_) <= tol_ || std::fabs(d_ - m_) <= 0.03 * std::fabs(d_)) return Step::kAccept;
  return Step::kBracket;
}

Step Powell::bracket() {
  if ((a_ - c_) * (c_ - d_) >= 0.0) {
    fa_ = fb_;
    a_ = b_;
    fb_ = fc_;
    b_ = c_;
    return Step::kStepBound;
  }
  return move(d_, (b_ - d_) * (d_ - c_) < 0.0 ? Pending::kInnerAb : Pending::kInnerBc);
}

Step Powell::step_bound() {
  if (std::fabs(d_ - b_) <= U_) return move(d_, Pending::kThirdPoint);
  return Step::kExpand;
}

Step Powell::expand() {
  if (trace_ != nullptr) ++trace_->expansions;
  const double d = b_ + (b_ - a_ >= 0.0 ? U_ : -U_);
  if (std::fabs(U_) > kHuge || std::fabs(G_) > kHuge) return fail();
  U_ = std::min(2.0 * U_, M_);
  G_ *= 2.0;
  return move(d, Pending::kThirdPoint);
}

Step Powell::accept() {
  F_ = fm_;
  const double R = (c_ - b_) * (c_ - a_) * (a_ - b_) / (A_ + B_);
  if (!(R >= kTiny)) return fail();
  const double k = std::sqrt(R);
  double* u = direction(line_);
  for (std::size_t i = 0; i < n_; ++i) {
    x_[i] += (m_ - p_) * u[i];
    u[i] *= k;
  }
  s_[line_] /= k;
  const std::size_t next = line_ + 1;
  if (lmode_ == 2) {
    q_ *= 1.0 + m_;
    if (cmode_ == 2) {
      if (q_ <= 0.1) return Step::kDone;
      dflag_ = 1;
      return Step::kEndIteration;
    }
    return Step::kTest;
  }
  if (Fl_ - F_ >= S_) {
    S_ = Fl_ - F_;
    J_ = next + 1;  // 1-based index after the direction that gave S
  }
  if (next < n_) {
    line_ = next;
    return Step::kLine;
  }
  return cmode_ == 1 ? Step::kExtrapolate : Step::kTest;
}

Step Powell::extrapolate() {
  Fc_ = F_;
  for (std::size_t i = 0; i < n_; ++i) {
    v_[i] = x_[i] - x0_[i];
    x_[i] += v_[i];
  }
  if (!evaluate()) return Step::kDone;
  if (cmode_ == 2) return Step::kReplace;
  if (F0_ <= F_) return Step::kKeep;
  if (std::fabs(F0_ - F_) < kTiny) return fail();
  const double T = 2.0 * (F0_ + F_ - 2.0 * Fc_) / ((F0_ - F_) * (F0_ - F_));
  const double g = F0_ - Fc_ - S_;
  return T * g * g - S_ >= 0.0 ? Step::kKeep : Step::kReplace;
}

Step Powell::replace() {
  if (trace_ != nullptr) ++trace_->replaced;
  const std::size_t drop = J_ >= 2 && J_ - 2 < n_ ? J_ - 2 : 0;  // direction J − 1, 0-based
  for (std::size_t j = drop; j + 1 < n_; ++j) {
    std::copy(direction(j + 1), direction(j + 1) + n_, direction(j));
    s_[j] = s_[j + 1];
  }
  std::copy(v_.begin(), v_.end(), direction(n_ - 1));
  lmode_ = 3;
  if (!largest_ratio(q_)) return fail();
  G_ = 1.0;
  if (q_ < kTiny) return fail();
  s_[n_ - 1] = kScale / q_;
  line_ = n_ - 1;
  return Step::kLine;
}

Step Powell::test() {
  if (cmode_ == 2) {
    cmode_ = 1;
    return Step::kEndIteration;
  }
  if (q_ <= 0.1) return Step::kFinal;
  if (F_ >= F0_) return fail();
  return Step::kEndIteration;
}

Step Powell::end_iteration() {
  if (F0_ - F_ < 0.0) return fail();
  G_ = 0.4 * std::sqrt(F0_ - F_);
  gmode_ = 1;
  return Step::kCount;
}

Step Powell::count() {
  ++run_.iterations;
  if (run_.iterations <= limit_) return Step::kIteration;
  bool abandon = false, print = false;
  if (on_limit_) on_limit_(limit_, abandon, print);
  else abandon = true;
  if (abandon) return fail();
  if (print) {
    run_.print = true;
    return Step::kDone;
  }
  return run_.iterations <= limit_ ? Step::kIteration : fail();
}

Step Powell::final_check() {
  cmode_ = 2;
  if (dflag_ == 1) {
    if (trace_ != nullptr) ++trace_->first_converged;
    dflag_ = 2;
    std::copy(x_.begin(), x_.end(), x1_.begin());
    for (std::size_t i = 0; i < n_; ++i) x_[i] += 10.0 * e_[i];
    F1_ = F_;
    if (!evaluate()) return Step::kDone;
    G_ = 0.0;
    return Step::kCount;
  }
  if (trace_ != nullptr) ++trace_->final_checks;
  F0_ = F1_;
  if (F_ < F1_) {
    std::copy(x1_.begin(), x1_.end(), x0_.begin());
  } else if (F_ == F1_) {
    // The restart converged to the same value: a flat but genuine minimum.
    std::copy(x1_.begin(), x1_.end(), x_.begin());
    return Step::kDone;
  } else {
    F0_ = F_;
    F_ = F1_;
    std::copy(x_.begin(), x_.end(), x0_.begin());
    std::copy(x1_.begin(), x1_.end(), x_.begin());
  }
  J_ = 2;
  return Step::kExtrapolate;
}

OptimiserRun Powell::run() {
  for (std::size_t j = 0; j < n_; ++j) direction(j)[j] = std::fabs(e_[j]);
  run_.iterations = 1;
  if (!evaluate()) return run_;
  F1_ = 2.0 * std::fabs(F_);
  Step step = Step::kIteration;
  while (step != Step::kDone) {
    switch (step) {
      case Step::kIteration:
        lmode_ = 1;
        F0_ = F_;
        S_ = 0.0;
        std::copy(x_.begin(), x_.end(), x0_.begin());
        line_ = 0;
        step = Step::kLine;
        break;
      case Step::kLine:
        M_ = s_[line_];
        tol_ = 0.000125 * M_;
        h_ = std::max(std::min(G_, 0.1 * M_), 20.0 * tol_);
        U_ = 10.0 * h_;
        if (lmode_ == 3) {
          step = Step::kNewLine;
        } else {
          p_ = 0.0;
          Fl_ = F_;
          fa_ = F_;
          a_ = 0.0;
          step = move(h_, Pending::kFirstTrial);
        }
        break;
      case Step::kAfterMove: step = after_move(); break;
      case Step::kParabola: step = parabola(); break;
      case Step::kBracket: step = bracket(); break;
      case Step::kStepBound: step = step_bound(); break;
      case Step::kExpand: step = expand(); break;
      case Step::kNewLine:
        p_ = 1.0;
        U_ = 5.0;
        fa_ = F0_;
        a_ = -1.0;
        fb_ = Fc_;
        b_ = 0.0;
        fc_ = F_;
        c_ = 1.0;
        step = Step::kParabola;
        break;
      case Step::kAccept: step = accept(); break;
      case Step::kExtrapolate: step = extrapolate(); break;
      case Step::kKeep:
        if (trace_ != nullptr) ++trace_->kept;
        F_ = Fc_;
        for (std::size_t i = 0; i < n_; ++i) x_[i] -= v_[i];
        step = largest_ratio(q_) ? Step::kTest : fail();
        break;
      case Step::kReplace: step = replace(); break;
      case Step::kTest: step = test(); break;
      case Step::kEndIteration: step = end_iteration(); break;
      case Step::kCount: step = count(); break;
      case Step::kFinal: step = final_check(); break;
      case Step::kDone: break;
    }
  }
  run_.f = F_;
  return run_;
}

}  // namespace

OptimiserRun OPTIMISE(const Objective& f, std::span<double> x, std::span<const double> e, int limit,
                      const LimitHandler& on_limit, OptimiserTrace* trace) {
  if (x.empty() || e.size() != x.size()) throw std::invalid_argument("OPTIMISE: parameters and accuracies differ");
  Powell search(f, x, e, limit, on_limit, trace);
  return search.run();
}

}  // namespace qorv::single
