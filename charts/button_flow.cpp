#include "charts/button_flow.h"

#include <QWidget>
#include <algorithm>

namespace charts {

ButtonFlow::~ButtonFlow() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

QLayoutItem* ButtonFlow::takeAt(int index) {
  if (index < 0 || index >= items_.size()) return nullptr;
  return items_.takeAt(index);
}

void ButtonFlow::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  arrange(rect, true);
}

QSize ButtonFlow::sizeHint() const {
  int width = 0;
  int height = 0;
  for (const QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;
    width += item->sizeHint().width() + (width > 0 ? spacing() : 0);
    height = std::max(height, item->sizeHint().height());
  }
  const QMargins m = contentsMargins();
  return {width + m.left() + m.right(), height + m.top() + m.bottom()};
}

QSize ButtonFlow::minimumSize() const {
  QSize size;
  for (const QLayoutItem* item : items_)
    if (!item->isEmpty()) size = size.expandedTo(item->sizeHint());
  const QMargins m = contentsMargins();
  return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

int ButtonFlow::arrange(const QRect& rect, bool place) const {
  const QRect area = rect.marginsRemoved(contentsMargins());
  const int gap = spacing();
  int x = area.x();
  int y = area.y();
  int row_height = 0;
  for (QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;
    const QSize size = item->sizeHint();
    if (x > area.x() && x + size.width() > area.right() + 1) {
      x = area.x();
      y += row_height + gap;
      row_height = 0;
    }
    if (place) item->setGeometry(QRect(QPoint(x, y), size));
    x += size.width() + gap;
    row_height = std::max(row_height, size.height());
  }
  const QMargins m = contentsMargins();
  return y + row_height - rect.y() + m.bottom();
}

}  // namespace charts
