// Numbered channels and free-format records: what reaches the file, what comes back, and
// that a closed channel never creates one.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/core/channels.h"
#include "engine/core/engine_state.h"
#include "engine/core/list_directed.h"
#include "tests/support/engine/engine_fixture.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace qorv::core;

class ChannelsTest : public qorv::testing::EngineTest {
 protected:
  void TearDown() override {
    close_all_channels();
    EngineTest::TearDown();
  }

  fs::path file(const std::string& name) const { return dir_ / name; }

  static std::string bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static void put(const fs::path& p, const std::string& content) {
    std::ofstream(p, std::ios::binary) << content;
  }
  static std::vector<std::string> records(int unit) {
    std::vector<std::string> out;
    std::string r;
    while (read_record(unit, r) == ReadStatus::kOk) out.push_back(r);
    return out;
  }

  zv_test::ScratchFolder dir_{"zv-channels"};
};

TEST_F(ChannelsTest, RecordsKeepTrailingBlanksAndHighBytes) {
  const fs::path p = file("page.txt");
  ASSERT_TRUE(open_channel(57, p, OpenMode::kReplace));
  EXPECT_TRUE(write_record(57, " Caf\xE9   "));
  EXPECT_TRUE(write_record(57, ""));
  EXPECT_TRUE(write_record(57, std::string("A\0B", 3)));
  close_channel(57);
  EXPECT_EQ(bytes(p), std::string(" Caf\xE9   \n\nA\0B\n", 14));

  ASSERT_TRUE(open_channel(57, p, OpenMode::kOld));
  EXPECT_EQ(records(57), (std::vector<std::string>{" Caf\xE9   ", "", std::string("A\0B", 3)}));
}

TEST_F(ChannelsTest, CrlfWithByteOrderMarkReadsLikeItsLfTwin) {
  put(file("lf.txt"), "X Y \n1,2\n\nlast");
  put(file("crlf.txt"), "\xEF\xBB\xBFX Y \r\n1,2\r\n\r\nlast\r\n");
  ASSERT_TRUE(open_channel(8, file("lf.txt"), OpenMode::kOld));
  ASSERT_TRUE(open_channel(18, file("crlf.txt"), OpenMode::kOld));
  const std::vector<std::string> expected{"X Y ", "1,2", "", "last"};
  EXPECT_EQ(records(8), expected);
  EXPECT_EQ(records(18), expected);
  std::string r;
  EXPECT_EQ(read_record(18, r), ReadStatus::kEnd);
}

TEST_F(ChannelsTest, OpenModes) {
  const fs::path p = file("data.txt");
  EXPECT_FALSE(open_channel(9, p, OpenMode::kOld)) << "an absent file is not old";
  EXPECT_FALSE(channel_is_open(9));

  put(p, "old\n");
  EXPECT_FALSE(open_channel(9, p, OpenMode::kNew)) << "a present file is not new";
  EXPECT_EQ(bytes(p), "old\n");

  ASSERT_TRUE(open_channel(9, p, OpenMode::kAppend));
  write_record(9, "more");
  // Re-opening a channel closes (and keeps) what it had.
  ASSERT_TRUE(open_channel(9, file("other.txt"), OpenMode::kNew));
  EXPECT_EQ(bytes(p), "old\nmore\n");
  EXPECT_EQ(channel_path(9), file("other.txt"));

  ASSERT_TRUE(open_channel(10, p, OpenMode::kReplace));
  write_record(10, "new");
  close_channel(10, CloseMode::kKeep);
  EXPECT_EQ(bytes(p), "new\n");

  ASSERT_TRUE(open_channel(10, p, OpenMode::kOld));
  EXPECT_FALSE(write_record(10, "x")) << "a channel opened old is read only";
  close_channel(10, CloseMode::kDelete);
  EXPECT_FALSE(fs::exists(p));
  EXPECT_FALSE(channel_is_open(10));

  EXPECT_FALSE(open_channel(10, dir_ / "missing-folder" / "x.txt", OpenMode::kReplace));
}

