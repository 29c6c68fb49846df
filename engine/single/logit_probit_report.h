// The pages of a binary-choice estimate: the statistics lines under the coefficient table
// and the fit table of actual values, fitted values and probabilities.
//
// Column map (79-column lines, columns from 1):
//   statistics lines  label from 2, its value in the 10-column piece 51-60, a probability
//                     "[p]" directly after it
//   fit table         label 2-8, actual 17-26, fitted (predicted) 33-42, probability 55-64
//   summary lines     label from 2; one period: value 51-60; with forecasts: estimation
//                     period 41-50, forecast period 61-70
#pragma once

#include <span>
#include <string>

#include "engine/single/binary_choice.h"

namespace qorv::single {

/// The lines written after the coefficient table of a logit or probit estimate: the
/// marginal-effect factor, the log-likelihood and the three criteria, the means, the
/// goodness of fit, the directional-accuracy statistic with its probability, the
/// pseudo-R-squared, the "are all" line when every fitted value is the same, and a rule.
/// `dependent` is the dependent variable's name.
void write_binary_statistics(const BinaryStatistics& st, const std::string& dependent, int channel);

/// One period of the fit table: the actual values and the probabilities of observations
/// first..first + n − 1 of the data set.
struct BinaryPeriod {
  int first = 0;
  std::span<const double> actual;
  std::span<const double> prob;
};

/// `LOGITPROBITTABLE`: the estimation period's rows under " Observation", "Actual",
/// "Fitted" and "Fitted Probability"; with a forecast period (non-empty `forecast`) its
/// rows under "Predicted" and "Predicted Probability"; a rule; the summary lines (" Mean
/// of" the dependent variable, " Mean of fitted" or " Mean of predicted", " Goodness of
/// fit", the directional-accuracy statistic), with forecasts in two columns under the
/// centred "Summary Statistics for Residuals and Prediction Errors" and the two periods;
/// a closing rule.
void LOGITPROBITTABLE(const BinaryPeriod& estimation_period, const BinaryPeriod& forecast,
                      const std::string& dependent, int channel);

}  // namespace qorv::single
