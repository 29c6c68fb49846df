#include "app/estimation_window.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>

#include "app/engine_link.h"
#include "app/engine_request.h"
#include "qtshared/help.h"
#include "shared/exchange_slots.h"
#include "shared/temp_files.h"

namespace zelvorin {

namespace {

constexpr int kNoValue = slots::kUnset;

QLabel* wrapped_label(const QString& text) {
  auto* label = new QLabel(text);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  return label;
}

QWidget* named_page(QStackedWidget* stack, const char* name, QWidget* page) {
  page->setObjectName(QString::fromLatin1(name));
  stack->addWidget(page);
  return page;
}

void show_named(QStackedWidget* stack, const char* name) {
  for (int i = 0; i < stack->count(); ++i)
    if (stack->widget(i)->objectName() == QLatin1String(name)) stack->setCurrentIndex(i);
}

const QString kFilter = QStringLiteral("Equation files (*.equ)|*.equ|Variable-list files (*.lst)|*.lst|All files (*.*)|*.*");

}  // namespace

int box_integer(const QString& text) {
  const std::string s = text.trimmed().toStdString();
  int value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return kNoValue;
  return value;
}

StartRequest build_start_request(const StartInputs& in) {
  StartRequest r;
  const auto slot = [&r](int code, int value) { r.settings.push_back({code, false, value, {}}); };
  slot(slots::kActionPreset, in.single_page ? 2 : 3);
  slot(slots::kSingleEqPreset, in.single_method + 1);
  slot(slots::kSystemPreset, in.system_method + 1);
  slot(slots::kMethodPreset, in.single_option + 1);
  r.settings.push_back({charset::kSampleText, true, 0, (in.period1 + QLatin1Char(' ') + in.period2).toStdString()});
  const int m = in.single_method;
  if (m == 2 || m == 4 || m == 5) {
    int size = box_integer(in.window_size);
    if (size == 0 && m != 4) size = kNoValue;
    slot(slots::kSingleEqOption, size);
  }
  std::optional<std::string> spec = specification_text(in.lines);
  if (!spec) {
    r.settings.clear();
    r.refused = true;
    return r;
  }
  if (!in.single_page && in.var_page) {
    int order = box_integer(in.var_order);
    if (order != 0 && order != kNoValue) slot(slots::kVarOrderPreset, order);
    if (in.system_method == 1) slot(slots::kVarOptionPreset, in.system_option + 1);
  }
  r.settings.push_back({charset::kSpecification, true, 0, std::move(*spec)});
  return r;
}

QStringList equation_box_lines(const QStringList& records) {
  const int width = charset::kSpecLineWidth;
  QString stream;
  for (qsizetype i = 0; i < records.size() && i < charset::kSpecLines; ++i)
    stream += records[i].left(width).leftJustified(width, QLatin1Char(' '));
  stream = equation_line(stream);
  QStringList lines;
  QString line;
  for (const QString& word : stream.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
      lines << line;
      line.clear();
    }
    if (!line.isEmpty()) line += QLatin1Char(' ');
    line += word;
  }
  if (!line.isEmpty()) lines << line;
  return lines;
}

EstimationWindow::EstimationWindow(HostState& state, QWidget* parent) : QWidget(parent), state_(state) {
  build();
  set_up_pages();
}

