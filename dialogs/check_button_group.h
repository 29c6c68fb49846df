// A group box of check boxes laid out in columns, filled column by column: the control of
// the multiple-choice form. It places its boxes itself, so the geometry is the same on
// every style:
//   rows = ceil(count / columns), column width = (width - 10) div columns,
//   free = height - font height - 5, row height = free div rows,
//   top = (free mod rows) div 2 + font height + 1,
//   box i at ((i div rows) × column width + 8, (i mod rows) × row height + top).
// A row is never lower than the font: a group too small for its items grows instead.
#pragma once

#include <QGroupBox>
#include <QRect>
#include <QStringList>
#include <vector>

class QCheckBox;

namespace pravel {

/// The rectangles of `count` boxes in a group of the given size and font height.
std::vector<QRect> check_group_layout(int count, int columns, int width, int height,
                                      int font_height);

class CheckButtonGroup : public QGroupBox {
  Q_OBJECT
 public:
  explicit CheckButtonGroup(QWidget* parent = nullptr);

  /// Replaces the items and rebuilds the boxes (boxes are added or removed at the end); each
  /// box shows its item as written, "&" included.
  void set_items(const QStringList& items);
  QStringList items() const { return items_; }
  int count() const { return static_cast<int>(items_.size()); }

  /// Columns, clamped to 1..16.
  void set_columns(int columns);
  int columns() const { return columns_; }

  /// Item index, clamped to -1..count-1: clears the previous item's box and checks the new
  /// one, without raising `clicked_item`.
  void set_item_index(int index);
  int item_index() const { return item_index_; }

  /// Checks box `index` when `state` is positive, else clears it.
  void set_checked(int index, int state);
  /// 1 when box `index` is checked, else 0 (also for an index out of range).
  int checked(int index) const;

  QCheckBox* box(int index) const;

 signals:
  /// A box was clicked; the item index is now that box.
  void clicked_item(int index);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void relayout();

  QStringList items_;               ///< the item texts
  std::vector<QCheckBox*> boxes_;   ///< one box per item, in item order
  int columns_ = 1;                 ///< 1..16
  int item_index_ = -1;             ///< -1 = none
};

}  // namespace pravel
