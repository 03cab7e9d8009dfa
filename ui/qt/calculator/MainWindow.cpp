#include "ui/qt/calculator/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QShowEvent>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QToolButton>
#include <set>

#include "ui/Controls.h"
#include "ui/SteppedValues.h"
#include "ui/TForm1.h"
#include "ui/qt/Icons.h"
#include "ui/qt/assessment/AssessmentWindow.h"
#include "ui/qt/calculator/Keyboard.h"
#include "ui/qt/calculator/Layout.h"
#include "ui/qt/calculator/MenuBar.h"
#include "ui/qt/calculator/Style.h"
#include "ui/qt/calculator/Widgets.h"
#include "ui/qt/moon/MoonWindow.h"

namespace korrin {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// The only control whose top edge the window logic moves.
bool MovesVertically(std::string_view name) {
  return name == "Panel64";
}

void SetFrame(QFrame* f, unsigned look) {
  if (look & kRaised) {
    f->setFrameStyle(QFrame::Panel | QFrame::Raised);
  } else if (look & kFlat) {
    f->setFrameStyle(QFrame::NoFrame);
  } else {
    f->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  }
  f->setLineWidth(1);
}

Qt::Alignment TextAlignment(unsigned look) {
  Qt::Alignment h = Qt::AlignHCenter;
  if (look & kAlignLeft) h = Qt::AlignLeft;
  if (look & kAlignRight) h = Qt::AlignRight;
  return h | Qt::AlignVCenter;
}

QFont FontFor(unsigned look) {
  if (look & kBold) return WindowFont(FontRole::Bold);
  if (look & kSmall) return WindowFont(FontRole::Small);
  if (look & kLimitFont) return WindowFont(FontRole::Limit);
  return WindowFont(FontRole::Normal);
}

// The style the window is laid out for, shared by every window and kept
// until the application goes.
QStyle* WindowStyle() {
  static QPointer<QStyle> style;
  if (style.isNull()) {
    if (QStyle* fusion = QStyleFactory::create("Fusion")) style = new FocusMarkStyle(fusion);
    if (style) style->setParent(qApp);
  }
  return style.data();
}

// RAII flag against re-entry.
class Busy {
 public:
  explicit Busy(bool& flag) : flag_(flag) { flag_ = true; }
  ~Busy() { flag_ = false; }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  bool& flag_;
};

}  // namespace

MainWindow::MainWindow(TForm1& form, QWidget* parent) : QMainWindow(parent), form_(form) {
  setWindowTitle("Korrin");
  setWindowIcon(ProgramIcon());
  setPalette(WindowPalette());
  setFont(WindowFont());
  Build();

  scroll_ = new QScrollArea(this);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setWidgetResizable(false);
  // In a larger window the client panel stands in the middle.
  scroll_->setAlignment(Qt::AlignCenter);
  scroll_->setWidget(client_);
  scroll_->setFocusPolicy(Qt::NoFocus);  // Tab goes to the controls; it scrolls to them
  setCentralWidget(scroll_);
  InstallMenuBar(*this);
  // The client area is exactly the client panel, below the menu bar and
  // above the status line; a smaller window scrolls.
  resize(client_->width(),
         client_->height() + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());

  // The window is measured for one style; it keeps it whatever the
  // desktop's style is.
  if (QStyle* style = WindowStyle()) {
    setStyle(style);
    for (QWidget* w : findChildren<QWidget*>()) w->setStyle(style);
  }

  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &MainWindow::PressEscape);

  keyboard_ =
      new KeyboardAccess(client_, [this](std::string_view name) { return ControlWidget(name); });
  SyncFromBoard();
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::ClientPanel() {
  return client_;
}

QWidget* MainWindow::ControlWidget(std::string_view name) const {
  auto it = entries_.find(name);
  return it == entries_.end() ? nullptr : it->second.widget;
}

// ---- building ----------------------------------------------------------------------

void MainWindow::Build() {
  const auto& table = MainWindowControls();
  std::set<std::string, std::less<>> containers;
  for (const ControlDecl& s : table) {
    if (!s.parent.empty()) containers.insert(s.parent);
  }
  for (const ControlDecl& s : table) {
    QWidget* parent = nullptr;
    if (!s.parent.empty()) {
      auto it = entries_.find(s.parent);
      parent = it == entries_.end() ? client_ : it->second.widget;
    }
    const bool container = containers.count(s.name) > 0;
    QWidget* w = Create(s, parent, container);
    if (s.parent.empty() && client_ == nullptr) client_ = w;
    if (container) AddDecorations(s.name, w);
    Connect(s, w);
  }
}

