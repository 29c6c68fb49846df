// Questions and hints of the session: the exit confirmation and the help hint.
#pragma once

namespace qorv::data {

/// `CONFIRMEXIT` kinds.
enum ExitKind : int {
  kExitProgram = 1,  ///< "Are you sure you want to exit Zelvorin?"
  kNewDataFile = 2,  ///< "Are you sure you want to start with a new data file?" (any kind but 1)
};

/// Asks the Yes/No question of `kind`; true for Yes. On Yes to leaving the program the
/// results file being saved (channel 10) is closed and the editor panel file is closed
/// and deleted.
bool CONFIRMEXIT(int kind);

/// Information box pointing to the help on functions and commands.
void FUNCHELPHINT();

}  // namespace qorv::data
