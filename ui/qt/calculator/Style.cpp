#include "ui/qt/calculator/Style.h"

#include <QStringList>

namespace korrin {

QColor ToQColor(Colour c) {
  switch (c) {
    case Colour::ButtonFace:
      return QColor(0xf0, 0xf0, 0xf0);
    case Colour::TooltipBackground:
      return QColor(0xff, 0xff, 0xe1);
    case Colour::Green:
      return QColor(0, 128, 0);
    case Colour::Red:
      return QColor(255, 0, 0);
    case Colour::Yellow:
      return QColor(255, 255, 0);
    case Colour::White:
      return QColor(255, 255, 255);
    case Colour::Black:
      return QColor(0, 0, 0);
    case Colour::Navy:
      return QColor(0, 0, 128);
    case Colour::Grey:
      return QColor(128, 128, 128);
  }
  return QColor(0, 0, 0);
}

QPalette WindowPalette() {
  const QColor face = ToQColor(Colour::ButtonFace);
  QPalette p(face, face);
  p.setColor(QPalette::Window, face);
  p.setColor(QPalette::Button, face);
  p.setColor(QPalette::WindowText, Qt::black);
  p.setColor(QPalette::ButtonText, Qt::black);
  p.setColor(QPalette::Text, Qt::black);
  p.setColor(QPalette::Base, Qt::white);
  p.setColor(QPalette::Light, Qt::white);
  p.setColor(QPalette::Midlight, QColor(0xe3, 0xe3, 0xe3));
  p.setColor(QPalette::Mid, QColor(0xa0, 0xa0, 0xa0));
  p.setColor(QPalette::Dark, QColor(0xa0, 0xa0, 0xa0));
  p.setColor(QPalette::Shadow, QColor(0x69, 0x69, 0x69));
  p.setColor(QPalette::Highlight, QColor(0, 0x78, 0xd7));
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::ToolTipBase, ToQColor(Colour::TooltipBackground));
  p.setColor(QPalette::ToolTipText, Qt::black);
  p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
  p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
  p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
  return p;
}

QFont WindowFont(FontRole role) {
  // Liberation Sans has the metrics of the classic Windows sans-serif faces;
  // DejaVu Sans (a little wider) stands in where it is missing.
  QFont f;
  f.setFamilies(QStringList{"Liberation Sans", "Arial", "DejaVu Sans"});
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(11);
  switch (role) {
    case FontRole::Normal:
      break;
    case FontRole::Bold:
      f.setBold(true);
      break;
    case FontRole::Small:
      f.setPixelSize(9);
      break;
    case FontRole::Limit:
      f.setPixelSize(10);
      break;
    case FontRole::Memo:
      f.setPixelSize(16);
      f.setBold(true);
      break;
  }
  return f;
}

}  // namespace korrin
