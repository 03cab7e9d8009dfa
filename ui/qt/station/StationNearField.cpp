#include "ui/qt/station/StationNearField.h"

#include <QStringList>
#include <QThread>
#include <stop_token>

#include "nearfield/Cache.h"
#include "station/FileWords.h"
#include "station/StationFile.h"

namespace korrin {

namespace nf = korrin::nearfield;

namespace {

// Results kept per window: each holds the grids of its near fields.
constexpr std::size_t kKept = 4;

}  // namespace

struct StationNearField::Running {
  std::string key;
  station::Station station;
  assess::NearFieldOptions options;
  std::stop_source stop;
  assess::StationNearField result;
};

bool HasWireInstallation(const station::Station& station) {
  for (const station::Installation& i : station.installations) {
    const station::Antenna* a = station.FindAntenna(i.antenna);
    if (a != nullptr && station::NearFieldKind(a->kind)) return true;
  }
  return false;
}

StationNearField::StationNearField(QObject* parent) : QObject(parent) {
  options_.cacheFolder = nf::DefaultCacheFolder();
}

StationNearField::~StationNearField() {
  next_.reset();
  if (running_) running_->stop.request_stop();
  if (thread_) {
    thread_->wait();
    delete thread_;
  }
}

void StationNearField::Update(const station::Station& station, const QString& folder) {
  options_.folder = folder.toStdString();
  if (!HasWireInstallation(station)) {
    Clear();
    return;
  }
  // The station's text, where its nec-files are found and the engine run
  // are everything the result is computed from.
  std::string key = station::WriteStation(station) + '\n' + options_.folder + '\n' +
                    options_.run.program + '\n' + options_.run.searchPath.value_or("");
  if (key == wanted_ && (current_ || running_ || next_)) return;
  wanted_ = key;
  current_.reset();
  for (auto it = kept_.begin(); it != kept_.end(); ++it) {
    if (it->first != wanted_) continue;
    kept_.splice(kept_.begin(), kept_, it);
    current_ = kept_.front().second;
    emit computed();
    return;
  }
  if (running_ && running_->key == wanted_ && !running_->stop.stop_requested()) return;
  if (running_) {
    // One run at a time: the next starts when this one has stopped.
    running_->stop.request_stop();
    next_.emplace(std::move(key), station);
    return;
  }
  Start(std::move(key), station);
}

void StationNearField::Clear() {
  wanted_.clear();
  current_.reset();
  next_.reset();
  if (running_) running_->stop.request_stop();
}

void StationNearField::Start(std::string key, station::Station station) {
  auto run = std::make_shared<Running>();
  run->key = std::move(key);
  run->station = std::move(station);
  run->options = options_;
  run->options.run.stop = run->stop.get_token();
  running_ = run;
  ++computations_;
  thread_ = QThread::create(
      [run] { run->result = assess::EvaluateWithNearField(run->station, run->options); });
  QThread* thread = thread_;
  connect(thread, &QThread::finished, this, [this, run, thread] {
    thread->deleteLater();
    Finished(run);
  });
  thread->start(QThread::LowPriority);
}

void StationNearField::Finished(const std::shared_ptr<Running>& run) {
  if (running_ == run) running_.reset();
  if (!run->stop.stop_requested()) {
    auto result = std::make_shared<const assess::StationNearField>(std::move(run->result));
    // Kept unless the engine was missing: once installed, it is run.
    bool missing = false;
    for (const assess::NearFieldInstallation& n : result->installations) {
      missing = missing || n.status == nf::Status::EngineMissing;
    }
    if (!missing) {
      kept_.emplace_front(run->key, result);
      if (kept_.size() > kKept) kept_.pop_back();
    }
    if (run->key == wanted_) {
      current_ = result;
      emit computed();
    }
  }
  if (next_) {
    auto [key, station] = std::move(*next_);
    next_.reset();
    if (key == wanted_) Start(std::move(key), std::move(station));
  }
}

QString FarFieldOnlyNote(const assess::StationNearField& result) {
  QStringList why;
  for (const assess::NearFieldInstallation& n : result.installations) {
    if (n.status == nf::Status::Done) continue;
    why << QObject::tr(
               "The sums take the far-field estimate of \"%1\": its near field was not "
               "computed: %2.")
               .arg(QString::fromStdString(n.installation), QString::fromStdString(n.message));
  }
  return why.join(' ');
}

}  // namespace korrin
