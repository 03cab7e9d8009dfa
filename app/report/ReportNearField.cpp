#include "app/report/ReportNearField.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "core/Checked.h"
#include "nearfield/Cache.h"
#include "station/FileWords.h"

#ifdef KORRIN_REPORT_PICTURES
#include <QApplication>
#include <QFile>
#include <cstdlib>
#include <memory>

#include "ui/qt/nearfield/InstallationMap.h"
#include "ui/qt/nearfield/NearFieldMapPainter.h"
#endif

namespace korrin::report {

namespace {

namespace nf = korrin::nearfield;

std::string Fixed(long double v, int decimals) {
  return FixedChars(static_cast<double>(v), decimals);
}

// Three significant digits: an exposure far below the limit stays readable.
std::string Significant(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3g", v);
  return buffer;
}

std::string KeepOutText(const nf::KeepOut& k) {
  switch (k.kind) {
    case nf::KeepOutKind::Never:
      return "0 m (never at the limit)";
    case nf::KeepOutKind::Within:
      return Fixed(k.distanceM, 2) + " m";
    case nf::KeepOutKind::BeyondGrid:
      return "beyond " + Fixed(k.distanceM, 1) + " m (the computed plan's edge)";
  }
  return {};
}

std::string Quoted(const std::string& s) {
  return "\"" + s + "\"";
}

// The limit set and tier of the map: --near-field-set and --near-field-tier,
// else the station's first set and the general tier.
struct MapChoice {
  assess::LimitSetChoice set = assess::LimitSetChoice::Fcc;
  assess::Tier tier = assess::Tier::General;
};

std::optional<MapChoice> ChoiceOf(const station::Station& station, const Options& options,
                                  std::string& usage) {
  MapChoice c;
  if (!station.limitSets.empty()) c.set = station.limitSets.front();
  if (!options.nearFieldSet.empty()) {
    c.set = options.nearFieldSet == "fcc" ? assess::LimitSetChoice::Fcc
                                          : assess::LimitSetChoice::Icnirp2020;
  }
  if (options.nearFieldTier == "occupational") c.tier = assess::Tier::Occupational;
  if (std::find(station.limitSets.begin(), station.limitSets.end(), c.set) ==
      station.limitSets.end()) {
    usage = std::string("--near-field-set: the station file's limit-sets do not include ") +
            assess::LimitSetChoiceId(c.set);
    return std::nullopt;
  }
  return c;
}

#ifdef KORRIN_REPORT_PICTURES
std::string WriteMap(const assess::NearFieldInstallation& n, const MapChoice& choice,
                     const std::string& path) {
  // No display is needed: draw on the offscreen platform unless told otherwise.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "korrin-report";
  static char* argv[] = {name, nullptr};
  std::unique_ptr<QApplication> app;  // gone before this returns, as the report's other pictures do
  if (QCoreApplication::instance() == nullptr) app = std::make_unique<QApplication>(argc, argv);
  if (!n.solution || n.results.empty()) {
    return "the near-field map of " + Quoted(n.installation) + " was not written: " + n.message;
  }
  const nf::CaseResult* r = assess::FindResult(n, choice.set, choice.tier);
  if (r == nullptr)
    return "the near-field map of " + Quoted(n.installation) + " has no such result";
  return SaveNearFieldMapFile(InstallationMap(n, *r), QFile::decodeName(path.c_str()),
                              InstallationMapStyle(n, *r, false));
}
#endif

}  // namespace

std::string NearFieldText(const assess::StationNearField& nearField) {
  std::string text;
  for (const assess::NearFieldInstallation& n : nearField.installations) {
    text += "Near field of " + Quoted(n.installation) + " (antenna " + Quoted(n.antenna) + ", " +
            Fixed(n.frequencyMHz, 3) + " MHz)";
    if (n.status != nf::Status::Done) {
      text += ": not computed: " + n.message + "\n";
      continue;
    }
    const nf::Solution& s = *n.solution;
    text += ": " + s.engine + ", " + std::to_string(s.segments) + " segments, grid " +
            Fixed(s.stepM, 2) + " m\n";
    for (const nf::CaseResult& r : n.results) {
      const std::string name = assess::CriterionName(assess::SetOf(r), assess::TierOf(r),
                                                     assess::Criterion::TimeAveraged);
      if (!r.applies) {
        text += "  " + name + ": no field limits at this frequency\n";
        continue;
      }
      text += "  " + name + ": at head height " + KeepOutText(r.headKeepOut) + ", largest " +
              Significant(r.headPeak.value) + " of the limit; over the whole body " +
              KeepOutText(r.wholeBodyKeepOut) + " (" + assess::GovernsPhrase(r) + ")\n";
    }
    for (const std::string& note : n.notes) text += "  Note: " + note + "\n";
  }
  return text;
}

NearFieldOutcome RunNearField(const station::Station& station, const Options& options) {
  NearFieldOutcome out;
  if (options.nearFieldInstallation.empty() &&
      (!options.nearFieldSet.empty() || !options.nearFieldTier.empty())) {
    out.usage =
        std::string(options.nearFieldSet.empty() ? "--near-field-tier" : "--near-field-set") +
        " chooses the limits of the near-field map: give --near-field-map too";
    return out;
  }
  [[maybe_unused]] MapChoice choice;
  if (!options.nearFieldInstallation.empty()) {
    const station::Installation* i = station.FindInstallation(options.nearFieldInstallation);
    if (i == nullptr) {
      out.usage = "--near-field-map: the station file has no installation " +
                  Quoted(options.nearFieldInstallation);
      return out;
    }
    const station::Antenna* a = station.FindAntenna(i->antenna);
    if (a == nullptr || !station::NearFieldKind(a->kind)) {
      out.usage =
          "--near-field-map: installation " + Quoted(i->id) +
          " has no wire antenna for the near field" +
          (a != nullptr ? " (its antenna " + Quoted(a->id) + " is of kind " + Quoted(a->kind) + ")"
                        : std::string());
      return out;
    }
    const std::optional<MapChoice> chosen = ChoiceOf(station, options, out.usage);
    if (!chosen) return out;
    choice = *chosen;
  }
  assess::NearFieldOptions o;
  o.folder = std::filesystem::path(options.stationFile).parent_path().string();
  o.cacheFolder = nf::DefaultCacheFolder();
  // Progress on a terminal only: never in JSON or in a file.
  const bool showProgress = !options.json && ::isatty(STDERR_FILENO) == 1;
  if (showProgress) {
    o.run.progress = [last = -1](double part) mutable {
      const int percent = static_cast<int>(part * 100);
      if (percent == last) return;
      last = percent;
      std::fprintf(stderr, "\rnear field: %3d %%", percent);
      std::fflush(stderr);
    };
  }
  if (options.engineTimeLimitS) {
    o.run.timeLimit = std::chrono::milliseconds(
        static_cast<long long>(std::ceil(*options.engineTimeLimitS * 1000)));
  }
  out.nearField = assess::EvaluateWithNearField(station, o);
  if (showProgress) std::fprintf(stderr, "\r                  \r");
  out.text = NearFieldText(out.nearField);
  for (const assess::NearFieldInstallation& n : out.nearField.installations) {
    if (n.status != nf::Status::Done) {
      out.errors +=
          "the near field of " + Quoted(n.installation) + " was not computed: " + n.message + "\n";
    }
  }
  if (!options.nearFieldInstallation.empty()) {
#ifdef KORRIN_REPORT_PICTURES
    if (const assess::NearFieldInstallation* n =
            out.nearField.Find(options.nearFieldInstallation)) {
      const std::string error = WriteMap(*n, choice, options.nearFieldMapPath);
      if (!error.empty()) out.errors += error + "\n";
    }
#else
    out.errors +=
        "this korrin-report was built without the Qt window and cannot draw the "
        "near-field map\n";
#endif
  }
  return out;
}

}  // namespace korrin::report
