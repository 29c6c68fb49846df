// The library's message box: an icon, the text, OK, and Help when the message has a help
// context. Help opens the topic and leaves the box open (a standard message box would
// close on it).
#pragma once

#include <QString>

#include "dialogs/form.h"

class QLabel;

namespace pravel {

enum class MessageKind {
  kWarning = 1,
  kError = 2,
  kInformation = 3,
  kPlain = 0,  ///< no icon
};

/// The kind for a `GetOKP` kind code: 1 warning, 2 error, 3 information, other plain.
MessageKind message_kind(int code);

class MessageDialog : public Form {
  Q_OBJECT
 public:
  MessageDialog(QWidget* parent, MessageKind kind, const QString& text, int help_context);
  QString text() const;

 private:
  QLabel* text_;  ///< the message
};

/// Shows a message box owned by the top modal form, and waits for OK.
void show_message(MessageKind kind, const QString& text, int help_context = 0);

}  // namespace pravel
