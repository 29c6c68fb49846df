#include "app/app_settings.h"

namespace zelvorin {

namespace {

constexpr std::string_view kPosition = "Position";

std::optional<int> optional_int(const ini::IniFile& file, std::string_view key) {
  const auto text = file.find(kPosition, key);
  if (!text) return std::nullopt;
  constexpr int kUnreadable = -2147483647;
  const int value = file.get_int(kPosition, key, kUnreadable);
  return value == kUnreadable ? std::nullopt : std::optional<int>(value);
}

StoredGeometry read_geometry(const ini::IniFile& file, const std::string& prefix,
                             const StoredGeometry& fallback) {
  StoredGeometry g;
  g.left = optional_int(file, prefix + "Left");
  g.top = optional_int(file, prefix + "Top");
  g.width = file.get_int(kPosition, prefix + "Width", fallback.width);
  g.height = file.get_int(kPosition, prefix + "Height", fallback.height);
  return g;
}

void write_geometry(ini::IniFile& file, const std::string& prefix, const StoredGeometry& g) {
  file.set_int(kPosition, prefix + "Height", g.height);
  if (g.top) file.set_int(kPosition, prefix + "Top", *g.top);
  file.set_int(kPosition, prefix + "Width", g.width);
  if (g.left) file.set_int(kPosition, prefix + "Left", *g.left);
}

}  // namespace

AppSettings read_app_settings(const ini::IniFile& file) {
  AppSettings s;
  s.greyscale = file.get_bool("Printing", "Greyscale", true);
  s.position_default = file.get_bool(kPosition, "Default", true);
  s.main = read_geometry(file, "", s.main);
  s.maximized = file.get_bool(kPosition, "Maximized", false);
  s.vars_on_top = file.get_bool(kPosition, "VarsWindowOnTop", false);
  s.vars_default = file.get_bool(kPosition, "VarsDefault", true);
  s.vars = read_geometry(file, "Vars", s.vars);
  s.show_bubble = file.get_bool("Bubble", "Showbubble", false);
  s.patterns = file.get_bool("Graphics", "Patterns", false);
  s.last_label = file.get_bool("Graphics", "Lastlabel", true);
  s.workdir = file.get_string("Directories", "Workdir");
  s.temp_dir = settings::temp_dir(file);
  s.printing = settings::printing(file);
  s.main_font = settings::main_font(file);
  s.fixed_font = settings::fixed_font(file);
  s.clear_boxes = file.get_bool("Editors", "ClearBoxes", false);
  return s;
}

void write_exit_settings(ini::IniFile& file, const AppSettings& s,
                         const std::optional<StoredGeometry>& main,
                         const std::optional<StoredGeometry>& vars) {
  if (!s.position_default && main) {
    write_geometry(file, "", *main);
    file.set_bool(kPosition, "Maximized", s.maximized);
  }
  if (vars) write_geometry(file, "Vars", *vars);
  file.set_string("Directories", "Workdir", s.workdir);
  file.set_string("Directories", "Tempdir", s.temp_dir);
}

void write_option_settings(ini::IniFile& file, const AppSettings& s, const StoredGeometry& main,
                           const std::optional<StoredGeometry>& vars) {
  file.set_bool(kPosition, "Default", s.position_default);
  write_geometry(file, "", main);
  file.set_bool(kPosition, "VarsWindowOnTop", s.vars_on_top);
  file.set_bool(kPosition, "VarsDefault", s.vars_default);
  file.set_bool("Graphics", "Patterns", s.patterns);
  file.set_bool("Graphics", "Lastlabel", s.last_label);
  if (vars) write_geometry(file, "Vars", *vars);
  file.set_bool("Printing", "Greyscale", s.greyscale);
  file.set_bool("Bubble", "Showbubble", s.show_bubble);
  file.set_string("Directories", "TempDir", s.temp_dir);
  file.set_int("User", "NumLines", s.printing.lines_per_page);
  file.set_bool("User", "PageNums", s.printing.page_numbers);
  file.set_bool("User", "PrintDate", s.printing.print_date);
  file.set_string("User", "UserName", s.printing.user_name);
  settings::set_main_font(file, s.main_font);
  settings::set_fixed_font(file, s.fixed_font);
  file.set_bool("Editors", "ClearBoxes", s.clear_boxes);
}

QFont to_qfont(const settings::Font& font) {
  QFont f(QString::fromStdString(font.name), font.size > 0 ? font.size : 10);
  f.setBold(font.bold);
  f.setItalic(font.italic);
  return f;
}

QColor text_colour(const settings::Font& font) {
  return QColor(font.color & 0xFF, (font.color >> 8) & 0xFF, (font.color >> 16) & 0xFF);
}

}  // namespace zelvorin
