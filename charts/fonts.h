// The fonts of a graph's text roles, scaled from the base font size.
#pragma once

#include <QFont>

#include "charts/canvas.h"

namespace charts {

/// The font of `role` for a base size of `points` (the axis and label font).
QFont role_font(TextRole role, double points);

}  // namespace charts
