#include "shared/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;
using atomic_file::Durability;
using atomic_file::Failure;

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class AtomicFile : public ::testing::TestWithParam<Durability> {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("zv atomic file " + std::to_string(::getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

// A durable file and a scratch file are replaced the same way: whole, with the old file's
// permission bits, and nothing else left in the folder.
TEST_P(AtomicFile, ReplacesTheFileWholeAndKeepsItsBits) {
  const fs::path target = folder_ / "E$.TTT";
  std::ofstream(target) << "old contents that are longer than the new ones\n";
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  const atomic_file::Outcome outcome = atomic_file::replace(target, "new\n", GetParam());
  EXPECT_EQ(outcome.failure, Failure::kNone);
  EXPECT_EQ(contents(target), "new\n");
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_P(AtomicFile, AFolderThatIsNotThereLeavesNothingBehind) {
  const atomic_file::Outcome outcome = atomic_file::replace(folder_ / "missing" / "E$.TTT", "new\n", GetParam());
  EXPECT_EQ(outcome.failure, Failure::kCreate);
  EXPECT_FALSE(outcome.system_message.empty());
  EXPECT_TRUE(fs::is_empty(folder_));
}

INSTANTIATE_TEST_SUITE_P(BothDurabilities, AtomicFile, ::testing::Values(Durability::kDurable, Durability::kScratch));

}  // namespace
