// The ZVD codec against files composed byte by byte in the test from the record layout.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shared/zvd_file.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

/// A file image of `records` zeroed 160-byte records, filled field by field.
struct Image {
  Bytes bytes;
  explicit Image(std::size_t records) : bytes(records * 160, 0) {}
  void i32(std::size_t at, int32_t v) { std::memcpy(&bytes[at], &v, 4); }  // x86-64: little-endian
  void f64(std::size_t at, double v) { std::memcpy(&bytes[at], &v, 8); }
  void text(std::size_t at, const std::string& s, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) bytes[at + i] = i < s.size() ? s[i] : ' ';
  }
  void header(int32_t nobs, int32_t nvars, int32_t freq, int32_t ppy, int32_t year,
              int32_t period, int32_t century) {
    const int32_t h[] = {nobs, nvars, freq, ppy, year, period, century};
    for (int i = 0; i < 7; ++i) i32(4 * static_cast<std::size_t>(i), h[i]);
  }
};

/// Quarterly data from 1985Q2: 3 variables of 20 observations, value 100·v + t.
/// 1 header + 1 name record + 3 data records + 2 long-description records.
Image three_by_twenty() {
  Image f(7);
  f.header(20, 3, 4, 4, 85, 2, 1900);
  const char* names[] = {"GDP", "CONS", "INV"};
  const std::string descs[] = {"Gross domestic product at constant prices (millions)",
                               "Consumption", "Investment, \xe9quipement"};
  for (std::size_t v = 0; v < 3; ++v) {
    f.text(160 + 53 * v, names[v], 14);
    f.text(160 + 53 * v + 14, descs[v].substr(0, std::min<std::size_t>(39, descs[v].size())), 39);
    for (std::size_t t = 0; t < 20; ++t) f.f64(320 + 160 * v + 8 * t, 100.0 * double(v + 1) + double(t + 1));
  }
  f.text(800, descs[0], 80);
  f.text(880, descs[1], 80);
  f.text(960, descs[2], 80);
  return f;
}

fs::path temp_folder() {
  const fs::path dir = fs::temp_directory_path() / ("zvd-test-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return dir;
}

Bytes file_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ZvdFile, HandMadeFileReadsAndIsRewrittenByteForByte) {
  const Image f = three_by_twenty();
  ASSERT_EQ(f.bytes.size(), 1120u);
  const zvd::ReadResult r = zvd::decode(f.bytes);
  ASSERT_EQ(r.error, zvd::ReadError::kNone);
  const zvd::DataSet& d = r.data_set;
  EXPECT_EQ(d.shape.nobs, 20);
  EXPECT_EQ(d.shape.nvars, 3);
  EXPECT_EQ(d.shape.frequency, 4);
  EXPECT_EQ(d.shape.start_year, 85);
  EXPECT_EQ(d.shape.start_period, 2);
  EXPECT_EQ(d.shape.century_base, 1900);
  EXPECT_EQ(d.names, (std::vector<std::string>{"GDP", "CONS", "INV"}));
  EXPECT_EQ(d.descriptions[0], "Gross domestic product at constant prices (millions)");
  EXPECT_EQ(d.descriptions[2], "Investment, \xe9quipement");  // one byte, kept
  EXPECT_TRUE(r.long_descriptions);
  EXPECT_EQ(d.data[0], 101.0);
  EXPECT_EQ(d.data[19], 120.0);
  EXPECT_EQ(d.data[2 * 20 + 4], 305.0);  // variable 3, observation 5

  EXPECT_EQ(zvd::encode(d), f.bytes);
  const fs::path path = temp_folder() / "three.zvd";
  ASSERT_TRUE(zvd::write_file(path, d).ok);
  EXPECT_EQ(file_bytes(path), f.bytes);
  EXPECT_EQ(zvd::read_file(path).data_set.data, d.data);
}

