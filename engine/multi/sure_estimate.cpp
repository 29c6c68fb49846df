#include "engine/multi/sure_estimate.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "engine/core/availability.h"
#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/menu_system.h"
#include "engine/core/message_lines.h"
#include "engine/core/num/packed_index.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/sample_period.h"
#include "engine/core/spec_panels.h"
#include "engine/core/system_headers.h"
#include "engine/core/temp_variables.h"
#include "engine/core/workspace.h"
#include "engine/data/name_utilities.h"
#include "engine/data/observation_scans.h"
#include "engine/diagnostics/wald_test.h"
#include "engine/multi/dynamic_forecast.h"
#include "engine/multi/restriction_editor.h"
#include "engine/multi/restriction_setup.h"
#include "engine/multi/sure_model.h"
#include "engine/multi/sure_spec.h"
#include "engine/multi/workspace_view.h"
#include "engine/single/estimation_state.h"
#include "engine/single/forecast_period.h"
#include "engine/single/iteration_limit.h"
#include "shared/fixed_text.h"

namespace qorv::multi {

namespace {

constexpr int kPage = core::channel::kResultsPage;
constexpr int kSureModelTitle = -1;
constexpr int kMaxForecasts = 500;

/// An error box of pieces, each one column after the previous.
void error_box(std::initializer_list<std::string_view> pieces) {
  core::SHOWOK(core::kError, core::kNoHelp, core::joined_words(pieces));
}

bool restricted() { return single::estimation().method == kRestrictedSureMethod; }

/// An information box (help context 0).
void inform(std::string_view text) { core::SHOWOK(core::kInformation, core::kNoHelp, text); }

/// Keeps the sample globals and the degrees-of-freedom adjustment as they were on entry.
class EngineWordsGuard {
 public:
  EngineWordsGuard()
      : start_(core::globals().sample_start), end_(core::globals().sample_end),
        adjustment_(core::globals().df_adjustment) {}
  ~EngineWordsGuard() {
    core::globals().sample_start = start_;
    core::globals().sample_end = end_;
    core::globals().df_adjustment = adjustment_;
  }
  EngineWordsGuard(const EngineWordsGuard&) = delete;
  EngineWordsGuard& operator=(const EngineWordsGuard&) = delete;

