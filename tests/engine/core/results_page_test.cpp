// The results page: its life from opening to the viewer, saving it as a results file
// (new, appended, overwritten) or the equation as a model file in each layout, and the
// cutting of the model text into pieces.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/report_writer.h"
#include "engine/core/results_page.h"
#include "shared/fixed_text.h"
#include "tests/engine/core/long_temp_folder.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/special_files.h"

namespace {

namespace fs = std::filesystem;
using namespace qorv::core;
using Lines = std::vector<std::string>;

const std::string kModelPage = "J$.MMM";

/// The pages the viewer showed, as the transcript records them.
std::vector<Lines> pages_shown() {
  std::vector<Lines> pages;
  bool in_page = false;
  for (const std::string& line : dialog_script::transcript()) {
    if (line.starts_with("--- page ")) {
      pages.emplace_back();
      in_page = true;
    } else if (line == "--- end page ---") {
      in_page = false;
    } else if (in_page) {
      pages.back().push_back(line);
    }
  }
  return pages;
}

std::string s78(std::string_view text) { return fixed_text::pad(text, 78); }

class ResultsPageTest : public qorv::testing::LongTempFolderTest {
 protected:
  /// One page holding `lines`, and `model` on the model page, shown in `mode`.
  static void show_page(const Lines& lines, int mode = kShowPage, const Lines& model = {}) {
    SHOWRESULTS(kOpenPage);
    for (const std::string& line : lines) WRITELINE(line, 6);
    for (const std::string& line : model) write_record(channel::kModelPage, line);
    SHOWRESULTS(mode);
  }
  fs::path out(const std::string& name) const { return root_ / name; }
};

TEST_F(ResultsPageTest, APageIsWrittenShownAndRemoved) {
  dialog_script::load("results -> close\n");
  SHOWRESULTS(kOpenPage);
  EXPECT_TRUE(report_writer().copy_flag);
  EXPECT_TRUE(fs::exists(results_page_path()));
  EXPECT_TRUE(fs::exists(model_page_path()));
  EXPECT_TRUE(results_page_path().string().starts_with(folder_.string()));
  WRITELINE(" Ordinary#Least Squares", 6);
  SHOWRESULTS(kShowPage);

  EXPECT_EQ(pages_shown(), (std::vector<Lines>{{" Ordinary Least Squares", "\f"}}));
  EXPECT_FALSE(report_writer().copy_flag);
  EXPECT_FALSE(fs::exists(results_page_path()));
  EXPECT_FALSE(fs::exists(model_page_path()));
  EXPECT_FALSE(channel_is_open(channel::kResultsPage));
  EXPECT_FALSE(channel_is_open(channel::kModelPage));
}

TEST_F(ResultsPageTest, PageFilesLeftByAnEarlierSessionAreReplaced) {
  for (const fs::path& left : {results_page_path(), model_page_path()}) std::ofstream(left) << " left over\n";
  dialog_script::load("results -> close\n");
  show_page({" new page"}, kShowPageWithModel, {"Y = A"});
  EXPECT_EQ(pages_shown(), (std::vector<Lines>{{" new page", "\f"}}));
  EXPECT_FALSE(fs::exists(results_page_path()));
  EXPECT_FALSE(fs::exists(model_page_path()));
}

TEST_F(ResultsPageTest, SavingAsResultsFileCreatesAppendsAndOverwrites) {
  const fs::path target = out("run.OUT");
  const std::string long_line = std::string(70, 'x') + "0123456789";  // 80 columns
  dialog_script::load("results -> save-results \"" + target.string() + "\"\n");
  show_page({" first page", long_line});
  EXPECT_EQ(lines_of(target), (Lines{s78(" first page"), long_line.substr(0, 78), s78("\f")}));
  EXPECT_EQ(results_page().results_file, target.string());

  // The second page is appended after the first.
  dialog_script::load("results -> save-results \"" + target.string() + "\"\n" +
                      "menu \"run.OUT exists\" -> \"Append to existing file\"\n");
  show_page({" second page"});
  EXPECT_EQ(lines_of(target),
            (Lines{s78(" first page"), long_line.substr(0, 78), s78("\f"), s78(" second page"), s78("\f")}));

  // Overwriting keeps only the third page; Quit leaves the file as it was.
  dialog_script::load("results -> save-results \"" + target.string() + "\" once\n" +
                      "menu \"exists\" -> \"Overwrite existing file\" once\n" +
                      "results -> save-results \"" + target.string() + "\"\nmenu \"exists\" -> \"Quit\"\n");
  show_page({" third page"});
  show_page({" fourth page"});
  EXPECT_EQ(lines_of(target), (Lines{s78(" third page"), s78("\f")}));
  EXPECT_FALSE(fs::exists(results_page_path()));
}

TEST_F(ResultsPageTest, AResultsFileThatCannotBeWrittenIsReportedAndLeftAlone) {
  const fs::path target = out("missing folder") / "run.OUT";
  dialog_script::load("results -> save-results \"" + target.string() + "\"\n");
  show_page({" a page"});
  EXPECT_FALSE(fs::exists(target));
  EXPECT_NE(dialog_script::transcript_text().find("message error 0 Could not save to this file"), std::string::npos);
}

class SpecialResultsTarget : public ResultsPageTest, public ::testing::WithParamInterface<zv_test::Special> {};

// A folder, FIFO or device link named as the results or model file: refused at once with
// the save's message, before any question of overwriting it, and left as it was.
TEST_P(SpecialResultsTarget, IsRefusedBeforeTheOverwriteQuestion) {
  const struct {
    const char* name;
    std::string answers;
    int mode;
  } roads[] = {{"run.OUT", "results -> save-results \"{}\"\n", kShowPage},
               {"run.MOD", "results -> save-model \"{}\"\nmenu \"Model file format\" -> 1\ntext -> cancel\n",
                kShowPageWithModel}};
  for (const auto& road : roads) {
    SCOPED_TRACE(road.name);
    const fs::path target = out(road.name);
    ZV_MAKE_SPECIAL_OR_SKIP(GetParam(), target);
    std::string answers = road.answers;
    answers.replace(answers.find("{}"), 2, target.string());
    dialog_script::reset();
    dialog_script::load(answers);
    const auto start = std::chrono::steady_clock::now();
    show_page({" Estimates"}, road.mode, {"C = A + B*Y"});
    EXPECT_LT(zv_test::seconds_since(start), 1.0);
    const std::string transcript = dialog_script::transcript_text();
    EXPECT_NE(transcript.find("message error 0 Could not save to this file"), std::string::npos) << transcript;
    EXPECT_EQ(transcript.find("exists"), std::string::npos) << transcript;
    EXPECT_EQ(fs::symlink_status(target).type(), zv_test::kept_type(GetParam()));
    EXPECT_FALSE(channel_is_open(channel::kSavedResults));
  }
}

INSTANTIATE_TEST_SUITE_P(ResultsPage, SpecialResultsTarget, ::testing::ValuesIn(zv_test::kWriteSpecials),
                         zv_test::SpecialName{});

TEST_F(ResultsPageTest, ModelFilesInEachLayout) {
  // Two words of the equation straddle the 60-column window: the second piece starts
  // with the word that would not fit.
  const std::string first = std::string(50, 'A') + " " + std::string(12, 'B');
  const std::string a = std::string(50, 'A') + " ";
  const std::string b = std::string(12, 'B') + std::string(48, ' ');
  struct Case {
    int format;
    Lines records;
  };
  const std::vector<Case> cases = {
      {1, {" " + a, " " + b + " ;", " "}},
      {2, {"*         " + a, "*         " + b + " ;", " "}},
      {3, {"*         " + a, "*    &    " + b, " "}},
      {4, {"*         " + a, "*    &    " + b, " "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    const fs::path target = out("model" + std::to_string(c.format) + ".MOD");
    dialog_script::reset();
    dialog_script::load("results -> save-model \"" + target.string() + "\"\n" + "menu \"Model file format\" -> " +
                        std::to_string(c.format) + "\ntext -> cancel\n");
    show_page({" Estimates"}, kShowPageWithModel, {first});
    EXPECT_EQ(lines_of(target), c.records);
    EXPECT_NE(dialog_script::transcript_text().find(
                  "text 0 Use the editor to edit equation specification. Press OK to add to model file."),
              std::string::npos);
  }
}

TEST_F(ResultsPageTest, TheEditedEquationIsWrittenAndQuitWritesNothing) {
  const fs::path target = out("edited.MOD");
  dialog_script::load("results -> save-model \"" + target.string() + "\"\nmenu \"Model file format\" -> 1 once\n" +
                      "text -> \"C = 1.5 + 0.9*Y\"\nmenu \"Model file format\" -> 0\n");
  show_page({" Estimates"}, kShowPageWithModel, {"C = A + B*Y"});
  EXPECT_EQ(lines_of(target), (Lines{" " + fixed_text::pad("C = 1.5 + 0.9*Y", 60) + " ;", " "}));
  EXPECT_EQ(results_page().model_file, target.string());

  // "0. Quit" in the format menu: no editor, the file untouched.
  show_page({" Estimates"}, kShowPageWithModel, {"C = A + B*Y"});
  EXPECT_EQ(lines_of(target), (Lines{" " + fixed_text::pad("C = 1.5 + 0.9*Y", 60) + " ;", " "}));
  EXPECT_EQ(dialog_script::transcript_text().find("text 0", dialog_script::transcript_text().find("-> 0")),
            std::string::npos);
}

TEST_F(ResultsPageTest, ThePageWithoutModelSavingRefusesTheModelButton) {
  dialog_script::load("results -> save-model \"" + out("x.MOD").string() + "\"\n");
  show_page({" Estimates"}, kShowPage);
  EXPECT_EQ(dialog_script::take_failures().size(), 1u);  // the stand-in refuses the disabled button
  EXPECT_FALSE(fs::exists(out("x.MOD")));
}

TEST_F(ResultsPageTest, OpeningAPageWhileOneIsOpenShowsTheFirst) {
  dialog_script::load("results -> close\n");
  SHOWRESULTS(kOpenPage);
  WRITELINE(" outer", 6);
  SHOWRESULTS(kOpenPage);
  WRITELINE(" inner", 6);
  SHOWRESULTS(kShowPage);
  EXPECT_EQ(pages_shown(), (std::vector<Lines>{{" outer", "\f"}, {" inner", "\f"}}));
}

TEST_F(ResultsPageTest, AnyOtherModeClosesAnOpenPageUnseen) {
  SHOWRESULTS(kOpenPage);
  WRITELINE(" dropped", 6);
  SHOWRESULTS(0);
  EXPECT_FALSE(report_writer().copy_flag);
  EXPECT_FALSE(channel_is_open(channel::kResultsPage));
  EXPECT_FALSE(fs::exists(results_page_path()));
  EXPECT_TRUE(pages_shown().empty());
}

TEST_F(ResultsPageTest, PageFilesThatCannotBeCreatedGiveOneMessage) {
  set_char_setting(charset::kTempFolder, (root_ / "no such folder").string());
  SHOWRESULTS(kOpenPage);
  WRITELINE(" line one", 6);
  WRITELINE(" line two", 6);
  SHOWRESULTS(kShowPage);
  const Lines transcript = dialog_script::transcript();
  ASSERT_EQ(transcript.size(), 1u);  // one box, no OUTALT, no viewer
  EXPECT_TRUE(transcript[0].starts_with("message error 0 Unable to create temporary file"));
  EXPECT_FALSE(report_writer().copy_flag);
}

TEST_F(ResultsPageTest, EveryCallClearsTheEquationBoxRequest) {
  set_slot(slots::kEquationBoxRequest, slots::kTrue);
  SHOWRESULTS(0);
  EXPECT_EQ(slot(slots::kEquationBoxRequest), 0);
}

TEST(ModelText, CuttingIntoPieces) {
  struct Case {
    const char* what;
    std::string text;
    Lines own_format;  // layout 1
    Lines national;    // layout 3
  };
  const std::string short_piece = fixed_text::pad("Y = A + B*X", 60);
  const std::vector<Case> cases = {
      {"all blank", "", {" "}, {" "}},
      {"one short line", "Y = A + B*X", {" " + short_piece + " ;", " "}, {"*         " + short_piece, " "}},
      {"60 characters without a blank are cut hard",
       std::string(70, 'C'),
       {" " + std::string(60, 'C'), " " + fixed_text::pad(std::string(10, 'C'), 60) + " ;", " "},
       {"*         " + std::string(60, 'C'), "*    &    " + fixed_text::pad(std::string(10, 'C'), 60), " "}},
      {"a leading blank stretch is skipped",
       std::string(65, ' ') + "X",
       {" " + fixed_text::pad("     X", 60) + " ;", " "},
       {"*         " + fixed_text::pad("     X", 60), " "}},
      {"the last window reaches the end of the text",
       std::string(3119, ' ') + "Z",
       {" " + fixed_text::pad("", 59) + "Z ;", " "},
       {"*         " + fixed_text::pad("", 59) + "Z", " "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(model_file_records(c.text, kModelOwn), c.own_format);
    EXPECT_EQ(model_file_records(c.text, kModelNational), c.national);
  }
}

}  // namespace
