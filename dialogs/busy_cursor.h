// The hourglass: one busy state for the whole process, not a stack. Every export shows the
// arrow while its form is up and leaves the hourglass behind it, because the engine
// computes between dialogs.
#pragma once

namespace pravel {

/// Shows the hourglass (true) or the ordinary cursor (false). Repeating a state does
/// nothing; an override cursor set by the host is changed, never popped.
void set_busy(bool busy);

/// True while the hourglass shows.
bool busy();

}  // namespace pravel