void EstimationWindow::build() {
  auto* layout = new QVBoxLayout(this);
  status_ = new QLineEdit;
  status_->setReadOnly(true);
  layout->addWidget(status_);

  outer_ = new QStackedWidget;
  auto* single = named_page(outer_, "1", new QWidget);
  auto* single_layout = new QVBoxLayout(single);
  texts_ = new QStackedWidget;
  const QString texts[] = {
      QStringLiteral("List the dependent variable followed by the regressor(s) (separated by spaces). "
                     "For example: Y INPT Y(-1) Y{2 5 7-9} X{0-2} Z specifies the linear regression of Y on the "
                     "variables INPT, Y(-1), Y(-2), Y(-5), Y(-7), Y(-8), Y(-9), X, X(-1), X(-2) and Z. \n"
                     "X(-1) stands for a one period lagged value of X."),
      QStringLiteral("Use the editor to specify/edit nonlinear regression formula. \n"
                     "Example: Y=A1*X^A2. Y and X are variables for which data should be available. A1 and A2 are "
                     "parameters to be estimated."),
      QStringLiteral("Do not include an intercept term!"),
      QStringLiteral("List the variables to be included in the ARDL model followed by deterministic regressors such "
                     "as intercept and time trend, and regressors with fixed lags.\n"
                     "Do not forget to include an intercept and/or a time trend among the second set!\n"
                     "Example: Y X1 X2 X3 & INPT W1 W2{0-3}"),
      QStringLiteral("List the dependent variable followed by the regressor(s) (separated by spaces). The dependent "
                     "variable in the LOGIT or PROBIT model must contain zeroes and ones only!"),
  };
  const char* names[] = {"1", "2", "3", "4", "5"};
  for (int i = 0; i < 5; ++i) named_page(texts_, names[i], wrapped_label(texts[i]));
  texts_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
  single_layout->addWidget(texts_);
  auto* size_row = new QHBoxLayout;
  size_row->setSpacing(10);
  window_label_ = new QLabel;
  window_size_ = new QLineEdit;
  window_size_->setMaximumWidth(80);
  size_row->addWidget(window_label_);
  size_row->addWidget(window_size_);
  size_row->addStretch();
  single_layout->addLayout(size_row);
  nonlin_ = new QPlainTextEdit;
  single_layout->addWidget(nonlin_, 1);

  auto* systems = named_page(outer_, "2", new QWidget);
  auto* systems_layout = new QVBoxLayout(systems);
  system_ = new QStackedWidget;
  auto* var = named_page(system_, "var", new QWidget);
  auto* var_layout = new QVBoxLayout(var);
  var_kind_ = new QStackedWidget;
  named_page(var_kind_, "1",
             wrapped_label(QStringLiteral(
                 "List the variables of the VAR followed by the deterministic and/or exogenous variables, if any "
                 "(separated by spaces). Separate the two sets of variables by &.\n"
                 "For example: Y1 Y2 Y3 & INPT TREND X1 X2(-1) X3{1-4} specifies a VAR in Y1, Y2 and Y3 with "
                 "INPT, TREND, X1, X2(-1), X3(-1), ..., X3(-4) in every equation.\n"
                 "One variable before & gives a univariate AR model, for example Y1 & INPT.")));
  named_page(var_kind_, "2",
             wrapped_label(QStringLiteral(
                 "List the I(1) variables followed by the I(0) exogenous variables, if any (separated by spaces). "
                 "Separate the two sets of variables by &. A semicolon (;) divides the I(1) variables into "
                 "endogenous ones (before it) and exogenous ones (after it).\n"
                 "For example: Y1 Y2 ; X1 & W1 W2(-1)\n"
                 "Do not include an intercept or a trend: the menu item chosen sets them.")));
  var_kind_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
  var_layout->addWidget(var_kind_);
  auto* order_row = new QHBoxLayout;
  var_order_label_ = new QLabel(QStringLiteral("Order of VAR"));
  var_order_ = new QLineEdit;
  var_order_->setMaximumWidth(80);
  order_row->addWidget(var_order_label_);
  order_row->addWidget(var_order_);
  order_row->addStretch();
  var_layout->addLayout(order_row);
  varmemo_ = new QPlainTextEdit;
  var_layout->addWidget(varmemo_, 1);
  auto* sure = named_page(system_, "sure", new QWidget);
  auto* sure_layout = new QVBoxLayout(sure);
  sure_layout->addWidget(wrapped_label(QStringLiteral(
      "For each equation in the SURE system list endogenous variable followed by the regressors, separating the "
      "different equations by ;'s")));
  surememo_ = new QPlainTextEdit;
  sure_layout->addWidget(surememo_, 1);
  systems_layout->addWidget(system_);
  for (const char* empty : {"3", "4", "5"}) named_page(outer_, empty, new QWidget);
  layout->addWidget(outer_, 1);

  for (QPlainTextEdit* box : {nonlin_, varmemo_, surememo_}) {
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setTabChangesFocus(true);  // text boxes, not a code editor: Tab moves on
    QFont font(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    box->setFont(font);
  }

  auto* bottom = new QHBoxLayout;
  period1_ = new QComboBox;
  period2_ = new QComboBox;
  for (QComboBox* box : {period1_, period2_}) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(8);
  }
  variables_ = new QComboBox;
  variables_->setMinimumContentsLength(9);
  for (QComboBox* box : {period1_, period2_, variables_})  // a label is never cut, however narrow the window
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  start_ = new QPushButton(QStringLiteral("&Start"));
  auto* save = new QPushButton(QStringLiteral("Save"));
  auto* get = new QPushButton(QStringLiteral("Get"));
  auto* clear = new QPushButton(QStringLiteral("Clear"));
  auto* help = new QPushButton(QStringLiteral("&Help"));
  bottom->addWidget(period1_);
  bottom->addWidget(period2_);
  bottom->addWidget(variables_);
  bottom->addStretch();
  for (QPushButton* b : {save, get, clear, start_, help}) bottom->addWidget(b);
  layout->addLayout(bottom);

  connect(start_, &QPushButton::clicked, this, [this] { start(); });
  connect(help, &QPushButton::clicked, this, &EstimationWindow::show_help);
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
  connect(f1, &QShortcut::activated, this, &EstimationWindow::show_help);
  connect(save, &QPushButton::clicked, this, &EstimationWindow::save_box);
  connect(get, &QPushButton::clicked, this, &EstimationWindow::get_box);
  connect(clear, &QPushButton::clicked, this, [this] { active_box()->clear(); });
  connect(variables_, &QComboBox::activated, this, &EstimationWindow::insert_variable);
  connect(period1_->lineEdit(), &QLineEdit::textEdited, this, [this] { period_typed(period1_, &start_index_); });
  connect(period2_->lineEdit(), &QLineEdit::textEdited, this, [this] { period_typed(period2_, &end_index_); });
  connect(period1_, &QComboBox::activated, this, [this](int i) { start_index_ = i; });
  connect(period2_, &QComboBox::activated, this, [this](int i) { end_index_ = i; });
  setGeometry(0, 0, 600, 350);
}

