#include "charts/gs_library.h"

#include <algorithm>
#include <cmath>

namespace charts {

void GsLibrary::GSDataDim(int points, int sets) {
  points_ = std::max(0, points) * std::max(0, std::min(sets, 1));
  values_.clear();
}

void GsLibrary::GSDataAmp(std::span<const double> values) {
  values_.assign(values.begin(), values.begin() + std::min<std::size_t>(values.size(), points_));
}

void GsLibrary::GSDataScale(double x0, double x1) {
  x0_ = x0;
  x1_ = x1;
}

void GsLibrary::GSDataPatt(const Pen& pen) { pen_ = pen; }

void GsLibrary::GSXYGraph() {
  if (values_.size() < 2) return;
  canvas_.set_pen(pen_);
  const double top = layout_.plot.top(), bottom = layout_.plot.bottom();
  std::vector<QPointF> run;
  auto flush = [&] {
    if (run.size() >= 2) canvas_.polyline(run);
    run.clear();
  };
  const double n1 = static_cast<double>(values_.size() - 1);
  for (std::size_t i = 0; i < values_.size(); ++i) {
    if (!std::isfinite(values_[i])) {
      flush();
      continue;
    }
    const double x = layout_.map_x(x0_ + (x1_ - x0_) * static_cast<double>(i) / n1);
    run.emplace_back(x, std::clamp(layout_.map_y(values_[i]), top, bottom));
  }
  flush();
}

void GsLibrary::GSLineAbs(double x0, double y0, double x1, double y1) {
  canvas_.line({layout_.map_x(x0), layout_.map_y(y0)}, {layout_.map_x(x1), layout_.map_y(y1)});
}

void GsLibrary::GSRText(const QPointF& at, const QString& text, double angle) {
  canvas_.text(at, text, TextRole::kTickLabel, HAlign::kRight, VAlign::kCenter, angle);
}

}  // namespace charts
