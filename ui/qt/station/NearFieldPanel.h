// The near field of the installation chosen in the station window: its
// maps under the limit set and tier the user picks, its field keep-out
// distances under each and the exposure at the places.  The NEC-2 engine
// runs on a thread of its own with its progress shown, so the window never
// waits for it; what it computed is kept by the model's deck and the
// figures it was computed at, so that choosing the installation again, or
// an edit that changes neither, computes nothing.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <list>
#include <memory>
#include <optional>
#include <string>

#include "assess/NearFieldStation.h"
#include "nearfield/Map.h"
#include "station/Station.h"
#include "ui/qt/nearfield/NearFieldMapPainter.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QThread;
class QTimer;

namespace korrin {

// The maps on screen, drawn by PaintNearFieldMap; blank without a map.
class NearFieldMapView : public QWidget {
  Q_OBJECT
 public:
  explicit NearFieldMapView(QWidget* parent = nullptr);

  void Show(std::optional<nearfield::NearFieldMap> map, NearFieldMapStyle style);
  bool HasMap() const { return map_.has_value(); }
  const NearFieldMapStyle& Style() const { return style_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<nearfield::NearFieldMap> map_;
  NearFieldMapStyle style_;
};

class NearFieldPanel : public QWidget {
  Q_OBJECT
 public:
  explicit NearFieldPanel(QWidget* parent = nullptr);
  // Stops a run and waits for its thread.
  ~NearFieldPanel() override;

  // The station as evaluated now; the near field of the installation chosen
  // is shown again, and computed when what it was computed from changed.
  void Update(const station::Station& station, const assess::StationEvaluation& evaluation);
  // Nothing to show (the window shows a file with problems): any run stops.
  void Clear(const QString& why);
  // The installation to show; one without a wire antenna shows why not.
  void Choose(const QString& installation);
  void SetFeet(bool feet);
  // The station file's folder, where an antenna's nec-file is found.
  void SetFolder(const QString& folder);
  // How the engine is run (its program, search path, time limit); tests
  // point it elsewhere.
  nearfield::RunOptions& EngineOptions() { return options_.run; }

  QString Chosen() const { return chosen_; }
  bool Busy() const { return running_ != nullptr; }
  // The engine's runs started so far: one per computation.
  int Computations() const { return computations_; }
  // The line that says what is shown, or why nothing is.
  QString Status() const;
  QString Figures() const;
  QComboBox* Limits() const { return limits_; }
  NearFieldMapView* Map() const { return map_; }
  const assess::NearFieldInstallation* Shown() const { return shown_.get(); }

 signals:
  // A computation the panel wanted ended: shown, or its failure told.
  void computed();

 private:
  struct Running;
  void Refresh();
  void Start(assess::NearFieldJob job);
  void Finished(const std::shared_ptr<Running>& run);
  void ShowResult(std::shared_ptr<const assess::NearFieldInstallation> result);
  void ShowMessage(const QString& text);
  void Redraw();
  void FillLimits();
  void Stop();

  std::optional<station::Station> station_;
  std::optional<assess::StationEvaluation> evaluation_;
  assess::NearFieldOptions options_;
  QString chosen_;
  bool feet_ = false;
  std::string wanted_;  // the key of what should be shown; empty: nothing to compute
  std::shared_ptr<const assess::NearFieldInstallation> shown_;
  // Computed near fields, the most recently used first.
  std::list<std::pair<std::string, std::shared_ptr<const assess::NearFieldInstallation>>> kept_;
  std::shared_ptr<Running> running_;
  QPointer<QThread> thread_;
  std::optional<assess::NearFieldJob> next_;  // to start when the run stopping has ended
  int computations_ = 0;

  QLabel* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QComboBox* limits_ = nullptr;
  QLabel* figures_ = nullptr;
  NearFieldMapView* map_ = nullptr;
  QTimer* timer_ = nullptr;
};

}  // namespace korrin
