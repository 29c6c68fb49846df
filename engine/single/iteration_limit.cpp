#include "engine/single/iteration_limit.h"

#include <string>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/menu_system.h"

namespace qorv::single {

void ITERATIONLIMIT(int& limit, bool permitted, bool& abandon, bool& print, int increment) {
  abandon = false;
  print = false;
  if (!permitted) {
    abandon = true;
    return;
  }
  const std::vector<std::string> rows = {
      "No convergence after " + std::to_string(limit) + " iterations",
      "Abandon estimation",
      "Print non-convergent results",
      "Increase the number of iterations by " + std::to_string(increment),
  };
  int choice = 2;
  int menu_number = 0;
  core::SHOWMENU(rows, 0, 2, choice, menu_number);
  if (choice == 1) {
    print = true;
  } else if (choice == 2) {
    limit += increment;
    core::SHOWCALCULATING();
  } else {
    abandon = true;
  }
}

}  // namespace qorv::single
