#include "charts/graph_output.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>

#include "charts/graph_setup.h"
#include "shared/plot_file.h"

namespace {

charts::GraphModel model_of(const plot_file::Plot& plot, int width) {
  charts::GraphSetup g = charts::setup_graph(plot, {}, charts::Variant::kMainWindow);
  charts::lay_out_labels(g, width);
  return g.model;
}

// Quarterly consumption and income from 1985Q1, forecast from point 32, a gap at 10.
plot_file::Plot time_plot() {
  plot_file::Plot p;
  p.title = "Consumption and disposable income";
  p.second_title = "*";
  p.kind_code = 0;
  p.points = 40;
  p.marker = 32;
  p.frequency = 4;
  p.first_year = 1985;
  p.first_period = 1;
  p.series = {{"C", {}, false}, {"YD", {}, false}};
  for (int t = 0; t < p.points; ++t) {
    p.series[0].values.push_back(t == 9 ? 8934567.0 : 100 + 0.9 * t + 2.5 * std::sin(t * 0.9));
    p.series[1].values.push_back(112 + 1.0 * t + 3.0 * std::sin(t * 0.7 + 1));
  }
  return p;
}

plot_file::Plot xy_plot() {
  plot_file::Plot p;
  p.title = "Log-likelihood over the MA parameter";
  p.second_title = plot_file::second_title(50, 1);
  p.kind_code = 1;
  p.points = 41;
  p.blank_names = true;
  p.series = {{"", {}, false}, {"", {}, true}};
  for (int i = 0; i < p.points; ++i) {
    const double x = -1 + 2.0 * i / (p.points - 1);
    p.series[0].values.push_back(-250 - 80 * (x - 0.35) * (x - 0.35));
    p.series[1].values.push_back(x);
  }
  return p;
}

plot_file::Plot spectrum_plot() {
  plot_file::Plot p;
  p.title = "Spectral density of GDP growth";
  p.second_title = "*";
  p.kind_code = 2;
  p.points = 50;
  p.series = {{"Parzen", {}, false}, {"Frequency", {}, false}};
  for (int i = 0; i < p.points; ++i) {
    const double w = M_PI * i / (p.points - 1);
    p.series[0].values.push_back(0.8 / (1.25 - std::cos(w)) + 0.1);
    p.series[1].values.push_back(w);
  }
  return p;
}

plot_file::Plot scatter_plot() {
  plot_file::Plot p;
  p.title = "Scatter plot of C on YD";
  p.second_title = "*";
  p.kind_code = 3;
  p.points = 60;
  p.series = {{"C", {}, false}, {"YD", {}, false}};
  for (int i = 0; i < p.points; ++i) {
    const double x = 100 + 1.3 * i + 6 * std::sin(i * 2.3);
    p.series[0].values.push_back(12 + 0.8 * x + 4 * std::cos(i * 1.7));
    p.series[1].values.push_back(x);
  }
  return p;
}

plot_file::Plot histogram_plot() {
  plot_file::Plot p;
  p.title = "Histogram and Normal curve for variable RESID";
  p.second_title = "*";
  p.kind_code = 4;
  p.points = 12;
  p.series = {{"RESID", {2, 3, 7, 12, 18, 24, 22, 16, 11, 6, 3, 1}, false}};
  const double lo = -3.0, width = 0.5;  // 125 values, mean 0, s.d. 1
  for (int k = 0; k < p.points; ++k) p.classes.push_back(lo + width * (k + 0.5));
  for (int i = 0; i < plot_file::kCurvePoints; ++i) {
    const double x = lo + 6.0 * i / 100;
    p.curve.push_back(125 * width * std::exp(-x * x / 2) / std::sqrt(2 * M_PI));
  }
  return p;
}

plot_file::Plot horizon_plot() {
  plot_file::Plot p;
  p.title = "Generalised impulse responses to one s.e. shock in the equation for R";
  p.second_title = "*";
  p.kind_code = plot_file::kHorizonCode;
  p.points = 25;
  p.first_year = 0;  // undated: the first observation's offset
  p.series = {{"R", {}, false}, {"DP", {}, false}, {"Y", {}, false}};
  for (int h = 0; h < p.points; ++h) {
    p.series[0].values.push_back(0.9 * std::exp(-h / 6.0));
    p.series[1].values.push_back(-0.3 * std::sin(h / 4.0) * std::exp(-h / 10.0));
    p.series[2].values.push_back(-0.5 * (1 - std::exp(-h / 5.0)));
  }
  return p;
}

TEST(GraphOutput, ScreenshotOfEveryKind) {
  const QSize tile(640, 420);
  QImage sheet(tile.width() * 2, tile.height() * 3, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  const plot_file::Plot plots[] = {time_plot(),    xy_plot(),        spectrum_plot(),
                                   scatter_plot(), histogram_plot(), horizon_plot()};
  int i = 0;
  for (const plot_file::Plot& plot : plots) {
    // Every plot also goes through the file format and back.
    const auto back = plot_file::parse(plot_file::format(plot));
    ASSERT_TRUE(back);
    const QImage image = charts::render_image(model_of(*back, tile.width()), tile);
    painter.drawImage(QPoint((i % 2) * tile.width(), (i / 2) * tile.height()), image);
    ++i;
  }
  painter.setPen(QColor(160, 160, 160));
  painter.drawLine(tile.width(), 0, tile.width(), sheet.height());
  for (int r = 1; r < 3; ++r) painter.drawLine(0, r * tile.height(), sheet.width(), r * tile.height());
  painter.end();
  ASSERT_TRUE(sheet.save("graph_kinds.png"));
  // The same time plot as a metafile, for review with an outside reader.
  ASSERT_TRUE(charts::GSPicWrite(model_of(time_plot(), tile.width()), "time_plot.wmf", charts::kPicWmf, tile));
  EXPECT_GT(QFile("graph_kinds.png").size(), 20000);
}

TEST(GraphOutput, BitmapLoadsAtItsSize) {
  QTemporaryDir dir;
  const QString path = dir.filePath("fit.bmp");
  ASSERT_TRUE(charts::GSPicWrite(model_of(time_plot(), 500), path, charts::kPicBmp, QSize(500, 320)));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.read(2), "BM");
  const QImage image(path);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(500, 320));
  EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
  EXPECT_FALSE(charts::GSPicWrite(model_of(time_plot(), 500), dir.filePath("x.gif"), 7, QSize(10, 10)));
  EXPECT_FALSE(charts::GSPicWrite(model_of(time_plot(), 500), dir.filePath("no/such/x.bmp"), 4, QSize(10, 10)));
}

