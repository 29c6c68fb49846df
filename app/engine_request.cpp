#include "app/engine_request.h"

#include <QApplication>

#include "app/engine_link.h"
#include "app/modal_hint.h"

namespace zelvorin {

int run_request(HostState& state, int request) {
  const ModalHint hint;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  state.busy = true;
  const int result = engine::driver(request);
  state.busy = false;
  QApplication::restoreOverrideCursor();
  return result;
}

}  // namespace zelvorin