void EstimationWindow::apply_font(const QFont& font, const QColor& colour) {
  setFont(font);
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::Text, colour);
  setPalette(palette);
  for (QPlainTextEdit* box : {nonlin_, varmemo_, surememo_}) {
    box->setFont(font);
    box->setPalette(palette);
  }
}

void EstimationWindow::show_help() const { qtshared::help::show_topic(help_context_); }

void EstimationWindow::show_page(int outer) {
  outer_->setCurrentIndex(outer == 2 ? 1 : 0);
  set_up_pages();
  if (outer != 2) nonlin_->setFocus();
}

int EstimationWindow::outer_page() const { return outer_->currentIndex() + 1; }

QLabel* EstimationWindow::explanation() const { return qobject_cast<QLabel*>(texts_->currentWidget()); }

QLabel* EstimationWindow::var_explanation() const { return qobject_cast<QLabel*>(var_kind_->currentWidget()); }

QString EstimationWindow::status_text() const { return status_->text(); }

QPlainTextEdit* EstimationWindow::active_box() const {
  if (outer_page() == 1) return nonlin_;
  return system_->currentWidget()->objectName() == QLatin1String("var") ? varmemo_ : surememo_;
}

void EstimationWindow::set_up_pages() {
  var_order_->hide();
  var_order_label_->hide();
  const QString caption = QStringLiteral("Estimate/Predict - ") + QFileInfo(state_.data_file_name).fileName();
  setWindowTitle(caption);
  setToolTip(caption);

  const char* page = "1";
  QString label;
  switch (state_.single_method) {
    case 2: label = QStringLiteral("Window length:"); break;
    case 3: page = "2"; break;
    case 4: page = "3"; label = QStringLiteral("Length of lag window:"); break;
    case 5: page = "4"; label = QStringLiteral("Maximum lag to be used:"); break;
    case 6: page = "5"; break;
    default: break;
  }
  show_named(texts_, page);
  window_label_->setText(label);
  window_label_->setVisible(!label.isEmpty());
  window_size_->setVisible(!label.isEmpty());
  window_size_->setEnabled(!label.isEmpty());

  show_named(system_, state_.system_method >= 2 ? "sure" : "var");
  show_named(var_kind_, state_.system_method == 1 ? "2" : "1");
  const bool var_showing = outer_page() == 2 && state_.system_method < 2;
  var_order_->setVisible(var_showing);
  var_order_label_->setVisible(var_showing);

  status_->setText(outer_page() == 1 ? state_.univariate_caption : state_.multivariate_caption);
  help_context_ = outer_page() == 1 ? state_.single_help : state_.system_help;

  variables_->clear();
  for (int i = 0; i < state_.ws.shape.nvars; ++i)
    variables_->addItem(QString::fromStdString(state_.ws.names[static_cast<std::size_t>(i)]).trimmed());
  variables_->setCurrentIndex(variables_->count() > 0 ? 0 : -1);
  if (start_index_ >= 0 && start_index_ < period1_->count()) period1_->setCurrentIndex(start_index_);
  if (end_index_ >= 0 && end_index_ < period2_->count()) period2_->setCurrentIndex(end_index_);
}

