// The dialog exports. Each one follows the same frame: the ordinary cursor while its form
// is up; incoming texts converted (messages and titles as they stand, default answers and
// file names with a leading blank meaning "none"); the form created for this call with
// its fonts from "zelvorin.ini" and its help context; shown modally; the answers written
// back; the form freed (also on failure) and the hourglass left showing, because the
// engine computes between dialogs. No exception leaves an export: a failure shows an
// error box and answers Cancel.
#include <QApplication>
#include <QFile>
#include <algorithm>
#include <QCheckBox>
#include <QPushButton>
#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "dialogs/busy_cursor.h"
#include "dialogs/check_button_group.h"
#include "dialogs/file_dialog.h"
#include "dialogs/graph_form.h"
#include "dialogs/information_form.h"
#include "dialogs/integer_form.h"
#include "dialogs/message_dialog.h"
#include "dialogs/option_form.h"
#include "dialogs/options_form.h"
#include "dialogs/real_form.h"
#include "dialogs/results_viewer.h"
#include "dialogs/string_form.h"
#include "dialogs/text_editor_form.h"
#include "dialogs/values_form.h"
#include "dialogs/yes_no_form.h"
#include "qtshared/text_bridge.h"
#include "shared/fixed_text.h"
#include "shared/ini_file.h"
#include "shared/obs_calendar.h"
#include "shared/pravel_api.h"
#include "shared/settings.h"
#include "shared/temp_files.h"
#include "shared/zvd_file.h"

