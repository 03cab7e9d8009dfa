// The line where an exposure grid equals a level (1: the limit), for the
// maps: marching squares over the grid's cells, each crossing interpolated
// on its edge exactly as the keep-out distance interpolates it, so that the
// contour's farthest point from the antenna is the keep-out distance.
#pragma once

#include <vector>

#include "nearfield/Exposure.h"

namespace korrin::nearfield {

struct ContourSegment {
  Point from;
  Point to;
};

// The segments in no particular order.  A cell whose corners alternate
// about the level (a saddle) is split by its centre's value, the mean of
// its corners' logarithms.
std::vector<ContourSegment> ContourOf(const ScalarGrid& grid, double level = 1.0);

}  // namespace korrin::nearfield
