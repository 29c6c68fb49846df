#include "shared/dialog_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The folder file dialogs open in: the working folder until a file is known, then the
// folder of the last file opened, saved or chosen, as long as that folder exists.
TEST(DialogFolder, FollowsTheLastFileAndFallsBackOnTheWorkingFolder) {
  ::unsetenv(dialog_folder::kFolderVariable);
  EXPECT_EQ(dialog_folder::start(), fs::current_path());

  const fs::path base = fs::temp_directory_path() / ("dialog-folder-" + std::to_string(::getpid()));
  fs::create_directories(base / "data");
  fs::create_directories(base / "results");
  dialog_folder::remember_file(base / "data" / "macro.zvd");
  EXPECT_EQ(dialog_folder::start(), base / "data");
  dialog_folder::remember_file(base / "results" / "new.out");  // a file about to be written
  EXPECT_EQ(dialog_folder::start(), base / "results");

  // A file in a folder that does not exist changes nothing; a folder removed meanwhile
  // gives the working folder back.
  dialog_folder::remember_file(base / "missing" / "x.zvd");
  EXPECT_EQ(dialog_folder::start(), base / "results");
  fs::remove_all(base);
  EXPECT_EQ(dialog_folder::start(), fs::current_path());
  ::unsetenv(dialog_folder::kFolderVariable);
}

// A relative name (as a command line gives it) is remembered by its absolute folder, so
// a later change of the working folder does not move it.
TEST(DialogFolder, ARelativeNameIsRememberedAbsolute) {
  const fs::path before = fs::current_path();
  const fs::path base = fs::temp_directory_path() / ("dialog-folder-rel-" + std::to_string(::getpid()));
  fs::create_directories(base / "samples");
  fs::current_path(base);
  dialog_folder::remember_file("samples/usmacro.zvd");
  fs::current_path(before);
  EXPECT_EQ(dialog_folder::start(), base / "samples");
  fs::remove_all(base);
  ::unsetenv(dialog_folder::kFolderVariable);
}

}  // namespace
