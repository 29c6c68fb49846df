#include "engine/core/system_headers.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "engine/core/number_format.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/text_format.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::core {

namespace {

constexpr std::array<std::string_view, 8> kModelTitles = {
    "Based on ARDL Regression",
    "Seemingly Unrelated Regressions Estimation",
    "Unrestricted Vector Autoregressive Model",
    "Cointegration with no intercepts or trends in the VAR",
    "Cointegration with restricted intercepts and no trends in the VAR",
    "Cointegration with unrestricted intercepts and no trends in the VAR",
    "Cointegration with unrestricted intercepts and restricted trendsin the VAR",
    "Cointegration with unrestricted intercepts and unrestricted trends in the VAR",
};
constexpr int kFirstModelCode = -2;
constexpr int kEigenvaluesPerLine = 7;

std::string whole_number(int value) { return std::string(fixed_text::trim(FORMATFIXED(value, 9, 0))); }

std::string blank_line() { return std::string(kTableWidth, ' '); }

/// "n observations from A to B" (after `lead`, when given) on a blank line.
std::string observations_line(std::string_view lead, int n, int offset) {
  std::string line = blank_line();
  if (!lead.empty()) APPENDTEXT(line, 1, lead);
  APPENDTEXT(line, 1, whole_number(n));
  APPENDTEXT(line, 1, "observations from");
  APPENDOBSLABEL(line, 1, offset + 1);
  APPENDTEXT(line, 1, "to");
  APPENDOBSLABEL(line, 1, offset + n);
  return line;
}

}  // namespace

void SYSTEMMODELTITLE(std::string& line, int code, int channel) {
  if (line.empty()) line.assign(kTableWidth, ' ');
  const int index = code - kFirstModelCode;
  if (index >= 0 && index < static_cast<int>(kModelTitles.size())) {
    line = fixed_text::pad(kModelTitles[static_cast<std::size_t>(index)], line.size());
  }
  JUSTIFYTEXT(line, static_cast<int>(line.size()), 'C');
  WRITELINE(line, channel);
}

void SYSTEMHEADER(const SystemHeaderArgs& args, int channel) {
  WRITESTARS(kMaxStars, channel);
  std::string line = observations_line("Based on", args.n, args.offset);
  APPENDTEXT(line, 0, ".");
  const bool sure = args.kind == kSureHeader || args.kind == kRestrictedSureHeader;
  if (!sure) {
    APPENDTEXT(line, 1, "Order of VAR =");
    APPENDTEXT(line, 1, whole_number(args.p));
  }
  WRITELINE(line, channel);
  constexpr std::array<std::string_view, 4> kListHeads = {"unrestricted VAR:", "cointegrating VAR:",
                                                           "cointegrating vector:", "restricted VAR:"};
  const int count = static_cast<int>(args.names.size());
  if (args.kind >= kUnrestrictedVarHeader && args.kind <= kRestrictedVarHeader) {
    line = blank_line();
    APPENDTEXT(line, 1, "List of variables included in the");
    APPENDTEXT(line, 1, kListHeads[static_cast<std::size_t>(args.kind - 1)]);
    WRITELINE(line, channel);
    WRITENAMELIST(args.names, count, channel);
    if (!args.second.empty()) {
      WRITELINE(" List of deterministic and/or exogenous variables:", channel);
      WRITENAMELIST(args.second, static_cast<int>(args.second.size()), channel);
    }
  } else if (args.kind == kNonCausalHeader) {
    WRITELINE(" List of variable(s) assumed to be \"non-causal\" under the null hypothesis:     ", channel);
    WRITENAMELIST(args.names, count, channel);
  }
  if (args.loglik != limits::kMissing) {
    line = blank_line();
    APPENDTEXT(line, 1, "Maximized value of log-likelihood =");
    APPENDTEXT(line, 1, FORMATREAL9(args.loglik));
    WRITELINE(line, channel);
  }
  WRITESTARS(kMaxStars, channel);
}

void COINTHEADER(const CointHeaderArgs& args, int channel, bool list_eigenvalues) {
  WRITESTARS(kMaxStars, channel);
  std::string line = observations_line({}, args.n, args.offset);
  APPENDTEXT(line, 0, ". Order of VAR =");
  APPENDTEXT(line, 1, whole_number(args.p));
  if (args.r > 0) {
    APPENDTEXT(line, 0, ", chosen r =");
    APPENDTEXT(line, 1, whole_number(args.r));
  }
  APPENDTEXT(line, 0, ".");
  WRITELINE(line, channel);

  const int k = std::clamp(args.k, 0, static_cast<int>(args.names.size()));
  WRITELINE(" List of variables included in the cointegrating vector:", channel);
  WRITENAMELIST(args.names, k, channel);
  const int e = std::clamp(args.e, 0, static_cast<int>(args.exogenous.size()));
  if (e > 0) {
    WRITELINE(" List of I(1) exogenous variables included in the VAR:", channel);
    WRITENAMELIST(args.exogenous, e, channel);
  }
  const int d = std::clamp(args.d, 0, static_cast<int>(args.exogenous.size()) - e);
  if (d > 0) {
    WRITELINE(" List of I(0) variables included in the VAR:", channel);
    WRITENAMELIST(args.exogenous.subspan(static_cast<std::size_t>(e)), d, channel);
  }
  if (list_eigenvalues) {
    WRITELINE(" List of eigenvalues in descending order:", channel);
    // The first line holds up to 7 of the k eigenvalues; a second one follows only for
    // more than 7 endogenous variables and holds eigenvalues 8..m (those beyond m are 0).
    const int available = static_cast<int>(args.eigenvalues.size());
    const auto write_values = [&](int from, int to) {
      line = blank_line();
      for (int i = from; i < std::min(to, available); ++i) APPENDREAL(line, 1, ' ', args.eigenvalues[static_cast<std::size_t>(i)]);
      LEFTJUSTIFY(line);
      WRITELINE(line, channel);
    };
    write_values(0, std::min(std::max(args.k, 0), kEigenvaluesPerLine));
    if (args.m > kEigenvaluesPerLine) write_values(kEigenvaluesPerLine, args.m);
  }
  WRITESTARS(kMaxStars, channel);
}

}  // namespace qorv::core