 private:
  int start_, end_, adjustment_;
};

/// The limits on the coefficients; false after the refusal was shown.
bool within_parameter_limits(const SureLayout& layout) {
  bool fits = layout.p() <= kMaxSureParameters;
  for (int i = 0; i < layout.m(); ++i) fits = fits && layout.k(i) <= kMaxSureRegressors;
  if (fits) return true;
  error_box({" You have too many parameters in the SURE model. A maximum of", std::to_string(kMaxSureParameters),
             "parameters can be estimated."});
  return false;
}

/// The sample, narrowed to the observations where every variable of the system
/// has a value; false after a refusal was shown (or when the user cancelled).
bool system_sample(SureLayout& layout) {
  const core::Globals& g = core::globals();
  int start = g.sample_start > 0 ? g.sample_start : 1;
  int end = g.sample_end > 0 ? g.sample_end : g.nobs;
  if (core::ask_estimation_period(start, end)) return false;
  std::vector<int> all;
  for (const auto& eq : layout.equations)
    for (int v : eq)
      if (std::find(all.begin(), all.end(), v) == all.end()) all.push_back(v);
  std::vector<int32_t> marks(static_cast<std::size_t>(g.nobs));
  core::MARKAVAILABLE(workspace_data().values, g.nobs, static_cast<int>(all.size()), all, limits::kMissing, start, end,
                      marks, 0);
  if (!data::CHECKFLAGRUN(start, end, marks)) {
    core::SHOWMSGFILE(core::msg::kSampleGap);
    return false;
  }
  const int n = end - start + 1;
  if (n > kMaxSureObservations) {
    error_box({"You have included too many observations.  A maximum of", std::to_string(kMaxSureObservations),
               "observations can be included."});
    return false;
  }
  int largest = 0;
  for (int i = 0; i < layout.m(); ++i) largest = std::max(largest, layout.k(i));
  if (n <= layout.m() + largest) {
    core::SHOWMSGFILE(core::msg::kSampleTooShort);
    return false;
  }
  layout.first = start;
  layout.n = n;
  return true;
}

/// The message of a failed estimate.
void explain(SureStatus status) {
  const bool r = restricted();
  switch (status) {
    case SureStatus::kCollinearPredetermined: inform(" The predetermined variables in the model are multicollinear!"); break;
    case SureStatus::kStartFailed:
      if (r) inform(" The restrictions are linearly dependent!");
      inform("Multicollinear 1");
      break;
    case SureStatus::kSingularCovariance: inform("Singular variance covariance matrix!"); break;
    case SureStatus::kSolveFailed:
      if (r) inform(" The restrictions are linearly dependent!");
      inform(r ? "Multicollinear 3!" : "Multicollinear 2!");
      break;
    case SureStatus::kNoLikelihood:  // LOGDETERMINANT has explained it
    case SureStatus::kAbandoned:
    case SureStatus::kOk: break;
  }
}

/// The non-blank lines of an editor text of 78-character lines, trimmed on the right.
std::vector<std::string> text_lines(std::string_view text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size(); at += kRestrictionWidth) {
    const std::string_view line = fixed_text::trim_right(text.substr(at, kRestrictionWidth));
    if (!fixed_text::trim(line).empty()) lines.emplace_back(line);
  }
  return lines;
}

/// The restrictions typed on its coefficients and the
/// partition of the parameters they leave free. False when the user leaves the editor
/// (nothing is estimated) or the restrictions are collinear (shown).
bool ask_restrictions(const SureLayout& layout, std::string_view system_text, std::vector<std::string>& typed,
                      SureRestrictions& restrictions) {
  RestrictionEditRequest request;
  request.sizes.kind = diagnostics::RestrictionKind::kSure;
  for (int i = 0; i < layout.m(); ++i) request.sizes.regressors.push_back(layout.k(i));
  request.title_code = kSureModelTitle;
  const std::vector<std::string> system_lines = text_lines(system_text);
  request.system_lines = system_lines;
  std::string& text = core::driver_state().restriction_text;
  const diagnostics::RestrictionParse parse = RESTRICTEDIT(request, text);
  if (parse.outcome != diagnostics::RestrictionOutcome::kAccepted || parse.k == 0) return false;
  typed = text_lines(text);
  RestrictionPartition partition;
  if (!RESTRICTSETUP(parse.matrix, parse.constants, parse.k, parse.n, partition)) return false;
  restrictions.q = parse.k;
  restrictions.R = parse.matrix;
  restrictions.r = parse.constants;
  if (restrictions.r.empty()) restrictions.r.assign(static_cast<std::size_t>(parse.k), 0.0);
  restrictions.N = std::move(partition.null_space);
  return true;
}

/// The estimated system with its names and the texts its pages repeat.
struct NamedSystem {
  SureFit fit;
  std::vector<std::string> dependents;
  std::vector<std::vector<std::string>> regressors;
  std::vector<std::string> restriction_lines;  ///< the restrictions as typed (restricted SURE)
};

class SureDialogue {
 public:
  SureDialogue(NamedSystem system, const SystemServices& services)
      : system_(std::move(system)), services_(services) {}
  /// Menu 1043 until the user leaves; true for "Edit the model and estimate".
  bool run();

 private:
  void equations();
  void covariance();
  void wald(diagnostics::RelationMode mode);
  void forecasts();
  void header() const;
  void model_lines(int channel) const;

