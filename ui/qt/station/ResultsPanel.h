// The station window's results: the verdict in one line, the site plan,
// and tables of the results per installation, the FCC exemption, the sums
// at the places and along the property line, with the failures and the
// warnings.  The panel shows an evaluation made from the document's station
// after every edit and keeps nothing of its own but what it shows.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QWidget>
#include <array>

#include "assess/StationEvaluation.h"
#include "ui/qt/station/SitePlanPainter.h"
#include "ui/station/ResultTables.h"

class QLabel;
class QListWidget;
class QTabWidget;
class QTableView;

namespace korrin {

// A text table of ui/station/ResultTables.h for a view; rows over their
// limit in red.
class TextTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Shows `table`: the same rows and columns are redrawn in place, others
  // laid out anew.
  void Set(stationui::TextTable table);
  const stationui::TextTable& Shown() const { return table_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  stationui::TextTable table_;
};

// The site plan on screen, drawn by PaintSitePlan.
class SitePlanView : public QWidget {
  Q_OBJECT
 public:
  explicit SitePlanView(QWidget* parent = nullptr);

  void Show(stationui::SitePlanContent content);
  void SetStyle(const SitePlanStyle& style);
  const stationui::SitePlanContent& Content() const { return content_; }
  const SitePlanStyle& Style() const { return style_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  stationui::SitePlanContent content_;
  SitePlanStyle style_;
};

class NearFieldPanel;

class ResultsPanel : public QWidget {
  Q_OBJECT
 public:
  enum Tab { kInstallations, kExemption, kPlaces, kProperty, kWarnings };

  explicit ResultsPanel(QWidget* parent = nullptr);

  // Shows the evaluation of `station`.
  void Show(const station::Station& station, const assess::StationEvaluation& evaluation);
  // Shows another evaluation of the same station (with the near field of
  // its wire antennas); the near-field tab keeps the one given to Show.
  void Retake(const assess::StationEvaluation& evaluation);
  // While `pending` is not empty the verdict line says it in place of a
  // verdict; `note` follows the verdict (what the sums leave out).
  void SetVerdictNote(const QString& pending, const QString& note);
  // Shows that there is nothing evaluated, and why.
  void ShowNothing(const QString& why);
  void SetFeet(bool feet);
  // Draws an installation or a place stronger on the plan (empty: none); an
  // installation is the one whose near field is shown.
  void Highlight(const QString& installation, const QString& place);

  QLabel* Verdict() const { return verdict_; }
  SitePlanView* Plan() const { return plan_; }
  // The near field of the installation chosen, on a tab beside the plan.
  NearFieldPanel* NearField() const { return nearField_; }
  QTabWidget* Pictures() const { return pictures_; }
  TextTableModel* Table(Tab tab) const { return models_[tab]; }
  QListWidget* Warnings() const { return warnings_; }

 signals:
  // A row of a results table was chosen: its installation or place.
  void subjectChosen(const QString& installation, const QString& place);

 private:
  enum Standing { kUnset, kComplies, kFails, kNothing };
  void Refill();
  void SetVerdict(const QString& text, Standing standing);

  QLabel* verdict_ = nullptr;
  SitePlanView* plan_ = nullptr;
  NearFieldPanel* nearField_ = nullptr;
  QTabWidget* pictures_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  std::array<TextTableModel*, 4> models_{};
  std::array<QTableView*, 4> views_{};
  QListWidget* warnings_ = nullptr;
  const station::Station* station_ = nullptr;
  const assess::StationEvaluation* evaluation_ = nullptr;
  bool feet_ = false;
  Standing standing_ = kUnset;
  QStringList failures_;
  QString pending_;
  QString note_;
  QStringList warningsShown_;
};

}  // namespace korrin
