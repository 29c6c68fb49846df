#include "engine/core/unit_root_table.h"

#include <string>

#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"

namespace qorv::core {

namespace {

constexpr int kWidth = 79;
/// Columns before the statistic's 10-column piece.
constexpr int kStatisticColumn = 9;

}  // namespace

void write_adf_heading(int channel) {
  std::string line(kWidth, ' ');
  APPENDTEXT(line, 0, "        Test Statistic");
  APPENDTEXT(line, 6, "LL");
  APPENDTEXT(line, 11, "AIC");
  APPENDTEXT(line, 11, "SBC");
  APPENDTEXT(line, 11, "HQC");
  WRITELINE(line, channel);
}

void write_adf_row(const AdfRegression& r, int channel) {
  std::string line(kWidth, ' ');
  const std::string label = r.order == 0 ? " DF" : " ADF(" + std::to_string(r.order) + ")";
  APPENDTEXT(line, 0, label);
  APPENDREAL(line, kStatisticColumn - static_cast<int>(label.size()), ' ', r.statistic);
  for (double v : {r.loglik, r.aic, r.sbc, r.hqc}) APPENDREAL(line, 4, ' ', v);
  WRITELINE(line, channel);
}

void write_criteria_legend(int channel) {
  std::string line(kWidth, ' ');
  APPENDTEXT(line, 0, " LL  = Maximized log-likelihood");
  APPENDTEXT(line, 6, "AIC = Akaike Information Criterion");
  WRITELINE(line, channel);
  line.assign(kWidth, ' ');
  APPENDTEXT(line, 0, " SBC = Schwarz Bayesian Criterion");
  APPENDTEXT(line, 4, "HQC = Hannan-Quinn Criterion");
  WRITELINE(line, channel);
}

}  // namespace qorv::core