QWidget* MainWindow::Create(const ControlDecl& def, QWidget* parent, bool container) {
  const Placement* place = FindPlacement(def.name);
  const unsigned look = place ? place->look : 0u;
  Entry e;
  e.kind = def.kind;
  e.container = container;
  QWidget* w = nullptr;

  switch (def.kind) {
    case ControlKind::Panel: {
      if (container) {
        auto* frame = new QFrame(parent);
        SetFrame(frame, look);
        frame->setAutoFillBackground(true);
        if (look & kTitle) {
          e.title = new QLabel(frame);
          e.title->setObjectName(Q(def.name + "Title"));
          e.title->setTextFormat(Qt::PlainText);
          e.title->setFont(WindowFont(FontRole::Bold));
          e.title->setGeometry(6, 2, 200, 15);
        }
        w = frame;
      } else {
        auto* box = new PanelBox(parent);
        SetFrame(box, look);
        box->setAlignment(TextAlignment(look));
        box->setFont(FontFor(look));
        box->SetClickable(FindHandler(def.name, ControlEvent::Click) != nullptr);
        w = box;
      }
      break;
    }
    case ControlKind::Label: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(TextAlignment(look));
      label->setFont(FontFor(look));
      w = label;
      break;
    }
    case ControlKind::StaticText: {
      auto* box = new PanelBox(parent);
      SetFrame(box, look);
      box->setFont(FontFor(look));
      w = box;
      break;
    }
    case ControlKind::Memo: {
      auto* memo = new PanelBox(parent);
      memo->setFrameStyle(QFrame::NoFrame);
      memo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      memo->setMargin(3);
      memo->setFont(WindowFont(FontRole::Memo));
      memo->SetClickable(true);
      memo->setCursor(Qt::ArrowCursor);
      w = memo;
      break;
    }
    case ControlKind::RadioGroup: {
      auto* group = new RadioGroupBox(parent, def.items, def.columns);
      for (int i = 0; i < group->Count(); ++i) {
        group->Item(i)->setObjectName(Q(def.name + "_" + std::to_string(i)));
      }
      w = group;
      break;
    }
    case ControlKind::SpinButton: {
      w = new SpinPair(parent);
      break;
    }
    case ControlKind::TrackBar: {
      auto* slider = new TopDownBar(parent);
      slider->setRange(def.minimum, def.maximum);
      slider->setSingleStep(1);
      slider->setPageStep(1);
      slider->setTickPosition(QSlider::TicksBothSides);
      slider->setTickInterval(1);
      w = slider;
      break;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(parent);
      bar->setRange(def.minimum, def.maximum);
      bar->setTextVisible(false);
      w = bar;
      break;
    }
    case ControlKind::Button: {
      if (def.name == "DefaultData") {
        auto* b = new QToolButton(parent);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setIcon(ButtonGlyph(def.name));
        b->setIconSize(QSize(20, 20));
        w = b;
      } else if (def.name == "SpeedButton1") {
        auto* b = new QToolButton(parent);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setFocusPolicy(Qt::NoFocus);
        w = b;
      } else {
        auto* b = new QPushButton(parent);
        b->setAutoDefault(false);
        const QIcon glyph = ButtonGlyph(def.name);
        if (!glyph.isNull()) {
          b->setIcon(glyph);
          b->setIconSize(QSize(16, 16));
        }
        w = b;
      }
      w->setFont(FontFor(look));
      break;
    }
  }

  w->setObjectName(Q(def.name));
  if (place) w->setGeometry(place->rect);
  if (def.showHint && !def.hint.empty()) w->setToolTip(Q(def.hint));
  e.widget = w;
  entries_[def.name] = e;
  return w;
}

void MainWindow::AddDecorations(const std::string& parent, QWidget* widget) {
  for (const Decoration& d : Decorations()) {
    if (parent != d.parent) continue;
    QLabel* label = nullptr;
    if (d.look & kTooltipBack) {
      auto* box = new PanelBox(widget);
      SetFrame(box, d.look);
      QPalette p = box->palette();
      p.setColor(QPalette::Window, ToQColor(Colour::TooltipBackground));
      box->setPalette(p);
      label = box;
    } else {
      label = new QLabel(widget);
      label->setTextFormat(Qt::PlainText);
    }
    label->setText(QString::fromUtf8(d.text));
    label->setAlignment(TextAlignment(d.look));
    label->setFont(FontFor(d.look));
    label->setGeometry(d.rect);
  }
}

