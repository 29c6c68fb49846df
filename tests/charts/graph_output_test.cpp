#include "charts/graph_output.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
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

}

/// The metafile at `path` converted to SVG by libwmf's wmf2svg; empty when it failed.
QString wmf_as_svg(const QString& path) {
  QProcess convert;
  convert.start(QStandardPaths::findExecutable("wmf2svg"), {"-o", path + ".svg", path});
  if (!convert.waitForFinished(30000) || convert.exitCode() != 0) {
    ADD_FAILURE() << convert.readAllStandardError().toStdString();
    return {};
  }
  QFile svg(path + ".svg");
  if (!svg.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(svg.readAll());
}

/// The style attributes of the SVG elements named `element`.
QStringList styles_of(const QString& svg, const QString& element) {
  QStringList out;
  const QRegularExpression pattern("<" + element + "\\b[^>]*style=\"([^\"]*)\"");
  for (auto it = pattern.globalMatch(svg); it.hasNext();) out << it.next().captured(1);
  return out;
}

TEST(GraphOutput, MetafilesDrawRightInAnOutsideConverter) {
  if (QStandardPaths::findExecutable("wmf2svg").isEmpty()) GTEST_SKIP() << "wmf2svg (libwmf-bin) is not installed";
  QTemporaryDir dir;
  // A line graph: every data line is a stroke, none a filled shape.
  const QString lines = dir.filePath("time.wmf");
  ASSERT_TRUE(charts::GSPicWrite(model_of(time_plot(), 640), lines, charts::kPicWmf, QSize(640, 420)));
  const QString svg = wmf_as_svg(lines);
  EXPECT_TRUE(svg.contains(">Consumption and disposable income</text>"));
  EXPECT_TRUE(svg.contains(">Quarters</text>"));
  for (const char* shape : {"polyline", "polygon", "path"})
    for (const QString& style : styles_of(svg, shape))
      EXPECT_TRUE(style.contains("fill:none")) << shape << ": " << style.toStdString();
  int series_segments = 0;
  for (const QString& style : styles_of(svg, "line")) series_segments += style.contains("stroke:midnightblue");
  EXPECT_GE(series_segments, 38);  // the first series: 40 points, one gap
  // The background and the frame: one opaque white rectangle, then hollow ones.
  const QStringList rects = styles_of(svg, "rect");
  ASSERT_FALSE(rects.isEmpty());
  EXPECT_TRUE(rects[0].contains("fill-opacity:1.0") && rects[0].contains("fill:white")) << rects[0].toStdString();

  // A histogram: its bars keep their fill, drawn opaque.
  const QString bars = dir.filePath("hist.wmf");
  ASSERT_TRUE(charts::GSPicWrite(model_of(histogram_plot(), 640), bars, charts::kPicWmf, QSize(640, 420)));
  const QString hist = wmf_as_svg(bars);
  EXPECT_TRUE(hist.contains(">Histogram and Normal curve for variable RESID</text>"));
  EXPECT_TRUE(hist.contains(">Frequency</text>"));
  int filled_bars = 0;
  for (const QString& style : styles_of(hist, "rect"))
    filled_bars += style.contains("fill-opacity:1.0") && !style.contains("fill:white") && !style.contains("fill:none");
  EXPECT_GE(filled_bars, 12);
  for (const QString& style : styles_of(hist, "polyline")) EXPECT_TRUE(style.contains("fill:none"));
}

TEST(GraphOutput, TheExtensionNamesTheFormat) {
  using charts::ImageKind;
  const std::pair<const char*, ImageKind> cases[] = {
      {"fit.png", ImageKind::kPng},       {"FIT.PNG", ImageKind::kPng},
      {"fit.jpg", ImageKind::kJpeg},      {"fit.JPEG", ImageKind::kJpeg},
      {"fit.svg", ImageKind::kSvg},       {"fit.Pdf", ImageKind::kPdf},
      {"fit.bmp", ImageKind::kBmp},       {"fit.BMPX", ImageKind::kBmp},  // three letters decide
      {"fit.wmf", ImageKind::kWmf},       {"fit.out", ImageKind::kPrinterFile},
      {"fit", ImageKind::kPrinterFile},   {"fit.svgz", ImageKind::kPrinterFile},
      {"fit.png.ps", ImageKind::kPrinterFile}, {"a.b/fit.jpe", ImageKind::kPrinterFile},
  };
  for (const auto& [name, kind] : cases) EXPECT_EQ(charts::image_kind(name), kind) << name;
  EXPECT_EQ(charts::printer_file_name("/x/fit.out"), "/x/fit.out.pdf");
}

QString run_tool(const char* tool, const QStringList& arguments) {
  const QString path = QStandardPaths::findExecutable(tool);
  if (path.isEmpty()) return {};
  QProcess run;
  run.start(path, arguments);
  if (!run.waitForFinished(30000)) return {};
  return QString::fromUtf8(run.readAllStandardOutput());
}

TEST(GraphOutput, EachFormatIsWrittenAsItsNameSays) {
  QTemporaryDir dir;
  const charts::GraphModel model = model_of(time_plot(), 600);
  const QSize size(600, 400);
  struct Case {
    const char* name;
    QByteArray head;
    QSize pixels;  ///< of an image; empty for drawings
  };
  const Case cases[] = {
      {"fit.png", QByteArray("\x89PNG\r\n\x1a\n", 8), {1200, 800}},  // two pixels to the unit asked
      {"fit.JPG", QByteArray("\xFF\xD8\xFF", 3), {1200, 800}},
      {"fit.jpeg", QByteArray("\xFF\xD8\xFF", 3), {1200, 800}},
      {"fit.bmp", "BM", {600, 400}},  // a bitmap keeps the window's size
      {"fit.wmf", QByteArray("\xD7\xCD\xC6\x9A", 4), {}},
      {"fit.svg", "<?xml", {}},
      {"fit.pdf", "%PDF", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir.filePath(c.name);
    ASSERT_TRUE(charts::write_image(model, path, charts::image_kind(path), size, 2.0));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(c.head.size()), c.head);
    if (!c.pixels.isEmpty()) {
      EXPECT_EQ(QImage(path).size(), c.pixels);
    }
  }
  // The SVG drawing is vector data with the texts as text.
  QFile svg(dir.filePath("fit.svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray drawing = svg.readAll();
  EXPECT_TRUE(drawing.contains("viewBox=\"0 0 600 400\"")) << drawing.left(600).toStdString();
  EXPECT_TRUE(drawing.contains("<title>Consumption and disposable income</title>"));
  EXPECT_TRUE(drawing.contains(">Quarters</text>"));
  EXPECT_TRUE(drawing.contains("<polyline"));
  EXPECT_FALSE(drawing.contains("<image"));
  // The PDF page has the graph's size (600 × 400 units of 1/96 inch) and searchable text.
  const QString info = run_tool("pdfinfo", {dir.filePath("fit.pdf")});
  if (info.isEmpty()) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
  EXPECT_TRUE(info.contains(QRegularExpression("Page size: +450 x 300 pts"))) << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression("Title: +Consumption and disposable income")));
  EXPECT_TRUE(run_tool("pdftotext", {dir.filePath("fit.pdf"), "-"}).contains("Consumption and disposable income"));
  // Nothing is written for a name the picture formats do not cover, nor into a missing folder.
  EXPECT_FALSE(charts::write_image(model, dir.filePath("fit.out"), charts::ImageKind::kPrinterFile, size));
  EXPECT_FALSE(QFile::exists(dir.filePath("fit.out")));
  EXPECT_FALSE(charts::write_image(model, dir.filePath("no/such/fit.svg"), charts::ImageKind::kSvg, size));
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
