// Drives modal forms as a user would: a queue of steps, each naming the form it expects
// (object name or class) and acting on it (typing, ticking, clicking). Steps run from the
// event loop, so a click that opens a nested modal form is answered by the next step.
// When the deadline passes, or a form comes that no step expects, every open modal form
// is closed and the driver reports the failure, so a test never hangs.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <deque>
#include <functional>
#include <vector>

namespace dialog_driver {

using Action = std::function<void(QWidget*)>;

class DialogDriver {
 public:
  explicit DialogDriver(std::chrono::milliseconds deadline = std::chrono::seconds(20)) {
    poll_.setInterval(5);
    QObject::connect(&poll_, &QTimer::timeout, [this] { poll(); });
    poll_.start();
    deadline_.setSingleShot(true);
    QObject::connect(&deadline_, &QTimer::timeout, [this] {
      fail("the deadline passed with " + std::to_string(steps_.size()) + " step(s) left");
    });
    deadline_.start(deadline);
  }
  ~DialogDriver() { close_all(); }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  /// Adds a step for the next modal form, which must be `form` (object name or class name).
  DialogDriver& then(const QString& form, Action action) {
    steps_.push_back({form, std::move(action)});
    return *this;
  }

  /// True when every step ran and nothing failed.
  bool done() const { return failure_.empty() && steps_.empty(); }
  /// Stops watching (another driver may take over) and tells whether the run was done.
  bool finish() {
    poll_.stop();
    deadline_.stop();
    return done();
  }
  const std::string& failure() const { return failure_; }
  /// The forms the steps acted on, in order.
  const std::vector<std::string>& seen() const { return seen_; }

  /// Closes every open modal form (Cancel for the library's forms).
  static void close_all() {
    for (int guard = 0; guard < 50; ++guard) {
      QWidget* top = QApplication::activeModalWidget();
      if (top == nullptr) return;
      if (auto* dialog = qobject_cast<QDialog*>(top)) dialog->done(QDialog::Rejected);
      else top->close();
      top->hide();
    }
  }

 private:
  struct Step {
    QString form;
    Action action;
  };

  void fail(const std::string& why) {
    if (failure_.empty()) {
      QWidget* top = QApplication::activeModalWidget();
      failure_ = why + (top != nullptr ? " (open: " + top->objectName().toStdString() + ")" : "");
    }
    steps_.clear();
    close_all();
  }

  void poll() {
    if (queued_) return;
    QWidget* top = QApplication::activeModalWidget();
    if (top == nullptr || !top->isVisible()) return;
    if (!acting_.empty() && acting_.back() == top) return;  // its step is still running
    if (steps_.empty()) {
      fail("an unexpected form " + top->objectName().toStdString() + " \"" +
           top->windowTitle().toStdString() + "\"");
      return;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    if (top->objectName() != step.form && QString(top->metaObject()->className()) != step.form) {
      fail("expected " + step.form.toStdString() + ", found " + top->objectName().toStdString());
      return;
    }
    seen_.push_back(step.form.toStdString());
    queued_ = true;
    QPointer<QWidget> target(top);
    QTimer::singleShot(0, [this, target, action = std::move(step.action)] {
      queued_ = false;
      if (!target) return;
      acting_.push_back(target);
      action(target);
      acting_.pop_back();
    });
  }

  QTimer poll_;                              ///< looks for the top modal form
  QTimer deadline_;                          ///< ends a run that takes too long
  std::deque<Step> steps_;                   ///< steps not yet taken
  std::vector<QPointer<QWidget>> acting_;    ///< forms whose step is running (nested)
  bool queued_ = false;                      ///< a step is about to run
  std::string failure_;                      ///< the first failure
  std::vector<std::string> seen_;            ///< forms acted on
};

/// The child of `form` with this object name; a test failure when there is none.
template <class T = QWidget>
T* child(QWidget* form, const char* name) {
  T* w = form->findChild<T*>(name);
  if (w == nullptr) ADD_FAILURE() << "no " << name << " in " << form->objectName().toStdString();
  return w;
}

inline void click(QWidget* form, const char* name) {
  if (auto* b = child<QAbstractButton>(form, name)) b->click();
}

inline void type(QWidget* form, const char* name, const QString& text) {
  if (auto* e = child<QLineEdit>(form, name)) {
    e->clear();
    bool ascii = true;
    for (const QChar c : text) ascii = ascii && c.unicode() < 128;
    if (ascii) QTest::keyClicks(e, text);
    else e->insert(text);  // the test keyboard types ASCII only
  }
}

/// Types `path` into a file dialog's name box and accepts it.
inline void choose_file(QWidget* w, const QString& path) {
  auto* d = qobject_cast<QFileDialog*>(w);
  if (d == nullptr) {
    ADD_FAILURE() << "not a file dialog";
    return;
  }
  if (auto* name = d->findChild<QLineEdit*>("fileNameEdit")) name->setText(path);
  static_cast<QDialog*>(d)->accept();  // as pressing Enter in the name box
}

/// True when `window` leaves its caption whole in a title bar: as wide as the caption in
/// bold, with room for three buttons of a line's height each.
inline bool caption_fits(const QWidget* window) {
  QFont bold = window->font();
  bold.setBold(true);
  const QFontMetrics metrics(bold);
  return window->width() >= metrics.horizontalAdvance(window->windowTitle()) + 3 * metrics.height();
}

/// Saves a picture of `form` as <build>/screenshots/<name>.png.
inline void screenshot(QWidget* form, const QString& name) {
  QDir().mkpath(ZV_SCREENSHOT_DIR);
  form->grab().save(QString(ZV_SCREENSHOT_DIR) + "/" + name + ".png");
}

}  // namespace dialog_driver
