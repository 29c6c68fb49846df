// Dragging a variable name from a list into an editing box: the name and a blank land at
// the box's caret.
#pragma once

#include <QString>

#include <functional>
#include <memory>

class QComboBox;
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

/// How a drag leaves a list: the default runs it with the mouse (`QDrag`); tests record it.
using NameDragStarter = std::function<void(QComboBox* source, std::unique_ptr<QMimeData> data)>;

/// Names are dragged out of `box`: its selected item travels once the mouse moves the
/// drag distance with the button down. A press that ends without that movement opens the
/// list as a click does.
void allow_name_drags(QComboBox* box, NameDragStarter start = {});

/// `memo` takes dropped names (and keeps taking other text drops as before).
void accept_name_drops(QPlainTextEdit* memo);

}  // namespace zelvorin
