#include "ui/qt/assessment/PlotLayout.h"

#include <algorithm>

namespace korrin {

namespace {

// The most labels whose places are chosen among all arrangements; more are
// stacked one after the other, each on the right of its leader.
constexpr std::size_t kMostArranged = 4;

bool Overlap(const LabelSpan& a, const LabelSpan& b, double gap) {
  return a.row == b.row && a.left < b.right + gap && b.left < a.right + gap;
}

bool Under(const LabelSpan& label, double x) {
  return x >= label.left && x <= label.right;
}

}  // namespace

bool LeaderThrough(const LabelSpan& other, const LabelSpan& label) {
  if (!Under(label, other.anchor)) return false;
  // The leader runs down from its own label: through every lower row, and
  // through its own row where it starts at the row's top.
  return other.row > label.row || (other.row == label.row && !Under(other, other.anchor));
}

std::vector<LabelSpan> PlaceLabels(const std::vector<double>& widths,
                                   const std::vector<double>& anchors, double from, double to,
                                   double leaderGap, double gap) {
  const std::size_t n = std::min(widths.size(), anchors.size());
  // Each label's text on the right of its leader, or on its left, kept in
  // [from, to].
  const auto beside = [&](std::size_t i, bool right) {
    double left = right ? anchors[i] + leaderGap : anchors[i] - leaderGap - widths[i];
    left = std::max(from, std::min(left, to - widths[i]));
    return LabelSpan{left, left + widths[i], anchors[i], 0};
  };
  std::vector<LabelSpan> best;
  for (std::size_t i = 0; i < n; ++i) best.push_back(beside(i, true));
  if (n > kMostArranged) {
    // Too many to weigh every arrangement: each in the lowest free row.
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        if (Overlap(best[i], best[j], gap)) {
          ++best[i].row;
          j = static_cast<std::size_t>(-1);  // check every earlier label again
        }
      }
    }
    return best;
  }
  // Every arrangement (a side and one of n rows for each label): the fewest
  // leaders through labels, then the fewest rows, then the fewest labels
  // pushed off their leaders by the edges, then the most on the right.
  const std::size_t choices = 2 * n;
  std::vector<std::size_t> tried(n, 0);
  std::vector<LabelSpan> spans(n);
  double bestCost = -1;
  for (;;) {
    int rows = 0;
    int onTheLeft = 0;
    int pushed = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const bool right = tried[i] % 2 == 0;
      spans[i] = beside(i, right);
      spans[i].row = static_cast<int>(tried[i] / 2);
      rows = std::max(rows, spans[i].row + 1);
      if (!right) ++onTheLeft;
      if (Under(spans[i], anchors[i])) ++pushed;
    }
    bool fits = true;
    int through = 0;
    for (std::size_t i = 0; i < n && fits; ++i) {
      for (std::size_t j = 0; j < n; ++j) {
        if (i == j) continue;
        if (Overlap(spans[i], spans[j], gap)) fits = false;
        if (LeaderThrough(spans[j], spans[i])) ++through;
      }
    }
    const double cost = through * 1000.0 + rows * 100.0 + pushed * 10.0 + onTheLeft;
    if (fits && (bestCost < 0 || cost < bestCost)) {
      bestCost = cost;
      best = spans;
    }
    // The next arrangement, counting in base 2n.
    std::size_t k = 0;
    while (k < n && ++tried[k] == choices) tried[k++] = 0;
    if (k == n) break;
  }
  return best;
}

std::vector<int> WrapRows(const std::vector<double>& widths, double room) {
  std::vector<int> rows;
  rows.reserve(widths.size());
  int row = 0;
  double x = 0;
  for (double w : widths) {
    if (x > 0 && x + w > room) {
      ++row;
      x = 0;
    }
    rows.push_back(row);
    x += w;
  }
  return rows;
}

TurnDashes DashesTakingTurns(std::size_t index, std::size_t count, double dashPx) {
  if (count < 2) return {};
  const double period = dashPx * static_cast<double>(count);
  TurnDashes d;
  d.dashPx = dashPx;
  d.gapPx = period - dashPx;
  // The pattern starts `offset` into itself: the index-th line's first dash
  // begins index dashes along.
  d.offsetPx = period - dashPx * static_cast<double>(index % count);
  if (d.offsetPx >= period) d.offsetPx -= period;
  return d;
}

}  // namespace korrin
