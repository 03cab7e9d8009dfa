// The station window on the offscreen platform with a station of 40
// installations open: one value typed into a cell (the power of a
// transmitter that drives 18 of them) until the evaluation, the results
// tables, the verdict and the site plan show the new station, and the same
// edit followed by the event processing that repaints them.  An edit should
// update every view within one frame (16.7 ms at 60 Hz).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QWindow>
#include <cstdio>
#include <vector>

#include "ui/qt/station/EntryTableModel.h"
#include "ui/qt/station/ResultsPanel.h"
#include "ui/qt/station/StationDocument.h"
#include "ui/qt/station/StationWindow.h"

namespace {

korrin::StationWindow* window = nullptr;  // made in main, after the application

// Counts the paint events of one widget.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) : widget_(widget) { widget_->installEventFilter(this); }
  ~PaintCounter() override { widget_->removeEventFilter(this); }
  PaintCounter(const PaintCounter&) = delete;
  PaintCounter& operator=(const PaintCounter&) = delete;
  int Count() const { return count_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == widget_ && event->type() == QEvent::Paint) ++count_;
    return false;
  }

 private:
  QWidget* widget_;
  int count_ = 0;
};

const char* const kPowers[2] = {"100", "110"};  // the file's, and another
int shown = 0;                                  // the power the station has now

// Types the other power into the first transmitter's cell, as its editor
// does.
bool Toggle() {
  auto* model = window->Model(korrin::stationui::Table::Transmitters);
  if (!model->setData(model->index(0, 1), QString::fromLatin1(kPowers[shown ^ 1]), Qt::EditRole)) {
    return false;
  }
  shown ^= 1;
  return true;
}

// The results per installation, as shown.
std::vector<std::vector<std::string>> ShownResults() {
  return window->Results()->Table(korrin::ResultsPanel::kInstallations)->Shown().rows;
}

// Both powers once: the results show each by the time the edit returns.
bool EditsReachTheResults(benchmark::State& state) {
  auto before = ShownResults();
  for (int k = 0; k < 2; ++k) {
    if (!Toggle() || ShownResults() == before) {
      state.SkipWithError("an edit does not reach the results");
      return false;
    }
    before = ShownResults();
  }
  return true;
}

void BM_StationWindowEdit(benchmark::State& state) {
  if (!EditsReachTheResults(state)) return;
  for (auto _ : state) Toggle();
  QCoreApplication::processEvents();
  state.counters["installations"] =
      static_cast<double>(window->Document().Station().installations.size());
}
BENCHMARK(BM_StationWindowEdit)->Unit(benchmark::kMillisecond);

void BM_StationWindowEditAndPaint(benchmark::State& state) {
  if (!EditsReachTheResults(state)) return;
  QCoreApplication::processEvents();
  {
    PaintCounter paints(window->Results()->Plan());
    Toggle();
    QCoreApplication::processEvents();
    if (paints.Count() < 1) {
      state.SkipWithError("the site plan is not repainted by the event loop");
      return;
    }
  }
  for (auto _ : state) {
    Toggle();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_StationWindowEditAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  std::vector<char*> args(argv, argv + argc);
  args.push_back(nullptr);
  int count = argc;
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

  window = new korrin::StationWindow();
  window->messageAnswer = [](const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  };
  if (!window->OpenFile(
          QStringLiteral(KORRIN_SOURCE_DIR "/tests/data/station/forty.station.toml")) ||
      window->Document().Station().installations.size() != 40) {
    std::fprintf(stderr, "korrin_station_window_bench: the 40-installation station did not open\n");
    return 1;
  }
  window->show();
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 5000 &&
         (window->windowHandle() == nullptr || !window->windowHandle()->isExposed())) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  window->Document().UndoStack().clear();
  window->Document().MarkSaved(window->Document().Path());
  delete window;
  return 0;
}
