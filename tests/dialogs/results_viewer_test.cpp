// The results viewer: its buttons, the page written back, the names and action returned,
// and printing.
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolButton>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "qtshared/page_printer.h"
#include "shared/pravel_api.h"
#include "shared/temp_files.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

using dialog_driver::child;
using dialog_driver::click;
using dialog_driver::DialogDriver;
using dialog_driver::screenshot;

std::string temp_dir() { return std::getenv(temp_files::kSessionFolderVariable); }

std::string field(const std::string& text, std::size_t width) {
  std::string out = text.substr(0, std::min(text.size(), width));
  out.resize(width, ' ');
  return out;
}

std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

/// A results page as the engine writes it: 78-column records, a form feed record last.
std::string write_page(const std::string& name) {
  const std::string path = temp_dir() + "/" + name;
  std::ofstream out(path, std::ios::binary);
  out << field("                       Ordinary Least Squares Estimation", 78) << "\n"
      << std::string(78, '*') << "\n"
      << field(" Dependent variable is C", 78) << "\n"
      << field(" 40 observations used for estimation from 1985Q2 to 1995Q1", 78) << "\n"
      << std::string(78, '*') << "\n"
      << field(" Regressor      Coefficient       Standard Error         T-Ratio[Prob]", 78) << "\n"
      << field(" INPT              4.2137             1.1235              3.7505[.001]", 78) << "\n"
      << field(" Y                 0.7712            0.031802             24.2500[.000]", 78) << "\n"
      << field(" Caf\xe9 au lait", 78) << "\n"
      << "\f\n";
  return path;
}

struct Call {
  std::string page, results, model;
  int16_t action;
};

/// Calls ShowResultsP with 1024-wide names.
void show(Call& c) {
  const int16_t len1 = static_cast<int16_t>(c.page.size()), len2 = 1024, len3 = 1024;
  c.results = field(c.results, 1024);
  c.model = field(c.model, 1024);
  ShowResultsP(c.page.data(), &len1, c.results.data(), &len2, c.model.data(), &len3, &c.action);
}

TEST(ResultsViewer, DisabledButtonsFollowTheNamesAndTheAction) {
  struct Case {
    const char* results;
    const char* model;
    int16_t action;
    bool results_current, model_new, model_current;
  };
  const Case cases[] = {
      {"", "", 0, false, false, false},
      {"/tmp/a.out", "", 1, true, true, false},
      {"", "/tmp/m.mod", 1, false, true, true},
  };
  const std::string page = write_page("J$.OOO");
  for (const Case& c : cases) {
    DialogDriver driver;
    driver.then("Tbegfin", [&](QWidget* form) {
      if (c.action == 1 && *c.results != '\0') screenshot(form, "results_viewer");
      EXPECT_EQ(form->windowTitle(), "Results");
      EXPECT_EQ(form->parentWidget(), nullptr);
      EXPECT_TRUE(child<QToolButton>(form, "resultsNew")->isEnabled());
      EXPECT_EQ(child<QToolButton>(form, "resultsCurrent")->isEnabled(), c.results_current);
      EXPECT_EQ(child<QToolButton>(form, "modelNew")->isEnabled(), c.model_new);
      EXPECT_EQ(child<QToolButton>(form, "modelCurrent")->isEnabled(), c.model_current);
      EXPECT_EQ(child<QToolButton>(form, "resultsNew")->toolTip(), "Save to a new results file");
      const QString text = child<QPlainTextEdit>(form, "page")->toPlainText();
      EXPECT_TRUE(text.contains("Caf\u00e9 au lait"));  // one byte in the file
      EXPECT_TRUE(text.endsWith("\f"));
      QTest::keyClick(form, Qt::Key_Escape);
    });
    Call call{page, c.results, c.model, c.action};
    show(call);
    EXPECT_TRUE(driver.finish()) << driver.failure();
    EXPECT_EQ(call.action, 0);
    EXPECT_EQ(call.results, field(c.results, 1024));
  }
}

