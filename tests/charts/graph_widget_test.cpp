#include "charts/graph_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QTimer>

#include "shared/plot_file.h"

namespace {

charts::GraphSetup setup() {
  const auto plot = plot_file::parse(" Fit\n *\n 0 1 3 0\n 2 1990 1\n A\n 1\n 2\n 3\n");
  EXPECT_TRUE(plot);
  return charts::setup_graph(plot.value_or(plot_file::Plot{}), {}, charts::Variant::kMainWindow);
}

TEST(GraphWidget, ToolbarChangesTheGraph) {
  charts::GraphWidget widget;
  widget.set_graph(setup());
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QLineEdit*>("title")->setText("Fitted values");
    auto* type = dialog->findChild<QComboBox*>("type");
    type->setCurrentIndex(type->findData(charts::kBarGraph));
    dialog->findChild<QCheckBox*>("mono")->setChecked(true);
    dialog->accept();
  });
  widget.set_property_pages(2);
  EXPECT_EQ(widget.model().graph_title, "Fitted values");
  EXPECT_EQ(widget.model().graph_type, charts::kBarGraph);
  EXPECT_EQ(widget.model().draw_style, 1);

  QTimer::singleShot(0, [] { qobject_cast<QDialog*>(QApplication::activeModalWidget())->reject(); });
  widget.model().graph_title = "Kept";
  widget.set_property_pages(2);
  EXPECT_EQ(widget.model().graph_title, "Kept");  // cancelled: nothing changes
}

TEST(GraphWidget, CopiesItselfToTheClipboard) {
  charts::GraphWidget widget;
  widget.set_graph(setup());
  widget.resize(500, 300);
  QApplication::clipboard()->clear();
  widget.set_draw_mode(4);
  EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(500, 300));
}

}  // namespace
