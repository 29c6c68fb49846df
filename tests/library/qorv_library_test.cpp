// libqorv.so loaded as the main program loads it: the eight exports are there, unmangled,
// and nothing else is exported. The dialog exports come from the scripted stand-in that
// this executable carries.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include "shared/qorv_api.h"
#include "tests/library/dynamic_symbols.h"

namespace {

using zv_testing::defined_dynamic_symbols;

TEST(QorvLibrary, LoadsAndExportsTheEightRoutines) {
  void* handle = dlopen(QORV_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  for (const char* name : qorv_api::kExportNames) EXPECT_NE(dlsym(handle, name), nullptr) << name;

  // A round trip through the loaded library.
  using RegisterInt = void (*)(const int32_t*, const int16_t*);
  using RetrieveInt = void (*)(int32_t*, const int16_t*);
  auto reg = reinterpret_cast<RegisterInt>(dlsym(handle, "REGISTERINT"));
  auto ret = reinterpret_cast<RetrieveInt>(dlsym(handle, "RETRIEVEINT"));
  const int32_t value = 42;
  const int16_t slot = 6;
  int32_t back = 0;
  reg(&value, &slot);
  ret(&back, &slot);
  EXPECT_EQ(back, 42);
  dlclose(handle);
}

TEST(QorvLibrary, LoadsARegisteredDataSet) {
  // The main program's order for a ZVD file it has read: the shape, the values, the names,
  // the file name, the kind, then request 1.
  void* handle = dlopen(QORV_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  const auto reg = reinterpret_cast<void (*)(const int32_t*, const int16_t*)>(dlsym(handle, "REGISTERINT"));
  const auto ret = reinterpret_cast<void (*)(int32_t*, const int16_t*)>(dlsym(handle, "RETRIEVEINT"));
  const auto data = reinterpret_cast<void (*)(const double*, const int16_t*, const int16_t*, const int16_t*)>(
      dlsym(handle, "REGISTERDATA"));
  const auto vars = reinterpret_cast<void (*)(const char*, const char*, const int16_t*, const int16_t*,
                                              const int16_t*)>(dlsym(handle, "REGISTERVARS"));
  const auto text = reinterpret_cast<void (*)(const char*, const int16_t*, const int16_t*)>(dlsym(handle, "REGISTERCHAR"));
  const auto driver = reinterpret_cast<void (*)(int16_t*)>(dlsym(handle, "DRIVER"));
  const auto set = [&](int16_t slot, int32_t value) { reg(&value, &slot); };
  const auto get = [&](int16_t slot) {
    int32_t value = 0;
    ret(&value, &slot);
    return value;
  };
  const auto load = [&](const char* second_name) {
    for (const auto& [slot, value] : {std::pair<int16_t, int32_t>{8, 3}, {4, 2}, {7, 2}, {20, 1}, {12, 1990}, {13, 0}, {14, 0}})
      set(slot, value);
    const double values[6] = {1, 2, 3, 4, 5, 6};
    const int16_t flag = 0, nobs = 3, nvars = 2;
    data(values, &flag, &nobs, &nvars);
    const int16_t one = 1, two = 2, name_len = 1, desc_len = 0;
    vars("X", "", &one, &name_len, &desc_len);
    vars(second_name, "", &two, &name_len, &desc_len);
    const int16_t file_len = 10, code = 1;
    text("sample.zvd", &file_len, &code);
    set(1, 3);
    int16_t request = 1;
    driver(&request);
    return request;
  };
  EXPECT_EQ(load("Y"), 0);
  EXPECT_EQ(get(21), 1);
  EXPECT_EQ(get(22), 3);
  EXPECT_EQ(load("X"), -1);  // a name twice: refused with its box
  dlclose(handle);
}

TEST(QorvLibrary, ExportsNothingElse) {
  const std::set<std::string> expected(std::begin(qorv_api::kExportNames),
                                       std::end(qorv_api::kExportNames));
  EXPECT_EQ(defined_dynamic_symbols(QORV_LIBRARY_PATH), expected);
}

}  // namespace