namespace {

QStringList period_labels(const DataShape& shape) {
  QStringList labels;
  for (int obs = 1; obs <= shape.nobs; ++obs) labels << QString::fromStdString(observation_label(shape, obs));
  return labels;
}

bool holds_labels(const QComboBox* box, const QStringList& labels) {
  if (box->count() != labels.size()) return false;
  for (int i = 0; i < box->count(); ++i)
    if (box->itemText(i) != labels[i]) return false;
  return true;
}

void set_items(QComboBox* box, const QStringList& labels) {
  box->clear();
  box->addItems(labels);
}

}  // namespace

void EstimationWindow::fill_periods() {
  const QStringList labels = period_labels(state_.ws.shape);
  set_items(period1_, labels);
  set_items(period2_, labels);
  start_index_ = labels.isEmpty() ? -1 : 0;
  end_index_ = static_cast<int>(labels.size()) - 1;
  set_up_pages();
}

void EstimationWindow::follow_data_set() {
  const QStringList labels = period_labels(state_.ws.shape);
  if (!holds_labels(period1_, labels)) {
    set_items(period1_, labels);
    set_items(period2_, labels);
  }
  // The period boxes show the sample the request left, also when a command set it.
  const int count = static_cast<int>(labels.size());
  if (state_.sample_start >= 1 && state_.sample_start <= state_.sample_end && state_.sample_end <= count) {
    start_index_ = state_.sample_start - 1;
    end_index_ = state_.sample_end - 1;
  }
  set_up_pages();
}

void EstimationWindow::period_typed(QComboBox* box, int* index) {
  QLineEdit* edit = box->lineEdit();
  const QString upper = edit->text().toUpper();
  if (upper != edit->text()) {
    edit->setText(upper);
    edit->setCursorPosition(static_cast<int>(upper.size()));
  }
  *index = -1;
  const std::string typed = upper.toStdString();
  for (int i = 0; i < box->count(); ++i)
    if (SameNamePrefix(typed, box->itemText(i).toStdString())) *index = i;
}

