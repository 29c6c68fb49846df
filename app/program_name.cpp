#include "app/program_name.h"

namespace zelvorin {

QString program_version() { return QStringLiteral(ZELVORIN_VERSION); }

}  // namespace zelvorin
