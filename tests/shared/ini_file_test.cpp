// The settings file: keys in any case, values as written, unknown lines kept on rewrite.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "shared/ini_file.h"
#include "shared/settings.h"

namespace {

namespace fs = std::filesystem;

fs::path write_temp(const std::string& name, const std::string& text) {
  const fs::path dir = fs::temp_directory_path() / ("ini-test-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path path = dir / name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

std::string read_all(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

const std::string kSample =
    "; written by hand\n"
    "[Directories]\n"
    "Tempdir=C:\\TEMP\\\n"
    "Workdir = /home/ann/data \n"
    "[user]\n"
    "UserName=Smith, J\n"
    "NumLines=abc\n"
    "Colour=blue\n"
    "[Fonts]\n"
    "Fixedfontname=DejaVu Sans Mono\n"
    "Fixedfontbold=TRUE\n";

TEST(IniFile, KeysInAnyCaseAndValuesAsWritten) {
  const ini::IniFile f = ini::IniFile::load(write_temp("a.ini", kSample));
  EXPECT_EQ(f.get_string("Directories", "TempDir"), "C:\\TEMP\\");
  EXPECT_EQ(f.get_string("DIRECTORIES", "workdir"), "/home/ann/data");
  EXPECT_EQ(f.get_string("User", "username"), "Smith, J");
  EXPECT_EQ(f.get_string("User", "Missing", "dflt"), "dflt");
  EXPECT_EQ(f.get_int("User", "NumLines", 60), 60);
  EXPECT_FALSE(f.find("Fonts", "Tempdir").has_value());  // keys belong to their section

  const settings::Printing p = settings::printing(f);
  EXPECT_EQ(p.lines_per_page, 60);
  EXPECT_EQ(p.user_name, "Smith, J");
  EXPECT_TRUE(p.page_numbers);
  const settings::Font fixed = settings::fixed_font(f);
  EXPECT_EQ(fixed.name, "DejaVu Sans Mono");
  EXPECT_TRUE(fixed.bold);
  EXPECT_EQ(fixed.size, 10);
  EXPECT_EQ(settings::main_font(f).name, "MS Sans Serif");
}

TEST(IniFile, RewriteChangesOnlyTheTouchedKeys) {
  const fs::path path = write_temp("b.ini", kSample);
  ini::IniFile f = ini::IniFile::load(path);
  f.set_string("directories", "TEMPDIR", "/tmp/z z/");
  f.set_int("User", "NumLines", 55);
  f.set_bool("Graphics", "Patterns", true);
  EXPECT_TRUE(f.erase("USER", "colour"));
  EXPECT_FALSE(f.erase("User", "Colour"));  // gone
  ASSERT_TRUE(f.save());
  EXPECT_EQ(read_all(path),
            "; written by hand\n"
            "[Directories]\n"
            "Tempdir=/tmp/z z/\n"
            "Workdir = /home/ann/data \n"
            "[user]\n"
            "UserName=Smith, J\n"
            "NumLines=55\n"
            "[Fonts]\n"
            "Fixedfontname=DejaVu Sans Mono\n"
            "Fixedfontbold=TRUE\n"
            "\n"
            "[Graphics]\n"
            "Patterns=1\n");
  // No temporary file is left beside it.
  int files = 0;
  for (const auto& e : fs::directory_iterator(path.parent_path()))
    files += e.path().filename().string().rfind(".b.ini", 0) == 0;
  EXPECT_EQ(files, 0);
}

TEST(IniFile, CrLfAndByteOrderMarkReadLikeThePlainFile) {
  const ini::IniFile f =
      ini::IniFile::load(write_temp("c.ini", "\xEF\xBB\xBF[User]\r\nPageNums=0\r\nNumLines=-3\r\n"));
  const settings::Printing p = settings::printing(f);
  EXPECT_FALSE(p.page_numbers);
  EXPECT_EQ(p.lines_per_page, 60);
}

// A line end doubled by a second conversion ("\r\r\n") once left a carriage return at the
// end of the value, which a rewrite then dropped: the file changed on every save.
TEST(IniFile, DoubledCarriageReturnsEndTheLine) {
  const ini::IniFile f = ini::IniFile::parse("[Directories]\r\r\nTempDir=C:\\TEMP\\\r\r\n", "x.ini");
  EXPECT_EQ(f.find("directories", "tempdir"), "C:\\TEMP\\");
  EXPECT_EQ(f.text(), "[Directories]\nTempDir=C:\\TEMP\\\n");
  EXPECT_EQ(ini::IniFile::parse(f.text(), "x.ini").text(), f.text());
}

// A second byte-order mark once stayed at the head of the first line when the first was
// dropped, and went on the next save; one inside the file, where two files were joined,
// hid the section header after it.
TEST(IniFile, RepeatedByteOrderMarksAreDropped) {
  const ini::IniFile f = ini::IniFile::parse(
      "\xEF\xBB\xBF\xEF\xBB\xBFNumLines=50\n[User]\n\xEF\xBB\xBF[Other]\nA=1\n", "x.ini");
  EXPECT_EQ(f.text(), "NumLines=50\n[User]\n[Other]\nA=1\n");
  EXPECT_EQ(f.find("", "numlines"), "50");
  EXPECT_EQ(f.find("other", "a"), "1");
}

TEST(IniFile, LivesInTheConfigurationFolder) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old != nullptr ? old : "";
  ::setenv("XDG_CONFIG_HOME", "/x/cfg", 1);
  EXPECT_EQ(ini::default_path(), fs::path("/x/cfg/zelvorin.ini"));
  ::setenv("XDG_CONFIG_HOME", "relative", 1);
  EXPECT_EQ(ini::default_path(), fs::path(std::getenv("HOME")) / ".config" / "zelvorin.ini");
  if (old != nullptr) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1); else ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
