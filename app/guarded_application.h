// The program's application object: an exception that would leave an event handler is
// caught where Qt delivers the event, shown in an error box, and the program goes on with
// its data instead of ending.
#pragma once

#include <QApplication>

#include <functional>

namespace zelvorin {

class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override;
};

/// Runs `deliver` and returns its answer; an exception is shown as an error box (the
/// disk-space text when memory ran out) and gives false.
bool deliver_guarded(const std::function<bool()>& deliver) noexcept;

}  // namespace zelvorin
