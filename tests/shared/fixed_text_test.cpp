#include "shared/fixed_text.h"

#include <gtest/gtest.h>

#include "shared/temp_files.h"

namespace {

TEST(FixedText, Conversions) {
  EXPECT_EQ(fixed_text::from_fixed("  Title  ", 9), "  Title");
  EXPECT_EQ(fixed_text::from_fixed("ab\0\0", 4), "ab");
  EXPECT_EQ(fixed_text::from_fixed_answer(" default", 8), "");  // a leading blank empties it
  EXPECT_EQ(fixed_text::from_fixed_answer("x.dat   ", 8), "x.dat");
  EXPECT_EQ(fixed_text::from_fixed("abc", -2), "");
  char out[6];
  fixed_text::to_fixed("abcdefgh", out, 6);
  EXPECT_EQ(std::string(out, 6), "abcdef");
  fixed_text::to_fixed("ab", out, 6);
  EXPECT_EQ(std::string(out, 6), "ab    ");
  const auto items = fixed_text::split_items("1. A2. B", 4, 2);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1], "2. B");
  EXPECT_EQ(fixed_text::join_items(items, 5, 3), "1. A 2. B      ");
}

TEST(TempFiles, PlotNamesArePlainDecimal) {
  EXPECT_EQ(temp_files::plot_file_name(9), "plot9.$$$");
  EXPECT_EQ(temp_files::plot_file_name(10), "plot10.$$$");
  EXPECT_EQ(temp_files::plot_file_name(100), "plot100.$$$");
}

TEST(TempFiles, UnusableConfiguredFolderFallsBackToAPrivateOne) {
  const auto chosen = temp_files::resolve_temp_folder("/no/such/folder/anywhere");
  EXPECT_TRUE(chosen.configured_unusable);
  EXPECT_TRUE(temp_files::folder_is_writable(chosen.folder));
  const auto fine = temp_files::resolve_temp_folder(chosen.folder.string());
  EXPECT_FALSE(fine.configured_unusable);
  EXPECT_EQ(fine.folder, chosen.folder);
  EXPECT_EQ(temp_files::folder_text("/a b/c"), "/a b/c/");
}

}  // namespace
