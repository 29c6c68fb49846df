#include "app/guarded_application.h"

#include <cstdio>
#include <exception>
#include <new>

#include "app/user_messages.h"

namespace zelvorin {

namespace {

/// Shows `text` as an error; a failing box is reported on the error stream instead.
void report(const QString& text) noexcept {
  try {
    user_messages().show(MessageKind::kError, text);
  } catch (...) {
    std::fputs("An error could not be shown\n", stderr);
  }
}

}  // namespace

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  return deliver_guarded([&] { return QApplication::notify(receiver, event); });
}

bool deliver_guarded(const std::function<bool()>& deliver) noexcept {
  try {
    return deliver();
  } catch (const std::bad_alloc&) {
    report(QStringLiteral(" There is not enough free hard disk to carry out computations! "));
  } catch (const std::exception& e) {
    report(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    report(QStringLiteral("The action could not be completed"));
  }
  return false;
}

}  // namespace zelvorin
