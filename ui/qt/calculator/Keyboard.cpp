#include "ui/qt/calculator/Keyboard.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <set>
#include <tuple>

#include "ui/Controls.h"
#include "ui/Handlers.h"
#include "ui/qt/calculator/Accessible.h"
#include "ui/qt/calculator/Layout.h"
#include "ui/qt/calculator/Widgets.h"

namespace korrin {

namespace {

size_t TableIndex(std::string_view name) {
  const auto& table = MainWindowControls();
  for (size_t i = 0; i < table.size(); ++i) {
    if (table[i].name == name) return i;
  }
  return table.size();
}

const std::string& Root() {
  static const std::string root = MainWindowControls().front().name;
  return root;
}

bool IsContainer(std::string_view name) {
  return std::any_of(MainWindowControls().begin(), MainWindowControls().end(),
                     [name](const ControlDecl& c) { return c.parent == name; });
}

bool IsClickablePanel(const ControlDecl& c) {
  return c.kind == ControlKind::Panel && !IsContainer(c.name) &&
         FindHandler(c.name, ControlEvent::Click) != nullptr;
}

bool IsStop(const ControlDecl& c) {
  switch (c.kind) {
    case ControlKind::RadioGroup:
    case ControlKind::SpinButton:
    case ControlKind::TrackBar:
    case ControlKind::Button:
      return true;
    case ControlKind::Panel:
      return IsClickablePanel(c);
    case ControlKind::Label:
    case ControlKind::StaticText:
    case ControlKind::ProgressBar:
    case ControlKind::Memo:
      return false;
  }
  return false;
}

// A result display: a text the window writes, that takes no input (a
// panel in the small caption type is a caption).
bool IsDisplay(const ControlDecl& c) {
  if (c.kind == ControlKind::StaticText) return true;
  const Placement* p = FindPlacement(c.name);
  const bool caption = p != nullptr && (p->look & kSmall);
  return c.kind == ControlKind::Panel && !IsContainer(c.name) && !IsClickablePanel(c) && !caption;
}

// The control on the client panel that holds `name` (itself when loose).
std::string TopLevel(std::string_view name) {
  std::string at(name);
  for (const ControlDecl* c = FindControl(at);
       c != nullptr && !c->parent.empty() && c->parent != Root(); c = FindControl(at)) {
    at = c->parent;
  }
  return at;
}

// The group a stop is read with.
std::string GroupOf(const ControlDecl& stop) {
  std::string top = TopLevel(stop.name);
  if (top != stop.name) return top;
  const QRect r = ClientRect(stop.name);
  // A control lying on a group belongs to it (the disclaimer lies over
  // everything only while it is shown).
  for (const ControlDecl& c : MainWindowControls()) {
    const bool group = IsContainer(c.name) || c.kind == ControlKind::RadioGroup;
    if (c.parent != Root() || c.name == stop.name || !group) continue;
    if (ClientRect(c.name).contains(r)) return c.name;
  }
  // A square selector belongs to the group just right of it.
  if (stop.kind == ControlKind::Panel) {
    constexpr int kSelectorGap = 10;  // pixels between a selector and its group
    std::string best;
    int bestGap = kSelectorGap + 1;
    for (const ControlDecl& c : MainWindowControls()) {
      if (c.parent != Root() || !IsContainer(c.name)) continue;
      const QRect g = ClientRect(c.name);
      const int gap = g.left() - (r.right() + 1);
      const bool beside = g.top() <= r.top() && g.bottom() >= r.bottom();
      if (beside && gap >= 0 && gap < bestGap) {
        best = c.name;
        bestGap = gap;
      }
    }
    if (!best.empty()) return best;
  }
  return stop.name;
}

std::string Trimmed(const std::string& text) {
  std::string out;
  bool space = false;
  for (char ch : text) {
    if (ch == ' ' || ch == '\n' || ch == '\t') {
      space = !out.empty();
      continue;
    }
    if (space) out += ' ';
    space = false;
    out += ch;
  }
  return out;
}

// Names the geometry cannot find: displays without a caption of their
// own, displays whose nearest caption belongs to a neighbour, and arrows
// that step a choice rather than the number beside them.
const std::map<std::string, std::string, std::less<>>& CaptionOverrides() {
  static const std::map<std::string, std::string, std::less<>> overrides = {
      {"Panel9", "Radiation limit"},
      {"Panel64", "On axis exclusion zone"},
      {"Panel63", "On axis exclusion zone, second range"},
      {"Panel65", "LNA loss noise temperature"},
      {"Panel54", "LNA noise temperature"},
      {"Panel76", "Receiver noise temperature"},
      {"Panel74", "System noise temperature"},
      {"Panel71", "Spillover in dB"},
      {"Panel72", "Feed-through in dB"},
      {"Panel35", "Mesh attenuation"},
      {"Panel40", "E-plane beam width"},
      {"Panel43", "H-plane beam width"},
      {"Panel81", "Low-gain antenna gain"},
      {"Panel73", "Low-gain antenna gain"},
      {"VerticalS", "Vertical length"},
      {"BeamS", "Beam band"},
      {"VaryGain", "Variable antenna gain"},
      {"TrackBar1", "Tower height"},
  };
  return overrides;
}

// The display whose text a stop's name carries besides its caption.
std::string ShownValueOf(const ControlDecl& c) {
  if (c.kind == ControlKind::SpinButton) {
    if (c.name == "VaryGain") return "Panel81";
    return SteppedValue(c.name);
  }
  if (c.kind == ControlKind::TrackBar) return "StaticText2";
  return "";
}

struct Caption {
  std::string text;
  QRect rect;
};

// The captions inside `parent`: its labels and the view's own captions.
std::vector<Caption> CaptionsIn(const std::string& parent) {
  std::vector<Caption> out;
  for (const ControlDecl& c : MainWindowControls()) {
    if (c.parent != parent || c.kind != ControlKind::Label) continue;
    const Placement* p = FindPlacement(c.name);
    if (p && !Trimmed(c.caption).empty()) out.push_back({Trimmed(c.caption), p->rect});
  }
  for (const Decoration& d : Decorations()) {
    if (parent == d.parent && !Trimmed(d.text).empty()) out.push_back({Trimmed(d.text), d.rect});
  }
  return out;
}

int Overlap(const QRect& a, const QRect& b) {
  return std::min(a.right(), b.right()) - std::max(a.left(), b.left()) + 1;
}

}  // namespace

QRect ClientRect(std::string_view name) {
  QRect r;
  const Placement* own = FindPlacement(name);
  if (own == nullptr) return r;
  r = own->rect;
  const ControlDecl* c = FindControl(name);
  while (c != nullptr && !c->parent.empty() && c->parent != Root()) {
    const Placement* p = FindPlacement(c->parent);
    if (p == nullptr) break;
    r.translate(p->rect.topLeft());
    c = FindControl(c->parent);
  }
  return r;
}

std::vector<std::string> ReadingOrder() {
  const int middle = ClientRect(Root()).center().x();
  using Key = std::tuple<bool, int, int, int, int, size_t>;
  std::vector<std::pair<Key, std::string>> stops;
  for (const ControlDecl& c : MainWindowControls()) {
    if (!IsStop(c) || FindPlacement(c.name) == nullptr) continue;
    const QRect r = ClientRect(c.name);
    const QRect g = ClientRect(GroupOf(c));
    const bool rightSide = g.center().x() >= middle;
    stops.emplace_back(
        Key{rightSide, g.top(), g.left(), r.center().y(), r.left(), TableIndex(c.name)}, c.name);
  }
  std::sort(stops.begin(), stops.end());
  std::vector<std::string> out;
  out.reserve(stops.size());
  for (auto& s : stops) out.push_back(std::move(s.second));
  return out;
}

std::string SteppedValue(std::string_view spin) {
  const ControlDecl* s = FindControl(spin);
  const Placement* sp = FindPlacement(spin);
  if (s == nullptr || sp == nullptr) return "";
  constexpr int kMostGap = 2;  // pixels between a value and its arrows
  for (const ControlDecl& c : MainWindowControls()) {
    if (c.parent != s->parent || c.kind != ControlKind::Panel) continue;
    const Placement* p = FindPlacement(c.name);
    if (p == nullptr) continue;
    const int gap = sp->rect.left() - (p->rect.right() + 1);
    if (gap >= 0 && gap <= kMostGap && p->rect.top() == sp->rect.top() &&
        p->rect.height() == sp->rect.height()) {
      return c.name;
    }
  }
  return "";
}

std::string CaptionOf(std::string_view name) {
  if (auto it = CaptionOverrides().find(name); it != CaptionOverrides().end()) return it->second;
  const ControlDecl* c = FindControl(name);
  const Placement* place = FindPlacement(name);
  if (c == nullptr) return "";
  if (c->kind == ControlKind::SpinButton && !SteppedValue(name).empty()) {
    return CaptionOf(SteppedValue(name));
  }
  if (place != nullptr) {
    const QRect r = place->rect;
    // The nearest caption on its left on the same line, above it or just
    // below it (over at least half its width).
    constexpr int kSameLine = 4;  // pixels between the centres of one line
    constexpr int kMostLeft = 100;
    constexpr int kMostAbove = 20;
    constexpr int kMostBelow = 6;
    std::string best;
    int bestGap = kMostLeft + 1;
    const auto consider = [&best, &bestGap](const Caption& k, int gap, int most) {
      if (gap >= 0 && gap <= most && gap < bestGap) {
        best = k.text;
        bestGap = gap;
      }
    };
    for (const Caption& k : CaptionsIn(c->parent)) {
      if (std::abs(k.rect.center().y() - r.center().y()) <= kSameLine) {
        consider(k, r.left() - (k.rect.right() + 1), kMostLeft);
      }
      if (Overlap(k.rect, r) * 2 >= r.width()) {
        consider(k, r.top() - (k.rect.bottom() + 1), kMostAbove);
        consider(k, k.rect.top() - (r.bottom() + 1), kMostBelow);
      }
    }
    if (!best.empty()) return best;
  }
  return Trimmed(c->hint);
}

// ---- the window -------------------------------------------------------------------------

KeyboardAccess::KeyboardAccess(QWidget* client, WidgetOf widgetOf)
    : QObject(client), client_(client), widgetOf_(std::move(widgetOf)), order_(ReadingOrder()) {
  InstallCalculatorAccessibility();
  Install();
  NameControls();
}

void KeyboardAccess::Install() {
  std::vector<QWidget*> chain;
  for (const std::string& name : order_) {
    QWidget* w = widgetOf_(name);
    if (w == nullptr) continue;
    if (auto* group = qobject_cast<RadioGroupBox*>(w)) {
      for (int i = 0; i < group->Count(); ++i) chain.push_back(group->Item(i));
      continue;
    }
    // Panels and arrows take the focus from Tab only: a click leaves it
    // where it is, so that the mouse user sees no frame.
    if (!(w->focusPolicy() & Qt::TabFocus)) w->setFocusPolicy(Qt::TabFocus);
    policies_[w] = w->focusPolicy();
    chain.push_back(w);
  }
  for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);

