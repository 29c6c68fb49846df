// Batch files: records, continuation, line ends, limits, names, and the batch regime of
// the command interpreter.
#include "engine/data/batch_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "engine/data/data_commands.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"
#include "tests/support/scratch_folder.h"

namespace {

using namespace qorv;

const std::string kEnd =
    "message information 0 End of the batch file reached: the commands after BATCH are carried out now.\n";
const std::string kBegin = "busy begin Calculating or writing to file! Please wait...\n";
const std::string kBatchError = "message error 0 Error in batch file! Operations only partially completed!\n";

std::vector<std::string> lines_of(std::string bytes) {
  data::BatchRecords records(std::move(bytes));
  std::vector<std::string> out;
  std::string statement;
  for (data::CommandLineStatus s; (s = data::READCOMMANDLINE(records, statement, 20)) != data::CommandLineStatus::kEnd;)
    out.push_back(s == data::CommandLineStatus::kTooLong ? "<too long>" : statement);
  return out;
}

TEST(BatchRecords, LogicalLines) {
  const std::vector<std::string> joined = {"X = 1 + 2", "Y = 3"};
  EXPECT_EQ(lines_of("X = 1 &\n+ 2\n\n   \n$ comment\n   Y = 3\n"), joined);
  EXPECT_EQ(lines_of("\xEF\xBB\xBFX = 1 &\r\n+ 2\r\nY = 3\r\n"), joined);  // BOM and CRLF
  EXPECT_EQ(lines_of("X = 1 &\r+ 2\rY = 3"), joined);                       // CR alone, no final line end
  EXPECT_EQ(lines_of(""), std::vector<std::string>{});
  EXPECT_EQ(lines_of("A = 1;B = 2 \n"), std::vector<std::string>{"A = 1;B = 2"});  // no splitting at ";"
  EXPECT_EQ(lines_of("A = 12345678901234567890\n"), std::vector<std::string>{"<too long>"});
  EXPECT_EQ(lines_of("A = 1234567890 &\n+ 12345\n"), std::vector<std::string>{"<too long>"});
  EXPECT_EQ(lines_of("A = 1 &\n"), std::vector<std::string>{"A = 1"});
  EXPECT_EQ(lines_of("&\n  B = 2\n"), std::vector<std::string>{"B = 2"});
}

TEST(BatchRecords, NamesWithoutExtension) {
  const zv_test::ScratchFolder folder("batch-names");
  std::ofstream(folder / "myfile.bat") << "X = 1\n";
  std::ofstream(folder / "Other.Bat") << "X = 1\n";
  EXPECT_EQ(data::batch_file_path((folder / "MYFILE").string()), folder / "myfile.bat");
  EXPECT_EQ(data::batch_file_path((folder / "myfile").string()), folder / "myfile.bat");
  EXPECT_EQ(data::batch_file_path((folder / "other").string()), folder / "Other.Bat");
  EXPECT_EQ(data::batch_file_path((folder / "none").string()), folder / "none.BAT");
  EXPECT_EQ(data::batch_file_path(" run.txt "), "run.txt");
  EXPECT_EQ(data::batch_file_path("../run"), "../run.BAT");  // the "." of ".." is no extension
}

class Batch : public qorv::testing::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    auto& g = core::globals();
    g.nobs = 4;
    g.nvars = 1;
    g.frequency = 1;
    g.periods_per_year = 1;
    g.start_year = 1;
    g.max_vars = limits::max_vars_for(4);
    core::set_variable(1, "Y", "");
    for (int t = 1; t <= 4; ++t) core::data_at(t, 1) = t;
    core::driver_state().command_first = 1;
    core::driver_state().command_last = 4;
  }

  std::string run_file(const std::string& bytes, const std::string& before = "", const std::string& after = "",
                       std::string_view script = "") {
    std::ofstream(folder_ / "run.bat", std::ios::binary) << bytes;
    dialog_script::reset();
    dialog_script::load(script);
    data::run_commands(before + "BATCH " + (folder_ / "RUN").string() + after);
    return dialog_script::transcript_text();
  }

  static double value(std::string_view name, int t = 1) {
    const int j = core::find_variable(name);
    return j == 0 ? -1.0 : core::data_at(t, j);
  }

  zv_test::ScratchFolder folder_{"batch"};
};

