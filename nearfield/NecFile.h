// The geometry of an antenna from a NEC card deck the user wrote: its
// geometry cards (GW, GA, GH, GM, GR, GS, GX, ending with GE), the ground
// card GN and the loads (LD, TL).  The program adds the frequency,
// excitation, field requests and end card itself, so any other card is
// refused with its line; comment cards are skipped and EN ends the deck.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "nearfield/Deck.h"

namespace korrin::nearfield {

struct NecFileProblem {
  int line = 0;  // from 1; 0 for the file as a whole
  std::string message;
};

struct NecGeometry {
  std::vector<Card> geometry;      // before GE, in order
  std::vector<Card> loads;         // LD and TL
  int groundFlag = 0;              // GE's: 0 no ground, 1 wires touching it connected, -1 not
  std::optional<Ground> ground;    // from GN, when the file has one
  FeedPoint firstWireMiddle;       // the first GW card's tag and middle segment
  std::vector<std::string> notes;  // what the program reads otherwise than the card says
};

struct NecFile {
  std::optional<NecGeometry> geometry;  // empty when there is any problem
  std::vector<NecFileProblem> problems;
};

NecFile ParseNecGeometry(std::string_view text);

// "antenna.nec:7: the card EX is not accepted ..." (no line for line 0).
std::string FormatNecFileProblem(std::string_view file, const NecFileProblem& problem);

}  // namespace korrin::nearfield
