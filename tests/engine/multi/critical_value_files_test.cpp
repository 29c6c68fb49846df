// The critical-value files of the cointegration rank tests as the engine reads them: every
// committed file whole, the records a small system reads, and files that are missing, short
// or unreadable.
#include "engine/multi/critical_value_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/core/engine_state.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::multi {
namespace {

using Stat = RankStatistic;

class CriticalValueFiles : public testing::EngineTest {
 protected:
  void use_folder(const std::filesystem::path& folder) {
    core::set_char_setting(charset::kProgramFolder, folder.string() + "/");
  }
};

TEST_F(CriticalValueFiles, EveryCommittedFileIsWholeAndOrdered) {
  use_folder(std::filesystem::path(ZV_SOURCE_DIR) / "engine" / "resources");
  for (int model_case = 1; model_case <= 5; ++model_case)
    for (int e = 0; e <= 5; ++e) {
      const CriticalValues mx = read_critical_values(e, model_case, Stat::kMaxEigenvalue, 12);
      const CriticalValues tr = read_critical_values(e, model_case, Stat::kTrace, 12);
      for (std::size_t k = 0; k < 12; ++k) {
        SCOPED_TRACE(critical_value_file(e, model_case, Stat::kTrace) + " k " + std::to_string(k + 1));
        for (const CriticalValues* v : {&mx, &tr}) {
          ASSERT_NE(v->cv90[k], limits::kMissing);
          ASSERT_NE(v->cv95[k], limits::kMissing);
          EXPECT_GT(v->cv95[k], v->cv90[k]);
          if (k > 0) {
            EXPECT_GT(v->cv95[k], v->cv95[k - 1]);
          }
        }
        // The trace sums what the maximal eigenvalue takes alone: equal for one trend.
        if (k == 0) {
          EXPECT_NEAR(tr.cv95[k], mx.cv95[k], 1e-9);
        } else {
          EXPECT_GT(tr.cv95[k], mx.cv95[k]);
        }
        if (e > 0) {  // more exogenous I(1) variables move the distribution up
          const CriticalValues fewer = read_critical_values(e - 1, model_case, Stat::kTrace, 12);
          EXPECT_GT(tr.cv95[k], fewer.cv95[k]);
        }
      }
    }
  EXPECT_TRUE(dialog_script::transcript().empty());
}

TEST_F(CriticalValueFiles, ASmallSystemReadsTheLastRecordsAndMissingOnesStayMissing) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zv_critical_values";
  std::filesystem::create_directories(folder);
  use_folder(folder);
  {
    std::ofstream file(folder / "CR1MX3.ASC");
    for (int k = 12; k >= 1; --k) file << k << "  " << 10 * k + 0.5 << "  " << 10 * k + 0.9 << "\n";
    std::ofstream shorter(folder / "CR1TR3.ASC");
    for (int k = 12; k >= 2; --k) shorter << k << " " << k << " " << k + 0.5 << "\n";
    std::ofstream broken(folder / "CR2TR3.ASC");
    for (int k = 12; k >= 3; --k) broken << k << " " << k << " " << k + 0.5 << "\n";
    broken << "2 x y\n1 1 1.5\n";
  }
  // m = 3 skips nine records: k = 3, 2, 1 come from records 10 to 12.
  const CriticalValues three = read_critical_values(1, 3, Stat::kMaxEigenvalue, 3);
  EXPECT_EQ(three.cv90[2], 30.5);
  EXPECT_EQ(three.cv95[0], 10.9);
  EXPECT_EQ(three.cv95[3], limits::kMissing);
  // A record short of the end, and an unreadable one, leave the rest missing.
  const CriticalValues shorter = read_critical_values(1, 3, Stat::kTrace, 3);
  EXPECT_EQ(shorter.cv95[2], 3.5);
  EXPECT_EQ(shorter.cv95[1], 2.5);
  EXPECT_EQ(shorter.cv95[0], limits::kMissing);
  const CriticalValues broken = read_critical_values(2, 3, Stat::kTrace, 3);
  EXPECT_EQ(broken.cv95[2], 3.5);
  EXPECT_EQ(broken.cv90[1], limits::kMissing);
  EXPECT_EQ(broken.cv90[0], limits::kMissing);
  EXPECT_TRUE(dialog_script::transcript().empty());
  // A file that is not there: the opener says so and nothing is read.
  const CriticalValues none = read_critical_values(5, 3, Stat::kTrace, 3);
  EXPECT_EQ(none.cv95[0], limits::kMissing);
  EXPECT_EQ(dialog_script::transcript().back(),
            "message error 0 The file CR5TR3.ASC is missing or corrupt. Unable to proceed.");
  std::filesystem::remove_all(folder);
}

TEST_F(CriticalValueFiles, AFileReadWholeIsKeptUntilTheEngineIsReset) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zv_critical_values_kept";
  std::filesystem::create_directories(folder);
  use_folder(folder);
  const auto write = [&](int last_k, double shift) {
    std::ofstream file(folder / "CR0MX2.ASC");
    for (int k = 12; k >= last_k; --k) file << k << " " << k + shift << " " << k + shift + 0.5 << "\n";
  };
  // A short read is not kept: the completed file is read again.
  write(2, 0.0);
  EXPECT_EQ(read_critical_values(0, 2, Stat::kMaxEigenvalue, 2).cv95[0], limits::kMissing);
  write(1, 0.0);
  EXPECT_EQ(read_critical_values(0, 2, Stat::kMaxEigenvalue, 2).cv95[0], 1.5);
  // A whole read is kept for the same folder, file and size; another size reads the file.
  write(1, 100.0);
  EXPECT_EQ(read_critical_values(0, 2, Stat::kMaxEigenvalue, 2).cv95[0], 1.5);
  EXPECT_EQ(read_critical_values(0, 2, Stat::kMaxEigenvalue, 3).cv95[0], 101.5);
  core::reset_engine_state();
  use_folder(folder);
  EXPECT_EQ(read_critical_values(0, 2, Stat::kMaxEigenvalue, 2).cv95[0], 101.5);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qorv::multi