TEST(ResultsViewer, CopyTakesTheWholePageOrTheSelectionAndTabMovesOn) {
  const std::string page = write_page("J$.OOO");
  DialogDriver driver;
  driver.then("Tbegfin", [](QWidget* form) {
    auto* box = child<QPlainTextEdit>(form, "page");
    QApplication::clipboard()->clear();
    click(form, "copy");  // nothing selected: the whole page, without the page break
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    EXPECT_TRUE(copied->text().startsWith("                       Ordinary Least Squares Estimation"));
    EXPECT_TRUE(copied->text().contains("\n Y                 0.7712            0.031802"));
    EXPECT_TRUE(copied->text().endsWith("Caf\u00e9 au lait" + QString(65, ' ') + "\n"));
    EXPECT_FALSE(copied->text().contains('\f'));
    // The rich-text flavour keeps the columns: a preformatted block in a fixed-pitch font.
    const QString html = copied->html();
    EXPECT_TRUE(html.contains("<pre style=\"font-family: ")) << html.toStdString();
    EXPECT_TRUE(html.contains("monospace"));
    if (QFontInfo(box->font()).fixedPitch()) {
      EXPECT_TRUE(html.contains(QFontInfo(box->font()).family()));
    }
    EXPECT_FALSE(html.contains('\f'));

    QTextCursor cursor = box->textCursor();
    cursor.setPosition(79 * 2 + 1);  // " Dependent variable is C"
    cursor.setPosition(79 * 2 + 24, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
    click(form, "copy");
    EXPECT_EQ(QApplication::clipboard()->text(), "Dependent variable is C");
    box->selectAll();
    box->copy();  // Ctrl+C gives the same flavours
    EXPECT_FALSE(QApplication::clipboard()->text().contains('\f'));
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->html().contains("monospace"));

    // Tab and Shift+Tab leave the page; nothing is typed into it.
    const QString before = box->toPlainText();
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
      box->setFocus();
      QTest::keyClick(box, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
      EXPECT_NE(form->focusWidget(), box);
    }
    EXPECT_EQ(box->toPlainText(), before);
    QTest::keyClick(form, Qt::Key_Escape);
  });
  Call call{page, "", "", 0};
  show(call);
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(call.action, 0);
}

TEST(ResultsViewer, EditedPageIsWrittenBackByCurrentResultsFile) {
  const std::string page = write_page("J$.OOO");
  DialogDriver driver;
  driver.then("Tbegfin", [](QWidget* form) {
    auto* box = child<QPlainTextEdit>(form, "page");
    QTextCursor cursor = box->textCursor();
    cursor.movePosition(QTextCursor::Start);
    cursor.insertText("My note\n");
    box->setTextCursor(cursor);
    click(form, "resultsCurrent");
  });
  Call call{page, "/tmp/old results.out", "", 0};
  show(call);
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(call.action, 3);
  EXPECT_EQ(call.results, field("/tmp/old results.out", 1024));
  const std::string bytes = read_all(page);
  EXPECT_EQ(bytes.rfind("My note\n                       Ordinary", 0), 0u);
  EXPECT_NE(bytes.find(" Caf\xe9 au lait"), std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\f\n");
}

TEST(ResultsViewer, NewResultsAndModelFilesAreNamed) {
  const std::string page = write_page("J$.OOO");
  const QString out = QString::fromStdString(temp_dir() + "/run1");
  DialogDriver driver;
  driver.then("Tbegfin", [](QWidget* form) { click(form, "resultsNew"); });
  driver.then("fileDialog", [&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    EXPECT_EQ(d->nameFilters(), QStringList{"Results file (*.OUT *.out)"});
    dialog_driver::choose_file(d, out);
  });
  Call call{page, "", "", 1};
  show(call);
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(call.action, 3);
  EXPECT_EQ(call.results, field((out + ".OUT").toStdString(), 1024));

  DialogDriver model;
  model.then("Tbegfin", [](QWidget* form) { click(form, "modelNew"); });
  model.then("fileDialog", [&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    EXPECT_EQ(d->nameFilters(), QStringList{"Model file (*.MOD *.mod)"});
    dialog_driver::choose_file(d, out + ".MOD");
  });
  Call second{page, call.results, "", 1};
  show(second);
  EXPECT_TRUE(model.finish()) << model.failure();
  EXPECT_EQ(second.action, 2);
  EXPECT_EQ(second.model, field((out + ".MOD").toStdString(), 1024));
  EXPECT_EQ(second.results, call.results);
}

TEST(ResultsViewer, MissingPageStillAnswersTheNamesAndAction) {
  DialogDriver driver;
  driver.then("messageBox", [](QWidget* box) {
    EXPECT_TRUE(child<QLabel>(box, "text")->text().contains("Unable to read the results page"));
    click(box, "ok");
  });
  Call call{temp_dir() + "/no-such-page", "/tmp/r.out", "/tmp/m.mod", 1};
  show(call);
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(call.action, 0);
  EXPECT_EQ(call.results, field("/tmp/r.out", 1024));
  EXPECT_EQ(call.model, field("/tmp/m.mod", 1024));
}

TEST(ResultsViewer, PageFileThatCannotBeWrittenReturnsNoAction) {
  // A page that can be read but not replaced, even by the superuser.
  DialogDriver driver;
  driver.then("Tbegfin", [&](QWidget* form) {
    child<QPlainTextEdit>(form, "page")->setPlainText("edited");
    click(form, "resultsCurrent");
    EXPECT_TRUE(form->isVisible());
    click(form, "close");
  });
  driver.then("messageBox", [](QWidget* box) {
    EXPECT_TRUE(child<QLabel>(box, "text")->text().startsWith("Could not save to this file\n"));
    click(box, "ok");
  });
  Call call{"/proc/version", "/tmp/r.out", "", 0};
  show(call);
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(call.action, 0);
}

TEST(PagePrinter, MarginDateAndPages) {
  EXPECT_EQ(qtshared::left_margin(8 * 25.4, 1.0 / 12.0), 9);
  EXPECT_EQ(qtshared::left_margin(210.0, 0.1), 1);   // A4 is 8 inches: 80 columns
  EXPECT_EQ(qtshared::left_margin(210.0, 0.11), 0);  // fewer than 78 columns: no margin
  EXPECT_EQ(qtshared::print_date(QDateTime(QDate(2026, 3, 9), QTime(7, 5, 30))), "9/Mar/2026 7:5:30");

  settings::Printing p;
  p.user_name = "A. Researcher";
  QStringList lines;
  for (int i = 1; i <= 130; ++i) lines << QString("line %1").arg(i);
  std::vector<QStringList> pages = qtshared::paginate(lines, p, 2, "1/Jan/2026 0:0:0");
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].mid(0, 10), (QStringList{"", "", "", "", "", "  Page 1", "", "  A. Researcher",
                                              "  1/Jan/2026 0:0:0", ""}));
  EXPECT_EQ(pages[0][10], "  line 1");
  EXPECT_EQ(pages[0].size(), 10 + 60);
  EXPECT_EQ(pages[1].mid(0, 8), (QStringList{"", "", "", "", "", "  Page 2", "", "  line 61"}));
  EXPECT_EQ(pages[2].size(), 7 + 10);
  EXPECT_EQ(pages[2].back(), "  line 130");

  // A form feed starts a page; a final one adds none; exactly full pages leave none empty.
  p.page_numbers = false;
  p.print_date = false;
  p.lines_per_page = 2;
  pages = qtshared::paginate({"a", "b", "c", "\f", "d", "\f"}, p, 0, "");
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].mid(5), (QStringList{"a", "b"}));
  EXPECT_EQ(pages[1].mid(5), (QStringList{"c"}));
  EXPECT_EQ(pages[2].mid(5), (QStringList{"d"}));
  pages = qtshared::paginate({"a", "b", "c", "d"}, p, 0, "");
  EXPECT_EQ(pages.size(), 2u);
  p.lines_per_page = 0;  // counts as 60
  EXPECT_EQ(qtshared::paginate(lines, p, 0, "").size(), 3u);
}

