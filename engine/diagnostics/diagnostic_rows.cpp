#include "engine/diagnostics/diagnostic_rows.h"

#include <cmath>

#include "engine/core/report_lines.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

namespace {


/// "=" and the 9-column value, then its probability unless the value is missing.
void append_value(std::string& line, double value, core::ProbKind kind, int df1, int df2) {
  core::APPENDREAL(line, 0, '=', value);
  if (value != limits::kMissing) core::APPENDPROB(line, kind, value, df1, df2);
}

}  // namespace

void put_text(std::string& line, int column, std::string_view text) {
  if (column < 1) return;
  const size_t first = static_cast<size_t>(column - 1);
  for (size_t i = 0; i < text.size() && first + i < line.size(); ++i) line[first + i] = text[i];
}

double printable(double statistic) {
  return std::isfinite(statistic) && statistic >= 0.0 && statistic != limits::kMissing ? statistic
                                                                                        : limits::kMissing;
}

std::string spacer_row() {
  std::string line(kTableWidth, ' ');
  for (int c : {1, 23, 50, 79}) put_text(line, c, "*");
  return line;
}

std::string diagnostic_row(std::string_view label, const RowStatistic& lm, const RowStatistic& f,
                           bool f_applicable) {
  std::string line(kTableWidth, ' ');
  put_text(line, 1, label.substr(0, 23));
  core::APPENDCHISQ(line, 0, lm.df1);
  append_value(line, printable(lm.value), core::ProbKind::kChiSquared, lm.df1, 0);
  put_text(line, 50, "*");
  if (f_applicable) {
    core::APPENDFDIST(line, 0, f.df1, f.df2);
    append_value(line, printable(f.value), core::ProbKind::kF, f.df1, f.df2);
  } else {
    put_text(line, 58, "Not applicable");
  }
  put_text(line, 79, "*");
  return line;
}

}  // namespace qorv::diagnostics