  NamedSystem system_;
  const SystemServices& services_;
  std::string wald_text_;
};

bool SureDialogue::run() {
  int choice = kSureEquations;
  while (true) {
    switch (SUREMENU(choice)) {
      case kSureEdit: return true;
      case kSureEquations: equations(); choice = kSureCovariance; break;
      case kSureCovariance: covariance(); choice = kSureWald; break;
      case kSureWald: wald(diagnostics::RelationMode::kRestrictions); choice = kSureForecasts; break;
      case kSureFunctions: wald(diagnostics::RelationMode::kFunctions); choice = kSureForecasts; break;
      case kSureForecasts: forecasts(); break;
      default: return false;
    }
  }
}

void SureDialogue::equations() {
  const SureFit& fit = system_.fit;
  const SureLayout& layout = fit.layout;
  std::vector<std::string> options;
  for (const std::string& name : system_.dependents) options.push_back(fixed_text::pad(name, 14));
  options.emplace_back("Quit");
  int chosen = 0;
  while (true) {
    int status = 0;
    core::ASKONEOPTION(core::kNoHelp, status, chosen, "Choose equation to inspect", options);
    if (status != 1 || chosen < 0 || chosen >= layout.m()) return;
    if (!services_.report_equation) return;
    const int k = layout.k(chosen);
    const int at = fit.offset(chosen);
    single::SystemShare share;
    share.coefficients.assign(fit.b.begin() + at, fit.b.begin() + at + k);
    for (int i = 0; i < k; ++i)
      for (int j = 0; j <= i; ++j)
        share.variance.push_back(fit.variance[static_cast<std::size_t>(core::PACKEDINDEX(at + i + 1, at + j + 1) - 1)]);
    share.system_parameters = fit.free_parameters();
    auto& s = single::estimation();
    s.system_loglik = fit.loglik;
    s.system_share = std::move(share);
    // An equation's own restrictions leave it degrees of freedom, unless one spans equations.
    const EngineWordsGuard guard;
    auto& g = core::globals();
    g.sample_start = layout.first;
    g.sample_end = layout.first + layout.n - 1;
    g.df_adjustment = fit.blocks.cross ? 0 : fit.blocks.own[static_cast<std::size_t>(chosen)];
    services_.report_equation(layout.equations[static_cast<std::size_t>(chosen)]);
  }
}

void SureDialogue::header() const {
  std::string title;
  core::SYSTEMMODELTITLE(title, kSureModelTitle, kPage);
  const SureLayout& layout = system_.fit.layout;
  core::SYSTEMHEADER(core::SystemHeaderArgs{restricted() ? core::kRestrictedSureHeader : core::kSureHeader, {}, {},
                                            layout.first - 1, layout.n, 0, system_.fit.loglik},
                     kPage);
}

void SureDialogue::covariance() {
  std::vector<std::string> names = system_.dependents;
  int m = system_.fit.layout.m();
  core::PRINTCOVMATRIX(single::estimation().method, [this] { header(); }, names, m, core::kSystemErrors, 6, 1.0,
                       system_.fit.sigma, m);
}

/// The model the tests rest on: each equation's dependent variable and regressors, the
/// restrictions of a restricted system, and the sample.
void SureDialogue::model_lines(int channel) const {
  core::WRITESTARS(core::kTableWidth, channel);
  core::WRITELINE(restricted() ? " The underlying estimated restricted SURE model is:"
                               : " The underlying estimated SURE model is:",
                  channel);
  for (std::size_t i = 0; i < system_.dependents.size(); ++i) {
    std::string line(core::kTableWidth, ' ');
    core::APPENDTEXT(line, 1, system_.dependents[i]);
    core::APPENDTEXT(line, 1, "on:");
    core::WRITELINE(line, channel);
    const auto& regressors = system_.regressors[i];
    core::WRITENAMELIST(regressors, static_cast<int>(regressors.size()), channel);
  }
  if (restricted()) {
    core::WRITELINE(" List of restrictions imposed on the SURE model:", channel);
    for (const std::string& line : system_.restriction_lines) core::WRITELINE(" " + line, channel);
  }
  const SureLayout& layout = system_.fit.layout;
  std::string line(core::kTableWidth, ' ');
  core::APPENDINTEGER(line, 1, layout.n);
  core::APPENDTEXT(line, 0, " observations used for estimation from");
  core::APPENDOBSLABEL(line, 1, layout.first);
  core::APPENDTEXT(line, 0, " to");
  core::APPENDOBSLABEL(line, 1, layout.first + layout.n - 1);
  core::WRITELINE(line, channel);
  core::WRITESTARS(core::kTableWidth, channel);
}

void SureDialogue::wald(diagnostics::RelationMode mode) {
  const SureFit& fit = system_.fit;
  const SureLayout& layout = fit.layout;
  diagnostics::WaldRequest request;
  request.mode = mode;
  request.estimates = fit.b;
  for (int i = 0; i < layout.m(); ++i) request.block_sizes.push_back(layout.k(i));
  request.variance = fit.variance;
  request.scale = 1.0;
  request.system = true;
  int largest = 0;
  for (int i = 0; i < layout.m(); ++i) largest = std::max(largest, layout.k(i));
  request.df = layout.n - largest;
  request.limit = layout.p();
  request.header = [this](int channel) { model_lines(channel); };
  diagnostics::WALDTEST(request, wald_text_);
}

void SureDialogue::forecasts() {
  const SureFit& fit = system_.fit;
  const SureLayout& layout = fit.layout;
  // A regressor that is a dependent variable of the system lagged k periods takes the
  // forecasts of that variable once the lag reaches into the forecast period; every other
  // predetermined variable must have values over the whole period.
  std::vector<ForecastSource> sources;
  std::vector<int> lags;
  for (const auto& eq : layout.equations)
    for (std::size_t j = 1; j < eq.size(); ++j) {
      ForecastSource source;
      const std::string name(fixed_text::trim(core::variable_name(eq[j])));
      for (int e = 0; e < layout.m() && source.equation < 0; ++e) {
        const int shift = data::SIGNEDOFFSET(name, system_.dependents[static_cast<std::size_t>(e)]);
        if (shift < 0) source = ForecastSource{e, -shift};
      }
      if (source.equation >= 0) lags.push_back(eq[j]);
      sources.push_back(source);
    }
  std::vector<int> defined;
  for (int v : fit.predetermined)
    if (std::find(lags.begin(), lags.end(), v) == lags.end()) defined.push_back(v);
  const int end = layout.first + layout.n - 1;
  const int last_available = std::min(core::globals().nobs, end + kMaxForecasts);
  int last = end;
  if (single::FORECASTPERIOD(last_available, end + 1, last, defined, single::kCheckRegressors,
                             single::RefusalSpacing::kBlankApart)) return;
  ForecastDisplay display;
  try {
    display.predictions = sure_predictions(workspace_data(), fit, sources, last - end);
  } catch (const std::bad_alloc&) {
    inform(" There is not enough free hard disk to carry out computations! ");
    return;
  }
  display.names = system_.dependents;
  for (const auto& eq : layout.equations) display.variables.push_back(eq.front());
  display.first = layout.first;
  display.end = end;
  display.last = last;
  display.header = [this] { header(); };
  DYNFORECAST(display);
}

}  // namespace

