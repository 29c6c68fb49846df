// Read-only files the engine needs beside the program (the critical-value tables of the
// cointegration tests), found in the program's folder or the installation's data folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace qorv::data {

/// The folders searched, in order: the program's folder (character setting 5), then the
/// data folder fixed when the program was installed.
std::vector<std::filesystem::path> support_folders();

/// The first readable file called `name` in `support_folders()`; empty when none.
std::optional<std::filesystem::path> find_support_file(std::string_view name);

/// Opens the support file `name` for reading on channel `unit`. When no folder holds a
/// readable copy, shows the error box "The file NAME is missing or corrupt. Unable to
/// proceed." and returns false.
bool OPENSUPPORTFILE(std::string_view name, int unit);

}  // namespace qorv::data
