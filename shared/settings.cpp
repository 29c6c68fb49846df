#include "shared/settings.h"

namespace settings {

namespace {

constexpr std::string_view kFonts = "Fonts";
constexpr std::string_view kUser = "User";

Font read_font(const ini::IniFile& file, const std::string& prefix, std::string_view name) {
  Font font;
  font.name = file.get_string(kFonts, prefix + "fontname", name);
  font.size = file.get_int(kFonts, prefix + "fontsize", 10);
  font.color = file.get_int(kFonts, prefix + "fontcolor", 0);
  font.bold = file.get_bool(kFonts, prefix + "fontbold", false);
  font.italic = file.get_bool(kFonts, prefix + "fontitalic", false);
  if (font.size <= 0) font.size = 10;
  return font;
}

void write_font(ini::IniFile& file, const std::string& prefix, const Font& font) {
  file.set_string(kFonts, prefix + "fontname", font.name);
  file.set_int(kFonts, prefix + "fontsize", font.size);
  file.set_int(kFonts, prefix + "fontcolor", font.color);
  file.set_bool(kFonts, prefix + "fontbold", font.bold);
  file.set_bool(kFonts, prefix + "fontitalic", font.italic);
}

}  // namespace

Font main_font(const ini::IniFile& file) { return read_font(file, "Main", "MS Sans Serif"); }
Font fixed_font(const ini::IniFile& file) { return read_font(file, "Fixed", "Courier New"); }
void set_main_font(ini::IniFile& file, const Font& font) { write_font(file, "Main", font); }
void set_fixed_font(ini::IniFile& file, const Font& font) { write_font(file, "Fixed", font); }

Printing printing(const ini::IniFile& file) {
  Printing p;
  p.page_numbers = file.get_bool(kUser, "PageNums", true);
  p.print_date = file.get_bool(kUser, "PrintDate", true);
  p.lines_per_page = file.get_int(kUser, "NumLines", kDefaultLinesPerPage);
  if (p.lines_per_page <= 0) p.lines_per_page = kDefaultLinesPerPage;
  p.user_name = file.get_string(kUser, "UserName");
  return p;
}

std::string temp_dir(const ini::IniFile& file) {
  return file.get_string("Directories", "TempDir");
}

}  // namespace settings
