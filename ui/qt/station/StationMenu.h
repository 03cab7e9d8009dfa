// What the calculator and the station windows share about station
// evaluations: the calculator window they stand beside, the files opened
// lately (kept in the user's settings), and the calculator's File menu
// entries that make and open them.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "station/Station.h"

class QMenu;
class QWidget;

namespace korrin {

class StationWindow;

// The calculator window, for placing station windows beside it and for
// View > Calculator; nullptr when there is none.
void SetCalculatorWindow(QWidget* calculator);
QWidget* CalculatorWindow();

// The station files opened or saved lately, the latest first (at most
// kRecentStationFiles), and the one to put first.
inline constexpr int kRecentStationFiles = 8;
QStringList RecentStationFiles();
void RememberStationFile(const QString& path);

// Fills `menu` with the recent files, each opening through `open`.
void FillRecentStationMenu(QMenu* menu, const std::function<void(const QString&)>& open);

// The calculator's File menu: New Station Evaluation, Open Station
// Evaluation… (Ctrl+Shift+O), the recent files, and Add to Station
// Evaluation…, which adds `calculatorStation()` (the calculator's station
// as a station file's entries) to a station window.
void AddStationEvaluationEntries(QWidget& calculator, QMenu* file,
                                 std::function<station::Station()> calculatorStation);

// Adds `station` to the station window the user chooses among those open,
// or to a new one (at once when none is open); the window it went to, or
// nullptr when cancelled or refused.
StationWindow* AddToStationEvaluation(QWidget* parent, const station::Station& station);

// The file name a save proposes or takes: ".station.toml" added to a name
// that does not end in ".toml" (in any case).
QString StationFileName(const QString& name);

}  // namespace korrin
