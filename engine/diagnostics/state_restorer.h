// A scope that hands the estimation state back as it found it: tests that re-estimate a
// restricted, extended or auxiliary equation leave the user's estimate untouched on
// every way out.
#pragma once

#include <utility>

#include "engine/single/estimation_state.h"

namespace qorv::diagnostics {

/// Puts the estimation state back when it goes out of scope.
class StateRestorer {
 public:
  StateRestorer() : saved_(single::estimation()) {}
  ~StateRestorer() { single::estimation() = std::move(saved_); }
  StateRestorer(const StateRestorer&) = delete;
  StateRestorer& operator=(const StateRestorer&) = delete;

  /// The state as it was when the scope opened.
  const single::EstimationState& saved() const { return saved_; }

 private:
  single::EstimationState saved_;
};

}  // namespace qorv::diagnostics
