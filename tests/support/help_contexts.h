// The help contexts the code asks for, gathered from the source files, and the topics of
// the help file that ships with the program: every context in use must have a topic.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace zv_test::help_contexts {

/// The context numbers of the help file's topics (its "@<number> <title>" lines).
inline std::set<int> help_file_topics() {
  std::ifstream in(std::filesystem::path(ZV_SOURCE_DIR) / "dialogs" / "help" / "zelvorin.hlp");
  std::set<int> topics;
  std::string line;
  while (std::getline(in, line))
    if (line.size() > 1 && line.front() == '@') topics.insert(std::atoi(line.c_str() + 1));
  return topics;
}

/// Each context in use, with where it was found.
using Uses = std::map<int, std::set<std::string>>;

/// A pattern of the sources whose first group is a number, and what that number means as a
/// help context (0: none).
struct Rule {
  std::string name;
  std::string pattern;
  std::function<int(int)> context;
};

/// Applies `rules` to every .cpp and .h file under the source folders `folders`, adding
/// what they find to `uses`. A rule that finds nothing fails the test: the code it was made
/// for has changed shape, and the contexts there would go unseen.
inline void scan_sources(const std::vector<std::string>& folders, const std::vector<Rule>& rules, Uses& uses) {
  std::vector<std::pair<std::filesystem::path, std::string>> files;
  for (const std::string& folder : folders)
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::filesystem::path(ZV_SOURCE_DIR) / folder)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      files.emplace_back(std::filesystem::relative(entry.path(), ZV_SOURCE_DIR), text.str());
    }
  for (const Rule& rule : rules) {
    const std::regex pattern(rule.pattern);
    int matches = 0;
    for (const auto& [path, text] : files)
      for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it) {
        ++matches;
        const std::string number = (*it)[1].str();
        if (number.empty()) continue;
        const int context = rule.context(std::stoi(number));
        if (context != 0) uses[context].insert(path.string() + " (" + rule.name + ")");
      }
    EXPECT_GT(matches, 0) << "no help context found by the rule " << rule.name;
  }
}

/// Fails for every context of `uses` that has no topic in the help file.
inline void expect_topics(const Uses& uses) {
  const std::set<int> topics = help_file_topics();
  ASSERT_FALSE(topics.empty()) << "the help file is missing";
  for (const auto& [context, where] : uses) {
    std::string places;
    for (const std::string& w : where) places += "\n  " + w;
    EXPECT_TRUE(topics.count(context) == 1) << "no help topic " << context << " for" << places;
  }
}

/// The number itself, for rules that find help contexts.
inline int as_is(int number) { return number; }
/// A menu number's help context.
inline int menu_topic(int number) { return number == 0 ? 0 : number + 1000; }

}  // namespace zv_test::help_contexts
