// Reading a delimited text file (input kind 6) or a TSD file (input kind 7) into the
// workspace: the entries of the data input menu.
#pragma once

namespace qorv::data {

/// Input kind 6: asks whether to go on (reading may take long), then reads the delimited
/// text file open on channel `unit`. On success the file's data set replaces the
/// workspace's (observations, variables, frequency, start, MAXVARS, names, descriptions,
/// values) and the success notice is shown; on refusal the reason is shown with its line
/// and the workspace is left as it was. The channel is closed on every way out. Returns
/// true on success, false on refusal or when the user chose not to go on.
bool IMPORTTEXTFILE(int unit);

/// Input kind 7: reads the TSD file open on channel `unit`, as `IMPORTTEXTFILE` does
/// (without the question).
bool IMPORTTSDFILE(int unit);

}  // namespace qorv::data
