// Help: short topics by context number, read from the help file "zelvorin.hlp" that ships
// beside the library, shown in a help window that stays usable over modal forms.
//
// The help file is plain text. A line "@<number> <title>" starts a topic; the lines up to
// the next such line are its text, where an empty line separates paragraphs. Lines that
// start with "#" before the first topic are comments.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qtshared::help {

struct Topic {
  int context = 0;     ///< the context number the forms and menus ask for
  std::string title;   ///< shown in the window's caption and as the heading
  std::string text;    ///< paragraphs separated by empty lines
};

/// The help file: "zelvorin.hlp" in the folder of this library (or of the program it is
/// linked into), unless `set_file` named another.
std::filesystem::path file();
void set_file(const std::filesystem::path& path);

/// The topic of a context number, read from the help file; none when the file or the
/// topic is missing.
std::optional<Topic> find_topic(int context);

/// Every topic of the help file in its order (none when the file is missing).
std::vector<Topic> all_topics();

/// Shows the topic of `context` in the help window (a short notice when the help file has
/// no such topic). Context 0 shows nothing.
void show_topic(int context);

/// The context of the topic shown last (0 when none was asked for).
int last_topic();

}  // namespace qtshared::help
