// The names a shared library exports: its defined dynamic symbols, as nm lists them.
#pragma once

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace zv_testing {

inline std::set<std::string> defined_dynamic_symbols(const std::string& library) {
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

}  // namespace zv_testing
