#include "ui/qt/station/ResultsPanel.h"

#include <QBrush>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <utility>

#include "ui/qt/station/NearFieldPanel.h"

namespace korrin {

namespace su = stationui;

namespace {

const QColor kOverText(0xb7, 0x1c, 0x1c);

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

void TextTableModel::Set(su::TextTable table) {
  const bool sameShape = table.header == table_.header && table.rows.size() == table_.rows.size();
  if (!sameShape) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
    return;
  }
  // Only the rows that changed are drawn again.
  int first = -1;
  int last = -1;
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    if (table.rows[i] != table_.rows[i] || table.over[i] != table_.over[i]) {
      if (first < 0) first = static_cast<int>(i);
      last = static_cast<int>(i);
    }
  }
  table_ = std::move(table);
  if (first >= 0) emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}

int TextTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.header.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const auto row = static_cast<std::size_t>(index.row());
  const auto& cells = table_.rows[row];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return static_cast<std::size_t>(index.column()) < cells.size()
                 ? Q(cells[static_cast<std::size_t>(index.column())])
                 : QString();
    case Qt::ForegroundRole:
      if (row < table_.over.size() && table_.over[row]) return QBrush(kOverText);
      return {};
    default:
      return {};
  }
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  if (section < 0 || section >= columnCount()) return {};
  return Q(table_.header[static_cast<std::size_t>(section)]);
}

SitePlanView::SitePlanView(QWidget* parent) : QWidget(parent) {
  setObjectName("sitePlan");
  setAccessibleName(tr("Site plan"));
  setMinimumSize(240, 200);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void SitePlanView::Show(su::SitePlanContent content) {
  content_ = std::move(content);
  update();
}

void SitePlanView::SetStyle(const SitePlanStyle& style) {
  style_ = style;
  update();
}

QSize SitePlanView::sizeHint() const {
  return {520, 420};
}

void SitePlanView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintSitePlan(painter, QRectF(rect()), content_, style_);
}

ResultsPanel::ResultsPanel(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  verdict_ = new QLabel(this);
  verdict_->setObjectName("verdict");
  verdict_->setWordWrap(true);
  verdict_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  verdict_->setFocusPolicy(Qt::TabFocus);
  verdict_->setAccessibleName(tr("Verdict"));
  verdict_->setMargin(6);
  plan_ = new SitePlanView(this);
  nearField_ = new NearFieldPanel(this);
  pictures_ = new QTabWidget(this);
  pictures_->setObjectName("pictures");
  pictures_->addTab(plan_, tr("Site plan"));
  pictures_->addTab(nearField_, tr("Near field"));
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("results");
  const std::array<QString, 4> titles{tr("Installations"), tr("FCC exemption"), tr("Places"),
                                      tr("Property line")};
  for (std::size_t i = 0; i < models_.size(); ++i) {
    models_[i] = new TextTableModel(this);
    auto* view = new QTableView(this);
    view->setModel(models_[i]);
    view->setObjectName(QStringLiteral("results-%1").arg(i));
    view->setAccessibleName(tr("Results: %1").arg(titles[i]));
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setTabKeyNavigation(false);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    views_[i] = view;
    tabs_->addTab(view, titles[i]);
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, i](const QModelIndex& current) {
              const su::TextTable& t = models_[i]->Shown();
              if (!current.isValid() || static_cast<std::size_t>(current.row()) >= t.subject.size())
                return;
              const QString subject = Q(t.subject[static_cast<std::size_t>(current.row())]);
              if (i == kPlaces) {
                emit subjectChosen({}, subject);
              } else {
                emit subjectChosen(subject, {});
              }
            });
  }
  warnings_ = new QListWidget(this);
  warnings_->setObjectName("warnings");
  warnings_->setAccessibleName(tr("Failures and warnings"));
  warnings_->setWordWrap(true);
  tabs_->addTab(warnings_, tr("Failures and warnings"));
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(pictures_);
  split->addWidget(tabs_);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  layout->addWidget(verdict_);
  layout->addWidget(split, 1);
}

