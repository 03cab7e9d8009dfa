// How far from the tower a person's head comes within the keep-out
// distance of the antenna on top of it, the keep-out zone taken as a
// sphere around the antenna.
#include <cmath>

#include "assess/Internal.h"

namespace korrin::assess::detail {

Real HeadClearance(Real keepOutM, Real antennaHeightM, Real headHeightM) {
  // An antenna no higher than the head: the whole keep-out distance.
  if (antennaHeightM <= headHeightM) return keepOutM;
  const Real above = antennaHeightM - headHeightM;
  if (keepOutM <= above) return 0;  // the zone ends above every head
  return std::sqrt(keepOutM * keepOutM - above * above);
}

}  // namespace korrin::assess::detail
