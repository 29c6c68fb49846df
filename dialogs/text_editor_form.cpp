#include "dialogs/text_editor_form.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "dialogs/busy_cursor.h"
#include "dialogs/file_dialog.h"
#include "dialogs/message_dialog.h"
#include "qtshared/help.h"
#include "qtshared/text_bridge.h"
#include "shared/atomic_file.h"
#include "shared/file_reading.h"

namespace pravel {

namespace {

constexpr char kFilter[] = "Equation files (*.EQU)|*.EQU|Variable list files (*.LST)|*.LST";
constexpr char kHelpTag[] = "helpTag";
constexpr int kVariablesHelp = 104;  ///< F1 in the word boxes: their own topics
constexpr int kFunctionsHelp = 102;
constexpr int kCommandsHelp = 101;

QListWidget* word_box(QWidget* parent, const char* name, const QStringList& words, int tag,
                      const QString& hint) {
  auto* box = new QListWidget(parent);
  box->setObjectName(name);
  box->addItems(words);
  box->setProperty(kHelpTag, tag);
  box->setToolTip(hint);
  if (box->count() > 0) box->setCurrentRow(0);
  return box;
}

constexpr int kPanelLines = 16;  ///< panel lines shown at once; a longer panel scrolls

/// The engine's panel text, shown whole: as wide as its widest line and as high as its
/// lines (up to `kPanelLines`), in whatever font it has.
class PanelMemo : public QPlainTextEdit {
 public:
  explicit PanelMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
  }
  QSize sizeHint() const override { return contents_size(); }
  QSize minimumSizeHint() const override { return contents_size(); }
  void set_text(const QString& text) {
    setPlainText(text);
    // A panel that fits needs no scroll bar; without this rule a first layout at a smaller
    // size could leave both bars standing, each taking the room the other needs.
    setVerticalScrollBarPolicy(text.count('\n') + 1 > kPanelLines ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    updateGeometry();
  }

 protected:
  void changeEvent(QEvent* event) override {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) updateGeometry();
  }

 private:
  QSize contents_size() const {
    const QFontMetricsF metrics(font());
    const QStringList lines = toPlainText().split('\n');
    qreal widest = 0;
    for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
    const int count = static_cast<int>(lines.size());
    const int shown = std::clamp(count, 1, kPanelLines);
    const int edges = 2 * frameWidth() + 2 * static_cast<int>(std::ceil(document()->documentMargin())) + 4;
    const int scroll = count > kPanelLines ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) : 0;
    return {static_cast<int>(std::ceil(widest + metrics.averageCharWidth())) + edges + scroll,
            shown * static_cast<int>(std::ceil(metrics.lineSpacing())) + edges};
  }
};

QToolButton* tool(QWidget* parent, const char* name, const QString& text,
                  QStyle::StandardPixmap icon) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(text);
  b->setToolTip(text);
  b->setIcon(parent->style()->standardIcon(icon));
  b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  b->setAutoRaise(true);
  return b;
}

}  // namespace

QStringList editor_function_words() {
  return {"LOG",  "EXP",   "ABS", "SQRT", "SIN",     "COS",  "SUM",   "UNIFORM",
          "NORMAL", "RANK", "PHI", "CPHI", "SIGN",   "INVNORM", "SORT", "ORDER",
          "MIN",  "MAX",   "CSUM", "MEAN", "STD",    "RATE"};
}

QStringList editor_command_words() {
  return {"SAMPLE", "LIST", "PLOT",   "XPLOT", "EDIT",  "ADD",       "DELETE",
          "KEEP",   "TITLE", "ENTITLE", "COR", "SIM",   "SIMB",      "DOS",
          "BATCH",  "AMPERSAND", "ADF", "SPECTRUM", "HIST", "SCATTER", "REORDER"};
}

QString retrieved_line(const QString& line) {
  QString s = line;
  while (!s.isEmpty() && s.back() == ' ') s.chop(1);
  QString out;
  for (qsizetype i = 0; i < s.size(); ++i) {
    out += s[i];
    if (s[i] == ';' && (i + 1 == s.size() || s[i + 1] != ' ')) out += ' ';
  }
  return out;
}

