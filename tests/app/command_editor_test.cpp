// The command editor: what Go, Batch and the generated-variable buttons send, the length
// limit, and a command text run by the engine from the main window.
#include "app/command_editor.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolButton>

#include <algorithm>

#include "app/data_editor.h"
#include "app/engine_link.h"
#include "app/graph_window.h"
#include "app/main_window.h"
#include "app/variables_window.h"
#include "app/zvd_host.h"
#include "shared/exchange_slots.h"
#include "tests/app/app_test_support.h"

namespace {

using namespace zelvorin;
using engine::Call;
using zelvorin::testing::RecordedEngine;
using zelvorin::testing::RecordedMessages;
using zelvorin::testing::TestHome;

using zelvorin::testing::slot;
using zelvorin::testing::text;

Call request(int result) { return zelvorin::testing::request(3, result); }

/// An editor over a small annual data set the engine holds.
struct Editor {
  Editor() {
    state.temp_folder = temp.path().toStdString();
    DataShape& s = state.ws.shape;
    s.nobs = 10;
    s.nvars = 1;
    s.frequency = 2;
    s.periods_per_year = 1;
    s.start_year = 1990;
    s.start_period = 1;
    derive_end(s);
    state.ws.names[0] = "Y";
    state.data_file_name = "annual.zvd";
    register_data_set(state.ws, "annual.zvd", 3);
    editor.set_caption();
  }
  QTemporaryDir temp;
  HostState state;
  CommandEditor editor{state};
};

TEST(CommandEditor, GoAndBatchSendTheirSlotsAndTextInOrder) {
  RecordedMessages messages;
  Editor e;
  EXPECT_EQ(e.editor.windowTitle(), "Command Editor - annual.zvd");
  EXPECT_EQ(e.editor.functions()->itemText(0), "LOG");
  EXPECT_EQ(e.editor.commands()->count(), 21);
  RecordedEngine engine_calls;
  int kept = 0;
  engine_calls.driver = [&](int) {
    EXPECT_TRUE(e.state.busy);
    return kept;
  };

  struct Case {
    const char* box;
    bool batch;
    const char* sent;
    const char* box_after;
  };
  const Case cases[] = {
      {"", false, " ", ""},
      {"", true, " ;batch ", ";batch"},
      {"X = 1   \n\nPLOT X  ", false, " X = 1  PLOT X ", "X = 1   \n\nPLOT X  "},
      {"X = 1", true, " X = 1 ;batch ", "X = 1\n;batch"},
      {"X = 1\n", false, " X = 1 ", "X = 1\n"},  // no empty line after the last line break
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    e.editor.memo()->setPlainText(c.box);
    const std::size_t from = engine_calls.calls.size();
    ASSERT_TRUE(c.batch ? e.editor.batch() : e.editor.go());
    const std::vector<Call> calls = engine_calls.since(from);
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(std::vector<Call>(calls.begin(), calls.begin() + 4),
              (std::vector<Call>{slot(10, 2), slot(5, 1), text(3, c.sent), request(0)}));
    EXPECT_EQ(e.editor.memo()->toPlainText(), c.box_after);
  }

  // Kept plots open newest first and the counter moves on.
  std::vector<QString> opened;
  e.editor.open_plot = [&](const QString& path) { opened.push_back(path); };
  e.state.plot_counter = 4;
  kept = 2;
  ASSERT_TRUE(e.editor.go());
  const QString folder = e.temp.path();
  EXPECT_EQ(opened, (std::vector<QString>{folder + "/plot6.$$$", folder + "/plot5.$$$"}));
  EXPECT_EQ(e.state.plot_counter, 6);
  EXPECT_TRUE(messages.shown.empty());
}

TEST(CommandEditor, GeneratedVariableButtonsAndItemsSendTheirTag) {
  Editor e;
  RecordedEngine engine_calls;
  engine_calls.driver = [](int) { return 0; };
  for (int tag = 1; tag <= 5; ++tag) {
    SCOPED_TRACE(tag);
    const std::vector<Call> sent = {slot(5, 1), slot(10, 1), slot(17, tag), request(0)};
    std::size_t from = engine_calls.calls.size();
    e.editor.generated_button(tag)->click();
    std::vector<Call> calls = engine_calls.since(from);
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(std::vector<Call>(calls.begin(), calls.begin() + 4), sent);
    from = engine_calls.calls.size();
    e.editor.generated_item(tag)->trigger();
    calls = engine_calls.since(from);
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(std::vector<Call>(calls.begin(), calls.begin() + 4), sent);
  }
  EXPECT_EQ(e.editor.generated_button(3)->text(), "Seasonal (1)");
  EXPECT_EQ(e.editor.generated_item(3)->text(), "(&0,1)");
}

TEST(CommandEditor, TextsOver3117CharactersAreRefusedWithoutCallingTheEngine) {
  RecordedMessages messages;
  Editor e;
  RecordedEngine engine_calls;
  int requests = 0;
  engine_calls.driver = [&](int) { return ++requests, 0; };
  e.editor.memo()->setPlainText(QString(3115, 'A'));  // one blank, the line, one blank: 3117
  ASSERT_TRUE(e.editor.go());
  EXPECT_EQ(requests, 1);
  const std::size_t from = engine_calls.calls.size();
  for (const QString& text : {QString(3116, 'A'), QStringList(60, QString(78, 'B')).join('\n')}) {
    e.editor.memo()->setPlainText(text);
    EXPECT_FALSE(e.editor.go());
  }
  EXPECT_FALSE(e.editor.batch());
  EXPECT_EQ(requests, 1);
  EXPECT_TRUE(engine_calls.since(from).empty());
  EXPECT_EQ(messages.shown, std::vector<QString>(3, "Specification too long: at most 3117 characters"));
}

TEST(CommandEditor, FormulaAndPlotRunByTheEngineReachTheProgram) {
  TestHome home;
  RecordedMessages messages;
  MainWindow window(home.ini());
  window.resize(900, 640);
  window.show();
  ASSERT_TRUE(window.open_data_file(
      QString::fromStdString((zelvorin::testing::sample_folder() / "usmacro.zvd").string())));
  const int nvars = window.state().ws.shape.nvars;
  window.speed_button("Process")->trigger();
  CommandEditor* editor = window.command_editor();
  ASSERT_TRUE(window.command_editor_frame()->isVisible());
  EXPECT_EQ(editor->windowTitle(), "Command Editor - usmacro.zvd");
  EXPECT_EQ(editor->status_line()->text(), window.status_text());

  editor->memo()->setPlainText("DLC = LC - LC(-1); PLOT DLC");
  ASSERT_TRUE(editor->go());
  QApplication::processEvents();
  const HostWorkspace& ws = window.state().ws;
  ASSERT_EQ(ws.shape.nvars, nvars + 1);
  EXPECT_EQ(ws.names[static_cast<std::size_t>(nvars)], "DLC");
  const auto value = [&](int var, int obs) {  // from 1
    return ws.data[static_cast<std::size_t>((var - 1) * ws.shape.nobs + obs - 1)];
  };
  int lc = 0;
  for (int v = 1; v <= nvars; ++v)
    if (ws.names[static_cast<std::size_t>(v - 1)] == "LC") lc = v;
  ASSERT_GT(lc, 0);
  EXPECT_EQ(value(nvars + 1, 1), limits::kMissing);
  EXPECT_DOUBLE_EQ(value(nvars + 1, 2), value(lc, 2) - value(lc, 1));
  const QList<QMdiSubWindow*> frames = window.findChild<QMdiArea*>()->subWindowList();
  EXPECT_EQ(std::count_if(frames.begin(), frames.end(),
                          [](QMdiSubWindow* f) { return dynamic_cast<GraphWindow*>(f->widget()) != nullptr; }),
            1);
  EXPECT_TRUE(editor->status_line()->text().contains(QStringLiteral("%1 variables").arg(nvars + 1)));
  EXPECT_TRUE(messages.shown.empty()) << messages.shown.front().toStdString();
  // The variables window and the data editor follow.
  const QTableWidget* names = window.variables_window()->grid();
  ASSERT_EQ(names->rowCount(), nvars + 1);
  EXPECT_EQ(names->item(nvars, 0)->text(), "DLC");
  const DataGridModel* grid = window.data_editor()->model();
  EXPECT_EQ(grid->headerData(nvars, Qt::Horizontal, Qt::DisplayRole).toString(), "DLC");
  EXPECT_EQ(grid->data(grid->index(0, nvars), Qt::DisplayRole).toString(), "*NONE*");

  const QString saved = QString::fromStdString((home.path / "with_dlc.zvd").string());
  ASSERT_TRUE(window.save_zvd(saved, 0, ws.shape.nobs - 1));
  const ZvdRead read = ReadZvdFile(saved.toStdString());
  ASSERT_TRUE(read.workspace);
  EXPECT_EQ(read.workspace->shape.nvars, 6);
  EXPECT_EQ(read.workspace->names[5], "DLC");

  // The editor back in front of its graph window, as the user sees it after the run.
  window.command_editor_frame()->showMaximized();
  QDir().mkpath(ZV_SCREENSHOT_DIR);
  QApplication::processEvents();
  window.grab().save(QString(ZV_SCREENSHOT_DIR) + "/command_editor.png");
}

}  // namespace
