#include "app/name_drag.h"

#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
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

/// Holds back a combo box's press until it is known to be a click (the list opens) or a
/// drag (the selected name leaves).
class NameDragFilter : public QObject {
 public:
  NameDragFilter(QComboBox* box, NameDragStarter start) : QObject(box), box_(box), start_(std::move(start)) {}

  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || box_->currentIndex() < 0) return false;
        pressed_ = true;
        origin_ = mouse->position().toPoint();
        return true;
      }
      case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!pressed_ || (mouse->position().toPoint() - origin_).manhattanLength() < QApplication::startDragDistance())
          return pressed_;
        pressed_ = false;
        start(std::unique_ptr<QMimeData>(name_drag_data(box_->currentText())));
        return true;
      }
      case QEvent::MouseButtonRelease:
        if (!pressed_) return false;
        pressed_ = false;
        box_->showPopup();
        return true;
      default:
        return false;
    }
  }

 private:
  void start(std::unique_ptr<QMimeData> data) {
    if (start_) {
      start_(box_, std::move(data));
      return;
    }
    auto* drag = new QDrag(box_);
    drag->setMimeData(data.release());
    drag->exec(Qt::CopyAction);
  }

  QComboBox* box_;
  NameDragStarter start_;
  bool pressed_ = false;
  QPoint origin_;
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

void allow_name_drags(QComboBox* box, NameDragStarter start) {
  box->installEventFilter(new NameDragFilter(box, std::move(start)));
}

void accept_name_drops(QPlainTextEdit* memo) {
  memo->setAcceptDrops(true);
  memo->viewport()->installEventFilter(new NameDropFilter(memo));
}

}  // namespace zelvorin
