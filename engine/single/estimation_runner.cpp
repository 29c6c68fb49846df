#include "engine/single/estimation_runner.h"

#include <charconv>
#include <string_view>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/message_lines.h"
#include "engine/core/results_page.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "engine/single/least_squares.h"
#include "engine/single/result_report.h"
#include "engine/tests/post_regression.h"
#include "shared/exchange_slots.h"

namespace qorv::single {

/// The text of the error box "Total number of parameters too large (>      )" and its kin:
/// `value` right-justified in the six-column field.
std::string limit_text(std::string_view head, int value) {
  std::string field = std::to_string(value);
  if (field.size() < 6) field.insert(0, 6 - field.size(), ' ');
  return std::string(head) + field + ")";
}

namespace {

/// Variable and lag of a regressor name "X(-k)" or "X(+k)"; lag 0 and the variable of
/// that name otherwise.
RegressorLag lag_of(int variable, const std::string& name) {
  const auto open = name.find('(');
  if (open == std::string::npos || name.back() != ')' || open + 2 >= name.size()) return {variable, 0};
  const char sign = name[open + 1];
  if (sign != '-' && sign != '+') return {variable, 0};
  int k = 0;
  const char* first = name.data() + open + 2;
  const char* last = name.data() + name.size() - 1;
  const auto [ptr, ec] = std::from_chars(first, last, k);
  const int base = core::find_variable(name.substr(0, open));
  if (ec != std::errc{} || ptr != last || base == 0) return {variable, 0};
  return {base, sign == '-' ? -k : k};
}

}  // namespace

int linear_menu_code(int option) {
  switch (option) {
    case 1: return method::kOls;
    case 2: return method::kIv;
    case 3: return method::kExactAr1;
    case 4: return method::kCochraneOrcutt;
    case 5: return method::kGaussNewtonAr;
    case 6: return method::kIvAr;
    case 7: return method::kMa;
    case 8: return method::kIvMa;
    case 9: return method::kGarch;
    default: return 0;
  }
}

std::string method_name(int code) {
  switch (code) {
    case method::kOls: return "Ordinary least squares";
    case method::kIv: return "Instrumental variable estimation";
    case method::kExactAr1:
    case method::kExactAr2: return "Exact maximum likelihood estimation of AR errors";
    case method::kCochraneOrcutt: return "Cochrane-Orcutt estimation of AR errors";
    case method::kGaussNewtonAr:
    case method::kGaussNewtonArGaps: return "Gauss-Newton estimation of AR errors";
    case method::kIvAr:
    case method::kIvArGaps: return "IV estimation with AR errors";
    case method::kMa:
    case method::kMaGaps: return "Estimation with MA errors";
    case method::kIvMa:
    case method::kIvMaGaps: return "IV estimation with MA errors";
    case method::kGarch: return "GARCH estimation";
    default: return "This estimation method";
  }
}

bool method_available(int code) { return code == method::kOls; }

void take_equation(std::span<const int> equation) {
  auto& s = estimation();
  s.eqvarlist.assign(equation.begin(), equation.end());
  s.eqvarnames.clear();
  s.reglagtable.clear();
  for (size_t i = 0; i < equation.size(); ++i) {
    std::string name = core::variable_name(equation[i]);
    if (i > 0) s.reglagtable.push_back(lag_of(equation[i], name));
    s.eqvarnames.push_back(std::move(name));
  }
}

void RUNESTIMATION(bool interactive) {
  auto& s = estimation();
  begin_estimate(s.method);
  if (!load_sample()) {
    s.status = status::kFailed;
    core::SHOWOK(core::kError, core::kNoHelp,
                 limit_text("Too many observations/variables (>", block::kMaxSeries));
    return;
  }
  if (s.method == method::kIv) {
    LSQCORE(interactive);
  } else {
    double mean_square = 0.0, loglik = 0.0;
    RESIDUALSUMMARY(mean_square, loglik, interactive);
  }
  if (s.status != status::kEstimated) return;
  if (s.method != method::kOls && s.loglik == limits::kMissing) {
    s.status = status::kFailed;
    core::SHOWMSGFILE(core::msg::kExactFit);
    return;
  }
  s.stage_loglik[0] = s.loglik;
  diag::POSTREGRESSION();
}

}  // namespace qorv::single

