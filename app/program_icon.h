// The program's own icon, shown by every window instead of the toolkit's logo.
#pragma once

#include <QIcon>

namespace zelvorin {

/// The "zelvorin" icon of the desktop's icon theme when it is installed there, else the
/// copy built into the program (the same drawing).
QIcon program_icon();

}  // namespace zelvorin
