#include "app/splash_window.h"

#include <QCloseEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QTimer>

namespace zelvorin {

namespace {

QPixmap splash_picture() {
  QPixmap picture(480, 260);
  QPainter p(&picture);
  QLinearGradient sky(0, 0, 0, picture.height());
  sky.setColorAt(0.0, QColor(24, 54, 96));
  sky.setColorAt(1.0, QColor(58, 110, 165));
  p.fillRect(picture.rect(), sky);
  p.setPen(QPen(QColor(255, 255, 255, 90), 2));
  for (int i = 0; i < 12; ++i) p.drawLine(40 + 34 * i, 210 - 9 * i - (i % 3) * 11, 74 + 34 * i, 201 - 9 * i - ((i + 1) % 3) * 11);
  p.setPen(Qt::white);
  QFont title(QStringLiteral("Sans Serif"), 30, QFont::Bold);
  p.setFont(title);
  p.drawText(QRect(0, 50, picture.width(), 60), Qt::AlignCenter, QStringLiteral("Zelvorin"));
  p.setFont(QFont(QStringLiteral("Sans Serif"), 11));
  p.drawText(QRect(0, 110, picture.width(), 30), Qt::AlignCenter,
             QStringLiteral("Interactive econometric analysis"));
  return picture;
}

}  // namespace

SplashWindow::SplashWindow(int close_after_ms) : QSplashScreen(splash_picture(), Qt::WindowStaysOnTopHint) {
  setWindowTitle(QStringLiteral("Welcome to Zelvorin"));
  setAttribute(Qt::WA_DeleteOnClose);
  QTimer::singleShot(close_after_ms, this, &QWidget::close);
}

void SplashWindow::mousePressEvent(QMouseEvent*) { close(); }

void SplashWindow::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    closed_ = true;
    emit closed();
  }
  QSplashScreen::closeEvent(event);
}

}  // namespace zelvorin
