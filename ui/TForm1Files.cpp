// Placeholder: station data file commands (being built).
#include "ui/TForm1.h"

namespace korrin {

void TForm1::BitBtn3Click() {
  board_["Panel83"].visible = true;
  Recalculate();
}
void TForm1::BitBtn9Click() {}
void TForm1::Save_DataClick() {}
void TForm1::Get_FileClick() {}
void TForm1::DefaultDataClick() {}

}  // namespace korrin
