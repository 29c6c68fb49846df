#include "tests/app/app_test_support.h"

#include <cstdlib>

namespace zelvorin::testing {

TestHome::TestHome() : path(dir.path().toStdString()) {
  setenv("XDG_CONFIG_HOME", (path / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (path / "data").c_str(), 1);
}

TestHome::~TestHome() {
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("XDG_DATA_HOME");
}

std::filesystem::path sample_folder() { return std::filesystem::path(ZV_SOURCE_DIR) / "samples"; }

DataShape quarters_from_1990(int nobs) {
  DataShape shape;
  shape.nobs = nobs;
  shape.frequency = 4;
  shape.start_year = 90;
  shape.century_base = 1900;
  derive_end(shape);
  return shape;
}

}  // namespace zelvorin::testing
