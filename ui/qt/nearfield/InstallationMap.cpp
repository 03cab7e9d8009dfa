#include "ui/qt/nearfield/InstallationMap.h"

#include <cstdio>
#include <string>

namespace korrin {

namespace {

std::string Fixed(long double v, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*Lf", decimals, v);
  return buffer;
}

QString Length(long double metres, int decimals, bool feet) {
  QString text = QString::fromStdString(Fixed(metres, decimals)) + " m";
  if (feet)
    text += " (" + QString::fromStdString(Fixed(metres / station::kMetresPerFoot, 1)) + " ft)";
  return text;
}

}  // namespace

QString KeepOutWords(const nearfield::KeepOut& keepOut, bool feet) {
  switch (keepOut.kind) {
    case nearfield::KeepOutKind::Never:
      return QStringLiteral("0 m (never at the limit)");
    case nearfield::KeepOutKind::Within:
      return Length(keepOut.distanceM, 2, feet);
    case nearfield::KeepOutKind::BeyondGrid:
      return "beyond " + Length(keepOut.distanceM, 1, feet) + " (the computed plan's edge)";
  }
  return {};
}

nearfield::NearFieldMap InstallationMap(const assess::NearFieldInstallation& installation,
                                        const nearfield::CaseResult& result) {
  const nearfield::Solution& s = *installation.solution;
  // Over a ground the side views start at it.
  return nearfield::MapOf(s, result, s.along.origin.z == 0);
}

NearFieldMapStyle InstallationMapStyle(const assess::NearFieldInstallation& installation,
                                       const nearfield::CaseResult& result, bool feet) {
  NearFieldMapStyle style;
  style.feet = feet;
  const std::string averaged = result.head.empty()
                                   ? std::string()
                                   : ", " + Fixed(result.head.front().powerW, 0) + " W averaged";
  style.title =
      QString::fromStdString("Near field of installation \"" + installation.installation + "\", " +
                             Fixed(installation.frequencyMHz, 3) + " MHz: " +
                             assess::CriterionName(assess::SetOf(result), assess::TierOf(result),
                                                   assess::Criterion::TimeAveraged) +
                             averaged);
  return style;
}

}  // namespace korrin
