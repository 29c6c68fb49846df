// Start-up, settings and closing of the main window.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>

#include <fstream>

#include "app/engine_link.h"
#include "app/file_association.h"
#include "tests/app/app_test_support.h"

namespace {

using namespace zelvorin;
using zelvorin::testing::RecordedMessages;
using zelvorin::testing::TestHome;

std::string read_text(const std::filesystem::path& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(MainWindow, StartsWithDefaultsWhenThereIsNoSettingsFile) {
  TestHome home;
  RecordedMessages messages;
  std::filesystem::path temp;
  {
    MainWindow window(home.ini());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Zelvorin"));
    EXPECT_EQ(window.width(), 640);
    EXPECT_EQ(window.height(), 480);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(window.x(), screen.x() + (screen.width() - 640) / 2);
    EXPECT_EQ(engine::retrieve_int(slots::kLinesPerPage), 60);
    temp = window.state().temp_folder;
    EXPECT_TRUE(std::filesystem::is_directory(temp));
    EXPECT_FALSE(window.state().data_loaded);
    EXPECT_TRUE(messages.shown.empty());  // the private temporary folder needs no message
  }
  EXPECT_FALSE(std::filesystem::exists(temp));  // this run's folder goes with the window
}

TEST(MainWindow, UnusableTemporaryFolderIsReportedAndReplaced) {
  TestHome home;
  ini::IniFile file(home.ini());
  file.set_string("Directories", "TempDir", "/no/such/folder");
  ASSERT_TRUE(file.save());
  RecordedMessages messages;
  MainWindow window(home.ini());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], QStringLiteral("Unable to find directory specified for temporary files - Zelvorin "
                                              "will use the TEMP directory."));
  EXPECT_TRUE(std::filesystem::is_directory(window.state().temp_folder));
}

TEST(MainWindow, SettingsSurviveARestart) {
  TestHome home;
  RecordedMessages messages;
  {
    ini::IniFile file(home.ini());
    file.set_string("User", "Numlines", "45");  // keys are found whatever their case
    file.set_string("Position", "Default", "0");
    file.set_string("Position", "Left", "30");
    file.set_string("Position", "Top", "40");
    file.set_string("Position", "Width", "700");
    file.set_string("Position", "Height", "500");
    ASSERT_TRUE(file.save());
  }
  {
    MainWindow window(home.ini());
    EXPECT_EQ(engine::retrieve_int(slots::kLinesPerPage), 45);
    EXPECT_EQ(window.geometry(), QRect(30, 40, 700, 500));
    window.setGeometry(50, 60, 720, 520);
    messages.answers = {false};  // declining the exit question changes nothing
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.close());
    EXPECT_EQ(messages.asked.back(), QStringLiteral("Are you sure you want to exit? All unsaved data will be lost."));
  }
  const ini::IniFile file = ini::IniFile::load(home.ini());
  EXPECT_EQ(file.get_int("Position", "Width", 0), 720);
  EXPECT_EQ(file.get_int("Position", "Left", 0), 50);
  EXPECT_FALSE(file.get_string("Directories", "Workdir").empty());
  MainWindow again(home.ini());
  EXPECT_EQ(again.geometry(), QRect(50, 60, 720, 520));
}

TEST(MainWindow, DefaultPositionWritesOnlyTheFolders) {
  TestHome home;
  RecordedMessages messages;
  {
    MainWindow window(home.ini());
    EXPECT_TRUE(window.close());
  }
  const ini::IniFile file = ini::IniFile::load(home.ini());
  EXPECT_FALSE(file.find("Position", "Width").has_value());
  EXPECT_TRUE(file.find("Directories", "Workdir").has_value());
  EXPECT_TRUE(file.find("Directories", "Tempdir").has_value());
}