void MainWindow::Connect(const ControlDecl& def, QWidget* w) {
  const std::string name = def.name;
  const HandlerEntry* click = FindHandler(name, ControlEvent::Click);
  switch (def.kind) {
    case ControlKind::Panel:
    case ControlKind::Memo:
      if (auto* box = qobject_cast<PanelBox*>(w); box && click) {
        connect(box, &PanelBox::clicked, this, [this, click] { Run(click); });
      }
      break;
    case ControlKind::RadioGroup:
      connect(static_cast<RadioGroupBox*>(w), &RadioGroupBox::itemClicked, this,
              [this, name, click](int index) {
                if (syncing_ || running_) return;
                form_.Board()[name].itemIndex = index;
                Run(click);
              });
      break;
    case ControlKind::SpinButton: {
      auto* spin = static_cast<SpinPair*>(w);
      const HandlerEntry* up = FindHandler(name, ControlEvent::Up);
      const HandlerEntry* down = FindHandler(name, ControlEvent::Down);
      connect(spin, &SpinPair::up, this, [this, up] { Run(up); });
      connect(spin, &SpinPair::down, this, [this, down] { Run(down); });
      spin->SetRange([this, name]() -> SpinPair::Range {
        const auto r = ShownStepRange(form_.State(), name);
        if (!r) return std::nullopt;
        return std::pair{static_cast<double>(r->minimum), static_cast<double>(r->maximum)};
      });
      break;
    }
    case ControlKind::TrackBar: {
      const HandlerEntry* change = FindHandler(name, ControlEvent::Change);
      connect(static_cast<QSlider*>(w), &QSlider::valueChanged, this,
              [this, name, change](int value) {
                if (syncing_ || running_) return;
                form_.Board()[name].position = value;
                Run(change);
              });
      break;
    }
    case ControlKind::Button:
      if (click) {
        connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, this,
                [this, click] { Run(click); });
      }
      break;
    case ControlKind::Label:
    case ControlKind::StaticText:
    case ControlKind::ProgressBar:
      break;
  }
}

// ---- running handlers ------------------------------------------------------------------

void MainWindow::Run(const HandlerEntry* handler) {
  if (handler == nullptr || running_ || syncing_) return;
  QWidget* focused = QApplication::focusWidget();
  const bool ours = focused != nullptr && client_->isAncestorOf(focused);
  const QRect place =
      ours ? QRect(focused->mapTo(client_, QPoint(0, 0)), focused->size()) : QRect();
  {
    Busy busy(running_);
    (form_.*(handler->run))();
  }
  SyncFromBoard();
  // A control that hid itself (the side switch) hands the focus to the one
  // that now stands in its place, rather than to the next in the chain.
  if (ours && !focused->isVisible()) {
    for (const auto& [name, e] : entries_) {
      QWidget* w = e.widget;
      if (w == focused || !w->isVisible() || !(w->focusPolicy() & Qt::TabFocus)) continue;
      if (QRect(w->mapTo(client_, QPoint(0, 0)), w->size()) == place) {
        w->setFocus(Qt::OtherFocusReason);
        break;
      }
    }
  }
}

bool MainWindow::RunHandler(std::string_view name) {
  const HandlerEntry* handler = FindHandler(name);
  if (handler == nullptr) return false;
  Run(handler);
  return true;
}

void MainWindow::ShowAssessment() {
  if (assessment_ == nullptr) assessment_ = new AssessmentWindow(*this);
  assessment_->show();
  assessment_->raise();
  assessment_->activateWindow();
}

void MainWindow::ShowMoon() {
  if (moon_ == nullptr) moon_ = new MoonWindow(*this);
  moon_->show();
  moon_->raise();
  moon_->activateWindow();
}

void MainWindow::Activate() {
  if (!activatesForm_ || running_ || syncing_) return;
  {
    Busy busy(running_);
    form_.FormActivate();
  }
  SyncFromBoard();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  Activate();
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) Activate();
  return QMainWindow::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Not while a handler runs (its dialog is open): the handler ends first.
  if (running_ || syncing_) {
    event->ignore();
    return;
  }
  bool mayClose = false;
  {
    Busy busy(running_);
    mayClose = form_.CloseQuery();
  }
  SyncFromBoard();
  if (mayClose) {
    event->accept();
  } else {
    event->ignore();
  }
}

