// The plot writer: every graph the engine draws is handed to a graph window as a plot file
// "plot" + N + ".$$$" in the temporary folder (the format is defined in shared/plot_file.h).
// The file is shown at once in the modal graph window when the show-plots switch (slot 30)
// is on; otherwise it is left for the main program, which opens one window per plot kept
// in the request. Slot 29 counts: its upper half is the running plot number N, its lower
// half the plots kept in this request; a plot that is not kept gives its number back.
#pragma once

#include <span>
#include <string>

namespace qorv::core {

/// Outcomes of `PLOTSERIES` (its status argument).
enum PlotStatus : int {
  kPlotWritten = 0,     ///< the plot file was written (and shown, kept or not, when asked)
  kPlotNotCreated = 1,  ///< the file or the work space could not be had: nothing kept
  kPlotBadArguments = 2,  ///< counts, columns or names do not fit the data: nothing written
  kPlotSavedNotice = 3, ///< the first name was "@": the saved-plots notice was shown
};

/// Writes one plot file and counts it (slot 29), showing it when slot 30 is on.
///
/// `data` holds the series as columns of `ld` rows; `columns` (from 1) names the column of
/// each series and `names` its name (14 characters). `n` values are taken per series from
/// row `first` + 1 (0 = the first row; the spectrum type 70 from the first row), and `obs`
/// is the offset of the first plotted observation in the data set (the date record).
/// Types that carry an x series (5, 7, 27, 50, 70) read `nser` + 1 series, the last being
/// the x series; types 5 and 50 generate it (the grid -1 .. 1). `value` is the degrees of
/// freedom of the t curve of type 18; `last` is the last plotted observation of time
/// plots (the span last - first), the AR or MA order of types 5 and 50, the window size of
/// type 9 and the number of classes of the histograms 17 and 18. `type` 600 is written as
/// a horizon plot and comes back as 1. `title` comes back holding the second title.
///
/// Failures: a file that cannot be created shows an error box and gives the plot number
/// back; so does a work space that cannot be had (the disk-space message). Cost:
/// O(n · nser).
void PLOTSERIES(std::span<const double> data, int n, int ld, int first, int obs, std::span<const int> columns,
                int nser, std::span<const std::string> names, double value, int last, int& type,
                std::string& title, int& status);

}  // namespace qorv::core
