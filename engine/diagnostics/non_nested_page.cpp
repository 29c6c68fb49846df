// Hypothesis Testing Menu option 8: the rival model's regressors, the common sample, the
// statistics and their results page.
#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/message_lines.h"
#include "engine/core/model_spec.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/results_page.h"
#include "engine/core/sample_statistics.h"
#include "engine/core/square_guard.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/non_nested_tests.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "engine/diagnostics/sample_check.h"
#include "engine/single/estimation_state.h"
#include "engine/single/result_report.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

namespace {

constexpr double kMissing = limits::kMissing;
constexpr int kWidth = 79;

/// A statistic and, unless it is missing, its probability; true when the probability was written.
bool append_value(std::string& line, int gap, double value, core::ProbKind kind, int df1, int df2) {
  core::APPENDREAL(line, gap, ' ', value);
  return value != kMissing && core::APPENDPROB(line, kind, value, df1, df2);
}

/// The models' data over the checked sample: the dependent variable, one column per
/// distinct regressor and each model's column indexes.
struct ModelData {
  std::vector<double> y;
  std::vector<std::vector<double>> columns;
  std::vector<int> x1, x2;
  std::vector<int> variables;  ///< the variable number of each column
};

ModelData gather(int dependent, std::span<const int> regressors1, std::span<const int> regressors2) {
  const auto& g = core::globals();
  ModelData d;
  const auto series = [&](int v) {
    std::vector<double> out;
    for (int t = g.sample_start; t <= g.sample_end; ++t) out.push_back(core::data_at(t, v));
    return out;
  };
  d.y = series(dependent);
  const auto column_of = [&](int v) {
    const auto at = std::find(d.variables.begin(), d.variables.end(), v);
    if (at != d.variables.end()) return static_cast<int>(at - d.variables.begin());
    d.variables.push_back(v);
    d.columns.push_back(series(v));
    return static_cast<int>(d.columns.size()) - 1;
  };
  for (const int v : regressors1) d.x1.push_back(column_of(v));
  for (const int v : regressors2) d.x2.push_back(column_of(v));
  return d;
}

void write_line(std::string_view text, int gap, int channel) {
  std::string line(kWidth, ' ');
  core::APPENDTEXT(line, gap, text);
  core::WRITELINE(line, channel);
}

/// "  Encompassing" and the two F statistics, each ending in the column of the statistics above.
void write_encompassing(const NonNestedStatistics& s, int channel) {
  std::string line(kWidth, ' ');
  core::APPENDTEXT(line, 1, " Encompassing");
  int gap = 5;
  for (int way = 0; way < 2; ++way) {
    const int df1 = s.k_only[static_cast<std::size_t>(way)], df2 = s.n - s.k12;
    core::APPENDTEXT(line, gap, "F(");
    core::APPENDINTFIELD(line, 0, df1, 3);
    core::APPENDTEXT(line, 0, ",");
    core::APPENDINTFIELD(line, 0, df2, 4);
    core::APPENDTEXT(line, 0, ")");
    const bool probability = append_value(line, 0, s.f_test[static_cast<std::size_t>(way)], core::ProbKind::kF, df1, df2);
    gap = probability ? 5 : 11;  // the probability "[.nnn]" takes six columns
  }
  core::WRITELINE(line, channel);
}

void write_criterion(std::string_view text, double value, int channel) {
  std::string line(kWidth, ' ');
  core::APPENDTEXT(line, 0, text);
  core::APPENDREAL(line, 0, '=', value);
  if (value != kMissing) {
    core::APPENDTEXT(line, 1, "favours");
    core::APPENDTEXT(line, 1, value >= 0.0 ? "M1" : "M2");
  }
  core::WRITELINE(line, channel);
}

void write_page(const NonNestedStatistics& s, const ModelData& d, std::span<const std::string> names1,
                std::span<const std::string> names2, const std::string& dependent) {
  const int page = core::channel::kResultsPage;
  const auto& g = core::globals();
  core::SHOWRESULTS(core::kOpenPage);
  write_line("Alternative Tests for Non-Nested Regression Models", 1, page);
  core::WRITESTARS(kWidth, page);
  std::string line(kWidth, ' ');
  core::APPENDTEXT(line, 0, " Dependent variable is");
  core::APPENDTEXT(line, 1, dependent.substr(0, limits::kNameWidth));
  core::APPENDINTEGER(line, 1, s.n);
  core::APPENDTEXT(line, 1, "observations used from");
  core::APPENDOBSLABEL(line, 1, g.sample_start);
  core::APPENDTEXT(line, 1, "to");
  core::APPENDOBSLABEL(line, 1, g.sample_end);
  core::WRITELINE(line, page);
  write_line(" Regressors for model M1:", 0, page);
  core::WRITENAMELIST(names1, static_cast<int>(names1.size()), page);
  write_line(" Regressors for model M2:", 0, page);
  core::WRITENAMELIST(names2, static_cast<int>(names2.size()), page);
  core::WRITESTARS(kWidth, page);
  line.assign(kWidth, ' ');
  core::APPENDTEXT(line, 0, " Test Statistic");
  core::APPENDTEXT(line, 18, "M1 against M2");
  core::APPENDTEXT(line, 19, "M2 against M1");
  core::WRITELINE(line, page);
  WRITESTATLINE(" N-Test", s.n_test[0], s.n_test[1], page);
  WRITESTATLINE("NT-Test", s.nt_test[0], s.nt_test[1], page);
  WRITESTATLINE(" W-Test", s.w_test[0], s.w_test[1], page);
  WRITESTATLINE(" J-Test", s.j_test[0], s.j_test[1], page);
  WRITESTATLINE("JA-Test", s.ja_test[0], s.ja_test[1], page);
  write_encompassing(s, page);
  core::WRITESTARS(kWidth, page);
  double mean = 0.0, v = 0.0;
  core::MEANVAR(d.y, mean, v);
  const struct {
    const char* label;
    const NonNestedFit* fit;
  } models[] = {{" Model M1:    DW", &s.m1}, {" Model M2:    DW", &s.m2}, {" Model M1+M2: DW", &s.m12}};
  for (const auto& m : models) {
    const single::FitStatistics fit = single::FITSTATS(single::method::kOls, m.fit->residuals, m.fit->k, 0, v, kMissing, false, page);
    single::FITSUMMARYLINE(m.label, fit.dw, fit.rbar2, m.fit->loglik, page);
  }
  write_criterion(" Akaike's Information Criterion of M1 versus M2", s.akaike, page);
  write_criterion(" Schwarz's Bayesian Criterion of M1 versus M2", s.schwarz, page);
  core::WRITESTARS(kWidth, page);
  core::SHOWRESULTS(core::kShowPage);
}

/// Shows why the statistics were not computed.
void show_refusal(NonNestedRefusal refusal) {
  switch (refusal) {
    case NonNestedRefusal::kTooManyRegressors:
      core::SHOWOK(core::kError, core::kNoHelp,
                   " Model M1+M2 contains more than " + std::to_string(limits::kMaxRegressors) + " regressors, can't test!");
      break;
    case NonNestedRefusal::kSameModels: core::SHOWMSGFILE(core::msg::kNonNestedSameModels); break;
    case NonNestedRefusal::kSingular: core::SHOWMSGFILE(core::msg::kNonNestedSingular); break;
    case NonNestedRefusal::kSameFit: core::SHOWMSGFILE(core::msg::kNonNestedSameFit); break;
    case NonNestedRefusal::kTooFewObservations: core::SHOWMSGFILE(core::msg::kTooFewForTest); break;
    case NonNestedRefusal::kNone: break;
  }
}

}  // namespace

