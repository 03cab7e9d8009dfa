#include "core/StationState.h"

namespace korrin {

bool SameStation(const StationState& a, const StationState& b) {
#define KORRIN_COMPARE_FIELD(type, name) \
  if (!(a.name == b.name)) return false;
  KORRIN_STATION_FIELDS(KORRIN_COMPARE_FIELD)
#undef KORRIN_COMPARE_FIELD
  return true;
}

}  // namespace korrin
