// The cointegrating VAR dialogue over the reference cases: the rank-test page (eigenvalues,
// statistics, critical values, rank selection), the vector and long-run pages, the menus'
// refusals and the limits of the list, the order and the sample.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "engine/road/system_services.h"
#include "engine/single/estimation_state.h"
#include "engine/single/method_table.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "tests/engine/multi/cvar_reference.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::testing {
namespace {

using Page = std::vector<std::string>;

bool transcript_has(const std::string& text) { return dialog_script::transcript_text().find(text) != std::string::npos; }

int count_in_transcript(const std::string& text) {
  const std::string all = dialog_script::transcript_text();
  int count = 0;
  for (auto at = all.find(text); at != std::string::npos; at = all.find(text, at + 1)) ++count;
  return count;
}

/// The lines after the first line holding `title` up to the next rule of stars after the
/// column line that starts with `columns`.
Page table_after(const Page& page, const std::string& title, const std::string& columns) {
  auto it = std::find_if(page.begin(), page.end(), [&](const std::string& l) { return l.find(title) != std::string::npos; });
  it = std::find_if(it, page.end(), [&](const std::string& l) { return l.rfind(columns, 0) == 0; });
  Page rows;
  if (it == page.end()) return rows;
  for (++it; it != page.end() && it->rfind("*****", 0) != 0; ++it) rows.push_back(*it);
  return rows;
}

/// The rows of the table under `title`: the lines after its column labels (the line after
/// the header's closing rule) up to the next rule.
Page table_rows(const Page& page, const std::string& title) {
  auto it = std::find_if(page.begin(), page.end(), [&](const std::string& l) { return l.find(title) != std::string::npos; });
  for (int rules = 0; it != page.end() && rules < 2; ++it)
    if (it->rfind("*****", 0) == 0) ++rules;
  Page rows;
  if (it == page.end()) return rows;
  for (++it; it != page.end() && it->rfind("*****", 0) != 0; ++it) rows.push_back(*it);
  return rows;
}

/// The numbers of `line` from its word `from` (from 0) on.
std::vector<Printed> numbers_of(std::string line, std::size_t from) {
  std::replace(line.begin(), line.end(), '(', ' ');
  std::replace(line.begin(), line.end(), ')', ' ');
  const std::vector<std::string> w = words(line);
  std::vector<Printed> out;
  for (std::size_t i = from; i < w.size(); ++i) out.push_back(parse_number(w[i]));
  return out;
}

/// Flips vector i of `printed` (name → values over the vectors) to a positive first element.
void apply_sign_rule(std::map<std::string, std::vector<Printed>>& printed, const std::string& first) {
  for (std::size_t i = 0; i < printed[first].size(); ++i) {
    if (printed[first][i].value >= 0) continue;
    for (auto& [name, values] : printed) values[i].value = -values[i].value;
  }
}

class CvarDialogueTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    install_cvar_workspace();
    single::estimation().method = 1;
  }
  /// A new variable of the workspace named `name` with values f(t).
  template <class F>
  int add_variable(const std::string& name, F f) {
    auto& g = core::globals();
    const int v = ++g.nvars;
    core::set_variable(v, name, "");
    for (int t = 1; t <= g.nobs; ++t) core::data_at(t, v) = f(t);
    return v;
  }
  /// `count` further I(1)-looking variables: multiples of LC with a small deterministic wiggle.
  std::vector<int> copies(int count) {
    std::vector<int> out;
    for (int j = 0; j < count; ++j)
      out.push_back(add_variable("C" + std::to_string(j), [j](int t) {
        return core::data_at(t, 1) * (j + 2) + 0.01 * ((t * (j + 7)) % (j + 5));
      }));
    return out;
  }
  static Page last_page() {
    const auto pages = dialog_script::pages();
    return pages.empty() ? Page{} : pages.back();
  }
};

