// The results pages of the unrestricted VAR.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "engine/multi/var_hypotheses.h"
#include "engine/multi/var_model.h"

namespace qorv::multi {

/// A VAR with the names of its variables.
struct NamedVar {
  VarFit fit;
  std::vector<std::string> names;          ///< the endogenous variables
  std::vector<std::string> deterministic;  ///< the deterministic/exogenous ones
};

/// The names of the data-set variables `numbers`.
std::vector<std::string> variable_names(std::span<const int> numbers);

/// The system-model title of the unrestricted VAR and the system header of kind 1 (with
/// its log-likelihood when `with_loglik`), on the results page.
void write_var_header(const NamedVar& var, bool with_loglik);

/// "Estimated System Covariance Matrix of Errors": Σ̃ on a page of its own.
void write_covariance_page(const NamedVar& var);

/// The order-selection page.
void write_order_page(const NamedVar& var, std::span<const OrderRow> rows);

/// The page of the test deleting deterministic/exogenous variables.
void write_deletion_page(const NamedVar& var, const DeletionTest& test, std::span<const std::string> kept);

/// The page of the block non-causality test of the variables at `noncausal` (1..m).
void write_noncausality_page(const NamedVar& var, const NonCausality& test, std::span<const int> noncausal);

}  // namespace qorv::multi