std::string WRITESTATLINE(std::string_view label, double m1_against_m2, double m2_against_m1, int channel,
                          int replications) {
  std::string line(kWidth, ' ');
  core::APPENDTEXT(line, 4, label);
  const bool probability = append_value(line, 19, m1_against_m2, core::ProbKind::kNormal, 1, 0);
  append_value(line, probability ? 16 : 22, m2_against_m1, core::ProbKind::kNormal, 1, 0);
  if (replications > 0) {  // into the blanks between the label and the first statistic
    std::string count = std::to_string(replications);
    count.insert(0, count.size() < 5 ? 5 - count.size() : 0, ' ');
    line.replace(11, 5, count.substr(0, 5));
    line.replace(17, 12, "replications");
  }
  core::WRITELINE(line, channel);
  return line;
}

void NONNESTEDTESTS() {
  const auto& s = single::estimation();
  if (s.eqvarlist.size() < 2 || s.eqvarnames.size() != s.eqvarlist.size()) return;
  core::SpecRequest request;
  request.kind = 21;
  request.model_dependent = s.eqvarnames.front();
  request.model_names.assign(s.eqvarnames.begin() + 1, s.eqvarnames.end());
  const core::SpecResult m2 = core::SPECIFYMODEL(request);
  if (m2.cancelled || m2.numbers.empty()) return;

  const std::vector<int> regressors1(s.eqvarlist.begin() + 1, s.eqvarlist.end());
  std::vector<int> all = s.eqvarlist;
  for (const int v : m2.numbers)
    if (std::find(all.begin(), all.end(), v) == all.end()) all.push_back(v);
  if (static_cast<int>(all.size()) - 1 > limits::kMaxRegressors) {
    show_refusal(NonNestedRefusal::kTooManyRegressors);
    return;
  }
  const SampleGuard guard;  // the estimate's sample comes back on every way out
  if (CHECKSAMPLE(all, static_cast<int>(all.size()) - 1, "the non-nested models")) return;
  const ModelData data = gather(s.eqvarlist.front(), regressors1, m2.numbers);
  for (std::size_t c = 0; c < data.columns.size(); ++c)
    if (!core::squares_finite(data.columns[c])) {
      core::TOOLARGEMESSAGE(core::variable_name(data.variables[c]));
      return;
    }
  NonNestedStatistics stats;
  {
    BusyNotice busy;
    stats = NONNESTEDSTATS(data.y, data.columns, data.x1, data.x2);
  }
  if (stats.refusal != NonNestedRefusal::kNone) {
    show_refusal(stats.refusal);
    return;
  }
  const std::vector<std::string> names1(s.eqvarnames.begin() + 1, s.eqvarnames.end());
  write_page(stats, data, names1, m2.names, s.eqvarnames.front());
}

}  // namespace qorv::diagnostics
