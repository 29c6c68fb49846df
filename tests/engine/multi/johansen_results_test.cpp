// The vector and long-run pages on small hand-made estimates (normalised values, "*NONE*"
// brackets, blocks of rows and columns, Π = αβ'), the rank statistics at the tolerance, and
// the refusal of singular moment matrices.
#include "engine/multi/johansen_results.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/multi/cointegration_rank.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "tests/engine/multi/cvar_reference.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::testing {
namespace {

using Page = std::vector<std::string>;

class JohansenResultsTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    install_cvar_workspace();
  }
  /// A session of k rows named V1..Vk, m endogenous, r vectors `vectors`, α `alpha`.
  static multi::CvarSession session(int m, int k, int r, std::vector<double> vectors, std::vector<double> alpha = {}) {
    multi::CvarSession s;
    s.m = m;
    s.model_case = 1;
    s.p = 1;
    s.n = 10;
    s.first_offset = 3;
    for (int j = 1; j <= k; ++j) s.vector_names.push_back("V" + std::to_string(j));
    s.names = s.vector_names;
    s.fit.m = m;
    s.fit.k = k;
    s.fit.eigenvalues.assign(static_cast<std::size_t>(k), 0.1);
    s.fit.beta = vectors;
    s.fit.beta.resize(static_cast<std::size_t>(k * k), 0.0);
    s.fit.alpha = alpha;
    s.r = r;
    s.vectors = std::move(vectors);
    return s;
  }
  static Page page_of(const multi::CvarSession& s, int table) {
    dialog_script::load("results -> close\n");
    multi::JOHANSENRESULTS(s, multi::kUnrestrictedDisplay, table, multi::kJohansenTolerance);
    const auto pages = dialog_script::pages();
    return pages.empty() ? Page{} : pages.back();
  }
};

/// The table row of `name`: its name followed by a number (not the header's name list).
Page::const_iterator find_row(const Page& page, const std::string& name) {
  return std::find_if(page.begin(), page.end(), [&](const std::string& l) {
    const auto w = words(l);
    return w.size() >= 2 && w[0] == name && std::string("-.0123456789*").find(w[1][0]) != std::string::npos;
  });
}

// Vector 1 has a zero first coefficient: every bracket of its column is "*NONE*"; vector 2's
// brackets are -β(j, 2)/β(1, 2): -1, then -(-1)/2 = .5.
TEST_F(JohansenResultsTest, ZeroFirstCoefficientBracketsNone) {
  const Page page = page_of(session(2, 2, 2, {0.0, 1.0, 2.0, -1.0}), multi::kVectorTable);
  const auto v1 = find_row(page, "V1");
  ASSERT_NE(v1, page.end());
  // The name from column 2, the first 10-column value piece (a blank and the 9-column
  // number) at gap 17 - 2, the next at gap 5; the brackets under them from column 19.
  EXPECT_EQ(*v1, " V1" + std::string(15, ' ') + "      0.00" + std::string(5, ' ') + "    2.0000");
  EXPECT_EQ(*(v1 + 1), std::string(18, ' ') + "(   *NONE*)    (  -1.0000)");
  EXPECT_EQ(*(v1 + 3), std::string(18, ' ') + "(   *NONE*)    (   .50000)");
  EXPECT_EQ(trim(*(v1 - 1)), "Vector  1      Vector  2");
}

// Thirteen rows: the thirteenth starts a second block with the whole headings.
TEST_F(JohansenResultsTest, ThirteenthRowStartsANewBlock) {
  std::vector<double> vector(13);
  for (int j = 0; j < 13; ++j) vector[static_cast<std::size_t>(j)] = j + 1.0;
  const Page page = page_of(session(12, 13, 1, vector), multi::kVectorTable);
  const auto titles = std::count(page.begin(), page.end(),
                                 "Estimated Cointegrated Vectors in Johansen Estimation (Normalized in Brackets)");
  EXPECT_EQ(titles, 2);
  const auto v13 = find_row(page, "V13");
  ASSERT_NE(v13, page.end());
  EXPECT_EQ(trim(*(v13 - 1)), "Vector  1");  // the column labels right above it
  EXPECT_EQ(trim(*(v13 + 1)), "( -13.0000)");
  EXPECT_EQ(find_row(page, "V12") + 2, std::find(find_row(page, "V12"), page.end(), std::string(79, '*')));
}