// Every reference case through the dialogue: the rank-test page, the vectors with r = m
// and the long-run matrix of the case's chosen r, all at printed precision.
TEST_F(CvarDialogueTest, ReferenceCasesPrintTheirStatisticsVectorsAndLongRunMatrix) {
  for (const std::string name : {"C1", "C2", "C3", "C4", "C5", "C3D", "C2P1", "C3E"}) {
    SCOPED_TRACE(name);
    dialog_script::reset();
    install_cvar_workspace();
    const CvarCase c = cvar_case(name);
    const auto expected = read_expected(cvar_expected_path(), name);
    const auto value = [&](const std::string& q) {
      const auto it = expected.find(q);
      EXPECT_NE(it, expected.end()) << q;
      return it == expected.end() ? Expected{} : it->second;
    };
    const int m = static_cast<int>(c.endogenous.size());
    const int k = static_cast<int>(c.vector_names.size());
    const int chosen = m == 3 && name == "C3" ? 2 : 1;
    run_cvar(c.list, c.split,
             "menu 1025 -> " + std::to_string(c.model_case) + "\ninteger \"Order of the VAR\" -> " + std::to_string(c.p) +
                 "\nresults -> close\n"
                 "menu 1026 -> 2 once\ninteger \"Number of cointegrating\" -> " + std::to_string(m) + " once\n"
                 "menu 1026 -> 3 once\nmenu 1026 -> 2 once\ninteger \"Number of cointegrating\" -> " +
                 std::to_string(chosen) + " once\nmenu 1026 -> 5 once\nmenu 1026 -> 0\n");
    const auto pages = dialog_script::pages();
    ASSERT_EQ(pages.size(), 3u);
    const Page& ranks = pages[0];

    // The eigenvalues of the header: the first min(k, 7).
    const auto head = std::find(ranks.begin(), ranks.end(), " List of eigenvalues in descending order:");
    ASSERT_NE(head, ranks.end());
    const std::vector<Printed> eig = numbers_of(*(head + 1), 0);
    ASSERT_EQ(static_cast<int>(eig.size()), std::min(k, 7));
    for (int i = 0; i < k; ++i) EXPECT_TRUE(shows(eig[static_cast<std::size_t>(i)], value("EIG:" + std::to_string(i + 1)))) << i;

    const std::string columns = " Null    Alternative";
    const Page lmax = table_after(ranks, "Maximal Eigenvalue", columns);
    const Page trace = table_after(ranks, "Based on Trace", columns);
    const Page rank = table_after(ranks, "Choice of the Number", " Rank");
    ASSERT_EQ(static_cast<int>(lmax.size()), m);
    ASSERT_EQ(static_cast<int>(trace.size()), m);
    ASSERT_EQ(static_cast<int>(rank.size()), m + 1);
    for (int r = 0; r < m; ++r) {
      const std::string rs = std::to_string(r);
      const auto lrow = numbers_of(lmax[static_cast<std::size_t>(r)], words(lmax[static_cast<std::size_t>(r)]).size() - 3);
      const auto trow = numbers_of(trace[static_cast<std::size_t>(r)], words(trace[static_cast<std::size_t>(r)]).size() - 3);
      EXPECT_TRUE(shows(lrow[0], value("LMAX:" + rs))) << r;
      EXPECT_TRUE(shows(trow[0], value("TRACE:" + rs))) << r;
    }
    for (int r = 0; r <= m; ++r) {
      const auto row = numbers_of(rank[static_cast<std::size_t>(r)], 3);
      ASSERT_EQ(row.size(), 4u);
      const std::string rs = std::to_string(r);
      EXPECT_TRUE(shows(row[0], value("RANK_LL:" + rs))) << r;
      EXPECT_TRUE(shows(row[1], value("RANK_AIC:" + rs))) << r;
      EXPECT_TRUE(shows(row[2], value("RANK_SBC:" + rs))) << r;
      EXPECT_TRUE(shows(row[3], value("RANK_HQC:" + rs))) << r;
    }

    // All m vectors: each row's value and its bracketed normalised value.
    const Page vectors = table_rows(pages[1], "Estimated Cointegrated Vectors");
    ASSERT_EQ(static_cast<int>(vectors.size()), 2 * k);
    std::map<std::string, std::vector<Printed>> raw, normalised;
    for (int j = 0; j < k; ++j) {
      const std::string& row = vectors[static_cast<std::size_t>(2 * j)];
      ASSERT_EQ(words(row)[0], c.vector_names[static_cast<std::size_t>(j)]);
      raw[words(row)[0]] = numbers_of(row, 1);
      normalised[words(row)[0]] = numbers_of(vectors[static_cast<std::size_t>(2 * j + 1)], 0);
      ASSERT_EQ(static_cast<int>(raw[words(row)[0]].size()), m);
    }
    apply_sign_rule(raw, c.vector_names[0]);
    for (const std::string& v : c.vector_names)
      for (int i = 0; i < m; ++i) {
        const std::string q = v + ":" + std::to_string(i + 1);
        EXPECT_TRUE(shows(raw[v][static_cast<std::size_t>(i)], value("BETA:" + q))) << q;
        EXPECT_TRUE(shows(normalised[v][static_cast<std::size_t>(i)], value("BETA_NORM:" + q))) << q;
      }

    // Π over the chosen r: m rows of k values, each row followed by a blank line.
    const Page pi = table_rows(pages[2], "Estimated Long Run Matrix");
    ASSERT_EQ(static_cast<int>(pi.size()), 2 * m);
    for (int j = 0; j < m; ++j) {
      const std::string& row = pi[static_cast<std::size_t>(2 * j)];
      const auto values = numbers_of(row, 1);
      ASSERT_EQ(static_cast<int>(values.size()), k);
      for (int l = 0; l < k; ++l) {
        const std::string q = "PI:" + std::to_string(chosen) + ":" + c.endogenous[static_cast<std::size_t>(j)] + ":" +
                              c.vector_names[static_cast<std::size_t>(l)];
        EXPECT_TRUE(shows(values[static_cast<std::size_t>(l)], value(q))) << q;
      }
    }
  }
}

