// Support for the main program's tests: answers to its message boxes, and a private
// settings and desktop folder for each test.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "app/engine_link.h"
#include "app/host_workspace.h"
#include "app/user_messages.h"

#include <ostream>

/// Texts in test failures are shown as texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace zelvorin::testing {

/// Records every message box and answers questions from a queue (OK/Yes when empty).
class RecordedMessages final : public UserMessages {
 public:
  RecordedMessages() { set_user_messages(this); }
  ~RecordedMessages() override { set_user_messages(nullptr); }
  void show(MessageKind, const QString& text) override { shown.push_back(text); }
  bool ask(MessageKind, const QString& text, Question) override {
    asked.push_back(text);
    if (answers.empty()) return true;
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
  std::vector<QString> shown;
  std::vector<QString> asked;
  std::deque<bool> answers;
};

/// Records every call the windows make to the engine while it lives; with `driver` set,
/// requests are answered by it instead of the engine.
struct RecordedEngine : engine::Tap {
  RecordedEngine() { engine::set_tap(this); }
  ~RecordedEngine() { engine::set_tap(nullptr); }
  RecordedEngine(const RecordedEngine&) = delete;
  RecordedEngine& operator=(const RecordedEngine&) = delete;
  /// The calls from position `from` on.
  std::vector<engine::Call> since(std::size_t from) const {
    return {calls.begin() + static_cast<long>(std::min(from, calls.size())), calls.end()};
  }
};

/// Calls as a tap records them: a slot, a character setting, a request and its result.
inline engine::Call slot(int code, int value) { return {engine::Call::Kind::kInt, code, value, {}}; }
inline engine::Call text(int code, const std::string& t) { return {engine::Call::Kind::kChar, code, 0, t}; }
inline engine::Call request(int r, int result) { return {engine::Call::Kind::kDriver, r, result, {}}; }

/// A temporary home for the settings file and the desktop's data and configuration folders.
struct TestHome {
  TestHome();
  ~TestHome();
  std::filesystem::path ini() const { return path / "zelvorin.ini"; }
  QTemporaryDir dir;
  std::filesystem::path path;
};

/// The folder of the repository's sample data.
std::filesystem::path sample_folder();

/// A quarterly data set of `nobs` observations from 1990Q1.
DataShape quarters_from_1990(int nobs);

}  // namespace zelvorin::testing