TEST(ZvdFile, PartialRecordsAndOddCounts) {
  // 4 variables of 25 annual observations from 1960: 2 name records (the second with one
  // entry), 2 data records a variable (the second with 5 values), 2 long-description
  // records, descriptions 3 and 4 in the second.
  Image f(1 + 2 + 8 + 2);
  f.header(25, 4, 2, 1, 1960, 0, 0);
  for (std::size_t v = 0; v < 4; ++v) {
    const std::string name = "X" + std::to_string(v + 1);
    f.text(160 * (1 + v / 3) + 53 * (v % 3), name, 14);
    f.text(160 * (1 + v / 3) + 53 * (v % 3) + 14, "long description of " + name, 39);
    for (std::size_t t = 0; t < 25; ++t)
      f.f64(160 * (3 + 2 * v + t / 20) + 8 * (t % 20), double(v) * 1000 + double(t));
    f.text(160 * 11 + 80 * v, "long description of " + name, 80);
  }
  const zvd::ReadResult r = zvd::decode(f.bytes);
  ASSERT_EQ(r.error, zvd::ReadError::kNone);
  EXPECT_EQ(r.data_set.names[3], "X4");
  EXPECT_EQ(r.data_set.descriptions[3], "long description of X4");
  EXPECT_EQ(r.data_set.data[3 * 25 + 24], 3024.0);
  // Annual data: the file's period 0 is the host's period 1, and is written back as 0.
  EXPECT_EQ(r.data_set.shape.start_year, 1960);
  EXPECT_EQ(r.data_set.shape.start_period, 1);
  EXPECT_EQ(zvd::encode(r.data_set), f.bytes);
}

TEST(ZvdFile, FileWithoutLongDescriptionsKeepsTheShortOnes) {
  Image f = three_by_twenty();
  Bytes cut(f.bytes.begin(), f.bytes.begin() + 5 * 160);
  zvd::ReadResult r = zvd::decode(cut);
  ASSERT_EQ(r.error, zvd::ReadError::kNone);
  EXPECT_FALSE(r.long_descriptions);
  EXPECT_EQ(r.data_set.descriptions[0], "Gross domestic product at constant pric");
  EXPECT_EQ(r.data_set.descriptions[0].size(), 39u);

  // One whole long-description record, then a piece of the next: the first two are read.
  cut.assign(f.bytes.begin(), f.bytes.begin() + 6 * 160 + 50);
  r = zvd::decode(cut);
  ASSERT_EQ(r.error, zvd::ReadError::kNone);
  EXPECT_EQ(r.data_set.descriptions[0], "Gross domestic product at constant prices (millions)");
  EXPECT_EQ(r.data_set.descriptions[2], "Investment, \xe9quipement");
}

TEST(ZvdFile, NulReadsAsBlankAndNonFiniteAsMissing) {
  Image f = three_by_twenty();
  std::memset(&f.bytes[160 + 3], 0, 11);   // "GDP" followed by NULs
  f.f64(320, std::numeric_limits<double>::quiet_NaN());
  const zvd::ReadResult r = zvd::decode(f.bytes);
  ASSERT_EQ(r.error, zvd::ReadError::kNone);
  EXPECT_EQ(r.data_set.names[0], "GDP");
  EXPECT_EQ(r.data_set.data[0], 8934567.0);
}

