#include "app/engine_request.h"

#include <QApplication>

#include "app/engine_link.h"
#include "app/modal_hint.h"

namespace zelvorin {

namespace {

bool same_observations(const DataShape& a, const DataShape& b) {
  return a.nobs == b.nobs && a.frequency == b.frequency && a.start_year == b.start_year &&
         a.start_period == b.start_period && a.century_base == b.century_base;
}

void follow_engine(HostState& state, const DataShape& base) {
  const DataShape before = state.ws.shape;
  if (!read_back_data_set(state.ws, base)) return;
  const int nobs = state.ws.shape.nobs;
  if (!same_observations(before, state.ws.shape) || state.sample_start < 1 || state.sample_end > nobs ||
      state.sample_start > state.sample_end) {
    state.sample_start = 1;
    state.sample_end = nobs;
  }
}

int request_and_follow(HostState& state, int request, const DataShape& base) {
  const ModalHint hint;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  state.busy = true;
  const int result = engine::driver(request);
  state.busy = false;
  QApplication::restoreOverrideCursor();
  if (request != 1 || result != -1) follow_engine(state, base);
  return result;
}

}  // namespace

int run_request(HostState& state, int request) { return request_and_follow(state, request, state.ws.shape); }

int run_data_request(HostState& state, const DataShape& registered) {
  return request_and_follow(state, 1, registered);
}

}  // namespace zelvorin
