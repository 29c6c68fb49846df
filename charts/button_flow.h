// The button row of the graph windows: buttons side by side in their natural sizes, going
// on to a further row where the window is too narrow for one, so that none is cut off.
#pragma once

#include <QLayout>
#include <QList>

namespace charts {

class ButtonFlow : public QLayout {
 public:
  explicit ButtonFlow(QWidget* parent = nullptr) : QLayout(parent) { setSpacing(6); }
  ~ButtonFlow() override;
  ButtonFlow(const ButtonFlow&) = delete;
  ButtonFlow& operator=(const ButtonFlow&) = delete;

  void addItem(QLayoutItem* item) override { items_.append(item); }
  int count() const override { return static_cast<int>(items_.size()); }
  QLayoutItem* itemAt(int index) const override { return items_.value(index); }
  QLayoutItem* takeAt(int index) override;
  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override { return arrange(QRect(0, 0, width, 0), false); }
  void setGeometry(const QRect& rect) override;
  QSize sizeHint() const override;
  /// As wide as the widest button: the others go on to further rows.
  QSize minimumSize() const override;

 private:
  /// Places the items in rows within `rect` (only measures unless `place`); the height used.
  int arrange(const QRect& rect, bool place) const;

  QList<QLayoutItem*> items_;  ///< owned
};

}  // namespace charts