TEST(FileAssociation, SetTestAndRemoveInAPrivateDataFolder) {
  TestHome home;
  const auto folders = association::user_folders();
  const std::filesystem::path program = home.path / "bin" / "zelvorin";
  EXPECT_FALSE(association::in_force(folders, program));
  ASSERT_TRUE(association::set(folders, program));
  EXPECT_TRUE(association::in_force(folders, program));
  EXPECT_FALSE(association::in_force(folders, home.path / "other"));

  // A command with a third word is not ours.
  ini::IniFile entry = ini::IniFile::load(folders.data_home / "applications" / association::kDesktopFile);
  entry.set_string("Desktop Entry", "Exec", "\"" + program.string() + "\" --x %f");
  ASSERT_TRUE(entry.save());
  EXPECT_FALSE(association::in_force(folders, program));
  ASSERT_TRUE(association::set(folders, program));
  EXPECT_TRUE(association::in_force(folders, program));

  // The desktop's caches know the entry and the file type.
  const auto applications = folders.data_home / "applications";
  const bool desktop_tools = !QStandardPaths::findExecutable("update-desktop-database").isEmpty() &&
                             !QStandardPaths::findExecutable("update-mime-database").isEmpty();
  if (desktop_tools) {
    EXPECT_NE(read_text(applications / "mimeinfo.cache").find("application/x-zelvorin-zvd=zelvorin.desktop;"),
              std::string::npos);
    EXPECT_NE(read_text(folders.data_home / "mime" / "globs2").find("*.zvd"), std::string::npos);
  }

  // Removing leaves nothing that names the deleted entry, caches included.
  association::remove(folders);
  EXPECT_FALSE(association::in_force(folders, program));
  EXPECT_FALSE(std::filesystem::exists(applications / association::kDesktopFile));
  EXPECT_EQ(read_text(folders.config_home / "mimeapps.list").find("zelvorin"), std::string::npos);
  if (desktop_tools) {
    EXPECT_EQ(read_text(applications / "mimeinfo.cache").find("zelvorin"), std::string::npos);
    EXPECT_EQ(read_text(folders.data_home / "mime" / "globs2").find("zvd"), std::string::npos);
  }
}

TEST(FileAssociation, DesktopEntryValidatesAndQuotesOnlyWhenItMust) {
  TestHome home;
  struct Case {
    std::string program;
    std::string exec;  ///< the Exec key's value as written in the file
  };
  const Case cases[] = {
      {"/opt/zelvorin/bin/zelvorin", "/opt/zelvorin/bin/zelvorin %f"},  // xdg-open needs no quotes
      {"/opt/my apps/zelvorin", "\"/opt/my apps/zelvorin\" %f"},
      {"/opt/a$b/50%/zel\"vorin", "\"/opt/a\\\\$b/50%%/zel\\\\\"vorin\" %f"},
  };
  const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    const std::string entry = association::desktop_entry(c.program);
    EXPECT_NE(entry.find("\nExec=" + c.exec + "\n"), std::string::npos) << entry;
    EXPECT_EQ(association::split_command(c.exec), (std::vector<std::string>{c.program, "%f"}));
    for (const char* key : {"\nComment=", "\nIcon=zelvorin\n", "\nCategories=Science;Math;Economy;\n",
                            "\nMimeType=application/x-zelvorin-zvd;\n"})
      EXPECT_NE(entry.find(key), std::string::npos) << key;
    if (validator.isEmpty()) continue;
    const auto file = home.path / "zelvorin.desktop";
    std::ofstream(file) << entry;
    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(validator, {QString::fromStdString(file.string())});
    ASSERT_TRUE(run.waitForFinished(30000));
    const QString report = QString::fromUtf8(run.readAll());
    // Clean: no error, warning or hint (two main categories would list the program twice).
    EXPECT_EQ(run.exitCode(), 0) << report.toStdString();
    EXPECT_TRUE(report.trimmed().isEmpty()) << report.toStdString();
  }
  if (validator.isEmpty()) GTEST_SKIP() << "desktop-file-validate (desktop-file-utils) is not installed";
}

TEST(FileAssociation, CommandWordsKeepQuotedBlanks) {
  EXPECT_EQ(association::split_command("\"/opt/my apps/zelvorin\" %f"),
            (std::vector<std::string>{"/opt/my apps/zelvorin", "%f"}));
  EXPECT_EQ(association::split_command("a  b"), (std::vector<std::string>{"a", "b"}));
}