void MainWindow::PressEscape() {
  // Escape closes what lies on top: the disclaimer while it is shown; the
  // data panel by its "&Cancel" while that is shown; else the window, by
  // the Close button.
  if (form_.Board().at("Memo2").visible) {
    RunHandler("Memo2Click");
    return;
  }
  const bool dataPanel = form_.Board().at("Panel83").visible;
  auto* button = qobject_cast<QAbstractButton*>(ControlWidget(dataPanel ? "BitBtn9" : "BitBtn1"));
  if (button) button->click();
}

// ---- mirroring the board ------------------------------------------------------------------

void MainWindow::SyncFromBoard() {
  if (syncing_) return;
  Busy busy(syncing_);
  const ControlBoard& board = form_.Board();
  for (const std::string& name : board.names()) {
    auto it = entries_.find(name);
    if (it == entries_.end()) continue;
    Apply(name, it->second, board.at(name));
  }
  // The Close button lies under the data panel while that is shown; its
  // accelerator must not compete with the panel's "&Cancel".
  if (QWidget* close = ControlWidget("BitBtn1")) close->setEnabled(!board.at("Panel83").visible);
  // The title names the station file; the desktop marks unsaved changes.
  setWindowTitle(Q(form_.WindowTitle()) + "[*]");
  setWindowModified(form_.Unsaved());
  if (keyboard_ != nullptr) keyboard_->Refresh(board);
  emit boardSynced();
}

void MainWindow::Apply(const std::string& name, Entry& e, const Control& c) {
  QWidget* w = e.widget;
  const bool all = !e.synced;

  if (all || c.text != e.shown.text) {
    const QString text = Q(c.text);
    switch (e.kind) {
      case ControlKind::Panel:
        if (e.container) {
          if (e.title) e.title->setText(text);
        } else {
          static_cast<QLabel*>(w)->setText(text);
        }
        break;
      case ControlKind::Label:
      case ControlKind::StaticText:
      case ControlKind::Memo:
        static_cast<QLabel*>(w)->setText(text);
        break;
      case ControlKind::RadioGroup:
        static_cast<QGroupBox*>(w)->setTitle(text);
        break;
      case ControlKind::Button:
        static_cast<QAbstractButton*>(w)->setText(text);
        break;
      case ControlKind::SpinButton:
      case ControlKind::TrackBar:
      case ControlKind::ProgressBar:
        break;
    }
  }

  if (all || c.color != e.shown.color || c.fontColor != e.shown.fontColor) ApplyColours(e, c);

  if (e.kind == ControlKind::RadioGroup && (all || c.itemIndex != e.shown.itemIndex)) {
    static_cast<RadioGroupBox*>(w)->SetItemIndex(c.itemIndex);
  }
  if (all || c.position != e.shown.position) {
    if (e.kind == ControlKind::TrackBar) static_cast<QSlider*>(w)->setValue(c.position);
    if (e.kind == ControlKind::ProgressBar) static_cast<QProgressBar*>(w)->setValue(c.position);
  }
  if (MovesVertically(name) && c.top > 0 && w->y() != c.top) w->move(w->x(), c.top);

  if (all || c.visible != e.shown.visible) w->setVisible(c.visible);
  if (e.kind == ControlKind::Memo && c.visible) w->raise();

  e.shown = c;
  e.synced = true;
}

void MainWindow::ApplyColours(Entry& e, const Control& c) {
  QWidget* w = e.widget;
  QPalette p = w->palette();
  const QColor back = ToQColor(c.color);
  const QColor text = ToQColor(c.fontColor);
  switch (e.kind) {
    case ControlKind::Button:
      p.setColor(QPalette::Button, back);
      p.setColor(QPalette::ButtonText, text);
      break;
    case ControlKind::Label:
      // Labels are drawn on their parent's colour.
      p.setColor(QPalette::WindowText, text);
      break;
    case ControlKind::SpinButton:
    case ControlKind::TrackBar:
    case ControlKind::ProgressBar:
      return;
    case ControlKind::Panel:
    case ControlKind::StaticText:
    case ControlKind::Memo:
    case ControlKind::RadioGroup:
      p.setColor(QPalette::Window, back);
      p.setColor(QPalette::WindowText, text);
      break;
  }
  w->setPalette(p);
}

}  // namespace korrin