namespace pravel {

namespace {

constexpr char kNoMemory[] = " There is not enough free hard disk to carry out computations! ";
constexpr int kNameWidth = 14;  ///< variable names in the engine's arrays
constexpr int kExtensionWidth = 3;

/// The cursor protocol around one form: the arrow while it shows, the hourglass after.
struct FormFrame {
  FormFrame() {
    ensure_application();
    set_busy(false);
  }
  ~FormFrame() { set_busy(true); }
  FormFrame(const FormFrame&) = delete;
  FormFrame& operator=(const FormFrame&) = delete;
};

/// An error box when a windowed application runs, else a line on standard error.
void report_failure(const QString& text) {
  try {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
      set_busy(false);
      show_message(MessageKind::kError, text);
    } else {
      std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
  } catch (...) {
    std::fputs("A dialog failed\n", stderr);
  }
}

/// Runs `body`; any exception is reported and `on_failure` answers for the form.
template <class Body, class Failure>
void guarded(Body&& body, Failure&& on_failure) noexcept {
  try {
    body();
    return;
  } catch (const std::bad_alloc&) {
    report_failure(QString::fromLatin1(kNoMemory));
  } catch (const std::exception& e) {
    report_failure(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    report_failure(QObject::tr("The dialog could not be shown"));
  }
  try {
    on_failure();
  } catch (...) {
  }
}

int len(const int16_t* n) { return n != nullptr && *n > 0 ? *n : 0; }

/// A message or title as it stands (trailing blanks dropped for display).
QString message_text(const char* text, const int16_t* n) {
  return qtshared::to_qt(fixed_text::from_fixed(text, len(n)));
}

/// Items of `width` characters, blanks and NULs read as blanks, trailing blanks dropped.
QStringList items_text(const char* items, int width, int count) {
  QStringList out;
  for (const std::string& item : fixed_text::split_items(items, width, count))
    out << qtshared::to_qt(fixed_text::from_fixed(item.data(), static_cast<int>(item.size())));
  return out;
}

QString extension_of(const char* ext) {
  return qtshared::to_qt(fixed_text::from_fixed(ext, kExtensionWidth)).trimmed().toUpper();
}

/// The folder of this process's temporary files, as the host settled it.
std::filesystem::path temp_folder() {
  return temp_files::session_folder(settings::temp_dir(ini::IniFile::load()));
}

QString read_panel_file() {
  QFile file(qtshared::path_to_qt((temp_folder() / std::string(temp_files::kEditorPanel)).string()));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QByteArray bytes = file.readAll();
  bytes.replace("\r\n", "\n");
  if (bytes.endsWith('\n')) bytes.chop(1);
  return QString::fromLatin1(bytes);
}

ResultsState& results_state() {
  static ResultsState state;
  return state;
}

}  // namespace

}  // namespace pravel

using namespace pravel;

extern "C" {

void GetIntegerP(const int16_t* msglen, const int16_t* helpctx, int16_t* value, int16_t* status,
                 const char* msg) {
  if (value == nullptr || status == nullptr) return;
  guarded(
      [&] {
        FormFrame frame;
        IntegerForm form(owner(), message_text(msg, msglen), *value, *status == kOk);
        apply_font(&form, FontSet::kMain);
        form.set_help_context(helpctx != nullptr ? *helpctx : 0);
        const int result = form.exec();
        *value = pravel_api::kNoInteger;
        if (result == kOk) {
          *value = static_cast<int16_t>(form.value());
          *status = *value == pravel_api::kNoInteger ? kCancel : kOk;
        } else {
          *status = kCancel;
        }
      },
      [&] {
        *value = pravel_api::kNoInteger;
        *status = kCancel;
      });
}

void GetRealP(const int16_t* msglen, const int16_t* helpctx, int16_t* status, float* value,
              const char* msg) {
  if (value == nullptr || status == nullptr) return;
  guarded(
      [&] {
        FormFrame frame;
        RealForm form(owner(), message_text(msg, msglen), *value);
        apply_font(&form, FontSet::kMain);
        form.set_help_context(helpctx != nullptr ? *helpctx : 0);
        form.help_button()->setEnabled(false);
        const int result = form.exec();
        *status = static_cast<int16_t>(result);
        *value = result == kOk ? form.value() : pravel_api::kNoReal;
      },
      [&] {
        *value = pravel_api::kNoReal;
        *status = kCancel;
      });
}

void GetStringP(const int16_t* msglen, const int16_t* textlen, const int16_t* helpctx,
                int16_t* status, const char* msg, char* text) {
  if (status == nullptr) return;
  guarded(
      [&] {
        FormFrame frame;
        const int width = len(textlen);
        StringForm form(owner(), message_text(msg, msglen),
                        qtshared::to_qt(fixed_text::from_fixed_answer(text, width)), width);
        apply_font(&form, FontSet::kMain);
        form.set_help_context(helpctx != nullptr ? *helpctx : 0);
        if (form.exec() == kOk && text != nullptr && width > 0) {
          fixed_text::to_fixed(qtshared::from_qt(form.answer()), text, width);
          *status = kOk;
        } else {
          *status = kCancel;
        }
      },
      [&] { *status = kCancel; });
}

void GetLogP(const int16_t* msglen, int16_t* answer, const int16_t* helpctx, int16_t* status,
             const char* msg) {
  if (answer == nullptr || status == nullptr) return;
  guarded(
      [&] {
        FormFrame frame;
        YesNoForm form(owner(), message_text(msg, msglen));
        apply_font(&form, FontSet::kMain);
        form.set_help_context(helpctx != nullptr ? *helpctx : 0);
        const int result = form.exec();
        *status = static_cast<int16_t>(result);
        *answer = result == kYes ? 1 : 0;
      },
      [&] {
        *answer = 0;
        *status = kCancel;
      });
}

void GetTextP(const int16_t* msglen, const int16_t* linelen, const int16_t* nlines,
              const int16_t* helpctx, int16_t* status, const int16_t* nnames, const char* msg,
              char* text, const char* names, const int16_t* mode, const char* ext) {
  if (status == nullptr) return;
  guarded(
      [&] {
        FormFrame frame;
        const int capacity = len(linelen) * len(nlines);
        EditorSetup setup;
        setup.show_panel = mode != nullptr && *mode == 1;
        setup.message = message_text(msg, msglen);
        if (setup.show_panel) setup.panel_text = read_panel_file();
        setup.names = items_text(names, kNameWidth, len(nnames));
        setup.extension = extension_of(ext);
        setup.capacity = capacity;
        TextEditorForm form(owner(), setup, qtshared::to_qt(fixed_text::from_fixed(text, capacity)));
        if (setup.show_panel) apply_font(&form, FontSet::kMain);
        form.set_help_context(helpctx != nullptr ? *helpctx : 0);
        const int result = form.exec();
        *status = static_cast<int16_t>(result);
        if (result == kOk && text != nullptr && capacity > 0)
          fixed_text::to_fixed(form.block_text(), text, capacity);
      },
      [&] { *status = kCancel; });
}

void GET1OPTIONP(const int16_t* titlelen, const int16_t* nopts, const int16_t* optwidth,
                 const int16_t* helpctx, int16_t* status, int16_t* index, const char* title,
                 const char* options) {
  if (status == nullptr || index == nullptr) return;
  guarded(
      [&] {
        FormFrame frame;
        const QStringList items = items_text(options, len(optwidth), len(nopts));
        if (items.isEmpty()) throw std::invalid_argument("A menu without options");
        const int start = std::clamp<int>(*index, 0, static_cast<int>(items.size()) - 1);
        OptionForm form(owner(), message_text(title, titlelen), items, start);
        apply_font(&form, FontSet::kMain);
        form.set_help_context(helpctx != nullptr ? *helpctx : 0);
        const int result = form.exec();
        *status = static_cast<int16_t>(result);
        if (result == kOk) *index = static_cast<int16_t>(form.index());
      },
      [&] { *status = kCancel; });
}

void GETSOMEOPTIONSP(const int16_t* titlelen, const int16_t* nopts, const int16_t* optwidth,
                     const int16_t* helpctx, int16_t* status, int16_t* flags, const char* title,
                     const char* options) {
  if (status == nullptr) return;
  guarded(
      [&] {
        FormFrame frame;
        const QStringList items = items_text(options, len(optwidth), len(nopts));
        if (!items.isEmpty() && flags == nullptr) throw std::invalid_argument("No flags");
        OptionsForm form(owner(), message_text(title, titlelen), items);
        apply_font(&form, FontSet::kMain);
        form.set_help_context(helpctx != nullptr ? *helpctx : 0);
        for (int i = 0; i < items.size(); ++i) form.group()->set_checked(i, flags[i] != 0 ? 1 : 0);
        const int result = form.exec();
        *status = static_cast<int16_t>(result);
        if (result == kOk)
          for (int i = 0; i < items.size(); ++i) flags[i] = static_cast<int16_t>(form.group()->checked(i));
      },
      [&] { *status = kCancel; });
}

void GetOKP(const int16_t* msglen, const int16_t* helpctx, const int16_t* kind, const char* msg) {
  guarded(
      [&] {
        FormFrame frame;
        MessageDialog box(owner(), message_kind(kind != nullptr ? *kind : 0),
                          message_text(msg, msglen), helpctx != nullptr ? *helpctx : 0);
        box.exec();
      },
      [] {});
}

void GetOKLongP(const int16_t* nlines, const int16_t* linewidth, const char* text) {
  guarded(
      [&] {
        FormFrame frame;
        QStringList lines;
        for (const std::string& line : fixed_text::split_items(text, len(linewidth), len(nlines))) {
          std::string shown = line;
          std::replace(shown.begin(), shown.end(), '\0', ' ');
          lines << qtshared::to_qt(shown);
        }
        InformationForm form(owner(), lines);
        form.exec();
      },
      [] {});
}

void GetValuesP(double* values, const char* msg, const char* names, int16_t* status,
                const int16_t* msglen, const int16_t* n, const int16_t* namewidth,
                const int16_t* helpctx) {
  if (status == nullptr) return;
  guarded(
      [&] {
        FormFrame frame;
        const int count = len(n);
        if (count > 0 && values == nullptr) throw std::invalid_argument("No values");
        const std::vector<double> start(values, values + count);
        ValuesForm form(owner(), message_text(msg, msglen), items_text(names, len(namewidth), count),
                        start);
        apply_font(&form, FontSet::kMain);
        form.set_help_context(helpctx != nullptr ? *helpctx : 0);
        const int result = form.exec();
        *status = static_cast<int16_t>(result);
        if (result == kOk) {
          const std::vector<double> answers = form.values();
          std::copy(answers.begin(), answers.end(), values);
        }
      },
      [&] { *status = kCancel; });
}

void GetFileP(const int16_t* namelen, const int16_t* /*unused*/, int16_t* mode, char* name,
              const char* ext) {
  if (mode == nullptr) return;
  guarded(
      [&] {
        FormFrame frame;
        const int width = len(namelen);
        const QString extension = extension_of(ext);
        FileRequest request;
        request.save = *mode != 1;
        request.default_suffix = extension;
        request.max_length = width;
        request.start_name = qtshared::path_to_qt(fixed_text::from_fixed_answer(name, width));
        // Data files: saved in mode 3, and a ZVD file opened to be added to the data set.
        if (*mode == 3 || (*mode == 1 && extension == QLatin1String("ZVD"))) {
          request.filter = QStringLiteral("Zelvorin data files (*.zvd)|*.zvd");
        } else {
          request.filter = QStringLiteral(
              "Batch files (*.BAT)|*.BAT|Result files (*.OUT)|*.OUT|"
              "Variable list files (*.LST)|*.LST|Equation files (*.EQU)|*.EQU");
          const QStringList order = {"BAT", "OUT", "LST", "EQU"};
          request.filter_index = std::max(1, static_cast<int>(order.indexOf(extension)) + 1);
        }
        if (*mode < 1 || *mode > 3 || name == nullptr || width == 0) {
          *mode = kCancel;
          return;
        }
        const QString chosen = ask_file_name(owner(), request);
        if (chosen.isEmpty()) {
          *mode = kCancel;
          return;
        }
        fixed_text::to_fixed(qtshared::path_from_qt(chosen), name, width);
        *mode = kOk;
      },
      [&] { *mode = kCancel; });
}

void ShowResultsP(const char* pagefile, const int16_t* len1, char* resultsfile,
                  const int16_t* len2, char* modelfile, const int16_t* len3, int16_t* action) {
  if (action == nullptr) return;
  ResultsState& state = results_state();
  state.page_file = qtshared::path_to_qt(fixed_text::from_fixed_answer(pagefile, len(len1)));
  state.results_file = qtshared::path_to_qt(fixed_text::from_fixed_answer(resultsfile, len(len2)));
  state.model_file = qtshared::path_to_qt(fixed_text::from_fixed_answer(modelfile, len(len3)));
  const bool model_allowed = *action != 0;
  state.action = 0;
  guarded(
      [&] {
        FormFrame frame;
        ResultsViewer viewer(state, model_allowed, len(len2), len(len3));
        viewer.set_page_text(load_page(state.page_file));
        viewer.exec();
      },
      [&] { state.action = 0; });
  // Written back also when the viewer failed.
  *action = static_cast<int16_t>(state.action);
  fixed_text::to_fixed(qtshared::path_from_qt(state.results_file), resultsfile, len(len2));
  fixed_text::to_fixed(qtshared::path_from_qt(state.model_file), modelfile, len(len3));
}

void ShowGraphP(const char* plotfile, const int16_t* len, int16_t* keep) {
  if (keep == nullptr) return;
  *keep = 0;
  guarded(
      [&] {
        FormFrame frame;
        LibraryGraphServices services;
        *keep = static_cast<int16_t>(show_graph(qtshared::path_to_qt(fixed_text::from_fixed_answer(plotfile, pravel::len(len))), services));
      },
      [&] { *keep = 0; });
}

void StartCalcP(const int16_t* /*len*/, const char* /*text*/) {
  guarded([] { set_busy(true); }, [] {});
}

void StopCalcP(void) {
  guarded([] { set_busy(false); }, [] {});
}

void DoBeepP(void) {
  guarded(
      [] {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
          QApplication::beep();
      },
      [] {});
}

void writefit(const int16_t* nobs, const int16_t* nvars, const int16_t* frequency,
              const int16_t* periods_per_year, const int16_t* start_year,
              const int16_t* start_period, const int16_t* century_base,
              const int16_t* name_stride, const int16_t* desc_stride,
              const int16_t* filename_len, const char* names, const char* descs,
              const char* filename, const double* data, int16_t* status) {
  if (status == nullptr) return;
  *status = 1;
  guarded(
      [&] {
        (void)periods_per_year;  // follows from the frequency
        if (nobs == nullptr || nvars == nullptr || frequency == nullptr || start_year == nullptr ||
            start_period == nullptr || century_base == nullptr || names == nullptr ||
            descs == nullptr || filename == nullptr || data == nullptr)
          throw std::invalid_argument("Could not save to this file\nThe data set was not passed");
        zvd::DataSet set;
        set.shape.nobs = *nobs;
        set.shape.nvars = *nvars;
        set.shape.frequency = *frequency;
        set.shape.periods_per_year = obs_calendar::periods_per_year(*frequency);
        set.shape.start_year = *start_year;
        set.shape.start_period = *start_period;
        set.shape.century_base = *century_base;
        if (const zvd::ReadError e = zvd::check_shape(set.shape); e != zvd::ReadError::kNone)
          throw std::invalid_argument("Could not save to this file\n" + zvd::read_error_message(e));
        const int name_step = len(name_stride);
        const int desc_step = len(desc_stride);
        if (name_step == 0 || desc_step == 0)
          throw std::invalid_argument("Could not save to this file\nNo names were passed");
        const auto k = static_cast<std::size_t>(*nvars);
        for (std::size_t v = 0; v < k; ++v) {
          set.names.push_back(fixed_text::from_fixed(names + v * static_cast<std::size_t>(name_step),
                                                     std::min(name_step, kNameWidth)));
          set.descriptions.push_back(fixed_text::from_fixed(
              descs + v * static_cast<std::size_t>(desc_step),
              std::min(desc_step, static_cast<int>(zvd::kLongDescBytes))));
        }
        set.data.assign(data, data + k * static_cast<std::size_t>(*nobs));
        const std::string file = fixed_text::from_fixed_answer(filename, len(filename_len));
        if (file.empty())
          throw std::invalid_argument("Could not save to this file\nNo file name was given");
        const zvd::WriteResult written = zvd::write_file(file, set);
        if (!written.ok) throw std::runtime_error(zvd::write_error_message(written));
        *status = 0;
      },
      [&] { *status = 1; });
}

void dobodge(void) {
  guarded(
      [] {
        FormFrame frame;
        ResultsState state;
        ResultsViewer viewer(state, false, 0, 0);
        viewer.show();
        viewer.hide();
      },
      [] {});
}

}  // extern "C"
