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

#include "shared/qorv_api.h"

namespace {

std::set<std::string> defined_dynamic_symbols(const std::string& library) {
  const std::string command = "nm -D --defined-only '" + library + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::set<std::string> names;
  if (!pipe) return names;
  char line[1024];
  while (std::fgets(line, sizeof line, pipe.get()) != nullptr) {
    std::istringstream in(line);
    std::string address, type, name;
    if (in >> address >> type >> name) names.insert(name.substr(0, name.find('@')));
  }
  return names;
}

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

TEST(QorvLibrary, ExportsNothingElse) {
  const std::set<std::string> expected(std::begin(qorv_api::kExportNames),
                                       std::end(qorv_api::kExportNames));
  EXPECT_EQ(defined_dynamic_symbols(QORV_LIBRARY_PATH), expected);
}

}  // namespace
