// One station evaluation open in a window: the station model (the one
// truth every table, field and result is a view of), its undo stack, the
// file it was read from or saved to and whether it has changed since.
// Every change goes through an undo command made of the steps of an edit;
// the document tells its views each step before and after it is applied,
// so that a table moves, inserts and redraws only the rows it must.
#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>

#include "station/Station.h"
#include "ui/station/Edit.h"

namespace korrin {

class StationDocument : public QObject {
  Q_OBJECT
 public:
  explicit StationDocument(QObject* parent = nullptr);

  const station::Station& Station() const { return station_; }
  QUndoStack& UndoStack() { return undo_; }

  // Pushes `edit` onto the undo stack, which applies it.
  void Push(stationui::Edit edit);

  // A new document: `station` (places in its file forgotten), read from
  // `path` (empty: not from a file) and unchanged since; the undo stack
  // starts empty.
  void Reset(station::Station station, const QString& path);
  // The same, for a station that is not the file's content (a file fixed in
  // the window, a station made from the calculator's): changed from the
  // start, so that closing asks.
  void ResetChanged(station::Station station, const QString& path);

  // The file last read or saved; empty for a station not saved yet.
  const QString& Path() const { return path_; }
  // The station differs from the file (or, without one, from the empty
  // station it started as).
  bool Modified() const { return modified_; }
  // The station as it stands was saved to `path`.
  void MarkSaved(const QString& path);

 signals:
  // Around each step an undo command applies (the station is the old one
  // in the first, the new one in the second).
  void aboutToApply(const korrin::stationui::Step& step);
  void applied(const korrin::stationui::Step& step);
  // The whole station was replaced (Reset): every view shows it anew.
  void aboutToReset();
  void wasReset();
  // After every edit, undo, redo and reset, once: the evaluation and every
  // summary are made again from the station.
  void changed();
  void modifiedChanged(bool modified);
  void pathChanged(const QString& path);

 private:
  friend class StationEditCommand;
  std::vector<stationui::Step> ApplySteps(const std::vector<stationui::Step>& steps);
  void UpdateModified();

  station::Station station_;
  station::Station saved_;  // as in the file (or as it started)
  bool forceModified_ = false;
  bool modified_ = false;
  QString path_;
  QUndoStack undo_;
};

}  // namespace korrin
