#include "charts/fonts.h"

#include <algorithm>

namespace charts {

QFont role_font(TextRole role, double points) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  // No ligatures ("fi"): printed and exported text reads back letter for letter.
  font.setStyleStrategy(QFont::PreferNoShaping);
  const double base = std::clamp(points, 4.0, 72.0);
  switch (role) {
    case TextRole::kTitle:
      font.setPointSizeF(base * 1.35);
      font.setBold(true);
      break;
    case TextRole::kAxisTitle: font.setPointSizeF(base * 1.05); break;
    case TextRole::kTickLabel:
    case TextRole::kLegend: font.setPointSizeF(base); break;
  }
  return font;
}

}  // namespace charts
