#include "ui/qt/station/StationWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/qt/ToolWindow.h"
#include "ui/qt/station/EntryTableModel.h"
#include "ui/qt/station/FixPanel.h"
#include "ui/qt/station/HeadingPanel.h"
#include "ui/qt/station/NearFieldPanel.h"
#include "ui/qt/station/PropertyPanel.h"
#include "ui/qt/station/ResultsPanel.h"
#include "ui/qt/station/StationDocument.h"
#include "ui/qt/station/StationMenu.h"
#include "ui/qt/station/StationNearField.h"
#include "ui/qt/station/StationTable.h"
#include "ui/station/RowsToml.h"

namespace korrin {

namespace su = stationui;
using su::Table;

namespace {

QList<StationWindow*>& Registry() {
  static QList<StationWindow*> windows;
  return windows;
}

std::size_t Slot(Table table) {
  return static_cast<std::size_t>(table);
}

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The tab titles, with their keys.
QString TabTitle(Table table) {
  switch (table) {
    case Table::Transmitters:
      return QObject::tr("&Transmitters");
    case Table::Feedlines:
      return QObject::tr("Feed &lines");
    case Table::Antennas:
      return QObject::tr("&Antennas");
    case Table::Installations:
      return QObject::tr("&Installations");
    case Table::Places:
      return QObject::tr("&Places");
    case Table::Outline:
      return QObject::tr("Propert&y line");
  }
  return {};
}

// The window's size on its first showing, within the screen.
constexpr QSize kFirstSize{1440, 880};

// The settings key under which the last station window closed keeps its
// place and size.
constexpr const char* kGeometryKey = "stationWindow";

// How long a passing word stays in the status line.
constexpr int kStatusMessageMs = 4000;

// A new row starts in its first column: its id (a corner's east).
constexpr int kNewRowColumn = 0;

}  // namespace

StationWindow::StationWindow(QWidget* parent) : QMainWindow(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("StationWindow");
  document_ = new StationDocument(this);
  near_ = new StationNearField(this);
  connect(near_, &StationNearField::computed, this, &StationWindow::TakeNearField);
  Build();
  BuildMenus();
  Registry().append(this);
  connect(document_, &StationDocument::modifiedChanged, this, &StationWindow::UpdateTitle);
  connect(document_, &StationDocument::pathChanged, this, &StationWindow::UpdateTitle);
  connect(document_, &StationDocument::changed, this, &StationWindow::UpdateActions);
  resize(kFirstSize);
  UpdateTitle();
  UpdateActions();
  Evaluate();
}

StationWindow::~StationWindow() {
  Registry().removeAll(this);
}

QList<StationWindow*> StationWindow::Windows() {
  return Registry();
}

StationTable* StationWindow::View(su::Table table) const {
  return tables_[Slot(table)];
}

EntryTableModel* StationWindow::Model(su::Table table) const {
  return models_[Slot(table)];
}

QWidget* StationWindow::TablePage(su::Table table, QWidget* above) {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  if (above != nullptr) layout->addWidget(above);
  auto* model = new EntryTableModel(*document_, table, this);
  auto* view = new StationTable(page);
  view->setModel(model);
  view->setObjectName(QStringLiteral("table-%1").arg(Q(su::TableTitle(table))));
  view->setAccessibleName(Q(su::TableTitle(table)));
  view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  models_[Slot(table)] = model;
  tables_[Slot(table)] = view;
  layout->addWidget(view, 1);

  // The row commands, for the mouse; the Edit menu has them with their keys.
  auto* buttons = new QHBoxLayout();
  const std::array<std::pair<QString, std::function<void()>>, 5> commands{{
      {tr("Add"), [this] { AddRow(); }},
      {tr("Remove"), [this] { RemoveRows(); }},
      {tr("Duplicate"), [this] { DuplicateRow(); }},
      {tr("Up"), [this] { MoveRow(true); }},
      {tr("Down"), [this] { MoveRow(false); }},
  }};
  for (const auto& command : commands) {
    const QString& text = command.first;
    const std::function<void()>& run = command.second;
    auto* button = new QPushButton(text, page);
    button->setAccessibleName(text + " " + Q(su::EntryWord(table)));
    button->setFocusPolicy(Qt::TabFocus);
    connect(button, &QPushButton::clicked, this, [this, table, run] {
      ShowTable(table);
      run();
    });
    buttons->addWidget(button);
  }
  buttons->addStretch();
  layout->addLayout(buttons);

  model->askForCell = [this, model, view](const QModelIndex& needed, const QString& proposed,
                                          const QString& why) -> std::optional<QString> {
    const QString cell =
        model->headerData(needed.column(), Qt::Horizontal, Qt::DisplayRole).toString() + " of " +
        needed.data(kRowNameRole).toString();
    if (cellAnswer) return cellAnswer(cell, proposed);
    const QPersistentModelIndex asking = view->currentIndex();
    bool ok = false;
    QString text = QInputDialog::getText(this, tr("Korrin"),
                                         why + "\n\n" + tr("%1, with this change:").arg(cell),
                                         QLineEdit::Normal, proposed, &ok);
    // The cell's editor closes once this returns, while the window may not
    // be active again yet: the focus goes back to the cell that asked, not
    // to the window's first field.
    QTimer::singleShot(0, view, [view, asking] {
      if (asking.isValid()) view->setCurrentIndex(asking);
      view->setFocus(Qt::OtherFocusReason);
      view->window()->activateWindow();
    });
    if (!ok) return std::nullopt;
    return text;
  };
  connect(view, &StationTable::removeRequested, this, [this, table] {
    ShowTable(table);
    RemoveRows();
  });
  connect(model, &EntryTableModel::refused, this,
          [this, view](const QModelIndex& index, const QString& message) {
            ShowRefusal(message);
            view->setCurrentIndex(index);
          });
  connect(model, &EntryTableModel::accepted, this, &StationWindow::ClearRefusal);
  return page;
}

void StationWindow::Build() {
  auto* left = new QWidget(this);
  auto* leftLayout = new QVBoxLayout(left);
  stack_ = new QStackedWidget(left);

  auto* inputs = new QWidget(stack_);
  auto* inputsLayout = new QVBoxLayout(inputs);
  inputsLayout->setContentsMargins(0, 0, 0, 0);
  heading_ = new HeadingPanel(*document_, inputs);
  tabs_ = new QTabWidget(inputs);
  tabs_->setObjectName("tables");
  for (const Table table : su::kTables) {
    QWidget* above = nullptr;
    if (table == Table::Outline) {
      property_ = new PropertyPanel(*document_, this);
      above = property_;
    }
    tabs_->addTab(TablePage(table, above), TabTitle(table));
  }
  inputsLayout->addWidget(heading_);
  inputsLayout->addWidget(tabs_, 1);
  stack_->addWidget(inputs);

  fix_ = new FixPanel(stack_);
  stack_->addWidget(fix_);
  connect(fix_, &FixPanel::checkRequested, this, &StationWindow::CheckFixedText);
  connect(fix_, &FixPanel::textChanged, this, &StationWindow::UpdateTitle);

  refusal_ = new QLabel(left);
  refusal_->setObjectName("refusal");
  refusal_->setWordWrap(true);
  refusal_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  refusal_->setAccessibleName(tr("Entry not taken"));
  refusal_->setStyleSheet("QLabel { color: #a40000; }");
  refusal_->hide();
  leftLayout->addWidget(stack_, 1);
  leftLayout->addWidget(refusal_);

  results_ = new ResultsPanel(this);
  split_ = new QSplitter(Qt::Horizontal, this);
  split_->setObjectName("split");
  split_->addWidget(left);
  split_->addWidget(results_);
  split_->setStretchFactor(0, 1);
  split_->setStretchFactor(1, 1);
  split_->setChildrenCollapsible(false);
  setCentralWidget(split_);

  // Choosing an installation or a place, in its table or among the
  // results, draws it stronger on the plan.
  auto highlight = [this](Table table) {
    connect(View(table)->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, table](const QModelIndex& current) {
              if (!current.isValid()) return;
              const QString name = current.data(kRowNameRole).toString();
              results_->Highlight(table == Table::Installations ? name : QString(),
                                  table == Table::Places ? name : QString());
            });
  };
  highlight(Table::Installations);
  highlight(Table::Places);
  connect(results_, &ResultsPanel::subjectChosen, results_, &ResultsPanel::Highlight);
  connect(document_, &StationDocument::changed, this, &StationWindow::Evaluate);