TEST_F(Batch, RunsThenResumesTheCommandText) {
  EXPECT_EQ(run_file("\xEF\xBB\xBFX = 1 &\r\n+ 2\r\n$ note; ADD Q\r\nSAMPLE 2 3\r\nZ = X*2\r\n", "A = 5; ", "; B = Z"),
            kBegin + kEnd + "busy end\n");
  EXPECT_EQ(value("A"), 5.0);
  EXPECT_EQ(value("X"), 3.0);
  EXPECT_EQ(value("Z", 2), 6.0);
  EXPECT_EQ(value("B", 2), 6.0);
  // An empty file: the end message at once, then the rest of the text.
  EXPECT_EQ(run_file("", "", "; E = 1"), kBegin + kEnd + "busy end\n");
  EXPECT_EQ(value("E", 2), 1.0);  // over the sample the batch file set
}

TEST_F(Batch, AFailureEndsTheFileAndTheText) {
  for (const char* barred : {"ADD Q", "PLOT Y", "BATCH OTHER", "HELP", "TITLE", "LIST", "REORDER Y", "Y X", "DOS"}) {
    SetUp();
    EXPECT_EQ(run_file(std::string("P = 1\n") + barred + "\nR = 1\n", "", "; S = 1"),
              kBegin + kBatchError + "busy end\n")
        << barred;
    EXPECT_EQ(value("P"), 1.0) << barred;  // done before the failure: kept
    EXPECT_EQ(value("R"), -1.0) << barred;
    EXPECT_EQ(value("S"), -1.0) << barred;
  }
  // NORMAL after SIM fails without its own message inside a batch file.
  EXPECT_EQ(run_file("SIM Y = NORMAL(3)\n"), kBegin + kBatchError + "busy end\n");
}

TEST_F(Batch, LineLimits) {
  const std::string formula = "L = 1" + std::string(192, ' ') + "+ 2";  // a record of 200 characters runs whole
  EXPECT_EQ(run_file(formula + "\n"), kBegin + kEnd + "busy end\n");
  EXPECT_EQ(value("L"), 3.0);
  // 3120 characters run; 3121 fail with what came before kept.
  std::string fits = "M = 1" + std::string(3112, ' ') + "+ 1";
  ASSERT_EQ(fits.size(), 3120u);
  EXPECT_EQ(run_file(fits + "\n"), kBegin + kEnd + "busy end\n");
  EXPECT_EQ(value("M"), 2.0);
  EXPECT_EQ(run_file("K = 1\n" + fits + "1\n"), kBegin + kBatchError + "busy end\n");
  EXPECT_EQ(value("K"), 1.0);
}

TEST_F(Batch, EntitleReadsTheNextRecords) {
  EXPECT_EQ(run_file("X = 1\nENTITLE Y X\n  the y series\nthe x series" + std::string(100, '!') + "\n"),
            kBegin + kEnd + "busy end\n");
  EXPECT_EQ(core::variable_desc(1), "the y series");
  EXPECT_EQ(core::variable_desc(2), "the x series" + std::string(68, '!'));
  // A file that ends while ENTITLE reads is a failure.
  core::set_variable(2, "X", "");
  EXPECT_EQ(run_file("ENTITLE X\n"), kBegin + kBatchError + "busy end\n");
}

TEST_F(Batch, MissingFileShowsTheFileBox) {
  dialog_script::reset();
  data::run_commands("BATCH " + (folder_ / "nothing").string() + "; A = 1");
  const auto& calls = dialog_script::calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front().kind, "message");
  EXPECT_EQ(value("A"), 1.0);
  // BATCH alone asks for the file; Cancel ends the statement quietly.
  dialog_script::reset();
  dialog_script::load("file -> cancel\n");
  data::run_commands("BATCH; B = 1");
  EXPECT_EQ(dialog_script::transcript_text(), "file 0 open BAT -> cancel\n");
  EXPECT_EQ(value("B"), 1.0);
}

}  // namespace