int SUREMENU(int& choice) {
  static const core::MenuTable menu{1043, 0, 0, "SURE Post Estimation Menu",
                                    {"Move back to System Estimation Menu", "Edit the model and estimate",
                                     "Display individual equation estimation results",
                                     "Display system covariance matrix of errors",
                                     "Wald tests of hypotheses on the parameters of the model",
                                     "Estimate/test functions of parameters of the model",
                                     "Compute multivariate dynamic forecasts"}};
  return core::show_menu_table(menu, choice);
}

bool SUREESTIMATE(const SystemServices& services) {
  // The lagged variables a system names are made for its estimate only.
  const core::TemporaryScope temporaries;
  std::string& text = core::driver_state().system_text;
  // The coefficients of each equation are named by a letter of their own in the tests
  // and the restrictions: a system has at most as many equations as there are letters.
  const SystemSpec spec = SPECIFYSURE(text, diagnostics::kMaxParameterBlocks, restricted() ? kRestrictedSystem : 0);
  if (spec.cancelled || spec.equations.empty()) return false;
  NamedSystem system;
  SureLayout layout;
  for (const SystemEquation& eq : spec.equations) {
    layout.equations.push_back(eq.numbers);
    system.dependents.emplace_back(fixed_text::trim(eq.names.front()));
    std::vector<std::string> regressors;
    for (std::size_t j = 1; j < eq.names.size(); ++j) regressors.emplace_back(fixed_text::trim(eq.names[j]));
    system.regressors.push_back(std::move(regressors));
  }
  if (!within_parameter_limits(layout)) return false;
  SureRestrictions restrictions;
  if (restricted() && !ask_restrictions(layout, text, system.restriction_lines, restrictions)) return false;
  if (!system_sample(layout)) return false;
  core::SHOWCALCULATING();
  // The busy notice is down while the user answers; a raised limit shows it again.
  const auto at_limit = [](int& limit, bool& abandon, bool& print) {
    core::STOPCALC();
    single::ITERATIONLIMIT(limit, true, abandon, print, single::kIterationIncrement);
  };
  SureStatus status = SureStatus::kOk;
  try {
    status = fit_sure(workspace_data(), layout, restrictions, at_limit, system.fit);
  } catch (const std::bad_alloc&) {
    core::STOPCALC();
    core::DISKSPACEMESSAGE();
    return false;
  }
  core::STOPCALC();
  if (status != SureStatus::kOk) {
    explain(status);
    return false;
  }
  return SureDialogue(std::move(system), services).run();
}

}  // namespace qorv::multi
