// The pages of the AR and MA estimates read as a user reads them: the coefficient table by
// column, the fit and statistics blocks and the likelihood-ratio lines by label, and the
// residual listing (Post Regression option 3), each number against ar-ma/expected.csv at
// its printed precision.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "engine/single/estimation_state.h"
#include "engine/single/estimation_titles.h"
#include "engine/diagnostics/post_regression.h"
#include "tests/engine/single/error_models_fixture.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/engine/single/page_reading.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using namespace qorv::single;
using qorv::testing::columns;
using qorv::testing::Expected;
using qorv::testing::parse_number;
using qorv::testing::Printed;
using qorv::testing::shows;
using qorv::testing::trim;
namespace armacase = qorv::testing::armacase;

namespace {

class ErrorModelPages : public qorv::testing::MacroTest {};


void expect_shows(const std::map<std::string, Expected>& rows, const std::string& quantity, const Printed& p) {
  const auto it = rows.find(quantity);
  ASSERT_NE(it, rows.end()) << quantity;
  EXPECT_TRUE(shows(p, it->second)) << quantity;
}

TEST_F(ErrorModelPages, EveryPrintedNumberAgreesWithTheReference) {
  for (const auto& c : armacase::kCases) {
    SCOPED_TRACE(c.name);
    const auto rows = armacase::expected(c.name);
    int asked = 0;
    ASSERT_EQ(armacase::estimate(c, asked), ErrorModelOutcome::kEstimated);
    dialog_script::reset();
    dialog_script::load("results -> close\nmenu 1002 -> 3 once\nmenu 1037 -> 1 once\nmenu 1037 -> 0 once\nmenu 1002 -> 0\n");
    diagnostics::POSTREGRESSION();
    const auto shown = qorv::testing::shown_pages();
    ASSERT_GE(shown.size(), 2u);
    const auto& page = shown[0];
    std::string text;
    for (const auto& l : page) text += l + "\n";

    // The coefficient table: one row per regressor and error parameter.
    size_t h = 0;
    while (h < page.size() && page[h].find("Regressor") == std::string::npos) ++h;
    ASSERT_LT(h, page.size());
    const int parameters = static_cast<int>(c.labels.size() + c.lags.size());
    for (int j = 1; j <= parameters; ++j) {
      const std::string& row = page[h + static_cast<size_t>(j)];
      const std::string label = armacase::parameter_label(c, j);
      SCOPED_TRACE(row);
      EXPECT_EQ(trim(columns(row, 2, 24)), label);
      expect_shows(rows, "coef:" + label, parse_number(columns(row, 26, 34)));
      expect_shows(rows, "se:" + label, parse_number(columns(row, 45, 53)));
      expect_shows(rows, "t:" + label, parse_number(columns(row, 64, 72)));
      if (rows.count("tprob:" + label) != 0) expect_shows(rows, "tprob:" + label, parse_number(columns(row, 74, 77)));
    }
    expect_shows(rows, "R2", qorv::testing::printed_after(text, R"( R-Squared)"));
    expect_shows(rows, "RBAR2", qorv::testing::printed_after(text, R"(R-Bar-Squared)"));
    expect_shows(rows, "SE_REG", qorv::testing::printed_after(text, R"(S\.E\. of Regression)"));
    expect_shows(rows, "MEAN_Y", qorv::testing::printed_after(text, R"(Mean of Dependent Variable)"));
    expect_shows(rows, "SD_Y", qorv::testing::printed_after(text, R"(S\.D\. of Dependent Variable)"));
    expect_shows(rows, "RSS", qorv::testing::printed_after(text, R"(Residual Sum of Squares)"));
    expect_shows(rows, "LL", qorv::testing::printed_after(text, R"(Equation Log-likelihood)"));
    expect_shows(rows, "AIC", qorv::testing::printed_after(text, R"(Akaike Info\. Criterion)"));
    expect_shows(rows, "SBC", qorv::testing::printed_after(text, R"(Schwarz Bayesian Criterion)"));
    expect_shows(rows, "DW", qorv::testing::printed_after(text, R"(DW-statistic)"));
    std::smatch f;
    ASSERT_TRUE(std::regex_search(text, f, std::regex(R"(F-stat\.\s+F\(\s*(\d+),\s*(\d+)\)\s*(\S+)\[(\S+)\])")));
    EXPECT_EQ(std::stoi(f[1]), rows.at("F_DF1").value);
    EXPECT_EQ(std::stoi(f[2]), rows.at("F_DF2").value);
    expect_shows(rows, "F", parse_number(f[3]));
    expect_shows(rows, "F_PROB", parse_number(f[4]));
    const std::string sample = std::to_string(static_cast<int>(rows.at("N").value)) +
                               " observations used for estimation from";
    EXPECT_NE(text.find(sample), std::string::npos) << sample;
    if (rows.count("LR_AR1_OLS") != 0) {
      std::smatch lr;
      ASSERT_TRUE(std::regex_search(text, lr, std::regex(R"(AR\(1\) versus OLS\s+CHI-SQ\(1\)=\s*(\S+)\[(\S+)\])")));
      expect_shows(rows, "LR_AR1_OLS", parse_number(lr[1]));
      expect_shows(rows, "LR_AR1_OLS_PROB", parse_number(lr[2]));
    }
    if (rows.count("LR_AR2_AR1") != 0) {
      std::smatch lr;
      ASSERT_TRUE(std::regex_search(text, lr, std::regex(R"(AR\(2\) versus AR\(1\)\s*CHI-SQ\(1\)=\s*(\S+)\[(\S+)\])")));
      expect_shows(rows, "LR_AR2_AR1", parse_number(lr[1]));
      expect_shows(rows, "LR_AR2_AR1_PROB", parse_number(lr[2]));
    }
    // The residual listing: its header names the error model, then the last number of an
    // observation's line is its transformed residual.
    const auto& listing = shown[1];
    const bool fixed = c.code < method::kMa && c.code != method::kExactAr1 && c.code != method::kExactAr2;
    const std::string based = std::string(" Based on ") + (fixed ? "fixed" : "stochastic") + " initial value(s) ";
    const size_t header = qorv::testing::find_line(listing, based);
    ASSERT_LT(header, listing.size());
    const std::string model = trim(method_word(c.code)) + std::to_string(c.lags.back()) + ") regression of " +
                              (c.lake ? "LEVEL" : c.name[0] == 'D' ? "LC" : "INFL") + " on:";
    EXPECT_NE(listing[header].find(model), std::string::npos) << listing[header];
    if (fixed) {  // the observations the AR filter lost are not listed
      const std::string first = c.name[0] == 'D' ? "1960Q2 " : "1960Q1 ";
      for (const auto& line : listing) EXPECT_NE(trim(line).rfind(first, 0), 0u) << line;
    }
    for (const auto& [quantity, e] : rows) {
      if (!quantity.starts_with("TRESID:")) continue;
      const std::string label = quantity.substr(7);
      bool found = false;
      for (const auto& line : listing) {
        if (trim(line).rfind(label + " ", 0) != 0) continue;
        found = true;
        const auto last = trim(line).find_last_of(' ');
        EXPECT_TRUE(shows(parse_number(trim(line).substr(last + 1)), e)) << quantity << ": " << line;
      }
      EXPECT_TRUE(found) << quantity;
    }
  }
}

}  // namespace