// Π = αβ' over the first r vectors: with α = [1 3; 2 4] (m = 2) and β = [1 0; 0.5 1],
// r = 1 gives Π = [1 .5; 2 1]; r = 2 adds α2β2' = [3 ... ]: [1 + 0, .5 + 3; 2 + 0, 1 + 4].
TEST_F(JohansenResultsTest, LongRunMatrixOverTheChosenVectors) {
  const std::vector<double> beta = {1.0, 0.5, 0.0, 1.0};
  const std::vector<double> alpha = {1.0, 2.0, 3.0, 4.0};
  const auto rows = [&](int r) {
    const Page page = page_of(session(2, 2, r, std::vector<double>(beta.begin(), beta.begin() + 2 * r), alpha),
                              multi::kLongRunTable);
    std::vector<std::string> out;
    for (const std::string name : {"V1", "V2"}) out.push_back(*find_row(page, name));
    return out;
  };
  const auto r1 = rows(1);
  EXPECT_EQ(words(r1[0]), (std::vector<std::string>{"V1", "1.0000", ".50000"}));
  EXPECT_EQ(words(r1[1]), (std::vector<std::string>{"V2", "2.0000", "1.0000"}));
  const auto r2 = rows(2);
  EXPECT_EQ(words(r2[0]), (std::vector<std::string>{"V1", "1.0000", "3.5000"}));
  EXPECT_EQ(words(r2[1]), (std::vector<std::string>{"V2", "2.0000", "5.0000"}));
}

// -n·log(1 - λ) by hand: n = 10, λ = .5, .2: λmax = 6.9315, 2.2314; trace 9.1629, 2.2314.
// Once 1 - λ is at most the tolerance the statistic and every trace including it are missing.
TEST(RankStatistics, StatisticsAndTheToleranceEdge) {
  const auto s = multi::rank_statistics(std::vector<double>{0.5, 0.2}, 2, 10, 1e-11);
  EXPECT_NEAR(s.max_eigenvalue[0], 6.931471805599453, 1e-12);
  EXPECT_NEAR(s.max_eigenvalue[1], 2.231435513142098, 1e-12);
  EXPECT_NEAR(s.trace[0], 9.162907318741551, 1e-12);
  EXPECT_NEAR(s.trace[1], 2.231435513142098, 1e-12);
  const auto edge = multi::rank_statistics(std::vector<double>{0.5, 1.0 - 5e-12, 0.2}, 3, 10, 1e-11);
  EXPECT_EQ(edge.max_eigenvalue[1], limits::kMissing);
  EXPECT_EQ(edge.trace[0], limits::kMissing);
  EXPECT_EQ(edge.trace[1], limits::kMissing);
  EXPECT_NEAR(edge.trace[2], 2.231435513142098, 1e-12);
  EXPECT_NEAR(edge.max_eigenvalue[0], 6.931471805599453, 1e-12);
  EXPECT_THROW(multi::rank_statistics(std::vector<double>{0.5}, 2, 10, 1e-11), std::invalid_argument);
}

// Differences in exact proportion make R0'R0 singular: message-file lines 13 and 14, no page.
TEST_F(JohansenResultsTest, SingularMomentMatrixShowsLinesThirteenAndFourteen) {
  install_numbered_message_file(std::filesystem::path(std::string(fixed_text::trim(core::char_setting(charset::kTempFolder)))), 20);
  auto& g = core::globals();
  const int v = ++g.nvars;
  core::set_variable(v, "TWICE", "");
  for (int t = 1; t <= g.nobs; ++t) core::data_at(t, v) = 2.0 * core::data_at(t, 1);
  run_cvar({1, v}, 0, "menu 1025 -> 3\ninteger \"Order\" -> 2\n");
  const std::string all = dialog_script::transcript_text();
  EXPECT_NE(all.find("Line 13"), std::string::npos) << all;
  EXPECT_NE(all.find("Line 14"), std::string::npos);
  EXPECT_TRUE(dialog_script::pages().empty());
}

}  // namespace
}  // namespace qorv::testing
