// The words the request driver keeps between requests, and the current equation that the
// specification step sets and the estimators read.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qorv::core {

/// Top-level actions of a request.
enum Action : int { kLeave = 0, kDataProcessing = 1, kSingleEquation = 2, kSystemEstimation = 3 };

/// Single-equation kinds (options of the Single Equation Estimation Menu).
enum SingleKind : int {
  kLinearRegression = 1,
  kRecursive = 2,
  kRolling = 3,
  kNonLinear = 4,
  kFullyModified = 5,
  kArdl = 6,
  kLogitProbit = 7,
};

struct DriverState {
  bool data_loaded = false;    ///< set by every request 1, never cleared
  int command_first = 0;       ///< first observation of the command interpreter's range
  int command_last = 0;        ///< last observation of that range
  bool new_data = false;       ///< a data set came in since the command interpreter last ran
  int action = kLeave;         ///< top-level action of this request
  int single_kind = 0;         ///< 1..7, `SingleKind`
  int system_kind = 0;         ///< 1 VAR, 2 cointegrating VAR, 3 SURE, 4 restricted SURE
  int next_step = 0;           ///< Backtracking Menu choice or a step set by the estimators (1..9)
  bool keep_sample = false;    ///< the next pass does not ask the sample
  int keep_equation = 0;       ///< 1 keep the equation, 2 go to the initial values; else ask
  bool show_backtracking = true;  ///< the Backtracking Menu follows an estimation
  bool cancelled = false;      ///< the step was cancelled (or asks to repeat the specification)
  int loop_code = 0;           ///< 2 run the loop again; otherwise return to the host
  int regressor_count = 0;     ///< regressors of the current equation
  int predictive_failure = 0;  ///< observations kept back for the predictive-failure tests
  bool abort = false;          ///< the user stopped a computation
  bool interactive = true;     ///< estimators ask their iteration limits and report failures
  int plot_availability = 6;   ///< the system estimators' plot word
  std::array<int, 3> lag_window = {0, 0, 1};  ///< lag-window option words
  int window = -999;           ///< window length handed to the single-equation options
  std::vector<int> equation;   ///< variable numbers of the current equation, dependent first
  int after_ampersand = 0;     ///< variables listed after "&" (deterministic or fixed)
  std::vector<int32_t> marks;  ///< availability mark of each observation (index t - 1)
  std::string system_text;     ///< the SURE system as the user last typed it
  std::string restriction_text;  ///< the restrictions of a SURE system as last typed
};

DriverState& driver_state();

/// The interactive switch at 0 for one scope, and back at the value it had afterwards:
/// estimates run inside a loop ask nothing and explain nothing.
class NotInteractive {
 public:
  NotInteractive() : saved_(driver_state().interactive) { driver_state().interactive = false; }
  ~NotInteractive() { driver_state().interactive = saved_; }
  NotInteractive(const NotInteractive&) = delete;
  NotInteractive& operator=(const NotInteractive&) = delete;

 private:
  bool saved_;
};

}  // namespace qorv::core
