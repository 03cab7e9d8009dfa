#include "ui/qt/station/NearFieldPanel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <stop_token>

#include "nearfield/Cache.h"
#include "ui/qt/nearfield/InstallationMap.h"

namespace korrin {

namespace nf = korrin::nearfield;

namespace {

// Near fields kept per window: each holds its grids, a few megabytes.
constexpr std::size_t kKept = 6;

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// The limit set and tier of an entry of the limits' list.
int ChoiceOf(assess::LimitSetChoice set, assess::Tier tier) {
  return static_cast<int>(set) * 2 + (tier == assess::Tier::General ? 0 : 1);
}

}  // namespace

// A run of the engine on its own thread; the thread writes `result` and
// `progress`, the window reads them after the thread has ended (and the
// progress while it runs).
struct NearFieldPanel::Running {
  assess::NearFieldJob job;
  std::stop_source stop;
  std::atomic<double> progress{-1};  // below 0 until the field run reports
  nf::Evaluation result;
};

NearFieldMapView::NearFieldMapView(QWidget* parent) : QWidget(parent) {
  setObjectName("nearFieldMap");
  setAccessibleName(tr("Near-field maps"));
  setMinimumSize(320, 200);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void NearFieldMapView::Show(std::optional<nf::NearFieldMap> map, NearFieldMapStyle style) {
  map_ = std::move(map);
  style_ = std::move(style);
  update();
}

QSize NearFieldMapView::sizeHint() const {
  return {700, 430};
}

void NearFieldMapView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  if (map_) PaintNearFieldMap(painter, QRectF(rect()), *map_, style_);
}

NearFieldPanel::NearFieldPanel(QWidget* parent) : QWidget(parent) {
  options_.cacheFolder = nf::DefaultCacheFolder();
  setObjectName("nearField");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  status_ = new QLabel(this);
  status_->setObjectName("nearFieldStatus");
  status_->setWordWrap(true);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* row = new QHBoxLayout();
  auto* under = new QLabel(tr("&Maps under:"), this);
  limits_ = new QComboBox(this);
  limits_->setObjectName("nearFieldLimits");
  limits_->setAccessibleName(tr("Limits of the maps"));
  limits_->setToolTip(tr("The limit set and tier the maps show the exposure under"));
  limits_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  under->setBuddy(limits_);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("nearFieldProgress");
  progress_->setAccessibleName(tr("Near field computed"));
  progress_->setMaximumWidth(200);
  progress_->hide();
  row->addWidget(under);
  row->addWidget(limits_);
  row->addStretch(1);
  row->addWidget(progress_);
  figures_ = new QLabel(this);
  figures_->setObjectName("nearFieldFigures");
  figures_->setWordWrap(true);
  figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  map_ = new NearFieldMapView(this);
  layout->addWidget(status_);
  layout->addLayout(row);
  layout->addWidget(figures_);
  layout->addWidget(map_, 1);
  timer_ = new QTimer(this);
  timer_->setInterval(100);
  connect(timer_, &QTimer::timeout, this, [this] {
    if (!running_) return;
    const double p = running_->progress.load();
    if (p < 0) {
      progress_->setRange(0, 0);
    } else {
      progress_->setRange(0, 100);
      progress_->setValue(static_cast<int>(p * 100));
    }
  });
  connect(limits_, &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
  ShowMessage(tr("Choose an installation with a wire antenna to see its near field."));
}

NearFieldPanel::~NearFieldPanel() {
  next_.reset();
  if (running_) running_->stop.request_stop();
  if (thread_) {
    thread_->wait();
    delete thread_;
  }
}

void NearFieldPanel::Update(const station::Station& station,
                            const assess::StationEvaluation& evaluation) {
  station_ = station;
  evaluation_ = evaluation;
  FillLimits();
  Refresh();
}

void NearFieldPanel::Clear(const QString& why) {
  station_.reset();
  evaluation_.reset();
  wanted_.clear();
  Stop();
  ShowMessage(why);
}

void NearFieldPanel::Choose(const QString& installation) {
  if (installation == chosen_) return;
  chosen_ = installation;
  Refresh();
}

void NearFieldPanel::SetFeet(bool feet) {
  if (feet == feet_) return;
  feet_ = feet;
  if (shown_) ShowResult(shown_);
}

void NearFieldPanel::SetFolder(const QString& folder) {
  options_.folder = folder.toStdString();
}

QString NearFieldPanel::Status() const {
  return status_->text();
}

QString NearFieldPanel::Figures() const {
  return figures_->text();
}

void NearFieldPanel::FillLimits() {
  const int was = limits_->currentData().isValid() ? limits_->currentData().toInt() : -1;
  QList<int> choices;
  for (const assess::LimitSetChoice set : station_->limitSets) {
    for (const assess::Tier tier : {assess::Tier::General, assess::Tier::Occupational}) {
      choices << ChoiceOf(set, tier);
    }
  }
  QList<int> listed;
  for (int i = 0; i < limits_->count(); ++i) listed << limits_->itemData(i).toInt();
  if (listed == choices) return;
  const QSignalBlocker quiet(limits_);
  limits_->clear();
  for (const assess::LimitSetChoice set : station_->limitSets) {
    for (const assess::Tier tier : {assess::Tier::General, assess::Tier::Occupational}) {
      limits_->addItem(Q(assess::CriterionName(set, tier, assess::Criterion::TimeAveraged)),
                       ChoiceOf(set, tier));
    }
  }
  const int at = limits_->findData(was);
  limits_->setCurrentIndex(at >= 0 ? at : 0);
}

void NearFieldPanel::Refresh() {
  if (!station_ || !evaluation_) return;
  if (chosen_.isEmpty()) {
    wanted_.clear();
    Stop();
    ShowMessage(tr("Choose an installation with a wire antenna to see its near field."));
    return;
  }
  std::optional<assess::NearFieldJob> job =
      assess::PrepareNearField(*station_, *evaluation_, chosen_.toStdString(), options_);
  if (!job) {
    wanted_.clear();
    Stop();
    ShowMessage(tr("Installation \"%1\" has no wire antenna: its near field is not modelled. "
                   "Choose one of kind \"wires\", \"dipole\", \"inverted-v\", \"vertical\" or "
                   "\"ground-plane\".")
                    .arg(chosen_));
    return;
  }
  if (!job->request) {
    wanted_.clear();
    Stop();
    ShowMessage(tr("The near field of \"%1\" cannot be computed: %2")
                    .arg(chosen_, Q(job->installation.message)));
    return;
  }
  if (job->key == wanted_ && (shown_ || running_ || next_)) return;  // shown, or on its way
  wanted_ = job->key;
  for (auto it = kept_.begin(); it != kept_.end(); ++it) {
    if (it->first != wanted_) continue;
    kept_.splice(kept_.begin(), kept_, it);
    ShowResult(kept_.front().second);
    emit computed();
    return;
  }
  if (running_ && running_->job.key == wanted_) return;
  shown_.reset();
  if (running_) {
    // One run at a time: the next starts when this one has stopped.
    running_->stop.request_stop();
    next_ = std::move(*job);
    return;
  }
  Start(std::move(*job));
}

void NearFieldPanel::Start(assess::NearFieldJob job) {
  auto run = std::make_shared<Running>();
  run->job = std::move(job);
  running_ = run;
  ++computations_;
  ShowMessage(tr("Computing the near field of \"%1\" with %2…")
                  .arg(Q(run->job.installation.installation), Q(options_.run.program)));
  progress_->setRange(0, 0);
  progress_->show();
  timer_->start();
  thread_ = QThread::create([run] {
    nf::Request q = *run->job.request;
    q.run.stop = run->stop.get_token();
    q.run.progress = [run](double p) { run->progress.store(p); };
    run->result = nf::Evaluate(q);
  });
  QThread* thread = thread_;
  connect(thread, &QThread::finished, this, [this, run, thread] {
    thread->deleteLater();
    Finished(run);
  });
  thread->start(QThread::LowPriority);
}

void NearFieldPanel::Finished(const std::shared_ptr<Running>& run) {
  if (running_ == run) running_.reset();
  timer_->stop();
  progress_->hide();
  const bool stopped = run->stop.stop_requested();
  if (!stopped) {
    auto result = std::make_shared<const assess::NearFieldInstallation>(
        assess::FinishNearField(run->job, std::move(run->result)));
    // Kept unless the engine was missing: once installed, it is run.
    if (result->status != nf::Status::EngineMissing) {
      kept_.emplace_front(run->job.key, result);
      if (kept_.size() > kKept) kept_.pop_back();
    }
    if (run->job.key == wanted_) {
      ShowResult(result);
      emit computed();
    }
  }
  if (next_) {
    assess::NearFieldJob job = std::move(*next_);
    next_.reset();
    if (job.key == wanted_) Start(std::move(job));
  }
}

void NearFieldPanel::Stop() {
  next_.reset();
  if (running_) running_->stop.request_stop();
}

void NearFieldPanel::ShowMessage(const QString& text) {
  shown_.reset();
  status_->setText(text);
  figures_->clear();
  figures_->hide();
  map_->Show(std::nullopt, {});
}

void NearFieldPanel::ShowResult(std::shared_ptr<const assess::NearFieldInstallation> result) {
  if (result->status != nf::Status::Done) {
    ShowMessage(tr("The near field of \"%1\" was not computed: %2")
                    .arg(Q(result->installation), Q(result->message)));
    return;
  }
  shown_ = std::move(result);
  const assess::NearFieldInstallation& n = *shown_;
  const nf::Solution& s = *n.solution;
  status_->setText(tr("Near field of \"%1\" (antenna \"%2\", %3 MHz): %4, %5 segments, grid %6 m")
                       .arg(Q(n.installation), Q(n.antenna))
                       .arg(static_cast<double>(n.frequencyMHz), 0, 'f', 3)
                       .arg(Q(s.engine))
                       .arg(s.segments)
                       .arg(static_cast<double>(s.stepM), 0, 'f', 2));
  QStringList lines;
  for (const nf::CaseResult& r : n.results) {
    const QString name = Q(assess::CriterionName(assess::SetOf(r), assess::TierOf(r),
                                                 assess::Criterion::TimeAveraged));
    if (!r.applies) {
      lines << tr("%1: no field limits at this frequency").arg(name);
      continue;
    }
    lines << tr("%1: field keep-out at head height %2, over the whole body %3 (%4)")
                 .arg(name, KeepOutWords(r.headKeepOut, feet_),
                      KeepOutWords(r.wholeBodyKeepOut, feet_),
                      QString::fromLatin1(assess::GovernsPhrase(r)));
  }
  bool over = false;
  for (const assess::NearFieldPlace& p : n.places) {
    QStringList at;
    for (std::size_t k = 0; k < p.exposure.size() && k < n.results.size(); ++k) {
      at << QString::number(static_cast<double>(p.exposure[k]), 'g', 3);
      over = over || p.exposure[k] > 1;
    }
    lines << tr("At \"%1\": %2 of the limit (in the order above)").arg(Q(p.name), at.join(", "));
  }
  if (over) {
    lines << tr(
        "Over the limit at a place by this installation's near field alone. The window's "
        "sums, the evaluation record and korrin-report --near-field take the near field.");
  }
  for (const std::string& note : n.notes) lines << tr("Note: %1").arg(Q(note));
  figures_->setText(lines.join('\n'));
  figures_->show();
  Redraw();
}

void NearFieldPanel::Redraw() {
  if (!shown_) return;
  const int choice = limits_->currentData().isValid() ? limits_->currentData().toInt() : 0;
  const nf::CaseResult* result = nullptr;
  for (const nf::CaseResult& r : shown_->results) {
    if (ChoiceOf(assess::SetOf(r), assess::TierOf(r)) == choice) result = &r;
  }
  if (result == nullptr && !shown_->results.empty()) result = &shown_->results.front();
  if (result == nullptr || !result->applies) {
    map_->Show(std::nullopt, {});
    return;
  }
  // The status line names the installation: the title names the limits.
  NearFieldMapStyle style = InstallationMapStyle(*shown_, *result, feet_);
  style.title = Q(assess::CriterionName(assess::SetOf(*result), assess::TierOf(*result),
                                        assess::Criterion::TimeAveraged)) +
                (result->head.empty()
                     ? QString()
                     : tr(", %1 W averaged")
                           .arg(static_cast<double>(result->head.front().powerW), 0, 'f', 0));
  map_->Show(InstallationMap(*shown_, *result), style);
}

}  // namespace korrin
