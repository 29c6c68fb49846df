// COR, SPECTRUM and ADF on the reference data sets: every row of the reference file,
// unrounded within its tolerance and on the results page at the printed precision.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/number_format.h"
#include "engine/core/workspace.h"
#include "engine/data/spectrum_command.h"
#include "engine/data/statistics_command.h"
#include "engine/data/unit_root_command.h"
#include "shared/fixed_text.h"
#include "tests/engine/data/data_commands_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using qorv::testing::field;
using qorv::testing::ReferenceCase;

namespace {

/// A figure as computed and as the page prints it.
struct Figure {
  double value = 0.0;
  std::optional<std::string> printed;  ///< the page's text (none where the page prints nothing)
  };

std::vector<std::string> parts(const std::string& quantity) {
  std::vector<std::string> out;
  std::stringstream in(quantity);
  for (std::string piece; std::getline(in, piece, ':');) out.push_back(piece);
  return out;
}

/// Whether the page's text `printed` ("  -2.8909", " .1200E-3", "[.055]") shows `value`
/// (within `bound`) at its printed precision: within half a unit of its last digit.
bool shows(std::string printed, double value, double bound) {
  printed.erase(std::remove_if(printed.begin(), printed.end(), [](char c) { return c == ' ' || c == '[' || c == ']'; }),
                printed.end());
  if (printed.empty() || printed.find("NONE") != std::string::npos) return false;
  const std::size_t point = printed.find('.'), exponent = printed.find('E');
  const std::size_t digits_end = exponent == std::string::npos ? printed.size() : exponent;
  const int decimals = point == std::string::npos ? 0 : static_cast<int>(digits_end - point - 1);
  const int power = exponent == std::string::npos ? 0 : std::stoi(printed.substr(exponent + 1));
  const double unit = std::pow(10.0, power - decimals);
  return std::fabs(std::stod(printed) - value) <= unit / 2 * (1 + 1e-9) + bound;
}

/// Lines of `page` after the first that contains `heading`, skipping `skip` more lines.
std::vector<std::string> rows_after(const std::vector<std::string>& page, const std::string& heading, int skip) {
  const auto at = std::find_if(page.begin(), page.end(),
                               [&](const std::string& l) { return l.find(heading) != std::string::npos; });
  if (at == page.end() || std::distance(at, page.end()) <= skip) return {};
  return {at + 1 + skip, page.end()};
}

/// Every line of `page` starting with `prefix`.
std::vector<std::string> lines_starting(const std::vector<std::string>& page, const std::string& prefix) {
  std::vector<std::string> out;
  for (const auto& l : page)
    if (l.starts_with(prefix)) out.push_back(l);
  return out;
}

class DataCommandsReference : public qorv::testing::DataCommandsTest,
                              public ::testing::WithParamInterface<ReferenceCase> {
 protected:
  void run_case() {
    const ReferenceCase& c = GetParam();
    load_reference_data(c.data_file);
    first_ = c.sample_start.empty() || c.name.starts_with("NIST") ? 1 : observation(c.sample_start);
    last_ = c.sample_end.empty() ? core::globals().nobs : observation(c.sample_end);
    std::smatch typed;
    const int order = std::regex_search(c.command, typed, std::regex("\\((\\d+)\\)")) ? std::stoi(typed[1]) : -1;
    std::stringstream names(c.name.starts_with("NIST") ? std::string("COR Y")
                                                      : c.command.substr(c.command.find_first_not_of(' ', c.command.rfind(';') + 1)));
    std::string word;
    names >> word;  // the command
    while (names >> word) variables_.push_back(core::find_variable(word.substr(0, word.find('('))));
    dialog_script::load("results -> close\n");
    if (c.command.find("SPECTRUM") != std::string::npos) {
      spectrum_ = data::SPECTRUM(variables_.front(), first_, last_, order);
      ASSERT_EQ(spectrum_.status, data::kCommandDone);
    } else if (c.command.find("ADF") != std::string::npos) {
      adf_ = data::ADFTEST(variables_.front(), first_, last_, order);
      ASSERT_EQ(adf_.status, data::kCommandDone);
    } else {
      cor_ = data::AUTOCORRELATIONS(variables_, first_, last_, data::kStatisticsMode, order);
      ASSERT_EQ(cor_.status, data::kCommandDone);
    }
    const auto shown = pages();
    ASSERT_FALSE(shown.empty());
    page_ = shown.front();
    if (shown.size() > 1) matrix_page_ = shown[1];
  }

  /// The statistics table's field of variable j for the row starting with `label`.
  std::string statistic_field(const std::string& label, int j) const {
    const auto rows = lines_starting(page_, label);
    const auto block = static_cast<std::size_t>(j / 6);
    return block < rows.size() ? field(rows[block], 21 + 10 * (j % 6)) : std::string();
  }

  Figure cor_figure(const std::string& quantity) const {
    const auto q = parts(quantity);
    const data::SummaryFigures& f = cor_.figures;
    if (q[0] == "CORR") {
      const int i = index_of(q[1]), j = index_of(q[2]);
      const int hi = std::max(i, j), lo = std::min(i, j);
      const double r = f.correlations[static_cast<std::size_t>(hi * (hi + 1) / 2 + lo)];
      // The matrix page: the row of variable i holds its correlations with every variable.
      std::vector<std::string> values;
      for (const auto& line : matrix_page_) {
        std::stringstream in(line);
        std::string name;
        if (!(in >> name) || name != core::variable_name(variables_[static_cast<std::size_t>(i)])) continue;
        for (std::string v; in >> v;) values.push_back(v);
      }
      const std::string printed = static_cast<std::size_t>(j) < values.size() ? values[static_cast<std::size_t>(j)] : "";
      return {r, fixed_text::pad("", 9 - std::min<std::size_t>(9, printed.size())) + printed};
    }
    const int j = q.size() > 1 ? index_of(q[1]) : 0;
    const data::VariableStatistics& s = f.statistics[static_cast<std::size_t>(j)];
    const data::Autocorrelations& a = f.autocorrelation;
    if (q[0] == "N") return {double(s.n), std::nullopt};
    if (q[0] == "MAX") return {s.maximum, statistic_field(" Maximum", j)};
    if (q[0] == "MIN") return {s.minimum, statistic_field(" Minimum", j)};
    if (q[0] == "MEAN") return {s.mean, statistic_field(" Mean", j)};
    if (q[0] == "SD") return {s.std_dev, statistic_field(" Std. Deviation", j)};
    if (q[0] == "SKEW") return {s.skewness, statistic_field(" Skewness", j)};
    if (q[0] == "KURT3") return {s.kurtosis3, statistic_field(" Kurtosis - 3", j)};
    if (q[0] == "CV") return {s.variation, statistic_field(" Coef of Variation", j)};
    const auto rows = rows_after(page_, "Autocorrelation", 2);
    if (q[0] == "ORDER") {
      const std::string last = static_cast<std::size_t>(a.order) <= rows.size() ? rows[static_cast<std::size_t>(a.order - 1)] : "";
      return {double(a.order), field(last, 2, 6)};
    }
    const int k = std::stoi(q[1]);
    const auto i = static_cast<std::size_t>(k - 1);
    const std::string row = i < rows.size() ? rows[i] : "";
    if (q[0] == "R") return {a.r[i], field(row, 11)};
    if (q[0] == "R_SE") return {a.std_error[i], field(row, 24)};
    if (q[0] == "BP") return {a.box_pierce[i], field(row, 37)};
    if (q[0] == "BP_PROB") return {a.box_pierce_prob[i], field(row, 46, 6)};
    if (q[0] == "LB") return {a.ljung_box[i], field(row, 57)};
    if (q[0] == "LB_PROB") return {a.ljung_box_prob[i], field(row, 66, 6)};
    ADD_FAILURE() << "unknown quantity " << quantity;
    return {};
  }

  Figure spectrum_figure(const std::string& quantity) const {
    const auto q = parts(quantity);
    const data::SpectrumFigures& f = spectrum_.figures;
    if (q[0] == "M") return {double(f.window), std::nullopt};
    const auto j = static_cast<std::size_t>(std::stoi(q[1]));
    const auto rows = rows_after(page_, "Frequency", 1);
    const std::string row = j < rows.size() ? rows[j] : "";
    if (q[0] == "FREQ") return {f.frequency[j], field(row, 1)};
    if (q[0] == "PERIOD") return {f.period[j], field(row, 10)};
    for (int w = 0; w < 3; ++w) {
      std::string name(data::kWindowNames[static_cast<std::size_t>(w)]);
      std::transform(name.begin(), name.end(), name.begin(), ::toupper);
      const int column = 20 + 20 * w;  // the estimate, then "(" and its standard error
      const data::WindowEstimate& e = f.windows[static_cast<std::size_t>(w)];
      if (q[0] == name) return {e.density[j], field(row, column)};
      if (q[0] == name + "_SE") {
        EXPECT_EQ(field(row, column + 9, 1), "(");
        EXPECT_EQ(field(row, column + 19, 1), ")");
        return {e.std_error[j], field(row, column + 10)};
      }
    }
    ADD_FAILURE() << "unknown quantity " << quantity;
    return {};
  }
  Figure adf_figure(const std::string& quantity) const {
    const auto q = parts(quantity);
    const data::AdfFigures& f = adf_.figures;
    if (q[0] == "N_USED") return {double(f.intercept.regressions.observations), std::nullopt};
    if (q[0] == "P") return {double(f.order), std::nullopt};
    const bool trend = q[1] == "CT";
    const data::AdfBlock& block = trend ? f.trend : f.intercept;
    const auto at = static_cast<std::size_t>(trend ? 1 : 0);
    if (q[0] == "CV" || q[0] == "CV_PART4105TEXT") {
      const auto lines = lines_starting(page_, " 95% critical value for the augmented Dickey-Fuller statistic");
      const std::string line = at < lines.size() ? lines[at] : "";
      return {block.critical_value, line.substr(line.find('=') + 1, 9)};
    }
    const int k = std::stoi(q[2]);
    const core::AdfRegression& r = block.regressions.orders[static_cast<std::size_t>(k)];
    const auto rows = lines_starting(page_, k == 0 ? " DF " : " ADF(" + std::to_string(k) + ")");
    const std::string row = at < rows.size() ? rows[at] : "";
    if (q[0] == "STAT") return {r.statistic, field(row, 11)};
    if (q[0] == "LL") return {r.loglik, field(row, 25)};
    if (q[0] == "AIC") return {r.aic, field(row, 39)};
    if (q[0] == "SBC") return {r.sbc, field(row, 53)};
    if (q[0] == "HQC") return {r.hqc, field(row, 67)};
    ADD_FAILURE() << "unknown quantity " << quantity;
    return {};
  }

  int index_of(const std::string& name) const {
    const int v = core::find_variable(name);
    return static_cast<int>(std::find(variables_.begin(), variables_.end(), v) - variables_.begin());
  }

  int first_ = 0, last_ = 0;
  std::vector<int> variables_;
  data::SummaryResult cor_;
  data::SpectrumResult spectrum_;
  data::AdfResult adf_;
  std::vector<std::string> page_, matrix_page_;
};

TEST_P(DataCommandsReference, EveryReferenceRowOnThePageAndUnrounded) {
  ASSERT_NO_FATAL_FAILURE(run_case());
  const ReferenceCase& c = GetParam();
  const auto rows = qorv::testing::reference_case(c.name);
  ASSERT_FALSE(rows.empty());
  int checked = 0;
  for (const auto& [quantity, ref] : rows) {
    const Figure fig = c.command.find("SPECTRUM") != std::string::npos ? spectrum_figure(quantity)
                       : c.command.find("ADF") != std::string::npos ? adf_figure(quantity)
                                                                      : cor_figure(quantity);
    if (!ref.alternative) {
      // Extremes are data values, but the reference writes them with 15 significant digits
      // (LGAS's are 17-digit values in its data file): half a unit of the 15th digit.
      const bool extreme = quantity.starts_with("MAX") || quantity.starts_with("MIN");
      const double bound = extreme ? std::max(ref.bound(), 5e-15 * std::fabs(ref.value)) : ref.bound();
      EXPECT_NEAR(fig.value, ref.value, bound) << c.name << " " << quantity;
      ++checked;
    }
    if (fig.printed) {
      EXPECT_TRUE(shows(*fig.printed, ref.value, ref.bound())) << c.name << " " << quantity << ": \"" << *fig.printed << "\"";
    }
  }
  EXPECT_GT(checked, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, DataCommandsReference, ::testing::ValuesIn(qorv::testing::reference_cases()),
                         [](const ::testing::TestParamInfo<ReferenceCase>& info) { return info.param.name; });

}  // namespace
