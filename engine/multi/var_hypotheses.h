// The likelihood-based tests of an unrestricted VAR: the order-selection table and the
// deletion of deterministic/exogenous variables. Block non-causality is in var_model.h.
#pragma once

#include <span>
#include <vector>

#include "engine/multi/var_model.h"

namespace qorv::multi {

/// One row of the order-selection table.
struct OrderRow {
  int q = 0;
  double loglik = 0.0;
  double aic = 0.0;      ///< LL(q) − K_q, K_q = m(mq + d)
  double sbc = 0.0;      ///< LL(q) − (K_q/2) ln n
  int df = 0;            ///< m²(p − q); 0 for q = p
  double lr = 0.0;       ///< 2(LL(p) − LL(q)); q < p only
  double lr_adjusted = 0.0;  ///< ((n − (mp + d))/n)·LR
};

/// The rows for orders p down to 0, every VAR over the sample of `fit` (the same first
/// observation and n). Returns false, with the rows so far, when a VAR fails (its
/// message shown) or has no log-likelihood.
bool order_selection(const DataView& data, const VarFit& fit, std::vector<OrderRow>& rows);

/// The test of deleting some deterministic/exogenous variables.
struct DeletionTest {
  VarFit restricted;
  double lr = 0.0;  ///< 2(LL − LL_r)
  int df = 0;       ///< (d − d_r)·m
};

/// Estimates the VAR of `fit` without the deterministic variables at `positions` (1..d)
/// over the same sample. False when the restricted VAR fails (message shown).
bool deletion_test(const DataView& data, const VarFit& fit, std::span<const int> positions, DeletionTest& out);

}  // namespace qorv::multi
