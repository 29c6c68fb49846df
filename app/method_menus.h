// The Univariate and Multivariate menus: their items, the method and option each item
// chooses, and the caption the estimation window shows for it.
#pragma once

#include <QString>

#include <span>

namespace zelvorin {

enum class MethodMenu { kUnivariate, kMultivariate };

/// One item of a method menu.
struct MethodItem {
  const char* group;        ///< caption of the submenu holding the item; nullptr at top level
  int group_help;           ///< help context of that submenu
  const char* caption;      ///< the item's caption, with its accelerator
  int tag;                  ///< method and option, coded as in `method_of_tag`
  int help;                 ///< help context the estimation window takes
};

/// The items of `menu` in menu order; the items of one submenu stand together.
std::span<const MethodItem> method_items(MethodMenu menu);

/// Help context of the menu itself (2039 Univariate, 2032 Multivariate).
int method_menu_help(MethodMenu menu);

/// Method index and option index that an item's Tag selects (both from 0).
struct MethodChoice {
  int method;  ///< (Tag - 1) div 10 - 1
  int option;  ///< (Tag - 1) mod 10
};
MethodChoice method_of_tag(int tag);

/// The estimation window's status text for `item`: "Linear regression  - Ordinary Least
/// Squares" inside a submenu, the item's own caption without its accelerator at top level.
QString method_caption(MethodMenu menu, const MethodItem& item);

}  // namespace zelvorin