/// The last three records of a committed critical-value file, k = 3, 2, 1: {90%, 95%}.
std::vector<std::pair<std::string, std::string>> last_records(const std::string& file) {
  std::ifstream in(std::string(ZV_SOURCE_DIR) + "/engine/resources/" + file);
  std::vector<std::pair<std::string, std::string>> records;
  for (std::string line; std::getline(in, line);) {
    const auto w = words(line);
    if (w.size() == 3) records.emplace_back(w[1], w[2]);
  }
  return {records.end() - 3, records.end()};
}

// Case C3 reads k = 3, 2, 1 from the shipped CR0MX3.ASC and CR0TR3.ASC; its trace at r = 0
// is 40.379638270716889.
TEST_F(CvarDialogueTest, CaseThreeShowsTheShippedCriticalValues) {
  const CvarCase c = cvar_case("C3");
  run_cvar(c.list, c.split, "menu 1025 -> 3\ninteger \"Order\" -> 2\nresults -> close\nmenu 1026 -> 0\n");
  const Page page = last_page();
  const std::string columns = " Null    Alternative";
  for (const auto& [title, file] : {std::pair<std::string, std::string>{"Maximal Eigenvalue", "CR0MX3.ASC"},
                                    {"Based on Trace", "CR0TR3.ASC"}}) {
    const Page rows = table_after(page, title, columns);
    const auto records = last_records(file);
    ASSERT_EQ(rows.size(), 3u);
    for (std::size_t r = 0; r < 3; ++r) {
      const auto w = words(rows[r]);
      EXPECT_EQ(w[w.size() - 2], records[r].second) << file << " r " << r;  // 95%
      EXPECT_EQ(w[w.size() - 1], records[r].first) << file << " r " << r;   // 90%
    }
  }
  EXPECT_EQ(words(table_after(page, "Based on Trace", columns)[0])[5], "40.3796");
}

