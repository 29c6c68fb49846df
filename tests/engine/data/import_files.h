// Reading the data-file corpus of these tests.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/channels.h"
#include "engine/data/text_records.h"

namespace qorv::data::testing {

/// Path of a corpus file under tests/engine/data/files.
inline std::string corpus(const std::string& name) {
  return std::string(ZV_SOURCE_DIR) + "/tests/engine/data/files/" + name;
}

/// The records of `path`, read through the data-input channel as the importers read them.
inline std::vector<std::string> records_of(const std::string& path) {
  EXPECT_TRUE(core::open_channel(core::channel::kDataInput, path, core::OpenMode::kOld)) << path;
  auto records = read_all_records(core::channel::kDataInput);
  core::close_channel(core::channel::kDataInput);
  EXPECT_TRUE(records.has_value()) << path;
  return records.value_or(std::vector<std::string>{});
}

}  // namespace qorv::data::testing
