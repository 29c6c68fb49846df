// Powell's derivative-free conjugate-direction minimiser: line searches by three-point
// parabolic interpolation along N directions in turn, after which the net move of the
// iteration may replace the direction that gave the largest decrease. Convergence needs
// two successes: after no parameter moved by more than 0.1·E(i) the search restarts from
// x + 10·E, must converge again, and the line through the two end points is searched once
// more.
#pragma once

#include <functional>
#include <span>

namespace qorv::single {

/// The function minimised: its value at x; sets `fail` when it cannot be evaluated.
using Objective = std::function<double(std::span<const double> x, int& fail)>;

/// What to do when the iteration count passes the limit: raise `limit`, or set `abandon`
/// or `print` (the iteration-limit dialogue by default).
using LimitHandler = std::function<void(int& limit, bool& abandon, bool& print)>;

/// How often the branches of an iteration's end were taken (for tests).
struct OptimiserTrace {
  int kept = 0;           ///< directions kept after the extrapolation test
  int replaced = 0;       ///< a direction replaced by the iteration's net move
  int expansions = 0;     ///< line searches that widened their bracket
  int first_converged = 0;  ///< first convergence: the displaced restart
  int final_checks = 0;   ///< final checks after the restart converged
};

/// Outcome of one minimisation.
struct OptimiserRun {
  double f = 0.0;          ///< F at the returned x
  int iterations = 0;      ///< iterations taken (from 1)
  bool failed = false;     ///< the function failed, arithmetic degenerated or the user abandoned
  bool print = false;      ///< the user chose to print the non-convergent results
};

/// `OPTIMISE`: minimises f from x (in/out) with the accuracies E (|E(i)| the first step
/// scale of parameter i; convergence = no parameter moving more than 0.1·E(i)) and the
/// iteration limit. Every failure returns at once with `failed` set and x at the last
/// point reached. Throws std::invalid_argument when E and x differ in length or are empty.
OptimiserRun OPTIMISE(const Objective& f, std::span<double> x, std::span<const double> e, int limit,
                      const LimitHandler& on_limit, OptimiserTrace* trace = nullptr);

}  // namespace qorv::single
