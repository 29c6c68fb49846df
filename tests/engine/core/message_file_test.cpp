// The shipped message file: every explanation the engine refers to is there, and the
// wrappers show it from the program folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/message_lines.h"
#include "engine/core/workspace.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;
namespace fs = std::filesystem;

class ShippedMessageFileTest : public qorv::testing::EngineTest {};

std::vector<std::string> shipped_lines() {
  std::ifstream in(qorv::testing::program_folder() / "ERROR4.ZQT", std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

/// Every line first..last exists, holds text and fits 80 columns.
void expect_lines(const std::vector<std::string>& file, int first, int last, const std::string& where) {
  ASSERT_LE(first, last) << where;
  for (int n = first; n <= last; ++n) {
    ASSERT_LE(n, static_cast<int>(file.size())) << where << ": line " << n << " missing";
    const std::string& text = file[static_cast<std::size_t>(n - 1)];
    EXPECT_NE(text.find_first_not_of(' '), std::string::npos) << where << ": line " << n << " is blank";
    EXPECT_LE(text.size(), 80u) << where << ": line " << n;
    EXPECT_EQ(text.find('\r'), std::string::npos) << where << ": line " << n;
  }
}

TEST_F(ShippedMessageFileTest, HoldsEveryNamedExplanation) {
  const std::vector<std::string> file = shipped_lines();
  ASSERT_FALSE(file.empty()) << "no message file in " << qorv::testing::program_folder();
  for (const MessageLines& m : msg::kAll)
    expect_lines(file, m.first, m.last, "lines " + std::to_string(m.first) + "-" + std::to_string(m.last));
}

TEST_F(ShippedMessageFileTest, HoldsEveryLineTheSourceShows) {
  const std::vector<std::string> file = shipped_lines();
  const std::regex call(R"(SHOWMSG(?:FILE|LINES)\s*\(\s*(\d+)\s*,\s*(\d+)\s*\))");
  int calls = 0;
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(ZV_SOURCE_DIR) / "engine")) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".cpp" && ext != ".h") continue;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    const std::string source = text.str();
    for (std::sregex_iterator it(source.begin(), source.end(), call), end; it != end; ++it, ++calls)
      expect_lines(file, std::stoi((*it)[1]), std::stoi((*it)[2]), entry.path().filename().string());
  }
  SUCCEED() << calls << " literal calls checked";
}

TEST_F(ShippedMessageFileTest, ShownFromTheProgramFolder) {
  SHOWMSGFILE(msg::kNoVariables);
  SHOWMSGFILE(msg::kExactFit);
  const std::vector<std::string> file = shipped_lines();
  const auto& t = dialog_script::transcript();
  ASSERT_EQ(t.size(), 6u);
  EXPECT_EQ(t[0], "message information 0 " + file[0]);
  EXPECT_EQ(t[1], "message long");
  EXPECT_EQ(t[2], "  " + file[5]);
  EXPECT_EQ(t[5], "  " + file[8]);
}

}  // namespace
