// Titles of estimation pages and the "Based on ..." header of test and forecast pages.
#pragma once

#include <string>

namespace qorv::single {

/// The six-character method word of `code` (" OLS  ", "  IV  ", ...); blanks for a code
/// without one.
std::string method_word(int code);

/// The centred title block of an estimate (`ESTIMATIONTITLE`) for method `code` on
/// `channel`: mode 0 an estimate, 1 a variable addition test, 2 a variable deletion test.
/// Codes without a title of their own write nothing.
void ESTIMATIONTITLE(int code, int mode, int channel);

/// The header of a test or forecast page on the current estimate (`BASEDONHEADER`): a
/// rule, " Based on" the method word "regression of" the dependent variable "on:", the
/// regressors, the instruments of IV-type methods, the sample line and a rule.
void BASEDONHEADER(int code, int channel);

/// The sample line: NUSED " observations used for estimation from" start " to" end.
std::string sample_line();

}  // namespace qorv::single
