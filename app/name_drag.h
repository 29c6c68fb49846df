// Dragging a variable name from a list into an editing box: the name and a blank land at
// the box's caret.
#pragma once

#include <QString>

class QMimeData;
class QPlainTextEdit;

namespace zelvorin {

/// The format a dragged name travels in.
inline constexpr const char* kNameMimeType = "application/x-zelvorin-name";

/// Drag data carrying `name`.
QMimeData* name_drag_data(const QString& name);

/// True when a drag carries a name from the variables window.
bool AcceptNameDrag(const QMimeData* data);

/// Inserts the dragged name and a blank at the caret of `memo`; false when `data` carries
/// no name.
bool DropNameIntoMemo(QPlainTextEdit* memo, const QMimeData* data);

/// `memo` takes dropped names (and keeps taking other text drops as before).
void accept_name_drops(QPlainTextEdit* memo);

}  // namespace zelvorin
