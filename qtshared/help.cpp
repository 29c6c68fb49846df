#include "qtshared/help.h"

#include <dlfcn.h>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <charconv>
#include <algorithm>
#include <string_view>

#include "qtshared/text_bridge.h"
#include "shared/file_reading.h"

namespace qtshared::help {

namespace {

std::filesystem::path g_file;  ///< set by set_file; empty means the default
int g_last = 0;                ///< the context shown last

/// The help window: one at a time, re-created when the form it belongs to changes.
class HelpWindow : public QDialog {
 public:
  explicit HelpWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("helpWindow");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("helpText");
    browser_->setOpenExternalLinks(false);
    layout->addWidget(browser_);
    auto* close = new QPushButton(tr("&Close"), this);
    close->setObjectName("close");
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(close);
    layout->addLayout(row);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    resize(460, 320);
  }
  void show_text(const QString& title, const QString& html) {
    setWindowTitle(tr("Zelvorin Help - %1").arg(title));
    browser_->setHtml(html);
  }

 private:
  QTextBrowser* browser_;
};

QPointer<HelpWindow> g_window;

std::filesystem::path module_folder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&module_folder), &info) != 0 && info.dli_fname != nullptr)
    return std::filesystem::path(info.dli_fname).parent_path();
  return {};
}

QString to_html(const Topic& topic) {
  QString html = "<h3>" + to_qt(topic.title).toHtmlEscaped() + "</h3>";
  const QStringList paragraphs = to_qt(topic.text).split("\n\n", Qt::SkipEmptyParts);
  for (const QString& p : paragraphs) html += "<p>" + p.trimmed().toHtmlEscaped() + "</p>";
  return html;
}

}  // namespace

std::filesystem::path file() {
  if (!g_file.empty()) return g_file;
  return module_folder() / "zelvorin.hlp";
}

void set_file(const std::filesystem::path& path) { g_file = path; }

std::vector<Topic> all_topics() {
  const file_reading::Contents help = file_reading::read_all(file());
  std::string_view rest = help.bytes;
  std::vector<Topic> topics;
  bool in_topic = false;  // false also after a heading whose number cannot be read
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    std::string line(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '@') {
      int number = 0;
      const char* begin = line.data() + 1;
      const char* end = line.data() + line.size();
      const auto [ptr, ec] = std::from_chars(begin, end, number);
      in_topic = ec == std::errc();
      if (in_topic) topics.push_back(Topic{number, std::string(ptr == end ? ptr : ptr + 1, end), {}});
      continue;
    }
    if (in_topic) topics.back().text += line + "\n";
  }
  return topics;
}

std::optional<Topic> find_topic(int context) {
  for (Topic& topic : all_topics())
    if (topic.context == context) return std::move(topic);
  return std::nullopt;
}

void show_topic(int context) {
  if (context == 0) return;
  g_last = context;
  if (QApplication::instance() == nullptr) return;
  const std::optional<Topic> topic = find_topic(context);
  QWidget* parent = QApplication::activeModalWidget();
  if (g_window && g_window->parentWidget() != parent) delete g_window;
  if (!g_window) {
    g_window = new HelpWindow(parent);
    g_window->setAttribute(Qt::WA_DeleteOnClose);
  }
  if (topic) {
    g_window->show_text(to_qt(topic->title), to_html(*topic));
  } else {
    g_window->show_text(QObject::tr("Topic %1").arg(context),
                        QObject::tr("<p>There is no help on this item yet (topic %1).</p>")
                            .arg(context));
  }
  g_window->show();
  g_window->raise();
  g_window->activateWindow();
}

int last_topic() { return g_last; }

}  // namespace qtshared::help
