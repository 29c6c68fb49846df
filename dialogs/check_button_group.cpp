#include "dialogs/check_button_group.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <algorithm>

#include "qtshared/text_bridge.h"

namespace pravel {

std::vector<QRect> check_group_layout(int count, int columns, int width, int height,
                                      int font_height) {
  std::vector<QRect> rects;
  if (count <= 0) return rects;
  columns = std::clamp(columns, 1, 16);
  const int rows = (count + columns - 1) / columns;
  const int column_width = (width - 10) / columns;
  const int free = height - font_height - 5;
  int row_height = free / rows;
  int top = (free % rows) / 2 + font_height + 1;
  if (row_height < font_height) {
    row_height = font_height;
    top = font_height + 1;
  }
  rects.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    rects.emplace_back((i / rows) * column_width + 8, (i % rows) * row_height + top,
                       column_width, row_height);
  return rects;
}

CheckButtonGroup::CheckButtonGroup(QWidget* parent) : QGroupBox(parent) {}

void CheckButtonGroup::set_items(const QStringList& items) {
  items_ = items;
  while (boxes_.size() > static_cast<std::size_t>(items_.size())) {
    delete boxes_.back();
    boxes_.pop_back();
  }
  while (boxes_.size() < static_cast<std::size_t>(items_.size())) {
    auto* box = new QCheckBox(this);
    const int i = static_cast<int>(boxes_.size());
    box->setObjectName(QStringLiteral("item%1").arg(i));
    connect(box, &QCheckBox::clicked, this, [this, i] {
      item_index_ = i;
      emit clicked_item(i);
    });
    boxes_.push_back(box);
  }
  for (std::size_t i = 0; i < boxes_.size(); ++i) boxes_[i]->setText(qtshared::literal_caption(items_[static_cast<qsizetype>(i)]));
  if (item_index_ >= count()) item_index_ = -1;
  if (item_index_ >= 0) boxes_[static_cast<std::size_t>(item_index_)]->setChecked(true);
  relayout();
}

void CheckButtonGroup::set_columns(int columns) {
  columns_ = std::clamp(columns, 1, 16);
  relayout();
}

void CheckButtonGroup::set_item_index(int index) {
  index = std::clamp(index, -1, count() - 1);
  if (item_index_ >= 0 && item_index_ != index) boxes_[static_cast<std::size_t>(item_index_)]->setChecked(false);
  item_index_ = index;
  if (index >= 0) boxes_[static_cast<std::size_t>(index)]->setChecked(true);
}

void CheckButtonGroup::set_checked(int index, int state) {
  if (QCheckBox* b = box(index)) b->setChecked(state > 0);
}

int CheckButtonGroup::checked(int index) const {
  const QCheckBox* b = box(index);
  return b != nullptr && b->isChecked() ? 1 : 0;
}

QCheckBox* CheckButtonGroup::box(int index) const {
  if (index < 0 || index >= static_cast<int>(boxes_.size())) return nullptr;
  return boxes_[static_cast<std::size_t>(index)];
}

void CheckButtonGroup::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  relayout();
}

void CheckButtonGroup::changeEvent(QEvent* event) {
  QGroupBox::changeEvent(event);
  if (event->type() == QEvent::FontChange) relayout();
}

void CheckButtonGroup::relayout() {
  if (boxes_.empty()) return;
  const int font_height = QFontMetrics(font()).height();
  const std::vector<QRect> rects =
      check_group_layout(count(), columns_, width(), height(), font_height);
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    boxes_[i]->setGeometry(rects[i]);
    boxes_[i]->show();
  }
  const int bottom = rects.back().bottom() + 1;
  const int lowest = (count() + columns_ - 1) / columns_ * rects.front().height() +
                     rects.front().top() + 4;
  if (lowest > height() || bottom > height()) setMinimumHeight(std::max(lowest, bottom));
}

}  // namespace pravel
