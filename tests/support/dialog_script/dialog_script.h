// A scripted stand-in for the dialog library: it defines every dialog export, answers
// from a script and records a transcript of everything shown.
#pragma once

#include <string>
#include <vector>

namespace dialog_script {

/// Forgets the script and the transcript.
void reset();

/// The transcript so far, one entry per line.
const std::vector<std::string>& transcript();

}  // namespace dialog_script