class CraftedCriticalValues : public CvarDialogueTest {
 protected:
  void SetUp() override {
    CvarDialogueTest::SetUp();
    folder_ = std::filesystem::temp_directory_path() / ("zv_cvar_cv_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    core::set_char_setting(charset::kProgramFolder, folder_.string() + "/");
  }
  void TearDown() override {
    std::filesystem::remove_all(folder_);
    CvarDialogueTest::TearDown();
  }
  /// Records k = 12..1 of "k  10k + 0.1  10k + 0.2" (90% then 95%).
  void write_file(const std::string& name) {
    std::ofstream file(folder_ / name);
    for (int k = 12; k >= 1; --k) file << k << "  " << 10 * k + 0.1 << "  " << 10 * k + 0.2 << "\n";
  }
  std::filesystem::path folder_;
};

/// A 10-column value piece (a blank and the 9-column number) `gap` columns after the last text.
std::string piece(int gap, const std::string& field) { return std::string(static_cast<std::size_t>(gap + 1), ' ') + field; }

// m = 3 skips nine records: the row r = 0 holds record 10 (k = 3), r = 1 record 11 and
// r = 2 record 12; the rows' layout follows the appenders' gaps.
TEST_F(CraftedCriticalValues, ThreeVariablesReadRecordsTenToTwelve) {
  write_file("CR0MX3.ASC");
  write_file("CR0TR3.ASC");
  const CvarCase c = cvar_case("C3");
  run_cvar(c.list, c.split, "menu 1025 -> 3\ninteger \"Order\" -> 2\nresults -> close\nmenu 1026 -> 0\n");
  const Page page = last_page();
  const std::string columns = " Null    Alternative    Statistic     95% Critical Value     90%Critical Value";
  const Page lmax = table_after(page, "Maximal Eigenvalue", columns);
  const Page trace = table_after(page, "Based on Trace", columns);
  ASSERT_EQ(lmax.size(), 3u);
  ASSERT_EQ(trace.size(), 3u);
  // λmax(0) = 26.3797 (LMAX:0), λmax(1) = 10.7811, trace(1) = 13.9999.
  EXPECT_EQ(lmax[0], " r = 0      r = 1" + piece(5, "  26.3797") + piece(8, "  30.2000") + piece(13, "  30.1000"));
  EXPECT_EQ(lmax[1], " r<= 1      r = 2" + piece(5, "  10.7811") + piece(8, "  20.2000") + piece(13, "  20.1000"));
  EXPECT_EQ(trace[1], " r<= 1      r>= 2" + piece(5, "  13.9999") + piece(8, "  20.2000") + piece(13, "  20.1000"));
  EXPECT_EQ(words(trace[2])[5], "10.2000");
  EXPECT_TRUE(std::find(page.begin(), page.end(),
                        " Use the above table to determine r (the number of cointegratingvectors).") != page.end());
}

// Without the files both tables are still written, "*NONE*" in the critical-value columns,
// after the opener's message for each file; the dialogue goes on.
TEST_F(CraftedCriticalValues, MissingFilesPrintNone) {
  const CvarCase c = cvar_case("C1");
  run_cvar(c.list, c.split, "menu 1025 -> 1\ninteger \"Order\" -> 2\nresults -> close\nmenu 1026 -> 0\n");
  EXPECT_TRUE(transcript_has("message error 0 The file CR0MX1.ASC is missing or corrupt. Unable to proceed."));
  EXPECT_TRUE(transcript_has("message error 0 The file CR0TR1.ASC is missing or corrupt. Unable to proceed."));
  const Page page = last_page();
  for (const std::string title : {"Maximal Eigenvalue", "Based on Trace"}) {
    const Page rows = table_after(page, title, " Null");
    ASSERT_EQ(rows.size(), 3u);
    for (const std::string& row : rows) {
      const auto w = words(row);
      EXPECT_EQ(w[w.size() - 1], "*NONE*");
      EXPECT_EQ(w[w.size() - 2], "*NONE*");
      EXPECT_NE(w[w.size() - 3], "*NONE*");
    }
  }
  EXPECT_TRUE(transcript_has("menu 2026"));
}

// Five vectors fill a block of four columns and one of a single column, each with the
// whole headings.
TEST_F(CvarDialogueTest, FiveVectorsInBlocksOfFourAndOne) {
  unsigned state = 12345;
  std::vector<double> walk1(200), walk2(200);
  double a = 0, b = 0;
  for (int t = 0; t < 200; ++t) {
    state = state * 1103515245u + 12345u;
    a += static_cast<double>((state >> 16) % 1000) / 1000.0 - 0.5;
    state = state * 1103515245u + 12345u;
    b += static_cast<double>((state >> 16) % 1000) / 1000.0 - 0.5;
    walk1[static_cast<std::size_t>(t)] = a;
    walk2[static_cast<std::size_t>(t)] = b;
  }
  const int w1 = add_variable("W1", [&](int t) { return walk1[static_cast<std::size_t>(t - 1)]; });
  const int w2 = add_variable("W2", [&](int t) { return walk2[static_cast<std::size_t>(t - 1)]; });
  run_cvar({1, 2, 3, w1, w2}, 0,
           "menu 1025 -> 3\ninteger \"Order\" -> 1\nresults -> close\nmenu 1026 -> 2 once\ninteger -> 5\n"
           "menu 1026 -> 3 once\nmenu 1026 -> 0\n");
  const Page page = last_page();
  const auto count = [&](const std::string& text) {
    return std::count_if(page.begin(), page.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
  };
  EXPECT_EQ(count("Estimated Cointegrated Vectors in Johansen Estimation (Normalized in Brackets)"), 2);
  EXPECT_EQ(count("Cointegration with unrestricted intercepts and no trends in the VAR"), 2);
  EXPECT_EQ(count(" List of variables included in the cointegrating vector:"), 2);
  std::vector<std::string> headings;
  for (const std::string& l : page)
    if (l.find("Vector") != std::string::npos && l.find("Cointegrated") == std::string::npos) headings.push_back(l);
  ASSERT_EQ(headings.size(), 2u);
  EXPECT_EQ(words(headings[0]), (std::vector<std::string>{"Vector", "1", "Vector", "2", "Vector", "3", "Vector", "4"}));
  EXPECT_EQ(words(headings[1]), (std::vector<std::string>{"Vector", "5"}));
  // Each block holds the five variables, each with its bracket line.
  const auto first = std::find(page.begin(), page.end(), headings[0]);
  EXPECT_EQ(words(*(first + 1))[0], "LC");
  EXPECT_EQ(numbers_of(*(first + 1), 1).size(), 4u);
  EXPECT_EQ(numbers_of(*(first + 2), 0)[0].value, -1.0);
  const auto second = std::find(page.begin(), page.end(), headings[1]);
  EXPECT_EQ(words(*(second + 9))[0], "W2");
  EXPECT_EQ(numbers_of(*(second + 9), 1).size(), 1u);
}


// The refusals before any estimate, in the order they are checked, each with its text; the
// limits themselves are accepted (the next question follows).
TEST_F(CvarDialogueTest, ListAndOrderLimits) {
  const int one = add_variable("ONE", [](int) { return 1.0; });
  const int trend = add_variable("T", [](int t) { return 3.0 + 2.0 * t; });
  const std::vector<int> many = copies(35);
  const auto first = [&](int count) { return std::vector<int>(many.begin(), many.begin() + count); };
  const auto join = [](std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  struct Row {
    std::string what;
    std::vector<int> list;
    int split;
    std::string shown;  ///< the refusal, or the next question when accepted
    bool backtracking = true;
  };
  const std::vector<Row> rows = {
      {"constant", {1, 2, one}, 1000, "message information 0 Please do not include an intercept or a trend term!", false},
      {"trend", {trend, 1, 2}, 0, "message information 0 Please do not include an intercept or a trend term!", false},
      {"m 12", first(12), 0, "menu 2025"},
      {"m 13", first(13), 0, "message error 0  A maximum of 12 I(1) variables allowed in this version!"},
      {"m 13 before d 19", join(first(13), first(19)), 19000,
       "message error 0  A maximum of 12 I(1) variables allowed in this version!"},
      {"d 18", join({1}, first(18)), 18000, "menu 2025"},
      {"d 19", join({1}, first(19)), 19000, "message error 0  A maximum of 18 I(0) variables allowed in this version!"},
      {"d 19 before e 6", join({1}, first(25)), 19006,
       "message error 0  A maximum of 18 I(0) variables allowed in this version!"},
      {"e 5", join({1}, first(5)), 5, "menu 2025"},
      {"e 6", join({1}, first(6)), 6,
       "message information 0 A maximum of 5 exogenous I(1) variables allowed in this version!"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    dialog_script::reset();
    core::driver_state().show_backtracking = true;
    run_cvar(row.list, row.split, "menu 1025 -> 0\n");
    EXPECT_TRUE(transcript_has(row.shown)) << dialog_script::transcript_text();
    EXPECT_EQ(transcript_has("menu 2025"), row.shown == "menu 2025");
    EXPECT_EQ(core::driver_state().show_backtracking, row.backtracking);
  }
  // The highest order: min(24, (102 - d - m - 2) div (m + e) + 1).
  dialog_script::reset();
  run_cvar({1, 2, 3}, 0, "menu 1025 -> 3\ninteger \"(At most 24, zero to quit) ?\" -> 0\n");
  dialog_script::reset();
  run_cvar(first(35), 18005, "menu 1025 -> 3\ninteger \" Order of the VAR model (At most 5, zero to quit) ?\" -> 0\n");
  EXPECT_TRUE(transcript_has("integer 0 Order of the VAR model (At most 5, zero to quit) ? -> 0"));
  // An order above the highest beeps and is asked again.
  dialog_script::reset();
  run_cvar(first(35), 18005, "menu 1025 -> 3\ninteger -> 6 once\ninteger -> 0\n");
  EXPECT_EQ(count_in_transcript("beep"), 1);
}

// The presets of slots 18 and 19 are used once; the order chosen goes to slot 27 and the
// caller's word; Cancel at the order leaves without an estimate.
TEST_F(CvarDialogueTest, PresetsAreUsedOnceAndTheOrderIsWritten) {
  core::set_slot(slots::kVarOrderPreset, 2);
  core::set_slot(slots::kVarOptionPreset, 3);
  core::globals().sample_start = 1;  // the estimation starts at observation 3, after the lags
  run_cvar({1, 2, 3}, 0, "results -> close\nmenu 1026 -> 0\n");
  EXPECT_EQ(core::globals().sample_start, 1);
  EXPECT_TRUE(transcript_has(" 197 observations from 1959Q4 to 2008Q4. Order of VAR = 2."));
  EXPECT_FALSE(transcript_has("menu 2025"));
  EXPECT_FALSE(transcript_has("integer"));
  EXPECT_EQ(core::slot(slots::kVarOrderPreset), slots::kUnset);
  EXPECT_EQ(core::slot(slots::kVarOptionPreset), slots::kUnset);
  EXPECT_EQ(core::slot(slots::kVarOrderChosen), 2);
  EXPECT_TRUE(transcript_has("Cointegration with unrestricted intercepts and no trends in the VAR"));
  dialog_script::reset();
  run_cvar({1, 2, 3}, 0, "menu 1025 -> 4\ninteger -> cancel\n");
  EXPECT_TRUE(dialog_script::pages().empty());
  EXPECT_EQ(core::slot(slots::kVarOrderChosen), 2);
  EXPECT_EQ(core::globals().sample_start, 1);
  EXPECT_EQ(core::globals().sample_end, 199);
  EXPECT_EQ(single::estimation().method, 1);
}

// 3000 observations are accepted, 3001 refused with the text of the limit.
TEST_F(EngineTest, CointegratingVarTakesAtMost3000Observations) {
  auto& g = core::globals();
  g.nobs = 3003;
  g.frequency = 1;
  g.max_vars = limits::max_vars_for(g.nobs);
  g.nvars = 1;
  core::set_variable(1, "Y", "");
  for (int t = 1; t <= g.nobs; ++t) core::data_at(t, 1) = (t * 7919) % 101 - 50.0;
  for (const int end : {3002, 3001}) {
    dialog_script::reset();
    g.sample_start = 1;
    g.sample_end = end;
    run_cvar({1}, 0, "menu 1025 -> 1\ninteger \"Order\" -> 1\nresults -> close\nmenu 1026 -> 0\n");
    const bool refused = transcript_has(
        "message error 0  You have included too many observations. A maximum of 3000 observations can be included.  Try "
        "another option in the next menu.");
    EXPECT_EQ(refused, end == 3002) << dialog_script::transcript_text();
    EXPECT_EQ(transcript_has("menu 2026"), end == 3001);
  }
}

/// The option preselected (the "detail" of a menu call) at each showing of menu `number`.
std::vector<int> preselections(int number) {
  std::vector<int> out;
  for (const auto& call : dialog_script::calls())
    if (call.kind == "menu" && call.help_context == number + 1000) out.push_back(call.detail);
  return out;
}

// r = 0 refuses options 3 to 7 and preselects option 2; the preselection otherwise moves
// on to the next option.
TEST_F(CvarDialogueTest, OptionsThreeToSevenNeedR) {
  const CvarCase c = cvar_case("C3");
  run_cvar(c.list, c.split,
           "menu 1025 -> 3\ninteger \"Order\" -> 2\nresults -> close\n"
           "menu 1026 -> 3 once\nmenu 1026 -> 4 once\nmenu 1026 -> 5 once\nmenu 1026 -> 6 once\nmenu 1026 -> 7 once\n"
           "menu 1026 -> 1 once\nmenu 1026 -> 2 once\ninteger \"Number of cointegrating\" -> 4 once\n"
           "integer \"Number of cointegrating\" -> 1 once\nmenu 1026 -> 0\n");
  EXPECT_EQ(count_in_transcript("message error 0  Please specify r, the number of cointegrating vectors!"), 5);
  EXPECT_EQ(count_in_transcript("beep"), 1);  // r = 4 > m
  EXPECT_EQ(preselections(1026), (std::vector<int>{2, 2, 2, 2, 2, 2, 1, 3}));
  EXPECT_EQ(dialog_script::pages().size(), 2u);  // the tests, and the tests again
}

// r = m refuses the tests of options 1 to 3 of menu 1030 and shows the menu again with
// option 0 preselected; with one variable the text says so.
TEST_F(CvarDialogueTest, TestsOfTheVectorsNeedRBelowM) {
  const CvarCase c = cvar_case("C3");
  run_cvar(c.list, c.split,
           "menu 1025 -> 3\ninteger \"Order\" -> 2\nresults -> close\nmenu 1026 -> 2 once\ninteger -> 3\n"
           "menu 1026 -> 6 once\nmenu 1030 -> 1 once\nmenu 1030 -> 2 once\nmenu 1030 -> 3 once\nmenu 1030 -> 0\n"
           "menu 1026 -> 0\n");
  EXPECT_EQ(count_in_transcript("message warning 0 These tests are not applicable for your choice of r.  Choose r to be "
                                "less than 3 and try again."),
            3);
  EXPECT_EQ(preselections(1030), (std::vector<int>{4, 0, 0, 0}));
  dialog_script::reset();
  run_cvar({1}, 0,
           "menu 1025 -> 3\ninteger \"Order\" -> 2\nresults -> close\nmenu 1026 -> 2 once\ninteger -> 1\n"
           "menu 1026 -> 6 once\nmenu 1030 -> 2 once\nmenu 1030 -> 0\nmenu 1026 -> 0\n");
  EXPECT_TRUE(transcript_has("message warning 0 These tests are not applicable in the one variable case!"));
}

// With exogenous I(1) variables menu 1020 refuses its options 1 to 4; the other options and
// the restricted estimations reach the post-estimation calls.
TEST_F(CvarDialogueTest, ExogenousI1VariablesCloseTheDynamicAnalyses) {
  const CvarCase c = cvar_case("C3E");
  run_cvar(c.list, c.split,
           "menu 1025 -> 3\ninteger \"Order\" -> 2\nresults -> close\nmenu 1026 -> 2 once\ninteger -> 1\n"
           "menu 1026 -> 6 once\nmenu 1030 -> 5 once\n"
           "menu 1020 -> 1 once\nmenu 1020 -> 2 once\nmenu 1020 -> 3 once\nmenu 1020 -> 4 once\nmenu 1020 -> 6 once\n"
           "menu 1020 -> 0 once\nyesno \"over-identifying\" -> no\nmenu 1030 -> 0\nmenu 1026 -> 0\n");
  EXPECT_EQ(count_in_transcript("message information 0 This option is not available when I(1) exogenous variables are "
                                "present!"),
            4);
  EXPECT_TRUE(transcript_has("menu 2020 IR Analysis and Forecasting Menu (Johansen's CV's)"));
  EXPECT_TRUE(transcript_has("  0. Return to Long Run Structural Modelling Menu"));
  // Option 6 with Johansen's vectors writes them again.
  ASSERT_EQ(dialog_script::pages().size(), 2u);
  EXPECT_NE(std::find(dialog_script::pages()[1].begin(), dialog_script::pages()[1].end(),
                      "Estimated Cointegrated Vectors in Johansen Estimation (Normalized in Brackets)"),
            dialog_script::pages()[1].end());
  EXPECT_EQ(preselections(1020), (std::vector<int>{4, 1, 2, 3, 4, 6}));
}

// A gap in the sample shows message-file line 2, a sample too short for the model line 5;
// one just long enough meets the refusal of an eigenvalue of 1.
TEST_F(CvarDialogueTest, SampleGapsAndShortSamples) {
  install_numbered_message_file(std::filesystem::path(std::string(fixed_text::trim(core::char_setting(charset::kTempFolder)))), 10);
  core::data_at(100, 2) = limits::kMissing;
  run_cvar({1, 2, 3}, 0, "menu 1025 -> 3\ninteger \"Order\" -> 2\n");
  EXPECT_TRUE(transcript_has("Line 2"));
  core::data_at(100, 2) = 1.0;
  // Order 2 of three variables needs n > (p - 1)(m + e) + m + d + 2 = 8.
  core::globals().sample_end = 4 + 7;
  dialog_script::reset();
  run_cvar({1, 2, 3}, 0, "menu 1025 -> 3\ninteger \"Order\" -> 2\n");
  EXPECT_TRUE(transcript_has("Line 5"));
  core::globals().sample_end = 4 + 8;
  dialog_script::reset();
  run_cvar({1, 2, 3}, 0, "menu 1025 -> 3\ninteger \"Order\" -> 2\n");
  EXPECT_FALSE(transcript_has("Line 5"));
  // Nine observations leave the residual blocks five dimensions: the first eigenvalue is 1.
  EXPECT_TRUE(transcript_has(
      "message error 0 The Johansen ML procedure cannot be implemented. This may be due to lack of enou\n"));
  EXPECT_TRUE(dialog_script::pages().empty());
}


// Method 17 is an error-correction equation: the runner estimates it by least squares under
// the title naming the variable and the VAR order; the
// window-size step of the rolling menu, which shares the number, chooses no method.
TEST_F(CvarDialogueTest, ErrorCorrectionEquationRunsAsLeastSquaresWithItsTitle) {
  const auto estimate = [](int method) {
    single::estimation().method = method;
    single::estimation().system_order = 2;
    dialog_script::load("menu 1002 -> 0\nresults -> close\n");
    road::system_services().estimate_single_equation(1, "LY LI");
    return single::estimation().result;
  };
  const std::vector<double> ols = estimate(single::method::kOls);
  dialog_script::reset();
  const std::vector<double> ecm = estimate(single::method::kErrorCorrection);
  const Page page = dialog_script::pages().at(0);
  EXPECT_NE(std::find_if(page.begin(), page.end(),
                         [](const std::string& l) {
                           return trim(l) == "ECM for variable LC estimated by OLS based on cointegrating VAR(2)";
                         }),
            page.end());
  EXPECT_FALSE(transcript_has("Ordinary Least Squares Estimation"));
  EXPECT_EQ(single::estimation().status, single::status::kEstimated);
  EXPECT_EQ(ols, ecm);
  EXPECT_EQ(single::method_of_option(1047, 1), 0);
  for (const single::MethodRow& row : single::method_rows()) {
    if (row.code == single::method::kRollingWindow) {
      EXPECT_EQ(row.offer.menu, 0);
    }
  }
}

}  // namespace
}  // namespace qorv::testing
