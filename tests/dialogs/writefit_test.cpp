// writefit: the engine's data saving writes a ZVD file through the dialog library.
#include <QLabel>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shared/pravel_api.h"
#include "shared/temp_files.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

using dialog_driver::child;
using dialog_driver::click;
using dialog_driver::DialogDriver;

std::string temp_dir() { return std::getenv(temp_files::kSessionFolderVariable); }

int32_t i32(const std::vector<unsigned char>& b, std::size_t at) {
  int32_t v;
  std::memcpy(&v, &b[at], 4);
  return v;
}

/// The engine's arrays: 4 quarterly variables of 25 observations from 1985Q2, names in
/// 14-byte and descriptions in 80-byte slots.
struct EngineArrays {
  std::string names, descs;
  std::vector<double> data;
  EngineArrays() {
    for (int v = 1; v <= 4; ++v) {
      std::string n = "X" + std::to_string(v), d = "Description of variable " + std::to_string(v);
      n.resize(14, ' ');
      d.resize(80, ' ');
      names += n;
      descs += d;
      for (int t = 1; t <= 25; ++t) data.push_back(v * 100.0 + t);
    }
  }
};

int16_t write(const EngineArrays& a, const std::string& file) {
  const int16_t nobs = 25, nvars = 4, freq = 4, ppy = 4, year = 85, period = 2, century = 1900,
                name_stride = 14, desc_stride = 80;
  const int16_t file_len = static_cast<int16_t>(file.size());
  int16_t status = -1;
  writefit(&nobs, &nvars, &freq, &ppy, &year, &period, &century, &name_stride, &desc_stride,
           &file_len, a.names.data(), a.descs.data(), file.data(), a.data.data(), &status);
  return status;
}

TEST(WriteFit, WritesTheZvdLayout) {
  const EngineArrays a;
  const std::string file = temp_dir() + "/saved.zvd";
  EXPECT_EQ(write(a, file), 0);
  std::ifstream in(file, std::ios::binary);
  const std::vector<unsigned char> b{std::istreambuf_iterator<char>(in), {}};
  // 1 header + 2 name records + 4 × 2 data records + 2 long-description records.
  ASSERT_EQ(b.size(), 13u * 160);
  const int32_t header[] = {25, 4, 4, 4, 85, 2, 1900};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(i32(b, 4 * static_cast<std::size_t>(i)), header[i]);
  EXPECT_EQ(std::string(b.begin() + 160 + 106, b.begin() + 160 + 106 + 14), "X3            ");
  EXPECT_EQ(std::string(b.begin() + 320, b.begin() + 320 + 14), "X4            ");  // record 2
  double last;
  std::memcpy(&last, &b[160 * (3 + 2 * 3 + 1) + 8 * 4], 8);  // variable 4, observation 25
  EXPECT_EQ(last, 425.0);
  // Description 4 is the second entry of the second long-description record.
  EXPECT_EQ(std::string(b.begin() + 160 * 12 + 80, b.begin() + 160 * 12 + 80 + 26),
            "Description of variable 4 ");
}

TEST(WriteFit, UnwritableTargetReportsFailure) {
  const EngineArrays a;
  DialogDriver driver;
  driver.then("messageBox", [](QWidget* box) {
    EXPECT_TRUE(child<QLabel>(box, "text")->text().startsWith("Could not save to this file\n"));
    click(box, "ok");
  });
  EXPECT_EQ(write(a, temp_dir() + "/no-such-folder/x.zvd"), 1);
  EXPECT_TRUE(driver.finish()) << driver.failure();
}

}  // namespace