TEST_F(ChannelsTest, SafeModesReplaceTheFileOnlyWhenComplete) {
  const fs::path p = file("saved.OUT");
  put(p, "old\n");
  ASSERT_TRUE(open_channel(10, p, OpenMode::kReplaceSafely));
  write_record(10, "new");
  EXPECT_EQ(bytes(p), "old\n") << "the old file stands while the new one is written";
  EXPECT_EQ(channel_path(10), p);
  EXPECT_TRUE(close_channel(10));
  EXPECT_EQ(bytes(p), "new\n");

  ASSERT_TRUE(open_channel(10, p, OpenMode::kAppendSafely));
  write_record(10, "more");
  EXPECT_TRUE(close_channel(10));
  EXPECT_EQ(bytes(p), "new\nmore\n");

  // Dropped records, or a reset, leave the file as it was.
  ASSERT_TRUE(open_channel(9, p, OpenMode::kReplaceSafely));
  write_record(9, "dropped");
  close_channel(9, CloseMode::kDelete);
  ASSERT_TRUE(open_channel(9, p, OpenMode::kReplaceSafely));
  write_record(9, "dropped");
  reset_engine_state();
  EXPECT_EQ(bytes(p), "new\nmore\n");
  EXPECT_EQ(fs::directory_iterator(dir_)->path(), p) << "no temporary file is left behind";

  EXPECT_FALSE(open_channel(9, dir_ / "missing-folder" / "x.OUT", OpenMode::kReplaceSafely));
  EXPECT_FALSE(channel_is_open(9));
}

TEST_F(ChannelsTest, ClosedChannelTakesNothingAndCreatesNoFile) {
  const fs::path panel = file("J$.TTT");
  ASSERT_TRUE(open_channel(55, panel, OpenMode::kReplace));
  close_channel(55, CloseMode::kDelete);

  const fs::path old_cwd = fs::current_path();
  fs::current_path(dir_);  // where a "fort.55" would appear
  EXPECT_FALSE(write_record(55, "lost"));
  EXPECT_FALSE(write_list(55, std::vector<ListValue>{1.0}));
  std::string r;
  EXPECT_EQ(read_record(55, r), ReadStatus::kError);
  fs::current_path(old_cwd);

  EXPECT_TRUE(fs::is_empty(dir_));
  EXPECT_TRUE(channel_path(55).empty());
}

TEST_F(ChannelsTest, ResetClosesEveryChannel) {
  ASSERT_TRUE(open_channel(57, file("a"), OpenMode::kReplace));
  ASSERT_TRUE(open_channel(58, file("b"), OpenMode::kReplace));
  qorv::core::reset_engine_state();
  EXPECT_FALSE(channel_is_open(57));
  EXPECT_FALSE(channel_is_open(58));
}

constexpr double kUnread = -77.0;  // what a null leaves in its target

struct ListCase {
  const char* text;
  int count;
  ListStatus status;
  int items;
  std::vector<double> values;  // the targets afterwards
};

