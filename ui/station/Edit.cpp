#include "ui/station/Edit.h"

#include <algorithm>
#include <iterator>

#include "station/Rules.h"

namespace korrin::stationui {

namespace {

template <typename T>
Step ApplyToList(std::vector<T>& list, const Step& step) {
  Step undo = step;
  switch (step.op) {
    case Step::Op::Replace: {
      T& slot = list.at(step.row);
      undo.entry = slot;
      slot = std::get<T>(*step.entry);
      break;
    }
    case Step::Op::Insert:
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(step.row), std::get<T>(*step.entry));
      undo.op = Step::Op::Remove;
      undo.entry.reset();
      break;
    case Step::Op::Remove:
      undo.op = Step::Op::Insert;
      undo.entry = list.at(step.row);
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(step.row));
      break;
    case Step::Op::Move: {
      T moved = list.at(step.row);
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(step.row));
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(step.to), std::move(moved));
      undo.row = step.to;
      undo.to = step.row;
      break;
    }
    case Step::Op::Heading:
    case Step::Op::Property:
      break;
  }
  return undo;
}

}  // namespace

Heading HeadingOf(const st::Station& station) {
  return {station.callsign, station.site,      station.evaluatedBy,
          station.region,   station.limitSets, station.groundReflection,
          station.country};
}

Heading WithCountry(Heading heading, const std::optional<std::string>& country) {
  heading.country = country;
  if (country) {
    heading.region = st::DefaultRegion(country);
    heading.limitSets = st::DefaultLimitSets(country);
  }
  return heading;
}

std::size_t RowCount(const st::Station& station, Table table) {
  switch (table) {
    case Table::Transmitters:
      return station.transmitters.size();
    case Table::Feedlines:
      return station.feedlines.size();
    case Table::Antennas:
      return station.antennas.size();
    case Table::Installations:
      return station.installations.size();
    case Table::Places:
      return station.places.size();
    case Table::Outline:
      return station.property ? station.property->outline.size() : 0;
  }
  return 0;
}

Entry EntryAt(const st::Station& station, Table table, std::size_t row) {
  switch (table) {
    case Table::Transmitters:
      return station.transmitters.at(row);
    case Table::Feedlines:
      return station.feedlines.at(row);
    case Table::Antennas:
      return station.antennas.at(row);
    case Table::Installations:
      return station.installations.at(row);
    case Table::Places:
      return station.places.at(row);
    case Table::Outline:
      return station.property.value().outline.at(row);
  }
  return station.transmitters.at(row);
}

Step Apply(st::Station& station, const Step& step) {
  if (step.op == Step::Op::Heading) {
    Step undo = step;
    undo.heading = HeadingOf(station);
    station.callsign = step.heading.callsign;
    station.site = step.heading.site;
    station.evaluatedBy = step.heading.evaluatedBy;
    station.region = step.heading.region;
    station.limitSets = step.heading.limitSets;
    station.groundReflection = step.heading.groundReflection;
    station.country = step.heading.country;
    return undo;
  }
  if (step.op == Step::Op::Property) {
    Step undo = step;
    undo.property = station.property;
    station.property = step.property;
    return undo;
  }
  switch (step.table) {
    case Table::Transmitters:
      return ApplyToList(station.transmitters, step);
    case Table::Feedlines:
      return ApplyToList(station.feedlines, step);
    case Table::Antennas:
      return ApplyToList(station.antennas, step);
    case Table::Installations:
      return ApplyToList(station.installations, step);
    case Table::Places:
      return ApplyToList(station.places, step);
    case Table::Outline:
      return ApplyToList(station.property.value().outline, step);
  }
  return step;
}

void ForgetFilePlaces(st::Station& station) {
  auto forget = [](auto& list) {
    for (auto& e : list) {
      e.at = {};
      e.keys.clear();
    }
  };
  forget(station.transmitters);
  forget(station.feedlines);
  forget(station.antennas);
  forget(station.installations);
  forget(station.places);
  if (station.property) {
    station.property->at = {};
    station.property->keys.clear();
  }
  station.keys.clear();
}

std::vector<Step> ApplyAll(st::Station& station, const std::vector<Step>& steps) {
  std::vector<Step> undo;
  undo.reserve(steps.size());
  for (const Step& step : steps) undo.push_back(Apply(station, step));
  std::reverse(undo.begin(), undo.end());
  return undo;
}

}  // namespace korrin::stationui
