#include "app/user_messages.h"

#include "app/modal_hint.h"

#include <QApplication>
#include <QMessageBox>

namespace zelvorin {

namespace {

QMessageBox::Icon icon_of(MessageKind kind) {
  switch (kind) {
    case MessageKind::kWarning: return QMessageBox::Warning;
    case MessageKind::kError: return QMessageBox::Critical;
    case MessageKind::kInformation: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

class QtMessages final : public UserMessages {
 public:
  void show(MessageKind kind, const QString& text) override {
    const ModalHint hint;
    QMessageBox box(icon_of(kind), QApplication::applicationName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
  }
  bool ask(MessageKind kind, const QString& text, Question buttons) override {
    const ModalHint hint;
    const auto yes = buttons == Question::kOkCancel ? QMessageBox::Ok : QMessageBox::Yes;
    const auto no = buttons == Question::kOkCancel ? QMessageBox::Cancel : QMessageBox::No;
    QMessageBox box(icon_of(kind), QApplication::applicationName(), text, yes | no,
                    QApplication::activeWindow());
    box.setDefaultButton(no);
    return box.exec() == yes;
  }
};

QtMessages g_qt_messages;
UserMessages* g_messages = nullptr;

}  // namespace

UserMessages& user_messages() { return g_messages ? *g_messages : g_qt_messages; }

void set_user_messages(UserMessages* messages) { g_messages = messages; }

}  // namespace zelvorin
