// Date labels of the observations of the current data set, as every report prints them.
#pragma once

#include <string>

#include "shared/obs_calendar.h"

namespace qorv::core {

/// Columns of an observation label.
inline constexpr int kObsLabelWidth = 7;

/// The 7-column label of observation `t` (from 1) of the current data set, from its
/// frequency, start year, start period and century base: undated "   7", annual
/// "1990", half-yearly "1990H2", quarterly "1991Q1", monthly "1990M10"; a one-digit
/// month is followed by the hard blank "#" ("1991M1#") so that every monthly label
/// fills 7 columns. Observations before the first count back across years. A year that
/// does not fit 4 columns prints "****".
std::string OBSLABEL(int t);

/// The same label for a data set starting at `start` (a data set not yet installed).
std::string OBSLABEL(int t, const obs_calendar::DataStart& start);

/// `label` as prompts, messages and files show it: without the hard blank and padding.
std::string plain_label(std::string label);

}  // namespace qorv::core
