// The "System Performance Calculator" panel: the receive chain, spillover
// and mesh, path loss and solar flux spin buttons, the increment multiplier,
// the solid/mesh switch, and the texts the noise evaluation writes itself.
#include <cmath>

#include "core/Tables.h"
#include "ui/SteppedValues.h"
#include "ui/TForm1.h"

namespace korrin {

namespace {

// Step of the spin buttons that the increment multiplier enlarges.
Real Step(const StationState& s, Real normal, Real enlarged) {
  return s.IncrementMultiplier ? enlarged : normal;
}

// Steps of 0.1 are not exact in binary, so a value stepped down towards a
// clamp's threshold can land a hair under it: 2.0 less nineteen steps of 0.1
// is 0.0999... and would be cleared to 0, skipping 0.1.  Values that are
// below the threshold only by such rounding are not taken as below it.
constexpr Real kRoundingSlack = 1e-9L;

bool ClearlyBelow(Real value, Real threshold) {
  return value < threshold - kRoundingSlack;
}

// Stepping the path loss away from the band's value and back can leave it a
// rounding error off that value (255.7 + 0.5 − 0.5 is not 255.7 in binary),
// and the path-loss cue would then stay green on the band's own value.  A
// value back within rounding of the band's value becomes that value again.
void SnapToBandPathLoss(StationState& s) {
  for (const VhfBand& band : kVhfBands) {
    if (s.FrequencyMHz == band.frequencyMHz &&
        std::fabs(s.PathLoss - band.pathLossDb) < kRoundingSlack) {
      s.PathLoss = band.pathLossDb;
    }
  }
}

}  // namespace

// ---- receive noise chain ---------------------------------------------------

void TForm1::LNALossUpClick() {
  s_.LnaLossDb += 0.01L;
  Recalculate();
}

void TForm1::LNALossDownClick() {
  s_.LnaLossDb -= 0.01L;
  if (s_.LnaLossDb < steps::kLnaLoss.below) s_.LnaLossDb = steps::kLnaLoss.floor;
  Recalculate();
}

void TForm1::LNANfUpClick() {
  s_.LnaNoiseFigureDb += 0.01L;
  Recalculate();
}

void TForm1::LNANfDownClick() {
  s_.LnaNoiseFigureDb -= 0.01L;
  if (s_.LnaNoiseFigureDb < steps::kLnaNoiseFigure.below) {
    s_.LnaNoiseFigureDb = steps::kLnaNoiseFigure.floor;
  }
  Recalculate();
}

void TForm1::LNAGainUpClick() {
  s_.LnaGainDb += 0.5L;
  Recalculate();
}

void TForm1::LNAGainDownClick() {
  s_.LnaGainDb -= 0.5L;
  if (s_.LnaGainDb < steps::kLnaGain.below) s_.LnaGainDb = steps::kLnaGain.floor;
  Recalculate();
}

void TForm1::LNARxLossUpClick() {
  s_.LnaRxLossDb += 0.1L;
  Recalculate();
}

void TForm1::LNARxLossDownClick() {
  s_.LnaRxLossDb -= 0.1L;
  if (ClearlyBelow(s_.LnaRxLossDb, steps::kLnaRxLoss.below)) {
    s_.LnaRxLossDb = steps::kLnaRxLoss.floor;
  }
  Recalculate();
}

void TForm1::RxNFUpClick() {
  s_.RxNoiseFigureDb += 0.1L;
  Recalculate();
}

void TForm1::RxNFDownClick() {
  s_.RxNoiseFigureDb -= 0.1L;
  if (ClearlyBelow(s_.RxNoiseFigureDb, steps::kRxNoiseFigure.below)) {
    s_.RxNoiseFigureDb = steps::kRxNoiseFigure.floor;
  }
  Recalculate();
}

void TForm1::TSkyUpClick() {
  s_.SkyTempK += Step(s_, 1.0L, 10.0L);
  Recalculate();
}

void TForm1::TSkyDownClick() {
  s_.SkyTempK -= Step(s_, 1.0L, 10.0L);
  if (s_.SkyTempK < steps::kSkyTemp.below) s_.SkyTempK = steps::kSkyTemp.floor;
  Recalculate();
}

void TForm1::SpinButton5UpClick() {
  s_.RxBandwidthHz += Step(s_, 10.0L, 100.0L);
  Recalculate();
}

void TForm1::SpinButton5DownClick() {
  s_.RxBandwidthHz -= Step(s_, 10.0L, 100.0L);
  if (s_.RxBandwidthHz < steps::kBandwidth.below) s_.RxBandwidthHz = steps::kBandwidth.floor;
  Recalculate();
}

void TForm1::SpeedChangeClick() {
  s_.IncrementMultiplier = !s_.IncrementMultiplier;
  // The multiplier's own panel and the five values whose step it enlarges.
  const Colour paint = s_.IncrementMultiplier ? Colour::Yellow : Colour::ButtonFace;
  for (const char* panel : {"SpeedChange", "Panel24", "Panel29", "Panel31", "Panel55", "Panel56"}) {
    board_[panel].color = paint;
  }
  Recalculate();
}

// ---- spillover and mesh ----------------------------------------------------

void TForm1::SpillOverUpClick() {
  s_.SpilloverTempK += Step(s_, 1.0L, 10.0L);
  Recalculate();
}

void TForm1::SpillOverDownClick() {
  s_.SpilloverTempK -= Step(s_, 1.0L, 10.0L);
  if (s_.SpilloverTempK < steps::kSpillover.below) s_.SpilloverTempK = steps::kSpillover.floor;
  Recalculate();
}

void TForm1::MeshDiamUpClick() {
  s_.MeshWireDiameterMm += 0.01L;
  s_.FeedThroughExtraK = 0.0L;
  Recalculate();
}

void TForm1::MeshDiamDownClick() {
  s_.MeshWireDiameterMm -= 0.01L;
  if (s_.MeshWireDiameterMm < steps::kMeshDiameter.below) {
    s_.MeshWireDiameterMm = steps::kMeshDiameter.floor;
  }
  s_.FeedThroughExtraK = 0.0L;
  Recalculate();
}

void TForm1::MeshSpacingUpClick() {
  s_.MeshSpacingMm += 0.1L;
  s_.FeedThroughExtraK = 0.0L;
  Recalculate();
}

void TForm1::MeshSpacingDownClick() {
  s_.MeshSpacingMm -= 0.1L;
  // The wires may close up to one radius apart (the radius of the last
  // evaluation), and never below the spacing's floor: MeshSpacingFloor.
  if (s_.MeshSpacingMm <= s_.MeshWireRadiusMm) s_.MeshSpacingMm = s_.MeshWireRadiusMm;
  if (s_.MeshSpacingMm < steps::kMeshSpacing.below) s_.MeshSpacingMm = steps::kMeshSpacing.floor;
  EvaluateNoise();
  s_.FeedThroughExtraK = 0.0L;
  Recalculate();
}

void TForm1::FeedThrUpClick() {
  s_.FeedThroughExtraK += Step(s_, 1.0L, 10.0L);
  EvaluateNoise();
  Recalculate();
}

void TForm1::FeedThrDownClick() {
  s_.FeedThroughExtraK -= Step(s_, 1.0L, 10.0L);
  if (s_.FeedThroughExtraK < steps::kFeedThroughExtra.below) {
    s_.FeedThroughExtraK = steps::kFeedThroughExtra.floor;
  }
  EvaluateNoise();
  Recalculate();
}

void TForm1::Solid_MeshClick() {
  s_.SolidDish = !s_.SolidDish;
  board_["Solid_Mesh"].color = s_.SolidDish ? Colour::Green : Colour::ButtonFace;
  Recalculate();
}

// ---- echo figures ------------------------------------------------------------

void TForm1::PathLossUpClick() {
  s_.PathLoss += Step(s_, 0.5L, 5.0L);
  SnapToBandPathLoss(s_);
  Recalculate();
}

void TForm1::PathLossDownClick() {
  s_.PathLoss -= Step(s_, 0.5L, 5.0L);
  if (s_.PathLoss < steps::kPathLoss.below) s_.PathLoss = steps::kPathLoss.floor;
  SnapToBandPathLoss(s_);
  Recalculate();
}

void TForm1::SolarFluxUpClick() {
  s_.SolarFluxSfu += 1.0L;
  Recalculate();
}

void TForm1::SolarFluxDownClick() {
  s_.SolarFluxSfu -= 1.0L;
  if (s_.SolarFluxSfu < steps::kSolarFlux.below) s_.SolarFluxSfu = steps::kSolarFlux.floor;
  Recalculate();
}

// ---- the noise evaluation's own texts ------------------------------------------

NoiseReport TForm1::EvaluateNoise() {
  const NoiseReport noise = korrin::EvaluateNoise(s_);
  DisplayNoise(noise);
  return noise;
}

void TForm1::DisplayNoise(const NoiseReport& noise) {
  Control& coldSky = board_["Panel22"];
  coldSky.visible = true;
  coldSky.text = Fixed(s_.ColdSkyGroundYDb, 10, 1) + " dB";
  board_["Panel54"].text = Fixed(s_.LnaNoiseTempK, 10, 1) + " \u00b0K";
  board_["Panel65"].text = Fixed(s_.LnaLossTempK, 10, 1) + " \u00b0K";
  board_["Panel71"].text =
      s_.SpilloverTempK < 0.1L ? std::string() : Fixed(noise.SpilloverDb, 10, 1) + " dB";
  board_["Panel72"].text = Fixed(s_.FeedThroughDb, 10, 1) + " dB";
  board_["Panel74"].text = "Sys T\u00b0k " + Fixed(s_.SystemNoiseTempK, 10, 1) +
                           " \u00b0K = " + Fixed(s_.SystemNoiseFigureDb, 10, 2) + " dB";
  board_["Panel76"].text = "Rx T\u00b0k " + Fixed(noise.ReceiverTempK, 10, 1) +
                           " \u00b0K = " + Fixed(noise.ReceiverNoiseFigureDb, 10, 2) + " dB";
}

}  // namespace korrin