void PrintTo(const ListCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class ListReadTable : public ::testing::TestWithParam<ListCase> {};

TEST_P(ListReadTable, ReadsOneStatement) {
  const ListCase& c = GetParam();
  std::vector<double> v(c.count, kUnread);
  const ListReadResult r = read_numbers(c.text, v);
  EXPECT_EQ(r.status, c.status);
  EXPECT_EQ(r.items, c.items);
  EXPECT_EQ(v, c.values);
}

const double U = kUnread;
INSTANTIATE_TEST_SUITE_P(
    Cases, ListReadTable,
    ::testing::Values(
        ListCase{"1 2\t3", 3, ListStatus::kOk, 3, {1, 2, 3}},
        ListCase{"1, 2 ,3 , 4", 4, ListStatus::kOk, 4, {1, 2, 3, 4}},
        ListCase{"1,,3", 3, ListStatus::kOk, 3, {1, U, 3}},
        ListCase{",2", 2, ListStatus::kOk, 2, {U, 2}},
        ListCase{"3*1.5 2* 4", 6, ListStatus::kOk, 6, {1.5, 1.5, 1.5, U, U, 4}},
        ListCase{"4*7", 2, ListStatus::kOk, 2, {7, 7}},
        ListCase{"1.5D3 -2.5d-2 1E2 2e-1 +.5 5. -7", 7, ListStatus::kOk, 7,
                 {1500, -0.025, 100, 0.2, 0.5, 5, -7}},
        ListCase{"1 2 / 9", 4, ListStatus::kOk, 2, {1, 2, U, U}},
        ListCase{"1\n2\r\n\n  3 4 5", 3, ListStatus::kOk, 3, {1, 2, 3}},
        ListCase{"1,\n,3", 3, ListStatus::kOk, 3, {1, U, 3}},
        ListCase{"1 2", 3, ListStatus::kEnd, 2, {1, 2, U}},
        ListCase{"", 1, ListStatus::kEnd, 0, {U}},
        ListCase{"1 x 3", 3, ListStatus::kError, 1, {1, U, U}},
        ListCase{"1.5.2", 1, ListStatus::kError, 0, {U}},
        ListCase{"+-1", 1, ListStatus::kError, 0, {U}},
        ListCase{"0*5", 1, ListStatus::kError, 0, {U}},
        ListCase{"1e400", 1, ListStatus::kError, 0, {U}},
        ListCase{"nan inf", 1, ListStatus::kError, 0, {U}},
        ListCase{"'1'", 1, ListStatus::kError, 0, {U}}));

TEST_F(ChannelsTest, EachStatementStartsANewRecordAndDropsTheRestOfItsLast) {
  put(file("in.dat"), "1 2\r\n3 4 5\r\n6 7\r\n\r\n");
  ASSERT_TRUE(open_channel(8, file("in.dat"), OpenMode::kOld));
  std::vector<double> a(3), b(2), c(1, kUnread);
  EXPECT_EQ(read_numbers(8, a).status, ListStatus::kOk);
  EXPECT_EQ(a, (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(read_numbers(8, b).status, ListStatus::kOk);  // "4 5" are dropped
  EXPECT_EQ(b, (std::vector<double>{6, 7}));
  EXPECT_EQ(read_numbers(8, c).status, ListStatus::kEnd);  // a blank record, then nothing
  EXPECT_EQ(c[0], kUnread);
}

TEST_F(ChannelsTest, TextAndIntegerItems) {
  std::string name = "keep", quoted, path;
  int n = 0, m = 9;
  double x = 0;
  const std::vector<ListTarget> t{&quoted, &n, &x, &path, &name, &m};
  const ListReadResult r = read_list("'it''s, here' 3 2*0.5,, ,\"q\"", t);
  EXPECT_EQ(r.status, ListStatus::kOk);
  EXPECT_EQ(quoted, "it's, here");
  EXPECT_EQ(n, 3);
  EXPECT_EQ(x, 0.5);
  EXPECT_EQ(path, "0.5");  // the second copy goes to a text item as its word
  EXPECT_EQ(name, "keep");
  EXPECT_EQ(m, 9) << "an empty field before a quoted text is a null";

  int k = 0;
  const std::vector<ListTarget> one{&k};
  EXPECT_EQ(read_list("1.5", one).status, ListStatus::kError);
  EXPECT_EQ(read_list("'open", std::vector<ListTarget>{&name}).status, ListStatus::kError);
}

TEST_F(ChannelsTest, WrittenListReadsBackExactly) {
  const double third = 1.0 / 3.0;
  const std::vector<ListValue> items{1.0, third, -2.5e-12, 3, std::string_view("AB"),
                                     std::numeric_limits<double>::quiet_NaN()};
  EXPECT_EQ(list_record(items).substr(0, 3), " 1 ");
  EXPECT_TRUE(list_record(items).ends_with(" AB 8934567"));

  const fs::path p = file("list.txt");
  ASSERT_TRUE(open_channel(66, p, OpenMode::kReplace));
  ASSERT_TRUE(write_list(66, items));
  close_channel(66);
  ASSERT_TRUE(open_channel(66, p, OpenMode::kOld));
  double a = 0, b = 0, c = 0, f = 0;
  int d = 0;
  std::string e;
  const std::vector<ListTarget> t{&a, &b, &c, &d, &e, &f};
  EXPECT_EQ(read_list(66, t).status, ListStatus::kOk);
  EXPECT_EQ(a, 1.0);
  EXPECT_EQ(b, third);
  EXPECT_EQ(c, -2.5e-12);
  EXPECT_EQ(d, 3);
  EXPECT_EQ(e, "AB");
  EXPECT_EQ(f, 8934567.0);
}

}  // namespace