uint16_t word(const QByteArray& b, int i) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[2 * i]) | (static_cast<uint8_t>(b[2 * i + 1]) << 8));
}

TEST(GraphOutput, MetafileIsPlaceableAndReadable) {
  QTemporaryDir dir;
  const QString path = dir.filePath("hist.wmf");
  ASSERT_TRUE(charts::GSPicWrite(model_of(histogram_plot(), 640), path, charts::kPicWmf, QSize(640, 420)));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray b = file.readAll();
  ASSERT_GT(b.size(), 40);
  EXPECT_EQ(word(b, 0), 0xCDD7);
  EXPECT_EQ(word(b, 1), 0x9AC6);
  uint16_t checksum = 0;
  for (int i = 0; i < 10; ++i) checksum ^= word(b, i);
  EXPECT_EQ(word(b, 10), checksum);
  EXPECT_EQ(word(b, 5), 640);                       // bounding box
  const uint32_t words = word(b, 14) | (uint32_t(word(b, 15)) << 16);
  EXPECT_EQ(22 + 2 * qsizetype(words), b.size());   // size in words after the placeable header
  // The records add up to the file and end with the end record.
  qsizetype pos = 22 + 18;
  while (pos + 6 <= b.size()) {
    const uint32_t size = word(b, pos / 2) | (uint32_t(word(b, pos / 2 + 1)) << 16);
    ASSERT_GE(size, 3u);
    if (word(b, pos / 2 + 2) == 0) break;
    pos += 2 * qsizetype(size);
  }
  EXPECT_EQ(pos + 6, b.size());

  const QString wmf2svg = QStandardPaths::findExecutable("wmf2svg");
  if (wmf2svg.isEmpty()) GTEST_SKIP() << "wmf2svg (libwmf-bin) is not installed";
  QProcess convert;
  convert.start(wmf2svg, {"-o", dir.filePath("hist.svg"), path});
  ASSERT_TRUE(convert.waitForFinished(30000));
  EXPECT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
  QFile svg(dir.filePath("hist.svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray text = svg.readAll();
  EXPECT_TRUE(text.contains("Histogram and Normal curve for variable RESID"));
  EXPECT_TRUE(text.contains("Frequency"));
}

TEST(GraphOutput, PrintedPdfCarriesTheTitle) {
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("graph.pdf"));
  printer.setPageOrientation(QPageLayout::Landscape);
  ASSERT_TRUE(charts::print_graph(model_of(time_plot(), 800), printer, 1.5));
  const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  QProcess run;
  run.start(pdftotext, {dir.filePath("graph.pdf"), "-"});
  ASSERT_TRUE(run.waitForFinished(30000));
  const QString text = QString::fromUtf8(run.readAllStandardOutput());
  EXPECT_TRUE(text.contains("Consumption and disposable income")) << text.toStdString();
  EXPECT_TRUE(text.contains("Quarters"));
}

TEST(GraphOutput, PrintAreaKeepsTheWindowShape) {
  const QRectF wide = charts::print_area(1000, 800, 2.0);
  EXPECT_DOUBLE_EQ(wide.left(), 75);
  EXPECT_DOUBLE_EQ(wide.width(), 850);
  EXPECT_DOUBLE_EQ(wide.height(), 425);
  EXPECT_DOUBLE_EQ(wide.bottom(), 740);
  const QRectF tall = charts::print_area(1000, 800, 0.5);  // 85 % of the height at most
  EXPECT_DOUBLE_EQ(tall.height(), 680);
  EXPECT_DOUBLE_EQ(tall.width(), 340);
  EXPECT_DOUBLE_EQ(tall.bottom(), 740);
}

}  // namespace