  connect(heading_, &HeadingPanel::refused, this, &StationWindow::ShowRefusal);
  connect(heading_, &HeadingPanel::accepted, this, &StationWindow::ClearRefusal);
  connect(property_, &PropertyPanel::refused, this, &StationWindow::ShowRefusal);
  connect(property_, &PropertyPanel::accepted, this, &StationWindow::ClearRefusal);
  connect(tabs_, &QTabWidget::currentChanged, this, &StationWindow::UpdateActions);
  statusBar();
}

void StationWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  QAction* make = file->addAction(tr("&New Station Evaluation"));
  make->setShortcut(QKeySequence::New);
  make->setStatusTip(tr("Open a new station window"));
  connect(make, &QAction::triggered, this, [] { NewStationWindow(); });
  QAction* open = file->addAction(tr("&Open Station Evaluation…"));
  open->setObjectName("openStation");
  open->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), QKeySequence::Open});
  open->setStatusTip(tr("Open a station file in this window"));
  connect(open, &QAction::triggered, this, [this] {
    if (const auto path = ChooseFile(false, document_->Path())) OpenFile(*path);
  });
  recent_ = file->addMenu(tr("Recent Station Evaluat&ions"));
  connect(recent_, &QMenu::aboutToShow, this, &StationWindow::FillRecentMenu);
  FillRecentMenu();
  file->addSeparator();
  save_ = file->addAction(tr("&Save"));
  save_->setObjectName("save");
  save_->setShortcut(QKeySequence::Save);
  connect(save_, &QAction::triggered, this, [this] { Save(); });
  QAction* saveAs = file->addAction(tr("Save &As…"));
  saveAs->setObjectName("saveAs");
  saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  connect(saveAs, &QAction::triggered, this, [this] { SaveAs(); });
  file->addSeparator();
  QAction* record = file->addAction(tr("Export &Evaluation Record…"));
  record->setObjectName("exportRecord");
  record->setStatusTip(tr("Write the station's evaluation as a PDF document to keep"));
  connect(record, &QAction::triggered, this, [this] { ExportRecord(); });
  QAction* plan = file->addAction(tr("Export Site &Plan…"));
  plan->setObjectName("exportSitePlan");
  plan->setStatusTip(tr("Write the site plan as an SVG or PNG picture"));
  connect(plan, &QAction::triggered, this, [this] { ExportSitePlan(); });
  file->addSeparator();
  QAction* close = file->addAction(tr("&Close"));
  close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
  connect(close, &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  undo_ = document_->UndoStack().createUndoAction(this, tr("&Undo"));
  undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  redo_ = document_->UndoStack().createRedoAction(this, tr("&Redo"));
  redo_->setShortcuts(RedoKeys(QKeySequence::keyBindings(QKeySequence::Redo)));
  edit->addAction(undo_);
  edit->addAction(redo_);
  edit->addSeparator();
  // Whole rows through the clipboard, as station file tables; in a field
  // or a cell's editor the keys copy and paste its text instead.
  QAction* copy = edit->addAction(tr("&Copy Rows"));
  copy->setObjectName("copyRows");
  copy->setShortcut(QKeySequence::Copy);
  copy->setStatusTip(tr("Copy the selected rows as station file tables"));
  connect(copy, &QAction::triggered, this, [this] { CopyRows(); });
  QAction* paste = edit->addAction(tr("&Paste Rows"));
  paste->setObjectName("pasteRows");
  paste->setShortcut(QKeySequence::Paste);
  paste->setStatusTip(tr("Add the station file tables on the clipboard as rows"));
  connect(paste, &QAction::triggered, this,
          [this] { PasteRows(QGuiApplication::clipboard()->text()); });
  edit->addSeparator();
  const std::array<std::tuple<QString, QKeySequence, std::function<void()>>, 5> rows{{
      {tr("&Add Row"), QKeySequence(Qt::CTRL | Qt::Key_I), [this] { AddRow(); }},
      {tr("Re&move Rows"), QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { RemoveRows(); }},
      {tr("&Duplicate Row"), QKeySequence(Qt::CTRL | Qt::Key_D), [this] { DuplicateRow(); }},
      {tr("Move Row U&p"), QKeySequence(Qt::ALT | Qt::Key_Up), [this] { MoveRow(true); }},
      {tr("Move Row Do&wn"), QKeySequence(Qt::ALT | Qt::Key_Down), [this] { MoveRow(false); }},
  }};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& [text, key, run] = rows[i];
    QAction* action = edit->addAction(text);
    action->setShortcut(key);
    connect(action, &QAction::triggered, this, run);
    rowActions_[i] = action;
  }

  QMenu* view = menuBar()->addMenu(tr("&View"));
  QAction* feet = view->addAction(tr("Lengths in &Feet"));
  feet->setObjectName("feet");
  feet->setCheckable(true);
  feet->setStatusTip(
      tr("Show distances and the plan's scale in feet, and give the lengths of "
         "new entries in feet"));
  connect(feet, &QAction::toggled, this, &StationWindow::SetFeetForNewLengths);
  view->addSeparator();
  QAction* calculator = view->addAction(tr("&Calculator"));
  calculator->setStatusTip(tr("Show the calculator window"));
  connect(calculator, &QAction::triggered, this, [] {
    if (QWidget* c = CalculatorWindow()) {
      c->show();
      c->raise();
      c->activateWindow();
    }
  });
}

