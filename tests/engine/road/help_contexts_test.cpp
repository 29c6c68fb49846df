// Every help context the engine passes with a dialog has a topic in the help file: the
// menus (number + 1000), the editor's help kinds, the value grids and the questions.
#include <gtest/gtest.h>

#include "engine/core/initial_values.h"
#include "engine/core/menu_system.h"
#include "engine/core/screen_editor.h"
#include "engine/core/spec_panels.h"
#include "engine/multi/restriction_editor.h"
#include "tests/support/help_contexts.h"

using namespace qorv;
namespace help = zv_test::help_contexts;

namespace {

TEST(HelpContexts, EveryContextTheEngineUsesHasATopic) {
  help::Uses uses;
  // The tables and mappings the engine looks its contexts up in.
  for (const int number : core::menu_table_numbers()) uses[help::menu_topic(number)].insert("menu table");
  for (int kind = 0; kind <= 300; ++kind)
    for (int sub_kind = -1; sub_kind <= 5; ++sub_kind)
      if (const int context = core::editor_help_context(core::spec_help_kind(kind, sub_kind)); context != 0)
        uses[context].insert("specification editor, kind " + std::to_string(kind));
  for (int kind = 0; kind <= 5; ++kind)
    uses[core::initial_values_help(kind)].insert("initial values, kind " + std::to_string(kind));
  using diagnostics::RestrictionKind;
  for (const RestrictionKind kind : {RestrictionKind::kHomogeneous, RestrictionKind::kFixedVectors,
                                     RestrictionKind::kGeneral, RestrictionKind::kSure})
    for (int choice = 0; choice <= 7; ++choice)
      uses[core::editor_help_context(multi::restriction_help_kind(kind, choice))].insert("restriction editor");

  // Menus and contexts written where they are used.
  const auto editor = [](int kind) { return core::editor_help_context(kind); };
  help::scan_sources(
      {"engine"},
      {
          {"menu table", R"(MenuTable\s+\w+\s*\{\s*(\d+)\s*,)", help::menu_topic},
          {"menu number", R"(\b(?:menu_)?number\s*=\s*(\d{4})\s*;)", help::menu_topic},
          {"menu constant", R"(constexpr\s+int\s+k\w*Menu\s*=\s*(\d+)\s*;)", help::menu_topic},
          {"help constant", R"(constexpr\s+int\s+k\w*Help\s*=\s*(\d+)\s*;)", help::as_is},
          {"editor help kind", R"(constexpr\s+int\s+k\w*HelpKind\s*=\s*(\d+)\s*;)", editor},
          {"editor call", R"(SCREENEDITOR\([^;"]*"\w+"\s*,\s*(\d+)\s*[,)])", editor},
          {"editor call, either kind", R"(SCREENEDITOR\([^;"]*"\w+"\s*,[^;?]*\?\s*(\d+)\s*:)", editor},
          {"editor call, or kind", R"(SCREENEDITOR\([^;"]*"\w+"\s*,[^;?]*\?\s*\d+\s*:\s*(\d+)\s*\))", editor},
      },
      uses);
  help::expect_topics(uses);
}

}  // namespace
