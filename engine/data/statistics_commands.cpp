#include "engine/data/statistics_commands.h"

#include "engine/data/spectrum_command.h"
#include "engine/data/statistics_command.h"
#include "engine/data/unit_root_command.h"
#include "engine/data/value_listing.h"

namespace qorv::data {

// Each routine shows its own refusals; the interpreter goes on with the next statement.

void list_command(std::span<const int> variables, int first, int last) { LISTVALUES(variables, first, last); }

void cor_command(std::span<const int> variables, int order, int first, int last) {
  AUTOCORRELATIONS(variables, first, last, kStatisticsMode, order);
}

void spectrum_command(int variable, int window, int first, int last) { SPECTRUM(variable, first, last, window); }

void adf_command(int variable, int order, int first, int last) { ADFTEST(variable, first, last, order); }

}  // namespace qorv::data