void StationWindow::SetFeetForNewLengths(bool feet) {
  feet_ = feet;
  for (EntryTableModel* model : models_) {
    model->SetNewLengthUnit(feet ? station::LengthUnit::Feet : station::LengthUnit::Metres);
  }
  property_->SetNewLengthFeet(feet);
  results_->SetFeet(feet);
}

void StationWindow::Evaluate() {
  if (FixingFile()) {
    evaluation_ = {};
    plain_ = {};
    near_->Clear();
    results_->ShowNothing(tr("Not evaluated: the file has problems to correct first."));
    return;
  }
  const station::Station& station = document_->Station();
  plain_ = assess::Evaluate(station);
  evaluation_ = plain_;
  const QString path = document_->Path();
  const QString folder = path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
  results_->NearField()->SetFolder(folder);
  {
    // A result already kept is taken below, not by the signal.
    const QScopedValueRollback<bool> quiet(evaluating_, true);
    near_->Update(station, folder);
  }
  // The far field shows at once; with wire antennas the near field takes
  // their place in the sums, which it may raise or lower, so there is no
  // verdict until it is in.
  const assess::StationNearField* near = near_->Result();
  results_->SetVerdictNote(
      near_->Needed() && near == nullptr
          ? tr("Near field of the wire antennas being computed: the verdict follows.")
          : QString(),
      near != nullptr ? FarFieldOnlyNote(*near) : QString());
  results_->Show(station, plain_);
  if (near != nullptr) {
    evaluation_ = near->evaluation;
    results_->Retake(evaluation_);
  }
}