TEST(ZvdFile, ImpossibleHeadersAreRefused) {
  struct Case {
    const char* what;
    int32_t nobs, nvars, freq, ppy, year, period, century;
    zvd::ReadError error;
  };
  using E = zvd::ReadError;
  const Case cases[] = {
      {"no observations", 0, 3, 4, 4, 85, 2, 1900, E::kNotValid},
      {"negative variables", 20, -1, 4, 4, 85, 2, 1900, E::kNotValid},
      {"3101 observations", 3101, 1, 1, 1, 1, 0, 0, E::kTooManyObservations},
      {"201 variables", 10, 201, 1, 1, 1, 0, 0, E::kTooManyVariables},
      {"3100 x 41 values", 3100, 41, 1, 1, 1, 0, 0, E::kTooManyValues},
      {"unknown frequency", 20, 3, 9, 4, 85, 2, 1900, E::kNotValid},
      {"periods per year of another frequency", 20, 3, 4, 12, 85, 2, 1900, E::kNotValid},
      {"quarter 5", 20, 3, 4, 4, 85, 5, 1900, E::kNotValid},
      {"four-digit year of quarterly data", 20, 3, 4, 4, 1985, 2, 1900, E::kNotValid},
      {"century not a multiple of 100", 20, 3, 4, 4, 85, 2, 1950, E::kNotValid},
      // Years the program cannot date once read and overflowed the label arithmetic.
      {"annual year past 9999", 20, 3, 2, 1, 2147483647, 0, 0, E::kNotValid},
      {"negative annual year", 20, 3, 2, 1, -5, 0, 0, E::kNotValid},
      {"century past 9900", 20, 3, 4, 4, 85, 2, 2147483600, E::kNotValid},
  };
  const Image good = three_by_twenty();
  for (const Case& c : cases) {
    Image f = good;
    f.header(c.nobs, c.nvars, c.freq, c.ppy, c.year, c.period, c.century);
    const zvd::ReadResult r = zvd::decode(f.bytes);
    EXPECT_EQ(r.error, c.error) << c.what;
    EXPECT_TRUE(r.data_set.names.empty() && r.data_set.data.empty()) << c.what;
  }
  EXPECT_EQ(zvd::read_error_message(E::kTooManyObservations), "Too many observations!");
  EXPECT_EQ(zvd::read_error_message(E::kTooManyValues), "Too many observations/variables");
  EXPECT_EQ(zvd::read_error_message(E::kNotValid), "Not a valid ZVD file!");

  // Cut inside the data records, and shorter than a header.
  Bytes cut(good.bytes.begin(), good.bytes.begin() + 4 * 160 + 80);
  EXPECT_EQ(zvd::decode(cut).error, E::kNotValid);
  EXPECT_EQ(zvd::decode(Bytes(20, 0)).error, E::kNotValid);
}

TEST(ZvdFile, FullWorkspaceOf124000ValuesIsRead) {
  Image f(1 + 14 + 40 * 155);
  f.header(3100, 40, 1, 1, 1, 0, 0);
  f.f64(160 * 15 + 160 * (155 * 39 + 154) + 8 * 19, 42.0);  // last value of the last variable
  const zvd::ReadResult r = zvd::decode(f.bytes);
  ASSERT_EQ(r.error, zvd::ReadError::kNone);
  EXPECT_EQ(r.data_set.data.back(), 42.0);
  EXPECT_EQ(r.data_set.shape.start_year, 1);
}

TEST(ZvdFile, StartFieldsFromAFullYear) {
  zvd::Shape s;
  s.frequency = 4;
  s = zvd::start_from_full_year(s, 1985, 2);
  EXPECT_EQ(s.start_year, 85);
  EXPECT_EQ(s.start_period, 2);
  EXPECT_EQ(s.century_base, 1900);
  s.frequency = 2;
  s = zvd::start_from_full_year(s, 2003, 1);
  EXPECT_EQ(s.start_year, 2003);
  EXPECT_EQ(s.century_base, 0);
}

TEST(ZvdFile, FailedSaveLeavesTheOldFile) {
  const zvd::DataSet set = zvd::decode(three_by_twenty().bytes).data_set;
  // A target that cannot be replaced: the finished temporary file is removed again.
  const fs::path busy = temp_folder() / "busy";
  fs::create_directories(busy / "inside");
  EXPECT_FALSE(zvd::write_file(busy, set).ok);
  EXPECT_TRUE(fs::is_directory(busy / "inside"));
  for (const auto& entry : fs::directory_iterator(busy.parent_path()))
    EXPECT_EQ(entry.path().filename().string().find(".busy."), std::string::npos);
  EXPECT_FALSE(zvd::write_file(temp_folder() / "no-such-folder" / "x.zvd", set).ok);

  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  const fs::path dir = temp_folder() / "locked";
  fs::create_directories(dir);
  const fs::path path = dir / "old.zvd";
  { std::ofstream(path) << "old"; }
  ::chmod(dir.c_str(), 0500);
  const zvd::WriteResult w = zvd::write_file(path, set);
  ::chmod(dir.c_str(), 0700);
  EXPECT_FALSE(w.ok);
  EXPECT_FALSE(w.system_message.empty());
  EXPECT_EQ(zvd::write_error_message(w).rfind("Could not save to this file\n", 0), 0u);
  const Bytes old = file_bytes(path);
  EXPECT_EQ(std::string(old.begin(), old.end()), "old");
}

}  // namespace
