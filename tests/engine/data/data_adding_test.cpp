// Adding the variables of a second ZVD file to the engine's data set: the joined span,
// each refusal leaving the workspace and the slots as they were, and the road from an
// estimation request on a data set without variables.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "engine/data/data_adding.h"
#include "engine/data/data_set.h"
#include "shared/obs_calendar.h"
#include "shared/qorv_api.h"
#include "shared/zvd_file.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"
#include "tests/support/scratch_folder.h"

namespace qorv::data {
namespace {

constexpr double kMiss = limits::kMissing;

/// A shape in the host's convention: frequency, full start year (or 1), start period.
struct Span {
  int frequency;
  int year;
  int period;
  int nobs;
};

/// Variable j (from 1) of a set holds base + 100 j + t at observation t (from 1).
std::vector<double> values_of(const Span& s, int nvars, double base) {
  std::vector<double> v;
  for (int j = 1; j <= nvars; ++j)
    for (int t = 1; t <= s.nobs; ++t) v.push_back(base + 100.0 * j + t);
  return v;
}

DataSet data_set(const Span& s, std::vector<std::string> names) {
  DataSet d;
  d.nobs = s.nobs;
  d.frequency = s.frequency;
  d.periods_per_year = obs_calendar::periods_per_year(s.frequency);
  const bool dated = s.frequency >= obs_calendar::kHalfYearly;
  d.start_year = dated ? s.year % 100 : s.year;
  d.start_period = s.period;
  d.century = dated ? s.year / 100 * 100 : 0;
  d.descs.assign(names.size(), "");
  d.values = values_of(s, static_cast<int>(names.size()), 0.0);
  d.names = std::move(names);
  return d;
}

zvd::DataSet file_set(const Span& s, std::vector<std::string> names) {
  zvd::DataSet f;
  f.shape.nobs = s.nobs;
  f.shape.nvars = static_cast<int>(names.size());
  f.shape.frequency = s.frequency;
  f.shape = zvd::start_from_full_year(f.shape, s.year, s.period);
  f.descriptions.assign(names.size(), "added");
  f.data = values_of(s, f.shape.nvars, 10000.0);
  f.names = std::move(names);
  return f;
}

/// The names V1, V2, ..., Vcount.
std::vector<std::string> numbered(int count) {
  std::vector<std::string> names;
  for (int j = 1; j <= count; ++j) names.push_back("V" + std::to_string(j));
  return names;
}

/// Everything of the engine's data set a refusal must leave alone.
struct Snapshot {
  Snapshot() {
    const core::Globals& g = core::globals();
    counts = {g.nobs, g.nvars, g.frequency, g.start_year, g.start_period, g.century_base, g.max_vars,
              g.sample_start, g.sample_end};
    for (int s = 1; s <= slots::kCount; ++s) slot_values.push_back(core::slot(s));
    for (int j = 1; j <= limits::kMaxVars; ++j) {
      names.push_back(core::variable_name(j));
      descs.push_back(core::variable_desc(j));
    }
    const auto work = core::work_array();
    data.assign(work.begin(), work.begin() + limits::kCapacity);
  }
  bool operator==(const Snapshot& o) const {
    return counts == o.counts && slot_values == o.slot_values && names == o.names && descs == o.descs &&
           std::memcmp(data.data(), o.data.data(), data.size() * sizeof(double)) == 0;
  }
  std::vector<int> counts;
  std::vector<int32_t> slot_values;
  std::vector<std::string> names, descs;
  std::vector<double> data;
};

class DataAdding : public qorv::testing::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    qorv::testing::install_numbered_message_file(folder_, 140);
  }

  std::filesystem::path write(const zvd::DataSet& f, const std::string& name = "added.zvd") {
    const auto path = folder_ / name;
    EXPECT_TRUE(zvd::write_file(path, f).ok);
    return path;
  }

  /// Runs the add with the file dialog answered by `path`.
  static void add(const std::filesystem::path& path) {
    dialog_script::load("file -> \"" + path.string() + "\"\n");
    data::ADDDATAFILE();
  }

  zv_test::ScratchFolder folder_{"dataadd"};
};

