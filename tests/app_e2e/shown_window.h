// The main window as the end-to-end tests start it: a private settings folder, shown at
// 1000 x 700, with a data file of the reference folder read as the user reads it.
#pragma once

#include <QString>

#include "app/main_window.h"
#include "tests/app/app_test_support.h"
#include "tests/app_e2e/engine_forms.h"

namespace e2e {

struct ShownWindow {
  ShownWindow() {
    window.resize(1000, 700);
    window.show();
  }
  /// Reads `file` of the reference folder ("var/data.csv").
  ::testing::AssertionResult open_reference(const char* file) {
    return open_text_data(window, QString(ZV_REFERENCE_DIR) + "/" + file);
  }
  zelvorin::testing::TestHome home;
  zelvorin::MainWindow window{home.ini()};
};

}  // namespace e2e
