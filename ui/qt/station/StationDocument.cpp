#include "ui/qt/station/StationDocument.h"

#include <QUndoCommand>
#include <algorithm>
#include <utility>

namespace korrin {

namespace su = stationui;

// An edit as the undo stack keeps it: the steps that make it and the steps
// that take it back, each made from the other when applied.
class StationEditCommand : public QUndoCommand {
 public:
  StationEditCommand(StationDocument& document, su::Edit edit)
      : QUndoCommand(QString::fromStdString(edit.text)),
        document_(document),
        redo_(std::move(edit.steps)) {}

  void redo() override { undo_ = document_.ApplySteps(redo_); }
  void undo() override { redo_ = document_.ApplySteps(undo_); }

 private:
  StationDocument& document_;
  std::vector<su::Step> redo_;
  std::vector<su::Step> undo_;
};

StationDocument::StationDocument(QObject* parent) : QObject(parent) {}

void StationDocument::Push(su::Edit edit) {
  if (edit.steps.empty()) return;
  undo_.push(new StationEditCommand(*this, std::move(edit)));
}

std::vector<su::Step> StationDocument::ApplySteps(const std::vector<su::Step>& steps) {
  std::vector<su::Step> undo;
  undo.reserve(steps.size());
  for (const su::Step& step : steps) {
    emit aboutToApply(step);
    undo.push_back(su::Apply(station_, step));
    emit applied(step);
  }
  std::reverse(undo.begin(), undo.end());
  UpdateModified();
  emit changed();
  return undo;
}

void StationDocument::Reset(station::Station station, const QString& path) {
  emit aboutToReset();
  su::ForgetFilePlaces(station);
  undo_.clear();
  station_ = std::move(station);
  saved_ = station_;
  forceModified_ = false;
  const bool pathWas = path_ != path;
  path_ = path;
  emit wasReset();
  if (pathWas) emit pathChanged(path_);
  UpdateModified();
  emit changed();
}

void StationDocument::ResetChanged(station::Station station, const QString& path) {
  Reset(std::move(station), path);
  forceModified_ = true;
  UpdateModified();
}

void StationDocument::MarkSaved(const QString& path) {
  saved_ = station_;
  forceModified_ = false;
  undo_.setClean();
  if (path_ != path) {
    path_ = path;
    emit pathChanged(path_);
  }
  UpdateModified();
}

void StationDocument::UpdateModified() {
  const bool modified = forceModified_ || !station::SameContent(station_, saved_);
  if (modified == modified_) return;
  modified_ = modified;
  emit modifiedChanged(modified_);
}

}  // namespace korrin
