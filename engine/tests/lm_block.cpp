#include "engine/tests/lm_block.h"

#include <string>

#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "shared/exchange_slots.h"

namespace qorv::diag {

namespace {

constexpr int kLineWidth = 79;

/// "=" and the value, then its probability unless it is missing.
void append_statistic(std::string& line, double value, core::ProbKind kind, int df1, int df2 = 0) {
  core::APPENDREAL(line, 0, '=', value);
  if (value != limits::kMissing) core::APPENDPROB(line, kind, value, df1, df2);
}

}  // namespace

void write_lm_f_block(std::string_view label, double lm, int q, double f, int d, int channel) {
  core::WRITESTARS(kLineWidth, channel);
  std::string line(kLineWidth, ' ');
  core::APPENDTEXT(line, 0, label);
  core::APPENDCHISQ(line, 4, q);
  append_statistic(line, lm, core::ProbKind::kChiSquared, q);
  core::WRITELINE(line, channel);
  line.assign(kLineWidth, ' ');
  core::APPENDTEXT(line, 0, " F Statistic");
  core::APPENDTEXT(line, 19, "F(");
  core::APPENDINTFIELD(line, 0, q, 3);
  core::APPENDTEXT(line, 0, ",");
  core::APPENDINTFIELD(line, 0, d, 4);
  core::APPENDTEXT(line, 0, ")");
  append_statistic(line, f, core::ProbKind::kF, q, d);
  core::WRITELINE(line, channel);
  core::WRITESTARS(kLineWidth, channel);
}

}  // namespace qorv::diag
