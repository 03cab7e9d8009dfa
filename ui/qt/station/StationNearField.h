// The near field of every wire antenna of the station window's station, for
// its verdict and sums: the station is evaluated with the near field on a
// thread of its own, as the evaluation record and korrin-report do, so
// that the window never waits and never shows another verdict than they
// do.  An edit stops a run and starts one for the new station; the last
// few results are kept by the station's text, so that undo computes
// nothing.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <list>
#include <memory>
#include <optional>
#include <string>

#include "assess/NearFieldStation.h"
#include "station/Station.h"

class QThread;

namespace korrin {

// Whether the station has an installation whose antenna the near field
// models: only then is its verdict the near field's.
bool HasWireInstallation(const station::Station& station);

class StationNearField : public QObject {
  Q_OBJECT
 public:
  explicit StationNearField(QObject* parent = nullptr);
  // Stops a run and waits for its thread.
  ~StationNearField() override;

  // The station as it is now, its file's folder (where a nec-file is
  // found): its evaluation with the near field is taken from those kept,
  // else computed, unless it has no wire antenna.
  void Update(const station::Station& station, const QString& folder);
  // No station (a file with problems): any run stops.
  void Clear();
  // How the engine is run; a change computes again at the next Update.
  nearfield::RunOptions& EngineOptions() { return options_.run; }

  // Whether the station last given needs the near field for its verdict.
  bool Needed() const { return !wanted_.empty(); }
  // Its evaluation with the near field, once computed; nullptr before, and
  // when it is not needed.
  const assess::StationNearField* Result() const { return current_.get(); }
  bool Busy() const { return running_ != nullptr; }
  // The runs started so far.
  int Computations() const { return computations_; }

 signals:
  // The result for the station last given is in.
  void computed();

 private:
  struct Running;
  void Start(std::string key, station::Station station);
  void Finished(const std::shared_ptr<Running>& run);

  assess::NearFieldOptions options_;
  std::string wanted_;  // the key of the station last given; empty: nothing to compute
  std::shared_ptr<const assess::StationNearField> current_;
  // Results computed, the most recently used first.
  std::list<std::pair<std::string, std::shared_ptr<const assess::StationNearField>>> kept_;
  std::shared_ptr<Running> running_;
  QPointer<QThread> thread_;
  std::optional<std::pair<std::string, station::Station>> next_;  // once the run stopping ends
  int computations_ = 0;
};

// The words the verdict line adds for the near field of `result`: which
// installations keep their far-field estimate in the sums, and why; empty
// when every near field was computed.
QString FarFieldOnlyNote(const assess::StationNearField& result);

}  // namespace korrin