void StationWindow::TakeNearField() {
  if (evaluating_ || FixingFile()) return;
  const assess::StationNearField* near = near_->Result();
  if (near == nullptr) return;
  evaluation_ = near->evaluation;
  results_->SetVerdictNote(QString(), FarFieldOnlyNote(*near));
  results_->Retake(evaluation_);
}

void StationWindow::SetEngineProgram(const QString& program) {
  results_->NearField()->EngineOptions().program = program.toStdString();
  near_->EngineOptions().program = program.toStdString();
  Evaluate();
}

bool StationWindow::FixingFile() const {
  return stack_->currentWidget() == fix_;
}

QString StationWindow::LastRefusal() const {
  return refusal_->isVisible() || !refusal_->isHidden() ? refusal_->text() : QString();
}

su::Table StationWindow::CurrentTable() const {
  const int at = tabs_->currentIndex();
  return at < 0 ? Table::Transmitters : su::kTables[at];
}

void StationWindow::ShowTable(su::Table table) {
  tabs_->setCurrentIndex(static_cast<int>(Slot(table)));
}

void StationWindow::ShowRefusal(const QString& message) {
  refusal_->setText(message);
  refusal_->show();
  statusBar()->showMessage(tr("Not taken: %1").arg(message.section('\n', 0, 0)));
}

