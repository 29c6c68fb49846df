#include "engine/core/report_lines.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/core/distributions.h"
#include "engine/core/number_format.h"
#include "engine/core/obs_label.h"
#include "shared/exchange_slots.h"

namespace qorv::core {

double tail_probability(ProbKind kind, double statistic, int df1, int df2) {
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  if (!std::isfinite(statistic) || statistic == limits::kMissing) return kNone;
  int fault = 0;
  switch (kind) {
    case ProbKind::kStudentT: {
      if (df1 < 1) return kNone;
      const double below = TDISTRIBUTION(std::fabs(statistic), df1, fault);
      return fault != 0 ? kNone : 2.0 * (1.0 - below);
    }
    case ProbKind::kChiSquared: {
      if (df1 < 1) return kNone;
      if (statistic <= 0.0) return 1.0;
      const double below = INCGAMMA(statistic / 2.0, df1 / 2.0, fault);
      return fault == 1 ? kNone : 1.0 - below;
    }
    case ProbKind::kF: {
      if (df1 < 1 || df2 < 1) return kNone;
      if (statistic <= 0.0) return 1.0;
      const double p = df1 / 2.0, q = df2 / 2.0;
      int f1 = 0, f2 = 0, f3 = 0;
      const double log_beta = LOGGAMMA(p, f1) + LOGGAMMA(q, f2) - LOGGAMMA(p + q, f3);
      const double x = df1 * statistic / (df2 + df1 * statistic);
      const double below = INCBETA(x, p, q, log_beta, fault);
      return fault != 0 ? kNone : 1.0 - below;
    }
    case ProbKind::kNormal:
      return 2.0 * NORMALTAIL(std::fabs(statistic), true);
  }
  return kNone;
}

void APPENDTEXT(std::string& line, int gap, std::string_view text) {
  const std::size_t last = line.find_last_not_of(' ');
  long start = gap;  // 0-based column of the piece
  if (last != std::string::npos) start = static_cast<long>(last) + 1 + gap;
  start = std::max(start, 0L);
  if (start >= static_cast<long>(line.size())) return;
  if (last != std::string::npos && line[last] == '#') line[last] = ' ';
  const auto from = static_cast<std::size_t>(start);
  const std::size_t n = std::min(text.size(), line.size() - from);
  std::copy_n(text.begin(), n, line.begin() + static_cast<std::ptrdiff_t>(from));
  std::fill(line.begin() + static_cast<std::ptrdiff_t>(from + n), line.end(), ' ');
}

void APPENDCHISQ(std::string& line, int gap, int df) {
  APPENDTEXT(line, gap, "CHSQ(" + FORMATFIXED(df, 4, 0) + ")");
}

void APPENDFDIST(std::string& line, int gap, int df1, int df2) {
  APPENDTEXT(line, gap, "F(" + FORMATFIXED(df1, 4, 0) + "," + FORMATFIXED(df2, 4, 0) + ")");
}

void APPENDINTEGER(std::string& line, int gap, int value) {
  const std::string field = FORMATFIXED(value, 9, 0);
  APPENDTEXT(line, gap, std::string_view(field).substr(field.find_first_not_of(' ')));
}

void APPENDINTFIELD(std::string& line, int gap, int value, int width) {
  APPENDTEXT(line, gap, FORMATFIXED(value, width, 0));
}

void APPENDREAL(std::string& line, int gap, char lead, double value) {
  APPENDTEXT(line, gap, lead + FORMATREAL9(value));
}

void APPENDSIGNEDREAL(std::string& line, double value) {
  if (value < 0) {
    APPENDTEXT(line, 0, ' ' + FORMATREAL9(value));
  } else {
    APPENDTEXT(line, 1, '+' + FORMATREAL9(value));
  }
}

bool APPENDPROB(std::string& line, ProbKind kind, double statistic, int df1, int df2) {
  double p = tail_probability(kind, statistic, df1, df2);
  if (!std::isfinite(p)) return false;
  p = std::max(p, 0.0);
  APPENDTEXT(line, 0, "[" + FORMATFIXED(p, 4, p > 0.999 ? 2 : 3) + "]");
  return true;
}

void APPENDOBSLABEL(std::string& line, int gap, int t) { APPENDTEXT(line, gap, OBSLABEL(t)); }

void MARKPROBABILITY(std::string& line, double statistic, double reference, int df) {
  if (statistic != reference && APPENDPROB(line, ProbKind::kChiSquared, statistic, df)) {
    APPENDTEXT(line, 0, "*");
  } else {
    APPENDTEXT(line, 6, "*");
  }
}

}  // namespace qorv::core
