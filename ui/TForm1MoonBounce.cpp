// Placeholder: receive chain, mesh and echo handlers (being built).
#include "ui/TForm1.h"

namespace korrin {

void TForm1::LNALossUpClick() {}
void TForm1::LNALossDownClick() {}
void TForm1::LNANfUpClick() {}
void TForm1::LNANfDownClick() {}
void TForm1::LNAGainUpClick() {}
void TForm1::LNAGainDownClick() {}
void TForm1::LNARxLossUpClick() {}
void TForm1::LNARxLossDownClick() {}
void TForm1::RxNFUpClick() {}
void TForm1::RxNFDownClick() {}
void TForm1::TSkyUpClick() {}
void TForm1::TSkyDownClick() {}
void TForm1::SpinButton5UpClick() {}
void TForm1::SpinButton5DownClick() {}
void TForm1::SpeedChangeClick() {}
void TForm1::SpillOverUpClick() {}
void TForm1::SpillOverDownClick() {}
void TForm1::MeshDiamUpClick() {}
void TForm1::MeshDiamDownClick() {}
void TForm1::MeshSpacingUpClick() {}
void TForm1::MeshSpacingDownClick() {}
void TForm1::FeedThrUpClick() {}
void TForm1::FeedThrDownClick() {}
void TForm1::Solid_MeshClick() {}
void TForm1::PathLossUpClick() {}
void TForm1::PathLossDownClick() {}
void TForm1::SolarFluxUpClick() {}
void TForm1::SolarFluxDownClick() {}
NoiseReport TForm1::EvaluateNoise() { return korrin::EvaluateNoise(s_); }
void TForm1::DisplayNoise(const NoiseReport&) {}

}  // namespace korrin
