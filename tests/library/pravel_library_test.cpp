// libpravel.so as the engine loads it: it exports exactly the dialog routines, and the
// engine, linked against it, runs requests whose busy notices and dialogs go through it
// on the offscreen platform.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "shared/pravel_api.h"
#include "shared/qorv_api.h"
#include "tests/library/dynamic_symbols.h"

namespace {

using zv_testing::defined_dynamic_symbols;

TEST(PravelLibrary, ExportsExactlyTheDialogRoutines) {
  const std::set<std::string> expected(std::begin(pravel_api::kExportNames),
                                       std::end(pravel_api::kExportNames));
  ASSERT_EQ(expected.size(), 18u);
  EXPECT_EQ(defined_dynamic_symbols(PRAVEL_LIBRARY_PATH), expected);
}

TEST(PravelLibrary, EngineRunsRequestsThroughTheRealLibrary) {
  void* engine = dlopen(QORV_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(engine, nullptr) << dlerror();
  // The engine's dialog calls resolve to libpravel.so, loaded as its dependency.
  void* start_calc = dlsym(engine, "StartCalcP");
  ASSERT_NE(start_calc, nullptr);
  Dl_info info{};
  ASSERT_NE(dladdr(start_calc, &info), 0);
  EXPECT_NE(std::string(info.dli_fname).find("libpravel.so"), std::string::npos) << info.dli_fname;

  auto reg_int = reinterpret_cast<void (*)(const int32_t*, const int16_t*)>(dlsym(engine, "REGISTERINT"));
  auto reg_data = reinterpret_cast<void (*)(const double*, const int16_t*, const int16_t*,
                                            const int16_t*)>(dlsym(engine, "REGISTERDATA"));
  auto driver = reinterpret_cast<void (*)(int16_t*)>(dlsym(engine, "DRIVER"));
  auto ret_int = reinterpret_cast<void (*)(int32_t*, const int16_t*)>(dlsym(engine, "RETRIEVEINT"));
  ASSERT_TRUE(reg_int && reg_data && driver && ret_int);

  // The host's first registrations: a data set of 10 observations of 2 variables.
  const int32_t nobs = 10, nvars = 2;
  const int16_t slot_nobs = 8, slot_nvars = 4;
  reg_int(&nobs, &slot_nobs);
  reg_int(&nvars, &slot_nvars);
  std::vector<double> data(20, 1.5);
  const int16_t flag = 1, n = 10, k = 2;
  reg_data(data.data(), &flag, &n, &k);  // shows and ends the busy state through the library
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  // The request asks through the real forms: each one shown is closed, as a user
  // pressing Cancel would.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (QWidget* form = QApplication::activeModalWidget()) form->close();
  });
  closer.start(20);
  int16_t request = 3;
  driver(&request);
  closer.stop();
  EXPECT_EQ(request, 0);  // no plots kept
  int32_t capacity = 0;
  const int16_t slot_capacity = 23;
  ret_int(&capacity, &slot_capacity);
  EXPECT_EQ(capacity, 124000);
  dlclose(engine);
}

}  // namespace
