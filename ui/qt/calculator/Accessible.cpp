#include "ui/qt/calculator/Accessible.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QRegularExpression>
#include <cmath>

#include "ui/qt/calculator/Widgets.h"

namespace korrin {

namespace {

// The first number in a display's text ("2.9   W/M²", "-0,5 dB").
const QRegularExpression& ShownNumber() {
  static const QRegularExpression number(R"([-+]?\d+(?:[.,](\d+))?)");
  return number;
}

// How many decimals the first number in `text` has.
int DecimalsShown(const QString& text) {
  const QRegularExpressionMatch m = ShownNumber().match(text);
  return m.hasMatch() ? static_cast<int>(m.capturedLength(1)) : 0;
}

// A panel: a button while it acts on a click, else the text it shows.
class PanelAccessible : public QAccessibleWidget {
 public:
  explicit PanelAccessible(PanelBox* box) : QAccessibleWidget(box, QAccessible::StaticText) {}

  QAccessible::Role role() const override {
    return Box()->Clickable() ? QAccessible::Button : QAccessible::StaticText;
  }

  QString text(QAccessible::Text t) const override {
    QString out = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && out.isEmpty()) out = Box()->text();
    return out;
  }

  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (Box()->Clickable()) names.prepend(pressAction());
    return names;
  }

  void doAction(const QString& action) override {
    if (action == pressAction() && Box()->Clickable()) {
      emit Box()->clicked();
      return;
    }
    QAccessibleWidget::doAction(action);
  }

 private:
  PanelBox* Box() const { return static_cast<PanelBox*>(widget()); }
};

// A spin button with the value it steps.  The steps belong to the
// station's handlers, so the value is set by stepping; the range is the
// one the handlers clamp to, given to as many decimals as the value shows.
class SpinAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit SpinAccessible(SpinPair* spin) : QAccessibleWidget(spin, QAccessible::SpinBox) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return Shown();
    return QAccessibleWidget::text(t);
  }

  // A chooser that goes round a list ("3el 14 MHz") has its caption as its
  // text and no number: a digit in the caption is not its value.
  QVariant currentValue() const override {
    if (!Spin()->ValueRange()) return {};
    const auto v = NumberShown(Shown());
    return v ? QVariant(*v) : QVariant();
  }

  // Steps towards `value` until the shown value reaches or passes it, or
  // stops moving (a bound of the handler).
  void setCurrentValue(const QVariant& value) override {
    constexpr int kMostSteps = 1000;
    bool ok = false;
    const double target = value.toDouble(&ok);
    auto now = NumberShown(Shown());
    if (!ok || !now || !Spin()->ValueRange()) return;
    const bool upwards = target > *now;
    for (int i = 0; i < kMostSteps && *now != target && (target > *now) == upwards; ++i) {
      if (upwards) {
        emit Spin()->up();
      } else {
        emit Spin()->down();
      }
      const auto next = NumberShown(Shown());
      if (!next || *next == *now) break;
      now = next;
    }
  }

  QVariant maximumValue() const override {
    const auto r = Spin()->ValueRange();
    return r ? QVariant(AsShown(r->second)) : QVariant();
  }
  QVariant minimumValue() const override {
    const auto r = Spin()->ValueRange();
    return r ? QVariant(AsShown(r->first)) : QVariant();
  }
  QVariant minimumStepSize() const override { return {}; }

 private:
  SpinPair* Spin() const { return static_cast<SpinPair*>(widget()); }
  QString Shown() const {
    const QLabel* display = Spin()->ValueDisplay();
    return display == nullptr ? QString() : display->text().simplified();
  }
  // A bound rounded as the display rounds the value, so that the value
  // read at a bound equals it.  The open tops stay as they are.
  double AsShown(double bound) const {
    constexpr double kWidestRounded = 1e12;
    if (std::fabs(bound) > kWidestRounded) return bound;
    const double scale = std::pow(10.0, DecimalsShown(Shown()));
    return std::round(bound * scale) / scale;
  }
};

// The tower bar: its value is the height it shows, not its position.
class BarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit BarAccessible(TopDownBar* bar) : QAccessibleWidget(bar, QAccessible::Slider) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return QString::number(Bar()->Reading());
    return QAccessibleWidget::text(t);
  }

  QVariant currentValue() const override { return Bar()->Reading(); }
  void setCurrentValue(const QVariant& value) override { Bar()->SetReading(value.toInt()); }
  QVariant maximumValue() const override { return Bar()->maximum(); }
  QVariant minimumValue() const override { return Bar()->minimum(); }
  QVariant minimumStepSize() const override { return Bar()->singleStep(); }

 private:
  TopDownBar* Bar() const { return static_cast<TopDownBar*>(widget()); }
};

QAccessibleInterface* CalculatorInterface(const QString& /*key*/, QObject* object) {
  if (auto* box = qobject_cast<PanelBox*>(object)) return new PanelAccessible(box);
  if (auto* spin = qobject_cast<SpinPair*>(object)) return new SpinAccessible(spin);
  if (auto* bar = qobject_cast<TopDownBar*>(object)) return new BarAccessible(bar);
  return nullptr;
}

}  // namespace

void InstallCalculatorAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&CalculatorInterface);
    return true;
  }();
  (void)installed;
}

std::optional<double> NumberShown(const QString& text) {
  const QRegularExpressionMatch m = ShownNumber().match(text);
  if (!m.hasMatch()) return std::nullopt;
  QString digits = m.captured(0);
  digits.replace(',', '.');
  bool ok = false;
  const double v = digits.toDouble(&ok);
  if (!ok) return std::nullopt;
  return v;
}

}  // namespace korrin
