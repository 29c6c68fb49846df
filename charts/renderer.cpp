#include "charts/renderer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include <QStringList>

#include "charts/gs_library.h"

namespace charts {

QColor palette_color(int i) {
  static const QColor colors[] = {
      {31, 59, 115},  {74, 122, 181}, {192, 57, 43},  {46, 125, 50},  {230, 149, 0},
      {106, 61, 154}, {0, 131, 143},  {141, 110, 99}, {216, 27, 96},  {85, 85, 85},
      {124, 179, 66}, {3, 155, 229},  {244, 81, 30},  {94, 53, 177},  {0, 0, 0},
  };
  constexpr int n = static_cast<int>(std::size(colors));
  return colors[((i % n) + n) % n];
}

double PlotLayout::map_x(double v) const {
  const double span = x.max - x.min;
  return plot.left() + (span == 0.0 ? 0.5 : (v - x.min) / span) * plot.width();
}

double PlotLayout::map_y(double v) const {
  const double span = y.max - y.min;
  return plot.bottom() - (span == 0.0 ? 0.5 : (v - y.min) / span) * plot.height();
}

double line_unit(const QRectF& bounds) {
  return std::max(1.0, std::min(bounds.width(), bounds.height()) / 450.0);
}

Pen set_pen(const GraphModel& model, int set, double unit) {
  Pen pen;
  const DataSet* ds = set >= 0 && set < model.num_sets() ? &model.sets[set] : nullptr;
  const int pattern = ds != nullptr ? ds->pattern : 0;
  if (model.draw_style == 1) {
    pen.color = Qt::black;
  } else {
    const int color = ds != nullptr && ds->color >= 0 ? ds->color : (set == 0 ? 0 : set + 1);
    pen.color = palette_color(color);
  }
  pen.width = 1.5 * unit;
  if (model.patterned_lines) {
    pen.dash = static_cast<Dash>(((pattern % 5) + 5) % 5);
  } else if (model.thick_lines) {
    pen.width = (0.5 + 0.75 * std::clamp(pattern, 1, 4)) * unit;
  }
  return pen;
}

namespace {

bool present(const DataSet& s, int p) {
  if (p >= static_cast<int>(s.values.size())) return false;
  if (p < static_cast<int>(s.missing.size()) && s.missing[p]) return false;
  return std::isfinite(s.values[p]);
}

bool x_present(const GraphModel& m, int p) {
  if (m.x_positions.empty()) return true;
  return p < static_cast<int>(m.x_positions.size()) && std::isfinite(m.x_positions[p]);
}

double x_of(const GraphModel& m, const PlotLayout& l, int p) {
  return l.map_x(m.x_positions.empty() ? p + 1.0 : m.x_positions[p]);
}

/// Range of the values drawn against the y axis (bars stand on zero).
AxisScale y_scale(const GraphModel& m) {
  double lo = std::numeric_limits<double>::infinity(), hi = -lo;
  for (const DataSet& s : m.sets)
    for (int p = 0; p < m.num_points; ++p)
      if (present(s, p)) {
        lo = std::min(lo, s.values[p]);
        hi = std::max(hi, s.values[p]);
      }
  for (double v : m.overlays.curve)
    if (std::isfinite(v)) {
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
  if (m.graph_type == kBarGraph) {
    lo = std::min(lo, 0.0);
    hi = std::max(hi, 0.0);
  }
  if (!std::isfinite(lo)) lo = 0.0, hi = 1.0;
  AxisScale s = nice_scale(lo, hi, 5);
  if (m.graph_type == kBarGraph && lo >= 0.0) s.min = std::max(s.min, 0.0);
  return s;
}

AxisScale x_scale(const GraphModel& m, bool& point_axis) {
  const int n = std::max(1, m.num_points);
  point_axis = m.x_positions.empty();
  if (!point_axis) {
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (int p = 0; p < std::min<int>(n, static_cast<int>(m.x_positions.size())); ++p)
      if (std::isfinite(m.x_positions[p])) {
        lo = std::min(lo, m.x_positions[p]);
        hi = std::max(hi, m.x_positions[p]);
      }
    if (m.x_axis_style == 2 && m.x_axis_min < m.x_axis_max)
      return fixed_scale(m.x_axis_min, m.x_axis_max);
    if (m.graph_type == kScatterGraph) return nice_scale(lo, hi, 5);
    return fixed_scale(lo, hi, 5);  // lines run to the ends of the axis
  }
  AxisScale s;
  if (m.graph_type == kBarGraph) {
    s.min = 0.5, s.max = n + 0.5;
  } else if (m.x_axis_style == 2 && m.x_axis_min < m.x_axis_max) {
    s.min = m.x_axis_min, s.max = m.x_axis_max;
  } else if (n == 1) {
    s.min = 0.5, s.max = 1.5;
  } else {
    s.min = 1.0, s.max = n;
  }
  s.step = 1.0;
  s.decimals = 0;
  return s;
}

QString point_label(const GraphModel& m, int p) {
  if (p < static_cast<int>(m.labels.size())) return m.labels[p];
  return QString::number(p + 1);
}

struct Legend {
  std::vector<int> sets;               ///< sets with a legend entry
  std::vector<std::vector<int>> rows;  ///< entries per row
  std::vector<double> row_widths;      ///< width of each row
  double sample = 0.0, gap = 0.0, row_height = 0.0;

  double height() const { return rows.size() * row_height; }
};

Legend lay_out_legend(const GraphModel& m, const Canvas& c, double width) {
  Legend lg;
  if (m.legend_pos == 0) return lg;
  for (int s = 0; s < m.num_sets(); ++s)
    if (!m.sets[s].legend.trimmed().isEmpty()) lg.sets.push_back(s);
  if (lg.sets.empty()) return lg;
  lg.row_height = c.font_height(TextRole::kLegend) * 1.25;
  lg.sample = c.font_height(TextRole::kLegend) * 2.2;
  lg.gap = c.font_height(TextRole::kLegend) * 0.5;
  double used = 0.0;
  for (int s : lg.sets) {
    const double w = lg.sample + lg.gap + c.text_size(m.sets[s].legend, TextRole::kLegend).width() + 3 * lg.gap;
    if (lg.rows.empty() || (used + w > width && !lg.rows.back().empty())) {
      lg.rows.emplace_back();
      lg.row_widths.push_back(0.0);
      used = 0.0;
    }
    lg.rows.back().push_back(s);
    used += w;
    lg.row_widths.back() = used - 3 * lg.gap;
  }
  return lg;
}

/// Draws one polyline per run of present points; a lone point gets a dot.
void draw_line_set(const GraphModel& m, const PlotLayout& l, Canvas& c, int set, const Pen& pen) {
  const DataSet& s = m.sets[set];
  c.set_pen(pen);
  std::vector<QPointF> run;
  auto flush = [&] {
    if (run.size() >= 2) {
      c.polyline(run);
    } else if (run.size() == 1) {
      const double r = pen.width * 1.2;
      c.set_fill({pen.color});
      c.ellipse(QRectF(run[0].x() - r, run[0].y() - r, 2 * r, 2 * r));
      c.set_fill({});
    }
    run.clear();
  };
  for (int p = 0; p < m.num_points; ++p) {
    if (!present(s, p) || !x_present(m, p)) {
      flush();
      continue;
    }
    run.emplace_back(x_of(m, l, p), l.map_y(s.values[p]));
  }
  flush();
}

void draw_symbols(const GraphModel& m, const PlotLayout& l, Canvas& c, int set, const Pen& pen,
                  double base) {
  const DataSet& s = m.sets[set];
  const double r = base * std::max(10, m.symbol_size) / 100.0 / 2.0;
  Pen outline = pen;
  outline.width = std::max(0.5, pen.width * 0.5);
  outline.dash = Dash::kSolid;
  c.set_pen(outline);
  c.set_fill({pen.color});
  for (int p = 0; p < m.num_points; ++p) {
    if (!present(s, p) || !x_present(m, p)) continue;
    const QPointF at(x_of(m, l, p), l.map_y(s.values[p]));
    c.ellipse(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r));
  }
  c.set_fill({});
}

void draw_bars(const GraphModel& m, const PlotLayout& l, Canvas& c, double unit) {
  const int nsets = std::max(1, m.num_sets());
  const double group = nsets == 1 ? 1.0 : 0.8;
  const double each = group / nsets;
  const double base = std::clamp(0.0, l.y.min, l.y.max);
  for (int s = 0; s < m.num_sets(); ++s) {
    const QColor fill = m.draw_style == 1
                            ? QColor(200, 200, 200)
                            : palette_color(nsets == 1 ? m.bar_color : s + 1).lighter(135);
    c.set_pen({m.draw_style == 1 ? QColor(Qt::black) : palette_color(0), 0.8 * unit, Dash::kSolid});
    c.set_fill({fill});
    for (int p = 0; p < m.num_points; ++p) {
      if (!present(m.sets[s], p)) continue;
      const double x0 = l.map_x(p + 1 - group / 2 + s * each);
      const double x1 = l.map_x(p + 1 - group / 2 + (s + 1) * each);
      const double y0 = l.map_y(base), y1 = l.map_y(m.sets[s].values[p]);
      c.rect(QRectF(QPointF(x0, std::min(y0, y1)), QPointF(x1, std::max(y0, y1))));
    }
  }
  c.set_fill({});
}

}  // namespace

PlotLayout render(const GraphModel& m, Canvas& c) {
  c.set_font_size(kBaseFontPoints * m.font_size / 100.0);
  const QRectF b = c.bounds();
  const double unit = line_unit(b);
  const double pad = 0.025 * std::min(b.width(), b.height()) + 4.0;
  const double tick_h = c.font_height(TextRole::kTickLabel);
  const double tick_len = 0.4 * tick_h;

  PlotLayout l;
  l.y = y_scale(m);
  l.x = x_scale(m, l.point_axis);

  // Background.
  c.set_pen({Qt::white, 0.0, Dash::kSolid});
  c.set_fill({Qt::white});
  c.rect(b);
  c.set_fill({});

  // Space around the plot area, from the outside in. A title too wide for the graph is
  // broken at the blank nearest its middle.
  double top = b.top() + pad;
  QStringList title_lines;
  const QString title = m.graph_title.trimmed();
  if (!title.isEmpty()) {
    title_lines << title;
    if (c.text_size(title, TextRole::kTitle).width() > b.width() - 2 * pad) {
      const qsizetype mid = title.size() / 2;
      qsizetype cut = -1;
      for (qsizetype d = 0; d <= mid && cut < 0; ++d) {
        if (mid + d < title.size() && title[mid + d] == ' ') cut = mid + d;
        else if (mid - d >= 0 && title[mid - d] == ' ') cut = mid - d;
      }
      if (cut > 0) title_lines = QStringList{title.left(cut).trimmed(), title.mid(cut + 1).trimmed()};
    }
    top += c.font_height(TextRole::kTitle) * (title_lines.size() + 0.5);
  }
  double bottom = b.bottom() - pad;
  const Legend legend = lay_out_legend(m, c, b.width() - 2 * pad);
  if (!legend.rows.empty()) bottom -= legend.height() + 0.5 * pad;
  if (!m.bottom_title.trimmed().isEmpty()) bottom -= c.font_height(TextRole::kAxisTitle) * 1.3;
  double label_room = tick_len + tick_h * 1.3;
  if (!m.overlays.last_label.isEmpty())
    label_room = std::max(label_room, tick_len + c.text_size(m.overlays.last_label, TextRole::kTickLabel).width() + tick_h);
  bottom -= label_room;
  double left = b.left() + pad;
  if (!m.left_title.trimmed().isEmpty()) left += c.font_height(TextRole::kAxisTitle) * 1.4;
  double y_label_w = 0.0;
  for (double v : l.y.ticks) y_label_w = std::max(y_label_w, c.text_size(tick_text(v, l.y), TextRole::kTickLabel).width());
  left += y_label_w + tick_len + 0.4 * tick_h;
  const double right = b.right() - pad - tick_h;
  l.plot = QRectF(QPointF(left, top), QPointF(std::max(left + 1.0, right), std::max(top + 1.0, bottom)));
  const QRectF& pa = l.plot;

  // Grid lines at the y ticks.
  if (m.graph_style == 0) {
    c.set_pen({QColor(218, 218, 218), 0.6 * unit, Dash::kSolid});
    for (double v : l.y.ticks)
      if (v > l.y.min && v < l.y.max) c.line({pa.left(), l.map_y(v)}, {pa.right(), l.map_y(v)});
  }

  // The data.
  const double symbol_base = tick_h * 0.75;
  if (m.graph_type == kBarGraph) draw_bars(m, l, c, unit);
  for (int s = 0; s < m.num_sets() && m.graph_type != kBarGraph; ++s) {
    const Pen pen = set_pen(m, s, unit);
    if (m.graph_type == kScatterGraph) {
      draw_symbols(m, l, c, s, pen, symbol_base);
    } else {
      draw_line_set(m, l, c, s, pen);
    }
  }
  // A zero line when the values cross zero.
  if (l.y.min < 0.0 && l.y.max > 0.0) {
    c.set_pen({QColor(110, 110, 110), 0.8 * unit, Dash::kSolid});
    c.line({pa.left(), l.map_y(0.0)}, {pa.right(), l.map_y(0.0)});
  }

  // Frame, y axis.
  const Pen axis_pen{Qt::black, 1.0 * unit, Dash::kSolid};
  c.set_pen(axis_pen);
  c.rect(pa);
  for (std::size_t i = 0; i < l.y.ticks.size(); ++i) {
    const double y = l.map_y(l.y.ticks[i]);
    c.line({pa.left() - tick_len, y}, {pa.left(), y});
    c.text({pa.left() - tick_len - 0.3 * tick_h, y}, tick_text(l.y.ticks[i], l.y), TextRole::kTickLabel,
           HAlign::kRight, VAlign::kCenter);
    if (m.y_axis_minor_ticks != 0 && i + 1 < l.y.ticks.size()) {
      const int k = std::abs(m.y_axis_minor_ticks) + 1;
      for (int j = 1; j < k; ++j) {
        const double ym = l.map_y(l.y.ticks[i] + l.y.step * j / k);
        c.line({pa.left() - tick_len * 0.5, ym}, {pa.left(), ym});
      }
    }
  }

  // X axis: ticks and labels.
  const double label_y = pa.bottom() + tick_len + 0.2 * tick_h;
  double last_label_end = -std::numeric_limits<double>::infinity();
  const double last_label_x =
      m.overlays.last_label.isEmpty() ? std::numeric_limits<double>::infinity() : l.map_x(m.num_points);
  auto put_label = [&](double x, const QString& text) {
    const double w = c.text_size(text, TextRole::kTickLabel).width();
    const double gap = 0.6 * tick_h;
    if (x - w / 2 < last_label_end + gap) return;  // would overlap the label before it
    if (x + w / 2 + gap > last_label_x - tick_h) return;  // the rotated last label's place
    c.text({x, label_y}, text, TextRole::kTickLabel, HAlign::kCenter, VAlign::kTop);
    last_label_end = x + w / 2;
  };
  c.set_pen(axis_pen);
  if (l.point_axis) {
    const int n = m.num_points;
    const int every = std::max(1, m.label_every);
    const int tick_every = std::max(1, m.ticks == 3 ? every : m.tick_every);
    const bool minor = m.x_axis_minor_ticks != 0 && tick_every > 1;
    for (int p = 0; p < n; ++p) {
      const double x = l.map_x(p + 1);
      if (x < pa.left() - 0.5 || x > pa.right() + 0.5) continue;
      if (p % tick_every == 0) {
        c.line({x, pa.bottom()}, {x, pa.bottom() + tick_len});
      } else if (minor) {
        c.line({x, pa.bottom()}, {x, pa.bottom() + tick_len * 0.5});
      }
      if (p % every == 0) put_label(x, point_label(m, p));
    }
  } else {
    for (std::size_t i = 0; i < l.x.ticks.size(); ++i) {
      const double x = l.map_x(l.x.ticks[i]);
      c.line({x, pa.bottom()}, {x, pa.bottom() + tick_len});
      put_label(x, tick_text(l.x.ticks[i], l.x));
      if (m.x_axis_minor_ticks != 0 && i + 1 < l.x.ticks.size()) {
        const int k = std::abs(m.x_axis_minor_ticks) + 1;
        for (int j = 1; j < k; ++j) {
          const double xm = l.map_x(l.x.ticks[i] + l.x.step * j / k);
          c.line({xm, pa.bottom()}, {xm, pa.bottom() + tick_len * 0.5});
        }
      }
    }
  }

  // Titles.
  for (qsizetype i = 0; i < title_lines.size(); ++i)
    c.text({b.center().x(), b.top() + pad + i * c.font_height(TextRole::kTitle)}, title_lines[i], TextRole::kTitle,
           HAlign::kCenter, VAlign::kTop);
  double below = pa.bottom() + label_room;
  if (!m.bottom_title.trimmed().isEmpty()) {
    c.text({pa.center().x(), below + 0.1 * tick_h}, m.bottom_title.trimmed(), TextRole::kAxisTitle, HAlign::kCenter,
           VAlign::kTop);
    below += c.font_height(TextRole::kAxisTitle) * 1.3;
  }
  if (!m.left_title.trimmed().isEmpty())
    c.text({b.left() + pad, pa.center().y()}, m.left_title.trimmed(), TextRole::kAxisTitle, HAlign::kCenter,
           VAlign::kTop, 90.0);

  // Legend, centred under the plot.
  double row_y = below + 0.5 * pad;
  for (std::size_t r = 0; r < legend.rows.size(); ++r, row_y += legend.row_height) {
    double x = b.center().x() - legend.row_widths[r] / 2;
    const double yc = row_y + legend.row_height / 2;
    for (int s : legend.rows[r]) {
      const Pen pen = set_pen(m, s, unit);
      if (m.graph_type == kScatterGraph) {
        c.set_pen(pen);
        c.set_fill({pen.color});
        const double rad = symbol_base * std::max(10, m.symbol_size) / 200.0;
        c.ellipse(QRectF(x + legend.sample / 2 - rad, yc - rad, 2 * rad, 2 * rad));
        c.set_fill({});
      } else if (m.graph_type == kBarGraph) {
        c.set_pen(axis_pen);
        c.set_fill({palette_color(s + 1).lighter(135)});
        c.rect(QRectF(x + legend.sample * 0.25, yc - legend.row_height * 0.3, legend.sample * 0.5,
                      legend.row_height * 0.6));
        c.set_fill({});
      } else {
        c.set_pen(pen);
        c.line({x, yc}, {x + legend.sample, yc});
      }
      x += legend.sample + legend.gap;
      c.text({x, yc}, m.sets[s].legend.trimmed(), TextRole::kLegend, HAlign::kLeft, VAlign::kCenter);
      x += c.text_size(m.sets[s].legend.trimmed(), TextRole::kLegend).width() + 3 * legend.gap;
    }
  }

  // The drawings added over the graph.
  GsLibrary gs(c, l);
  const Overlays& o = m.overlays;
  if (o.curve.size() >= 2) {
    gs.GSDataDim(static_cast<int>(o.curve.size()), 1);
    gs.GSDataAmp(o.curve);
    gs.GSDataScale(l.x.min, l.x.max);
    Pen curve_pen{m.draw_style == 1 ? QColor(Qt::black) : palette_color(2), 2.0 * unit, Dash::kSolid};
    if (o.curve_pattern > 0) curve_pen.dash = static_cast<Dash>(o.curve_pattern % 5);
    gs.GSDataPatt(curve_pen);
    gs.GSXYGraph();
  }
  if (o.marker >= 1 && l.point_axis) {
    c.set_pen({m.draw_style == 1 ? QColor(Qt::black) : QColor(90, 90, 90), 1.2 * unit, Dash::kDash});
    gs.GSLineAbs(o.marker, l.y.min, o.marker, l.y.max);
  }
  if (!o.last_label.isEmpty() && m.num_points >= 1) {
    c.set_pen(axis_pen);
    gs.GSRText({l.map_x(m.num_points), pa.bottom() + tick_len + 0.2 * tick_h}, o.last_label, 90.0);
  }
  return l;
}

}  // namespace charts
