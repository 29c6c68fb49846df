// The sample-period dialogue: the user types the start and finish of a period as date
// labels ("1975M10 1985M12"), and the engine turns them into observation numbers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "shared/obs_calendar.h"

namespace qorv::core {

/// `GETSAMPLE` modes: which question is asked, and whether a refusal asks again.
enum SampleMode : int {
  kEstimationPeriod = 0,   ///< asks; a refusal asks again
  kSavedObservations = 1,  ///< asks; a refusal asks again
  kSampleTextOnly = 2,     ///< no dialog: the given text is read; a refusal is an error
  kSavedFits = 3,          ///< asks once; a refusal is an error
  kPlottedFits = 4,        ///< asks once; a refusal is an error
};

/// A pair of observation numbers, from 1.
struct SamplePair {
  int start = 0;  ///< first observation
  int end = 0;    ///< last observation
};

/// The start of the current data set (frequency, start year and period, century base of
/// the workspace) in the one convention of `obs_calendar`.
obs_calendar::DataStart current_data_start();

/// Reads a sample text against `start`: blank means [minimum, maximum]; else exactly two
/// labels of the data's frequency, minimum <= first <= second <= maximum. Empty when
/// refused.
std::optional<SamplePair> read_sample(std::string_view text, int minimum, int maximum,
                                      const obs_calendar::DataStart& start);

/// The question of `mode` for the range [minimum, maximum] of the current data set.
std::string sample_prompt(int mode, int minimum, int maximum);

/// Asks for (or, in mode 2, reads) a period within [minimum, maximum] of the current data
/// set. On success `start` and `end` are set, `text` holds the accepted answer (at most 32
/// characters) and the result is false. Every refusal beeps; modes 0 and 1 then ask again,
/// the others return true (the error flag) with `start` and `end` unchanged, as does a
/// cancelled question in every mode.
bool GETSAMPLE(int minimum, int maximum, int& start, int& end, int mode, std::string& text);

/// The estimation period within the data set: the host's sample text (character setting
/// 2), when there is one, is read once without a question and blanked; without it, or
/// when it does not read, the period is asked. `start` and `end` in: the period offered;
/// out: the period chosen. True when the user cancelled (both then unchanged).
bool ask_estimation_period(int& start, int& end);

}  // namespace qorv::core
