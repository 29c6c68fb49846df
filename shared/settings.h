// Settings of "zelvorin.ini" that both the main program and the dialog library read: the
// two font sets and the results-printing options, with their defaults.
#pragma once

#include <string>

#include "shared/ini_file.h"

namespace settings {

/// A font as the settings file describes it.
struct Font {
  std::string name;  ///< family name as written ("Courier New"); matched by the toolkit
  int size = 10;     ///< point size
  int color = 0;     ///< colour as 0x00BBGGRR
  bool bold = false;
  bool italic = false;
};

/// The main font (section "Fonts", keys "Mainfont..."; default "MS Sans Serif", 10).
Font main_font(const ini::IniFile& file);
/// The fixed font of results and editors ("Fixedfont..."; default "Courier New", 10).
Font fixed_font(const ini::IniFile& file);
/// Writes all five keys of the main font.
void set_main_font(ini::IniFile& file, const Font& font);
/// Writes all five keys of the fixed font.
void set_fixed_font(ini::IniFile& file, const Font& font);

inline constexpr int kDefaultLinesPerPage = 60;

/// How results pages are printed (section "User").
struct Printing {
  bool page_numbers = true;                     ///< "PageNums": "Page n" heads every page
  bool print_date = true;                       ///< "PrintDate": user name and date head every page
  int lines_per_page = kDefaultLinesPerPage;    ///< "NumLines"; 0 or less, or not a number, is 60
  std::string user_name;                        ///< "UserName"
};

Printing printing(const ini::IniFile& file);

/// The temporary folder as configured (section "Directories", key "TempDir"); may be empty.
std::string temp_dir(const ini::IniFile& file);

}  // namespace settings
