// Dialog widths that leave the caption whole: the desktop's title bar cuts a caption that is
// wider than the window, however short its fields are.
#pragma once

class QWidget;

namespace qtshared {

/// The width `window` needs for its caption in the title bar: the caption in a bold version
/// of the window's font, with room for the bar's icon and buttons, which grow with the font.
int title_width(const QWidget& window);

/// Widens `window` to `title_width` (at most the width of its screen) when it is narrower,
/// and keeps it from being made narrower.
void fit_to_title(QWidget& window);

/// Fits `window` to its caption each time it is shown, with the font and caption it has
/// then.
void keep_title_whole(QWidget& window);

}  // namespace qtshared