StartInputs EstimationWindow::inputs() const {
  StartInputs in;
  in.single_page = outer_page() == 1;
  in.var_page = system_->currentWidget()->objectName() == QLatin1String("var");
  in.single_method = state_.single_method;
  in.single_option = state_.single_option;
  in.system_method = state_.system_method;
  in.system_option = state_.system_option;
  in.period1 = period1_->currentText();
  in.period2 = period2_->currentText();
  in.window_size = window_size_->text();
  in.var_order = var_order_->text();
  in.lines = box_lines(active_box());
  return in;
}

bool EstimationWindow::start() {
  if (state_.busy) return false;
  const StartInputs in = inputs();
  const StartRequest request = build_start_request(in);
  if (request.refused) {
    refuse_long_specification();
    return false;
  }
  for (const EngineSetting& s : request.settings) {
    if (s.is_text) {
      engine::register_char(s.code, s.text);
    } else {
      engine::register_int(s.code, s.value);
    }
  }
  start_index_ = period1_->findText(in.period1);
  end_index_ = period2_->findText(in.period2);

  const int kept = run_request(state_, 3);

  const int first = engine::retrieve_int(slots::kSampleStart);
  const int last = engine::retrieve_int(slots::kSampleEnd);
  if (first >= 1 && last >= first && last <= state_.ws.shape.nobs) {
    start_index_ = first - 1;
    end_index_ = last - 1;
    state_.sample_start = first;
    state_.sample_end = last;
  }
  if (request_done) request_done();

  if (kept > 0) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) frame->showMinimized();
    open_kept_plots(state_, kept, open_plot);
  }

  if (start_index_ >= 0 && start_index_ < period1_->count()) period1_->setCurrentIndex(start_index_);
  if (end_index_ >= 0 && end_index_ < period2_->count()) period2_->setCurrentIndex(end_index_);
  variables_->setCurrentIndex(variables_->count() > 0 ? 0 : -1);

  const int m = state_.single_method;
  if (m == 2 || m == 4 || m == 5) {
    const int size = engine::retrieve_int(slots::kSingleEqOptionOut);
    if (size != kNoValue) window_size_->setText(QString::number(size));
  }
  const bool var_showing = outer_page() == 2 && state_.system_method < 2;
  if (var_showing) {
    const int order = engine::retrieve_int(slots::kVarOrderChosen);
    if (order != kNoValue) var_order_->setText(QString::number(order));
  }

  if (engine::retrieve_int(slots::kEquationBoxWritten) == 1) reload_equation_boxes();
  return true;
}

bool EstimationWindow::reload_equation_boxes() {
  QFile file(QString::fromStdString((state_.temp_folder / temp_files::kEquationBox).string()));
  if (!file.open(QIODevice::ReadOnly)) return false;
  QStringList records;
  for (QByteArray record : file.readAll().split('\n')) {
    if (record.endsWith('\r')) record.chop(1);
    records << QString::fromLatin1(record);
  }
  const QString text = equation_box_lines(records).join(QLatin1Char('\n'));
  for (QPlainTextEdit* box : {nonlin_, varmemo_, surememo_}) box->setPlainText(text);
  return true;
}

bool EstimationWindow::load_equ(const QString& path) { return load_equation_file(active_box(), path); }

void EstimationWindow::clear_boxes() {
  for (QPlainTextEdit* box : {nonlin_, varmemo_, surememo_}) box->clear();
}

QString EstimationWindow::filter_start() const {
  const bool equations = outer_page() == 1 ? state_.single_method == 3 : state_.system_method >= 2;
  return equations ? QStringLiteral("Equation files (*.equ *.EQU)") : QStringLiteral("Variable-list files (*.lst *.LST)");
}

void EstimationWindow::save_box() { save_equation_box(this, active_box(), kFilter, filter_start()); }

void EstimationWindow::get_box() { get_equation_box(this, active_box(), kFilter, filter_start()); }

void EstimationWindow::insert_variable() {
  if (variables_->currentIndex() < 0) return;
  QPlainTextEdit* box = active_box();
  box->insertPlainText(variables_->currentText() + QLatin1Char(' '));
  box->setFocus();
}

}  // namespace zelvorin
