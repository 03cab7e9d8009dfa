// Placeholder: dish, yagi, low-gain, limit, ground-reflection and tower handlers (being built).
#include "ui/TForm1.h"

namespace korrin {

void TForm1::SpinButton1UpClick() {}
void TForm1::SpinButton1DownClick() {}
void TForm1::SpinButton2UpClick() {}
void TForm1::SpinButton2DownClick() {}
void TForm1::SpinButton7UpClick() {}
void TForm1::SpinButton7DownClick() {}
void TForm1::SpinButton8UpClick() {}
void TForm1::SpinButton8DownClick() {}
void TForm1::Panel67Click() {}
void TForm1::Panel68Click() {}
void TForm1::Panel69Click() {}
void TForm1::Panel80Click() {}
void TForm1::VerticalSUpClick() {}
void TForm1::VerticalSDownClick() {}
void TForm1::BeamSUpClick() {}
void TForm1::BeamSDownClick() {}
void TForm1::VaryGainUpClick() {}
void TForm1::VaryGainDownClick() {}
void TForm1::Panel75Click() {}
void TForm1::Panel77Click() {}
void TForm1::Panel78Click() {}
void TForm1::Panel79Click() {}
void TForm1::RadUpDnUpClick() {}
void TForm1::RadUpDnDownClick() {}
void TForm1::GroundGainSelectClick() {}
void TForm1::TrackBar1Change() {}
void TForm1::DisplayExclusionZone() {}
void TForm1::DisplayGroundClearance() {}
void TForm1::DisplayLowGainGain() {}
void TForm1::PaintLowGainPanels() {}

}  // namespace korrin
