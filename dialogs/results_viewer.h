// "Results": the viewer of every results page the engine writes. The page can be edited,
// saved to a new or the current results file (action 3), saved as an equation to a new
// or the current model file (action 2), printed, shown in another font and copied. The
// viewer writes the page back to the page file when it is saved; the engine does the rest.
#pragma once

#include <QString>
#include <filesystem>

#include "dialogs/form.h"

class QToolButton;

namespace qtshared {
class PageBox;
}  // namespace qtshared

namespace pravel {

using qtshared::PageBox;

/// What the viewer returns to the engine; kept between calls.
struct ResultsState {
  QString page_file;     ///< the results page being shown
  QString results_file;  ///< the results file to save to (empty: none yet)
  QString model_file;    ///< the model file to save to (empty: none yet)
  int action = 0;        ///< 0 closed, 2 model file asked for, 3 results saved
};

/// The page file's text for the viewer: single bytes, "\r\n" read as "\n", the final line
/// end dropped. Throws std::runtime_error when the file cannot be read.
QString load_page(const QString& path);

class ResultsViewer : public Form {
  Q_OBJECT
 public:
  /// `model_allowed`: the engine offers a model file for this page. `name_width`: the
  /// longest results or model file name the engine's fields take.
  ResultsViewer(ResultsState& state, bool model_allowed, int results_width, int model_width);

  PageBox* page() const { return page_; }
  void set_page_text(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;

 private:
  /// Writes the box back to the page file; false (after an error box) when it failed.
  bool write_back();
  void save_results(bool ask);
  void save_model(bool ask);
  void print();
  void change_font();

  ResultsState& state_;        ///< names and action shared with the export
  int results_width_;          ///< longest results file name accepted
  int model_width_;            ///< longest model file name accepted
  PageBox* page_;              ///< the page, editable, fixed font, no wrap
};

}  // namespace pravel
