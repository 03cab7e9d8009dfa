#include "ui/TForm1.h"

namespace korrin {

// Printer set-up, then one page with the picture of the window.  A cancelled
// set-up prints nothing; a print-system failure is reported and the window
// stays as it was.
void TForm1::BitBtn2Click() {
  const PrintOutcome outcome = platform_.PrintWindow();
  if (outcome.status == PrintOutcome::Status::Failed) {
    platform_.ShowMessage(MessageKind::Error, "The window could not be printed: " + outcome.error);
  }
}

}  // namespace korrin
