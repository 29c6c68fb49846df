// Every setting of "zelvorin.ini" that the main program reads, with its default, and the
// two writes: at exit and after the options dialog.
#pragma once

#include <QFont>
#include <QPalette>

#include <optional>
#include <string>

#include "shared/ini_file.h"
#include "shared/settings.h"

namespace zelvorin {

/// A window's stored placement; a missing left or top means "centred".
struct StoredGeometry {
  std::optional<int> left;
  std::optional<int> top;
  int width = 0;
  int height = 0;
};

struct AppSettings {
  bool greyscale = true;             ///< Printing/Greyscale: graphs print in colour or grey
  bool position_default = true;      ///< Position/Default: centred at the designed size
  StoredGeometry main{{}, {}, 640, 480};  ///< Position/Left, Top, Width, Height
  bool maximized = false;            ///< Position/Maximized
  bool vars_on_top = false;          ///< Position/VarsWindowOnTop
  bool vars_default = true;          ///< Position/VarsDefault
  StoredGeometry vars{{}, {}, 320, 280};  ///< Position/VarsLeft, VarsTop, VarsWidth, VarsHeight
  bool show_bubble = false;          ///< Bubble/Showbubble: tool tips shown
  bool patterns = false;             ///< Graphics/Patterns: patterned rather than thin/thick lines
  bool last_label = true;            ///< Graphics/Lastlabel: label the last data point
  std::string workdir;               ///< Directories/Workdir
  std::string temp_dir;              ///< Directories/TempDir
  settings::Printing printing;       ///< User/NumLines, UserName, PageNums, PrintDate
  settings::Font main_font;          ///< Fonts/Mainfont...
  settings::Font fixed_font;         ///< Fonts/Fixedfont...
  bool clear_boxes = false;          ///< Editors/ClearBoxes
};

/// Reads every key, giving the default for a missing or unreadable one.
AppSettings read_app_settings(const ini::IniFile& file);

/// What the program writes when it closes: the main window's geometry unless
/// Position/Default is set, the variables window's when `vars` is given, and the two folders.
void write_exit_settings(ini::IniFile& file, const AppSettings& s,
                         const std::optional<StoredGeometry>& main,
                         const std::optional<StoredGeometry>& vars);

/// What the options dialog writes on OK, in the file's order.
void write_option_settings(ini::IniFile& file, const AppSettings& s, const StoredGeometry& main,
                           const std::optional<StoredGeometry>& vars);

/// The toolkit font of a stored font (family, size, bold, italic).
QFont to_qfont(const settings::Font& font);
/// The stored colour (0x00BBGGRR) as a text colour.
QColor text_colour(const settings::Font& font);

}  // namespace zelvorin
