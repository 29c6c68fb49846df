// The program's copy of the data set follows the engine's after every request, with the
// real engine and the real dialog library on the offscreen platform: series the engine
// creates or replaces reach the file the program saves, the status line and the estimation
// window's lists; a request in which the engine changes nothing changes nothing.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <bit>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/engine_link.h"
#include "app/estimation_window.h"
#include "app/main_window.h"
#include "shared/exchange_slots.h"
#include "shared/zvd_file.h"
#include "tests/app/app_test_support.h"
#include "tests/app_e2e/engine_forms.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

using dialog_driver::child;
using dialog_driver::click;
using dialog_driver::DialogDriver;
using e2e::answer;
using e2e::choose;
using zelvorin::testing::RecordedMessages;
using zelvorin::testing::TestHome;
using namespace zelvorin;

/// The main window with the sample data set open.
struct SampleWindow {
  SampleWindow() {
    window.resize(1000, 700);
    window.show();
    const auto sample = zelvorin::testing::sample_folder() / "usmacro.zvd";
    EXPECT_TRUE(window.open_data_file(QString::fromStdString(sample.string())));
  }

  /// Save As to a new ZVD file, the whole data set chosen in the subset dialog.
  QString save_zvd(const char* name) {
    const QString path = dir.filePath(name);
    DialogDriver driver;
    driver.then("saveSubsetDialog", [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    EXPECT_TRUE(window.save_data_as(path));
    EXPECT_TRUE(driver.finish()) << driver.failure();
    return path;
  }

  /// A request of the command editor's road (slot 5 = 1) with the presets registered.
  void data_processing(std::initializer_list<std::pair<int, int>> presets, DialogDriver& driver) {
    engine::register_int(slots::kActionPreset, 1);
    for (const auto& [slot, value] : presets) engine::register_int(slot, value);
    window.run_engine_request(3);
    EXPECT_TRUE(driver.finish()) << driver.failure() << "\nforms answered: " << driver.seen().size();
  }

  TestHome home;
  RecordedMessages messages;
  QTemporaryDir dir;
  MainWindow window{home.ini()};
};

/// The saved file holds the engine's data set: its names, and every value to the last bit.
void expect_engine_data_set_in(const QString& path, const std::vector<std::string>& names) {
  const zvd::ReadResult read = zvd::read_file(path.toStdString());
  ASSERT_EQ(read.error, zvd::ReadError::kNone);
  const zvd::DataSet& saved = read.data_set;
  const int nobs = engine::retrieve_int(slots::kNumObservations);
  const int nvars = engine::retrieve_int(slots::kNumVariables);
  ASSERT_EQ(saved.shape.nobs, nobs);
  ASSERT_EQ(saved.shape.nvars, nvars);
  EXPECT_EQ(saved.names, names);
  for (int i = 1; i <= nvars; ++i) EXPECT_EQ(saved.names[static_cast<std::size_t>(i - 1)], engine::retrieve_vars(i).name);
  std::vector<double> engine_data(static_cast<std::size_t>(nobs) * static_cast<std::size_t>(nvars));
  engine::retrieve_data(engine_data, nobs, nvars);
  ASSERT_EQ(saved.data.size(), engine_data.size());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < engine_data.size(); ++i)
    differing += std::bit_cast<uint64_t>(saved.data[i]) != std::bit_cast<uint64_t>(engine_data[i]);
  EXPECT_EQ(differing, 0u);
}

QStringList variable_list(const EstimationWindow* estimation) {
  QStringList items;
  for (int i = 0; i < estimation->variables_box()->count(); ++i) items << estimation->variables_box()->itemText(i);
  return items;
}

TEST(ReadBack, ResidualsAndFittedValuesSavedAfterLeastSquaresReachTheSavedFile) {
  SampleWindow s;
  s.window.method_action(MethodMenu::kUnivariate, 11)->trigger();
  EstimationWindow* estimation = s.window.estimation();
  estimation->nonlin()->setPlainText("LC INPT LY INFL R");
  DialogDriver driver(std::chrono::seconds(60));
  driver.then("Tbegfin", [](QWidget* form) { click(form, "close"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "List/plot/save residuals and fitted values"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Save residuals (and forecast errors if any)"); })
      .then("Tgetstr", [](QWidget* form) { answer(form, "RES1 residuals of the consumption equation"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Save fitted values (and forecasts if any)"); })
      .then("Tgetstr", [](QWidget* form) { answer(form, "FIT1"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to Post Regression Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Move to Backtracking Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to Single Equation Estimation Window"); });
  ASSERT_TRUE(estimation->start());
  ASSERT_TRUE(driver.finish()) << driver.failure() << "\nforms answered: " << driver.seen().size();

  EXPECT_EQ(s.window.state().ws.shape.nvars, 7);
  EXPECT_EQ(s.window.state().ws.descs[5], "residuals of the consumption equation");
  EXPECT_EQ(s.window.status_text(), "Current sample from 1960Q1 to 2008Q4. Min 1960Q1 Max 2008Q4. (196 obs.) "
                                    "7 variables, max 200.");
  EXPECT_EQ(variable_list(estimation), (QStringList{"INPT", "LC", "LY", "INFL", "R", "RES1", "FIT1"}));
  // Residual plus fitted value is the dependent variable (to rounding).
  const std::vector<double>& data = s.window.state().ws.data;
  for (int t : {0, 97, 195}) {
    const auto at = [&](int v) { return data[static_cast<std::size_t>(v * 196 + t)]; };
    EXPECT_NEAR(at(5) + at(6), at(1), 1e-9 * std::abs(at(1))) << "observation " << t + 1;
  }

  const QString saved = s.save_zvd("with_residuals.zvd");
  expect_engine_data_set_in(saved, {"INPT", "LC", "LY", "INFL", "R", "RES1", "FIT1"});
  EXPECT_TRUE(s.messages.shown.empty());
}

TEST(ReadBack, SeasonalDummiesAndANewSmallerDataSetReachTheSavedFile) {
  SampleWindow s;
  EstimationWindow* estimation = s.window.estimation();

  // The command editor's seasonal-dummy button: quarterly data starting in quarter 1.
  DialogDriver dummies;
  dummies.then("Tgetstr", [](QWidget* form) {
    EXPECT_EQ(child<QLineEdit>(form, "answer")->text(), "S1 S2 S3 S4");
    click(form, "ok");
  });
  s.data_processing({{slots::kDataProcessingPreset, 1}, {slots::kToolbarFunction, 3}}, dummies);
  EXPECT_EQ(s.window.status_text(), "Current sample from 1960Q1 to 2008Q4. Min 1960Q1 Max 2008Q4. (196 obs.) "
                                    "9 variables, max 200.");
  EXPECT_EQ(variable_list(estimation).size(), 9);
  const std::vector<double>& data = s.window.state().ws.data;
  EXPECT_EQ(data[5 * 196 + 0], 1.0);  // S1 in 1960Q1
  EXPECT_EQ(data[5 * 196 + 1], 0.0);
  EXPECT_EQ(data[8 * 196 + 195], 1.0);  // S4 in 2008Q4
  expect_engine_data_set_in(s.save_zvd("with_dummies.zvd"),
                            {"INPT", "LC", "LY", "INFL", "R", "S1", "S2", "S3", "S4"});

  // "Start with a new data set" from the Data Processing Menu: three annual series read
  // from a text file by the engine replace the nine.
  const QString csv = s.dir.filePath("small.csv");
  {
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("obs,A,B Output,C\n1990,1.5,10,-3\n1991,2.25,20,4e2\n1992,0.125,30,7\n1993,1,40,8\n");
  }
  DialogDriver new_data;
  new_data.then("Tgetlogical", [](QWidget* form) { click(form, "yes"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Input data from CSV, TXT or PRN files"); })
      .then("Tinformation", [](QWidget* form) { click(form, "ok"); })
      .then("fileDialog", [&](QWidget* w) { dialog_driver::choose_file(w, csv); })
      .then("Tgetlogical", [](QWidget* form) { click(form, "yes"); })  // it may take long
      .then("messageBox", [](QWidget* form) { click(form, "ok"); });
  s.data_processing({{slots::kDataProcessingPreset, 5}}, new_data);
  EXPECT_EQ(s.window.status_text(), "Current sample from 1990 to 1993. Min 1990 Max 1993. (4 obs.) 3 variables, max 200.");
  EXPECT_EQ(variable_list(estimation), (QStringList{"A", "B", "C"}));
  EXPECT_EQ(estimation->period1()->itemText(0), "1990");
  EXPECT_EQ(estimation->period2()->currentText(), "1993");
  EXPECT_EQ(s.window.state().ws.descs[1], "Output");
  EXPECT_EQ(s.window.state().ws.names[3], "");
  EXPECT_EQ(data[4 + 3], 40.0);
  EXPECT_EQ(data[3 * 196], limits::kMissing);  // nothing of the old matrix is left behind
  expect_engine_data_set_in(s.save_zvd("small.zvd"), {"A", "B", "C"});
  EXPECT_TRUE(s.messages.shown.empty());
}

TEST(ReadBack, AFileAddedByTheEngineWidensTheProgramsDataSet) {
  SampleWindow s;
  // Two quarterly series from 1959Q1 to 1960Q4, added from the Data Processing Menu.
  zvd::DataSet added;
  added.shape.nobs = 8;
  added.shape.nvars = 2;
  added.shape.frequency = 4;
  added.shape = zvd::start_from_full_year(added.shape, 1959, 1);
  added.names = {"Z", "W"};
  added.descriptions = {"early", ""};
  for (int i = 0; i < 16; ++i) added.data.push_back(i + 0.5);
  const QString path = s.dir.filePath("early.zvd");
  ASSERT_TRUE(zvd::write_file(path.toStdString(), added).ok);
  DialogDriver add;
  add.then("fileDialog", [&](QWidget* w) { dialog_driver::choose_file(w, path); });
  s.data_processing({{slots::kDataProcessingPreset, 4}}, add);

  EXPECT_EQ(s.window.status_text(), "Current sample from 1959Q1 to 2008Q4. Min 1959Q1 Max 2008Q4. (200 obs.) "
                                    "7 variables, max 200.");
  EXPECT_EQ(variable_list(s.window.estimation()), (QStringList{"INPT", "LC", "LY", "INFL", "R", "Z", "W"}));
  EXPECT_EQ(s.window.estimation()->period1()->itemText(0), "1959Q1");
  const HostWorkspace& ws = s.window.state().ws;
  EXPECT_EQ(ws.data[0], limits::kMissing);        // INPT before the sample file starts
  EXPECT_EQ(ws.data[5 * 200 + 7], 7.5);           // Z in 1960Q4
  EXPECT_EQ(ws.data[5 * 200 + 8], limits::kMissing);
  expect_engine_data_set_in(s.save_zvd("joined.zvd"), {"INPT", "LC", "LY", "INFL", "R", "Z", "W"});
  EXPECT_TRUE(s.messages.shown.empty());
}

TEST(ReadBack, ARequestThatChangesNothingLeavesTheProgramsCopyByteIdentical) {
  SampleWindow s;
  const HostWorkspace before = s.window.state().ws;
  const auto expect_unchanged = [&] {
    const HostWorkspace& after = s.window.state().ws;
    EXPECT_EQ(std::memcmp(after.data.data(), before.data.data(), before.data.size() * sizeof(double)), 0);
    EXPECT_EQ(after.names, before.names);
    EXPECT_EQ(after.descs, before.descs);
    EXPECT_EQ(std::memcmp(&after.shape, &before.shape, sizeof(DataShape)), 0);
  };

  // Cancel in the Data Processing Menu, then in the Single Equation Estimation Menu.
  DialogDriver cancels;
  cancels.then("Tget1option", [](QWidget* form) { click(form, "cancel"); })
      .then("Tget1option", [](QWidget* form) { click(form, "cancel"); });
  s.data_processing({}, cancels);
  expect_unchanged();

  // A text file the engine refuses: the loaded data set stays.
  const QString broken = s.dir.filePath("broken.csv");
  {
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("obs,A\n1990,1\n1989,2\n");  // dates that run backwards
  }
  DialogDriver refusal;
  refusal.then("Tinformation", [](QWidget* form) { click(form, "ok"); })
      .then("Tgetlogical", [](QWidget* form) { click(form, "yes"); })
      .then("messageBox", [](QWidget* form) { click(form, "ok"); });
  EXPECT_FALSE(s.window.open_data_file(broken));
  EXPECT_TRUE(refusal.finish()) << refusal.failure() << "\nforms answered: " << refusal.seen().size();
  expect_unchanged();
  EXPECT_EQ(s.window.status_text(), "Current sample from 1960Q1 to 2008Q4. Min 1960Q1 Max 2008Q4. (196 obs.) "
                                    "5 variables, max 200.");
}

}  // namespace
