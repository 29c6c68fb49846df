// The state the main program's windows share.
#pragma once

#include <QString>

#include <filesystem>

#include "app/app_settings.h"
#include "app/host_workspace.h"

namespace zelvorin {

struct HostState {
  bool busy = false;            ///< the engine is running a request: host actions do nothing
  bool data_loaded = false;     ///< a data set is loaded
  int single_method = 0;        ///< Univariate menu group (slot 6 = value + 1)
  int single_option = 0;        ///< item within the group (slot 15 = value + 1)
  int system_method = 0;        ///< Multivariate menu group (slot 9 = value + 1)
  int system_option = 2;        ///< item within the cointegrating VAR group (slot 19 = value + 1)
  QString univariate_caption = QStringLiteral("Linear regression - Ordinary Least Squares");
  QString multivariate_caption = QStringLiteral("Unrestricted VAR");
  int single_help = 20141;      ///< help context of the chosen Univariate item
  int system_help = 3004;       ///< help context of the chosen Multivariate item
  QString data_file_name = QStringLiteral("untitled");  ///< the loaded file, shown in captions
  std::filesystem::path temp_folder;     ///< this run's private folder, character setting 4
  std::filesystem::path program_folder;  ///< where the message and help files are, setting 5
  AppSettings settings;                  ///< "zelvorin.ini" as read at start-up
  int plot_counter = 0;                  ///< plot files already shown in this run
  bool pending_open = false;             ///< the command-line file waits for the window
  int sample_start = 1;                  ///< the remembered sample (observations, from 1)
  int sample_end = 0;
  HostWorkspace ws;                      ///< the host's copy of the data set
};

}  // namespace zelvorin