TextEditorForm::TextEditorForm(QWidget* parent, const EditorSetup& setup, const QString& text)
    : Form(parent, tr("Input text")), setup_(setup) {
  setObjectName("Teditor");
  auto* outer = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  outer->addLayout(left, 1);

  auto* bar = new QHBoxLayout;
  QToolButton* save_button = tool(this, "save", tr("Save"), QStyle::SP_DialogSaveButton);
  QToolButton* retrieve_button = tool(this, "retrieve", tr("Retrieve"), QStyle::SP_DialogOpenButton);
  QToolButton* clear_button = tool(this, "clear", tr("Clear"), QStyle::SP_DialogResetButton);
  bar->addWidget(save_button);
  bar->addWidget(retrieve_button);
  bar->addWidget(clear_button);
  bar->addStretch();
  left->addLayout(bar);

  if (setup.show_panel) {
    auto* panel = new PanelMemo(this);
    panel->setObjectName("panel");
    panel->setReadOnly(true);
    panel->setLineWrapMode(QPlainTextEdit::NoWrap);
    panel->set_text(setup.panel_text);
    apply_font(panel, FontSet::kFixed);
    left->addWidget(panel);
  } else {
    auto* message = new QLabel(qtshared::editor_title(setup.message), this);
    message->setObjectName("message");
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignCenter);
    message->setTextFormat(Qt::PlainText);
    message->setFrameShape(QFrame::StyledPanel);
    message->setMargin(6);
    left->addWidget(message);
  }

  memo_ = new QPlainTextEdit(text, this);
  memo_->setObjectName("editor");
  memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setTabChangesFocus(true);  // a text box, not a code editor: Tab moves on
  memo_->moveCursor(QTextCursor::End);
  left->addWidget(memo_, 1);

  auto* side = new QVBoxLayout;
  outer->addLayout(side);
  QPushButton* ok = make_button(tr("&Ok"), "ok");
  QPushButton* cancel = make_button(tr("&Cancel"), "cancel");
  QPushButton* help = make_help_button();
  for (QPushButton* b : {ok, cancel, help}) side->addWidget(b);
  side->addSpacing(8);
  auto* names_label = new QLabel(tr("Variables"), this);
  variables_ = word_box(this, "variables", setup.names, kVariablesHelp,
                        tr("Press F1 for more help on variables, <RETURN> to add selection to editor"));
  names_label->setBuddy(variables_);
  functions_ = word_box(this, "QorvFunctions", editor_function_words(), kFunctionsHelp,
                        tr("Press F1 for more help on functions, <RETURN> to add selection to editor"));
  auto* functions_label = new QLabel(tr("Functions"), this);
  functions_label->setBuddy(functions_);
  commands_ = word_box(this, "QorvCommands", editor_command_words(), kCommandsHelp, QString());
  commands_->hide();
  side->addWidget(names_label);
  side->addWidget(variables_, 1);
  side->addWidget(functions_label);
  side->addWidget(functions_, 1);
  side->addWidget(commands_);
  for (QListWidget* box : {variables_, functions_, commands_}) {
    box->setFixedWidth(130);
    box->installEventFilter(this);
  }

  connect(ok, &QPushButton::clicked, this, &TextEditorForm::try_ok);
  connect(cancel, &QPushButton::clicked, this, [this] { done(kCancel); });
  connect(clear_button, &QToolButton::clicked, this, [this] {
    memo_->clear();
    raise();
  });
  connect(retrieve_button, &QToolButton::clicked, this, &TextEditorForm::retrieve);
  connect(save_button, &QToolButton::clicked, this, &TextEditorForm::save);
  resize(720, 480);
  memo_->setFocus();
}

std::string TextEditorForm::block_text() const {
  std::string text = qtshared::from_qt(memo_->toPlainText());
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  return text;
}

void TextEditorForm::try_ok() {
  if (static_cast<int>(block_text().size()) > setup_.capacity) {
    show_message(MessageKind::kError,
                 tr("Text too long: at most %1 characters").arg(setup_.capacity));
    memo_->setFocus();
    return;
  }
  done(kOk);
}

QString TextEditorForm::ask_panel_file(bool save) {
  FileRequest request;
  request.save = save;
  request.filter = kFilter;
  request.filter_index = setup_.extension == "LST" ? 2 : 1;
  request.default_suffix = setup_.extension.isEmpty() ? QStringLiteral("EQU") : setup_.extension;
  const QString name = ask_file_name(this, request);
  raise();
  return name;
}

void TextEditorForm::retrieve() {
  const QString name = ask_panel_file(false);
  if (name.isEmpty()) return;
  const file_reading::Contents file = file_reading::read_all(qtshared::path_from_qt(name));
  if (file.failure != file_reading::Failure::kNone) {
    show_message(MessageKind::kError, tr("Unable to read %1").arg(name));
    return;
  }
  QByteArray bytes = QByteArray::fromStdString(file.bytes);
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
  memo_->clear();
  QStringList lines = QString::fromLatin1(bytes).split('\n');
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  for (QString line : lines) {
    if (line.endsWith('\r')) line.chop(1);
    memo_->appendPlainText(retrieved_line(line));
  }
}

void TextEditorForm::save() {
  const QString name = ask_panel_file(true);
  if (name.isEmpty()) return;
  std::string bytes;
  for (QTextBlock block = memo_->document()->begin(); block.isValid(); block = block.next()) {
    QString line = block.text();
    while (!line.isEmpty() && line.back() == ' ') line.chop(1);
    bytes += qtshared::from_qt(line) + "\n";
  }
  const std::filesystem::path path = qtshared::path_from_qt(name);
  if (const file_reading::Failure target = file_reading::writable_target(path); target != file_reading::Failure::kNone) {
    show_message(MessageKind::kError, tr("Could not save to this file") + "\n" + qtshared::to_qt(file_reading::describe(target)));
    return;
  }
  const atomic_file::Outcome outcome = atomic_file::replace(path, bytes);
  if (outcome.failure != atomic_file::Failure::kNone)
    show_message(MessageKind::kError,
                 tr("Could not save to this file") + "\n" + qtshared::to_qt(outcome.system_message));
}

void TextEditorForm::insert_word(QListWidget* box) {
  const QListWidgetItem* item = box->currentItem();
  if (item == nullptr) return;
  QTextCursor cursor = memo_->textCursor();
  cursor.clearSelection();
  cursor.insertText(item->text().trimmed() + ' ');
  memo_->setTextCursor(cursor);
}

int TextEditorForm::focused_topic() const {
  for (const QWidget* w = focusWidget(); w != nullptr && w != this; w = w->parentWidget())
    if (const int tag = w->property(kHelpTag).toInt(); tag != 0) return tag;
  return help_context();
}

bool TextEditorForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      insert_word(static_cast<QListWidget*>(watched));
      return true;
    }
  }
  return Form::eventFilter(watched, event);
}

void TextEditorForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    set_busy(true);
    qtshared::help::show_topic(focused_topic());
    set_busy(false);
    return;
  }
  Form::keyPressEvent(event);
}

}  // namespace pravel
