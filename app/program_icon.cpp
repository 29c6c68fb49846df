#include "app/program_icon.h"

#include "app/file_association.h"

// The resource lives in a static library: it is linked only when named.
static void load_icon_resource() { Q_INIT_RESOURCE(program_icon); }

namespace zelvorin {

QIcon program_icon() {
  load_icon_resource();
  return QIcon::fromTheme(QString::fromLatin1(association::kIconName),
                          QIcon(QStringLiteral(":/icons/zelvorin.svg")));
}

}  // namespace zelvorin
