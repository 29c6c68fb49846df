#include "engine/diagnostics/post_regression_menus.h"

#include "engine/core/menu_system.h"
#include "engine/single/method_table.h"

namespace qorv::diagnostics {

namespace {

constexpr int kPostRegressionMenu = 1002;
constexpr int kResidualsMenu = 1037;
constexpr std::size_t kPlainResidualOptions = 8;  ///< options 0..7
constexpr std::size_t kHistogramOption = 5;

}  // namespace

int POSTREGMENU(int& choice, int method_code) {
  core::MenuTable menu = *core::find_menu_table(kPostRegressionMenu);
  const std::string_view leave = single::method_row(method_code).post_menu_leave;
  if (!leave.empty()) menu.options[0] = leave;
  return core::show_menu_table(menu, choice);
}

int RESIDMENU(int& choice, int method_code) {
  core::MenuTable menu = *core::find_menu_table(kResidualsMenu);
  if (single::method_row(method_code).garch_residual_options) {
    menu.options[kHistogramOption] = "Plot the histogram of scaled residuals";
  } else {
    menu.options.resize(kPlainResidualOptions);
  }
  return core::show_menu_table(menu, choice);
}

}  // namespace qorv::diagnostics
