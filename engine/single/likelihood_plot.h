// The concentrated likelihood plot of a regression with one AR or MA error lag: the
// criterion its estimator maximises (or, with instruments, minimises) as a function of the
// error parameter alone, the regression coefficients concentrated out, so that the user can
// choose a starting value or see whether the function has more than one maximum.
#pragma once

#include <array>

namespace qorv::single {

/// Points of the grid of error parameters.
inline constexpr int kLikelihoodPlotPoints = 21;

/// The grid: −0.99 (MA −1), −0.9, −0.8, ..., 0.9, 0.99 (MA 1).
std::array<double, kLikelihoodPlotPoints> likelihood_plot_grid(bool ma);

/// Draws the plot for the current equation (method, lag list, sample, instruments) when
/// it has exactly one AR or MA error lag; returns false at once otherwise. Shows the
/// "please wait" notice, evaluates the criterion at the 21 grid points with the interactive
/// switch at 0 (and back at its value afterwards), writes a point that cannot be evaluated
/// as the missing code (a gap in the graph), and hands the values to the plot writer (type
/// 50 for MA errors, 5 for AR errors, the lag as the order). The estimation state is only
/// read. Returns whether the plot was written; memory that cannot be had gives the
/// disk-space message and no plot.
bool plot_concentrated_likelihood();

}  // namespace qorv::single