void StationWindow::ClearRefusal() {
  refusal_->clear();
  refusal_->hide();
  statusBar()->clearMessage();
}

void StationWindow::Take(su::Outcome outcome, su::Table table, int selectRow, int selectColumn) {
  if (outcome.Refused()) {
    ShowRefusal(QString::fromStdString(outcome.refusal));
    return;
  }
  if (!outcome.edit) return;
  document_->Push(std::move(*outcome.edit));
  ClearRefusal();
  StationTable* view = View(table);
  const int column = selectColumn >= 0 ? selectColumn : std::max(view->currentIndex().column(), 0);
  if (selectRow >= 0 && selectRow < view->model()->rowCount()) {
    view->setCurrentIndex(view->model()->index(selectRow, column));
  }
  view->setFocus();
}

bool StationWindow::AddStation(const station::Station& from, const QString& what) {
  if (FixingFile()) {
    ShowMessage(
        tr("The station was not added: this window shows a file with problems; correct "
           "them first."));
    return false;
  }
  su::Outcome outcome = su::AddStation(document_->Station(), from, what.toStdString());
  if (outcome.Refused()) {
    ShowRefusal(QString::fromStdString(outcome.refusal));
    ShowMessage(tr("The station was not added:\n%1").arg(QString::fromStdString(outcome.refusal)));
    return false;
  }
  if (!outcome.edit) return false;
  document_->Push(std::move(*outcome.edit));
  ClearRefusal();
  ShowTable(Table::Installations);
  StationTable* view = View(Table::Installations);
  view->setCurrentIndex(view->model()->index(view->model()->rowCount() - 1, 0));
  return true;
}

void StationWindow::AddRow() {
  if (FixingFile()) return;
  const Table table = CurrentTable();
  const int current = View(table)->currentIndex().row();
  const std::optional<std::size_t> after =
      current >= 0 ? std::optional<std::size_t>(current) : std::nullopt;
  const int at = current >= 0 ? current + 1 : Model(table)->rowCount();
  Take(su::AddRow(document_->Station(), table, after,
                  feet_ ? station::LengthUnit::Feet : station::LengthUnit::Metres),
       table, at, kNewRowColumn);
}

std::vector<std::size_t> StationWindow::SelectedRows(su::Table table) const {
  StationTable* view = View(table);
  QSet<int> rows;
  for (const QModelIndex& index : view->selectionModel()->selectedIndexes())
    rows.insert(index.row());
  if (rows.isEmpty() && view->currentIndex().isValid()) rows.insert(view->currentIndex().row());
  std::vector<std::size_t> list;
  for (const int row : rows) list.push_back(static_cast<std::size_t>(row));
  std::sort(list.begin(), list.end());
  return list;
}

void StationWindow::RemoveRows() {
  if (FixingFile()) return;
  const Table table = CurrentTable();
  const std::vector<std::size_t> list = SelectedRows(table);
  if (list.empty()) return;
  const int first = static_cast<int>(list.front());
  Take(su::RemoveRows(document_->Station(), table, list), table, std::max(first - 1, 0));
}

