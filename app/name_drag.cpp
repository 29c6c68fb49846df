#include "app/name_drag.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>

namespace zelvorin {

namespace {

/// Takes the name drops of a memo's viewport before the memo's own text drop handling.
class NameDropFilter : public QObject {
 public:
  NameDropFilter(QPlainTextEdit* memo) : QObject(memo), memo_(memo) {}

  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!AcceptNameDrag(drag->mimeData())) return false;
        drag->acceptProposedAction();
        return true;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!DropNameIntoMemo(memo_, drop->mimeData())) return false;
        drop->acceptProposedAction();
        return true;
      }
      default:
        return false;
    }
  }

 private:
  QPlainTextEdit* memo_;
};

}  // namespace

QMimeData* name_drag_data(const QString& name) {
  auto* data = new QMimeData;
  data->setData(QString::fromLatin1(kNameMimeType), name.trimmed().toUtf8());
  data->setText(name.trimmed());
  return data;
}

bool AcceptNameDrag(const QMimeData* data) {
  return data != nullptr && data->hasFormat(QString::fromLatin1(kNameMimeType));
}

bool DropNameIntoMemo(QPlainTextEdit* memo, const QMimeData* data) {
  if (memo == nullptr || !AcceptNameDrag(data)) return false;
  const QString name = QString::fromUtf8(data->data(QString::fromLatin1(kNameMimeType)));
  if (name.isEmpty()) return false;
  memo->insertPlainText(name + QLatin1Char(' '));
  memo->setFocus();
  return true;
}

void accept_name_drops(QPlainTextEdit* memo) {
  memo->setAcceptDrops(true);
  memo->viewport()->installEventFilter(new NameDropFilter(memo));
}

}  // namespace zelvorin
