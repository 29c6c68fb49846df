#include "qtshared/page_box.h"

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QMimeData>
#include <QStringList>
#include <QTextCursor>

namespace qtshared {

namespace {

/// The selection's text with its paragraph separators as line ends.
QString selected_text(const QPlainTextEdit& box) {
  QString text = box.textCursor().selectedText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return text;
}

}  // namespace

QMimeData* page_mime_data(const QString& text, const QFont& font) {
  QString plain = text;
  plain.remove(QLatin1Char('\f'));
  const QFontInfo info(font);
  QStringList families;
  if (info.fixedPitch()) families << "'" + QString(info.family()).remove(QLatin1Char('\'')) + "'";
  families << QStringLiteral("monospace");
  const double points = info.pointSizeF() > 0 ? info.pointSizeF() : 10.0;
  const QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><pre style=\"font-family: ") +
                       families.join(QStringLiteral(", ")) + "; font-size: " + QString::number(points) + "pt\">" +
                       plain.toHtmlEscaped() + QStringLiteral("</pre></body></html>");
  auto* data = new QMimeData;
  data->setText(plain);
  data->setHtml(html);
  return data;
}

PageBox::PageBox(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabChangesFocus(true);  // a page is read and edited, not indented
}

void PageBox::copy_page() {
  const QString text = textCursor().hasSelection() ? selected_text(*this) : toPlainText();
  QApplication::clipboard()->setMimeData(page_mime_data(text, font()));
}

QMimeData* PageBox::createMimeDataFromSelection() const { return page_mime_data(selected_text(*this), font()); }

}  // namespace qtshared
