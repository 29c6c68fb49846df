#include "app/command_editor.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/engine_link.h"
#include "app/engine_request.h"
#include "app/equation_box.h"
#include "shared/exchange_slots.h"

namespace zelvorin {

const std::array<GeneratedVariable, 5> kGeneratedVariables = {{
    {1, "Constant", "C&onstant (intercept) term", "Create a constant (intercept) term"},
    {2, "Time trend", "T&ime trend", "Create a time trend"},
    {3, "Seasonal (1)", "(&0,1)", "Create (0,1) seasonal dummies"},
    {4, "Seasonal (2)", "&Centred", "Create centred seasonal dummies"},
    {5, "Seasonal (3)", "&Relative to last season", "Create seasonal dummies relative to the last season"},
}};

namespace {

constexpr int kMemoHelp = 3000;
constexpr int kFunctionsHelp = 102;
constexpr int kCommandsHelp = 101;
constexpr int kProcessData = 1;   // slot 5: the data-processing road
constexpr int kRunCommands = 2;   // slot 10: run the command text
constexpr int kGenerate = 1;      // slot 10: create a generated variable

const QString kFilter = QStringLiteral("Equation files (*.equ)|*.equ|All files (*.*)|*.*");

template <std::size_t N>
QComboBox* word_list(const std::array<std::string_view, N>& words) {
  auto* box = new QComboBox;
  for (std::string_view w : words) box->addItem(QString::fromLatin1(w.data(), static_cast<qsizetype>(w.size())));
  return box;
}

}  // namespace

CommandEditor::CommandEditor(HostState& state, QWidget* parent) : QWidget(parent), state_(state) {
  build();
  set_caption();
}

void CommandEditor::build() {
  auto* layout = new QVBoxLayout(this);
  auto* tools = new QHBoxLayout;
  for (std::size_t i = 0; i < kGeneratedVariables.size(); ++i) {
    const GeneratedVariable& g = kGeneratedVariables[i];
    auto* button = new QToolButton;
    button->setText(QString::fromLatin1(g.button));
    button->setToolTip(QString::fromLatin1(g.hint));
    button->setStatusTip(QString::fromLatin1(g.hint));
    connect(button, &QToolButton::clicked, this, [this, tag = g.tag] { generate(tag); });
    tools->addWidget(button);
    buttons_[i] = button;
    items_[i] = new QAction(QString::fromLatin1(g.item), this);
    items_[i]->setStatusTip(QString::fromLatin1(g.hint));
    connect(items_[i], &QAction::triggered, this, [this, tag = g.tag] { generate(tag); });
  }
  tools->addStretch();
  layout->addLayout(tools);

  memo_ = new QPlainTextEdit;
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setTabChangesFocus(true);
  QFont font(QStringLiteral("Monospace"));
  font.setStyleHint(QFont::TypeWriter);
  memo_->setFont(font);
  layout->addWidget(memo_, 1);

  auto* bottom = new QHBoxLayout;
  functions_ = word_list(kFunctionWords);
  commands_ = word_list(kCommandWords);
  functions_->setToolTip(QStringLiteral("Functions"));
  commands_->setToolTip(QStringLiteral("Commands"));
  go_ = new QPushButton(QStringLiteral("&Go"));
  batch_ = new QPushButton(QStringLiteral("&Batch"));
  auto* help = new QPushButton(QStringLiteral("&Help"));
  auto* save = new QPushButton(QStringLiteral("Save"));
  auto* get = new QPushButton(QStringLiteral("Get"));
  auto* clear = new QPushButton(QStringLiteral("Clear"));
  bottom->addWidget(functions_);
  bottom->addWidget(commands_);
  bottom->addStretch();
  for (QPushButton* b : {save, get, clear, go_, batch_, help}) bottom->addWidget(b);
  layout->addLayout(bottom);

  status_ = new QLineEdit(QStringLiteral("Current sample from x1 to y1, min x2 max y2. z1 variables, max z2. "));
  status_->setReadOnly(true);
  layout->addWidget(status_);

  connect(go_, &QPushButton::clicked, this, [this] { go(); });
  connect(batch_, &QPushButton::clicked, this, [this] { batch(); });
  connect(help, &QPushButton::clicked, this, [this] { if (show_help) show_help(kMemoHelp); });
  connect(save, &QPushButton::clicked, this, [this] { save_equation_box(this, memo_, kFilter, QString()); });
  connect(get, &QPushButton::clicked, this, [this] { get_equation_box(this, memo_, kFilter, QString()); });
  connect(clear, &QPushButton::clicked, memo_, &QPlainTextEdit::clear);
  for (auto [box, context] : {std::pair{functions_, kFunctionsHelp}, std::pair{commands_, kCommandsHelp}}) {
    connect(box, &QComboBox::activated, this, [this, box] { insert_word(box->currentText()); });
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), box, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(f1, &QShortcut::activated, this, [this, context] { if (show_help) show_help(context); });
  }
  setGeometry(0, 0, 600, 350);
}

void CommandEditor::set_caption() {
  setWindowTitle(QStringLiteral("Command Editor - ") + QFileInfo(state_.data_file_name).fileName());
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) frame->setWindowTitle(windowTitle());
}

void CommandEditor::set_status(const QString& text) { status_->setText(text); }

QToolButton* CommandEditor::generated_button(int tag) const {
  return tag >= 1 && tag <= 5 ? buttons_[static_cast<std::size_t>(tag - 1)] : nullptr;
}

QAction* CommandEditor::generated_item(int tag) const {
  return tag >= 1 && tag <= 5 ? items_[static_cast<std::size_t>(tag - 1)] : nullptr;
}

void CommandEditor::insert_word(const QString& word) {
  if (word.isEmpty()) return;
  memo_->insertPlainText(word + QLatin1Char(' '));
  memo_->setFocus();
}

void CommandEditor::select_first_words() {
  for (QComboBox* box : {functions_, commands_}) box->setCurrentIndex(box->count() > 0 ? 0 : -1);
}

int CommandEditor::request() {
  const int kept = run_request(state_, 3);
  const int first = engine::retrieve_int(slots::kSampleStart);
  const int last = engine::retrieve_int(slots::kSampleEnd);
  if (first >= 1 && last >= first && last <= state_.ws.shape.nobs) {
    state_.sample_start = first;
    state_.sample_end = last;
  }
  if (request_done) request_done();
  return kept;
}

bool CommandEditor::go() {
  if (state_.busy) return false;
  const std::optional<std::string> text = specification_text(box_lines(memo_));
  if (!text) {
    refuse_long_specification();
    return false;
  }
  engine::register_int(slots::kDataProcessingPreset, kRunCommands);
  engine::register_int(slots::kActionPreset, kProcessData);
  engine::register_char(charset::kSpecification, *text);
  const int kept = request();
  if (kept > 0) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) frame->showMinimized();
    open_kept_plots(state_, kept, open_plot);
  } else {
    memo_->setFocus();
  }
  select_first_words();
  return true;
}

bool CommandEditor::batch() {
  if (state_.busy) return false;
  if (memo_->document()->isEmpty()) {
    memo_->setPlainText(QStringLiteral(";batch"));
  } else {
    memo_->appendPlainText(QStringLiteral(";batch"));
  }
  return go();
}

bool CommandEditor::generate(int tag) {
  if (state_.busy || tag < 1 || tag > 5) return false;
  engine::register_int(slots::kActionPreset, kProcessData);
  engine::register_int(slots::kDataProcessingPreset, kGenerate);
  engine::register_int(slots::kToolbarFunction, tag);
  request();
  return true;
}

}  // namespace zelvorin