  for (const ControlDecl& c : MainWindowControls()) {
    // Page Up and Page Down move a track bar ten steps, as they step a
    // value ten times; a click on its groove keeps moving it one.
    if (c.kind == ControlKind::TrackBar) {
      if (auto* bar = qobject_cast<QSlider*>(widgetOf_(c.name))) bar->installEventFilter(this);
      continue;
    }
    if (c.kind != ControlKind::SpinButton) continue;
    auto* spin = qobject_cast<SpinPair*>(widgetOf_(c.name));
    if (spin != nullptr) spin->SetValueDisplay(qobject_cast<QLabel*>(widgetOf_(ShownValueOf(c))));
    QWidget* value = widgetOf_(SteppedValue(c.name));
    if (spin == nullptr || value == nullptr) continue;
    value->installEventFilter(this);
    wheelTargets_[value] = spin;
  }
}

bool KeyboardAccess::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    auto* bar = qobject_cast<QSlider*>(watched);
    const bool page = key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown;
    if (bar != nullptr && page && key->modifiers() == Qt::NoModifier) {
      // The way Up and Down go, ten single steps.
      const bool up = key->key() == Qt::Key_PageUp;
      const auto step = up != bar->invertedControls() ? QAbstractSlider::SliderSingleStepAdd
                                                      : QAbstractSlider::SliderSingleStepSub;
      for (int i = 0; i < SpinPair::kPageSteps; ++i) bar->triggerAction(step);
      return true;
    }
  }
  if (event->type() == QEvent::Wheel) {
    if (auto it = wheelTargets_.find(watched); it != wheelTargets_.end()) {
      it->second->TakeWheel(static_cast<QWheelEvent*>(event));
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void KeyboardAccess::Refresh(const ControlBoard& board) {
  RefreshFocus(board);
  RefreshNames(board);
}

bool KeyboardAccess::Covered(QWidget* stop) const {
  QWidget* top = stop;
  while (top->parentWidget() != nullptr && top->parentWidget() != client_) {
    top = top->parentWidget();
  }
  const QRect r(stop->mapTo(client_, QPoint(0, 0)), stop->size());
  bool above = false;  // children later in the list are drawn over earlier ones
  for (QObject* o : client_->children()) {
    auto* w = qobject_cast<QWidget*>(o);
    if (w == nullptr) continue;
    if (w == top) {
      above = true;
      continue;
    }
    if (above && w->isVisibleTo(client_) && w->geometry().contains(r)) return true;
  }
  return false;
}

void KeyboardAccess::RefreshFocus(const ControlBoard& board) {
  for (const std::string& name : order_) {
    QWidget* w = widgetOf_(name);
    if (w == nullptr) continue;
    const bool covered = Covered(w);
    if (auto* group = qobject_cast<RadioGroupBox*>(w)) {
      // Tab enters a group on its selected item (the first when none is).
      const int entry = std::max(0, board.at(name).itemIndex);
      for (int i = 0; i < group->Count(); ++i) {
        const Qt::FocusPolicy p = covered      ? Qt::NoFocus
                                  : i == entry ? Qt::StrongFocus
                                               : Qt::ClickFocus;
        if (group->Item(i)->focusPolicy() != p) group->Item(i)->setFocusPolicy(p);
      }
      continue;
    }
    const auto it = policies_.find(w);
    if (it == policies_.end()) continue;
    const Qt::FocusPolicy p = covered ? Qt::NoFocus : it->second;
    if (w->focusPolicy() != p) w->setFocusPolicy(p);
  }
}

void KeyboardAccess::NameControls() {
  // Captions, hints and which display a control's value is shown in never
  // change: only what the displays show does.
  for (const ControlDecl& c : MainWindowControls()) {
    QWidget* w = widgetOf_(c.name);
    if (w == nullptr) continue;
    Named n;
    n.control = c.name;
    n.widget = w;
    n.description = Trimmed(c.hint);
    if (IsClickablePanel(c)) {
      n.role = Named::Role::Toggle;
      n.caption = n.description;
    } else if (c.kind == ControlKind::SpinButton || c.kind == ControlKind::TrackBar) {
      n.role = Named::Role::Stepper;
      n.caption = CaptionOf(c.name);
      n.value = ShownValueOf(c);
      if (c.kind == ControlKind::SpinButton) {
        const ControlDecl* stepped = FindControl(n.value);
        n.description.clear();
        if (stepped != nullptr && !Trimmed(stepped->hint).empty()) {
          n.description = Trimmed(stepped->hint) + "; ";
        }
        n.description += "Up and Down arrow keys step it, Page Up and Page Down ten steps";
      }
    } else if (IsDisplay(c)) {
      n.role = Named::Role::Display;
      n.caption = CaptionOf(c.name);
      n.value = c.name;
    } else if ((c.kind == ControlKind::RadioGroup || c.kind == ControlKind::Button) &&
               !n.description.empty()) {
      n.role = Named::Role::Described;
    } else {
      continue;
    }
    named_.push_back(std::move(n));
  }
}

void KeyboardAccess::RefreshNames(const ControlBoard& board) {
  const auto text = [&board](const std::string& name) {
    return board.has(name) ? Trimmed(board.at(name).text) : std::string();
  };
  for (const Named& n : named_) {
    std::string name;
    switch (n.role) {
      case Named::Role::Toggle: {
        // A toggle or selector shows that it is on by its colour.
        name = text(n.control).empty() ? n.caption : text(n.control);
        if (board.has(n.control) && board.at(n.control).color != Colour::ButtonFace) {
          name += ", on";
        }
        break;
      }
      case Named::Role::Stepper:
      case Named::Role::Display: {
        name = n.caption;
        const std::string shown = n.value.empty() ? std::string() : text(n.value);
        if (!shown.empty() && shown != n.caption) name += (name.empty() ? "" : ", ") + shown;
        break;
      }
      case Named::Role::Described:
        break;
    }
    if (n.role != Named::Role::Described) {
      const QString q = QString::fromStdString(name);
      if (n.widget->accessibleName() != q) n.widget->setAccessibleName(q);
    }
    const QString d = QString::fromStdString(n.description);
    if (n.widget->accessibleDescription() != d) n.widget->setAccessibleDescription(d);
  }
}

}  // namespace korrin