TEST(ResultsViewer, PrintsTheResultsPageToPdf) {
  const std::string page = write_page("J$.OOO");
  const std::string pdf = temp_dir() + "/page.pdf";
  DialogDriver driver;
  driver.then("Tbegfin", [](QWidget* form) {
    click(form, "print");
    click(form, "close");
  });
  // No printer here: the page goes to a PDF file (a printer's dialog prints to file too).
  driver.then(QPrinterInfo::availablePrinters().isEmpty() ? "fileDialog" : "printDialog",
              [&](QWidget* w) {
                if (auto* d = qobject_cast<QFileDialog*>(w)) {
                  dialog_driver::choose_file(d, QString::fromStdString(pdf));
                } else if (auto* p = qobject_cast<QPrintDialog*>(w)) {
                  p->printer()->setOutputFormat(QPrinter::PdfFormat);
                  p->printer()->setOutputFileName(QString::fromStdString(pdf));
                  p->accept();
                }
              });
  Call call{page, "", "", 0};
  show(call);
  EXPECT_TRUE(driver.finish()) << driver.failure();

  const std::string command = "pdftotext -layout '" + pdf + "' -";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  ASSERT_TRUE(pipe);
  std::string text;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) text += buffer;
  EXPECT_NE(text.find("Page 1"), std::string::npos) << text;
  EXPECT_EQ(text.find("Page 2"), std::string::npos) << text;  // the final form feed adds none
  EXPECT_NE(text.find("Ordinary Least Squares Estimation"), std::string::npos) << text;
  EXPECT_NE(text.find("24.2500[.000]"), std::string::npos) << text;
  EXPECT_NE(text.find("Caf\xc3\xa9 au lait"), std::string::npos) << text;
}

}  // namespace