TEST(MainWindow, EveryWindowShowsTheProgramsIcon) {
  TestHome home;
  RecordedMessages messages;
  MainWindow window(home.ini());
  const QImage own = QIcon(":/icons/zelvorin.svg").pixmap(48).toImage();
  ASSERT_FALSE(own.isNull());
  EXPECT_EQ(window.windowIcon().pixmap(48).toImage(), own);
  QDialog dialog;  // a window of the dialog library, made while the program runs
  EXPECT_EQ(dialog.windowIcon().pixmap(48).toImage(), own);
}

}  // namespace

namespace {

using namespace zelvorin;
using zelvorin::testing::RecordedMessages;
using zelvorin::testing::TestHome;

TEST(MainWindowData, OpensTheSampleFileAndShowsItsStatus) {
  TestHome home;
  RecordedMessages messages;
  MainWindow window(home.ini());
  const QString sample = QString::fromStdString((zelvorin::testing::sample_folder() / "usmacro.zvd").string());
  ASSERT_TRUE(window.open_data_file(sample));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(window.status_text(), QStringLiteral("Current sample from 1960Q1 to 2008Q4. Min 1960Q1 Max 2008Q4. "
                                                 "(196 obs.) 5 variables, max 200."));
  EXPECT_EQ(engine::retrieve_int(slots::kNumVariables), 5);
  EXPECT_EQ(engine::retrieve_vars(3).name, "LY");
  EXPECT_EQ(window.state().ws.names[1], "LC");
  EXPECT_DOUBLE_EQ(window.state().ws.data[196 + 0], 7.47901727155);  // LC, 1960Q1

  // A refused file keeps the loaded data, in the window and in the engine.
  const std::filesystem::path bad = home.path / "bad.zvd";
  std::ofstream(bad) << "not a data file";
  EXPECT_FALSE(window.open_data_file(QString::fromStdString(bad.string())));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], QStringLiteral("Not a valid ZVD file!"));
  EXPECT_EQ(window.state().ws.shape.nobs, 196);
  EXPECT_EQ(engine::retrieve_int(slots::kNumVariables), 5);
  EXPECT_EQ(engine::retrieve_vars(2).name, "LC");
}

TEST(MainWindowData, SavesASubsampleAndAddsItBack) {
  TestHome home;
  RecordedMessages messages;
  MainWindow window(home.ini());
  ASSERT_TRUE(window.open_data_file(
      QString::fromStdString((zelvorin::testing::sample_folder() / "usmacro.zvd").string())));
  const QString part = QString::fromStdString((home.path / "part.zvd").string());
  ASSERT_TRUE(window.save_zvd(part, 4, 11));  // 1961Q1 .. 1962Q4
  MainWindow other(home.ini());
  ASSERT_TRUE(other.open_data_file(part));
  EXPECT_EQ(other.status_text(), QStringLiteral("Current sample from 1961Q1 to 1962Q4. Min 1961Q1 Max 1962Q4. "
                                                "(8 obs.) 5 variables, max 200."));
  EXPECT_EQ(other.state().ws.data[8 + 0], window.state().ws.data[196 + 4]);
}

TEST(MainWindowData, CommandLineIsJoinedWithBlanks) {
  TestHome home;
  RecordedMessages messages;
  const std::filesystem::path folder = home.path / "my data";
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(zelvorin::testing::sample_folder() / "usmacro.zvd", folder / "us macro.zvd");
  MainWindow window(home.ini());
  window.splash_closed({QString::fromStdString((home.path / "my").string()), QStringLiteral("data/us"),
                        QStringLiteral("macro.zvd")});
  EXPECT_FALSE(window.state().data_loaded);  // waits until the window is shown
  window.show();
  EXPECT_TRUE(window.state().data_loaded);
  EXPECT_TRUE(window.status_text().endsWith(QStringLiteral("(196 obs.) 5 variables, max 200.")));
}

}  // namespace
