// Where the plot's texts go so that none covers another: the marker labels
// in staggered rows above the plot, the legend's entries in rows under it,
// and the limit lines that lie on one another told apart by their dashes.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace korrin {

// A label standing in a row above the plot: its text from `left` to
// `right` in row `row` (0 nearest to the plot), its leader at `anchor`
// running down from it through the rows below to the plot; from under the
// text where the anchor lies under it, else from the top of its row.
struct LabelSpan {
  double left = 0;
  double right = 0;
  double anchor = 0;
  int row = 0;
};

// Places labels of `widths` for leaders at `anchors` (both in order), each
// beside the top of its leader (`leaderGap` away, on the right where it
// can) and inside [`from`, `to`]: no two labels in a row come closer than
// `gap`; as few leaders as can be pass through a label; as few rows as can
// be are taken.
std::vector<LabelSpan> PlaceLabels(const std::vector<double>& widths,
                                   const std::vector<double>& anchors, double from, double to,
                                   double leaderGap, double gap);

// Whether the leader of `other` passes through the text of `label`.
bool LeaderThrough(const LabelSpan& other, const LabelSpan& label);

// The row of each of the entries of `widths`, laid out left to right and
// wrapped before an entry that would end beyond `room`; an entry wider
// than `room` has a row of its own.
std::vector<int> WrapRows(const std::vector<double>& widths, double room);

// Lines drawn on one another, told apart by dashes of `dashPx` pixels that
// take turns: the `index`-th of `count` lines draws every count-th dash.
// Lengths are in pixels, as QPen::setDashPattern wants them divided by the
// pen's width.
struct TurnDashes {
  double dashPx = 0;
  double gapPx = 0;
  double offsetPx = 0;
};
TurnDashes DashesTakingTurns(std::size_t index, std::size_t count, double dashPx);

}  // namespace korrin
