// Graph-window services for tests: queued file names, printers that write PDF files, and a
// record of the message boxes.
#pragma once

#include <QPrinter>
#include <QStringList>

#include <deque>
#include <utility>
#include <vector>

#include "charts/graph_services.h"

namespace testing_support {

class ScriptedGraphServices final : public charts::GraphServices {
 public:
  std::deque<QString> save_names;   ///< answers of the save dialogs, in order ("" cancels)
  QString printer_file;             ///< the print dialogs choose a PDF printer writing here
  bool greyscale_setting = true;    ///< "Printing"/"Greyscale"
  charts::GraphSettings settings;   ///< "Graphics" settings
  std::vector<std::pair<charts::MessageKind, QString>> messages;  ///< boxes shown
  QStringList filters;              ///< filters the save dialogs showed

  QString save_file_name(QWidget*, const QString& filter, const QString&) override {
    filters << filter;
    if (save_names.empty()) return {};
    QString name = save_names.front();
    save_names.pop_front();
    return name;
  }
  bool choose_printer(QWidget*, QPrinter& printer) override {
    if (printer_file.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printer_file);
    return true;
  }
  bool set_up_printer(QWidget*, QPrinter&) override { return true; }
  void message(QWidget*, charts::MessageKind kind, const QString& text) override { messages.emplace_back(kind, text); }
  charts::GraphSettings graph_settings() override { return settings; }
  bool greyscale() override { return greyscale_setting; }
};

}  // namespace testing_support