void ResultsPanel::Show(const station::Station& station, const assess::StationEvaluation& e) {
  station_ = &station;
  evaluation_ = &e;
  Refill();
  nearField_->Update(station, e);
}

void ResultsPanel::Retake(const assess::StationEvaluation& e) {
  evaluation_ = &e;
  if (station_ != nullptr) Refill();
}

void ResultsPanel::SetVerdictNote(const QString& pending, const QString& note) {
  pending_ = pending;
  note_ = note;
}

void ResultsPanel::ShowNothing(const QString& why) {
  station_ = nullptr;
  evaluation_ = nullptr;
  SetVerdict(why, kNothing);
  for (TextTableModel* model : models_) model->Set({});
  warnings_->clear();
  failures_.clear();
  warningsShown_.clear();
  tabs_->setTabText(kWarnings, tr("Failures and warnings"));
  plan_->Show({});
  nearField_->Clear(why);
}

void ResultsPanel::SetVerdict(const QString& text, Standing standing) {
  if (verdict_->text() != text) verdict_->setText(text);
  if (standing == standing_) return;
  // A style sheet costs a restyle: set only when the standing changes.
  standing_ = standing;
  switch (standing) {
    case kComplies:
      verdict_->setStyleSheet("QLabel { background: #e8f5e9; color: #1b5e20; font-weight: bold; }");
      break;
    case kFails:
      verdict_->setStyleSheet("QLabel { background: #ffebee; color: #b71c1c; font-weight: bold; }");
      break;
    case kNothing:
    case kUnset:
      verdict_->setStyleSheet("QLabel { background: #eeeeee; color: #424242; font-weight: bold; }");
      break;
  }
}

void ResultsPanel::SetFeet(bool feet) {
  feet_ = feet;
  SitePlanStyle style = plan_->Style();
  style.feet = feet;
  plan_->SetStyle(style);
  nearField_->SetFeet(feet);
  if (evaluation_ != nullptr && station_ != nullptr) Refill();
}

void ResultsPanel::Highlight(const QString& installation, const QString& place) {
  SitePlanStyle style = plan_->Style();
  style.highlightInstallation = installation;
  style.highlightPlace = place;
  plan_->SetStyle(style);
  if (!installation.isEmpty()) nearField_->Choose(installation);
}

void ResultsPanel::Refill() {
  const assess::StationEvaluation& e = *evaluation_;
  if (!pending_.isEmpty()) {
    SetVerdict(pending_, kUnset);
  } else {
    const QString line = Q(su::VerdictLine(e));
    // Nothing to check yet is no failure: the neutral colour.
    const Standing standing = e.verdict.complies         ? kComplies
                              : e.verdict.nothingToCheck ? kNothing
                                                         : kFails;
    SetVerdict(note_.isEmpty() ? line : line + ' ' + note_, standing);
  }
  models_[kInstallations]->Set(su::InstallationResults(e, feet_));
  models_[kExemption]->Set(su::ExemptionResults(e, feet_));
  models_[kPlaces]->Set(su::PlaceResults(e));
  models_[kProperty]->Set(su::PropertyResults(e, feet_));
  // The list is made anew only when its words change.
  QStringList failures;
  for (const std::string& failure : e.verdict.failures) failures << Q(failure);
  QStringList warnings;
  for (const std::string& warning : e.warnings) warnings << Q(warning);
  if (failures != failures_ || warnings != warningsShown_) {
    failures_ = failures;
    warningsShown_ = warnings;
    warnings_->clear();
    for (const QString& failure : failures) {
      auto* item = new QListWidgetItem(failure, warnings_);
      item->setForeground(QBrush(kOverText));
    }
    warnings_->addItems(warnings);
    tabs_->setTabText(kWarnings, tr("Failures and warnings (%1)").arg(warnings_->count()));
  }
  plan_->Show(su::SitePlanOf(*station_, e));
}

}  // namespace korrin
