// The real window on the offscreen platform: one click on a band's radio
// button until every widget shows the new station (the window mirrors the
// control board before the click returns), and the same click followed by
// the event processing that paints the changed widgets; both again with the
// assessment window open, whose table and plot follow the same click.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QChartView>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QRadioButton>
#include <QWindow>
#include <cstdio>
#include <vector>

#include "ui/TForm1.h"
#include "ui/qt/assessment/AssessmentPlot.h"
#include "ui/qt/assessment/AssessmentWindow.h"
#include "ui/qt/calculator/MainWindow.h"
#include "ui/qt/calculator/QtPlatform.h"

namespace {

// The calculator as the program starts it, with its window shown.
struct Desk {
  korrin::QtPlatform platform;
  korrin::TForm1 form{platform};
  korrin::MainWindow window{form};
  Desk() { platform.SetWindow(&window); }
};

Desk* desk = nullptr;  // made in main, after the application

// Shows the window (its first activation runs the start-up) and waits, up
// to five seconds, until the platform has it on its screen.
bool Open(Desk& d) {
  d.window.show();
  d.window.activateWindow();
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 5000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (d.window.windowHandle() != nullptr && d.window.windowHandle()->isExposed()) return true;
  }
  return false;
}

QRadioButton* BandButton(int item) {
  return desk->window.findChild<QRadioButton*>(QStringLiteral("RadioGroup1_%1").arg(item));
}

QString Shown(const char* control) {
  auto* label = qobject_cast<QLabel*>(desk->window.ControlWidget(control));
  return label ? label->text() : QString();
}

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

// 432 MHz and 1296 MHz in turn.
constexpr int kBands[2] = {3, 5};
const char* const kShown[2] = {"432 MHz", "1296 MHz"};

// Clicks both bands once and checks that the frequency display followed
// each click by the time the click returned.
bool ClicksReachTheWidgets(benchmark::State& state, QRadioButton* const (&buttons)[2]) {
  if (buttons[0] == nullptr || buttons[1] == nullptr) {
    state.SkipWithError("the band buttons are missing");
    return false;
  }
  for (int k : {1, 0}) {
    buttons[k]->click();
    if (Shown("Panel32") != QString::fromUtf8(kShown[k]) ||
        desk->form.Board().at("RadioGroup1").itemIndex != kBands[k]) {
      state.SkipWithError("a band click does not reach the frequency display");
      return false;
    }
  }
  return true;
}

void BM_WindowBandClick(benchmark::State& state) {
  QRadioButton* const buttons[2] = {BandButton(kBands[0]), BandButton(kBands[1])};
  if (!ClicksReachTheWidgets(state, buttons)) return;
  int k = 0;
  for (auto _ : state) {
    k ^= 1;
    buttons[k]->click();
  }
  // The repaints the clicks asked for, outside the timing.
  QCoreApplication::processEvents();
}
BENCHMARK(BM_WindowBandClick)->Unit(benchmark::kMicrosecond);

void BM_WindowBandClickAndPaint(benchmark::State& state) {
  QRadioButton* const buttons[2] = {BandButton(kBands[0]), BandButton(kBands[1])};
  if (!ClicksReachTheWidgets(state, buttons)) return;
  QCoreApplication::processEvents();
  {
    PaintCounter paints(desk->window.ControlWidget("Panel32"));
    buttons[1]->click();
    QCoreApplication::processEvents();
    buttons[0]->click();
    QCoreApplication::processEvents();
    if (paints.Count() < 2) {
      state.SkipWithError("the changed frequency display is not painted by the event loop");
      return;
    }
  }
  int k = 0;
  for (auto _ : state) {
    k ^= 1;
    buttons[k]->click();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_WindowBandClickAndPaint)->Unit(benchmark::kMicrosecond);

// The assessment window, open beside the main window; nullptr when it did
// not open.
korrin::AssessmentWindow* OpenAssessment(benchmark::State& state) {
  desk->window.ShowAssessment();
  korrin::AssessmentWindow* w = desk->window.Assessment();
  if (w == nullptr || !w->isVisible()) {
    state.SkipWithError("the assessment window does not open");
    return nullptr;
  }
  QCoreApplication::processEvents();
  return w;
}

// Both bands once: the plot's title names the band by the time the click
// returns.
bool ClicksReachThePlot(benchmark::State& state, korrin::AssessmentWindow* w,
                        QRadioButton* const (&buttons)[2]) {
  for (int k : {1, 0}) {
    buttons[k]->click();
    if (!w->Chart()->Title().contains(QString::fromUtf8(kShown[k]))) {
      state.SkipWithError("a band click does not reach the assessment's plot");
      return false;
    }
  }
  return true;
}

void BM_WindowBandClickWithAssessment(benchmark::State& state) {
  QRadioButton* const buttons[2] = {BandButton(kBands[0]), BandButton(kBands[1])};
  if (!ClicksReachTheWidgets(state, buttons)) return;
  korrin::AssessmentWindow* w = OpenAssessment(state);
  if (w == nullptr || !ClicksReachThePlot(state, w, buttons)) return;
  int k = 0;
  for (auto _ : state) {
    k ^= 1;
    buttons[k]->click();
  }
  QCoreApplication::processEvents();
  w->close();
}
BENCHMARK(BM_WindowBandClickWithAssessment)->Unit(benchmark::kMicrosecond);

void BM_WindowBandClickAndPaintWithAssessment(benchmark::State& state) {
  QRadioButton* const buttons[2] = {BandButton(kBands[0]), BandButton(kBands[1])};
  if (!ClicksReachTheWidgets(state, buttons)) return;
  korrin::AssessmentWindow* w = OpenAssessment(state);
  if (w == nullptr || !ClicksReachThePlot(state, w, buttons)) return;
  {
    // The plot is repainted by the event loop after a click.
    auto* view = w->findChild<QChartView*>("AssessmentPlot");
    if (view == nullptr) {
      state.SkipWithError("the assessment window has no plot");
      return;
    }
    PaintCounter paints(view->viewport());
    buttons[1]->click();
    QCoreApplication::processEvents();
    if (paints.Count() < 1) {
      state.SkipWithError("the plot is not repainted by the event loop");
      return;
    }
  }
  int k = 0;
  for (auto _ : state) {
    k ^= 1;
    buttons[k]->click();
    QCoreApplication::processEvents();
  }
  w->close();
}
BENCHMARK(BM_WindowBandClickAndPaintWithAssessment)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);  // takes the toolkit's own options out of argv
  QApplication::setStyle("Fusion");

  // The benchmark library rearranges the arguments it reads; it works on a
  // copy so the application's own stay as they were.
  std::vector<char*> args(argv, argv + argc);
  args.push_back(nullptr);
  int count = argc;
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

  Desk d;
  desk = &d;
  if (!Open(d) || Shown("Panel16") != QStringLiteral("1500 Watts")) {
    std::fprintf(stderr, "korrin_window_bench: the window did not open on the start-up station\n");
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  desk = nullptr;
  return 0;
}