TEST_F(DataAdding, TheJoinedSetSpansBothSetsWithTheMissingCodeInTheGaps) {
  struct Case {
    const char* what;
    Span loaded, added;
    int nobs;                // joined observations
    int year, period;        // joined start (stored fields)
    int loaded_at, added_at; // where each set's first observation lands (from 0)
  };
  const Case cases[] = {
      {"annual, the added set earlier", {2, 1970, 1, 31}, {2, 1960, 1, 31}, 41, 1960, 1, 10, 0},
      {"annual, the added set later", {2, 1960, 1, 31}, {2, 1970, 1, 31}, 41, 1960, 1, 0, 10},
      {"quarterly from other quarters", {4, 1990, 2, 6}, {4, 1989, 4, 4}, 8, 89, 4, 2, 0},
      {"quarterly inside the loaded span", {4, 1999, 3, 10}, {4, 2000, 1, 2}, 10, 99, 3, 0, 2},
      {"undated of different lengths", {1, 1, 1, 5}, {1, 1, 1, 8}, 8, 1, 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const DataSet loaded = data_set(c.loaded, {"A", "B"});
    install_data_set(loaded);
    add(write(file_set(c.added, {"x1", "Y"})));
    const core::Globals& g = core::globals();
    ASSERT_EQ(g.nobs, c.nobs) << dialog_script::transcript_text();
    ASSERT_EQ(g.nvars, 4);
    EXPECT_EQ(g.start_year, c.year);
    EXPECT_EQ(g.start_period, c.period);
    EXPECT_EQ(g.max_vars, limits::max_vars_for(c.nobs));
    EXPECT_EQ(core::variable_name(3), "X1");
    EXPECT_EQ(core::variable_desc(4), "added");
    const auto work = core::work_array();
    for (int j = 1; j <= 4; ++j) {
      const bool from_loaded = j <= 2;
      const int at = from_loaded ? c.loaded_at : c.added_at;
      const int n = from_loaded ? c.loaded.nobs : c.added.nobs;
      const double base = from_loaded ? 100.0 * j : 10000.0 + 100.0 * (j - 2);
      for (int t = 0; t < c.nobs; ++t) {
        const double expected = t >= at && t < at + n ? base + (t - at + 1) : kMiss;
        ASSERT_EQ(work[static_cast<std::size_t>((j - 1) * c.nobs + t)], expected) << "variable " << j << " t " << t;
      }
    }
    // The main program reads the joined set back whole.
    for (const auto& [slot, value] : {std::pair{slots::kNumVariables, 4}, {slots::kNumObservations, c.nobs},
                                     {slots::kFrequency, c.loaded.frequency}, {slots::kStartYear, c.year},
                                     {slots::kStartPeriod, c.period}, {slots::kSampleStart, 1},
                                     {slots::kSampleEnd, c.nobs}})
      EXPECT_EQ(core::slot(slot), value) << "slot " << slot;
    EXPECT_EQ(core::driver_state().command_last, c.nobs);
    EXPECT_NE(dialog_script::transcript_text().find("busy begin Reading data, please wait..."), std::string::npos);
  }
}

TEST_F(DataAdding, EachRefusalShowsItsMessageAndChangesNothing) {
  struct Case {
    const char* what;
    Span loaded;
    zvd::DataSet added;
    const char* shown;  // in the transcript
  };
  const Case cases[] = {
      {"another frequency", {2, 1970, 1, 31}, file_set({4, 1970, 1, 8}, {"X"}), "  Line 58"},
      {"a name of both sets", {2, 1970, 1, 31}, file_set({2, 1960, 1, 5}, {"X", "b"}),
       "message error 0  Name B is common to both data sets, data not added!"},
      {"more variables than the joined span allows", {1, 1, 1, 3100}, file_set({1, 1, 1, 10}, numbered(39)),
       "  Line 52"},
      {"more observations than 3100", {2, 1000, 1, 3000}, file_set({2, 3950, 1, 200}, {"X"}), "  Line 52"},
      {"an invalid name", {2, 1970, 1, 31}, file_set({2, 1960, 1, 5}, {"X", "1X"}), "  Line 78"},
      {"a name twice in the file", {2, 1970, 1, 31}, file_set({2, 1960, 1, 5}, {"X", "x"}), "  Line 78"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dialog_script::reset();
    install_data_set(data_set(c.loaded, {"A", "B"}));
    const Snapshot before;
    add(write(c.added));
    EXPECT_TRUE(Snapshot() == before);
    EXPECT_NE(dialog_script::transcript_text().find(c.shown), std::string::npos) << dialog_script::transcript_text();
    EXPECT_EQ(dialog_script::transcript_text().find("busy begin Reading"), std::string::npos);
  }

  // A file cut short inside its data, and a cancelled file dialog.
  dialog_script::reset();
  install_data_set(data_set({2, 1970, 1, 31}, {"A", "B"}));
  const auto whole = write(file_set({2, 1960, 1, 25}, {"X"}));
  std::filesystem::resize_file(whole, 160 * 2 + 8);
  const Snapshot before;
  add(whole);
  EXPECT_TRUE(Snapshot() == before);
  EXPECT_NE(dialog_script::transcript_text().find("message error 0 Not a valid ZVD file!"), std::string::npos)
      << dialog_script::transcript_text();
  dialog_script::load("file -> cancel\n");
  data::ADDDATAFILE();
  EXPECT_TRUE(Snapshot() == before);
}

TEST_F(DataAdding, ANameWithoutExtensionFindsTheFileWhateverTheCaseOfItsExtension) {
  const struct {
    const char* on_disk;
    const char* typed;
  } cases[] = {{"lower.zvd", "lower"}, {"UPPER.ZVD", "UPPER"}, {"Mixed.Zvd", "mixed"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.on_disk);
    dialog_script::reset();
    install_data_set(data_set({2, 1960, 1, 5}, {"A"}));
    write(file_set({2, 1960, 1, 5}, {"X"}), c.on_disk);
    core::set_char_setting(charset::kDataFile, (folder_ / c.typed).string());
    data::ADDDATAFILE();
    EXPECT_EQ(core::globals().nvars, 2) << dialog_script::transcript_text();
    EXPECT_EQ(core::variable_name(2), "X");
  }
}

TEST_F(DataAdding, AnEstimationWithoutVariablesLeadsToTheDataProcessingMenu) {
  // A new annual data set of no variables, as the main program's New with 0 variables.
  const auto reg = [](int16_t slot, int32_t value) { REGISTERINT(&value, &slot); };
  const auto request = [](int16_t code) {
    DRIVER(&code);
    return code;
  };
  reg(slots::kDataInputKind, 1);
  reg(slots::kFrequency, 2);
  reg(slots::kNumVariables, 0);
  const std::string dates = "1970 2000";
  const int16_t len = static_cast<int16_t>(dates.size()), code = charset::kSampleText;
  REGISTERCHAR(dates.data(), &len, &code);
  ASSERT_EQ(request(1), 2);

  // Choice 0 while there are still no variables ends the request.
  reg(slots::kActionPreset, 2);
  dialog_script::load("strict\nmenu 1008 -> 0\n");
  EXPECT_EQ(request(3), 0);
  EXPECT_EQ(dialog_script::transcript().front(), "message information 0 Line 1");
  EXPECT_EQ(dialog_script::transcript()[1], "menu 2008 Data Processing Menu -> 0");

  const auto path = write(file_set({2, 1960, 1, 31}, {"C", "Y"}));
  reg(slots::kActionPreset, 2);
  dialog_script::load("strict\nmenu 1008 -> 4\nfile \"open ZVD\" -> \"" + path.string() + "\"\n");
  EXPECT_EQ(request(3), 0);
  EXPECT_EQ(core::slot(slots::kNumVariables), 2);
  EXPECT_EQ(core::slot(slots::kNumObservations), 41);
  EXPECT_EQ(core::slot(slots::kStartYear), 1960);
  EXPECT_EQ(core::slot(slots::kSampleEnd), 41);
  EXPECT_EQ(core::variable_name(2), "Y");
}

}  // namespace
}  // namespace qorv::data
