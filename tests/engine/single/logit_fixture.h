// The logit and probit reference data installed as the engine's workspace.
#pragma once

#include <string>
#include <vector>

#include "tests/engine/single/logit_reference.h"

namespace qorv::testing {

/// Installs `file` ("mtcars.csv", ...) as an undated workspace (the variables in the
/// file's column order after "obs"), the sample the whole data set; returns the variable
/// names in order.
std::vector<std::string> install_logit_data(const std::string& file);

/// Variable numbers of the case's equation in the installed workspace: dependent first.
std::vector<int> logit_equation(const LogitCase& c);

}  // namespace qorv::testing
