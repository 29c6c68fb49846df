#include "engine/diagnostics/wald_options.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/message_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/spec_panels.h"
#include "engine/single/estimation_state.h"
#include "engine/single/estimation_titles.h"
#include "engine/single/result_report.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::diagnostics {

namespace {

std::vector<std::string> regressor_names() {
  const auto& s = single::estimation();
  if (s.eqvarnames.size() < 2) return {};
  return {s.eqvarnames.begin() + 1, s.eqvarnames.end()};
}

std::string dependent_name() {
  const auto& s = single::estimation();
  return s.eqvarnames.empty() ? std::string() : s.eqvarnames.front();
}

/// The lines that name the parameters: the regression, its regressors and the blocks.
void write_assignment(int channel, int a, int b) {
  const auto& s = single::estimation();
  const std::string word(fixed_text::trim(single::method_word(s.method)));
  core::WRITELINE(core::joined_words({" " + word, "regression of", dependent_name(), "on:"}), channel);
  const std::vector<std::string> regressors = regressor_names();
  core::WRITENAMELIST(regressors, static_cast<int>(regressors.size()), channel);
  core::WRITELINE(core::joined_words({" Coefficients A1 to A" + std::to_string(a),
                                      "are assigned to the above regressors respectively."}),
                  channel);
  if (b <= 0) return;
  const char* what = single::method_row(s.method).family == single::Family::kGarch ? "ARCH parameters respectively"
                     : single::has_ma_errors(s.method)                            ? "MA error parameters respectively"
                                                                                  : "AR error parameters respectively";
  core::WRITELINE(core::joined_words({" Coeffs. B1 to B" + std::to_string(b), "are assigned to", what}), channel);
}

/// The estimate's header on the results page: the note naming an adjusted variance
/// matrix when the test uses one, the "Based on" lines and the model.
void write_header(int channel, bool adjusted) {
  const auto& s = single::estimation();
  if (adjusted) single::ADJUSTEDVARIANCENOTE(channel);
  single::BASEDONHEADER(s.method, channel);
  const std::string word(fixed_text::trim(single::method_word(s.method)));
  core::WRITELINE(core::joined_words({" The", word,
                                      s.scale == single::VarianceScale::kScaled
                                          ? "regression specified is:"
                                          : "estimation of the following model:"}),
                  channel);
  core::WRITENAMELIST(s.eqvarnames, static_cast<int>(s.eqvarnames.size()), channel);
}

}  // namespace

WaldRequest single_equation_request(RelationMode mode, std::span<const double> adjusted) {
  const auto& s = single::estimation();
  const int p = single::parameter_count();
  const auto packed_size = [](int n) { return static_cast<std::size_t>(n) * static_cast<std::size_t>(n + 1) / 2; };
  WaldRequest request;
  request.mode = mode;
  // An adjusted matrix over the coefficients alone leaves out the error parameters.
  const bool coefficients_only = !adjusted.empty() && adjusted.size() < packed_size(p);
  const int count = coefficients_only ? s.nregs : p;
  const int a = std::min(s.nregs, count);
  request.block_sizes = {a};
  if (count > a) request.block_sizes.push_back(count - a);
  request.estimates.assign(s.result.begin() + single::block::kCoefficients,
                           s.result.begin() + single::block::kCoefficients + count);
  if (adjusted.empty()) {
    request.variance.assign(s.variance.begin(), s.variance.begin() + static_cast<std::ptrdiff_t>(
                                                                         std::min(s.variance.size(), packed_size(count))));
    request.scale = s.scale == single::VarianceScale::kScaled ? s.sigma * s.sigma : 1.0;
  } else {
    request.variance.assign(adjusted.begin(), adjusted.begin() + static_cast<std::ptrdiff_t>(
                                                                     std::min(adjusted.size(), packed_size(count))));
  }
  // An exact fit leaves nothing to test; absolute variances carry no SIGMA to judge by.
  request.exact_fit = s.scale == single::VarianceScale::kScaled && !(s.sigma > limits::kTolerance);
  request.df = s.nused - single::lost_observations() - s.nregs;
  request.limit = count;
  const int b = count - a;
  request.assignment = [a, b](int channel) { write_assignment(channel, a, b); };
  request.header = [adjusted = !adjusted.empty()](int channel) { write_header(channel, adjusted); };
  return request;
}

void single_equation_wald(RelationMode mode, std::span<const double> adjusted) {
  const WaldRequest request = single_equation_request(mode, adjusted);
  const std::size_t p = request.estimates.size();
  if (p == 0 || request.variance.size() < p * (p + 1) / 2) {
    core::SHOWMSGFILE(core::msg::kNotForThisMethod);
    return;
  }
  std::string text;
  WALDTEST(request, text);
}

}  // namespace qorv::diagnostics