QString StationWindow::CopyRows() {
  if (FixingFile()) return {};
  const Table table = CurrentTable();
  QString text =
      QString::fromStdString(su::RowsAsToml(document_->Station(), table, SelectedRows(table)));
  if (text.isEmpty()) return {};
  QGuiApplication::clipboard()->setText(text);
  statusBar()->showMessage(tr("Rows copied as station file tables"), kStatusMessageMs);
  return text;
}

void StationWindow::PasteRows(const QString& text) {
  if (FixingFile()) return;
  const Table table = CurrentTable();
  const int before = Model(table)->rowCount();
  Take(su::PasteToml(document_->Station(), text.toStdString()), table, before, kNewRowColumn);
}

void StationWindow::DuplicateRow() {
  if (FixingFile()) return;
  const Table table = CurrentTable();
  const int row = View(table)->currentIndex().row();
  if (row < 0) return;
  Take(su::DuplicateRow(document_->Station(), table, static_cast<std::size_t>(row)), table, row + 1,
       kNewRowColumn);
}

void StationWindow::MoveRow(bool up) {
  if (FixingFile()) return;
  const Table table = CurrentTable();
  const int row = View(table)->currentIndex().row();
  if (row < 0) return;
  Take(su::MoveRow(document_->Station(), table, static_cast<std::size_t>(row), up), table,
       up ? row - 1 : row + 1);
}

void StationWindow::UpdateActions() {
  const bool editing = !FixingFile();
  for (QAction* action : rowActions_) action->setEnabled(editing);
  const bool outline = CurrentTable() != Table::Outline || document_->Station().property;
  rowActions_[0]->setEnabled(editing && outline);
}

void StationWindow::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    Place();
  }
  QMainWindow::showEvent(event);
}

void StationWindow::Place() {
  QWidget* calculator = CalculatorWindow();
  const bool beside = calculator != nullptr && calculator->isVisible();
  QScreen* screen = beside ? calculator->screen() : this->screen();
  if (screen == nullptr) return;
  const QRect room = screen->availableGeometry();
  // Later windows a little lower and to the right of the first.
  const int others = static_cast<int>(Registry().size()) - 1;
  const QPoint cascade = QPoint(24, 24) * std::max(others, 0);
  // The window's decorations, taken to be the calculator's (not known
  // before the window is on the screen).
  QSize decorations(0, 0);
  if (calculator != nullptr && calculator->isVisible()) {
    decorations = calculator->frameGeometry().size() - calculator->geometry().size();
  }

  const QByteArray kept = QSettings(QSettings::UserScope, "Korrin", "Korrin")
                              .value(ToolWindowGeometryKey(kGeometryKey))
                              .toByteArray();
  // Restoring moves a window that would lie off every screen onto one.
  if (!kept.isEmpty() && restoreGeometry(kept)) {
    if (others > 0) {
      const QRect frame = frameGeometry();
      move(MovedWithin(frame, cascade, room).topLeft());
    }
  } else {
    const QSize smallest = minimumSizeHint().expandedTo(minimumSize()) + decorations;
    const QSize frame = kFirstSize + decorations;
    QRect at;
    if (beside) {
      at = PlaceNearCalculator(calculator->frameGeometry(), frame, smallest, room);
    } else {
      at = QRect(QPoint(0, 0), frame.boundedTo(room.size()));
      at.moveCenter(room.center());
    }
    at = MovedWithin(at, cascade, room);
    resize(at.size() - decorations);
    move(at.topLeft());  // a window's position is its frame's
  }
  // The tables and the results side by side, half the width each.
  split_->setSizes({width() / 2, width() / 2});
}

void StationWindow::KeepGeometry() const {
  QSettings(QSettings::UserScope, "Korrin", "Korrin")
      .setValue(ToolWindowGeometryKey(kGeometryKey), saveGeometry());
}

QList<QKeySequence> RedoKeys(QList<QKeySequence> platform) {
  for (const QKeySequence& key :
       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}) {
    if (!platform.contains(key)) platform << key;
  }
  return platform;
}

StationWindow* NewStationWindow() {
  auto* window = new StationWindow();
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

}  // namespace korrin
