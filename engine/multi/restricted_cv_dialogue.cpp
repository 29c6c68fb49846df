#include "engine/multi/restricted_cv_dialogue.h"

#include <stdexcept>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/initial_values.h"
#include "engine/core/menu_system.h"
#include "engine/multi/restriction_editor.h"
#include "engine/single/iteration_limit.h"

namespace qorv::multi {

namespace {

using diagnostics::RestrictionKind;

constexpr int kDampingHelp = 0;

const core::MenuTable kAlgorithmTable{kAlgorithmMenu,
                                      0,
                                      0,
                                      "Choice of Algorithm for ML Estimation of CV's Subject to Restrictions",
                                      {"Return to identify/test cointegrating vectors", "Back substitution algorithm",
                                       "Modified Newton-Raphson algorithm"}};

/// The damping factor, asked until it lies in its bounds (compared in single precision,
/// as the dialog answers); false when the prompt was cancelled.
bool ask_damping(double& damping) {
  while (true) {
    float value = static_cast<float>(kMinDamping);
    int status = 0;
    core::ASKREAL(kDampingHelp, value, status, kDampingPrompt);
    if (status != 1) return false;
    if (value < static_cast<float>(kMinDamping) || value > static_cast<float>(kMaxDamping)) continue;
    damping = value;
    return true;
  }
}

/// The iteration under general restrictions with its dialogues; kNone with `abandoned`
/// set when the user gave up.
CvFailure run_general(const CvProblem& problem, const CvRestrictions& restrictions, int m, bool& abandoned,
                      CvEstimate& out) {
  abandoned = false;
  int vector = 0;
  CvFailure failure = check_restrictions(problem, restrictions, vector);
  if (failure != CvFailure::kNone) {
    core::SHOWMESSAGE(cv_failure_text(failure, vector));
    abandoned = true;
    return CvFailure::kNone;
  }
  std::vector<double> start;
  failure = CHECKCVRESTRICT(problem, restrictions, problem.johansen_beta, start);
  if (failure != CvFailure::kNone) return failure;
  CvAlgorithm algorithm = CvAlgorithm::kBackSubstitution;
  double damping = 1.0;
  if (restrictions.q > problem.r * problem.r) {
    std::vector<std::string> names;
    int flag = m;
    core::EDITINITVALUES(start, names, core::kCointegratingVectors, flag);
    int choice = 2;
    if (flag != 0 || core::show_menu_table(kAlgorithmTable, choice) == 0) {
      abandoned = true;
      return CvFailure::kNone;
    }
    algorithm = static_cast<CvAlgorithm>(choice);
    if (algorithm == CvAlgorithm::kNewtonRaphson && !ask_damping(damping)) {
      abandoned = true;
      return CvFailure::kNone;
    }
  }
  CvIteration state;
  failure = start_iteration(problem, start, algorithm, damping, state);
  if (failure != CvFailure::kNone) return failure;
  core::SHOWCALCULATING();
  while (!state.converged) {
    if (state.count == state.limit) {
      core::STOPCALC();
      bool abandon = false;
      bool print = false;
      single::ITERATIONLIMIT(state.limit, true, abandon, print, kCvIterationIncrement);
      if (abandon) {
        abandoned = true;
        return CvFailure::kNone;
      }
      if (print) break;
    }
    failure = iterate(problem, restrictions, state);
    if (failure != CvFailure::kNone) {
      core::STOPCALC();
      return failure;
    }
  }
  core::STOPCALC();
  return finish_iteration(problem, restrictions, state, out);
}

}  // namespace

RestrictionKind restriction_kind(int option) {
  switch (option) {
    case 1:
    case 6: return RestrictionKind::kFixedVectors;
    case 2:
    case 3: return RestrictionKind::kHomogeneous;
    default: return RestrictionKind::kGeneral;
  }
}

RestrictedCvResult restricted_cv_dialogue(const RestrictedCvRequest& request, std::string& text,
                                          const std::function<void()>& reestimate) {
  if (request.fit == nullptr) throw std::invalid_argument("restricted_cv_dialogue: no Johansen estimate");
  const CvProblem problem = cv_problem(*request.fit, request.n, request.r);
  const int m = problem.k;
  RestrictionEditRequest edit;
  edit.sizes.kind = restriction_kind(request.option);
  edit.sizes.m = m;
  edit.sizes.r = request.r;
  edit.sizes.phase = request.phase;
  edit.sizes.choice = request.option;
  edit.title_code = request.title_code;
  edit.names = request.names;
  edit.exogenous = request.exogenous;
  edit.stationary = request.stationary;
  RestrictedCvResult result;
  result.exact_loglik = problem.ll0 - 0.5 * problem.n * problem.johansen_criterion;
  while (true) {
    result.restrictions = RESTRICTEDIT(edit, text);
    if (result.restrictions.k == 0) return result;
    const diagnostics::RestrictionParse& typed = result.restrictions;
    CvFailure failure = CvFailure::kNone;
    bool abandoned = false;
    switch (request.option) {
      case 1:
      case 6: failure = known_vectors(problem, typed.matrix, typed.k, result.estimate); break;
      case 2: failure = same_restrictions(problem, typed.matrix, typed.k, result.estimate); break;
      case 3: failure = one_vector(problem, typed.matrix, typed.k, result.estimate); break;
      default: {
        const CvRestrictions restrictions{typed.k, typed.matrix, typed.constants};
        failure = run_general(problem, restrictions, m, abandoned, result.estimate);
      }
    }
    if (failure == CvFailure::kNone && !abandoned) {
      result.estimated = true;
      return result;
    }
    if (failure != CvFailure::kNone) core::SHOWMESSAGE(cv_failure_text(failure));
    if (reestimate) reestimate();
  }
}

}  // namespace qorv::multi
