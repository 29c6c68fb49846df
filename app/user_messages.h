// The main program's message boxes go through one seam, so that tests can answer them.
#pragma once

#include <QString>

class QWidget;

namespace zelvorin {

enum class MessageKind { kWarning, kError, kInformation };
enum class Question { kOkCancel, kYesNo };

class UserMessages {
 public:
  virtual ~UserMessages() = default;
  /// A message box with an OK button.
  virtual void show(MessageKind kind, const QString& text) = 0;
  /// A question; true for OK or Yes.
  virtual bool ask(MessageKind kind, const QString& text, Question buttons) = 0;
};

/// The message boxes in use: Qt's, unless a test installed its own.
UserMessages& user_messages();

/// Installs `messages` (not owned; nullptr restores Qt's boxes).
void set_user_messages(UserMessages* messages);

}  // namespace zelvorin
