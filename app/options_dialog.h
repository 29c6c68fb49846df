// The options dialog: the settings of "zelvorin.ini" on five pages.
#pragma once

#include <QDialog>

#include <filesystem>

#include "app/app_settings.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QTabWidget;

namespace zelvorin {

class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  /// Opens at `page` (1 "Startup" .. 5 "Editor defaults") showing `current`;
  /// `temp_folder` is the folder in use.
  OptionsDialog(const AppSettings& current, const std::filesystem::path& temp_folder, int page,
                QWidget* parent = nullptr);

  /// The settings as the user left them (valid after OK).
  const AppSettings& settings() const { return settings_; }

  /// Whether the ZVD association check box is ticked.
  bool associate() const;

  void accept() override;

 private:
  QWidget* startup_page();
  QWidget* graphics_page();
  QWidget* bubble_page();
  QWidget* printing_page();
  QWidget* editor_page();
  void choose_temp_folder();
  void choose_font(bool fixed);

  AppSettings settings_;
  bool associated_at_open_ = false;
  QTabWidget* tabs_ = nullptr;
  QButtonGroup* position_ = nullptr;
  QButtonGroup* vars_on_top_ = nullptr;
  QButtonGroup* vars_default_ = nullptr;
  QButtonGroup* greyscale_ = nullptr;
  QButtonGroup* patterns_ = nullptr;
  QLineEdit* temp_ = nullptr;
  QCheckBox* associate_ = nullptr;
  QCheckBox* last_label_ = nullptr;
  QCheckBox* bubble_ = nullptr;
  QCheckBox* page_numbers_ = nullptr;
  QCheckBox* print_date_ = nullptr;
  QLineEdit* lines_ = nullptr;
  QLineEdit* user_ = nullptr;
  QLineEdit* main_font_ = nullptr;
  QLineEdit* fixed_font_ = nullptr;
  QCheckBox* clear_boxes_ = nullptr;
};

}  // namespace zelvorin
