// The pages the results viewer was shown, read back from the dialog transcript.
#pragma once

#include <string>
#include <vector>

#include "tests/engine/single/printed_numbers.h"

namespace qorv::testing {

/// The lines of the last page the results viewer showed in the dialog transcript.
std::vector<std::string> last_page();

/// Every page the results viewer showed in the dialog transcript, in order.
std::vector<std::vector<std::string>> shown_pages();

/// Index of the first line of `lines` that contains `text`; lines.size() when none does.
size_t find_line(const std::vector<std::string>& lines, const std::string& text);

/// The printed number after `label` (a regular expression) in `text`; missing, with a
/// test failure, when the label is not there.
Printed printed_after(const std::string& text, const std::string& label);

}  // namespace qorv::testing
